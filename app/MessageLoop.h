// The message loop: messages first, then a tick when one is due.
#ifndef VORBLOX_APP_MESSAGE_LOOP_H
#define VORBLOX_APP_MESSAGE_LOOP_H

#include <windows.h>

class PMAIN;

// Dispatches every message that is waiting, untranslated. False once the
// quit message was taken; *exitCode is then its code.
bool DispatchWaitingMessages(int* exitCode);

// Runs the game until the quit message; returns its exit code.
int RunMessageLoop(PMAIN& app);

#endif
