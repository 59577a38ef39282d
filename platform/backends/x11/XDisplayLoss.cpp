// A broken X connection ends the game (DisplayLoss.h).
#include "DisplayLoss.h"
#include "X11Backend.h"

#include <X11/Xlib.h>

namespace plat {
namespace {

// Xlib calls this once the connection has broken. Returning would let Xlib
// end the process through exit(), whose handlers (the window's destructor
// among them) would use the dead connection again.
int OnXConnectionLost(Display* display)
{
    EndForLostDisplay(display ? DisplayString(display) : "");
}

}  // namespace

void EndOnXDisplayLoss()
{
    // Process-wide: it covers SDL's connection and the one of a message box.
    XSetIOErrorHandler(OnXConnectionLost);
}

}  // namespace plat
