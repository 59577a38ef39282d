// Windows: which messages arrive in which order from creation to
// destruction, what the default window procedure does with them, the
// window's own bytes, its class, and the frame's geometry.
#include "RecordingWindow.h"
#include "SystemDlls.h"

namespace {

using apitest::SystemMay;
using Window = RecordingWindowTest;

TEST_F(Window, CreationSendsTheCreationMessagesInOrder)
{
    HWND hwnd = Create();
    const Order first = {WM_GETMINMAXINFO, WM_NCCREATE, WM_NCCALCSIZE, WM_CREATE};
    Order got = Messages();
    ASSERT_GE(got.size(), first.size());
    EXPECT_EQ(first, Order(got.begin(), got.begin() + 4));
    // The layer sends the first size and place at once; Windows and Wine
    // keep them for a hidden window until it is first shown.
    const Order after(got.begin() + 4, got.end());
    EXPECT_TRUE(after == (Order{WM_SIZE, WM_MOVE}) || SystemMay(after.empty())) << after.size();
    ShowWindow(hwnd, SW_SHOW);
    EXPECT_EQ((Order{WM_SIZE, WM_MOVE}), Messages({WM_SIZE, WM_MOVE}));
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
    Drain();
    EXPECT_TRUE(Messages({WM_ERASEBKGND, WM_PAINT}).empty());
    EXPECT_EQ(hwnd, GetForegroundWindow());  // shown, it was activated
}

TEST_F(Window, DefaultEraseFillsWithTheClassBrush)
{
    HWND hwnd = Create(8 + 120, 27 + 30);
    skipErase = true;  // keep the first erase from running before the test's own
    ShowWindow(hwnd, SW_SHOW);
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(hwnd, &paint);
    SetPixel(dc, 5, 5, RGB(1, 2, 3));
    EXPECT_EQ(1, DefWindowProcA(hwnd, WM_ERASEBKGND, (WPARAM)dc, 0));
    EXPECT_EQ(RGB(255, 255, 255), GetPixel(dc, 5, 5));  // the class brush is white
    EndPaint(hwnd, &paint);
}

TEST_F(Window, CloseToTheDefaultProcedureDestroys)
{
    HWND hwnd = Shown();
    log.clear();
    EXPECT_EQ(0, SendMessageA(hwnd, WM_CLOSE, 0, 0));
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
    Drain();
    EXPECT_TRUE(Messages({WM_USER}).empty());
}

TEST_F(Window, DestroyingAGoneWindowFailsWithInvalidHandle)
{
    HWND hwnd = Create();
    ASSERT_TRUE(DestroyWindow(hwnd));
    log.clear();
    SetLastError(0);
    EXPECT_FALSE(DestroyWindow(hwnd));
    // Wine says a window it cannot find is not its thread's to destroy.
    const DWORD error = GetLastError();
    EXPECT_TRUE(error == ERROR_INVALID_WINDOW_HANDLE || SystemMay(error == ERROR_ACCESS_DENIED)) << error;
    EXPECT_TRUE(log.empty());  // no messages for a window that is gone
}

TEST_F(Window, WindowBytesHoldAPointerAtIndexZero)
{
    HWND hwnd = Create();
    int object = 0;
    EXPECT_EQ(0, SetWindowLongPtrA(hwnd, 0, (LONG_PTR)&object));
    EXPECT_EQ((LONG_PTR)&object, GetWindowLongPtrA(hwnd, 0));
}

TEST_F(Window, AClassNameIsRegisteredOnceWhateverItsCase)
{
    HINSTANCE module = GetModuleHandleA(NULL);
    WNDCLASSA wc = {0, DefWindowProcA, 0, 0, module, NULL, NULL, NULL, NULL, "Twice"};
    ASSERT_NE(0, RegisterClassA(&wc));
    wc.lpszClassName = "TWICE";
    SetLastError(0);
    EXPECT_EQ(0, RegisterClassA(&wc));
    EXPECT_EQ((DWORD)ERROR_CLASS_ALREADY_EXISTS, GetLastError());
    EXPECT_TRUE(UnregisterClassA("twice", module));
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
    EXPECT_EQ((std::vector<LONG>{0, 0, 300, 400}), (std::vector<LONG>{client.left, client.top, client.right, client.bottom}));
    EXPECT_EQ((std::vector<LONG>{10, 20}), (std::vector<LONG>{outer.left, outer.top}));
    // The frame's sides as AdjustWindowRect gave them, wherever the window is.
    EXPECT_EQ((std::vector<LONG>{outer.left - adjusted.left, outer.top - adjusted.top, outer.left - adjusted.left + 300,
                                 outer.top - adjusted.top + 400}),
              (std::vector<LONG>{corners[0].x, corners[0].y, corners[1].x, corners[1].y}));
    EXPECT_EQ((std::vector<LONG>{outer.right - outer.left, outer.bottom - outer.top}),
              (std::vector<LONG>{adjusted.right - adjusted.left, adjusted.bottom - adjusted.top}));
    // The layer draws the frame of Windows XP's classic look: 4 pixels a side
    // and a caption of 19, 308 x 427 in all. Windows and Wine draw their own
    // theme's, which AdjustWindowRect gives all the same.
    const int frame = GetSystemMetrics(SM_CXFRAME), caption = GetSystemMetrics(SM_CYCAPTION);
    EXPECT_TRUE((frame == 4 && caption == 19) || SystemMay(frame > 0 && caption > 0)) << frame << ", " << caption;
    EXPECT_TRUE((std::vector<LONG>{adjusted.left, adjusted.top, adjusted.right, adjusted.bottom}) ==
                    (std::vector<LONG>{-4, -23, 304, 404}) ||
                SystemMay(adjusted.left < 0 && adjusted.top < adjusted.left && adjusted.right > 300 &&
                          adjusted.bottom > 400))
        << adjusted.left << ", " << adjusted.top << ", " << adjusted.right << ", " << adjusted.bottom;
}

}  // namespace
