#include "DisplayScale.h"

#include "Core.h"

#if defined(SDL_VIDEO_DRIVER_X11)
#include <X11/Xlib.h>
#include <X11/Xresource.h>
#endif

#include <cstdlib>
#include <cstring>

namespace plat {
namespace {

struct ScaleState {
    int requested = 0;
    int decided = 0;
};

ScaleState& State()
{
    static auto* state = new ScaleState;
    return *state;
}

void ForgetDecision() { State() = ScaleState(); }
const bool hooked = (AddResetHook(ForgetDecision), true);

int Clamp(long value) { return value < kMinScale ? kMinScale : value > kMaxScale ? kMaxScale : (int)value; }

// The desktop's font resolution, as GTK and Qt read it: the Xft.dpi
// resource the session put on the root window. Read on a connection of our
// own, before SDL opens any window.
int ScaleFromXResources()
{
#if !defined(SDL_VIDEO_DRIVER_X11)
    return 0;  // the browser: its page shows the frame enlarged itself
#else
    const char* driver = SDL_GetCurrentVideoDriver();
    if (!driver || std::strcmp(driver, "x11") != 0) return 0;
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
#endif
}

int DesktopScale()
{
    if (int gdk = ScaleFromGdk(std::getenv("GDK_SCALE"))) return gdk;
    if (int dpi = ScaleFromXResources()) return dpi;
    return 1;
}

}  // namespace

void RequestScale(int scale)
{
    State().requested = scale ? Clamp(scale) : 0;
    State().decided = 0;
}

int DisplayScale()
{
    ScaleState& s = State();
    if (!s.decided) {
        if (s.requested)
            s.decided = s.requested;
        else if (Headless() || !VideoReady())
            return 1;  // decided later, once there is a desktop to ask
        else
            s.decided = DesktopScale();
    }
    return s.decided;
}

int ToProgram(int physical)
{
    int scale = DisplayScale();
    return physical >= 0 ? physical / scale : -((-physical + scale - 1) / scale);
}

int ScaleFromGdk(const char* text)
{
    if (!text || !*text) return 0;
    char* end = nullptr;
    long value = std::strtol(text, &end, 10);
    return *end || value < 1 ? 0 : Clamp(value);
}

int ScaleFromDpi(const char* text)
{
    if (!text || !*text) return 0;
    char* end = nullptr;
    double dpi = std::strtod(text, &end);
    // Whole steps only: 144 dots per inch still shows the picture at its
    // own size, as a factor of 1.5 cannot be drawn sharply.
    return dpi >= 96 ? Clamp((long)(dpi / 96)) : 0;
}

}  // namespace plat

namespace PlatformTest {

void SetDisplayScale(int scale) { plat::RequestScale(scale); }

}  // namespace PlatformTest
