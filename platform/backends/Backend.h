// The ways the layer can show its windows, one entry each: the X server
// (frames straight to it), SDL's window for Wayland and for headless mode,
// the browser's canvas. A build's entries are one list (platform/
// CMakeLists.txt, in the order they are tried); Backends.cpp tries them, and
// everything that depends on the desktop asks the one chosen here.
#ifndef VORBLOX_PLATFORM_BACKEND_H
#define VORBLOX_PLATFORM_BACKEND_H

#include <SDL.h>

namespace plat {

class Presenter;
class DisplayWaits;

// A field left null takes the default named beside it.
struct Backend {
    const char* name;
    // SDL's video driver it shows the windows through.
    const char* sdlDriver;
    // Offered in headless mode, and only then.
    bool headless;
    // Run before SDL opens the display and again once it has (null: none):
    // handlers and input of its own, such as for a display lost under the
    // game, or the page's touch controls.
    void (*Prepare)();
    // Whether it shows the windows here. Asked again until SDL's video has
    // started; the first entry to say yes then is kept for the process.
    bool (*CanRunHere)();
    // A new window's presenter (null, or a null result: SDL's window
    // surface).
    Presenter* (*NewPresenter)(SDL_Window* window);
    // How the layer sleeps until the desktop sends something (null: SDL's
    // own waits).
    DisplayWaits* (*Waits)();
    // The desktop's display scale, 0 for none (null: GDK_SCALE).
    int (*DesktopScale)();
    // The desktop's pixels per unit of SDL's window sizes (null: 1).
    int (*PointScale)();
    // What SDL's windows need besides dense pixels.
    Uint32 windowFlags;
    // SDL announced that it quits (null: ignored; the close button is the
    // window's business).
    void (*SdlQuit)();
    // Tells the desktop a window's size limits itself (null: SDL's own
    // minimum and maximum sizes). Asked again wherever SDL clears the
    // desktop's hints on its own: when a window is shown, when it leaves
    // full screen.
    // False where SDL's own way serves after all (a frame drawn by
    // libdecor, which adds its title bar to SDL's sizes).
    bool (*TellSizeLimits)(SDL_Window* window, SDL_Point min, SDL_Point max);
    // Full screen is the desktop's to give, and F11 and Alt+Enter ask the
    // layer for it (false: the page has a full screen of its own, and the
    // keys are the browser's).
    bool fullScreenKeys;
    // Whether the keys reach the window now (null: SDL's keyboard focus is
    // on it).
    bool (*KeysReach)(SDL_Window* window);
};

// The entry that shows the windows. Before SDL's video has started, or
// when SDL runs on a driver no entry knows (one the user named in
// SDL_VIDEODRIVER), it has the defaults alone.
const Backend& CurrentBackend();

// SDL's quit event, for the backend (SdlQuit).
void OnSdlQuit();

// True when SDL's video runs on `driver`.
bool SdlDriverIs(const char* driver);

// SDL's window surface or, `throughRenderer`, a renderer of the presenter's
// own (SdlPresenter.cpp): every backend's default.
Presenter* NewSdlPresenter(SDL_Window* window, bool throughRenderer);

}  // namespace plat

#endif
