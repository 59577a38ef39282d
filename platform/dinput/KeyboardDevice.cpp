#include "KeyboardDevice.h"

#include "Core.h"
#include "InputSource.h"
#include "WindowAccess.h"

#include <cstring>

namespace plat {
namespace {

HRESULT Failure(const char* call)
{
    DWORD code;
    return Injected(call, &code) ? static_cast<HRESULT>(code) : DI_OK;
}

// The predefined keyboard format, or a faithful copy of it.
bool IsKeyboardFormat(const DIDATAFORMAT& format)
{
    if (&format == &c_dfDIKeyboard) return true;
    if (format.dwSize != c_dfDIKeyboard.dwSize || format.dwObjSize != c_dfDIKeyboard.dwObjSize ||
        format.dwFlags != c_dfDIKeyboard.dwFlags || format.dwDataSize != c_dfDIKeyboard.dwDataSize ||
        format.dwNumObjs != c_dfDIKeyboard.dwNumObjs || !format.rgodf)
        return false;
    for (DWORD i = 0; i < format.dwNumObjs; ++i) {
        const DIOBJECTDATAFORMAT& a = format.rgodf[i];
        const DIOBJECTDATAFORMAT& b = c_dfDIKeyboard.rgodf[i];
        if (!a.pguid || *a.pguid != *b.pguid || a.dwOfs != b.dwOfs || a.dwType != b.dwType || a.dwFlags != b.dwFlags)
            return false;
    }
    return true;
}

}  // namespace

KeyboardDevice::KeyboardDevice(IDirectInputA* parent) : parent(parent) { parent->AddRef(); }

KeyboardDevice::~KeyboardDevice() { parent->Release(); }

HRESULT KeyboardDevice::QueryInterface(REFIID riid, void** object)
{
    if (HRESULT hr = Failure("IDirectInputDeviceA::QueryInterface")) {
        if (object) *object = nullptr;
        return hr;
    }
    if (!object) return E_POINTER;
    *object = nullptr;
    if (riid == IID_IUnknown || riid == IID_IDirectInputDeviceA) return Give(object);
    return E_NOINTERFACE;
}

HRESULT KeyboardDevice::SetDataFormat(LPCDIDATAFORMAT format)
{
    if (HRESULT hr = Failure("IDirectInputDeviceA::SetDataFormat")) return hr;
    if (acquired) return DIERR_ACQUIRED;
    if (!format || !IsKeyboardFormat(*format)) return DIERR_INVALIDPARAM;
    formatSet = true;
    return DI_OK;
}

HRESULT KeyboardDevice::SetCooperativeLevel(HWND hwnd, DWORD flags)
{
    if (HRESULT hr = Failure("IDirectInputDeviceA::SetCooperativeLevel")) return hr;
    const DWORD sharing = flags & (DISCL_EXCLUSIVE | DISCL_NONEXCLUSIVE);
    const DWORD focus = flags & (DISCL_FOREGROUND | DISCL_BACKGROUND);
    if (flags & ~(DISCL_EXCLUSIVE | DISCL_NONEXCLUSIVE | DISCL_FOREGROUND | DISCL_BACKGROUND | DISCL_NOWINKEY))
        return DIERR_INVALIDPARAM;
    if ((sharing != DISCL_EXCLUSIVE && sharing != DISCL_NONEXCLUSIVE) ||
        (focus != DISCL_FOREGROUND && focus != DISCL_BACKGROUND))
        return DIERR_INVALIDPARAM;
    if (acquired) return DIERR_ACQUIRED;
    // Nobody may take the keyboard away from every other program.
    if (sharing == DISCL_EXCLUSIVE && focus == DISCL_BACKGROUND) return DIERR_UNSUPPORTED;
    // Only a background, shared device may go without a window.
    bool windowless = !hwnd && sharing == DISCL_NONEXCLUSIVE && focus == DISCL_BACKGROUND;
    if (!windowless && !SdlWindow(hwnd)) return E_HANDLE;
    window = hwnd;
    level = flags;
    return DI_OK;
}

HRESULT KeyboardDevice::Acquire()
{
    if (HRESULT hr = Failure("IDirectInputDeviceA::Acquire")) return hr;
    if (!formatSet) return DIERR_INVALIDPARAM;
    if (acquired) return DI_NOEFFECT;
    if (Foreground() && !HasKeyboardFocus(window)) return DIERR_OTHERAPPHASPRIO;
    acquired = true;
    return DI_OK;
}

HRESULT KeyboardDevice::Unacquire()
{
    if (HRESULT hr = Failure("IDirectInputDeviceA::Unacquire")) return hr;
    if (!acquired) return DI_NOEFFECT;
    acquired = false;
    return DI_OK;
}

HRESULT KeyboardDevice::GetDeviceState(DWORD size, LPVOID data)
{
    if (HRESULT hr = Failure("IDirectInputDeviceA::GetDeviceState")) return hr;
    if (!data || size != c_dfDIKeyboard.dwDataSize) return DIERR_INVALIDPARAM;
    HRESULT hr = DI_OK;
    if (!acquired)
        hr = DIERR_NOTACQUIRED;
    else if (Foreground() && !HasKeyboardFocus(window))
        hr = DIERR_INPUTLOST;
    // A failed read leaves the caller's buffer as it was.
    BYTE keys[256];
    KeyboardRead read;
    read.window = window;
    read.live = hr == DI_OK;
    read.keys = keys;
    bool ok = hr == DI_OK;
    if (ReadInputSources(read, &ok)) {
        // A recording being watched plays on whether the window has the
        // focus or not: a tick without its keys would leave it out of step.
        hr = DI_OK;
    } else if (hr == DIERR_INPUTLOST) {
        // The system withdraws a foreground device when its window loses
        // the focus; it stays withdrawn until acquired again.
        acquired = false;
    }
    if (hr == DI_OK) std::memcpy(data, keys, sizeof keys);
    return hr;
}

}  // namespace plat
