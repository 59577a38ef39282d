// The DirectInput keyboard's own sources: the keys of the window's keyboard
// and the game controllers, ahead of every other source.
#include "DeviceSources.h"

#include "Gamepads.h"
#include "InputSource.h"
#include "ScanCodes.h"

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

}  // namespace

void AddDeviceSources()
{
    static Keyboard keyboard;
    static Controllers controllers;
    AddDeviceSource(&keyboard);
    AddDeviceSource(&controllers);
}

}  // namespace plat
