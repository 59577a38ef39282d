// The replay runner plays a link, given or in a file, to the very state and
// picture the recording it was made of plays to; and a spoiled link stops
// it before any tick.
#include "ReplayRunner.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <sstream>

namespace {

std::string ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

void WriteFile(const std::string& path, const std::string& text)
{
    std::ofstream(path, std::ios::binary) << text;
}

std::string Quote(const std::string& text) { return "'" + text + "'"; }

class LinkReplay : public testing::Test {
protected:
    const std::string base = "tmp-link-" + std::to_string(getpid());
    const std::string recording = base + ".rec", linkFile = base + ".link";

    void TearDown() override
    {
        for (const std::string& path : {recording, linkFile, base + "-rec.bmp", base + "-link.bmp"})
            std::remove(path.c_str());
    }

    // The state vorblox-replay prints for `script` (an argument), and the
    // frame it saves as `frame`.
    ReplayOutput Play(const std::string& script, const std::string& frame)
    {
        return RunCommand(std::string(VORBLOX_REPLAY) + " --frame " + frame + " " + script);
    }
};

TEST_F(LinkReplay, ALinkPlaysToTheRecordingsStateAndFrame)
{
    ReplayOutput played = RunCommand(std::string(VORBLOX_AUTOPLAY) + " --ticks 6400");
    ASSERT_EQ(played.exitCode, 0) << played.err;
    WriteFile(recording, played.out);
    ReplayOutput made = RunCommand(std::string(VORBLOX_REPLAY) + " --link https://example.org/vorblox/ " + recording);
    ASSERT_EQ(made.exitCode, 0) << made.err;
    const std::string link = made.out.substr(0, made.out.find('\n'));
    ASSERT_EQ(link.rfind("https://example.org/vorblox/#watch=1", 0), 0u) << link;
    WriteFile(linkFile, made.out);

    ReplayOutput original = Play(recording, base + "-rec.bmp");
    ASSERT_EQ(original.exitCode, 0) << original.err;
    ASSERT_EQ(original.Final()["ticks"], 6400);
    const std::string frame = ReadFile(base + "-rec.bmp");
    ASSERT_FALSE(frame.empty());
    const std::pair<std::string, std::string> ways[] = {
        {"the link", Quote(link)}, {"a file holding it", linkFile}, {"the standard input", "- <" + linkFile}};
    for (const auto& way : ways) {
        std::remove((base + "-link.bmp").c_str());
        ReplayOutput got = Play(way.second, base + "-link.bmp");
        EXPECT_EQ(got.exitCode, 0) << way.first << ": " << got.err;
        EXPECT_EQ(got.out, original.out) << way.first;
        EXPECT_TRUE(ReadFile(base + "-link.bmp") == frame) << way.first << ": another frame";
    }
    // A link made of a link holds the same game.
    ReplayOutput again = RunCommand(std::string(VORBLOX_REPLAY) + " --link https://example.org/ " + Quote(link));
    ASSERT_EQ(again.exitCode, 0) << again.err;
    EXPECT_EQ(RunCommand(std::string(VORBLOX_REPLAY) + " " + Quote(again.out.substr(0, again.out.size() - 1))).out,
              original.out);
}

TEST_F(LinkReplay, ASpoiledLinkStopsTheRunnerBeforeAnyTick)
{
    WriteFile(recording, "1 F1\n100 DOWN\n3 LEFT\n");
    std::string link = RunCommand(std::string(VORBLOX_REPLAY) + " --link https://example.org/ " + recording).out;
    link.pop_back();
    std::string altered = link;
    altered[altered.size() - 3] = altered[altered.size() - 3] == 'A' ? 'B' : 'A';
    WriteFile(linkFile, link.substr(0, link.size() - 2) + "\n");
    const std::pair<std::string, std::string> cases[] = {
        {Quote(link.substr(0, link.size() - 5)), "the link is cut short: its last 5 characters are missing"},
        {Quote(altered), "the link was altered"},
        {linkFile, linkFile + ": the link is cut short: its last 2 characters are missing"},
        {"https://example.org/vorblox/", "the link holds no game: it has no #watch= part"},
    };
    for (const auto& c : cases) {
        ReplayOutput got = RunCommand(std::string(VORBLOX_REPLAY) + " " + c.first);
        EXPECT_EQ(got.exitCode, 2) << c.first;
        EXPECT_EQ(got.out, "") << c.first;
        EXPECT_EQ(got.err.rfind("vorblox-replay: " + c.second, 0), 0u) << c.first << ": " << got.err;
    }
}

}  // namespace
