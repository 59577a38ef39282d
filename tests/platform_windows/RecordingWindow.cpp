#include "RecordingWindow.h"

#include <map>

namespace {

std::map<UINT, LRESULT>& Answers()
{
    static std::map<UINT, LRESULT> answers;
    return answers;
}

POINT held = {0, 0};

}  // namespace

std::vector<Received>& Log()
{
    static std::vector<Received> log;
    return log;
}

std::vector<UINT> Messages()
{
    std::vector<UINT> messages;
    for (const Received& r : Log()) messages.push_back(r.message);
    return messages;
}

std::vector<UINT> MessagesAmong(const std::vector<UINT>& wanted)
{
    std::vector<UINT> messages;
    for (const Received& r : Log())
        for (UINT w : wanted)
            if (r.message == w) messages.push_back(r.message);
    return messages;
}

void Answer(UINT message, LRESULT result) { Answers()[message] = result; }

void HoldSize(LONG width, LONG height) { held = {width, height}; }

LRESULT CALLBACK RecordingProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    Log().push_back({hwnd, message, wParam, lParam});
    if (message == WM_GETMINMAXINFO && held.x > 0) {
        auto* info = reinterpret_cast<MINMAXINFO*>(lParam);
        info->ptMinTrackSize = held;
        info->ptMaxTrackSize = held;
        return 0;
    }
    auto it = Answers().find(message);
    if (it != Answers().end()) return it->second;
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

const char* const WindowTest::kClass = "RecordingClass";

void WindowTest::SetUp()
{
    PlatformTest::SetHeadless(true);
    PlatformTest::Reset();
    Log().clear();
    Answers().clear();
    held = {0, 0};
}

void WindowTest::TearDown()
{
    for (HWND hwnd : created)
        if (IsWindow(hwnd)) DestroyWindow(hwnd);
    MSG msg;
    while (PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE)) {
    }
}

HWND WindowTest::Create(int width, int height, DWORD style, UINT classStyle)
{
    WNDCLASSA wc = {};
    wc.style = classStyle;
    wc.lpfnWndProc = RecordingProc;
    wc.cbWndExtra = 4;
    wc.hInstance = GetModuleHandleA(NULL);
    wc.hbrBackground = (HBRUSH)GetStockObject(WHITE_BRUSH);
    wc.lpszClassName = kClass;
    UnregisterClassA(kClass, wc.hInstance);
    EXPECT_NE(0, RegisterClassA(&wc));
    HWND hwnd = CreateWindowExA(0, kClass, "Recording", style, 10, 20, width, height, NULL, NULL, wc.hInstance, NULL);
    EXPECT_NE(nullptr, hwnd);
    created.push_back(hwnd);
    return hwnd;
}
