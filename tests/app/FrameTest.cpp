// The presented frames, pixel by pixel: the real game headless, its window's
// client area read back and held against the committed pictures.
#include "app/PMAIN.h"
#include "tests/tools/ResourceFiles.h"
#include "tools/replay/ReplaySession.h"

#include <PlatformTest.h>

#include <gtest/gtest.h>

#include <dinput.h>

namespace {

struct Rect {
    int x, y, width, height;
    bool Contains(int px, int py) const { return px >= x && px < x + width && py >= y && py < y + height; }
};

uint32_t Rgb(const Pixel& p) { return (uint32_t)(p.r << 16 | p.g << 8 | p.b); }

class Frames : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        ASSERT_TRUE(session.Start());
        background = ParseBitmap(ReadResource("PIC_MAIN.bmp"));
        tiles = ParseBitmap(ReadResource("PIC_BLOCKS.bmp"));
        font = ParseBitmap(ReadResource("PIC_FONTS.bmp"));
        prompt = ParseBitmap(ReadResource("PIC_STARTTXT.bmp"));
        banner = ParseBitmap(ReadResource("PIC_GAMEOVER.bmp"));
        ASSERT_TRUE(background.valid && tiles.valid && font.valid && prompt.valid && banner.valid);
    }

    // The frame as the window shows it, 0x00RRGGBB, top row first.
    std::vector<uint32_t> Frame()
    {
        std::vector<uint32_t> pixels;
        int width = 0, height = 0;
        EXPECT_TRUE(PlatformTest::ReadClientPixels(application.hwnd, &pixels, &width, &height));
        EXPECT_EQ(width, 300);
        EXPECT_EQ(height, 400);
        pixels.resize(300 * 400);
        return pixels;
    }

    // What a keyed picture laid over the background shows at (x, y), the
    // picture's top-left corner being at (left, top) and its part starting
    // at (srcX, srcY).
    static uint32_t Over(const Bitmap& picture, int left, int top, int srcX, int x, int y)
    {
        Pixel p = picture.At(srcX + x - left, y - top);
        return p.Black() ? Rgb(background.At(x, y)) : Rgb(p);
    }

    // Counts the pixels of `area` that differ from what `expected` gives.
    template <class Expected>
    static int Mismatches(const std::vector<uint32_t>& frame, const Rect& area, Expected expected)
    {
        int wrong = 0;
        for (int y = area.y; y < area.y + area.height; ++y)
            for (int x = area.x; x < area.x + area.width; ++x)
                if (frame[y * 300 + x] != expected(x, y)) ++wrong;
        return wrong;
    }

    static int GlyphMismatches(const std::vector<uint32_t>& frame, int x, int y, char c)
    {
        const std::string glyphs = " 0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ";
        int g = (int)glyphs.find(c);
        return Mismatches(frame, {x, y - 1, 10, 16},
                          [&](int px, int py) { return Over(font, x, y - 1, 16 * g + 3, px, py); });
    }

    static int TileMismatches(const std::vector<uint32_t>& frame, int x, int y, int tile)
    {
        return Mismatches(frame, {x, y, 16, 16}, [&](int px, int py) { return Over(tiles, x, y, 16 * tile, px, py); });
    }

    void Play(const std::vector<unsigned char>& keys, int ticks)
    {
        for (int i = 0; i < ticks; ++i) session.Tick(keys);
    }

    static ReplaySession session;
    static Bitmap background, tiles, font, prompt, banner;
};

ReplaySession Frames::session;
Bitmap Frames::background, Frames::tiles, Frames::font, Frames::prompt, Frames::banner;

// The frame right after start-up (every case runs in a process of its own).
TEST_F(Frames, StartPromptShowsOnlyThePromptOverAnEmptyWell)
{
    Play({}, 1);
    std::vector<uint32_t> frame = Frame();
    const Rect promptArea{16, 150, 160, 100}, nextBox{209, 112, 64, 64};
    const Rect counters[] = {{192, 15, 10, 16}, {192, 47, 10, 16}, {192, 79, 10, 16}};
    // Everything else is the background: an empty well, no banner, nothing
    // of the L that waits above the well.
    int elsewhere = Mismatches(frame, {0, 0, 300, 400}, [&](int x, int y) {
        bool drawn = promptArea.Contains(x, y) || nextBox.Contains(x, y);
        for (const Rect& r : counters) drawn = drawn || r.Contains(x, y);
        return drawn ? frame[y * 300 + x] : Rgb(background.At(x, y));
    });
    EXPECT_EQ(elsewhere, 0);
    EXPECT_EQ(Mismatches(frame, promptArea, [&](int x, int y) { return Over(prompt, 16, 150, 0, x, y); }), 0);
    EXPECT_EQ(GlyphMismatches(frame, 192, 16, '0'), 0);
    EXPECT_EQ(GlyphMismatches(frame, 192, 48, '0'), 0);
    EXPECT_EQ(GlyphMismatches(frame, 192, 80, '1'), 0);
    // The O in the Next box: its four blocks in the top-left of the grid.
    for (int j = 0; j < 4; ++j)
        for (int l = 0; l < 4; ++l)
            EXPECT_EQ(TileMismatches(frame, 209 + 16 * l, 112 + 16 * j, (l < 2 && j < 2) ? 2 : 0), 0) << l << "," << j;
}

TEST_F(Frames, CountersUseTheMiddleTenColumnsTenPixelsApart)
{
    application.game.score = 1400;
    application.Draw();
    std::vector<uint32_t> frame = Frame();
    EXPECT_EQ(GlyphMismatches(frame, 192, 16, '1'), 0);
    EXPECT_EQ(GlyphMismatches(frame, 202, 16, '4'), 0);
    EXPECT_EQ(GlyphMismatches(frame, 212, 16, '0'), 0);
    EXPECT_EQ(GlyphMismatches(frame, 222, 16, '0'), 0);
    EXPECT_EQ(GlyphMismatches(frame, 232, 16, ' '), 0);
    application.game.score = 0;
}

TEST_F(Frames, TextOutsideTheFontDrawsBlanksAndCapitals)
{
    application.Draw();
    application.Print(24, 300, "a-Z%d", 7);
    application.mainDisplay.Present();
    std::vector<uint32_t> frame = Frame();
    EXPECT_EQ(GlyphMismatches(frame, 24, 300, 'A'), 0);
    EXPECT_EQ(GlyphMismatches(frame, 34, 300, ' '), 0);
    EXPECT_EQ(GlyphMismatches(frame, 44, 300, 'Z'), 0);
    EXPECT_EQ(GlyphMismatches(frame, 54, 300, '7'), 0);
}

TEST_F(Frames, FallingPieceIsDrawnInTheWell)
{
    Play({DIK_F1}, 1);
    Play({DIK_DOWN}, 5);  // the T's top block now in row 3, its row of three in row 4
    std::vector<uint32_t> frame = Frame();
    const GameState& game = application.game;
    ASSERT_EQ(game.piece, 6);
    ASSERT_EQ(game.pieceY, 4);
    EXPECT_EQ(TileMismatches(frame, 16 + 16 * 5, 16 + 16 * 3, 7), 0);
    for (int column = 4; column <= 6; ++column) EXPECT_EQ(TileMismatches(frame, 16 + 16 * column, 16 + 16 * 4, 7), 0);
    EXPECT_EQ(TileMismatches(frame, 16 + 16 * 4, 16 + 16 * 3, 0), 0);
}

TEST_F(Frames, GameOverShowsTheBannerAndThePromptOverTheFinalWell)
{
    Play({DIK_DOWN}, 1);
    Play({DIK_F1, DIK_DOWN}, 1);
    Play({DIK_DOWN}, 3000);
    const GameState& game = application.game;
    ASSERT_EQ(game.active, 0);
    std::vector<uint32_t> frame = Frame();
    auto overWell = [&](const Bitmap& picture, int left, int top, int x, int y) {
        Pixel p = picture.At(x - left, y - top);
        return p.Black() ? frame[y * 300 + x] : Rgb(p);  // the stack shows through
    };
    EXPECT_EQ(Mismatches(frame, {16, 100, 160, 50}, [&](int x, int y) { return overWell(banner, 16, 100, x, y); }), 0);
    EXPECT_EQ(Mismatches(frame, {16, 150, 160, 100}, [&](int x, int y) { return overWell(prompt, 16, 150, x, y); }),
              0);
    // The settled blocks below the overlays are drawn with their tiles.
    for (int column = 0; column < 10; ++column) {
        int tile = game.cells[column * 23 + 22];
        EXPECT_EQ(TileMismatches(frame, 16 + 16 * column, 16 + 16 * 22, tile), 0) << column;
    }
}

}  // namespace
