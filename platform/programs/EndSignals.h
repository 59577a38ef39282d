// SIGTERM, SIGINT and SIGHUP end the game as its close button does: the
// window is closed, the game ends its own way and its recording is written
// whole; the program then ends by the signal, as its sender expects.
#ifndef VORBLOX_PLATFORM_END_SIGNALS_H
#define VORBLOX_PLATFORM_END_SIGNALS_H

namespace plat {

// Before any thread starts: the signals are taken by a thread of their own.
void EndOnSignals();
// The signal that ended the game, or 0.
int EndingSignal();
// Ends the process by that signal (its default action).
[[noreturn]] void EndBySignal(int signal);

}  // namespace plat

#endif
