#include "app/TickPacer.h"

#include <mmsystem.h>

namespace {

// How late a tick may start before the schedule moves with it, in parts of
// a second (2 ms): more than a 1 ms clock ever makes it, so that on such a
// clock every tick keeps to the schedule. On a 15.625 ms clock the schedule
// settles this far before the interrupt that ends each wait.
const LONGLONG lateAllowancePerSecond = 500;

}  // namespace

// Times are kept in counter units times 64, so one period is exactly
// `frequency` of them and no rounding drifts.
TickPacer::TickPacer() : fineClock(false)
{
    LARGE_INTEGER value;
    QueryPerformanceFrequency(&value);
    frequency = value.QuadPart > 0 ? value.QuadPart : 1;
    due = Now();
    timer = CreateWaitableTimerA(NULL, FALSE, NULL);
    RequestFineClock();
}

TickPacer::~TickPacer()
{
    Pause();
    if (timer) CloseHandle(timer);
}

LONGLONG TickPacer::Now() const
{
    LARGE_INTEGER value;
    QueryPerformanceCounter(&value);
    return value.QuadPart * ticksPerSecond;
}

bool TickPacer::Due() const { return Now() >= due; }

void TickPacer::WaitUntilDueOrMessage()
{
    LONGLONG left = due - Now();
    if (left <= 0) return;
    if (left > frequency * ticksPerSecond) left = frequency * ticksPerSecond;  // never more than a second
    // A timer's due time is counted in 100 ns, finer than the wait's own
    // timeout; round up, so the wait never ends before the tick is due.
    LONGLONG unitsPerSecond = frequency * ticksPerSecond;
    LARGE_INTEGER dueTime;
    dueTime.QuadPart = -((left * 10000000 + unitsPerSecond - 1) / unitsPerSecond);
    if (timer && SetWaitableTimer(timer, &dueTime, 0, NULL, NULL, FALSE)) {
        MsgWaitForMultipleObjects(1, &timer, FALSE, INFINITE, QS_ALLINPUT);
        return;
    }
    DWORD milliseconds = (DWORD)((-dueTime.QuadPart + 9999) / 10000);
    MsgWaitForMultipleObjects(0, NULL, FALSE, milliseconds, QS_ALLINPUT);
}

void TickPacer::StartTick()
{
    LONGLONG now = Now();
    LONGLONG allowance = frequency * ticksPerSecond / lateAllowancePerSecond;
    if (now - due > allowance) due = now - allowance;
    due += frequency;
}

void TickPacer::Pause()
{
    if (fineClock) timeEndPeriod(1);
    fineClock = false;
}

void TickPacer::Restart()
{
    RequestFineClock();
    due = Now();
}

void TickPacer::RequestFineClock()
{
    if (!fineClock) fineClock = timeBeginPeriod(1) == TIMERR_NOERROR;
}
