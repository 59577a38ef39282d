// The game is deterministic: the keys of every tick are all a replay needs.
// A recording is written in the replay runner's script form, so
// vorblox-replay plays it to the same end.
//
// Ticks the game skips while it sleeps at its idle prompt are not written:
// they would change nothing, so the replay ends the same without them, and
// watching does not sit through them.
#include "Recording.h"

#include "InputSource.h"
#include "Internal.h"
#include "ScanCodes.h"
#include "WindowTitle.h"

#include <KeyBindings.h>
#include <ProgramOptions.h>
#include <ReplayScript.h>
#include <dinput.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

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

const char header[] = "# A game of Vorblox: ticks (64 a second) and the keys held in them.\n";

struct Recording {
    int fd = -1;
    std::string path;        // as given; "-" for standard output
    bool created = false;    // the file is new: a start that fails removes it
    bool playing = false;    // the game has played: the file holds this game
    bool cutBack = false;    // a regular file, cut back to `whole` on failure
    off_t whole = 0;         // where the last whole line ends
    std::vector<unsigned char> keys;  // of the open run
    uint64_t ticks = 0;               // in the open run
};

struct Player {
    bool watching = false;
    std::string name;          // for the window's title
    HWND titled = nullptr;     // the window whose title says so
    std::vector<ReplayStep> steps;
    size_t step = 0;
    uint64_t used = 0;  // ticks of steps[step] played
};

Recording& TheRecording()
{
    static auto* recording = new Recording;
    return *recording;
}

Player& ThePlayer()
{
    static auto* player = new Player;
    return *player;
}

std::string ShownPath(const Recording& r) { return r.path == "-" ? "the standard output" : Quoted(r.path); }

void StopRecording(Recording& r)
{
    if (r.fd >= 0) close(r.fd);
    r.fd = -1;
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
                     (cut ? " after the last whole line" : ""));
            StopRecording(r);
            return;
        }
    }
    r.whole += (off_t)lines.size();
}

// The game is about to play its first tick: from here the file holds this
// game, and only now is what was in it before given up.
void BeginPlay(Recording& r)
{
    r.playing = true;
    if (r.path != "-") {
        // Not a regular file (a device): nothing to empty.
        if (r.cutBack && ftruncate(r.fd, 0) != 0) {
            Complain("cannot empty " + ShownPath(r) + ": " + std::strerror(errno) + "; not recording");
            StopRecording(r);
            return;
        }
        r.whole = 0;
    }
    WriteLines(r, header);
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

// The window's title names the recording while it plays, so that nobody
// takes it for a game that ignores the keys.
void ShowWatchingTitle(Player& p, HWND window)
{
    if (p.titled == window || !SdlWindow(window)) return;
    p.titled = window;
    std::string quit = ActionKeyNames("quit");
    std::string note = "watching " + p.name + (quit.empty() ? "" : " (" + quit + " quits)");
    SetTitleNote(window, note.c_str());
}

void ShowProgramTitle(Player& p)
{
    if (p.titled) SetTitleNote(p.titled, "");
    p.titled = nullptr;
}

// A recording being watched takes every keyboard read over, focus or not.
class Playback final : public InputSource {
public:
    bool TakeOver(KeyboardRead& read) override
    {
        Player& p = ThePlayer();
        while (p.watching && p.step < p.steps.size() && p.used == p.steps[p.step].ticks) {
            ++p.step;
            p.used = 0;
        }
        if (!p.watching || p.step == p.steps.size()) {
            // Played to the end: the player's own keyboard and controllers
            // take over from here, under the game's own title.
            if (p.watching) ShowProgramTitle(p);
            p.watching = false;
            return false;
        }
        if (read.window) ShowWatchingTitle(p, read.window);
        // A recorded Esc is not played: the one watching decides when to stop.
        for (unsigned char key : p.steps[p.step].keys)
            if (key != DIK_ESCAPE) read.keys[key] = 0x80;
        ++p.used;
        if (read.window && HasKeyboardFocus(read.window)) {
            BYTE real[256];
            ReadKeys(real);
            read.keys[DIK_ESCAPE] = real[DIK_ESCAPE];
        }
        return true;
    }
    bool Waiting() override { return ThePlayer().watching; }
};

// Every read the game got from its own keys goes on record; the ticks of a
// recording being watched do not.
class Recorder final : public InputSource {
public:
    void Saw(const KeyboardRead& read, bool ok) override
    {
        if (read.takenOver) return;
        Recording& r = TheRecording();
        if (r.fd < 0) return;
        if (!r.playing) BeginPlay(r);
        std::vector<unsigned char> down = NamedKeysDown(ok ? read.keys : nullptr);
        if (r.ticks > 0 && (down != r.keys || r.ticks == longestOpenRun)) WriteOpenRun(r);
        r.keys = down;
        ++r.ticks;
    }
    void Idle() override { WriteOpenRun(TheRecording()); }
};

}  // namespace

bool StartRecording(const char* path, std::string* error)
{
    Recording& r = TheRecording();
    r.path = path;
    if (!std::strcmp(path, "-")) {
        r.fd = dup(STDOUT_FILENO);
        if (r.fd < 0) {
            *error = "cannot write the standard output: " + std::string(std::strerror(errno));
            return false;
        }
        // The standard output is the recording's alone: whatever else the
        // program might print there goes to the standard error instead.
        dup2(STDERR_FILENO, STDOUT_FILENO);
        // A reader that goes away stops the recording, not the game.
        std::signal(SIGPIPE, SIG_IGN);
    } else {
        // Opened now, so that a file that cannot be written is found before
        // the window opens; emptied only once the game plays (BeginPlay).
        r.fd = open(path, O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        r.created = r.fd >= 0;
        // Without waiting for a reader, should the file be a named pipe.
        if (r.fd < 0 && errno == EEXIST) r.fd = open(path, O_WRONLY | O_CLOEXEC | O_NONBLOCK);
        if (r.fd >= 0) fcntl(r.fd, F_SETFL, fcntl(r.fd, F_GETFL) & ~O_NONBLOCK);
        if (r.fd < 0) {
            *error = "cannot write " + Quoted(path) + ": " + std::strerror(errno);
            return false;
        }
    }
    struct stat info;
    r.cutBack = fstat(r.fd, &info) == 0 && S_ISREG(info.st_mode);
    // A standard output opened to append (>>) writes at the file's end,
    // wherever its offset says.
    r.whole = !r.cutBack ? 0 : (fcntl(r.fd, F_GETFL) & O_APPEND) ? info.st_size : lseek(r.fd, 0, SEEK_CUR);
    if (r.whole < 0) r.cutBack = false;
    static Recorder recorder;
    AddInputSource(&recorder);
    return true;
}

bool StartWatching(const char* path, std::string* error)
{
    Player& p = ThePlayer();
    if (!LoadReplayScript(path, &p.steps, error)) return false;
    p.watching = true;
    static Playback playback;
    AddInputSource(&playback);
    if (!std::strcmp(path, "-")) {
        p.name = "a recording from the standard input";
    } else {
        const char* slash = std::strrchr(path, '/');
        std::string name = Quoted(slash && slash[1] ? slash + 1 : path);
        p.name = name.substr(1, name.size() - 2);  // the title shows it without quotes
    }
    return true;
}

void FinishRecording()
{
    Recording& r = TheRecording();
    WriteOpenRun(r);
    StopRecording(r);
    // The game never played: a file made for it goes again; one that was
    // there before stays as it was.
    if (!r.playing && r.created) unlink(r.path.c_str());
}

void WriteOutRecording() { WriteOpenRun(TheRecording()); }

}  // namespace plat
