#include "BmpDecoder.h"

#include <cstdlib>

namespace plat {
namespace {

enum Compression : Uint32 { kRgb = 0, kRle8 = 1, kRle4 = 2, kBitfields = 3 };

Uint32 U16(const unsigned char* p) { return (Uint32)p[0] | (Uint32)p[1] << 8; }
Uint32 U32(const unsigned char* p) { return U16(p) | U16(p + 2) << 16; }
long long S32(const unsigned char* p) { return (long long)(int32_t)U32(p); }

struct Header {
    Uint32 offBits = 0;
    Uint32 headerSize = 0;
    long long width = 0;
    long long height = 0;
    Uint32 planes = 0;
    Uint32 bitCount = 0;
    Uint32 compression = kRgb;
    Uint32 colorsUsed = 0;
};

bool ReadHeader(const unsigned char* data, size_t size, Header* h)
{
    if (size < 14 + 12 || data[0] != 'B' || data[1] != 'M') return false;
    h->offBits = U32(data + 10);
    const unsigned char* info = data + 14;
    h->headerSize = U32(info);
    if (h->headerSize == 12) {  // the old core header
        h->width = U16(info + 4);
        h->height = U16(info + 6);
        h->planes = U16(info + 8);
        h->bitCount = U16(info + 10);
        return true;
    }
    // The Windows headers (the OS/2 2.x ones reuse compression numbers
    // with other meanings and are not accepted).
    switch (h->headerSize) {
    case 40:
    case 52:
    case 56:
    case 108:
    case 124: break;
    default: return false;
    }
    if (size < 14 + (size_t)h->headerSize) return false;
    h->width = S32(info + 4);
    h->height = S32(info + 8);
    h->planes = U16(info + 12);
    h->bitCount = U16(info + 14);
    h->compression = U32(info + 16);
    h->colorsUsed = U32(info + 32);
    return true;
}

bool Plausible(const Header& h, size_t size)
{
    if (h.planes != 1) return false;
    switch (h.bitCount) {
    case 1:
    case 4:
    case 8:
    case 16:
    case 24:
    case 32: break;
    default: return false;
    }
    long long rows = h.height < 0 ? -h.height : h.height;
    if (h.width <= 0 || rows == 0 || h.width > kMaxBmpSide || rows > kMaxBmpSide) return false;
    if (h.width * rows > kMaxBmpPixels) return false;
    switch (h.compression) {
    case kRgb: break;
    case kRle8:
        if (h.bitCount != 8 || h.height < 0) return false;  // compressed pictures are bottom-up only
        break;
    case kRle4:
        if (h.bitCount != 4 || h.height < 0) return false;
        break;
    case kBitfields:
        if (h.bitCount != 16 && h.bitCount != 32) return false;
        break;
    default: return false;
    }
    size_t headersEnd = 14 + (size_t)h.headerSize;
    // Colour masks follow a 40-byte header; the longer headers hold them.
    if (h.compression == kBitfields && h.headerSize == 40) headersEnd += 12;
    if (h.bitCount <= 8) {
        unsigned long long maxColors = 1ull << h.bitCount;
        unsigned long long colors = h.colorsUsed ? h.colorsUsed : maxColors;
        if (colors > maxColors) return false;
        headersEnd += (size_t)colors * (h.headerSize == 12 ? 3 : 4);
    }
    if (headersEnd > size || h.offBits < 14 + h.headerSize || h.offBits >= size) return false;
    if (h.compression == kRgb || h.compression == kBitfields) {
        unsigned long long stride = (((unsigned long long)h.width * h.bitCount + 31) / 32) * 4;
        if ((unsigned long long)h.offBits + stride * (unsigned long long)rows > size) return false;  // cut short
    }
    return true;
}

}  // namespace

SDL_Surface* DecodeBmp(const unsigned char* data, size_t size, DWORD* error)
{
    *error = ERROR_INVALID_DATA;
    Header header;
    if (!data || !ReadHeader(data, size, &header) || !Plausible(header, size)) return nullptr;
    SDL_RWops* rw = SDL_RWFromConstMem(data, (int)size);
    if (!rw) {
        *error = ERROR_NOT_ENOUGH_MEMORY;
        return nullptr;
    }
    SDL_Surface* surface = SDL_LoadBMP_RW(rw, 1);
    if (!surface) return nullptr;
    if (surface->w != header.width || surface->h != (header.height < 0 ? -header.height : header.height)) {
        SDL_FreeSurface(surface);
        return nullptr;
    }
    // A DIB copies its pixels as they are; blending is for other blits.
    SDL_SetSurfaceBlendMode(surface, SDL_BLENDMODE_NONE);
    *error = 0;
    return surface;
}

}  // namespace plat
