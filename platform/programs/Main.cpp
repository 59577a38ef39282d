// The process entry on Linux: reads the command line, then hands the
// program what Windows would.
#include "CommandLine.h"
#include "Core.h"
#include "DisplayScale.h"
#include "EndSignals.h"
#include "FullScreen.h"
#include "Recording.h"
#include "Watching.h"

#include <KeyBindings.h>
#include <windows.h>

#include <SDL.h>
#include <malloc.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

std::vector<std::string> givenArguments;

// Going back in a watched recording: the program starts again with the
// options it was given, the watch's own (--from, --speed, --paused) made
// anew. A recording from a pipe cannot be read again.
bool StartAgain(const plat::WatchStart& start, std::string* why)
{
    std::vector<std::string> args;
    const char* watched = nullptr;
    for (size_t i = 0; i < givenArguments.size(); ++i) {
        const std::string& a = givenArguments[i];
        bool valued = a == "--from" || a == "--speed";
        if (valued || a == "--paused" || a.rfind("--from=", 0) == 0 || a.rfind("--speed=", 0) == 0) {
            if (valued) ++i;
            continue;
        }
        if (a == "--watch" && i + 1 < givenArguments.size()) watched = givenArguments[i + 1].c_str();
        if (a.rfind("--watch=", 0) == 0) watched = a.c_str() + 8;
        args.push_back(a);
    }
    struct stat info;
    if (!watched || !std::strcmp(watched, "-") || (stat(watched, &info) == 0 && S_ISFIFO(info.st_mode))) {
        *why = "a recording from a pipe cannot go back";
        return false;
    }
    args.push_back("--from");
    args.push_back(std::to_string(start.from));
    args.push_back("--speed");
    args.push_back(plat::WatchSpeedName(start.speed));
    if (start.paused) args.push_back("--paused");
    std::vector<char*> argv;
    for (std::string& a : args) argv.push_back(&a[0]);
    argv.push_back(nullptr);
    plat::LeaveRecording();
    SDL_Quit();
    execv("/proc/self/exe", argv.data());
    // Past the point of going on: the window is gone.
    plat::Complain(std::string("cannot start the game again: ") + std::strerror(errno));
    _exit(1);
}

}  // namespace

int main(int argc, char** argv)
{
    givenArguments.assign(argv, argv + argc);
    plat::KeepStandardStreams();
    plat::EndOnSignals();
    plat::Options options;
    switch (plat::ParseCommandLine(argc, argv, &options)) {
    case plat::ParseResult::Done: return 0;
    case plat::ParseResult::Failed: return 1;
    case plat::ParseResult::BadUsage: return 2;
    case plat::ParseResult::Run: break;
    }
    plat::RequestScale(options.scale, options.scaleFrom);
    plat::SetWatchRestarter(StartAgain);
    if (options.fullScreen) plat::StartFullScreen();
    // Pixel buffers get mappings of their own, given back to the system when
    // freed. The C library would otherwise raise this threshold at the first
    // such free and keep the later ones (the pictures' decoding copies) in
    // its heap for good: a quarter of a megabyte resident for nothing.
    mallopt(M_MMAP_THRESHOLD, 128 * 1024);
    // All are checked before the window opens, so a bad file costs nothing.
    std::string error;
    if (!plat::LoadBindingsFile(options.bindingsPath, &error) ||
        (options.watchPath && !plat::StartWatching(options.watchPath, options.watchStart, &error)) ||
        (options.recordPath && !plat::StartRecording(options.recordPath, &error))) {
        plat::Complain(error);
        return 2;
    }
    // Without a display the DirectX start-up would fail as well, and say
    // so in a message of its own that only repeats this one.
    // Nowhere to look for one: SDL's Wayland probe would print a line of
    // its own first.
    auto unset = [](const char* name) { return !std::getenv(name) || !*std::getenv(name); };
    std::string reason = "neither DISPLAY nor WAYLAND_DISPLAY is set";
    bool none = unset("DISPLAY") && unset("WAYLAND_DISPLAY") && unset("XDG_RUNTIME_DIR") && unset("SDL_VIDEODRIVER");
    if (none || !plat::VideoReady(&reason)) {
        plat::Complain("no display to show the game on (" + reason + ")");
        plat::FinishRecording();
        return 1;
    }
    // Every argument was ours; the program gets an empty command line, as
    // when Windows starts it from its icon.
    char commandLine[] = "";
    int result = WinMain(GetModuleHandleA(NULL), NULL, commandLine, SW_SHOWDEFAULT);
    plat::FinishRecording();
    if (int signal = plat::EndingSignal()) plat::EndBySignal(signal);
    if (plat::WatchFailed()) return 2;
    return result;
}
