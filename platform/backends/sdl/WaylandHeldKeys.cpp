// A keyboard that reaches the window with keys already down: one plugged in
// or woken while a key is held, or the window given the keyboard while a key
// is down. The compositor names those keys in its enter event; SDL 2.26.5
// (keyboard_handle_enter) takes only the modifiers among them as down, so
// the game never saw the rest until they were pressed again, and the first
// press on a keyboard that had just come was often lost. Here each key the
// enter names reaches SDL as a press right after SDL has taken the enter,
// as DirectInput shows a key that is down whenever it went down.
//
// A press tells SDL the compositor's time of it, from which SDL counts the
// key's repeats when it is let go. The compositor's clock is not ours to
// read: such a key is told as pressed at 0 and, when let go, as let go at
// the time since the enter by SDL's clock.
#include "WaylandListeners.h"

#include <SDL.h>

#include <algorithm>
#include <vector>

namespace plat {
namespace {

// wl_keyboard's events, all six SDL 2.26 listens for.
struct KeyboardListener {
    void (*keymap)(void* data, void* keyboard, uint32_t format, int32_t fd, uint32_t size);
    void (*enter)(void* data, void* keyboard, uint32_t serial, void* surface, WaylandArray* keys);
    void (*leave)(void* data, void* keyboard, uint32_t serial, void* surface);
    void (*key)(void* data, void* keyboard, uint32_t serial, uint32_t time, uint32_t key, uint32_t state);
    void (*modifiers)(void* data, void* keyboard, uint32_t serial, uint32_t depressed, uint32_t latched,
                      uint32_t locked, uint32_t group);
    void (*repeatInfo)(void* data, void* keyboard, int32_t rate, int32_t delay);
};
constexpr uint32_t kReleased = 0, kPressed = 1;

// What libwayland calls for one keyboard: the listener first, then SDL's
// own and the keys the last enter named that have not been let go since.
struct HeldKeyboard {
    KeyboardListener listener;
    const KeyboardListener* sdl;
    std::vector<uint32_t> held;
    Uint32 enteredAt;
};

HeldKeyboard* Held(void* keyboard) { return (HeldKeyboard*)ListenerOf(keyboard); }

void Enter(void* data, void* keyboard, uint32_t serial, void* surface, WaylandArray* keys)
{
    HeldKeyboard* h = Held(keyboard);
    h->sdl->enter(data, keyboard, serial, surface, keys);
    h->held.clear();
    // SDL takes no enter to a surface not its own, nor to none.
    if (!surface || !SDL_GetKeyboardFocus()) return;
    h->enteredAt = SDL_GetTicks();
    const auto* key = static_cast<const uint32_t*>(keys->data);
    for (size_t i = 0; i < keys->size / sizeof *key; ++i) {
        h->held.push_back(key[i]);
        h->sdl->key(data, keyboard, serial, 0, key[i], kPressed);
    }
}

void Key(void* data, void* keyboard, uint32_t serial, uint32_t time, uint32_t key, uint32_t state)
{
    HeldKeyboard* h = Held(keyboard);
    auto was = std::find(h->held.begin(), h->held.end(), key);
    if (was != h->held.end()) {
        h->held.erase(was);
        if (state == kReleased) time = SDL_GetTicks() - h->enteredAt;
    }
    h->sdl->key(data, keyboard, serial, time, key, state);
}

void Leave(void* data, void* keyboard, uint32_t serial, void* surface)
{
    HeldKeyboard* h = Held(keyboard);
    h->held.clear();
    h->sdl->leave(data, keyboard, serial, surface);
}

void Keymap(void* data, void* keyboard, uint32_t format, int32_t fd, uint32_t size)
{
    Held(keyboard)->sdl->keymap(data, keyboard, format, fd, size);
}

void Modifiers(void* data, void* keyboard, uint32_t serial, uint32_t depressed, uint32_t latched, uint32_t locked,
               uint32_t group)
{
    Held(keyboard)->sdl->modifiers(data, keyboard, serial, depressed, latched, locked, group);
}

void RepeatInfo(void* data, void* keyboard, int32_t rate, int32_t delay)
{
    Held(keyboard)->sdl->repeatInfo(data, keyboard, rate, delay);
}

}  // namespace

const void* FollowHeldKeys(void* keyboard, const void* sdl)
{
    (void)keyboard;
    // One comes each time the seat gains a keyboard.
    return &KeepForever(HeldKeyboard{{Keymap, Enter, Leave, Key, Modifiers, RepeatInfo},
                                     static_cast<const KeyboardListener*>(sdl), {}, 0})
                ->listener;
}

}  // namespace plat
