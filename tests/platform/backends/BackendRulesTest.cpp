#include "DisplayScale.h"
#include "Presenter.h"
#include "TileMarks.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using plat::TileMarks;

TEST(DesktopScale, GdkScaleIsAWholeNumberFromOneUp)
{
    EXPECT_EQ(plat::ScaleFromGdk("1"), 1);
    EXPECT_EQ(plat::ScaleFromGdk("2"), 2);
    EXPECT_EQ(plat::ScaleFromGdk("9"), 4);  // no more than the layer draws
    for (const char* ignored : {"0", "-2", "abc", "2x", "1.5", ""})
        EXPECT_EQ(plat::ScaleFromGdk(ignored), 0) << ignored;
    EXPECT_EQ(plat::ScaleFromGdk(nullptr), 0);
}

TEST(DesktopScale, XftDpiGoesInWholeStepsOf96)
{
    EXPECT_EQ(plat::ScaleFromDpi("96"), 1);
    EXPECT_EQ(plat::ScaleFromDpi("144"), 1);  // 1.5 cannot be drawn sharply
    EXPECT_EQ(plat::ScaleFromDpi("192"), 2);
    EXPECT_EQ(plat::ScaleFromDpi("191.9"), 1);
    EXPECT_EQ(plat::ScaleFromDpi("288"), 3);
    EXPECT_EQ(plat::ScaleFromDpi("1000"), 4);
    for (const char* ignored : {"95", "0", "-192", "abc", ""}) EXPECT_EQ(plat::ScaleFromDpi(ignored), 0) << ignored;
    EXPECT_EQ(plat::ScaleFromDpi(nullptr), 0);
}

void ExpectPlaced(const plat::Placement& p, int scale, int x, int y)
{
    EXPECT_EQ(p.scale, scale);
    EXPECT_EQ(p.at.x, x);
    EXPECT_EQ(p.at.y, y);
}

TEST(PicturePlacement, LargestWholeScaleThatFitsCentredHalvesRoundedDown)
{
    ExpectPlaced(plat::PlacePicture(300, 400, 300, 400), 1, 0, 0);
    ExpectPlaced(plat::PlacePicture(300, 400, 600, 800), 2, 0, 0);
    ExpectPlaced(plat::PlacePicture(300, 400, 651, 811), 2, 25, 5);
    ExpectPlaced(plat::PlacePicture(300, 400, 1000, 800), 2, 200, 0);  // the narrower side decides
    ExpectPlaced(plat::PlacePicture(300, 400, 899, 1300), 2, 149, 250);
    plat::Placement p = plat::PlacePicture(300, 400, 640, 480);
    EXPECT_EQ(p.clientWidth, 640);
    EXPECT_EQ(p.clientHeight, 480);
}

TEST(PicturePlacement, TooSmallAClientCutsTheScale1PictureEvenly)
{
    ExpectPlaced(plat::PlacePicture(300, 400, 299, 400), 1, -1, 0);
    ExpectPlaced(plat::PlacePicture(300, 400, 200, 300), 1, -50, -50);
    ExpectPlaced(plat::PlacePicture(300, 400, 297, 1), 1, -2, -200);
    ExpectPlaced(plat::PlacePicture(300, 400, 0, 0), 1, -150, -200);
    ExpectPlaced(plat::PlacePicture(0, 0, 640, 480), 1, 320, 240);  // no picture yet: no division by zero
}

void ExpectRuns(const TileMarks& marks, std::vector<SDL_Rect> expected)
{
    std::vector<SDL_Rect> runs = marks.Runs();
    ASSERT_EQ(runs.size(), expected.size());
    for (size_t i = 0; i < runs.size(); ++i)
        EXPECT_TRUE(SDL_RectEquals(&runs[i], &expected[i]))
            << i << ": " << runs[i].x << "," << runs[i].y << " " << runs[i].w << "x" << runs[i].h;
}

TEST(TileMarks, ANewPictureIsMarkedWholeAndClearedToNothing)
{
    TileMarks marks;
    marks.Reset(40, 20);
    EXPECT_TRUE(marks.Any());
    ExpectRuns(marks, {{0, 0, 40, 20}});  // the last tiles cut short
    marks.Clear();
    EXPECT_FALSE(marks.Any());
    ExpectRuns(marks, {});
    marks.Reset(0, 20);
    EXPECT_FALSE(marks.Any());
}

TEST(TileMarks, AnAreaMarksTheTilesItTouchesCutToThePicture)
{
    TileMarks marks;
    marks.Reset(40, 40);
    marks.Clear();
    marks.Mark(SDL_Rect{20, 20, 1, 1});
    ExpectRuns(marks, {{16, 16, 16, 16}});
    marks.Clear();
    marks.Mark(SDL_Rect{30, 30, 100, 100});
    ExpectRuns(marks, {{16, 16, 24, 24}});
    marks.Clear();
    for (SDL_Rect outside :
         {SDL_Rect{-20, 0, 20, 40}, SDL_Rect{40, 0, 5, 5}, SDL_Rect{0, 0, 0, 10}, SDL_Rect{0, 0, 10, -1}})
        marks.Mark(outside);
    EXPECT_FALSE(marks.Any());
    marks.Mark(SDL_Rect{-5, -5, 6, 6});
    ExpectRuns(marks, {{0, 0, 16, 16}});
}

TEST(TileMarks, RunsAlongARowJoinARunJustAsWideBelow)
{
    TileMarks marks;
    marks.Reset(64, 64);
    marks.Clear();
    marks.Mark(SDL_Rect{0, 0, 32, 32});
    marks.Mark(SDL_Rect{48, 0, 1, 1});
    ExpectRuns(marks, {{0, 0, 32, 16}, {48, 0, 16, 16}, {0, 16, 32, 16}});
    marks.Clear();
    marks.Mark(SDL_Rect{16, 0, 16, 48});
    marks.Mark(SDL_Rect{0, 48, 1, 1});
    ExpectRuns(marks, {{16, 0, 16, 48}, {0, 48, 16, 16}});
}

TEST(TileMarks, PicturesOver64TilesWide)
{
    TileMarks marks;
    marks.Reset(1100, 20);  // 69 tiles: two words a row
    marks.Clear();
    marks.MarkTileAt(1050, 19);
    ExpectRuns(marks, {{1040, 16, 16, 4}});
    marks.Mark(SDL_Rect{1000, 0, 100, 1});  // across the words' border at 1024
    ExpectRuns(marks, {{992, 0, 108, 16}, {1040, 16, 16, 4}});
    marks.MarkAll();
    ExpectRuns(marks, {{0, 0, 1100, 20}});
}

}  // namespace
