// Replay scripts: lines of "<count> <keys>", keys "-" or names joined by "+".
// The replay runner plays them headless; the Linux game writes its
// recordings in the same form and watches them in its window.
#ifndef VORBLOX_PLATFORM_REPLAY_SCRIPT_H
#define VORBLOX_PLATFORM_REPLAY_SCRIPT_H

#include <stdint.h>

#include <istream>
#include <string>
#include <vector>

struct ReplayStep {
    uint64_t ticks;                   // how many ticks the keys are held for
    std::vector<unsigned char> keys;  // keyboard scan codes held during them
};

// The key names a script may use, with their scan codes.
struct ReplayKeyName {
    const char* name;
    unsigned char code;
};
extern const ReplayKeyName replayKeyNames[];
extern const int replayKeyNameCount;

// Reads a whole script. On a malformed line returns false with *error
// naming the line ("line 3: ...").
bool ParseReplayScript(std::istream& in, std::vector<ReplayStep>* steps, std::string* error);

// Reads the script in the file at `path` ("-": standard input). False with
// *error naming the file, and the line when one is malformed
// ("game.txt: line 3: ...", "cannot read game.txt: No such file ...").
bool LoadReplayScript(const char* path, std::vector<ReplayStep>* steps, std::string* error);

// One script line, without its line end: "12 LEFT+DOWN", or "3 -". Only
// the keys that have names are written, in the order of replayKeyNames.
std::string ReplayLine(uint64_t ticks, const std::vector<unsigned char>& keys);

#endif
