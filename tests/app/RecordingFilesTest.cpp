// Recordings: what the game writes reads back the same, and the game turns
// away a bad recording or an unwritable path before its window opens.
#include <ReplayScript.h>
#include <dinput.h>
#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <sstream>

namespace {

TEST(RecordingFiles, WrittenLinesReadBackAsTheSameTicks)
{
    const std::vector<ReplayStep> steps = {
        {1, {}}, {64, {DIK_DOWN}}, {1000000000000ull, {DIK_F1}},
        {3, {DIK_RCONTROL, DIK_LEFT, DIK_ESCAPE, DIK_UP, DIK_LSHIFT, DIK_RSHIFT, DIK_DOWN, DIK_F1, DIK_RIGHT,
             DIK_LCONTROL}}};
    std::string text;
    for (const ReplayStep& step : steps) text += ReplayLine(step.ticks, step.keys) + "\n";
    EXPECT_EQ(0u, text.find("1 -\n64 DOWN\n1000000000000 F1\n3 F1+ESC+LEFT+RIGHT+UP+DOWN+"));
    std::istringstream in(text);
    std::vector<ReplayStep> read;
    std::string error;
    ASSERT_TRUE(ParseReplayScript(in, &read, &error)) << error;
    ASSERT_EQ(steps.size(), read.size());
    for (size_t i = 0; i < steps.size(); ++i) {
        EXPECT_EQ(steps[i].ticks, read[i].ticks);
        std::vector<unsigned char> want = steps[i].keys, got = read[i].keys;
        std::sort(want.begin(), want.end());
        std::sort(got.begin(), got.end());
        EXPECT_EQ(want, got) << i;
    }
}

struct GameRun {
    int exitCode;
    std::string err;
};

// The game, with no display: were it to get as far as its window, it would
// say so and exit 0.
GameRun Game(const std::string& arguments)
{
    const std::string err = "tmp-game-" + std::to_string(getpid()) + ".err";
    int status = std::system(
        ("env -u DISPLAY -u WAYLAND_DISPLAY SDL_VIDEODRIVER= " VORBLOX " " + arguments + " >/dev/null 2>" + err).c_str());
    std::ifstream in(err);
    std::ostringstream text;
    text << in.rdbuf();
    std::remove(err.c_str());
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, text.str()};
}

TEST(RecordingFiles, BadRecordingsAndPathsAreRefusedBeforeTheWindow)
{
    const std::string bad = "tmp-bad-" + std::to_string(getpid()) + ".rec";
    std::ofstream(bad) << "# a recording\n1 -\n5 F1\n2 LEFT+JUMP\n";
    GameRun watched = Game("--watch " + bad);
    EXPECT_EQ(2, watched.exitCode);
    EXPECT_NE(std::string::npos, watched.err.find(bad + ": line 4: unknown key 'JUMP'")) << watched.err;
    std::remove(bad.c_str());

    const std::pair<const char*, const char*> refused[] = {
        {"--watch /nonexistent.rec", "cannot read /nonexistent.rec: No such file"},
        {"--watch .", "cannot read .: Is a directory"},
        {"--record /nonexistent/game.rec", "cannot write /nonexistent/game.rec: No such file"},
        {"--record", "--record needs a file name"},
        {"--record a.rec --watch b.rec", "do not go together"},
    };
    for (const auto& r : refused) {
        GameRun run = Game(r.first);
        EXPECT_EQ(2, run.exitCode) << r.first;
        EXPECT_NE(std::string::npos, run.err.find(r.second)) << r.first << ": " << run.err;
    }
    EXPECT_NE(0, access("a.rec", F_OK));  // nothing was written
}

}  // namespace
