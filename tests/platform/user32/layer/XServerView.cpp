#include "XServerView.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <dlfcn.h>

#include <string.h>

namespace {

int framesSent = 0;
int messagesSent = 0;

// Where a top-level window's contents lie on the root window.
bool FindWindow(::Display* display, ::Window root, const char* title, ::Window* found)
{
    ::Window parent, *children = nullptr;
    unsigned count = 0;
    if (!XQueryTree(display, root, &root, &parent, &children, &count)) return false;
    bool ok = false;
    for (unsigned i = 0; i < count && !ok; ++i) {
        char* name = nullptr;
        if (XFetchName(display, children[i], &name) && name) {
            ok = strcmp(name, title) == 0;
            XFree(name);
        }
        if (ok) *found = children[i];
    }
    if (children) XFree(children);
    return ok;
}

// Bits of `value` under `mask`, scaled to 8.
uint32_t Channel(unsigned long value, unsigned long mask)
{
    if (!mask) return 0;
    int shift = 0;
    while (!((mask >> shift) & 1)) ++shift;
    unsigned long top = mask >> shift;
    return (uint32_t)(((value & mask) >> shift) * 255 / top);
}

}  // namespace

extern "C" int XCopyArea(::Display* display, Drawable from, Drawable to, GC gc, int sourceX, int sourceY,
                         unsigned width, unsigned height, int x, int y)
{
    typedef int (*Real)(::Display*, Drawable, Drawable, GC, int, int, unsigned, unsigned, int, int);
    static Real real = (Real)dlsym(RTLD_NEXT, "XCopyArea");
    ++framesSent;
    return real(display, from, to, gc, sourceX, sourceY, width, height, x, y);
}

extern "C" Status XSendEvent(::Display* display, ::Window window, Bool propagate, long mask, XEvent* event)
{
    typedef Status (*Real)(::Display*, ::Window, Bool, long, XEvent*);
    static Real real = (Real)dlsym(RTLD_NEXT, "XSendEvent");
    if (event && event->type == ClientMessage) ++messagesSent;
    return real(display, window, propagate, mask, event);
}

namespace xview {

int FramesSent() { return framesSent; }
int MessagesSent() { return messagesSent; }

bool ReadScreen(const char* title, std::vector<uint32_t>* pixels, int* width, int* height)
{
    ::Display* display = XOpenDisplay(nullptr);
    if (!display) return false;
    ::Window root = DefaultRootWindow(display), window = 0, child;
    XWindowAttributes a;
    int x = 0, y = 0;
    bool ok = FindWindow(display, root, title, &window) && XGetWindowAttributes(display, window, &a) &&
              a.map_state == IsViewable && XTranslateCoordinates(display, window, root, 0, 0, &x, &y, &child) &&
              x >= 0 && y >= 0 && x + a.width <= DisplayWidth(display, 0) && y + a.height <= DisplayHeight(display, 0);
    XImage* image = ok ? XGetImage(display, root, x, y, (unsigned)a.width, (unsigned)a.height, AllPlanes, ZPixmap)
                       : nullptr;
    if (image) {
        pixels->clear();
        for (int row = 0; row < a.height; ++row)
            for (int column = 0; column < a.width; ++column) {
                unsigned long p = XGetPixel(image, column, row);
                pixels->push_back(Channel(p, image->red_mask) << 16 | Channel(p, image->green_mask) << 8 |
                                  Channel(p, image->blue_mask));
            }
        *width = a.width;
        *height = a.height;
        XDestroyImage(image);
    }
    XCloseDisplay(display);
    return image != nullptr;
}

}  // namespace xview
