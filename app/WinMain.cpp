#include "app/MessageLoop.h"
#include "app/PMAIN.h"
#include "system/SystemInfo.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCommand)
{
    InitSystemInfo(instance, showCommand);
    // The player has been told why in a message box; the exit code tells a
    // launcher or a script.
    if (!application.Init()) return 1;
    return RunMessageLoop(application);
}
