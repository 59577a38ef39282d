// The game is deterministic: the keys of every tick are all a replay needs.
// A recording is written in the replay runner's script form, so
// vorblox-replay plays it to the same end.
//
// The file a game records into is written new beside the one it replaces
// and put in place when a game starts (F1): until then whatever was there
// stays as it was, and a start that fails, or a prompt quit with Esc,
// leaves nothing behind. A lock beside it, as editors take, keeps a second
// game from recording into the same file meanwhile.
//
// Ticks the game skips while it sleeps at its idle prompt are not written:
// they would change nothing, so the replay ends the same without them, and
// watching does not sit through them.
#include "Recording.h"

#include "DisplayLoss.h"
#include "InputSource.h"
#include "ScanCodes.h"

#include <ProgramOptions.h>
#include <ReplayScript.h>
#include <dinput.h>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <vector>

namespace plat {
namespace {

// A run of equal ticks is written out after a second of them (64 ticks),
// so a game that is killed loses at most its last second.
const uint64_t longestOpenRun = 64;

struct Recording {
    int fd = -1;
    std::string path;        // as given; "-" for standard output
    std::string target;      // the file it ends up in, links followed
    std::string fresh;       // the new file beside it, until it is put in place
    std::string lockPath;
    int lock = -1;
    bool begun = false;      // the header is written
    bool cutBack = false;    // a regular file, cut back to `whole` on failure
    off_t whole = 0;         // where the last whole line ends
    std::vector<unsigned char> keys;  // of the open run
    uint64_t ticks = 0;               // in the open run
};

Recording& TheRecording()
{
    static auto* recording = new Recording;
    return *recording;
}

std::string ShownPath(const Recording& r) { return r.path == "-" ? "the standard output" : Quoted(r.path); }

void StopRecording(Recording& r)
{
    if (r.fd >= 0) close(r.fd);
    r.fd = -1;
    // Never put in place: the file that was there stays.
    if (!r.fresh.empty()) unlink(r.fresh.c_str());
    r.fresh.clear();
}

// Writes whole lines, or nothing: a write that fails part-way (a full
// disk, a size limit) is cut back to the last whole line, so the file
// stays a recording that plays up to there.
void WriteLines(Recording& r, const std::string& lines)
{
    if (r.fd < 0) return;
    size_t done = 0;
    while (done < lines.size()) {
        ssize_t n = write(r.fd, lines.data() + done, lines.size() - done);
        if (n > 0) {
            done += (size_t)n;
        } else if (n < 0 && errno == EINTR) {
            continue;
        } else {
            int problem = n < 0 ? errno : ENOSPC;
            bool cut = r.cutBack && ftruncate(r.fd, r.whole) == 0;
            if (cut) lseek(r.fd, r.whole, SEEK_SET);
            // The game goes on; only the recording stops.
            Complain("writing " + ShownPath(r) + " failed: " + std::strerror(problem) + "; recording stopped" +
                     (cut && r.fresh.empty() ? " after the last whole line" : ""));
            StopRecording(r);
            return;
        }
    }
    r.whole += (off_t)lines.size();
}

// A game has started: from here the file holds it.
void PutInPlace(Recording& r)
{
    if (r.fresh.empty() || r.fd < 0) return;
    if (rename(r.fresh.c_str(), r.target.c_str()) != 0) {
        Complain("cannot put the recording in place as " + ShownPath(r) + ": " + std::strerror(errno) +
                 "; recording stopped");
        StopRecording(r);
        return;
    }
    r.fresh.clear();
}

void WriteOpenRun(Recording& r)
{
    if (r.fd < 0 || r.ticks == 0) return;
    std::string line = ReplayLine(r.ticks, r.keys) + '\n';
    r.ticks = 0;
    WriteLines(r, line);
}

std::vector<unsigned char> NamedKeysDown(const BYTE* keys)
{
    std::vector<unsigned char> down;
    if (!keys) return down;
    for (int i = 0; i < replayKeyNameCount; ++i)
        if (keys[replayKeyNames[i].code] & 0x80) down.push_back(replayKeyNames[i].code);
    return down;
}

// Every read the game got goes on record, a watched recording's too: a
// game played on from a moment of one replays from its start.
class Recorder final : public InputSource {
public:
    void Saw(const KeyboardRead& read, bool ok) override
    {
        Recording& r = TheRecording();
        if (r.fd < 0) return;
        if (!r.begun) {
            r.begun = true;
            WriteLines(r, std::string(replayRecordingHeader) + "\n");
        }
        std::vector<unsigned char> down = NamedKeysDown(ok ? read.keys : nullptr);
        if (!r.fresh.empty() && std::find(down.begin(), down.end(), (unsigned char)DIK_F1) != down.end())
            PutInPlace(r);
        if (r.ticks > 0 && (down != r.keys || r.ticks == longestOpenRun)) WriteOpenRun(r);
        r.keys = down;
        ++r.ticks;
    }
    void Idle() override { WriteOpenRun(TheRecording()); }
};

std::string Folder(const std::string& path)
{
    size_t slash = path.rfind('/');
    return slash == std::string::npos ? "" : path.substr(0, slash + 1);
}

// Takes the lock beside `target` for this game, as long as it runs. One
// left by a game that was killed is free again: the lock is the system's,
// held by the open file.
bool TakeLock(Recording& r, std::string* error)
{
    r.lockPath = Folder(r.target) + "." + r.target.substr(Folder(r.target).size()) + ".lock";
    for (int attempt = 0; attempt < 10; ++attempt) {
        int fd = open(r.lockPath.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
        if (fd < 0) {
            *error = "cannot write " + Quoted(r.path) + ": " + std::strerror(errno);
            return false;
        }
        if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
            int problem = errno;
            close(fd);
            if (problem == EWOULDBLOCK) {
                *error = "another game is recording into " + Quoted(r.path) + " already";
                return false;
            }
            // A file system without locks: recorded as well as it can be.
            return true;
        }
        // The game that held it may have removed it as this one opened it.
        struct stat held, there;
        if (fstat(fd, &held) == 0 && stat(r.lockPath.c_str(), &there) == 0 && held.st_ino == there.st_ino &&
            held.st_dev == there.st_dev) {
            r.lock = fd;
            return true;
        }
        close(fd);
    }
    *error = "cannot lock " + Quoted(r.path) + " for recording";
    return false;
}

void ReleaseLock(Recording& r)
{
    if (r.lock < 0) return;
    unlink(r.lockPath.c_str());
    close(r.lock);
    r.lock = -1;
}

// A file of its own beside the target, with the mode the target has or a
// new file would get.
bool OpenFresh(Recording& r, std::string* error)
{
    r.fresh = Folder(r.target) + "." + r.target.substr(Folder(r.target).size()) + ".XXXXXX";
    r.fd = mkstemp(&r.fresh[0]);
    if (r.fd < 0) {
        *error = "cannot write " + Quoted(r.path) + ": " + std::strerror(errno);
        r.fresh.clear();
        return false;
    }
    fcntl(r.fd, F_SETFD, FD_CLOEXEC);
    struct stat info;
    mode_t mask = umask(0);
    umask(mask);
    fchmod(r.fd, stat(r.target.c_str(), &info) == 0 ? info.st_mode & 07777 : 0666 & ~mask);
    r.cutBack = true;
    r.whole = 0;
    return true;
}

}  // namespace

bool StartRecording(const char* path, std::string* error)
{
    Recording& r = TheRecording();
    r.path = path;
    // The ticks held so far go to the file when the display is lost.
    BeforeEndingWithoutDisplay(FinishRecording);
    // A size limit fails the write, which stops the recording with a
    // message, rather than killing the game.
    std::signal(SIGXFSZ, SIG_IGN);
    if (!std::strcmp(path, "-")) {
        r.fd = StandardStreamClosed(STDOUT_FILENO) ? -1 : dup(STDOUT_FILENO);
        if (r.fd < 0) {
            *error = std::string("cannot write the standard output: ") +
                     (StandardStreamClosed(STDOUT_FILENO) ? "it is closed" : std::strerror(errno));
            return false;
        }
        // The standard output is the recording's alone: whatever else the
        // program might print there goes to the standard error instead.
        dup2(STDERR_FILENO, STDOUT_FILENO);
        // A reader that goes away stops the recording, not the game.
        std::signal(SIGPIPE, SIG_IGN);
    } else {
        r.target = FollowLinks(path);
        struct stat info;
        bool there = stat(r.target.c_str(), &info) == 0;
        if (!CanWriteFile(path, error)) return false;
        if (there && !S_ISREG(info.st_mode)) {
            // A named pipe or a device is written straight away, without
            // waiting for a reader.
            r.fd = open(r.target.c_str(), O_WRONLY | O_CLOEXEC | O_NONBLOCK);
            if (r.fd >= 0) fcntl(r.fd, F_SETFL, fcntl(r.fd, F_GETFL) & ~O_NONBLOCK);
            if (r.fd < 0) {
                *error = "cannot write " + Quoted(path) + ": " + std::strerror(errno);
                return false;
            }
        } else if (!TakeLock(r, error) || !OpenFresh(r, error)) {
            ReleaseLock(r);
            return false;
        }
    }
    if (r.fresh.empty()) {
        struct stat info;
        r.cutBack = fstat(r.fd, &info) == 0 && S_ISREG(info.st_mode);
        // A standard output opened to append (>>) writes at the file's end,
        // wherever its offset says.
        r.whole = !r.cutBack ? 0 : (fcntl(r.fd, F_GETFL) & O_APPEND) ? info.st_size : lseek(r.fd, 0, SEEK_CUR);
        if (r.whole < 0) r.cutBack = false;
    }
    static Recorder recorder;
    AddInputSource(&recorder);
    return true;
}

void FinishRecording()
{
    Recording& r = TheRecording();
    WriteOpenRun(r);
    StopRecording(r);
    ReleaseLock(r);
}

void LeaveRecording()
{
    Recording& r = TheRecording();
    StopRecording(r);
    ReleaseLock(r);
}

void WriteOutRecording() { WriteOpenRun(TheRecording()); }

}  // namespace plat
