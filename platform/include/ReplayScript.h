// Replay scripts: lines of "<count> <keys>", keys "-" or names joined by "+".
// The replay runner plays them headless; the Linux game writes its
// recordings in the same form and watches them in its window. Scripts are
// read a step at a time (ReplayReader.h).
#ifndef VORBLOX_PLATFORM_REPLAY_SCRIPT_H
#define VORBLOX_PLATFORM_REPLAY_SCRIPT_H

#include <stdint.h>

#include <istream>
#include <string>
#include <vector>

struct ReplayStep {
    uint64_t ticks = 0;               // how many ticks the keys are held for
    std::vector<unsigned char> keys;  // keyboard scan codes held during them
};

// The key names a script may use, with their scan codes.
struct ReplayKeyName {
    const char* name;
    unsigned char code;
};
extern const ReplayKeyName replayKeyNames[];
extern const int replayKeyNameCount;

// The first line of every recording the game writes.
extern const char replayRecordingHeader[];

enum class ReplayLineKind { Step, Blank, Bad };
// One line, without its line end. Blank for an empty line or a comment;
// Bad with *problem saying what is wrong (without the line's number).
ReplayLineKind ParseReplayLine(const char* begin, const char* end, ReplayStep* step, std::string* problem);

// Reads a whole script from a stream (for tests and tools that hold one in
// memory). On a malformed line returns false with *error naming the line.
bool ParseReplayScript(std::istream& in, std::vector<ReplayStep>* steps, std::string* error);

// One script line, without its line end: "12 LEFT+DOWN", or "3 -". Only
// the keys that have names are written, in the order of replayKeyNames.
std::string ReplayLine(uint64_t ticks, const std::vector<unsigned char>& keys);

#endif
