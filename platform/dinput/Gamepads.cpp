// SDL's game controllers (its mapping database names the buttons) read on
// the keyboard device's own schedule.
//
// Costs: SDL would update joysticks inside every event wait, and while one
// is plugged in it then polls every millisecond instead of sleeping. We
// update them ourselves, once per keyboard read, and while the game idles
// at a few looks a second. HIDAPI's own drivers stay off: the kernel's
// drivers serve the same pads through evdev, and HIDAPI would scan every
// HID device in the system for nothing. SDL's joystick support itself costs
// about half a megabyte of memory (libudev, HID scanning, its tables), so it
// starts only once a joystick is there: at the first read when the kernel
// named one (js0...) or udev knows one, else when any input device appears
// later.
#include "Gamepads.h"

#include "Bindings.h"
#include "Core.h"
#include "WindowAccess.h"

#include <PlatformTest.h>
#include <dinput.h>

#include <dirent.h>
#include <sys/inotify.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace plat {
namespace {

// A stick counts once pushed half way: a resting or worn stick drifts well
// below that, and a push along one axis seldom strays that far on the other,
// so moving sideways does not drop the piece.
const Sint16 stickDeadZone = 16384;
// While the game idles: with a controller, twice a second (a press of Start
// at the prompt takes at most half a second to act); without one, once a
// second (a controller plugged in meanwhile is found within a second).
const int lookWithPads = 500;
const int lookWithout = 1000;
// During play, how often the watch over the device nodes is read: four
// times a second finds a controller plugged in well before a player has
// their hands on it, without a system call every tick.
const Uint32 nodeLookEvery = 250;

struct Pads {
    bool tried = false;
    bool running = false;  // SDL's controller support started
    bool testUse = false;
    bool rescan = true;
    std::string nodes = "/dev/input";
    int nodeWatch = -1;  // inotify, until SDL's support starts
    Uint32 nextNodeLook = 0;
    HWND window = nullptr;
    std::vector<SDL_GameController*> open;
    BYTE pressed[256] = {};  // presses since the last read, as key states
};

Pads& State()
{
    static Pads* pads = [] {
        AddResetHook([] {
            State().testUse = false;
            State().nodes = "/dev/input";
        });
        return new Pads;
    }();
    return *pads;
}

// Whether a control (Bindings.h) is held now; `pressed` counts as held, as
// the event that says so may come before the state does.
bool Held(SDL_GameController* pad, int control, int pressed = -1)
{
    if (control == pressed) return true;
    if (control < padAxisBase)
        return SDL_GameControllerGetButton(pad, static_cast<SDL_GameControllerButton>(control)) != 0;
    int axis = (control - padAxisBase) / 2;
    Sint16 value = SDL_GameControllerGetAxis(pad, static_cast<SDL_GameControllerAxis>(axis));
    return (control - padAxisBase) % 2 ? value >= stickDeadZone : value <= -stickDeadZone;
}

// A control just went down: the keys of the bindings it completes.
void Pressed(SDL_GameController* pad, int control)
{
    MarkPadKeys([pad, control](int c) { return Held(pad, c, control); }, control, State().pressed);
}

// Presses are kept as they happen, so a tap between two reads (or during the
// idle sleep) still counts, once.
int SDLCALL Watch(void*, SDL_Event* e)
{
    Pads& s = State();
    switch (e->type) {
    case SDL_JOYDEVICEADDED:
    case SDL_JOYDEVICEREMOVED:
    case SDL_CONTROLLERDEVICEADDED: s.rescan = true; break;
    case SDL_CONTROLLERBUTTONDOWN:
        if (SDL_GameController* pad = SDL_GameControllerFromInstanceID(e->cbutton.which))
            Pressed(pad, e->cbutton.button);
        break;
    case SDL_CONTROLLERAXISMOTION:
        if (e->caxis.value <= -stickDeadZone || e->caxis.value >= stickDeadZone)
            if (SDL_GameController* pad = SDL_GameControllerFromInstanceID(e->caxis.which))
                Pressed(pad, PadAxisControl(e->caxis.axis, e->caxis.value > 0));
        break;
    default: break;
    }
    return 1;
}

// The kernel's joystick driver names its devices js0, js1... beside the
// event devices of every keyboard and mouse.
bool JoystickNodeThere(const std::string& folder)
{
    DIR* dir = opendir(folder.c_str());
    if (!dir) return false;
    bool found = false;
    while (dirent* entry = readdir(dir))
        if (std::strncmp(entry->d_name, "js", 2) == 0) found = true;
    closedir(dir);
    return found;
}

// Where the kernel's joystick driver is not loaded, a pad has only an event
// device; udev's records of input devices (character major 13) still say
// which of them are joysticks.
bool JoystickKnownToUdev()
{
    const std::string records = "/run/udev/data/";
    DIR* dir = opendir(records.c_str());
    if (!dir) return false;
    bool found = false;
    while (dirent* entry = readdir(dir)) {
        if (found || std::strncmp(entry->d_name, "c13:", 4) != 0) continue;
        if (FILE* record = std::fopen((records + entry->d_name).c_str(), "r")) {
            char line[256];
            while (!found && std::fgets(line, sizeof line, record))
                found = std::strncmp(line, "E:ID_INPUT_JOYSTICK=1", 21) == 0;
            std::fclose(record);
        }
    }
    closedir(dir);
    return found;
}

// Watches the device folder (or, while there is none, its parent) for a
// device that comes; false when the system cannot watch.
bool WatchNodes(Pads& s)
{
    s.nodeWatch = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    if (s.nodeWatch < 0) return false;
    const uint32_t changes = IN_CREATE | IN_MOVED_TO | IN_ATTRIB;
    std::string parent = s.nodes.substr(0, s.nodes.find_last_of('/') + 1);
    if (inotify_add_watch(s.nodeWatch, s.nodes.c_str(), changes) >= 0 ||
        inotify_add_watch(s.nodeWatch, parent.c_str(), changes) >= 0)
        return true;
    close(s.nodeWatch);
    s.nodeWatch = -1;
    return false;
}

// Whether a device came since the last look; reading empties the watch.
// Looks at most every nodeLookEvery; a call in between finds nothing.
bool NodeCame(Pads& s)
{
    Uint32 now = SDL_GetTicks();
    if (!SDL_TICKS_PASSED(now, s.nextNodeLook)) return false;
    s.nextNodeLook = now + nodeLookEvery;
    alignas(inotify_event) char changes[4096];
    bool came = false;
    while (read(s.nodeWatch, changes, sizeof changes) > 0) came = true;
    return came;
}

void StartSdl(Pads& s)
{
    if (s.nodeWatch >= 0) close(s.nodeWatch);
    s.nodeWatch = -1;
    SDL_SetHint(SDL_HINT_AUTO_UPDATE_JOYSTICKS, "0");
    SDL_SetHint(SDL_HINT_JOYSTICK_HIDAPI, "0");
    // Focus is the keyboard device's business; SDL would otherwise drop
    // presses made while unfocused and leave a held button stale.
    SDL_SetHint(SDL_HINT_JOYSTICK_ALLOW_BACKGROUND_EVENTS, "1");
    s.running = SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) == 0;
    if (s.running) SDL_AddEventWatch(Watch, nullptr);
}

// Decides on first use whether controllers are read at all, and starts
// SDL's controller support once there is a joystick; false until then.
bool Start()
{
    Pads& s = State();
    if (Headless() && !s.testUse) return false;
    if (s.running) return true;
    if (!s.tried) {
        if (!VideoReady()) return false;
        s.tried = true;
        bool joystick = JoystickNodeThere(s.nodes) || (s.nodes == "/dev/input" && JoystickKnownToUdev());
        if (joystick || !WatchNodes(s)) StartSdl(s);
    } else if (s.nodeWatch >= 0 && NodeCame(s)) {
        StartSdl(s);
    }
    return s.running;
}

// Opens the controllers that came, lets go of those that left.
void Rescan(Pads& s)
{
    s.rescan = false;
    for (auto it = s.open.begin(); it != s.open.end();) {
        if (SDL_GameControllerGetAttached(*it)) {
            ++it;
        } else {
            SDL_GameControllerClose(*it);
            it = s.open.erase(it);
        }
    }
    for (int i = 0; i < SDL_NumJoysticks(); ++i) {
        if (!SDL_IsGameController(i) || SDL_GameControllerFromInstanceID(SDL_JoystickGetDeviceInstanceID(i)))
            continue;
        if (SDL_GameController* pad = SDL_GameControllerOpen(i)) s.open.push_back(pad);
    }
}

void Update(Pads& s)
{
    SDL_GameControllerUpdate();
    // A controller that left may not have said so yet.
    for (SDL_GameController* pad : s.open)
        if (!SDL_GameControllerGetAttached(pad)) s.rescan = true;
    if (s.rescan) Rescan(s);
}

void AddHeld(SDL_GameController* pad, BYTE* keys)
{
    MarkPadKeys([pad](int control) { return Held(pad, control); }, -1, keys);
}

}  // namespace

void ReadGamepads(BYTE* keys, HWND window)
{
    if (!Start()) return;
    Pads& s = State();
    s.window = window;
    Update(s);
    if (keys && window && HasKeyboardFocus(window)) {
        for (SDL_GameController* pad : s.open) AddHeld(pad, keys);
        for (int key = 0; key < 256; ++key) keys[key] |= s.pressed[key];
    }
    for (BYTE& key : s.pressed) key = 0;
}

bool GamepadPressWaiting()
{
    Pads& s = State();
    if (!s.tried || !Start()) return false;
    Update(s);
    if (!s.window || !HasKeyboardFocus(s.window)) {
        for (BYTE& key : s.pressed) key = 0;
        return false;
    }
    // A control held now counts too: it may belong to a controller that
    // came with it held, which made no press.
    BYTE keys[256] = {};
    for (SDL_GameController* pad : s.open) AddHeld(pad, keys);
    for (int key = 0; key < 256; ++key)
        if (keys[key] | s.pressed[key]) return true;
    return false;
}

int GamepadLookMilliseconds() { return State().open.empty() ? lookWithout : lookWithPads; }

}  // namespace plat

void PlatformTest::UseGamepads(bool use) { plat::State().testUse = use; }

void PlatformTest::WatchJoystickFolder(LPCSTR folder) { plat::State().nodes = folder; }
