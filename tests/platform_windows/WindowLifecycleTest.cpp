// Creation, showing, painting and destruction: which messages arrive, in
// which order, and what the default window procedure does with them.
#include "RecordingWindow.h"

namespace {

using Lifecycle = WindowTest;

TEST_F(Lifecycle, CreationSendsTheCreationMessagesInOrder)
{
    HWND hwnd = Create();
    EXPECT_EQ((Order{WM_GETMINMAXINFO, WM_NCCREATE, WM_NCCALCSIZE, WM_CREATE, WM_SIZE, WM_MOVE}), Messages());
    EXPECT_TRUE(IsWindow(hwnd));
    // A visible style shows the window as creation ends.
    Log().clear();
    hwnd = Create(308, 427, 0, WS_OVERLAPPEDWINDOW | WS_VISIBLE);
    EXPECT_EQ((Order{WM_CREATE, WM_SHOWWINDOW}), Messages({WM_CREATE, WM_SHOWWINDOW}));
    EXPECT_TRUE(ShowWindow(hwnd, SW_SHOW));  // already visible
}

TEST_F(Lifecycle, ShowThenUpdateErasesAndPaintsOnce)
{
    HWND hwnd = Create();
    EXPECT_TRUE(UpdateWindow(hwnd));  // hidden: nothing to paint
    EXPECT_TRUE(Messages({WM_PAINT}).empty());
    Log().clear();
    EXPECT_FALSE(ShowWindow(hwnd, SW_SHOWDEFAULT));  // was hidden
    EXPECT_TRUE(UpdateWindow(hwnd));
    EXPECT_EQ((Order{WM_SHOWWINDOW, WM_ERASEBKGND, WM_PAINT}), Messages({WM_SHOWWINDOW, WM_ERASEBKGND, WM_PAINT}));
    // The default paint validated the window: nothing more to paint.
    Log().clear();
    EXPECT_TRUE(UpdateWindow(hwnd));
    EXPECT_TRUE(Drain().empty());
    EXPECT_TRUE(Log().empty());
}

TEST_F(Lifecycle, DefaultEraseFillsWithTheClassBrush)
{
    HWND hwnd = Create(8 + 120, 27 + 30);  // a 120 x 30 client
    Answer(WM_ERASEBKGND, 1);              // keep the layer's own erase from running first
    ShowWindow(hwnd, SW_SHOW);
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(hwnd, &paint);
    SetPixel(dc, 5, 5, RGB(1, 2, 3));
    EXPECT_EQ(1, DefWindowProcA(hwnd, WM_ERASEBKGND, (WPARAM)dc, 0));
    EXPECT_EQ(RGB(255, 255, 255), GetPixel(dc, 5, 5));  // the class brush is white
    RECT all = {0, 0, 120, 30};
    FillRect(dc, &all, (HBRUSH)GetStockObject(GRAY_BRUSH));
    SetPixel(dc, 1, 2, RGB(10, 20, 30));
    EndPaint(hwnd, &paint);
    // What the window shows, as 0x00RRGGBB.
    std::vector<uint32_t> pixels;
    int width = 0, height = 0;
    ASSERT_TRUE(PlatformTest::ReadClientPixels(hwnd, &pixels, &width, &height));
    EXPECT_EQ((std::vector<uint32_t>{120, 30, 0x808080, 0x0A141E}),
              (std::vector<uint32_t>{(uint32_t)width, (uint32_t)height, pixels[0], pixels[2 * 120 + 1]}));
    DestroyWindow(hwnd);
    EXPECT_FALSE(PlatformTest::ReadClientPixels(hwnd, &pixels, &width, &height));
}

TEST_F(Lifecycle, CloseButtonPostsCloseAndTheDefaultDestroys)
{
    HWND hwnd = Shown();
    PlatformTest::DesktopClose(hwnd);
    EXPECT_EQ((UINT)WM_CLOSE, Drain().at(0).message);
    EXPECT_FALSE(IsWindow(hwnd));
    EXPECT_EQ((Order{WM_CLOSE, WM_DESTROY, WM_NCDESTROY}), Messages({WM_CLOSE, WM_DESTROY, WM_NCDESTROY}));
}

TEST_F(Lifecycle, DestroySendsDestroyThenNcDestroyAndDropsQueuedMessages)
{
    HWND hwnd = Create();
    PostMessageA(hwnd, WM_USER, 0, 0);
    Log().clear();
    EXPECT_TRUE(DestroyWindow(hwnd));
    EXPECT_EQ((Order{WM_DESTROY, WM_NCDESTROY}), Messages());
    EXPECT_FALSE(IsWindow(hwnd));
    EXPECT_FALSE(PostMessageA(hwnd, WM_USER, 0, 0));
    EXPECT_TRUE(Drain().empty());
}

TEST_F(Lifecycle, GoneWindowFailsWithInvalidHandle)
{
    HWND hwnd = Create();
    ASSERT_TRUE(DestroyWindow(hwnd));
    Log().clear();
    RECT rect;
    POINT point = {0, 0};
    for (int call = 0; call < 3; ++call) {
        SetLastError(0);
        EXPECT_FALSE(call == 0 ? DestroyWindow(hwnd) : call == 1 ? GetClientRect(hwnd, &rect) : ClientToScreen(hwnd, &point));
        EXPECT_EQ((DWORD)ERROR_INVALID_WINDOW_HANDLE, GetLastError()) << call;
    }
    EXPECT_TRUE(Log().empty());  // no messages for a window that is gone
}

TEST_F(Lifecycle, CreateAnsweringMinusOneFailsAndCleansUp)
{
    Answer(WM_CREATE, -1);
    EXPECT_EQ(nullptr, Create());
    EXPECT_EQ((Order{WM_DESTROY, WM_NCDESTROY}), Messages({WM_DESTROY, WM_NCDESTROY}));
}

TEST_F(Lifecycle, WindowBytesHoldAPointerAtIndexZero)
{
    HWND hwnd = Create();
    int object = 0;
    EXPECT_EQ(0, GetWindowLongPtrA(hwnd, 0));
    EXPECT_EQ(0, SetWindowLongPtrA(hwnd, 0, (LONG_PTR)&object));
    EXPECT_EQ((LONG_PTR)&object, GetWindowLongPtrA(hwnd, 0));
    SetLastError(0);
    EXPECT_EQ(0, GetWindowLongPtrA(hwnd, 64));
    EXPECT_EQ((DWORD)ERROR_INVALID_INDEX, GetLastError());
}

TEST_F(Lifecycle, FailuresSetTheLastError)
{
    WNDCLASSA wc = {0, DefWindowProcA, 0, 0, NULL, NULL, NULL, NULL, NULL, "Twice"};
    PlatformTest::FailCall("RegisterClassA", ERROR_NOT_ENOUGH_MEMORY, 1);
    EXPECT_EQ(0, RegisterClassA(&wc));
    EXPECT_EQ((DWORD)ERROR_NOT_ENOUGH_MEMORY, GetLastError());
    ASSERT_NE(0, RegisterClassA(&wc));  // injected once only
    wc.lpszClassName = "TWICE";         // names ignore case
    EXPECT_EQ(0, RegisterClassA(&wc));
    EXPECT_EQ((DWORD)ERROR_CLASS_ALREADY_EXISTS, GetLastError());
    EXPECT_EQ(nullptr, CreateWindowExA(0, "NoSuchClass", "", 0, 0, 0, 10, 10, NULL, NULL, NULL, NULL));
    EXPECT_EQ((DWORD)ERROR_CANNOT_FIND_WND_CLASS, GetLastError());
    PlatformTest::FailCall("CreateWindowExA", ERROR_ACCESS_DENIED, 1);
    EXPECT_EQ(nullptr, Create());
    EXPECT_EQ((DWORD)ERROR_ACCESS_DENIED, GetLastError());
    EXPECT_TRUE(Log().empty());  // nothing reached the window procedure
    EXPECT_EQ(2, PlatformTest::CallCount("CreateWindowExA"));
}

}  // namespace
