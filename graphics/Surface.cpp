#include "graphics/Surface.h"

#include <string.h>

#include "graphics/Display.h"
#include "system/ErrorReport.h"

namespace {

// How often a blit that keeps finding its surfaces lost, or a lock that
// keeps finding the blitter busy, is tried again before giving up. A
// surface lost over and over must cost a frame, not hang the game.
const int kMaxRetries = 4;

void Describe(DDSURFACEDESC* desc, DWORD flags)
{
    memset(desc, 0, sizeof(*desc));
    desc->dwSize = sizeof(*desc);
    desc->dwFlags = flags;
}

void DescribeOffscreen(DDSURFACEDESC* desc, LONG width, LONG height)
{
    Describe(desc, DDSD_CAPS | DDSD_HEIGHT | DDSD_WIDTH);
    desc->dwWidth = static_cast<DWORD>(width);
    desc->dwHeight = static_cast<DWORD>(height);
    // No placement caps: DirectDraw puts it in video memory when it can.
    desc->ddsCaps.dwCaps = DDSCAPS_OFFSCREENPLAIN;
}

}  // namespace

Surface::Surface()
    : display(NULL), surface(NULL), colorKeyed(0), keyColor(0), width(0), height(0), reloadPending(0)
{
    picture[0] = '\0';
}

Surface::~Surface() { Release(); }

bool Surface::IsCreated() const { return display != NULL && surface != NULL; }

int Surface::Create(LONG width, LONG height)
{
    if (display == NULL) {
        SetDxError(E_FAIL);
        return 0;
    }
    Release();
    DDSURFACEDESC desc;
    DescribeOffscreen(&desc, width, height);
    surface = NULL;
    this->width = width;
    this->height = height;
    return display->CreateSurface(&desc, &surface, this);
}

void Surface::Release()
{
    if (!IsCreated()) return;
    surface->Release();
    surface = NULL;
    colorKeyed = 0;
    picture[0] = '\0';
    reloadPending = 0;
}

int Surface::Restore()
{
    if (!IsCreated()) {
        SetDxError(E_FAIL);
        return 0;
    }
    HRESULT result = surface->Restore();
    if (result != DD_OK) {
        SetDxError(result);
        return 0;
    }
    if (HoldsPicture()) reloadPending = 1;
    return 1;
}

int Surface::Recreate()
{
    if (!IsCreated() || display->ddraw == NULL) {
        SetDxError(E_FAIL);
        return 0;
    }
    DDSURFACEDESC desc;
    DescribeOffscreen(&desc, width, height);
    LPDIRECTDRAWSURFACE made = NULL;
    HRESULT result = display->ddraw->CreateSurface(&desc, &made, NULL);
    if (result != DD_OK) {
        // The old surface stays: a later restore meets it and tries again.
        SetDxError(result);
        return 0;
    }
    surface->Release();
    surface = made;
    if (HoldsPicture()) reloadPending = 1;
    return 1;
}

int Surface::Reload()
{
    if (!LoadBitmap(picture)) return 0;
    // The key's raw value belongs to the pixel format, which may be new.
    if (colorKeyed == 1 && !SetColorKey(keyColor)) return 0;
    reloadPending = 0;
    return 1;
}

int Surface::LoadBitmap(LPCSTR name)
{
    HBITMAP bitmap = static_cast<HBITMAP>(
        LoadImageA(GetModuleHandleA(NULL), name, IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    if (bitmap == NULL) {
        // Not built in: perhaps a bitmap file lies next to the game.
        bitmap = static_cast<HBITMAP>(
            LoadImageA(NULL, name, IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE | LR_CREATEDIBSECTION));
    }
    if (bitmap == NULL) {
        SetDxError(E_FAIL);
        return 0;
    }
    int result = CopyBitmap(bitmap, 0, 0, 0, 0);
    if (result == 0) SetDxError(E_FAIL);
    DeleteObject(bitmap);
    if (result == 1 && name != picture) {
        // Kept for loading it again; a name too long to keep is not.
        size_t length = strlen(name);
        if (length < sizeof(picture))
            memcpy(picture, name, length + 1);
        else
            picture[0] = '\0';
    }
    return result;
}

int Surface::CopyBitmap(HBITMAP bitmap, LONG x, LONG y, LONG width, LONG height)
{
    if (bitmap == NULL || surface == NULL) {
        SetDxError(E_FAIL);
        return 0;
    }
    // A lost surface cannot take a picture; get its memory back first.
    surface->Restore();

    HDC image = CreateCompatibleDC(NULL);
    if (image == NULL) {
        SetDxError(E_FAIL);
        return 0;
    }
    HGDIOBJ previous = SelectObject(image, bitmap);
    BITMAP bm;
    memset(&bm, 0, sizeof(bm));
    GetObjectA(bitmap, sizeof(bm), &bm);
    if (width == 0) width = bm.bmWidth;
    if (height == 0) height = bm.bmHeight;

    DDSURFACEDESC desc;
    Describe(&desc, DDSD_HEIGHT | DDSD_WIDTH);
    surface->GetSurfaceDesc(&desc);

    int result = 0;
    HDC dc = NULL;
    if (surface->GetDC(&dc) == DD_OK) {
        // GDI converts the picture to the surface's own pixel format.
        StretchBlt(dc, 0, 0, static_cast<int>(desc.dwWidth), static_cast<int>(desc.dwHeight), image, x, y, width,
                   height, SRCCOPY);
        surface->ReleaseDC(dc);
        result = 1;
    } else {
        SetDxError(E_FAIL);
    }
    if (previous != NULL && previous != HGDI_ERROR) SelectObject(image, previous);
    DeleteDC(image);
    return result;
}

DWORD Surface::ColorMatch(COLORREF color)
{
    DWORD result = CLR_INVALID;
    if (!IsCreated()) return 0;

    // Borrow the top-left pixel: let GDI write the colour there, read the
    // raw value back, then put the pixel back as it was.
    COLORREF saved = CLR_INVALID;
    bool borrowed = false;
    HDC dc = NULL;
    if (color != CLR_INVALID && surface->GetDC(&dc) == DD_OK) {
        saved = GetPixel(dc, 0, 0);
        SetPixel(dc, 0, 0, color);
        surface->ReleaseDC(dc);
        borrowed = true;
    }

    DDSURFACEDESC desc;
    Describe(&desc, 0);
    HRESULT locked = surface->Lock(NULL, &desc, 0, NULL);
    for (int retry = 0; locked == DDERR_WASSTILLDRAWING && retry < kMaxRetries; ++retry)
        locked = surface->Lock(NULL, &desc, 0, NULL);
    if (locked == DD_OK) {
        // Only the pixel's own bytes are read, so a narrow surface is never
        // read past its end; the value is that of the low bits.
        DWORD bits = desc.ddpfPixelFormat.dwRGBBitCount;
        size_t bytes = bits >= 32 ? 4 : (bits + 7) / 8;
        DWORD value = 0;
        if (desc.lpSurface != NULL) memcpy(&value, desc.lpSurface, bytes);
        if (bits < 32) value &= (static_cast<DWORD>(1) << bits) - 1;
        result = value;
        surface->Unlock(NULL);
    }

    if (borrowed && surface->GetDC(&dc) == DD_OK) {
        SetPixel(dc, 0, 0, saved);
        surface->ReleaseDC(dc);
    }
    return result;
}

int Surface::SetColorKey(COLORREF color)
{
    if (!IsCreated()) {
        SetDxError(E_FAIL);
        return 0;
    }
    DDCOLORKEY key;
    key.dwColorSpaceLowValue = ColorMatch(color);
    key.dwColorSpaceHighValue = key.dwColorSpaceLowValue;
    HRESULT result = surface->SetColorKey(DDCKEY_SRCBLT, &key);
    if (result != DD_OK) {
        SetDxError(result);
        return 0;
    }
    colorKeyed = 1;
    keyColor = color;
    return 1;
}

int Surface::BlitRect(Surface& dest, LONG x, LONG y, LONG srcX, LONG srcY, LONG width, LONG height)
{
    if (!IsCreated() || dest.surface == NULL) {
        SetDxError(E_FAIL);
        return 0;
    }
    // Garbage is not drawn: a picture that could not be loaded again after
    // a loss is tried again here, and skipped while it still fails.
    if (reloadPending == 1 && !Reload()) return 0;
    DDSURFACEDESC desc;
    Describe(&desc, 0);
    HRESULT result = surface->GetSurfaceDesc(&desc);
    if (result != DD_OK) {
        SetDxError(result);
        return 0;
    }

    RECT destRect;
    destRect.left = x;
    destRect.top = y;
    if (width > 0) {
        destRect.right = x + width;
        destRect.bottom = y + height;
    } else {
        destRect.right = x + static_cast<LONG>(desc.dwWidth);
        destRect.bottom = y + static_cast<LONG>(desc.dwHeight);
    }
    RECT sourceRect;
    sourceRect.left = srcX;
    sourceRect.top = srcY;
    sourceRect.right = srcX + width;
    sourceRect.bottom = srcY + height;
    LPRECT source = srcX >= 0 ? &sourceRect : NULL;
    DWORD flags = DDBLT_WAIT | (colorKeyed == 1 ? DDBLT_KEYSRC : 0);

    for (int retry = 0;; ++retry) {
        result = dest.surface->Blt(&destRect, surface, source, flags, NULL);
        if (result == DD_OK) return 1;
        if (result != DDERR_SURFACELOST) {
            SetDxError(result);
            return 0;
        }
        if (retry == kMaxRetries) {
            SetDxError(DDERR_SURFACELOST);
            return 0;
        }
        // The restore has recorded why it failed.
        if (!display->RestoreSurfaces()) return 0;
        // The memory came back with garbage in it. A picture is loaded
        // again; anything else drawn here (a composed frame) is gone, and
        // only whoever drew it can draw it again.
        if (!HoldsPicture()) {
            SetDxError(DDERR_SURFACELOST);
            return 0;
        }
        if (reloadPending == 1 && !Reload()) return 0;
    }
}

int Surface::Blit(Surface& dest, LONG x, LONG y) { return BlitRect(dest, x, y, -1, -1, -1, -1); }
