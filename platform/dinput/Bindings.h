// The bindings table both input sources read: which physical keys and
// controller controls give which of the game's own keys. The text form and
// its checks are in BindingsText.cpp; the public face is KeyBindings.h.
#ifndef VORBLOX_PLATFORM_BINDINGS_H
#define VORBLOX_PLATFORM_BINDINGS_H

#include <SDL.h>
#include <windows.h>

#include <functional>
#include <vector>

namespace plat {

// The game's actions, in the order its help lists them.
enum BindingAction { kNewGame, kQuit, kMoveLeft, kMoveRight, kTurnCcw, kTurnCw, kDrop, kActionCount };

struct ActionInfo {
    const char* name;   // in the file: "turn-ccw"
    const char* words;  // in messages: "turns counter-clockwise"
    BYTE keys[3];       // the game's keys for it, the first the one it gets by default
};
extern const ActionInfo actionInfo[kActionCount];

// A control of a game controller: one of SDL's buttons, or from padAxisBase
// on a stick or trigger pushed one way (padAxisBase + axis * 2 + 1 for the
// positive way).
const int padAxisBase = 32;
inline int PadAxisControl(int axis, bool positive) { return padAxisBase + axis * 2 + (positive ? 1 : 0); }

// One physical input bound to an action: a key, or controller controls
// held together (sorted; one for a plain button).
struct Binding {
    int action = 0;
    SDL_Scancode key = SDL_SCANCODE_UNKNOWN;
    std::vector<int> pad;
    int line = 0;  // the line of the text it came from; 0 for a default
};

std::vector<Binding> DefaultBindings();
// Plays by these from the next read on; they are taken as checked.
void SetBindings(const std::vector<Binding>& bindings);
const std::vector<Binding>& CurrentBindings();

// What a key held down gives the game: the game key it is bound to; 0 for
// a key of the game's own that is bound to nothing (rebound away); else
// `own`, its DirectInput code, which the game does not read.
BYTE BoundKey(SDL_Scancode scancode, BYTE own);

// Marks in `keys` the game keys of the controller bindings whose controls
// are all held, leaving out a binding whose controls are part of a larger
// one held (Start inside Back with Start). With `only` 0 or more, only the
// bindings that have that control (it was just pressed).
void MarkPadKeys(const std::function<bool(int control)>& held, int only, BYTE* keys);

}  // namespace plat

#endif
