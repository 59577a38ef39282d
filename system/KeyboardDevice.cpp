#include "system/KeyboardDevice.h"

#include <string.h>

#include "shell/MainWindow.h"
#include "system/ErrorReport.h"

KeyboardDevice::KeyboardDevice() : device(NULL), acquired(0)
{
    memset(state, 0, sizeof(state));
    memset(pressed, 0, sizeof(pressed));
    memset(released, 0, sizeof(released));
}

KeyboardDevice::~KeyboardDevice() { ReleaseDevice(); }

bool KeyboardDevice::Attach(MainWindow* window, LPDIRECTINPUTDEVICEA newDevice, int background)
{
    ReleaseDevice();
    device = newDevice;
    acquired = 0;

    HRESULT result = device->SetDataFormat(&c_dfDIKeyboard);
    if (result != DI_OK) {
        SetDxError(result);
        return false;
    }
    DWORD flags = DISCL_NONEXCLUSIVE | (background == 1 ? DISCL_BACKGROUND : DISCL_FOREGROUND);
    result = device->SetCooperativeLevel(window != NULL ? window->hwnd : NULL, flags);
    if (result != DI_OK) {
        SetDxError(result);
        return false;
    }
    return true;
}

void KeyboardDevice::ReleaseDevice()
{
    if (device != NULL) {
        device->Unacquire();
        acquired = 0;
        device->Release();
        device = NULL;
    }
    memset(state, 0, sizeof(state));
    memset(pressed, 0, sizeof(pressed));
    memset(released, 0, sizeof(released));
}

void KeyboardDevice::Acquire()
{
    if (device != NULL && acquired != 1) {
        device->Acquire();
        acquired = 1;
    }
}

void KeyboardDevice::Unacquire()
{
    if (device != NULL && acquired != 0) {
        device->Unacquire();
        acquired = 0;
    }
}

bool KeyboardDevice::Update()
{
    if (device == NULL) {
        SetDxError(E_FAIL);
        return false;
    }
    // Asking for the device on every read is all it takes to get the
    // keyboard back after the window returns to the foreground.
    device->Acquire();
    acquired = 1;

    BYTE old[256];
    memcpy(released, state, sizeof(state));
    memcpy(old, state, sizeof(state));
    memset(state, 0, sizeof(state));
    HRESULT result = device->GetDeviceState(sizeof(state), state);
    for (int key = 0; key < 256; ++key)
        if (state[key] & 0x80) released[key] = 0;

    if (result != DI_OK) {
        memset(pressed, 0, sizeof(pressed));
        SetDxError(result);
        return false;
    }
    for (int key = 0; key < 256; ++key)
        pressed[key] = (!(old[key] & 0x80) && (state[key] & 0x80)) ? state[key] : 0;
    return true;
}

bool KeyboardDevice::IsReady() const { return device != NULL; }

bool KeyboardDevice::IsDown(BYTE key) const { return IsReady() && (state[key] & 0x80) != 0; }

bool KeyboardDevice::WasPressed(BYTE key) const { return IsReady() && (pressed[key] & 0x80) != 0; }
