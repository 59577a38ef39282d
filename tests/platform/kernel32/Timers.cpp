// Waitable timers as the game's loop waits on them with
// MsgWaitForMultipleObjects: a message first, the timer once due, and a
// timer that resets itself.
#include <windows.h>

#include <gtest/gtest.h>

namespace {

class Timers : public ::testing::Test {
protected:
    void SetUp() override { timer = CreateWaitableTimerA(NULL, FALSE, NULL); }
    void TearDown() override
    {
        EXPECT_TRUE(CloseHandle(timer));
        MSG msg;
        while (PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE)) {
        }
    }
    static LONGLONG Now()
    {
        LARGE_INTEGER now;
        QueryPerformanceCounter(&now);
        return now.QuadPart;
    }
    HANDLE timer = NULL;
};

TEST_F(Timers, ATimerNeverEndsAWaitEarly)
{
    LARGE_INTEGER due = {}, frequency;
    ASSERT_TRUE(QueryPerformanceFrequency(&frequency));
    due.QuadPart = -25000;  // 2.5 ms, in 100 ns
    const LONGLONG start = Now();
    ASSERT_TRUE(SetWaitableTimer(timer, &due, 0, NULL, NULL, FALSE));
    EXPECT_EQ((DWORD)WAIT_OBJECT_0, MsgWaitForMultipleObjects(1, &timer, FALSE, INFINITE, 0));
    EXPECT_GE((Now() - start) * 10000, frequency.QuadPart * 25);
}

TEST_F(Timers, AWaitingMessageComesBeforeATimerNotYetDueWhichResetsItself)
{
    LARGE_INTEGER due;
    due.QuadPart = -123457;
    ASSERT_TRUE(SetWaitableTimer(timer, &due, 0, NULL, NULL, FALSE));
    PostMessageA(NULL, WM_USER, 0, 0);
    EXPECT_EQ((DWORD)WAIT_OBJECT_0 + 1, MsgWaitForMultipleObjects(1, &timer, FALSE, INFINITE, QS_ALLINPUT));
    MSG msg;
    ASSERT_TRUE(PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE));
    EXPECT_EQ((UINT)WM_USER, msg.message);
    EXPECT_EQ((DWORD)WAIT_OBJECT_0, MsgWaitForMultipleObjects(1, &timer, FALSE, INFINITE, QS_ALLINPUT));
    EXPECT_EQ((DWORD)WAIT_TIMEOUT, MsgWaitForMultipleObjects(1, &timer, FALSE, 0, QS_ALLINPUT));
}

TEST_F(Timers, WaitingOnWhatIsNoHandleFails)
{
    LARGE_INTEGER notAHandle = {};
    HANDLE handle = &notAHandle;
    SetLastError(0);
    EXPECT_EQ(WAIT_FAILED, MsgWaitForMultipleObjects(1, &handle, FALSE, 0, QS_ALLINPUT));
    EXPECT_EQ((DWORD)ERROR_INVALID_HANDLE, GetLastError());
    HANDLE closed = CreateWaitableTimerA(NULL, FALSE, NULL);
    EXPECT_TRUE(CloseHandle(closed));
    SetLastError(0);
    EXPECT_FALSE(CloseHandle(closed));
    EXPECT_EQ((DWORD)ERROR_INVALID_HANDLE, GetLastError());
}

}  // namespace
