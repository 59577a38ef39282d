// SDL's listeners on the Wayland objects it makes, taken over where the
// layer must hear an event before SDL does (WaylandListeners.cpp).
#ifndef VORBLOX_PLATFORM_WAYLAND_LISTENERS_H
#define VORBLOX_PLATFORM_WAYLAND_LISTENERS_H

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

namespace plat {

// libwayland's wl_array, as its public header has it.
struct WaylandArray {
    size_t size;
    size_t alloc;
    void* data;
};

// The listener an object of SDL's gets instead of SDL's own `sdl`, which it
// hands each event on to (or `sdl` itself, to leave the object to SDL).
const void* HoldToplevelSizes(void* toplevel, const void* sdl);  // WaylandSizeLimits.cpp
const void* FollowHeldKeys(void* keyboard, const void* sdl);     // WaylandHeldKeys.cpp

// The listener an object has now (libwayland's wl_proxy_get_listener).
const void* ListenerOf(void* proxy);
// Whether a listener belongs to the library whose file name holds `library`
// (a listener is a table of functions in the data of its code).
bool ListenerIn(const void* listener, const char* library);

// Keeps a listener's state for the rest of the process (libwayland says
// nothing when a proxy goes) and answers where it is.
template <typename Held>
Held* KeepForever(const Held& held)
{
    static auto* kept = new std::vector<std::unique_ptr<Held>>;
    kept->push_back(std::make_unique<Held>(held));
    return kept->back().get();
}

}  // namespace plat

#endif
