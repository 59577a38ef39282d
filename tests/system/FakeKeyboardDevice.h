// A keyboard device under the test's control, handed to
// KeyboardDevice::Attach in place of the system keyboard: the test decides
// which keys are down and what each call answers, and sees what was asked.
#ifndef VORBLOX_TESTS_FAKEKEYBOARDDEVICE_H
#define VORBLOX_TESTS_FAKEKEYBOARDDEVICE_H

#include <string.h>

#include "system/KeyboardDevice.h"

struct FakeKeyboardDevice : public IDirectInputDeviceA {
    ULONG references = 1;
    BYTE keys[256];
    HRESULT stateResult = DI_OK;
    HRESULT formatResult = DI_OK;
    HRESULT cooperativeResult = DI_OK;
    int acquires = 0;
    int unacquires = 0;
    int reads = 0;
    LPCDIDATAFORMAT format = nullptr;
    HWND cooperativeWindow = nullptr;
    DWORD cooperativeFlags = 0;

    FakeKeyboardDevice() { memset(keys, 0, sizeof(keys)); }

    void Press(BYTE key) { keys[key] = 0x80; }
    void Lift(BYTE key) { keys[key] = 0; }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void** object) override
    {
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++references; }
    ULONG STDMETHODCALLTYPE Release() override { return --references; }
    HRESULT STDMETHODCALLTYPE Acquire() override
    {
        ++acquires;
        return DI_OK;
    }
    HRESULT STDMETHODCALLTYPE Unacquire() override
    {
        ++unacquires;
        return DI_OK;
    }
    HRESULT STDMETHODCALLTYPE GetDeviceState(DWORD size, LPVOID data) override
    {
        ++reads;
        if (stateResult != DI_OK) return stateResult;
        if (size != sizeof(keys)) return DIERR_INVALIDPARAM;
        memcpy(data, keys, sizeof(keys));
        return DI_OK;
    }
    HRESULT STDMETHODCALLTYPE SetDataFormat(LPCDIDATAFORMAT newFormat) override
    {
        format = newFormat;
        return formatResult;
    }
    HRESULT STDMETHODCALLTYPE SetCooperativeLevel(HWND hwnd, DWORD flags) override
    {
        cooperativeWindow = hwnd;
        cooperativeFlags = flags;
        return cooperativeResult;
    }
};

#endif
