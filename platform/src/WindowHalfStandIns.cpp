// Weak stand-ins for what the window and GDI half provides (no windows, no
// DCs), so the DirectX half links and runs on its own; the real definitions
// replace them wherever that half is linked in.
#include "Internal.h"

#define VORBLOX_STAND_IN __attribute__((weak))

namespace {
DWORD lastError = 0;
}

namespace plat {
VORBLOX_STAND_IN SDL_Window* SdlWindow(HWND) { return nullptr; }
VORBLOX_STAND_IN bool ClientRectOnScreen(HWND, RECT*) { return false; }
VORBLOX_STAND_IN SDL_Surface* ClientSurface(HWND) { return nullptr; }
VORBLOX_STAND_IN void ShowClientRects(HWND, const SDL_Rect*, int) {}
VORBLOX_STAND_IN bool HasKeyboardFocus(HWND) { return false; }
VORBLOX_STAND_IN HDC CreateSurfaceDC(SDL_Surface*) { return nullptr; }
VORBLOX_STAND_IN void DeleteSurfaceDC(HDC) {}
}  // namespace plat

VORBLOX_STAND_IN DWORD WINAPI GetLastError(void) { return lastError; }
VORBLOX_STAND_IN void WINAPI SetLastError(DWORD error) { lastError = error; }
VORBLOX_STAND_IN HMODULE WINAPI GetModuleHandleA(LPCSTR) { return reinterpret_cast<HMODULE>(&lastError); }
VORBLOX_STAND_IN int WINAPI GetSystemMetrics(int index)
{
    SDL_DisplayMode mode;
    if (SDL_GetDesktopDisplayMode(0, &mode) != 0) return 0;
    return index == SM_CXSCREEN ? mode.w : index == SM_CYSCREEN ? mode.h : 0;
}
