#include "DisplayScale.h"

#include "Core.h"
#include "WindowsControls.h"

#if defined(SDL_VIDEO_DRIVER_X11)
#include <X11/Xlib.h>
#include <X11/Xresource.h>
#endif
#include <errno.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace plat {
namespace {

struct ScaleState {
    int requested = 0;
    const char* requestedFrom = nullptr;
    int decided = 0;
    bool fitted = false;
    int points = 0;  // PointScale, once known
};

ScaleState& State()
{
    static auto* state = new ScaleState;
    return *state;
}

void ForgetDecision() { State() = ScaleState(); }
const bool hooked = (AddResetHook(ForgetDecision), true);

// SDL gives a new window that asks for dense pixels the largest scale of
// the outputs, before it is shown: a hidden one of our own tells it.
int WaylandOutputScale()
{
    SDL_Window* probe = SDL_CreateWindow("", SDL_WINDOWPOS_UNDEFINED, SDL_WINDOWPOS_UNDEFINED, 16, 16,
                                         SDL_WINDOW_HIDDEN | SDL_WINDOW_ALLOW_HIGHDPI);
    if (!probe) return 1;
    int points = 0, pixels = 0;
    SDL_GetWindowSize(probe, &points, nullptr);
    SDL_GetWindowSizeInPixels(probe, &pixels, nullptr);
    SDL_DestroyWindow(probe);
    return points > 0 && pixels >= points ? pixels / points : 1;
}

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
    // A Wayland compositor scales each output itself; GDK_SCALE and the X
    // resources belong to X clients.
    if (OnWayland()) return std::min(PointScale(), kMaxScale);
    if (int gdk = ScaleFromGdk(std::getenv("GDK_SCALE"))) return gdk;
    if (int dpi = ScaleFromXResources()) return dpi;
    return 1;
}

}  // namespace

bool OnWayland()
{
    const char* driver = SDL_GetCurrentVideoDriver();
    return driver && std::strcmp(driver, "wayland") == 0;
}

void RequestScale(int scale, const char* from)
{
    State().requested = scale ? Clamp(scale) : 0;
    State().requestedFrom = from;
    State().decided = 0;
    State().fitted = false;
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

int PointScale()
{
    ScaleState& s = State();
    if (!s.points) {
        if (Headless() || !VideoReady()) return 1;
        s.points = OnWayland() ? WaylandOutputScale() : 1;
    }
    return s.points;
}

int ToPoints(int logical)
{
    int points = PointScale();
    return (ToScreen(logical) + points - 1) / points;
}

int PointsToProgram(int points) { return ToProgram(points * PointScale()); }

bool WorkArea(SDL_Rect* area)
{
    if (Headless() && HeadlessScreenWidth() > 0) {
        *area = {0, 0, HeadlessScreenWidth(), HeadlessScreenHeight()};
        return true;
    }
    if (Headless() || !VideoReady() || SDL_GetDisplayUsableBounds(0, area) != 0 || area->w <= 0 || area->h <= 0)
        return false;
    int points = PointScale();
    *area = {area->x * points, area->y * points, area->w * points, area->h * points};
    return true;
}

int FitScale(int clientWidth, int clientHeight, int frameWidth, int frameHeight)
{
    ScaleState& s = State();
    int before = DisplayScale();
    SDL_Rect area;
    if (s.fitted || !s.decided || !WorkArea(&area)) return before;
    s.fitted = true;
    int scale = before;
    while (scale > kMinScale &&
           (clientWidth * scale + frameWidth > area.w || clientHeight * scale + frameHeight > area.h))
        --scale;
    if (scale == before) return before;
    s.decided = scale;
    if (s.requested && s.requested > scale)
        std::fprintf(stderr,
                     "%s: scale %d (%s) would make the window larger than the screen's work area (%d x %d pixels); "
                     "using scale %d\n",
                     program_invocation_short_name, s.requested, s.requestedFrom ? s.requestedFrom : "asked for",
                     area.w, area.h, scale);
    return before;
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

void SetDisplayScale(int scale) { plat::RequestScale(scale, "SetDisplayScale"); }

}  // namespace PlatformTest
