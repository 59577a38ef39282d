#include "graphics/Display.h"

#include <string.h>

#include "shell/MainWindow.h"
#include "system/ErrorReport.h"

namespace {

void Describe(DDSURFACEDESC* desc, DWORD flags, DWORD caps)
{
    memset(desc, 0, sizeof(*desc));
    desc->dwSize = sizeof(*desc);
    desc->dwFlags = flags;
    desc->ddsCaps.dwCaps = caps;
}

}  // namespace

Display::Display()
    : target(&primary), ddraw(NULL), window(NULL), clipper(NULL), width(-1), height(-1), restores(0),
      remakePending(0)
{
}

Display::~Display() { Release(); }

int Display::Create(MainWindow* newWindow)
{
    Release();
    if (newWindow == NULL) {
        SetDxError(E_FAIL);
        return 0;
    }
    HRESULT result = DirectDrawCreate(NULL, &ddraw, NULL);
    if (result != DD_OK) {
        // Only DD_OK counts; an object handed out with another status is
        // given back rather than kept half-trusted.
        if (SUCCEEDED(result) && ddraw != NULL) ddraw->Release();
        ddraw = NULL;
        SetDxError(result);
        return 0;
    }
    // The game shares the desktop: no exclusive mode, no mode change.
    result = ddraw->SetCooperativeLevel(newWindow->hwnd, DDSCL_NORMAL);
    if (result != DD_OK) {
        SetDxError(result);
        return 0;
    }
    window = newWindow;
    UpdateClientSize();
    return 1;
}

void Display::UpdateClientSize()
{
    if (window == NULL) return;
    RECT client;
    memset(&client, 0, sizeof(client));
    GetClientRect(window->hwnd, &client);
    width = client.right;
    height = client.bottom;
}

int Display::CreateSurfaces()
{
    // A window is needed as well: the clipper is bound to it.
    if (ddraw == NULL || window == NULL || (primary.display != NULL && primary.surface != NULL) ||
        (back.display != NULL && back.surface != NULL)) {
        SetDxError(E_FAIL);
        return 0;
    }
    UpdateClientSize();

    DDSURFACEDESC desc;
    Describe(&desc, DDSD_CAPS, DDSCAPS_PRIMARYSURFACE);
    LPDIRECTDRAWSURFACE primarySurface = NULL;
    HRESULT result = ddraw->CreateSurface(&desc, &primarySurface, NULL);
    if (result != DD_OK) {
        SetDxError(result);
        return 0;
    }

    Describe(&desc, DDSD_CAPS | DDSD_HEIGHT | DDSD_WIDTH, DDSCAPS_OFFSCREENPLAIN);
    desc.dwWidth = static_cast<DWORD>(width);
    desc.dwHeight = static_cast<DWORD>(height);
    LPDIRECTDRAWSURFACE backSurface = NULL;
    result = ddraw->CreateSurface(&desc, &backSurface, NULL);
    if (result != DD_OK) {
        primarySurface->Release();
        SetDxError(result);
        return 0;
    }

    primary.display = this;
    primary.surface = primarySurface;
    back.display = this;
    back.surface = backSurface;
    target = &back;

    // The clipper keeps a present inside the visible part of the window.
    result = ddraw->CreateClipper(0, &clipper, NULL);
    if (result != DD_OK) {
        clipper = NULL;
        SetDxError(result);
        return 0;
    }
    result = clipper->SetHWnd(0, window->hwnd);
    if (result != DD_OK) {
        SetDxError(result);
        return 0;
    }
    result = primary.surface->SetClipper(clipper);
    if (result != DD_OK) {
        SetDxError(result);
        return 0;
    }
    return 1;
}

int Display::CreateSurface(LPDDSURFACEDESC desc, LPDIRECTDRAWSURFACE* out, Surface* owner)
{
    if (ddraw == NULL || owner == NULL) {
        SetDxError(E_FAIL);
        return 0;
    }
    HRESULT result = ddraw->CreateSurface(desc, out, NULL);
    if (result != DD_OK) {
        SetDxError(result);
        return 0;
    }
    surfaces.Insert(owner, -1);
    return 1;
}

int Display::Present()
{
    if (remakePending == 1) {
        // The back buffer holds no frame yet; a successful remake has the
        // frame drawn again, a failed one has recorded why.
        if (RestoreSurfaces()) SetDxError(DDERR_SURFACELOST);
        return 0;
    }
    if (primary.surface == NULL || back.surface == NULL) return 1;
    // Read on every frame, so the picture follows the window when it moves.
    // Without a window there is nowhere to put the frame: drawing it at the
    // screen's corner instead would paint over whatever is there.
    POINT corner = {0, 0};
    if (!ClientToScreen(window->hwnd, &corner)) {
        SetDxError(E_FAIL);
        return 0;
    }
    return back.Blit(primary, corner.x, corner.y);
}

int Display::RestoreSurfaces()
{
    if (remakePending == 0 && !RestoreMemory()) {
        if (GetDxError() != DDERR_WRONGMODE) return 0;
        remakePending = 1;
    }
    if (remakePending == 1 && !RemakeSurfaces()) return 0;
    ++restores;
    return 1;
}

// The desktop's format changed: surfaces made for the old one never come
// back. The primary surface, the back buffer and the clipper are made again
// as at start-up, then every registered Surface at its own size, each keeping
// its place in the registry.
int Display::RemakeSurfaces()
{
    ReleaseSurfaces();
    if (!CreateSurfaces()) return 0;
    if (surfaces.Count() >= 1) {
        ListCursor<Surface> cursor = surfaces.Begin();
        do {
            Surface* registered = cursor.Item();
            if (registered != NULL && registered->surface != NULL && !registered->Recreate()) return 0;
        } while (cursor.Next());
    }
    remakePending = 0;
    return 1;
}

int Display::RestoreMemory()
{
    if (!primary.Restore()) return 0;
    if (back.display != NULL && back.surface != NULL && !back.Restore()) return 0;
    if (surfaces.Count() <= 0) return 1;
    ListCursor<Surface> cursor = surfaces.Begin();
    do {
        Surface* registered = cursor.Item();
        if (registered != NULL && !registered->Restore()) return 0;
    } while (cursor.Next());
    return 1;
}

void Display::ReleaseSurfaces()
{
    if (clipper != NULL) {
        clipper->Release();
        clipper = NULL;
    }
    back.Release();
    primary.Release();
}

int Display::RestoreDisplayMode()
{
    if (ddraw == NULL) {
        SetDxError(E_FAIL);
        return 0;
    }
    width = -1;
    height = -1;
    HRESULT result = ddraw->SetCooperativeLevel(NULL, DDSCL_NORMAL);
    if (result != DD_OK) {
        SetDxError(result);
        return 0;
    }
    result = ddraw->RestoreDisplayMode();
    if (result != DD_OK) {
        SetDxError(result);
        return 0;
    }
    return 1;
}

void Display::Release()
{
    if (ddraw == NULL) return;
    RestoreDisplayMode();
    while (surfaces.Count() >= 1) {
        Surface* registered = surfaces.GetAt(0);
        if (registered != NULL) registered->Release();
        surfaces.RemoveAt(0, 0);
    }
    surfaces.Clear(0);
    ReleaseSurfaces();
    ddraw->Release();
    ddraw = NULL;
    clipper = NULL;
    remakePending = 0;
}
