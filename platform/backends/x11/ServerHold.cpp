// A busy X server, made for real: a connection of our own grabs the server,
// which then reads nothing from any other client, SDL's included, until the
// grab ends. The frame path is not told; it finds out as it would on a slow
// desktop, from the bytes the server has not read.
#include "ServerHold.h"

#include "Core.h"

#include <PlatformTest.h>
#include <X11/Xlib.h>

namespace plat {
namespace {

::Display*& Holder()
{
    static ::Display* holder = nullptr;
    return holder;
}

void LetGo()
{
    if (::Display* holder = Holder()) {
        XUngrabServer(holder);
        XCloseDisplay(holder);  // sends the ungrab
        Holder() = nullptr;
    }
}

const bool hooked = (AddResetHook(LetGo), true);

}  // namespace

bool DisplayServerHeld() { return Holder() != nullptr; }

}  // namespace plat

namespace PlatformTest {

void HoldDisplayServer(bool hold)
{
    if (!hold) {
        plat::LetGo();
        return;
    }
    if (plat::Holder()) return;
    // The same display SDL opens: $DISPLAY. Without one there is nothing
    // to hold.
    ::Display* holder = XOpenDisplay(nullptr);
    if (!holder) return;
    XGrabServer(holder);
    XSync(holder, False);
    plat::Holder() = holder;
}

}  // namespace PlatformTest
