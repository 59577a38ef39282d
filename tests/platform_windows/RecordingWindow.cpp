#include "RecordingWindow.h"

#include <algorithm>
#include <map>

namespace {

std::map<UINT, LRESULT> answers;
POINT held = {0, 0};

LRESULT CALLBACK RecordingProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    Log().push_back(MSG{hwnd, message, wParam, lParam, 0, {0, 0}});
    if (message == WM_GETMINMAXINFO && held.x > 0) {
        auto* info = reinterpret_cast<MINMAXINFO*>(lParam);
        info->ptMinTrackSize = info->ptMaxTrackSize = held;
        return 0;
    }
    auto it = answers.find(message);
    return it != answers.end() ? it->second : DefWindowProcA(hwnd, message, wParam, lParam);
}

}  // namespace

std::vector<MSG>& Log()
{
    static std::vector<MSG> log;
    return log;
}

Order Messages(const Order& among)
{
    Order messages;
    for (const MSG& m : Log())
        if (among.empty() || std::count(among.begin(), among.end(), m.message)) messages.push_back(m.message);
    return messages;
}

void Answer(UINT message, LRESULT result) { answers[message] = result; }

void HoldSize(LONG width, LONG height) { held = {width, height}; }

void WindowTest::SetUp()
{
    PlatformTest::SetHeadless(true);
    PlatformTest::Reset();
    Log().clear();
    answers.clear();
    held = {0, 0};
}

void WindowTest::TearDown()
{
    for (HWND hwnd : created)
        if (IsWindow(hwnd)) DestroyWindow(hwnd);
    Drain();
}

HWND WindowTest::Create(int width, int height, UINT classStyle, DWORD style)
{
    WNDCLASSA wc = {classStyle, RecordingProc, 0, 4, NULL, NULL, NULL, (HBRUSH)GetStockObject(WHITE_BRUSH), NULL,
                    "Recording"};
    UnregisterClassA(wc.lpszClassName, NULL);  // a class style of its own for each window
    RegisterClassA(&wc);
    created.push_back(CreateWindowExA(0, "Recording", "", style, 10, 20, width, height, NULL, NULL, NULL, NULL));
    return created.back();
}

HWND WindowTest::Shown(UINT classStyle)
{
    HWND hwnd = Create(308, 427, classStyle);
    ShowWindow(hwnd, SW_SHOW);
    UpdateWindow(hwnd);
    return hwnd;
}

std::vector<MSG> WindowTest::Drain()
{
    std::vector<MSG> taken;
    for (MSG msg; PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE); DispatchMessageA(&msg)) taken.push_back(msg);
    return taken;
}
