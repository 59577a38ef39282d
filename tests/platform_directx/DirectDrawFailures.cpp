// DirectDraw failures the test controls bring about: injected errors of
// every call and surfaces losing their memory.
#include "DrawTestSupport.h"

#include <PlatformTest.h>

#include <functional>

namespace {

using drawtest::Description;
using drawtest::DirectDrawTest;

const HRESULT kInjected = DDERR_GENERIC;

// Objects every injected call can work on.
class InjectionTest : public DirectDrawTest {
protected:
    void SetUp() override
    {
        DirectDrawTest::SetUp();
        source = Offscreen(2, 2);
        dest = Offscreen(2, 2);
        DDSURFACEDESC desc = Description(DDSD_CAPS, DDSCAPS_PRIMARYSURFACE);
        ASSERT_EQ(DD_OK, ddraw->CreateSurface(&desc, &primary, nullptr));
        ASSERT_EQ(DD_OK, ddraw->CreateClipper(0, &clipper, nullptr));
    }

    void TearDown() override
    {
        EXPECT_EQ(0u, primary->Release());
        EXPECT_EQ(0u, clipper->Release());
        EXPECT_EQ(0u, dest->Release());
        EXPECT_EQ(0u, source->Release());
        DirectDrawTest::TearDown();
    }

public:
    LPDIRECTDRAWSURFACE source = nullptr;
    LPDIRECTDRAWSURFACE dest = nullptr;
    LPDIRECTDRAWSURFACE primary = nullptr;
    LPDIRECTDRAWCLIPPER clipper = nullptr;
};

struct Injection {
    const char* call;
    std::function<HRESULT(InjectionTest&)> make;
};

TEST_F(InjectionTest, EveryCallFailsOnDemandAndThenWorksAgain)
{
    DDSURFACEDESC offscreen = drawtest::OffscreenDescription(2, 2);
    const Injection cases[] = {
        {"DirectDrawCreate",
         [](InjectionTest&) {
             LPDIRECTDRAW made = reinterpret_cast<LPDIRECTDRAW>(1);
             HRESULT hr = DirectDrawCreate(nullptr, &made, nullptr);
             EXPECT_EQ(hr == DD_OK, made != nullptr);
             if (made) made->Release();
             return hr;
         }},
        {"IDirectDraw::CreateSurface",
         [&](InjectionTest& t) {
             LPDIRECTDRAWSURFACE made = nullptr;
             HRESULT hr = t.ddraw->CreateSurface(&offscreen, &made, nullptr);
             if (made) made->Release();
             return hr;
         }},
        {"IDirectDraw::CreateClipper",
         [](InjectionTest& t) {
             LPDIRECTDRAWCLIPPER made = nullptr;
             HRESULT hr = t.ddraw->CreateClipper(0, &made, nullptr);
             if (made) made->Release();
             return hr;
         }},
        {"IDirectDraw::SetCooperativeLevel",
         [](InjectionTest& t) { return t.ddraw->SetCooperativeLevel(nullptr, DDSCL_NORMAL); }},
        {"IDirectDraw::QueryInterface",
         [](InjectionTest& t) {
             IUnknown* made = nullptr;
             HRESULT hr = t.ddraw->QueryInterface(IID_IDirectDraw2, reinterpret_cast<void**>(&made));
             if (made) made->Release();
             return hr;
         }},
        {"IDirectDraw::GetDisplayMode",
         [](InjectionTest& t) {
             DDSURFACEDESC mode = Description(0, 0);
             return t.ddraw->GetDisplayMode(&mode);
         }},
        {"IDirectDraw::RestoreDisplayMode", [](InjectionTest& t) { return t.ddraw->RestoreDisplayMode(); }},
        {"IDirectDrawSurface::Blt",
         [](InjectionTest& t) { return t.dest->Blt(nullptr, t.source, nullptr, DDBLT_WAIT, nullptr); }},
        {"IDirectDrawSurface::Lock",
         [](InjectionTest& t) {
             DDSURFACEDESC desc = Description(0, 0);
             HRESULT hr = t.source->Lock(nullptr, &desc, DDLOCK_WAIT, nullptr);
             if (hr == DD_OK) t.source->Unlock(nullptr);
             return hr;
         }},
        {"IDirectDrawSurface::GetSurfaceDesc",
         [](InjectionTest& t) {
             DDSURFACEDESC desc = Description(0, 0);
             return t.source->GetSurfaceDesc(&desc);
         }},
        {"IDirectDrawSurface::SetColorKey",
         [](InjectionTest& t) {
             DDCOLORKEY key = {0, 0};
             return t.source->SetColorKey(DDCKEY_SRCBLT, &key);
         }},
        {"IDirectDrawSurface::SetClipper", [](InjectionTest& t) { return t.primary->SetClipper(t.clipper); }},
        {"IDirectDrawSurface::Restore", [](InjectionTest& t) { return t.source->Restore(); }},
        {"IDirectDrawSurface::IsLost", [](InjectionTest& t) { return t.source->IsLost(); }},
        {"IDirectDrawSurface::QueryInterface",
         [](InjectionTest& t) {
             IUnknown* made = nullptr;
             HRESULT hr = t.source->QueryInterface(IID_IDirectDrawSurface3, reinterpret_cast<void**>(&made));
             if (made) made->Release();
             return hr;
         }},
        {"IDirectDrawClipper::SetHWnd", [](InjectionTest& t) { return t.clipper->SetHWnd(0, nullptr); }},
        {"IDirectDrawClipper::GetHWnd",
         [](InjectionTest& t) {
             HWND hwnd;
             return t.clipper->GetHWnd(&hwnd);
         }},
    };
    for (const Injection& c : cases) {
        int before = PlatformTest::CallCount(c.call);
        PlatformTest::FailCall(c.call, static_cast<DWORD>(kInjected), 1);
        EXPECT_EQ(kInjected, c.make(*this)) << c.call;
        EXPECT_EQ(DD_OK, c.make(*this)) << c.call << " after the injected failure";
        EXPECT_EQ(before + 2, PlatformTest::CallCount(c.call)) << c.call;
    }
}

TEST_F(InjectionTest, SkippedCallsSucceedBeforeTheFailure)
{
    PlatformTest::FailCall("IDirectDrawSurface::Blt", static_cast<DWORD>(DDERR_SURFACELOST), 1, 2);
    EXPECT_EQ(DD_OK, dest->Blt(nullptr, source, nullptr, DDBLT_WAIT, nullptr));
    EXPECT_EQ(DD_OK, dest->Blt(nullptr, source, nullptr, DDBLT_WAIT, nullptr));
    EXPECT_EQ(DDERR_SURFACELOST, dest->Blt(nullptr, source, nullptr, DDBLT_WAIT, nullptr));
    EXPECT_EQ(DD_OK, dest->Blt(nullptr, source, nullptr, DDBLT_WAIT, nullptr));
}

class LossTest : public DirectDrawTest {};

TEST_F(LossTest, LostSurfacesRefuseBlitsLocksAndDCsUntilRestored)
{
    LPDIRECTDRAWSURFACE source = Offscreen(2, 2);
    LPDIRECTDRAWSURFACE dest = Offscreen(2, 2);
    PlatformTest::LoseAllSurfaces();
    EXPECT_EQ(DDERR_SURFACELOST, source->IsLost());
    EXPECT_EQ(DDERR_SURFACELOST, dest->Blt(nullptr, source, nullptr, DDBLT_WAIT, nullptr));
    DDSURFACEDESC desc = Description(0, 0);
    EXPECT_EQ(DDERR_SURFACELOST, source->Lock(nullptr, &desc, DDLOCK_WAIT, nullptr));
    HDC dc = nullptr;
    EXPECT_EQ(DDERR_SURFACELOST, source->GetDC(&dc));

    ASSERT_EQ(DD_OK, dest->Restore());
    // The destination is back, the source is not: the blit still fails.
    EXPECT_EQ(DDERR_SURFACELOST, dest->Blt(nullptr, source, nullptr, DDBLT_WAIT, nullptr));
    ASSERT_EQ(DD_OK, source->Restore());
    EXPECT_EQ(DD_OK, source->IsLost());
    EXPECT_EQ(DD_OK, dest->Blt(nullptr, source, nullptr, DDBLT_WAIT, nullptr));
    EXPECT_EQ(0u, source->Release());
    EXPECT_EQ(0u, dest->Release());
}

TEST_F(LossTest, OnlySurfacesThatExistAreLost)
{
    PlatformTest::LoseAllSurfaces();
    LPDIRECTDRAWSURFACE later = Offscreen(2, 2);
    EXPECT_EQ(DD_OK, later->IsLost());
    EXPECT_EQ(0u, later->Release());
}

TEST_F(LossTest, FailingRestoreLeavesTheSurfaceLost)
{
    LPDIRECTDRAWSURFACE surface = Offscreen(2, 2);
    PlatformTest::LoseAllSurfaces();
    PlatformTest::FailCall("IDirectDrawSurface::Restore", static_cast<DWORD>(DDERR_OUTOFVIDEOMEMORY), 1);
    EXPECT_EQ(DDERR_OUTOFVIDEOMEMORY, surface->Restore());
    EXPECT_EQ(DDERR_SURFACELOST, surface->IsLost());
    EXPECT_EQ(DD_OK, surface->Restore());
    EXPECT_EQ(DD_OK, surface->IsLost());
    EXPECT_EQ(0u, surface->Release());
}

TEST_F(LossTest, SurfaceOfAnotherDepthCannotBeRestored)
{
    LPDIRECTDRAWSURFACE surface = Offscreen(2, 2);
    PlatformTest::LoseAllSurfaces();
    PlatformTest::SetDesktopBits(16);
    EXPECT_EQ(DDERR_WRONGMODE, surface->Restore());
    PlatformTest::SetDesktopBits(32);
    EXPECT_EQ(DD_OK, surface->Restore());
    EXPECT_EQ(0u, surface->Release());
}

TEST_F(LossTest, PrimarySurfaceIsLostAndRestoredLikeTheOthers)
{
    DDSURFACEDESC desc = Description(DDSD_CAPS, DDSCAPS_PRIMARYSURFACE);
    LPDIRECTDRAWSURFACE primary = nullptr;
    ASSERT_EQ(DD_OK, ddraw->CreateSurface(&desc, &primary, nullptr));
    LPDIRECTDRAWSURFACE source = Offscreen(2, 2);
    PlatformTest::LoseAllSurfaces();
    ASSERT_EQ(DD_OK, source->Restore());
    EXPECT_EQ(DDERR_SURFACELOST, primary->Blt(nullptr, source, nullptr, DDBLT_WAIT, nullptr));
    ASSERT_EQ(DD_OK, primary->Restore());
    RECT onScreen = {0, 0, 2, 2};
    EXPECT_EQ(DD_OK, primary->Blt(&onScreen, source, nullptr, DDBLT_WAIT, nullptr));
    EXPECT_EQ(0u, source->Release());
    EXPECT_EQ(0u, primary->Release());
}

TEST_F(DirectDrawTest, EverySurfaceIsFreedWithItsLastReference)
{
    int before = PlatformTest::LiveSurfaceCount();
    LPDIRECTDRAWSURFACE surface = Offscreen(2, 2);
    LPDIRECTDRAWSURFACE3 surface3 = nullptr;
    ASSERT_EQ(S_OK, surface->QueryInterface(IID_IDirectDrawSurface3, reinterpret_cast<void**>(&surface3)));
    EXPECT_EQ(before + 1, PlatformTest::LiveSurfaceCount());
    EXPECT_EQ(1u, surface->Release());  // the second interface holds the surface
    EXPECT_EQ(before + 1, PlatformTest::LiveSurfaceCount());
    EXPECT_EQ(0u, surface3->Release());
    EXPECT_EQ(before, PlatformTest::LiveSurfaceCount());
}

TEST_F(DirectDrawTest, KeyedBlitWithoutAKeyIsRefused)
{
    LPDIRECTDRAWSURFACE source = Offscreen(2, 2);
    LPDIRECTDRAWSURFACE dest = Offscreen(2, 2);
    EXPECT_EQ(DDERR_COLORKEYNOTSET, dest->Blt(nullptr, source, nullptr, DDBLT_WAIT | DDBLT_KEYSRC, nullptr));
    EXPECT_EQ(0u, source->Release());
    EXPECT_EQ(0u, dest->Release());
}

TEST_F(DirectDrawTest, PrimaryBlitWithoutAClipperDrawsNothingButChecksTheScreen)
{
    DDSURFACEDESC desc = Description(DDSD_CAPS, DDSCAPS_PRIMARYSURFACE);
    LPDIRECTDRAWSURFACE primary = nullptr;
    ASSERT_EQ(DD_OK, ddraw->CreateSurface(&desc, &primary, nullptr));
    LPDIRECTDRAWSURFACE source = Offscreen(2, 2);
    RECT inside = {10, 10, 12, 12}, outside = {-1, 0, 1, 2};
    EXPECT_EQ(DD_OK, primary->Blt(&inside, source, nullptr, DDBLT_WAIT, nullptr));
    EXPECT_EQ(DDERR_INVALIDRECT, primary->Blt(&outside, source, nullptr, DDBLT_WAIT, nullptr));
    EXPECT_EQ(0u, source->Release());
    EXPECT_EQ(0u, primary->Release());
}

TEST(DirectDrawLifetime, SurfaceOutlivingItsDirectDrawObjectStaysUsable)
{
    LPDIRECTDRAW ddraw = nullptr;
    ASSERT_EQ(DD_OK, DirectDrawCreate(nullptr, &ddraw, nullptr));
    ASSERT_EQ(DD_OK, ddraw->SetCooperativeLevel(nullptr, DDSCL_NORMAL));
    DDSURFACEDESC primaryDesc = Description(DDSD_CAPS, DDSCAPS_PRIMARYSURFACE);
    DDSURFACEDESC offscreenDesc = drawtest::OffscreenDescription(2, 2);
    LPDIRECTDRAWSURFACE primary = nullptr, surface = nullptr;
    ASSERT_EQ(DD_OK, ddraw->CreateSurface(&primaryDesc, &primary, nullptr));
    ASSERT_EQ(DD_OK, ddraw->CreateSurface(&offscreenDesc, &surface, nullptr));
    EXPECT_EQ(0u, ddraw->Release());
    EXPECT_EQ(DD_OK, surface->Blt(nullptr, surface, nullptr, DDBLT_WAIT, nullptr));
    EXPECT_EQ(0u, primary->Release());
    EXPECT_EQ(0u, surface->Release());
}

}  // namespace
