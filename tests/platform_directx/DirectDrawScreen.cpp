// Blits onto the primary surface land in the client area of the clipper's
// window; the client pixels are read back through the window test control.
#include "DirectXTestSupport.h"

#include <PlatformTest.h>

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
    std::vector<uint32_t> Shown()
    {
        std::vector<uint32_t> pixels;
        int w = 0, h = 0;
        EXPECT_TRUE(PlatformTest::ReadClientPixels(window.hwnd, &pixels, &w, &h));
        EXPECT_EQ(152 * 93, w * h);
        for (uint32_t& pixel : pixels) pixel &= 0xFFFFFF;
        return pixels;
    }
    dxtest::TestWindow window{40, 30, 160, 120};
    LPDIRECTDRAWSURFACE primary = nullptr;
};

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
// buffer, a few tiles on top, the back buffer shown whole. The layer copies
// and shows only what changed from frame to frame; the window must still
// show every frame exactly, wherever the tiles were before.
TEST_F(ScreenTest, FramesShowExactlyWhatWasDrawnWhereverItWasBefore)
{
    LPDIRECTDRAWSURFACE background = Offscreen(152, 93), back = Offscreen(152, 93), tile = Offscreen(16, 16);
    DWORD shade = 0;
    auto backgroundColour = [&shade](int x, int y) { return Colour(x, y) + shade; };
    Fill(background, backgroundColour);
    Fill(tile, [](int x, int y) { return (x + y) % 3 ? 0x00FF8000u : 0u; });  // black is the key
    DDCOLORKEY black = {0, 0};
    ASSERT_EQ(DD_OK, tile->SetColorKey(DDCKEY_SRCBLT, &black));
    POINT o = {0, 0};
    ClientToScreen(window.hwnd, &o);
    RECT client = {o.x, o.y, o.x + 152, o.y + 93};

    // Tiles on and off the 16-pixel grid, overlapping, at the edges, none.
    const std::vector<std::vector<POINT>> frames = {
        {{0, 0}}, {{16, 16}, {32, 16}}, {{5, 7}}, {}, {{136, 77}, {130, 70}}, {{70, 40}}, {{70, 41}}, {{0, 77}},
    };
    for (size_t i = 0; i < frames.size() * 2; ++i) {
        const std::vector<POINT>& tiles = frames[i % frames.size()];
        if (i == frames.size()) {
            // The background itself changes: nothing of the old one may stay.
            shade = 0x000101;
            Fill(background, backgroundColour);
        }
        ASSERT_EQ(DD_OK, back->Blt(nullptr, background, nullptr, DDBLT_WAIT, nullptr));
        for (POINT p : tiles) {
            RECT to = {p.x, p.y, p.x + 16, p.y + 16};
            ASSERT_EQ(DD_OK, back->Blt(&to, tile, nullptr, DDBLT_WAIT | DDBLT_KEYSRC, nullptr));
        }
        ASSERT_EQ(DD_OK, primary->Blt(&client, back, nullptr, DDBLT_WAIT, nullptr));
        std::vector<uint32_t> pixels = Shown();
        ASSERT_EQ(152u * 93u, pixels.size());
        for (int y = 0; y < 93; ++y)
            for (int x = 0; x < 152; ++x) {
                DWORD expected = backgroundColour(x, y);
                for (POINT p : tiles)
                    if (x >= p.x && x < p.x + 16 && y >= p.y && y < p.y + 16 && (x - p.x + y - p.y) % 3)
                        expected = 0x00FF8000u;
                ASSERT_EQ(expected, pixels[y * 152 + x]) << "frame " << i << " at " << x << "," << y;
            }
    }
}

}  // namespace
