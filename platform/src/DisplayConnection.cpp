// Kept apart: X11's headers define names (Bool, Status, None) that the
// rest of the layer must not see.
#include "DisplayConnection.h"

#include <SDL_syswm.h>

#include <poll.h>
#include <time.h>

namespace plat {

int WaitOnDisplay(SDL_Window* window, ULONGLONG nanoseconds)
{
#if defined(SDL_VIDEO_DRIVER_X11)
    // One display for the whole run: asked once.
    static int connection = -2;
    static Display* x11 = nullptr;
    if (connection == -2 && window) {
        SDL_SysWMinfo info;
        SDL_VERSION(&info.version);
        connection = -1;
        if (SDL_GetWindowWMInfo(window, &info) && info.subsystem == SDL_SYSWM_X11) {
            x11 = info.info.x11.display;
            connection = ConnectionNumber(x11);
        }
    }
    if (connection < 0) return -1;
    if (SDL_PeepEvents(nullptr, 0, SDL_PEEKEVENT, SDL_FIRSTEVENT, SDL_LASTEVENT) > 0) return 1;
    // Whatever Xlib has already read would not wake the poll; what it has
    // not yet sent would never be answered. Neither look costs a system call
    // when there is nothing to do (pumping SDL's events here would cost
    // several, on every tick).
    XFlush(x11);
    if (XEventsQueued(x11, QueuedAlready) > 0) return 1;
    pollfd display = {connection, POLLIN, 0};
    timespec timeout;
    timeout.tv_sec = (time_t)(nanoseconds / 1000000000ull);
    timeout.tv_nsec = (long)(nanoseconds % 1000000000ull);
    return ppoll(&display, 1, &timeout, nullptr) > 0 ? 1 : 0;
#else
    (void)window;
    (void)nanoseconds;
    return -1;
#endif
}

}  // namespace plat
