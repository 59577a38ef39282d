// The window's title on the desktop is the program's own (CreateWindowExA);
// while the layer does something to a window the program does not know of
// (a recording being watched), the title says so beside it.
#ifndef VORBLOX_PLATFORM_WINDOW_TITLE_H
#define VORBLOX_PLATFORM_WINDOW_TITLE_H

#include <windows.h>

namespace plat {

// Shows "<the program's title> - <note>"; an empty note gives the window
// its own title back. Nothing for a window that is gone.
void SetTitleNote(HWND hwnd, const char* note);

}  // namespace plat

#endif
