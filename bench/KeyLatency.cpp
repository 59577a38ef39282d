// vorblox-key-latency WINDOW [PRESSES]
// How long a key takes to show on the screen, by the X server's own clock:
// presses Left and Right in turn in WINDOW (with XTest, as a keyboard
// would), each after a pause of random length so that presses fall on every
// part of the game's tick, and for each takes the time of the key event in
// the server (the KeyPress this connection hears) to the first change of the
// window's picture after it (XDamage). Prints one line of milliseconds:
//   key_latency_ms presses=N median=M p90=P p99=Q max=X
// The game should be playing a piece that can move both ways. The server's
// clock counts whole milliseconds. A piece falling by itself within the
// wait is counted as the press's picture, which can only shorten a figure.
#include <X11/Xlib.h>
#include <X11/extensions/Xdamage.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <random>
#include <unistd.h>
#include <vector>

namespace {

const char* const usage = "usage: vorblox-key-latency WINDOW [PRESSES]\n";

// Waits for the next event of the type asked for (Damage's is `damageEvent`),
// up to `timeoutMs`; false when none came.
bool NextEvent(Display* display, int type, XEvent* event, int timeoutMs)
{
    timespec start, now;
    clock_gettime(CLOCK_MONOTONIC, &start);
    do {
        while (XPending(display)) {
            XNextEvent(display, event);
            if (event->type == type) return true;
        }
        usleep(100);
        clock_gettime(CLOCK_MONOTONIC, &now);
    } while ((now.tv_sec - start.tv_sec) * 1000 + (now.tv_nsec - start.tv_nsec) / 1000000 < timeoutMs);
    return false;
}

double Percentile(const std::vector<double>& sorted, double p)
{
    size_t at = (size_t)(p * (sorted.size() - 1) + 0.5);
    return sorted[std::min(at, sorted.size() - 1)];
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc >= 2 && (!std::strcmp(argv[1], "--help") || !std::strcmp(argv[1], "--version"))) {
        std::printf("%s", !std::strcmp(argv[1], "--help") ? usage : "vorblox-key-latency 1\n");
        return 0;
    }
    if (argc < 2 || argc > 3) {
        std::fprintf(stderr, "%s", usage);
        return 2;
    }
    char* end = nullptr;
    Window window = std::strtoul(argv[1], &end, 0);
    int presses = argc == 3 ? std::atoi(argv[2]) : 300;
    if (*end || !window || presses < 1) {
        std::fprintf(stderr, "%s", usage);
        return 2;
    }
    Display* display = XOpenDisplay(nullptr);
    if (!display) {
        std::fprintf(stderr, "vorblox-key-latency: no X display\n");
        return 2;
    }
    int damageEvent, damageError, xtest[4];
    if (!XDamageQueryExtension(display, &damageEvent, &damageError) ||
        !XTestQueryExtension(display, &xtest[0], &xtest[1], &xtest[2], &xtest[3])) {
        std::fprintf(stderr, "vorblox-key-latency: the X server has no XDamage or XTest\n");
        return 2;
    }
    XSelectInput(display, window, KeyPressMask);
    Damage damage = XDamageCreate(display, window, XDamageReportRawRectangles);
    XSync(display, False);
    const KeyCode keys[2] = {XKeysymToKeycode(display, XK_Left), XKeysymToKeycode(display, XK_Right)};
    std::mt19937 random(29);
    std::uniform_int_distribution<int> pauseUs(40000, 90000);
    std::vector<double> latencies;
    for (int i = 0; i < presses; ++i) {
        usleep(pauseUs(random));
        // What came before the press is not its picture.
        XSync(display, True);
        XTestFakeKeyEvent(display, keys[i % 2], True, CurrentTime);
        XFlush(display);
        XEvent event;
        if (!NextEvent(display, KeyPress, &event, 1000)) {
            std::fprintf(stderr, "vorblox-key-latency: the key never reached window 0x%lx\n", window);
            return 1;
        }
        Time pressed = event.xkey.time;
        bool shown = NextEvent(display, damageEvent + XDamageNotify, &event, 1000);
        XTestFakeKeyEvent(display, keys[i % 2], False, CurrentTime);
        XFlush(display);
        if (!shown) continue;
        Time drawn = reinterpret_cast<XDamageNotifyEvent*>(&event)->timestamp;
        latencies.push_back((double)(long)(drawn - pressed));
        usleep(20000);
    }
    XDamageDestroy(display, damage);
    XCloseDisplay(display);
    if (latencies.size() < (size_t)presses / 2) {
        std::fprintf(stderr, "vorblox-key-latency: only %zu of %d presses changed the picture\n", latencies.size(),
                     presses);
        return 1;
    }
    std::sort(latencies.begin(), latencies.end());
    std::printf("key_latency_ms presses=%zu median=%.0f p90=%.0f p99=%.0f max=%.0f\n", latencies.size(),
                Percentile(latencies, 0.5), Percentile(latencies, 0.9), Percentile(latencies, 0.99), latencies.back());
    return 0;
}
