#include "InputSource.h"

#include "Gamepads.h"
#include "ScanCodes.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace plat {
namespace {

class Keyboard final : public InputSource {
public:
    void Add(const KeyboardRead& read) override
    {
        if (!read.live) return;
        BYTE down[256];
        ReadKeys(down);
        for (int key = 0; key < 256; ++key) read.keys[key] |= down[key];
    }
};

class Controllers final : public InputSource {
public:
    void Add(const KeyboardRead& read) override { ReadGamepads(read.live ? read.keys : nullptr, read.window); }
    bool Waiting() override { return GamepadPressWaiting(); }
    int LookMilliseconds() override { return GamepadLookMilliseconds(); }
};

std::vector<InputSource*>& Sources()
{
    static auto* sources = new std::vector<InputSource*>{new Keyboard, new Controllers};
    return *sources;
}

}  // namespace

void AddInputSource(InputSource* source)
{
    std::vector<InputSource*>& sources = Sources();
    if (std::find(sources.begin(), sources.end(), source) == sources.end()) sources.push_back(source);
}

void RemoveInputSource(InputSource* source)
{
    std::vector<InputSource*>& sources = Sources();
    sources.erase(std::remove(sources.begin(), sources.end(), source), sources.end());
}

bool ReadInputSources(KeyboardRead& read, bool* ok)
{
    std::memset(read.keys, 0, 256);
    read.takenOver = false;
    for (InputSource* source : Sources())
        if (source->TakeOver(read)) {
            read.takenOver = true;
            break;
        }
    if (read.takenOver) {
        read.live = false;
        *ok = true;
    }
    for (InputSource* source : Sources()) source->Add(read);
    for (InputSource* source : Sources()) source->Saw(read, *ok);
    return read.takenOver;
}

void InputIdle()
{
    for (InputSource* source : Sources()) source->Idle();
}

bool InputWaiting()
{
    bool waiting = false;
    // Every source is asked: a controller's look also keeps its presses.
    for (InputSource* source : Sources()) waiting = source->Waiting() || waiting;
    return waiting;
}

int InputLookMilliseconds()
{
    int look = -1;
    for (InputSource* source : Sources()) {
        int mine = source->LookMilliseconds();
        if (mine >= 0 && (look < 0 || mine < look)) look = mine;
    }
    return look;
}

}  // namespace plat
