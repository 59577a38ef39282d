// A piece's life: dealt from the fixed random sequence, falling by gravity or
// soft drop, locking, and ending the game when it locks above the top.

#include <gtest/gtest.h>

#include <vector>

#include "tests/game/WellBuilder.h"

using namespace well;

TEST(DealingTest, GeneratorStartsAtOneAndCanBeRestarted)
{
    gameRandom.Restart();
    for (int32_t value : {16838, 5758, 10113, 17515, 31051, 5627, 23010, 7419, 16212, 4086})
        EXPECT_EQ(gameRandom.Next(), value);
    gameRandom.Restart();
    EXPECT_EQ(gameRandom.Next(), 16838);
}

TEST(DealingTest, FirstGameAfterStartUpDealsTheFixedSequence)
{
    gameRandom.Restart();
    GameState g;  // deals a game and stops it
    EXPECT_EQ(g.active, 0);
    g.NewGame();  // start-up prepares a game and stops it for the prompt
    g.active = 0;
    EXPECT_EQ(g.piece, L);
    EXPECT_EQ(g.nextPiece, O);
    g.NewGame();  // F1

    // Every piece goes straight down the middle; the stack stays low enough.
    std::vector<int> falling = {g.piece}, next = {g.nextPiece};
    for (int i = 0; i < 6; ++i) {
        DropToLock(g);
        ASSERT_EQ(g.active, 1);
        falling.push_back(g.piece);
        next.push_back(g.nextPiece);
    }
    EXPECT_EQ(falling, (std::vector<int>{T, T, O, T, I, L, L}));
    EXPECT_EQ(next, (std::vector<int>{T, O, T, I, L, L, T}));
}

TEST(FallTest, GravityStepsOnEveryFallDelayThTimedCallAndSoftDropRestartsTheCount)
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
            EXPECT_EQ(g.pieceY, 2 * step);
            for (int tick = 1; tick < period / 2; ++tick)  // half a countdown, then a soft drop
                g.Fall(1);
            EXPECT_EQ(g.Fall(0), 1);
        }
        EXPECT_EQ(g.score, 6);
    }
}

TEST(FallTest, SoftDropScoresEachRowAndLocksOnTheFloorWithTheNextPiece)
{
    GameState g = Running();
    Place(g, T, 0, 5, -1);
    const int32_t next = g.nextPiece;
    EXPECT_EQ(DropToLock(g), rows);  // the T's lower row is its pivot row
    EXPECT_EQ(g.score, 23);          // one per row; the lock itself scores nothing
    EXPECT_EQ(Row(g, bottom - 1) + Row(g, bottom), ".....7...." "....777...");
    EXPECT_EQ(g.active, 1);
    EXPECT_EQ(g.piece, next);
    EXPECT_EQ(g.fallCounter, 60);
}

TEST(GameOverTest, PieceDealtOverTheStackIsPlayableUntilItLocks)
{
    // Columns 3 to 6 are stacked to the top; the T is dealt right over them.
    GameState g = Running();
    Fill(g, 0, bottom, 4, {0, 1, 2, 7, 8, 9});
    Place(g, T, 0, 5, -1);
    GameState escape = g;

    // Left where it was dealt, the first step down locks it above the top;
    // the piece after it is still dealt.
    const int32_t next = g.nextPiece;
    EXPECT_EQ(g.Fall(0), 1);
    EXPECT_EQ(g.active, 0);
    EXPECT_EQ(g.piece, next);
    EXPECT_EQ(g.score, 0);

    // Moved clear of the stack first (above the well only the columns count),
    // it falls on into the open columns.
    EXPECT_EQ(escape.MoveLeft() + escape.MoveLeft() + escape.MoveLeft() + escape.MoveLeft(), 4);
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
    g.lines = 18, g.score = 700;  // already past level 1's mark: a level test would show
    Place(g, T, 0, 5, -1);
    EXPECT_EQ(g.Fall(0) + g.Fall(0), 2);  // into row 0, then lands with its tip in row -1
    EXPECT_EQ(g.active, 0);
    EXPECT_EQ(Row(g, 0), "2222777222");  // completed, yet not cleared
    EXPECT_EQ(g.score, 701);
    EXPECT_EQ(g.lines, 18);
    EXPECT_EQ(g.level, 1);

    // Stopped, the final state stays: nothing moves, clears or levels up.
    const GameState over = g;
    EXPECT_EQ(g.Fits(T, 0, 5, 5) + g.MoveLeft() + g.MoveRight() + g.Rotate(1) + g.Rotate(0) + g.Fall(1) + g.Fall(0),
              0);
    g.Lock();
    g.ClearLines();
    EXPECT_TRUE(SameState(over, g));
}
