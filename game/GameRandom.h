#ifndef VORBLOX_GAME_GAMERANDOM_H
#define VORBLOX_GAME_GAMERANDOM_H

#include <cstdint>

// The classic rand linear congruential generator. The game deals its pieces
// from one process-wide instance that starts at 1 and is never reseeded by
// the program, so every run deals the same sequence.
class GameRandom {
public:
    static const uint32_t startState = 1;

    // constexpr so the shared instance is initialised before any static
    // object (the application's GameState) draws from it.
    constexpr GameRandom() : state(startState) {}

    // Advances the state and returns a value from 0 to 32767.
    int32_t Next();

    // Puts the generator back to its start state; for tests and tools only.
    void Restart();

private:
    uint32_t state;
};

extern GameRandom gameRandom;

#endif
