// State behind the resource test control of PlatformTestWindows.h.
#ifndef VORBLOX_PLATFORM_RESOURCE_CONTROLS_H
#define VORBLOX_PLATFORM_RESOURCE_CONTROLS_H

namespace plat {

// True for a resource name a test hid (case aside, as Windows compares them).
bool ResourceHidden(const char* name);

}  // namespace plat

#endif
