// A broken X connection ends the game (DisplayLoss.h).
#include "DisplayLoss.h"
#include "X11Backend.h"

#include <X11/Xlib.h>

#include <cstdio>

namespace plat {
namespace {

// Xlib calls this once the connection has broken. Returning would let Xlib
// end the process through exit(), whose handlers (the window's destructor
// among them) would use the dead connection again.
int OnXConnectionLost(Display* display)
{
    EndForLostDisplay(display ? DisplayString(display) : "");
}

// Xlib calls this for a request the display refused; its own handler
// prints several lines of protocol detail and exits. The likely one is a
// window destroyed from outside (xdotool windowclose, a crashing window
// manager): the game cannot go on without it, and ends as for a lost display.
int OnXError(Display* display, XErrorEvent* error)
{
    char text[160] = "";
    XGetErrorText(display, error->error_code, text, sizeof text);
    char why[240];
    std::snprintf(why, sizeof why, "the display refused the game's request (%s)", text);
    EndWithoutDisplay(why);
}

}  // namespace

void EndOnXDisplayLoss()
{
    // Process-wide: it covers SDL's connection and the one of a message box.
    XSetIOErrorHandler(OnXConnectionLost);
    XSetErrorHandler(OnXError);
}

}  // namespace plat
