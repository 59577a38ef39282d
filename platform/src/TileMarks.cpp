#include "TileMarks.h"

#include <algorithm>

namespace plat {

void TileMarks::Reset(int newWidth, int newHeight)
{
    width = std::max(0, newWidth);
    height = std::max(0, newHeight);
    columns = (width + kTile - 1) / kTile;
    rows = (height + kTile - 1) / kTile;
    marks.assign((size_t)columns * rows, 0);
    MarkAll();
}

void TileMarks::Mark(const SDL_Rect& area)
{
    if (area.w <= 0 || area.h <= 0) return;
    int left = std::max(0, area.x), right = std::min(width, area.x + area.w);
    int top = std::max(0, area.y), bottom = std::min(height, area.y + area.h);
    if (left >= right || top >= bottom) return;
    for (int row = top / kTile; row * kTile < bottom; ++row)
        std::fill_n(marks.begin() + (size_t)row * columns + left / kTile, (right - 1) / kTile - left / kTile + 1, 1);
    any = true;
}

void TileMarks::MarkAll()
{
    std::fill(marks.begin(), marks.end(), 1);
    any = !marks.empty();
}

void TileMarks::Clear()
{
    if (any) std::fill(marks.begin(), marks.end(), 0);
    any = false;
}

std::vector<SDL_Rect> TileMarks::Runs() const
{
    std::vector<SDL_Rect> runs;
    if (!any) return runs;
    for (int row = 0; row < rows; ++row) {
        const uint8_t* line = marks.data() + (size_t)row * columns;
        for (int column = 0; column < columns;) {
            if (!line[column]) {
                ++column;
                continue;
            }
            int end = column;
            while (end < columns && line[end]) ++end;
            SDL_Rect run = {column * kTile, row * kTile, std::min(end * kTile, width) - column * kTile,
                            std::min((row + 1) * kTile, height) - row * kTile};
            if (!runs.empty() && runs.back().x == run.x && runs.back().w == run.w &&
                runs.back().y + runs.back().h == run.y)
                runs.back().h += run.h;
            else
                runs.push_back(run);
            column = end;
        }
    }
    return runs;
}

}  // namespace plat
