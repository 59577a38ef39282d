// DirectDraw's objects and surfaces: who holds whom, and what a surface
// says it is.
#include "DrawTest.h"

namespace {

using dxtest::Description;
using dxtest::DirectDrawTest;

TEST_F(DirectDrawTest, ReferencesAreCountedPerInterface)
{
    EXPECT_EQ(2u, ddraw->AddRef());
    EXPECT_EQ(1u, ddraw->Release());
    // A second interface has its own count and leaves the creator's alone.
    LPDIRECTDRAW2 ddraw2 = nullptr;
    ASSERT_EQ(S_OK, ddraw->QueryInterface(IID_IDirectDraw2, reinterpret_cast<void**>(&ddraw2)));
    EXPECT_EQ(0u, ddraw2->Release());
    LPDIRECTDRAWSURFACE3 surface3 = nullptr;
    LPDIRECTDRAWSURFACE primary = Primary(), surface = Offscreen(2, 2);
    ASSERT_EQ(S_OK, surface->QueryInterface(IID_IDirectDrawSurface3, reinterpret_cast<void**>(&surface3)));
    EXPECT_EQ(0u, surface3->Release());
    EXPECT_EQ(DD_OK, ddraw->SetCooperativeLevel(nullptr, DDSCL_NORMAL));
    // A clipper is counted by the surface it is attached to.
    LPDIRECTDRAWCLIPPER clipper = nullptr;
    ASSERT_EQ(DD_OK, ddraw->CreateClipper(0, &clipper, nullptr));
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
    const DDPIXELFORMAT& m = mode.ddpfPixelFormat;
    EXPECT_TRUE(m.dwRGBBitCount == 16 || m.dwRGBBitCount == 24 || m.dwRGBBitCount == 32) << m.dwRGBBitCount;
    EXPECT_EQ((std::vector<DWORD>{mode.dwWidth, mode.dwHeight, m.dwRGBBitCount, m.dwRBitMask, 7, 3, m.dwRGBBitCount, m.dwGBitMask}),
              (std::vector<DWORD>{primary.dwWidth, primary.dwHeight, primary.ddpfPixelFormat.dwRGBBitCount,
                                  primary.ddpfPixelFormat.dwRBitMask, offscreen.dwWidth, offscreen.dwHeight,
                                  offscreen.ddpfPixelFormat.dwRGBBitCount, offscreen.ddpfPixelFormat.dwGBitMask}));
    EXPECT_GE(offscreen.lPitch, static_cast<LONG>(7 * m.dwRGBBitCount / 8));
    EXPECT_EQ(DD_OK, ddraw->RestoreDisplayMode());
}

}  // namespace
