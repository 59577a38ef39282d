// The DirectInput keyboard's state is the merge of input sources: the
// keyboard itself and the game controllers, which the device adds as it is
// made, and whatever else registers (a recording played back, a recorder,
// touch). The device knows none of them by name; each read runs every
// source in three rounds. The seam lives below every part: the message
// loop's idle sleep asks it too.
#ifndef VORBLOX_PLATFORM_INPUT_SOURCE_H
#define VORBLOX_PLATFORM_INPUT_SOURCE_H

#include <windows.h>

namespace plat {

// What one keyboard read hands the sources.
struct KeyboardRead {
    HWND window = nullptr;  // the device's window; null for a windowless device
    bool live = false;      // acquired, and with the focus where the device needs it
    bool takenOver = false; // a source played this read's keys itself
    BYTE* keys = nullptr;   // the 256 states being made, all up at the start
};

class InputSource {
public:
    virtual ~InputSource() = default;
    // First round. A source that plays the game's keys itself (a recording
    // being watched) fills read.keys and answers true: the read then succeeds
    // live or not, and the second round runs with read.live false.
    virtual bool TakeOver(KeyboardRead& read)
    {
        (void)read;
        return false;
    }
    // Second round: while read.live, marks down (0x80) the keys the source
    // holds or had pressed since the last read; otherwise lets those presses
    // go, so that nothing pressed without the focus arrives later.
    virtual void Add(const KeyboardRead& read) { (void)read; }
    // Last round: what the game got. ok false: the read failed, no key seen.
    virtual void Saw(const KeyboardRead& read, bool ok)
    {
        (void)read;
        (void)ok;
    }
    // For the idle sleep, which brings no read: true when the next read would
    // bring a key or a tick to play.
    virtual bool Waiting() { return false; }
    // The program is about to sleep with nothing to do: a recorder writes
    // out what it holds, so the file is whole while nothing happens.
    virtual void Idle() {}
    // How long the idle sleep may last before asking Waiting() again; -1 for
    // as long as it likes.
    virtual int LookMilliseconds() { return -1; }
};

// Adds a source; each round runs the sources in the order they were added,
// after the devices' own. Adding one twice adds it once.
void AddInputSource(InputSource* source);
// Adds one of the keyboard device's own sources (its keys, the game
// controllers): these run first, in the order they were added.
void AddDeviceSource(InputSource* source);
void RemoveInputSource(InputSource* source);

// One read through every source: read.keys is cleared, then filled. Answers
// true when a source took the read over.
bool ReadInputSources(KeyboardRead& read, bool* ok);

// For the message loop's idle sleep: InputIdle() once as it begins, then
// InputWaiting() as often as it looks.
void InputIdle();
bool InputWaiting();
int InputLookMilliseconds();

}  // namespace plat

#endif
