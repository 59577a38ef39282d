#include "shell/MainWindow.h"

#include "system/SystemInfo.h"

namespace {

// Where a window keeps the MainWindow it belongs to.
const int kObjectSlot = 0;

MainWindow* AttachedObject(HWND hwnd)
{
    return reinterpret_cast<MainWindow*>(GetWindowLongPtrA(hwnd, kObjectSlot));
}

// Runs a mouse handler with the key flags and the client position, each as
// an unsigned 16-bit value.
bool Mouse(MouseHandler handler, HWND hwnd, WPARAM wParam, LPARAM lParam)
{
    if (handler == NULL) return false;
    handler(hwnd, LOWORD(wParam), LOWORD(lParam), HIWORD(lParam));
    return true;
}

// Calls the handler for the message if there is one; *result is then what
// the window procedure returns.
bool Dispatch(const MessageHandlers& handlers, HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
              LRESULT* result)
{
    *result = 0;
    DWORD bits = static_cast<DWORD>(lParam);
    switch (message) {
    case WM_CLOSE:
        if (handlers.onClose == NULL) return false;
        handlers.onClose(hwnd);
        return true;
    case WM_CREATE:
        if (handlers.onCreate == NULL) return false;
        *result = handlers.onCreate(hwnd, lParam);
        return true;
    case WM_DESTROY:
        if (handlers.onDestroy == NULL) return false;
        handlers.onDestroy(hwnd);
        return true;
    case WM_ERASEBKGND:
        if (handlers.onEraseBackground == NULL) return false;
        handlers.onEraseBackground(hwnd, wParam);
        *result = 1;  // the background counts as erased
        return true;
    case WM_GETMINMAXINFO:
        if (handlers.onGetMinMaxInfo == NULL) return false;
        handlers.onGetMinMaxInfo(hwnd, lParam);
        return true;
    case WM_KEYDOWN:
        if (handlers.onKeyDown == NULL) return false;
        handlers.onKeyDown(hwnd, static_cast<UINT>(wParam), bits & 0xFFFF, (bits >> 16) & 0xFF, (bits >> 24) & 1,
                           (bits >> 30) & 1);
        return true;
    case WM_KEYUP:
        if (handlers.onKeyUp == NULL) return false;
        handlers.onKeyUp(hwnd, static_cast<UINT>(wParam), (bits >> 16) & 0xFF, (bits >> 24) & 1);
        return true;
    case WM_LBUTTONDBLCLK:
        return Mouse(handlers.onLButtonDblClk, hwnd, wParam, lParam);
    case WM_LBUTTONDOWN:
        return Mouse(handlers.onLButtonDown, hwnd, wParam, lParam);
    case WM_LBUTTONUP:
        return Mouse(handlers.onLButtonUp, hwnd, wParam, lParam);
    case WM_MBUTTONDBLCLK:
        return Mouse(handlers.onMButtonDblClk, hwnd, wParam, lParam);
    case WM_MBUTTONDOWN:
        return Mouse(handlers.onMButtonDown, hwnd, wParam, lParam);
    case WM_MOUSEMOVE:
        return Mouse(handlers.onMouseMove, hwnd, wParam, lParam);
    case WM_MBUTTONUP:
        return Mouse(handlers.onMButtonUp, hwnd, wParam, lParam);
    case WM_RBUTTONDBLCLK:
        return Mouse(handlers.onRButtonDblClk, hwnd, wParam, lParam);
    case WM_RBUTTONDOWN:
        return Mouse(handlers.onRButtonDown, hwnd, wParam, lParam);
    case WM_RBUTTONUP:
        return Mouse(handlers.onRButtonUp, hwnd, wParam, lParam);
    case WM_PAINT:
        if (handlers.onPaint == NULL) return false;
        handlers.onPaint(hwnd);
        return true;
    case WM_SIZING:
        if (handlers.onSizing == NULL) return false;
        handlers.onSizing(hwnd, LOWORD(wParam), lParam);
        *result = 1;  // the rectangle is the handler's answer
        return true;
    case WM_SETCURSOR:
        if (handlers.onSetCursor == NULL) return false;
        handlers.onSetCursor(hwnd, LOWORD(lParam), HIWORD(lParam));
        return true;
    default:
        return false;
    }
}

}  // namespace

MessageHandlers::MessageHandlers() { Clear(); }

void MessageHandlers::Clear()
{
    onClose = NULL;
    onCreate = NULL;
    onDestroy = NULL;
    onEraseBackground = NULL;
    onGetMinMaxInfo = NULL;
    onKeyDown = NULL;
    onKeyUp = NULL;
    onLButtonDblClk = NULL;
    onLButtonDown = NULL;
    onLButtonUp = NULL;
    onMButtonDblClk = NULL;
    onMButtonDown = NULL;
    onMouseMove = NULL;
    onMButtonUp = NULL;
    onRButtonDblClk = NULL;
    onRButtonDown = NULL;
    onRButtonUp = NULL;
    onPaint = NULL;
    onSizing = NULL;
    onSetCursor = NULL;
}

MainWindow::MainWindow() : hwnd(NULL) {}

MainWindow::~MainWindow()
{
    Clear();
    Destroy();
}

bool MainWindow::Create(LPCSTR className, LPCSTR title, DWORD style, LONG x, LONG y, LONG width, LONG height,
                        HMENU menu, MainWindow* parent)
{
    Destroy();
    hwnd = CreateWindowExA(0, className, title, style, x, y, width, height, parent != NULL ? parent->hwnd : NULL,
                           menu, systemInfo.instance, NULL);
    if (hwnd != NULL) {
        // Until this point every message took the default path: the window
        // did not know its object yet.
        SetWindowLongPtrA(hwnd, kObjectSlot, reinterpret_cast<LONG_PTR>(this));
        Show(systemInfo.showCommand);
        Update();
    }
    return hwnd != NULL;
}

BOOL MainWindow::Destroy()
{
    if (hwnd == NULL) return TRUE;
    BOOL result = DestroyWindow(hwnd);
    hwnd = NULL;
    return result;
}

BOOL MainWindow::Show(int showCommand) { return ShowWindow(hwnd, showCommand); }

BOOL MainWindow::Update() { return UpdateWindow(hwnd); }

bool RegisterMainWindowClass(UINT style, HICON icon, HCURSOR cursor, HBRUSH background, LPCSTR menuName,
                             LPCSTR className)
{
    WNDCLASSA windowClass;
    windowClass.style = style;
    windowClass.lpfnWndProc = WindowProcedure;
    windowClass.cbClsExtra = 0;
    windowClass.cbWndExtra = sizeof(MainWindow*);
    windowClass.hInstance = systemInfo.instance;
    windowClass.hIcon = icon;
    windowClass.hCursor = cursor;
    windowClass.hbrBackground = background;
    windowClass.lpszMenuName = menuName;
    windowClass.lpszClassName = className;
    ATOM atom = RegisterClassA(&windowClass);
    return (atom & 0xFFFF) != 0;
}

LRESULT CALLBACK WindowProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    // Looked up afresh every time: the window may be destroyed and its
    // object detached between two messages.
    MainWindow* window = AttachedObject(hwnd);
    LRESULT result;
    if (window != NULL && Dispatch(*window, hwnd, message, wParam, lParam, &result)) return result;
    return DefWindowProcA(hwnd, message, wParam, lParam);
}
