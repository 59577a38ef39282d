// A recording on a disk that fills up: the real game, headless, recording
// its keyboard reads while a file-size limit (SIGXFSZ ignored, as a full
// disk answers) makes a write fail part-way. The file must end at its last
// whole line and the replay runner must play it.
#include "ReplayRunner.h"

#include "Recording.h"
#include "tools/replay/ReplaySession.h"

#include <dinput.h>
#include <gtest/gtest.h>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <fstream>
#include <sstream>

namespace {

std::string ReadAll(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// Plays `ticks` ticks recording into `path` with at most `limit` bytes
// allowed per file, in a process of its own; its stderr goes to `errPath`.
int RecordWithLimit(const std::string& path, const std::string& errPath, rlim_t limit, int ticks)
{
    pid_t child = fork();
    if (child == 0) {
        if (!std::freopen(errPath.c_str(), "w", stderr)) _exit(3);
        std::signal(SIGXFSZ, SIG_IGN);
        struct rlimit size = {limit, limit};
        setrlimit(RLIMIT_FSIZE, &size);
        std::string error;
        if (!plat::StartRecording(path.c_str(), &error)) _exit(4);
        ReplaySession session;
        if (!session.Start()) _exit(5);
        // A key change every tick or two: a short line each time.
        const std::vector<unsigned char> keys[] = {{DIK_F1}, {DIK_LEFT}, {}, {DIK_DOWN}, {DIK_RIGHT, DIK_DOWN}, {}};
        for (int tick = 0; tick < ticks; ++tick) session.Tick(keys[tick % 6]);
        plat::FinishRecording();
        std::fflush(stderr);
        _exit(0);
    }
    int status = 0;
    waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST(Recording, AWriteThatFailsPartWayLeavesTheWholeLinesToReplay)
{
    const std::string path = "tmp-full-" + std::to_string(getpid()) + ".rec";
    const std::string errPath = path + ".err";
    // Lines are 4 bytes long or more, so one of two limits a byte apart
    // falls inside a line.
    for (rlim_t limit : {1000, 1001}) {
        ASSERT_EQ(0, RecordWithLimit(path, errPath, limit, 600));
        std::string text = ReadAll(path);
        std::string err = ReadAll(errPath);
        EXPECT_NE(std::string::npos, err.find("File too large; recording stopped after the last whole line")) << err;
        ASSERT_FALSE(text.empty());
        EXPECT_LE(text.size(), limit);
        EXPECT_GT(text.size(), limit - 20);  // only the line that did not fit is missing
        EXPECT_EQ('\n', text.back()) << limit;

        long long recorded = 0;
        std::istringstream lines(text);
        for (std::string line; std::getline(lines, line);)
            if (!line.empty() && line[0] != '#') recorded += std::stoll(line);
        EXPECT_LT(recorded, 600);

        ReplayOutput replay = RunCommand(std::string(VORBLOX_REPLAY) + " " + path);
        EXPECT_EQ(0, replay.exitCode) << limit << ": " << replay.err;
        ASSERT_EQ(1u, replay.states.size()) << replay.out;
        EXPECT_EQ(recorded, replay.Final()["ticks"]);
        EXPECT_EQ(1, replay.Final()["active"]);
    }

    // Without the limit the same game records whole.
    ASSERT_EQ(0, RecordWithLimit(path, errPath, RLIM_INFINITY, 600));
    EXPECT_EQ("", ReadAll(errPath));
    EXPECT_EQ(600, RunReplay(ReadAll(path)).Final()["ticks"]);
    std::remove(path.c_str());
    std::remove(errPath.c_str());
}

// A start that fails (here: no display) keeps the recording already there,
// and leaves no empty file where there was none.
TEST(Recording, AStartThatFailsKeepsTheFileThatWasThere)
{
    const std::string kept = "tmp-kept-" + std::to_string(getpid()) + ".rec";
    const std::string fresh = "tmp-fresh-" + std::to_string(getpid()) + ".rec";
    std::ofstream(kept) << "1 F1\n100 DOWN\n";
    for (const std::string& path : {kept, fresh}) {
        ReplayOutput run =
            RunCommand("env -u DISPLAY -u WAYLAND_DISPLAY SDL_VIDEODRIVER= " VORBLOX " --record " + path);
        EXPECT_EQ(1, run.exitCode) << run.err;
    }
    EXPECT_EQ("1 F1\n100 DOWN\n", ReadAll(kept));
    EXPECT_NE(0, access(fresh.c_str(), F_OK));
    std::remove(kept.c_str());
}

}  // namespace
