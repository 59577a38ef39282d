#include "Clipper.h"

#include "Core.h"

namespace plat {

HRESULT Clipper::QueryInterface(REFIID riid, void** object)
{
    if (!object) return DDERR_INVALIDPARAMS;
    *object = nullptr;
    if (riid == IID_IUnknown || riid == IID_IDirectDrawClipper) return Give(object);
    return E_NOINTERFACE;
}

HRESULT Clipper::GetHWnd(HWND* hwnd)
{
    DWORD code;
    if (Injected("IDirectDrawClipper::GetHWnd", &code)) return static_cast<HRESULT>(code);
    if (!hwnd) return DDERR_INVALIDPARAMS;
    *hwnd = window;
    return DD_OK;
}

HRESULT Clipper::SetHWnd(DWORD flags, HWND hwnd)
{
    DWORD code;
    if (Injected("IDirectDrawClipper::SetHWnd", &code)) return static_cast<HRESULT>(code);
    if (flags != 0) return DDERR_INVALIDPARAMS;
    // The window is looked up at every blit, so one that is destroyed later
    // simply clips everything away.
    window = hwnd;
    return DD_OK;
}

}  // namespace plat
