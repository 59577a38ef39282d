// Size hints on X11 through SDL, on Wayland on the window's xdg_toplevel.
#include "SizeLimits.h"

#include "Backend.h"
#include "DisplayScale.h"

#include <SDL_syswm.h>

namespace plat {
namespace {

#if defined(SDL_VIDEO_DRIVER_WAYLAND)
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

// SDL would hold a configured size to its own limits and draw a buffer of
// that size in a tile or a maximized frame; without them it takes the size
// the compositor gives, and the compositor holds a floating window to these.
void TellToplevel(SDL_Window* window, const SizeLimits& limits)
{
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (!SDL_GetWindowWMInfo(window, &info) || info.subsystem != SDL_SYSWM_WAYLAND) return;
    void* toplevel = info.info.wl.xdg_toplevel;
    MarshalFunction marshal = Marshal();
    // A hidden window has no toplevel yet: RepeatSizeLimits after showing.
    if (!toplevel || !marshal) return;
    marshal(toplevel, kSetMinSize, (int32_t)limits.min.x, (int32_t)limits.min.y);
    marshal(toplevel, kSetMaxSize, (int32_t)limits.max.x, (int32_t)limits.max.y);
    // The hints are the surface's pending state: the next frame commits them.
}
#else
void TellToplevel(SDL_Window*, const SizeLimits&) {}
#endif

}  // namespace

void TellSizeLimits(SDL_Window* window, const SizeLimits& limits, const SizeLimits& before)
{
    SDL_SetWindowResizable(window, SDL_TRUE);
    if (SdlDriverIs("wayland")) {
        TellToplevel(window, limits);
        return;
    }
    // SDL refuses a minimum above the maximum it has, and the other way.
    if (limits.min.x > before.max.x || limits.min.y > before.max.y) {
        SDL_SetWindowMaximumSize(window, limits.max.x, limits.max.y);
        SDL_SetWindowMinimumSize(window, limits.min.x, limits.min.y);
    } else {
        SDL_SetWindowMinimumSize(window, limits.min.x, limits.min.y);
        SDL_SetWindowMaximumSize(window, limits.max.x, limits.max.y);
    }
}

void RepeatSizeLimits(SDL_Window* window, const SizeLimits& limits)
{
    if (!SdlDriverIs("wayland") || (SDL_GetWindowFlags(window) & SDL_WINDOW_FULLSCREEN)) return;
    if (limits.max.x > 0) TellToplevel(window, limits);
}

}  // namespace plat
