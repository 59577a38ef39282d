// Removing full rows, points, and levels with their fall speed.

#include <gtest/gtest.h>

#include "tests/game/WellBuilder.h"

using namespace well;

TEST(ClearLinesTest, TwoRowsApartGoTogether)
{
    GameState g = Running();
    At(g, 3, 0) = 5;
    Fill(g, 18, 18, 3, {2, 7});
    Fill(g, 19, 19, 4, {0, 5});
    Fill(g, 20, 20, 2, {0});
    Fill(g, 21, 21, 6, {0, 8});
    Fill(g, 22, 22, 5, {0});
    Place(g, I, 0, 0, 20);  // upright in column 0, rows 19 to 22
    g.Lock();
    EXPECT_EQ(g.lines, 2);
    EXPECT_EQ(g.score, 500);
    // Rows 0, 18 and 19 come down two rows, row 21 one.
    EXPECT_EQ(Row(g, 0) + Row(g, 2) + Row(g, 20) + Row(g, 21) + Row(g, 22),
              ".........." "...5......" "33.3333.33" "14444.4444" "16666666.6");
    EXPECT_EQ(BlockCount(g), 1 + 8 + 9 + 9);
}

TEST(ClearLinesTest, PointsForOneToFourRowsWhateverTheLevel)
{
    const int points[] = {0, 200, 500, 900, 1400};
    for (int full = 1; full <= 4; ++full) {
        GameState g = Running();
        g.level = 9, g.lines = 250;
        Fill(g, bottom - full + 1, bottom, 2, {0});
        Place(g, I, 0, 0, 20);
        g.Lock();
        EXPECT_EQ(g.lines, 250 + full);
        EXPECT_EQ(g.score, points[full]) << full << " rows";
        EXPECT_EQ(BlockCount(g), 4 - full);  // what is left of the I has dropped to the floor
        EXPECT_EQ(Row(g, std::min(19 + full, bottom)), full < 4 ? "1........." : "..........");
    }
}

TEST(ClearLinesTest, FullSecondRowPullsTheTopRowDownAndTheTopRowEmpties)
{
    // An O locked into rows 0 and 1 completes row 1; its top half, with the
    // rest of row 0, comes down one row.
    GameState g = Running();
    At(g, 0, 0) = 6;
    Fill(g, 1, 1, 3, {4, 5});
    At(g, 4, 2) = 1;
    Place(g, O, 0, 5, 1);
    ASSERT_EQ(g.Fall(0), 1);  // blocked at once: locks, then deals
    EXPECT_EQ(g.active, 1);
    EXPECT_EQ(g.lines, 1);
    EXPECT_EQ(Row(g, 0) + Row(g, 1) + Row(g, 2), ".........." "6...22...." "....1.....");
}

TEST(LevelTest, EighteenthLineRaisesTheLevelAndTheNextPieceFallsFaster)
{
    for (bool clears : {true, false}) {
        GameState g = Running();
        g.lines = 17;
        Fill(g, bottom, bottom, clears ? 1 : 0, {0, 1, 2, 3});
        Place(g, I, 1, 1, bottom);  // lying across columns 0 to 3
        ASSERT_EQ(g.Fall(0), 1);
        EXPECT_EQ(g.lines, clears ? 18 : 17);
        EXPECT_EQ(g.level, clears ? 2 : 1);
        EXPECT_EQ(g.fallCounter, clears ? 47 : 60);  // the piece dealt after the lock
    }
}

TEST(LevelTest, FallDelayShrinksLevelByLevelDownToZeroOneLevelPerLock)
{
    GameState g = Running();
    const int32_t delays[] = {60, 47, 36, 27, 20, 15, 11, 7, 4, 2, 0, 0, 0};
    for (int level = 1; level <= 13; ++level) {
        ASSERT_EQ(g.level, level);
        EXPECT_EQ(g.fallDelay, delays[level - 1]) << "level " << level;
        g.lines = (2 * level + 15) * level;  // exactly on the mark: not yet
        g.ClearLines();
        ASSERT_EQ(g.level, level);
        g.lines += 1;  // past it, even with no row cleared now
        g.ClearLines();
    }
    g.lines = 100000;
    g.ClearLines();
    EXPECT_EQ(g.level, 15);
}
