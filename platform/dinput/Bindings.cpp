#include "Bindings.h"

#include "Core.h"
#include "ScanCodes.h"

#include <KeyBindings.h>
#include <dinput.h>

#include <algorithm>

namespace plat {

const ActionInfo actionInfo[kActionCount] = {
    {"new-game", "starts a new game", {DIK_F1}},
    {"quit", "quits", {DIK_ESCAPE}},
    {"left", "moves left", {DIK_LEFT}},
    {"right", "moves right", {DIK_RIGHT}},
    // Up and both Shifts are three keys of the game's own for one turn.
    {"turn-ccw", "turns counter-clockwise", {DIK_UP, DIK_LSHIFT, DIK_RSHIFT}},
    {"turn-cw", "turns clockwise", {DIK_LCONTROL, DIK_RCONTROL}},
    {"drop", "drops", {DIK_DOWN}},
};

namespace {

struct Table {
    std::vector<Binding> bindings;
    BYTE keys[SDL_NUM_SCANCODES] = {};  // the game key each key gives; 0: none
    bool gameKey[256] = {};
};

// A key bound to an action gives the game key it is itself when the action
// has that one (Left Shift stays LSHIFT), else the action's first.
BYTE GameKeyOf(const Binding& b, BYTE own)
{
    for (BYTE key : actionInfo[b.action].keys)
        if (key && key == own) return key;
    return actionInfo[b.action].keys[0];
}

Table& TheTable()
{
    static Table* table = [] {
        AddResetHook([] { UseDefaultBindings(); });
        auto* made = new Table;
        for (const ActionInfo& action : actionInfo)
            for (BYTE key : action.keys)
                if (key) made->gameKey[key] = true;
        return made;
    }();
    return *table;
}

Binding Key(int action, SDL_Scancode key)
{
    Binding b;
    b.action = action;
    b.key = key;
    return b;
}

Binding Pad(int action, std::vector<int> controls)
{
    Binding b;
    b.action = action;
    b.pad = controls;
    std::sort(b.pad.begin(), b.pad.end());
    return b;
}

}  // namespace

std::vector<Binding> DefaultBindings()
{
    const int leftX = SDL_CONTROLLER_AXIS_LEFTX, leftY = SDL_CONTROLLER_AXIS_LEFTY;
    return {
        Key(kNewGame, SDL_SCANCODE_F1),
        Key(kQuit, SDL_SCANCODE_ESCAPE),
        Key(kMoveLeft, SDL_SCANCODE_LEFT),
        Key(kMoveRight, SDL_SCANCODE_RIGHT),
        Key(kTurnCcw, SDL_SCANCODE_UP),
        Key(kTurnCcw, SDL_SCANCODE_LSHIFT),
        Key(kTurnCcw, SDL_SCANCODE_RSHIFT),
        Key(kTurnCw, SDL_SCANCODE_LCTRL),
        Key(kTurnCw, SDL_SCANCODE_RCTRL),
        Key(kDrop, SDL_SCANCODE_DOWN),
        Pad(kNewGame, {SDL_CONTROLLER_BUTTON_START}),
        Pad(kQuit, {SDL_CONTROLLER_BUTTON_BACK, SDL_CONTROLLER_BUTTON_START}),
        Pad(kMoveLeft, {SDL_CONTROLLER_BUTTON_DPAD_LEFT}),
        Pad(kMoveLeft, {PadAxisControl(leftX, false)}),
        Pad(kMoveRight, {SDL_CONTROLLER_BUTTON_DPAD_RIGHT}),
        Pad(kMoveRight, {PadAxisControl(leftX, true)}),
        Pad(kTurnCcw, {SDL_CONTROLLER_BUTTON_A}),
        Pad(kTurnCcw, {SDL_CONTROLLER_BUTTON_Y}),
        Pad(kTurnCw, {SDL_CONTROLLER_BUTTON_B}),
        Pad(kTurnCw, {SDL_CONTROLLER_BUTTON_X}),
        Pad(kDrop, {SDL_CONTROLLER_BUTTON_DPAD_DOWN}),
        Pad(kDrop, {PadAxisControl(leftY, true)}),
    };
}

void SetBindings(const std::vector<Binding>& bindings)
{
    Table& t = TheTable();
    t.bindings = bindings;
    std::fill(std::begin(t.keys), std::end(t.keys), 0);
    for (const Binding& b : bindings)
        if (b.pad.empty() && b.key > SDL_SCANCODE_UNKNOWN && b.key < SDL_NUM_SCANCODES)
            t.keys[b.key] = GameKeyOf(b, ScancodeKey(b.key));
}

const std::vector<Binding>& CurrentBindings()
{
    Table& t = TheTable();
    if (t.bindings.empty()) SetBindings(DefaultBindings());
    return t.bindings;
}

void UseDefaultBindings() { SetBindings(DefaultBindings()); }

BYTE BoundKey(SDL_Scancode scancode, BYTE own)
{
    CurrentBindings();
    const Table& t = TheTable();
    if (t.keys[scancode]) return t.keys[scancode];
    return t.gameKey[own] ? 0 : own;
}

void MarkPadKeys(const std::function<bool(int control)>& held, int only, BYTE* keys)
{
    const std::vector<Binding>& bindings = CurrentBindings();
    std::vector<const Binding*> active;
    for (const Binding& b : bindings)
        if (!b.pad.empty() && std::all_of(b.pad.begin(), b.pad.end(), held)) active.push_back(&b);
    for (const Binding* b : active) {
        bool inside = std::any_of(active.begin(), active.end(), [b](const Binding* larger) {
            return larger->pad.size() > b->pad.size() &&
                   std::includes(larger->pad.begin(), larger->pad.end(), b->pad.begin(), b->pad.end());
        });
        bool pressed = only < 0 || std::find(b->pad.begin(), b->pad.end(), only) != b->pad.end();
        if (!inside && pressed) keys[GameKeyOf(*b, 0)] = 0x80;
    }
}

}  // namespace plat
