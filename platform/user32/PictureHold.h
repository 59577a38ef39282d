// While a watched recording is run ahead to a moment (a seek), its frames
// are drawn as usual but not shown: the desktop sees only the frame of the
// moment reached, and the run is not held up by the display.
#ifndef VORBLOX_PLATFORM_PICTURE_HOLD_H
#define VORBLOX_PLATFORM_PICTURE_HOLD_H

namespace plat {

// Holds the windows' pictures back, or shows at once what they hold.
void HoldPictures(bool held);

}  // namespace plat

#endif
