// A window manager as a tiling one behaves to a program: every top-level
// window gets the tile, whatever size it asks for, and a request for
// another size is answered with the tile again (as ICCCM has a window
// manager answer a request it refuses).
// usage: tiling-wm X Y WIDTH HEIGHT   (runs until killed)
#include <X11/Xlib.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

bool otherManager = false;

int NoteOtherManager(Display*, XErrorEvent*)
{
    otherManager = true;
    return 0;
}

void GiveTile(Display* display, Window window, int x, int y, unsigned width, unsigned height)
{
    XMoveResizeWindow(display, window, x, y, width, height);
    XEvent answer;
    std::memset(&answer, 0, sizeof answer);
    answer.xconfigure.type = ConfigureNotify;
    answer.xconfigure.event = window;
    answer.xconfigure.window = window;
    answer.xconfigure.x = x;
    answer.xconfigure.y = y;
    answer.xconfigure.width = (int)width;
    answer.xconfigure.height = (int)height;
    XSendEvent(display, window, False, StructureNotifyMask, &answer);
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 5) {
        std::fprintf(stderr, "usage: tiling-wm X Y WIDTH HEIGHT\n");
        return 2;
    }
    int x = std::atoi(argv[1]), y = std::atoi(argv[2]);
    unsigned width = (unsigned)std::atoi(argv[3]), height = (unsigned)std::atoi(argv[4]);
    Display* display = XOpenDisplay(nullptr);
    if (!display) {
        std::fprintf(stderr, "tiling-wm: no display\n");
        return 1;
    }
    XSetErrorHandler(NoteOtherManager);
    XSelectInput(display, DefaultRootWindow(display), SubstructureRedirectMask | SubstructureNotifyMask);
    XSync(display, False);
    if (otherManager) {
        std::fprintf(stderr, "tiling-wm: another window manager runs\n");
        return 1;
    }
    std::printf("ready\n");
    std::fflush(stdout);
    for (;;) {
        XEvent event;
        XNextEvent(display, &event);
        if (event.type == MapRequest) {
            GiveTile(display, event.xmaprequest.window, x, y, width, height);
            XMapWindow(display, event.xmaprequest.window);
        } else if (event.type == ConfigureRequest) {
            GiveTile(display, event.xconfigurerequest.window, x, y, width, height);
        }
        XFlush(display);
    }
}
