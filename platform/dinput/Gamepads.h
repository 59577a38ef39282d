// Game controllers as keys of the DirectInput keyboard, through the
// bindings (by default the D-pad and the left stick move, the face buttons
// turn, Start starts, Back with Start quits). The game sees nothing but keys.
#ifndef VORBLOX_PLATFORM_GAMEPADS_H
#define VORBLOX_PLATFORM_GAMEPADS_H

#include <windows.h>

namespace plat {

// One keyboard read's share of the controllers: while `window` has the
// keyboard focus, marks down (0x80) in `keys` every key a controller holds
// now or pressed since the last read; without the focus, or with `keys`
// null, forgets those presses. Starts SDL's controller support on first use.
void ReadGamepads(BYTE* keys, HWND window);

// For the message loop's idle sleep, which would otherwise not notice a
// controller: looks at them, and answers true when a press waits for the
// next keyboard read.
bool GamepadPressWaiting();

// How long the idle sleep may last before it looks at the controllers again.
int GamepadLookMilliseconds();

}  // namespace plat

#endif
