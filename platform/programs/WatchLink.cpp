// Links of format 1 (WatchLink.md): "1", then base64url of the length and
// the raw deflate of the game's steps with their count, total ticks and
// CRC-32. Every way a link can go wrong on its way (cut by a messenger, a
// character changed, another program's link, a huge game) ends in a
// refusal that says which: a link never plays any game but its own.
#include <ProgramOptions.h>
#include <WatchLink.h>

#include <dinput.h>
#include <zlib.h>

#include <cstring>

namespace {

const char format = '1';
// The largest count a script line may have: a longer run of the same keys
// is written as several steps, so that a link's game is a script too.
const uint64_t longestStep = 1000000000000ull;
// The keys a link holds, by their bit in a step: the moves and turns first,
// so that most steps fit in a byte.
const unsigned char linkKeys[] = {DIK_LEFT,   DIK_RIGHT,    DIK_UP,       DIK_DOWN, DIK_LSHIFT,
                                  DIK_RSHIFT, DIK_LCONTROL, DIK_RCONTROL, DIK_F1,   DIK_ESCAPE};
const int keyBits = sizeof linkKeys;
// The most ticks a link's game may have in all, counted exactly by the
// page's script too (a JavaScript number's whole range): millions of years.
const uint64_t mostTicks = (1ull << 53) - 1;

const char digits[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789-_";

const char cutShort[] = "the link is cut short";
const char altered[] = "the link was altered";

int Digit(char c)
{
    if (c >= 'A' && c <= 'Z') return c - 'A';
    if (c >= 'a' && c <= 'z') return c - 'a' + 26;
    if (c >= '0' && c <= '9') return c - '0' + 52;
    if (c == '-') return 62;
    if (c == '_') return 63;
    return -1;
}

bool Blank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f'; }

std::string Stray(char c)
{
    return std::string(altered) + ": it has " + plat::Quoted(std::string(1, c)) +
           " where only letters, digits, - and _ belong";
}

std::string Base64(const std::string& bytes)
{
    std::string text;
    uint32_t bits = 0;
    int held = 0;
    for (unsigned char byte : bytes) {
        bits = bits << 8 | byte;
        held += 8;
        while (held >= 6) {
            held -= 6;
            text += digits[(bits >> held) & 63];
        }
    }
    if (held > 0) text += digits[(bits << (6 - held)) & 63];
    return text;
}

// Blanks inside are passed over: a mail program may have broken a long
// link into lines. *loose: the last digit has bits that are no byte's, which
// the game's links never have.
bool FromBase64(const std::string& text, size_t from, std::string* bytes, size_t* count, bool* loose,
                std::string* problem)
{
    uint32_t bits = 0;
    int held = 0;
    *count = 0;
    for (size_t i = from; i < text.size(); ++i) {
        if (Blank(text[i])) continue;
        int digit = Digit(text[i]);
        if (digit < 0) {
            *problem = Stray(text[i]);
            return false;
        }
        ++*count;
        bits = bits << 6 | (uint32_t)digit;
        held += 6;
        if (held >= 8) {
            held -= 8;
            *bytes += (char)((bits >> held) & 0xFF);
        }
    }
    *loose = held == 6 || (bits & ((1u << held) - 1)) != 0;
    return true;
}

void PutNumber(std::string* out, uint64_t value)
{
    while (value >= 0x80) {
        *out += (char)((value & 0x7F) | 0x80);
        value >>= 7;
    }
    *out += (char)value;
}

bool TakeNumber(const std::string& in, size_t* at, size_t end, uint64_t* value)
{
    *value = 0;
    // Eight bytes at most: 56 bits is more than any count needs.
    for (int shift = 0; *at < end && shift < 56; shift += 7) {
        unsigned char byte = (unsigned char)in[(*at)++];
        *value |= (uint64_t)(byte & 0x7F) << shift;
        if (!(byte & 0x80)) return true;
    }
    return false;
}

uint32_t Check(const std::string& bytes, size_t size)
{
    return (uint32_t)crc32(crc32(0, nullptr, 0), reinterpret_cast<const Bytef*>(bytes.data()), (uInt)size);
}

unsigned KeyBits(const std::vector<unsigned char>& keys)
{
    unsigned bits = 0;
    for (int i = 0; i < keyBits; ++i)
        for (unsigned char key : keys)
            if (key == linkKeys[i]) bits |= 1u << i;
    return bits;
}

// The steps, count and ticks first and the CRC-32 of all that last: what
// deflate packs.
std::string Body(const std::vector<ReplayStep>& script, uint64_t* ticks)
{
    std::vector<std::pair<uint64_t, unsigned>> steps;
    for (const ReplayStep& step : script) {
        unsigned keys = KeyBits(step.keys);
        uint64_t left = step.ticks;
        if (!steps.empty() && steps.back().second == keys && steps.back().first < longestStep) {
            uint64_t room = longestStep - steps.back().first;
            uint64_t taken = left < room ? left : room;
            steps.back().first += taken;
            left -= taken;
        }
        while (left > 0) {
            uint64_t taken = left < longestStep ? left : longestStep;
            steps.push_back({taken, keys});
            left -= taken;
        }
    }
    *ticks = 0;
    for (const auto& step : steps) *ticks += step.first;
    std::string body;
    PutNumber(&body, steps.size());
    PutNumber(&body, *ticks);
    for (const auto& step : steps) PutNumber(&body, (step.first - 1) << keyBits | step.second);
    uint32_t check = Check(body, body.size());
    for (int i = 0; i < 4; ++i) body += (char)(check >> (8 * i) & 0xFF);
    return body;
}

bool ReadBody(const std::string& body, std::vector<ReplayStep>* steps, std::string* problem)
{
    *problem = std::string(altered) + ": its check does not match";
    if (body.size() < 4) return false;
    size_t end = body.size() - 4;
    uint32_t check = 0;
    for (int i = 0; i < 4; ++i) check |= (uint32_t)(unsigned char)body[end + i] << (8 * i);
    if (check != Check(body, end)) return false;
    // From here the link is one this game's encoder made, or was forged.
    *problem = std::string(altered) + ": its steps do not add up";
    size_t at = 0;
    uint64_t count = 0, total = 0, sum = 0;
    if (!TakeNumber(body, &at, end, &count) || !TakeNumber(body, &at, end, &total) || count > end ||
        total > mostTicks)
        return false;
    steps->clear();
    steps->reserve(count);
    for (uint64_t i = 0; i < count; ++i) {
        uint64_t packed = 0;
        if (!TakeNumber(body, &at, end, &packed) || packed >> keyBits >= longestStep) return false;
        ReplayStep step;
        step.ticks = (packed >> keyBits) + 1;
        // In the order a script names them, as the game records them.
        for (int k = 0; k < replayKeyNameCount; ++k)
            for (int bit = 0; bit < keyBits; ++bit)
                if (packed >> bit & 1 && linkKeys[bit] == replayKeyNames[k].code) step.keys.push_back(linkKeys[bit]);
        sum += step.ticks;
        steps->push_back(step);
    }
    if (at != end || sum != total) return false;
    problem->clear();
    return true;
}

bool Inflate(const std::string& packed, std::string* body, std::string* problem)
{
    z_stream z;
    std::memset(&z, 0, sizeof z);
    if (inflateInit2(&z, -MAX_WBITS) != Z_OK) {
        *problem = "the link could not be unpacked: out of memory";
        return false;
    }
    // One byte of room more than a game may have: filling it is too much.
    body->assign(watchLinkLargestGame + 1, '\0');
    z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(packed.data()));
    z.avail_in = (uInt)packed.size();
    z.next_out = reinterpret_cast<Bytef*>(&(*body)[0]);
    z.avail_out = (uInt)body->size();
    int result = inflate(&z, Z_FINISH);
    body->resize(body->size() - z.avail_out);
    bool leftOver = z.avail_in != 0;
    inflateEnd(&z);
    if (body->size() > watchLinkLargestGame) {
        *problem = "the link's game is too large: it unpacks to more than " +
                   std::to_string(watchLinkLargestGame >> 20) + " MiB";
        return false;
    }
    if (result == Z_STREAM_END && !leftOver) return true;
    // The packed game is all there (its length said so), so a stream that
    // wants more, or ends before its bytes do, was changed too. (Said as
    // the page says it, whose decompressor tells neither from a bad one.)
    *problem = result == Z_MEM_ERROR ? "the link could not be unpacked: out of memory"
                                     : std::string(altered) + ": it does not unpack";
    return false;
}

}  // namespace

bool ReadWatchLink(const std::string& link, std::vector<ReplayStep>* steps, std::string* problem)
{
    if (link.size() > watchLinkLongest) {
        *problem = "the link is too long: no link of a game is over " + std::to_string(watchLinkLongest) +
                   " characters";
        return false;
    }
    size_t mark = link.find(watchLinkMark);
    size_t at = mark == std::string::npos ? 0 : mark + std::strlen(watchLinkMark);
    if (mark == std::string::npos && LooksLikeWatchLink(link.data(), link.data() + link.size())) {
        size_t end = link.find_last_not_of(" \t\r\n\v\f") + 1, hash = link.rfind('#', end);
        // Cut in the middle of "#watch=" itself.
        bool cut = hash != std::string::npos && end - hash <= std::strlen(watchLinkMark) &&
                   link.compare(hash, end - hash, watchLinkMark, end - hash) == 0;
        *problem = cut ? std::string(cutShort) : "the link holds no game: it has no #watch= part";
        return false;
    }
    while (at < link.size() && Blank(link[at])) ++at;
    if (at == link.size()) {
        *problem = std::string(cutShort) + ": nothing follows #watch=";
        return false;
    }
    if (link[at] != format) {
        *problem = Digit(link[at]) < 0 ? Stray(link[at])
                                       : "the link is of a newer format ('" + link.substr(at, 1) +
                                             "') than this game reads ('1')";
        return false;
    }
    std::string bytes, body;
    size_t digits = 0, start = 0;
    uint64_t size = 0;
    bool loose = false;
    if (!FromBase64(link, at + 1, &bytes, &digits, &loose, problem)) return false;
    if (!TakeNumber(bytes, &start, bytes.size(), &size)) {
        *problem = cutShort;
        return false;
    }
    if (size > watchLinkLongest) {
        *problem = std::string(altered) + ": it says it is longer than any link";
        return false;
    }
    // Its length first, so that a link cut short is told from one changed.
    if (bytes.size() - start < size) {
        size_t missing = ((start + size) * 8 + 5) / 6 - digits;
        *problem = std::string(cutShort) + (missing == 1 ? ": its last character is missing"
                                                         : ": its last " + std::to_string(missing) +
                                                               " characters are missing");
        return false;
    }
    if (bytes.size() - start > size || loose) {
        *problem = std::string(altered) + ": it goes on after its game";
        return false;
    }
    return Inflate(bytes.substr(start), &body, problem) && ReadBody(body, steps, problem);
}

bool MakeWatchLink(const std::string& address, const std::vector<ReplayStep>& steps, std::string* link,
                   std::string* problem)
{
    uint64_t ticks = 0;
    std::string body = Body(steps, &ticks);
    if (body.size() > watchLinkLargestGame || ticks > mostTicks) {
        *problem = "the game is too long for a link (a link holds " + std::to_string(watchLinkLargestGame >> 20) +
                   " MiB of steps): share the recording itself";
        return false;
    }
    z_stream z;
    std::memset(&z, 0, sizeof z);
    if (deflateInit2(&z, Z_BEST_COMPRESSION, Z_DEFLATED, -MAX_WBITS, 9, Z_DEFAULT_STRATEGY) != Z_OK) {
        *problem = "the link could not be packed: out of memory";
        return false;
    }
    std::string packed(deflateBound(&z, (uLong)body.size()), '\0');
    z.next_in = reinterpret_cast<Bytef*>(&body[0]);
    z.avail_in = (uInt)body.size();
    z.next_out = reinterpret_cast<Bytef*>(&packed[0]);
    z.avail_out = (uInt)packed.size();
    int result = deflate(&z, Z_FINISH);
    packed.resize(packed.size() - z.avail_out);
    deflateEnd(&z);
    if (result != Z_STREAM_END) {
        *problem = "the link could not be packed";
        return false;
    }
    std::string bytes;
    PutNumber(&bytes, packed.size());
    *link = address + watchLinkMark + format + Base64(bytes + packed);
    return true;
}
