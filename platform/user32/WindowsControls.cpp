#include "WindowsControls.h"
#include "DisplayScale.h"

#include "Core.h"
#include "KeyMap.h"
#include "Internal.h"
#include "Presenter.h"
#include "WindowState.h"

#include <PlatformTest.h>

#include <set>
#include <strings.h>

namespace plat {
namespace {

struct CaseLess {
    bool operator()(const std::string& a, const std::string& b) const { return strcasecmp(a.c_str(), b.c_str()) < 0; }
};

struct Controls {
    bool versionFails = false;
    DWORD platformId = VER_PLATFORM_WIN32_NT, major = 5, minor = 1, build = 2600;
    std::set<std::string, CaseLess> hidden;
    bool captureBoxes = false;
    std::vector<PlatformTest::MessageBoxRecord> boxes;
    bool captureDebug = false;
    std::string debug;
};

Controls& State()
{
    static auto* controls = new Controls;
    return *controls;
}

void ResetControls() { State() = Controls(); }

const bool hooked = (AddResetHook(ResetControls), true);

}  // namespace

bool VersionQueryFails() { return State().versionFails; }

void ReportedVersion(OSVERSIONINFOA* info)
{
    Controls& s = State();
    info->dwMajorVersion = s.major;
    info->dwMinorVersion = s.minor;
    info->dwBuildNumber = s.build;
    info->dwPlatformId = s.platformId;
}

bool ResourceHidden(const char* name) { return name && State().hidden.count(name) > 0; }

bool CapturingMessageBoxes() { return State().captureBoxes; }

void RecordMessageBox(HWND owner, LPCSTR text, LPCSTR caption, UINT type)
{
    State().boxes.push_back({caption ? caption : "", text ? text : "", type, owner});
}

bool CapturingDebugOutput() { return State().captureDebug; }

void RecordDebugOutput(const char* text) { State().debug += text; }


}  // namespace plat

namespace PlatformTest {

void SetOsVersion(DWORD platformId, DWORD major, DWORD minor, DWORD build)
{
    plat::Controls& s = plat::State();
    s.platformId = platformId;
    s.major = major;
    s.minor = minor;
    s.build = build;
}

void SetVersionQueryFails(bool fails) { plat::State().versionFails = fails; }

void HideResource(const char* name)
{
    if (name) plat::State().hidden.insert(name);
}

void CaptureMessageBoxes(bool capture) { plat::State().captureBoxes = capture; }
const std::vector<MessageBoxRecord>& MessageBoxes() { return plat::State().boxes; }
void ClearMessageBoxes() { plat::State().boxes.clear(); }

void CaptureDebugOutput(bool capture) { plat::State().captureDebug = capture; }
std::string DebugOutput() { return plat::State().debug; }
void ClearDebugOutput() { plat::State().debug.clear(); }

void SetKeyboardFocus(HWND hwnd, bool focused)
{
    if (plat::Window* w = plat::LookupWindow(hwnd)) w->hasFocus = focused;
}

void ResizeFromDesktop(HWND hwnd, int clientWidth, int clientHeight)
{
    plat::Window* w = plat::LookupWindow(hwnd);
    if (!w || !w->sdl) return;
    SDL_SetWindowMinimumSize(w->sdl, 1, 1);
    SDL_SetWindowMaximumSize(w->sdl, 1 << 14, 1 << 14);
    SDL_SetWindowSize(w->sdl, clientWidth / plat::PointScale(), clientHeight / plat::PointScale());
}

bool DesktopKey(HWND hwnd, unsigned scanCode, bool extended, bool down, bool repeat)
{
    plat::Window* w = plat::LookupWindow(hwnd);
    SDL_Scancode scancode = plat::ScancodeFromKey(scanCode, extended);
    if (!w || !w->sdl || scancode == SDL_SCANCODE_UNKNOWN) return false;
    SDL_Event e = {};
    e.type = down ? SDL_KEYDOWN : SDL_KEYUP;
    e.key.windowID = SDL_GetWindowID(w->sdl);
    e.key.state = down ? SDL_PRESSED : SDL_RELEASED;
    e.key.repeat = repeat ? 1 : 0;
    e.key.keysym.scancode = scancode;
    e.key.keysym.sym = SDL_GetKeyFromScancode(scancode);
    return SDL_PushEvent(&e) == 1;
}

void DesktopMouseMove(HWND hwnd, int x, int y)
{
    plat::Window* w = plat::LookupWindow(hwnd);
    if (!w || !w->sdl) return;
    SDL_Event e = {};
    e.type = SDL_MOUSEMOTION;
    e.motion.windowID = SDL_GetWindowID(w->sdl);
    e.motion.x = x;
    e.motion.y = y;
    SDL_PushEvent(&e);
}

void DesktopMouseButton(HWND hwnd, int button, bool down, int x, int y, int clicks)
{
    plat::Window* w = plat::LookupWindow(hwnd);
    if (!w || !w->sdl) return;
    SDL_Event e = {};
    e.type = down ? SDL_MOUSEBUTTONDOWN : SDL_MOUSEBUTTONUP;
    e.button.windowID = SDL_GetWindowID(w->sdl);
    e.button.button = (Uint8)button;
    e.button.state = down ? SDL_PRESSED : SDL_RELEASED;
    e.button.clicks = (Uint8)clicks;
    e.button.x = x;
    e.button.y = y;
    SDL_PushEvent(&e);
}

void DesktopClose(HWND hwnd)
{
    plat::Window* w = plat::LookupWindow(hwnd);
    if (!w || !w->sdl) return;
    SDL_Event e = {};
    e.type = SDL_WINDOWEVENT;
    e.window.windowID = SDL_GetWindowID(w->sdl);
    e.window.event = SDL_WINDOWEVENT_CLOSE;
    SDL_PushEvent(&e);
}

void SetScreenSize(int width, int height)
{
    plat::SetHeadlessScreen(width > 0 ? width : 0, height > 0 ? height : 0);
}

bool ReadClientPixels(HWND hwnd, std::vector<uint32_t>* pixels, int* width, int* height)
{
    plat::Window* w = plat::LookupWindow(hwnd);
    if (!w || !w->presenter || !plat::ClientSurface(hwnd)) return false;
    return w->presenter->ReadShown(pixels, width, height);
}

}  // namespace PlatformTest
