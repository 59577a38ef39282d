// Frames through SDL: every backend's default (Backend.h), Wayland's and
// headless mode's (SDL's dummy driver).
//
// The dummy driver and X11 give a window surface in the window's pixels,
// drawn into directly. Wayland has none of its own: SDL makes one through a
// renderer, which the layer turns off for X11's sake (see Core.cpp), and
// which has the window's size in SDL's units, not in the pixels of a dense
// output. There the frames go through a renderer of our own and a texture
// of the window's size in the output's pixels, copied one to one, so that
// each program pixel is an exact square of them.
#include "Backend.h"
#include "Presenter.h"

#include <errno.h>

#include <cstdio>

namespace plat {
namespace {

class SdlPresenter final : public Presenter {
public:
    SdlPresenter(SDL_Window* window, bool throughRenderer) : Presenter(window)
    {
        if (!throughRenderer) return;
        // No wait for the compositor's frame: the game paces itself.
        renderer = SDL_CreateRenderer(window, -1, 0);
        if (!renderer)
            std::fprintf(stderr, "%s: cannot draw on the Wayland display: %s\n", program_invocation_short_name,
                         SDL_GetError());
    }

    ~SdlPresenter() override
    {
        if (texture) SDL_DestroyTexture(texture);
        if (renderer) SDL_DestroyRenderer(renderer);
        SDL_FreeSurface(drawn);
    }

    // The changes go into the window's pixels at once; a window that is
    // not on the screen shows them when it is again.
    void Present(bool onScreen) override
    {
        SDL_Rect area = Update();
        if (area.w > 0) SDL_UnionRect(&waiting, &area, &waiting);
        if (!onScreen || waiting.w == 0) return;
        Show(waiting);
    }

    // The desktop lost what the window showed: all of it again, from the
    // pixels kept.
    void Exposed() override
    {
        Update();
        if (SDL_Surface* screen = Screen()) Show(SDL_Rect{0, 0, screen->w, screen->h});
    }

    // A Wayland window's frame (title, buttons, shadow) is drawn by SDL in
    // parts that the compositor shows only with the window's next picture:
    // when the window is first mapped, and on every change of focus.
    void WindowChanged() override
    {
        bool shown = (SDL_GetWindowFlags(sdlWindow) & SDL_WINDOW_SHOWN) != 0;
        if (renderer && texture && shownOnce && shown) Show(SDL_Rect{0, 0, drawn->w, drawn->h});
    }

    bool ReadShown(std::vector<uint32_t>* pixels, int* width, int* height) override
    {
        return ReadPixels(Screen(), pixels, width, height);
    }

private:
    Uint32 PictureFormat() override
    {
        if (renderer) return SDL_PIXELFORMAT_RGB888;
        // The screen's own format, so that what is drawn is what is shown.
        SDL_Surface* screen = SDL_GetWindowSurface(sdlWindow);
        return screen ? screen->format->format : (Uint32)SDL_PIXELFORMAT_RGB888;
    }
    void PictureReplaced() override {}

    // The window's pixels: SDL's window surface, or ours for the texture.
    SDL_Surface* Screen()
    {
        if (!renderer) return SDL_GetWindowSurface(sdlWindow);
        return drawn;
    }

    // Puts what changed into the window's pixels, after a look at the
    // window's size; the part of the client covered (empty: none).
    SDL_Rect Update()
    {
        if (!picture) return SDL_Rect{0, 0, 0, 0};
        bool moved = PlaceAgain();
        const Placement& placed = Placed();
        SDL_Surface* screen = Screen();
        if (renderer && (!screen || screen->w != placed.clientWidth || screen->h != placed.clientHeight)) {
            SDL_FreeSurface(drawn);
            if (texture) SDL_DestroyTexture(texture);
            drawn = SDL_CreateRGBSurfaceWithFormat(0, placed.clientWidth, placed.clientHeight, 0, SDL_PIXELFORMAT_RGB888);
            texture = SDL_CreateTexture(renderer, SDL_PIXELFORMAT_RGB888, SDL_TEXTUREACCESS_STREAMING,
                                        placed.clientWidth, placed.clientHeight);
            if (texture) SDL_SetTextureScaleMode(texture, SDL_ScaleModeNearest);
            screen = drawn;
            moved = true;
        }
        if (!screen) return SDL_Rect{0, 0, 0, 0};
        // SDL makes the window surface anew when the window's size changed.
        if (screen != lastScreen) {
            lastScreen = screen;
            if (!moved) PlaceAgain();
            moved = true;
        }
        SDL_Rect client = {0, 0, screen->w, screen->h};
        if (moved) {
            SDL_FillRect(screen, nullptr, 0);
            waiting = client;
        }
        if (!AnyChanged()) return SDL_Rect{0, 0, 0, 0};
        std::vector<SDL_Rect> parts = TakeChanged();
        for (const SDL_Rect& r : parts) CopyScaled(picture, r, screen, placed.scale, placed.at);
        SDL_Rect all = Bounds(parts), shown;
        all = {placed.at.x + all.x * placed.scale, placed.at.y + all.y * placed.scale, all.w * placed.scale,
               all.h * placed.scale};
        if (!SDL_IntersectRect(&all, &client, &shown)) return SDL_Rect{0, 0, 0, 0};
        if (texture) {
            // After a move the black around the picture is new too.
            SDL_Rect upload = moved ? client : shown;
            const Uint8* from = static_cast<const Uint8*>(drawn->pixels) + (size_t)upload.y * drawn->pitch +
                                (size_t)upload.x * drawn->format->BytesPerPixel;
            SDL_UpdateTexture(texture, &upload, from, drawn->pitch);
        }
        return shown;
    }

    void Show(SDL_Rect area)
    {
        waiting = SDL_Rect{0, 0, 0, 0};
        if (!renderer) {
            SDL_UpdateWindowSurfaceRects(sdlWindow, &area, 1);
            return;
        }
        // A Wayland window appears with the first picture it is given.
        if (!texture) return;
        shownOnce = true;
        SDL_RenderCopy(renderer, texture, nullptr, nullptr);
        SDL_RenderPresent(renderer);
    }

    bool shownOnce = false;
    SDL_Renderer* renderer = nullptr;
    SDL_Texture* texture = nullptr;
    SDL_Surface* drawn = nullptr;  // with the renderer: the window's pixels
    SDL_Surface* lastScreen = nullptr;
    SDL_Rect waiting = {0, 0, 0, 0};  // changed, not yet shown
};

}  // namespace

Presenter* NewSdlPresenter(SDL_Window* window, bool throughRenderer)
{
    return new SdlPresenter(window, throughRenderer);
}

}  // namespace plat
