// The Linux game's command line. Windows starts the game without options;
// here the desktop can ask for a few things the layer does itself. Each
// option is one row of the table in CommandLine.cpp; the manners (help,
// version, messages, exit codes) are the ones ProgramOptions.h gives both
// Linux programs.
#ifndef VORBLOX_PLATFORM_COMMAND_LINE_H
#define VORBLOX_PLATFORM_COMMAND_LINE_H

#include "Watching.h"

#include <ProgramOptions.h>

namespace plat {

struct Options {
    int scale = 0;                     // 1 to 4; 0: the desktop's
    const char* scaleFrom = nullptr;   // who asked for it: "--scale" or "VORBLOX_SCALE"
    const char* recordPath = nullptr;  // --record FILE ("-": standard output)
    const char* watchPath = nullptr;   // --watch FILE ("-": standard input)
    const char* bindingsPath = nullptr;  // --bindings FILE; null: the player's own file, if any
    bool fullScreen = false;           // --fullscreen
    WatchStart watchStart;             // --from, --speed, --paused
};

// Reads argv, then the environment: VORBLOX_SCALE gives the scale where
// --scale does not, and a bad value is a mistake either way. Help and
// version go to stdout, complaints to stderr.
ParseResult ParseCommandLine(int argc, char** argv, Options* options);

}  // namespace plat

#endif
