// The thread's message queue. Posted messages and input translated from SDL
// events share one queue in arrival order; the quit message comes when the
// queue is empty, WM_PAINT after it, for a window with an update region.
#include "Clock.h"
#include "Core.h"
#include "DisplayWaits.h"
#include "InputSource.h"
#include "WaitableTimer.h"
#include "WindowState.h"

#include <algorithm>
#include <deque>

namespace plat {
namespace {

struct Queue {
    std::deque<MSG> messages;
    bool quitPosted = false;
    int quitCode = 0;
};

Queue& TheQueue()
{
    static auto* queue = new Queue;
    return *queue;
}

bool InRange(UINT message, UINT filterMin, UINT filterMax)
{
    if (filterMin == 0 && filterMax == 0) return true;
    return message >= filterMin && message <= filterMax;
}

bool ForWindow(HWND target, HWND filter) { return !filter || target == filter; }

MSG MakeMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    MSG msg;
    msg.hwnd = hwnd;
    msg.message = message;
    msg.wParam = wParam;
    msg.lParam = lParam;
    msg.time = GetTickCount();
    msg.pt = {0, 0};
    return msg;
}

// Finds the next message the filter admits; removes it when asked.
bool NextMessage(MSG* out, HWND hwnd, UINT filterMin, UINT filterMax, bool remove)
{
    PumpSdlEvents();
    Queue& q = TheQueue();
    for (auto it = q.messages.begin(); it != q.messages.end(); ++it) {
        if (!ForWindow(it->hwnd, hwnd) || !InRange(it->message, filterMin, filterMax)) continue;
        *out = *it;
        if (remove) q.messages.erase(it);
        return true;
    }
    if (q.quitPosted && InRange(WM_QUIT, filterMin, filterMax)) {
        *out = MakeMessage(nullptr, WM_QUIT, (WPARAM)q.quitCode, 0);
        if (remove) q.quitPosted = false;
        return true;
    }
    if (InRange(WM_PAINT, filterMin, filterMax)) {
        for (Window* w : LiveWindowsNow()) {
            if (ForWindow(w->hwnd, hwnd) && NeedsPaint(w)) {
                *out = MakeMessage(w->hwnd, WM_PAINT, 0, 0);
                return true;
            }
        }
    }
    return false;
}

bool AnythingWaiting()
{
    MSG msg;
    return NextMessage(&msg, nullptr, 0, 0, false);
}

// SDL is started by the first window; before that there is nothing to ask.
bool SdlRunning() { return SDL_WasInit(SDL_INIT_EVENTS) != 0; }

// Sleeps until `end` on the layer's clock or until SDL has an event; true
// when it may have ended for an event. On X the display connection is
// waited on to the nanosecond. Otherwise SDL waits, which count whole
// milliseconds: SDL sleeps all but the last millisecond or two and a plain
// sleep the rest, so that the wait ends when due rather than up to a
// millisecond late.
bool SleepUntilEvent(ULONGLONG end)
{
    ULONGLONG now = Now();
    if (now >= end) return false;
    if (ClockStopped() && end != kNever) {
        SleepUntil(end);
        return false;
    }
    const ULONGLONG millisecond = 1000000;
    // A watched recording's pace sets how long that is really.
    ULONGLONG left = std::min<ULONGLONG>(RealNanosecondsUntil(end), 1000 * millisecond);
    const std::vector<Window*>& windows = LiveWindowsNow();
    if (!windows.empty() && !ClockStopped()) {
        int woken = WaitOnDisplay(windows.front()->sdl, left);
        if (woken >= 0) return woken == 1;
    }
    if (left < 2 * millisecond) {
        SleepUntil(end);
        return false;
    }
    int part = (int)(left / millisecond - 1);
    // Without SDL (no window yet) nothing can arrive but the end.
    if (!SdlRunning()) {
        if (!WaitForEvents(part)) SDL_Delay((Uint32)part);
        return false;
    }
    // With no event, SDL_WaitEventTimeout leaves it queued for PumpSdlEvents.
    return SDL_WaitEventTimeout(nullptr, part) != 0;
}

}  // namespace

void PostToQueue(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    TheQueue().messages.push_back(MakeMessage(hwnd, message, wParam, lParam));
}

void DropMessagesFor(HWND hwnd)
{
    auto& messages = TheQueue().messages;
    messages.erase(std::remove_if(messages.begin(), messages.end(), [hwnd](const MSG& m) { return m.hwnd == hwnd; }),
                   messages.end());
}

}  // namespace plat

BOOL WINAPI PostMessageA(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    DWORD code = 0;
    if (plat::FailWin32("PostMessageA", &code)) return FALSE;
    if (hwnd && !plat::LookupWindow(hwnd)) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    plat::PostToQueue(hwnd, message, wParam, lParam);
    return TRUE;
}

LRESULT WINAPI SendMessageA(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    plat::Window* w = plat::WindowForCall("SendMessageA", hwnd);
    if (!w) return 0;
    return plat::CallProc(w, message, wParam, lParam);
}

void WINAPI PostQuitMessage(int exitCode)
{
    plat::Queue& q = plat::TheQueue();
    q.quitPosted = true;
    q.quitCode = exitCode;
}

BOOL WINAPI PeekMessageA(LPMSG msg, HWND hwnd, UINT filterMin, UINT filterMax, UINT removeFlags)
{
    DWORD code = 0;
    if (plat::FailWin32("PeekMessageA", &code)) return FALSE;
    MSG found;
    if (!plat::NextMessage(&found, hwnd, filterMin, filterMax, (removeFlags & PM_REMOVE) != 0)) return FALSE;
    if (msg) *msg = found;
    return TRUE;
}

BOOL WINAPI GetMessageA(LPMSG msg, HWND hwnd, UINT filterMin, UINT filterMax)
{
    DWORD code = 0;
    if (plat::FailWin32("GetMessageA", &code)) return -1;
    if (!msg) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return -1;
    }
    if (hwnd && !plat::LookupWindow(hwnd)) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return -1;
    }
    while (!plat::NextMessage(msg, hwnd, filterMin, filterMax, true)) {
        if (!plat::SdlRunning()) {
            // Nothing can ever arrive: no window, no SDL. Waiting would hang.
            SetLastError(ERROR_INVALID_PARAMETER);
            return -1;
        }
        if (!plat::WaitForEvents(100)) SDL_WaitEventTimeout(nullptr, 100);
    }
    return msg->message == WM_QUIT ? FALSE : TRUE;
}

LRESULT WINAPI DispatchMessageA(const MSG* msg)
{
    DWORD code = 0;
    if (plat::FailWin32("DispatchMessageA", &code)) return 0;
    if (!msg) return 0;
    plat::Window* w = plat::LookupWindow(msg->hwnd);
    if (!w) return 0;
    return plat::CallProc(w, msg->message, msg->wParam, msg->lParam);
}

// Keys are read as keys; no character messages are made.
BOOL WINAPI TranslateMessage(const MSG* msg)
{
    return msg && (msg->message == WM_KEYDOWN || msg->message == WM_SYSKEYDOWN);
}

DWORD WINAPI MsgWaitForMultipleObjects(DWORD count, const HANDLE* handles, BOOL waitAll, DWORD milliseconds,
                                       DWORD wakeMask)
{
    DWORD code = 0;
    if (plat::FailWin32("MsgWaitForMultipleObjects", &code)) return WAIT_FAILED;
    // The only kernel objects here are waitable timers, and any one of them will do.
    if (count >= MAXIMUM_WAIT_OBJECTS || (count && (!handles || waitAll))) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return WAIT_FAILED;
    }
    for (DWORD i = 0; i < count; ++i) {
        if (!plat::IsWaitableTimer(handles[i])) {
            SetLastError(ERROR_INVALID_HANDLE);
            return WAIT_FAILED;
        }
    }
    ULONGLONG start = plat::Now();
    ULONGLONG timeout = milliseconds == INFINITE ? plat::kNever
                        : milliseconds == 0      ? start
                                                 : plat::WaitEnd(plat::WaitStart() + milliseconds * 1000000ull);
    bool quietWait = false;
    for (;;) {
        ULONGLONG end = timeout;
        for (DWORD i = 0; i < count; ++i) {
            ULONGLONG at = plat::TimerSignalledAt(handles[i]);
            if (at == 0) {
                plat::TimerWaitSatisfied(handles[i]);
                return WAIT_OBJECT_0 + i;
            }
            end = std::min(end, at);
        }
        bool timedOut = plat::Now() >= timeout;
        // A wait that ran out with nothing arriving needs no second look at
        // the queue: the caller's next PeekMessage looks anyway, and every
        // look reads the display connection.
        if (quietWait && timedOut) return WAIT_TIMEOUT;
        if (wakeMask != 0 && plat::AnythingWaiting()) return WAIT_OBJECT_0 + count;
        if (timedOut) return WAIT_TIMEOUT;
        quietWait = !plat::SleepUntilEvent(end);
    }
}

BOOL WINAPI WaitMessage(void)
{
    DWORD code = 0;
    if (plat::FailWin32("WaitMessage", &code)) return FALSE;
    // Controllers and a recording being watched bring no message; for them
    // the wait ends without one, and the game's next tick reads them.
    plat::InputIdle();
    while (!plat::AnythingWaiting() && !plat::InputWaiting()) {
        if (!plat::SdlRunning()) {
            SetLastError(ERROR_INVALID_PARAMETER);
            return FALSE;
        }
        int look = plat::InputLookMilliseconds();
        if (!plat::WaitForEvents(look)) SDL_WaitEventTimeout(nullptr, look);
    }
    return TRUE;
}
