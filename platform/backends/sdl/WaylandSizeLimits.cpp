// A Wayland window's size limits, told on its xdg_toplevel itself. SDL
// would hold a configured size to its own limits and draw a buffer of that
// size in a tile or a maximized frame; without them it takes the size the
// compositor gives, and the compositor holds a floating window to these.
#include "WaylandSizeLimits.h"

#include <SDL_syswm.h>
#include <dlfcn.h>

#include <cstring>

namespace plat {
namespace {

// xdg_toplevel's requests, numbered as in xdg-shell.xml (stable since
// version 1; the numbers of a stable interface never change).
constexpr uint32_t kSetMaxSize = 7;
constexpr uint32_t kSetMinSize = 8;

using MarshalFunction = void (*)(void* proxy, uint32_t opcode, ...);
using ListenerFunction = const void* (*)(void* proxy);

// SDL has loaded libwayland-client already when it runs on Wayland.
void* WaylandClient(const char* name)
{
    static void* library = SDL_LoadObject("libwayland-client.so.0");
    return library ? SDL_LoadFunction(library, name) : nullptr;
}

MarshalFunction Marshal()
{
    static auto marshal = reinterpret_cast<MarshalFunction>(WaylandClient("wl_proxy_marshal"));
    return marshal;
}

// Where the compositor draws no frame (GNOME, Weston), SDL has libdecor draw
// one and hand its toplevel on; libdecor then holds the toplevel to its
// content sizes plus its title bar, and sizes told here would cut the title
// bar out of the game's 400 rows. Its toplevel is known by whose code hears
// the toplevel's events.
bool DecoratedByLibdecor(void* toplevel)
{
    static auto listener = reinterpret_cast<ListenerFunction>(WaylandClient("wl_proxy_get_listener"));
    const void* heard = listener ? listener(toplevel) : nullptr;
    Dl_info info;
    return heard && dladdr(heard, &info) && info.dli_fname && std::strstr(info.dli_fname, "libdecor");
}

}  // namespace

bool TellWaylandSizeLimits(SDL_Window* window, SDL_Point min, SDL_Point max)
{
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (!SDL_GetWindowWMInfo(window, &info) || info.subsystem != SDL_SYSWM_WAYLAND) return true;
    void* toplevel = info.info.wl.xdg_toplevel;
    MarshalFunction marshal = Marshal();
    // A hidden window has no toplevel yet: told again after it is shown.
    if (!toplevel || !marshal) return true;
    if (DecoratedByLibdecor(toplevel)) return false;
    marshal(toplevel, kSetMinSize, (int32_t)min.x, (int32_t)min.y);
    marshal(toplevel, kSetMaxSize, (int32_t)max.x, (int32_t)max.y);
    // The hints are the surface's pending state: the next frame commits them.
    return true;
}

}  // namespace plat
