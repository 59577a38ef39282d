// The random source, starting and restarting games, and what a stopped game allows.

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

TEST(DealingTest, ConstructionDealsTwoAndStops)
{
    gameRandom.Restart();
    GameState g;
    EXPECT_EQ(g.active, 0);
    EXPECT_EQ(BlockCount(g), 0);
    EXPECT_EQ(g.score, 0);
    EXPECT_EQ(g.lines, 0);
    EXPECT_EQ(g.level, 1);
    EXPECT_EQ(g.fallDelay, 60);
    EXPECT_EQ(g.piece, 16838 % 7);
    EXPECT_EQ(g.nextPiece, 5758 % 7);
    EXPECT_EQ(gameRandom.Next(), 10113);
}

TEST(DealingTest, FirstGameAfterStartUpDealsTheFixedSequence)
{
    gameRandom.Restart();
    GameState g;
    g.NewGame();  // start-up prepares a game and stops it for the prompt
    g.active = 0;
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

TEST(DealingTest, NewGameDuringAGameStartsOverWithTwoFreshDraws)
{
    GameState g = Running();
    Fill(g, bottom, bottom, 3, {4});
    g.score = 1234;
    g.lines = 40;
    g.level = 3;
    g.fallDelay = 36;
    Place(g, L, 2, 7, 9);

    GameRandom model = gameRandom;
    g.NewGame();

    EXPECT_EQ(g.active, 1);
    EXPECT_EQ(BlockCount(g), 0);
    EXPECT_EQ(g.score, 0);
    EXPECT_EQ(g.lines, 0);
    EXPECT_EQ(g.level, 1);
    EXPECT_EQ(g.fallDelay, 60);
    EXPECT_EQ(g.fallCounter, 60);
    EXPECT_EQ(g.piece, model.Next() % 7);
    EXPECT_EQ(g.nextPiece, model.Next() % 7);
    EXPECT_EQ(g.rotation, 0);
    EXPECT_EQ(g.pieceX, 5);
    EXPECT_EQ(g.pieceY, -1);
}

TEST(DealingTest, StoppedGameRefusesEveryOperation)
{
    gameRandom.Restart();
    GameState g;
    Fill(g, bottom, bottom, 2);  // full, but nothing clears while stopped
    g.lines = 30;                // nor does the level rise
    const GameState before = g;

    EXPECT_EQ(g.Fits(T, 0, 5, 5), 0);
    EXPECT_EQ(g.MoveLeft() + g.MoveRight() + g.Rotate(1) + g.Rotate(0) + g.Fall(1) + g.Fall(0), 0);
    g.Lock();
    g.ClearLines();
    EXPECT_TRUE(SameState(before, g));
}
