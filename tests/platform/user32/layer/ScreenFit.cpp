// A window on a screen too small for it, and a desktop that gives the
// window another size than the program asked for (a tiling window manager,
// a screen that shrank): headless and on a real X display (Xvfb, 1024 x 768).
#include "user32/RecordingWindow.h"

#include <PlatformTest.h>

#include <stdlib.h>

namespace {

class ScreenFit : public RecordingWindowTest, public ::testing::WithParamInterface<bool> {
protected:
    void SetUp() override
    {
        RecordingWindowTest::SetUp();
        bool headless = GetParam();
        const char* display = getenv("DISPLAY");
        if (!headless && (display == NULL || *display == '\0')) GTEST_SKIP() << "no X display";
        PlatformTest::SetHeadless(headless);
        PlatformTest::Reset();
        if (headless) PlatformTest::SetScreenSize(1024, 768);
    }
    void TearDown() override
    {
        RecordingWindowTest::TearDown();
        PlatformTest::SetHeadless(true);
        PlatformTest::Reset();
    }
    // What the client shows once it is `width` pixels wide (the desktop's
    // news takes a moment on a real display).
    std::vector<uint32_t> ShownAt(HWND hwnd, int width, int* height)
    {
        std::vector<uint32_t> pixels;
        int shownWidth = 0;
        for (int tries = 0; tries < 200; ++tries) {
            Drain();
            UpdateWindow(hwnd);
            if (PlatformTest::ReadClientPixels(hwnd, &pixels, &shownWidth, height) && shownWidth == width) break;
            Sleep(10);
        }
        EXPECT_EQ(width, shownWidth);
        return pixels;
    }
};

// The program holds its client at 120 x 30; the desktop makes it 400 x 100
// all the same. The program still sees 120 x 30, the picture shows whole at
// three times its size (the most that fits), centred, black round, and the
// mouse is placed on it.
TEST_P(ScreenFit, AClientOfAnotherSizeShowsThePictureWholeAndCentred)
{
    held = POINT{8 + 120, 27 + 30};
    HWND hwnd = Create(8 + 120, 27 + 30);
    ShowWindow(hwnd, SW_SHOW);
    UpdateWindow(hwnd);
    skipErase = true;  // what is drawn now stays through the resizes
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(hwnd, &paint);
    SetPixel(dc, 0, 0, RGB(255, 0, 0));
    SetPixel(dc, 119, 29, RGB(0, 0, 255));
    EndPaint(hwnd, &paint);
    PlatformTest::ResizeFromDesktop(hwnd, 400, 100);
    int height = 0;
    std::vector<uint32_t> pixels = ShownAt(hwnd, 400, &height);
    ASSERT_EQ(100, height);
    RECT client;
    GetClientRect(hwnd, &client);
    EXPECT_EQ((std::vector<LONG>{120, 30}), (std::vector<LONG>{client.right, client.bottom}));
    for (int y = 0; y < 100; ++y)
        for (int x = 0; x < 400; ++x) {
            int px = (x - 20) / 3, py = (y - 5) / 3;
            bool inside = x >= 20 && x < 380 && y >= 5 && y < 95;
            uint32_t want = !inside              ? 0u
                            : px == 0 && py == 0 ? 0xFF0000u
                            : px == 119 && py == 29 ? 0x0000FFu
                                                    : 0xFFFFFFu;  // the class brush
            ASSERT_EQ(want, pixels[(size_t)y * 400 + x]) << x << ", " << y;
        }
    // The mouse over program pixel (7, 4) of the picture says so.
    log.clear();
    PlatformTest::DesktopMouseMove(hwnd, 20 + 3 * 7 + 2, 5 + 3 * 4);
    Drain();
    ASSERT_EQ((Order{WM_MOUSEMOVE}), Messages({WM_MOUSEMOVE}));
    for (const MSG& m : log) {
        if (m.message == WM_MOUSEMOVE) {
            EXPECT_EQ(MAKELPARAM(7, 4), m.lParam);
        }
    }
    // Smaller than the picture: at its own size, centred, cut both sides.
    PlatformTest::ResizeFromDesktop(hwnd, 100, 30);
    pixels = ShownAt(hwnd, 100, &height);
    EXPECT_EQ((std::vector<uint32_t>{30, 0xFFFFFF, 0xFFFFFF}),
              (std::vector<uint32_t>{(uint32_t)height, pixels[0], pixels[99]}));
}

// Twice the size does not fit 768 pixels high: the window comes at its own
// size, all of it on the screen although the program put it lower.
TEST_P(ScreenFit, AScaleTooLargeForTheScreenIsLoweredAndTheWindowKeptOnIt)
{
    PlatformTest::SetDisplayScale(2);
    WNDCLASSA wc = {0, DefWindowProcA, 0, 0, NULL, NULL, NULL, (HBRUSH)GetStockObject(BLACK_BRUSH), NULL, "Fit"};
    RegisterClassA(&wc);
    HWND hwnd = CreateWindowExA(0, "Fit", "", WS_OVERLAPPEDWINDOW, 100, 600, 308, 427, NULL, NULL, NULL, NULL);
    ASSERT_TRUE(hwnd != NULL);
    created.push_back(hwnd);
    ShowWindow(hwnd, SW_SHOW);
    UpdateWindow(hwnd);
    int height = 0;
    ShownAt(hwnd, 300, &height);
    RECT outer;
    GetWindowRect(hwnd, &outer);
    EXPECT_EQ((std::vector<LONG>{400, 1024, 768}),
              (std::vector<LONG>{height, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)}));
    EXPECT_TRUE(outer.left >= 0 && outer.top >= 0 && outer.right <= 1024 && outer.bottom <= 768)
        << outer.left << ", " << outer.top << ", " << outer.right << ", " << outer.bottom;
}

INSTANTIATE_TEST_SUITE_P(HeadlessAndX11, ScreenFit, ::testing::Values(true, false),
                         [](const ::testing::TestParamInfo<bool>& info) { return info.param ? "Headless" : "X11"; });

}  // namespace
