// The X11 backend's parts, as its entry (X11Backend.cpp) puts them together.
#ifndef VORBLOX_PLATFORM_X11_BACKEND_H
#define VORBLOX_PLATFORM_X11_BACKEND_H

#include <SDL.h>

namespace plat {

class DisplayWaits;
class Presenter;

// Puts Xlib's handler for a broken connection in place (XDisplayLoss.cpp).
void EndOnXDisplayLoss();
// Frames straight to the X server; null for a window it cannot draw on
// (XlibPresenter.cpp).
Presenter* NewXlibPresenter(SDL_Window* window);
// Waits on the display connection itself (DisplayConnection.cpp).
DisplayWaits* X11Waits();

}  // namespace plat

#endif
