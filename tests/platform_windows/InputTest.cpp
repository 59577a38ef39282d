// Desktop input as window messages: keys with their lParam fields and the
// mouse with client coordinates.
#include "RecordingWindow.h"

namespace {

using Input = WindowTest;

TEST_F(Input, KeysArriveWithTheirPackedArguments)
{
    HWND hwnd = Shown();
    struct Case {
        unsigned scan;
        bool extended;
        WPARAM vk;
    };
    const Case cases[] = {{0x01, false, VK_ESCAPE}, {0x3B, false, VK_F1},     {0x4B, true, VK_LEFT},
                          {0x4D, true, VK_RIGHT},   {0x48, true, VK_UP},      {0x50, true, VK_DOWN},
                          {0x2A, false, VK_SHIFT},  {0x1D, true, VK_CONTROL}, {0x1E, false, 'A'},
                          {0x39, false, VK_SPACE}};
    for (const Case& c : cases) {
        PlatformTest::DesktopKey(hwnd, c.scan, c.extended, true);
        PlatformTest::DesktopKey(hwnd, c.scan, c.extended, false);
        std::vector<MSG> got = Drain();
        ASSERT_EQ(2u, got.size()) << std::hex << c.scan;
        for (int up = 0; up < 2; ++up) {
            // Repeat count 1, scan code, extended bit, previous state and transition.
            LPARAM packed = 1 | c.scan << 16 | (LPARAM)c.extended << 24 | (LPARAM)(up ? 3u : 0u) << 30;
            EXPECT_EQ((std::vector<LPARAM>{(LPARAM)hwnd, up ? WM_KEYUP : WM_KEYDOWN, (LPARAM)c.vk, packed}),
                      (std::vector<LPARAM>{(LPARAM)got[up].hwnd, got[up].message, (LPARAM)got[up].wParam,
                                           got[up].lParam & 0xFFFFFFFF}))
                << std::hex << c.scan;
        }
    }
    // A held key repeats with the previous state set and no transition.
    PlatformTest::DesktopKey(hwnd, 0x4B, true, true);
    PlatformTest::DesktopKey(hwnd, 0x4B, true, true, true);
    std::vector<MSG> got = Drain();
    ASSERT_EQ(2u, got.size());
    EXPECT_EQ(0, (got[0].lParam >> 30) & 3);
    EXPECT_EQ(1, (got[1].lParam >> 30) & 3);
}

TEST_F(Input, MouseArrivesInClientCoordinates)
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

TEST_F(Input, DoubleClickNeedsTheClassStyle)
{
    for (UINT style : {0u, (UINT)CS_DBLCLKS}) {
        HWND hwnd = Shown(style);
        PlatformTest::DesktopMouseButton(hwnd, 1, true, 1, 1, 2);
        Drain();
        EXPECT_EQ(Order{style ? (UINT)WM_LBUTTONDBLCLK : (UINT)WM_LBUTTONDOWN}, Messages({WM_LBUTTONDOWN, WM_LBUTTONDBLCLK}));
        Log().clear();
        DestroyWindow(hwnd);
    }
}

}  // namespace
