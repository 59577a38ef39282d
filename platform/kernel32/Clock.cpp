// The layer's clock and the multimedia timer period (timeBeginPeriod,
// timeEndPeriod), which decides how finely waits can end.
#include "Clock.h"
#include "Core.h"

#include <PlatformTest.h>
#include <mmsystem.h>

#include <algorithm>
#include <cerrno>
#include <set>
#include <time.h>

namespace plat {
namespace {

ULONGLONG const kPerHundred = 100;                  // nanoseconds in Windows' time unit
ULONGLONG const kPerMillisecond = 1000000;
UINT const kLongestPeriod = 1000000;                // milliseconds, as Windows reports it

struct ClockState {
    ULONGLONG interrupt = 0;  // nanoseconds between clock interrupts; 0: waits end when asked
    bool honourRequests = true;
    std::multiset<UINT> requests;  // outstanding timeBeginPeriod periods, in milliseconds
    bool stopped = false;
    ULONGLONG stoppedAt = 0;
    LONGLONG offset = 0;  // added to the monotonic clock once time ran again after a stop
    // The watched recording's pace: from `paceFrom` (on the monotonic clock
    // with the offset, where both clocks agree) the clock runs `halves` / 2
    // times as fast.
    unsigned halves = 2;
    bool fastest = false;
    ULONGLONG paceFrom = 0;
};

ClockState& State()
{
    static auto* state = new ClockState;
    return *state;
}

ULONGLONG Monotonic()
{
    timespec now;
    clock_gettime(CLOCK_MONOTONIC, &now);
    return (ULONGLONG)now.tv_sec * 1000000000ull + (ULONGLONG)now.tv_nsec;
}

// As on Windows, the finest outstanding request sets the interrupt, but
// never makes it coarser than it is.
ULONGLONG InterruptPeriod()
{
    const ClockState& s = State();
    if (s.interrupt == 0 || !s.honourRequests || s.requests.empty()) return s.interrupt;
    return std::min(s.interrupt, *s.requests.begin() * kPerMillisecond);
}

void ResetClock()
{
    ClockState& s = State();
    PlatformTest::StopClock(false);
    SetClockPace(2, false);
    s.interrupt = 0;
    s.honourRequests = true;
}

const bool hooked = (AddResetHook(ResetClock), true);

// The clock as the pace leaves it, on a running clock.
ULONGLONG PacedNow(const ClockState& s)
{
    ULONGLONG real = Monotonic() + s.offset;
    if (s.halves == 2) return real;
    return s.paceFrom + (real - s.paceFrom) * s.halves / 2;
}

// A time on the paced clock as one on the real clock (the monotonic clock
// with the offset).
ULONGLONG RealTime(const ClockState& s, ULONGLONG paced)
{
    if (s.halves == 2 || paced == kNever) return paced;
    if (paced <= s.paceFrom) return s.paceFrom;
    return s.paceFrom + (paced - s.paceFrom) * 2 / s.halves;
}

}  // namespace

ULONGLONG Now()
{
    const ClockState& s = State();
    return s.stopped || s.fastest ? s.stoppedAt : PacedNow(s);
}

ULONGLONG WaitStart()
{
    ULONGLONG period = InterruptPeriod();
    ULONGLONG now = Now();
    return period == 0 ? now : now / period * period;
}

ULONGLONG WaitEnd(ULONGLONG deadline)
{
    ULONGLONG period = InterruptPeriod();
    if (period == 0 || deadline == kNever) return deadline;
    ULONGLONG end = (deadline + period - 1) / period * period;
    return end < deadline ? kNever : end;
}

bool ClockStopped() { return State().stopped || State().fastest; }

ULONGLONG RealNanosecondsUntil(ULONGLONG end)
{
    const ClockState& s = State();
    ULONGLONG now = Now();
    if (end <= now) return 0;
    if (end == kNever) return kNever;
    if (s.stopped || s.fastest) return end - now;
    return (end - now) * 2 / s.halves;
}

void SetClockPace(unsigned halves, bool fastest)
{
    ClockState& s = State();
    // Time runs on from where it stands, at the new pace.
    ULONGLONG now = Now();
    if (!s.stopped) {
        s.offset = (LONGLONG)(now - Monotonic());
        s.stoppedAt = now;
    }
    s.fastest = fastest;
    s.halves = halves;
    s.paceFrom = now;
}

void SleepUntil(ULONGLONG end)
{
    ClockState& s = State();
    if (s.stopped || s.fastest) {
        if (end != kNever) s.stoppedAt = std::max(s.stoppedAt, end);
        return;
    }
    end = RealTime(s, end);
    ULONGLONG monotonic = end - s.offset;
    timespec until;
    until.tv_sec = (time_t)(monotonic / 1000000000ull);
    until.tv_nsec = (long)(monotonic % 1000000000ull);
    while (clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &until, nullptr) == EINTR) {
    }
}

}  // namespace plat

MMRESULT WINAPI timeBeginPeriod(UINT period)
{
    DWORD code = 0;
    if (plat::Injected("timeBeginPeriod", &code)) return (MMRESULT)code;
    if (period == 0 || period > plat::kLongestPeriod) return TIMERR_NOCANDO;
    plat::State().requests.insert(period);
    return TIMERR_NOERROR;
}

MMRESULT WINAPI timeEndPeriod(UINT period)
{
    DWORD code = 0;
    if (plat::Injected("timeEndPeriod", &code)) return (MMRESULT)code;
    auto& requests = plat::State().requests;
    auto it = requests.find(period);
    if (it == requests.end()) return TIMERR_NOCANDO;
    requests.erase(it);
    return TIMERR_NOERROR;
}

namespace PlatformTest {

void SetClockInterrupt(DWORD hundredNanoseconds, bool honourRequests)
{
    plat::ClockState& s = plat::State();
    s.interrupt = hundredNanoseconds * plat::kPerHundred;
    s.honourRequests = honourRequests;
}

void StopClock(bool stopped)
{
    plat::ClockState& s = plat::State();
    if (stopped == s.stopped) return;
    if (stopped) {
        s.stoppedAt = plat::Now();
    } else {
        // Time runs on from where it stood, never backwards.
        s.offset = (LONGLONG)(s.stoppedAt - plat::Monotonic());
    }
    s.stopped = stopped;
}

void AdvanceClock(ULONGLONG hundredNanoseconds)
{
    plat::ClockState& s = plat::State();
    if (s.stopped) s.stoppedAt += hundredNanoseconds * plat::kPerHundred;
}

int TimerPeriodRequests() { return (int)plat::State().requests.size(); }

}  // namespace PlatformTest
