// What a window shows, read back through the test control: painting at
// the program's size and enlarged by the display scale.
#include "user32/RecordingWindow.h"

#include <PlatformTest.h>

namespace {

using WindowPixels = RecordingWindowTest;

TEST_F(WindowPixels, WhatWasPaintedIsShown)
{
    HWND hwnd = Create(8 + 120, 27 + 30);  // a 120 x 30 client
    ShowWindow(hwnd, SW_SHOW);
    UpdateWindow(hwnd);  // erased with the class brush, white
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(hwnd, &paint);
    SetPixel(dc, 1, 2, RGB(10, 20, 30));
    EndPaint(hwnd, &paint);
    // As 0x00RRGGBB.
    std::vector<uint32_t> pixels;
    int width = 0, height = 0;
    ASSERT_TRUE(PlatformTest::ReadClientPixels(hwnd, &pixels, &width, &height));
    EXPECT_EQ((std::vector<uint32_t>{120, 30, 0xFFFFFF, 0x0A141E}),
              (std::vector<uint32_t>{(uint32_t)width, (uint32_t)height, pixels[0], pixels[2 * 120 + 1]}));
}

// At scale 2 the program keeps its own sizes and positions; the screen has
// twice the pixels each way, and the mouse comes back in program pixels.
TEST_F(WindowPixels, AScaledWindowShowsEachPixelTwiceInProgramCoordinates)
{
    PlatformTest::SetDisplayScale(2);
    PlatformTest::SetScreenSize(1000, 800);
    HWND hwnd = Create(8 + 120, 27 + 10);  // a 120 x 10 client at (10, 20)
    ShowWindow(hwnd, SW_SHOW);
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(hwnd, &paint);
    RECT black = {3, 4, 5, 7};
    FillRect(dc, &black, (HBRUSH)GetStockObject(BLACK_BRUSH));
    EndPaint(hwnd, &paint);
    PlatformTest::DesktopMouseMove(hwnd, 21, 13);
    RECT client, frame;
    POINT corner = {0, 0};
    ASSERT_TRUE(GetClientRect(hwnd, &client) && GetWindowRect(hwnd, &frame) && ClientToScreen(hwnd, &corner));
    EXPECT_EQ((std::vector<LONG>{120, 10, 10, 20, 138, 57, 14, 43, 500, 400}),
              (std::vector<LONG>{client.right, client.bottom, frame.left, frame.top, frame.right, frame.bottom,
                                 corner.x, corner.y, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)}));
    EXPECT_EQ(MAKELPARAM(10, 6), Drain().at(0).lParam);

    std::vector<uint32_t> pixels;
    int width = 0, height = 0;
    ASSERT_TRUE(PlatformTest::ReadClientPixels(hwnd, &pixels, &width, &height));
    ASSERT_EQ((std::vector<int>{240, 20}), (std::vector<int>{width, height}));
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            bool inBlack = x / 2 >= 3 && x / 2 < 5 && y / 2 >= 4 && y / 2 < 7;
            ASSERT_EQ(inBlack ? 0u : 0xFFFFFFu, pixels[(size_t)y * width + x]) << x << ", " << y;
        }
}

}  // namespace
