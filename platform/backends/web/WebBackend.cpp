// The page's canvas, through SDL's driver for it, and the page's touch
// controls. There is no display that could be lost under the game.
#include "WebBackend.h"

#include "Backend.h"
#include "TouchControls.h"

namespace plat {
namespace {

// The page is there before SDL is: its waits serve from the first one on.
bool InPage() { return true; }

DisplayWaits* PageWaits()
{
    static DisplayWaits* waits = NewBrowserWaits();
    return waits;
}

}  // namespace

extern const Backend webBackend = {
    "web", "emscripten", false, UseTouchControls, InPage, NewCanvasPresenter, PageWaits, nullptr, nullptr, 0, nullptr, nullptr, false, PageHasKeys,
};

}  // namespace plat
