// The clock: when timed waits end on an exact clock and on one with an
// interrupt, the timer period requests that make it finer, and waitable
// timers. Timed on the stopped clock, which only the waits move.
#include "RecordingWindow.h"

#include <mmsystem.h>

namespace {

class Clock : public WindowTest {
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        Create();
        PlatformTest::StopClock(true);
    }
    static ULONGLONG Now100ns()
    {
        LARGE_INTEGER now;
        QueryPerformanceCounter(&now);
        return (ULONGLONG)now.QuadPart / 100;
    }
    // Moves the clock onto an interrupt of every period used here: the
    // 15.625, 1 and 5 ms ones meet every 125 ms.
    static ULONGLONG OnInterrupt()
    {
        PlatformTest::AdvanceClock((1250000 - Now100ns() % 1250000) % 1250000);
        return Now100ns();
    }
    // How long, in 100 ns, each kind of timed wait of `ms` lasts when it
    // starts on an interrupt.
    std::vector<ULONGLONG> Waits(DWORD ms)
    {
        std::vector<ULONGLONG> lasted;
        ULONGLONG start = OnInterrupt();
        Sleep(ms);
        lasted.push_back(Now100ns() - start);
        start = OnInterrupt();
        EXPECT_EQ((DWORD)WAIT_TIMEOUT, MsgWaitForMultipleObjects(0, NULL, FALSE, ms, QS_ALLINPUT));
        lasted.push_back(Now100ns() - start);
        HANDLE timer = CreateWaitableTimerA(NULL, FALSE, NULL);
        LARGE_INTEGER due;
        due.QuadPart = -(LONGLONG)ms * 10000;
        start = OnInterrupt();
        EXPECT_TRUE(SetWaitableTimer(timer, &due, 0, NULL, NULL, FALSE));
        EXPECT_EQ((DWORD)WAIT_OBJECT_0, MsgWaitForMultipleObjects(1, &timer, FALSE, INFINITE, QS_ALLINPUT));
        lasted.push_back(Now100ns() - start);
        CloseHandle(timer);
        return lasted;
    }
    using Lasted = std::vector<ULONGLONG>;
};

TEST_F(Clock, WaitsEndOnTheInterruptTheFinestRequestSets)
{
    EXPECT_EQ(Lasted(3, 10000), Waits(1));  // exact
    PlatformTest::SetClockInterrupt(156250);
    EXPECT_EQ(Lasted(3, 156250), Waits(1));
    EXPECT_EQ(Lasted(3, 312500), Waits(16));

    // Requests are counted; the finest outstanding one counts.
    EXPECT_EQ((MMRESULT)TIMERR_NOCANDO, timeBeginPeriod(0));
    EXPECT_EQ((MMRESULT)TIMERR_NOERROR, timeBeginPeriod(5));
    EXPECT_EQ((MMRESULT)TIMERR_NOERROR, timeBeginPeriod(1));
    EXPECT_EQ((MMRESULT)TIMERR_NOERROR, timeBeginPeriod(1));
    EXPECT_EQ(3, PlatformTest::TimerPeriodRequests());
    EXPECT_EQ(Lasted(3, 160000), Waits(16));
    EXPECT_EQ((MMRESULT)TIMERR_NOERROR, timeEndPeriod(1));
    EXPECT_EQ(Lasted(3, 160000), Waits(16));
    EXPECT_EQ((MMRESULT)TIMERR_NOERROR, timeEndPeriod(1));
    EXPECT_EQ((MMRESULT)TIMERR_NOCANDO, timeEndPeriod(1));
    EXPECT_EQ(Lasted(3, 200000), Waits(16));  // 5 ms
    // Windows 11 with the window hidden: the request stands but is not met.
    PlatformTest::SetClockInterrupt(156250, false);
    EXPECT_EQ(Lasted(3, 312500), Waits(16));
    EXPECT_EQ((MMRESULT)TIMERR_NOERROR, timeEndPeriod(5));
    EXPECT_EQ(0, PlatformTest::TimerPeriodRequests());
}

TEST_F(Clock, TimersEndWaitsToTheHundredNanosecondsAndResetThemselves)
{
    HANDLE timer = CreateWaitableTimerA(NULL, FALSE, NULL);
    ASSERT_NE(nullptr, timer);
    LARGE_INTEGER due;
    due.QuadPart = -123457;
    ULONGLONG start = Now100ns();
    ASSERT_TRUE(SetWaitableTimer(timer, &due, 0, NULL, NULL, FALSE));
    EXPECT_EQ((DWORD)WAIT_TIMEOUT, MsgWaitForMultipleObjects(1, &timer, FALSE, 5, QS_ALLINPUT));
    // A waiting message comes first, as long as the timer is not yet due.
    PostMessageA(NULL, WM_USER, 0, 0);
    EXPECT_EQ((DWORD)WAIT_OBJECT_0 + 1, MsgWaitForMultipleObjects(1, &timer, FALSE, INFINITE, QS_ALLINPUT));
    Drain();
    EXPECT_EQ((DWORD)WAIT_OBJECT_0, MsgWaitForMultipleObjects(1, &timer, FALSE, INFINITE, QS_ALLINPUT));
    EXPECT_EQ(123457u, Now100ns() - start);
    // Taken by that wait: not signalled until set again.
    EXPECT_EQ((DWORD)WAIT_TIMEOUT, MsgWaitForMultipleObjects(1, &timer, FALSE, 0, QS_ALLINPUT));

    // What is not there: other handles, absolute or periodic times, a second close.
    HANDLE notATimer = (HANDLE)&due;
    EXPECT_EQ(WAIT_FAILED, MsgWaitForMultipleObjects(1, &notATimer, FALSE, 0, QS_ALLINPUT));
    EXPECT_EQ((DWORD)ERROR_INVALID_HANDLE, GetLastError());
    due.QuadPart = 1;
    EXPECT_FALSE(SetWaitableTimer(timer, &due, 0, NULL, NULL, FALSE));
    EXPECT_EQ((DWORD)ERROR_NOT_SUPPORTED, GetLastError());
    EXPECT_TRUE(CloseHandle(timer));
    EXPECT_FALSE(CloseHandle(timer));
    EXPECT_EQ((DWORD)ERROR_INVALID_HANDLE, GetLastError());
}

TEST(ClockRunning, ATimerNeverEndsAWaitEarly)
{
    PlatformTest::Reset();
    HANDLE timer = CreateWaitableTimerA(NULL, FALSE, NULL);
    LARGE_INTEGER due, start, end;
    due.QuadPart = -25000;  // 2.5 ms
    QueryPerformanceCounter(&start);
    ASSERT_TRUE(SetWaitableTimer(timer, &due, 0, NULL, NULL, FALSE));
    EXPECT_EQ((DWORD)WAIT_OBJECT_0, MsgWaitForMultipleObjects(1, &timer, FALSE, INFINITE, 0));
    QueryPerformanceCounter(&end);
    EXPECT_GE(end.QuadPart - start.QuadPart, 2500000);
    CloseHandle(timer);
}

}  // namespace
