// SDL's browser driver reports the page's focus changes as window events
// but, unlike its desktop drivers, leaves its keyboard focus on the window
// for good, and the layer asks that focus whether keys count. Here the
// keyboard focus is moved as SDL's desktop drivers move it.
#include "PageFocus.h"

#include <emscripten.h>

// SDL's own, not in its public headers; linked from its static library.
extern "C" void SDL_SetKeyboardFocus(SDL_Window* window);

namespace plat {
namespace {

EM_JS(int, PageHasFocus, (), { return document.hasFocus() ? 1 : 0; });

int SDLCALL MoveKeyboardFocus(void*, SDL_Event* e)
{
    if (e->type != SDL_WINDOWEVENT) return 1;
    SDL_Window* window = SDL_GetWindowFromID(e->window.windowID);
    if (e->window.event == SDL_WINDOWEVENT_FOCUS_LOST && window && SDL_GetKeyboardFocus() == window)
        SDL_SetKeyboardFocus(nullptr);
    else if (e->window.event == SDL_WINDOWEVENT_FOCUS_GAINED && window && SDL_GetKeyboardFocus() != window)
        SDL_SetKeyboardFocus(window);
    return 1;
}

}  // namespace

void FollowPageFocus()
{
    static bool following = false;
    // The window takes the keyboard focus when it is made.
    if (following || !SDL_WasInit(SDL_INIT_VIDEO) || !SDL_GetKeyboardFocus()) return;
    following = true;
    SDL_AddEventWatch(MoveKeyboardFocus, nullptr);
    if (!PageHasFocus()) SDL_SetKeyboardFocus(nullptr);
}

}  // namespace plat
