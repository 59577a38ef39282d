// A whole recorded game carried in a link, `<page address>#watch=<game>`:
// the game rides in the address's fragment, which browsers never send to a
// server. platform/programs/WatchLink.md has the form. The Linux programs read
// and make links (zlib); in the browser the page's own script decodes them
// and hands the program an ordinary recording, so the game there reads none.
#ifndef VORBLOX_PLATFORM_WATCH_LINK_H
#define VORBLOX_PLATFORM_WATCH_LINK_H

#include <ReplayScript.h>

#include <stddef.h>

#include <string>
#include <vector>

// What comes between the page's address and the game.
extern const char watchLinkMark[];  // "#watch="

// Longer links are refused unread: no link the game makes is this long,
// and it is about what a browser's address bar takes.
const size_t watchLinkLongest = 2u << 20;
// The steps of a game, decoded, are at most this many bytes (some hours
// of play): a small link that would unpack into gigabytes is refused.
const size_t watchLinkLargestGame = 1u << 20;

// Whether `text` has a link's form rather than a recording's or a file
// name's: it begins with http:// or https://, or its first word holds
// "#watch=". Blanks and a byte-order mark before it are passed over.
bool LooksLikeWatchLink(const char* begin, const char* end);

// The game in `link` (a whole link, or only what follows "#watch="),
// runs of the same keys as one step each. False with *problem, a phrase
// such as "the link is cut short" or "the link was altered": a link that
// does not hold exactly the game it was made of never plays.
bool ReadWatchLink(const std::string& link, std::vector<ReplayStep>* steps, std::string* problem);

// A link to the page at `address` holding `steps` (only their named keys).
// False with *problem when the game is too large for a link.
bool MakeWatchLink(const std::string& address, const std::vector<ReplayStep>& steps, std::string* link,
                   std::string* problem);

#endif
