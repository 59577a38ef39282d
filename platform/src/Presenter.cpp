#include "Presenter.h"

namespace plat {

Presenter::~Presenter() { SDL_FreeSurface(picture); }

SDL_Surface* Presenter::Picture(int width, int height)
{
    Uint32 format = PictureFormat();
    if (picture && picture->w == width && picture->h == height && picture->format->format == format) return picture;
    SDL_FreeSurface(picture);
    picture = SDL_CreateRGBSurfaceWithFormat(0, width, height, 0, format);
    PictureReplaced();
    return picture;
}

Presenter* NewPresenter(SDL_Window* window)
{
    if (Presenter* direct = NewXlibPresenter(window)) return direct;
    return NewSdlPresenter(window);
}

bool ReadPixels(SDL_Surface* surface, std::vector<uint32_t>* pixels, int* width, int* height)
{
    if (!surface || !pixels) return false;
    SDL_Surface* copy = SDL_ConvertSurfaceFormat(surface, SDL_PIXELFORMAT_RGB888, 0);
    if (!copy) return false;
    pixels->assign((size_t)copy->w * copy->h, 0);
    SDL_LockSurface(copy);
    for (int y = 0; y < copy->h; ++y) {
        const Uint32* row = reinterpret_cast<const Uint32*>(static_cast<const Uint8*>(copy->pixels) + y * copy->pitch);
        for (int x = 0; x < copy->w; ++x) (*pixels)[(size_t)y * copy->w + x] = row[x] & 0xFFFFFF;
    }
    SDL_UnlockSurface(copy);
    if (width) *width = copy->w;
    if (height) *height = copy->h;
    SDL_FreeSurface(copy);
    return true;
}

void CopyScaled(SDL_Surface* from, const SDL_Rect& area, SDL_Surface* to, int scale)
{
    SDL_Rect source = area;
    SDL_Rect target = {area.x * scale, area.y * scale, area.w * scale, area.h * scale};
    SDL_SetSurfaceBlendMode(from, SDL_BLENDMODE_NONE);
    SDL_SetColorKey(from, SDL_FALSE, 0);
    if (scale == 1)
        SDL_BlitSurface(from, &source, to, &target);
    else
        SDL_BlitScaled(from, &source, to, &target);  // nearest pixel: SDL's default for surfaces
}

}  // namespace plat
