// Window geometry: the frame metrics, outer and client rectangles, and a
// frame held at its size by WM_GETMINMAXINFO.
#include "RecordingWindow.h"

namespace {

using Geometry = WindowTest;

TEST_F(Geometry, TheGameFormulasGiveA300By400Client)
{
    int width = 300 + 2 * GetSystemMetrics(SM_CXFRAME);
    int height = 400 + GetSystemMetrics(SM_CYCAPTION) + 2 * GetSystemMetrics(SM_CYFRAME) - 1;
    HWND hwnd = Create(width, height);
    RECT client;
    ASSERT_TRUE(GetClientRect(hwnd, &client));
    EXPECT_EQ(0, client.left);
    EXPECT_EQ(0, client.top);
    EXPECT_EQ(300, client.right);
    EXPECT_EQ(400, client.bottom);
    RECT outer;
    ASSERT_TRUE(GetWindowRect(hwnd, &outer));
    EXPECT_EQ(width, outer.right - outer.left);
    EXPECT_EQ(height, outer.bottom - outer.top);
    EXPECT_EQ(10, outer.left);  // where it was asked to be
    EXPECT_EQ(20, outer.top);
}

TEST_F(Geometry, ClientToScreenLiesInsideTheFrame)
{
    HWND hwnd = Create();
    RECT outer;
    GetWindowRect(hwnd, &outer);
    POINT origin = {0, 0};
    ASSERT_TRUE(ClientToScreen(hwnd, &origin));
    EXPECT_EQ(outer.left + GetSystemMetrics(SM_CXFRAME), origin.x);
    EXPECT_EQ(outer.top + GetSystemMetrics(SM_CYFRAME) + GetSystemMetrics(SM_CYCAPTION) - 1, origin.y);
    POINT corner = {300, 400};
    ClientToScreen(hwnd, &corner);
    EXPECT_EQ(outer.right - GetSystemMetrics(SM_CXFRAME), corner.x);
    EXPECT_EQ(outer.bottom - GetSystemMetrics(SM_CYFRAME), corner.y);
}

TEST_F(Geometry, ScreenSizeComesFromTheDisplayOrTheTestControl)
{
    EXPECT_GT(GetSystemMetrics(SM_CXSCREEN), 0);
    EXPECT_GT(GetSystemMetrics(SM_CYSCREEN), 0);
    PlatformTest::SetScreenSize(200, 150);
    EXPECT_EQ(200, GetSystemMetrics(SM_CXSCREEN));
    EXPECT_EQ(150, GetSystemMetrics(SM_CYSCREEN));
}

TEST_F(Geometry, GoneWindowHasNoRectangles)
{
    HWND hwnd = Create();
    DestroyWindow(hwnd);
    RECT rect;
    POINT point = {0, 0};
    EXPECT_FALSE(GetClientRect(hwnd, &rect));
    EXPECT_FALSE(GetWindowRect(hwnd, &rect));
    EXPECT_FALSE(ClientToScreen(hwnd, &point));
    EXPECT_EQ((DWORD)ERROR_INVALID_WINDOW_HANDLE, GetLastError());
}

TEST_F(Geometry, HeldFrameSurvivesAResizeRequest)
{
    HoldSize(308, 426);
    HWND hwnd = Create(308, 426);
    ShowWindow(hwnd, SW_SHOW);
    PlatformTest::ResizeFromDesktop(hwnd, 500, 600);
    MSG msg;
    while (PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
    RECT client;
    GetClientRect(hwnd, &client);
    EXPECT_EQ(300, client.right);
    EXPECT_EQ(400, client.bottom);
    std::vector<uint32_t> pixels;
    int width = 0, height = 0;
    ASSERT_TRUE(PlatformTest::ReadClientPixels(hwnd, &pixels, &width, &height));
    EXPECT_EQ(300, width);
    EXPECT_EQ(400, height);
}

TEST_F(Geometry, HeldFrameRefusesAProgrammaticResize)
{
    HoldSize(308, 426);
    HWND hwnd = Create(308, 426);
    ASSERT_TRUE(SetWindowPos(hwnd, NULL, 0, 0, 500, 600, SWP_NOMOVE | SWP_NOZORDER));
    RECT outer;
    GetWindowRect(hwnd, &outer);
    EXPECT_EQ(308, outer.right - outer.left);
    EXPECT_EQ(426, outer.bottom - outer.top);
}

TEST_F(Geometry, UnheldFrameFollowsAResize)
{
    HWND hwnd = Create(308, 426);
    ShowWindow(hwnd, SW_SHOW);
    PlatformTest::ResizeFromDesktop(hwnd, 320, 240);
    MSG msg;
    while (PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
    RECT client;
    GetClientRect(hwnd, &client);
    EXPECT_EQ(320, client.right);
    EXPECT_EQ(240, client.bottom);
}

}  // namespace
