#include "Icons.h"

#include "BmpDecoder.h"
#include "GdiObjects.h"
#include "Resources.h"

#include <cstdio>
#include <cstring>
#include <map>
#include <string>
#include <strings.h>
#include <vector>

namespace plat {
namespace {

Uint32 U16(const unsigned char* p) { return (Uint32)p[0] | (Uint32)p[1] << 8; }
Uint32 U32(const unsigned char* p) { return U16(p) | U16(p + 2) << 16; }
void Put16(unsigned char* p, Uint32 v)
{
    p[0] = (unsigned char)v;
    p[1] = (unsigned char)(v >> 8);
}
void Put32(unsigned char* p, Uint32 v)
{
    Put16(p, v);
    Put16(p + 2, v >> 16);
}

// One icon image: a DIB whose header gives twice the height (colour rows,
// then the 1-bit transparency mask), without a file header.
SDL_Surface* DecodeIconImage(const unsigned char* dib, size_t size)
{
    if (size < 40 || U32(dib) != 40) return nullptr;  // PNG images and odd headers are skipped
    long width = (long)(int32_t)U32(dib + 4);
    long height = (long)(int32_t)U32(dib + 8) / 2;
    Uint32 bitCount = U16(dib + 14);
    Uint32 colors = U32(dib + 32);
    if (width <= 0 || height <= 0 || width > 1024 || height > 1024) return nullptr;
    if (bitCount <= 8 && colors == 0) colors = 1u << bitCount;
    if (bitCount > 8) colors = 0;
    size_t paletteBytes = (size_t)colors * 4;
    size_t stride = (((size_t)width * bitCount + 31) / 32) * 4;
    size_t maskStride = (((size_t)width + 31) / 32) * 4;
    size_t colorBytes = stride * (size_t)height;
    if (40 + paletteBytes + colorBytes > size) return nullptr;

    // Give it the file header of a .bmp and the height of its colour part.
    std::vector<unsigned char> file(14 + 40 + paletteBytes + colorBytes);
    file[0] = 'B';
    file[1] = 'M';
    Put32(&file[2], (Uint32)file.size());
    Put32(&file[10], (Uint32)(14 + 40 + paletteBytes));
    std::memcpy(&file[14], dib, 40);
    Put32(&file[14 + 8], (Uint32)height);
    Put32(&file[14 + 20], 0);  // image size: let the decoder work it out
    std::memcpy(&file[14 + 40], dib + 40, paletteBytes + colorBytes);
    DWORD error = 0;
    SDL_Surface* decoded = DecodeBmp(file.data(), file.size(), &error);
    if (!decoded) return nullptr;
    SDL_Surface* icon = SDL_ConvertSurfaceFormat(decoded, SDL_PIXELFORMAT_ARGB8888, 0);
    SDL_FreeSurface(decoded);
    if (!icon) return nullptr;

    // 32-bit images carry their own alpha; the others (and 32-bit ones whose
    // alpha is all zero) take transparency from the mask.
    const unsigned char* bits = dib + 40 + paletteBytes;
    bool ownAlpha = false;
    if (bitCount == 32)
        for (size_t i = 3; i < colorBytes && !ownAlpha; i += 4) ownAlpha = bits[i] != 0;
    const unsigned char* mask = bits + colorBytes;
    if (!ownAlpha && 40 + paletteBytes + colorBytes + maskStride * (size_t)height <= size) {
        SDL_LockSurface(icon);
        for (long y = 0; y < height; ++y) {
            const unsigned char* maskRow = mask + maskStride * (size_t)(height - 1 - y);  // bottom-up
            Uint32* row = reinterpret_cast<Uint32*>(static_cast<Uint8*>(icon->pixels) + y * icon->pitch);
            for (long x = 0; x < width; ++x)
                if (maskRow[x / 8] & (0x80 >> (x % 8))) row[x] &= 0x00FFFFFF;
        }
        SDL_UnlockSurface(icon);
    }
    SDL_SetSurfaceBlendMode(icon, SDL_BLENDMODE_BLEND);
    return icon;
}

std::map<std::string, HICON>& Shared()
{
    static auto* shared = new std::map<std::string, HICON>;
    return *shared;
}

}  // namespace

SDL_Surface* DecodeIcon(const unsigned char* data, size_t size)
{
    if (!data || size < 6 || U16(data) != 0 || U16(data + 2) != 1) return nullptr;
    Uint32 count = U16(data + 4);
    if (6 + (size_t)count * 16 > size) return nullptr;
    // Largest first, then deepest colour.
    long bestArea = -1;
    Uint32 bestBits = 0;
    SDL_Surface* best = nullptr;
    for (Uint32 i = 0; i < count; ++i) {
        const unsigned char* entry = data + 6 + i * 16;
        long w = entry[0] ? entry[0] : 256, h = entry[1] ? entry[1] : 256;
        Uint32 bits = U16(entry + 6);
        Uint32 bytes = U32(entry + 8), offset = U32(entry + 12);
        if (offset > size || bytes > size - offset) continue;
        if (w * h < bestArea || (w * h == bestArea && bits <= bestBits)) continue;
        SDL_Surface* image = DecodeIconImage(data + offset, bytes);
        if (!image) continue;
        SDL_FreeSurface(best);
        best = image;
        bestArea = w * h;
        bestBits = bits;
    }
    return best;
}

HICON LoadIconResource(LPCSTR name)
{
    std::string key = name;
    for (char& c : key) c = (char)toupper((unsigned char)c);
    auto& shared = Shared();
    auto it = shared.find(key);
    if (it != shared.end()) return it->second;
    const PlatformResource* resource = FindResource(name, PlatformResourceIcon);
    if (!resource) {
        SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
        return nullptr;
    }
    SDL_Surface* surface = DecodeIcon(resource->data, resource->size);
    if (!surface) {
        SetLastError(ERROR_INVALID_DATA);
        return nullptr;
    }
    HICON icon = NewIcon(surface);
    shared[key] = icon;
    return icon;
}

HICON LoadIconFile(LPCSTR path)
{
    FILE* file = IS_INTRESOURCE(path) ? nullptr : std::fopen(path, "rb");
    if (!file) {
        SetLastError(ERROR_FILE_NOT_FOUND);
        return nullptr;
    }
    std::vector<unsigned char> bytes;
    unsigned char buffer[4096];
    size_t got;
    while ((got = std::fread(buffer, 1, sizeof buffer, file)) > 0 && bytes.size() < (1u << 22))
        bytes.insert(bytes.end(), buffer, buffer + got);
    std::fclose(file);
    SDL_Surface* surface = DecodeIcon(bytes.data(), bytes.size());
    if (!surface) {
        SetLastError(ERROR_INVALID_DATA);
        return nullptr;
    }
    return NewIcon(surface);
}

}  // namespace plat
