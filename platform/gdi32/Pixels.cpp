// Copying and reading pixels through device contexts. SDL does the work:
// format conversion by its blitters, scaling by SDL_BlitScaled.
#include "Core.h"
#include "GdiObjects.h"

#include <cstring>

namespace {

// A plain copy must ignore whatever blending or keying the source surface
// carries for its own blits; its settings are put back afterwards.
class PlainSource {
public:
    explicit PlainSource(SDL_Surface* s) : surface(s)
    {
        SDL_GetSurfaceBlendMode(s, &blend);
        keyed = SDL_GetColorKey(s, &key) == 0;
        SDL_GetSurfaceAlphaMod(s, &alpha);
        SDL_GetSurfaceColorMod(s, &r, &g, &b);
        SDL_SetSurfaceBlendMode(s, SDL_BLENDMODE_NONE);
        if (keyed) SDL_SetColorKey(s, SDL_FALSE, 0);
        SDL_SetSurfaceAlphaMod(s, 255);
        SDL_SetSurfaceColorMod(s, 255, 255, 255);
    }
    ~PlainSource()
    {
        SDL_SetSurfaceBlendMode(surface, blend);
        if (keyed) SDL_SetColorKey(surface, SDL_TRUE, key);
        SDL_SetSurfaceAlphaMod(surface, alpha);
        SDL_SetSurfaceColorMod(surface, r, g, b);
    }
    PlainSource(const PlainSource&) = delete;
    PlainSource& operator=(const PlainSource&) = delete;

private:
    SDL_Surface* surface;
    SDL_BlendMode blend = SDL_BLENDMODE_NONE;
    bool keyed = false;
    Uint32 key = 0;
    Uint8 alpha = 255, r = 255, g = 255, b = 255;
};

bool CopyScaled(SDL_Surface* src, SDL_Rect srcRect, SDL_Surface* dst, SDL_Rect dstRect)
{
    PlainSource plain(src);
    // GDI writes whole pixels: the unused byte of a 32-bit one is 0, as in a
    // DIB. SDL's blitters leave it as it was, which after a surface's memory
    // came back is garbage that a colour key compare would see.
    if (dst->format->BytesPerPixel == 4 && dst->format->Amask == 0 && src != dst) SDL_FillRect(dst, &dstRect, 0);
    if (srcRect.w == dstRect.w && srcRect.h == dstRect.h && src != dst)
        return SDL_BlitSurface(src, &srcRect, dst, &dstRect) == 0;
    // Scaling works within one format; convert first (also gives a separate
    // copy when source and destination are the same surface).
    SDL_Surface* converted = SDL_ConvertSurface(src, dst->format, 0);
    if (!converted) return false;
    SDL_SetSurfaceBlendMode(converted, SDL_BLENDMODE_NONE);
    SDL_SetColorKey(converted, SDL_FALSE, 0);
    bool ok = SDL_BlitScaled(converted, &srcRect, dst, &dstRect) == 0;
    SDL_FreeSurface(converted);
    return ok;
}

Uint32 ReadPixel(SDL_Surface* s, int x, int y)
{
    const Uint8* p = static_cast<const Uint8*>(s->pixels) + y * s->pitch + x * s->format->BytesPerPixel;
    switch (s->format->BytesPerPixel) {
    case 1: return *p;
    case 2: {
        Uint16 v;
        std::memcpy(&v, p, 2);
        return v;
    }
    case 3: return (Uint32)p[0] | (Uint32)p[1] << 8 | (Uint32)p[2] << 16;  // little-endian layout
    default: {
        Uint32 v;
        std::memcpy(&v, p, 4);
        return v;
    }
    }
}

void WritePixel(SDL_Surface* s, int x, int y, Uint32 v)
{
    Uint8* p = static_cast<Uint8*>(s->pixels) + y * s->pitch + x * s->format->BytesPerPixel;
    switch (s->format->BytesPerPixel) {
    case 1: *p = (Uint8)v; break;
    case 2: {
        Uint16 w = (Uint16)v;
        std::memcpy(p, &w, 2);
        break;
    }
    case 3:
        p[0] = (Uint8)v;
        p[1] = (Uint8)(v >> 8);
        p[2] = (Uint8)(v >> 16);
        break;
    default: std::memcpy(p, &v, 4); break;
    }
}

COLORREF ToColorref(SDL_Surface* s, Uint32 pixel)
{
    Uint8 r = 0, g = 0, b = 0;
    SDL_GetRGB(pixel, s->format, &r, &g, &b);
    return RGB(r, g, b);
}

}  // namespace

BOOL WINAPI StretchBlt(HDC dest, int x, int y, int width, int height, HDC source, int srcX, int srcY, int srcWidth,
                       int srcHeight, DWORD rop)
{
    DWORD code = 0;
    if (plat::FailWin32("StretchBlt", &code)) return FALSE;
    SDL_Surface* dst = plat::DcSurface(dest);
    SDL_Surface* src = plat::DcSurface(source);
    if (!dst || !src) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    // Only plain copies, without mirroring, are supported.
    if (rop != SRCCOPY || width < 0 || height < 0 || srcWidth < 0 || srcHeight < 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    if (width == 0 || height == 0 || srcWidth == 0 || srcHeight == 0) return TRUE;
    SDL_Rect srcRect = {srcX, srcY, srcWidth, srcHeight};
    SDL_Rect dstRect = {x, y, width, height};
    if (!CopyScaled(src, srcRect, dst, dstRect)) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return FALSE;
    }
    plat::DcDrawn(dest);
    return TRUE;
}

COLORREF WINAPI GetPixel(HDC dc, int x, int y)
{
    DWORD code = 0;
    if (plat::FailWin32("GetPixel", &code)) return CLR_INVALID;
    SDL_Surface* s = plat::DcSurface(dc);
    if (!s || x < 0 || y < 0 || x >= s->w || y >= s->h) return CLR_INVALID;
    if (SDL_LockSurface(s) != 0) return CLR_INVALID;
    COLORREF color = ToColorref(s, ReadPixel(s, x, y));
    SDL_UnlockSurface(s);
    return color;
}

COLORREF WINAPI SetPixel(HDC dc, int x, int y, COLORREF color)
{
    DWORD code = 0;
    if (plat::FailWin32("SetPixel", &code)) return CLR_INVALID;
    SDL_Surface* s = plat::DcSurface(dc);
    if (!s || x < 0 || y < 0 || x >= s->w || y >= s->h) return CLR_INVALID;
    if (SDL_LockSurface(s) != 0) return CLR_INVALID;
    Uint32 pixel = SDL_MapRGB(s->format, GetRValue(color), GetGValue(color), GetBValue(color));
    WritePixel(s, x, y, pixel);
    COLORREF set = ToColorref(s, pixel);
    SDL_UnlockSurface(s);
    plat::DcDrawn(dc);
    return set;
}
