// The program's embedded files, found by resource name.
#ifndef VORBLOX_PLATFORM_RESOURCE_LOOKUP_H
#define VORBLOX_PLATFORM_RESOURCE_LOOKUP_H

#include <PlatformResources.h>
#include <windows.h>

namespace plat {

// The named resource of that type, unless absent or hidden by a test.
const PlatformResource* FindResource(const char* name, PlatformResourceType type);
bool IsProgramModule(HINSTANCE instance);

}  // namespace plat

#endif
