// Kept apart: X11's headers define names (Bool, Status, None) that the
// rest of the layer must not see.
#include "DisplayConnection.h"
#include "DisplayWaits.h"
#include "X11Backend.h"

#include <SDL_syswm.h>

#include <poll.h>
#include <time.h>

namespace plat {
namespace {

// One display for the whole run: asked once, of the first window waited on.
int connection = -2;
Display* x11 = nullptr;
// When the last wait ended with nothing come (0: it did not).
Uint64 quietAt = 0;
// The last wait ended for something the display sent, not yet given to SDL.
bool woken = false;
// The number the next request would have had when everything was last
// handed to the connection.
unsigned long flushedBefore = 0;

void Flush()
{
    // Xlib's flush also reads the connection, a system call. Where nothing
    // was asked of the display since the last one, that read would find
    // nothing the wait's poll would not.
    if (XNextRequest(x11) == flushedBefore) return;
    XFlush(x11);
    flushedBefore = XNextRequest(x11);
}

void FindConnection(SDL_Window* window)
{
    if (connection != -2 || !window) return;
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    connection = -1;
    if (SDL_GetWindowWMInfo(window, &info) && info.subsystem == SDL_SYSWM_X11) {
        x11 = info.info.x11.display;
        connection = ConnectionNumber(x11);
    }
}

Bool NoteFocusChange(Display*, XEvent* event, XPointer changed)
{
    if (event->type == FocusIn || event->type == FocusOut) *reinterpret_cast<bool*>(changed) = true;
    return False;  // looked at, left in the queue
}

class DisplayConnectionWaits final : public DisplayWaits {
public:
    int HasInput() override
    {
        if (connection < 0) return -1;
        // A wait that has just run out found nothing; what comes after it
        // ends the next wait at once.
        if (!woken && quietAt && SDL_GetPerformanceCounter() - quietAt < SDL_GetPerformanceFrequency() / 1000)
            return 0;
        // One read of the connection; it also takes in what Xlib's transport
        // read while sending, which polling the socket would miss.
        if (XEventsQueued(x11, QueuedAfterReading) == 0) return woken ? 1 : 0;
        bool focus = false;
        XEvent unused;
        XCheckIfEvent(x11, &unused, NoteFocusChange, reinterpret_cast<XPointer>(&focus));
        return focus ? 2 : 1;
    }

    bool WokeWait() override { return woken; }
    void InputTaken() override { woken = false; }

    int WaitOnDisplay(SDL_Window* window, ULONGLONG nanoseconds) override
    {
        FindConnection(window);
        if (connection < 0) return -1;
        quietAt = 0;
        if (SDL_PeepEvents(nullptr, 0, SDL_PEEKEVENT, SDL_FIRSTEVENT, SDL_LASTEVENT) > 0) return 1;
        // Whatever Xlib has already read would not wake the poll; what it
        // has not yet sent would never be answered. Neither look costs a
        // system call when there is nothing to do (pumping SDL's events
        // here would cost several, on every tick).
        Flush();
        if (XEventsQueued(x11, QueuedAlready) > 0) {
            woken = true;
            return 1;
        }
        pollfd display = {connection, POLLIN, 0};
        timespec timeout;
        timeout.tv_sec = (time_t)(nanoseconds / 1000000000ull);
        timeout.tv_nsec = (long)(nanoseconds % 1000000000ull);
        bool came = ppoll(&display, 1, &timeout, nullptr) > 0;
        quietAt = came ? 0 : SDL_GetPerformanceCounter();
        woken = woken || came;
        return came ? 1 : 0;
    }
};

}  // namespace

DisplayWaits* X11Waits()
{
    static DisplayConnectionWaits* waits = new DisplayConnectionWaits;
    return waits;
}

void DisplayFlushed()
{
    if (connection >= 0) flushedBefore = XNextRequest(x11);
}

}  // namespace plat
