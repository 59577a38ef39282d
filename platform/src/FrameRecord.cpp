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

}  // namespace

void FrameRecord::Reset(int newWidth, int newHeight)
{
    width = std::max(0, newWidth);
    height = std::max(0, newHeight);
    columns = (width + TileMarks::kTile - 1) / TileMarks::kTile;
    rows = (height + TileMarks::kTile - 1) / TileMarks::kTile;
    toDraw.Reset(width, height);
    Forget();
}

void FrameRecord::Begin(const Picture& base)
{
    recording = true;
    next.base = base;
    next.blits.clear();
}

void FrameRecord::Add(const Blit& blit) { next.blits.push_back(blit); }

void FrameRecord::Forget()
{
    recording = false;
    haveLast = false;
    next.blits.clear();
}

void FrameRecord::IndexTiles(Frame& frame) const
{
    const int tile = TileMarks::kTile;
    frame.firstOfTile.assign((size_t)columns * rows + 1, 0);
    // Counted first, then placed: each tile's list keeps the blits' order.
    auto eachTile = [&](const SDL_Rect& to, auto&& visit) {
        for (int row = to.y / tile; row * tile < to.y + to.h; ++row)
            for (int column = to.x / tile; column * tile < to.x + to.w; ++column) visit(row * columns + column);
    };
    for (const Blit& blit : frame.blits) eachTile(blit.to, [&](int t) { ++frame.firstOfTile[t + 1]; });
    for (size_t t = 1; t < frame.firstOfTile.size(); ++t) frame.firstOfTile[t] += frame.firstOfTile[t - 1];
    frame.onTile.resize(frame.firstOfTile.back());
    std::vector<uint32_t> fill(frame.firstOfTile.begin(), frame.firstOfTile.end() - 1);
    for (uint32_t i = 0; i < frame.blits.size(); ++i) eachTile(frame.blits[i].to, [&](int t) { frame.onTile[fill[t]++] = i; });
}

bool FrameRecord::SameTile(int t) const
{
    uint32_t count = next.firstOfTile[t + 1] - next.firstOfTile[t];
    if (count != last.firstOfTile[t + 1] - last.firstOfTile[t]) return false;
    const uint32_t* mine = next.onTile.data() + next.firstOfTile[t];
    const uint32_t* theirs = last.onTile.data() + last.firstOfTile[t];
    for (uint32_t i = 0; i < count; ++i)
        if (!SameBlit(next.blits[mine[i]], last.blits[theirs[i]])) return false;
    return true;
}

bool FrameRecord::Draw(SDL_Surface* pixels, TileMarks* changed)
{
    if (!recording) return false;
    recording = false;
    IndexTiles(next);
    bool all = !haveLast || !SamePicture(next.base, last.base);
    toDraw.Clear();
    const int tile = TileMarks::kTile;
    for (int t = 0; t < columns * rows; ++t)
        if (all || !SameTile(t)) toDraw.Mark(SDL_Rect{t % columns * tile, t / columns * tile, tile, tile});
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
    haveLast = true;
    return !parts.empty();
}

}  // namespace plat
