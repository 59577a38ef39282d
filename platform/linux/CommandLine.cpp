#include "CommandLine.h"

#include "DisplayScale.h"

#include <cstdlib>
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

}  // namespace

ParseResult ParseCommandLine(int argc, char** argv, Options* options)
{
    const ProgramInfo info = {
        "vorblox", VORBLOX_VERSION, "", 0, 0,
        "A falling-block puzzle game. Keys: F1 new game, Esc quit, Left/Right move,\n"
        "Up or Shift turn counter-clockwise, Ctrl turn clockwise, Down drop faster\n"
        "(or the keys of the bindings file). Game controllers play beside the keyboard.",
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
    if (options->recordPath && options->watchPath) {
        Complain("--record and --watch do not go together");
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
