// Test controls for DirectDraw and DirectInput.
#ifndef VORBLOX_PLATFORM_TEST_DIRECTX_H
#define VORBLOX_PLATFORM_TEST_DIRECTX_H

#include <windows.h>

namespace PlatformTest {

// ---- keyboard
// Holds the key with DirectInput code `dik` down or up, whatever the real
// keyboard says, until Reset.
void SetKeyDown(BYTE dik, bool down);
// Every key up, whatever the real keyboard says, until Reset or SetKeyDown.
void ReleaseAllKeys();

// ---- game controllers
// Headless runs read no game controllers (so that a pad on the machine
// cannot steer a replay) unless this turns them on, for SDL's virtual
// joysticks. Call before the first keyboard read. Reset turns it off.
void UseGamepads(bool use);
// SDL's controller support starts when a joystick's node (js0...) is in
// /dev/input at the first keyboard read, or later when any node comes there.
// This watches the test's own folder instead. Call before the first keyboard
// read; Reset puts /dev/input back.
void WatchJoystickFolder(LPCSTR folder);

// ---- surfaces
// Takes the memory of every DirectDraw surface that exists now, as a display
// change or another program going full screen would: blits, locks and DCs
// answer DDERR_SURFACELOST until the surface's Restore succeeds. The
// restored memory holds a fill pattern, not the old pixels. Make Restore
// fail with FailCall("IDirectDrawSurface::Restore", code).
void LoseAllSurfaces();
// The same loss, met by a blit: after `blits` more calls of
// IDirectDrawSurface::Blt go through, the next one finds every surface lost.
// Reset forgets it.
void LoseAllSurfacesAtBlit(int blits);
// How many DirectDraw surfaces exist (for leak checks).
int LiveSurfaceCount();

// ---- modules
// Makes LoadLibraryA of the built-in module (e.g. "DINPUT.DLL") fail with
// ERROR_MOD_NOT_FOUND, as on a system without it.
void HideModule(LPCSTR module, bool hidden = true);
// Makes GetProcAddress of `procedure` in the built-in module fail with
// ERROR_PROC_NOT_FOUND, as with an older version of it.
void HideProcedure(LPCSTR module, LPCSTR procedure, bool hidden = true);
// How many LoadLibraryA references of the built-in module are not freed.
int ModuleLoadCount(LPCSTR module);

}  // namespace PlatformTest

#endif
