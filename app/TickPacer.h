// Paces the ticks at a steady 64 per second (one every 15.625 ms, the
// period of the stock Windows system timer) from the performance counter.
#ifndef VORBLOX_APP_TICK_PACER_H
#define VORBLOX_APP_TICK_PACER_H

#include <windows.h>

class TickPacer {
public:
    static const LONGLONG ticksPerSecond = 64;

    TickPacer();
    // Milliseconds until the next tick is due, 0 when it is due now.
    DWORD MillisecondsUntilDue() const;
    // A tick ran: the next one is due one period after this one was. After
    // a stall (a window drag, a message box) the pace starts afresh instead
    // of running a burst of ticks to catch up.
    void Ticked();
    // The next tick is due at once (the loop wakes from an idle wait).
    void Restart();

private:
    LONGLONG Now() const;

    LONGLONG frequency;
    LONGLONG due;  // in counter units, scaled by ticksPerSecond to stay exact
};

#endif
