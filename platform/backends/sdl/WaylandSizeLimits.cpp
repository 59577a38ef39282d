// A Wayland window's size limits, told on its xdg_toplevel itself. SDL
// would hold a configured size to its own limits and draw a buffer of that
// size in a tile or a maximized frame; without them it takes the size the
// compositor gives. A compositor should hold a floating window to these,
// but not every one does (KWin, leaving a full screen it imposed, offers
// the frame's size as the window's and cuts the title bar's height off the
// game), so the toplevel's configure events come here first
// (WaylandListeners.cpp) and a floating size is held to the limits before
// SDL takes it.
#include "WaylandSizeLimits.h"

#include "WaylandListeners.h"

#include <SDL_syswm.h>

namespace plat {
namespace {

// xdg_toplevel's requests, numbered as in xdg-shell.xml (stable since
// version 1; the numbers of a stable interface never change).
constexpr uint32_t kSetMaxSize = 7;
constexpr uint32_t kSetMinSize = 8;

using MarshalFunction = void (*)(void* proxy, uint32_t opcode, ...);
using VersionFunction = uint32_t (*)(void* proxy);

// xdg_toplevel's events up to version 3, the most SDL 2.26 binds.
struct ToplevelListener {
    void (*configure)(void* data, void* toplevel, int32_t width, int32_t height, WaylandArray* states);
    void (*close)(void* data, void* toplevel);
};
constexpr uint32_t kListenedVersion = 3;

// xdg_toplevel's states that mean the compositor imposes the size.
constexpr uint32_t kMaximized = 1, kFullScreen = 2, kTiledLeft = 5, kTiledBottom = 8;

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
bool DecoratedByLibdecor(void* toplevel) { return ListenerIn(ListenerOf(toplevel), "libdecor"); }

// What libwayland calls for a toplevel of SDL's: the listener first, then
// SDL's own and the limits told last (none yet: 0).
struct HeldToplevel {
    ToplevelListener listener;
    const ToplevelListener* sdl;
    SDL_Point min;
    SDL_Point max;
};

HeldToplevel* Held(void* toplevel) { return (HeldToplevel*)ListenerOf(toplevel); }

bool Floating(const WaylandArray* states)
{
    const auto* state = static_cast<const uint32_t*>(states->data);
    for (size_t i = 0; i < states->size / sizeof *state; ++i)
        if (state[i] == kMaximized || state[i] == kFullScreen || (state[i] >= kTiledLeft && state[i] <= kTiledBottom))
            return false;
    return true;
}

void HeldConfigure(void* data, void* toplevel, int32_t width, int32_t height, WaylandArray* states)
{
    HeldToplevel* h = Held(toplevel);
    // 0 leaves the size to the window (SDL then takes its last floating one).
    if (h->max.x > 0 && width > 0 && height > 0 && Floating(states)) {
        width = SDL_clamp(width, h->min.x, h->max.x);
        height = SDL_clamp(height, h->min.y, h->max.y);
    }
    h->sdl->configure(data, toplevel, width, height, states);
}

void HeldClose(void* data, void* toplevel) { Held(toplevel)->sdl->close(data, toplevel); }

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
    HeldToplevel* h = Held(toplevel);
    if (h && h->listener.configure == HeldConfigure) {
        h->min = min;
        h->max = max;
    }
    marshal(toplevel, kSetMinSize, (int32_t)min.x, (int32_t)min.y);
    marshal(toplevel, kSetMaxSize, (int32_t)max.x, (int32_t)max.y);
    // The hints are the surface's pending state: the next frame commits them.
    return true;
}

const void* HoldToplevelSizes(void* toplevel, const void* sdl)
{
    static auto version = reinterpret_cast<VersionFunction>(WaylandClient("wl_proxy_get_version"));
    if (!version || version(toplevel) > kListenedVersion) return sdl;
    // SDL makes a toplevel at each show of a window.
    return &KeepForever(HeldToplevel{{HeldConfigure, HeldClose}, static_cast<const ToplevelListener*>(sdl),
                                     {0, 0}, {0, 0}})
                ->listener;
}

}  // namespace plat
