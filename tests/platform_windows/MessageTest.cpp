// The message queue: the order things come out of it, the quit path,
// waiting, and desktop input as window messages.
#include "RecordingWindow.h"

namespace {

using Messaging = WindowTest;

TEST_F(Messaging, PostedMessagesComeFirstThenQuitWithItsCodeThenPaint)
{
    HWND hwnd = Create();
    ShowWindow(hwnd, SW_SHOW);
    PostQuitMessage(7);
    PostMessageA(hwnd, WM_USER, 11, 22);
    MSG msg;
    ASSERT_TRUE(PeekMessageA(&msg, NULL, 0, 0, PM_NOREMOVE));  // looked at, left in place
    ASSERT_TRUE(GetMessageA(&msg, NULL, 0, 0));
    EXPECT_EQ((std::vector<LPARAM>{(LPARAM)hwnd, WM_USER, 11, 22}),
              (std::vector<LPARAM>{(LPARAM)msg.hwnd, msg.message, (LPARAM)msg.wParam, msg.lParam}));
    log.clear();
    DispatchMessageA(&msg);
    EXPECT_EQ(Order{WM_USER}, Messages());
    EXPECT_EQ(0, GetMessageA(&msg, NULL, 0, 0));
    EXPECT_EQ((std::vector<WPARAM>{WM_QUIT, 7}), (std::vector<WPARAM>{msg.message, msg.wParam}));
    ASSERT_TRUE(GetMessageA(&msg, NULL, 0, 0));
    EXPECT_EQ((UINT)WM_PAINT, msg.message);
    DispatchMessageA(&msg);  // the default paint validates
    EXPECT_FALSE(PeekMessageA(&msg, NULL, 0, 0, PM_NOREMOVE));
}

TEST_F(Messaging, WaitReturnsAtOnceForAnythingWaiting)
{
    // A posted message, a paint, the quit message, a key from the desktop.
    for (int waiting = 0; waiting < 4; ++waiting) {
        HWND hwnd = waiting == 3 ? Shown() : Create();
        if (waiting == 0) PostMessageA(hwnd, WM_USER, 0, 0);
        if (waiting == 1) ShowWindow(hwnd, SW_SHOW);
        if (waiting == 2) PostQuitMessage(0);
        if (waiting == 3) PlatformTest::DesktopKey(hwnd, 0x01, false, true);
        EXPECT_EQ((DWORD)WAIT_OBJECT_0, MsgWaitForMultipleObjects(0, NULL, FALSE, 60000, QS_ALLINPUT)) << waiting;
        EXPECT_TRUE(WaitMessage()) << waiting;
        DestroyWindow(hwnd);
        Drain();
    }
}

TEST_F(Messaging, KeysArriveWithTheirPackedArguments)
{
    HWND hwnd = Shown();
    const std::tuple<unsigned, bool, WPARAM> cases[] = {
        {0x01, false, VK_ESCAPE}, {0x3B, false, VK_F1},    {0x4B, true, VK_LEFT}, {0x50, true, VK_DOWN},
        {0x2A, false, VK_SHIFT},  {0x1D, true, VK_CONTROL}, {0x1E, false, 'A'},    {0x39, false, VK_SPACE}};
    for (const auto& [scan, extended, vk] : cases) {
        PlatformTest::DesktopKey(hwnd, scan, extended, true);
        PlatformTest::DesktopKey(hwnd, scan, extended, false);
        std::vector<MSG> got = Drain();
        ASSERT_EQ(2u, got.size()) << std::hex << scan;
        for (int up = 0; up < 2; ++up) {
            // Repeat count 1, scan code, extended bit, previous state and transition.
            LPARAM packed = 1 | scan << 16 | (LPARAM)extended << 24 | (LPARAM)(up ? 3u : 0u) << 30;
            EXPECT_EQ((std::vector<LPARAM>{(LPARAM)hwnd, up ? WM_KEYUP : WM_KEYDOWN, (LPARAM)vk, packed}),
                      (std::vector<LPARAM>{(LPARAM)got[up].hwnd, got[up].message, (LPARAM)got[up].wParam,
                                           got[up].lParam & 0xFFFFFFFF}))
                << std::hex << scan;
        }
    }
    // A held key repeats with the previous state set and no transition.
    PlatformTest::DesktopKey(hwnd, 0x4B, true, true);
    PlatformTest::DesktopKey(hwnd, 0x4B, true, true, true);
    std::vector<LPARAM> previous;
    for (const MSG& m : Drain()) previous.push_back((m.lParam >> 30) & 3);
    EXPECT_EQ((std::vector<LPARAM>{0, 1}), previous);
}

TEST_F(Messaging, MouseArrivesInClientCoordinates)
{
    HWND hwnd = Shown();
    PlatformTest::DesktopMouseMove(hwnd, 123, 345);
    for (int button = 1; button <= 3; ++button) {
        PlatformTest::DesktopMouseButton(hwnd, button, true, 5, 6);
        PlatformTest::DesktopMouseButton(hwnd, button, false, 5, 6);
    }
    const Order expected = {WM_MOUSEMOVE, WM_LBUTTONDOWN, WM_LBUTTONUP, WM_MBUTTONDOWN,
                            WM_MBUTTONUP, WM_RBUTTONDOWN, WM_RBUTTONUP};
    std::vector<MSG> got = Drain();
    ASSERT_EQ(expected.size(), got.size());
    for (size_t i = 0; i < got.size(); ++i) {
        EXPECT_EQ(expected[i], got[i].message);
        EXPECT_EQ(i ? MAKELPARAM(5, 6) : MAKELPARAM(123, 345), got[i].lParam);
    }
}

}  // namespace
