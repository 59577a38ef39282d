// vorblox-first-frame X Y W H PROGRAM [ARGS...]
// Starts PROGRAM and watches the screen rectangle (on a black screen) until
// anything is drawn in it; prints "first_frame_ms=T pid=P" and leaves the
// program running. The program itself is not touched: the time is what a
// person would see, at a 1 ms polling interval.
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <stdio.h>
#include <stdlib.h>
#include <time.h>
#include <unistd.h>

namespace {

double Milliseconds()
{
    timespec now;
    clock_gettime(CLOCK_MONOTONIC, &now);
    return now.tv_sec * 1e3 + now.tv_nsec * 1e-6;
}

bool AnythingDrawn(Display* display, int x, int y, int w, int h)
{
    XImage* image = XGetImage(display, DefaultRootWindow(display), x, y, w, h, AllPlanes, ZPixmap);
    if (!image) return false;
    bool drawn = false;
    for (int row = 0; row < h && !drawn; ++row)
        for (int column = 0; column < w && !drawn; ++column) drawn = XGetPixel(image, column, row) != 0;
    XDestroyImage(image);
    return drawn;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 6) {
        fprintf(stderr, "usage: vorblox-first-frame X Y W H PROGRAM [ARGS...]\n");
        return 2;
    }
    int x = atoi(argv[1]), y = atoi(argv[2]), w = atoi(argv[3]), h = atoi(argv[4]);
    Display* display = XOpenDisplay(nullptr);
    if (!display) {
        fprintf(stderr, "vorblox-first-frame: no X display\n");
        return 2;
    }
    if (AnythingDrawn(display, x, y, w, h)) {
        fprintf(stderr, "vorblox-first-frame: the screen is not black to begin with\n");
        return 2;
    }
    double start = Milliseconds();
    pid_t child = fork();
    if (child == 0) {
        // Our output is the one line below; the program's goes to stderr.
        dup2(2, 1);
        execvp(argv[5], argv + 5);
        _exit(127);
    }
    const double limitMs = 20000;
    while (Milliseconds() - start < limitMs) {
        if (AnythingDrawn(display, x, y, w, h)) {
            printf("first_frame_ms=%.1f pid=%d\n", Milliseconds() - start, (int)child);
            return 0;
        }
        usleep(1000);
    }
    printf("first_frame_ms=timeout pid=%d\n", (int)child);
    return 1;
}
