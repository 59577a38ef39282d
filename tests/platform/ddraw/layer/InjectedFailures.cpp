// Every DirectDraw call the game makes fails on demand and then works; a
// failure can wait for calls that go through first.
#include "InjectedFailures.h"
#include "ddraw/DrawTest.h"

namespace {

using dxtest::Description;
using dxtest::DirectDrawTest;

TEST_F(DirectDrawTest, EachCallFailsOnDemandAndThenWorksAgain)
{
    LPDIRECTDRAWSURFACE source = Offscreen(2, 2), dest = Offscreen(2, 2), primary = Primary();
    LPDIRECTDRAWCLIPPER clipper = nullptr;
    ASSERT_EQ(DD_OK, ddraw->CreateClipper(0, &clipper, nullptr));
    DDSURFACEDESC offscreen = Description(DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT, DDSCAPS_OFFSCREENPLAIN, 2, 2), desc = Description();
    DDCOLORKEY key = {0, 0};
    HWND hwnd = nullptr;
    LPDIRECTDRAW newDraw = nullptr;
    LPDIRECTDRAWSURFACE newSurface = nullptr;
    LPDIRECTDRAWCLIPPER newClipper = nullptr;
    IUnknown* other = nullptr;
    ExpectEachToFailOnceOnDemand({
        {"DirectDrawCreate", [&] { return Dropped(DirectDrawCreate(nullptr, &newDraw, nullptr), newDraw); }},
        {"IDirectDraw::CreateSurface", [&] { return Dropped(ddraw->CreateSurface(&offscreen, &newSurface, nullptr), newSurface); }},
        {"IDirectDraw::CreateClipper", [&] { return Dropped(ddraw->CreateClipper(0, &newClipper, nullptr), newClipper); }},
        {"IDirectDraw::SetCooperativeLevel", [&] { return ddraw->SetCooperativeLevel(nullptr, DDSCL_NORMAL); }},
        {"IDirectDraw::QueryInterface", [&] { return Dropped(ddraw->QueryInterface(IID_IDirectDraw2, (void**)&other), other); }},
        {"IDirectDraw::GetDisplayMode", [&] { return ddraw->GetDisplayMode(&desc); }},
        {"IDirectDraw::RestoreDisplayMode", [&] { return ddraw->RestoreDisplayMode(); }},
        {"IDirectDrawSurface::Blt", [&] { return dest->Blt(nullptr, source, nullptr, DDBLT_WAIT, nullptr); }},
        {"IDirectDrawSurface::Lock",
         [&] { HRESULT hr = source->Lock(nullptr, &desc, DDLOCK_WAIT, nullptr); return hr ? hr : source->Unlock(nullptr); }},
        {"IDirectDrawSurface::GetSurfaceDesc", [&] { return source->GetSurfaceDesc(&desc); }},
        {"IDirectDrawSurface::SetColorKey", [&] { return source->SetColorKey(DDCKEY_SRCBLT, &key); }},
        {"IDirectDrawSurface::SetClipper", [&] { return primary->SetClipper(clipper); }},
        {"IDirectDrawSurface::Restore", [&] { return source->Restore(); }},
        {"IDirectDrawSurface::IsLost", [&] { return source->IsLost(); }},
        {"IDirectDrawSurface::QueryInterface",
         [&] { return Dropped(source->QueryInterface(IID_IDirectDrawSurface3, (void**)&other), other); }},
        {"IDirectDrawClipper::SetHWnd", [&] { return clipper->SetHWnd(0, nullptr); }},
        {"IDirectDrawClipper::GetHWnd", [&] { return clipper->GetHWnd(&hwnd); }},
    });
    PlatformTest::FailCall("IDirectDrawSurface::Blt", static_cast<DWORD>(DDERR_SURFACELOST), 1, 2);
    for (HRESULT expected : {DD_OK, DD_OK, DDERR_SURFACELOST, DD_OK})
        EXPECT_EQ(expected, dest->Blt(nullptr, source, nullptr, DDBLT_WAIT, nullptr));
    EXPECT_EQ(1u, clipper->Release());  // the primary holds it until it goes
}

}  // namespace
