// The page stands in for the desktop: there is no display that could be
// lost under the game (frames go to the canvas: CanvasPresenter.cpp).
#include "DisplayLoss.h"

#include <cstdio>
#include <cstdlib>

namespace plat {

void EndOnDisplayLoss() {}
void OnSdlQuit() {}

void EndForLostDisplay(const char* display)
{
    std::fprintf(stderr, "vorblox: lost the display %s; the game ends\n", display);
    std::_Exit(1);
}

}  // namespace plat
