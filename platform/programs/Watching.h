// Watching a recording: `vorblox --watch FILE` feeds it back in place of
// the keyboard, with controls the watcher has (pause, speed, a jump back
// or ahead, playing on from the moment shown).
//
// The game is deterministic, so any moment of a recording is reached by
// playing it up to there. Going ahead plays on, as fast as it goes and
// without showing the frames on the way. Going back starts the program
// again from the recording's start: the pieces a game deals run on from
// the game before it, and only a fresh start of the program deals them
// from the beginning again.
#ifndef VORBLOX_PLATFORM_WATCHING_H
#define VORBLOX_PLATFORM_WATCHING_H

#include <windows.h>

#include <cstdint>
#include <string>

namespace plat {

// The speeds a recording is watched at, slowest first.
enum WatchSpeed { kHalfSpeed, kNormalSpeed, kDoubleSpeed, kFourTimes, kEightTimes, kFastest, kSpeedCount };
// "1/2", "1", "2", "4", "8", "max": what --speed takes and the title shows.
const char* WatchSpeedName(int speed);
bool ParseWatchSpeed(const char* text, int* speed);

// Where a watch begins: the tick it is shown at first, at what speed, and
// whether paused there (--from, --speed, --paused).
struct WatchStart {
    uint64_t from = 0;
    int speed = kNormalSpeed;
    bool paused = false;
};

// Opens the recording in FILE ("-": the standard input) and reads its first
// step; the rest is read as it plays. False with *error naming the file
// (and the line) when it cannot be read or is malformed.
bool StartWatching(const char* path, const WatchStart& start, std::string* error);
// True once a malformed line stopped the watch (it said so).
bool WatchFailed();

enum class WatchControl {
    Pause,     // pauses, or plays on when paused
    Slower,
    Faster,
    Speed,     // `value` is a WatchSpeed
    Back,      // a few seconds
    Ahead,
    ToStart,
    SeekTo,    // `value` is a tick
    PlayOn,    // the watcher's own keys play on from the moment shown
};
// What the watcher asked for; nothing when no recording is being watched.
void ControlWatch(WatchControl control, uint64_t value = 0);

// What a watch shows of itself.
struct WatchState {
    bool watching = false;  // false once it ended or the watcher played on
    std::string name;       // the file's, for the title
    uint64_t played = 0;    // ticks of the recording played
    uint64_t total = 0;     // all its ticks, once known
    bool totalKnown = false;
    int speed = kNormalSpeed;
    bool paused = false;
    bool seeking = false;   // running ahead to a moment, its frames not shown
};
// Told whenever the state changes, and as the watch goes on a few times a
// second. The default names it in the window's title.
void SetWatchListener(void (*listener)(const WatchState& state));
void ShowWatchInTitle(const WatchState& state);

// Starts the program again with the recording watched from `start`. False
// with *why when that cannot be done (a recording from a pipe cannot be
// read again). The default cannot.
void SetWatchRestarter(bool (*restart)(const WatchStart& start, std::string* why));

}  // namespace plat

#endif
