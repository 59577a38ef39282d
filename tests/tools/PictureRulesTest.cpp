// What the game's screen composition relies on in the committed pictures:
// sizes and format, black exactly where the pictures are to be see-through,
// the dark areas the tiles and counters are drawn onto, and the right block
// colours in the right order.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "ResourceFiles.h"

namespace {

Bitmap Load(const char* name) {
  Bitmap bmp = ParseBitmap(ReadResource(name));
  EXPECT_TRUE(bmp.valid) << name << ": " << bmp.why;
  return bmp;
}

// Hue in degrees (0 red, 120 green, 240 blue).
double Hue(double r, double g, double b) {
  return std::fmod(std::atan2(std::sqrt(3.0) * (g - b), 2 * r - g - b) * 180.0 / std::acos(-1.0) + 360.0,
                   360.0);
}

struct Rect {
  int x0, y0, x1, y1;  // inclusive
};

int BrightestLuma(const Bitmap& bmp, const Rect& r) {
  int best = 0;
  for (int y = r.y0; y <= r.y1; ++y)
    for (int x = r.x0; x <= r.x1; ++x) best = std::max(best, bmp.At(x, y).Luma());
  return best;
}

}  // namespace

TEST(PictureRules, SizesAndFormat) {
  const struct {
    const char* name;
    int width, height;
  } pictures[] = {{"PIC_MAIN.bmp", 300, 400},
                  {"PIC_BLOCKS.bmp", 128, 16},
                  {"PIC_FONTS.bmp", 592, 16},
                  {"PIC_STARTTXT.bmp", 160, 100},
                  {"PIC_GAMEOVER.bmp", 160, 50}};
  for (const auto& p : pictures) {
    SCOPED_TRACE(p.name);
    const Bitmap bmp = Load(p.name);
    EXPECT_EQ(bmp.width, p.width);
    EXPECT_EQ(bmp.height, p.height);
  }
}

TEST(PictureRules, EmptyCellTileIsBlackAllOver) {
  const Bitmap bmp = Load("PIC_BLOCKS.bmp");
  ASSERT_TRUE(bmp.valid);
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 16; ++x) ASSERT_TRUE(bmp.At(x, y).Black()) << x << "," << y;
}

TEST(PictureRules, BlockTilesAreSolidShadedAndInTheirColours) {
  const Bitmap bmp = Load("PIC_BLOCKS.bmp");
  ASSERT_TRUE(bmp.valid);
  const struct {
    const char* colour;
    double hue;
  } expected[7] = {{"red", 0}, {"blue", 225}, {"yellow", 52}, {"magenta", 300},
                   {"green", 125}, {"cyan", 185}, {"orange", 30}};
  for (int tile = 1; tile <= 7; ++tile) {
    SCOPED_TRACE(expected[tile - 1].colour);
    const int left = 16 * tile;
    double r = 0, g = 0, b = 0;
    int edgeLuma = 0;
    for (int y = 0; y < 16; ++y) {
      for (int x = 0; x < 16; ++x) {
        const Pixel p = bmp.At(left + x, y);
        // Black would punch a hole through the block.
        ASSERT_FALSE(p.Black()) << "x " << x << " y " << y;
        r += p.r;
        g += p.g;
        b += p.b;
        if (x == 15 || y == 15) edgeLuma = std::max(edgeLuma, p.Luma());
      }
    }
    double difference = std::fabs(Hue(r, g, b) - expected[tile - 1].hue);
    difference = std::min(difference, 360.0 - difference);
    EXPECT_LT(difference, 20.0) << "hue " << Hue(r, g, b);
    EXPECT_GT(bmp.At(left + 7, 7).Luma(), edgeLuma) << "centre not brighter than the dark rims";
  }
}

TEST(PictureRules, GlyphsStayInTheColumnsTheGameCopies) {
  const Bitmap bmp = Load("PIC_FONTS.bmp");
  ASSERT_TRUE(bmp.valid);
  for (int glyph = 0; glyph < 37; ++glyph) {
    SCOPED_TRACE(glyph);
    int ink = 0;
    for (int y = 0; y < 16; ++y) {
      for (int x = 0; x < 16; ++x) {
        const Pixel p = bmp.At(16 * glyph + x, y);
        if (p.Black()) continue;
        ++ink;
        EXPECT_TRUE(x >= 3 && x <= 12) << "ink at column " << x;
        EXPECT_TRUE(p.g > p.r && p.g > p.b) << "not green at " << x << "," << y;
      }
    }
    if (glyph == 0)
      EXPECT_EQ(ink, 0) << "the blank glyph";
    else
      EXPECT_GT(ink, 10);
  }
}

TEST(PictureRules, GlyphsAreAllDifferent) {
  const Bitmap bmp = Load("PIC_FONTS.bmp");
  ASSERT_TRUE(bmp.valid);
  auto same = [&](int a, int b) {
    for (int y = 0; y < 16; ++y)
      for (int x = 0; x < 16; ++x)
        if (!bmp.At(16 * a + x, y).Black() != !bmp.At(16 * b + x, y).Black()) return false;
    return true;
  };
  for (int a = 0; a < 37; ++a)
    for (int b = a + 1; b < 37; ++b) EXPECT_FALSE(same(a, b)) << a << " and " << b;
}

TEST(PictureRules, BackgroundIsDarkWhereTheGameDraws) {
  const Bitmap bmp = Load("PIC_MAIN.bmp");
  ASSERT_TRUE(bmp.valid);
  const struct {
    const char* what;
    Rect area;
  } dark[] = {{"well", {16, 16, 175, 383}},
              {"score bar", {193, 16, 287, 30}},
              {"lines bar", {193, 48, 287, 62}},
              {"level bar", {193, 80, 287, 94}},
              {"next box", {209, 112, 271, 174}}};
  for (const auto& d : dark) {
    SCOPED_TRACE(d.what);
    // Dark enough for the green counters and every block colour to stand out.
    EXPECT_LT(BrightestLuma(bmp, d.area), 40);
  }
}

TEST(PictureRules, BackgroundHasLabelsAboveTheBarsAndTheNextBox) {
  const Bitmap bmp = Load("PIC_MAIN.bmp");
  ASSERT_TRUE(bmp.valid);
  const Rect labels[] = {{193, 0, 287, 13}, {193, 33, 287, 45}, {193, 65, 287, 77},
                         {209, 97, 271, 109}};
  for (const Rect& r : labels) EXPECT_GT(BrightestLuma(bmp, r), 120) << "label at y " << r.y0;
}

TEST(PictureRules, OverlaysHaveTheirMessageOnSeeThroughBlack) {
  const Bitmap start = Load("PIC_STARTTXT.bmp");
  const Bitmap over = Load("PIC_GAMEOVER.bmp");
  ASSERT_TRUE(start.valid && over.valid);
  for (const Bitmap* bmp : {&start, &over}) {
    EXPECT_TRUE(bmp->At(0, 0).Black());
    EXPECT_GT(BrightestLuma(*bmp, {0, 0, bmp->width - 1, bmp->height - 1}), 120);
  }
  // The game-over message is red: its brightest strokes lean to red.
  int red = 0, other = 0;
  for (const Pixel& p : over.pixels) {
    if (std::max({p.r, p.g, p.b}) < 160) continue;
    (p.r > 2 * p.g && p.r > 2 * p.b ? red : other)++;
  }
  EXPECT_GT(red, 4 * other);
}
