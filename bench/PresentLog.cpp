// A preloaded library that notes the time of every frame the program
// presents in the file named by VORBLOX_PRESENT_LOG, one line of
// microseconds each: on X11 the moment the frame starts going to the server
// (its first XPutImage, or its XCopyArea when no picture data goes first),
// elsewhere its SDL window surface update. Taken at the start, a big frame
// (a new game redraws the whole well) is timed when its tick made it, not
// when the server has read it all. The program is not changed: the calls
// are passed on as they are.
#include <dlfcn.h>
#include <fcntl.h>
#include <stdio.h>
#include <stdlib.h>
#include <time.h>
#include <unistd.h>

// Only passed through, never looked into.
struct SDL_Window;
struct SDL_Rect;
struct _XDisplay;
struct _XGC;

namespace {

// The times are kept and written a quarter of a second's worth at a time
// (and at exit): a write and a formatted number on every frame would cost
// the measured program a tenth of a percent of a core, as much as some of
// what is measured. A reader still sees the frames within a quarter second.
class Log {
public:
    ~Log() { Write(); }
    void Note()
    {
        if (fd == -2) {
            const char* path = getenv("VORBLOX_PRESENT_LOG");
            fd = path ? open(path, O_WRONLY | O_CREAT | O_APPEND, 0644) : -1;
        }
        if (fd < 0) return;
        timespec now;
        clock_gettime(CLOCK_MONOTONIC, &now);
        times[count++] = now.tv_sec * 1000000ll + now.tv_nsec / 1000;
        if (count == kKept) Write();
    }

private:
    static const int kKept = 16;
    void Write()
    {
        if (fd < 0 || count == 0) return;
        char text[kKept * 24];
        int length = 0;
        for (int i = 0; i < count; ++i)
            length += snprintf(text + length, sizeof text - (size_t)length, "%lld\n", times[i]);
        count = 0;
        if (write(fd, text, (size_t)length) != length) fd = -1;
    }
    int fd = -2;
    long long times[kKept];
    int count = 0;
};

Log theLog;

void Note() { theLog.Note(); }

}  // namespace

extern "C" int SDL_UpdateWindowSurfaceRects(SDL_Window* window, const SDL_Rect* rects, int count)
{
    typedef int (*Real)(SDL_Window*, const SDL_Rect*, int);
    static Real real = (Real)dlsym(RTLD_NEXT, "SDL_UpdateWindowSurfaceRects");
    Note();
    return real(window, rects, count);
}

extern "C" int SDL_UpdateWindowSurface(SDL_Window* window)
{
    typedef int (*Real)(SDL_Window*);
    static Real real = (Real)dlsym(RTLD_NEXT, "SDL_UpdateWindowSurface");
    Note();
    return real(window);
}

namespace {
// The frame on its way has been noted already.
bool frameNoted = false;
}  // namespace

extern "C" int XPutImage(_XDisplay* display, unsigned long to, _XGC* gc, void* image, int sourceX, int sourceY, int x,
                         int y, unsigned width, unsigned height)
{
    typedef int (*Real)(_XDisplay*, unsigned long, _XGC*, void*, int, int, int, int, unsigned, unsigned);
    static Real real = (Real)dlsym(RTLD_NEXT, "XPutImage");
    if (!frameNoted) Note();
    frameNoted = true;
    return real(display, to, gc, image, sourceX, sourceY, x, y, width, height);
}

extern "C" int XCopyArea(_XDisplay* display, unsigned long from, unsigned long to, _XGC* gc, int sourceX, int sourceY,
                         unsigned width, unsigned height, int x, int y)
{
    typedef int (*Real)(_XDisplay*, unsigned long, unsigned long, _XGC*, int, int, unsigned, unsigned, int, int);
    static Real real = (Real)dlsym(RTLD_NEXT, "XCopyArea");
    if (!frameNoted) Note();
    frameNoted = false;
    return real(display, from, to, gc, sourceX, sourceY, width, height, x, y);
}
