// The sizes a window's frame may be dragged to, told to the desktop from the
// program's own limits and from nothing else.
//
// SDL's non-resizable windows pin the desktop's hints to whatever size the
// desktop configured last (on X11 and on Wayland): a window once maximized
// or tiled then stays that big when it is restored or floated. So every SDL
// window here is resizable to SDL, and the hints come from the limits the
// window procedure gave (WM_GETMINMAXINFO): a game window whose limits meet
// cannot be dragged to another size, and comes back to its own size when
// the desktop stops imposing one.
#ifndef VORBLOX_PLATFORM_SIZE_LIMITS_H
#define VORBLOX_PLATFORM_SIZE_LIMITS_H

#include <SDL.h>

namespace plat {

// Client sizes in SDL's units.
struct SizeLimits {
    SDL_Point min = {0, 0};
    SDL_Point max = {0, 0};
};

// Any size SDL lets a window have: no hold at all.
constexpr SizeLimits kUnheld = {{1, 1}, {1 << 14, 1 << 14}};

// Tells the desktop the limits, from now on. `before` are the ones told
// last (all 0 for none yet).
void TellSizeLimits(SDL_Window* window, const SizeLimits& limits, const SizeLimits& before);
// Tells them again where SDL has cleared them on its own: on Wayland, when
// the window is shown and when it leaves full screen (where the backend
// tells them itself: Backend.h). Nothing while the window is full screen,
// where no limit holds.
void RepeatSizeLimits(SDL_Window* window, const SizeLimits& limits);

}  // namespace plat

#endif
