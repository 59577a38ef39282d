// The desktop as DirectDraw describes it: its size and the DDPIXELFORMAT of
// an SDL pixel format.
#ifndef VORBLOX_PLATFORM_PIXEL_FORMATS_H
#define VORBLOX_PLATFORM_PIXEL_FORMATS_H

#include <SDL.h>
#include <ddraw.h>

namespace plat {

// The desktop's size in pixels; false when SDL cannot tell.
bool DesktopSize(int* width, int* height);

// Bit count and red, green and blue masks of `format` (no alpha: none of
// the desktop formats has any).
void DescribePixelFormat(Uint32 format, DDPIXELFORMAT* description);

// True when `description` names exactly `format`.
bool SamePixelFormat(const DDPIXELFORMAT& description, Uint32 format);

}  // namespace plat

#endif
