// Update regions, the paint cycle and the default window procedure.
#include "Core.h"
#include "GdiObjects.h"
#include "WindowAccess.h"
#include "WindowState.h"

#include <algorithm>
#include <cstring>

namespace plat {
namespace {

void ShowClient(HWND hwnd) { ShowClientRects(hwnd, nullptr, 0); }

const WindowPixels clientPixels = {ClientSurface, ShowClient};

}  // namespace

HDC ClientDC(HWND hwnd) { return NewWindowDC(hwnd, &clientPixels); }

void InvalidateWindow(Window* w, const RECT* rect, bool erase)
{
    RECT client = {0, 0, w->clientWidth, w->clientHeight};
    RECT r = rect ? *rect : client;
    r.left = std::max(r.left, client.left);
    r.top = std::max(r.top, client.top);
    r.right = std::min(r.right, client.right);
    r.bottom = std::min(r.bottom, client.bottom);
    if (r.right <= r.left || r.bottom <= r.top) return;
    if (w->invalid) {
        w->update.left = std::min(w->update.left, r.left);
        w->update.top = std::min(w->update.top, r.top);
        w->update.right = std::max(w->update.right, r.right);
        w->update.bottom = std::max(w->update.bottom, r.bottom);
    } else {
        w->update = r;
        w->invalid = true;
    }
    w->erasePending = w->erasePending || erase;
}

void ValidateWindow(Window* w)
{
    w->invalid = false;
    w->update = {0, 0, 0, 0};
}

bool NeedsPaint(const Window* w) { return w->alive && w->visible && !w->minimized && w->invalid; }

void EraseNow(Window* w)
{
    if (!w->erasePending || !w->invalid) return;
    HDC dc = ClientDC(w->hwnd);
    w->erasePending = CallProc(w, WM_ERASEBKGND, (WPARAM)dc, 0) == 0;
    RemoveGdi(dc);
}

}  // namespace plat

using plat::Window;

BOOL WINAPI InvalidateRect(HWND hwnd, const RECT* rect, BOOL erase)
{
    DWORD code = 0;
    if (plat::FailWin32("InvalidateRect", &code)) return FALSE;
    if (!hwnd) {
        for (Window* w : plat::LiveWindows()) plat::InvalidateWindow(w, nullptr, erase != FALSE);
        return TRUE;
    }
    Window* w = plat::LookupWindow(hwnd);
    if (!w) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    plat::InvalidateWindow(w, rect, erase != FALSE);
    return TRUE;
}

BOOL WINAPI UpdateWindow(HWND hwnd)
{
    Window* w = plat::WindowForCall("UpdateWindow", hwnd);
    if (!w) return FALSE;
    if (plat::NeedsPaint(w)) plat::CallProc(w, WM_PAINT, 0, 0);
    return TRUE;
}

HDC WINAPI BeginPaint(HWND hwnd, LPPAINTSTRUCT paint)
{
    Window* w = plat::WindowForCall("BeginPaint", hwnd, paint);
    if (!w) return nullptr;
    std::memset(paint, 0, sizeof *paint);
    HDC dc = plat::ClientDC(hwnd);
    paint->hdc = dc;
    paint->rcPaint = w->update;
    bool erase = w->erasePending && w->invalid;
    // The update region is validated here; what the painting invalidates
    // anew survives EndPaint, as in Windows.
    plat::ValidateWindow(w);
    w->erasePending = false;
    paint->fErase = FALSE;
    if (erase) paint->fErase = plat::CallProc(w, WM_ERASEBKGND, (WPARAM)dc, 0) == 0;
    return dc;
}

BOOL WINAPI EndPaint(HWND hwnd, const PAINTSTRUCT* paint)
{
    DWORD code = 0;
    if (plat::FailWin32("EndPaint", &code)) return FALSE;
    if (!paint) return FALSE;
    plat::GdiObject* dc = plat::LookupGdi(paint->hdc, plat::GdiKind::Dc);
    if (!dc || dc->dcKind != plat::DcKind::Window || dc->hwnd != hwnd) return FALSE;
    plat::RemoveGdi(paint->hdc);
    return TRUE;
}

LRESULT WINAPI DefWindowProcA(HWND hwnd, UINT message, WPARAM wParam, LPARAM)
{
    // Counted so that tests can see which messages took the default path;
    // the default processing itself has no failure to inject.
    DWORD unused;
    (void)plat::Injected("DefWindowProcA", &unused);
    Window* w = plat::LookupWindow(hwnd);
    if (!w) return 0;
    switch (message) {
    case WM_NCCREATE: return TRUE;
    case WM_CLOSE: DestroyWindow(hwnd); return 0;
    case WM_ERASEBKGND: {
        HBRUSH brush = w->cls->wc.hbrBackground;
        if (!brush || !plat::LookupGdi(brush, plat::GdiKind::Brush)) return 0;
        RECT client = {0, 0, w->clientWidth, w->clientHeight};
        return FillRect((HDC)wParam, &client, brush) ? 1 : 0;
    }
    case WM_PAINT: {
        PAINTSTRUCT paint;
        BeginPaint(hwnd, &paint);
        EndPaint(hwnd, &paint);
        return 0;
    }
    case WM_SETCURSOR: return FALSE;
    default: return 0;
    }
}
