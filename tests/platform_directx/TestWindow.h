// A plain top-level window for tests that need one, destroyed with the
// object.
#ifndef VORBLOX_TESTS_TEST_WINDOW_H
#define VORBLOX_TESTS_TEST_WINDOW_H

#include <windows.h>

namespace drawtest {

class TestWindow {
public:
    TestWindow(int x, int y, int width, int height)
    {
        WNDCLASSA wc = {0, DefWindowProcA, 0, 0, nullptr, nullptr, nullptr, nullptr, nullptr, "VorbloxDirectXTest"};
        RegisterClassA(&wc);  // already registered by an earlier test: fine
        hwnd = CreateWindowExA(0, wc.lpszClassName, "DirectX test", WS_OVERLAPPEDWINDOW, x, y, width, height,
                               nullptr, nullptr, nullptr, nullptr);
        ShowWindow(hwnd, SW_SHOW);
    }
    ~TestWindow()
    {
        if (IsWindow(hwnd)) DestroyWindow(hwnd);
    }
    TestWindow(const TestWindow&) = delete;
    TestWindow& operator=(const TestWindow&) = delete;
    POINT ClientOrigin() const
    {
        POINT origin = {0, 0};
        ClientToScreen(hwnd, &origin);
        return origin;
    }
    HWND hwnd = nullptr;
};

}  // namespace drawtest

#endif
