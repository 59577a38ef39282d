#include "DirectDraw.h"

#include "BuiltinModules.h"
#include "Clipper.h"
#include "Core.h"
#include "DrawSurface.h"
#include "WindowAccess.h"
#include "PixelFormats.h"

#include <cstring>

namespace plat {
namespace {

// Off-screen surfaces larger than this are refused, as a display driver
// would; it also keeps a negative size passed as a DWORD from allocating.
const DWORD kMaxSide = 16384;

const DWORD kKnownCaps =
    DDSCAPS_PRIMARYSURFACE | DDSCAPS_OFFSCREENPLAIN | DDSCAPS_SYSTEMMEMORY | DDSCAPS_VIDEOMEMORY | DDSCAPS_LOCALVIDMEM;

}  // namespace

DirectDrawObject::~DirectDrawObject() { DrawSurface::OrphanAll(this); }

HRESULT DirectDrawObject::QueryInterface(REFIID riid, void** object)
{
    DWORD code;
    if (Injected("IDirectDraw::QueryInterface", &code)) {
        if (object) *object = nullptr;
        return static_cast<HRESULT>(code);
    }
    if (!object) return DDERR_INVALIDPARAMS;
    *object = nullptr;
    if (riid == IID_IUnknown || riid == IID_IDirectDraw) return Give(object);
    if (riid == IID_IDirectDraw2) {
        *object = static_cast<IDirectDraw2*>(new ChildInterface<IDirectDraw2>(this));
        return S_OK;
    }
    return E_NOINTERFACE;
}

HRESULT DirectDrawObject::CreateClipper(DWORD flags, LPDIRECTDRAWCLIPPER* clipper, IUnknown* outer)
{
    DWORD code;
    if (Injected("IDirectDraw::CreateClipper", &code)) return static_cast<HRESULT>(code);
    if (!clipper || flags != 0) return DDERR_INVALIDPARAMS;
    *clipper = nullptr;
    if (outer) return CLASS_E_NOAGGREGATION;
    *clipper = new Clipper;
    return DD_OK;
}

HRESULT DirectDrawObject::CheckDescription(const DDSURFACEDESC& desc) const
{
    if (!(desc.dwFlags & DDSD_CAPS)) return DDERR_INVALIDPARAMS;
    DWORD caps = desc.ddsCaps.dwCaps;
    if (caps & ~kKnownCaps) return DDERR_INVALIDCAPS;
    if ((caps & DDSCAPS_SYSTEMMEMORY) && (caps & DDSCAPS_VIDEOMEMORY)) return DDERR_INVALIDCAPS;
    if ((caps & DDSCAPS_PRIMARYSURFACE) && (caps & DDSCAPS_OFFSCREENPLAIN)) return DDERR_INVALIDCAPS;
    if (desc.dwFlags & (DDSD_PITCH | DDSD_LPSURFACE | DDSD_BACKBUFFERCOUNT)) return DDERR_INVALIDPARAMS;
    if (caps & DDSCAPS_PRIMARYSURFACE) {
        // The primary surface is the screen: its size and format are the
        // display mode's and may not be given, not even matching ones.
        if (desc.dwFlags & (DDSD_WIDTH | DDSD_HEIGHT | DDSD_PIXELFORMAT)) return DDERR_INVALIDPARAMS;
        if (primary) return DDERR_PRIMARYSURFACEALREADYEXISTS;
        return DD_OK;
    }
    if ((desc.dwFlags & (DDSD_WIDTH | DDSD_HEIGHT)) != (DDSD_WIDTH | DDSD_HEIGHT)) return DDERR_INVALIDPARAMS;
    if (desc.dwWidth == 0 || desc.dwHeight == 0) return DDERR_INVALIDPARAMS;
    if (desc.dwWidth > kMaxSide) return DDERR_TOOBIGWIDTH;
    if (desc.dwHeight > kMaxSide) return DDERR_TOOBIGHEIGHT;
    if ((desc.dwFlags & DDSD_PIXELFORMAT) && !SamePixelFormat(desc.ddpfPixelFormat, DesktopFormat()))
        return DDERR_INVALIDPIXELFORMAT;
    return DD_OK;
}

HRESULT DirectDrawObject::CreateSurface(LPDDSURFACEDESC desc, LPDIRECTDRAWSURFACE* surface, IUnknown* outer)
{
    DWORD code;
    if (Injected("IDirectDraw::CreateSurface", &code)) return static_cast<HRESULT>(code);
    if (!surface) return DDERR_INVALIDPARAMS;
    *surface = nullptr;
    if (!desc || desc->dwSize != sizeof(DDSURFACEDESC)) return DDERR_INVALIDPARAMS;
    if (outer) return CLASS_E_NOAGGREGATION;
    if (!cooperating) return DDERR_NOCOOPERATIVELEVELSET;
    if (HRESULT hr = CheckDescription(*desc)) return hr;

    DrawSurface* made;
    if (desc->ddsCaps.dwCaps & DDSCAPS_PRIMARYSURFACE) {
        made = primary = new DrawSurface(this, nullptr);
    } else {
        SDL_Surface* pixels = SDL_CreateRGBSurfaceWithFormat(0, static_cast<int>(desc->dwWidth),
                                                             static_cast<int>(desc->dwHeight), 0, DesktopFormat());
        if (!pixels) return DDERR_OUTOFMEMORY;
        made = new DrawSurface(this, pixels);
    }
    if (desc->dwFlags & DDSD_CKSRCBLT) made->SetColorKey(DDCKEY_SRCBLT, &desc->ddckCKSrcBlt);
    *surface = made;
    return DD_OK;
}

HRESULT DirectDrawObject::GetDisplayMode(LPDDSURFACEDESC desc)
{
    DWORD code;
    if (Injected("IDirectDraw::GetDisplayMode", &code)) return static_cast<HRESULT>(code);
    if (!desc || desc->dwSize != sizeof(DDSURFACEDESC)) return DDERR_INVALIDPARAMS;
    int width = 0, height = 0;
    SDL_DisplayMode mode;
    if (!DesktopSize(&width, &height) || SDL_GetDesktopDisplayMode(0, &mode) != 0) return DDERR_GENERIC;
    std::memset(desc, 0, sizeof(*desc));
    desc->dwSize = sizeof(DDSURFACEDESC);
    desc->dwFlags = DDSD_WIDTH | DDSD_HEIGHT | DDSD_PITCH | DDSD_PIXELFORMAT | DDSD_REFRESHRATE;
    desc->dwWidth = width;
    desc->dwHeight = height;
    desc->dwRefreshRate = mode.refresh_rate;
    DescribePixelFormat(DesktopFormat(), &desc->ddpfPixelFormat);
    desc->lPitch = width * static_cast<LONG>(desc->ddpfPixelFormat.dwRGBBitCount / 8);
    return DD_OK;
}

HRESULT DirectDrawObject::RestoreDisplayMode()
{
    DWORD code;
    if (Injected("IDirectDraw::RestoreDisplayMode", &code)) return static_cast<HRESULT>(code);
    return DD_OK;  // the mode is never changed in the first place
}

HRESULT DirectDrawObject::SetCooperativeLevel(HWND hwnd, DWORD flags)
{
    DWORD code;
    if (Injected("IDirectDraw::SetCooperativeLevel", &code)) return static_cast<HRESULT>(code);
    bool normal = (flags & DDSCL_NORMAL) != 0;
    bool exclusive = (flags & (DDSCL_EXCLUSIVE | DDSCL_FULLSCREEN)) != 0;
    if (normal == exclusive) return DDERR_INVALIDPARAMS;
    // Full screen would change the desktop; the game always runs windowed.
    if (exclusive) return DDERR_UNSUPPORTED;
    if (hwnd && !SdlWindow(hwnd)) return DDERR_INVALIDPARAMS;
    cooperating = true;
    return DD_OK;
}

}  // namespace plat

HRESULT WINAPI DirectDrawCreate(GUID* driver, LPDIRECTDRAW* directDraw, IUnknown* outer)
{
    DWORD code;
    if (plat::Injected("DirectDrawCreate", &code)) {
        if (directDraw) *directDraw = nullptr;
        return static_cast<HRESULT>(code);
    }
    if (!directDraw) return DDERR_INVALIDPARAMS;
    *directDraw = nullptr;
    if (outer) return CLASS_E_NOAGGREGATION;
    ULONG_PTR special = reinterpret_cast<ULONG_PTR>(driver);
    if (driver && special != DDCREATE_HARDWAREONLY && special != DDCREATE_EMULATIONONLY)
        return DDERR_INVALIDDIRECTDRAWGUID;
    if (!plat::VideoReady()) return DDERR_NODIRECTDRAWHW;
    *directDraw = new plat::DirectDrawObject;
    return DD_OK;
}

// How LoadLibraryA finds this module; kept in every program by name.
extern "C" const bool vorblox_ddraw_module =
    plat::AddBuiltinModule("DDRAW.DLL", "DirectDrawCreate", plat::ExportAddress(&DirectDrawCreate));
