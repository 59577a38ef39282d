// Waiting for the desktop. SDL's own waits count whole milliseconds and
// know only SDL's queue; a backend that can do better (the X connection,
// waited on to the nanosecond) or must do otherwise (the browser, whose
// page needs its turns) gives waits of its own (Backend.h). The defaults
// leave it to SDL.
#ifndef VORBLOX_PLATFORM_DISPLAY_WAITS_H
#define VORBLOX_PLATFORM_DISPLAY_WAITS_H

#include <SDL.h>
#include <windows.h>

namespace plat {

class DisplayWaits {
public:
    virtual ~DisplayWaits() = default;
    // Sends what was asked of the display, then sleeps until it sends
    // something or `nanoseconds` have passed. 1 when SDL may have an event,
    // 0 when the time ran out, -1 when it cannot wait on this window's
    // display (nothing waited).
    virtual int WaitOnDisplay(SDL_Window*, ULONGLONG) { return -1; }
    // Sleeps until input may have come or `milliseconds` have passed, and
    // answers true; false at once where SDL's own wait serves.
    virtual bool WaitForEvents(int) { return false; }
    // Sleeps until `fd` has something to read or `milliseconds` have
    // passed; true when it has. The default is poll's own wait.
    virtual bool WaitForDescriptor(int fd, int milliseconds);
    // 1 when the display has sent events not yet taken by SDL, 2 when among
    // them is a change of the keyboard focus, 0 when it has sent nothing,
    // -1 when that is not known.
    virtual int HasInput() { return -1; }
    // Whether the last wait ended for what the display sent, since SDL last
    // took it (InputTaken).
    virtual bool WokeWait() { return false; }
    virtual void InputTaken() {}
};

// The current backend's (Backend.h).
int WaitOnDisplay(SDL_Window* window, ULONGLONG nanoseconds);
bool WaitForEvents(int milliseconds);
bool WaitForDescriptor(int fd, int milliseconds);
int DisplayHasInput();
bool DisplayWokeWait();
void DisplayInputTaken();

}  // namespace plat

#endif
