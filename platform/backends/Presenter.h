// Puts a window's client area on the screen. The program draws into a
// picture of the client area in its own pixels; the presenter shows it in
// the desktop's pixels, enlarged by the display scale, nearest pixel.
// Whatever size the desktop gives the window (a screen too small, a tiling
// window manager), the program keeps its own client size and the picture
// is shown whole: at the largest whole scale that fits, centred, the rest
// black.
// What changed is kept as marks on tiles of the picture, so that a frame
// that differs from the last in a few places sends only those.
#ifndef VORBLOX_PLATFORM_PRESENTER_H
#define VORBLOX_PLATFORM_PRESENTER_H

#include "TileMarks.h"

#include <SDL.h>

#include <cstdint>
#include <vector>

namespace plat {

// Where the picture lies in the client area as the desktop has it, in the
// desktop's pixels.
struct Placement {
    int scale = 0;           // 0: not placed yet
    SDL_Point at = {0, 0};   // its top-left corner; negative when cut
    int clientWidth = 0;
    int clientHeight = 0;
    bool operator==(const Placement& o) const
    {
        return scale == o.scale && at.x == o.at.x && at.y == o.at.y && clientWidth == o.clientWidth &&
               clientHeight == o.clientHeight;
    }
};

// A picture of `width` x `height` program pixels in a client area of
// `clientWidth` x `clientHeight` desktop pixels: enlarged by the largest
// whole factor at which it fits (at least 1), centred.
Placement PlacePicture(int width, int height, int clientWidth, int clientHeight);

class Presenter {
public:
    explicit Presenter(SDL_Window* window) : sdlWindow(window) {}
    virtual ~Presenter();

    // The client area's pixels, `width` x `height` program pixels; made
    // anew (black, all to be shown) when the size changed.
    SDL_Surface* Picture(int width, int height);
    // Copies `from` of `source` (the picture's format) to x, y of the
    // picture, marking only the tiles whose pixels change. The rectangle
    // must lie inside both.
    void CopyIn(SDL_Surface* source, const SDL_Rect& from, int x, int y);
    // The same for a surface's frame. `*taken` is the surface's: the number
    // of the copy that last took it (0: none), set anew here. When that was
    // this picture's last copy, from and to the same place, and nothing
    // else drew since, only the tiles `drawn` marks on the surface (drawn
    // on since then) can differ, and only they are compared.
    void CopyFrame(SDL_Surface* source, const TileMarks& drawn, unsigned long* taken, const SDL_Rect& from, int x,
                   int y);
    // `area` of the picture was drawn on.
    void Changed(const SDL_Rect& area);
    // Shows what changed since the last frame, or keeps it for later.
    virtual void Present(bool onScreen) = 0;
    // The desktop lost what the window showed.
    virtual void Exposed() = 0;
    // The desktop did something to the window (showed, moved, focused it).
    virtual void WindowChanged() {}
    // What the window shows, in the desktop's pixels, as 0x00RRGGBB.
    virtual bool ReadShown(std::vector<uint32_t>* pixels, int* width, int* height) = 0;
    // A point of the client area in the desktop's pixels as one of the
    // picture, in program pixels (rounded towards minus infinity).
    SDL_Point ToPicture(int x, int y) const;

protected:
    virtual Uint32 PictureFormat() = 0;
    // The picture is about to be replaced: the buffers made for it are void.
    virtual void PictureReplaced() = 0;

    // Looks at the client area's size on the desktop. True when the
    // picture's place in it changed since the last look (or this is the
    // first): what the window showed is void, and all of the picture is
    // marked to be shown again.
    bool PlaceAgain();
    const Placement& Placed() const { return placed; }
    // `pixels` (the picture as shown, enlarged) padded or cut to the whole
    // client area, black around.
    void FrameInClient(std::vector<uint32_t>* pixels, int* width, int* height) const;

    bool AnyChanged() const { return changed.Any(); }
    // The changed parts as rectangles (runs of marked tiles, row by row),
    // cut to the picture; the marks are cleared.
    std::vector<SDL_Rect> TakeChanged();

    SDL_Window* const sdlWindow;
    SDL_Surface* picture = nullptr;

private:
    Placement placed;
    // The tiles of the picture changed since the last frame was shown.
    TileMarks changed;
    // The number of the last CopyFrame, while nothing else drew since (0:
    // anything else), and where it copied from and to.
    unsigned long frameTaken = 0;
    SDL_Rect frameFrom = {0, 0, 0, 0};
    SDL_Point frameAt = {0, 0};
};

// The presenter for an SDL window: the current backend's (Backend.h), such
// as straight to the X server when SDL runs on X11, into the page's canvas
// in the browser, else through SDL's window surface.
Presenter* NewPresenter(SDL_Window* window);
// The flags SDL's windows need for the presenters: dense pixels where the
// desktop has them, and what the backend needs besides (OpenGL on Wayland,
// where SDL can draw only through it).
Uint32 PresenterWindowFlags();

// `surface` as 0x00RRGGBB pixels.
bool ReadPixels(SDL_Surface* surface, std::vector<uint32_t>* pixels, int* width, int* height);
// `area` of `from` enlarged by `scale` into `to`, nearest pixel, with the
// picture's corner at `at` of `to`; cut to `to`.
void CopyScaled(SDL_Surface* from, const SDL_Rect& area, SDL_Surface* to, int scale, SDL_Point at = {0, 0});
SDL_Rect Bounds(const std::vector<SDL_Rect>& rects);

}  // namespace plat

#endif
