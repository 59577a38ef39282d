#include "system/SystemInfo.h"

#include "system/DirectXVersion.h"

SystemInfo systemInfo = {};

void InitSystemInfo(HINSTANCE instance, int showCommand)
{
    systemInfo.instance = instance;
    systemInfo.showCommand = showCommand;
    systemInfo.screenWidth = GetSystemMetrics(SM_CXSCREEN);
    systemInfo.screenHeight = GetSystemMetrics(SM_CYSCREEN);
    systemInfo.borderWidth = 2 * GetSystemMetrics(SM_CXFRAME);
    // Deliberately one pixel short of caption plus both frames: the window
    // has always been sized that way.
    systemInfo.borderHeight = GetSystemMetrics(SM_CYCAPTION) + 2 * GetSystemMetrics(SM_CYFRAME) - 1;
    GetDirectXVersion(&systemInfo.dxVersion, &systemInfo.dxPlatform);
}
