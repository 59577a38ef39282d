#ifndef VORBLOX_PLATFORM_WAYLAND_SIZE_LIMITS_H
#define VORBLOX_PLATFORM_WAYLAND_SIZE_LIMITS_H

#include <SDL.h>

namespace plat {

// The Wayland backend's way of telling a window's size limits (Backend.h).
bool TellWaylandSizeLimits(SDL_Window* window, SDL_Point min, SDL_Point max);

}  // namespace plat

#endif
