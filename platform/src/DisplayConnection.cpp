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
    if (connection == -2 && window) {
        SDL_SysWMinfo info;
        SDL_VERSION(&info.version);
        connection = SDL_GetWindowWMInfo(window, &info) && info.subsystem == SDL_SYSWM_X11
                         ? ConnectionNumber(info.info.x11.display)
                         : -1;
    }
    if (connection < 0) return -1;
    // Whatever was read into Xlib's buffer would not wake the poll.
    SDL_PumpEvents();
    if (SDL_PeepEvents(nullptr, 0, SDL_PEEKEVENT, SDL_FIRSTEVENT, SDL_LASTEVENT) > 0) return 1;
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
