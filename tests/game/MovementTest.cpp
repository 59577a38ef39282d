// The shape table, and sideways moves and turns of the falling piece.

#include <gtest/gtest.h>

#include <bitset>
#include <tuple>
#include <utility>

#include "game/PieceShapes.h"
#include "tests/game/WellBuilder.h"

using namespace well;

// The grid's blocks as a bit mask (bit 4j + l), turned clockwise on screen
// `turns` times within the 4 x 4 box and pushed into its top-left corner.
// Every block must carry the piece's own tile.
static unsigned Mask(int type, int rotation, int turns)
{
    unsigned mask = 0;
    for (int cell = 0; cell < 16; ++cell) {
        const unsigned char tile = PieceShapes[type * 64 + rotation * 16 + cell];
        int l = cell % 4, j = cell / 4;
        for (int t = 0; t < turns; ++t)
            std::tie(l, j) = std::make_pair(3 - j, l);
        EXPECT_TRUE(tile == 0 || tile == type + 1) << "type " << type << " rotation " << rotation;
        mask |= (tile != 0) << (4 * j + l);
    }
    while (mask && !(mask & 0x000F))
        mask >>= 4;
    while (mask && !(mask & 0x1111))
        mask >>= 1;
    return mask;
}

TEST(PieceShapesTest, EachRotationIsAClockwiseQuarterTurnOfThePrevious)
{
    for (int type = 0; type < 7; ++type) {
        for (int rotation = 0; rotation < 4; ++rotation) {
            SCOPED_TRACE(testing::Message() << "type " << type << " rotation " << rotation);
            EXPECT_EQ(std::bitset<16>(Mask(type, rotation, 0)).count(), 4u);
            EXPECT_EQ(Mask(type, rotation, 1), Mask(type, (rotation + 1) % 4, 0));
        }
    }
    EXPECT_EQ(Mask(T, 0, 0), 0x72u);  // the T points up first: .7.. over 777.
}

TEST(MovementTest, SidewaysUntilABlockOrAWall)
{
    GameState g = Running();
    Place(g, T, 0, 5, 16);  // rows 15 and 16, columns 4 to 6
    At(g, 7, 15) = 1;
    g.fallCounter = 17;
    EXPECT_EQ(g.MoveRight() + g.MoveRight(), 1);  // the T's tip would meet (7, 15)
    EXPECT_EQ(g.pieceX, 6);
    while (g.MoveLeft()) {
    }
    EXPECT_EQ(g.pieceX, 1);
    EXPECT_EQ(g.fallCounter, 17);  // moving never touches the gravity countdown
}

TEST(MovementTest, UprightIRefusesToLieDownAtTheWalls)
{
    for (int upright : {0, 2})
        for (int direction : {1, 0})
            for (int x = 0; x < columns; ++x) {
                GameState g = Running();
                Place(g, I, upright, x, 10);
                const bool room = x >= 1 && x <= 7;  // lying covers x-1 .. x+2
                EXPECT_EQ(g.Rotate(direction), room ? 1 : 0)
                    << "rotation " << upright << " direction " << direction << " column " << x;
                EXPECT_EQ(g.rotation, room ? (direction == 1 ? upright + 1 : (upright + 3) % 4) : upright);
                EXPECT_EQ(g.pieceX, x);  // no wall kick
            }
}

TEST(MovementTest, TurnsWrapAroundBothWays)
{
    GameState g = Running();
    Place(g, T, 0, 5, -1);  // turning as dealt: rotations 1 to 3 reach into row 0
    const int32_t directions[] = {0, 1, 1, 1, 1, 1, -7, 2};
    const int32_t after[] = {3, 0, 1, 2, 3, 0, 3, 2};  // anything but 1 turns counter-clockwise
    for (int i = 0; i < 8; ++i) {
        EXPECT_EQ(g.Rotate(directions[i]), 1);
        EXPECT_EQ(g.rotation, after[i]) << "turn " << i;
    }
}
