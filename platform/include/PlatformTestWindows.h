// Test controls for the window, message, GDI, resource and kernel calls.
#ifndef VORBLOX_PLATFORM_TEST_WINDOWS_H
#define VORBLOX_PLATFORM_TEST_WINDOWS_H

#include <windows.h>

#include <stdint.h>
#include <string>
#include <vector>

namespace PlatformTest {

// What GetVersionExA reports (default: Windows NT 5.1, build 2600), or
// that it fails (with ERROR_NOT_SUPPORTED) as on a system without a display.
void SetOsVersion(DWORD platformId, DWORD major, DWORD minor, DWORD build);
void SetVersionQueryFails(bool fails);

// Makes an embedded resource look absent: loading it by name fails.
void HideResource(const char* name);

// Message boxes are recorded instead of shown while capturing is on.
struct MessageBoxRecord {
    std::string caption;
    std::string text;
    UINT type;
    HWND owner;
};
void CaptureMessageBoxes(bool capture);
const std::vector<MessageBoxRecord>& MessageBoxes();
void ClearMessageBoxes();

// OutputDebugStringA text is collected instead of written to stderr while
// capturing is on.
void CaptureDebugOutput(bool capture);
std::string DebugOutput();
void ClearDebugOutput();

// Headless mode only: whether the window has the keyboard focus (a shown
// window gets it when it is activated) and the screen size (default: the
// dummy display's own).
void SetKeyboardFocus(HWND hwnd, bool focused);
void SetScreenSize(int width, int height);

// The desktop resizes the window's client area, whatever limits it was
// given (as a user dragging the frame under a careless window manager);
// the layer sees it when it next reads its events. Sizes in the desktop's
// pixels.
void ResizeFromDesktop(HWND hwnd, int clientWidth, int clientHeight);

// Input as the desktop delivers it to a window, seen by the layer when it
// next reads its events. Keys by PC scan code (set 1, with the extended
// flag for the grey keys); mouse positions in client coordinates of the
// desktop's pixels (the display scale times the program's); buttons
// 1 left, 2 middle, 3 right; clicks 2 for the second press of a double click.
bool DesktopKey(HWND hwnd, unsigned scanCode, bool extended, bool down, bool repeat = false);
void DesktopMouseMove(HWND hwnd, int x, int y);
void DesktopMouseButton(HWND hwnd, int button, bool down, int x, int y, int clicks = 1);
void DesktopClose(HWND hwnd);

// ---- the clock
// Waits end only on the clock's interrupt, every `hundredNanoseconds`
// (Windows' unit: 156250 is the stock 15.625 ms), instead of when asked
// (0, the default). Outstanding timeBeginPeriod requests make the interrupt
// as fine as the finest of them, unless `honourRequests` is false (as
// Windows 11 does for a minimised or hidden window).
void SetClockInterrupt(DWORD hundredNanoseconds, bool honourRequests = true);
// While stopped, time stands still: a timed wait moves it to the moment the
// wait ends, AdvanceClock stands for work or a stall. Stopping freezes the
// clock where it is; running again goes on from there.
void StopClock(bool stopped);
void AdvanceClock(ULONGLONG hundredNanoseconds);
// timeBeginPeriod requests not yet ended by timeEndPeriod.
int TimerPeriodRequests();

// The client area's pixels as the window shows them, in the desktop's
// pixels, as 0x00RRGGBB, row by row from the top. On X11 a frame still
// waiting for the server (see HoldDisplayServer) is sent first.
bool ReadClientPixels(HWND hwnd, std::vector<uint32_t>* pixels, int* width, int* height);

// The display scale (1 to 4) as if given on the command line; 0: the
// desktop's (always 1 in headless mode). Takes effect for windows made
// afterwards.
void SetDisplayScale(int scale);

// On X11: the X server reads nothing the layer sends, as a server too busy
// to keep up. Frames then wait, each replacing the last, until it is let go.
void HoldDisplayServer(bool hold);

}  // namespace PlatformTest

#endif
