// A computer player for long unattended runs: it places each piece where the
// well stays low and flat, presses the keys a person would to get it there,
// and now and then does something careless (a stray key, a restart), so that
// a run sees long games, high levels, game overs and restarts. Its choices
// come from its own seeded generator, so a run can be repeated exactly.
#ifndef VORBLOX_TOOLS_AUTOPLAY_AUTO_PLAYER_H
#define VORBLOX_TOOLS_AUTOPLAY_AUTO_PLAYER_H

#include "game/GameState.h"

#include <stdint.h>

#include <vector>

struct AutoPlayerHabits {
    uint32_t strayKeyOdds = 64;         // one stray key in this many ticks
    uint32_t restartOdds = 1000000;     // one F1 in the middle of a game in this many ticks
    uint32_t gameOverPause = 40;        // ticks it looks at the game-over picture
};

class AutoPlayer {
public:
    explicit AutoPlayer(uint32_t seed, AutoPlayerHabits habits = AutoPlayerHabits());

    // Back to the state right after construction with this seed.
    void Restart(uint32_t seed);

    // The DirectInput codes of the keys to hold during the next tick.
    const std::vector<unsigned char>& NextKeys(const GameState& game);

private:
    uint32_t Random();
    void Plan(const GameState& game);
    bool WasHeld(unsigned char key) const;
    void Press(unsigned char key);

    AutoPlayerHabits habits;
    uint32_t state;
    std::vector<unsigned char> keys;
    std::vector<unsigned char> previous;
    bool planned;
    int32_t plannedPiece, plannedNext, lastY;
    int32_t targetRotation, targetX;
    uint32_t idleTicks;
    uint32_t stuckTicks;
};

#endif
