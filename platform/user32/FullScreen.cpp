#include "FullScreen.h"

#include <SDL.h>

#include "Backend.h"
#include "SizeLimits.h"
#include "WindowState.h"

#include <set>

namespace plat {
namespace {

struct FullScreenState {
    bool atStart = false;
    std::set<SDL_Scancode> taken;
};

// Never destroyed, like the rest of the layer's state.
FullScreenState& State()
{
    static auto* state = new FullScreenState;
    return *state;
}

void SetFullScreen(Window* w, bool on)
{
    SDL_SetWindowFullscreen(w->sdl, on ? SDL_WINDOW_FULLSCREEN_DESKTOP : 0);
    // SDL cleared the size hints for full screen; the window's own come back.
    if (!on) RepeatSizeLimits(w->sdl, w->told);
}

}  // namespace

void StartFullScreen() { State().atStart = true; }

void WindowShown(Window* w)
{
    if (State().atStart && !w->parent) SetFullScreen(w, true);
}

bool TakeFullScreenKey(Window* w, const SDL_KeyboardEvent& e)
{
    if (!CurrentBackend().fullScreenKeys) return false;
    FullScreenState& state = State();
    SDL_Scancode key = e.keysym.scancode;
    if (e.type == SDL_KEYUP) return state.taken.erase(key) > 0;
    if (state.taken.count(key)) return true;  // its repeats
    bool alt = (e.keysym.mod & KMOD_ALT) && !(e.keysym.mod & (KMOD_CTRL | KMOD_GUI));
    bool plain = !(e.keysym.mod & (KMOD_ALT | KMOD_CTRL | KMOD_GUI | KMOD_SHIFT));
    bool toggle = (key == SDL_SCANCODE_F11 && plain) ||
                  ((key == SDL_SCANCODE_RETURN || key == SDL_SCANCODE_KP_ENTER) && alt);
    if (!toggle || w->parent) return false;
    state.taken.insert(key);
    SetFullScreen(w, !(SDL_GetWindowFlags(w->sdl) & SDL_WINDOW_FULLSCREEN));
    return true;
}

bool KeyTaken(int scancode) { return State().taken.count((SDL_Scancode)scancode) > 0; }

}  // namespace plat
