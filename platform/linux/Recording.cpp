// The game is deterministic: the keys of every tick are all a replay needs.
// A recording is written in the replay runner's script form, so
// vorblox-replay plays it to the same end.
//
// Ticks the game skips while it sleeps at its idle prompt are not written:
// they would change nothing, so the replay ends the same without them, and
// watching does not sit through them.
#include "Recording.h"

#include "Internal.h"
#include "ScanCodes.h"

#include <ReplayScript.h>
#include <dinput.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <vector>

namespace plat {
namespace {

// A run of equal ticks is written out after a second of them (64 ticks),
// so a game that is killed loses at most its last second.
const uint64_t longestOpenRun = 64;

struct Recorder {
    std::FILE* file = nullptr;
    std::string path;
    std::vector<unsigned char> keys;  // of the open run
    uint64_t ticks = 0;               // in the open run
};

struct Player {
    bool watching = false;
    std::vector<ReplayStep> steps;
    size_t step = 0;
    uint64_t used = 0;  // ticks of steps[step] played
};

Recorder& TheRecorder()
{
    static auto* recorder = new Recorder;
    return *recorder;
}

Player& ThePlayer()
{
    static auto* player = new Player;
    return *player;
}

void WriteOpenRun(Recorder& r)
{
    if (!r.file || r.ticks == 0) return;
    std::string line = ReplayLine(r.ticks, r.keys) + '\n';
    r.ticks = 0;
    if (std::fputs(line.c_str(), r.file) < 0 || std::fflush(r.file) != 0) {
        // The game goes on; only the recording stops.
        std::fprintf(stderr, "vorblox: writing %s failed: %s; recording stopped\n", r.path.c_str(),
                     std::strerror(errno));
        std::fclose(r.file);
        r.file = nullptr;
    }
}

std::vector<unsigned char> NamedKeysDown(const BYTE* keys)
{
    std::vector<unsigned char> down;
    if (!keys) return down;
    for (int i = 0; i < replayKeyNameCount; ++i)
        if (keys[replayKeyNames[i].code] & 0x80) down.push_back(replayKeyNames[i].code);
    return down;
}

}  // namespace

bool StartRecording(const char* path, std::string* error)
{
    Recorder& r = TheRecorder();
    r.file = std::fopen(path, "w");
    if (!r.file) {
        *error = std::string("cannot write ") + path + ": " + std::strerror(errno);
        return false;
    }
    r.path = path;
    std::fputs("# A game of Vorblox: ticks (64 a second) and the keys held in them.\n", r.file);
    std::fflush(r.file);
    return true;
}

bool StartWatching(const char* path, std::string* error)
{
    Player& p = ThePlayer();
    if (!LoadReplayScript(path, &p.steps, error)) return false;
    p.watching = true;
    return true;
}

void FinishRecording()
{
    Recorder& r = TheRecorder();
    WriteOpenRun(r);
    if (r.file) std::fclose(r.file);
    r.file = nullptr;
}

bool PlayBackRead(BYTE* keys, HWND window)
{
    Player& p = ThePlayer();
    while (p.watching && p.step < p.steps.size() && p.used == p.steps[p.step].ticks) {
        ++p.step;
        p.used = 0;
    }
    if (!p.watching || p.step == p.steps.size()) {
        // Played to the end: the player's own keyboard and controllers
        // take over from here.
        p.watching = false;
        return false;
    }
    std::memset(keys, 0, 256);
    // A recorded Esc is not played: the one watching decides when to stop.
    for (unsigned char key : p.steps[p.step].keys)
        if (key != DIK_ESCAPE) keys[key] = 0x80;
    ++p.used;
    if (window && HasKeyboardFocus(window)) {
        BYTE real[256];
        ReadKeys(real);
        keys[DIK_ESCAPE] = real[DIK_ESCAPE];
    }
    return true;
}

void RecordRead(const BYTE* keys)
{
    Recorder& r = TheRecorder();
    if (!r.file) return;
    std::vector<unsigned char> down = NamedKeysDown(keys);
    if (r.ticks > 0 && (down != r.keys || r.ticks == longestOpenRun)) WriteOpenRun(r);
    r.keys = down;
    ++r.ticks;
}

bool PlaybackWaiting()
{
    WriteOpenRun(TheRecorder());
    return ThePlayer().watching;
}

}  // namespace plat
