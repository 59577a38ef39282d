#include "KeyTakers.h"

#include <SDL.h>

#include <algorithm>
#include <set>
#include <vector>

namespace plat {
namespace {

struct Takers {
    std::vector<KeyTaker> takers;
    std::set<SDL_Scancode> held;  // taken presses not yet released
};

Takers& State()
{
    static auto* state = new Takers;
    return *state;
}

}  // namespace

void AddKeyTaker(KeyTaker taker)
{
    std::vector<KeyTaker>& takers = State().takers;
    if (std::find(takers.begin(), takers.end(), taker) == takers.end()) takers.push_back(taker);
}

bool TakeKey(HWND window, const SDL_KeyboardEvent& e)
{
    Takers& state = State();
    SDL_Scancode key = e.keysym.scancode;
    if (e.type == SDL_KEYUP) return state.held.erase(key) > 0;
    if (state.held.count(key)) return true;  // its repeats
    for (KeyTaker taker : state.takers) {
        if (taker(window, e)) {
            state.held.insert(key);
            return true;
        }
    }
    return false;
}

bool KeyTaken(int scancode) { return State().held.count((SDL_Scancode)scancode) > 0; }

}  // namespace plat
