// Waiting in the browser. The program's waits block, as a Windows
// program's do; compiled with Asyncify, a wait here hands the page back to
// the browser (it draws, takes keys, runs its timers) and the program goes
// on where it was when the time is up or the page got input. A busy wait
// would freeze the page, and the clock's own sleep (clock_nanosleep) spins.
#include "DisplayWaits.h"
#include "PageFocus.h"
#include "WebBackend.h"

#include <emscripten.h>
#include <poll.h>

namespace plat {
namespace {

// Resolves after `milliseconds`, or soon after a key, a focus change, a
// controller coming or going, the page's own input (a touch button, a piece
// of a recording, as "vorbloxinput") or a new size (1), whichever is first
// (0 for the time). A new size clears the canvas: a game asleep at its
// prompt draws it again at once, not when its sleep would have ended (a
// phone turned showed no picture for most of a second).
// The wake-up is a task of its own, so that SDL's handlers have taken the
// event by the time the program looks.
// The game waits every tick, so the listeners stay on the page from one
// wait to the next (putting eight on and taking them off again each tick
// cost about a twentieth of the page's time in play). They come off at the
// first look, once a second, that finds no wait going on: the game has
// ended, and nothing on the page then keeps it alive.
EM_ASYNC_JS(int, SleepInBrowser, (double milliseconds), {
    var waits = Module["vorbloxWaits"];
    if (!waits) {
        waits = Module["vorbloxWaits"] = { finish: null };
        var events = ["keydown", "keyup", "focus", "blur", "gamepadconnected", "gamepaddisconnected",
                      "vorbloxinput", "resize"];
        var wake = function() {
            var finish = waits.finish;
            if (finish) setTimeout(function() { finish(1); }, 0);
        };
        var look = function() {
            if (waits.finish) {
                setTimeout(look, 1000);
                return;
            }
            events.forEach(function(name) { window.removeEventListener(name, wake, true); });
            Module["vorbloxWaits"] = null;
        };
        events.forEach(function(name) { window.addEventListener(name, wake, true); });
        setTimeout(look, 1000);
    }
    return await new Promise(function(resolve) {
        var done = false;
        var timer;
        var finish = function(woken) {
            if (done) return;
            done = true;
            clearTimeout(timer);
            if (waits.finish === finish) waits.finish = null;
            resolve(woken);
        };
        waits.finish = finish;
        timer = setTimeout(function() { finish(0); }, milliseconds);
    });
});

class BrowserWaits final : public DisplayWaits {
public:
    int WaitOnDisplay(SDL_Window*, ULONGLONG nanoseconds) override
    {
        FollowPageFocus();
        // The browser's timers count whole milliseconds and never fire
        // early. Rounded up, a tick starts within the pacer's allowance of
        // its time; rounded down, the rest would be a second timer, which
        // the browser makes wait at least 4 ms once timers have started
        // timers a few times.
        return SleepInBrowser((double)((nanoseconds + 999999ull) / 1000000ull));
    }

    bool WaitForEvents(int milliseconds) override
    {
        FollowPageFocus();
        SleepInBrowser(milliseconds);
        return true;
    }
    // The page hands a file it reads in pieces (a recording being watched)
    // to the program's file system, and says "vorbloxinput" when a piece
    // has come: poll itself cannot wait here.
    bool WaitForDescriptor(int fd, int milliseconds) override
    {
        pollfd look = {fd, POLLIN, 0};
        if (poll(&look, 1, 0) > 0) return true;
        SleepInBrowser(milliseconds);
        return poll(&look, 1, 0) > 0;
    }
    // Nothing to look at but SDL's own queue: the defaults.
};

}  // namespace

DisplayWaits* NewBrowserWaits() { return new BrowserWaits; }

}  // namespace plat
