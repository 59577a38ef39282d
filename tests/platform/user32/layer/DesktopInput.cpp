// What the desktop does to a window, through the test controls: keys and the
// mouse as window messages, the close button, a drag of the frame.
#include "user32/RecordingWindow.h"

#include <PlatformTest.h>

namespace {

using DesktopInput = RecordingWindowTest;

TEST_F(DesktopInput, KeysArriveWithTheirPackedArguments)
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

TEST_F(DesktopInput, AKeyEndsTheWaitForMessages)
{
    HWND hwnd = Shown();
    Drain();
    PlatformTest::DesktopKey(hwnd, 0x01, false, true);
    EXPECT_EQ((DWORD)WAIT_OBJECT_0, MsgWaitForMultipleObjects(0, NULL, FALSE, 60000, QS_ALLINPUT));
    EXPECT_EQ((UINT)WM_KEYDOWN, Drain().at(0).message);
}

TEST_F(DesktopInput, MouseArrivesInClientCoordinates)
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

TEST_F(DesktopInput, TheCloseButtonPostsCloseWhichTheDefaultDestroys)
{
    HWND hwnd = Shown();
    PlatformTest::DesktopClose(hwnd);
    EXPECT_EQ((UINT)WM_CLOSE, Drain().at(0).message);
    EXPECT_FALSE(IsWindow(hwnd));
    EXPECT_EQ((Order{WM_CLOSE, WM_DESTROY, WM_NCDESTROY}), Messages({WM_CLOSE, WM_DESTROY, WM_NCDESTROY}));
}

TEST_F(DesktopInput, MinMaxInfoHoldsTheFrameAgainstADrag)
{
    for (bool hold : {true, false}) {
        held = hold ? POINT{308, 427} : POINT{0, 0};
        HWND hwnd = Shown();
        PlatformTest::ResizeFromDesktop(hwnd, 320, 240);
        Drain();
        RECT client;
        GetClientRect(hwnd, &client);
        std::vector<uint32_t> pixels;
        int width = 0, height = 0;
        ASSERT_TRUE(PlatformTest::ReadClientPixels(hwnd, &pixels, &width, &height));
        // Held, the program keeps its size; the desktop's stands all the
        // same, and shows the picture fitted into it (ScreenFit.cpp).
        const LONG w = hold ? 300 : 320, h = hold ? 400 : 240;
        EXPECT_EQ((std::vector<LONG>{w, h, 320, 240}), (std::vector<LONG>{client.right, client.bottom, width, height}))
            << hold;
        DestroyWindow(hwnd);
    }
}

}  // namespace
