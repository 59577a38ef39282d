// Paces the ticks at a steady 64 per second (one every 15.625 ms, the
// period of the stock Windows system timer) from the performance counter.
//
// Waits end on the system clock's interrupt: every 15.625 ms on a stock
// Windows, every millisecond or so while the program's request for a finer
// period is honoured, whenever asked under Wine and on Linux. The pacer
// keeps one schedule for all of them: ticks are due a whole period apart,
// and a tick that starts a little late (as a coarse clock makes it) leaves
// the schedule alone. Only a tick later than that (after a stall) moves the
// schedule with it, so that the next one comes about a period after it,
// never in a burst to catch up.
#ifndef VORBLOX_APP_TICK_PACER_H
#define VORBLOX_APP_TICK_PACER_H

#include <windows.h>

class TickPacer {
public:
    static const LONGLONG ticksPerSecond = 64;

    // Asks for a 1 ms system clock while the game runs.
    TickPacer();
    ~TickPacer();

    // True when the next tick is due.
    bool Due() const;
    // Sleeps until the next tick is due or a message arrives.
    void WaitUntilDueOrMessage();
    // The due tick starts now; the next one is due a period after it.
    void StartTick();
    // The loop is about to sleep until a message arrives: no finer clock is
    // needed meanwhile, so the request is given back.
    void Pause();
    // After an idle sleep: the next tick is due at once.
    void Restart();

private:
    LONGLONG Now() const;
    void RequestFineClock();

    LONGLONG frequency;
    LONGLONG due;    // in counter units, scaled by ticksPerSecond to stay exact
    HANDLE timer;    // null when none could be made: waits in whole milliseconds
    bool fineClock;  // a 1 ms clock period was granted and is held
};

#endif
