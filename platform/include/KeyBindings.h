// Keys and controller buttons of the player's choosing for the game's
// actions (the Linux build and the page; Windows has the game's own keys).
// A binding turns a physical key or control into one of the game's own
// keys before the game reads its keyboard, so the game, its recordings and
// the replay runner see nothing but the game's keys.
//
// The text, one action a line (blank lines and lines starting with # are
// left alone):
//     drop = S, Down
//     turn-ccw = W, pad:a
//     quit = Escape, pad:back+start
// Keys are SDL's names (any case; "Comma" and "Keypad Comma" for the keys
// whose names would be the separator), controller controls `pad:` and SDL's
// button name, a stick pushed one way (pad:left-stick-down) or a trigger
// (pad:left-trigger), and buttons held together joined by +. The keys a line
// lists replace the action's default keys; its controller controls replace
// the default controls; whatever it does not mention stays as it was.
#ifndef VORBLOX_PLATFORM_KEY_BINDINGS_H
#define VORBLOX_PLATFORM_KEY_BINDINGS_H

#include <string>

namespace plat {

// Reads bindings text and, when it is good, plays by it from the next
// keyboard read. False with *error ("line 3: unknown action 'jump' ...")
// and nothing changed when it is not.
bool UseBindingsText(const std::string& text, std::string* error);

// Reads the bindings file at `path`, or with null the player's own one
// ($XDG_CONFIG_HOME/vorblox/bindings, else ~/.config/vorblox/bindings),
// where a missing file means the defaults. False with *error naming the
// file (and the line) when it cannot be read or is malformed.
bool LoadBindingsFile(const char* path, std::string* error);

// Back to the game's own keys and buttons (PlatformTest::Reset does this too).
void UseDefaultBindings();

// The keyboard keys bound to an action ("quit", "new-game"...), as the
// player would name them: "Q", "Esc" (the game's own name for it),
// "Up or Left Shift"; "" for none.
std::string ActionKeyNames(const std::string& action);

// The bindings in force, in the file's form: every action's line.
std::string BindingsText();

}  // namespace plat

#endif
