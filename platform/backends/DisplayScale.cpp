#include "DisplayScale.h"

#include "Backend.h"
#include "Core.h"

#include <errno.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

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

struct HeadlessScreen {
    int width = 0, height = 0;
};

HeadlessScreen& Screen()
{
    static auto* screen = new HeadlessScreen;
    return *screen;
}

void ForgetDecision()
{
    State() = ScaleState();
    Screen() = HeadlessScreen();
}
const bool hooked = (AddResetHook(ForgetDecision), true);

int Clamp(long value) { return value < kMinScale ? kMinScale : value > kMaxScale ? kMaxScale : (int)value; }

int DesktopScale()
{
    const Backend& backend = CurrentBackend();
    int scale = backend.DesktopScale ? backend.DesktopScale() : ScaleFromGdk(std::getenv("GDK_SCALE"));
    return scale ? scale : 1;
}

}  // namespace

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
        const Backend& backend = CurrentBackend();
        s.points = backend.PointScale ? backend.PointScale() : 1;
    }
    return s.points;
}

void SetHeadlessScreen(int width, int height) { Screen() = HeadlessScreen{width, height}; }
int HeadlessScreenWidth() { return Screen().width; }
int HeadlessScreenHeight() { return Screen().height; }

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
