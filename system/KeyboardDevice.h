// The keyboard as DirectInput delivers it: one byte per key code, read once
// per frame, with the keys that went down since the previous read.
#ifndef VORBLOX_SYSTEM_KEYBOARDDEVICE_H
#define VORBLOX_SYSTEM_KEYBOARDDEVICE_H

#define DIRECTINPUT_VERSION 0x0500
#include <windows.h>
#include <dinput.h>

class MainWindow;

class KeyboardDevice {
public:
    // Null while no device is attached.
    LPDIRECTINPUTDEVICEA device;
    // Per key code, bit 0x80 set when the key is down.
    BYTE state[256];
    // Keys that were up at the previous read and are down at this one.
    BYTE pressed[256];
    // Keys up at this read, with their byte from the previous read.
    BYTE released[256];
    int acquired;

    KeyboardDevice();
    ~KeyboardDevice();
    KeyboardDevice(const KeyboardDevice&) = delete;
    KeyboardDevice& operator=(const KeyboardDevice&) = delete;

    // Takes over the device's reference and sets it up for the window.
    // background 1 keeps reading while the window is in the background.
    bool Attach(MainWindow* window, LPDIRECTINPUTDEVICEA newDevice, int background);
    void ReleaseDevice();
    void Acquire();
    void Unacquire();
    // The per-frame read. On failure every key reads as up.
    bool Update();
    bool IsReady() const;
    bool IsDown(BYTE key) const;
    bool WasPressed(BYTE key) const;
};

#endif
