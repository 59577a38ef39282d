// The main window on a real X display: registered, centred and sized the way
// the game does it. Runs only when DISPLAY names a display; with
// VORBLOX_HOLD_SECONDS set it stays on screen that long, for a screenshot.
#include <gtest/gtest.h>

#include <PlatformTest.h>

#include <stdlib.h>

#include "shell/MainWindow.h"
#include "system/SystemInfo.h"

namespace {

void PumpMessages()
{
    MSG msg;
    while (PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
}

TEST(MainWindowScreenTest, CentredWindowWithThePicturesClientArea)
{
    const char* display = getenv("DISPLAY");
    if (display == NULL || *display == '\0') GTEST_SKIP() << "no X display";
    PlatformTest::SetHeadless(false);
    PlatformTest::Reset();

    InitSystemInfo(GetModuleHandleA(NULL), SW_SHOWDEFAULT);
    ASSERT_TRUE(RegisterMainWindowClass(CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS,
                                        LoadIconA(systemInfo.instance, IDI_APPLICATION),
                                        LoadCursorA(NULL, IDC_ARROW),
                                        static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)), NULL, "DropixClass"));
    LONG width = 300 + systemInfo.borderWidth;
    LONG height = 400 + systemInfo.borderHeight;
    LONG x = (systemInfo.screenWidth - width) / 2;
    LONG y = (systemInfo.screenHeight - height) / 2;

    MainWindow window;
    ASSERT_TRUE(window.Create("DropixClass", "Vorblox v1.0", WS_OVERLAPPEDWINDOW, x, y, width, height, NULL, NULL));
    PumpMessages();

    RECT client;
    ASSERT_TRUE(GetClientRect(window.hwnd, &client));
    EXPECT_EQ(300, client.right);
    EXPECT_EQ(400, client.bottom);
    POINT corner = {0, 0};
    ASSERT_TRUE(ClientToScreen(window.hwnd, &corner));
    RECT frame;
    ASSERT_TRUE(GetWindowRect(window.hwnd, &frame));
    EXPECT_EQ(x, frame.left);
    EXPECT_EQ(y, frame.top);
    EXPECT_GE(corner.x, frame.left);
    EXPECT_GE(corner.y, frame.top);

    const char* hold = getenv("VORBLOX_HOLD_SECONDS");
    for (int tick = 0, ticks = hold != NULL ? atoi(hold) * 50 : 0; tick < ticks; ++tick) {
        PumpMessages();
        Sleep(20);
    }
    EXPECT_NE(FALSE, window.Destroy());
    PlatformTest::SetHeadless(true);
}

}  // namespace
