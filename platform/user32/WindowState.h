// The window half's own bookkeeping: registered classes, live windows and
// the frame we pretend to draw around each SDL window. Shared by the files
// that implement the window, message and painting calls.
#ifndef VORBLOX_PLATFORM_WINDOW_STATE_H
#define VORBLOX_PLATFORM_WINDOW_STATE_H

#include <SDL.h>
#include "SizeLimits.h"
#include <windows.h>

#include <string>
#include <vector>

namespace plat {

class Presenter;

// The frame is virtual: SDL (or the desktop's window manager) draws the real
// one, but the program sizes its window from these metrics, so outer and
// client sizes must agree with them exactly.
constexpr int kFrameWidth = 4;     // SM_CXFRAME
constexpr int kFrameHeight = 4;    // SM_CYFRAME
constexpr int kCaptionHeight = 19; // SM_CYCAPTION
constexpr int kClientLeft = kFrameWidth;
constexpr int kClientTop = kFrameHeight + kCaptionHeight;  // as Windows: the caption includes its border line
constexpr int kExtraWidth = 2 * kFrameWidth;
constexpr int kExtraHeight = kCaptionHeight + 2 * kFrameHeight;

struct WindowClass {
    std::string name;
    WNDCLASSA wc;
};

struct Window {
    HWND hwnd = nullptr;
    const WindowClass* cls = nullptr;
    WNDPROC proc = nullptr;
    DWORD style = 0;
    DWORD exStyle = 0;
    HWND parent = nullptr;
    HINSTANCE instance = nullptr;
    HMENU menu = nullptr;
    LONG_PTR userData = 0;
    std::vector<unsigned char> extra;
    SDL_Window* sdl = nullptr;
    // Holds the client area's pixels and puts them on the screen.
    Presenter* presenter = nullptr;
    bool alive = true;
    bool destroying = false;
    bool visible = false;
    bool minimized = false;
    bool hasFocus = false;
    // Update region, kept as its bounding rectangle.
    bool invalid = false;
    bool erasePending = false;
    RECT update = {0, 0, 0, 0};
    // In the program's pixels (see DisplayScale.h).
    int clientWidth = 0;
    int clientHeight = 0;
    // Outer track sizes from the last WM_GETMINMAXINFO.
    POINT minTrack = {0, 0};
    POINT maxTrack = {0, 0};
    // The limits last told the desktop, in SDL's units.
    SizeLimits told;
};

// The live window behind a handle, or null (unknown or destroyed).
Window* LookupWindow(HWND hwnd);
// The window a Win32 call names, or null with the last error set: the call
// was made to fail, there is no such window, or (with `answer` null) there
// is nowhere to put the answer.
Window* WindowForCall(const char* call, HWND hwnd);
Window* WindowForCall(const char* call, HWND hwnd, const void* answer);
Window* WindowFromSdl(Uint32 windowId);
// Live windows in creation order.
std::vector<Window*> LiveWindows();
// The same without a copy, for a look that calls no window procedure (one
// could make or destroy windows under it).
const std::vector<Window*>& LiveWindowsNow();

LRESULT CallProc(Window* w, UINT message, WPARAM wParam, LPARAM lParam);

// A DC on the window's client area, and the update region's bookkeeping
// (Painting.cpp).
HDC ClientDC(HWND hwnd);
void InvalidateWindow(Window* w, const RECT* rect, bool erase);
void ValidateWindow(Window* w);
bool NeedsPaint(const Window* w);
// Sends WM_ERASEBKGND now when an erase is pending; true when the window
// procedure reports the background erased.
void EraseNow(Window* w);

// Asks the window procedure for its size limits and hands them to SDL.
void ApplyMinMax(Window* w);
// The outer rectangle of a window on the screen.
RECT OuterRect(const Window* w);
// Window positions and sizes in the program's coordinates: the desktop's
// divided by the display scale.
void ClientOrigin(const Window* w, int* x, int* y);
// The client size the desktop gave, within the program's limits.
void ReadClientSize(Window* w);
// Asks the desktop for the program's client size.
void RequestClientSize(Window* w);
// Where a window about to open goes, in SDL's units. For a top-level one
// the scale is fitted to the screen first (FitScale, the first time), and
// all of the window is put on the screen.
void PlaceOnScreen(int clientW, int clientH, int x, int y, bool topLevel, int* sdlX, int* sdlY);

// Turns waiting SDL events into queued messages (MessageQueue.cpp).
void PumpSdlEvents();
void PostToQueue(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
void DropMessagesFor(HWND hwnd);

// Sets the SDL window's icon from the class icon (Icons.cpp).
void ApplyWindowIcon(Window* w);

}  // namespace plat

#endif
