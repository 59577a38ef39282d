// Links made and read through the codec: the game that comes out is the one
// that went in, and a link spoiled in any way is refused for the right
// reason, never played as another game.
#include <ReplayScript.h>
#include <WatchLink.h>
#include <gtest/gtest.h>
#include <zlib.h>

#include <algorithm>
#include <cstdio>
#include <sstream>

namespace {

const std::string page = "https://example.org/vorblox/";

std::vector<ReplayStep> Script(const std::string& text)
{
    std::istringstream in(text);
    std::vector<ReplayStep> steps;
    std::string error;
    EXPECT_TRUE(ParseReplayScript(in, &steps, &error)) << error;
    return steps;
}

// What a game plays: the keys of each run of ticks, whatever the lines.
std::string Played(const std::vector<ReplayStep>& steps)
{
    std::vector<ReplayStep> runs;
    for (ReplayStep step : steps) {
        std::sort(step.keys.begin(), step.keys.end());
        step.keys.erase(std::unique(step.keys.begin(), step.keys.end()), step.keys.end());
        if (!runs.empty() && runs.back().keys == step.keys)
            runs.back().ticks += step.ticks;
        else
            runs.push_back(step);
    }
    std::string text;
    for (const ReplayStep& run : runs) text += ReplayLine(run.ticks, run.keys) + "\n";
    return text;
}

std::string Link(const std::vector<ReplayStep>& steps)
{
    std::string link, problem;
    EXPECT_TRUE(MakeWatchLink(page, steps, &link, &problem)) << problem;
    return link;
}

// The problem reading `link` gives, or "read" when it reads.
std::string Problem(const std::string& link)
{
    std::vector<ReplayStep> steps;
    std::string problem;
    return ReadWatchLink(link, &steps, &problem) ? "read" : problem;
}

bool StartsWith(const std::string& text, const std::string& start) { return text.compare(0, start.size(), start) == 0; }

std::string AutoPlayed(int ticks)
{
#ifdef VORBLOX_AUTOPLAY
    std::string command = std::string(VORBLOX_AUTOPLAY) + " --ticks " + std::to_string(ticks);
    FILE* in = popen(command.c_str(), "r");
    std::string text;
    char buffer[65536];
    for (size_t got; in && (got = fread(buffer, 1, sizeof buffer, in)) > 0;) text.append(buffer, got);
    EXPECT_TRUE(in && pclose(in) == 0) << command;
    return text;
#else
    (void)ticks;
    return "";
#endif
}

// A link around bytes of our own making, framed as the game frames its
// packed steps, so that hostile contents can be tried.
std::string Frame(const std::string& body, bool withCheck = true)
{
    std::string steps = body;
    if (withCheck) {
        uint32_t check = (uint32_t)crc32(0, reinterpret_cast<const Bytef*>(body.data()), (uInt)body.size());
        for (int i = 0; i < 4; ++i) steps += (char)(check >> (8 * i));
    }
    uLongf size = compressBound((uLong)steps.size());
    std::string packed(size, '\0');
    z_stream z = {};
    deflateInit2(&z, 9, Z_DEFLATED, -MAX_WBITS, 9, Z_DEFAULT_STRATEGY);
    z.next_in = reinterpret_cast<Bytef*>(&steps[0]);
    z.avail_in = (uInt)steps.size();
    z.next_out = reinterpret_cast<Bytef*>(&packed[0]);
    z.avail_out = (uInt)packed.size();
    deflate(&z, Z_FINISH);
    packed.resize(packed.size() - z.avail_out);
    deflateEnd(&z);
    std::string bytes;
    for (uint64_t n = packed.size(); ; n >>= 7) {
        bytes += (char)((n & 0x7F) | (n >= 0x80 ? 0x80 : 0));
        if (n < 0x80) break;
    }
    bytes += packed;
    static const char digits[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789-_";
    std::string text = page + "#watch=1";
    uint32_t bits = 0;
    int held = 0;
    for (unsigned char c : bytes) {
        bits = bits << 8 | c;
        for (held += 8; held >= 6;) text += digits[(bits >> (held -= 6)) & 63];
    }
    if (held) text += digits[(bits << (6 - held)) & 63];
    return text;
}

TEST(WatchLink, RealGamesComeBackAsTheyPlay)
{
    const std::string hand =
        "# A game of Vorblox: ticks (64 a second) and the keys held in them.\n"
        "40 -\n1 F1\n3 DOWN+LEFT\n64 -\n64 -\n7 -\n2 ESC+RCTRL\n1 UP+F1+LSHIFT+RSHIFT+LCTRL+RIGHT\n";
    std::vector<std::string> games = {hand, "", "1000000000000 -\n5 -\n1 LEFT\n"};
#ifdef VORBLOX_AUTOPLAY
    games.push_back(AutoPlayed(1920));   // half a minute
    games.push_back(AutoPlayed(76800));  // twenty minutes
    ASSERT_GT(games.back().size(), 100000u);
#endif
    for (const std::string& game : games) {
        std::vector<ReplayStep> steps = Script(game), read;
        std::string problem, link = Link(steps);
        ASSERT_TRUE(ReadWatchLink(link, &read, &problem)) << problem;
        EXPECT_EQ(Played(read), Played(steps)) << game.substr(0, 200);
        EXPECT_EQ(link.compare(0, page.size() + 8, page + "#watch=1"), 0) << link;
        // What it reads is a script again: every count within a line's limits.
        for (const ReplayStep& step : read) {
            ASSERT_GE(step.ticks, 1u);
            ASSERT_LE(step.ticks, 1000000000000u);
        }
    }
    // The page's script packs with another deflate: the form is the same.
    std::vector<ReplayStep> pinned;
    std::string problem;
    ASSERT_TRUE(ReadWatchLink("https://example.org/vorblox/#watch=1FGNtZ2xg6hRo-MHewPuN6d_W5BgA", &pinned, &problem))
        << problem;
    EXPECT_EQ(Played(pinned), "1 F1\n3 LEFT+DOWN\n128 -\n2 ESC+RCTRL\n1 F1+RIGHT+UP+LSHIFT+RSHIFT+LCTRL\n");
}

TEST(WatchLink, ItsFormIsKnownFromRecordingsAndFileNames)
{
    for (const char* link : {"https://example.org/#watch=1abc", "HTTP://example.org/", "#watch=1abc",
                             "vorblox/index.html#watch=1abc", "\xEF\xBB\xBF  https://example.org/\n"}) {
        std::string text = link;
        EXPECT_TRUE(LooksLikeWatchLink(text.data(), text.data() + text.size())) << text;
    }
    for (const char* other : {"# A game of Vorblox: ticks (64 a second) and the keys held in them.", "1 F1",
                              "game.rec", "-", "", "# watch=1abc", "1 F1 #watch=1abc", "httpx://example.org/"}) {
        std::string text = other;
        EXPECT_FALSE(LooksLikeWatchLink(text.data(), text.data() + text.size())) << text;
    }
}

TEST(WatchLink, ALinkCutShortAnywhereIsRefusedAsCut)
{
    const std::string link = Link(Script(AutoPlayed(640) + "1 F1\n5 LEFT\n"));
    const size_t mark = link.find("#watch=");
    for (size_t size = mark + 1; size < link.size(); ++size)
        ASSERT_TRUE(StartsWith(Problem(link.substr(0, size)), "the link is cut short")) << size;
    EXPECT_EQ(Problem(link.substr(0, link.size() - 1)), "the link is cut short: its last character is missing");
    EXPECT_EQ(Problem(link.substr(0, link.size() - 40)), "the link is cut short: its last 40 characters are missing");
    // Broken into lines by a mail program, it is whole.
    std::string wrapped = link;
    for (size_t at = 76; at < wrapped.size(); at += 77) wrapped.insert(at, "\n");
    EXPECT_EQ(Problem(wrapped + "\r\n"), "read");
}

TEST(WatchLink, ALinkAlteredAnywhereIsRefusedAndNeverPlaysAnotherGame)
{
    const std::string link = Link(Script("1 F1\n30 LEFT\n12 DOWN+RCTRL\n200 -\n3 ESC\n"));
    const size_t first = link.find("#watch=") + 8;
    for (size_t at = first; at < link.size(); ++at) {
        for (char to : {'A', 'z', '-', '9'}) {
            if (link[at] == to) continue;
            std::string changed = link;
            changed[at] = to;
            std::string problem = Problem(changed);
            // A changed length may say the link is longer than it is.
            if (at < first + 2 && StartsWith(problem, "the link is cut short")) continue;
            ASSERT_TRUE(StartsWith(problem, "the link was altered")) << at << " " << to << ": " << problem;
        }
    }
    EXPECT_EQ(Problem(link.substr(0, first + 5) + "%" + link.substr(first + 6)),
              "the link was altered: it has '%' where only letters, digits, - and _ belong");
    EXPECT_EQ(Problem(link + "&utm_source=chat"),
              "the link was altered: it has '&' where only letters, digits, - and _ belong");
    EXPECT_EQ(Problem(link + "AAAA"), "the link was altered: it goes on after its game");
    // A check that matches steps that do not add up: two steps said, one there.
    EXPECT_EQ(Problem(Frame(std::string("\x02\x05\x04", 3))), "the link was altered: its steps do not add up");
    EXPECT_EQ(Problem(Frame(std::string("\x01\x05\x04", 3), false) + "AAAA"),
              "the link was altered: it goes on after its game");
    EXPECT_EQ(Problem(Frame(std::string("\x01\x05\x04", 3), false)), "the link was altered: its check does not match");
}

TEST(WatchLink, OtherLinksAndHugeOnesAreRefusedClearly)
{
    EXPECT_EQ(Problem(page), "the link holds no game: it has no #watch= part");
    EXPECT_EQ(Problem(page + "#watching-the-game-of-the-year"), "the link holds no game: it has no #watch= part");
    EXPECT_EQ(Problem(page + "#watch="), "the link is cut short: nothing follows #watch=");
    EXPECT_EQ(Problem(page + "#watch=2AAAA"), "the link is of a newer format ('2') than this game reads ('1')");
    EXPECT_EQ(Problem(page + "#watch=.AAAA"),
              "the link was altered: it has '.' where only letters, digits, - and _ belong");
    // A few kilobytes that would unpack into a gigabyte: refused at 1 MiB.
    std::string bomb = Frame(std::string(1u << 30 >> 8, '\0'));
    EXPECT_LT(bomb.size(), 20000u);
    EXPECT_EQ(Problem(bomb), "the link's game is too large: it unpacks to more than 1 MiB");
    EXPECT_EQ(Problem(page + "#watch=1" + std::string(watchLinkLongest, 'A')),
              "the link is too long: no link of a game is over 2097152 characters");
    // A game of more steps than a link holds is not made into one.
    std::vector<ReplayStep> many(1100000);
    for (size_t i = 0; i < many.size(); ++i) {
        many[i].ticks = 1;
        if (i % 2) many[i].keys.push_back(replayKeyNames[2].code);
    }
    std::string link, problem;
    EXPECT_FALSE(MakeWatchLink(page, many, &link, &problem));
    EXPECT_TRUE(StartsWith(problem, "the game is too long for a link")) << problem;
    many.resize(900000);
    EXPECT_EQ(Problem(Link(many)), "read");
}

}  // namespace
