// A Wayland window's size limits, told on its xdg_toplevel itself. SDL
// would hold a configured size to its own limits and draw a buffer of that
// size in a tile or a maximized frame; without them it takes the size the
// compositor gives, and the compositor holds a floating window to these.
#include "WaylandSizeLimits.h"

#include <SDL_syswm.h>

namespace plat {
namespace {

// xdg_toplevel's requests, numbered as in xdg-shell.xml (stable since
// version 1; the numbers of a stable interface never change).
constexpr uint32_t kSetMaxSize = 7;
constexpr uint32_t kSetMinSize = 8;

using MarshalFunction = void (*)(void* proxy, uint32_t opcode, ...);

// SDL has loaded libwayland-client already when it runs on Wayland.
MarshalFunction Marshal()
{
    static MarshalFunction marshal = [] {
        void* library = SDL_LoadObject("libwayland-client.so.0");
        return library ? reinterpret_cast<MarshalFunction>(SDL_LoadFunction(library, "wl_proxy_marshal")) : nullptr;
    }();
    return marshal;
}

}  // namespace

void TellWaylandSizeLimits(SDL_Window* window, SDL_Point min, SDL_Point max)
{
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (!SDL_GetWindowWMInfo(window, &info) || info.subsystem != SDL_SYSWM_WAYLAND) return;
    void* toplevel = info.info.wl.xdg_toplevel;
    MarshalFunction marshal = Marshal();
    // A hidden window has no toplevel yet: told again after it is shown.
    if (!toplevel || !marshal) return;
    marshal(toplevel, kSetMinSize, (int32_t)min.x, (int32_t)min.y);
    marshal(toplevel, kSetMaxSize, (int32_t)max.x, (int32_t)max.y);
    // The hints are the surface's pending state: the next frame commits them.
}

}  // namespace plat
