// vorblox-soak [--ticks N] [--seed S] [--check-memory]
// Plays the real game headless for N ticks with the computer player, twice
// from the same start, and checks that both runs end in the same state and,
// with --check-memory, that the resident memory stays flat after the first
// second of play. Prints one line per run and a verdict.
#include "game/GameRandom.h"
#include "app/PMAIN.h"
#include "tools/autoplay/AutoPlayer.h"
#include "tools/replay/ReplaySession.h"

#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <time.h>

#include <string>

namespace {

// Resident memory of this process in kilobytes.
long ResidentKb()
{
    FILE* f = fopen("/proc/self/status", "r");
    if (!f) return 0;
    char line[256];
    long kb = 0;
    while (fgets(line, sizeof line, f))
        if (!strncmp(line, "VmRSS:", 6)) kb = atol(line + 6);
    fclose(f);
    return kb;
}

double Seconds()
{
    timespec now;
    clock_gettime(CLOCK_MONOTONIC, &now);
    return now.tv_sec + now.tv_nsec * 1e-9;
}

// The state without the tick count, which differs between the runs.
std::string StateOnly(const ReplaySession& session)
{
    std::string json = session.StateJson();
    size_t comma = json.find(',');
    return comma == std::string::npos ? json : "{" + json.substr(comma + 1);
}

struct RunResult {
    std::string state;
    unsigned long long games = 0, gameOvers = 0, maxLevel = 0, lines = 0;
    long residentAtOneSecond = 0, residentMax = 0;
    double seconds = 0;
    bool quit = false;
};

RunResult Run(ReplaySession& session, unsigned long long ticks, uint32_t seed)
{
    RunResult result;
    PMAIN& app = application;
    // The same start for every run: all keys up for a tick, no game running,
    // the generators at their first value.
    std::vector<unsigned char> none;
    session.Tick(none);
    app.game.active = 0;
    gameRandom.Restart();
    AutoPlayerHabits habits;
    habits.restartOdds = 2000000;
    AutoPlayer player(seed, habits);

    double start = Seconds();
    int wasActive = app.game.active;
    for (unsigned long long t = 0; t < ticks; ++t) {
        if (!session.Tick(player.NextKeys(app.game))) {
            result.quit = true;
            break;
        }
        const GameState& game = app.game;
        if (game.active && !wasActive) ++result.games;
        if (!game.active && wasActive) {
            ++result.gameOvers;
            result.lines += (unsigned long long)game.lines;
        }
        if (game.active && (unsigned long long)game.level > result.maxLevel) result.maxLevel = game.level;
        wasActive = game.active;
        if (t == 64) result.residentAtOneSecond = ResidentKb();
        if (t > 64 && (t & 0xFFFF) == 0) {
            long kb = ResidentKb();
            if (kb > result.residentMax) result.residentMax = kb;
        }
    }
    result.seconds = Seconds() - start;
    long kb = ResidentKb();
    if (kb > result.residentMax) result.residentMax = kb;
    result.state = StateOnly(session);
    return result;
}

int Usage()
{
    fprintf(stderr, "usage: vorblox-soak [--ticks N] [--seed S] [--check-memory]\n");
    return 2;
}

}  // namespace

int main(int argc, char** argv)
{
    unsigned long long ticks = 10000000;
    uint32_t seed = 12345;
    bool checkMemory = false;
    for (int i = 1; i < argc; ++i) {
        if (!strcmp(argv[i], "--ticks") && i + 1 < argc) {
            ticks = strtoull(argv[++i], nullptr, 10);
        } else if (!strcmp(argv[i], "--seed") && i + 1 < argc) {
            seed = (uint32_t)strtoul(argv[++i], nullptr, 10);
        } else if (!strcmp(argv[i], "--check-memory")) {
            checkMemory = true;
        } else {
            return Usage();
        }
    }

    ReplaySession session;
    if (!session.Start()) {
        fprintf(stderr, "vorblox-soak: the game did not start\n");
        return 1;
    }
    RunResult runs[2];
    for (int r = 0; r < 2; ++r) {
        runs[r] = Run(session, ticks, seed);
        const RunResult& x = runs[r];
        printf("run=%d ticks=%llu seconds=%.1f ticks_per_second=%.0f games=%llu game_overs=%llu max_level=%llu "
               "lines_in_finished_games=%llu rss_kb_at_1s=%ld rss_kb_max=%ld\n",
               r + 1, ticks, x.seconds, x.seconds > 0 ? ticks / x.seconds : 0.0, x.games, x.gameOvers, x.maxLevel,
               x.lines, x.residentAtOneSecond, x.residentMax);
        printf("run=%d final=%s\n", r + 1, x.state.c_str());
    }
    int failures = 0;
    if (runs[0].quit || runs[1].quit) {
        fprintf(stderr, "vorblox-soak: the game quit during the run\n");
        ++failures;
    }
    if (runs[0].state != runs[1].state) {
        fprintf(stderr, "vorblox-soak: the two runs ended in different states\n");
        ++failures;
    }
    // A little slack for the allocator's own bookkeeping; a leak per tick
    // or per game would show as megabytes.
    const long slackKb = 512;
    long growth = runs[1].residentMax - runs[0].residentAtOneSecond;
    printf("soak_same_final_state=%s rss_growth_after_1s_kb=%ld\n", runs[0].state == runs[1].state ? "yes" : "no",
           growth);
    if (checkMemory && growth > slackKb) {
        fprintf(stderr, "vorblox-soak: resident memory grew by %ld kB after the first second\n", growth);
        ++failures;
    }
    return failures ? 1 : 0;
}
