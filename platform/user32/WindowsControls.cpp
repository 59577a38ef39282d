#include "WindowsControls.h"
#include "DisplayScale.h"

#include "Core.h"
#include "KeyMap.h"
#include "WindowAccess.h"
#include "Presenter.h"
#include "WindowState.h"

#include <PlatformTest.h>

namespace plat {
namespace {

struct Controls {
    bool captureBoxes = false;
    std::vector<PlatformTest::MessageBoxRecord> boxes;
};

Controls& State()
{
    static auto* controls = new Controls;
    return *controls;
}

void ResetControls() { State() = Controls(); }

const bool hooked = (AddResetHook(ResetControls), true);

}  // namespace

bool CapturingMessageBoxes() { return State().captureBoxes; }

void RecordMessageBox(HWND owner, LPCSTR text, LPCSTR caption, UINT type)
{
    State().boxes.push_back({caption ? caption : "", text ? text : "", type, owner});
}

}  // namespace plat

namespace PlatformTest {

void CaptureMessageBoxes(bool capture) { plat::State().captureBoxes = capture; }
const std::vector<MessageBoxRecord>& MessageBoxes() { return plat::State().boxes; }
void ClearMessageBoxes() { plat::State().boxes.clear(); }

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
