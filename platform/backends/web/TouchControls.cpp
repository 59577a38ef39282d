// The page's on-screen buttons are keys of the DirectInput keyboard, as the
// controllers' buttons are: the game sees nothing but its own keys, so a
// game played by touch is recorded and replays like any other.
#include "TouchControls.h"

#include "InputSource.h"

#include <dinput.h>
#include <emscripten.h>

namespace plat {
namespace {

// The page's buttons by their bit in VorbloxTouch's mask: move left, move
// right, turn counter-clockwise, turn clockwise, drop, new game, quit.
const BYTE buttonKeys[] = {DIK_LEFT, DIK_RIGHT, DIK_UP, DIK_LCONTROL, DIK_DOWN, DIK_F1, DIK_ESCAPE};
const unsigned allButtons = (1u << (sizeof buttonKeys / sizeof buttonKeys[0])) - 1;

class TouchButtons final : public InputSource {
public:
    // A button that went down counts at the next read even when it is up
    // again by then: a tap is often shorter than a tick.
    void Hold(unsigned buttons)
    {
        buttons &= allButtons;
        pressed |= buttons & ~held;
        held = buttons;
    }

    void Add(const KeyboardRead& read) override
    {
        unsigned down = held | pressed;
        pressed = 0;
        live = read.live;
        if (!live) return;
        for (unsigned i = 0; down >> i; ++i)
            if (down & (1u << i)) read.keys[buttonKeys[i]] = 0x80;
    }

    // A held button keeps the game ticking only where it counts.
    bool Waiting() override { return pressed != 0 || (held != 0 && live); }

private:
    unsigned held = 0;
    unsigned pressed = 0;
    bool live = true;
};

TouchButtons& Buttons()
{
    static TouchButtons* buttons = new TouchButtons;
    return *buttons;
}

EM_JS(void, TellPagePlaying, (int playing, int watching), {
    if (Module["onPlaying"]) Module["onPlaying"](!!playing, !!watching);
});

// The game idles (sleeps until a key) only at the start prompt and after a
// game has ended; while a game runs, or a recording plays, it reads the
// keyboard every tick. The page keeps the screen on in between, and says
// whether the ticks are a recording's (whose end hands the game to the
// player).
class PlayWatch final : public InputSource {
public:
    void Saw(const KeyboardRead& read, bool) override { Tell(true, read.takenOver); }
    // An idle sleep in a recording's game (at its prompt) is still its.
    void Idle() override { Tell(false, watching); }

private:
    void Tell(bool now, bool recorded)
    {
        if (now == playing && recorded == watching) return;
        playing = now;
        watching = recorded;
        TellPagePlaying(now, recorded);
    }
    bool playing = false;
    bool watching = false;
};

}  // namespace

void UseTouchControls()
{
    static PlayWatch* watch = new PlayWatch;
    AddInputSource(&Buttons());
    AddInputSource(watch);
}

}  // namespace plat

// For the page: the buttons held now, one bit each in the order above. Safe
// while the program sleeps; the page then wakes it with a "vorbloxinput"
// event (BrowserWait.cpp).
extern "C" EMSCRIPTEN_KEEPALIVE void VorbloxTouch(unsigned buttons) { plat::Buttons().Hold(buttons); }
