// The message queue: posting, peeking, the quit path and waiting.
#include "RecordingWindow.h"

namespace {

using Queue = WindowTest;

TEST_F(Queue, QuitMessageEndsGetMessageWithItsCode)
{
    PostQuitMessage(7);
    MSG msg;
    EXPECT_TRUE(PeekMessageA(&msg, NULL, 0, 0, PM_NOREMOVE));
    EXPECT_EQ((UINT)WM_QUIT, msg.message);
    EXPECT_EQ(0, GetMessageA(&msg, NULL, 0, 0));
    EXPECT_EQ((UINT)WM_QUIT, msg.message);
    EXPECT_EQ(7u, msg.wParam);
    EXPECT_FALSE(PeekMessageA(&msg, NULL, 0, 0, PM_NOREMOVE));
}

TEST_F(Queue, PostedMessagesComeBeforeTheQuitMessage)
{
    HWND hwnd = Create();
    PostQuitMessage(0);
    PostMessageA(hwnd, WM_USER + 1, 0, 0);
    MSG msg;
    EXPECT_TRUE(GetMessageA(&msg, NULL, 0, 0));
    EXPECT_EQ((UINT)WM_USER + 1, msg.message);
    EXPECT_FALSE(GetMessageA(&msg, NULL, 0, 0));
}

TEST_F(Queue, PeekWithoutRemovingLeavesTheMessage)
{
    HWND hwnd = Create();
    PostMessageA(hwnd, WM_USER, 11, 22);
    MSG msg;
    ASSERT_TRUE(PeekMessageA(&msg, NULL, 0, 0, PM_NOREMOVE));
    ASSERT_TRUE(PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE));
    EXPECT_EQ(hwnd, msg.hwnd);
    EXPECT_EQ(11u, msg.wParam);
    EXPECT_EQ(22, msg.lParam);
    EXPECT_FALSE(PeekMessageA(&msg, NULL, 0, 0, PM_NOREMOVE));
}

TEST_F(Queue, DispatchCallsTheWindowProcedure)
{
    HWND hwnd = Create();
    Log().clear();
    PostMessageA(hwnd, WM_USER + 5, 3, 4);
    MSG msg;
    ASSERT_TRUE(GetMessageA(&msg, NULL, 0, 0));
    DispatchMessageA(&msg);
    ASSERT_EQ(1u, Log().size());
    EXPECT_EQ((UINT)WM_USER + 5, Log()[0].message);
    EXPECT_EQ(3u, Log()[0].wParam);
}

TEST_F(Queue, SendMessageCallsAtOnceAndReturnsTheAnswer)
{
    HWND hwnd = Create();
    Answer(WM_USER, 42);
    EXPECT_EQ(42, SendMessageA(hwnd, WM_USER, 0, 0));
    EXPECT_EQ(0, SendMessageA(reinterpret_cast<HWND>(0x1234), WM_USER, 0, 0));
    EXPECT_EQ((DWORD)ERROR_INVALID_WINDOW_HANDLE, GetLastError());
}

TEST_F(Queue, MessagesForADestroyedWindowAreDropped)
{
    HWND hwnd = Create();
    PostMessageA(hwnd, WM_USER, 0, 0);
    DestroyWindow(hwnd);
    MSG msg;
    EXPECT_FALSE(PeekMessageA(&msg, NULL, 0, 0, PM_NOREMOVE));
    EXPECT_FALSE(PostMessageA(hwnd, WM_USER, 0, 0));
}

TEST_F(Queue, FilterByMessageRange)
{
    HWND hwnd = Create();
    PostMessageA(hwnd, WM_USER, 0, 0);
    PostMessageA(hwnd, WM_KEYDOWN, VK_LEFT, 0);
    MSG msg;
    ASSERT_TRUE(PeekMessageA(&msg, NULL, WM_KEYDOWN, WM_KEYUP, PM_REMOVE));
    EXPECT_EQ((UINT)WM_KEYDOWN, msg.message);
    ASSERT_TRUE(PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE));
    EXPECT_EQ((UINT)WM_USER, msg.message);
}

TEST_F(Queue, WaitReturnsAtOnceForAWaitingMessage)
{
    HWND hwnd = Create();
    PostMessageA(hwnd, WM_USER, 0, 0);
    EXPECT_EQ((DWORD)WAIT_OBJECT_0, MsgWaitForMultipleObjects(0, NULL, FALSE, 60000, QS_ALLINPUT));
    EXPECT_TRUE(WaitMessage());
}

TEST_F(Queue, WaitTimesOutOnAnEmptyQueue)
{
    Create();
    EXPECT_EQ((DWORD)WAIT_TIMEOUT, MsgWaitForMultipleObjects(0, NULL, FALSE, 20, QS_ALLINPUT));
    EXPECT_EQ((DWORD)WAIT_TIMEOUT, MsgWaitForMultipleObjects(0, NULL, FALSE, 0, QS_ALLINPUT));
}

TEST_F(Queue, WaitSeesAPendingPaint)
{
    HWND hwnd = Create();
    ShowWindow(hwnd, SW_SHOW);
    EXPECT_EQ((DWORD)WAIT_OBJECT_0, MsgWaitForMultipleObjects(0, NULL, FALSE, 60000, QS_ALLINPUT));
}

TEST_F(Queue, WaitSeesTheQuitMessage)
{
    PostQuitMessage(0);
    EXPECT_EQ((DWORD)WAIT_OBJECT_0, MsgWaitForMultipleObjects(0, NULL, FALSE, 60000, QS_ALLINPUT));
}

}  // namespace
