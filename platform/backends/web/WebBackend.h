// The browser backend's parts, as its entry (WebBackend.cpp) puts them
// together.
#ifndef VORBLOX_PLATFORM_WEB_BACKEND_H
#define VORBLOX_PLATFORM_WEB_BACKEND_H

#include <SDL.h>

namespace plat {

class DisplayWaits;
class Presenter;

// Frames into the page's canvas (CanvasPresenter.cpp).
Presenter* NewCanvasPresenter(SDL_Window* window);
// Waits that give the page its turns (BrowserWait.cpp).
DisplayWaits* NewBrowserWaits();
// Whether the page has the keyboard's focus (PageFocus.cpp).
bool PageHasKeys(SDL_Window* window);

}  // namespace plat

#endif
