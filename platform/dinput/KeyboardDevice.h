// IDirectInputDeviceA for the system keyboard: 256 bytes of key state per
// read, withdrawn from a foreground device while its window lacks the
// keyboard focus. What the keys are is the input sources' business
// (InputSource.h): the keyboard, the controllers, a recording.
#ifndef VORBLOX_PLATFORM_KEYBOARD_DEVICE_H
#define VORBLOX_PLATFORM_KEYBOARD_DEVICE_H

#include "ComObject.h"

#include <dinput.h>

namespace plat {

class KeyboardDevice final : public ComObject<KeyboardDevice, IDirectInputDeviceA> {
public:
    // Holds a reference on the DirectInput object that made it.
    explicit KeyboardDevice(IDirectInputA* parent);
    ~KeyboardDevice();

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override;
    HRESULT STDMETHODCALLTYPE Acquire() override;
    HRESULT STDMETHODCALLTYPE Unacquire() override;
    HRESULT STDMETHODCALLTYPE GetDeviceState(DWORD size, LPVOID data) override;
    HRESULT STDMETHODCALLTYPE SetDataFormat(LPCDIDATAFORMAT format) override;
    HRESULT STDMETHODCALLTYPE SetCooperativeLevel(HWND hwnd, DWORD flags) override;

private:
    bool Foreground() const { return (level & DISCL_FOREGROUND) != 0; }

    IDirectInputA* parent;
    bool formatSet = false;
    bool acquired = false;
    HWND window = nullptr;
    DWORD level = DISCL_NONEXCLUSIVE | DISCL_BACKGROUND;
};

}  // namespace plat

#endif
