// What DirectDraw, DirectInput and the programs need of a window beyond
// the Win32 calls. SDL types stay inside platform/.
#ifndef VORBLOX_PLATFORM_WINDOW_ACCESS_H
#define VORBLOX_PLATFORM_WINDOW_ACCESS_H

#include <SDL.h>
#include <windows.h>

namespace plat {

class TileMarks;

// The SDL window behind a window handle; null for a destroyed or unknown one.
SDL_Window* SdlWindow(HWND hwnd);
// The client area in screen coordinates (what ClientToScreen and
// GetClientRect agree on). False for a destroyed or unknown window.
bool ClientRectOnScreen(HWND hwnd, RECT* rect);
// The client area's pixels in the program's size (the window presenter's
// picture), made anew after a resize. Null when the window is gone.
SDL_Surface* ClientSurface(HWND hwnd);
// Puts the given client-area rectangles of ClientSurface on screen.
void ShowClientRects(HWND hwnd, const SDL_Rect* rects, int count);
// Copies `from` of `source`, a surface's frame, to x, y of ClientSurface
// and shows what that changed; the rectangle must lie inside both. `drawn`
// marks what was drawn on the source since the copy numbered `*taken` took
// it, and `*taken` is set to this copy's number (Presenter::CopyFrame).
// False, having done nothing, when the source's format is not the client
// area's.
bool CopyToClient(HWND hwnd, SDL_Surface* source, const TileMarks& drawn, unsigned long* taken, const SDL_Rect& from,
                  int x, int y);
// True while the window has the keyboard focus (a test control decides in
// headless mode).
bool HasKeyboardFocus(HWND hwnd);

}  // namespace plat

#endif
