// Waitable timers as MsgWaitForMultipleObjects sees them.
#ifndef VORBLOX_PLATFORM_WAITABLE_TIMER_H
#define VORBLOX_PLATFORM_WAITABLE_TIMER_H

#include <windows.h>

namespace plat {

bool IsWaitableTimer(HANDLE handle);
// When the timer is or will be signalled on the layer's clock (0 when it
// already is), kNever when it is not set.
ULONGLONG TimerSignalledAt(HANDLE timer);
// A wait ended because the timer was signalled: an auto-reset timer is
// no longer signalled.
void TimerWaitSatisfied(HANDLE timer);

}  // namespace plat

#endif
