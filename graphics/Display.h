// Everything that puts the game's picture on the screen: the DirectDraw
// object, the primary surface (the whole desktop, in whatever mode it is),
// an off-screen back buffer of the window's client size, a clipper bound to
// the window, and a registry of every Surface made through the Display so
// that all of them can be restored after a loss (or made anew after a change
// of the desktop's format) and released at the end.
#ifndef VORBLOX_GRAPHICS_DISPLAY_H
#define VORBLOX_GRAPHICS_DISPLAY_H

#include <windows.h>
#include <ddraw.h>

#include "graphics/Surface.h"
#include "shell/LinkedList.h"

class MainWindow;

class Display {
public:
    Surface primary;
    Surface back;
    // Where frames are drawn: the back buffer once it exists.
    Surface* target;
    LPDIRECTDRAW ddraw;
    // Not owned; its window handle is read whenever it is needed.
    MainWindow* window;
    // Every Surface created through the Display, in creation order. The
    // Surfaces belong to their owners; the list never deletes them.
    LinkedList<Surface> surfaces;
    LPDIRECTDRAWCLIPPER clipper;
    // The back buffer's size (the client area's); -1 while unknown.
    int width;
    int height;
    // How many times the surfaces were restored or made anew after a loss.
    // Whatever was drawn on the back buffer before one is gone, so a frame
    // during which this changed is drawn again.
    DWORD restores;
    // 1 while the surfaces must be made anew for a new desktop format and an
    // attempt at it failed; the next present tries again.
    int remakePending;

    Display();
    ~Display();
    Display(const Display&) = delete;
    Display& operator=(const Display&) = delete;

    int Create(MainWindow* newWindow);
    int CreateSurfaces();
    int CreateSurface(LPDDSURFACEDESC desc, LPDIRECTDRAWSURFACE* out, Surface* owner);
    // Copies the back buffer to the window's client area on the screen.
    int Present();
    // Restores every surface after a loss; when the desktop has changed its
    // format since they were made (DDERR_WRONGMODE), makes them all anew in
    // the new one instead.
    int RestoreSurfaces();
    void ReleaseSurfaces();
    int RestoreDisplayMode();
    // Releases every surface, registered ones first, and the DirectDraw
    // object last. Harmless when there is nothing to release.
    void Release();
    void UpdateClientSize();

private:
    int RestoreMemory();
    int RemakeSurfaces();
};

#endif
