// vorblox-replay [--trace] [--frame FILE.bmp] [--frame-sums] [--lose-surfaces TICK]
//                [--desktop-bits TICK:BITS] SCRIPT
// Plays a script of held keys through the real game, headless and without
// pausing between ticks, and prints the game state as JSON.
#include <ReplayScript.h>

#include "tools/replay/ReplaySession.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

const int exitUsage = 2;
const int exitFailure = 1;

int Usage(const char* problem)
{
    std::fprintf(stderr,
                 "vorblox-replay: %s\nusage: vorblox-replay [--trace] [--frame FILE.bmp] [--frame-sums]\n"
                 "                      [--lose-surfaces TICK] [--desktop-bits TICK:BITS] SCRIPT\n",
                 problem);
    return exitUsage;
}

// A whole number of ticks from 0 to 10^12, ending where `end` says.
bool ParseTick(const char* text, uint64_t* tick, char end)
{
    if (*text < '0' || *text > '9') return false;
    char* rest = nullptr;
    errno = 0;
    unsigned long long value = std::strtoull(text, &rest, 10);
    if (errno != 0 || value > 1000000000000ull || *rest != end) return false;
    *tick = value;
    return true;
}

}  // namespace

int main(int argc, char** argv)
{
    bool trace = false;
    bool frameSums = false;
    const char* framePath = nullptr;
    const char* scriptPath = nullptr;
    ReplaySession session;
    for (int i = 1; i < argc; ++i) {
        uint64_t tick = 0;
        if (!std::strcmp(argv[i], "--trace")) {
            trace = true;
        } else if (!std::strcmp(argv[i], "--frame-sums")) {
            frameSums = true;
        } else if (!std::strcmp(argv[i], "--frame")) {
            if (++i == argc) return Usage("--frame needs a file name");
            framePath = argv[i];
        } else if (!std::strcmp(argv[i], "--lose-surfaces")) {
            if (++i == argc || !ParseTick(argv[i], &tick, '\0')) return Usage("--lose-surfaces needs a tick count");
            session.LoseSurfacesAt(tick);
        } else if (!std::strcmp(argv[i], "--desktop-bits")) {
            const char* colon = ++i == argc ? nullptr : std::strchr(argv[i], ':');
            if (!colon || !ParseTick(argv[i], &tick, ':') ||
                (std::strcmp(colon + 1, "16") && std::strcmp(colon + 1, "24") && std::strcmp(colon + 1, "32")))
                return Usage("--desktop-bits needs TICK:BITS, BITS 16, 24 or 32");
            session.DesktopBitsAt(tick, std::atoi(colon + 1));
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

    if (!session.Start()) {
        std::fprintf(stderr, "vorblox-replay: the game did not start\n");
        return exitFailure;
    }
    for (const ReplayStep& step : steps) {
        for (uint64_t t = 0; t < step.ticks && !session.Quit(); ++t) {
            session.Tick(step.keys);
            if (trace) std::printf("%s\n", session.StateJson(frameSums).c_str());
        }
    }
    if (!trace || session.Ticks() == 0) std::printf("%s\n", session.StateJson(frameSums).c_str());
    if (std::fflush(stdout) != 0) return exitFailure;

    if (framePath && !session.WriteFrame(framePath, &error)) {
        std::fprintf(stderr, "vorblox-replay: %s\n", error.c_str());
        return exitFailure;
    }
    return 0;
}
