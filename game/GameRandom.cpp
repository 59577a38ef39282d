#include "game/GameRandom.h"

GameRandom gameRandom;

int32_t GameRandom::Next()
{
    // Unsigned arithmetic wraps modulo 2^32, which is the generator's modulus.
    state = state * 1103515245u + 12345u;
    return static_cast<int32_t>((state >> 16) & 0x7FFFu);
}

void GameRandom::Restart()
{
    state = startState;
}
