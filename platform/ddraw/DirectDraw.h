// IDirectDraw: the DirectDraw object of the one display, always in the
// desktop's own mode and the normal (windowed) cooperative level.
#ifndef VORBLOX_PLATFORM_DIRECT_DRAW_H
#define VORBLOX_PLATFORM_DIRECT_DRAW_H

#include "ComObject.h"

#include <ddraw.h>

namespace plat {

class DrawSurface;

class DirectDrawObject final : public ComObject<DirectDrawObject, IDirectDraw> {
public:
    DirectDrawObject() = default;
    ~DirectDrawObject();

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override;
    HRESULT STDMETHODCALLTYPE CreateClipper(DWORD flags, LPDIRECTDRAWCLIPPER* clipper, IUnknown* outer) override;
    HRESULT STDMETHODCALLTYPE CreateSurface(LPDDSURFACEDESC desc, LPDIRECTDRAWSURFACE* surface,
                                            IUnknown* outer) override;
    HRESULT STDMETHODCALLTYPE GetDisplayMode(LPDDSURFACEDESC desc) override;
    HRESULT STDMETHODCALLTYPE RestoreDisplayMode() override;
    HRESULT STDMETHODCALLTYPE SetCooperativeLevel(HWND hwnd, DWORD flags) override;

    // The primary surface made by this object was released.
    void PrimaryGone() { primary = nullptr; }

private:
    HRESULT CheckDescription(const DDSURFACEDESC& desc) const;

    bool cooperating = false;
    DrawSurface* primary = nullptr;
};

}  // namespace plat

#endif
