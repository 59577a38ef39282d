#include "Presenter.h"

#include "DisplayScale.h"

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
    frameTaken = 0;
    placed = Placement();
    changed.Reset(picture ? width : 0, picture ? height : 0);
    return picture;
}

bool Presenter::PlaceAgain()
{
    if (!picture) return false;
    int width = 0, height = 0;
    SDL_GetWindowSizeInPixels(sdlWindow, &width, &height);
    Placement now = PlacePicture(picture->w, picture->h, width, height);
    if (now == placed) return false;
    placed = now;
    frameTaken = 0;
    changed.Mark(SDL_Rect{0, 0, picture->w, picture->h});
    return true;
}

SDL_Point Presenter::ToPicture(int x, int y) const
{
    int scale = placed.scale ? placed.scale : DisplayScale();
    auto down = [scale](int v) { return v >= 0 ? v / scale : -((-v + scale - 1) / scale); };
    return SDL_Point{down(x - placed.at.x), down(y - placed.at.y)};
}

void Presenter::FrameInClient(std::vector<uint32_t>* pixels, int* width, int* height) const
{
    if (placed.scale == 0 || (placed.at.x == 0 && placed.at.y == 0 && *width == placed.clientWidth &&
                              *height == placed.clientHeight))
        return;
    std::vector<uint32_t> client((size_t)placed.clientWidth * placed.clientHeight, 0);
    for (int y = 0; y < *height; ++y) {
        int to = y + placed.at.y;
        if (to < 0 || to >= placed.clientHeight) continue;
        for (int x = 0; x < *width; ++x) {
            int across = x + placed.at.x;
            if (across >= 0 && across < placed.clientWidth)
                client[(size_t)to * placed.clientWidth + across] = (*pixels)[(size_t)y * *width + x];
        }
    }
    pixels->swap(client);
    *width = placed.clientWidth;
    *height = placed.clientHeight;
}

Placement PlacePicture(int width, int height, int clientWidth, int clientHeight)
{
    Placement p;
    p.scale = 1;
    if (width > 0 && height > 0)
        p.scale = std::max(1, std::min(clientWidth / width, clientHeight / height));
    // Halves rounded down, as a centred window would be.
    p.at = SDL_Point{(clientWidth - width * p.scale) / 2, (clientHeight - height * p.scale) / 2};
    if (clientWidth - width * p.scale < 0) p.at.x = -((width * p.scale - clientWidth + 1) / 2);
    if (clientHeight - height * p.scale < 0) p.at.y = -((height * p.scale - clientHeight + 1) / 2);
    p.clientWidth = clientWidth;
    p.clientHeight = clientHeight;
    return p;
}

void Presenter::Changed(const SDL_Rect& area)
{
    frameTaken = 0;
    if (picture) changed.Mark(area);
}

void Presenter::CopyFrame(SDL_Surface* source, const TileMarks& drawn, unsigned long* taken, const SDL_Rect& from,
                          int x, int y)
{
    // One count for every presenter: a surface taken by another window
    // since, or a picture given anything else since, matches no longer.
    static unsigned long copies = 0;
    bool same = *taken != 0 && *taken == frameTaken && SDL_RectEquals(&from, &frameFrom) && x == frameAt.x &&
                y == frameAt.y;
    if (!same) {
        CopyIn(source, from, x, y);
    } else {
        for (const SDL_Rect& run : drawn.Runs()) {
            SDL_Rect part;
            if (SDL_IntersectRect(&run, &from, &part)) CopyIn(source, part, x + part.x - from.x, y + part.y - from.y);
        }
    }
    frameTaken = *taken = ++copies;
    frameFrom = from;
    frameAt = SDL_Point{x, y};
}

void Presenter::CopyIn(SDL_Surface* source, const SDL_Rect& from, int x, int y)
{
    frameTaken = 0;
    // Compared row by row as it is copied: the game sends its whole frame
    // each time, and mostly only a falling piece and a number moved.
    int bytes = picture->format->BytesPerPixel;
    for (int line = 0; line < from.h; ++line) {
        const Uint8* in = static_cast<const Uint8*>(source->pixels) + (size_t)(from.y + line) * source->pitch +
                          (size_t)from.x * bytes;
        Uint8* out = static_cast<Uint8*>(picture->pixels) + (size_t)(y + line) * picture->pitch + (size_t)x * bytes;
        if (std::memcmp(in, out, (size_t)from.w * bytes) == 0) continue;
        const int tile = TileMarks::kTile;
        for (int left = x; left < x + from.w;) {
            int right = std::min(x + from.w, (left / tile + 1) * tile);
            size_t offset = (size_t)(left - x) * bytes, length = (size_t)(right - left) * bytes;
            if (std::memcmp(in + offset, out + offset, length) != 0) {
                std::memcpy(out + offset, in + offset, length);
                changed.MarkTileAt(left, y + line);
            }
            left = right;
        }
    }
}

std::vector<SDL_Rect> Presenter::TakeChanged()
{
    std::vector<SDL_Rect> runs = changed.Runs();
    changed.Clear();
    return runs;
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

void CopyScaled(SDL_Surface* from, const SDL_Rect& area, SDL_Surface* to, int scale, SDL_Point at)
{
    SDL_Rect source = area;
    SDL_Rect target = {at.x + area.x * scale, at.y + area.y * scale, area.w * scale, area.h * scale};
    SDL_SetSurfaceBlendMode(from, SDL_BLENDMODE_NONE);
    if (scale == 1) {
        SDL_BlitSurface(from, &source, to, &target);
        return;
    }
    // Above 1 the picture always fits whole (PlacePicture): nothing to cut.
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
