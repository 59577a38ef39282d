// The GDI handle table: bitmaps (DIB sections held as SDL surfaces),
// brushes, device contexts, icons and cursors share one handle space, so a
// handle of the wrong kind is recognised and refused.
#ifndef VORBLOX_PLATFORM_GDI_OBJECTS_H
#define VORBLOX_PLATFORM_GDI_OBJECTS_H

#include <SDL.h>
#include <windows.h>

namespace plat {

enum class GdiKind { Bitmap, Brush, Dc, Icon, Cursor };
enum class DcKind { Memory, Window, Surface };

// What a window's DC draws on, as the window manager gives it: the client
// area's pixels, and the call that shows what was drawn there.
struct WindowPixels {
    SDL_Surface* (*surface)(HWND hwnd);
    void (*show)(HWND hwnd);
};

struct GdiObject {
    GdiKind kind = GdiKind::Bitmap;
    bool stock = false;
    // Bitmap and icon: the pixels (owned unless stock). Icons may have none.
    SDL_Surface* surface = nullptr;
    HDC selectedInto = nullptr;
    // Brush.
    COLORREF color = 0;
    bool hollow = false;
    // Device context.
    DcKind dcKind = DcKind::Memory;
    HWND hwnd = nullptr;
    const WindowPixels* pixels = nullptr;
    HBITMAP bitmap = nullptr;
};

GdiObject* LookupGdi(HANDLE handle, GdiKind kind);
HANDLE AddGdi(const GdiObject& object);
// Frees the object's surface (unless stock) and forgets the handle.
void RemoveGdi(HANDLE handle);

// A bitmap handle owning `surface`.
HBITMAP NewBitmap(SDL_Surface* surface);
// The 1 x 1 bitmap every new memory DC starts with.
HBITMAP DefaultBitmap();
HICON NewIcon(SDL_Surface* surface);
HICON StockIcon();
HCURSOR StockArrow();

// A DC drawing on a window's client area (BeginPaint, GetDC).
HDC NewWindowDC(HWND hwnd, const WindowPixels* pixels);
// The pixels a DC draws on now; null when it has none.
SDL_Surface* DcSurface(HDC dc);
// Puts what was drawn on a window DC on screen.
void DcDrawn(HDC dc);

}  // namespace plat

#endif
