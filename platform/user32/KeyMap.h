// SDL's key positions as Windows names keys: a virtual-key code, the PC
// keyboard's set-1 scan code and whether the key is an extended one.
#ifndef VORBLOX_PLATFORM_KEY_MAP_H
#define VORBLOX_PLATFORM_KEY_MAP_H

#include <SDL.h>

namespace plat {

struct KeyCode {
    unsigned vk;
    unsigned scan;
    bool extended;
};

// False for a key Windows has no code for.
bool KeyFromScancode(SDL_Scancode scancode, KeyCode* key);
// The other way round; SDL_SCANCODE_UNKNOWN when there is none.
SDL_Scancode ScancodeFromKey(unsigned scan, bool extended);

}  // namespace plat

#endif
