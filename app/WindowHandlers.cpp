#include "app/WindowHandlers.h"

#include "app/PMAIN.h"

namespace {

// The window carries its application object: PMAIN begins with its MainWindow.
PMAIN* ApplicationOf(HWND hwnd)
{
    return static_cast<PMAIN*>(reinterpret_cast<MainWindow*>(GetWindowLongPtrA(hwnd, 0)));
}

}  // namespace

void HandleDestroy(HWND hwnd)
{
    if (PMAIN* app = ApplicationOf(hwnd)) app->Quit();
}

// Drawing the whole frame here keeps the class brush from flashing black
// over it.
void HandleEraseBackground(HWND hwnd, WPARAM)
{
    if (PMAIN* app = ApplicationOf(hwnd)) app->Draw();
}

// The frame keeps its size: the smallest and the largest tracking sizes
// are both the current one.
void HandleGetMinMaxInfo(HWND hwnd, LPARAM minMaxInfo)
{
    RECT rect;
    GetWindowRect(hwnd, &rect);
    MINMAXINFO* info = reinterpret_cast<MINMAXINFO*>(minMaxInfo);
    info->ptMinTrackSize.x = rect.right - rect.left;
    info->ptMinTrackSize.y = rect.bottom - rect.top;
    info->ptMaxTrackSize = info->ptMinTrackSize;
}

void IgnoreMouseMessage(HWND, WORD, WORD, WORD) {}

void HandlePaint(HWND hwnd)
{
    PAINTSTRUCT paint;
    BeginPaint(hwnd, &paint);
    EndPaint(hwnd, &paint);
    if (PMAIN* app = ApplicationOf(hwnd)) app->Draw();
}

void InstallWindowHandlers(MessageHandlers& handlers)
{
    handlers.onDestroy = HandleDestroy;
    handlers.onEraseBackground = HandleEraseBackground;
    handlers.onGetMinMaxInfo = HandleGetMinMaxInfo;
    handlers.onLButtonUp = IgnoreMouseMessage;
    handlers.onMouseMove = IgnoreMouseMessage;
    handlers.onPaint = HandlePaint;
}
