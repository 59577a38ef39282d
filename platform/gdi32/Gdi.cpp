// Device contexts, stock brushes and object lifetimes.
#include "Core.h"
#include "GdiObjects.h"

#include <algorithm>
#include <cstring>

using plat::DcKind;
using plat::GdiKind;
using plat::GdiObject;

namespace {

HGDIOBJ StockBrush(int index)
{
    static HGDIOBJ brushes[NULL_BRUSH + 1] = {};
    static const BYTE grey[NULL_BRUSH + 1] = {255, 192, 128, 64, 0, 0};
    if (!brushes[index]) {
        GdiObject brush;
        brush.kind = GdiKind::Brush;
        brush.stock = true;
        brush.color = RGB(grey[index], grey[index], grey[index]);
        brush.hollow = index == NULL_BRUSH;
        brushes[index] = plat::AddGdi(brush);
    }
    return brushes[index];
}

}  // namespace

HGDIOBJ WINAPI GetStockObject(int object)
{
    DWORD code = 0;
    if (plat::FailWin32("GetStockObject", &code)) return nullptr;
    if (object < WHITE_BRUSH || object > NULL_BRUSH) return nullptr;
    return StockBrush(object);
}

HDC WINAPI CreateCompatibleDC(HDC dc)
{
    DWORD code = 0;
    if (plat::FailWin32("CreateCompatibleDC", &code)) return nullptr;
    if (dc && !plat::LookupGdi(dc, GdiKind::Dc)) {
        SetLastError(ERROR_INVALID_HANDLE);
        return nullptr;
    }
    GdiObject object;
    object.kind = GdiKind::Dc;
    object.dcKind = DcKind::Memory;
    object.bitmap = plat::DefaultBitmap();
    return static_cast<HDC>(plat::AddGdi(object));
}

BOOL WINAPI DeleteDC(HDC dc)
{
    DWORD code = 0;
    if (plat::FailWin32("DeleteDC", &code)) return FALSE;
    GdiObject* object = plat::LookupGdi(dc, GdiKind::Dc);
    if (!object || object->dcKind == DcKind::Surface) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    if (GdiObject* bitmap = plat::LookupGdi(object->bitmap, GdiKind::Bitmap))
        if (bitmap->selectedInto == dc) bitmap->selectedInto = nullptr;
    plat::RemoveGdi(dc);
    return TRUE;
}

HGDIOBJ WINAPI SelectObject(HDC dc, HGDIOBJ handle)
{
    DWORD code = 0;
    if (plat::FailWin32("SelectObject", &code)) return nullptr;
    GdiObject* object = plat::LookupGdi(dc, GdiKind::Dc);
    if (!object) {
        SetLastError(ERROR_INVALID_HANDLE);
        return nullptr;
    }
    if (plat::LookupGdi(handle, GdiKind::Brush)) return StockBrush(WHITE_BRUSH);  // brushes are not kept
    GdiObject* bitmap = plat::LookupGdi(handle, GdiKind::Bitmap);
    // Only a memory DC takes a bitmap, and a bitmap sits in one DC at a time.
    if (!bitmap || object->dcKind != DcKind::Memory ||
        (bitmap->selectedInto && bitmap->selectedInto != dc && !bitmap->stock)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    HBITMAP previous = object->bitmap;
    if (GdiObject* old = plat::LookupGdi(previous, GdiKind::Bitmap)) old->selectedInto = nullptr;
    object->bitmap = static_cast<HBITMAP>(handle);
    if (!bitmap->stock) bitmap->selectedInto = dc;
    return previous;
}

int WINAPI GetObjectA(HANDLE handle, int size, LPVOID buffer)
{
    DWORD code = 0;
    if (plat::FailWin32("GetObjectA", &code)) return 0;
    GdiObject* bitmap = plat::LookupGdi(handle, GdiKind::Bitmap);
    if (!bitmap) {
        SetLastError(ERROR_INVALID_HANDLE);
        return 0;
    }
    if (!buffer) return (int)sizeof(BITMAP);
    if (size < (int)sizeof(BITMAP)) {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return 0;
    }
    BITMAP bm;
    std::memset(&bm, 0, sizeof bm);
    SDL_Surface* s = bitmap->surface;
    bm.bmType = 0;
    bm.bmWidth = s ? s->w : 1;
    bm.bmHeight = s ? s->h : 1;
    bm.bmPlanes = 1;
    bm.bmBitsPixel = s ? s->format->BitsPerPixel : 1;
    bm.bmWidthBytes = s ? s->pitch : 2;
    bm.bmBits = s && !bitmap->stock ? s->pixels : nullptr;
    std::memcpy(buffer, &bm, sizeof bm);
    return (int)sizeof(BITMAP);
}

BOOL WINAPI DeleteObject(HGDIOBJ handle)
{
    DWORD code = 0;
    if (plat::FailWin32("DeleteObject", &code)) return FALSE;
    GdiObject* object = nullptr;
    for (GdiKind kind : {GdiKind::Bitmap, GdiKind::Brush})
        if (!object) object = plat::LookupGdi(handle, kind);
    if (!object) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    if (object->stock) return TRUE;  // stock objects ignore deletion
    if (object->selectedInto) return FALSE;  // still in a DC
    plat::RemoveGdi(handle);
    return TRUE;
}

int WINAPI FillRect(HDC dc, const RECT* rect, HBRUSH brush)
{
    DWORD code = 0;
    if (plat::FailWin32("FillRect", &code)) return 0;
    GdiObject* object = plat::LookupGdi(brush, GdiKind::Brush);
    SDL_Surface* surface = plat::DcSurface(dc);
    if (!object || !surface || !rect) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    if (object->hollow) return 1;
    int left = std::max(0, (int)rect->left), top = std::max(0, (int)rect->top);
    int right = std::min(surface->w, (int)rect->right), bottom = std::min(surface->h, (int)rect->bottom);
    if (right <= left || bottom <= top) return 1;
    SDL_Rect area = {left, top, right - left, bottom - top};
    Uint32 pixel = SDL_MapRGB(surface->format, GetRValue(object->color), GetGValue(object->color),
                              GetBValue(object->color));
    SDL_FillRect(surface, &area, pixel);
    plat::DcDrawn(dc);
    return 1;
}
