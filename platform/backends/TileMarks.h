// Which 16 x 16 tiles of a picture were drawn on: a cheap record of where a
// frame differs from the last, so that only those parts are copied, compared
// or sent.
#ifndef VORBLOX_PLATFORM_TILE_MARKS_H
#define VORBLOX_PLATFORM_TILE_MARKS_H

#include <SDL.h>

#include <cstdint>
#include <vector>

namespace plat {

class TileMarks {
public:
    static constexpr int kTile = 16;

    // A picture of `width` x `height`, every tile marked: nothing is known
    // of it yet.
    void Reset(int width, int height);
    // Marks every tile `area` touches; what lies outside the picture is
    // left out.
    void Mark(const SDL_Rect& area);
    // Marks the tile holding the point, which lies inside the picture.
    void MarkTileAt(int x, int y)
    {
        int column = x / kTile;
        bits[(size_t)(y / kTile) * words + column / kBits] |= Word(1) << (column % kBits);
        any = true;
    }
    void MarkAll();
    void Clear();
    bool Any() const { return any; }
    // The marked tiles as rectangles cut to the picture: runs along a row
    // of tiles, a run straight below one just as wide joined to it.
    std::vector<SDL_Rect> Runs() const;

private:
    // A row of tiles is a row of bits, so that finding the marked ones
    // (every frame, three times) skips the unmarked ones by the word.
    using Word = uint64_t;
    static constexpr int kBits = 64;
    // Marks columns `first` to `last` of a row of tiles.
    void MarkColumns(int row, int first, int last);
    // The first column from `column` on that is marked (`marked`) or not;
    // `columns` when there is none.
    int Find(const Word* line, int column, bool marked) const;

    std::vector<Word> bits;  // `words` to a row; bits past the last column stay clear
    int width = 0, height = 0, columns = 0, rows = 0, words = 0;
    bool any = false;
};

}  // namespace plat

#endif
