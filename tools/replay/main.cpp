// vorblox-replay [OPTION]... SCRIPT
// Plays a script of held keys through the real game, headless and without
// pausing between ticks, and prints the game state as JSON; or, with
// --link, prints a link that holds the script's game. Its manners (help,
// version, messages, exit codes) are the game's: ProgramOptions.h.
#include <ProgramOptions.h>
#include <ReplayReader.h>
#include <WatchLink.h>

#include "tools/replay/ReplaySession.h"

#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <cstring>
#include <string>

#ifndef VORBLOX_VERSION
#define VORBLOX_VERSION "unknown"
#endif

namespace {

const int exitFailure = 1;
const int exitUsage = 2;
const uint64_t maxTick = 1000000000000ull;

bool ReadTick(const char* text, const char* option, uint64_t* tick, std::string* problem)
{
    if (plat::ParseWholeNumber(text, 0, maxTick, tick)) return true;
    *problem = std::string(option) + " wants a tick count, a whole number from 0 to " + std::to_string(maxTick) +
               ", not " + plat::Quoted(text);
    return false;
}

// The page's address as a link's start: the game goes after it.
bool ReadAddress(const char* text, std::string* problem)
{
    std::string address = text;
    size_t bad = address.find_first_of(" \t\r\n\v\f#");
    if (!address.empty() && bad == std::string::npos) return true;
    *problem = std::string("--link wants the page's address (such as https://example.org/vorblox/)") +
               (address.empty()           ? ", not an empty one"
                : address[bad] == '#'     ? " without a # part (the game goes there), not " + plat::Quoted(address)
                                          : " without blanks, not " + plat::Quoted(address));
    return false;
}

// Hands each step of the script to `take` until the end, or until `take`
// answers false; false, having said why, for a script that goes wrong.
template <class Take>
bool EachStep(ReplayReader& script, Take take)
{
    ReplayStep step;
    std::string error;
    for (;;) {
        ReplayReader::Result got = script.Next(&step, &error);
        if (got == ReplayReader::Bad) {
            plat::Complain(error);
            return false;
        }
        if (got == ReplayReader::End || !take(step)) break;
    }
    if (!script.Notice().empty()) plat::Complain(script.Notice());
    return true;
}

// The whole game, read as it is played: runs of the same keys are joined as
// they come, so that a long idle recording takes little room.
int PrintLink(ReplayReader& script, const std::string& address)
{
    std::vector<ReplayStep> steps;
    bool read = EachStep(script, [&](const ReplayStep& step) {
        if (!steps.empty() && steps.back().keys == step.keys && steps.back().ticks < maxTick) {
            steps.back().ticks += step.ticks;
            return true;
        }
        // Each step takes two bytes of a link at least.
        if (steps.size() > watchLinkLargestGame / 2) return false;
        steps.push_back(step);
        return true;
    });
    if (!read) return exitUsage;
    std::string error;
    std::string link;
    if (!MakeWatchLink(address, steps, &link, &error)) {
        plat::Complain(error);
        return exitFailure;
    }
    std::printf("%s\n", link.c_str());
    return plat::FlushStandardOutput("the output") ? 0 : exitFailure;
}

}  // namespace

int main(int argc, char** argv)
{
    plat::KeepStandardStreams();
    // A size limit fails the frame's write, which says so, rather than
    // killing the runner.
    std::signal(SIGXFSZ, SIG_IGN);
    bool trace = false;
    bool frameSums = false;
    const char* framePath = nullptr;
    const char* linkAddress = nullptr;
    const char* playOption = nullptr;  // the last given that plays the game
    ReplaySession session;
    const plat::ProgramInfo info = {
        "vorblox-replay", VORBLOX_VERSION, "SCRIPT", 1, 1,
        "Plays SCRIPT (a file, or - for the standard input) through the game, headless\n"
        "and as fast as it goes, and prints the game's state as one line of JSON.\n"
        "Each script line is COUNT KEYS: hold KEYS (- for none, or names from F1 ESC\n"
        "LEFT RIGHT UP DOWN LSHIFT RSHIFT LCTRL RCTRL joined by +) for COUNT ticks.\n"
        "SCRIPT may also be a link to a game (ADDRESS#watch=...), or a file holding one.",
        "Exit status: 0 played (or the link printed), 1 the game did not start, the\n"
        "output or the frame could not be written, or the game is too long for a link,\n"
        "2 a mistake in the options, the script or the link."};
    const std::vector<plat::ProgramOption> options = {
        {"--link", "ADDRESS", "the page's address",
         "print a link to the page at ADDRESS that holds SCRIPT's game,\nand play nothing",
         [&](const char* value, std::string* problem) {
             if (!ReadAddress(value, problem)) return false;
             linkAddress = value;
             return true;
         }},
        {"--trace", nullptr, nullptr, "print the state after every tick, not only at the end",
         [&](const char*, std::string*) {
             playOption = "--trace";
             return trace = true;
         }},
        {"--frame", "FILE.bmp", "a file name", "after the script, save the last picture shown as a BMP file",
         [&](const char* value, std::string* problem) {
             if (!plat::CanWriteFile(value, problem)) return false;
             playOption = "--frame";
             framePath = value;
             return true;
         }},
        {"--frame-sums", nullptr, nullptr, "add a checksum of the shown picture to every state",
         [&](const char*, std::string*) {
             playOption = "--frame-sums";
             return frameSums = true;
         }},
        {"--lose-surfaces", "TICK", "a tick count",
         "take all the game's surfaces once TICK ticks are played\n(may be repeated)",
         [&](const char* value, std::string* problem) {
             uint64_t tick = 0;
             if (!ReadTick(value, "--lose-surfaces", &tick, problem)) return false;
             playOption = "--lose-surfaces";
             session.LoseSurfacesAt(tick);
             return true;
         }},
        {"--desktop-bits", "TICK:BITS", "TICK:BITS",
         "change the desktop's depth to BITS (16, 24 or 32) once TICK\nticks are played (may be repeated)",
         [&](const char* value, std::string* problem) {
             const char* colon = std::strchr(value, ':');
             std::string tickText = colon ? std::string(value, colon) : std::string();
             uint64_t tick = 0, bits = 0;
             if (!colon || !plat::ParseWholeNumber(tickText.c_str(), 0, maxTick, &tick) ||
                 !plat::ParseWholeNumber(colon + 1, 16, 32, &bits) || (bits != 16 && bits != 24 && bits != 32)) {
                 *problem = "--desktop-bits wants TICK:BITS (TICK a whole number from 0 to " +
                            std::to_string(maxTick) + ", BITS 16, 24 or 32), not " + plat::Quoted(value);
                 return false;
             }
             playOption = "--desktop-bits";
             session.DesktopBitsAt(tick, (int)bits);
             return true;
         }},
    };
    std::vector<const char*> operands;
    switch (plat::ParseProgramOptions(info, options, argc, argv, &operands)) {
    case plat::ParseResult::Done: return 0;
    case plat::ParseResult::Failed: return exitFailure;
    case plat::ParseResult::BadUsage: return exitUsage;
    case plat::ParseResult::Run: break;
    }
    if (linkAddress && playOption) {
        plat::Complain(std::string("--link plays nothing: it does not go with ") + playOption);
        return exitUsage;
    }

    ReplayReader script;
    std::string error;
    if (!script.Open(operands[0], &error)) {
        plat::Complain(error);
        return exitUsage;
    }
    if (linkAddress) return PrintLink(script, linkAddress);
    // Nothing to play into: said before the game is played for nothing.
    if (plat::StandardStreamClosed(STDOUT_FILENO)) return plat::FlushStandardOutput("the output") ? 0 : exitFailure;

    if (!session.Start()) {
        plat::Complain("the game did not start");
        return exitFailure;
    }
    bool outputFailed = false;
    bool read = EachStep(script, [&](const ReplayStep& step) {
        for (uint64_t t = 0; t < step.ticks && !session.Quit(); ++t) {
            session.Tick(step.keys);
            if (!trace) continue;
            std::printf("%s\n", session.StateJson(frameSums).c_str());
            // No use playing on into an output that takes nothing.
            if (std::ferror(stdout)) {
                outputFailed = true;
                return false;
            }
        }
        return true;
    });
    if (!read) return exitUsage;
    if (outputFailed) {
        plat::FlushStandardOutput("the output");
        return exitFailure;
    }
    if (!trace || session.Ticks() == 0) std::printf("%s\n", session.StateJson(frameSums).c_str());
    if (!plat::FlushStandardOutput("the output")) return exitFailure;

    if (framePath && !session.WriteFrame(framePath, &error)) {
        plat::Complain("cannot save the frame: " + error);
        return exitFailure;
    }
    return 0;
}
