// Device contexts on DirectDraw's surfaces.
#ifndef VORBLOX_PLATFORM_SURFACE_DC_H
#define VORBLOX_PLATFORM_SURFACE_DC_H

#include <SDL.h>
#include <windows.h>

namespace plat {

// A device context that draws straight into `surface` (a DirectDraw
// surface's pixels): StretchBlt, GetPixel and SetPixel work on it. The
// surface must outlive the DC.
HDC CreateSurfaceDC(SDL_Surface* surface);
void DeleteSurfaceDC(HDC dc);

}  // namespace plat

#endif
