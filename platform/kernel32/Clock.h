// The layer's clock: what QueryPerformanceCounter, GetTickCount and every
// timed wait read. Normally the monotonic clock with waits that end when
// asked; a test can make waits end only on the clock's interrupt, as
// Windows' do, and can stop time so that only waits move it.
#ifndef VORBLOX_PLATFORM_CLOCK_H
#define VORBLOX_PLATFORM_CLOCK_H

#include <windows.h>

namespace plat {

// A deadline that never comes.
const ULONGLONG kNever = ~0ull;

// Nanoseconds on the layer's clock.
ULONGLONG Now();

// What a relative wait or timer counts from: now on an exact clock,
// otherwise the last interrupt, whose time Windows keeps as the current
// one. So such a wait can end up to an interrupt early.
ULONGLONG WaitStart();

// When a wait due at `deadline` really ends: at once on an exact clock,
// otherwise at the first interrupt at or after it.
ULONGLONG WaitEnd(ULONGLONG deadline);

// True while time stands still between waits (a test's virtual clock).
bool ClockStopped();

// Sleeps until `end` (from WaitEnd): on a stopped clock time jumps there.
void SleepUntil(ULONGLONG end);

// How many real nanoseconds lie between now and `end` on the layer's
// clock.
ULONGLONG RealNanosecondsUntil(ULONGLONG end);

// How fast the layer's clock runs against the real one while a recording
// is watched: in halves (1 half speed, 2 normal, 16 eight times, never 0),
// or as fast as it goes (`fastest`: time stands still between waits and
// every wait for it ends at once, as on a test's stopped clock). Time never
// runs back.
void SetClockPace(unsigned halves, bool fastest);

}  // namespace plat

#endif
