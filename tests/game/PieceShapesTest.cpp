// The shape table's structure: a typo in one grid breaks one of these.

#include <gtest/gtest.h>

#include <algorithm>
#include <utility>
#include <vector>

#include "game/PieceShapes.h"

namespace {

typedef std::vector<std::pair<int, int>> Blocks;  // (grid column, grid row)

// The blocks of a grid, moved to touch the top-left corner and sorted; each
// is checked to carry the piece's own tile.
Blocks Shape(int type, int rotation, int turns)
{
    Blocks blocks;
    for (int j = 0; j < 4; ++j) {
        for (int l = 0; l < 4; ++l) {
            unsigned char tile = PieceShapes[type * 64 + rotation * 16 + j * 4 + l];
            if (!tile)
                continue;
            EXPECT_EQ(tile, type + 1) << "type " << type << " rotation " << rotation;
            std::pair<int, int> b(l, j);
            for (int t = 0; t < turns; ++t)
                b = {-b.second, b.first};  // clockwise on screen, rows growing downwards
            blocks.push_back(b);
        }
    }
    int left = 99, top = 99;
    for (auto& b : blocks) {
        left = std::min(left, b.first);
        top = std::min(top, b.second);
    }
    for (auto& b : blocks)
        b = {b.first - left, b.second - top};
    std::sort(blocks.begin(), blocks.end());
    return blocks;
}

}  // namespace

TEST(PieceShapesTest, EachRotationIsAClockwiseQuarterTurnOfThePrevious)
{
    for (int type = 0; type < 7; ++type) {
        for (int rotation = 0; rotation < 4; ++rotation) {
            EXPECT_EQ(Shape(type, rotation, 0).size(), 4u) << "type " << type << " rotation " << rotation;
            EXPECT_EQ(Shape(type, rotation, 1), Shape(type, (rotation + 1) % 4, 0))
                << "type " << type << " rotation " << rotation;
        }
    }
    // The T points up first.
    EXPECT_EQ(Shape(6, 0, 0), (Blocks{{0, 1}, {1, 0}, {1, 1}, {2, 1}}));
}
