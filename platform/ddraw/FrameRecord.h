// A frame kept as the blits that make it, drawn only when it is read.
//
// The game makes every frame the same way: its background copied whole onto
// the back buffer, then a few hundred tiles and glyphs on top, then the back
// buffer shown. Mostly only a falling piece and a number differ from the
// frame before. So a surface that became a whole copy of another keeps the
// blits that follow as a list, and when its pixels are wanted it compares,
// tile by tile, the blits that land on each tile with those of the frame it
// drew last: a tile whose blits are the same, from the same unchanged
// pictures, already holds its pixels. Only the other tiles are drawn, from
// the base up, and only they count as changed for whoever shows the surface.
#ifndef VORBLOX_PLATFORM_FRAME_RECORD_H
#define VORBLOX_PLATFORM_FRAME_RECORD_H

#include "TileMarks.h"

#include <SDL.h>

#include <cstdint>
#include <vector>

namespace plat {

class FrameRecord {
public:
    // A picture to copy from, and which state of it: a surface's number
    // and its count of changes.
    struct Picture {
        SDL_Surface* pixels;
        unsigned long serial;
        unsigned long changes;
    };
    // An unstretched blit; `to` lies inside the surface.
    struct Blit {
        Picture source;
        SDL_Rect from, to;
        bool keyed;
        Uint32 key;
    };

    // For a surface of `width` x `height`, holding nothing known.
    void Reset(int width, int height);
    // A frame begins as a whole copy of `base` (same size and format); any
    // frame not yet drawn is dropped.
    void Begin(const Picture& base);
    bool Recording() const { return recording; }
    // Whether the frame not yet drawn reads `picture`'s pixels (as its
    // base or in a blit).
    bool Reads(const SDL_Surface* picture) const;
    // Blits kept so far in the frame being made.
    size_t Kept() const { return next.blits.size(); }
    void Add(const Blit& blit);
    // Draws the frame onto `pixels` where it differs from the last one
    // drawn and marks those tiles in `changed`; true when anything was
    // drawn.
    bool Draw(SDL_Surface* pixels, TileMarks* changed);
    // The pixels were changed some other way: the last frame drawn no
    // longer describes them, and a frame not yet drawn is dropped.
    void Forget();

private:
    // The blits of a frame, and where they land: a tile's number in the
    // high half, a blit's index in the low half, one for every tile each
    // blit touches.
    struct Frame {
        Picture base{};
        std::vector<Blit> blits;
        std::vector<uint64_t> landings;
        std::vector<const SDL_Surface*> pictures;  // what it reads, each once
    };
    // Marks in `toDraw` the tiles whose blits differ between the frame
    // and the last one.
    void MarkChangedTiles();

    int columns = 0;
    bool recording = false;
    bool haveLast = false;
    Frame next, last;
    TileMarks toDraw;
};

}  // namespace plat

#endif
