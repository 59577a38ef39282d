// Runs the real game headless, tick after tick, with the keys a script holds.
#ifndef VORBLOX_TOOLS_REPLAY_SESSION_H
#define VORBLOX_TOOLS_REPLAY_SESSION_H

#include <stdint.h>

#include <string>
#include <vector>

class ReplaySession {
public:
    // The program's own start-up, on a headless display. False when it
    // failed; the program has then shown its message.
    bool Start();

    // One tick with exactly these keys held. Messages are dispatched before
    // and after it, as the game's loop does. False once the program has quit.
    bool Tick(const std::vector<unsigned char>& keys);

    uint64_t Ticks() const { return ticks; }
    bool Quit() const { return quit; }

    // The game state as one line of JSON.
    std::string StateJson() const;

    // The last presented frame, as a 24-bit bitmap file.
    bool WriteFrame(const char* path, std::string* error) const;

private:
    uint64_t ticks = 0;
    bool quit = false;
};

#endif
