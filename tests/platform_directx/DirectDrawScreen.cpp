// Blits onto the primary surface land in the client area of the clipper's
// window; the client pixels are read back through the window test control.
#include "DrawTestSupport.h"
#include "TestWindow.h"

#include <PlatformTest.h>

#include <vector>

namespace {

using drawtest::Description;
using drawtest::DirectDrawTest;
using drawtest::TestWindow;

const DWORD kBackground = 0x00123456;

// Distinct 0x00RRGGBB colours: a 32-bit surface's raw values are exactly
// what the client area shows.
DWORD Colour(int x, int y) { return 0x00400000u + static_cast<DWORD>(y) * 0x1000u + static_cast<DWORD>(x) * 0x10u + 1; }

class ScreenTest : public DirectDrawTest {
protected:
    void SetUp() override
    {
        DirectDrawTest::SetUp();
        ASSERT_NE(nullptr, window.hwnd);
        DDSURFACEDESC desc = Description(DDSD_CAPS, DDSCAPS_PRIMARYSURFACE);
        ASSERT_EQ(DD_OK, ddraw->CreateSurface(&desc, &primary, nullptr));
        ASSERT_EQ(DD_OK, ddraw->CreateClipper(0, &clipper, nullptr));
        ASSERT_EQ(DD_OK, clipper->SetHWnd(0, window.hwnd));
        ASSERT_EQ(DD_OK, primary->SetClipper(clipper));
        source = Offscreen(4, 4);
        Fill(source, Colour);
        Paint(kBackground);
    }

    void TearDown() override
    {
        EXPECT_EQ(0u, source->Release());
        EXPECT_EQ(0u, primary->Release());
        EXPECT_EQ(0u, clipper->Release());
        DirectDrawTest::TearDown();
    }

    // Covers the whole client area with one colour through the primary.
    void Paint(DWORD colour)
    {
        RECT client;
        ASSERT_TRUE(GetClientRect(window.hwnd, &client));
        LPDIRECTDRAWSURFACE plain = Offscreen(1, 1);
        Fill(plain, [=](int, int) { return colour; });
        POINT o = window.ClientOrigin();
        RECT all = {o.x, o.y, o.x + client.right, o.y + client.bottom};
        ASSERT_EQ(DD_OK, primary->Blt(&all, plain, nullptr, DDBLT_WAIT, nullptr));
        plain->Release();
    }

    std::vector<uint32_t> Client(int* width, int* height)
    {
        std::vector<uint32_t> pixels;
        EXPECT_TRUE(PlatformTest::ReadClientPixels(window.hwnd, &pixels, width, height));
        return pixels;
    }

    // Every client pixel: the source pixel expected there, or the background.
    template <class Expect>
    void CheckClient(Expect expect)
    {
        int width = 0, height = 0;
        std::vector<uint32_t> pixels = Client(&width, &height);
        ASSERT_GT(width, 0);
        ASSERT_GT(height, 0);
        ASSERT_EQ(static_cast<size_t>(width * height), pixels.size());
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x) {
                POINT from = expect(x, y, width, height);
                DWORD want = from.x < 0 ? kBackground : Colour(from.x, from.y);
                ASSERT_EQ(want, pixels[y * width + x] & 0xFFFFFF) << x << "," << y;
            }
    }

    TestWindow window{40, 30, 160, 120};
    LPDIRECTDRAWSURFACE primary = nullptr;
    LPDIRECTDRAWCLIPPER clipper = nullptr;
    LPDIRECTDRAWSURFACE source = nullptr;
};

POINT None() { return POINT{-1, -1}; }

TEST_F(ScreenTest, BlitLandsAtTheClientAreasScreenPosition)
{
    POINT o = window.ClientOrigin();
    RECT to = {o.x + 10, o.y + 5, o.x + 14, o.y + 9};
    ASSERT_EQ(DD_OK, primary->Blt(&to, source, nullptr, DDBLT_WAIT, nullptr));
    CheckClient([](int x, int y, int, int) {
        return x >= 10 && x < 14 && y >= 5 && y < 9 ? POINT{x - 10, y - 5} : None();
    });
}

TEST_F(ScreenTest, BlitIsCutToTheClientArea)
{
    POINT o = window.ClientOrigin();
    RECT client;
    ASSERT_TRUE(GetClientRect(window.hwnd, &client));
    // One blit over the top-left corner, one over the bottom-right one.
    RECT topLeft = {o.x - 2, o.y - 1, o.x + 2, o.y + 3};
    RECT bottomRight = {o.x + client.right - 1, o.y + client.bottom - 3, o.x + client.right + 3,
                        o.y + client.bottom + 1};
    ASSERT_EQ(DD_OK, primary->Blt(&topLeft, source, nullptr, DDBLT_WAIT, nullptr));
    ASSERT_EQ(DD_OK, primary->Blt(&bottomRight, source, nullptr, DDBLT_WAIT, nullptr));
    CheckClient([](int x, int y, int w, int h) {
        if (x < 2 && y < 3) return POINT{x + 2, y + 1};
        if (x == w - 1 && y >= h - 3) return POINT{0, y - (h - 3)};
        return None();
    });
}

TEST_F(ScreenTest, BlitEntirelyOutsideTheWindowDrawsNothing)
{
    POINT o = window.ClientOrigin();
    RECT away = {o.x - 50, o.y - 50, o.x - 46, o.y - 46};
    ASSERT_EQ(DD_OK, primary->Blt(&away, source, nullptr, DDBLT_WAIT, nullptr));
    CheckClient([](int, int, int, int) { return None(); });
}

TEST_F(ScreenTest, StretchedBlitFillsItsRectangle)
{
    POINT o = window.ClientOrigin();
    RECT to = {o.x, o.y, o.x + 8, o.y + 8};
    ASSERT_EQ(DD_OK, primary->Blt(&to, source, nullptr, DDBLT_WAIT, nullptr));
    CheckClient([](int x, int y, int, int) { return x < 8 && y < 8 ? POINT{x / 2, y / 2} : None(); });
}

TEST_F(ScreenTest, MovedWindowIsFoundAtItsNewPlace)
{
    ASSERT_TRUE(SetWindowPos(window.hwnd, nullptr, 300, 200, 0, 0, 0x0001 /* SWP_NOSIZE */));
    POINT o = window.ClientOrigin();
    RECT to = {o.x, o.y, o.x + 4, o.y + 4};
    ASSERT_EQ(DD_OK, primary->Blt(&to, source, nullptr, DDBLT_WAIT, nullptr));
    CheckClient([](int x, int y, int, int) { return x < 4 && y < 4 ? POINT{x, y} : None(); });
}

TEST_F(ScreenTest, BlitForADestroyedWindowDoesNoHarm)
{
    POINT o = window.ClientOrigin();
    ASSERT_TRUE(DestroyWindow(window.hwnd));
    RECT to = {o.x, o.y, o.x + 4, o.y + 4};
    EXPECT_EQ(DD_OK, primary->Blt(&to, source, nullptr, DDBLT_WAIT, nullptr));
}

}  // namespace
