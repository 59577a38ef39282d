// Frames straight to the X server on SDL's own connection and window.
//
// A frame is one PutImage request of the part that differs from the frame
// sent before, so the server shows all of it or none of it; our pixels are
// copied into the request as it is made, so drawing the next frame cannot
// change one on its way. Nothing waits for the server: SDL's window
// surface would wait for a round trip (XSync) on every frame, a second
// wake-up per tick. Instead, before sending we look whether the server has
// read everything we sent before. If it has not, the frame waits, and
// every later frame replaces it, so a slow server gets the newest picture
// when it is ready for one rather than a queue of old ones. A message to
// ourselves, sent behind the frames, says when that is.
#include "Core.h"
#include "DisplayScale.h"
#include "Presenter.h"

#include <PlatformTest.h>
#include <SDL_syswm.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <sys/ioctl.h>
#include <linux/sockios.h>

#include <algorithm>
#include <cstring>

namespace plat {
namespace {

class XlibPresenter;

struct Shared {
    std::vector<XlibPresenter*> presenters;
    bool filterInstalled = false;
    SDL_EventFilter previousFilter = nullptr;
    void* previousData = nullptr;
    bool holdServer = false;  // test control: the server reads nothing
};

Shared& Common()
{
    static auto* shared = new Shared;
    return *shared;
}

bool Empty(const SDL_Rect& r) { return r.w <= 0 || r.h <= 0; }

SDL_Rect Union(const SDL_Rect& a, const SDL_Rect& b)
{
    if (Empty(a)) return b;
    if (Empty(b)) return a;
    SDL_Rect u;
    SDL_UnionRect(&a, &b, &u);
    return u;
}

// The smallest rectangle within `area` outside which `now` and `before`
// (same size and format) agree.
SDL_Rect Changed(const SDL_Surface* now, const SDL_Surface* before, const SDL_Rect& area)
{
    int bytes = now->format->BytesPerPixel;
    int top = -1, bottom = -1, left = area.x + area.w, right = area.x;
    for (int y = area.y; y < area.y + area.h; ++y) {
        const Uint8* a = static_cast<const Uint8*>(now->pixels) + (size_t)y * now->pitch + (size_t)area.x * bytes;
        const Uint8* b = static_cast<const Uint8*>(before->pixels) + (size_t)y * before->pitch + (size_t)area.x * bytes;
        size_t length = (size_t)area.w * bytes;
        if (std::memcmp(a, b, length) == 0) continue;
        if (top < 0) top = y;
        bottom = y;
        size_t first = 0, last = length;
        while (a[first] == b[first]) ++first;
        while (a[last - 1] == b[last - 1]) --last;
        left = std::min(left, area.x + (int)(first / bytes));
        right = std::max(right, area.x + (int)((last + bytes - 1) / bytes));
    }
    if (top < 0) return SDL_Rect{0, 0, 0, 0};
    return SDL_Rect{left, top, right - left, bottom - top + 1};
}

class XlibPresenter final : public Presenter {
public:
    XlibPresenter(::Display* display, ::Window window, const XWindowAttributes& attributes, Uint32 format)
        : display(display), window(window), visual(attributes.visual), depth(attributes.depth), format(format)
    {
        gc = XCreateGC(display, window, 0, nullptr);
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

    void Show(const SDL_Rect& area, bool onScreen) override
    {
        if (!picture) return;
        if (!onScreen) {
            // An unmapped window keeps nothing: show it whole when it is back.
            Exposed();
            return;
        }
        if (!Ready()) return;
        pending = Union(pending, wholeDue ? SDL_Rect{0, 0, picture->w, picture->h} : Changed(picture, sent, area));
        wholeDue = false;
        if (!Empty(pending)) SendWhenReadable();
    }

    void Exposed() override { wholeDue = true; }

    bool ReadShown(std::vector<uint32_t>* pixels, int* width, int* height) override
    {
        // What the screen shows once the server has caught up.
        XSync(display, False);
        if (!Common().holdServer && !Empty(pending)) Send();
        return ReadPixels(screen, pixels, width, height);
    }

    // The server has read every frame sent before the message.
    void FramesRead()
    {
        fenceOut = false;
        if (!Empty(pending) && !Common().holdServer) Send();
    }

    // The test control let the server go.
    void Released()
    {
        if (!Empty(pending) && !fenceOut) Send();
    }

    ::Window XWindow() const { return window; }
    Atom FenceType() const { return fenceType; }

private:
    Uint32 PictureFormat() override { return format; }

    void PictureReplaced() override
    {
        FreeBuffers();
        wholeDue = true;
        pending = SDL_Rect{0, 0, 0, 0};
    }

    // The copy of what was sent and the desktop-sized pixels, made to the
    // picture's size. At scale 1 they are one and the same.
    bool Ready()
    {
        if (sent) return true;
        int scale = DisplayScale();
        sent = SDL_CreateRGBSurfaceWithFormat(0, picture->w, picture->h, 0, format);
        screen = scale == 1 ? sent
                            : SDL_CreateRGBSurfaceWithFormat(0, picture->w * scale, picture->h * scale, 0, format);
        if (!sent || !screen) {
            FreeBuffers();
            return false;
        }
        image = XCreateImage(display, visual, depth, ZPixmap, 0, static_cast<char*>(screen->pixels), screen->w,
                             screen->h, 32, screen->pitch);
        if (!image) {
            FreeBuffers();
            return false;
        }
        // Our pixels are in this machine's byte order; Xlib turns them
        // round for a server of the other kind.
        image->byte_order = SDL_BYTEORDER == SDL_LIL_ENDIAN ? LSBFirst : MSBFirst;
        return true;
    }

    void FreeBuffers()
    {
        if (image) {
            image->data = nullptr;  // the pixels are the surface's
            XDestroyImage(image);
            image = nullptr;
        }
        if (screen != sent) SDL_FreeSurface(screen);
        SDL_FreeSurface(sent);
        sent = screen = nullptr;
    }

    // Bytes we sent that the server has not read yet (0 if that cannot be
    // told).
    bool ServerBehind()
    {
        if (Common().holdServer) return true;
        int unread = 0;
        if (ioctl(ConnectionNumber(display), SIOCOUTQ, &unread) != 0) return false;
        return unread > 0;
    }

    void SendWhenReadable()
    {
        if (fenceOut) return;  // the server has not caught up yet
        if (!ServerBehind()) {
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
    }

    void Send()
    {
        SDL_Rect box = pending;
        pending = SDL_Rect{0, 0, 0, 0};
        if (!sent || Empty(box)) return;
        int bytes = picture->format->BytesPerPixel;
        for (int y = box.y; y < box.y + box.h; ++y)
            std::memcpy(static_cast<Uint8*>(sent->pixels) + (size_t)y * sent->pitch + (size_t)box.x * bytes,
                        static_cast<const Uint8*>(picture->pixels) + (size_t)y * picture->pitch + (size_t)box.x * bytes,
                        (size_t)box.w * bytes);
        int scale = screen->w / sent->w;
        if (screen != sent) CopyScaled(sent, box, screen, scale);
        DWORD unused;
        (void)Injected("XPutImage", &unused);  // counted, so that tests can see what went out
        XPutImage(display, window, gc, image, box.x * scale, box.y * scale, box.x * scale, box.y * scale,
                  (unsigned)(box.w * scale), (unsigned)(box.h * scale));
        XFlush(display);
    }

    ::Display* display;
    ::Window window;
    Visual* visual;
    int depth;
    Uint32 format;
    GC gc;
    Atom fenceType;
    SDL_Surface* sent = nullptr;
    SDL_Surface* screen = nullptr;
    XImage* image = nullptr;
    SDL_Rect pending = {0, 0, 0, 0};
    bool wholeDue = true;
    bool fenceOut = false;
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

void ReleaseServer()
{
    Common().holdServer = false;
    for (XlibPresenter* p : Common().presenters) p->Released();
}

const bool hooked = (AddResetHook(ReleaseServer), true);

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
    // has a format for (nearly every desktop); anything else goes through SDL.
    int bits = 0, count = 0;
    if (XPixmapFormatValues* formats = XListPixmapFormats(display, &count)) {
        for (int i = 0; i < count; ++i)
            if (formats[i].depth == attributes.depth) bits = formats[i].bits_per_pixel;
        XFree(formats);
    }
    Visual* visual = attributes.visual;
    if (visual->c_class != TrueColor || (bits != 16 && bits != 32)) return nullptr;
    Uint32 format =
        SDL_MasksToPixelFormatEnum(bits, (Uint32)visual->red_mask, (Uint32)visual->green_mask, (Uint32)visual->blue_mask, 0);
    if (format == SDL_PIXELFORMAT_UNKNOWN) return nullptr;
    InstallFilter();
    return new XlibPresenter(display, info.info.x11.window, attributes, format);
}

}  // namespace plat

namespace PlatformTest {

void HoldDisplayServer(bool hold)
{
    if (hold)
        plat::Common().holdServer = true;
    else
        plat::ReleaseServer();
}

}  // namespace PlatformTest
