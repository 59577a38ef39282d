// Choosing the backend (Backend.h): SDL is offered the drivers of the
// build's list, in its order, and the first entry that can run where SDL
// started is the one that shows the windows.
#include "Backend.h"
#include "Core.h"
#include "DisplayWaits.h"
#include "Presenter.h"

#include <poll.h>

#include <cstring>
#include <string>

namespace plat {

extern const Backend* const kBackends[];  // BackendList.cpp, null-terminated

namespace {

const Backend kDefaults = {"sdl", "", false, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, 0, nullptr, nullptr, true, nullptr};
const Backend* chosen = nullptr;

bool Offered(const Backend& b) { return b.headless == Headless(); }

void PrepareVideo(bool started)
{
    if (!started) {
        std::string drivers;
        for (const Backend* const* b = kBackends; *b; ++b)
            if (Offered(**b)) drivers += (drivers.empty() ? "" : ",") + std::string((*b)->sdlDriver);
        // Without the headless mode only a real desktop will do: SDL would
        // otherwise fall back to drawing into nothing (no display at all)
        // and the game would run where nobody can see it. An empty
        // SDL_VIDEODRIVER in the environment would beat a plain hint.
        const char* named = SDL_getenv("SDL_VIDEODRIVER");
        if (Headless() || !named || !*named)
            SDL_SetHintWithPriority(SDL_HINT_VIDEODRIVER, drivers.c_str(), SDL_HINT_OVERRIDE);
    }
    for (const Backend* const* b = kBackends; *b; ++b)
        if (Offered(**b) && (*b)->Prepare) (*b)->Prepare();
}

const bool hooked = (AddVideoStartHook(PrepareVideo), true);

DisplayWaits& Waits()
{
    static DisplayWaits* sdlOwn = new DisplayWaits;
    const Backend& b = CurrentBackend();
    return b.Waits ? *b.Waits() : *sdlOwn;
}

}  // namespace

const Backend& CurrentBackend()
{
    if (chosen) return *chosen;
    bool started = SDL_WasInit(SDL_INIT_VIDEO) != 0;
    for (const Backend* const* b = kBackends; *b; ++b) {
        if (!Offered(**b) || !(*b)->CanRunHere()) continue;
        if (started) chosen = *b;
        return **b;
    }
    if (started) chosen = &kDefaults;
    return kDefaults;
}

bool SdlDriverIs(const char* driver)
{
    const char* current = SDL_GetCurrentVideoDriver();
    return current && std::strcmp(current, driver) == 0;
}

Presenter* NewPresenter(SDL_Window* window)
{
    const Backend& b = CurrentBackend();
    if (b.NewPresenter)
        if (Presenter* own = b.NewPresenter(window)) return own;
    return NewSdlPresenter(window, false);
}

Uint32 PresenterWindowFlags() { return SDL_WINDOW_ALLOW_HIGHDPI | CurrentBackend().windowFlags; }

void OnSdlQuit()
{
    if (auto quit = CurrentBackend().SdlQuit) quit();
}

int WaitOnDisplay(SDL_Window* window, ULONGLONG nanoseconds) { return Waits().WaitOnDisplay(window, nanoseconds); }
bool WaitForEvents(int milliseconds) { return Waits().WaitForEvents(milliseconds); }
bool WaitForDescriptor(int fd, int milliseconds) { return Waits().WaitForDescriptor(fd, milliseconds); }

bool DisplayWaits::WaitForDescriptor(int fd, int milliseconds)
{
    pollfd look = {fd, POLLIN, 0};
    return poll(&look, 1, milliseconds) > 0;
}
int DisplayHasInput() { return Waits().HasInput(); }
bool DisplayWokeWait() { return Waits().WokeWait(); }
void DisplayInputTaken() { Waits().InputTaken(); }

}  // namespace plat
