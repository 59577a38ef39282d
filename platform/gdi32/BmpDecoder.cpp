#include "BmpDecoder.h"

#include <cstdlib>
#include <vector>

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
    Uint32 fileSize = 0;
    Uint32 imageSize = 0;
    long long density[2] = {0, 0};
    Uint32 masks[3] = {0, 0, 0};
};

// Pixels per metre beyond any real device (about 25,000 dots per inch).
const long long kMaxDensity = 1000000;

bool ReadHeader(const unsigned char* data, size_t size, Header* h)
{
    if (size < 14 + 12 || data[0] != 'B' || data[1] != 'M') return false;
    h->fileSize = U32(data + 2);
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
    h->imageSize = U32(info + 20);
    h->density[0] = S32(info + 24);
    h->density[1] = S32(info + 28);
    h->colorsUsed = U32(info + 32);
    if (h->compression == kBitfields) {
        // After a 40-byte header the masks follow it; longer headers hold them.
        const unsigned char* masks = info + 40;
        if (size < 14 + 40 + 12) return false;
        for (int i = 0; i < 3; ++i) h->masks[i] = U32(masks + 4 * i);
    }
    return true;
}

// Walks run-length data without decoding it: every run must stay inside its
// row and every row inside the picture, and the data must reach its end mark.
bool RleStaysInside(const unsigned char* p, size_t size, long long width, long long height, bool fourBit)
{
    size_t i = 0;
    long long x = 0, y = 0;
    while (i + 1 < size) {
        unsigned count = p[i], value = p[i + 1];
        i += 2;
        if (count > 0) {
            if (y >= height || x + count > width) return false;
            x += count;
            continue;
        }
        switch (value) {
        case 0:  // end of line
            x = 0;
            ++y;
            if (y > height) return false;
            break;
        case 1: return true;  // end of picture
        case 2:                // move right and up
            if (i + 1 >= size) return false;
            x += p[i];
            y += p[i + 1];
            i += 2;
            if (x > width || y > height) return false;
            break;
        default: {  // literal pixels, padded to a 16-bit boundary
            if (y >= height || x + value > width) return false;
            size_t bytes = fourBit ? (value + 1) / 2 : value;
            i += (bytes + 1) & ~(size_t)1;
            if (i > size) return false;
            x += value;
        }
        }
    }
    return false;  // no end mark
}

// Palette indices beyond the palette have no colour.
bool IndicesInPalette(const Header& h, const unsigned char* bits, unsigned long long stride, long long rows)
{
    unsigned long long colors = h.colorsUsed ? h.colorsUsed : 1ull << h.bitCount;
    if (colors >= (1ull << h.bitCount)) return true;
    for (long long y = 0; y < rows; ++y) {
        const unsigned char* row = bits + stride * (unsigned long long)y;
        for (long long x = 0; x < h.width; ++x) {
            unsigned index;
            if (h.bitCount == 8)
                index = row[x];
            else if (h.bitCount == 4)
                index = (row[x / 2] >> (x % 2 ? 0 : 4)) & 0xF;
            else
                index = (row[x / 8] >> (7 - x % 8)) & 1;
            if (index >= colors) return false;
        }
    }
    return true;
}

bool Plausible(const Header& h, const unsigned char* data, size_t size)
{
    if (h.planes != 1) return false;
    // Sizes the header claims must not exceed what is there.
    if (h.fileSize > size) return false;
    if (h.density[0] < 0 || h.density[1] < 0 || h.density[0] > kMaxDensity || h.density[1] > kMaxDensity)
        return false;
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
        for (Uint32 mask : h.masks)
            if (mask == 0 || (h.bitCount == 16 && mask > 0xFFFF)) return false;
        if ((h.masks[0] & h.masks[1]) || (h.masks[1] & h.masks[2]) || (h.masks[0] & h.masks[2])) return false;
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
    if (h.imageSize > size - h.offBits) return false;
    if (h.compression == kRle8 || h.compression == kRle4)
        return RleStaysInside(data + h.offBits, size - h.offBits, h.width, rows, h.compression == kRle4);
    unsigned long long stride = (((unsigned long long)h.width * h.bitCount + 31) / 32) * 4;
    if ((unsigned long long)h.offBits + stride * (unsigned long long)rows > size) return false;  // cut short
    if (h.bitCount <= 8 && !IndicesInPalette(h, data + h.offBits, stride, rows)) return false;
    return true;
}

bool Contiguous(Uint32 mask)
{
    while (!(mask & 1)) mask >>= 1;
    return (mask & (mask + 1)) == 0;
}

void Put32(unsigned char* p, Uint32 v)
{
    for (int i = 0; i < 4; ++i) p[i] = (unsigned char)(v >> (8 * i));
}

// SDL's loader knows only the usual channel masks. A picture with other
// ones is rewritten as a plain 32-bit picture first; that is the one place
// where pixels pass through our hands.
bool NeedsPlainCopy(const Header& h)
{
    return h.compression == kBitfields &&
           SDL_MasksToPixelFormatEnum((int)h.bitCount, h.masks[0], h.masks[1], h.masks[2], 0) ==
               SDL_PIXELFORMAT_UNKNOWN;
}

bool PlainCopy(const Header& h, const unsigned char* data, std::vector<unsigned char>* out)
{
    for (Uint32 mask : h.masks)
        if (!Contiguous(mask)) return false;
    long long rows = h.height < 0 ? -h.height : h.height;
    size_t stride = (((size_t)h.width * h.bitCount + 31) / 32) * 4;
    size_t outStride = (size_t)h.width * 4;
    out->assign(14 + 40 + outStride * (size_t)rows, 0);
    unsigned char* o = out->data();
    o[0] = 'B';
    o[1] = 'M';
    Put32(o + 2, (Uint32)out->size());
    Put32(o + 10, 14 + 40);
    Put32(o + 14, 40);
    Put32(o + 18, (Uint32)h.width);
    Put32(o + 22, (Uint32)(int32_t)h.height);
    o[26] = 1;
    o[28] = 32;
    int shift[3], top[3];
    for (int c = 0; c < 3; ++c) {
        shift[c] = 0;
        while (!((h.masks[c] >> shift[c]) & 1)) ++shift[c];
        top[c] = (int)(h.masks[c] >> shift[c]);
    }
    for (long long y = 0; y < rows; ++y) {
        const unsigned char* row = data + h.offBits + stride * (size_t)y;
        unsigned char* outRow = o + 54 + outStride * (size_t)y;
        for (long long x = 0; x < h.width; ++x) {
            Uint32 v = h.bitCount == 16 ? U16(row + 2 * x) : U32(row + 4 * x);
            Uint32 channel[3];
            for (int c = 0; c < 3; ++c)
                channel[c] = (Uint32)(((unsigned long long)((v & h.masks[c]) >> shift[c]) * 255 + top[c] / 2) / top[c]);
            Put32(outRow + 4 * x, channel[0] << 16 | channel[1] << 8 | channel[2]);
        }
    }
    return true;
}

}  // namespace

SDL_Surface* DecodeBmp(const unsigned char* data, size_t size, DWORD* error)
{
    *error = ERROR_INVALID_DATA;
    Header header;
    if (!data || !ReadHeader(data, size, &header) || !Plausible(header, data, size)) return nullptr;
    std::vector<unsigned char> plain;
    if (NeedsPlainCopy(header)) {
        if (!PlainCopy(header, data, &plain)) return nullptr;
        data = plain.data();
        size = plain.size();
    }
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
