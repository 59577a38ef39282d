// A game on record: `vorblox --record FILE` writes every keyboard read as a
// replay script line.
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
// Writes out what is still open and closes the file. A write that fails
// leaves the file ending at its last whole line and stops the recording,
// with a message; the game goes on. Safe to call again, and from the
// handler of a lost display.
void FinishRecording();

// Closes the recording as the program is about to start again with the
// same options: what is in place stays, and the new start records anew.
void LeaveRecording();

// Writes out the ticks held so far, so that the file holds the game up to
// now (the page's Save). Recording plugs into the keyboard's reads as an
// input source of its own.
void WriteOutRecording();

}  // namespace plat

#endif
