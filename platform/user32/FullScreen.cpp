#include "FullScreen.h"

#include <SDL.h>

#include "Backend.h"
#include "KeyTakers.h"
#include "SizeLimits.h"
#include "WindowState.h"

namespace plat {
namespace {

struct FullScreenState {
    bool atStart = false;
};

// Never destroyed, like the rest of the layer's state.
FullScreenState& State()
{
    static auto* state = new FullScreenState;
    return *state;
}

// Window managers refuse full screen to a window held to one size (openbox
// does), so the hold is lifted while full screen lasts and told again after
// it; SDL clears the hints itself only for windows it holds.
void SetFullScreen(Window* w, bool on)
{
    if (on) TellSizeLimits(w->sdl, kUnheld, w->told);
    SDL_SetWindowFullscreen(w->sdl, on ? SDL_WINDOW_FULLSCREEN_DESKTOP : 0);
    if (!on) TellSizeLimits(w->sdl, w->told, kUnheld);
}

}  // namespace

void StartFullScreen() { State().atStart = true; }

void WindowShown(Window* w)
{
    if (State().atStart && !w->parent) SetFullScreen(w, true);
}

namespace {

bool TakeFullScreenKey(HWND hwnd, const SDL_KeyboardEvent& e)
{
    Window* w = LookupWindow(hwnd);
    if (!w || !CurrentBackend().fullScreenKeys) return false;
    bool alt = (e.keysym.mod & KMOD_ALT) && !(e.keysym.mod & (KMOD_CTRL | KMOD_GUI));
    bool plain = !(e.keysym.mod & (KMOD_ALT | KMOD_CTRL | KMOD_GUI | KMOD_SHIFT));
    SDL_Scancode key = e.keysym.scancode;
    bool toggle = (key == SDL_SCANCODE_F11 && plain) ||
                  ((key == SDL_SCANCODE_RETURN || key == SDL_SCANCODE_KP_ENTER) && alt);
    if (!toggle || w->parent) return false;
    SetFullScreen(w, !(SDL_GetWindowFlags(w->sdl) & SDL_WINDOW_FULLSCREEN));
    return true;
}

const bool taking = (AddKeyTaker(TakeFullScreenKey), true);

}  // namespace

}  // namespace plat
