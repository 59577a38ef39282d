// Frames on a real X display (Xvfb): the server holds every pixel enlarged
// by the display scale, and a server that falls behind gets the newest
// frame when it catches up, never a queue of old ones.
#include <PlatformTest.h>
#include <windows.h>

#include <gtest/gtest.h>

#include <stdlib.h>

#include <vector>

namespace {

class ScreenFrames : public ::testing::Test {
protected:
    void SetUp() override
    {
        const char* display = getenv("DISPLAY");
        if (display == NULL || *display == '\0') GTEST_SKIP() << "no X display";
        PlatformTest::SetHeadless(false);
        PlatformTest::Reset();
        WNDCLASSA wc = {0, DefWindowProcA, 0, 0, NULL, NULL, NULL, (HBRUSH)GetStockObject(BLACK_BRUSH), NULL, "Frames"};
        RegisterClassA(&wc);
    }
    void TearDown() override
    {
        if (hwnd) DestroyWindow(hwnd);
        PlatformTest::Reset();
    }
    void Open(int scale)
    {
        PlatformTest::SetDisplayScale(scale);
        hwnd = CreateWindowExA(0, "Frames", "", WS_OVERLAPPEDWINDOW, 0, 0, 8 + 120, 27 + 30, NULL, NULL, NULL, NULL);
        ASSERT_TRUE(hwnd != NULL);
        ShowWindow(hwnd, SW_SHOW);
    }
    // One frame: a rectangle of the client area filled.
    void Fill(LONG left, LONG top, LONG right, LONG bottom, int stock)
    {
        PAINTSTRUCT paint;
        HDC dc = BeginPaint(hwnd, &paint);
        RECT r = {left, top, right, bottom};
        FillRect(dc, &r, (HBRUSH)GetStockObject(stock));
        EndPaint(hwnd, &paint);
    }
    std::vector<uint32_t> Shown(int* width = NULL, int* height = NULL)
    {
        std::vector<uint32_t> pixels;
        EXPECT_TRUE(PlatformTest::ReadClientPixels(hwnd, &pixels, width, height));
        return pixels;
    }
    HWND hwnd = NULL;
};

TEST_F(ScreenFrames, AtScaleTwoTheServerHoldsEachPixelTwice)
{
    Open(2);
    Fill(3, 4, 5, 7, WHITE_BRUSH);
    int width = 0, height = 0;
    std::vector<uint32_t> pixels = Shown(&width, &height);
    ASSERT_EQ((std::vector<int>{240, 60}), (std::vector<int>{width, height}));
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            bool white = x / 2 >= 3 && x / 2 < 5 && y / 2 >= 4 && y / 2 < 7;
            ASSERT_EQ(white ? 0xFFFFFFu : 0u, pixels[(size_t)y * width + x]) << x << ", " << y;
        }
}

TEST_F(ScreenFrames, ABusyServerGetsOnlyTheNewestFrame)
{
    Open(1);
    Fill(0, 0, 120, 30, GRAY_BRUSH);
    const uint32_t gray = Shown().at(0);
    int sent = PlatformTest::CallCount("XCopyArea");
    PlatformTest::HoldDisplayServer(true);
    Fill(0, 0, 60, 30, WHITE_BRUSH);
    Fill(0, 0, 10, 10, BLACK_BRUSH);
    EXPECT_EQ(sent, PlatformTest::CallCount("XCopyArea"));
    EXPECT_EQ(gray, Shown().at(0));  // still the frame before
    PlatformTest::HoldDisplayServer(false);
    EXPECT_EQ(sent + 1, PlatformTest::CallCount("XCopyArea"));
    std::vector<uint32_t> pixels = Shown();
    EXPECT_EQ((std::vector<uint32_t>{0, 0xFFFFFF, gray}), (std::vector<uint32_t>{pixels[0], pixels[30], pixels[70]}));
}

}  // namespace
