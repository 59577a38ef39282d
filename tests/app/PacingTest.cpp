// The message loop's pacing on the clocks a player's machine may have:
// waits that end when asked (Linux, Wine), a 1 ms clock (Windows honouring
// the game's request) and the stock 15.625 ms clock (Windows 11 ignores the
// request for a minimised or hidden window). The real loop runs on a
// stopped clock that only waits and the ticks' work move, through a stall.
#include "app/MessageLoop.h"
#include "app/PMAIN.h"
#include "tools/replay/ReplaySession.h"

#include <PlatformTest.h>
#include <dinput.h>

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace {

const double period = 15.625;  // milliseconds
const int ticks = 2000;
// Every 250th tick works for 100 ms or more (a window drag, a message box),
// each time a little longer, so that the pace starts afresh at all sorts of
// moments between two interrupts.
const int stallEvery = 250;
bool Stalls(size_t tick) { return tick % stallEvery == 0; }

struct Run {
    std::vector<double> starts;  // when each tick read the keyboard, in ms
    int requestsWhileTicking = -1;
    int requestsAfter = -1;
};

// Holds Down (so that the game never idles) and runs the loop until it has
// ticked `ticks` times. Each tick works for 0 to 2 ms, at random.
Run Play(DWORD interruptHundredNs, bool honourRequests)
{
    Run run;
    ReplaySession session;
    if (!session.Start()) return run;
    PlatformTest::SetClockInterrupt(interruptHundredNs, honourRequests);
    PlatformTest::StopClock(true);
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    unsigned random = 12345;
    PlatformTest::WhenCalled("IDirectInputDeviceA::GetDeviceState", [&] {
        LARGE_INTEGER now;
        QueryPerformanceCounter(&now);
        run.starts.push_back(now.QuadPart * 1000.0 / frequency.QuadPart);
        int tick = (int)run.starts.size();
        random = random * 1103515245 + 12345;
        ULONGLONG work = (random >> 16) % 20001;  // in 100 ns
        if (Stalls(tick)) work = 1000000 + 37000 * (tick / stallEvery);
        PlatformTest::AdvanceClock(work);
        if (tick == 2) run.requestsWhileTicking = PlatformTest::TimerPeriodRequests();
        if (tick == ticks) PostQuitMessage(0);
    });
    PlatformTest::DesktopKey(application.hwnd, 0x50, true, true);
    PlatformTest::SetKeyDown(DIK_DOWN, true);
    RunMessageLoop(application);
    run.requestsAfter = PlatformTest::TimerPeriodRequests();
    PlatformTest::Reset();
    return run;
}

// Checks every interval between tick starts from `from` on, but for the
// stalls and the one after each, in which the pace starts afresh.
void ExpectIntervals(const Run& run, size_t from, double low, double high)
{
    ASSERT_EQ((size_t)ticks, run.starts.size());
    for (size_t i = from; i < run.starts.size(); ++i) {
        if (Stalls(i) || Stalls(i - 1)) continue;
        double interval = run.starts[i] - run.starts[i - 1];
        EXPECT_TRUE(interval >= low && interval <= high) << "tick " << i << " came " << interval << " ms after the last";
    }
    // The last three seconds, well after the last stall: 192 ticks.
    double end = run.starts.back();
    int lastThreeSeconds = 0;
    for (double start : run.starts) lastThreeSeconds += start > end - 3000;
    EXPECT_NEAR(192, lastThreeSeconds, 1);
    EXPECT_EQ(1, run.requestsWhileTicking) << "the game asks for a 1 ms clock while it runs";
    EXPECT_EQ(0, run.requestsAfter) << "and gives it back";
}

TEST(PacingTest, WaitsThatEndWhenAskedKeepTheExactPeriod)
{
    ExpectIntervals(Play(0, true), 1, period - 0.001, period + 0.001);
}

TEST(PacingTest, WithoutATimerWaitsInWholeMillisecondsKeepThePace)
{
    PlatformTest::FailCall("CreateWaitableTimerA", ERROR_NOT_ENOUGH_MEMORY);
    ExpectIntervals(Play(0, true), 1, period - 1, period + 1);
}

TEST(PacingTest, OnAOneMillisecondClockEveryTickIsWithinAMillisecond)
{
    ExpectIntervals(Play(156250, true), 1, period - 1, period + 1);
}

TEST(PacingTest, OnTheStockClockTicksComeEvenlyNotInPairs)
{
    // A late first tick, as after the stall, moves the pace onto the clock.
    ExpectIntervals(Play(156250, false), 2, 15, 16.3);
}

}  // namespace
