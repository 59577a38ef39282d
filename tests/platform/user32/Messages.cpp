// The message queue: the order things come out of it, the quit path, and
// waiting for anything to come.
#include "RecordingWindow.h"

namespace {

using Messaging = RecordingWindowTest;

TEST_F(Messaging, PostedMessagesComeFirstThenQuitWithItsCodeThenPaint)
{
    HWND hwnd = Create();
    ShowWindow(hwnd, SW_SHOW);
    Drain();  // whatever showing it posted
    InvalidateRect(hwnd, NULL, FALSE);
    PostQuitMessage(7);
    PostMessageA(hwnd, WM_USER, 11, 22);
    MSG msg;
    ASSERT_TRUE(PeekMessageA(&msg, NULL, 0, 0, PM_NOREMOVE));  // looked at, left in place
    ASSERT_TRUE(GetMessageA(&msg, NULL, 0, 0));
    EXPECT_EQ((std::vector<LPARAM>{(LPARAM)hwnd, WM_USER, 11, 22}),
              (std::vector<LPARAM>{(LPARAM)msg.hwnd, (LPARAM)msg.message, (LPARAM)msg.wParam, msg.lParam}));
    log.clear();
    DispatchMessageA(&msg);
    EXPECT_EQ(Order{WM_USER}, Messages());
    EXPECT_EQ(0, GetMessageA(&msg, NULL, 0, 0));
    EXPECT_EQ((std::vector<WPARAM>{WM_QUIT, 7}), (std::vector<WPARAM>{msg.message, msg.wParam}));
    ASSERT_TRUE(GetMessageA(&msg, NULL, 0, 0));
    EXPECT_EQ((UINT)WM_PAINT, msg.message);
    DispatchMessageA(&msg);  // the default paint validates
    EXPECT_FALSE(PeekMessageA(&msg, NULL, 0, 0, PM_NOREMOVE));
}

TEST_F(Messaging, WaitReturnsAtOnceForAnythingWaiting)
{
    // A posted message, a paint, the quit message. The timeout is only there
    // to fail rather than hang: none of these waits may wait.
    for (int waiting = 0; waiting < 3; ++waiting) {
        HWND hwnd = Create();
        Drain();
        if (waiting == 0) PostMessageA(hwnd, WM_USER, 0, 0);
        if (waiting == 1) ShowWindow(hwnd, SW_SHOW);
        if (waiting == 2) PostQuitMessage(0);
        EXPECT_EQ((DWORD)WAIT_OBJECT_0, MsgWaitForMultipleObjects(0, NULL, FALSE, 60000, QS_ALLINPUT)) << waiting;
        EXPECT_TRUE(WaitMessage()) << waiting;
        DestroyWindow(hwnd);
        Drain();
    }
}

}  // namespace
