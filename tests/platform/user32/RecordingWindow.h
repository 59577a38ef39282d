// A window class whose procedure writes down every message it receives, for
// checking what arrives in which order. The Windows API alone: Windows and
// Wine send more messages than the layer (activation, the non-client area,
// the input method), so checks pick out the messages they are about.
#ifndef VORBLOX_TESTS_RECORDING_WINDOW_H
#define VORBLOX_TESTS_RECORDING_WINDOW_H

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

using Order = std::vector<UINT>;

class RecordingWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        log.clear();
        skipErase = false;
        held = {0, 0};
    }
    void TearDown() override
    {
        for (HWND hwnd : created)
            if (IsWindow(hwnd)) DestroyWindow(hwnd);
        Drain();
    }
    // A hidden recording window of the given outer size at (10, 20).
    HWND Create(int width = 308, int height = 427, UINT classStyle = 0)
    {
        HINSTANCE module = GetModuleHandleA(NULL);
        WNDCLASSA wc = {classStyle, Record, 0, sizeof(LONG_PTR), module, NULL, NULL,
                        (HBRUSH)GetStockObject(WHITE_BRUSH), NULL, "Recording"};
        UnregisterClassA(wc.lpszClassName, module);  // a class style of its own for each window
        RegisterClassA(&wc);
        created.push_back(CreateWindowExA(0, "Recording", "", WS_OVERLAPPEDWINDOW, 10, 20, width, height,
                                          NULL, NULL, module, NULL));
        return created.back();
    }
    // The same, shown and painted.
    HWND Shown(UINT classStyle = 0)
    {
        HWND hwnd = Create(308, 427, classStyle);
        ShowWindow(hwnd, SW_SHOW);
        UpdateWindow(hwnd);
        return hwnd;
    }
    // Everything waiting, taken off the queue and dispatched.
    std::vector<MSG> Drain()
    {
        std::vector<MSG> taken;
        for (MSG msg; PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE); DispatchMessageA(&msg)) taken.push_back(msg);
        return taken;
    }
    // The logged messages among the given ones (all of them when none are given).
    static Order Messages(const Order& among = {})
    {
        Order messages;
        for (const MSG& m : log)
            if (among.empty() || std::count(among.begin(), among.end(), m.message)) messages.push_back(m.message);
        return messages;
    }
    // Messages received since the test began or the log was cleared, in order.
    static inline std::vector<MSG> log;
    // Answer WM_ERASEBKGND with 1 without erasing.
    static inline bool skipErase = false;
    // Track sizes put into WM_GETMINMAXINFO (0: leave them).
    static inline POINT held = {0, 0};
    std::vector<HWND> created;

private:
    static LRESULT CALLBACK Record(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
    {
        log.push_back(MSG{hwnd, message, wParam, lParam, 0, {0, 0}});
        if (message == WM_GETMINMAXINFO && held.x > 0) {
            auto* info = reinterpret_cast<MINMAXINFO*>(lParam);
            info->ptMinTrackSize = info->ptMaxTrackSize = held;
            return 0;
        }
        if (message == WM_ERASEBKGND && skipErase) return 1;
        return DefWindowProcA(hwnd, message, wParam, lParam);
    }
};

#endif
