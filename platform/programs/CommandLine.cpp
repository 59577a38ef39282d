#include "CommandLine.h"

#include "DisplayScale.h"

#include <cstdlib>
#include <cstring>
#include <string>

#ifndef VORBLOX_VERSION
#define VORBLOX_VERSION "unknown"
#endif

namespace plat {
namespace {

bool ReadScale(const char* value, const char* from, int* scale, std::string* problem)
{
    uint64_t number = 0;
    if (ParseWholeNumber(value, kMinScale, kMaxScale, &number)) {
        *scale = (int)number;
        return true;
    }
    *problem = std::string(from) + " wants a whole number from " + std::to_string(kMinScale) + " to " +
               std::to_string(kMaxScale) + ", not " + Quoted(value);
    return false;
}

bool ReadFileName(const char* value, const char* option, const char** path, std::string* problem)
{
    if (*value) {
        *path = value;
        return true;
    }
    *problem = std::string(option) + " needs a file name, not an empty one";
    return false;
}

// The seconds of M:SS, always two digits (1:05).
bool TwoDigitSeconds(const char* text, uint64_t* seconds)
{
    if (std::strlen(text) != 2 || text[0] < '0' || text[0] > '5' || text[1] < '0' || text[1] > '9') return false;
    *seconds = (uint64_t)(text[0] - '0') * 10 + (uint64_t)(text[1] - '0');
    return true;
}

// A moment of a recording: a tick count, or minutes and seconds (1:30).
bool ReadMoment(const char* value, uint64_t* tick, std::string* problem)
{
    const uint64_t longest = 1000000000000ull;
    const char* colon = std::strchr(value, ':');
    uint64_t minutes = 0, seconds = 0;
    if (!colon ? ParseWholeNumber(value, 0, longest, tick)
               : ParseWholeNumber(std::string(value, colon).c_str(), 0, longest / 3840, &minutes) &&
                     TwoDigitSeconds(colon + 1, &seconds)) {
        if (colon) *tick = (minutes * 60 + seconds) * 64;
        return true;
    }
    *problem = "--from wants a tick count (64 a second) or minutes and seconds such as 1:30, not " + Quoted(value);
    return false;
}

}  // namespace

ParseResult ParseCommandLine(int argc, char** argv, Options* options)
{
    const ProgramInfo info = {
        "vorblox", VORBLOX_VERSION, "", 0, 0,
        "A falling-block puzzle game. Keys: F1 new game, Esc quit, Left/Right move,\n"
        "Up or Shift turn counter-clockwise, Ctrl turn clockwise, Down drop faster\n"
        "(or the keys of the bindings file). Game controllers play beside the keyboard.",
        "Watching a recording (--watch), these keys control it:\n"
        "  Space             pause, or play on when paused\n"
        "  [ and ]           slower and faster: 1/2, 1, 2, 4, 8 times, or as fast\n"
        "                    as it goes\n"
        "  Left and Right    5 seconds back and ahead\n"
        "  Home              back to the start\n"
        "  Enter             play from here: your keys play the game on\n"
        "  Esc               quit\n"
        "The title says where the game is. With --record as well, the recording\n"
        "holds the watched game up to where you played on, then yours.\n"
        "\n"
        "Files:\n"
        "  $XDG_CONFIG_HOME/vorblox/bindings (else ~/.config/vorblox/bindings)\n"
        "                    keys and controller buttons of your choosing, lines\n"
        "                    such as 'drop = S, Down' (man vorblox has the details)\n"
        "\n"
        "Environment:\n"
        "  VORBLOX_SCALE     the scale where --scale is not given, 1 to 4; empty\n"
        "                    counts as unset, any other value is refused\n"
        "  GDK_SCALE, the X resource Xft.dpi\n"
        "                    the desktop's scale, used when neither is given"};
    const std::vector<ProgramOption> table = {
        {"--scale", "N", "a whole number from 1 to 4",
         "show each pixel as N x N screen pixels, N from 1 to 4\n(default: VORBLOX_SCALE, else the desktop's)",
         [options](const char* value, std::string* problem) {
             options->scaleFrom = "--scale";
             return ReadScale(value, "--scale", &options->scale, problem);
         }},
        {"--record", "FILE", "a file name", "record the game played in FILE (-: standard output)",
         [options](const char* value, std::string* problem) {
             return ReadFileName(value, "--record", &options->recordPath, problem);
         }},
        {"--watch", "FILE", "a file name or a link",
         "play the game recorded in FILE back (-: standard input);\nFILE may be a link to a game, or a file holding one",
         [options](const char* value, std::string* problem) {
             return ReadFileName(value, "--watch", &options->watchPath, problem);
         }},
        {"--from", "WHEN", "a tick count or M:SS",
         "watch from WHEN: a tick count (64 a second), or minutes and\nseconds such as 1:30",
         [options](const char* value, std::string* problem) {
             return ReadMoment(value, &options->watchStart.from, problem);
         }},
        {"--speed", "SPEED", "1/2, 1, 2, 4, 8 or max", "watch at SPEED times the game's own: 1/2, 1, 2, 4, 8 or max",
         [options](const char* value, std::string* problem) {
             if (ParseWatchSpeed(value, &options->watchStart.speed)) return true;
             *problem = "--speed wants 1/2, 1, 2, 4, 8 or max, not " + Quoted(value);
             return false;
         }},
        {"--paused", nullptr, nullptr, "start the watch paused",
         [options](const char*, std::string*) { return options->watchStart.paused = true; }},
        {"--bindings", "FILE", "a file name",
         "take the keys and controller buttons from FILE, not from\nthe bindings file in ~/.config/vorblox",
         [options](const char* value, std::string* problem) {
             return ReadFileName(value, "--bindings", &options->bindingsPath, problem);
         }},
        {"--fullscreen", nullptr, nullptr, "start full screen; F11 or Alt+Enter toggles it while playing",
         [options](const char*, std::string*) {
             options->fullScreen = true;
             return true;
         }},
    };
    std::vector<const char*> operands;
    ParseResult result = ParseProgramOptions(info, table, argc, argv, &operands);
    if (result != ParseResult::Run) return result;
    if (!options->watchPath && (options->watchStart.from || options->watchStart.paused ||
                                options->watchStart.speed != kNormalSpeed)) {
        Complain("--from, --speed and --paused are for --watch");
        return ParseResult::BadUsage;
    }
    // Checked even when --scale wins, so that a bad setting is found the
    // first time, not on the day the option is left out.
    const char* environment = std::getenv("VORBLOX_SCALE");
    if (environment && *environment) {
        int scale = 0;
        std::string problem;
        if (!ReadScale(environment, "VORBLOX_SCALE", &scale, &problem)) {
            Complain(problem);
            return ParseResult::BadUsage;
        }
        if (options->scale == 0) {
            options->scale = scale;
            options->scaleFrom = "VORBLOX_SCALE";
        }
    }
    return ParseResult::Run;
}

}  // namespace plat
