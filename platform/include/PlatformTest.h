// Test controls of the Linux layer: used only by tests and tools, never by
// the program. They steer what the real system would decide (display,
// failures, key states) so that behaviour can be checked without a person.
#ifndef VORBLOX_PLATFORM_TEST_H
#define VORBLOX_PLATFORM_TEST_H

#include <windows.h>

#include <functional>

namespace PlatformTest {

// Runs without a display: SDL's dummy video driver, no real window on
// screen. Call before the first window or DirectX call.
void SetHeadless(bool headless);
bool IsHeadless();

// The desktop's pixel format: 16 (RGB565), 24 or 32 bits. Off-screen
// surfaces are made in this format. Default 32. Changing it while the
// program runs is a change of display mode: every DirectDraw surface that
// exists is lost, and its Restore answers DDERR_WRONGMODE from then on (even
// after a change back); only surfaces made anew work again.
void SetDesktopBits(int bits);
int DesktopBits();

// Makes the named call fail with `code` (a Win32 error for the Win32 calls,
// an HRESULT for the COM ones) for its next `times` calls, -1 for ever,
// after letting `skip` calls through. Names are those of the API, with
// interface methods as "Interface::Method", e.g. "RegisterClassA",
// "DirectDrawCreate", "IDirectDrawSurface::Blt".
void FailCall(const char* call, DWORD code, int times = -1, int skip = 0);
// How many times the named call was made since the last Reset.
int CallCount(const char* call);
// Runs `hook` each time the named call is made, before the call does
// anything, until Reset: a test follows the program through the calls it
// makes (a game tick reads the keyboard once).
void WhenCalled(const char* call, std::function<void()> hook);

// Back to the defaults: no failures, nothing captured, 32-bit desktop,
// and whatever else the other control headers reset. Windows and DirectX
// objects that still exist are left alone.
void Reset();

}  // namespace PlatformTest

#include "PlatformTestWindows.h"
#include "PlatformTestDirectX.h"

#endif
