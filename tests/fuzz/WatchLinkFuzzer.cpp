// libFuzzer entry: the link reader against hostile links. The first byte
// says what the rest is, so that mutations reach every layer: a link's text
// as it is (even), bytes to be framed as a link's packed game (1 mod 4), or
// steps to be packed with a matching check (3 mod 4), which only the step
// reader can refuse. A link read must hold a script's steps, and made into
// a link again must read as the same game; a refusal must be one of the
// reader's own sentences.
#include <WatchLink.h>

#include <zlib.h>

#include <stddef.h>
#include <stdint.h>
#include <stdlib.h>

#include <string>

namespace {

const char digits[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789-_";

std::string Framed(const std::string& packed)
{
    std::string bytes;
    for (uint64_t n = packed.size();; n >>= 7) {
        bytes += (char)((n & 0x7F) | (n >= 0x80 ? 0x80 : 0));
        if (n < 0x80) break;
    }
    bytes += packed;
    std::string text = "https://example.org/#watch=1";
    uint32_t bits = 0;
    int held = 0;
    for (unsigned char c : bytes) {
        bits = bits << 8 | c;
        for (held += 8; held >= 6;) text += digits[(bits >> (held -= 6)) & 63];
    }
    if (held) text += digits[(bits << (6 - held)) & 63];
    return text;
}

std::string Packed(std::string steps)
{
    uint32_t check = (uint32_t)crc32(0, reinterpret_cast<const Bytef*>(steps.data()), (uInt)steps.size());
    for (int i = 0; i < 4; ++i) steps += (char)(check >> (8 * i));
    std::string packed(compressBound((uLong)steps.size()) + 16, '\0');
    z_stream z = {};
    if (deflateInit2(&z, 6, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY) != Z_OK) abort();
    z.next_in = reinterpret_cast<Bytef*>(&steps[0]);
    z.avail_in = (uInt)steps.size();
    z.next_out = reinterpret_cast<Bytef*>(&packed[0]);
    z.avail_out = (uInt)packed.size();
    if (deflate(&z, Z_FINISH) != Z_STREAM_END) abort();
    packed.resize(packed.size() - z.avail_out);
    deflateEnd(&z);
    return packed;
}

bool Begins(const std::string& text, const char* start) { return text.rfind(start, 0) == 0; }

// The game as it plays: runs of the same keys joined (a forged link may
// split them; the game's own never does).
std::vector<ReplayStep> Played(const std::vector<ReplayStep>& steps)
{
    std::vector<ReplayStep> runs;
    for (const ReplayStep& step : steps) {
        if (!runs.empty() && runs.back().keys == step.keys)
            runs.back().ticks += step.ticks;
        else
            runs.push_back(step);
    }
    return runs;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0) return 0;
    std::string rest(reinterpret_cast<const char*>(data) + 1, size - 1);
    std::string link = data[0] % 2 == 0 ? std::string(reinterpret_cast<const char*>(data), size)
                       : data[0] % 4 == 1 ? Framed(rest)
                                          : Framed(Packed(rest));
    std::vector<ReplayStep> steps, again;
    std::string problem;
    if (!ReadWatchLink(link, &steps, &problem)) {
        if (!Begins(problem, "the link ")) abort();
        return 0;
    }
    for (const ReplayStep& step : steps)
        if (step.ticks == 0 || step.ticks > 1000000000000ull || step.keys.size() > 10) abort();
    std::string made;
    if (!MakeWatchLink("https://example.org/", steps, &made, &problem) || !ReadWatchLink(made, &again, &problem))
        abort();
    std::vector<ReplayStep> game = Played(steps), replayed = Played(again);
    if (game.size() != replayed.size()) abort();
    for (size_t i = 0; i < game.size(); ++i)
        if (game[i].ticks != replayed[i].ticks || game[i].keys != replayed[i].keys) abort();
    return 0;
}
