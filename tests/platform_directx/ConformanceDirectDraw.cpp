// DirectDraw as any program sees it: only the DirectDraw API, no test
// controls, so the same checks can run against the system's DirectDraw.
#include "DrawTestSupport.h"

namespace {

using drawtest::Description;
using drawtest::DirectDrawTest;
using drawtest::OffscreenDescription;
using drawtest::Pattern;

const GUID kUnknownGuid = {0x12345678, 0x1234, 0x1234, {1, 2, 3, 4, 5, 6, 7, 8}};

TEST(DirectDrawCreate, RefusesAnUnknownDriver)
{
    LPDIRECTDRAW ddraw = nullptr;
    GUID driver = kUnknownGuid;
    EXPECT_EQ(DDERR_INVALIDDIRECTDRAWGUID, DirectDrawCreate(&driver, &ddraw, nullptr));
    EXPECT_EQ(nullptr, ddraw);
}

TEST(DirectDraw, CreateSurfaceNeedsACooperativeLevel)
{
    LPDIRECTDRAW ddraw = nullptr;
    ASSERT_EQ(DD_OK, DirectDrawCreate(nullptr, &ddraw, nullptr));
    DDSURFACEDESC desc = OffscreenDescription(4, 4);
    LPDIRECTDRAWSURFACE surface = nullptr;
    EXPECT_EQ(DDERR_NOCOOPERATIVELEVELSET, ddraw->CreateSurface(&desc, &surface, nullptr));
    EXPECT_EQ(nullptr, surface);
    EXPECT_EQ(DDERR_INVALIDPARAMS, ddraw->SetCooperativeLevel(nullptr, 0));
    EXPECT_EQ(0u, ddraw->Release());
}

TEST_F(DirectDrawTest, ReferencesAreCountedPerInterface)
{
    EXPECT_EQ(2u, ddraw->AddRef());
    EXPECT_EQ(1u, ddraw->Release());
    const IID* iids[] = {&IID_IUnknown, &IID_IDirectDraw, &IID_IDirectDraw2, &IID_IDirectDrawSurface,
                         &IID_IDirectDrawClipper, &kUnknownGuid};
    for (size_t i = 0; i < std::size(iids); ++i) {
        void* object = reinterpret_cast<void*>(1);
        EXPECT_EQ(i < 3 ? S_OK : E_NOINTERFACE, ddraw->QueryInterface(*iids[i], &object)) << i;
        EXPECT_EQ(i < 3, object != nullptr) << i;
        if (i < 3 && object) static_cast<IUnknown*>(object)->Release();
    }
    // A second interface has its own count and leaves the creator's alone.
    LPDIRECTDRAW2 ddraw2 = nullptr;
    ASSERT_EQ(S_OK, ddraw->QueryInterface(IID_IDirectDraw2, reinterpret_cast<void**>(&ddraw2)));
    EXPECT_EQ(0u, ddraw2->Release());
    LPDIRECTDRAWSURFACE3 surface3 = nullptr;
    ASSERT_EQ(S_OK, Offscreen(2, 2)->QueryInterface(IID_IDirectDrawSurface3, reinterpret_cast<void**>(&surface3)));
    EXPECT_EQ(0u, surface3->Release());
    EXPECT_EQ(DD_OK, ddraw->SetCooperativeLevel(nullptr, DDSCL_NORMAL));
}

TEST_F(DirectDrawTest, ClipperIsCountedByItsSurface)
{
    LPDIRECTDRAWCLIPPER clipper = nullptr, attached = nullptr;
    ASSERT_EQ(DD_OK, ddraw->CreateClipper(0, &clipper, nullptr));
    HWND hwnd = reinterpret_cast<HWND>(1);
    ASSERT_EQ(DD_OK, clipper->GetHWnd(&hwnd));
    EXPECT_EQ(nullptr, hwnd);
    LPDIRECTDRAWSURFACE primary = Primary(), surface = Offscreen(2, 2);
    EXPECT_EQ(DDERR_NOCLIPPERATTACHED, primary->GetClipper(&attached));
    ASSERT_EQ(DD_OK, primary->SetClipper(clipper));
    ASSERT_EQ(DD_OK, surface->SetClipper(clipper));
    ASSERT_EQ(DD_OK, surface->SetClipper(nullptr));  // gives its reference back
    ASSERT_EQ(DD_OK, primary->GetClipper(&attached));
    EXPECT_EQ(clipper, attached);
    EXPECT_EQ(2u, attached->Release());  // ours and the primary's remain
    EXPECT_EQ(1u, clipper->Release());   // the primary lets go as it goes
}

TEST_F(DirectDrawTest, CreateSurfaceRefusesIncompleteDescriptions)
{
    DDSURFACEDESC wrongSize = OffscreenDescription(4, 4);
    wrongSize.dwSize = sizeof(DDSURFACEDESC) - 4;
    const std::pair<const char*, DDSURFACEDESC> cases[] = {
        {"wrong dwSize", wrongSize},
        {"no DDSD_CAPS", Description(DDSD_WIDTH | DDSD_HEIGHT, DDSCAPS_OFFSCREENPLAIN, 4, 4)},
        {"no width", Description(DDSD_CAPS | DDSD_HEIGHT, DDSCAPS_OFFSCREENPLAIN, 4, 4)},
        {"no height", Description(DDSD_CAPS | DDSD_WIDTH, DDSCAPS_OFFSCREENPLAIN, 4, 4)},
        {"zero width", OffscreenDescription(0, 4)},
        {"primary with a size", Description(DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT, DDSCAPS_PRIMARYSURFACE, 4, 4)},
    };
    for (auto [what, desc] : cases) {
        LPDIRECTDRAWSURFACE surface = reinterpret_cast<LPDIRECTDRAWSURFACE>(1);
        EXPECT_EQ(DDERR_INVALIDPARAMS, ddraw->CreateSurface(&desc, &surface, nullptr)) << what;
        EXPECT_EQ(nullptr, surface) << what;
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

TEST_F(DirectDrawTest, SurfacesDescribeThemselvesInTheDisplaysFormat)
{
    DDSURFACEDESC mode = Description(), primary = Description(), offscreen = Description();
    ASSERT_EQ(DD_OK, ddraw->GetDisplayMode(&mode));
    ASSERT_EQ(DD_OK, Primary()->GetSurfaceDesc(&primary));
    ASSERT_EQ(DD_OK, Offscreen(7, 3)->GetSurfaceDesc(&offscreen));
    const DWORD bits = mode.ddpfPixelFormat.dwRGBBitCount;
    EXPECT_TRUE(bits == 16 || bits == 24 || bits == 32) << bits;
    EXPECT_EQ((std::vector<DWORD>{mode.dwWidth, mode.dwHeight, bits, mode.ddpfPixelFormat.dwRBitMask, 7, 3, bits,
                                  mode.ddpfPixelFormat.dwGBitMask}),
              (std::vector<DWORD>{primary.dwWidth, primary.dwHeight, primary.ddpfPixelFormat.dwRGBBitCount,
                                  primary.ddpfPixelFormat.dwRBitMask, offscreen.dwWidth, offscreen.dwHeight,
                                  offscreen.ddpfPixelFormat.dwRGBBitCount, offscreen.ddpfPixelFormat.dwGBitMask}));
    EXPECT_TRUE(primary.ddsCaps.dwCaps & DDSCAPS_PRIMARYSURFACE);
    EXPECT_TRUE(offscreen.ddsCaps.dwCaps & DDSCAPS_OFFSCREENPLAIN);
    EXPECT_GE(offscreen.lPitch, static_cast<LONG>(7 * bits / 8));
    offscreen.dwSize = 100;
    EXPECT_EQ(DDERR_INVALIDPARAMS, made.back()->GetSurfaceDesc(&offscreen));
    EXPECT_EQ(DD_OK, ddraw->RestoreDisplayMode());
}

TEST_F(DirectDrawTest, LockHoldsTheSurfaceUntilUnlocked)
{
    LPDIRECTDRAWSURFACE surface = Offscreen(8, 8), source = Offscreen(2, 2);
    DDSURFACEDESC whole = Description(), part = Description(), again = Description();
    ASSERT_EQ(DD_OK, surface->Lock(nullptr, &whole, DDLOCK_WAIT, nullptr));
    EXPECT_EQ(DDERR_SURFACEBUSY, surface->Lock(nullptr, &again, DDLOCK_WAIT, nullptr));
    EXPECT_EQ(DDERR_SURFACEBUSY, surface->Blt(nullptr, source, nullptr, DDBLT_WAIT, nullptr));
    EXPECT_EQ(DD_OK, surface->Unlock(nullptr));
    EXPECT_EQ(DDERR_NOTLOCKED, surface->Unlock(nullptr));
    // A rectangle's lock points at its corner; one outside the surface is refused.
    RECT inside = {3, 2, 6, 5}, outside = {6, 6, 9, 8};
    ASSERT_EQ(DD_OK, surface->Lock(&inside, &part, DDLOCK_WAIT, nullptr));
    const LONG bytes = static_cast<LONG>(part.ddpfPixelFormat.dwRGBBitCount / 8);
    EXPECT_EQ(static_cast<BYTE*>(whole.lpSurface) + 2 * part.lPitch + 3 * bytes, part.lpSurface);
    EXPECT_EQ(DD_OK, surface->Unlock(part.lpSurface));
    EXPECT_EQ(DDERR_INVALIDPARAMS, surface->Lock(&outside, &part, DDLOCK_WAIT, nullptr));
}

struct BlitCase {
    const char* what;
    RECT dest, source;  // left = -1: NULL, the whole surface
    DWORD flags;
    // The source pixel each destination pixel shows; x = -1: unchanged.
    POINT (*from)(int x, int y);
};

TEST_F(DirectDrawTest, BlitsCopyStretchAndKeyPixelForPixel)
{
    // The source's key is one of its pixels: keyed blits leave that one out,
    // the others copy it.
    const BlitCase cases[] = {
        {"whole source at the top left", {0, 0, 4, 4}, {-1, 0, 0, 0}, 0,
         [](int x, int y) { return x < 4 && y < 4 ? POINT{x, y} : POINT{-1, 0}; }},
        {"whole source moved", {3, 2, 7, 6}, {-1, 0, 0, 0}, 0,
         [](int x, int y) { return x >= 3 && x < 7 && y >= 2 && y < 6 ? POINT{x - 3, y - 2} : POINT{-1, 0}; }},
        {"part of the source", {5, 6, 7, 7}, {1, 2, 3, 3}, 0,
         [](int x, int y) { return x >= 5 && x < 7 && y == 6 ? POINT{x - 4, 2} : POINT{-1, 0}; }},
        {"one pixel to the far corner", {7, 7, 8, 8}, {3, 3, 4, 4}, 0,
         [](int x, int y) { return x == 7 && y == 7 ? POINT{3, 3} : POINT{-1, 0}; }},
        {"stretched twice as large", {-1, 0, 0, 0}, {-1, 0, 0, 0}, 0, [](int x, int y) { return POINT{x / 2, y / 2}; }},
        {"a column stretched wide", {0, 0, 8, 4}, {2, 0, 3, 4}, 0,
         [](int, int y) { return y < 4 ? POINT{2, y} : POINT{-1, 0}; }},
        {"keyed", {0, 0, 4, 4}, {-1, 0, 0, 0}, DDBLT_KEYSRC,
         [](int x, int y) { return x < 4 && y < 4 ? POINT{x, y} : POINT{-1, 0}; }},
        {"keyed and stretched", {-1, 0, 0, 0}, {-1, 0, 0, 0}, DDBLT_KEYSRC, [](int x, int y) { return POINT{x / 2, y / 2}; }},
    };
    LPDIRECTDRAWSURFACE source = Offscreen(4, 4), dest = Offscreen(8, 8);
    Fill(source, Pattern);
    DDCOLORKEY key = {Pattern(1, 1), Pattern(1, 1)};
    ASSERT_EQ(DD_OK, source->SetColorKey(DDCKEY_SRCBLT, &key));
    for (const BlitCase& c : cases) {
        Fill(dest, [](int, int) { return DWORD{0x77}; });
        RECT to = c.dest, from = c.source;
        EXPECT_EQ(DD_OK, dest->Blt(to.left < 0 ? nullptr : &to, source, from.left < 0 ? nullptr : &from,
                                   DDBLT_WAIT | c.flags, nullptr))
            << c.what;
        std::vector<DWORD> got = Read(dest);
        for (int y = 0; y < 8; ++y)
            for (int x = 0; x < 8; ++x) {
                POINT p = c.from(x, y);
                bool keyed = (c.flags & DDBLT_KEYSRC) && p.x == 1 && p.y == 1;
                EXPECT_EQ(p.x < 0 || keyed ? 0x77u : Pattern(p.x, p.y), got[y * 8 + x]) << c.what << " at " << x << "," << y;
            }
    }
}

TEST_F(DirectDrawTest, OverlappingBlitWithinOneSurfaceReadsBeforeWriting)
{
    LPDIRECTDRAWSURFACE surface = Offscreen(6, 1);
    Fill(surface, Pattern);
    RECT from = {0, 0, 5, 1}, to = {1, 0, 6, 1};
    ASSERT_EQ(DD_OK, surface->Blt(&to, surface, &from, DDBLT_WAIT, nullptr));
    std::vector<DWORD> got = Read(surface);
    for (int x = 0; x < 6; ++x) EXPECT_EQ(Pattern(x ? x - 1 : 0, 0), got[x]) << x;
}

TEST_F(DirectDrawTest, BlitRefusesRectanglesOutsideEitherSurface)
{
    LPDIRECTDRAWSURFACE source = Offscreen(4, 4), dest = Offscreen(8, 8);
    const std::tuple<const char*, RECT, RECT> cases[] = {
        {"destination past the right edge", {6, 0, 10, 4}, {0, 0, 4, 4}},
        {"destination above the top", {0, -1, 4, 3}, {0, 0, 4, 4}},
        {"source past the bottom", {0, 0, 4, 4}, {0, 1, 4, 5}},
        {"source left of the edge", {0, 0, 4, 4}, {-2, 0, 2, 4}},
        {"inverted source", {0, 0, 4, 4}, {3, 0, 1, 4}},
    };
    for (auto [what, to, from] : cases) EXPECT_EQ(DDERR_INVALIDRECT, dest->Blt(&to, source, &from, DDBLT_WAIT, nullptr)) << what;
}

TEST_F(DirectDrawTest, ColorKeyIsKeptUntilRemoved)
{
    LPDIRECTDRAWSURFACE surface = Offscreen(2, 2);
    DDCOLORKEY got = {1, 1}, key = {0x1F, 0x1F};
    EXPECT_EQ(DDERR_NOCOLORKEY, surface->GetColorKey(DDCKEY_SRCBLT, &got));
    ASSERT_EQ(DD_OK, surface->SetColorKey(DDCKEY_SRCBLT, &key));
    ASSERT_EQ(DD_OK, surface->GetColorKey(DDCKEY_SRCBLT, &got));
    EXPECT_EQ((std::vector<DWORD>{0x1F, 0x1F}), (std::vector<DWORD>{got.dwColorSpaceLowValue, got.dwColorSpaceHighValue}));
    ASSERT_EQ(DD_OK, surface->SetColorKey(DDCKEY_SRCBLT, nullptr));
    EXPECT_EQ(DDERR_NOCOLORKEY, surface->GetColorKey(DDCKEY_SRCBLT, &got));
}

}  // namespace
