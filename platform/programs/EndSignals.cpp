// The signals are blocked in every thread and taken by sigwait in one of
// their own, so nothing runs inside a signal handler: that thread only
// notes the signal, asks for the window to be closed (CloseRequest.h) and
// wakes the game.
#include "EndSignals.h"

#include "CloseRequest.h"

#include <SDL.h>
#include <pthread.h>
#include <signal.h>
#include <unistd.h>

#include <atomic>

namespace plat {
namespace {

std::atomic<int> ending{0};
sigset_t endSignals;

void* TakeSignals(void*)
{
    for (;;) {
        int signal = 0;
        if (sigwait(&endSignals, &signal) != 0) continue;
        // A second one while the game is ending: end at once.
        if (ending.exchange(signal) != 0) EndBySignal(signal);
        RequestClose();
        // Ends the idle sleep, which waits on SDL's events.
        if (SDL_WasInit(SDL_INIT_EVENTS)) {
            SDL_Event wake = {};
            wake.type = SDL_USEREVENT;
            SDL_PushEvent(&wake);
        }
    }
    return nullptr;
}

}  // namespace

void EndOnSignals()
{
    sigemptyset(&endSignals);
    sigaddset(&endSignals, SIGTERM);
    sigaddset(&endSignals, SIGINT);
    sigaddset(&endSignals, SIGHUP);
    pthread_sigmask(SIG_BLOCK, &endSignals, nullptr);
    pthread_t thread;
    if (pthread_create(&thread, nullptr, TakeSignals, nullptr) == 0) pthread_detach(thread);
    TakeCloseRequests();
}

int EndingSignal() { return ending.load(); }

void EndBySignal(int signal)
{
    sigset_t one;
    sigemptyset(&one);
    sigaddset(&one, signal);
    ::signal(signal, SIG_DFL);
    pthread_sigmask(SIG_UNBLOCK, &one, nullptr);
    kill(getpid(), signal);
    _exit(128 + signal);
}

}  // namespace plat
