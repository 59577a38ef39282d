// Puts a window's client area on the screen. The program draws into a
// picture of the client area in its own pixels; the presenter shows it in
// the desktop's pixels, enlarged by the display scale, nearest pixel.
#ifndef VORBLOX_PLATFORM_PRESENTER_H
#define VORBLOX_PLATFORM_PRESENTER_H

#include <SDL.h>

#include <cstdint>
#include <vector>

namespace plat {

class Presenter {
public:
    virtual ~Presenter();

    // The client area's pixels, `width` x `height` program pixels; made
    // anew (black) when the size changed.
    SDL_Surface* Picture(int width, int height);
    // Shows the part `area` of the picture, or only remembers that it
    // changed while the window is not on the screen.
    virtual void Show(const SDL_Rect& area, bool onScreen) = 0;
    // The screen lost what the window showed: the next frame goes out whole.
    virtual void Exposed() = 0;
    // What the window shows, in the desktop's pixels, as 0x00RRGGBB.
    virtual bool ReadShown(std::vector<uint32_t>* pixels, int* width, int* height) = 0;

protected:
    virtual Uint32 PictureFormat() = 0;
    // A new picture: nothing of it has been shown yet.
    virtual void PictureReplaced() = 0;

    SDL_Surface* picture = nullptr;
};

// The presenter for an SDL window: straight to the X server when SDL runs
// on X11, else through SDL's window surface.
Presenter* NewPresenter(SDL_Window* window);
Presenter* NewSdlPresenter(SDL_Window* window);
Presenter* NewXlibPresenter(SDL_Window* window);  // null where X11 is not in use

// `surface` as 0x00RRGGBB pixels.
bool ReadPixels(SDL_Surface* surface, std::vector<uint32_t>* pixels, int* width, int* height);
// `area` of `from` enlarged by `scale` into `to`, nearest pixel.
void CopyScaled(SDL_Surface* from, const SDL_Rect& area, SDL_Surface* to, int scale);

}  // namespace plat

#endif
