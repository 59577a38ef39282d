// Replay scripts: lines of "<count> <keys>", keys "-" or names joined by "+".
#ifndef VORBLOX_TOOLS_REPLAY_SCRIPT_H
#define VORBLOX_TOOLS_REPLAY_SCRIPT_H

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

#endif
