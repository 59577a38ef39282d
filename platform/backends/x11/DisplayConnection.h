// Looking at the X display connection itself (the X11 backend's waits,
// DisplayConnection.cpp): waiting on it, which SDL's own waits can only do
// in whole milliseconds, and asking whether it has sent anything, which
// costs less than letting SDL look.
#ifndef VORBLOX_PLATFORM_DISPLAY_CONNECTION_H
#define VORBLOX_PLATFORM_DISPLAY_CONNECTION_H

namespace plat {

// Everything asked of the display so far has just been flushed (XFlush),
// so the next wait need not flush again.
void DisplayFlushed();

}  // namespace plat

#endif
