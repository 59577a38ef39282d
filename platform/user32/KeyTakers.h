// Keys the layer answers itself before the program sees them: full screen's
// F11 and Alt+Enter, the controls of a recording being watched. A key whose
// press was taken is taken until it is released: its repeats and its release
// never reach the program, and the keyboard's state leaves it out meanwhile.
#ifndef VORBLOX_PLATFORM_KEY_TAKERS_H
#define VORBLOX_PLATFORM_KEY_TAKERS_H

#include <windows.h>

struct SDL_KeyboardEvent;

namespace plat {

// Asked of every key press (not its repeats) for a top-level window, in the
// order added; true takes it.
using KeyTaker = bool (*)(HWND window, const SDL_KeyboardEvent& press);
void AddKeyTaker(KeyTaker taker);

// True when the event is taken (OnKey then posts nothing).
bool TakeKey(HWND window, const SDL_KeyboardEvent& e);
// True while a taken key is still held.
bool KeyTaken(int scancode);  // an SDL_Scancode

}  // namespace plat

#endif
