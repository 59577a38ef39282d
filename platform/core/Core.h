// Shared plumbing of the layer: SDL start-up, headless mode, the desktop
// pixel format and injected failures. Everything here lives in storage that
// is never destroyed, because the program still makes calls from static
// destructors after main returns.
#ifndef VORBLOX_PLATFORM_CORE_H
#define VORBLOX_PLATFORM_CORE_H

#include <SDL.h>
#include <windows.h>

#include <string>

namespace plat {

// Starts SDL's video and events once. False, with SDL's reason, when there
// is no usable display.
bool VideoReady(std::string* reason = nullptr);

bool Headless();

// The desktop's pixel format (SDL_PIXELFORMAT_RGB565, BGR24 or RGB888) and
// its bit count.
Uint32 DesktopFormat();
int DesktopBits();
// How many times the desktop's depth has changed; surfaces made before a
// change belong to a mode that is gone. Every blit asks, twice.
extern unsigned desktopChangeCount;
inline unsigned DesktopChanges() { return desktopChangeCount; }
// A new depth for the running desktop (16, 24 or 32; others are ignored).
void ChangeDesktopBits(int bits);

// True when a test asked this call to fail now; *code is then the code.
// `call` must be a string literal: the call is remembered by its address.
// Every call counts the call, so tests can see what was called.
bool Injected(const char* call, DWORD* code);

// SDL_PumpEvents, skipped when the last one was less than half a millisecond
// ago (SdlEvents.cpp).
void ReadSdlInput();

// The same for a Win32 call: when it is to fail, the last error is set to
// the code and the call returns its failure value.
bool FailWin32(const char* call, DWORD* code);

// Hooks run by PlatformTest::Reset, so each part clears its own controls.
void AddResetHook(void (*hook)());
// Hooks run by VideoReady just before SDL's video starts (false) and once
// it has started (true): the parts above choose SDL's driver and put their
// handlers in place (a display lost while SDL starts ends the game as one
// lost later).
void AddVideoStartHook(void (*hook)(bool started));

}  // namespace plat

#endif
