// The application's six window message handlers.
#ifndef VORBLOX_APP_WINDOW_HANDLERS_H
#define VORBLOX_APP_WINDOW_HANDLERS_H

#include "shell/MainWindow.h"

void HandleDestroy(HWND hwnd);
void HandleEraseBackground(HWND hwnd, WPARAM dc);
void HandleGetMinMaxInfo(HWND hwnd, LPARAM minMaxInfo);
void IgnoreMouseMessage(HWND hwnd, WORD keys, WORD x, WORD y);
void HandlePaint(HWND hwnd);

// Fills the six slots; the other fourteen stay empty.
void InstallWindowHandlers(MessageHandlers& handlers);

#endif
