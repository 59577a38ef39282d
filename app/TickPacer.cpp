#include "app/TickPacer.h"

// Times are kept in counter units times 64, so one period is exactly
// `frequency` of them and no rounding drifts.
TickPacer::TickPacer()
{
    LARGE_INTEGER value;
    QueryPerformanceFrequency(&value);
    frequency = value.QuadPart > 0 ? value.QuadPart : 1;
    due = Now();
}

LONGLONG TickPacer::Now() const
{
    LARGE_INTEGER value;
    QueryPerformanceCounter(&value);
    return value.QuadPart * ticksPerSecond;
}

DWORD TickPacer::MillisecondsUntilDue() const
{
    LONGLONG left = due - Now();
    if (left <= 0) return 0;
    // Round up, so the wait never ends before the tick is due.
    LONGLONG unitsPerMillisecond = frequency * ticksPerSecond / 1000;
    if (unitsPerMillisecond <= 0) unitsPerMillisecond = 1;
    return (DWORD)((left + unitsPerMillisecond - 1) / unitsPerMillisecond);
}

void TickPacer::Ticked()
{
    due += frequency;
    LONGLONG now = Now();
    if (due < now) due = now;
}

void TickPacer::Restart() { due = Now(); }
