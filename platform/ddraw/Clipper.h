// IDirectDrawClipper: remembers the window whose client area limits blits
// onto the primary surface.
#ifndef VORBLOX_PLATFORM_CLIPPER_H
#define VORBLOX_PLATFORM_CLIPPER_H

#include "ComObject.h"

#include <ddraw.h>

namespace plat {

class Clipper final : public ComObject<Clipper, IDirectDrawClipper> {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override;
    HRESULT STDMETHODCALLTYPE GetHWnd(HWND* hwnd) override;
    HRESULT STDMETHODCALLTYPE SetHWnd(DWORD flags, HWND hwnd) override;

    HWND Window() const { return window; }

private:
    HWND window = nullptr;
};

}  // namespace plat

#endif
