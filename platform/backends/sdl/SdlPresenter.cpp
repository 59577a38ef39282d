// Frames through SDL's window surface: where the desktop is not X11
// (Wayland) and in headless mode (SDL's dummy driver).
#include "DisplayScale.h"
#include "Presenter.h"

namespace plat {
namespace {

class SdlPresenter final : public Presenter {
public:
    explicit SdlPresenter(SDL_Window* window) : window(window) {}

    void Present(bool onScreen) override
    {
        SDL_Surface* screen = SDL_GetWindowSurface(window);
        if (!picture || !screen || !AnyChanged()) return;
        SDL_Rect area = Bounds(TakeChanged());
        int scale = DisplayScale();
        CopyScaled(picture, area, screen, scale);
        if (!onScreen) return;
        SDL_Rect shown = {area.x * scale, area.y * scale, area.w * scale, area.h * scale};
        SDL_UpdateWindowSurfaceRects(window, &shown, 1);
    }

    void Exposed() override {}

    bool ReadShown(std::vector<uint32_t>* pixels, int* width, int* height) override
    {
        return ReadPixels(SDL_GetWindowSurface(window), pixels, width, height);
    }

private:
    Uint32 PictureFormat() override
    {
        // The screen's own format, so that what is drawn is what is shown.
        SDL_Surface* screen = SDL_GetWindowSurface(window);
        return screen ? screen->format->format : (Uint32)SDL_PIXELFORMAT_RGB888;
    }
    void PictureReplaced() override {}

    SDL_Window* window;
};

}  // namespace

Presenter* NewSdlPresenter(SDL_Window* window) { return new SdlPresenter(window); }

}  // namespace plat
