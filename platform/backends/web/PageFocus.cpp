// SDL's browser driver reports the page's focus changes as window events
// but, unlike its desktop drivers, leaves its keyboard focus on the canvas
// for good. The page's focus is followed here from those events instead,
// and the keys held as it goes are let go as SDL's desktop drivers do.
#include "PageFocus.h"
#include "WebBackend.h"

#include <emscripten.h>

// SDL_ResetKeyboard, public since SDL 2.24, lets go of the held keys.
#if !SDL_VERSION_ATLEAST(2, 24, 0)
#error "the page's focus needs SDL 2.24 or later (SDL_ResetKeyboard)"
#endif

namespace plat {
namespace {

EM_JS(int, PageHasFocus, (), { return document.hasFocus() ? 1 : 0; });

bool pageFocused = false;

int SDLCALL FollowFocus(void*, SDL_Event* e)
{
    if (e->type != SDL_WINDOWEVENT) return 1;
    if (e->window.event == SDL_WINDOWEVENT_FOCUS_LOST && pageFocused) {
        pageFocused = false;
        SDL_ResetKeyboard();
    } else if (e->window.event == SDL_WINDOWEVENT_FOCUS_GAINED) {
        pageFocused = true;
    }
    return 1;
}

}  // namespace

void FollowPageFocus()
{
    static bool following = false;
    if (following || !SDL_WasInit(SDL_INIT_VIDEO)) return;
    following = true;
    pageFocused = PageHasFocus() != 0;
    SDL_AddEventWatch(FollowFocus, nullptr);
}

bool PageHasKeys(SDL_Window* window)
{
    FollowPageFocus();
    return window && pageFocused;
}

}  // namespace plat
