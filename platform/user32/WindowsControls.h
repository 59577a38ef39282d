// State behind the test controls of PlatformTestWindows.h, read by the
// calls they steer.
#ifndef VORBLOX_PLATFORM_WINDOWS_CONTROLS_H
#define VORBLOX_PLATFORM_WINDOWS_CONTROLS_H

#include <windows.h>

#include <string>

namespace plat {

bool VersionQueryFails();
void ReportedVersion(OSVERSIONINFOA* info);
bool ResourceHidden(const char* name);
bool CapturingMessageBoxes();
void RecordMessageBox(HWND owner, LPCSTR text, LPCSTR caption, UINT type);
bool CapturingDebugOutput();
void RecordDebugOutput(const char* text);

}  // namespace plat

#endif
