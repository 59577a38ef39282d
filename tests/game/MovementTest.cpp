// Collision, sideways moves and turns of the falling piece.

#include <gtest/gtest.h>

#include "tests/game/WellBuilder.h"

using namespace well;

TEST(MovementTest, FitsAgainstWallsFloorStackAndRowsAboveTheTop)
{
    GameState g = Running();
    At(g, 3, 10) = 5;
    struct Case {
        int type, rotation, x, y, fits;
        const char* what;
    } cases[] = {
        {T, 0, 1, 5, 1, "touching the left wall"},
        {T, 0, 0, 5, 0, "a block in column -1"},
        {T, 0, 8, 5, 1, "touching the right wall"},
        {T, 0, 9, 5, 0, "a block in column 10"},
        {I, 0, 4, 20, 1, "upright I down to the bottom row"},
        {I, 0, 4, 21, 0, "a block in row 23"},
        {T, 0, 5, -40, 1, "far above the well"},
        {T, 0, 0, -1, 0, "above the well but left of it"},
        {O, 0, 3, 10, 0, "on a settled block"},
        {J, 0, 3, 11, 1, "hooked around a settled block"},
        {T, 4, 5, 5, 0, "no such rotation"},
        {7, 0, 5, 5, 0, "no such piece"},
        {O, 0, INT32_MIN, 5, 0, "extreme column"},
        {O, 0, 5, INT32_MAX, 0, "extreme row"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(g.Fits(c.type, c.rotation, c.x, c.y), c.fits) << c.what;
}

TEST(MovementTest, SidewaysUntilAWallOrABlock)
{
    GameState g = Running();
    Place(g, T, 0, 5, -1);
    g.fallCounter = 17;
    int moves = 0;
    while (g.MoveLeft())
        ++moves;
    EXPECT_EQ(moves, 4);
    EXPECT_EQ(g.pieceX, 1);
    while (g.MoveRight())
        ++moves;
    EXPECT_EQ(g.pieceX, 8);
    EXPECT_EQ(g.pieceY, -1);
    EXPECT_EQ(g.fallCounter, 17);  // moving never touches the gravity countdown

    At(g, 2, 16) = 1;
    At(g, 7, 15) = 1;
    Place(g, T, 0, 5, 16);  // rows 15 and 16, columns 4 to 6
    EXPECT_EQ(g.MoveLeft(), 1);
    EXPECT_EQ(g.MoveLeft(), 0);
    Place(g, T, 0, 5, 16);
    EXPECT_EQ(g.MoveRight(), 1);
    EXPECT_EQ(g.MoveRight(), 0);  // the T's tip would meet (7, 15)
    EXPECT_EQ(g.pieceX, 6);
}

TEST(MovementTest, UprightIRefusesToLieDownAtTheWalls)
{
    for (int upright : {0, 2}) {
        for (int direction : {1, 0}) {
            for (int x = 0; x < columns; ++x) {
                GameState g = Running();
                Place(g, I, upright, x, 10);
                const bool room = x >= 1 && x <= 7;  // lying covers x-1 .. x+2
                EXPECT_EQ(g.Rotate(direction), room ? 1 : 0)
                    << "rotation " << upright << " direction " << direction << " column " << x;
                EXPECT_EQ(g.rotation, room ? (direction == 1 ? upright + 1 : (upright + 3) % 4) : upright);
                EXPECT_EQ(g.pieceX, x);
                EXPECT_EQ(g.pieceY, 10);
            }
        }
    }
}

TEST(MovementTest, TurnsWrapAroundBothWays)
{
    GameState g = Running();
    Place(g, T, 0, 5, 10);
    const int32_t directions[] = {0, 1, 1, 1, 1, 1, -7, 2};
    const int32_t after[] = {3, 0, 1, 2, 3, 0, 3, 2};  // anything but 1 turns counter-clockwise
    for (int i = 0; i < 8; ++i) {
        EXPECT_EQ(g.Rotate(directions[i]), 1);
        EXPECT_EQ(g.rotation, after[i]) << "turn " << i;
    }
}

TEST(MovementTest, AtTheTopOnlyBlocksInsideTheWellCanCollide)
{
    // At pieceY -1 the upright T lies wholly above the well; rotations 1 to 3
    // each put one block into row 0, in column 5.
    GameState g = Running();
    Place(g, T, 0, 5, -1);
    At(g, 4, 0) = 2;
    At(g, 6, 0) = 2;
    EXPECT_EQ(g.Rotate(1), 1);
    EXPECT_EQ(g.Rotate(0), 1);
    EXPECT_EQ(g.Rotate(0), 1);
    EXPECT_EQ(g.Rotate(1), 1);
    EXPECT_EQ(g.rotation, 0);

    At(g, 5, 0) = 2;
    EXPECT_EQ(g.Rotate(1), 0);
    EXPECT_EQ(g.Rotate(0), 0);
    EXPECT_EQ(g.rotation, 0);
    // Sideways it still passes over the stack.
    EXPECT_EQ(g.MoveLeft(), 1);
    EXPECT_EQ(g.MoveRight(), 1);
    EXPECT_EQ(g.MoveRight(), 1);
    EXPECT_EQ(g.pieceX, 6);
}
