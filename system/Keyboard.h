// The game's keyboard: the DirectInput object and the system keyboard device
// cooperating with the main window.
#ifndef VORBLOX_SYSTEM_KEYBOARD_H
#define VORBLOX_SYSTEM_KEYBOARD_H

#include "system/KeyboardDevice.h"

class Keyboard : public KeyboardDevice {
public:
    LPDIRECTINPUTA directInput;
    MainWindow* window;

    Keyboard();
    ~Keyboard();

    // Starts afresh with a new DirectInput object for the window.
    bool Create(MainWindow* window);
    // Attaches the system keyboard unless a device is attached already.
    bool CreateDevice(int background);
    void Release();
};

#endif
