// vorblox-replay [--trace] [--frame FILE.bmp] SCRIPT
// Plays a script of held keys through the real game, headless and without
// pausing between ticks, and prints the game state as JSON.
#include <ReplayScript.h>

#include "tools/replay/ReplaySession.h"

#include <cstdio>
#include <cstring>
#include <string>

namespace {

const int exitUsage = 2;
const int exitFailure = 1;

int Usage(const char* problem)
{
    std::fprintf(stderr, "vorblox-replay: %s\nusage: vorblox-replay [--trace] [--frame FILE.bmp] SCRIPT\n", problem);
    return exitUsage;
}

}  // namespace

int main(int argc, char** argv)
{
    bool trace = false;
    const char* framePath = nullptr;
    const char* scriptPath = nullptr;
    for (int i = 1; i < argc; ++i) {
        if (!std::strcmp(argv[i], "--trace")) {
            trace = true;
        } else if (!std::strcmp(argv[i], "--frame")) {
            if (++i == argc) return Usage("--frame needs a file name");
            framePath = argv[i];
        } else if (argv[i][0] == '-' && argv[i][1] != '\0') {
            return Usage((std::string("unknown option ") + argv[i]).c_str());
        } else if (scriptPath) {
            return Usage("only one SCRIPT, after the options");
        } else {
            scriptPath = argv[i];
            if (i + 1 != argc) return Usage("options come before SCRIPT");
        }
    }
    if (!scriptPath) return Usage("no SCRIPT given (a path, or - for standard input)");

    std::vector<ReplayStep> steps;
    std::string error;
    if (!LoadReplayScript(scriptPath, &steps, &error)) {
        std::fprintf(stderr, "vorblox-replay: %s\n", error.c_str());
        return exitUsage;
    }

    ReplaySession session;
    if (!session.Start()) {
        std::fprintf(stderr, "vorblox-replay: the game did not start\n");
        return exitFailure;
    }
    for (const ReplayStep& step : steps) {
        for (uint64_t t = 0; t < step.ticks && !session.Quit(); ++t) {
            session.Tick(step.keys);
            if (trace) std::printf("%s\n", session.StateJson().c_str());
        }
    }
    if (!trace || session.Ticks() == 0) std::printf("%s\n", session.StateJson().c_str());
    if (std::fflush(stdout) != 0) return exitFailure;

    if (framePath && !session.WriteFrame(framePath, &error)) {
        std::fprintf(stderr, "vorblox-replay: %s\n", error.c_str());
        return exitFailure;
    }
    return 0;
}
