// A window class whose procedure writes down every message it receives,
// for checking what the layer sends and in which order.
#ifndef VORBLOX_TESTS_RECORDING_WINDOW_H
#define VORBLOX_TESTS_RECORDING_WINDOW_H

#include <PlatformTest.h>
#include <windows.h>

#include <gtest/gtest.h>

#include <vector>

struct Received {
    HWND hwnd;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};

// Messages received since the last Clear, in order.
std::vector<Received>& Log();
std::vector<UINT> Messages();
// The same, restricted to the given messages.
std::vector<UINT> MessagesAmong(const std::vector<UINT>& wanted);

// What the procedure answers, per message, instead of DefWindowProcA.
void Answer(UINT message, LRESULT result);
// Track sizes the procedure puts into WM_GETMINMAXINFO (0: leave).
void HoldSize(LONG width, LONG height);

LRESULT CALLBACK RecordingProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

// Every test starts headless from defaults, with a registered class.
class WindowTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    // An overlapped window of the given outer size, not yet shown.
    HWND Create(int width = 308, int height = 426, DWORD style = WS_OVERLAPPEDWINDOW, UINT classStyle = 0);
    static const char* const kClass;
    std::vector<HWND> created;
};

#endif
