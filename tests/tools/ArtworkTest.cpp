// resources/ holds exactly what the generator draws, byte for byte, so the
// artwork can always be rebuilt from source; and the pictures keep what the
// screen composition relies on when it cuts and layers them.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "Artwork.h"
#include "PngWriter.h"
#include "ResourceFiles.h"

namespace {

int BrightestLuma(const Bitmap& bmp, int x0, int y0, int x1, int y1) {  // inclusive corners
  int best = 0;
  for (int y = y0; y <= y1; ++y)
    for (int x = x0; x <= x1; ++x) best = std::max(best, bmp.At(x, y).Luma());
  return best;
}

Bitmap Load(const char* name) { return ParseBitmap(ReadResource(name)); }

}  // namespace

TEST(ArtworkFiles, CommittedFilesAreWhatTheGeneratorDraws) {
  std::vector<std::string> names;
  for (const ArtworkFile& file : DrawArtwork()) {
    names.push_back(file.name);
    EXPECT_TRUE(ReadResource(file.name) == file.bytes) << file.name << ": run vorblox-artgen resources";
  }
  EXPECT_EQ(names, (std::vector<std::string>{"PIC_MAIN.bmp", "PIC_BLOCKS.bmp", "PIC_FONTS.bmp",
                                             "PIC_STARTTXT.bmp", "PIC_GAMEOVER.bmp", "IDI_APPLICATION.ico"}));
}

// The page's icons are PNGs, which need the generator's libpng.
TEST(ArtworkFiles, CommittedWebIconsAreWhatTheGeneratorDraws) {
  if (!PngSupported()) GTEST_SKIP() << "built without PNG support";
  for (const PngIcon& icon : DrawWebIcons()) {
    Bytes png;
    ASSERT_TRUE(EncodePng(icon.picture, png)) << icon.name;
    EXPECT_TRUE(ReadResource("web/" + icon.name) == png) << icon.name << ": run vorblox-artgen --web-icons resources/web";
  }
  const Canvas maskable = DrawWebIcons()[2].picture;
  for (int y = 0; y < maskable.Height(); ++y)
    for (int x = 0; x < maskable.Width(); ++x) ASSERT_EQ(maskable.Get(x, y).a, 255) << "a maskable icon is opaque";
}

TEST(PictureRules, SizesAndFormat) {
  const struct { const char* name; int width, height; } pictures[] = {
      {"PIC_MAIN.bmp", 300, 400}, {"PIC_BLOCKS.bmp", 128, 16}, {"PIC_FONTS.bmp", 592, 16},
      {"PIC_STARTTXT.bmp", 160, 100}, {"PIC_GAMEOVER.bmp", 160, 50}};
  for (const auto& p : pictures) {
    const Bitmap bmp = Load(p.name);
    EXPECT_TRUE(bmp.valid) << p.name << " is not a 24-bit bottom-up bitmap";
    EXPECT_EQ(bmp.width, p.width) << p.name;
    EXPECT_EQ(bmp.height, p.height) << p.name;
  }
}

TEST(PictureRules, EmptyTileIsAllBlackAndBlockTilesAreSolidInTheirColours) {
  const Bitmap bmp = Load("PIC_BLOCKS.bmp");
  ASSERT_TRUE(bmp.valid && bmp.width == 128 && bmp.height == 16);
  // Red, blue, yellow, magenta, green, cyan, orange, as hues in degrees.
  const double hues[8] = {0, 0, 225, 52, 300, 125, 185, 30};
  for (int tile = 0; tile < 8; ++tile) {
    double r = 0, g = 0, b = 0;
    int black = 0;
    for (int y = 0; y < 16; ++y)
      for (int x = 0; x < 16; ++x) {
        const Pixel p = bmp.At(16 * tile + x, y);
        black += p.Black();  // black is the colour key: see-through
        r += p.r, g += p.g, b += p.b;
      }
    EXPECT_EQ(black, tile == 0 ? 256 : 0) << "tile " << tile;
    if (tile == 0) continue;
    const double hue = std::atan2(std::sqrt(3.0) * (g - b), 2 * r - g - b) * 180 / std::acos(-1.0);
    const double off = std::fabs(std::fmod(hue - hues[tile] + 720, 360.0));
    EXPECT_LT(std::min(off, 360 - off), 20.0) << "tile " << tile << " hue " << hue;
  }
}

TEST(PictureRules, GlyphsInkOnlyTheColumnsTheGameCopiesAndDiffer) {
  const Bitmap bmp = Load("PIC_FONTS.bmp");
  ASSERT_TRUE(bmp.valid && bmp.width == 592 && bmp.height == 16);
  std::vector<std::string> shapes;
  for (int glyph = 0; glyph < 37; ++glyph) {
    std::string shape;
    for (int y = 0; y < 16; ++y)
      for (int x = 0; x < 16; ++x) {
        const Pixel p = bmp.At(16 * glyph + x, y);
        shape += p.Black() ? '.' : '#';
        EXPECT_TRUE(p.Black() || (x >= 3 && x <= 12 && p.g > p.r && p.g > p.b))
            << "glyph " << glyph << ": ink outside columns 3 to 12, or not green, at " << x << "," << y;
      }
    const long ink = std::count(shape.begin(), shape.end(), '#');
    EXPECT_TRUE(glyph == 0 ? ink == 0 : ink > 10) << "glyph " << glyph << " (0 is the blank) has " << ink;
    EXPECT_EQ(std::find(shapes.begin(), shapes.end(), shape), shapes.end()) << "glyph " << glyph << " repeats";
    shapes.push_back(shape);
  }
}

TEST(PictureRules, BackgroundIsDarkWhereTheGameDrawsWithLabelsAbove) {
  const Bitmap bmp = Load("PIC_MAIN.bmp");
  ASSERT_TRUE(bmp.valid && bmp.width == 300 && bmp.height == 400);
  const struct { int x0, y0, x1, y1; bool label; } areas[] = {
      {16, 16, 175, 383, false},  {193, 16, 287, 30, false}, {193, 48, 287, 62, false},
      {193, 80, 287, 94, false},  {209, 112, 271, 174, false},  // well, three value bars, Next box
      {193, 0, 287, 13, true},    {193, 33, 287, 45, true},     {193, 65, 287, 77, true},
      {209, 97, 271, 109, true}};  // Score, Lines, Level, Next
  for (const auto& a : areas) {
    const int brightest = BrightestLuma(bmp, a.x0, a.y0, a.x1, a.y1);
    // Dark enough for the green counters and every block colour to stand out.
    EXPECT_TRUE(a.label ? brightest > 120 : brightest < 40) << "area at " << a.x0 << "," << a.y0;
  }
}

TEST(PictureRules, OverlaysShowTheirMessageInsideASeeThroughBorder) {
  for (const std::string name : {"PIC_STARTTXT.bmp", "PIC_GAMEOVER.bmp"}) {
    const Bitmap bmp = Load(name.c_str());
    ASSERT_TRUE(bmp.valid && bmp.width == 160);
    int edge = 0;  // pixels of the outermost ring that are not see-through black
    for (int y = 0; y < bmp.height; ++y)
      for (int x = 0; x < bmp.width; ++x)
        edge += (x % (bmp.width - 1) == 0 || y % (bmp.height - 1) == 0) && !bmp.At(x, y).Black();
    EXPECT_EQ(edge, 0) << name;
    int red = 0, other = 0;  // the bright strokes of the message
    for (const Pixel& p : bmp.pixels)
      if (std::max({p.r, p.g, p.b}) >= 160) ++(p.r > 2 * p.g && p.r > 2 * p.b ? red : other);
    EXPECT_GT(red + other, 20) << name << " shows no message";
    EXPECT_TRUE(name != "PIC_GAMEOVER.bmp" || red > 4 * other) << "the game-over message is red";
  }
}
