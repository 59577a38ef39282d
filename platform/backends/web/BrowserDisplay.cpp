// The page stands in for the desktop: no X connection to send frames on
// (they go through SDL's window surface, drawn into the page's canvas) and
// no display that could be lost under the game.
#include "DisplayLoss.h"
#include "Presenter.h"

#include <cstdio>
#include <cstdlib>

namespace plat {

Presenter* NewXlibPresenter(SDL_Window*) { return nullptr; }

void EndOnDisplayLoss() {}
void OnSdlQuit() {}

void EndForLostDisplay(const char* display)
{
    std::fprintf(stderr, "vorblox: lost the display %s; the game ends\n", display);
    std::_Exit(1);
}

}  // namespace plat
