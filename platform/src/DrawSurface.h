// IDirectDrawSurface on SDL: an off-screen surface is an SDL surface in the
// desktop's pixel format; the primary surface has no pixels of its own and
// stands for the screen, which our windows' client areas make up.
#ifndef VORBLOX_PLATFORM_DRAW_SURFACE_H
#define VORBLOX_PLATFORM_DRAW_SURFACE_H

#include "Clipper.h"
#include "ComObject.h"

#include <SDL.h>
#include <ddraw.h>

namespace plat {

class DirectDrawObject;

class DrawSurface final : public ComObject<DrawSurface, IDirectDrawSurface> {
public:
    // A primary surface when `pixels` is null; takes ownership of `pixels`.
    DrawSurface(DirectDrawObject* owner, SDL_Surface* pixels);
    ~DrawSurface();

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override;
    HRESULT STDMETHODCALLTYPE Blt(LPRECT destRect, LPDIRECTDRAWSURFACE source, LPRECT sourceRect, DWORD flags,
                                  LPDDBLTFX effects) override;
    HRESULT STDMETHODCALLTYPE GetClipper(LPDIRECTDRAWCLIPPER* clipper) override;
    HRESULT STDMETHODCALLTYPE GetColorKey(DWORD flags, LPDDCOLORKEY key) override;
    HRESULT STDMETHODCALLTYPE GetDC(HDC* dc) override;
    HRESULT STDMETHODCALLTYPE GetPixelFormat(LPDDPIXELFORMAT format) override;
    HRESULT STDMETHODCALLTYPE GetSurfaceDesc(LPDDSURFACEDESC desc) override;
    HRESULT STDMETHODCALLTYPE IsLost() override;
    HRESULT STDMETHODCALLTYPE Lock(LPRECT rect, LPDDSURFACEDESC desc, DWORD flags, HANDLE event) override;
    HRESULT STDMETHODCALLTYPE ReleaseDC(HDC dc) override;
    HRESULT STDMETHODCALLTYPE Restore() override;
    HRESULT STDMETHODCALLTYPE SetClipper(LPDIRECTDRAWCLIPPER clipper) override;
    HRESULT STDMETHODCALLTYPE SetColorKey(DWORD flags, LPDDCOLORKEY key) override;
    HRESULT STDMETHODCALLTYPE Unlock(LPVOID surfaceData) override;

    bool IsPrimary() const { return pixels == nullptr; }
    // The DirectDraw object went away; the surface lives on by itself.
    void Orphan() { owner = nullptr; }
    DirectDrawObject* Owner() const { return owner; }

    // Every live surface, for the test control that takes their memory away
    // and for the DirectDraw object that made them.
    static void LoseAll();
    // LoseAll when `blits` more blits have gone through (-1: never).
    static void LoseAllAtBlit(int blits);
    // Counts a blit down towards a loss asked for by LoseAllAtBlit.
    static void CountBlit();
    static void OrphanAll(DirectDrawObject* owner);
    static int LiveCount();

private:
    bool Busy() const { return locked || dc != nullptr; }
    // Whether the memory is gone. A change of the desktop's depth since the
    // surface was made takes it for good: the surface belongs to a mode
    // that no longer exists.
    bool Lost();
    // What memory given back by Restore holds: not the old pixels.
    void FillWithGarbage();
    void Describe(DDSURFACEDESC* desc) const;
    HRESULT BlitOffscreen(const RECT& dest, DrawSurface& source, const RECT& from, bool keyed);
    HRESULT BlitToScreen(const RECT* dest, DrawSurface& source, const RECT& from, bool keyed);
    // Whether every pixel of the rectangle has the key value, so that a keyed
    // blit of it changes nothing.
    bool AllKeyColour(const RECT& rect, DWORD key);
    // The pixels may have changed: answers kept by AllKeyColour are void.
    void Touched() { ++changes; }

    DirectDrawObject* owner;
    SDL_Surface* pixels;
    unsigned createdIn;  // DesktopChanges() when the surface was made
    bool lost = false;
    bool wrongMode = false;
    bool locked = false;
    HDC dc = nullptr;
    bool keyed = false;
    DDCOLORKEY key{};
    Clipper* clipper = nullptr;
    // AllKeyColour's last answers, valid while `changes` stays the same.
    struct KeyColourAnswer {
        RECT rect;
        Uint32 key;
        unsigned long changes;
        bool allKey;
    };
    unsigned long changes = 1;
    KeyColourAnswer keyColourAnswers[16] = {};
    int nextKeyColourAnswer = 0;
};

// Helpers of the blits: a rectangle given as NULL means the whole area.
bool ValidRect(const RECT& rect, int width, int height);
SDL_Rect ToSdl(const RECT& rect);
// Switches SDL's colour key of `surface` on (with the raw pixel value `key`)
// or off.
void UseKey(SDL_Surface* surface, bool keyed, DWORD key);

}  // namespace plat

#endif
