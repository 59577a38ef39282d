// IDirectInputA: makes the one device there is, the system keyboard.
#ifndef VORBLOX_PLATFORM_DIRECT_INPUT_H
#define VORBLOX_PLATFORM_DIRECT_INPUT_H

#include "ComObject.h"

#include <dinput.h>

namespace plat {

class DirectInputObject final : public ComObject<DirectInputObject, IDirectInputA> {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override;
    HRESULT STDMETHODCALLTYPE CreateDevice(REFGUID guid, LPDIRECTINPUTDEVICEA* device, LPUNKNOWN outer) override;
};

}  // namespace plat

#endif
