#include "TileMarks.h"

#include <algorithm>

namespace plat {

void TileMarks::Reset(int newWidth, int newHeight)
{
    width = std::max(0, newWidth);
    height = std::max(0, newHeight);
    columns = (width + kTile - 1) / kTile;
    rows = (height + kTile - 1) / kTile;
    words = (columns + kBits - 1) / kBits;
    bits.assign((size_t)words * rows, 0);
    MarkAll();
}

void TileMarks::MarkColumns(int row, int first, int last)
{
    Word* line = bits.data() + (size_t)row * words;
    for (int word = first / kBits; word <= last / kBits; ++word) {
        int low = std::max(first, word * kBits) - word * kBits;
        int high = std::min(last, word * kBits + kBits - 1) - word * kBits;
        Word upTo = high == kBits - 1 ? ~Word(0) : (Word(1) << (high + 1)) - 1;
        line[word] |= upTo & (~Word(0) << low);
    }
}

void TileMarks::Mark(const SDL_Rect& area)
{
    if (area.w <= 0 || area.h <= 0) return;
    int left = std::max(0, area.x), right = std::min(width, area.x + area.w);
    int top = std::max(0, area.y), bottom = std::min(height, area.y + area.h);
    if (left >= right || top >= bottom) return;
    for (int row = top / kTile; row * kTile < bottom; ++row) MarkColumns(row, left / kTile, (right - 1) / kTile);
    any = true;
}

void TileMarks::MarkAll()
{
    any = rows > 0 && columns > 0;
    if (any)
        for (int row = 0; row < rows; ++row) MarkColumns(row, 0, columns - 1);
}

void TileMarks::Clear()
{
    if (any) std::fill(bits.begin(), bits.end(), 0);
    any = false;
}

int TileMarks::Find(const Word* line, int column, bool marked) const
{
    while (column < columns) {
        Word word = line[column / kBits];
        if (!marked) word = ~word;
        word &= ~Word(0) << (column % kBits);
        if (word) return std::min(columns, column / kBits * kBits + __builtin_ctzll(word));
        column = (column / kBits + 1) * kBits;
    }
    return columns;
}

std::vector<SDL_Rect> TileMarks::Runs() const
{
    std::vector<SDL_Rect> runs;
    if (!any) return runs;
    for (int row = 0; row < rows; ++row) {
        const Word* line = bits.data() + (size_t)row * words;
        for (int column = Find(line, 0, true); column < columns;) {
            int end = Find(line, column, false);
            SDL_Rect run = {column * kTile, row * kTile, std::min(end * kTile, width) - column * kTile,
                            std::min((row + 1) * kTile, height) - row * kTile};
            if (!runs.empty() && runs.back().x == run.x && runs.back().w == run.w &&
                runs.back().y + runs.back().h == run.y)
                runs.back().h += run.h;
            else
                runs.push_back(run);
            column = Find(line, end, true);
        }
    }
    return runs;
}

}  // namespace plat
