// CreateWaitableTimerA, SetWaitableTimer and CloseHandle: one-shot timers
// with relative due times, signalled on the layer's clock. On a clock with
// an interrupt a timer counts from the last interrupt and is signalled on
// the first one at or after its due time, as on Windows.
#include "WaitableTimer.h"
#include "Clock.h"
#include "Core.h"

#include <set>

namespace plat {
namespace {

struct Timer {
    bool manualReset = false;
    bool pending = false;    // set and not yet taken by a wait (or, manual reset, not set again)
    ULONGLONG due = 0;       // on the layer's clock
};

std::set<Timer*>& Timers()
{
    static auto* timers = new std::set<Timer*>;
    return *timers;
}

Timer* Lookup(HANDLE handle)
{
    auto* timer = static_cast<Timer*>(handle);
    return Timers().count(timer) ? timer : nullptr;
}

// The timer a Win32 call names, or null with the last error set: the call
// was made to fail, or the handle is no timer.
Timer* TimerForCall(const char* call, HANDLE handle)
{
    DWORD code = 0;
    if (FailWin32(call, &code)) return nullptr;
    Timer* timer = Lookup(handle);
    if (!timer) SetLastError(ERROR_INVALID_HANDLE);
    return timer;
}

}  // namespace

bool IsWaitableTimer(HANDLE handle) { return Lookup(handle) != nullptr; }

ULONGLONG TimerSignalledAt(HANDLE handle)
{
    Timer* timer = Lookup(handle);
    if (!timer || !timer->pending) return kNever;
    ULONGLONG at = WaitEnd(timer->due);
    return Now() >= at ? 0 : at;
}

void TimerWaitSatisfied(HANDLE handle)
{
    Timer* timer = Lookup(handle);
    if (timer && !timer->manualReset) timer->pending = false;
}

}  // namespace plat

HANDLE WINAPI CreateWaitableTimerA(LPSECURITY_ATTRIBUTES, BOOL manualReset, LPCSTR name)
{
    DWORD code = 0;
    if (plat::FailWin32("CreateWaitableTimerA", &code)) return nullptr;
    if (name) {
        SetLastError(ERROR_NOT_SUPPORTED);  // no named kernel objects here
        return nullptr;
    }
    auto* timer = new plat::Timer;
    timer->manualReset = manualReset != FALSE;
    plat::Timers().insert(timer);
    return timer;
}

BOOL WINAPI SetWaitableTimer(HANDLE handle, const LARGE_INTEGER* dueTime, LONG period, PTIMERAPCROUTINE completion,
                             LPVOID, BOOL)
{
    plat::Timer* timer = plat::TimerForCall("SetWaitableTimer", handle);
    if (!timer) return FALSE;
    if (!dueTime || period < 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    // Only what a pacing loop needs: one relative due time, no period, no
    // completion routine.
    if (dueTime->QuadPart > 0 || period != 0 || completion) {
        SetLastError(ERROR_NOT_SUPPORTED);
        return FALSE;
    }
    timer->due = plat::WaitStart() + (ULONGLONG)(-dueTime->QuadPart) * 100;
    timer->pending = true;
    return TRUE;
}

BOOL WINAPI CloseHandle(HANDLE handle)
{
    plat::Timer* timer = plat::TimerForCall("CloseHandle", handle);
    if (!timer) return FALSE;
    plat::Timers().erase(timer);
    delete timer;
    return TRUE;
}
