// The program's entry in the browser. The page starts it with the options
// the Linux command line has (it always records, into the page's own file
// system, and passes --watch with a recording the player opened), and
// hears when it has ended.
#include "CloseRequest.h"
#include "CommandLine.h"
#include "DisplayScale.h"
#include "Recording.h"
#include "Watching.h"

#include <KeyBindings.h>
#include <SDL.h>
#include <emscripten.h>
#include <windows.h>

#include <sys/stat.h>

#include <cstdio>
#include <string>

namespace {

// Emscripten's EM_ASM strings do not survive this toolchain's static
// libraries; functions of JavaScript do.
EM_JS(void, TellPageGameEnded, (int result, const char* error), {
    if (Module["onGameEnd"]) Module["onGameEnd"](result, UTF8ToString(error));
});

// Where the watched game is, for the page's controls and position bar.
EM_JS(void, TellPageWatch, (int watching, double played, double total, int totalKnown, int speed, int paused,
                            int seeking), {
    if (Module["onWatch"])
        Module["onWatch"]({ watching: !!watching, played: played, total: totalKnown ? total : null, speed: speed,
                            paused: !!paused, seeking: !!seeking });
});

// Going back: the page starts the program again, watching from there.
EM_JS(int, AskPageToStartAgain, (double from, const char* speed, int paused), {
    if (!Module["onWatchAgain"]) return 0;
    Module["onWatchAgain"]({ from: from, speed: UTF8ToString(speed), paused: !!paused });
    return 1;
});

void ShowWatch(const plat::WatchState& s)
{
    plat::ShowWatchInTitle(s);
    TellPageWatch(s.watching, (double)s.played, (double)s.total, s.totalKnown, s.speed, s.paused, s.seeking);
}

bool StartAgain(const plat::WatchStart& start, std::string* why)
{
    if (AskPageToStartAgain((double)start.from, plat::WatchSpeedName(start.speed), start.paused)) return true;
    *why = "the page cannot start the game again";
    return false;
}

}  // namespace

// For the page's watching controls: a plat::WatchControl and its value (a
// tick, a speed). The page wakes the game with a "vorbloxinput" event.
extern "C" EMSCRIPTEN_KEEPALIVE void VorbloxWatchControl(int control, double value)
{
    plat::ControlWatch((plat::WatchControl)control, (uint64_t)value);
}

// For the page's Save button: writes out the ticks not yet written, so the
// recording file holds the game up to now. Safe while the program sleeps.
extern "C" EMSCRIPTEN_KEEPALIVE void VorbloxWriteRecording() { plat::WriteOutRecording(); }

// For the page, when the player opens a recording during a game: the game
// ends as its close button ends it, and the page then starts the next. The
// page wakes it with a "vorbloxinput" event, should it sleep.
extern "C" EMSCRIPTEN_KEEPALIVE void VorbloxEnd() { plat::RequestClose(); }

// For the page's settings: plays by the bindings file the page has just
// written at /vorblox-bindings.txt (which it also passes as --bindings at
// the start) from the next tick on. Answers 1
// when they are good; else says why on stderr, changes nothing, answers 0.
extern "C" EMSCRIPTEN_KEEPALIVE int VorbloxReloadBindings()
{
    std::string error;
    if (plat::LoadBindingsFile("/vorblox-bindings.txt", &error)) return 1;
    std::fprintf(stderr, "vorblox: %s\n", error.c_str());
    return 0;
}

namespace {

int Run(int argc, char** argv, std::string* error)
{
    plat::Options options;
    switch (plat::ParseCommandLine(argc, argv, &options)) {
    case plat::ParseResult::Done: return 0;
    case plat::ParseResult::Failed: *error = "the game could not answer the page's options"; return 1;
    case plat::ParseResult::BadUsage: *error = "the page asked for options the game does not know"; return 2;
    case plat::ParseResult::Run: break;
    }
    plat::RequestScale(options.scale, options.scaleFrom);
    plat::TakeCloseRequests();
    plat::SetWatchListener(ShowWatch);
    plat::SetWatchRestarter(StartAgain);
    if (!plat::LoadBindingsFile(options.bindingsPath, error) ||
        (options.watchPath && !plat::StartWatching(options.watchPath, options.watchStart, error)) ||
        (options.recordPath && !plat::StartRecording(options.recordPath, error))) {
        std::fprintf(stderr, "vorblox: %s\n", error->c_str());
        return 2;
    }
    char commandLine[] = "";
    int result = WinMain(GetModuleHandleA(NULL), NULL, commandLine, SW_SHOWDEFAULT);
    plat::FinishRecording();
    return result;
}

}  // namespace

int main(int argc, char** argv)
{
    // Emscripten's file system starts with every permission masked off, so
    // a file made with "the mode a new file gets" (a recording put in
    // place) could not be read back by the page. Nobody else shares it:
    // the usual mask.
    umask(022);
    std::string error;
    int result = Run(argc, argv, &error);
    // SDL takes its handlers off the page, which goes back to the browser.
    SDL_Quit();
    TellPageGameEnded(result, error.c_str());
    return result;
}
