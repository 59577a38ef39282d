// Looking at the X display connection itself: waiting on it, which SDL's
// own waits can only do in whole milliseconds, and asking whether it has
// sent anything, which costs less than letting SDL look.
#ifndef VORBLOX_PLATFORM_DISPLAY_CONNECTION_H
#define VORBLOX_PLATFORM_DISPLAY_CONNECTION_H

#include <SDL.h>
#include <windows.h>

namespace plat {

// Where the desktop needs waits of its own (the browser, whose page must
// get its turns): sleeps until input may have come or `milliseconds` have
// passed, and answers true. False at once where SDL's own wait serves.
bool WaitForEvents(int milliseconds);
// Sends what was asked of the display, then sleeps until it sends
// something or `nanoseconds` have passed. 1 when SDL may have an event, 0
// when the time ran out, -1 when the window is not on an X display
// (nothing waited).
int WaitOnDisplay(SDL_Window* window, ULONGLONG nanoseconds);
// 1 when the display has sent events not yet taken by SDL, 2 when among
// them is a change of the keyboard focus, 0 when it has sent nothing, -1
// when that is not known (no X display met yet).
int DisplayHasInput();
// Whether the last wait ended for what the display sent, since SDL last
// took it (DisplayInputTaken).
bool DisplayWokeWait();
void DisplayInputTaken();
// Everything asked of the display so far has just been flushed (XFlush),
// so the next wait need not flush again.
void DisplayFlushed();

}  // namespace plat

#endif
