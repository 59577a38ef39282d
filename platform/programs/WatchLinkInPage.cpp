// The browser's build reads no links: its page decodes the one in its
// address and hands the game an ordinary recording, so the game there
// carries no decompressor. A file the player opens that holds a link gets
// this answer.
#include <WatchLink.h>

bool ReadWatchLink(const std::string&, std::vector<ReplayStep>*, std::string* problem)
{
    *problem = "this file holds a link to a game, not a recording: open the link itself in the browser";
    return false;
}
