// The keyboard as DirectInput reports it: SDL's key state translated to
// DirectInput key codes through the player's bindings, with the test
// controls' overrides (in the game's keys) on top.
#ifndef VORBLOX_PLATFORM_SCAN_CODES_H
#define VORBLOX_PLATFORM_SCAN_CODES_H

#include <SDL.h>
#include <windows.h>

namespace plat {

// Fills the 256 bytes with 0x80 for every key that is down now.
void ReadKeys(BYTE* state);

// A key's own DirectInput code; 0 for a key DirectInput has none for.
BYTE ScancodeKey(SDL_Scancode scancode);

}  // namespace plat

#endif
