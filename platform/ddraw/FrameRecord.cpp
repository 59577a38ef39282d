#include "FrameRecord.h"

#include "DrawSurface.h"

#include <algorithm>
#include <utility>

namespace plat {
namespace {

bool SamePicture(const FrameRecord::Picture& a, const FrameRecord::Picture& b)
{
    return a.serial == b.serial && a.changes == b.changes;
}

bool SameBlit(const FrameRecord::Blit& a, const FrameRecord::Blit& b)
{
    return SamePicture(a.source, b.source) && SDL_RectEquals(&a.from, &b.from) && SDL_RectEquals(&a.to, &b.to) &&
           a.keyed == b.keyed && (!a.keyed || a.key == b.key);
}

uint32_t TileOf(uint64_t landing) { return (uint32_t)(landing >> 32); }
uint32_t BlitOf(uint64_t landing) { return (uint32_t)landing; }

}  // namespace

void FrameRecord::Reset(int width, int height)
{
    columns = (std::max(0, width) + TileMarks::kTile - 1) / TileMarks::kTile;
    toDraw.Reset(width, height);
    Forget();
}

void FrameRecord::Begin(const Picture& base)
{
    recording = true;
    next.base = base;
    next.blits.clear();
    next.landings.clear();
    next.pictures.assign(1, base.pixels);
}

bool FrameRecord::Reads(const SDL_Surface* picture) const
{
    return recording && std::find(next.pictures.begin(), next.pictures.end(), picture) != next.pictures.end();
}

void FrameRecord::Add(const Blit& blit)
{
    const int tile = TileMarks::kTile;
    uint64_t index = next.blits.size();
    next.blits.push_back(blit);
    // A frame reads a few pictures, one after another many times.
    if (next.pictures.back() != blit.source.pixels && !Reads(blit.source.pixels))
        next.pictures.push_back(blit.source.pixels);
    const SDL_Rect& to = blit.to;
    for (int row = to.y / tile; row * tile < to.y + to.h; ++row)
        for (int column = to.x / tile; column * tile < to.x + to.w; ++column)
            next.landings.push_back((uint64_t)(row * columns + column) << 32 | index);
}

void FrameRecord::Forget()
{
    recording = false;
    haveLast = false;
    next.blits.clear();
    next.landings.clear();
}

void FrameRecord::MarkChangedTiles()
{
    // Both lists sorted: by tile, and on each tile in the order drawn. A
    // tile no blit lands on in either frame holds the base in both.
    const std::vector<uint64_t>& mine = next.landings;
    const std::vector<uint64_t>& theirs = last.landings;
    size_t i = 0, j = 0;
    while (i < mine.size() || j < theirs.size()) {
        uint32_t tile = std::min(i < mine.size() ? TileOf(mine[i]) : UINT32_MAX,
                                 j < theirs.size() ? TileOf(theirs[j]) : UINT32_MAX);
        bool same = true;
        for (; i < mine.size() && TileOf(mine[i]) == tile; ++i, ++j)
            if (j >= theirs.size() || TileOf(theirs[j]) != tile ||
                !SameBlit(next.blits[BlitOf(mine[i])], last.blits[BlitOf(theirs[j])])) {
                same = false;
                break;
            }
        if (j < theirs.size() && TileOf(theirs[j]) == tile) same = false;
        while (i < mine.size() && TileOf(mine[i]) == tile) ++i;
        while (j < theirs.size() && TileOf(theirs[j]) == tile) ++j;
        if (!same) {
            const int size = TileMarks::kTile;
            toDraw.Mark(SDL_Rect{(int)(tile % columns) * size, (int)(tile / columns) * size, size, size});
        }
    }
}

bool FrameRecord::Draw(SDL_Surface* pixels, TileMarks* changed)
{
    if (!recording) return false;
    recording = false;
    std::sort(next.landings.begin(), next.landings.end());
    toDraw.Clear();
    if (!haveLast || !SamePicture(next.base, last.base))
        toDraw.MarkAll();
    else
        MarkChangedTiles();
    std::vector<SDL_Rect> parts = toDraw.Runs();
    for (const SDL_Rect& part : parts) {
        // Each part from the base up, every blit cut to it: the same pixels
        // as the whole frame drawn blit by blit.
        SDL_SetClipRect(pixels, &part);
        CopyRows(next.base.pixels, part, pixels, part);
        for (const Blit& blit : next.blits)
            if (SDL_HasIntersection(&blit.to, &part))
                SdlBlit(blit.source.pixels, blit.from, pixels, blit.to, blit.keyed, blit.key);
        changed->Mark(part);
    }
    SDL_SetClipRect(pixels, nullptr);
    std::swap(next, last);
    next.blits.clear();
    next.landings.clear();
    haveLast = true;
    return !parts.empty();
}

}  // namespace plat
