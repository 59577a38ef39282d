// A broken X connection ends the game (DisplayLoss.h).
#include "DisplayLoss.h"
#include "Recording.h"
#include "X11Backend.h"

#include <X11/Xlib.h>
#include <errno.h>
#include <unistd.h>

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
    char line[400];
    int length = std::snprintf(line, sizeof line, "%s: the display refused the game's request (%s); the game ends\n",
                               program_invocation_short_name, text);
    if (length > (int)sizeof line - 1) length = (int)sizeof line - 1;
    FinishRecording();
    if (length > 0) {
        ssize_t written = write(STDERR_FILENO, line, (size_t)length);
        (void)written;
    }
    _exit(1);
}

}  // namespace

void EndOnXDisplayLoss()
{
    // Process-wide: it covers SDL's connection and the one of a message box.
    XSetIOErrorHandler(OnXConnectionLost);
    XSetErrorHandler(OnXError);
}

}  // namespace plat
