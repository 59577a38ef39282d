// A game on record: `vorblox --record FILE` writes every keyboard read as a
// replay script line, `vorblox --watch FILE` feeds a recording back in
// place of the keyboard.
#ifndef VORBLOX_PLATFORM_RECORDING_H
#define VORBLOX_PLATFORM_RECORDING_H

#include <windows.h>

#include <string>

namespace plat {

// Starts recording into a new file beside FILE, which takes FILE's place
// once a game starts (F1); "-" writes the standard output as the game goes.
// False with *error when it cannot be written, or another game is
// recording into it.
bool StartRecording(const char* path, std::string* error);
// Opens the recording in FILE ("-": the standard input) and reads its first
// step; the rest is read as it plays. False with *error naming the file
// (and the line) when it cannot be read or is malformed.
bool StartWatching(const char* path, std::string* error);
// True once a malformed line stopped the watch (it said so).
bool WatchFailed();
// Writes out what is still open and closes the file. A write that fails
// leaves the file ending at its last whole line and stops the recording,
// with a message; the game goes on. Safe to call again, and from the
// handler of a lost display.
void FinishRecording();

// Writes out the ticks held so far, so that the file holds the game up to
// now (the page's Save). Watching and recording plug into the keyboard's
// reads as input sources of their own.
void WriteOutRecording();

}  // namespace plat

#endif
