// The keyboard device's own input sources (InputSource.h).
#ifndef VORBLOX_PLATFORM_DEVICE_SOURCES_H
#define VORBLOX_PLATFORM_DEVICE_SOURCES_H

namespace plat {

// Adds the keys and the game controllers, once: a keyboard device is made.
void AddDeviceSources();

}  // namespace plat

#endif
