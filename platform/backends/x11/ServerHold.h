// The test control that makes the X server too busy to read what the layer
// sends (PlatformTest::HoldDisplayServer).
#ifndef VORBLOX_PLATFORM_SERVER_HOLD_H
#define VORBLOX_PLATFORM_SERVER_HOLD_H

namespace plat {

// Whether the control holds the server now: it answers nothing until let go.
bool DisplayServerHeld();

}  // namespace plat

#endif
