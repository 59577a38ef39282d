// Surfaces losing their memory, as a display change or another program
// going full screen takes it (test control LoseAllSurfaces), and a change
// of the desktop's depth.
#include "ddraw/DrawTest.h"

#include <PlatformTest.h>

namespace {

using dxtest::Description;
using dxtest::DirectDrawTest;

TEST_F(DirectDrawTest, LostSurfacesRefuseBlitsLocksAndDCsUntilRestored)
{
    LPDIRECTDRAWSURFACE source = Offscreen(2, 2), dest = Offscreen(2, 2), primary = Primary();
    Fill(source, dxtest::Pattern);
    PlatformTest::LoseAllSurfaces();
    EXPECT_EQ(DDERR_SURFACELOST, source->IsLost());
    EXPECT_EQ(DDERR_SURFACELOST, dest->Blt(nullptr, source, nullptr, DDBLT_WAIT, nullptr));
    DDSURFACEDESC desc = Description();
    EXPECT_EQ(DDERR_SURFACELOST, source->Lock(nullptr, &desc, DDLOCK_WAIT, nullptr));
    HDC dc = nullptr;
    EXPECT_EQ(DDERR_SURFACELOST, source->GetDC(&dc));
    ASSERT_EQ(DD_OK, dest->Restore());
    // The destination is back, the source is not: the blit still fails.
    EXPECT_EQ(DDERR_SURFACELOST, dest->Blt(nullptr, source, nullptr, DDBLT_WAIT, nullptr));
    ASSERT_EQ(DD_OK, source->Restore());
    EXPECT_EQ(DD_OK, source->IsLost());
    // Restored memory is fresh memory: the pattern is gone.
    EXPECT_EQ((std::vector<DWORD>{0xA5A5A5A5u, 0xA5A5A5A5u, 0x5A5A5A5Au, 0x5A5A5A5Au}), Read(source));
    EXPECT_EQ(DD_OK, dest->Blt(nullptr, source, nullptr, DDBLT_WAIT, nullptr));
    // The primary likewise.
    RECT onScreen = {0, 0, 2, 2};
    EXPECT_EQ(DDERR_SURFACELOST, primary->Blt(&onScreen, source, nullptr, DDBLT_WAIT, nullptr));
    ASSERT_EQ(DD_OK, primary->Restore());
    EXPECT_EQ(DD_OK, primary->Blt(&onScreen, source, nullptr, DDBLT_WAIT, nullptr));
    // Only surfaces that exist are lost.
    EXPECT_EQ(DD_OK, Offscreen(2, 2)->IsLost());
    // A failing restore leaves the surface lost.
    PlatformTest::LoseAllSurfaces();
    PlatformTest::FailCall("IDirectDrawSurface::Restore", static_cast<DWORD>(DDERR_OUTOFVIDEOMEMORY), 1);
    EXPECT_EQ(DDERR_OUTOFVIDEOMEMORY, source->Restore());
    EXPECT_EQ(DDERR_SURFACELOST, source->IsLost());
}

// A change of the desktop's depth loses every surface, and none of them
// comes back by Restore, not even once the old depth returns; new surfaces
// are made in the new format.
TEST_F(DirectDrawTest, ADepthChangeLosesEverySurfaceForGood)
{
    LPDIRECTDRAWSURFACE surface = Offscreen(2, 2), primary = Primary();
    PlatformTest::SetDesktopBits(32);
    EXPECT_EQ(DD_OK, surface->IsLost()) << "no change: nothing lost";
    PlatformTest::SetDesktopBits(16);
    for (LPDIRECTDRAWSURFACE lost : {surface, primary}) {
        EXPECT_EQ(DDERR_SURFACELOST, lost->IsLost());
        EXPECT_EQ(DDERR_WRONGMODE, lost->Restore());
    }
    DDSURFACEDESC desc = Description();
    EXPECT_EQ(DDERR_SURFACELOST, surface->Lock(nullptr, &desc, DDLOCK_WAIT, nullptr));
    PlatformTest::SetDesktopBits(32);
    EXPECT_EQ(DDERR_WRONGMODE, surface->Restore()) << "back in its own depth";
    PlatformTest::SetDesktopBits(16);
    LPDIRECTDRAWSURFACE fresh = Offscreen(2, 2);
    ASSERT_EQ(DD_OK, fresh->GetSurfaceDesc(&desc));
    EXPECT_EQ(16u, desc.ddpfPixelFormat.dwRGBBitCount);
    EXPECT_EQ(DDERR_SURFACELOST, fresh->Blt(nullptr, surface, nullptr, DDBLT_WAIT, nullptr));
}

// The layer keeps a surface until its last reference goes, whichever
// interface holds it, even past its DirectDraw object. Windows frees the
// surfaces of a DirectDraw object older than DirectDraw 7 with the object,
// so this is the layer's own and no test of the system's.
TEST_F(DirectDrawTest, ASurfaceIsFreedWithItsLastReferenceNotWithItsDirectDraw)
{
    int before = PlatformTest::LiveSurfaceCount();
    LPDIRECTDRAWSURFACE surface = Offscreen(2, 2);
    made.clear();
    LPDIRECTDRAWSURFACE3 surface3 = nullptr;
    ASSERT_EQ(S_OK, surface->QueryInterface(IID_IDirectDrawSurface3, reinterpret_cast<void**>(&surface3)));
    EXPECT_EQ(0u, ddraw->Release());
    ddraw = nullptr;
    EXPECT_EQ(DD_OK, surface->Blt(nullptr, surface, nullptr, DDBLT_WAIT, nullptr));
    EXPECT_EQ(DDERR_COLORKEYNOTSET, surface->Blt(nullptr, surface, nullptr, DDBLT_WAIT | DDBLT_KEYSRC, nullptr));
    EXPECT_EQ(1u, surface->Release());  // the second interface holds the surface
    EXPECT_EQ(before + 1, PlatformTest::LiveSurfaceCount());
    EXPECT_EQ(0u, surface3->Release());
    EXPECT_EQ(before, PlatformTest::LiveSurfaceCount());
}

}  // namespace
