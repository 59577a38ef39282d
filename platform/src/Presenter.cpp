#include "Presenter.h"

#include <algorithm>
#include <cstring>

namespace plat {

Presenter::~Presenter() { SDL_FreeSurface(picture); }

SDL_Surface* Presenter::Picture(int width, int height)
{
    Uint32 format = PictureFormat();
    if (picture && picture->w == width && picture->h == height && picture->format->format == format) return picture;
    PictureReplaced();
    SDL_FreeSurface(picture);
    picture = SDL_CreateRGBSurfaceWithFormat(0, width, height, 0, format);
    columns = (width + kTile - 1) / kTile;
    rows = (height + kTile - 1) / kTile;
    marks.assign((size_t)columns * rows, 0);
    if (picture) Changed(SDL_Rect{0, 0, width, height});
    return picture;
}

void Presenter::Mark(int column, int row)
{
    marks[(size_t)row * columns + column] = 1;
    anyChanged = true;
}

void Presenter::Changed(const SDL_Rect& area)
{
    if (!picture || area.w <= 0 || area.h <= 0) return;
    int left = std::max(0, area.x) / kTile, right = std::min(picture->w, area.x + area.w);
    int top = std::max(0, area.y) / kTile, bottom = std::min(picture->h, area.y + area.h);
    for (int row = top; row * kTile < bottom; ++row)
        for (int column = left; column * kTile < right; ++column) Mark(column, row);
}

void Presenter::CopyIn(SDL_Surface* source, const SDL_Rect& from, int x, int y)
{
    // Compared row by row as it is copied: the game sends its whole frame
    // each time, and mostly only a falling piece and a number moved.
    int bytes = picture->format->BytesPerPixel;
    for (int line = 0; line < from.h; ++line) {
        const Uint8* in = static_cast<const Uint8*>(source->pixels) + (size_t)(from.y + line) * source->pitch +
                          (size_t)from.x * bytes;
        Uint8* out = static_cast<Uint8*>(picture->pixels) + (size_t)(y + line) * picture->pitch + (size_t)x * bytes;
        if (std::memcmp(in, out, (size_t)from.w * bytes) == 0) continue;
        int row = (y + line) / kTile;
        for (int left = x; left < x + from.w;) {
            int right = std::min(x + from.w, (left / kTile + 1) * kTile);
            size_t offset = (size_t)(left - x) * bytes, length = (size_t)(right - left) * bytes;
            if (std::memcmp(in + offset, out + offset, length) != 0) {
                std::memcpy(out + offset, in + offset, length);
                Mark(left / kTile, row);
            }
            left = right;
        }
    }
}

std::vector<SDL_Rect> Presenter::TakeChanged()
{
    std::vector<SDL_Rect> runs;
    if (!anyChanged || !picture) return runs;
    for (int row = 0; row < rows; ++row) {
        for (int column = 0; column < columns;) {
            if (!marks[(size_t)row * columns + column]) {
                ++column;
                continue;
            }
            int end = column;
            while (end < columns && marks[(size_t)row * columns + end]) marks[(size_t)row * columns + end++] = 0;
            SDL_Rect run = {column * kTile, row * kTile, std::min(end * kTile, picture->w) - column * kTile,
                            std::min((row + 1) * kTile, picture->h) - row * kTile};
            // A run straight below one just as wide makes it taller.
            if (!runs.empty() && runs.back().x == run.x && runs.back().w == run.w &&
                runs.back().y + runs.back().h == run.y)
                runs.back().h += run.h;
            else
                runs.push_back(run);
            column = end;
        }
    }
    anyChanged = false;
    return runs;
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
    if (scale == 1)
        SDL_BlitSurface(from, &source, to, &target);
    else
        SDL_BlitScaled(from, &source, to, &target);  // nearest pixel: SDL's default for surfaces
}

SDL_Rect Bounds(const std::vector<SDL_Rect>& rects)
{
    SDL_Rect all = {0, 0, 0, 0};
    for (const SDL_Rect& r : rects)
        if (all.w == 0)
            all = r;
        else
            SDL_UnionRect(&all, &r, &all);
    return all;
}

}  // namespace plat
