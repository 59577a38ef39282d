// The main window on a real X display, sized and centred the way the game
// does it. Runs only when DISPLAY names a display; with VORBLOX_HOLD_SECONDS
// set it stays on screen that long, for a screenshot.
#include <gtest/gtest.h>

#include <PlatformTest.h>

#include <stdlib.h>

#include <vector>

#include "shell/MainWindow.h"
#include "system/SystemInfo.h"

TEST(MainWindowScreenTest, CentredWindowWithThePicturesClientArea)
{
    const char* display = getenv("DISPLAY");
    if (display == NULL || *display == '\0') GTEST_SKIP() << "no X display";
    PlatformTest::SetHeadless(false);
    InitSystemInfo(GetModuleHandleA(NULL), SW_SHOWDEFAULT);
    ASSERT_TRUE(RegisterMainWindowClass(CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS, NULL, LoadCursorA(NULL, IDC_ARROW),
                                        static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)), NULL, "DropixClass"));
    LONG width = 300 + systemInfo.borderWidth, height = 400 + systemInfo.borderHeight;
    LONG x = (systemInfo.screenWidth - width) / 2, y = (systemInfo.screenHeight - height) / 2;
    MainWindow window;
    ASSERT_TRUE(window.Create("DropixClass", "Vorblox v1.0", WS_OVERLAPPEDWINDOW, x, y, width, height, NULL, NULL));
    const char* hold = getenv("VORBLOX_HOLD_SECONDS");
    MSG msg;
    for (int tick = 0, ticks = hold != NULL ? atoi(hold) * 50 : 1; tick < ticks; ++tick, Sleep(20))
        while (PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);

    RECT client, frame;
    ASSERT_TRUE(GetClientRect(window.hwnd, &client) && GetWindowRect(window.hwnd, &frame));
    // A client area the picture's size, and the frame where the centring put it.
    std::vector<LONG> seen = {client.right, client.bottom, frame.left, frame.top};
    EXPECT_EQ((std::vector<LONG>{300, 400, x, y}), seen);
    EXPECT_NE(FALSE, window.Destroy());
}
