// A replay script read as it is played: one step at a time, in a buffer of
// a fixed size, so that a recording of any length (or one still being
// written into a pipe) plays in the same small memory. A link to a game
// (WatchLink.h), given in place of the file or as a file's content, is
// read whole at once instead and played from memory.
#ifndef VORBLOX_PLATFORM_REPLAY_READER_H
#define VORBLOX_PLATFORM_REPLAY_READER_H

#include <ReplayScript.h>

#include <string>
#include <vector>

class ReplayReader {
public:
    // Longer lines are refused at once: the game writes none longer than
    // about sixty bytes, and reading on would be reading garbage.
    static const size_t longestLine = 400;

    enum Result { Step, End, Bad };

    ReplayReader() = default;
    ~ReplayReader();
    ReplayReader(const ReplayReader&) = delete;
    ReplayReader& operator=(const ReplayReader&) = delete;

    // Opens the script at `path` ("-": the standard input, which must be
    // open and readable), or the game in `path` when it has a link's form.
    // False with *error naming it, or saying what is wrong with the link.
    bool Open(const char* path, std::string* error);

    // The next step. Bad with *error naming the file and the line
    // ("game.rec: line 3: ..."); End once the script is over, with Notice()
    // saying so when a recording's last line was cut short and left out.
    // Waits for a pipe's writer, as long as it takes.
    Result Next(ReplayStep* step, std::string* error);

    // True when Next would not wait: a whole line is buffered, or the
    // input is over, or something has arrived to be read; always once a
    // link is read.
    bool Ready();

    // Back to the first line, for playing it again. False where the input
    // cannot be read again (a pipe, a terminal); a link's game always can.
    bool Rewind();

    // "game.rec", "standard input" or "the link", as messages name it.
    const std::string& Name() const { return name; }
    const std::string& Notice() const { return notice; }
    // What to wait on for more; -1 once a link is read (nothing to wait for).
    int Descriptor() const { return fd; }
    // Whether the game came from a link (given, or in the file).
    bool FromLink() const { return linked; }

private:
    Result ReadMore(std::string* error);
    // Whether the input holds a link; if so reads it whole and plays it.
    Result TakeLink(std::string* error);
    bool UseLink(const std::string& link, std::string* error);
    Result Line(const char* begin, const char* end, bool whole, ReplayStep* step, std::string* error);
    void Reset();

    int fd = -1;
    bool ownFd = false;
    std::string path, name, notice;
    char buffer[64 * 1024];
    size_t start = 0, length = 0;
    bool ended = false;
    bool recording = false;  // begins with the game's own header
    uint64_t number = 0;     // of the last line taken
    bool looked = false;     // at the input's start, for a link
    bool linked = false;
    std::vector<ReplayStep> game;  // a link's
    size_t played = 0;             // steps of `game` taken
};

#endif
