#include <ProgramOptions.h>
#include <ReplayScript.h>

#include <dinput.h>

#include <algorithm>
#include <cstring>

const ReplayKeyName replayKeyNames[] = {
    {"F1", DIK_F1},         {"ESC", DIK_ESCAPE},      {"LEFT", DIK_LEFT},     {"RIGHT", DIK_RIGHT},
    {"UP", DIK_UP},         {"DOWN", DIK_DOWN},       {"LSHIFT", DIK_LSHIFT}, {"RSHIFT", DIK_RSHIFT},
    {"LCTRL", DIK_LCONTROL}, {"RCTRL", DIK_RCONTROL},
};
const int replayKeyNameCount = sizeof replayKeyNames / sizeof replayKeyNames[0];

const char replayRecordingHeader[] = "# A game of Vorblox: ticks (64 a second) and the keys held in them.";

namespace {

// Larger counts are surely a typo, and would run for years.
const uint64_t maxTicks = 1000000000000ull;

bool Blank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f'; }

// Leading zeros are taken however many there are: a script lined up by
// hand ("007 DOWN") means the same as without them.
bool ParseCount(const std::string& text, uint64_t* count)
{
    size_t first = text.find_first_not_of('0');
    if (text.empty() || (first != std::string::npos && text.size() - first > 13)) return false;
    uint64_t value = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return false;
        value = value * 10 + (uint64_t)(c - '0');
    }
    if (value == 0 || value > maxTicks) return false;
    *count = value;
    return true;
}

bool ParseKeys(const std::string& text, std::vector<unsigned char>* keys, std::string* bad)
{
    if (text == "-") return true;
    size_t start = 0;
    for (;;) {
        size_t plus = text.find('+', start);
        std::string name = text.substr(start, plus == std::string::npos ? std::string::npos : plus - start);
        int i = 0;
        while (i < replayKeyNameCount && name != replayKeyNames[i].name) ++i;
        if (i == replayKeyNameCount) {
            *bad = name;
            return false;
        }
        // A key named twice is held once, as the game holds it.
        if (std::find(keys->begin(), keys->end(), replayKeyNames[i].code) == keys->end())
            keys->push_back(replayKeyNames[i].code);
        if (plus == std::string::npos) return true;
        start = plus + 1;
    }
}

std::string KeyNameList()
{
    std::string list;
    for (int i = 0; i < replayKeyNameCount; ++i) {
        if (i) list += ' ';
        list += replayKeyNames[i].name;
    }
    return list;
}

// The next blank-separated word from *at, empty at the line's end.
std::string Word(const char** at, const char* end)
{
    const char* c = *at;
    while (c < end && Blank(*c)) ++c;
    const char* from = c;
    while (c < end && !Blank(*c)) ++c;
    *at = c;
    return std::string(from, c);
}

}  // namespace

ReplayLineKind ParseReplayLine(const char* begin, const char* end, ReplayStep* step, std::string* problem)
{
    const char* at = begin;
    std::string count = Word(&at, end);
    if (count.empty() || count[0] == '#') return ReplayLineKind::Blank;
    std::string keys = Word(&at, end), extra = Word(&at, end), badKey;
    step->keys.clear();
    if (!ParseCount(count, &step->ticks))
        *problem = "the count " + plat::Quoted(count) + " is not a whole number from 1 to " + std::to_string(maxTicks);
    else if (keys.empty())
        *problem = "keys are missing after the count (use - for none)";
    else if (!extra.empty())
        *problem = "unexpected " + plat::Quoted(extra) + " after the keys";
    else if (!ParseKeys(keys, &step->keys, &badKey))
        *problem = "unknown key " + plat::Quoted(badKey) + " (keys: - or " + KeyNameList() + ", joined by +)";
    else
        return ReplayLineKind::Step;
    return ReplayLineKind::Bad;
}

bool ParseReplayScript(std::istream& in, std::vector<ReplayStep>* steps, std::string* error)
{
    std::string line;
    for (int number = 1; std::getline(in, line); ++number) {
        if (number == 1 && line.compare(0, 3, "\xEF\xBB\xBF") == 0) line.erase(0, 3);
        ReplayStep step;
        std::string problem;
        switch (ParseReplayLine(line.data(), line.data() + line.size(), &step, &problem)) {
        case ReplayLineKind::Step: steps->push_back(step); break;
        case ReplayLineKind::Blank: break;
        case ReplayLineKind::Bad: *error = "line " + std::to_string(number) + ": " + problem; return false;
        }
    }
    return true;
}

std::string ReplayLine(uint64_t ticks, const std::vector<unsigned char>& keys)
{
    std::string names;
    for (int i = 0; i < replayKeyNameCount; ++i) {
        if (std::find(keys.begin(), keys.end(), replayKeyNames[i].code) == keys.end()) continue;
        if (!names.empty()) names += '+';
        names += replayKeyNames[i].name;
    }
    return std::to_string(ticks) + ' ' + (names.empty() ? "-" : names);
}
