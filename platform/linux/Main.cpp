// The process entry on Linux: reads the command line, then hands the
// program what Windows would.
#include "CommandLine.h"
#include "Core.h"
#include "DisplayScale.h"
#include "EndSignals.h"
#include "FullScreen.h"
#include "Recording.h"

#include <KeyBindings.h>
#include <windows.h>

#include <malloc.h>

#include <cstdlib>
#include <string>

int main(int argc, char** argv)
{
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
    if (options.fullScreen) plat::StartFullScreen();
    // Pixel buffers get mappings of their own, given back to the system when
    // freed. The C library would otherwise raise this threshold at the first
    // such free and keep the later ones (the pictures' decoding copies) in
    // its heap for good: a quarter of a megabyte resident for nothing.
    mallopt(M_MMAP_THRESHOLD, 128 * 1024);
    // All are checked before the window opens, so a bad file costs nothing.
    std::string error;
    if (!plat::LoadBindingsFile(options.bindingsPath, &error) ||
        (options.watchPath && !plat::StartWatching(options.watchPath, &error)) ||
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
