#include "DirectInput.h"

#include "BuiltinModules.h"
#include "Core.h"
#include "DeviceSources.h"
#include "KeyboardDevice.h"

namespace plat {

HRESULT DirectInputObject::QueryInterface(REFIID riid, void** object)
{
    DWORD code;
    if (Injected("IDirectInputA::QueryInterface", &code)) {
        if (object) *object = nullptr;
        return static_cast<HRESULT>(code);
    }
    if (!object) return E_POINTER;
    *object = nullptr;
    if (riid == IID_IUnknown || riid == IID_IDirectInputA) return Give(object);
    return E_NOINTERFACE;
}

HRESULT DirectInputObject::CreateDevice(REFGUID guid, LPDIRECTINPUTDEVICEA* device, LPUNKNOWN outer)
{
    DWORD code;
    if (Injected("IDirectInputA::CreateDevice", &code)) {
        if (device) *device = nullptr;
        return static_cast<HRESULT>(code);
    }
    if (!device) return DIERR_INVALIDPARAM;
    *device = nullptr;
    if (outer) return DIERR_NOAGGREGATION;
    if (guid != GUID_SysKeyboard) return DIERR_DEVICENOTREG;
    AddDeviceSources();
    *device = new KeyboardDevice(this);
    return DI_OK;
}

}  // namespace plat

// DirectInput 3 to 7 share the keyboard interface the game uses; version 0
// means a caller that never asked for one.
HRESULT WINAPI DirectInputCreateA(HINSTANCE, DWORD version, LPDIRECTINPUTA* directInput, LPUNKNOWN outer)
{
    DWORD code;
    if (plat::Injected("DirectInputCreateA", &code)) {
        if (directInput) *directInput = nullptr;
        return static_cast<HRESULT>(code);
    }
    if (!directInput) return DIERR_INVALIDPARAM;
    *directInput = nullptr;
    if (outer) return DIERR_NOAGGREGATION;
    if (version == 0) return DIERR_NOTINITIALIZED;
    if (version < 0x0300) return DIERR_BETADIRECTINPUTVERSION;
    if (version > 0x0700) return DIERR_OLDDIRECTINPUTVERSION;
    if (!plat::VideoReady()) return DIERR_GENERIC;
    *directInput = new plat::DirectInputObject;
    return DI_OK;
}

// How LoadLibraryA finds this module; kept in every program by name.
extern "C" const bool vorblox_dinput_module =
    plat::AddBuiltinModule("DINPUT.DLL", "DirectInputCreateA", plat::ExportAddress(&DirectInputCreateA));
