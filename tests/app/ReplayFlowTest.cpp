// The game's flow, played through the replay runner as a player would.
#include "ReplayRunner.h"

#include <gtest/gtest.h>

#include <sys/wait.h>

namespace {

const std::string emptyRow = "0000000000";

TEST(ReplayFlow, EmptyScriptPrintsTheStartPrompt)
{
    ReplayOutput run = RunReplay("");
    ASSERT_EQ(run.exitCode, 0) << run.err;
    ASSERT_EQ(run.states.size(), 1u);
    const ReplayState& s = run.Final();
    EXPECT_EQ(s["ticks"], 0);
    EXPECT_FALSE(s.quit);
    EXPECT_EQ(s["active"], 0);
    EXPECT_EQ(s["awaitingFirstGame"], 1);
    EXPECT_EQ(s["score"], 0);
    EXPECT_EQ(s["lines"], 0);
    EXPECT_EQ(s["level"], 1);
    EXPECT_EQ(s["piece"], 5);      // the L dealt at start-up, above the well
    EXPECT_EQ(s["nextPiece"], 1);  // the O in the Next box
    for (const std::string& row : s.rows) EXPECT_EQ(row, emptyRow);
}

TEST(ReplayFlow, FirstGameDealsTheFixedSequence)
{
    ReplayOutput run = RunReplay("1 F1\n");
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const ReplayState& s = run.Final();
    EXPECT_EQ(s["active"], 1);
    EXPECT_EQ(s["awaitingFirstGame"], 0);
    EXPECT_EQ(s["piece"], 6);
    EXPECT_EQ(s["nextPiece"], 6);
    EXPECT_EQ(s["pieceX"], 5);
    EXPECT_EQ(s["pieceY"], -1);
    EXPECT_EQ(s["fallCounter"], 60);
}

TEST(ReplayFlow, HeldLeftRepeatsEverySixthTick)
{
    ReplayOutput run = RunReplay("1 F1\n13 LEFT\n", "--trace");
    ASSERT_EQ(run.exitCode, 0) << run.err;
    ASSERT_EQ(run.states.size(), 14u);
    const int expected[14] = {5, 4, 4, 4, 4, 4, 4, 3, 3, 3, 3, 3, 3, 2};
    for (int tick = 0; tick < 14; ++tick) EXPECT_EQ(run.states[tick]["pieceX"], expected[tick]) << "tick " << tick;
    EXPECT_EQ(run.Final()["fallCounter"], 47);  // moving never touches gravity
}

TEST(ReplayFlow, LeftAndRightTogetherCancel)
{
    ReplayOutput run = RunReplay("1 F1\n13 LEFT+RIGHT\n", "--trace");
    ASSERT_EQ(run.exitCode, 0) << run.err;
    for (const ReplayState& s : run.states) EXPECT_EQ(s["pieceX"], 5);
}

TEST(ReplayFlow, TurnsActOncePerPress)
{
    struct Case {
        const char* script;
        int rotation;
    } cases[] = {
        {"1 F1\n10 LSHIFT\n", 3},          // held: one turn only
        {"1 F1\n1 UP\n", 3},               // counter-clockwise
        {"1 F1\n1 RCTRL\n", 1},            // clockwise
        {"1 F1\n1 UP+RSHIFT+LSHIFT\n", 3}, // several turn keys in one read: one turn
        {"1 F1\n1 UP+RCTRL\n", 0},         // counter-clockwise, then clockwise
        {"1 F1\n1 LCTRL\n1 -\n1 LCTRL\n", 2},
    };
    for (const Case& c : cases) {
        ReplayOutput run = RunReplay(c.script);
        ASSERT_EQ(run.exitCode, 0) << run.err;
        EXPECT_EQ(run.Final()["rotation"], c.rotation) << c.script;
    }
}

TEST(ReplayFlow, StartPromptIgnoresGameKeys)
{
    ReplayOutput idle = RunReplay("");
    ReplayOutput keys = RunReplay("20 LEFT+RIGHT+UP+DOWN+LSHIFT+RSHIFT+LCTRL+RCTRL\n");
    ASSERT_EQ(keys.exitCode, 0) << keys.err;
    ReplayState before = idle.Final(), after = keys.Final();
    after.numbers["ticks"] = 0;
    EXPECT_EQ(before.numbers, after.numbers);
    EXPECT_EQ(before.rows, after.rows);
}

TEST(ReplayFlow, F1RestartsARunningGame)
{
    ReplayOutput run = RunReplay("1 F1\n200 DOWN\n1 F1\n");
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const ReplayState& s = run.Final();
    EXPECT_EQ(s["active"], 1);
    EXPECT_EQ(s["score"], 0);
    EXPECT_EQ(s["lines"], 0);
    EXPECT_EQ(s["level"], 1);
    EXPECT_EQ(s["pieceY"], -1);
    for (const std::string& row : s.rows) EXPECT_EQ(row, emptyRow);
}

TEST(ReplayFlow, EscQuitsFromEveryState)
{
    struct Case {
        const char* state;
        const char* script;
        int ticks;
    } cases[] = {
        {"start prompt", "1 ESC\n5 -\n", 1},
        {"playing", "1 F1\n5 -\n1 ESC\n5 -\n", 7},
        {"game over", "1 DOWN\n1 F1+DOWN\n3000 DOWN\n1 -\n1 ESC\n", 3004},
    };
    for (const Case& c : cases) {
        ReplayOutput run = RunReplay(c.script);
        ASSERT_EQ(run.exitCode, 0) << run.err;
        EXPECT_TRUE(run.Final().quit) << c.state;
        EXPECT_EQ(run.Final()["ticks"], c.ticks) << c.state;
    }
}

TEST(ReplayFlow, HeldDownPlaysTheSameWholeGameEveryTime)
{
    const std::string script = "1 DOWN\n1 F1+DOWN\n3000 DOWN\n";
    ReplayOutput first = RunReplay(script);
    ReplayOutput second = RunReplay(script);
    ASSERT_EQ(first.exitCode, 0) << first.err;
    EXPECT_EQ(first.out, second.out);
    const ReplayState& s = first.Final();
    EXPECT_EQ(s["active"], 0);
    EXPECT_EQ(s["awaitingFirstGame"], 0);
    EXPECT_GT(s["score"], 0);
    EXPECT_NE(s.rows[0], emptyRow);  // the stack reached the top
}

TEST(ReplayFlow, TraceEndsWithTheFinalState)
{
    ReplayOutput traced = RunReplay("1 F1\n40 DOWN\n", "--trace");
    ReplayOutput plain = RunReplay("1 F1\n40 DOWN\n");
    ASSERT_EQ(traced.states.size(), 41u);
    EXPECT_EQ(traced.out.substr(traced.out.rfind('{')), plain.out.substr(plain.out.rfind('{')));
}

TEST(ReplayScript, MalformedLinesAreRefusedWithTheirLineNumber)
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

TEST(ReplayScript, BadUsageIsRefused)
{
    const char* usages[] = {"--bogus", "--frame", "--trace"};
    for (const char* options : usages) {
        std::string command = std::string(VORBLOX_REPLAY) + " " + options + " >/dev/null 2>&1";
        int status = std::system(command.c_str());
        EXPECT_EQ(WEXITSTATUS(status), 2) << options;
    }
}

}  // namespace
