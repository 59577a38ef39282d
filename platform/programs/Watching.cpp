// A recording being watched takes every keyboard read over, focus or not.
// Its pace is the layer's clock's: slower or faster, the game ticks as it
// always does, only the time it reads runs at another rate. Paused, the
// game waits in its keyboard read, as for a line not yet written.
#include "Watching.h"

#include "Bindings.h"
#include "Clock.h"
#include "CloseRequest.h"
#include "DisplayWaits.h"
#include "InputSource.h"
#include "WindowAccess.h"
#include "KeyTakers.h"
#include "PictureHold.h"
#include "ScanCodes.h"
#include "WindowTitle.h"

#include <KeyBindings.h>
#include <ProgramOptions.h>
#include <ReplayReader.h>
#include <SDL.h>
#include <dinput.h>

#include <sys/stat.h>

#include <cstring>

namespace plat {
namespace {

const uint64_t kTicksPerSecond = 64;
// How far Back and Ahead jump.
const uint64_t kJump = 5 * kTicksPerSecond;
// Lines the counter reads a tick, to learn the recording's length: a game
// of an hour has some tens of thousands.
const int kCountedPerTick = 1024;

const char* const kSpeedNames[kSpeedCount] = {"1/2", "1", "2", "4", "8", "max"};
// The clock's pace in halves (0: as fast as it goes).
const unsigned kSpeedHalves[kSpeedCount] = {1, 2, 4, 8, 16, 0};

struct Player {
    bool failed = false;       // a malformed line stopped the watch
    HWND window = nullptr;     // the window the game reads its keys for
    ReplayReader reader;
    ReplayStep step;
    uint64_t used = 0;         // ticks of `step` played
    WatchState state;
    uint64_t seekTo = 0;       // while state.seeking
    // A second reading of the same file, ahead, to learn its length.
    ReplayReader counter;
    bool counting = false;
    ULONGLONG toldAt = 0;      // when the listener was last told, in real milliseconds
    std::string note;          // a word for the watcher, shown until the next change
    bool quit = false;         // the watcher pressed the quit key since the last read
    void (*listener)(const WatchState&) = nullptr;
    bool (*restart)(const WatchStart&, std::string*) = nullptr;
};

Player& ThePlayer()
{
    static auto* player = new Player;
    return *player;
}

std::string Clock(uint64_t ticks)
{
    uint64_t seconds = ticks / kTicksPerSecond;
    char text[32];
    std::snprintf(text, sizeof text, "%llu:%02llu", (unsigned long long)(seconds / 60),
                  (unsigned long long)(seconds % 60));
    return text;
}

}  // namespace

// The window's title names the recording while it plays, so that nobody
// takes it for a game that ignores the keys, and says where it is.
void ShowWatchInTitle(const WatchState& s)
{
    Player& p = ThePlayer();
    if (!p.window) return;
    if (!s.watching) {
        SetTitleNote(p.window, "");
        return;
    }
    std::string where = Clock(s.played);
    if (s.totalKnown) where += " of " + Clock(s.total);
    where += " (tick " + std::to_string(s.played) + (s.totalKnown ? " of " + std::to_string(s.total) : "") + ")";
    std::string how = s.speed == kFastest ? "as fast as it goes" : std::string(kSpeedNames[s.speed]) + "x";
    if (s.seeking) how = "going there";
    if (s.paused) how += ", paused";
    std::string quit = ActionKeyNames("quit");
    std::string note = "watching " + s.name + ", " + where + ", " + how + (p.note.empty() ? "" : ", " + p.note) +
                       "; Space pause, [ ] speed, Left Right 5 s, Home start, Enter play from here" +
                       (quit.empty() ? "" : ", " + quit + " quits");
    static std::string shown;
    if (note == shown) return;
    shown = note;
    SetTitleNote(p.window, note.c_str());
}

namespace {

void Tell(Player& p, bool now)
{
    // The real clock's milliseconds, whatever the watch's pace.
    ULONGLONG real = SDL_GetTicks64();
    // Ten times a second at most: at eight times the speed the ticks go by
    // too fast to read, and the title is the desktop's to draw.
    if (!now && real - p.toldAt < 100) return;
    p.toldAt = real;
    (p.listener ? p.listener : ShowWatchInTitle)(p.state);
}

// The clock and the pictures as the controls leave them.
void Apply(Player& p)
{
    const WatchState& s = p.state;
    if (!s.watching) {
        SetClockPace(2, false);
        HoldPictures(false);
    } else if (s.seeking) {
        SetClockPace(2, true);
        HoldPictures(true);
    } else {
        HoldPictures(false);
        SetClockPace(kSpeedHalves[s.speed] ? kSpeedHalves[s.speed] : 2, kSpeedHalves[s.speed] == 0);
    }
    Tell(p, true);
}

void EndWatch(Player& p)
{
    p.state.watching = false;
    p.state.seeking = false;
    p.note.clear();
    Apply(p);
    if (!p.reader.Notice().empty()) Complain(p.reader.Notice());
}

// The watcher asked to quit: the quit key held now, or tapped since the
// last read (a tap between two ticks counts too).
bool QuitAsked(Player& p, HWND window)
{
    if (p.quit) return true;
    if (!window || !HasKeyboardFocus(window)) return false;
    BYTE real[256];
    ReadKeys(real);
    return (real[DIK_ESCAPE] & 0x80) != 0;
}

// Reads on in the counter as far as it can without waiting.
void Count(Player& p)
{
    if (!p.counting) return;
    ReplayStep step;
    std::string ignored;
    for (int i = 0; i < kCountedPerTick && p.counter.Ready(); ++i) {
        if (p.counter.Next(&step, &ignored) != ReplayReader::Step) {
            p.counting = false;
            p.state.totalKnown = true;
            // A watch that ran past what the counter saw (a file growing
            // meanwhile) knows better.
            if (p.state.total < p.state.played) p.state.total = p.state.played;
            Tell(p, true);
            return;
        }
        p.state.total += step.ticks;
    }
}

// Whether the watch can go on, or must wait: paused, or a recording still
// being written (a pipe from a game being played) has no next line yet.
bool MustWait(Player& p)
{
    const WatchState& s = p.state;
    if (s.watching && s.paused && !s.seeking) return true;
    return s.watching && p.used == p.step.ticks && !p.reader.Ready();
}

// Waits in the game's keyboard read, its window still answering and the
// watcher's controls working; Esc, the close button or a request to close
// end the wait (false).
bool Wait(Player& p, HWND window)
{
    while (MustWait(p)) {
        Count(p);
        if (p.state.paused) {
            SDL_Window* sdl = SdlWindow(window);
            if ((!sdl || WaitOnDisplay(sdl, 100000000ull) < 0) && !WaitForEvents(100)) SDL_Delay(10);
        } else {
            WaitForDescriptor(p.reader.Descriptor(), 50);
        }
        if (QuitAsked(p, window) || CloseRequested()) return false;
        MSG msg;
        if (PeekMessageA(&msg, nullptr, WM_CLOSE, WM_CLOSE, PM_NOREMOVE)) return false;
    }
    return true;
}

void Restart(Player& p, uint64_t tick)
{
    WatchStart start;
    start.from = tick;
    start.speed = p.state.speed;
    start.paused = p.state.paused;
    std::string why = "this recording cannot be read again";
    if (p.restart && p.restart(start, &why)) return;
    p.note = why;
    Tell(p, true);
}

void SeekTo(Player& p, uint64_t tick)
{
    WatchState& s = p.state;
    if (s.totalKnown && tick > s.total) tick = s.total;
    if (tick < s.played) {
        Restart(p, tick);
        return;
    }
    s.seeking = tick > s.played;
    p.seekTo = tick;
    Apply(p);
}

class Playback final : public InputSource {
public:
    bool TakeOver(KeyboardRead& read) override
    {
        Player& p = ThePlayer();
        if (read.window && read.window != p.window && p.state.watching) {
            p.window = read.window;
            Tell(p, true);
        }
        if (!Wait(p, read.window)) {
            // Waiting, the player asked to stop.
            read.keys[DIK_ESCAPE] = QuitAsked(p, read.window) ? 0x80 : 0;
            p.quit = false;
            return true;
        }
        if (p.state.watching && p.used == p.step.ticks) {
            std::string error;
            ReplayReader::Result got = p.reader.Next(&p.step, &error);
            p.used = 0;
            if (got == ReplayReader::Bad) {
                Complain(error);
                p.failed = true;
            }
            if (got != ReplayReader::Step) EndWatch(p);
        }
        // Played to the end: the player's own keyboard and controllers
        // take over from here, under the game's own title.
        if (!p.state.watching) return false;
        // A recorded Esc is not played: the one watching decides when to stop.
        for (unsigned char key : p.step.keys)
            if (key != DIK_ESCAPE) read.keys[key] = 0x80;
        ++p.used;
        ++p.state.played;
        if (p.state.totalKnown && p.state.played > p.state.total) p.state.total = p.state.played;
        if (QuitAsked(p, read.window)) read.keys[DIK_ESCAPE] = 0x80;
        p.quit = false;
        Count(p);
        if (p.state.seeking && p.state.played >= p.seekTo) {
            p.state.seeking = false;
            Apply(p);
        }
        if (!p.state.seeking) Tell(p, false);
        return true;
    }
    // Paused, a game asleep at its prompt sleeps on.
    bool Waiting() override
    {
        const WatchState& s = ThePlayer().state;
        return s.watching && (!s.paused || s.seeking);
    }
};

// The watcher's keys, while a recording plays: none the recording needs.
bool TakeWatchKey(HWND, const SDL_KeyboardEvent& e)
{
    Player& p = ThePlayer();
    if (!p.state.watching) return false;
    // Not taken: the game sees it held as ever.
    if (BoundKey(e.keysym.scancode, ScancodeKey(e.keysym.scancode)) == DIK_ESCAPE) p.quit = true;
    if (e.keysym.mod & (KMOD_CTRL | KMOD_ALT | KMOD_GUI)) return false;
    switch (e.keysym.scancode) {
    case SDL_SCANCODE_SPACE: ControlWatch(WatchControl::Pause); return true;
    case SDL_SCANCODE_LEFTBRACKET: ControlWatch(WatchControl::Slower); return true;
    case SDL_SCANCODE_RIGHTBRACKET: ControlWatch(WatchControl::Faster); return true;
    case SDL_SCANCODE_LEFT: ControlWatch(WatchControl::Back); return true;
    case SDL_SCANCODE_RIGHT: ControlWatch(WatchControl::Ahead); return true;
    case SDL_SCANCODE_HOME: ControlWatch(WatchControl::ToStart); return true;
    case SDL_SCANCODE_RETURN:
    case SDL_SCANCODE_KP_ENTER: ControlWatch(WatchControl::PlayOn); return true;
    default: return false;
    }
}

std::string ShownName(const char* path)
{
    if (!std::strcmp(path, "-")) return "a recording from the standard input";
    const char* slash = std::strrchr(path, '/');
    std::string name = Quoted(slash && slash[1] ? slash + 1 : path);
    return name.substr(1, name.size() - 2);  // the title shows it without quotes
}

}  // namespace

const char* WatchSpeedName(int speed) { return speed >= 0 && speed < kSpeedCount ? kSpeedNames[speed] : "?"; }

bool ParseWatchSpeed(const char* text, int* speed)
{
    for (int i = 0; i < kSpeedCount; ++i) {
        if (!std::strcmp(text, kSpeedNames[i]) || (i == kHalfSpeed && !std::strcmp(text, "0.5"))) {
            *speed = i;
            return true;
        }
    }
    return false;
}

bool StartWatching(const char* path, const WatchStart& start, std::string* error)
{
    Player& p = ThePlayer();
    if (!p.reader.Open(path, error)) return false;
    // The first step is read now, so that a file that is no recording at
    // all is refused before the window opens.
    ReplayReader::Result got = p.reader.Next(&p.step, error);
    if (got == ReplayReader::Bad) return false;
    p.used = 0;
    // A link itself is a screenful of letters: no name for a title.
    p.state.name = p.reader.FromLink() && p.reader.Name() == "the link" ? "a shared game" : ShownName(path);
    p.state.watching = got == ReplayReader::Step;
    p.state.speed = start.speed;
    p.state.paused = start.paused;
    if (!p.state.watching && !p.reader.Notice().empty()) Complain(p.reader.Notice());
    // A file is read a second time, ahead, for its length; a pipe cannot be.
    struct stat info;
    std::string ignored;
    p.counting = std::strcmp(path, "-") && (stat(path, &info) != 0 || !S_ISFIFO(info.st_mode)) &&
                 p.counter.Open(path, &ignored);
    static Playback playback;
    AddInputSource(&playback);
    AddKeyTaker(TakeWatchKey);
    if (p.state.watching) {
        p.state.seeking = start.from > 0;
        p.seekTo = start.from;
        Apply(p);
    }
    return true;
}

bool WatchFailed() { return ThePlayer().failed; }

void ControlWatch(WatchControl control, uint64_t value)
{
    Player& p = ThePlayer();
    WatchState& s = p.state;
    if (!s.watching) return;
    p.note.clear();
    switch (control) {
    case WatchControl::Pause: s.paused = !s.paused; break;
    case WatchControl::Slower: s.speed = s.speed > 0 ? s.speed - 1 : 0; break;
    case WatchControl::Faster: s.speed = s.speed + 1 < kSpeedCount ? s.speed + 1 : s.speed; break;
    case WatchControl::Speed:
        if (value < (uint64_t)kSpeedCount) s.speed = (int)value;
        break;
    case WatchControl::Back: SeekTo(p, s.played > kJump ? s.played - kJump : 0); return;
    case WatchControl::Ahead: SeekTo(p, (s.seeking ? p.seekTo : s.played) + kJump); return;
    case WatchControl::ToStart: SeekTo(p, 0); return;
    case WatchControl::SeekTo: SeekTo(p, value); return;
    case WatchControl::PlayOn:
        p.counting = false;
        EndWatch(p);
        return;
    }
    Apply(p);
}

void SetWatchListener(void (*listener)(const WatchState&)) { ThePlayer().listener = listener; }

void SetWatchRestarter(bool (*restart)(const WatchStart&, std::string*)) { ThePlayer().restart = restart; }

}  // namespace plat
