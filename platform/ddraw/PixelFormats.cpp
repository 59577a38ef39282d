#include "PixelFormats.h"

#include "Core.h"

#include <cstring>

namespace plat {

// The screen the windows live on, as GetSystemMetrics reports it, so that
// the primary surface and window positions agree.
bool DesktopSize(int* width, int* height)
{
    if (!VideoReady()) return false;
    *width = GetSystemMetrics(SM_CXSCREEN);
    *height = GetSystemMetrics(SM_CYSCREEN);
    return *width > 0 && *height > 0;
}

void DescribePixelFormat(Uint32 format, DDPIXELFORMAT* description)
{
    // Asked for on every blit (the game reads the source's description
    // first), nearly always for the desktop's one format.
    static Uint32 describedFormat = SDL_PIXELFORMAT_UNKNOWN;
    static DDPIXELFORMAT described;
    if (format != describedFormat || format == SDL_PIXELFORMAT_UNKNOWN) {
        int bits = 0;
        Uint32 red = 0, green = 0, blue = 0, alpha = 0;
        SDL_PixelFormatEnumToMasks(format, &bits, &red, &green, &blue, &alpha);
        std::memset(&described, 0, sizeof(described));
        described.dwSize = sizeof(DDPIXELFORMAT);
        described.dwFlags = DDPF_RGB;
        // DirectDraw counts the bits a pixel occupies: 32 for X8R8G8B8.
        described.dwRGBBitCount = SDL_BYTESPERPIXEL(format) * 8;
        described.dwRBitMask = red;
        described.dwGBitMask = green;
        described.dwBBitMask = blue;
        describedFormat = format;
    }
    *description = described;
}

bool SamePixelFormat(const DDPIXELFORMAT& description, Uint32 format)
{
    DDPIXELFORMAT wanted;
    DescribePixelFormat(format, &wanted);
    return (description.dwFlags & DDPF_RGB) && !(description.dwFlags & DDPF_ALPHAPIXELS) &&
           description.dwRGBBitCount == wanted.dwRGBBitCount && description.dwRBitMask == wanted.dwRBitMask &&
           description.dwGBitMask == wanted.dwGBitMask && description.dwBBitMask == wanted.dwBBitMask;
}

}  // namespace plat
