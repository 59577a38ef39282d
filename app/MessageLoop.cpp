#include "app/MessageLoop.h"

#include "app/PMAIN.h"
#include "app/TickPacer.h"

bool DispatchWaitingMessages(int* exitCode)
{
    MSG msg;
    while (PeekMessageA(&msg, NULL, 0, 0, PM_NOREMOVE)) {
        if (!GetMessageA(&msg, NULL, 0, 0)) {
            *exitCode = (int)msg.wParam;
            return false;
        }
        DispatchMessageA(&msg);
    }
    return true;
}

// Between ticks the loop sleeps until the next tick is due or a message
// arrives; while nothing can change it sleeps until a message arrives.
int RunMessageLoop(PMAIN& app)
{
    TickPacer pacer;
    int exitCode = 0;
    // A message that ends an idle wait (a key going down) is only seen by
    // the keyboard read of the next tick, so that tick always runs.
    bool woken = false;
    while (DispatchWaitingMessages(&exitCode)) {
        if (!woken && app.Idle()) {
            pacer.Pause();
            WaitMessage();
            pacer.Restart();
            woken = true;
            continue;
        }
        if (!pacer.Due()) {
            pacer.WaitUntilDueOrMessage();
            continue;
        }
        pacer.StartTick();
        app.Tick();
        woken = false;
    }
    return exitCode;
}
