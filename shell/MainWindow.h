// The game's one window: a table of message handlers followed by the window
// handle. Handlers are plain functions that get the window handle, never the
// object, and the message's parameters already taken apart.
#ifndef VORBLOX_SHELL_MAINWINDOW_H
#define VORBLOX_SHELL_MAINWINDOW_H

#include <windows.h>

typedef void (*CloseHandler)(HWND);
typedef LRESULT (*CreateHandler)(HWND, LPARAM createStruct);
typedef void (*DestroyHandler)(HWND);
typedef void (*EraseBackgroundHandler)(HWND, WPARAM dc);
typedef void (*GetMinMaxInfoHandler)(HWND, LPARAM minMaxInfo);
typedef void (*KeyDownHandler)(HWND, UINT virtualKey, UINT repeat, UINT scanCode, UINT extended, UINT previous);
typedef void (*KeyUpHandler)(HWND, UINT virtualKey, UINT scanCode, UINT extended);
typedef void (*MouseHandler)(HWND, WORD keys, WORD x, WORD y);
typedef void (*PaintHandler)(HWND);
typedef void (*SizingHandler)(HWND, UINT edge, LPARAM rect);
typedef void (*SetCursorHandler)(HWND, UINT hitTest, UINT mouseMessage);

// One slot per handled message; a null slot leaves the message to the
// system's default processing.
struct MessageHandlers {
    CloseHandler onClose;
    CreateHandler onCreate;
    DestroyHandler onDestroy;
    EraseBackgroundHandler onEraseBackground;
    GetMinMaxInfoHandler onGetMinMaxInfo;
    KeyDownHandler onKeyDown;
    KeyUpHandler onKeyUp;
    MouseHandler onLButtonDblClk;
    MouseHandler onLButtonDown;
    MouseHandler onLButtonUp;
    MouseHandler onMButtonDblClk;
    MouseHandler onMButtonDown;
    MouseHandler onMouseMove;
    MouseHandler onMButtonUp;
    MouseHandler onRButtonDblClk;
    MouseHandler onRButtonDown;
    MouseHandler onRButtonUp;
    PaintHandler onPaint;
    SizingHandler onSizing;
    SetCursorHandler onSetCursor;

    MessageHandlers();
    void Clear();
};

class MainWindow : public MessageHandlers {
public:
    HWND hwnd;

    MainWindow();
    // Handlers are cleared first, so none of them runs while the window goes.
    ~MainWindow();
    MainWindow(const MainWindow&) = delete;
    MainWindow& operator=(const MainWindow&) = delete;

    // Replaces any window the object has. The new window is attached to
    // this object, shown with the entry's show command and updated.
    bool Create(LPCSTR className, LPCSTR title, DWORD style, LONG x, LONG y, LONG width, LONG height, HMENU menu,
                MainWindow* parent);
    // TRUE without a window; otherwise what DestroyWindow says. The handle
    // is forgotten either way.
    BOOL Destroy();
    BOOL Show(int showCommand);
    BOOL Update();
};

// Registers a class whose windows run WindowProcedure and carry one
// MainWindow pointer in their extra bytes.
bool RegisterMainWindowClass(UINT style, HICON icon, HCURSOR cursor, HBRUSH background, LPCSTR menuName,
                             LPCSTR className);

LRESULT CALLBACK WindowProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

#endif
