// Ending the game from outside it, as its close button ends it: the window
// is closed, the game ends its own way and its recording is written whole.
// For a signal on Linux, and for the page when the player opens a
// recording during a game.
#ifndef VORBLOX_PLATFORM_CLOSE_REQUEST_H
#define VORBLOX_PLATFORM_CLOSE_REQUEST_H

namespace plat {

// At the start, on the game's thread: its next keyboard read after a
// request closes the keyboard's window.
void TakeCloseRequests();
// From any thread. The game should be woken after it, should it sleep.
void RequestClose();
// True once asked: whatever waits in the game's keyboard read stops waiting.
bool CloseRequested();

}  // namespace plat

#endif
