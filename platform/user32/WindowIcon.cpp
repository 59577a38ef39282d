// The icon a window shows: its class's, as GDI holds it.
#include "GdiObjects.h"
#include "Icons.h"
#include "WindowState.h"

namespace plat {

void ApplyWindowIcon(Window* w)
{
    if (!w->sdl) return;
    GdiObject* icon = LookupGdi(w->cls->wc.hIcon, GdiKind::Icon);
    SDL_Surface* surface = icon ? icon->surface : nullptr;
    // A class without an icon of its own shows the program's icon group, as
    // Windows shows the executable's icon.
    DWORD error = GetLastError();
    if (!surface)
        if (GdiObject* own = LookupGdi(LoadIconResource("IDI_APPLICATION"), GdiKind::Icon)) surface = own->surface;
    if (surface) SDL_SetWindowIcon(w->sdl, surface);
    SetLastError(error);
}

}  // namespace plat
