// Frames straight to the X server on SDL's own connection and window.
//
// The window shows a pixmap of its size on the server. A frame puts the
// changed tiles into the pixmap and then copies the part they cover to the
// window in one request, so the server shows all of the frame or none of
// it; our pixels are copied into the requests as they are made, so drawing
// the next frame cannot change one on its way. Nothing waits for the
// server: SDL's window surface would wait for a round trip (XSync) on
// every frame, a second wake-up per tick. Instead, before sending we look
// whether the server has read everything we sent before. If it has not,
// the changes wait and gather, so a slow server gets the newest picture
// when it is ready for one rather than a queue of old ones. A message to
// ourselves, sent behind the frames, says when that is.
#include "Clock.h"
#include "DisplayConnection.h"
#include "DisplayScale.h"
#include "Presenter.h"
#include "ServerHold.h"
#include "X11Backend.h"

#include <SDL_syswm.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <linux/sockios.h>
#include <sys/ioctl.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace plat {
namespace {

class XlibPresenter;

struct Shared {
    std::vector<XlibPresenter*> presenters;
    bool filterInstalled = false;
    SDL_EventFilter previousFilter = nullptr;
    void* previousData = nullptr;
};

// How long a message to ourselves may take before the unread bytes alone
// decide (nanoseconds on the layer's clock).
const ULONGLONG kFencePatience = 250000000;

// VORBLOX_X11_FRAME_GATE=off sends every frame at once, unread bytes or
// not: the gate's cost and worth are measured against it (bench/README.md).
// Read once: a gate that came and went mid-game would leave a message out.
bool FrameGateOn()
{
    static const bool on = [] {
        const char* value = std::getenv("VORBLOX_X11_FRAME_GATE");
        if (!value || !*value || !std::strcmp(value, "on")) return true;
        if (!std::strcmp(value, "off")) return false;
        std::fprintf(stderr, "vorblox: VORBLOX_X11_FRAME_GATE=%s is neither on nor off; the gate stays on\n", value);
        return true;
    }();
    return on;
}

Shared& Common()
{
    static auto* shared = new Shared;
    return *shared;
}

class XlibPresenter final : public Presenter {
public:
    XlibPresenter(SDL_Window* sdl, ::Display* display, ::Window window, const XWindowAttributes& attributes,
                  Uint32 format)
        : Presenter(sdl), display(display), window(window), visual(attributes.visual), depth(attributes.depth),
          format(format)
    {
        // What the picture leaves of a client the desktop made larger is
        // black, painted by the server itself.
        XSetWindowBackground(display, window, 0);
        // No word back from the server after each copy (NoExpose): it would
        // wake the program once more every frame.
        XGCValues values;
        values.graphics_exposures = False;
        gc = XCreateGC(display, window, GCGraphicsExposures, &values);
        fenceType = XInternAtom(display, "_VORBLOX_FRAMES_READ", False);
        Common().presenters.push_back(this);
    }

    ~XlibPresenter() override
    {
        auto& all = Common().presenters;
        all.erase(std::remove(all.begin(), all.end(), this), all.end());
        FreeBuffers();
        XFreeGC(display, gc);
    }

    // Also while the window is not mapped: the pixmap keeps the picture.
    void Present(bool) override
    {
        // Should the message never come back (someone else took SDL's event
        // filter), the unread bytes alone decide after a while.
        if (fenceOut && Now() - fenceSentAt >= kFencePatience && !ServerBehind()) fenceOut = false;
        if (!picture || !AnyChanged() || fenceOut || !Ready()) return;
        if (!FrameGateOn() || !ServerBehind()) {
            Send();
            return;
        }
        // Behind the unread frames goes a message to ourselves; when it
        // arrives the server has read them all and can take the newest.
        XEvent fence;
        std::memset(&fence, 0, sizeof fence);
        fence.xclient.type = ClientMessage;
        fence.xclient.window = window;
        fence.xclient.message_type = fenceType;
        fence.xclient.format = 32;
        XSendEvent(display, window, False, NoEventMask, &fence);
        XFlush(display);
        fenceOut = true;
        fenceSentAt = Now();
    }

    void Exposed() override
    {
        // The client's size changed: the picture goes to its new place.
        if (picture && pixmap && PlaceAgain()) {
            Replace();
            Present(true);
            return;
        }
        // The server still has the picture; no need to wait for the program.
        if (!pixmap || !everSent) return;
        XCopyArea(display, pixmap, window, gc, 0, 0, (unsigned)screen->w, (unsigned)screen->h, Placed().at.x,
                  Placed().at.y);
        XFlush(display);
    }

    bool ReadShown(std::vector<uint32_t>* pixels, int* width, int* height) override
    {
        // What the server holds for the window, once it has caught up; a
        // server held by the test control would never answer.
        if (DisplayServerHeld()) return false;
        CatchUp();
        if (!pixmap || !everSent) return false;
        XImage* shown = XGetImage(display, pixmap, 0, 0, (unsigned)screen->w, (unsigned)screen->h, AllPlanes, ZPixmap);
        if (!shown) return false;
        SDL_Surface* wrapped = SDL_CreateRGBSurfaceWithFormatFrom(shown->data, shown->width, shown->height,
                                                                  shown->bits_per_pixel, shown->bytes_per_line, format);
        int w = 0, h = 0;
        bool ok = ReadPixels(wrapped, pixels, &w, &h);
        SDL_FreeSurface(wrapped);
        XDestroyImage(shown);
        if (ok) FrameInClient(pixels, &w, &h);
        if (width) *width = w;
        if (height) *height = h;
        return ok;
    }

    // The server has read every frame sent before the message.
    void FramesRead()
    {
        fenceOut = false;
        if (AnyChanged() && Ready()) Send();
    }

    // Waits for the server to read everything, then sends what waits (for
    // the test controls).
    void CatchUp()
    {
        XSync(display, False);
        fenceOut = false;  // the message may still come: it finds nothing to do
        if (AnyChanged() && Ready()) Send();
    }

    ::Window XWindow() const { return window; }
    Atom FenceType() const { return fenceType; }

private:
    Uint32 PictureFormat() override { return format; }

    void PictureReplaced() override { FreeBuffers(); }

    // The pixmap, and the desktop-sized pixels the requests are made from
    // (at scale 1 the picture's own).
    bool Ready()
    {
        if (PlaceAgain()) Replace();
        if (pixmap) return true;
        int scale = Placed().scale;
        screen = scale == 1 ? picture
                            : SDL_CreateRGBSurfaceWithFormat(0, picture->w * scale, picture->h * scale, 0, format);
        if (!screen) return false;
        image = XCreateImage(display, visual, depth, ZPixmap, 0, static_cast<char*>(screen->pixels), screen->w,
                             screen->h, 32, screen->pitch);
        if (!image) {
            FreeBuffers();
            return false;
        }
        // Our pixels are in this machine's byte order; Xlib turns them
        // round for a server of the other kind.
        image->byte_order = SDL_BYTEORDER == SDL_LIL_ENDIAN ? LSBFirst : MSBFirst;
        pixmap = XCreatePixmap(display, window, (unsigned)screen->w, (unsigned)screen->h, (unsigned)depth);
        everSent = false;
        return true;
    }

    // The picture's place in the window changed: new buffers, and the
    // window black until the picture is sent again.
    void Replace()
    {
        FreeBuffers();
        XClearWindow(display, window);
    }

    void FreeBuffers()
    {
        if (image) {
            image->data = nullptr;  // the pixels are the surface's
            XDestroyImage(image);
            image = nullptr;
        }
        if (pixmap) XFreePixmap(display, pixmap);
        pixmap = 0;
        if (screen != picture) SDL_FreeSurface(screen);
        screen = nullptr;
    }

    bool ServerBehind()
    {
        // Bytes we sent that the server has not read yet.
        int unread = 0;
        if (ioctl(ConnectionNumber(display), SIOCOUTQ, &unread) != 0) return false;
        return unread > 0;
    }

    void Send()
    {
        std::vector<SDL_Rect> parts = TakeChanged();
        if (parts.empty()) return;
        int scale = screen->w / picture->w;
        for (const SDL_Rect& r : parts) {
            if (screen != picture) CopyScaled(picture, r, screen, scale);
            XPutImage(display, pixmap, gc, image, r.x * scale, r.y * scale, r.x * scale, r.y * scale,
                      (unsigned)(r.w * scale), (unsigned)(r.h * scale));
        }
        SDL_Rect all = Bounds(parts);
        XCopyArea(display, pixmap, window, gc, all.x * scale, all.y * scale, (unsigned)(all.w * scale),
                  (unsigned)(all.h * scale), Placed().at.x + all.x * scale, Placed().at.y + all.y * scale);
        XFlush(display);
        DisplayFlushed();
        everSent = true;
    }

    ::Display* display;
    ::Window window;
    Visual* visual;
    int depth;
    Uint32 format;
    GC gc;
    Atom fenceType;
    Pixmap pixmap = 0;
    SDL_Surface* screen = nullptr;
    XImage* image = nullptr;
    bool everSent = false;
    bool fenceOut = false;
    ULONGLONG fenceSentAt = 0;
};

// Runs inside SDL's reading of the connection, whoever made SDL read: the
// message arrives while the program sleeps, and the waiting frame goes out
// then, not at the program's next frame.
int SDLCALL WatchFences(void* data, SDL_Event* event)
{
    Shared& shared = Common();
    (void)data;
    if (event->type != SDL_SYSWMEVENT)
        return shared.previousFilter ? shared.previousFilter(shared.previousData, event) : 1;
    const SDL_SysWMmsg* message = event->syswm.msg;
    if (message && message->subsystem == SDL_SYSWM_X11 && message->msg.x11.event.type == ClientMessage) {
        const XClientMessageEvent& e = message->msg.x11.event.xclient;
        for (XlibPresenter* p : shared.presenters)
            if (p->XWindow() == e.window && p->FenceType() == e.message_type) p->FramesRead();
    }
    return 0;  // asked for only to see our own messages
}

void InstallFilter()
{
    Shared& shared = Common();
    if (shared.filterInstalled) return;
    shared.filterInstalled = true;
    SDL_GetEventFilter(&shared.previousFilter, &shared.previousData);
    SDL_SetEventFilter(WatchFences, nullptr);
    SDL_EventState(SDL_SYSWMEVENT, SDL_ENABLE);
}

}  // namespace

Presenter* NewXlibPresenter(SDL_Window* sdlWindow)
{
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (!SDL_GetWindowWMInfo(sdlWindow, &info) || info.subsystem != SDL_SYSWM_X11) return nullptr;
    ::Display* display = info.info.x11.display;
    XWindowAttributes attributes;
    if (!XGetWindowAttributes(display, info.info.x11.window, &attributes)) return nullptr;
    // The pixels the window takes as they are: a true-colour visual SDL
    // has a format for (nearly every desktop), or a direct-colour one, which
    // SDL gives a straight colour ramp; anything else goes through SDL.
    int bits = 0, count = 0;
    if (XPixmapFormatValues* formats = XListPixmapFormats(display, &count)) {
        for (int i = 0; i < count; ++i)
            if (formats[i].depth == attributes.depth) bits = formats[i].bits_per_pixel;
        XFree(formats);
    }
    Visual* visual = attributes.visual;
    if ((visual->c_class != TrueColor && visual->c_class != DirectColor) || (bits != 16 && bits != 32)) return nullptr;
    Uint32 format =
        SDL_MasksToPixelFormatEnum(bits, (Uint32)visual->red_mask, (Uint32)visual->green_mask, (Uint32)visual->blue_mask, 0);
    if (format == SDL_PIXELFORMAT_UNKNOWN) return nullptr;
    InstallFilter();
    return new XlibPresenter(sdlWindow, display, info.info.x11.window, attributes, format);
}

}  // namespace plat
