// One DirectDraw surface and what the game needs to know about it. Pictures
// are loaded into Surfaces and blitted from them; the Display keeps its
// primary surface and back buffer in Surfaces too, so presenting a frame is
// one more blit. A Surface remembers its size, its picture and its key, so
// that it can be loaded again when the system takes its memory, or made
// anew when the desktop changes to another format.
#ifndef VORBLOX_GRAPHICS_SURFACE_H
#define VORBLOX_GRAPHICS_SURFACE_H

#include <windows.h>
#include <ddraw.h>

class Display;

class Surface {
public:
    // Assigned by the owner before Create; the Display through which the
    // surface is made and restored. Not owned.
    Display* display;
    // One reference held; null when there is none.
    LPDIRECTDRAWSURFACE surface;
    // 1 once a source colour key is set: blits from here then skip it.
    int colorKeyed;
    // The colour of that key; its raw value depends on the pixel format.
    COLORREF keyColor;
    // The size given to Create.
    LONG width;
    LONG height;
    // The name LoadBitmap last loaded, empty when the surface holds no
    // picture (or one whose name was too long to keep).
    char picture[260];
    // 1 when the memory came back without the picture: it is loaded again
    // before the surface is next blitted from.
    int reloadPending;

    Surface();
    ~Surface();
    Surface(const Surface&) = delete;
    Surface& operator=(const Surface&) = delete;

    // An off-screen surface of the given size, registered with the Display.
    int Create(LONG width, LONG height);
    void Release();
    // Gives a lost surface its memory back. That memory holds garbage, so a
    // surface holding a picture is marked to load it again.
    int Restore();
    // Replaces the surface with a new one of the same size in the desktop's
    // current format, keeping the Surface's place in the Display's registry.
    int Recreate();
    // Loads the remembered picture and sets the remembered key again.
    int Reload();
    // A bitmap resource of the program, or else a bitmap file of that name.
    int LoadBitmap(LPCSTR name);
    // Stretches the part of the bitmap onto the whole surface; an extent
    // of 0 stands for the bitmap's own width or height.
    int CopyBitmap(HBITMAP bitmap, LONG x, LONG y, LONG width, LONG height);
    // The surface's raw pixel value for the colour, found by letting GDI
    // write it; 0 when there is no surface.
    DWORD ColorMatch(COLORREF color);
    int SetColorKey(COLORREF color);
    // Copies the source rectangle (the whole surface when srcX < 0) to
    // (x, y) on dest; width <= 0 copies at the source's full size.
    int BlitRect(Surface& dest, LONG x, LONG y, LONG srcX, LONG srcY, LONG width, LONG height);
    int Blit(Surface& dest, LONG x, LONG y);

private:
    bool IsCreated() const;
    bool HoldsPicture() const { return picture[0] != '\0'; }
};

#endif
