// The keyboard as DirectInput reports it: SDL's key state translated to
// DirectInput key codes, with the test controls' overrides on top.
#ifndef VORBLOX_PLATFORM_SCAN_CODES_H
#define VORBLOX_PLATFORM_SCAN_CODES_H

#include <SDL.h>
#include <windows.h>

namespace plat {

// The DirectInput code (DIK_) of an SDL scan code; 0 for keys DirectInput
// has no code for.
BYTE DikFromScancode(SDL_Scancode scancode);

// Fills the 256 bytes with 0x80 for every key that is down now.
void ReadKeys(BYTE* state);

}  // namespace plat

#endif
