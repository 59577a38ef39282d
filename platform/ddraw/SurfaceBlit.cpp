// IDirectDrawSurface::Blt: SDL's blitter does the copying, stretching,
// clipping, colour keying and any format conversion.
#include "Core.h"
#include "DrawSurface.h"
#include "WindowAccess.h"
#include "PixelFormats.h"

#include <cstring>
#include <iterator>

namespace plat {
namespace {

template <class Pixel>
void CopyUnlessKey(const Pixel* in, Pixel* out, int count, Pixel key)
{
    for (int i = 0; i < count; ++i)
        if (in[i] != key) out[i] = in[i];
}

}  // namespace

bool ValidRect(const RECT& rect, int width, int height)
{
    return rect.left >= 0 && rect.top >= 0 && rect.left < rect.right && rect.top < rect.bottom &&
           rect.right <= width && rect.bottom <= height;
}

SDL_Rect ToSdl(const RECT& rect) { return SDL_Rect{rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top}; }

// SDL rebuilds its blitter whenever a surface's key is switched on or off,
// so the key stays as the last blit left it and changes only when needed.
// Keyed pictures stay plain rather than run-length encoded: the game cuts
// glyphs and tiles out of wide strips, and SDL's encoded blit walks every
// row's runs from the strip's left edge to reach a piece (measured: frames
// 10 % slower with encoding).
void UseKey(SDL_Surface* surface, bool keyed, DWORD key)
{
    int bits = surface->format->BytesPerPixel * 8;
    Uint32 value = bits >= 32 ? key : key & ((1u << bits) - 1);
    Uint32 current = 0;
    bool has = SDL_HasColorKey(surface) == SDL_TRUE;
    if (has == keyed && (!keyed || (SDL_GetColorKey(surface, &current) == 0 && current == value))) return;
    SDL_SetColorKey(surface, keyed ? SDL_TRUE : SDL_FALSE, value);
}

// A copy between surfaces of one format, clipped as SDL_BlitSurface clips:
// to the source's bounds and to dest's clip rectangle. SDL's own plain copy
// streams the rows past the cache with non-temporal stores, which makes a
// whole-frame copy several times slower than memcpy, and the frame it
// writes is read again at once (the back buffer by the present, the window
// surface by the display). Its keyed copy pays for a general blitter on
// every call, and the game's calls are hundreds of 16 x 16 tiles a frame.
bool CopyRows(SDL_Surface* source, SDL_Rect from, SDL_Surface* dest, SDL_Rect to, const Uint32* key)
{
    int sx = from.x, sy = from.y, w = from.w, h = from.h, dx = to.x, dy = to.y;
    if (sx < 0) { dx -= sx; w += sx; sx = 0; }
    if (sy < 0) { dy -= sy; h += sy; sy = 0; }
    if (sx + w > source->w) w = source->w - sx;
    if (sy + h > source->h) h = source->h - sy;
    const SDL_Rect& clip = dest->clip_rect;
    if (dx < clip.x) { sx += clip.x - dx; w -= clip.x - dx; dx = clip.x; }
    if (dy < clip.y) { sy += clip.y - dy; h -= clip.y - dy; dy = clip.y; }
    if (dx + w > clip.x + clip.w) w = clip.x + clip.w - dx;
    if (dy + h > clip.y + clip.h) h = clip.y + clip.h - dy;
    if (w <= 0 || h <= 0) return true;
    if (SDL_LockSurface(source) != 0) return false;
    if (SDL_LockSurface(dest) != 0) {
        SDL_UnlockSurface(source);
        return false;
    }
    int bytes = source->format->BytesPerPixel;
    const Uint8* in = static_cast<const Uint8*>(source->pixels) + (size_t)sy * source->pitch + (size_t)sx * bytes;
    Uint8* out = static_cast<Uint8*>(dest->pixels) + (size_t)dy * dest->pitch + (size_t)dx * bytes;
    if (key) {
        for (int row = 0; row < h; ++row, in += source->pitch, out += dest->pitch) {
            if (bytes == 4)
                CopyUnlessKey(reinterpret_cast<const Uint32*>(in), reinterpret_cast<Uint32*>(out), w, *key);
            else
                CopyUnlessKey(reinterpret_cast<const Uint16*>(in), reinterpret_cast<Uint16*>(out), w, (Uint16)*key);
        }
    } else if (source->pitch == dest->pitch && (size_t)w * bytes == (size_t)source->pitch) {
        // Whole rows of equal pitch: one block (a frame onto a frame).
        std::memcpy(out, in, (size_t)h * source->pitch);
    } else {
        for (int row = 0; row < h; ++row, in += source->pitch, out += dest->pitch) std::memcpy(out, in, (size_t)w * bytes);
    }
    SDL_UnlockSurface(dest);
    SDL_UnlockSurface(source);
    return true;
}

// What lies outside dest's clip rectangle is cut off, the source shrinking
// in proportion.
bool SdlBlit(SDL_Surface* source, SDL_Rect from, SDL_Surface* dest, SDL_Rect to, bool keyed, DWORD key)
{
    SDL_Surface* copy = nullptr;
    if (source == dest) {
        // Overlapping parts of one surface: go through a copy, as DirectDraw
        // gives the result of reading everything before writing anything.
        copy = SDL_CreateRGBSurfaceWithFormat(0, from.w, from.h, 0, source->format->format);
        if (!copy) return false;
        UseKey(source, false, 0);
        if (SDL_BlitSurface(source, &from, copy, nullptr) != 0) {
            SDL_FreeSurface(copy);
            return false;
        }
        source = copy;
        from = SDL_Rect{0, 0, copy->w, copy->h};
    }
    if (!copy && from.w == to.w && from.h == to.h && source->format->format == dest->format->format) {
        SDL_BlendMode mode = SDL_BLENDMODE_NONE;
        SDL_GetSurfaceBlendMode(source, &mode);
        int bytes = source->format->BytesPerPixel;
        // A key is a whole pixel value where the format has no alpha, as
        // SDL compares it.
        bool plainKey = source->format->Amask == 0 && (bytes == 4 || bytes == 2);
        if (mode == SDL_BLENDMODE_NONE && (!keyed || plainKey)) {
            Uint32 value = bytes == 4 ? key : key & 0xFFFF;
            return CopyRows(source, from, dest, to, keyed ? &value : nullptr);
        }
    }
    UseKey(source, keyed, key);
    int result = (from.w == to.w && from.h == to.h) ? SDL_BlitSurface(source, &from, dest, &to)
                                                    : SDL_BlitScaled(source, &from, dest, &to);
    if (copy) SDL_FreeSurface(copy);
    return result == 0;
}

HRESULT DrawSurface::Blt(LPRECT destRect, LPDIRECTDRAWSURFACE sourceSurface, LPRECT sourceRect, DWORD flags,
                         LPDDBLTFX)
{
    DWORD code;
    if (Injected("IDirectDrawSurface::Blt", &code)) return static_cast<HRESULT>(code);
    CountBlit();
    // Colour fills, raster operations and effects all need a DDBLTFX; the
    // game only ever copies.
    const DWORD supported = DDBLT_WAIT | DDBLT_KEYSRC | DDBLT_ASYNC | DDBLT_DONOTWAIT;
    if ((flags & ~supported) || !sourceSurface) return DDERR_INVALIDPARAMS;
    // DrawSurface is the only IDirectDrawSurface there is in this process.
    DrawSurface& source = *static_cast<DrawSurface*>(sourceSurface);
    if (Lost() || source.Lost()) return DDERR_SURFACELOST;
    if (source.IsPrimary()) return DDERR_UNSUPPORTED;
    if (Busy() || source.Busy()) return DDERR_SURFACEBUSY;
    bool useKey = (flags & DDBLT_KEYSRC) != 0;
    if (useKey && !source.keyed) return DDERR_COLORKEYNOTSET;

    RECT from = {0, 0, source.pixels->w, source.pixels->h};
    if (sourceRect) from = *sourceRect;
    if (!ValidRect(from, source.pixels->w, source.pixels->h)) return DDERR_INVALIDRECT;
    // What the source holds is read from here on.
    source.Settle();
    if (IsPrimary()) return BlitToScreen(destRect, source, from, useKey);

    RECT to = {0, 0, pixels->w, pixels->h};
    if (destRect) to = *destRect;
    if (!ValidRect(to, pixels->w, pixels->h)) return DDERR_INVALIDRECT;
    // A keyed rectangle of nothing but the key changes nothing (the well's
    // empty cells, some two hundred blits a frame).
    if (useKey && source.AllKeyColour(from, source.key.dwColorSpaceLowValue)) return DD_OK;
    return BlitOffscreen(to, source, from, useKey);
}

bool DrawSurface::AllKeyColour(const RECT& rect, DWORD key)
{
    int bytes = pixels->format->BytesPerPixel;
    Uint32 value = bytes >= 4 ? key : key & ((1u << (bytes * 8)) - 1);
    auto answers = [&](const KeyColourAnswer& a) {
        return a.changes == changes && a.key == value && a.rect.left == rect.left && a.rect.top == rect.top &&
               a.rect.right == rect.right && a.rect.bottom == rect.bottom;
    };
    if (answers(keyColourAnswers[lastKeyColourAnswer])) return keyColourAnswers[lastKeyColourAnswer].allKey;
    for (int i = 0; i < (int)std::size(keyColourAnswers); ++i)
        if (answers(keyColourAnswers[i])) {
            lastKeyColourAnswer = i;
            return keyColourAnswers[i].allKey;
        }
    if (SDL_LockSurface(pixels) != 0) return false;
    bool allKey = true;
    for (LONG y = rect.top; y < rect.bottom && allKey; ++y) {
        const Uint8* p = static_cast<const Uint8*>(pixels->pixels) + (size_t)y * pixels->pitch + (size_t)rect.left * bytes;
        for (LONG x = rect.left; x < rect.right && allKey; ++x, p += bytes) {
            Uint32 pixel = 0;
            std::memcpy(&pixel, p, bytes);  // as SDL reads a key: the low bytes first
            allKey = pixel == value;
        }
    }
    SDL_UnlockSurface(pixels);
    keyColourAnswers[nextKeyColourAnswer] = KeyColourAnswer{rect, value, changes, allKey};
    lastKeyColourAnswer = nextKeyColourAnswer;
    nextKeyColourAnswer = (nextKeyColourAnswer + 1) % (int)std::size(keyColourAnswers);
    return allKey;
}

HRESULT DrawSurface::BlitOffscreen(const RECT& dest, DrawSurface& source, const RECT& from, bool useKey)
{
    SDL_Rect to = ToSdl(dest), read = ToSdl(from);
    if (WholeCopy(source, dest, from, useKey)) {
        SettleReaders();
        frame.Begin(FrameRecord::Picture{source.pixels, source.serial, source.changes});
        return DD_OK;
    }
    // A surface drawn on over and over and never read keeps a bounded list:
    // past it, what was kept is drawn and the blits go straight on.
    const size_t mostKept = 4096;
    if (frame.Kept() >= mostKept) Settle();
    if (frame.Recording() && &source != this && read.w == to.w && read.h == to.h) {
        Uint32 value = useKey ? source.key.dwColorSpaceLowValue : 0;
        frame.Add(FrameRecord::Blit{FrameRecord::Picture{source.pixels, source.serial, source.changes}, read, to,
                                    useKey, value});
        return DD_OK;
    }
    Touched(&to);
    SDL_SetClipRect(pixels, nullptr);
    bool ok = SdlBlit(source.pixels, read, pixels, to, useKey, source.key.dwColorSpaceLowValue);
    return ok ? DD_OK : DDERR_GENERIC;
}

bool DrawSurface::WholeCopy(const DrawSurface& source, const RECT& dest, const RECT& from, bool useKey) const
{
    const SDL_Surface* in = source.pixels;
    return !useKey && &source != this && in->w == pixels->w && in->h == pixels->h &&
           in->format->format == pixels->format->format && !SDL_MUSTLOCK(in) && !SDL_MUSTLOCK(pixels) &&
           from.left == 0 && from.top == 0 && from.right == in->w && from.bottom == in->h && dest.left == 0 &&
           dest.top == 0 && dest.right == pixels->w && dest.bottom == pixels->h;
}

// The screen is what our windows show. A blit lands in the client area of
// the clipper's window, cut to that client area; whatever falls anywhere
// else on the screen belongs to no window of ours and is dropped.
HRESULT DrawSurface::BlitToScreen(const RECT* destRect, DrawSurface& source, const RECT& from, bool useKey)
{
    int screenWidth = 0, screenHeight = 0;
    DesktopSize(&screenWidth, &screenHeight);
    RECT to = {0, 0, screenWidth, screenHeight};
    if (destRect) to = *destRect;
    HWND hwnd = clipper ? clipper->Window() : nullptr;
    if (!hwnd) {
        // Unclipped blits must stay on the screen.
        return ValidRect(to, screenWidth, screenHeight) ? DD_OK : DDERR_INVALIDRECT;
    }
    if (to.left >= to.right || to.top >= to.bottom) return DDERR_INVALIDRECT;

    RECT client;
    SDL_Surface* screen = nullptr;
    if (!ClientRectOnScreen(hwnd, &client) || !(screen = ClientSurface(hwnd))) return DD_OK;  // window gone
    SDL_Rect clip = {0, 0, SDL_min(screen->w, static_cast<int>(client.right - client.left)),
                     SDL_min(screen->h, static_cast<int>(client.bottom - client.top))};
    SDL_Rect target = {to.left - client.left, to.top - client.top, to.right - to.left, to.bottom - to.top};
    SDL_Rect drawn;
    if (!SDL_IntersectRect(&target, &clip, &drawn)) return DD_OK;

    // A plain copy (the game's whole frame): only what differs is shown anew.
    SDL_Rect read = ToSdl(from);
    if (!useKey && read.w == target.w && read.h == target.h) {
        SDL_Rect part = {read.x + drawn.x - target.x, read.y + drawn.y - target.y, drawn.w, drawn.h};
        // Only what was drawn since the window last took this surface can
        // differ from what it shows.
        if (CopyToClient(hwnd, source.pixels, source.sinceShown, &source.taken, part, drawn.x, drawn.y)) {
            source.sinceShown.Clear();
            return DD_OK;
        }
    }
    SDL_SetClipRect(screen, &clip);
    bool ok = SdlBlit(source.pixels, ToSdl(from), screen, target, useKey, source.key.dwColorSpaceLowValue);
    SDL_SetClipRect(screen, nullptr);
    if (!ok) return DDERR_GENERIC;
    ShowClientRects(hwnd, &drawn, 1);
    return DD_OK;
}

}  // namespace plat
