// The page's touch controls and its view of whether a game is being played,
// as input sources of the DirectInput keyboard.
#ifndef VORBLOX_PLATFORM_TOUCH_CONTROLS_H
#define VORBLOX_PLATFORM_TOUCH_CONTROLS_H

namespace plat {

// Registers the touch buttons (set by the page through VorbloxTouch) and the
// source that tells the page when the game starts and stops being played.
void UseTouchControls();

}  // namespace plat

#endif
