// Telling a link from a recording or a file name, by its form alone: the
// browser's build needs this much too, to say that a file it was handed
// holds a link (its page decodes links itself).
#include <WatchLink.h>

#include <cstring>

const char watchLinkMark[] = "#watch=";

namespace {

bool Blank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f'; }

bool StartsWithScheme(const char* begin, const char* end, const char* scheme)
{
    size_t size = std::strlen(scheme);
    if ((size_t)(end - begin) < size) return false;
    for (size_t i = 0; i < size; ++i)
        if ((begin[i] | 0x20) != scheme[i]) return false;
    return true;
}

}  // namespace

bool LooksLikeWatchLink(const char* begin, const char* end)
{
    if (end - begin >= 3 && std::memcmp(begin, "\xEF\xBB\xBF", 3) == 0) begin += 3;
    while (begin < end && Blank(*begin)) ++begin;
    if (StartsWithScheme(begin, end, "http://") || StartsWithScheme(begin, end, "https://")) return true;
    const char* word = begin;
    while (word < end && !Blank(*word)) ++word;
    const size_t mark = sizeof watchLinkMark - 1;
    for (const char* at = begin; at + mark <= word; ++at)
        if (std::memcmp(at, watchLinkMark, mark) == 0) return true;
    return false;
}
