// A window class whose procedure writes down every message it receives,
// for checking what the layer sends and in which order.
#ifndef VORBLOX_TESTS_RECORDING_WINDOW_H
#define VORBLOX_TESTS_RECORDING_WINDOW_H

#include <PlatformTest.h>
#include <windows.h>

#include <gtest/gtest.h>

#include <vector>

using Order = std::vector<UINT>;

// Messages received since the test began or the log was cleared, in order.
std::vector<MSG>& Log();
// The logged messages among the given ones (all of them when none are given).
Order Messages(const Order& among = {});
// What the procedure answers to a message instead of DefWindowProcA.
void Answer(UINT message, LRESULT result);
// Track sizes the procedure puts into WM_GETMINMAXINFO (0: leave them).
void HoldSize(LONG width, LONG height);

// Every test starts headless from the layer's defaults.
class WindowTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    // A recording window of the given outer size at (10, 20), hidden unless
    // the style says otherwise.
    HWND Create(int width = 308, int height = 427, UINT classStyle = 0, DWORD style = WS_OVERLAPPEDWINDOW);
    // The same, shown and painted.
    HWND Shown(UINT classStyle = 0);
    // Everything waiting, taken off the queue and dispatched.
    std::vector<MSG> Drain();
    std::vector<HWND> created;
};

#endif
