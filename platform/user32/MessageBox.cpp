// MessageBoxA through SDL's simple message box, or standard error when
// there is no display to show one on.
#include "Core.h"
#include "WindowState.h"
#include "WindowsControls.h"

#include <cstdio>

namespace {

Uint32 BoxFlags(UINT type)
{
    switch (type & 0xF0) {
    case MB_ICONERROR: return SDL_MESSAGEBOX_ERROR;
    case MB_ICONWARNING: return SDL_MESSAGEBOX_WARNING;
    default: return SDL_MESSAGEBOX_INFORMATION;
    }
}

}  // namespace

int WINAPI MessageBoxA(HWND owner, LPCSTR text, LPCSTR caption, UINT type)
{
    DWORD code = 0;
    if (plat::FailWin32("MessageBoxA", &code)) return 0;
    if (!caption) caption = "Error";
    if (!text) text = "";
    if (plat::CapturingMessageBoxes()) {
        plat::RecordMessageBox(owner, text, caption, type);
        return IDOK;
    }
    // Headless runs must never block on a box nobody can close.
    if (!plat::Headless() && plat::VideoReady()) {
        plat::Window* w = plat::LookupWindow(owner);
        if (SDL_ShowSimpleMessageBox(BoxFlags(type), caption, text, w ? w->sdl : nullptr) == 0) return IDOK;
    }
    std::fprintf(stderr, "%s: %s\n", caption, text);
    std::fflush(stderr);
    return IDOK;
}
