// The clock: when timed waits end on an exact clock and on one with an
// interrupt, the period requests that make it finer, waitable timers.
// Timed on the stopped clock, which only the waits move.
#include <PlatformTest.h>
#include <mmsystem.h>
#include <windows.h>

#include <gtest/gtest.h>

#include <vector>

namespace {

ULONGLONG Now100ns()
{
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return (ULONGLONG)now.QuadPart / 100;
}

class Clock : public ::testing::Test {
protected:
    void SetUp() override
    {
        PlatformTest::StopClock(true);
        timer = CreateWaitableTimerA(NULL, FALSE, NULL);
    }
    void TearDown() override { CloseHandle(timer); }
    // How long (in 100 ns) Sleep, a timeout and a timer of `ms` last from an
    // interrupt of every period used here (15.625, 1 and 5 ms meet every 125 ms).
    std::vector<ULONGLONG> Waits(DWORD ms)
    {
        std::vector<ULONGLONG> lasted;
        LARGE_INTEGER due;
        due.QuadPart = -(LONGLONG)ms * 10000;
        for (int kind = 0; kind < 3; ++kind) {
            PlatformTest::AdvanceClock((1250000 - Now100ns() % 1250000) % 1250000);
            ULONGLONG start = Now100ns();
            if (kind == 0) {
                Sleep(ms);
            } else if (kind == 1) {
                EXPECT_EQ((DWORD)WAIT_TIMEOUT, MsgWaitForMultipleObjects(0, NULL, FALSE, ms, QS_ALLINPUT));
            } else {
                EXPECT_TRUE(SetWaitableTimer(timer, &due, 0, NULL, NULL, FALSE));
                EXPECT_EQ((DWORD)WAIT_OBJECT_0, MsgWaitForMultipleObjects(1, &timer, FALSE, INFINITE, QS_ALLINPUT));
            }
            lasted.push_back(Now100ns() - start);
        }
        return lasted;
    }
    using Lasted = std::vector<ULONGLONG>;
    HANDLE timer = NULL;
};

TEST_F(Clock, WaitsEndOnTheInterruptTheFinestRequestSets)
{
    EXPECT_EQ(Lasted(3, 10000), Waits(1));  // exact
    PlatformTest::SetClockInterrupt(156250);
    EXPECT_EQ(Lasted(3, 156250), Waits(1));
    EXPECT_EQ(Lasted(3, 312500), Waits(16));
    // Requests are counted; the finest outstanding one counts.
    EXPECT_EQ((MMRESULT)TIMERR_NOCANDO, timeBeginPeriod(0));
    for (UINT ms : {5, 1, 1}) EXPECT_EQ((MMRESULT)TIMERR_NOERROR, timeBeginPeriod(ms));
    EXPECT_EQ(Lasted(3, 160000), Waits(16));
    EXPECT_EQ((MMRESULT)TIMERR_NOERROR, timeEndPeriod(1));
    EXPECT_EQ(Lasted(3, 160000), Waits(16));
    EXPECT_EQ((MMRESULT)TIMERR_NOERROR, timeEndPeriod(1));
    EXPECT_EQ((MMRESULT)TIMERR_NOCANDO, timeEndPeriod(1));
    EXPECT_EQ(Lasted(3, 200000), Waits(16));
    // A wait counts from the last interrupt: 10 ms set 10 ms after one ends
    // on the next, 5.625 ms later.
    EXPECT_EQ((MMRESULT)TIMERR_NOERROR, timeEndPeriod(5));
    PlatformTest::AdvanceClock(1250000 - Now100ns() % 1250000 + 100000);
    ULONGLONG start = Now100ns();
    Sleep(10);
    EXPECT_EQ(56250u, Now100ns() - start);
    EXPECT_EQ((MMRESULT)TIMERR_NOERROR, timeBeginPeriod(5));
    // Windows 11 with the window hidden: the request stands but is not met.
    PlatformTest::SetClockInterrupt(156250, false);
    EXPECT_EQ(Lasted(3, 312500), Waits(16));
    EXPECT_EQ(1, PlatformTest::TimerPeriodRequests());
    EXPECT_EQ((MMRESULT)TIMERR_NOERROR, timeEndPeriod(5));
}

// The wait for a timer lasts exactly as long as it was set for, however a
// message came between.
TEST_F(Clock, ATimerIsDueExactlyWhenSetFor)
{
    LARGE_INTEGER due;
    due.QuadPart = -123457;
    ULONGLONG start = Now100ns();
    ASSERT_TRUE(SetWaitableTimer(timer, &due, 0, NULL, NULL, FALSE));
    PostMessageA(NULL, WM_USER, 0, 0);
    EXPECT_EQ((DWORD)WAIT_OBJECT_0 + 1, MsgWaitForMultipleObjects(1, &timer, FALSE, INFINITE, QS_ALLINPUT));
    MSG msg;
    EXPECT_TRUE(PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE));
    EXPECT_EQ(0u, Now100ns() - start);
    EXPECT_EQ((DWORD)WAIT_OBJECT_0, MsgWaitForMultipleObjects(1, &timer, FALSE, INFINITE, QS_ALLINPUT));
    EXPECT_EQ(123457u, Now100ns() - start);
}

// Absolute due times are beyond the layer: the game sets relative ones.
TEST_F(Clock, AnAbsoluteDueTimeIsRefused)
{
    LARGE_INTEGER due;
    due.QuadPart = 1;
    EXPECT_FALSE(SetWaitableTimer(timer, &due, 0, NULL, NULL, FALSE));
    EXPECT_EQ((DWORD)ERROR_NOT_SUPPORTED, GetLastError());
}

}  // namespace
