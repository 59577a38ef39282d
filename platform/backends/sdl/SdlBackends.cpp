// SDL's own window, where the layer has no way of its own to the screen: a
// Wayland compositor, and headless mode (SDL's dummy driver, the tests'
// stand-in desktop).
#include "Backend.h"
#include "DisplayLoss.h"
#include "DisplayScale.h"
#include "WaylandSizeLimits.h"

#include <algorithm>

namespace plat {
namespace {

bool OnWayland() { return SdlDriverIs("wayland"); }
bool OnDummy() { return SdlDriverIs("dummy"); }

// SDL gives a new window that asks for dense pixels the largest scale of
// the outputs, before it is shown: a hidden one of our own tells it.
int WaylandOutputScale()
{
    SDL_Window* probe = SDL_CreateWindow("", SDL_WINDOWPOS_UNDEFINED, SDL_WINDOWPOS_UNDEFINED, 16, 16,
                                         SDL_WINDOW_HIDDEN | SDL_WINDOW_ALLOW_HIGHDPI);
    if (!probe) return 1;
    int points = 0, pixels = 0;
    SDL_GetWindowSize(probe, &points, nullptr);
    SDL_GetWindowSizeInPixels(probe, &pixels, nullptr);
    SDL_DestroyWindow(probe);
    return points > 0 && pixels >= points ? pixels / points : 1;
}

// A compositor scales each output itself; GDK_SCALE and the X resources
// belong to X clients.
int WaylandDesktopScale() { return std::min(PointScale(), kMaxScale); }

// Wayland has no window surface of its own: SDL would make one through
// OpenGL and a renderer in SDL's units, not the output's pixels.
Presenter* NewWaylandPresenter(SDL_Window* window) { return NewSdlPresenter(window, true); }

// With SDL's quit on closing the last window turned off (Core.cpp), only
// a lost compositor sends it.
void LostCompositor()
{
    const char* name = SDL_getenv("WAYLAND_DISPLAY");
    EndForLostDisplay(name ? name : "wayland-0");
}

}  // namespace

extern const Backend waylandBackend = {
    "wayland",        "wayland",          false, nullptr, OnWayland, NewWaylandPresenter, nullptr, WaylandDesktopScale,
    WaylandOutputScale, SDL_WINDOW_OPENGL, LostCompositor, TellWaylandSizeLimits, true, nullptr,
};

extern const Backend headlessBackend = {
    "headless", "dummy", true, nullptr, OnDummy, nullptr, nullptr, nullptr, nullptr, 0, nullptr, nullptr, true, nullptr,
};

}  // namespace plat
