// When the desktop's display goes away under the game (the session ends, a
// forwarded connection drops), the game ends at once with one line on
// stderr and exit code 1. Nothing may talk to the dead connection after
// that: the window's destructor would, and the display library then waits
// on it for good. Each backend finds out its own way (Backend.h: Prepare,
// SdlQuit) and ends here.
#ifndef VORBLOX_PLATFORM_DISPLAYLOSS_H
#define VORBLOX_PLATFORM_DISPLAYLOSS_H

namespace plat {

// Ends the process now, without exit handlers: one line naming the display.
[[noreturn]] void EndForLostDisplay(const char* display);
// The same, for another reason the display cannot serve the game any more
// ("the display refused ..."): one line, "PROGRAM: WHY; the game ends".
[[noreturn]] void EndWithoutDisplay(const char* why);
// What must reach its file first when the game ends this way (a recording's
// ticks held so far); nothing run there may need the display.
void BeforeEndingWithoutDisplay(void (*finish)());

}  // namespace plat

#endif
