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

    // What the desktop does to the game's surfaces once `tick` ticks are
    // played (0: before the first one; a depth at 0 is the depth the game
    // starts in): every surface lost, or the desktop's depth changed.
    void LoseSurfacesAt(uint64_t tick);
    void DesktopBitsAt(uint64_t tick, int bits);

    uint64_t Ticks() const { return ticks; }
    bool Quit() const { return quit; }

    // The game state as one line of JSON; with `frameSum`, also a checksum
    // of the frame the window shows.
    std::string StateJson(bool frameSum = false) const;

    // The last presented frame, as a 24-bit bitmap file.
    bool WriteFrame(const char* path, std::string* error) const;

private:
    struct DesktopEvent {
        uint64_t tick;
        int bits;  // 0: every surface lost
    };
    // Applies the events of the tick about to be played.
    void DesktopEvents();
    // FNV-1a over the shown frame's pixels; 0 when there is none.
    uint32_t FrameSum() const;

    uint64_t ticks = 0;
    bool quit = false;
    std::vector<DesktopEvent> events;
};

#endif
