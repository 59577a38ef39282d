#include "DrawSurface.h"

#include "Core.h"
#include "DirectDraw.h"
#include "SurfaceDC.h"
#include "WindowAccess.h"
#include "PixelFormats.h"

#include <PlatformTestDirectX.h>

#include <algorithm>
#include <cstring>
#include <vector>

namespace plat {
namespace {

// Never destroyed: surfaces may be released from static destructors.
std::vector<DrawSurface*>& Live()
{
    static std::vector<DrawSurface*>* live = new std::vector<DrawSurface*>;
    return *live;
}

// Blits still to go before every surface is lost; -1 when no loss waits.
int& BlitsBeforeLoss()
{
    static int* blits = [] {
        AddResetHook([] { BlitsBeforeLoss() = -1; });
        return new int(-1);
    }();
    return *blits;
}

HRESULT Failure(const char* call)
{
    DWORD code;
    return Injected(call, &code) ? static_cast<HRESULT>(code) : DD_OK;
}

}  // namespace

DrawSurface::DrawSurface(DirectDrawObject* owner, SDL_Surface* pixels)
    : owner(owner), pixels(pixels), createdIn(DesktopChanges())
{
    static unsigned long made = 0;
    serial = ++made;
    if (pixels) {
        SDL_SetSurfaceBlendMode(pixels, SDL_BLENDMODE_NONE);
        frame.Reset(pixels->w, pixels->h);
        sinceShown.Reset(pixels->w, pixels->h);
    }
    Live().push_back(this);
}

void DrawSurface::Touched(const SDL_Rect* area)
{
    DrawKeptFrames();
    frame.Forget();
    ++changes;
    if (area)
        sinceShown.Mark(*area);
    else
        sinceShown.MarkAll();
}

void DrawSurface::Settle()
{
    if (frame.Recording() && frame.Draw(pixels, &sinceShown)) ++changes;
}

void DrawSurface::SettleReaders()
{
    for (DrawSurface* surface : Live())
        if (surface != this && surface->frame.Reads(pixels)) surface->Settle();
}

void DrawSurface::DrawKeptFrames()
{
    for (DrawSurface* surface : Live()) surface->Settle();
}

DrawSurface::~DrawSurface()
{
    // Another surface's kept frame may still read this one.
    DrawKeptFrames();
    auto& live = Live();
    live.erase(std::remove(live.begin(), live.end(), this), live.end());
    if (dc) DeleteSurfaceDC(dc);
    if (clipper) clipper->Release();
    if (owner && IsPrimary()) owner->PrimaryGone();
    if (pixels) SDL_FreeSurface(pixels);
}

void DrawSurface::LoseAll()
{
    for (DrawSurface* surface : Live()) surface->lost = true;
}

void DrawSurface::LoseAllAtBlit(int blits) { BlitsBeforeLoss() = blits < 0 ? -1 : blits; }

void DrawSurface::CountBlit()
{
    int& blits = BlitsBeforeLoss();
    if (blits < 0) return;
    if (blits-- == 0) LoseAll();
}

// Rows of two alternating byte values: in every depth neither black (the
// usual colour key) nor anything a picture held before.
void DrawSurface::FillWithGarbage()
{
    if (!pixels) return;
    Touched();
    if (SDL_LockSurface(pixels) != 0) return;
    for (int y = 0; y < pixels->h; ++y)
        std::memset(static_cast<Uint8*>(pixels->pixels) + (size_t)y * pixels->pitch, y % 2 ? 0x5A : 0xA5,
                    (size_t)pixels->pitch);
    SDL_UnlockSurface(pixels);
}

int DrawSurface::LiveCount() { return static_cast<int>(Live().size()); }

void DrawSurface::OrphanAll(DirectDrawObject* owner)
{
    for (DrawSurface* surface : Live())
        if (surface->owner == owner) surface->Orphan();
}

HRESULT DrawSurface::QueryInterface(REFIID riid, void** object)
{
    if (HRESULT hr = Failure("IDirectDrawSurface::QueryInterface")) {
        if (object) *object = nullptr;
        return hr;
    }
    if (!object) return DDERR_INVALIDPARAMS;
    *object = nullptr;
    if (riid == IID_IUnknown || riid == IID_IDirectDrawSurface) return Give(object);
    if (riid == IID_IDirectDrawSurface3) {
        *object = static_cast<IDirectDrawSurface3*>(new ChildInterface<IDirectDrawSurface3>(this));
        return S_OK;
    }
    return E_NOINTERFACE;
}

void DrawSurface::Describe(DDSURFACEDESC* desc) const
{
    // The game asks before every blit; an off-screen surface's answer only
    // changes with its key.
    if (!IsPrimary() && described.dwSize) {
        *desc = described;
        return;
    }
    std::memset(desc, 0, sizeof(*desc));
    desc->dwSize = sizeof(DDSURFACEDESC);
    desc->dwFlags = DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT | DDSD_PITCH | DDSD_PIXELFORMAT;
    if (IsPrimary()) {
        int width = 0, height = 0;
        DesktopSize(&width, &height);
        desc->dwWidth = width;
        desc->dwHeight = height;
        DescribePixelFormat(DesktopFormat(), &desc->ddpfPixelFormat);
        desc->lPitch = width * static_cast<LONG>(desc->ddpfPixelFormat.dwRGBBitCount / 8);
        desc->ddsCaps.dwCaps = DDSCAPS_PRIMARYSURFACE | DDSCAPS_VISIBLE | DDSCAPS_VIDEOMEMORY | DDSCAPS_LOCALVIDMEM;
    } else {
        desc->dwWidth = pixels->w;
        desc->dwHeight = pixels->h;
        desc->lPitch = pixels->pitch;
        DescribePixelFormat(pixels->format->format, &desc->ddpfPixelFormat);
        desc->ddsCaps.dwCaps = DDSCAPS_OFFSCREENPLAIN | DDSCAPS_SYSTEMMEMORY;
    }
    if (keyed) {
        desc->dwFlags |= DDSD_CKSRCBLT;
        desc->ddckCKSrcBlt = key;
    }
    if (!IsPrimary()) described = *desc;
}

HRESULT DrawSurface::GetSurfaceDesc(LPDDSURFACEDESC desc)
{
    if (HRESULT hr = Failure("IDirectDrawSurface::GetSurfaceDesc")) return hr;
    if (!desc || desc->dwSize != sizeof(DDSURFACEDESC)) return DDERR_INVALIDPARAMS;
    Describe(desc);
    return DD_OK;
}

HRESULT DrawSurface::GetPixelFormat(LPDDPIXELFORMAT format)
{
    if (HRESULT hr = Failure("IDirectDrawSurface::GetPixelFormat")) return hr;
    if (!format || format->dwSize != sizeof(DDPIXELFORMAT)) return DDERR_INVALIDPARAMS;
    DescribePixelFormat(IsPrimary() ? DesktopFormat() : pixels->format->format, format);
    return DD_OK;
}

HRESULT DrawSurface::IsLost()
{
    if (HRESULT hr = Failure("IDirectDrawSurface::IsLost")) return hr;
    return Lost() ? DDERR_SURFACELOST : DD_OK;
}

HRESULT DrawSurface::Restore()
{
    if (HRESULT hr = Failure("IDirectDrawSurface::Restore")) return hr;
    if (!Lost()) return DD_OK;
    // Memory made for another display depth never comes back; the program
    // has to make its surfaces again.
    if (wrongMode) return DDERR_WRONGMODE;
    lost = false;
    // Fresh memory: whatever the surface held before is gone.
    FillWithGarbage();
    return DD_OK;
}

HRESULT DrawSurface::Lock(LPRECT rect, LPDDSURFACEDESC desc, DWORD, HANDLE)
{
    if (HRESULT hr = Failure("IDirectDrawSurface::Lock")) return hr;
    if (!desc || desc->dwSize != sizeof(DDSURFACEDESC)) return DDERR_INVALIDPARAMS;
    if (Lost()) return DDERR_SURFACELOST;
    // The screen is made of windows; there is no memory of it to hand out.
    if (IsPrimary()) return DDERR_CANTLOCKSURFACE;
    if (Busy()) return DDERR_SURFACEBUSY;
    RECT whole = {0, 0, pixels->w, pixels->h};
    if (!rect) rect = &whole;
    if (!ValidRect(*rect, pixels->w, pixels->h)) return DDERR_INVALIDPARAMS;  // as DirectDraw answers a Lock, unlike a Blt
    Touched();
    Describe(desc);
    desc->dwFlags |= DDSD_LPSURFACE;
    desc->lpSurface = static_cast<Uint8*>(pixels->pixels) + rect->top * pixels->pitch +
                      rect->left * pixels->format->BytesPerPixel;
    locked = true;
    return DD_OK;
}

HRESULT DrawSurface::Unlock(LPVOID)
{
    if (HRESULT hr = Failure("IDirectDrawSurface::Unlock")) return hr;
    if (!locked) return DDERR_NOTLOCKED;
    locked = false;
    Touched();
    return DD_OK;
}

HRESULT DrawSurface::GetDC(HDC* result)
{
    if (HRESULT hr = Failure("IDirectDrawSurface::GetDC")) return hr;
    if (!result) return DDERR_INVALIDPARAMS;
    *result = nullptr;
    if (Lost()) return DDERR_SURFACELOST;
    if (IsPrimary()) return DDERR_CANTCREATEDC;
    if (dc) return DDERR_DCALREADYCREATED;
    if (locked) return DDERR_SURFACEBUSY;
    // GDI copies pixels as they are; the key belongs to DirectDraw's blits.
    UseKey(pixels, false, 0);
    Touched();
    dc = CreateSurfaceDC(pixels);
    if (!dc) return DDERR_CANTCREATEDC;
    *result = dc;
    return DD_OK;
}

HRESULT DrawSurface::ReleaseDC(HDC given)
{
    if (HRESULT hr = Failure("IDirectDrawSurface::ReleaseDC")) return hr;
    if (!dc) return DDERR_NODC;
    if (given != dc) return DDERR_INVALIDPARAMS;
    DeleteSurfaceDC(dc);
    dc = nullptr;
    Touched();
    return DD_OK;
}

HRESULT DrawSurface::SetClipper(LPDIRECTDRAWCLIPPER given)
{
    if (HRESULT hr = Failure("IDirectDrawSurface::SetClipper")) return hr;
    // Clipper is the only IDirectDrawClipper there is in this process.
    Clipper* next = static_cast<Clipper*>(given);
    if (next) next->AddRef();
    if (clipper) clipper->Release();
    clipper = next;
    return DD_OK;
}

HRESULT DrawSurface::GetClipper(LPDIRECTDRAWCLIPPER* result)
{
    if (HRESULT hr = Failure("IDirectDrawSurface::GetClipper")) return hr;
    if (!result) return DDERR_INVALIDPARAMS;
    *result = clipper;
    if (!clipper) return DDERR_NOCLIPPERATTACHED;
    clipper->AddRef();
    return DD_OK;
}

HRESULT DrawSurface::SetColorKey(DWORD flags, LPDDCOLORKEY given)
{
    if (HRESULT hr = Failure("IDirectDrawSurface::SetColorKey")) return hr;
    described.dwSize = 0;
    DWORD kind = flags & ~DDCKEY_COLORSPACE;
    if (kind == DDCKEY_DESTBLT || kind == DDCKEY_DESTOVERLAY || kind == DDCKEY_SRCOVERLAY) return DDERR_UNSUPPORTED;
    if (kind != DDCKEY_SRCBLT) return DDERR_INVALIDPARAMS;
    if (!given) {
        keyed = false;
        key = DDCOLORKEY{};
        return DD_OK;
    }
    // Only single-value keys: a colour range needs hardware we do not have.
    if ((flags & DDCKEY_COLORSPACE) && given->dwColorSpaceLowValue != given->dwColorSpaceHighValue)
        return DDERR_NOCOLORKEYHW;
    keyed = true;
    key.dwColorSpaceLowValue = key.dwColorSpaceHighValue = given->dwColorSpaceLowValue;
    return DD_OK;
}

HRESULT DrawSurface::GetColorKey(DWORD flags, LPDDCOLORKEY result)
{
    if (HRESULT hr = Failure("IDirectDrawSurface::GetColorKey")) return hr;
    if (!result) return DDERR_INVALIDPARAMS;
    if (flags != DDCKEY_SRCBLT) return flags == DDCKEY_DESTBLT ? DDERR_NOCOLORKEY : DDERR_INVALIDPARAMS;
    if (!keyed) return DDERR_NOCOLORKEY;
    *result = key;
    return DD_OK;
}

}  // namespace plat

void PlatformTest::LoseAllSurfaces() { plat::DrawSurface::LoseAll(); }

void PlatformTest::LoseAllSurfacesAtBlit(int blits) { plat::DrawSurface::LoseAllAtBlit(blits); }

int PlatformTest::LiveSurfaceCount() { return plat::DrawSurface::LiveCount(); }
