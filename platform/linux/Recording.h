// A game on record: `vorblox --record FILE` writes every keyboard read as a
// replay script line, `vorblox --watch FILE` feeds a recording back in
// place of the keyboard.
#ifndef VORBLOX_PLATFORM_RECORDING_H
#define VORBLOX_PLATFORM_RECORDING_H

#include <windows.h>

#include <string>

namespace plat {

// Opens FILE ("-": the standard output) for writing, without emptying it
// yet: that waits for the game's first tick, so a start that fails leaves a
// file that was there as it was (and removes one it made). False with
// *error when it cannot be written.
bool StartRecording(const char* path, std::string* error);
// Reads the whole recording in FILE ("-": the standard input). False with *error naming the file
// (and the line) when it cannot be read or is malformed.
bool StartWatching(const char* path, std::string* error);
// Writes out what is still open and closes the file. A write that fails
// leaves the file ending at its last whole line and stops the recording,
// with a message; the game goes on.
void FinishRecording();

// Writes out the ticks held so far, so that the file holds the game up to
// now (the page's Save). Watching and recording plug into the keyboard's
// reads as input sources of their own.
void WriteOutRecording();

}  // namespace plat

#endif
