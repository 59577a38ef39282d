// Window geometry: the frame metrics, outer and client rectangles, and a
// frame held at its size by WM_GETMINMAXINFO.
#include "RecordingWindow.h"

namespace {

using Geometry = WindowTest;

TEST_F(Geometry, AdjustedFrameHoldsA300By400Client)
{
    RECT adjusted = {0, 0, 300, 400};
    ASSERT_TRUE(AdjustWindowRect(&adjusted, WS_OVERLAPPEDWINDOW, FALSE));
    HWND hwnd = Create(adjusted.right - adjusted.left, adjusted.bottom - adjusted.top);
    RECT client, outer;
    POINT corners[2] = {{0, 0}, {300, 400}};
    ASSERT_TRUE(GetClientRect(hwnd, &client));
    ASSERT_TRUE(GetWindowRect(hwnd, &outer));
    for (POINT& corner : corners) ASSERT_TRUE(ClientToScreen(hwnd, &corner));
    const std::vector<LONG> got = {GetSystemMetrics(SM_CXFRAME), GetSystemMetrics(SM_CYFRAME),
                                   GetSystemMetrics(SM_CYCAPTION), adjusted.left, adjusted.top, adjusted.right,
                                   adjusted.bottom, client.left, client.top, client.right, client.bottom,
                                   outer.left, outer.top, outer.right, outer.bottom,
                                   corners[0].x, corners[0].y, corners[1].x, corners[1].y};
    // 308 x 427 at (10, 20), its client 4 right of and 23 below the corner.
    const std::vector<LONG> want = {4, 4, 19, -4, -23, 304, 404, 0, 0, 300, 400, 10, 20, 318, 447, 14, 43, 314, 443};
    EXPECT_EQ(want, got);
}

TEST_F(Geometry, MinMaxInfoHoldsTheFrameAgainstResizing)
{
    struct Case {
        bool held;
        bool fromDesktop;
        LONG width, height;  // the client afterwards
    };
    const Case cases[] = {{true, true, 300, 400}, {true, false, 300, 400}, {false, true, 320, 240},
                          {false, false, 320, 240}};
    for (const Case& c : cases) {
        HoldSize(c.held ? 308 : 0, c.held ? 427 : 0);
        HWND hwnd = Create();
        ShowWindow(hwnd, SW_SHOW);
        if (c.fromDesktop)
            PlatformTest::ResizeFromDesktop(hwnd, 320, 240);
        else
            ASSERT_TRUE(SetWindowPos(hwnd, NULL, 0, 0, 328, 267, SWP_NOMOVE | SWP_NOZORDER));
        Drain();
        RECT client;
        GetClientRect(hwnd, &client);
        std::vector<uint32_t> pixels;
        int width = 0, height = 0;
        ASSERT_TRUE(PlatformTest::ReadClientPixels(hwnd, &pixels, &width, &height));
        const std::vector<LONG> got = {client.right, client.bottom, width, height};
        EXPECT_EQ((std::vector<LONG>{c.width, c.height, c.width, c.height}), got) << c.held << c.fromDesktop;
        DestroyWindow(hwnd);
    }
}

}  // namespace
