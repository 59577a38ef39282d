// The game's costs that decide how it feels and what it takes from the
// machine: composing and presenting a frame (against a plain copy of the
// same number of bytes), a tick, loading the pictures, starting up, and
// how fast replays run.
#include "app/PMAIN.h"
#include "game/GameRandom.h"
#include "tools/autoplay/AutoPlayer.h"
#include "tools/replay/ReplaySession.h"

#include <benchmark/benchmark.h>
#include <dinput.h>

#include <linux/sockios.h>
#include <spawn.h>
#include <stdio.h>
#include <string.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <map>
#include <string>
#include <vector>

extern char** environ;

namespace {

const std::vector<unsigned char> noKeys;

// The game, started once for the whole run (it is one static object).
ReplaySession& Session()
{
    static ReplaySession* session = nullptr;
    if (!session) {
        session = new ReplaySession;
        if (!session->Start()) {
            fprintf(stderr, "the game did not start\n");
            _exit(1);
        }
    }
    return *session;
}

// A game in progress, with the keyboard all up and the repeat counters clear.
void StartGame(ReplaySession& session)
{
    session.Tick(std::vector<unsigned char>{DIK_F1});
    session.Tick(noKeys);
}

// The start prompt shows and nothing is held: a tick finds nothing to do.
void TickThatChangesNothing(benchmark::State& state)
{
    ReplaySession& session = Session();
    session.Tick(noKeys);
    if (application.game.active) state.SkipWithError("a game is running; this needs the start prompt");
    for (auto _ : state) session.Tick(noKeys);
}
BENCHMARK(TickThatChangesNothing);

void ComposeFrame(benchmark::State& state)
{
    ReplaySession& session = Session();
    StartGame(session);
    for (auto _ : state) application.Draw();
}
BENCHMARK(ComposeFrame);

// A frame's worth of bytes (300 x 400 at 4 bytes) copied once.
void CopyFrameBytes(benchmark::State& state)
{
    std::vector<unsigned char> from(300 * 400 * 4, 1), to(300 * 400 * 4);
    for (auto _ : state) {
        memcpy(to.data(), from.data(), from.size());
        benchmark::DoNotOptimize(to.data());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(CopyFrameBytes);

// What the X11 frame gate asks before each frame: the bytes on a local
// connection the other end has not read (a socket pair stands for the
// X server's socket, the same kind and the same call).
void UnreadBytesCheck(benchmark::State& state)
{
    int ends[2];
    if (socketpair(AF_UNIX, SOCK_STREAM, 0, ends) != 0) {
        state.SkipWithError("no socket pair");
        return;
    }
    for (auto _ : state) {
        int unread = 0;
        ioctl(ends[0], SIOCOUTQ, &unread);
        benchmark::DoNotOptimize(unread);
    }
    close(ends[0]);
    close(ends[1]);
}
BENCHMARK(UnreadBytesCheck);

// Left and Right taken in turns: every tick moves the piece and redraws.
void TickThatMovesAPiece(benchmark::State& state)
{
    ReplaySession& session = Session();
    const std::vector<unsigned char> left{DIK_LEFT}, right{DIK_RIGHT};
    StartGame(session);
    unsigned n = 0;
    for (auto _ : state) {
        session.Tick((n & 1) ? right : left);
        if (++n % 512 == 0) {
            // A fresh piece before this one settles.
            state.PauseTiming();
            StartGame(session);
            state.ResumeTiming();
        }
    }
}
BENCHMARK(TickThatMovesAPiece);

// The five pictures, each loaded into a surface of its own size.
void LoadFivePictures(benchmark::State& state)
{
    Session();
    struct Picture {
        const char* name;
        LONG width, height;
    };
    const Picture pictures[] = {{"PIC_MAIN", 300, 400}, {"PIC_BLOCKS", 128, 16}, {"PIC_FONTS", 592, 16},
                                {"PIC_STARTTXT", 160, 100}, {"PIC_GAMEOVER", 160, 50}};
    // Registered with the game's display, so they live as long as it does.
    static Surface* surfaces = nullptr;
    if (!surfaces) {
        surfaces = new Surface[5];
        for (int i = 0; i < 5; ++i) {
            surfaces[i].display = &application.mainDisplay;
            if (!surfaces[i].Create(pictures[i].width, pictures[i].height))
                state.SkipWithError("no surface for a picture");
        }
    }
    for (auto _ : state)
        for (int i = 0; i < 5; ++i)
            if (!surfaces[i].LoadBitmap(pictures[i].name)) state.SkipWithError("a picture did not load");
}
BENCHMARK(LoadFivePictures)->Unit(benchmark::kMicrosecond);

// A fresh process each time: the start-up up to the first presented frame,
// as the process itself timed it.
void StartUpToFirstFrame(benchmark::State& state)
{
    std::string probe = std::string(VORBLOX_STARTUP_PROBE);
    for (auto _ : state) {
        int out[2];
        if (pipe(out) != 0) state.SkipWithError("no pipe");
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, out[1], 1);
        posix_spawn_file_actions_addclose(&actions, out[0]);
        char* argv[] = {const_cast<char*>(probe.c_str()), nullptr};
        pid_t pid;
        if (posix_spawn(&pid, probe.c_str(), &actions, nullptr, argv, environ) != 0) {
            state.SkipWithError("cannot start the probe");
            break;
        }
        posix_spawn_file_actions_destroy(&actions);
        close(out[1]);
        char text[64] = {0};
        ssize_t got = read(out[0], text, sizeof text - 1);
        close(out[0]);
        int status = 0;
        waitpid(pid, &status, 0);
        if (got <= 0 || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
            state.SkipWithError("the probe failed");
            break;
        }
        state.SetIterationTime(atoll(text) * 1e-9);
    }
}
BENCHMARK(StartUpToFirstFrame)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(20);

// Replays as fast as they go, with the keys of the computer player...
void ReplayTicksPlayed(benchmark::State& state)
{
    ReplaySession& session = Session();
    AutoPlayer player(7);
    for (auto _ : state) session.Tick(player.NextKeys(application.game));
    state.counters["ticks_per_second"] = benchmark::Counter((double)state.iterations(), benchmark::Counter::kIsRate);
}
BENCHMARK(ReplayTicksPlayed)->Unit(benchmark::kMicrosecond);

// ... and with keys taken at random (F1 now and then, never Esc).
void ReplayTicksRandomKeys(benchmark::State& state)
{
    ReplaySession& session = Session();
    const unsigned char playKeys[] = {DIK_LEFT, DIK_RIGHT, DIK_UP, DIK_DOWN, DIK_LCONTROL, DIK_RSHIFT};
    uint32_t x = 99;
    std::vector<unsigned char> keys;
    for (auto _ : state) {
        x ^= x << 13;
        x ^= x >> 17;
        x ^= x << 5;
        keys.clear();
        for (int k = 0; k < 6; ++k)
            if (x >> (k * 3) & 1) keys.push_back(playKeys[k]);
        if ((x >> 20) % 400 == 0) keys.push_back(DIK_F1);
        session.Tick(keys);
    }
    state.counters["ticks_per_second"] = benchmark::Counter((double)state.iterations(), benchmark::Counter::kIsRate);
}
BENCHMARK(ReplayTicksRandomKeys)->Unit(benchmark::kMicrosecond);

// Prints the usual table and keeps each result for the summary.
class SummaryReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override
    {
        for (const Run& run : runs) {
            if (run.error_occurred) continue;
            double seconds = run.GetAdjustedRealTime() / benchmark::GetTimeUnitMultiplier(run.time_unit);
            perIteration[run.benchmark_name()] = seconds;
            auto rate = run.counters.find("ticks_per_second");
            if (rate != run.counters.end()) rates[run.benchmark_name()] = rate->second.value;
        }
        ConsoleReporter::ReportRuns(runs);
    }
    std::map<std::string, double> perIteration;
    std::map<std::string, double> rates;
};

}  // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    SummaryReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);

    auto& t = reporter.perIteration;
    printf("\n%-42s %s\n", "measure", "value");
    auto line = [&](const char* label, const char* name, double scale, const char* unit) {
        if (t.count(name)) printf("%-42s %.2f %s\n", label, t[name] * scale, unit);
    };
    line("compose one frame (PMAIN::Draw)", "ComposeFrame", 1e6, "us");
    line("copy 300x400x4 bytes (memcpy)", "CopyFrameBytes", 1e6, "us");
    if (t.count("ComposeFrame") && t.count("CopyFrameBytes") && t["CopyFrameBytes"] > 0)
        printf("%-42s %.2f (goal <= 4)\n", "frame / memcpy", t["ComposeFrame"] / t["CopyFrameBytes"]);
    line("tick that changes nothing", "TickThatChangesNothing", 1e6, "us");
    line("tick that moves a piece", "TickThatMovesAPiece", 1e6, "us");
    line("load the five pictures", "LoadFivePictures", 1e3, "ms");
    line("start-up to first frame (in process)", "StartUpToFirstFrame/iterations:20/manual_time", 1e3, "ms");
    for (auto& rate : reporter.rates)
        printf("%-42s %.0f ticks/s\n", (rate.first + " throughput").c_str(), rate.second);
    benchmark::Shutdown();
    return 0;
}
