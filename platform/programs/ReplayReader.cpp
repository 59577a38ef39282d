// Scripts are read through a fixed buffer: a step is parsed when it is
// played, so memory does not grow with the script, and a pipe's lines play
// as they come.
#include <ProgramOptions.h>
#include <ReplayReader.h>
#include <WatchLink.h>

#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace {

// What a refused line shows of itself: enough to know it again.
const size_t quotedPart = 40;

std::string Cut(const char* begin, const char* end)
{
    size_t size = (size_t)(end - begin);
    std::string part(begin, size < quotedPart ? size : quotedPart);
    return plat::Quoted(part) + (size > quotedPart ? "..." : "");
}

}  // namespace

ReplayReader::~ReplayReader()
{
    if (ownFd && fd >= 0) close(fd);
}

bool ReplayReader::Open(const char* given, std::string* error)
{
    path = given;
    const bool standard = path == "-";
    if (!standard && LooksLikeWatchLink(given, given + path.size())) {
        name = "the link";
        return UseLink(path, error);
    }
    const std::string quoted = plat::Quoted(path);
    // Named as compilers name a file before a line number: unquoted, but
    // with anything unprintable escaped.
    name = standard ? "standard input" : quoted.substr(1, quoted.size() - 2);
    const std::string shown = standard ? "the standard input" : quoted;
    if (standard) {
        if (plat::StandardStreamClosed(STDIN_FILENO)) {
            *error = "cannot read the standard input: it is closed";
            return false;
        }
        fd = STDIN_FILENO;
    } else {
        fd = open(given, O_RDONLY | O_CLOEXEC);
        ownFd = fd >= 0;
    }
    struct stat info;
    int problem = fd < 0 ? errno : fstat(fd, &info) != 0 ? errno : S_ISDIR(info.st_mode) ? EISDIR : 0;
    if (problem) {
        *error = "cannot read " + shown + ": " + std::strerror(problem);
        return false;
    }
    Reset();
    return true;
}

bool ReplayReader::UseLink(const std::string& link, std::string* error)
{
    std::string problem;
    if (!ReadWatchLink(link, &game, &problem)) {
        *error = name == "the link" ? problem : name + ": " + problem;
        return false;
    }
    linked = true;
    played = 0;
    // All there is to read is read.
    if (ownFd && fd >= 0) close(fd);
    fd = -1;
    ownFd = false;
    return true;
}

ReplayReader::Result ReplayReader::TakeLink(std::string* error)
{
    looked = true;
    // Its first line tells, or as much as a script's line may hold.
    for (;;) {
        size_t have = length - start;
        if (ended || have > longestLine || std::memchr(buffer + start, '\n', have)) break;
        if (ReadMore(error) == Bad) return Bad;
    }
    const char* begin = buffer + start;
    const char* newline = static_cast<const char*>(std::memchr(begin, '\n', length - start));
    if (!LooksLikeWatchLink(begin, newline ? newline : buffer + length)) return Step;
    // Read on only until it is longer than any link may be.
    std::string link(begin, length - start);
    start = length;
    while (!ended && link.size() <= watchLinkLongest) {
        if (ReadMore(error) == Bad) return Bad;
        link.append(buffer + start, length - start);
        start = length;
    }
    return UseLink(link, error) ? Step : Bad;
}

void ReplayReader::Reset()
{
    looked = false;
    start = length = 0;
    ended = false;
    recording = false;
    number = 0;
    notice.clear();
}

bool ReplayReader::Rewind()
{
    if (linked) {
        played = 0;
        return true;
    }
    if (fd < 0) return false;
    if (lseek(fd, 0, SEEK_SET) != 0) {
        // A file that will not seek (a device) may still open again.
        if (path == "-" || !ownFd) return false;
        int again = open(path.c_str(), O_RDONLY | O_CLOEXEC);
        struct stat info;
        if (again < 0 || fstat(again, &info) != 0 || S_ISFIFO(info.st_mode) || S_ISCHR(info.st_mode)) {
            if (again >= 0) close(again);
            return false;
        }
        close(fd);
        fd = again;
    }
    Reset();
    return true;
}

bool ReplayReader::Ready()
{
    if (linked || ended || std::memchr(buffer + start, '\n', length - start)) return true;
    pollfd look = {fd, POLLIN, 0};
    return poll(&look, 1, 0) != 0;
}

ReplayReader::Result ReplayReader::ReadMore(std::string* error)
{
    if (start > 0) {
        std::memmove(buffer, buffer + start, length - start);
        length -= start;
        start = 0;
    }
    for (;;) {
        ssize_t n = read(fd, buffer + length, sizeof buffer - length);
        if (n > 0) {
            length += (size_t)n;
            return Step;
        }
        if (n == 0) {
            ended = true;
            return Step;
        }
        if (errno == EINTR) continue;
        if (errno == EAGAIN) {
            // A standard input left non-blocking by whoever passed it.
            pollfd wait = {fd, POLLIN, 0};
            poll(&wait, 1, -1);
            continue;
        }
        *error = "cannot read " + (path == "-" ? std::string("the standard input") : plat::Quoted(path)) + ": " +
                 std::strerror(errno);
        return Bad;
    }
}

ReplayReader::Result ReplayReader::Line(const char* begin, const char* end, bool whole, ReplayStep* step,
                                        std::string* error)
{
    ++number;
    if (number == 1) {
        // Some editors begin a UTF-8 file with a byte-order mark.
        if (end - begin >= 3 && std::memcmp(begin, "\xEF\xBB\xBF", 3) == 0) begin += 3;
        size_t header = std::strlen(replayRecordingHeader);
        recording = (size_t)(end - begin) >= header && std::memcmp(begin, replayRecordingHeader, header) == 0;
    }
    std::string problem;
    ReplayLineKind kind = ParseReplayLine(begin, end, step, &problem);
    // The game ends every line it writes: one of its recordings that stops
    // in the middle of a line was cut short (a crash, a disk that filled),
    // and what is left of the line may read as other keys than were held.
    if (!whole && (recording || kind == ReplayLineKind::Bad)) {
        notice = name + ": line " + std::to_string(number) + " is cut short (" + Cut(begin, end) +
                 " without a line end); left out";
        return End;
    }
    if (kind == ReplayLineKind::Bad) {
        *error = name + ": line " + std::to_string(number) + ": " + problem;
        return Bad;
    }
    return kind == ReplayLineKind::Step ? Step : End;  // End here: a blank line, read on
}

ReplayReader::Result ReplayReader::Next(ReplayStep* step, std::string* error)
{
    if (!looked && !linked && TakeLink(error) == Bad) return Bad;
    if (linked) {
        if (played == game.size()) return End;
        *step = game[played++];
        return Step;
    }
    for (;;) {
        const char* begin = buffer + start;
        const char* newline = static_cast<const char*>(std::memchr(begin, '\n', length - start));
        const char* end = newline ? newline : buffer + length;
        if ((size_t)(end - begin) > longestLine) {
            *error = name + ": line " + std::to_string(number + 1) + " is longer than " +
                     std::to_string(longestLine) + " bytes: " + Cut(begin, end);
            return Bad;
        }
        if (newline) {
            start = (size_t)(newline + 1 - buffer);
            Result got = Line(begin, newline, true, step, error);
            if (got != End) return got;
            continue;
        }
        if (ended) {
            if (begin == end) return End;
            start = length;
            Result got = Line(begin, end, false, step, error);
            return got == Step ? Step : got == Bad ? Bad : End;
        }
        if (ReadMore(error) == Bad) return Bad;
    }
}
