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

// While a recording is being watched: fills the 256 key states with its
// next tick, plus Esc when the real keyboard holds it in `window` with the
// focus, and answers true (the read then succeeds, focus or not). While it
// plays, the window's title names the recording; at its end the title is
// the program's own again.
bool PlayBackRead(BYTE* keys, HWND window);
// Records one keyboard read as the game got it (null: the read failed and
// the game saw no key).
void RecordRead(const BYTE* keys);

// For the message loop's idle sleep: writes out the open line, and answers
// true while a recording being watched has ticks left (the sleep must end).
bool PlaybackWaiting();

}  // namespace plat

#endif
