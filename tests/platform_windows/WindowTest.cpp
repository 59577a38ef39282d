// Windows: which messages arrive in which order from creation to
// destruction, what the default window procedure does with them, and the
// frame's geometry.
#include "RecordingWindow.h"

namespace {

using Window = WindowTest;

TEST_F(Window, CreationSendsTheCreationMessagesInOrder)
{
    Create();
    EXPECT_EQ((Order{WM_GETMINMAXINFO, WM_NCCREATE, WM_NCCALCSIZE, WM_CREATE, WM_SIZE, WM_MOVE}), Messages());
}

TEST_F(Window, ShowThenUpdateErasesAndPaintsOnce)
{
    HWND hwnd = Create();
    EXPECT_TRUE(UpdateWindow(hwnd));  // hidden: nothing to paint
    EXPECT_TRUE(Messages({WM_PAINT}).empty());
    log.clear();
    EXPECT_FALSE(ShowWindow(hwnd, SW_SHOWDEFAULT));  // was hidden
    EXPECT_TRUE(UpdateWindow(hwnd));
    EXPECT_EQ((Order{WM_SHOWWINDOW, WM_ERASEBKGND, WM_PAINT}), Messages({WM_SHOWWINDOW, WM_ERASEBKGND, WM_PAINT}));
    // The default paint validated the window: nothing more to paint.
    log.clear();
    EXPECT_TRUE(UpdateWindow(hwnd));
    EXPECT_TRUE(Drain().empty());
    EXPECT_TRUE(log.empty());
}

TEST_F(Window, DefaultEraseFillsWithTheClassBrush)
{
    HWND hwnd = Create(8 + 120, 27 + 30);  // a 120 x 30 client
    skipErase = true;                      // keep the layer's own erase from running first
    ShowWindow(hwnd, SW_SHOW);
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(hwnd, &paint);
    SetPixel(dc, 5, 5, RGB(1, 2, 3));
    EXPECT_EQ(1, DefWindowProcA(hwnd, WM_ERASEBKGND, (WPARAM)dc, 0));
    EXPECT_EQ(RGB(255, 255, 255), GetPixel(dc, 5, 5));  // the class brush is white
    SetPixel(dc, 1, 2, RGB(10, 20, 30));
    EndPaint(hwnd, &paint);
    // What the window shows, as 0x00RRGGBB.
    std::vector<uint32_t> pixels;
    int width = 0, height = 0;
    ASSERT_TRUE(PlatformTest::ReadClientPixels(hwnd, &pixels, &width, &height));
    EXPECT_EQ((std::vector<uint32_t>{120, 30, 0xFFFFFF, 0x0A141E}),
              (std::vector<uint32_t>{(uint32_t)width, (uint32_t)height, pixels[0], pixels[2 * 120 + 1]}));
}

// At scale 2 the program keeps its own sizes and positions; the screen has
// twice the pixels each way, and the mouse comes back in program pixels.
TEST_F(Window, AScaledWindowShowsEachPixelTwiceInProgramCoordinates)
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

TEST_F(Window, CloseButtonPostsCloseAndTheDefaultDestroys)
{
    HWND hwnd = Shown();
    PlatformTest::DesktopClose(hwnd);
    EXPECT_EQ((UINT)WM_CLOSE, Drain().at(0).message);
    EXPECT_FALSE(IsWindow(hwnd));
    EXPECT_EQ((Order{WM_CLOSE, WM_DESTROY, WM_NCDESTROY}), Messages({WM_CLOSE, WM_DESTROY, WM_NCDESTROY}));
}

TEST_F(Window, DestroySendsDestroyThenNcDestroyAndDropsQueuedMessages)
{
    HWND hwnd = Create();
    PostMessageA(hwnd, WM_USER, 0, 0);
    log.clear();
    EXPECT_TRUE(DestroyWindow(hwnd));
    EXPECT_EQ((Order{WM_DESTROY, WM_NCDESTROY}), Messages());
    EXPECT_TRUE(Drain().empty());
}

TEST_F(Window, DestroyingAGoneWindowFailsWithInvalidHandle)
{
    HWND hwnd = Create();
    ASSERT_TRUE(DestroyWindow(hwnd));
    log.clear();
    SetLastError(0);
    EXPECT_FALSE(DestroyWindow(hwnd));
    EXPECT_EQ((DWORD)ERROR_INVALID_WINDOW_HANDLE, GetLastError());
    EXPECT_TRUE(log.empty());  // no messages for a window that is gone
}

TEST_F(Window, WindowBytesHoldAPointerAtIndexZero)
{
    HWND hwnd = Create();
    int object = 0;
    EXPECT_EQ(0, SetWindowLongPtrA(hwnd, 0, (LONG_PTR)&object));
    EXPECT_EQ((LONG_PTR)&object, GetWindowLongPtrA(hwnd, 0));
}

TEST_F(Window, FailuresSetTheLastError)
{
    WNDCLASSA wc = {0, DefWindowProcA, 0, 0, NULL, NULL, NULL, NULL, NULL, "Twice"};
    PlatformTest::FailCall("RegisterClassA", ERROR_NOT_ENOUGH_MEMORY, 1);
    EXPECT_EQ(0, RegisterClassA(&wc));
    EXPECT_EQ((DWORD)ERROR_NOT_ENOUGH_MEMORY, GetLastError());
    ASSERT_NE(0, RegisterClassA(&wc));  // injected once only
    wc.lpszClassName = "TWICE";         // names ignore case
    EXPECT_EQ(0, RegisterClassA(&wc));
    EXPECT_EQ((DWORD)ERROR_CLASS_ALREADY_EXISTS, GetLastError());
    PlatformTest::FailCall("CreateWindowExA", ERROR_ACCESS_DENIED, 1);
    EXPECT_EQ(nullptr, Create());
    EXPECT_EQ((DWORD)ERROR_ACCESS_DENIED, GetLastError());
    EXPECT_TRUE(log.empty());  // nothing reached the window procedure
    EXPECT_EQ(1, PlatformTest::CallCount("CreateWindowExA"));
}

TEST_F(Window, AdjustedFrameHoldsA300By400Client)
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

TEST_F(Window, MinMaxInfoHoldsTheFrameAgainstADrag)
{
    for (bool hold : {true, false}) {
        held = hold ? POINT{308, 427} : POINT{0, 0};
        HWND hwnd = Shown();
        PlatformTest::ResizeFromDesktop(hwnd, 320, 240);
        Drain();
        RECT client;
        GetClientRect(hwnd, &client);
        std::vector<uint32_t> pixels;
        int width = 0, height = 0;
        ASSERT_TRUE(PlatformTest::ReadClientPixels(hwnd, &pixels, &width, &height));
        // Held, the program keeps its size; the desktop's stands all the
        // same, and shows the picture fitted into it (ScreenFitTest.cpp).
        const LONG w = hold ? 300 : 320, h = hold ? 400 : 240;
        EXPECT_EQ((std::vector<LONG>{w, h, 320, 240}), (std::vector<LONG>{client.right, client.bottom, width, height}))
            << hold;
        DestroyWindow(hwnd);
    }
}

}  // namespace
