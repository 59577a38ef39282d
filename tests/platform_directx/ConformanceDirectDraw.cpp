// DirectDraw as any program sees it: only the DirectDraw API, no test
// controls, so the same checks can run against the system's DirectDraw.
#include "DirectXTestSupport.h"

namespace {

using dxtest::Description;
using dxtest::DirectDrawTest;
using dxtest::Pattern;
using dxtest::SourcePixel;

TEST_F(DirectDrawTest, ReferencesAreCountedPerInterface)
{
    EXPECT_EQ(2u, ddraw->AddRef());
    EXPECT_EQ(1u, ddraw->Release());
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
    LPDIRECTDRAWCLIPPER clipper = nullptr;
    ASSERT_EQ(DD_OK, ddraw->CreateClipper(0, &clipper, nullptr));
    LPDIRECTDRAWSURFACE primary = Primary(), surface = Offscreen(2, 2);
    ASSERT_EQ(DD_OK, primary->SetClipper(clipper));
    ASSERT_EQ(DD_OK, surface->SetClipper(clipper));
    ASSERT_EQ(DD_OK, surface->SetClipper(nullptr));  // gives its reference back
    EXPECT_EQ(1u, clipper->Release());               // the primary lets go as it goes
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
    EXPECT_GE(offscreen.lPitch, static_cast<LONG>(7 * bits / 8));
    EXPECT_EQ(DD_OK, ddraw->RestoreDisplayMode());
}

struct BlitCase {
    const char* what;
    RECT dest, source;  // left = -1: NULL, the whole surface
    DWORD flags;
};

TEST_F(DirectDrawTest, BlitsCopyStretchAndKeyPixelForPixel)
{
    // The source's key is one of its pixels: keyed blits leave that one out,
    // the others copy it.
    const BlitCase cases[] = {
        {"whole source at the top left", {0, 0, 4, 4}, {-1, 0, 0, 0}, 0},
        {"whole source moved", {3, 2, 7, 6}, {-1, 0, 0, 0}, 0},
        {"part of the source", {5, 6, 7, 7}, {1, 2, 3, 3}, 0},
        {"one pixel to the far corner", {7, 7, 8, 8}, {3, 3, 4, 4}, 0},
        {"stretched twice as large", {-1, 0, 0, 0}, {-1, 0, 0, 0}, 0},
        {"a column stretched wide", {0, 0, 8, 4}, {2, 0, 3, 4}, 0},
        {"keyed", {0, 0, 4, 4}, {-1, 0, 0, 0}, DDBLT_KEYSRC},
        {"keyed and stretched", {-1, 0, 0, 0}, {-1, 0, 0, 0}, DDBLT_KEYSRC},
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
                POINT p = SourcePixel(to.left < 0 ? RECT{0, 0, 8, 8} : to, from.left < 0 ? RECT{0, 0, 4, 4} : from, x, y);
                bool keyed = (c.flags & DDBLT_KEYSRC) && p.x == 1 && p.y == 1;
                EXPECT_EQ(p.x < 0 || keyed ? 0x77u : Pattern(p.x, p.y), got[y * 8 + x]) << c.what << " at " << x << "," << y;
            }
    }
}

TEST_F(DirectDrawTest, BlitRefusesRectanglesOutsideEitherSurface)
{
    LPDIRECTDRAWSURFACE source = Offscreen(4, 4), dest = Offscreen(8, 8);
    const std::tuple<const char*, RECT, RECT> cases[] = {
        {"destination past the right edge", {6, 0, 10, 4}, {0, 0, 4, 4}},
        {"destination above the top", {0, -1, 4, 3}, {0, 0, 4, 4}},
        {"source past the bottom", {0, 0, 4, 4}, {0, 1, 4, 5}},
        {"source left of the edge", {0, 0, 4, 4}, {-2, 0, 2, 4}},
    };
    for (auto [what, to, from] : cases) EXPECT_EQ(DDERR_INVALIDRECT, dest->Blt(&to, source, &from, DDBLT_WAIT, nullptr)) << what;
}

}  // namespace
