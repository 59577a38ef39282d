// IDirectDrawSurface on SDL: an off-screen surface is an SDL surface in the
// desktop's pixel format; the primary surface has no pixels of its own and
// stands for the screen, which our windows' client areas make up.
#ifndef VORBLOX_PLATFORM_DRAW_SURFACE_H
#define VORBLOX_PLATFORM_DRAW_SURFACE_H

#include "Clipper.h"
#include "ComObject.h"
#include "Core.h"
#include "FrameRecord.h"
#include "TileMarks.h"

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
    // Draws every surface's kept frame: before any surface's pixels change,
    // since a kept blit may read them.
    static void DrawKeptFrames();

private:
    bool Busy() const { return locked || dc != nullptr; }
    // Whether the memory is gone. A change of the desktop's depth since the
    // surface was made takes it for good: the surface belongs to a mode
    // that no longer exists.
    bool Lost()
    {
        if (createdIn != DesktopChanges()) lost = wrongMode = true;
        return lost;
    }
    // What memory given back by Restore holds: not the old pixels.
    void FillWithGarbage();
    void Describe(DDSURFACEDESC* desc) const;
    HRESULT BlitOffscreen(const RECT& dest, DrawSurface& source, const RECT& from, bool keyed);
    HRESULT BlitToScreen(const RECT* dest, DrawSurface& source, const RECT& from, bool keyed);
    // Whether every pixel of the rectangle has the key value, so that a keyed
    // blit of it changes nothing.
    bool AllKeyColour(const RECT& rect, DWORD key);
    // The pixels of `area` may have changed (all of them when null):
    // answers kept by AllKeyColour are void, and the tiles are marked.
    void Touched(const SDL_Rect* area = nullptr);
    // Whether the blit is a plain copy of all of `source` onto all of this
    // surface, in the same format.
    bool WholeCopy(const DrawSurface& source, const RECT& dest, const RECT& from, bool keyed) const;
    // Draws the frame kept in `frame`, if any, so that the pixels are
    // what the blits so far made them.
    void Settle();
    // Draws the kept frames of other surfaces that read this one, before
    // a whole copy starts a frame of its own on it: so no kept frame reads
    // a surface that keeps one, and kept frames may be drawn in any order
    // (platform/FramePath.md).
    void SettleReaders();

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
    mutable DDSURFACEDESC described{};  // Describe's answer; dwSize 0 until made
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
    // The answer asked for last: the well's empty cells ask the same
    // question some two hundred times in a row.
    int lastKeyColourAnswer = 0;
    // A frame is mostly what it was: after a whole copy onto the surface
    // the blits are kept and drawn only where they differ from the last
    // frame's (FrameRecord, which knows the pictures by `serial`), and the
    // tiles drawn on since a window last took the surface (copy number
    // `taken`) are marked, so that showing it compares just those
    // (FramePath.md).
    unsigned long serial;
    FrameRecord frame;
    TileMarks sinceShown;
    unsigned long taken = 0;
};

// Helpers of the blits: a rectangle given as NULL means the whole area.
bool ValidRect(const RECT& rect, int width, int height);
SDL_Rect ToSdl(const RECT& rect);
// Switches SDL's colour key of `surface` on (with the raw pixel value `key`)
// or off.
void UseKey(SDL_Surface* surface, bool keyed, DWORD key);
// Copies `from` of `source` onto `to` of `dest`, cut to dest's clip
// rectangle: stretching when the sizes differ, leaving out the key's pixels
// (the raw value `key`) when `keyed`; false when SDL failed.
bool SdlBlit(SDL_Surface* source, SDL_Rect from, SDL_Surface* dest, SDL_Rect to, bool keyed, DWORD key);
// The same for an unstretched copy between surfaces of one format; keyed
// (by the whole pixel value `*key`) only in 16 and 32 bits.
bool CopyRows(SDL_Surface* source, SDL_Rect from, SDL_Surface* dest, SDL_Rect to, const Uint32* key = nullptr);

}  // namespace plat

#endif
