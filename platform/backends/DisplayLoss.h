// When the desktop's display goes away under the game (the session ends, a
// forwarded connection drops), the game ends at once with one line on
// stderr and exit code 1. Nothing may talk to the dead connection after
// that: the window's destructor would, and the display library then waits
// on it for good.
#ifndef VORBLOX_PLATFORM_DISPLAYLOSS_H
#define VORBLOX_PLATFORM_DISPLAYLOSS_H

namespace plat {

// Puts the display library's handler for a broken X connection in place.
// Called before SDL opens the display and again once it has.
void EndOnDisplayLoss();

// SDL announced that it is quitting. With the layer's settings only a lost
// Wayland compositor does that; anything else is ignored.
void OnSdlQuit();

// Ends the process now, without exit handlers: one line naming the display.
[[noreturn]] void EndForLostDisplay(const char* display);

}  // namespace plat

#endif
