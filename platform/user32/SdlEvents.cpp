// SDL's events as window messages: the close button, exposure, moves and
// resizes, focus, keys and the mouse.
#include "Backend.h"
#include "Core.h"
#include "DisplayWaits.h"
#include "DisplayScale.h"
#include "FullScreen.h"
#include "KeyTakers.h"
#include "Presenter.h"
#include "KeyMap.h"
#include "WindowState.h"

#include <algorithm>

namespace plat {
namespace {

// Mouse positions come in SDL's units; the picture may lie anywhere in the
// client (Presenter.h).
LPARAM PackPoint(const Window* w, int x, int y)
{
    SDL_Point at = {ToProgram(x * PointScale()), ToProgram(y * PointScale())};
    if (w->presenter) at = w->presenter->ToPicture(x * PointScale(), y * PointScale());
    return MAKELPARAM((WORD)(SHORT)at.x, (WORD)(SHORT)at.y);
}

WPARAM MouseKeys(Uint32 buttons)
{
    WPARAM keys = 0;
    if (buttons & SDL_BUTTON_LMASK) keys |= MK_LBUTTON;
    if (buttons & SDL_BUTTON_RMASK) keys |= MK_RBUTTON;
    if (buttons & SDL_BUTTON_MMASK) keys |= MK_MBUTTON;
    SDL_Keymod mod = SDL_GetModState();
    if (mod & KMOD_SHIFT) keys |= MK_SHIFT;
    if (mod & KMOD_CTRL) keys |= MK_CONTROL;
    return keys;
}

void OnWindowEvent(Window* w, const SDL_WindowEvent& e)
{
    switch (e.event) {
    case SDL_WINDOWEVENT_CLOSE: PostToQueue(w->hwnd, WM_CLOSE, 0, 0); break;
    case SDL_WINDOWEVENT_EXPOSED:
        if (w->presenter) w->presenter->Exposed();
        InvalidateWindow(w, nullptr, true);
        break;
    case SDL_WINDOWEVENT_MOVED: {
        int x = 0, y = 0;
        ClientOrigin(w, &x, &y);
        CallProc(w, WM_MOVE, 0, MAKELPARAM((WORD)(SHORT)x, (WORD)(SHORT)y));
        break;
    }
    case SDL_WINDOWEVENT_SIZE_CHANGED: {
        // Dragging the frame: the window procedure's limits decide.
        ApplyMinMax(w);
        if (!w->alive) break;
        // A compositor that ended full screen on its own had SDL clear them.
        RepeatSizeLimits(w->sdl, w->told);
        ReadClientSize(w);
        if (w->presenter) w->presenter->Exposed();
        InvalidateWindow(w, nullptr, true);
        CallProc(w, WM_SIZE, SIZE_RESTORED, MAKELPARAM(w->clientWidth, w->clientHeight));
        break;
    }
    case SDL_WINDOWEVENT_MINIMIZED:
        w->minimized = true;
        CallProc(w, WM_SIZE, SIZE_MINIMIZED, 0);
        break;
    case SDL_WINDOWEVENT_RESTORED:
    case SDL_WINDOWEVENT_MAXIMIZED:
        if (w->minimized) {
            w->minimized = false;
            InvalidateWindow(w, nullptr, true);
            CallProc(w, WM_SIZE, SIZE_RESTORED, MAKELPARAM(w->clientWidth, w->clientHeight));
        }
        break;
    case SDL_WINDOWEVENT_FOCUS_GAINED:
        if (!w->hasFocus) {
            w->hasFocus = true;
            CallProc(w, WM_ACTIVATE, WA_ACTIVE, 0);
            CallProc(w, WM_SETFOCUS, 0, 0);
        }
        break;
    case SDL_WINDOWEVENT_FOCUS_LOST:
        if (w->hasFocus) {
            w->hasFocus = false;
            CallProc(w, WM_KILLFOCUS, 0, 0);
            CallProc(w, WM_ACTIVATE, WA_INACTIVE, 0);
        }
        break;
    default: break;
    }
    if (w->alive && w->presenter) w->presenter->WindowChanged();
}

void OnKey(Window* w, const SDL_KeyboardEvent& e)
{
    if (!w->parent && TakeKey(w->hwnd, e)) return;
    KeyCode key;
    if (!KeyFromScancode(e.keysym.scancode, &key)) return;
    bool down = e.type == SDL_KEYDOWN;
    // Alt held (without Ctrl) and F10 make system keys, as in Windows.
    bool alt = (e.keysym.mod & KMOD_ALT) != 0;
    bool system = (alt && !(e.keysym.mod & KMOD_CTRL)) || key.vk == VK_F1 + 9;
    DWORD lParam = 1u | (key.scan & 0xFFu) << 16;
    if (key.extended) lParam |= 1u << 24;
    if (alt) lParam |= 1u << 29;
    if (!down || e.repeat) lParam |= 1u << 30;
    if (!down) lParam |= 1u << 31;
    UINT message = down ? (system ? WM_SYSKEYDOWN : WM_KEYDOWN) : (system ? WM_SYSKEYUP : WM_KEYUP);
    PostToQueue(w->hwnd, message, key.vk, (LPARAM)lParam);
}

void OnButton(Window* w, const SDL_MouseButtonEvent& e)
{
    UINT base;
    switch (e.button) {
    case SDL_BUTTON_LEFT: base = WM_LBUTTONDOWN; break;
    case SDL_BUTTON_RIGHT: base = WM_RBUTTONDOWN; break;
    case SDL_BUTTON_MIDDLE: base = WM_MBUTTONDOWN; break;
    default: return;
    }
    UINT message = base;  // down
    if (e.type == SDL_MOUSEBUTTONUP)
        message = base + 1;
    else if (e.clicks >= 2 && e.clicks % 2 == 0 && (w->cls->wc.style & CS_DBLCLKS))
        message = base + 2;
    PostToQueue(w->hwnd, message, MouseKeys(SDL_GetMouseState(nullptr, nullptr)), PackPoint(w, e.x, e.y));
}

void Translate(const SDL_Event& e)
{
    switch (e.type) {
    case SDL_WINDOWEVENT:
        if (Window* w = WindowFromSdl(e.window.windowID)) OnWindowEvent(w, e.window);
        break;
    case SDL_KEYDOWN:
    case SDL_KEYUP:
        if (Window* w = WindowFromSdl(e.key.windowID)) OnKey(w, e.key);
        break;
    case SDL_MOUSEMOTION:
        if (Window* w = WindowFromSdl(e.motion.windowID))
            PostToQueue(w->hwnd, WM_MOUSEMOVE, MouseKeys(e.motion.state), PackPoint(w, e.motion.x, e.motion.y));
        break;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP:
        if (Window* w = WindowFromSdl(e.button.windowID)) OnButton(w, e.button);
        break;
    case SDL_QUIT: OnSdlQuit(); break;
    default: break;
    }
}

}  // namespace

void ReadSdlInput()
{
    // Each read of the display connection costs a handful of system calls,
    // and a game loop asks several times within the same instant (after a
    // wait, for the keyboard, before the next wait). What arrives within
    // half a millisecond of a read is taken by the next one, or ends the
    // next wait at once; what ended a wait is taken at once, or the next
    // wait would end at once again.
    static Uint64 lastLook = 0, lastRead = 0, settleUntil = 0;
    Uint64 now = SDL_GetPerformanceCounter(), second = SDL_GetPerformanceFrequency();
    if (!DisplayWokeWait() && lastLook && now - lastLook < second / 2000) return;
    lastLook = now;
    // On X, SDL's read is left out while the display has sent nothing (most
    // ticks of a game). Not for long after the focus changed: SDL makes the
    // change its own a fifth of a second after the display's event, in a
    // later read. And once a second all the same, which keeps the screen
    // saver away while only a gamepad is played.
    int input = DisplayHasInput();
    if (input == 2) settleUntil = now + second / 4;
    if (input == 0 && lastRead && now >= settleUntil && now - lastRead < second) return;
    SDL_PumpEvents();
    DisplayInputTaken();
    lastRead = lastLook = SDL_GetPerformanceCounter();
}

void PumpSdlEvents()
{
    if (!SDL_WasInit(SDL_INIT_EVENTS)) return;
    static bool quiet = false;
    if (!quiet) {
        // We drain SDL's queue ourselves; its poll markers would only make
        // an empty queue look busy to SDL_WaitEventTimeout.
#if SDL_VERSION_ATLEAST(2, 24, 0)
        SDL_EventState(SDL_POLLSENTINEL, SDL_IGNORE);
#endif
        SDL_EventState(SDL_TEXTINPUT, SDL_IGNORE);
        SDL_EventState(SDL_TEXTEDITING, SDL_IGNORE);
        quiet = true;
    }
    ReadSdlInput();
    SDL_Event e;
    while (SDL_PeepEvents(&e, 1, SDL_GETEVENT, SDL_FIRSTEVENT, SDL_LASTEVENT) > 0) Translate(e);
}

}  // namespace plat
