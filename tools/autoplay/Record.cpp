// vorblox-autoplay [--ticks N] [--seed S]
// The computer plays the real game headless from its start-up, as a person
// would from the prompt, and the game is written to the standard output as
// a recording, line for line as `vorblox --record` writes one: so that long
// real games can be had on demand, to replay, to measure and to test with.
#include <ProgramOptions.h>
#include <ReplayScript.h>

#include "app/PMAIN.h"
#include "tools/autoplay/AutoPlayer.h"
#include "tools/replay/ReplaySession.h"

#include <cstdio>
#include <string>

#ifndef VORBLOX_VERSION
#define VORBLOX_VERSION "unknown"
#endif

namespace {

// As the game writes them: a run of the same keys is cut after a second.
const uint64_t longestRun = 64;
const uint64_t mostTicks = 1000000000ull;

// The keys a recording can hold: the player's stray keys that have no name
// are left out of the game too, so that the recording replays it exactly.
std::vector<unsigned char> Named(const std::vector<unsigned char>& keys)
{
    std::vector<unsigned char> named;
    for (int i = 0; i < replayKeyNameCount; ++i)
        for (unsigned char key : keys)
            if (key == replayKeyNames[i].code) {
                named.push_back(key);
                break;
            }
    return named;
}

}  // namespace

int main(int argc, char** argv)
{
    plat::KeepStandardStreams();
    uint64_t ticks = 76800, seed = 12345;
    const plat::ProgramInfo info = {
        "vorblox-autoplay", VORBLOX_VERSION, "", 0, 0,
        "The computer plays the game for TICKS ticks (64 a second) from its start-up,\n"
        "and the game is printed as a recording (vorblox --record's form).",
        "Exit status: 0 played, 1 the game did not start or the output could not be\n"
        "written, 2 a mistake in the options."};
    const std::vector<plat::ProgramOption> options = {
        {"--ticks", "N", "a whole number from 1 to 1000000000", "play N ticks (default 76800: twenty minutes)",
         [&](const char* value, std::string* problem) {
             if (plat::ParseWholeNumber(value, 1, mostTicks, &ticks)) return true;
             *problem = "--ticks wants a whole number from 1 to 1000000000, not " + plat::Quoted(value);
             return false;
         }},
        {"--seed", "S", "a whole number from 0 to 4294967295", "the player's choices (default 12345)",
         [&](const char* value, std::string* problem) {
             if (plat::ParseWholeNumber(value, 0, 4294967295u, &seed)) return true;
             *problem = "--seed wants a whole number from 0 to 4294967295, not " + plat::Quoted(value);
             return false;
         }},
    };
    std::vector<const char*> operands;
    switch (plat::ParseProgramOptions(info, options, argc, argv, &operands)) {
    case plat::ParseResult::Done: return 0;
    case plat::ParseResult::Failed: return 1;
    case plat::ParseResult::BadUsage: return 2;
    case plat::ParseResult::Run: break;
    }

    ReplaySession session;
    if (!session.Start()) {
        plat::Complain("the game did not start");
        return 1;
    }
    AutoPlayer player((uint32_t)seed);
    std::printf("%s\n", replayRecordingHeader);
    std::vector<unsigned char> held;
    uint64_t run = 0;
    for (uint64_t t = 0; t < ticks && !session.Quit(); ++t) {
        std::vector<unsigned char> keys = Named(player.NextKeys(application.game));
        if (run > 0 && (keys != held || run == longestRun)) {
            std::printf("%s\n", ReplayLine(run, held).c_str());
            run = 0;
        }
        held = keys;
        ++run;
        session.Tick(keys);
    }
    if (run > 0) std::printf("%s\n", ReplayLine(run, held).c_str());
    return plat::FlushStandardOutput("the output") ? 0 : 1;
}
