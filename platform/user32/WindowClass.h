// Registered window classes; names compare without regard to case, as in
// Windows.
#ifndef VORBLOX_PLATFORM_WINDOW_CLASS_H
#define VORBLOX_PLATFORM_WINDOW_CLASS_H

#include "WindowState.h"

namespace plat {

const WindowClass* FindClass(LPCSTR name);

}  // namespace plat

#endif
