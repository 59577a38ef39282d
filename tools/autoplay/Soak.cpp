// vorblox-soak [--ticks N] [--seed S] [--check-memory] [--parallel]
// Plays the real game headless for N ticks with the computer player, twice
// from the same start, and checks that both runs end in the same state and,
// with --check-memory, that the resident memory stays flat after the first
// second of play. The second run follows the first in the same process, or,
// with --parallel, each run has a process of its own and both run at once
// (on two cores, half the time). Prints one line per run and a verdict.
#include "game/GameRandom.h"
#include "app/PMAIN.h"
#include "tools/autoplay/AutoPlayer.h"
#include "tools/replay/ReplaySession.h"

#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
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

void Report(int run, unsigned long long ticks, const RunResult& x, FILE* out)
{
    fprintf(out,
            "run=%d ticks=%llu seconds=%.1f ticks_per_second=%.0f games=%llu game_overs=%llu max_level=%llu "
            "lines_in_finished_games=%llu rss_kb_at_1s=%ld rss_kb_max=%ld quit=%d\n",
            run, ticks, x.seconds, x.seconds > 0 ? ticks / x.seconds : 0.0, x.games, x.gameOvers, x.maxLevel, x.lines,
            x.residentAtOneSecond, x.residentMax, x.quit ? 1 : 0);
    fprintf(out, "run=%d final=%s\n", run, x.state.c_str());
}

// Reads back what Report wrote.
bool Parse(const std::string& text, RunResult* x)
{
    size_t final = text.find(" final=");
    if (final == std::string::npos) return false;
    size_t end = text.find('\n', final);
    x->state = text.substr(final + 7, end == std::string::npos ? std::string::npos : end - final - 7);
    int quit = 0;
    const char* line = text.c_str();
    if (sscanf(strstr(line, "seconds="), "seconds=%lf", &x->seconds) != 1) return false;
    sscanf(strstr(line, "rss_kb_at_1s="), "rss_kb_at_1s=%ld", &x->residentAtOneSecond);
    sscanf(strstr(line, "rss_kb_max="), "rss_kb_max=%ld", &x->residentMax);
    sscanf(strstr(line, "quit="), "quit=%d", &quit);
    x->quit = quit != 0;
    return true;
}

// Both runs at once, each in a process of its own started before the game.
bool RunInParallel(unsigned long long ticks, uint32_t seed, RunResult runs[2])
{
    int pipes[2][2];
    pid_t children[2];
    for (int r = 0; r < 2; ++r) {
        if (pipe(pipes[r]) != 0) return false;
        children[r] = fork();
        if (children[r] < 0) return false;
        if (children[r] == 0) {
            close(pipes[r][0]);
            FILE* out = fdopen(pipes[r][1], "w");
            ReplaySession session;
            if (!out || !session.Start()) _exit(1);
            Report(r + 1, ticks, Run(session, ticks, seed), out);
            fclose(out);
            _exit(0);
        }
        close(pipes[r][1]);
    }
    bool ok = true;
    for (int r = 0; r < 2; ++r) {
        std::string text;
        char buffer[4096];
        ssize_t got;
        while ((got = read(pipes[r][0], buffer, sizeof buffer)) > 0) text.append(buffer, (size_t)got);
        close(pipes[r][0]);
        int status = 0;
        waitpid(children[r], &status, 0);
        fputs(text.c_str(), stdout);
        ok = ok && WIFEXITED(status) && WEXITSTATUS(status) == 0 && Parse(text, &runs[r]);
    }
    return ok;
}

int Usage()
{
    fprintf(stderr, "usage: vorblox-soak [--ticks N] [--seed S] [--check-memory] [--parallel]\n");
    return 2;
}

}  // namespace

int main(int argc, char** argv)
{
    unsigned long long ticks = 10000000;
    uint32_t seed = 12345;
    bool checkMemory = false;
    bool parallel = false;
    for (int i = 1; i < argc; ++i) {
        if (!strcmp(argv[i], "--ticks") && i + 1 < argc) {
            ticks = strtoull(argv[++i], nullptr, 10);
        } else if (!strcmp(argv[i], "--seed") && i + 1 < argc) {
            seed = (uint32_t)strtoul(argv[++i], nullptr, 10);
        } else if (!strcmp(argv[i], "--check-memory")) {
            checkMemory = true;
        } else if (!strcmp(argv[i], "--parallel")) {
            parallel = true;
        } else {
            return Usage();
        }
    }

    RunResult runs[2];
    double start = Seconds();
    if (parallel) {
        if (!RunInParallel(ticks, seed, runs)) {
            fprintf(stderr, "vorblox-soak: a run failed\n");
            return 1;
        }
    } else {
        ReplaySession session;
        if (!session.Start()) {
            fprintf(stderr, "vorblox-soak: the game did not start\n");
            return 1;
        }
        for (int r = 0; r < 2; ++r) {
            runs[r] = Run(session, ticks, seed);
            Report(r + 1, ticks, runs[r], stdout);
        }
    }
    printf("soak_seconds=%.1f\n", Seconds() - start);
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
    long growth = parallel ? std::max(runs[0].residentMax - runs[0].residentAtOneSecond,
                                      runs[1].residentMax - runs[1].residentAtOneSecond)
                           : runs[1].residentMax - runs[0].residentAtOneSecond;
    printf("soak_same_final_state=%s rss_growth_after_1s_kb=%ld\n", runs[0].state == runs[1].state ? "yes" : "no",
           growth);
    if (checkMemory && growth > slackKb) {
        fprintf(stderr, "vorblox-soak: resident memory grew by %ld kB after the first second\n", growth);
        ++failures;
    }
    return failures ? 1 : 0;
}
