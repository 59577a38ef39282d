// Gravity, soft drop, locking and the end of the game.

#include <gtest/gtest.h>

#include "tests/game/WellBuilder.h"

using namespace well;

TEST(FallTest, GravityStepsOnEveryFallDelayThTimedCall)
{
    for (int32_t delay : {60, 1, 0}) {
        GameState g = Running();
        g.fallDelay = delay;
        g.Spawn();
        const int period = delay > 1 ? delay : 1;  // 0 counts down to -1: every tick too
        for (int step = 0; step < 3; ++step) {
            for (int tick = 1; tick < period; ++tick)
                ASSERT_EQ(g.Fall(1), 0) << "delay " << delay << " tick " << tick;
            EXPECT_EQ(g.Fall(1), 1);
            EXPECT_EQ(g.pieceY, step);
            EXPECT_EQ(g.score, step + 1);
        }
    }
}

TEST(FallTest, SoftDropRestartsTheCountdown)
{
    GameState g = Running();
    for (int tick = 0; tick < 50; ++tick)
        g.Fall(1);
    EXPECT_EQ(g.Fall(0), 1);
    EXPECT_EQ(g.pieceY, 0);
    for (int tick = 1; tick < 60; ++tick)
        ASSERT_EQ(g.Fall(1), 0);
    EXPECT_EQ(g.Fall(1), 1);
    EXPECT_EQ(g.pieceY, 1);
}

TEST(FallTest, SoftDropScoresEachRowAndLocksOnTheFloorWithTheNextPiece)
{
    GameState g = Running();
    Place(g, T, 0, 5, -1);
    const int32_t next = g.nextPiece;
    for (int row = 0; row < rows; ++row) {  // the T's lower row is its pivot row
        ASSERT_EQ(g.Fall(0), 1);
        ASSERT_EQ(g.pieceY, row);
        ASSERT_EQ(g.score, row + 1);
    }
    EXPECT_EQ(BlockCount(g), 0);
    EXPECT_EQ(g.Fall(0), 1);  // finds the floor: locks and deals in this step
    EXPECT_EQ(g.score, 23);
    EXPECT_EQ(Row(g, bottom - 1), ".....7....");
    EXPECT_EQ(Row(g, bottom), "....777...");
    EXPECT_EQ(g.active, 1);
    EXPECT_EQ(g.piece, next);
    EXPECT_EQ(g.pieceX, 5);
    EXPECT_EQ(g.pieceY, -1);
    EXPECT_EQ(g.fallCounter, 60);
}

TEST(GameOverTest, PieceDealtOverTheStackIsPlayableUntilItLocks)
{
    // Columns 3 to 6 are stacked to the top; a T is dealt right over them.
    GameState g = Running();
    Fill(g, 0, bottom, 4, {0, 1, 2, 7, 8, 9});
    g.Spawn();
    g.piece = T;
    GameState escape = g;

    // Left where it was dealt, the first step down locks it above the top.
    const int32_t next = g.nextPiece;
    EXPECT_EQ(g.Fall(0), 1);
    EXPECT_EQ(g.active, 0);
    EXPECT_EQ(g.piece, next);  // the piece after it was still dealt
    EXPECT_EQ(g.score, 0);
    EXPECT_EQ(BlockCount(g), 4 * rows);

    // Moved clear of the stack first, it falls on into the open columns.
    for (int step = 0; step < 4; ++step)
        EXPECT_EQ(escape.MoveLeft(), 1);
    EXPECT_EQ(DropToLock(escape), rows);
    EXPECT_EQ(escape.active, 1);
    EXPECT_EQ(Row(escape, bottom), "7774444...");
}

TEST(GameOverTest, LockAboveTheTopKeepsItsVisibleBlocksAndScoresNothing)
{
    // Row 0 lacks exactly the T's three lower blocks; a tower under them
    // stops the T with its tip still above the well.
    GameState g = Running();
    Fill(g, 0, 0, 2, {4, 5, 6});
    Fill(g, 1, bottom, 3, {0, 1, 2, 3, 7, 8, 9});
    g.lines = 18;  // already past level 1's mark: a level test would show
    g.score = 700;
    Place(g, T, 0, 5, -1);

    EXPECT_EQ(g.Fall(0), 1);  // into row 0
    EXPECT_EQ(g.Fall(0), 1);  // lands with its tip in row -1
    EXPECT_EQ(g.active, 0);
    EXPECT_EQ(Row(g, 0), "2222777222");  // completed, yet not cleared
    EXPECT_EQ(g.score, 701);
    EXPECT_EQ(g.lines, 18);
    EXPECT_EQ(g.level, 1);
    EXPECT_EQ(g.fallDelay, 60);

    const GameState over = g;  // the final counters stay
    EXPECT_EQ(g.MoveLeft() + g.Rotate(1) + g.Fall(1) + g.Fall(0), 0);
    EXPECT_TRUE(SameState(over, g));
}

TEST(GameOverTest, LockingInTheFirstRotationNearTheTopEndsTheGame)
{
    for (int type = 0; type < 7; ++type) {
        for (int y : {-1, 0}) {
            GameState g = Running();
            Place(g, type, 0, 5, y);
            g.Lock();
            EXPECT_EQ(g.active, 0) << "type " << type << " at " << y;
        }
    }
}
