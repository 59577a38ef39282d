// State behind the window test controls of PlatformTestWindows.h, read
// by the calls they steer.
#ifndef VORBLOX_PLATFORM_WINDOWS_CONTROLS_H
#define VORBLOX_PLATFORM_WINDOWS_CONTROLS_H

#include <windows.h>

namespace plat {

bool CapturingMessageBoxes();
void RecordMessageBox(HWND owner, LPCSTR text, LPCSTR caption, UINT type);

}  // namespace plat

#endif
