// Full screen on the Linux desktop, the player's choice: --fullscreen, and
// F11 or Alt+Enter while playing. The window takes the whole screen as a
// desktop-imposed size (the picture whole, centred, at the largest whole
// scale, black around: Presenter.h); leaving gives back the window's size
// and place. The program never sees the keys that toggle it.
#ifndef VORBLOX_PLATFORM_FULL_SCREEN_H
#define VORBLOX_PLATFORM_FULL_SCREEN_H

struct SDL_KeyboardEvent;

namespace plat {

struct Window;

// Top-level windows go full screen as they are first shown.
void StartFullScreen();
// Called as a top-level window is first shown.
void WindowShown(Window* w);
// A key event that toggles full screen does so and is taken: true, and
// neither it nor its release reaches the program.
bool TakeFullScreenKey(Window* w, const SDL_KeyboardEvent& e);
// True while a key that toggled full screen is still held: the keyboard's
// state leaves it out.
bool KeyTaken(int scancode);  // an SDL_Scancode

}  // namespace plat

#endif
