// SDL on an X server, the frames sent on SDL's own connection.
#include "X11Backend.h"

#include "Backend.h"
#include "DisplayScale.h"

#include <X11/Xlib.h>
#include <X11/Xresource.h>

#include <cstdlib>

namespace plat {
namespace {

bool OnX11() { return SdlDriverIs("x11"); }

// The desktop's font resolution, as GTK and Qt read it: the Xft.dpi
// resource the session put on the root window. Read on a connection of our
// own, before SDL opens any window.
int ScaleFromXResources()
{
    Display* display = XOpenDisplay(nullptr);
    if (!display) return 0;
    int scale = 0;
    if (const char* resources = XResourceManagerString(display)) {
        XrmInitialize();
        XrmDatabase database = XrmGetStringDatabase(resources);
        char* type = nullptr;
        XrmValue value;
        if (database && XrmGetResource(database, "Xft.dpi", "Xft.Dpi", &type, &value) && value.addr)
            scale = ScaleFromDpi(value.addr);
        if (database) XrmDestroyDatabase(database);
    }
    XCloseDisplay(display);
    return scale;
}

int X11DesktopScale()
{
    if (int gdk = ScaleFromGdk(std::getenv("GDK_SCALE"))) return gdk;
    return ScaleFromXResources();
}

}  // namespace

extern const Backend x11Backend = {
    "x11", "x11", false, EndOnXDisplayLoss, OnX11, NewXlibPresenter, X11Waits, X11DesktopScale, nullptr, 0, nullptr,
    nullptr, true, nullptr,
};

}  // namespace plat
