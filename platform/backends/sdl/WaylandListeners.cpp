// Two of SDL's Wayland listeners go through the layer first: a toplevel's,
// whose floating size is held to the window's limits (WaylandSizeLimits.cpp),
// and a keyboard's, whose keys already down when it reaches the window are
// told to SDL as pressed (WaylandHeldKeys.cpp).
//
// SDL links libwayland-client itself, and a function the program defines
// comes before a library's of the same name (as in WaylandKeyLookup.cpp):
// this wl_proxy_add_listener is the one SDL calls. Every other listener, and
// every listener of other code (libdecor's toplevel), goes to libwayland as
// it came. Where SDL loads libwayland on its own (a build of SDL that opens
// it at run time) or is linked into the program, its calls go straight
// there and SDL keeps its listeners.
#include "WaylandListeners.h"

#include <dlfcn.h>

#include <cstring>

namespace plat {
namespace {

using AddListener = int (*)(void* proxy, const void* listener, void* data);
using GetClass = const char* (*)(void* proxy);
using GetListener = const void* (*)(void* proxy);

// libwayland's own, the next definition after the program's.
template <typename Function>
Function Next(const char* name)
{
    return reinterpret_cast<Function>(dlsym(RTLD_NEXT, name));
}

}  // namespace

const void* ListenerOf(void* proxy)
{
    static const auto get = Next<GetListener>("wl_proxy_get_listener");
    return get ? get(proxy) : nullptr;
}

bool ListenerIn(const void* listener, const char* library)
{
    Dl_info info;
    return listener && dladdr(listener, &info) && info.dli_fname && std::strstr(info.dli_fname, library);
}

}  // namespace plat

extern "C" int wl_proxy_add_listener(void* proxy, const void* listener, void* data)
{
    static const auto add = plat::Next<plat::AddListener>("wl_proxy_add_listener");
    static const auto kind = plat::Next<plat::GetClass>("wl_proxy_get_class");
    if (!add) return -1;
    // By kind first: listeners come for every frame's callback too.
    const char* name = kind ? kind(proxy) : "";
    if (std::strcmp(name, "xdg_toplevel") == 0 && plat::ListenerIn(listener, "libSDL2"))
        listener = plat::HoldToplevelSizes(proxy, listener);
    else if (std::strcmp(name, "wl_keyboard") == 0 && plat::ListenerIn(listener, "libSDL2"))
        listener = plat::FollowHeldKeys(proxy, listener);
    return add(proxy, listener, data);
}
