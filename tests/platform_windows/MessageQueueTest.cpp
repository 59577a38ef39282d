// The message queue: the order things come out of it, the quit path and
// waiting.
#include "RecordingWindow.h"

namespace {

using Queue = WindowTest;

TEST_F(Queue, QuitMessageEndsGetMessageWithItsCode)
{
    PostQuitMessage(7);
    MSG msg;
    EXPECT_EQ(0, GetMessageA(&msg, NULL, 0, 0));
    EXPECT_EQ((UINT)WM_QUIT, msg.message);
    EXPECT_EQ(7u, msg.wParam);
    EXPECT_FALSE(PeekMessageA(&msg, NULL, 0, 0, PM_NOREMOVE));
}

TEST_F(Queue, PostedMessagesComeFirstThenQuitThenPaint)
{
    HWND hwnd = Create();
    ShowWindow(hwnd, SW_SHOW);
    PostQuitMessage(0);
    PostMessageA(hwnd, WM_USER, 11, 22);
    MSG msg;
    ASSERT_TRUE(PeekMessageA(&msg, NULL, 0, 0, PM_NOREMOVE));  // looked at, left in place
    ASSERT_TRUE(GetMessageA(&msg, NULL, 0, 0));
    EXPECT_EQ(hwnd, msg.hwnd);
    EXPECT_EQ((std::vector<LPARAM>{WM_USER, 11, 22}), (std::vector<LPARAM>{msg.message, (LPARAM)msg.wParam, msg.lParam}));
    Log().clear();
    DispatchMessageA(&msg);
    EXPECT_EQ(Order{WM_USER}, Messages());
    EXPECT_EQ(0, GetMessageA(&msg, NULL, 0, 0));
    ASSERT_TRUE(GetMessageA(&msg, NULL, 0, 0));
    EXPECT_EQ((UINT)WM_PAINT, msg.message);
    DispatchMessageA(&msg);  // the default paint validates
    EXPECT_FALSE(PeekMessageA(&msg, NULL, 0, 0, PM_NOREMOVE));
}

TEST_F(Queue, WaitReturnsAtOnceForAnythingWaiting)
{
    // A posted message, a paint, the quit message, a key from the desktop.
    for (int waiting = 0; waiting < 4; ++waiting) {
        HWND hwnd = waiting == 3 ? Shown() : Create();
        if (waiting == 0) PostMessageA(hwnd, WM_USER, 0, 0);
        if (waiting == 1) ShowWindow(hwnd, SW_SHOW);
        if (waiting == 2) PostQuitMessage(0);
        if (waiting == 3) PlatformTest::DesktopKey(hwnd, 0x01, false, true);
        EXPECT_EQ((DWORD)WAIT_OBJECT_0, MsgWaitForMultipleObjects(0, NULL, FALSE, 60000, QS_ALLINPUT)) << waiting;
        EXPECT_TRUE(WaitMessage()) << waiting;
        DestroyWindow(hwnd);
        Drain();
    }
}

TEST_F(Queue, WaitTimesOutOnAnEmptyQueue)
{
    Create();
    for (DWORD ms : {20, 0}) EXPECT_EQ((DWORD)WAIT_TIMEOUT, MsgWaitForMultipleObjects(0, NULL, FALSE, ms, QS_ALLINPUT));
}

}  // namespace
