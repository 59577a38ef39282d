// Screen metrics, window and client rectangles.
#include "Backend.h"
#include "Core.h"
#include "DisplayScale.h"
#include "Presenter.h"
#include "WindowAccess.h"
#include "PictureHold.h"
#include "WindowState.h"
#include "WindowsControls.h"

namespace {

void ScreenSize(int* width, int* height)
{
    *width = *height = 0;
    SDL_DisplayMode mode;
    if (plat::Headless() && plat::HeadlessScreenWidth() > 0) {
        mode.w = plat::HeadlessScreenWidth();
        mode.h = plat::HeadlessScreenHeight();
    } else if (!plat::VideoReady() || SDL_GetDesktopDisplayMode(0, &mode) != 0) {
        return;
    }
    // As a program sees it that Windows enlarges for a dense screen.
    *width = plat::PointsToProgram(mode.w);
    *height = plat::PointsToProgram(mode.h);
}

}  // namespace

int WINAPI GetSystemMetrics(int index)
{
    DWORD code = 0;
    if (plat::FailWin32("GetSystemMetrics", &code)) return 0;
    int width = 0, height = 0;
    switch (index) {
    case SM_CXSCREEN: ScreenSize(&width, &height); return width;
    case SM_CYSCREEN: ScreenSize(&width, &height); return height;
    case SM_CXFRAME: return plat::kFrameWidth;
    case SM_CYFRAME: return plat::kFrameHeight;
    case SM_CYCAPTION: return plat::kCaptionHeight;
    default: return 0;
    }
}

// Only framed, captioned windows (the game's WS_OVERLAPPEDWINDOW) have
// a non-client area here; menus are not drawn.
BOOL WINAPI AdjustWindowRect(LPRECT rect, DWORD style, BOOL)
{
    DWORD code = 0;
    if (plat::FailWin32("AdjustWindowRect", &code)) return FALSE;
    if (!rect) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    if (style & (WS_THICKFRAME | WS_CAPTION)) {
        rect->left -= plat::kFrameWidth;
        rect->right += plat::kFrameWidth;
        rect->top -= plat::kClientTop;
        rect->bottom += plat::kFrameHeight;
    }
    return TRUE;
}

BOOL WINAPI ClientToScreen(HWND hwnd, LPPOINT point)
{
    plat::Window* w = plat::WindowForCall("ClientToScreen", hwnd, point);
    if (!w) return FALSE;
    int x = 0, y = 0;
    plat::ClientOrigin(w, &x, &y);
    point->x += x;
    point->y += y;
    return TRUE;
}

BOOL WINAPI GetClientRect(HWND hwnd, LPRECT rect)
{
    plat::Window* w = plat::WindowForCall("GetClientRect", hwnd, rect);
    if (!w) return FALSE;
    *rect = {0, 0, w->clientWidth, w->clientHeight};
    return TRUE;
}

BOOL WINAPI GetWindowRect(HWND hwnd, LPRECT rect)
{
    plat::Window* w = plat::WindowForCall("GetWindowRect", hwnd, rect);
    if (!w) return FALSE;
    *rect = plat::OuterRect(w);
    return TRUE;
}

HWND WINAPI GetForegroundWindow(void)
{
    for (plat::Window* w : plat::LiveWindows())
        if (plat::HasKeyboardFocus(w->hwnd)) return w->hwnd;
    return nullptr;
}

namespace plat {

SDL_Window* SdlWindow(HWND hwnd)
{
    Window* w = LookupWindow(hwnd);
    return w ? w->sdl : nullptr;
}

bool ClientRectOnScreen(HWND hwnd, RECT* rect)
{
    Window* w = LookupWindow(hwnd);
    if (!w || !rect) return false;
    int x = 0, y = 0;
    ClientOrigin(w, &x, &y);
    *rect = {x, y, x + w->clientWidth, y + w->clientHeight};
    return true;
}

SDL_Surface* ClientSurface(HWND hwnd)
{
    Window* w = LookupWindow(hwnd);
    if (!w || !w->presenter) return nullptr;
    return w->presenter->Picture(w->clientWidth, w->clientHeight);
}

namespace {

bool picturesHeld = false;

// Whether a frame drawn now goes on the screen, or waits.
bool Showing(const Window* w) { return w->visible && !w->minimized && !picturesHeld; }

}  // namespace

void HoldPictures(bool held)
{
    if (held == picturesHeld) return;
    picturesHeld = held;
    if (held) return;
    for (Window* w : LiveWindowsNow())
        if (w->presenter) w->presenter->Present(Showing(w));
}

void ShowClientRects(HWND hwnd, const SDL_Rect* rects, int count)
{
    Window* w = LookupWindow(hwnd);
    if (!w || !w->presenter) return;
    SDL_Rect client = {0, 0, w->clientWidth, w->clientHeight}, area = client;
    if (rects && count > 0) {
        area = rects[0];
        for (int i = 1; i < count; ++i) SDL_UnionRect(&area, &rects[i], &area);
        if (!SDL_IntersectRect(&area, &client, &area)) return;
    }
    w->presenter->Changed(area);
    w->presenter->Present(Showing(w));
}

bool CopyToClient(HWND hwnd, SDL_Surface* source, const TileMarks& drawn, unsigned long* taken, const SDL_Rect& from,
                  int x, int y)
{
    Window* w = LookupWindow(hwnd);
    SDL_Surface* picture = ClientSurface(hwnd);
    if (!picture || source->format->format != picture->format->format || SDL_MUSTLOCK(source)) return false;
    w->presenter->CopyFrame(source, drawn, taken, from, x, y);
    w->presenter->Present(Showing(w));
    return true;
}

bool HasKeyboardFocus(HWND hwnd)
{
    Window* w = LookupWindow(hwnd);
    if (!w || !w->visible) return false;
    if (Headless()) return w->hasFocus;
    if (const auto reach = CurrentBackend().KeysReach) return reach(w->sdl);
    // Without a window manager SDL may never learn of a focus change; the
    // activation by ShowWindow then stands until SDL reports a loss.
    SDL_Window* focus = SDL_GetKeyboardFocus();
    return focus == w->sdl || (!focus && w->hasFocus);
}

}  // namespace plat
