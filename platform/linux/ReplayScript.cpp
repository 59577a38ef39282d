#include <ProgramOptions.h>
#include <ReplayScript.h>

#include <dinput.h>
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>

const ReplayKeyName replayKeyNames[] = {
    {"F1", DIK_F1},         {"ESC", DIK_ESCAPE},      {"LEFT", DIK_LEFT},     {"RIGHT", DIK_RIGHT},
    {"UP", DIK_UP},         {"DOWN", DIK_DOWN},       {"LSHIFT", DIK_LSHIFT}, {"RSHIFT", DIK_RSHIFT},
    {"LCTRL", DIK_LCONTROL}, {"RCTRL", DIK_RCONTROL},
};
const int replayKeyNameCount = sizeof replayKeyNames / sizeof replayKeyNames[0];

namespace {

// Larger counts are surely a typo, and would run for years.
const uint64_t maxTicks = 1000000000000ull;

bool ParseCount(const std::string& text, uint64_t* count)
{
    if (text.empty() || text.size() > 13) return false;
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

}  // namespace

bool ParseReplayScript(std::istream& in, std::vector<ReplayStep>* steps, std::string* error)
{
    std::string line;
    for (int number = 1; std::getline(in, line); ++number) {
        // Some editors begin a UTF-8 file with a byte-order mark.
        if (number == 1 && line.compare(0, 3, "\xEF\xBB\xBF") == 0) line.erase(0, 3);
        std::istringstream fields(line);
        std::string count, keys, extra;
        if (!(fields >> count) || count[0] == '#') continue;
        std::ostringstream problem;
        ReplayStep step;
        std::string badKey;
        if (!ParseCount(count, &step.ticks))
            problem << "the count " << plat::Quoted(count) << " is not a whole number from 1 to " << maxTicks;
        else if (!(fields >> keys))
            problem << "keys are missing after the count (use - for none)";
        else if (fields >> extra)
            problem << "unexpected " << plat::Quoted(extra) << " after the keys";
        else if (!ParseKeys(keys, &step.keys, &badKey))
            problem << "unknown key " << plat::Quoted(badKey) << " (keys: - or " << KeyNameList() << ", joined by +)";
        if (!problem.str().empty()) {
            *error = "line " + std::to_string(number) + ": " + problem.str();
            return false;
        }
        steps->push_back(step);
    }
    return true;
}

bool LoadReplayScript(const char* path, std::vector<ReplayStep>* steps, std::string* error)
{
    std::string problem;
    bool parsed = false;
    const std::string quoted = plat::Quoted(path);
    if (!std::strcmp(path, "-")) {
        // Read through stdio: the C++ standard streams would be set up in
        // every program that links this, the game included, for nothing.
        std::string text;
        char buffer[4096];
        for (size_t n; (n = std::fread(buffer, 1, sizeof buffer, stdin)) > 0;) text.append(buffer, n);
        std::istringstream in(text);
        parsed = ParseReplayScript(in, steps, &problem);
    } else {
        // A directory opens like a file and then reads as nothing at all.
        struct stat info;
        if (stat(path, &info) == 0 && S_ISDIR(info.st_mode)) {
            *error = "cannot read " + quoted + ": " + std::strerror(EISDIR);
            return false;
        }
        std::ifstream file(path);
        if (!file) {
            *error = "cannot read " + quoted + ": " + std::strerror(errno);
            return false;
        }
        parsed = ParseReplayScript(file, steps, &problem);
        if (parsed && file.bad()) {
            *error = "cannot read " + quoted + ": a read error";
            return false;
        }
    }
    // Named as compilers name a file before a line number: unquoted, but
    // with anything unprintable escaped.
    if (!parsed)
        *error = (std::strcmp(path, "-") ? quoted.substr(1, quoted.size() - 2) : "standard input") + ": " + problem;
    return parsed;
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
