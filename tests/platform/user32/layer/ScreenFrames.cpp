// Frames on a real X display (Xvfb): the window shows every pixel enlarged
// by the display scale, and a server that falls behind gets the newest
// frame when it has caught up, never a queue of old ones.
#include "XServerView.h"

#include <PlatformTest.h>
#include <SDL.h>
#include <windows.h>

#include <gtest/gtest.h>

#include <stdlib.h>
#include <unistd.h>

#include <functional>
#include <vector>

namespace {

const char kTitle[] = "Screen frames";
const ULONGLONG kMillisecond = 10000;  // in the clock control's hundreds of nanoseconds

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
    // A 120 x 30 client area.
    void Open(int scale)
    {
        PlatformTest::SetDisplayScale(scale);
        hwnd = CreateWindowExA(0, "Frames", kTitle, WS_OVERLAPPEDWINDOW, 0, 0, 8 + 120, 27 + 30, NULL, NULL, NULL, NULL);
        ASSERT_TRUE(hwnd != NULL);
        ShowWindow(hwnd, SW_SHOW);
        // The window's first exposure and paint out of the way before the
        // frames the test counts.
        std::vector<uint32_t> pixels;
        PlatformTest::ReadClientPixels(hwnd, &pixels, NULL, NULL);
        int quiet = 0;
        PumpUntil([&] { return ++quiet == 10; });
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
    // What the server holds for the window, once it has read everything.
    std::vector<uint32_t> Shown(int* width = NULL, int* height = NULL)
    {
        std::vector<uint32_t> pixels;
        EXPECT_TRUE(PlatformTest::ReadClientPixels(hwnd, &pixels, width, height));
        return pixels;
    }
    // Reads the program's messages until `done` (up to five seconds).
    static bool PumpUntil(const std::function<bool()>& done)
    {
        for (int i = 0; i < 1000; ++i) {
            MSG msg;
            while (PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
            if (done()) return true;
            usleep(5000);
        }
        return false;
    }
    HWND hwnd = NULL;
};

// Frames after the first change only a part of the window: the copy of each
// to the window must cover its changed tiles at twice their size.
TEST_F(ScreenFrames, AtScaleTwoTheWindowShowsEachPixelTwice)
{
    Open(2);
    Fill(0, 0, 120, 30, GRAY_BRUSH);
    const uint32_t gray = Shown().at(0);
    std::vector<uint32_t> expected(120 * 30, gray);
    const struct {
        RECT r;
        int stock;
        uint32_t colour;
    } frames[] = {
        {{13, 5, 37, 21}, WHITE_BRUSH, 0xFFFFFF},  // across tiles, off their grid
        {{100, 20, 120, 30}, BLACK_BRUSH, 0},      // the last, short, row and column of tiles
        {{3, 4, 5, 7}, WHITE_BRUSH, 0xFFFFFF},
        {{16, 0, 32, 16}, BLACK_BRUSH, 0},  // one tile exactly
    };
    for (const auto& f : frames) {
        Fill(f.r.left, f.r.top, f.r.right, f.r.bottom, f.stock);
        for (LONG y = f.r.top; y < f.r.bottom; ++y)
            for (LONG x = f.r.left; x < f.r.right; ++x) expected[y * 120 + x] = f.colour;
        int width = 0, height = 0;
        std::vector<uint32_t> held = Shown(&width, &height), screen;
        ASSERT_EQ((std::vector<int>{240, 60}), (std::vector<int>{width, height}));
        ASSERT_TRUE(xview::ReadScreen(kTitle, &screen, &width, &height));
        ASSERT_EQ((std::vector<int>{240, 60}), (std::vector<int>{width, height}));
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x) {
                ASSERT_EQ(expected[y / 2 * 120 + x / 2], held[(size_t)y * width + x]) << "held at " << x << ", " << y;
                ASSERT_EQ(expected[y / 2 * 120 + x / 2], screen[(size_t)y * width + x])
                    << "on the screen at " << x << ", " << y;
            }
    }
}

// While the server reads nothing, the first frame goes (nothing was unread
// before it), the next ones gather behind a message to the program's own
// window; when the message comes back, what gathered goes as one frame,
// without the program drawing again.
TEST_F(ScreenFrames, ABusyServerGetsOnlyTheNewestFrame)
{
    Open(1);
    Fill(0, 0, 120, 30, GRAY_BRUSH);
    const uint32_t gray = Shown().at(0);
    const int frames = xview::FramesSent(), messages = xview::MessagesSent();
    PlatformTest::HoldDisplayServer(true);
    Fill(0, 0, 60, 30, WHITE_BRUSH);
    EXPECT_EQ(frames + 1, xview::FramesSent()) << "a server that has read everything gets the frame at once";
    Fill(0, 0, 10, 10, BLACK_BRUSH);
    Fill(100, 0, 120, 30, WHITE_BRUSH);
    EXPECT_EQ(frames + 1, xview::FramesSent()) << "a server that has not gets nothing more";
    EXPECT_EQ(messages + 1, xview::MessagesSent()) << "one message behind what it has not read";
    PlatformTest::HoldDisplayServer(false);
    EXPECT_TRUE(PumpUntil([&] { return xview::FramesSent() > frames + 1; })) << "the message came back";
    EXPECT_EQ(frames + 2, xview::FramesSent());
    std::vector<uint32_t> pixels = Shown();
    EXPECT_EQ((std::vector<uint32_t>{0, 0xFFFFFF, gray, 0xFFFFFF}),
              (std::vector<uint32_t>{pixels[0], pixels[30], pixels[70], pixels[110]}));
    EXPECT_EQ(frames + 2, xview::FramesSent()) << "nothing was left to send";
}

// Should the message never come back (another part of the program took
// SDL's event filter), a frame goes once the server has read everything and
// a quarter of a second has passed since the message was sent, not before.
TEST_F(ScreenFrames, WithoutTheMessageAFrameGoesAfterAQuarterSecond)
{
    Open(1);
    Fill(0, 0, 120, 30, GRAY_BRUSH);
    const uint32_t gray = Shown().at(0);
    SDL_EventFilter filter = NULL;
    void* data = NULL;
    SDL_GetEventFilter(&filter, &data);
    SDL_SetEventFilter(NULL, NULL);
    PlatformTest::StopClock(true);
    const int frames = xview::FramesSent();
    PlatformTest::HoldDisplayServer(true);
    Fill(0, 0, 60, 30, WHITE_BRUSH);
    Fill(0, 0, 10, 10, BLACK_BRUSH);  // waits; the message goes
    PlatformTest::HoldDisplayServer(false);
    PumpUntil([] { return false; });  // the server reads everything meanwhile
    PlatformTest::AdvanceClock(249 * kMillisecond);
    Fill(100, 0, 120, 30, WHITE_BRUSH);
    EXPECT_EQ(frames + 1, xview::FramesSent()) << "sent before a quarter second had passed";
    PlatformTest::AdvanceClock(1 * kMillisecond);
    int stock = WHITE_BRUSH;
    EXPECT_TRUE(PumpUntil([&] {
        stock = stock == WHITE_BRUSH ? LTGRAY_BRUSH : WHITE_BRUSH;
        Fill(110, 0, 120, 30, stock);
        return xview::FramesSent() > frames + 1;
    })) << "never sent";
    SDL_SetEventFilter(filter, data);
    std::vector<uint32_t> pixels = Shown();
    EXPECT_EQ((std::vector<uint32_t>{0, 0xFFFFFF, gray, 0xFFFFFF}),
              (std::vector<uint32_t>{pixels[0], pixels[30], pixels[70], pixels[100]}));
}

}  // namespace
