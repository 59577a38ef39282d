// Icon groups (.ico bytes) as SDL surfaces.
#ifndef VORBLOX_PLATFORM_ICONS_H
#define VORBLOX_PLATFORM_ICONS_H

#include <SDL.h>
#include <windows.h>

#include <stddef.h>

namespace plat {

// The largest image of an icon group as ARGB8888; null when none of its
// images is a DIB we can read.
SDL_Surface* DecodeIcon(const unsigned char* data, size_t size);
// Shared handles, one per name, as LoadIconA gives them.
HICON LoadIconResource(LPCSTR name);
HICON LoadIconFile(LPCSTR path);

}  // namespace plat

#endif
