// The game's flow, played through the replay runner as a player would.
#include "ReplayRunner.h"

#include <ReplayScript.h>
#include <dinput.h>
#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <fstream>
#include <sstream>

namespace {

const std::string emptyRow = "0000000000";

// Field values expected in a final state, by name.
void ExpectFields(const ReplayState& s, const std::map<std::string, long long>& expected, const std::string& what)
{
    for (const auto& field : expected) EXPECT_EQ(s[field.first], field.second) << what << ": " << field.first;
}

TEST(ReplayFlow, StartUpAndTheFirstGameDealTheFixedSequence)
{
    ReplayOutput start = RunReplay("");
    ASSERT_EQ(start.exitCode, 0) << start.err;
    ASSERT_EQ(start.states.size(), 1u);
    // The L dealt at start-up waits above the well; the O shows in the Next box.
    ExpectFields(start.Final(), {{"ticks", 0}, {"active", 0}, {"awaitingFirstGame", 1}, {"score", 0}, {"lines", 0},
                                 {"level", 1}, {"piece", 5}, {"nextPiece", 1}}, "start-up");
    EXPECT_EQ(start.Final().rows, std::vector<std::string>(23, emptyRow));

    ReplayOutput game = RunReplay("1 F1\n");
    ExpectFields(game.Final(), {{"active", 1}, {"awaitingFirstGame", 0}, {"piece", 6}, {"nextPiece", 6},
                                {"pieceX", 5}, {"pieceY", -1}, {"fallCounter", 60}}, "first game");
}

TEST(ReplayFlow, HeldLeftRepeatsEverySixthTickAndRightCancelsIt)
{
    ReplayOutput left = RunReplay("1 F1\n13 LEFT\n", "--trace");
    ASSERT_EQ(left.states.size(), 14u);
    const int expected[14] = {5, 4, 4, 4, 4, 4, 4, 3, 3, 3, 3, 3, 3, 2};
    for (int tick = 0; tick < 14; ++tick) EXPECT_EQ(left.states[tick]["pieceX"], expected[tick]) << "tick " << tick;
    EXPECT_EQ(left.Final()["fallCounter"], 47);  // moving never touches gravity

    ReplayOutput both = RunReplay("1 F1\n13 LEFT+RIGHT\n", "--trace");
    for (const ReplayState& s : both.states) EXPECT_EQ(s["pieceX"], 5);
}

TEST(ReplayFlow, TurnsActOncePerPress)
{
    const std::pair<const char*, int> cases[] = {
        {"1 F1\n10 LSHIFT\n", 3},          // held: one turn only
        {"1 F1\n1 RCTRL\n", 1},            // clockwise
        {"1 F1\n1 UP+RSHIFT+LSHIFT\n", 3}, // several turn keys in one read: one turn
        {"1 F1\n1 UP+RCTRL\n", 0},         // counter-clockwise, then clockwise
        {"1 F1\n1 LCTRL\n1 -\n1 LCTRL\n", 2},
    };
    for (const auto& c : cases) EXPECT_EQ(RunReplay(c.first).Final()["rotation"], c.second) << c.first;
}

TEST(ReplayFlow, StartPromptIgnoresGameKeysAndF1RestartsAGame)
{
    ReplayState idle = RunReplay("").Final();
    ReplayState keys = RunReplay("20 LEFT+RIGHT+UP+DOWN+LSHIFT+RSHIFT+LCTRL+RCTRL\n").Final();
    keys.numbers["ticks"] = 0;
    EXPECT_EQ(idle.numbers, keys.numbers);
    EXPECT_EQ(idle.rows, keys.rows);

    ReplayState restarted = RunReplay("1 F1\n200 DOWN\n1 F1\n").Final();
    ExpectFields(restarted, {{"active", 1}, {"score", 0}, {"lines", 0}, {"level", 1}, {"pieceY", -1}}, "restart");
    EXPECT_EQ(restarted.rows, std::vector<std::string>(23, emptyRow));
}

TEST(ReplayFlow, EscQuitsFromEveryState)
{
    const std::pair<const char*, int> cases[] = {
        {"1 ESC\n5 -\n", 1},                                     // start prompt
        {"1 F1\n5 -\n1 ESC\n5 -\n", 7},                           // playing
        {"1 DOWN\n1 F1+DOWN\n3000 DOWN\n1 -\n1 ESC\n", 3004},    // game over
    };
    for (const auto& c : cases) {
        ReplayOutput run = RunReplay(c.first);
        ASSERT_EQ(run.exitCode, 0) << run.err;
        EXPECT_TRUE(run.Final().quit) << c.first;
        EXPECT_EQ(run.Final()["ticks"], c.second) << c.first;
    }
}

TEST(ReplayFlow, HeldDownPlaysTheSameWholeGameEveryTime)
{
    const std::string script = "1 DOWN\n1 F1+DOWN\n3000 DOWN\n";
    ReplayOutput first = RunReplay(script);
    EXPECT_EQ(first.out, RunReplay(script).out);
    ExpectFields(first.Final(), {{"active", 0}, {"awaitingFirstGame", 0}}, "game over");
    EXPECT_GT(first.Final()["score"], 0);
    EXPECT_NE(first.Final().rows[0], emptyRow);  // the stack reached the top

    ReplayOutput traced = RunReplay("1 F1\n40 DOWN\n", "--trace");
    ASSERT_EQ(traced.states.size(), 41u);
    EXPECT_EQ(traced.out.substr(traced.out.rfind('{')), RunReplay("1 F1\n40 DOWN\n").out);
}

TEST(ReplayScript, MalformedLinesAreRefused)
{
    const char* bad[] = {"0 F1", "-1 F1", "x F1", "5", "5 FOO", "5 LEFT++UP", "5 LEFT extra", "5 left",
                         "99999999999999 F1", "5 +", "1.5 -"};
    for (const char* line : bad) {
        ReplayOutput run = RunReplay(std::string("# a comment\n\n1 -\n") + line + "\n1 -\n");
        EXPECT_EQ(run.exitCode, 2) << line;
        EXPECT_NE(run.err.find("line 4"), std::string::npos) << line << ": " << run.err;
        EXPECT_TRUE(run.out.empty()) << line;
    }
}

// The lines a recording is written in read back as the same ticks.
// What the game records, the runner reads back: every named key, a count
// past 32 bits, no key at all.
TEST(ReplayScript, WrittenLinesReadBack)
{
    std::vector<unsigned char> all;
    for (int i = 0; i < replayKeyNameCount; ++i) all.push_back(replayKeyNames[i].code);
    std::sort(all.begin(), all.end());
    all.erase(std::unique(all.begin(), all.end()), all.end());
    const std::vector<ReplayStep> written = {{1, {}}, {1000000000000ull, {DIK_F1, DIK_DOWN}}, {3, all}};
    std::string text;
    for (const ReplayStep& step : written) text += ReplayLine(step.ticks, step.keys) + "\n";
    std::istringstream in(text);
    std::vector<ReplayStep> read;
    std::string error;
    ASSERT_TRUE(ParseReplayScript(in, &read, &error)) << error;
    ASSERT_EQ(written.size(), read.size()) << text;
    for (size_t i = 0; i < written.size(); ++i) {
        std::vector<unsigned char> keys = read[i].keys, expected = written[i].keys;
        std::sort(keys.begin(), keys.end());
        std::sort(expected.begin(), expected.end());
        EXPECT_EQ(written[i].ticks, read[i].ticks) << text;
        EXPECT_EQ(expected, keys) << text;
    }
}

// A line may name a key more than once (by hand, or a careless tool): it is
// held once, so no step holds more keys than there are.
TEST(ReplayScript, AKeyNamedTwiceIsHeldOnce)
{
    std::istringstream in("2 LEFT+UP+UP+LEFT+UP+UP+UP+UP+UP+UP+UP+UP\n");
    std::vector<ReplayStep> read;
    std::string error;
    ASSERT_TRUE(ParseReplayScript(in, &read, &error)) << error;
    ASSERT_EQ(1u, read.size());
    std::vector<unsigned char> keys = read[0].keys;
    std::sort(keys.begin(), keys.end());
    EXPECT_EQ((std::vector<unsigned char>{DIK_UP, DIK_LEFT}), keys);
}

// The game turns away a bad recording or an unusable path before its window
// opens: without a display, getting that far would end with exit code 0.
TEST(ReplayScript, TheGameRefusesBadRecordingsAndPaths)
{
    const std::string bad = "tmp-bad-" + std::to_string(getpid()) + ".rec";
    std::ofstream(bad) << "# recorded\n\n2 LEFT+JUMP\n1 -\n";
    const std::pair<std::string, std::string> refused[] = {
        {"--watch " + bad, bad + ": line 3: unknown key 'JUMP'"},
        {"--watch .", "cannot read '.': Is a directory"},
        {"--record /nonexistent/game.rec", "cannot write '/nonexistent/game.rec': No such file"},
        {"--record", "--record needs a file name"},
        {"--speed 2", "are for --watch"},
    };
    for (const auto& r : refused) {
        ReplayOutput run = RunCommand("env -u DISPLAY -u WAYLAND_DISPLAY SDL_VIDEODRIVER= " VORBLOX " " + r.first);
        EXPECT_EQ(2, run.exitCode) << r.first;
        EXPECT_NE(std::string::npos, run.err.find(r.second)) << r.first << ": " << run.err;
    }
    std::remove(bad.c_str());
    EXPECT_NE(0, access("a.rec", F_OK));  // nothing was written
}

}  // namespace
