// Blits onto the primary surface land in the client area of the clipper's
// window; the client pixels are read back through the window test control.
#include "ddraw/DrawTest.h"

#include <PlatformTest.h>

#include <iterator>

namespace {

using dxtest::DirectDrawTest;

const DWORD kBackground = 0x00123456;

// Distinct 0x00RRGGBB colours: a 32-bit surface's raw values are exactly
// what the client area shows.
DWORD Colour(int x, int y) { return 0x00400000u + static_cast<DWORD>(y) * 0x1000u + static_cast<DWORD>(x) * 0x10u + 1; }

// A window with a 152 x 93 client, and a primary surface clipped to it.
class ScreenTest : public DirectDrawTest {
protected:
    void SetUp() override
    {
        DirectDrawTest::SetUp();
        LPDIRECTDRAWCLIPPER clipper = nullptr;
        ASSERT_EQ(DD_OK, ddraw->CreateClipper(0, &clipper, nullptr));
        ASSERT_EQ(DD_OK, clipper->SetHWnd(0, window.hwnd));
        primary = Primary();
        ASSERT_EQ(DD_OK, primary->SetClipper(clipper));
        EXPECT_EQ(1u, clipper->Release());
    }
    // What the client area shows, as 0x00RRGGBB.
    std::vector<uint32_t> Shown(HWND hwnd = nullptr, int width = 152, int height = 93)
    {
        std::vector<uint32_t> pixels;
        int w = 0, h = 0;
        EXPECT_TRUE(PlatformTest::ReadClientPixels(hwnd ? hwnd : window.hwnd, &pixels, &w, &h));
        EXPECT_EQ(width * height, w * h);
        for (uint32_t& pixel : pixels) pixel &= 0xFFFFFF;
        return pixels;
    }
    // Shows `frames` (where 16 x 16 keyed tiles go on a background) in the
    // window, twice over, the background changed for the second time, and
    // the tile's picture and key changed for each time's last two frames.
    void ShowFrames(HWND hwnd, int width, int height, const std::vector<std::vector<POINT>>& frames);
    dxtest::TestWindow window{40, 30, 160, 120};
    LPDIRECTDRAWSURFACE primary = nullptr;
};

void ScreenTest::ShowFrames(HWND hwnd, int width, int height, const std::vector<std::vector<POINT>>& frames)
{
    LPDIRECTDRAWSURFACE background = Offscreen(width, height), back = Offscreen(width, height), tile = Offscreen(16, 16);
    LPDIRECTDRAWCLIPPER clipper = nullptr;
    ASSERT_EQ(DD_OK, ddraw->CreateClipper(0, &clipper, nullptr));
    ASSERT_EQ(DD_OK, clipper->SetHWnd(0, hwnd));
    ASSERT_EQ(DD_OK, primary->SetClipper(clipper));
    clipper->Release();
    DWORD shade = 0, ink = 0x00FF8000u;
    auto backgroundColour = [&shade](int x, int y) { return Colour(x, y) + shade; };
    auto tileColour = [&ink](int x, int y) { return (x + y) % 3 ? ink : 0u; };
    Fill(background, backgroundColour);
    Fill(tile, tileColour);
    DDCOLORKEY key = {0, 0};  // black
    ASSERT_EQ(DD_OK, tile->SetColorKey(DDCKEY_SRCBLT, &key));
    POINT o = {0, 0};
    ClientToScreen(hwnd, &o);
    RECT client = {o.x, o.y, o.x + width, o.y + height};

    for (size_t i = 0; i < frames.size() * 2; ++i) {
        const std::vector<POINT>& tiles = frames[i % frames.size()];
        if (i == frames.size()) {
            // The background itself changes: nothing of the old one may stay.
            shade = 0x000101;
            Fill(background, backgroundColour);
        }
        if (i % frames.size() == frames.size() - 2) {
            ink = 0x0000FF80u - shade;
            Fill(tile, tileColour);
        }
        if (i % frames.size() == frames.size() - 1) {
            // Another key: the black pixels are drawn, the ink ones not.
            key = {ink, ink};
            ASSERT_EQ(DD_OK, tile->SetColorKey(DDCKEY_SRCBLT, &key));
        }
        ASSERT_EQ(DD_OK, back->Blt(nullptr, background, nullptr, DDBLT_WAIT, nullptr));
        for (POINT p : tiles) {
            RECT to = {p.x, p.y, p.x + 16, p.y + 16};
            ASSERT_EQ(DD_OK, back->Blt(&to, tile, nullptr, DDBLT_WAIT | DDBLT_KEYSRC, nullptr));
        }
        ASSERT_EQ(DD_OK, primary->Blt(&client, back, nullptr, DDBLT_WAIT, nullptr));
        std::vector<uint32_t> pixels = Shown(hwnd, width, height);
        ASSERT_EQ((size_t)width * height, pixels.size());
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x) {
                DWORD expected = backgroundColour(x, y);
                for (POINT p : tiles) {
                    bool inside = x >= p.x && x < p.x + 16 && y >= p.y && y < p.y + 16;
                    if (inside && tileColour(x - p.x, y - p.y) != key.dwColorSpaceLowValue)
                        expected = tileColour(x - p.x, y - p.y);
                }
                ASSERT_EQ(expected, pixels[(size_t)y * width + x])
                    << width << " wide, frame " << i << " at " << x << "," << y;
            }
        if (i % frames.size() == frames.size() - 1) {
            key = {0, 0};
            ASSERT_EQ(DD_OK, tile->SetColorKey(DDCKEY_SRCBLT, &key));
        }
    }
}

TEST_F(ScreenTest, PrimaryBlitsLandInTheClientAreaCutToIt)
{
    // Where a 4 x 4 source goes, relative to the client area's top-left
    // corner on the screen.
    const std::pair<const char*, RECT> cases[] = {
        {"at the client's screen position", {10, 5, 14, 9}}, {"stretched", {0, 0, 8, 8}},
        {"over the top-left corner", {-2, -1, 2, 3}},         {"over the bottom-right corner", {151, 90, 155, 94}},
        {"entirely outside", {-50, -50, -46, -46}},
    };
    LPDIRECTDRAWSURFACE source = Offscreen(4, 4), plain = Offscreen(1, 1);
    Fill(source, Colour);
    Fill(plain, [](int, int) { return kBackground; });
    POINT o = {0, 0};
    for (int moved = 0; moved < 2; ++moved) {
        // The client's place is looked up at each blit.
        if (moved) {
            ASSERT_TRUE(SetWindowPos(window.hwnd, nullptr, 300, 200, 0, 0, SWP_NOSIZE));
        }
        o = POINT{0, 0};
        ClientToScreen(window.hwnd, &o);
        for (const auto& [what, c] : cases) {
            RECT all = {o.x, o.y, o.x + 152, o.y + 93};
            RECT to = {o.x + c.left, o.y + c.top, o.x + c.right, o.y + c.bottom};
            ASSERT_EQ(DD_OK, primary->Blt(&all, plain, nullptr, DDBLT_WAIT, nullptr));
            ASSERT_EQ(DD_OK, primary->Blt(&to, source, nullptr, DDBLT_WAIT, nullptr)) << what;
            std::vector<uint32_t> pixels = Shown();
            ASSERT_EQ(152u * 93u, pixels.size());
            for (int y = 0; y < 93; ++y)
                for (int x = 0; x < 152; ++x) {
                    POINT p = dxtest::SourcePixel(c, RECT{0, 0, 4, 4}, x, y);
                    ASSERT_EQ(p.x < 0 ? kBackground : Colour(p.x, p.y), pixels[y * 152 + x])
                        << what << " at " << x << "," << y << (moved ? " moved" : "");
                }
        }
    }
    // A blit for a window that is gone does no harm.
    ASSERT_TRUE(DestroyWindow(window.hwnd));
    RECT to = {o.x, o.y, o.x + 4, o.y + 4};
    EXPECT_EQ(DD_OK, primary->Blt(&to, source, nullptr, DDBLT_WAIT, nullptr));
}

// The game's way of making frames: a background copied whole onto a back
// buffer, a few tiles on top, the back buffer shown whole. The layer draws
// and shows only what changed from frame to frame; the window must still
// show every frame exactly, wherever the tiles were before, and whatever
// changed in the pictures they come from. Once in the usual window, once in
// one more than 64 tiles wide, whose rows of tile marks take two words.
TEST_F(ScreenTest, FramesShowExactlyWhatWasDrawnWhereverItWasBefore)
{
    // Tiles on and off the 16-pixel grid, overlapping, at the edges, none;
    // the last two the same as the one before, while their picture changes.
    const std::vector<std::vector<POINT>> narrow = {
        {{0, 0}}, {{16, 16}, {32, 16}}, {{5, 7}}, {}, {{136, 77}, {130, 70}}, {{70, 40}}, {{70, 41}}, {{0, 77}},
        {{0, 77}}, {{0, 77}},
    };
    // Around the 64th tile (x 1024), and at the right edge.
    const std::vector<std::vector<POINT>> wide = {
        {{1008, 0}}, {{1020, 10}}, {{1024, 16}, {990, 20}}, {}, {{1084, 24}, {1040, 0}}, {{1, 1}, {1030, 5}},
        {{1030, 5}}, {{1030, 5}},
    };
    PlatformTest::SetScreenSize(1600, 800);
    dxtest::TestWindow wideWindow(0, 0, 8 + 1100, 27 + 40);
    ShowFrames(window.hwnd, 152, 93, narrow);
    ShowFrames(wideWindow.hwnd, 1100, 40, wide);
}

// One back buffer shown in two windows by turns: each window takes it with
// what changed since that window last took it, not since the other did.
TEST_F(ScreenTest, OneSurfaceShownInTwoWindowsByTurns)
{
    dxtest::TestWindow other(300, 30, 160, 120);
    LPDIRECTDRAWSURFACE background = Offscreen(152, 93), back = Offscreen(152, 93), tile = Offscreen(16, 16);
    Fill(background, Colour);
    Fill(tile, [](int, int) { return 0x00ABCDEFu; });
    LPDIRECTDRAWCLIPPER clippers[2] = {};
    HWND windows[2] = {window.hwnd, other.hwnd};
    for (int i = 0; i < 2; ++i) {
        ASSERT_EQ(DD_OK, ddraw->CreateClipper(0, &clippers[i], nullptr));
        ASSERT_EQ(DD_OK, clippers[i]->SetHWnd(0, windows[i]));
    }
    const POINT places[] = {{0, 0}, {32, 32}, {64, 0}, {96, 64}, {0, 0}, {64, 0}};
    for (size_t i = 0; i < std::size(places); ++i) {
        POINT p = places[i];
        RECT to = {p.x, p.y, p.x + 16, p.y + 16};
        ASSERT_EQ(DD_OK, back->Blt(nullptr, background, nullptr, DDBLT_WAIT, nullptr));
        ASSERT_EQ(DD_OK, back->Blt(&to, tile, nullptr, DDBLT_WAIT, nullptr));
        HWND hwnd = windows[i % 2];
        ASSERT_EQ(DD_OK, primary->SetClipper(clippers[i % 2]));
        POINT o = {0, 0};
        ClientToScreen(hwnd, &o);
        RECT client = {o.x, o.y, o.x + 152, o.y + 93};
        ASSERT_EQ(DD_OK, primary->Blt(&client, back, nullptr, DDBLT_WAIT, nullptr));
        std::vector<uint32_t> pixels = Shown(hwnd);
        ASSERT_EQ(152u * 93u, pixels.size());
        for (int y = 0; y < 93; ++y)
            for (int x = 0; x < 152; ++x) {
                bool inside = x >= to.left && x < to.right && y >= to.top && y < to.bottom;
                ASSERT_EQ(inside ? 0x00ABCDEFu : Colour(x, y), pixels[y * 152 + x])
                    << "frame " << i << " at " << x << "," << y;
            }
    }
    for (LPDIRECTDRAWCLIPPER clipper : clippers) clipper->Release();
}

// A frame is drawn on its surface the moment anything looks at the surface
// or is about to change what the frame was drawn from: a lock, a blit from
// it, a change or the release of one of its pictures.
TEST_F(ScreenTest, FrameIsThereWhenAnythingLooks)
{
    LPDIRECTDRAWSURFACE background = Offscreen(40, 40), back = Offscreen(40, 40), copy = Offscreen(40, 40);
    LPDIRECTDRAWSURFACE tile = Offscreen(16, 16);
    Fill(background, Colour);
    Fill(tile, [](int, int) { return 0x00ABCDEFu; });
    RECT to = {8, 20, 24, 36};
    std::vector<DWORD> expected;
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 40; ++x)
            expected.push_back(x >= to.left && x < to.right && y >= to.top && y < to.bottom ? 0x00ABCDEFu : Colour(x, y));
    auto frame = [&](LPDIRECTDRAWSURFACE from) {
        ASSERT_EQ(DD_OK, back->Blt(nullptr, background, nullptr, DDBLT_WAIT, nullptr));
        ASSERT_EQ(DD_OK, back->Blt(&to, from, nullptr, DDBLT_WAIT, nullptr));
    };

    frame(tile);
    EXPECT_EQ(expected, Read(back));

    frame(tile);
    ASSERT_EQ(DD_OK, copy->Blt(nullptr, back, nullptr, DDBLT_WAIT, nullptr));
    EXPECT_EQ(expected, Read(copy));

    // The pictures change after the blits: the frame keeps what they were.
    frame(tile);
    Fill(background, [](int, int) { return 0x00111111u; });
    Fill(tile, [](int, int) { return 0x00222222u; });
    EXPECT_EQ(expected, Read(back));
    Fill(background, Colour);
    Fill(tile, [](int, int) { return 0x00ABCDEFu; });

    LPDIRECTDRAWSURFACE gone = nullptr;
    DDSURFACEDESC small = dxtest::Description(DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT, DDSCAPS_OFFSCREENPLAIN, 16, 16);
    ASSERT_EQ(DD_OK, ddraw->CreateSurface(&small, &gone, nullptr));
    Fill(gone, [](int, int) { return 0x00ABCDEFu; });
    frame(gone);
    EXPECT_EQ(0u, gone->Release());
    EXPECT_EQ(expected, Read(back));

    // Thousands of blits before anything looks: past the most a frame
    // keeps, they go straight on, in order.
    ASSERT_EQ(DD_OK, back->Blt(nullptr, background, nullptr, DDBLT_WAIT, nullptr));
    RECT corner = {0, 0, 16, 16};
    for (int i = 0; i < 5000; ++i)
        ASSERT_EQ(DD_OK, back->Blt(i % 2 ? &to : &corner, i % 3 ? tile : background, i % 3 ? nullptr : &corner,
                                   DDBLT_WAIT, nullptr));
    // The last blits: 4999 puts the tile at `to`, 4998 the background's
    // corner at the corner.
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x) expected[y * 40 + x] = Colour(x, y);
    EXPECT_EQ(expected, Read(back));
}

// A kept blit reads its picture as it was when the blit was made, even when
// that picture then gets a frame of its own (a whole copy onto it) and that
// frame is drawn first: by a blit from it, or because it was made before the
// surface that kept the blit.
TEST_F(ScreenTest, KeptBlitsReadTheirPicturesAsTheyWere)
{
    const DWORD kOld = 0x00ABCDEFu, kNew = 0x00222222u;
    RECT to = {8, 20, 24, 36};
    for (int which = 0; which < 4; ++which) {
        bool madeFirst = which % 2 != 0;  // the picture made before the surface keeping the blit
        bool readFirst = which >= 2;      // the picture's own frame drawn by a blit from it
        LPDIRECTDRAWSURFACE picture = madeFirst ? Offscreen(40, 40) : nullptr;
        LPDIRECTDRAWSURFACE background = Offscreen(40, 40), back = Offscreen(40, 40), other = Offscreen(40, 40);
        LPDIRECTDRAWSURFACE reader = Offscreen(40, 40);
        if (!picture) picture = Offscreen(40, 40);
        Fill(background, Colour);
        Fill(picture, [&](int, int) { return kOld; });
        Fill(other, [&](int, int) { return kNew; });
        for (int base = 0; base < 2; ++base) {
            // The picture as a tile on the frame, or as the frame's base.
            ASSERT_EQ(DD_OK, back->Blt(nullptr, base ? picture : background, nullptr, DDBLT_WAIT, nullptr));
            RECT from = {0, 0, 16, 16};
            ASSERT_EQ(DD_OK, back->Blt(&to, picture, &from, DDBLT_WAIT, nullptr));
            ASSERT_EQ(DD_OK, picture->Blt(nullptr, other, nullptr, DDBLT_WAIT, nullptr));
            if (readFirst) {
                ASSERT_EQ(DD_OK, reader->Blt(nullptr, picture, nullptr, DDBLT_WAIT, nullptr));
            }
            std::vector<DWORD> pixels = Read(back);
            for (int y = 0; y < 40; ++y)
                for (int x = 0; x < 40; ++x) {
                    bool tile = x >= to.left && x < to.right && y >= to.top && y < to.bottom;
                    ASSERT_EQ(tile || base ? kOld : Colour(x, y), pixels[y * 40 + x])
                        << (madeFirst ? "made first, " : "made last, ") << (readFirst ? "read first, " : "")
                        << (base ? "as the base" : "as a tile") << " at " << x << "," << y;
                }
            EXPECT_EQ(std::vector<DWORD>(1600, kNew), Read(picture));
            Fill(picture, [&](int, int) { return kOld; });
        }
    }
}

}  // namespace
