// The keyboard as DirectInput reports it: SDL's key state translated to
// DirectInput key codes, with the test controls' overrides on top.
#ifndef VORBLOX_PLATFORM_SCAN_CODES_H
#define VORBLOX_PLATFORM_SCAN_CODES_H

#include <windows.h>

namespace plat {

// Fills the 256 bytes with 0x80 for every key that is down now.
void ReadKeys(BYTE* state);

}  // namespace plat

#endif
