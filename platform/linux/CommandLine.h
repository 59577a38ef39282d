// The Linux game's command line. Windows starts the game without options;
// here the desktop can ask for a few things the layer does itself. Each
// option is one row of the table in CommandLine.cpp.
#ifndef VORBLOX_PLATFORM_COMMAND_LINE_H
#define VORBLOX_PLATFORM_COMMAND_LINE_H

#include <string>

namespace plat {

struct Options {
    int scale = 0;                   // 1 to 4; 0: the desktop's
    const char* scaleFrom = nullptr;   // who asked for it: "--scale" or "VORBLOX_SCALE"
    const char* recordPath = nullptr;  // --record FILE
    const char* watchPath = nullptr;   // --watch FILE
};

enum class Parsed {
    Run,      // start the game with the options
    Done,     // --help or --version answered; exit 0
    BadUsage  // a message went to stderr; exit 2
};

// Reads argv, then the environment where an option leaves something open
// (the command line wins). Help and version go to stdout, complaints to
// stderr.
Parsed ParseCommandLine(int argc, char** argv, Options* options);

}  // namespace plat

#endif
