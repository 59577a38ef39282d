#include "GdiObjects.h"

#include "SurfaceDC.h"

#include <map>

namespace plat {
namespace {

struct GdiTable {
    std::map<HANDLE, GdiObject*> objects;
    uintptr_t next = 0x20010;
    HBITMAP defaultBitmap = nullptr;
    HICON stockIcon = nullptr;
    HCURSOR stockArrow = nullptr;
};

GdiTable& Table()
{
    static auto* table = new GdiTable;
    return *table;
}

}  // namespace

GdiObject* LookupGdi(HANDLE handle, GdiKind kind)
{
    auto& objects = Table().objects;
    auto it = objects.find(handle);
    if (it == objects.end() || it->second->kind != kind) return nullptr;
    return it->second;
}

HANDLE AddGdi(const GdiObject& object)
{
    GdiTable& table = Table();
    HANDLE handle = reinterpret_cast<HANDLE>(table.next);
    table.next += 4;
    table.objects[handle] = new GdiObject(object);
    return handle;
}

void RemoveGdi(HANDLE handle)
{
    auto& objects = Table().objects;
    auto it = objects.find(handle);
    if (it == objects.end()) return;
    GdiObject* object = it->second;
    if (!object->stock && object->surface) SDL_FreeSurface(object->surface);
    delete object;
    objects.erase(it);
}

HBITMAP NewBitmap(SDL_Surface* surface)
{
    GdiObject object;
    object.kind = GdiKind::Bitmap;
    object.surface = surface;
    return static_cast<HBITMAP>(AddGdi(object));
}

HBITMAP DefaultBitmap()
{
    GdiTable& table = Table();
    if (!table.defaultBitmap) {
        GdiObject object;
        object.kind = GdiKind::Bitmap;
        object.stock = true;
        object.surface = SDL_CreateRGBSurfaceWithFormat(0, 1, 1, 8, SDL_PIXELFORMAT_INDEX8);
        if (object.surface) {
            SDL_Color colors[2] = {{0, 0, 0, 255}, {255, 255, 255, 255}};
            SDL_SetPaletteColors(object.surface->format->palette, colors, 0, 2);
        }
        table.defaultBitmap = static_cast<HBITMAP>(AddGdi(object));
    }
    return table.defaultBitmap;
}

HICON NewIcon(SDL_Surface* surface)
{
    GdiObject object;
    object.kind = GdiKind::Icon;
    object.surface = surface;
    return static_cast<HICON>(AddGdi(object));
}

HICON StockIcon()
{
    GdiTable& table = Table();
    if (!table.stockIcon) {
        GdiObject object;
        object.kind = GdiKind::Icon;
        object.stock = true;
        table.stockIcon = static_cast<HICON>(AddGdi(object));
    }
    return table.stockIcon;
}

HCURSOR StockArrow()
{
    GdiTable& table = Table();
    if (!table.stockArrow) {
        GdiObject object;
        object.kind = GdiKind::Cursor;
        object.stock = true;
        table.stockArrow = static_cast<HCURSOR>(AddGdi(object));
    }
    return table.stockArrow;
}

HDC NewWindowDC(HWND hwnd, const WindowPixels* pixels)
{
    GdiObject object;
    object.kind = GdiKind::Dc;
    object.dcKind = DcKind::Window;
    object.hwnd = hwnd;
    object.pixels = pixels;
    return static_cast<HDC>(AddGdi(object));
}

SDL_Surface* DcSurface(HDC dc)
{
    GdiObject* object = LookupGdi(dc, GdiKind::Dc);
    if (!object) return nullptr;
    switch (object->dcKind) {
    case DcKind::Window: return object->pixels->surface(object->hwnd);
    case DcKind::Surface: return object->surface;
    case DcKind::Memory: {
        GdiObject* bitmap = LookupGdi(object->bitmap, GdiKind::Bitmap);
        return bitmap ? bitmap->surface : nullptr;
    }
    }
    return nullptr;
}

void DcDrawn(HDC dc)
{
    GdiObject* object = LookupGdi(dc, GdiKind::Dc);
    if (object && object->dcKind == DcKind::Window) object->pixels->show(object->hwnd);
}

HDC CreateSurfaceDC(SDL_Surface* surface)
{
    if (!surface) return nullptr;
    GdiObject object;
    object.kind = GdiKind::Dc;
    object.dcKind = DcKind::Surface;
    object.stock = true;  // the DirectDraw surface belongs to its owner
    object.surface = surface;
    return static_cast<HDC>(AddGdi(object));
}

void DeleteSurfaceDC(HDC dc)
{
    GdiObject* object = LookupGdi(dc, GdiKind::Dc);
    if (object && object->dcKind == DcKind::Surface) RemoveGdi(dc);
}

}  // namespace plat
