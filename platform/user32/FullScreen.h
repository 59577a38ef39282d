// Full screen on the Linux desktop, the player's choice: --fullscreen, and
// F11 or Alt+Enter while playing. The window takes the whole screen as a
// desktop-imposed size (the picture whole, centred, at the largest whole
// scale, black around: Presenter.h); leaving gives back the window's size
// and place. The program never sees the keys that toggle it.
#ifndef VORBLOX_PLATFORM_FULL_SCREEN_H
#define VORBLOX_PLATFORM_FULL_SCREEN_H

namespace plat {

struct Window;

// Top-level windows go full screen as they are first shown.
void StartFullScreen();
// Called as a top-level window is first shown.
void WindowShown(Window* w);
}  // namespace plat

#endif
