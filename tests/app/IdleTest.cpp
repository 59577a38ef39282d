// While the game can change nothing (no game running, no key held, nothing
// waiting to be drawn) the message loop sleeps until a message arrives
// instead of ticking. A key going down is such a message, so the loop
// skips exactly the ticks that find the keys as the previous tick left
// them. Skipping them must not change the game: a run that skips them ends
// every tick that did run in the same state, with the same frames, as the
// same keys ticked throughout.
#include "app/PMAIN.h"
#include "tools/replay/ReplaySession.h"

#include <PlatformTest.h>
#include <dinput.h>

#include <gtest/gtest.h>

#include <stdio.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace {

struct Step {
    int ticks;
    std::vector<unsigned char> keys;
};

// Waits at the prompt, starts, plays, loses, waits at the game-over picture
// with and without keys held, and starts again.
const std::vector<Step> script = {
    {200, {}},
    {3, {DIK_LEFT}},             // keys that do nothing on the prompt
    {50, {}},
    {1, {DIK_F1}},
    {20, {}},
    {13, {DIK_LEFT}},
    {5, {DIK_UP}},
    {30, {DIK_RIGHT, DIK_DOWN}},
    {2000, {DIK_DOWN}},          // drops every piece down the middle: game over
    {300, {}},
    {40, {DIK_RCONTROL}},        // held on the game-over picture
    {100, {}},
    {1, {DIK_F1}},
    {400, {}},
};

// A 64-bit digest of the presented frame and the number of lit pixels.
std::string FrameDigest(HWND hwnd)
{
    std::vector<uint32_t> pixels;
    int width = 0, height = 0;
    if (!PlatformTest::ReadClientPixels(hwnd, &pixels, &width, &height)) return "no frame";
    uint64_t hash = 1469598103934665603ull;
    int lit = 0;
    for (uint32_t p : pixels) {
        hash = (hash ^ p) * 1099511628211ull;
        lit += p != 0;
    }
    std::ostringstream out;
    out << width << "x" << height << " " << std::hex << hash << std::dec << " lit " << lit;
    return out.str();
}

std::string WithoutTickCount(const std::string& json)
{
    size_t comma = json.find(',');
    return comma == std::string::npos ? json : json.substr(comma + 1);
}

// Plays the script in a process of its own (the game is one static object)
// and returns one line per tick that ran, "tick N STATE", and one per step
// end, "frame N DIGEST".
std::vector<std::string> PlayInChild(bool skipIdleTicks)
{
    char path[] = "/tmp/vorblox-idle-XXXXXX";
    int fd = mkstemp(path);
    if (fd < 0) return {"no temporary file"};
    close(fd);
    pid_t child = fork();
    if (child == 0) {
        FILE* out = fopen(path, "w");
        ReplaySession session;
        if (!out || !session.Start()) _exit(3);
        long tick = 0;
        std::vector<unsigned char> previous;
        for (const Step& step : script) {
            for (int i = 0; i < step.ticks; ++i, ++tick) {
                bool skip = skipIdleTicks && application.Idle() && step.keys == previous;
                previous = step.keys;
                if (skip) continue;
                session.Tick(step.keys);
                fprintf(out, "tick %ld %s\n", tick, WithoutTickCount(session.StateJson()).c_str());
            }
            fprintf(out, "frame %ld %s\n", tick, FrameDigest(application.hwnd).c_str());
        }
        fclose(out);
        _exit(0);
    }
    int status = 0;
    waitpid(child, &status, 0);
    std::vector<std::string> lines;
    std::ifstream in(path);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    unlink(path);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) lines.push_back("the run failed");
    return lines;
}

TEST(IdleTest, SkippingIdleTicksChangesNothing)
{
    std::vector<std::string> every = PlayInChild(false);
    std::vector<std::string> skipping = PlayInChild(true);
    ASSERT_FALSE(every.empty());
    ASSERT_NE("the run failed", every.back());
    ASSERT_NE("the run failed", skipping.back());

    // Every line of the skipping run appears, in order, in the full run.
    size_t at = 0;
    size_t skipped = 0;
    for (const std::string& line : skipping) {
        size_t from = at;
        while (at < every.size() && every[at] != line) ++at;
        ASSERT_LT(at, every.size()) << "not in the full run: " << line;
        skipped += at - from;
        ++at;
    }
    // The ticks the full run made on top are those that were skipped: each
    // left the state as the tick before it did.
    const std::set<std::string> ran(skipping.begin(), skipping.end());
    std::string last;
    for (const std::string& line : every) {
        if (line.compare(0, 5, "tick ") != 0) continue;
        std::string state = line.substr(line.find(' ', 5) + 1);
        std::string tick = line.substr(5, line.find(' ', 5) - 5);
        if (!ran.count(line)) {
            EXPECT_EQ(last, state) << "skipped tick " << tick << " changed the game";
        }
        last = state;
    }
    // The waits on the prompt and the game-over picture (less their first
    // tick) were skipped: 199 + 49 + 299 + 99.
    EXPECT_GT(skipped, 600u);
    EXPECT_EQ(every.back().substr(0, 6), "frame ");
    EXPECT_EQ(every.back(), skipping.back());
}

}  // namespace
