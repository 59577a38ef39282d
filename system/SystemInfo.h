// Facts about the machine the game runs on, gathered once at entry: what the
// entry point was given, the screen and frame metrics that size the window,
// and the DirectX version installed.
#ifndef VORBLOX_SYSTEM_SYSTEMINFO_H
#define VORBLOX_SYSTEM_SYSTEMINFO_H

#include <windows.h>

struct SystemInfo {
    HINSTANCE instance;
    int showCommand;
    int screenWidth;
    int screenHeight;
    // What the window frame adds to the client area's width and height.
    int borderWidth;
    int borderHeight;
    // Major version in the high byte, minor in the low byte: 0x0501 is 5a.
    DWORD dxVersion;
    // 0 no DirectX possible, 1 the Windows 9x family, 2 Windows NT.
    DWORD dxPlatform;
};

extern SystemInfo systemInfo;

void InitSystemInfo(HINSTANCE instance, int showCommand);

#endif
