#include "system/SystemInfo.h"

#include "system/DirectXVersion.h"

SystemInfo systemInfo = {};

void InitSystemInfo(HINSTANCE instance, int showCommand)
{
    systemInfo.instance = instance;
    systemInfo.showCommand = showCommand;
    systemInfo.screenWidth = GetSystemMetrics(SM_CXSCREEN);
    systemInfo.screenHeight = GetSystemMetrics(SM_CYSCREEN);
    // What the frame and the caption add to the client area, asked of the
    // system rather than summed from metrics: the sum of caption and frames
    // minus one falls a pixel short, and current systems add borders no
    // single metric tells, so the picture would not fit its window.
    RECT frame = {0, 0, 0, 0};
    AdjustWindowRect(&frame, WS_OVERLAPPEDWINDOW, FALSE);
    systemInfo.borderWidth = frame.right - frame.left;
    systemInfo.borderHeight = frame.bottom - frame.top;
    GetDirectXVersion(&systemInfo.dxVersion, &systemInfo.dxPlatform);
}
