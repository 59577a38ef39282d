#include "app/MessageLoop.h"
#include "app/PMAIN.h"
#include "system/SystemInfo.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCommand)
{
    InitSystemInfo(instance, showCommand);
    if (!application.Init()) return 0;
    return RunMessageLoop(application);
}
