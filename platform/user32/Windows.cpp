// Window creation and destruction, show state and window data.
#include "Core.h"
#include "DisplayScale.h"
#include "FullScreen.h"
#include "Presenter.h"
#include "SizeLimits.h"
#include "WindowClass.h"
#include "WindowState.h"

#include <algorithm>
#include <cstring>
#include <map>

namespace plat {
namespace {

struct WindowTable {
    std::map<HWND, Window*> live;
    std::vector<Window*> order;
    // Destroyed windows stay allocated: a window procedure may destroy its
    // own window while we still hold the record further up the stack.
    std::vector<Window*> dead;
    uintptr_t nextHandle = 0x10010;
};

WindowTable& Table()
{
    static auto* table = new WindowTable;
    return *table;
}

// Default limits as Windows gives them: a little more than the screen.
MINMAXINFO DefaultMinMax()
{
    MINMAXINFO info;
    std::memset(&info, 0, sizeof info);
    int screenW = GetSystemMetrics(SM_CXSCREEN), screenH = GetSystemMetrics(SM_CYSCREEN);
    info.ptMaxSize = {screenW + kExtraWidth, screenH + kExtraHeight};
    info.ptMaxPosition = {-kFrameWidth, -kFrameHeight};
    info.ptMinTrackSize = {112 + kExtraWidth, kExtraHeight + 1};
    info.ptMaxTrackSize = {screenW + kExtraWidth + 12, screenH + kExtraHeight + 12};
    return info;
}

void SendSizeAndMove(Window* w)
{
    if (!w->alive) return;
    int x = 0, y = 0;
    ClientOrigin(w, &x, &y);
    CallProc(w, WM_SIZE, w->minimized ? SIZE_MINIMIZED : SIZE_RESTORED, MAKELPARAM(w->clientWidth, w->clientHeight));
    if (w->alive) CallProc(w, WM_MOVE, 0, MAKELPARAM(x, y));
}

void Activate(Window* w)
{
    if (!w->alive || w->hasFocus) return;
    w->hasFocus = true;
    CallProc(w, WM_ACTIVATE, WA_ACTIVE, 0);
    if (w->alive) CallProc(w, WM_SETFOCUS, 0, 0);
}

void Deactivate(Window* w)
{
    if (!w->alive || !w->hasFocus) return;
    w->hasFocus = false;
    CallProc(w, WM_KILLFOCUS, 0, 0);
    if (w->alive) CallProc(w, WM_ACTIVATE, WA_INACTIVE, 0);
}

}  // namespace

Window* LookupWindow(HWND hwnd)
{
    auto& live = Table().live;
    auto it = live.find(hwnd);
    return it == live.end() ? nullptr : it->second;
}

Window* WindowFromSdl(Uint32 windowId)
{
    for (Window* w : Table().order)
        if (w->sdl && SDL_GetWindowID(w->sdl) == windowId) return w;
    return nullptr;
}

std::vector<Window*> LiveWindows() { return Table().order; }

const std::vector<Window*>& LiveWindowsNow() { return Table().order; }

LRESULT CallProc(Window* w, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (!w || !w->alive || !w->proc) return 0;
    return w->proc(w->hwnd, message, wParam, lParam);
}

void ClientOrigin(const Window* w, int* x, int* y)
{
    *x = *y = 0;
    if (w->sdl) SDL_GetWindowPosition(w->sdl, x, y);
    *x = PointsToProgram(*x);
    *y = PointsToProgram(*y);
}

namespace {

// The program's track sizes as client sizes; unknown ones are left open.
void ClientLimits(const Window* w, int* minW, int* minH, int* maxW, int* maxH)
{
    *minW = std::max(1, (int)w->minTrack.x - kExtraWidth);
    *minH = std::max(1, (int)w->minTrack.y - kExtraHeight);
    *maxW = w->maxTrack.x > 0 ? std::max(*minW, (int)w->maxTrack.x - kExtraWidth) : 1 << 15;
    *maxH = w->maxTrack.y > 0 ? std::max(*minH, (int)w->maxTrack.y - kExtraHeight) : 1 << 15;
}

}  // namespace

namespace {

// The desktop holds the frame to the program's limits (SizeLimits.h); a
// frame without WS_THICKFRAME to its size.
SizeLimits HeldLimits(const Window* w)
{
    int minW, minH, maxW, maxH;
    ClientLimits(w, &minW, &minH, &maxW, &maxH);
    if (!(w->style & WS_THICKFRAME)) minW = maxW = w->clientWidth, minH = maxH = w->clientHeight;
    SizeLimits held;
    held.min = {ToPoints(minW), ToPoints(minH)};
    held.max = {ToPoints(maxW), ToPoints(maxH)};
    return held;
}

// SDL asks the desktop for a size within them at once, and then takes that
// size for had even when the desktop refuses it. So they go to SDL only when
// they change, and not while the window shows at a size the desktop chose
// outside them (a screen too small, a tile). A frame held to its size is
// told each new size the program gives it.
void TellLimits(Window* w)
{
    SizeLimits held = HeldLimits(w);
    int shownW = 0, shownH = 0;
    SDL_GetWindowSize(w->sdl, &shownW, &shownH);
    bool outside = shownW < held.min.x || shownW > held.max.x || shownH < held.min.y || shownH > held.max.y;
    bool changed = held.min.x != w->told.min.x || held.min.y != w->told.min.y || held.max.x != w->told.max.x ||
                   held.max.y != w->told.max.y;
    if (changed && (!(w->visible && outside) || !(w->style & WS_THICKFRAME))) {
        TellSizeLimits(w->sdl, held, w->told);
        w->told = held;
    }
}

}  // namespace

void RequestClientSize(Window* w)
{
    if (!w->sdl) return;
    if (!(w->style & WS_THICKFRAME)) TellLimits(w);
    SDL_SetWindowSize(w->sdl, ToPoints(w->clientWidth), ToPoints(w->clientHeight));
}

void ReadClientSize(Window* w)
{
    int width = 0, height = 0;
    SDL_GetWindowSizeInPixels(w->sdl, &width, &height);
    // The program's limits hold whatever size the desktop gave: a client
    // that differs is shown fitted into it (Presenter.h). The desktop's size
    // is not asked back: a desktop that gave another one has its reasons (a
    // screen too small, tiles), and SDL would take the size asked for as
    // had when the desktop refuses it.
    int minW, minH, maxW, maxH;
    ClientLimits(w, &minW, &minH, &maxW, &maxH);
    w->clientWidth = std::min(std::max(ToProgram(width), minW), maxW);
    w->clientHeight = std::min(std::max(ToProgram(height), minH), maxH);
}

RECT OuterRect(const Window* w)
{
    int x = 0, y = 0;
    ClientOrigin(w, &x, &y);
    RECT r;
    r.left = x - kClientLeft;
    r.top = y - kClientTop;
    r.right = r.left + w->clientWidth + kExtraWidth;
    r.bottom = r.top + w->clientHeight + kExtraHeight;
    return r;
}

void ApplyMinMax(Window* w)
{
    if (!w->alive) return;
    MINMAXINFO info = DefaultMinMax();
    CallProc(w, WM_GETMINMAXINFO, 0, (LPARAM)&info);
    if (!w->alive) return;
    w->minTrack = info.ptMinTrackSize;
    w->maxTrack = info.ptMaxTrackSize;
    if (!w->sdl) return;
    int minW, minH, maxW, maxH;
    ClientLimits(w, &minW, &minH, &maxW, &maxH);
    TellLimits(w);
    int newW = std::min(std::max(w->clientWidth, minW), maxW), newH = std::min(std::max(w->clientHeight, minH), maxH);
    if (newW != w->clientWidth || newH != w->clientHeight) {
        w->clientWidth = newW;
        w->clientHeight = newH;
        RequestClientSize(w);
    }
}

void PlaceOnScreen(int clientW, int clientH, int x, int y, bool topLevel, int* sdlX, int* sdlY)
{
    int before = topLevel ? FitScale(clientW, clientH, kExtraWidth, kExtraHeight) : DisplayScale();
    *sdlX = *sdlY = (int)SDL_WINDOWPOS_UNDEFINED;
    if (x == CW_USEDEFAULT) return;
    // Where the program put the window, in the desktop's pixels; when the
    // scale was lowered, its centre stays where the program meant it.
    int scale = DisplayScale();
    int left = (x + kClientLeft) * scale, top = (y + kClientTop) * scale;
    if (scale != before) {
        left = (x + (clientW + kExtraWidth) / 2) * before - clientW * scale / 2;
        top = (y + (clientH + kExtraHeight) / 2) * before - clientH * scale / 2;
    }
    // All of it on the screen, frame included, as far as it fits.
    SDL_Rect area;
    if (topLevel && WorkArea(&area)) {
        left = std::max(area.x + kClientLeft, std::min(left, area.x + area.w - clientW * scale - kFrameWidth));
        top = std::max(area.y + kClientTop, std::min(top, area.y + area.h - clientH * scale - kFrameHeight));
    }
    *sdlX = left / PointScale();
    *sdlY = top / PointScale();
}

}  // namespace plat

using plat::Window;

HWND WINAPI CreateWindowExA(DWORD exStyle, LPCSTR className, LPCSTR windowName, DWORD style, int x, int y,
                            int width, int height, HWND parent, HMENU menu, HINSTANCE instance, LPVOID param)
{
    DWORD code = 0;
    if (plat::FailWin32("CreateWindowExA", &code)) return nullptr;
    const plat::WindowClass* cls = plat::FindClass(className);
    if (!cls) {
        SetLastError(ERROR_CANNOT_FIND_WND_CLASS);
        return nullptr;
    }
    if (parent && !plat::LookupWindow(parent)) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return nullptr;
    }
    std::string reason;
    if (!plat::VideoReady(&reason)) {
        SetLastError(ERROR_NOT_READY);
        return nullptr;
    }
    if (width == CW_USEDEFAULT) width = 640 + plat::kExtraWidth, height = 480 + plat::kExtraHeight;

    plat::WindowTable& table = plat::Table();
    auto* w = new Window;
    w->hwnd = reinterpret_cast<HWND>(table.nextHandle);
    table.nextHandle += 4;
    w->cls = cls;
    w->proc = cls->wc.lpfnWndProc;
    w->style = style;
    w->exStyle = exStyle;
    w->parent = parent;
    w->instance = instance;
    w->menu = menu;
    // Each 4-byte slot of the class holds a pointer here: the program stores
    // its object pointer in a slot that is 4 bytes wide on 32-bit Windows.
    size_t slots = ((size_t)cls->wc.cbWndExtra + 3) / 4;
    w->extra.assign(slots * sizeof(LONG_PTR), 0);
    w->invalid = true;
    w->erasePending = true;

    int clientW = std::max(1, width - plat::kExtraWidth);
    int clientH = std::max(1, height - plat::kExtraHeight);
    int sdlX, sdlY;
    plat::PlaceOnScreen(clientW, clientH, x, y, !parent, &sdlX, &sdlY);
    w->sdl = SDL_CreateWindow(windowName ? windowName : "", sdlX, sdlY, plat::ToPoints(clientW),
                              plat::ToPoints(clientH), SDL_WINDOW_HIDDEN | SDL_WINDOW_RESIZABLE | plat::PresenterWindowFlags());
    if (!w->sdl) {
        delete w;
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
    w->clientWidth = clientW;
    w->clientHeight = clientH;
    w->presenter = plat::NewPresenter(w->sdl);
    w->update = {0, 0, w->clientWidth, w->clientHeight};
    table.live[w->hwnd] = w;
    table.order.push_back(w);
    plat::ApplyWindowIcon(w);

    CREATESTRUCTA cs;
    cs.lpCreateParams = param;
    cs.hInstance = instance;
    cs.hMenu = menu;
    cs.hwndParent = parent;
    cs.cy = height;
    cs.cx = width;
    cs.y = y;
    cs.x = x;
    cs.style = (LONG)style;
    cs.lpszName = windowName;
    cs.lpszClass = className;
    cs.dwExStyle = exStyle;

    HWND hwnd = w->hwnd;
    plat::ApplyMinMax(w);
    bool ok = w->alive && plat::CallProc(w, WM_NCCREATE, 0, (LPARAM)&cs) != 0;
    if (ok) {
        RECT rect = plat::OuterRect(w);
        plat::CallProc(w, WM_NCCALCSIZE, FALSE, (LPARAM)&rect);
        ok = w->alive && plat::CallProc(w, WM_CREATE, 0, (LPARAM)&cs) != -1;
    }
    if (!ok) {
        if (w->alive) DestroyWindow(hwnd);
        return nullptr;
    }
    plat::SendSizeAndMove(w);
    if (!w->alive) return nullptr;
    if (style & WS_VISIBLE) {
        w->style &= ~(DWORD)WS_VISIBLE;
        ShowWindow(hwnd, SW_SHOW);
    }
    return w->alive ? hwnd : nullptr;
}

BOOL WINAPI DestroyWindow(HWND hwnd)
{
    Window* w = plat::WindowForCall("DestroyWindow", hwnd);
    if (!w) return FALSE;
    if (w->destroying) return TRUE;
    w->destroying = true;
    // Children go first, as in Windows.
    for (Window* child : plat::LiveWindows())
        if (child->parent == hwnd) DestroyWindow(child->hwnd);
    if (w->visible && w->sdl) SDL_HideWindow(w->sdl);
    w->visible = false;
    w->style &= ~(DWORD)WS_VISIBLE;
    plat::CallProc(w, WM_DESTROY, 0, 0);
    plat::CallProc(w, WM_NCDESTROY, 0, 0);

    plat::WindowTable& table = plat::Table();
    w->alive = false;
    table.live.erase(hwnd);
    table.order.erase(std::remove(table.order.begin(), table.order.end(), w), table.order.end());
    table.dead.push_back(w);
    delete w->presenter;
    w->presenter = nullptr;
    if (w->sdl) SDL_DestroyWindow(w->sdl);
    w->sdl = nullptr;
    w->extra.clear();
    w->extra.shrink_to_fit();
    plat::DropMessagesFor(hwnd);
    return TRUE;
}

namespace plat {

Window* WindowForCall(const char* call, HWND hwnd)
{
    DWORD code = 0;
    if (FailWin32(call, &code)) return nullptr;
    Window* w = LookupWindow(hwnd);
    if (!w) SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return w;
}

Window* WindowForCall(const char* call, HWND hwnd, const void* answer)
{
    Window* w = WindowForCall(call, hwnd);
    if (w && !answer) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    return w;
}

}  // namespace plat

BOOL WINAPI IsWindow(HWND hwnd) { return plat::LookupWindow(hwnd) != nullptr; }

BOOL WINAPI ShowWindow(HWND hwnd, int showCommand)
{
    Window* w = plat::WindowForCall("ShowWindow", hwnd);
    if (!w) return FALSE;
    BOOL wasVisible = w->visible;
    if (showCommand == SW_HIDE) {
        if (!w->visible) return wasVisible;
        plat::CallProc(w, WM_SHOWWINDOW, FALSE, 0);
        if (!w->alive) return wasVisible;
        w->visible = false;
        w->style &= ~(DWORD)WS_VISIBLE;
        SDL_HideWindow(w->sdl);
        plat::Deactivate(w);
        return wasVisible;
    }
    bool minimize = showCommand == SW_MINIMIZE || showCommand == SW_SHOWMINIMIZED ||
                    showCommand == SW_SHOWMINNOACTIVE;
    bool activate = !minimize && showCommand != SW_SHOWNA && showCommand != SW_SHOWNOACTIVATE;
    if (!w->visible) {
        plat::CallProc(w, WM_SHOWWINDOW, TRUE, 0);
        if (!w->alive) return wasVisible;
        // The procedure is asked its limits again before the desktop sees
        // the window: the answer to the one asked at creation came before
        // the program could attach its own handling to the window, and the
        // desktop would let the frame be dragged to Windows' defaults.
        plat::ApplyMinMax(w);
        if (!w->alive) return wasVisible;
        w->visible = true;
        w->style |= WS_VISIBLE;
        SDL_ShowWindow(w->sdl);
        plat::RepeatSizeLimits(w->sdl, w->told);
        plat::WindowShown(w);
        plat::InvalidateWindow(w, nullptr, true);
    }
    if (minimize && !w->minimized) {
        w->minimized = true;
        SDL_MinimizeWindow(w->sdl);
        plat::Deactivate(w);
    } else if (!minimize && w->minimized) {
        w->minimized = false;
        SDL_RestoreWindow(w->sdl);
        plat::InvalidateWindow(w, nullptr, true);
    } else if (showCommand == SW_MAXIMIZE) {
        SDL_MaximizeWindow(w->sdl);
    }
    if (activate) plat::Activate(w);
    // Newly uncovered parts are erased at once, as Windows does when it
    // shows a window; the paint itself waits for the queue or UpdateWindow.
    if (w->alive && w->visible && !w->minimized) plat::EraseNow(w);
    return wasVisible;
}

BOOL WINAPI SetWindowPos(HWND hwnd, HWND, int x, int y, int width, int height, UINT flags)
{
    Window* w = plat::WindowForCall("SetWindowPos", hwnd);
    if (!w) return FALSE;
    if (!(flags & SWP_NOSIZE)) {
        plat::ApplyMinMax(w);
        if (!w->alive) return FALSE;
        width = std::min(std::max(width, (int)w->minTrack.x), (int)w->maxTrack.x);
        height = std::min(std::max(height, (int)w->minTrack.y), (int)w->maxTrack.y);
        w->clientWidth = std::max(1, width - plat::kExtraWidth);
        w->clientHeight = std::max(1, height - plat::kExtraHeight);
        plat::RequestClientSize(w);
        plat::InvalidateWindow(w, nullptr, true);
    }
    if (!(flags & SWP_NOMOVE))
        SDL_SetWindowPosition(w->sdl, plat::ToScreen(x + plat::kClientLeft) / plat::PointScale(),
                              plat::ToScreen(y + plat::kClientTop) / plat::PointScale());
    if (flags & SWP_HIDEWINDOW) ShowWindow(hwnd, SW_HIDE);
    if (flags & SWP_SHOWWINDOW) ShowWindow(hwnd, (flags & SWP_NOACTIVATE) ? SW_SHOWNA : SW_SHOW);
    if ((flags & (SWP_NOSIZE | SWP_NOMOVE)) != (SWP_NOSIZE | SWP_NOMOVE)) plat::SendSizeAndMove(w);
    return TRUE;
}

namespace {

LONG_PTR* ExtraSlot(Window* w, int index)
{
    if (index < 0 || (size_t)index + sizeof(LONG_PTR) > w->extra.size()) return nullptr;
    return reinterpret_cast<LONG_PTR*>(w->extra.data() + index);
}

}  // namespace

LONG_PTR WINAPI GetWindowLongPtrA(HWND hwnd, int index)
{
    Window* w = plat::WindowForCall("GetWindowLongPtrA", hwnd);
    if (!w) return 0;
    switch (index) {
    case GWLP_USERDATA: return w->userData;
    case GWL_STYLE: return (LONG_PTR)(LONG)w->style;
    case GWLP_WNDPROC: return (LONG_PTR)w->proc;
    case GWLP_HINSTANCE: return (LONG_PTR)w->instance;
    default: break;
    }
    LONG_PTR* slot = ExtraSlot(w, index);
    if (!slot) {
        SetLastError(ERROR_INVALID_INDEX);
        return 0;
    }
    LONG_PTR value;
    std::memcpy(&value, slot, sizeof value);
    return value;
}

LONG_PTR WINAPI SetWindowLongPtrA(HWND hwnd, int index, LONG_PTR value)
{
    Window* w = plat::WindowForCall("SetWindowLongPtrA", hwnd);
    if (!w) return 0;
    LONG_PTR old = 0;
    switch (index) {
    case GWLP_USERDATA:
        old = w->userData;
        w->userData = value;
        break;
    case GWL_STYLE:
        old = (LONG_PTR)(LONG)w->style;
        w->style = (DWORD)value;
        break;
    case GWLP_WNDPROC:
        old = (LONG_PTR)w->proc;
        w->proc = (WNDPROC)value;
        break;
    default: {
        LONG_PTR* slot = ExtraSlot(w, index);
        if (!slot) {
            SetLastError(ERROR_INVALID_INDEX);
            return 0;
        }
        std::memcpy(&old, slot, sizeof old);
        std::memcpy(slot, &value, sizeof value);
    }
    }
    SetLastError(0);
    return old;
}
