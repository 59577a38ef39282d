// Size hints through SDL, or the backend's own way (on Wayland, the
// window's xdg_toplevel).
#include "SizeLimits.h"

#include "Backend.h"

namespace plat {

void TellSizeLimits(SDL_Window* window, const SizeLimits& limits, const SizeLimits& before)
{
    SDL_SetWindowResizable(window, SDL_TRUE);
    auto tell = CurrentBackend().TellSizeLimits;
    if (tell && tell(window, limits.min, limits.max)) return;
    // SDL refuses a minimum above the maximum it has, and the other way.
    if (limits.min.x > before.max.x || limits.min.y > before.max.y) {
        SDL_SetWindowMaximumSize(window, limits.max.x, limits.max.y);
        SDL_SetWindowMinimumSize(window, limits.min.x, limits.min.y);
    } else {
        SDL_SetWindowMinimumSize(window, limits.min.x, limits.min.y);
        SDL_SetWindowMaximumSize(window, limits.max.x, limits.max.y);
    }
}

void RepeatSizeLimits(SDL_Window* window, const SizeLimits& limits)
{
    auto tell = CurrentBackend().TellSizeLimits;
    if (!tell || (SDL_GetWindowFlags(window) & SDL_WINDOW_FULLSCREEN)) return;
    if (limits.max.x > 0 && !tell(window, limits.min, limits.max)) {
        SDL_SetWindowMinimumSize(window, limits.min.x, limits.min.y);
        SDL_SetWindowMaximumSize(window, limits.max.x, limits.max.y);
    }
}

}  // namespace plat
