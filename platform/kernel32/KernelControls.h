// State behind the version and debug-output test controls of
// PlatformTestWindows.h, read by the calls they steer.
#ifndef VORBLOX_PLATFORM_KERNEL_CONTROLS_H
#define VORBLOX_PLATFORM_KERNEL_CONTROLS_H

#include <windows.h>

namespace plat {

bool VersionQueryFails();
void ReportedVersion(OSVERSIONINFOA* info);
bool CapturingDebugOutput();
void RecordDebugOutput(const char* text);

}  // namespace plat

#endif
