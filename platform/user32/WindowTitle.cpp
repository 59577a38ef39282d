#include "WindowTitle.h"

#include "WindowState.h"

#include <map>
#include <string>

namespace plat {

void SetTitleNote(HWND hwnd, const char* note)
{
    // The program's own titles, of the windows that have a note.
    static auto* own = new std::map<HWND, std::string>;
    Window* w = LookupWindow(hwnd);
    if (!w || !w->sdl) {
        own->erase(hwnd);
        return;
    }
    auto kept = own->find(hwnd);
    if (!note || !*note) {
        if (kept == own->end()) return;
        SDL_SetWindowTitle(w->sdl, kept->second.c_str());
        own->erase(kept);
        return;
    }
    if (kept == own->end()) kept = own->emplace(hwnd, SDL_GetWindowTitle(w->sdl)).first;
    std::string title = kept->second + " - " + note;
    SDL_SetWindowTitle(w->sdl, title.c_str());
}

}  // namespace plat
