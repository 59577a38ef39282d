// Desktop input as window messages: keys with their lParam fields, the
// mouse with client coordinates and key-state flags, the close button.
#include "RecordingWindow.h"

namespace {

class Input : public WindowTest {
protected:
    HWND Shown(UINT classStyle = 0)
    {
        HWND hwnd = Create(308, 426, WS_OVERLAPPEDWINDOW, classStyle);
        ShowWindow(hwnd, SW_SHOW);
        UpdateWindow(hwnd);
        return hwnd;
    }
    // Everything waiting, taken off the queue.
    std::vector<MSG> Drain()
    {
        std::vector<MSG> taken;
        MSG msg;
        while (PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE)) {
            taken.push_back(msg);
            DispatchMessageA(&msg);
        }
        return taken;
    }
};

TEST_F(Input, KeysArriveWithVirtualKeyAndScanCode)
{
    HWND hwnd = Shown();
    struct Case {
        unsigned scan;
        bool extended;
        WPARAM vk;
    };
    const Case cases[] = {{0x01, false, VK_ESCAPE}, {0x3B, false, VK_F1},    {0x4B, true, VK_LEFT},
                          {0x4D, true, VK_RIGHT},   {0x48, true, VK_UP},     {0x50, true, VK_DOWN},
                          {0x2A, false, VK_SHIFT},  {0x1D, true, VK_CONTROL}, {0x1E, false, 'A'},
                          {0x39, false, VK_SPACE}};
    for (const Case& c : cases) {
        ASSERT_TRUE(PlatformTest::DesktopKey(hwnd, c.scan, c.extended, true));
        ASSERT_TRUE(PlatformTest::DesktopKey(hwnd, c.scan, c.extended, false));
        std::vector<MSG> got = Drain();
        ASSERT_EQ(2u, got.size()) << std::hex << c.scan;
        EXPECT_EQ((UINT)WM_KEYDOWN, got[0].message);
        EXPECT_EQ((UINT)WM_KEYUP, got[1].message);
        for (const MSG& m : got) {
            EXPECT_EQ(hwnd, m.hwnd);
            EXPECT_EQ(c.vk, m.wParam) << std::hex << c.scan;
            EXPECT_EQ(c.scan, (m.lParam >> 16) & 0xFF);
            EXPECT_EQ(c.extended ? 1 : 0, (m.lParam >> 24) & 1);
            EXPECT_EQ(1, m.lParam & 0xFFFF);  // repeat count
        }
        EXPECT_EQ(0, (got[0].lParam >> 30) & 3);  // was up, going down
        EXPECT_EQ(3, (got[1].lParam >> 30) & 3);  // was down, going up
    }
}

TEST_F(Input, HeldKeyRepeatsWithThePreviousStateSet)
{
    HWND hwnd = Shown();
    PlatformTest::DesktopKey(hwnd, 0x4B, true, true);
    PlatformTest::DesktopKey(hwnd, 0x4B, true, true, true);
    std::vector<MSG> got = Drain();
    ASSERT_EQ(2u, got.size());
    EXPECT_EQ(0, (got[0].lParam >> 30) & 1);
    EXPECT_EQ(1, (got[1].lParam >> 30) & 1);
    EXPECT_EQ(0, (got[1].lParam >> 31) & 1);
}

TEST_F(Input, KeyMessagesReachTheDefaultProcedureOnly)
{
    HWND hwnd = Shown();
    Log().clear();
    PlatformTest::DesktopKey(hwnd, 0x3B, false, true);
    Drain();
    EXPECT_EQ(std::vector<UINT>{WM_KEYDOWN}, Messages());  // no WM_CHAR is made
}

TEST_F(Input, MouseMovesArriveInClientCoordinates)
{
    HWND hwnd = Shown();
    PlatformTest::DesktopMouseMove(hwnd, 123, 345);
    std::vector<MSG> got = Drain();
    ASSERT_EQ(1u, got.size());
    EXPECT_EQ((UINT)WM_MOUSEMOVE, got[0].message);
    EXPECT_EQ(123, LOWORD(got[0].lParam));
    EXPECT_EQ(345, HIWORD(got[0].lParam));
}

TEST_F(Input, ButtonsMakeTheirMessages)
{
    HWND hwnd = Shown();
    struct Case {
        int button;
        UINT down;
        UINT up;
    };
    const Case cases[] = {{1, WM_LBUTTONDOWN, WM_LBUTTONUP},
                          {2, WM_MBUTTONDOWN, WM_MBUTTONUP},
                          {3, WM_RBUTTONDOWN, WM_RBUTTONUP}};
    for (const Case& c : cases) {
        PlatformTest::DesktopMouseButton(hwnd, c.button, true, 5, 6);
        PlatformTest::DesktopMouseButton(hwnd, c.button, false, 5, 6);
        std::vector<MSG> got = Drain();
        ASSERT_EQ(2u, got.size());
        EXPECT_EQ(c.down, got[0].message);
        EXPECT_EQ(c.up, got[1].message);
        EXPECT_EQ(5, LOWORD(got[1].lParam));
        EXPECT_EQ(6, HIWORD(got[1].lParam));
    }
}

TEST_F(Input, DoubleClickNeedsTheClassStyle)
{
    HWND plain = Shown();
    PlatformTest::DesktopMouseButton(plain, 1, true, 1, 1, 2);
    std::vector<MSG> got = Drain();
    ASSERT_EQ(1u, got.size());
    EXPECT_EQ((UINT)WM_LBUTTONDOWN, got[0].message);
    DestroyWindow(plain);

    HWND clicky = Shown(CS_DBLCLKS);
    PlatformTest::DesktopMouseButton(clicky, 3, true, 1, 1, 2);
    got = Drain();
    ASSERT_EQ(1u, got.size());
    EXPECT_EQ((UINT)WM_RBUTTONDBLCLK, got[0].message);
}

TEST_F(Input, CloseButtonClosesThroughTheQueue)
{
    HWND hwnd = Shown();
    PlatformTest::DesktopClose(hwnd);
    std::vector<MSG> got = Drain();
    ASSERT_FALSE(got.empty());
    EXPECT_EQ((UINT)WM_CLOSE, got[0].message);
    EXPECT_FALSE(IsWindow(hwnd));
}

TEST_F(Input, DesktopInputWakesAWait)
{
    HWND hwnd = Shown();
    Drain();
    PlatformTest::DesktopKey(hwnd, 0x01, false, true);
    EXPECT_EQ((DWORD)WAIT_OBJECT_0, MsgWaitForMultipleObjects(0, NULL, FALSE, 60000, QS_ALLINPUT));
}

TEST_F(Input, ShownWindowHasTheFocusUntilToldOtherwise)
{
    HWND hwnd = Create();
    EXPECT_EQ(nullptr, GetForegroundWindow());
    ShowWindow(hwnd, SW_SHOW);
    EXPECT_EQ(hwnd, GetForegroundWindow());
    std::vector<UINT> expected = {WM_ACTIVATE, WM_SETFOCUS};
    EXPECT_EQ(expected, MessagesAmong({WM_ACTIVATE, WM_SETFOCUS}));
    PlatformTest::SetKeyboardFocus(hwnd, false);
    EXPECT_EQ(nullptr, GetForegroundWindow());
}

}  // namespace
