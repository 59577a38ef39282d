#include "system/DirectXVersion.h"

#include <ddraw.h>
#include <string.h>

namespace {

typedef HRESULT(WINAPI* DirectDrawCreateProc)(GUID* driver, LPDIRECTDRAW* directDraw, IUnknown* outer);

// An entry point found by name, as the function it is. The detour through
// void (*)() is the portable way to change a function pointer's type.
DirectDrawCreateProc AsDirectDrawCreate(FARPROC proc)
{
    return reinterpret_cast<DirectDrawCreateProc>(reinterpret_cast<void (*)()>(proc));
}

// NT 4 shipped DirectX 2; DirectInput's entry point means DirectX 3.
void ProbeNt4(DWORD* version)
{
    *version = 0x0200;
    HMODULE input = LoadLibraryA("DINPUT.DLL");
    if (input == NULL) {
        OutputDebugStringA("Couldn't LoadLibrary DInput\r\n");
        return;
    }
    FARPROC inputCreate = GetProcAddress(input, "DirectInputCreateA");
    FreeLibrary(input);
    if (inputCreate == NULL) {
        OutputDebugStringA("Couldn't GetProcAddress DInputCreate\r\n");
        return;
    }
    *version = 0x0300;
}

// On the 9x family every DirectX release is recognised by what it added:
// DirectDraw itself (1), IDirectDraw2 (2), DirectInput (3) and
// IDirectDrawSurface3 (5).
void Probe9x(DWORD* version, DWORD* platform)
{
    HMODULE ddrawLibrary = LoadLibraryA("DDRAW.DLL");
    if (ddrawLibrary == NULL) {
        *version = 0;
        *platform = 0;
        return;
    }
    DirectDrawCreateProc create = AsDirectDrawCreate(GetProcAddress(ddrawLibrary, "DirectDrawCreate"));
    if (create == NULL) {
        *version = 0;
        *platform = 0;
        FreeLibrary(ddrawLibrary);
        OutputDebugStringA("Couldn't LoadLibrary DDraw\r\n");
        return;
    }
    LPDIRECTDRAW ddraw = NULL;
    if (FAILED(create(NULL, &ddraw, NULL))) {
        *version = 0;
        *platform = 0;
        FreeLibrary(ddrawLibrary);
        OutputDebugStringA("Couldn't create DDraw\r\n");
        return;
    }
    *version = 0x0100;

    LPDIRECTDRAW2 ddraw2 = NULL;
    if (FAILED(ddraw->QueryInterface(IID_IDirectDraw2, reinterpret_cast<void**>(&ddraw2)))) {
        ddraw->Release();
        FreeLibrary(ddrawLibrary);
        OutputDebugStringA("Couldn't QI DDraw2\r\n");
        return;
    }
    ddraw2->Release();
    *version = 0x0200;

    HMODULE input = LoadLibraryA("DINPUT.DLL");
    if (input == NULL) {
        OutputDebugStringA("Couldn't LoadLibrary DInput\r\n");
        ddraw->Release();
        FreeLibrary(ddrawLibrary);
        return;
    }
    FARPROC inputCreate = GetProcAddress(input, "DirectInputCreateA");
    FreeLibrary(input);
    if (inputCreate == NULL) {
        ddraw->Release();
        FreeLibrary(ddrawLibrary);
        OutputDebugStringA("Couldn't GetProcAddress DInputCreate\r\n");
        return;
    }
    *version = 0x0300;

    DDSURFACEDESC desc;
    memset(&desc, 0, sizeof(desc));
    desc.dwSize = sizeof(desc);
    desc.dwFlags = DDSD_CAPS;
    desc.ddsCaps.dwCaps = DDSCAPS_PRIMARYSURFACE;

    // Without a primary surface nothing of DirectDraw is usable, whatever
    // the libraries claim.
    if (FAILED(ddraw->SetCooperativeLevel(NULL, DDSCL_NORMAL))) {
        ddraw->Release();
        FreeLibrary(ddrawLibrary);
        *version = 0;
        OutputDebugStringA("Couldn't Set coop level\r\n");
        return;
    }
    LPDIRECTDRAWSURFACE surface = NULL;
    if (FAILED(ddraw->CreateSurface(&desc, &surface, NULL))) {
        ddraw->Release();
        FreeLibrary(ddrawLibrary);
        *version = 0;
        OutputDebugStringA("Couldn't CreateSurface\r\n");
        return;
    }
    LPDIRECTDRAWSURFACE3 surface3 = NULL;
    if (FAILED(surface->QueryInterface(IID_IDirectDrawSurface3, reinterpret_cast<void**>(&surface3)))) {
        surface->Release();
        ddraw->Release();
        FreeLibrary(ddrawLibrary);
        return;
    }
    *version = 0x0500;
    surface3->Release();
    surface->Release();
    ddraw->Release();
    FreeLibrary(ddrawLibrary);
}

}  // namespace

void GetDirectXVersion(DWORD* version, DWORD* platform)
{
    OSVERSIONINFOA info;
    memset(&info, 0, sizeof(info));
    info.dwOSVersionInfoSize = sizeof(info);
    if (!GetVersionExA(&info)) {
        *version = 0;
        *platform = 0;
        return;
    }

    if (info.dwPlatformId == VER_PLATFORM_WIN32_NT) {
        *platform = 2;
        if (info.dwMajorVersion < 4) {
            // NT 3 never had DirectX.
            *platform = 0;
        } else if (info.dwMajorVersion == 4) {
            ProbeNt4(version);
        } else {
            *version = 0x0501;
        }
        return;
    }

    *platform = 1;
    // Builds after 1353 come with DirectX 5a or newer.
    if ((info.dwBuildNumber & 0xFFFF) > 1353) {
        *version = 0x0501;
        return;
    }
    Probe9x(version, platform);
}
