#include "CommandLine.h"

#include "DisplayScale.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#ifndef VORBLOX_VERSION
#define VORBLOX_VERSION "unknown"
#endif

namespace plat {
namespace {

const char* program = "vorblox";

// Checks and stores one option's value; false after saying what is wrong.
typedef bool (*Apply)(const char* value, const char* from, Options* options);

struct Option {
    const char* name;   // "--scale"
    const char* value;  // what it takes, for the help ("N"); null: nothing
    const char* wants;  // the same in words, for a missing value
    const char* help;
    Apply apply;        // null for the ones answered at once (help, version)
};

bool ApplyScale(const char* value, const char* from, Options* options)
{
    char* end = nullptr;
    long scale = std::strtol(value, &end, 10);
    if (!*value || *end || scale < kMinScale || scale > kMaxScale) {
        std::fprintf(stderr, "%s: %s wants a whole number from %d to %d, not '%s'\n", program, from, kMinScale,
                     kMaxScale, value);
        return false;
    }
    options->scale = (int)scale;
    options->scaleFrom = from;
    return true;
}

bool ApplyRecord(const char* value, const char*, Options* options)
{
    options->recordPath = value;
    return true;
}

bool ApplyWatch(const char* value, const char*, Options* options)
{
    options->watchPath = value;
    return true;
}

const Option kOptions[] = {
    {"--scale", "N", "a whole number from 1 to 4",
     "show each pixel as N x N screen pixels, N from 1 to 4 (default:\n"
     "                 VORBLOX_SCALE, else the desktop's GDK_SCALE or Xft.dpi)",
     ApplyScale},
    {"--record", "FILE", "a file name", "record the game played in FILE", ApplyRecord},
    {"--watch", "FILE", "a file name", "play the game recorded in FILE back", ApplyWatch},
    {"--help", nullptr, nullptr, "print this help and exit", nullptr},
    {"--version", nullptr, nullptr, "print the version and exit", nullptr},
};

void PrintHelp()
{
    std::printf("Usage: %s [OPTION]...\n"
                "A falling-block puzzle game. Keys: F1 new game, Esc quit, Left/Right move,\n"
                "Up or Shift turn counter-clockwise, Ctrl turn clockwise, Down drop faster.\n\n",
                program);
    for (const Option& option : kOptions) {
        char left[32];
        std::snprintf(left, sizeof left, "%s%s%s", option.name, option.value ? " " : "",
                      option.value ? option.value : "");
        std::printf("  %-14s %s\n", left, option.help);
    }
}

bool TryHelp()
{
    std::fprintf(stderr, "Try '%s --help' for more information.\n", program);
    return false;
}

// The environment's say, for what the command line left open.
bool ReadEnvironment(Options* options)
{
    const char* scale = std::getenv("VORBLOX_SCALE");
    if (options->scale == 0 && scale && *scale) return ApplyScale(scale, "VORBLOX_SCALE", options);
    return true;
}

}  // namespace

Parsed ParseCommandLine(int argc, char** argv, Options* options)
{
    if (argc > 0 && argv[0] && *argv[0]) {
        const char* slash = std::strrchr(argv[0], '/');
        program = slash ? slash + 1 : argv[0];
    }
    for (int i = 1; i < argc; ++i) {
        const char* arg = argv[i];
        const char* equals = std::strchr(arg, '=');
        size_t nameLength = equals && std::strncmp(arg, "--", 2) == 0 ? (size_t)(equals - arg) : std::strlen(arg);
        const Option* found = nullptr;
        for (const Option& option : kOptions)
            if (std::strlen(option.name) == nameLength && std::strncmp(option.name, arg, nameLength) == 0)
                found = &option;
        if (!found) {
            if (arg[0] == '-')
                std::fprintf(stderr, "%s: unknown option '%s'\n", program, arg);
            else
                std::fprintf(stderr, "%s: unexpected argument '%s'\n", program, arg);
            TryHelp();
            return Parsed::BadUsage;
        }
        if (!found->apply) {
            if (equals) {
                std::fprintf(stderr, "%s: %s takes no value\n", program, found->name);
                TryHelp();
                return Parsed::BadUsage;
            }
            if (std::strcmp(found->name, "--help") == 0)
                PrintHelp();
            else
                std::printf("%s %s\n", program, VORBLOX_VERSION);
            return Parsed::Done;
        }
        const char* value = equals ? equals + 1 : (i + 1 < argc ? argv[++i] : nullptr);
        if (!value) {
            std::fprintf(stderr, "%s: %s needs %s\n", program, found->name, found->wants);
            TryHelp();
            return Parsed::BadUsage;
        }
        if (!found->apply(value, found->name, options)) return Parsed::BadUsage;
    }
    if (options->recordPath && options->watchPath) {
        std::fprintf(stderr, "%s: --record and --watch do not go together\n", program);
        return Parsed::BadUsage;
    }
    return ReadEnvironment(options) ? Parsed::Run : Parsed::BadUsage;
}

}  // namespace plat
