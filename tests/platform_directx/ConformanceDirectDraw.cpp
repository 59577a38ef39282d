// DirectDraw as any program sees it: only the DirectDraw API, no test
// controls, so the same checks can run against the system's DirectDraw.
#include "DrawTestSupport.h"

namespace {

using drawtest::Description;
using drawtest::DirectDrawTest;
using drawtest::OffscreenDescription;
using drawtest::Pixels;

const GUID kUnknownGuid = {0x12345678, 0x1234, 0x1234, {1, 2, 3, 4, 5, 6, 7, 8}};

TEST(DirectDrawCreate, GivesAnObjectWithOneReference)
{
    LPDIRECTDRAW ddraw = nullptr;
    ASSERT_EQ(DD_OK, DirectDrawCreate(nullptr, &ddraw, nullptr));
    ASSERT_NE(nullptr, ddraw);
    EXPECT_EQ(2u, ddraw->AddRef());
    EXPECT_EQ(1u, ddraw->Release());
    EXPECT_EQ(0u, ddraw->Release());
}

TEST(DirectDrawCreate, RefusesAnUnknownDriver)
{
    LPDIRECTDRAW ddraw = nullptr;
    GUID driver = kUnknownGuid;
    EXPECT_EQ(DDERR_INVALIDDIRECTDRAWGUID, DirectDrawCreate(&driver, &ddraw, nullptr));
    EXPECT_EQ(nullptr, ddraw);
}

TEST_F(DirectDrawTest, QueryInterfaceAnswersTheDirectDrawInterfaces)
{
    const IID* known[] = {&IID_IUnknown, &IID_IDirectDraw, &IID_IDirectDraw2};
    for (const IID* iid : known) {
        void* object = nullptr;
        ASSERT_EQ(S_OK, ddraw->QueryInterface(*iid, &object));
        ASSERT_NE(nullptr, object);
        static_cast<IUnknown*>(object)->Release();
    }
}

TEST_F(DirectDrawTest, QueryInterfaceRefusesOtherInterfaces)
{
    const IID* unknown[] = {&IID_IDirectDrawSurface, &IID_IDirectDrawClipper, &kUnknownGuid};
    for (const IID* iid : unknown) {
        void* object = reinterpret_cast<void*>(1);
        EXPECT_EQ(E_NOINTERFACE, ddraw->QueryInterface(*iid, &object));
        EXPECT_EQ(nullptr, object);
    }
}

TEST(DirectDraw, SecondInterfaceOutlivesTheFirstReference)
{
    LPDIRECTDRAW ddraw = nullptr;
    ASSERT_EQ(DD_OK, DirectDrawCreate(nullptr, &ddraw, nullptr));
    LPDIRECTDRAW2 ddraw2 = nullptr;
    ASSERT_EQ(S_OK, ddraw->QueryInterface(IID_IDirectDraw2, reinterpret_cast<void**>(&ddraw2)));
    EXPECT_EQ(0u, ddraw2->Release());
    // The object still answers: the second interface's reference is gone,
    // the creator's remains.
    EXPECT_EQ(DD_OK, ddraw->SetCooperativeLevel(nullptr, DDSCL_NORMAL));
    EXPECT_EQ(0u, ddraw->Release());
}

TEST(DirectDraw, CreateSurfaceNeedsACooperativeLevel)
{
    LPDIRECTDRAW ddraw = nullptr;
    ASSERT_EQ(DD_OK, DirectDrawCreate(nullptr, &ddraw, nullptr));
    DDSURFACEDESC desc = OffscreenDescription(4, 4);
    LPDIRECTDRAWSURFACE surface = nullptr;
    EXPECT_EQ(DDERR_NOCOOPERATIVELEVELSET, ddraw->CreateSurface(&desc, &surface, nullptr));
    EXPECT_EQ(nullptr, surface);
    EXPECT_EQ(0u, ddraw->Release());
}

TEST_F(DirectDrawTest, SetCooperativeLevelRefusesNoLevelAtAll)
{
    EXPECT_EQ(DDERR_INVALIDPARAMS, ddraw->SetCooperativeLevel(nullptr, 0));
}

struct BadDescription {
    const char* what;
    DDSURFACEDESC desc;
};

TEST_F(DirectDrawTest, CreateSurfaceRefusesIncompleteDescriptions)
{
    DDSURFACEDESC wrongSize = OffscreenDescription(4, 4);
    wrongSize.dwSize = sizeof(DDSURFACEDESC) - 4;
    const BadDescription cases[] = {
        {"wrong dwSize", wrongSize},
        {"no DDSD_CAPS", Description(DDSD_WIDTH | DDSD_HEIGHT, DDSCAPS_OFFSCREENPLAIN, 4, 4)},
        {"no width", Description(DDSD_CAPS | DDSD_HEIGHT, DDSCAPS_OFFSCREENPLAIN, 4, 4)},
        {"no height", Description(DDSD_CAPS | DDSD_WIDTH, DDSCAPS_OFFSCREENPLAIN, 4, 4)},
        {"zero width", OffscreenDescription(0, 4)},
        {"primary with a size", Description(DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT, DDSCAPS_PRIMARYSURFACE, 4, 4)},
    };
    for (const BadDescription& c : cases) {
        DDSURFACEDESC desc = c.desc;
        LPDIRECTDRAWSURFACE surface = reinterpret_cast<LPDIRECTDRAWSURFACE>(1);
        EXPECT_EQ(DDERR_INVALIDPARAMS, ddraw->CreateSurface(&desc, &surface, nullptr)) << c.what;
        EXPECT_EQ(nullptr, surface) << c.what;
    }
}

TEST_F(DirectDrawTest, OnlyOnePrimarySurfaceAtATime)
{
    DDSURFACEDESC desc = Description(DDSD_CAPS, DDSCAPS_PRIMARYSURFACE);
    LPDIRECTDRAWSURFACE first = nullptr, second = nullptr;
    ASSERT_EQ(DD_OK, ddraw->CreateSurface(&desc, &first, nullptr));
    EXPECT_EQ(DDERR_PRIMARYSURFACEALREADYEXISTS, ddraw->CreateSurface(&desc, &second, nullptr));
    EXPECT_EQ(0u, first->Release());
    ASSERT_EQ(DD_OK, ddraw->CreateSurface(&desc, &second, nullptr));
    EXPECT_EQ(0u, second->Release());
}

TEST_F(DirectDrawTest, PrimarySurfaceHasTheDisplayModesSizeAndFormat)
{
    DDSURFACEDESC mode = Description(0, 0);
    ASSERT_EQ(DD_OK, ddraw->GetDisplayMode(&mode));
    DDSURFACEDESC desc = Description(DDSD_CAPS, DDSCAPS_PRIMARYSURFACE);
    LPDIRECTDRAWSURFACE primary = nullptr;
    ASSERT_EQ(DD_OK, ddraw->CreateSurface(&desc, &primary, nullptr));
    DDSURFACEDESC got = Description(0, 0);
    ASSERT_EQ(DD_OK, primary->GetSurfaceDesc(&got));
    EXPECT_EQ(mode.dwWidth, got.dwWidth);
    EXPECT_EQ(mode.dwHeight, got.dwHeight);
    EXPECT_EQ(mode.ddpfPixelFormat.dwRGBBitCount, got.ddpfPixelFormat.dwRGBBitCount);
    EXPECT_EQ(mode.ddpfPixelFormat.dwRBitMask, got.ddpfPixelFormat.dwRBitMask);
    EXPECT_TRUE(got.ddsCaps.dwCaps & DDSCAPS_PRIMARYSURFACE);
    EXPECT_EQ(0u, primary->Release());
}

TEST_F(DirectDrawTest, OffscreenSurfaceDescribesItself)
{
    LPDIRECTDRAWSURFACE surface = Offscreen(7, 3);
    DDSURFACEDESC mode = Description(0, 0);
    ASSERT_EQ(DD_OK, ddraw->GetDisplayMode(&mode));
    DDSURFACEDESC got = Description(0, 0);
    ASSERT_EQ(DD_OK, surface->GetSurfaceDesc(&got));
    EXPECT_EQ(7u, got.dwWidth);
    EXPECT_EQ(3u, got.dwHeight);
    EXPECT_TRUE(got.ddsCaps.dwCaps & DDSCAPS_OFFSCREENPLAIN);
    EXPECT_GE(got.lPitch, static_cast<LONG>(7 * got.ddpfPixelFormat.dwRGBBitCount / 8));
    EXPECT_EQ(mode.ddpfPixelFormat.dwRGBBitCount, got.ddpfPixelFormat.dwRGBBitCount);
    EXPECT_EQ(mode.ddpfPixelFormat.dwGBitMask, got.ddpfPixelFormat.dwGBitMask);
    EXPECT_EQ(0u, surface->Release());
}

TEST_F(DirectDrawTest, GetSurfaceDescChecksTheStructureSize)
{
    LPDIRECTDRAWSURFACE surface = Offscreen(2, 2);
    DDSURFACEDESC desc = Description(0, 0);
    desc.dwSize = 100;
    EXPECT_EQ(DDERR_INVALIDPARAMS, surface->GetSurfaceDesc(&desc));
    EXPECT_EQ(0u, surface->Release());
}

TEST_F(DirectDrawTest, SurfaceAnswersIDirectDrawSurface3)
{
    LPDIRECTDRAWSURFACE surface = Offscreen(2, 2);
    LPDIRECTDRAWSURFACE3 surface3 = nullptr;
    ASSERT_EQ(S_OK, surface->QueryInterface(IID_IDirectDrawSurface3, reinterpret_cast<void**>(&surface3)));
    ASSERT_NE(nullptr, surface3);
    EXPECT_EQ(0u, surface3->Release());
    EXPECT_EQ(0u, surface->Release());
}

TEST_F(DirectDrawTest, LockGivesThePixelsAndCanBeHeldOnlyOnce)
{
    LPDIRECTDRAWSURFACE surface = Offscreen(4, 4);
    DDSURFACEDESC desc = Description(0, 0);
    ASSERT_EQ(DD_OK, surface->Lock(nullptr, &desc, DDLOCK_WAIT, nullptr));
    EXPECT_NE(nullptr, desc.lpSurface);
    EXPECT_EQ(4u, desc.dwWidth);
    DDSURFACEDESC again = Description(0, 0);
    EXPECT_EQ(DDERR_SURFACEBUSY, surface->Lock(nullptr, &again, DDLOCK_WAIT, nullptr));
    EXPECT_EQ(DD_OK, surface->Unlock(nullptr));
    EXPECT_EQ(DDERR_NOTLOCKED, surface->Unlock(nullptr));
    EXPECT_EQ(0u, surface->Release());
}

TEST_F(DirectDrawTest, LockOfARectanglePointsAtItsCorner)
{
    LPDIRECTDRAWSURFACE surface = Offscreen(8, 8);
    DDSURFACEDESC whole = Description(0, 0);
    ASSERT_EQ(DD_OK, surface->Lock(nullptr, &whole, DDLOCK_WAIT, nullptr));
    BYTE* base = static_cast<BYTE*>(whole.lpSurface);
    ASSERT_EQ(DD_OK, surface->Unlock(nullptr));
    RECT part = {3, 2, 6, 5};
    DDSURFACEDESC desc = Description(0, 0);
    ASSERT_EQ(DD_OK, surface->Lock(&part, &desc, DDLOCK_WAIT, nullptr));
    int bytes = static_cast<int>(desc.ddpfPixelFormat.dwRGBBitCount / 8);
    EXPECT_EQ(base + 2 * desc.lPitch + 3 * bytes, desc.lpSurface);
    EXPECT_EQ(DD_OK, surface->Unlock(desc.lpSurface));
    EXPECT_EQ(0u, surface->Release());
}

TEST_F(DirectDrawTest, LockRefusesARectangleOutsideTheSurface)
{
    LPDIRECTDRAWSURFACE surface = Offscreen(4, 4);
    RECT outside = {2, 2, 5, 4};
    DDSURFACEDESC desc = Description(0, 0);
    EXPECT_EQ(DDERR_INVALIDPARAMS, surface->Lock(&outside, &desc, DDLOCK_WAIT, nullptr));
    EXPECT_EQ(0u, surface->Release());
}

struct BlitCase {
    const char* what;
    RECT dest;      // left = -1: NULL, the whole destination
    RECT source;    // left = -1: NULL, the whole source
    // Expected destination pixel: the source pixel it came from, or
    // (-1, -1) for "unchanged".
    POINT (*from)(int x, int y);
};

POINT Unchanged() { return POINT{-1, -1}; }

class BlitTest : public DirectDrawTest {
protected:
    // Blits a 4 x 4 pattern onto an 8 x 8 surface filled with 0x77 and
    // checks every destination pixel.
    void Check(const BlitCase& c, DWORD flags = DDBLT_WAIT)
    {
        LPDIRECTDRAWSURFACE source = Offscreen(4, 4);
        LPDIRECTDRAWSURFACE dest = Offscreen(8, 8);
        Fill(source, Pattern);
        Fill(dest, [](int, int) { return DWORD{0x77}; });
        RECT destRect = c.dest, sourceRect = c.source;
        EXPECT_EQ(DD_OK, dest->Blt(c.dest.left < 0 ? nullptr : &destRect, source,
                                   c.source.left < 0 ? nullptr : &sourceRect, flags, nullptr))
            << c.what;
        Pixels got = Read(dest);
        for (int y = 0; y < 8; ++y)
            for (int x = 0; x < 8; ++x) {
                POINT p = c.from(x, y);
                DWORD want = p.x < 0 ? 0x77 : Pattern(p.x, p.y);
                EXPECT_EQ(want, got.At(x, y)) << c.what << " at " << x << "," << y;
            }
        EXPECT_EQ(0u, source->Release());
        EXPECT_EQ(0u, dest->Release());
    }
};

TEST_F(BlitTest, CopiesRectanglesPixelForPixel)
{
    const BlitCase cases[] = {
        {"whole source at the top left", {0, 0, 4, 4}, {-1, 0, 0, 0},
         [](int x, int y) { return x < 4 && y < 4 ? POINT{x, y} : Unchanged(); }},
        {"whole source moved", {3, 2, 7, 6}, {-1, 0, 0, 0},
         [](int x, int y) { return x >= 3 && x < 7 && y >= 2 && y < 6 ? POINT{x - 3, y - 2} : Unchanged(); }},
        {"part of the source", {5, 6, 7, 7}, {1, 2, 3, 3},
         [](int x, int y) { return x >= 5 && x < 7 && y == 6 ? POINT{x - 4, 2} : Unchanged(); }},
        {"one pixel to the far corner", {7, 7, 8, 8}, {3, 3, 4, 4},
         [](int x, int y) { return x == 7 && y == 7 ? POINT{3, 3} : Unchanged(); }},
        {"stretched twice as large", {-1, 0, 0, 0}, {-1, 0, 0, 0},
         [](int x, int y) { return POINT{x / 2, y / 2}; }},
        {"a column stretched wide", {0, 0, 8, 4}, {2, 0, 3, 4},
         [](int, int y) { return y < 4 ? POINT{2, y} : Unchanged(); }},
    };
    for (const BlitCase& c : cases) Check(c);
}

TEST_F(BlitTest, ShrinkingPicksSourcePixelsOfEachBlock)
{
    LPDIRECTDRAWSURFACE source = Offscreen(4, 4);
    LPDIRECTDRAWSURFACE dest = Offscreen(2, 2);
    Fill(source, Pattern);
    ASSERT_EQ(DD_OK, dest->Blt(nullptr, source, nullptr, DDBLT_WAIT, nullptr));
    Pixels got = Read(dest);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 2; ++x) {
            DWORD v = got.At(x, y);
            bool inBlock = false;
            for (int sy = 2 * y; sy < 2 * y + 2; ++sy)
                for (int sx = 2 * x; sx < 2 * x + 2; ++sx) inBlock = inBlock || v == Pattern(sx, sy);
            EXPECT_TRUE(inBlock) << x << "," << y << " = " << v;
        }
    EXPECT_EQ(0u, source->Release());
    EXPECT_EQ(0u, dest->Release());
}

TEST_F(BlitTest, SourceColorKeyLeavesKeyedPixelsAlone)
{
    LPDIRECTDRAWSURFACE source = Offscreen(4, 4);
    LPDIRECTDRAWSURFACE dest = Offscreen(4, 4);
    // A chequerboard of the key (0) and the pattern.
    Fill(source, [](int x, int y) { return (x + y) % 2 ? DWORD{0} : Pattern(x, y); });
    Fill(dest, [](int, int) { return DWORD{0x77}; });
    DDCOLORKEY key = {0, 0};
    ASSERT_EQ(DD_OK, source->SetColorKey(DDCKEY_SRCBLT, &key));
    ASSERT_EQ(DD_OK, dest->Blt(nullptr, source, nullptr, DDBLT_WAIT | DDBLT_KEYSRC, nullptr));
    Pixels got = Read(dest);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x) EXPECT_EQ((x + y) % 2 ? 0x77u : Pattern(x, y), got.At(x, y)) << x << "," << y;
    EXPECT_EQ(0u, source->Release());
    EXPECT_EQ(0u, dest->Release());
}

TEST_F(BlitTest, KeyIsIgnoredWithoutDDBLT_KEYSRC)
{
    LPDIRECTDRAWSURFACE source = Offscreen(2, 1);
    LPDIRECTDRAWSURFACE dest = Offscreen(2, 1);
    Fill(source, [](int x, int) { return x ? DWORD{0x155} : DWORD{0}; });
    Fill(dest, [](int, int) { return DWORD{0x77}; });
    DDCOLORKEY key = {0, 0};
    ASSERT_EQ(DD_OK, source->SetColorKey(DDCKEY_SRCBLT, &key));
    ASSERT_EQ(DD_OK, dest->Blt(nullptr, source, nullptr, DDBLT_WAIT, nullptr));
    Pixels got = Read(dest);
    EXPECT_EQ(0u, got.At(0, 0));
    EXPECT_EQ(0x155u, got.At(1, 0));
    EXPECT_EQ(0u, source->Release());
    EXPECT_EQ(0u, dest->Release());
}

// A source that is all key draws nothing; whatever then changes its pixels
// (a write through Lock, a blit into it, GDI through its DC) or its key must
// show in the next keyed blit from it.
TEST_F(BlitTest, KeyedBlitSeesEveryChangeOfTheSource)
{
    LPDIRECTDRAWSURFACE source = Offscreen(4, 4);
    LPDIRECTDRAWSURFACE dest = Offscreen(4, 4);
    LPDIRECTDRAWSURFACE paint = Offscreen(1, 1);
    Fill(paint, [](int, int) { return DWORD{0x155}; });
    DDCOLORKEY key = {0, 0};
    ASSERT_EQ(DD_OK, source->SetColorKey(DDCKEY_SRCBLT, &key));
    const DWORD keyed = DDBLT_WAIT | DDBLT_KEYSRC;
    // How many destination pixels a keyed blit of the whole source changes.
    auto drawn = [&]() {
        Fill(dest, [](int, int) { return DWORD{0x77}; });
        EXPECT_EQ(DD_OK, dest->Blt(nullptr, source, nullptr, keyed, nullptr));
        Pixels got = Read(dest);
        int changed = 0;
        for (DWORD v : got.values) changed += v != 0x77;
        return changed;
    };
    Fill(source, [](int, int) { return DWORD{0}; });
    EXPECT_EQ(0, drawn());
    EXPECT_EQ(0, drawn()) << "asked twice";

    Fill(source, [](int x, int y) { return x == 1 && y == 2 ? DWORD{0x155} : DWORD{0}; });
    EXPECT_EQ(1, drawn()) << "a pixel written through Lock";

    Fill(source, [](int, int) { return DWORD{0}; });
    EXPECT_EQ(0, drawn());
    RECT corner = {3, 3, 4, 4};
    ASSERT_EQ(DD_OK, source->Blt(&corner, paint, nullptr, DDBLT_WAIT, nullptr));
    EXPECT_EQ(1, drawn()) << "a pixel blitted into the source";

    Fill(source, [](int, int) { return DWORD{0}; });
    EXPECT_EQ(0, drawn());
    HDC dc = nullptr;
    ASSERT_EQ(DD_OK, source->GetDC(&dc));
    SetPixel(dc, 0, 0, RGB(255, 255, 255));
    ASSERT_EQ(DD_OK, source->ReleaseDC(dc));
    EXPECT_EQ(1, drawn()) << "a pixel set through the surface's DC";

    Fill(source, [](int, int) { return DWORD{0}; });
    EXPECT_EQ(0, drawn());
    DDCOLORKEY other = {0x155, 0x155};
    ASSERT_EQ(DD_OK, source->SetColorKey(DDCKEY_SRCBLT, &other));
    EXPECT_EQ(16, drawn()) << "another key";

    EXPECT_EQ(0u, paint->Release());
    EXPECT_EQ(0u, source->Release());
    EXPECT_EQ(0u, dest->Release());
}

TEST_F(BlitTest, KeyedStretchKeepsTheKeyOut)
{
    LPDIRECTDRAWSURFACE source = Offscreen(2, 1);
    LPDIRECTDRAWSURFACE dest = Offscreen(4, 2);
    Fill(source, [](int x, int) { return x ? DWORD{0x155} : DWORD{0}; });
    Fill(dest, [](int, int) { return DWORD{0x77}; });
    DDCOLORKEY key = {0, 0};
    ASSERT_EQ(DD_OK, source->SetColorKey(DDCKEY_SRCBLT, &key));
    ASSERT_EQ(DD_OK, dest->Blt(nullptr, source, nullptr, DDBLT_WAIT | DDBLT_KEYSRC, nullptr));
    Pixels got = Read(dest);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 4; ++x) EXPECT_EQ(x < 2 ? 0x77u : 0x155u, got.At(x, y)) << x << "," << y;
    EXPECT_EQ(0u, source->Release());
    EXPECT_EQ(0u, dest->Release());
}

TEST_F(BlitTest, OverlappingBlitWithinOneSurfaceReadsBeforeWriting)
{
    LPDIRECTDRAWSURFACE surface = Offscreen(6, 1);
    Fill(surface, Pattern);
    RECT from = {0, 0, 5, 1}, to = {1, 0, 6, 1};
    ASSERT_EQ(DD_OK, surface->Blt(&to, surface, &from, DDBLT_WAIT, nullptr));
    Pixels got = Read(surface);
    EXPECT_EQ(Pattern(0, 0), got.At(0, 0));
    for (int x = 1; x < 6; ++x) EXPECT_EQ(Pattern(x - 1, 0), got.At(x, 0)) << x;
    EXPECT_EQ(0u, surface->Release());
}

TEST_F(BlitTest, RefusesRectanglesOutsideEitherSurface)
{
    LPDIRECTDRAWSURFACE source = Offscreen(4, 4);
    LPDIRECTDRAWSURFACE dest = Offscreen(8, 8);
    struct {
        const char* what;
        RECT dest;
        RECT source;
    } cases[] = {
        {"destination past the right edge", {6, 0, 10, 4}, {0, 0, 4, 4}},
        {"destination above the top", {0, -1, 4, 3}, {0, 0, 4, 4}},
        {"source past the bottom", {0, 0, 4, 4}, {0, 1, 4, 5}},
        {"source left of the edge", {0, 0, 4, 4}, {-2, 0, 2, 4}},
        {"inverted source", {0, 0, 4, 4}, {3, 0, 1, 4}},
    };
    for (auto& c : cases) EXPECT_EQ(DDERR_INVALIDRECT, dest->Blt(&c.dest, source, &c.source, DDBLT_WAIT, nullptr)) << c.what;
    EXPECT_EQ(0u, source->Release());
    EXPECT_EQ(0u, dest->Release());
}

TEST_F(BlitTest, LockedSurfaceIsBusy)
{
    LPDIRECTDRAWSURFACE source = Offscreen(2, 2);
    LPDIRECTDRAWSURFACE dest = Offscreen(2, 2);
    DDSURFACEDESC desc = Description(0, 0);
    ASSERT_EQ(DD_OK, dest->Lock(nullptr, &desc, DDLOCK_WAIT, nullptr));
    EXPECT_EQ(DDERR_SURFACEBUSY, dest->Blt(nullptr, source, nullptr, DDBLT_WAIT, nullptr));
    EXPECT_EQ(DD_OK, dest->Unlock(nullptr));
    EXPECT_EQ(DD_OK, dest->Blt(nullptr, source, nullptr, DDBLT_WAIT, nullptr));
    EXPECT_EQ(0u, source->Release());
    EXPECT_EQ(0u, dest->Release());
}

TEST_F(DirectDrawTest, ColorKeyIsKeptUntilRemoved)
{
    LPDIRECTDRAWSURFACE surface = Offscreen(2, 2);
    DDCOLORKEY got = {1, 1};
    EXPECT_EQ(DDERR_NOCOLORKEY, surface->GetColorKey(DDCKEY_SRCBLT, &got));
    DDCOLORKEY key = {0x1F, 0x1F};
    ASSERT_EQ(DD_OK, surface->SetColorKey(DDCKEY_SRCBLT, &key));
    ASSERT_EQ(DD_OK, surface->GetColorKey(DDCKEY_SRCBLT, &got));
    EXPECT_EQ(0x1Fu, got.dwColorSpaceLowValue);
    EXPECT_EQ(0x1Fu, got.dwColorSpaceHighValue);
    ASSERT_EQ(DD_OK, surface->SetColorKey(DDCKEY_SRCBLT, nullptr));
    EXPECT_EQ(DDERR_NOCOLORKEY, surface->GetColorKey(DDCKEY_SRCBLT, &got));
    EXPECT_EQ(0u, surface->Release());
}

TEST_F(DirectDrawTest, SurfacesAreNotLostAndRestoreHarmlessly)
{
    LPDIRECTDRAWSURFACE surface = Offscreen(2, 2);
    Fill(surface, Pattern);
    EXPECT_EQ(DD_OK, surface->IsLost());
    EXPECT_EQ(DD_OK, surface->Restore());
    EXPECT_EQ(Pattern(1, 1), Read(surface).At(1, 1));
    EXPECT_EQ(0u, surface->Release());
}

TEST_F(DirectDrawTest, ClipperRemembersItsWindowAndIsCountedByTheSurface)
{
    LPDIRECTDRAWCLIPPER clipper = nullptr;
    ASSERT_EQ(DD_OK, ddraw->CreateClipper(0, &clipper, nullptr));
    HWND hwnd = reinterpret_cast<HWND>(1);
    ASSERT_EQ(DD_OK, clipper->GetHWnd(&hwnd));
    EXPECT_EQ(nullptr, hwnd);

    DDSURFACEDESC desc = Description(DDSD_CAPS, DDSCAPS_PRIMARYSURFACE);
    LPDIRECTDRAWSURFACE primary = nullptr;
    ASSERT_EQ(DD_OK, ddraw->CreateSurface(&desc, &primary, nullptr));
    LPDIRECTDRAWCLIPPER attached = nullptr;
    EXPECT_EQ(DDERR_NOCLIPPERATTACHED, primary->GetClipper(&attached));
    ASSERT_EQ(DD_OK, primary->SetClipper(clipper));
    ASSERT_EQ(DD_OK, primary->GetClipper(&attached));
    EXPECT_EQ(clipper, attached);
    EXPECT_EQ(2u, attached->Release());  // ours and the surface's remain
    EXPECT_EQ(1u, clipper->Release());   // the surface still holds it
    EXPECT_EQ(0u, primary->Release());   // ... and lets go with the surface
}

TEST_F(DirectDrawTest, DetachingTheClipperGivesItsReferenceBack)
{
    LPDIRECTDRAWCLIPPER clipper = nullptr;
    ASSERT_EQ(DD_OK, ddraw->CreateClipper(0, &clipper, nullptr));
    LPDIRECTDRAWSURFACE surface = Offscreen(2, 2);
    ASSERT_EQ(DD_OK, surface->SetClipper(clipper));
    ASSERT_EQ(DD_OK, surface->SetClipper(nullptr));
    EXPECT_EQ(0u, clipper->Release());
    EXPECT_EQ(0u, surface->Release());
}

TEST_F(DirectDrawTest, DisplayModeIsReportedAndRestoringItSucceeds)
{
    DDSURFACEDESC mode = Description(0, 0);
    ASSERT_EQ(DD_OK, ddraw->GetDisplayMode(&mode));
    EXPECT_GT(mode.dwWidth, 0u);
    EXPECT_GT(mode.dwHeight, 0u);
    EXPECT_TRUE(mode.ddpfPixelFormat.dwRGBBitCount == 16 || mode.ddpfPixelFormat.dwRGBBitCount == 24 ||
                mode.ddpfPixelFormat.dwRGBBitCount == 32);
    EXPECT_EQ(DD_OK, ddraw->RestoreDisplayMode());
}

}  // namespace
