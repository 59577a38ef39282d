// The display: its DirectDraw objects, the surface registry, presenting into
// the window and the order in which everything is released.
#include "GraphicsTestSupport.h"

namespace {

using graphics_test::GraphicsTest;
using graphics_test::FillRaw;
using graphics_test::RawPixel;
using graphics_test::SurfaceSize;

class DisplayTest : public GraphicsTest {};

TEST_F(DisplayTest, CreateNeedsAWindow)
{
    Display display;
    EXPECT_EQ(0, display.Create(NULL));
    EXPECT_EQ(E_FAIL, GetDxError());
    EXPECT_EQ(nullptr, display.ddraw);
}

TEST_F(DisplayTest, CreateReadsTheClientSize)
{
    Display display;
    ASSERT_EQ(1, display.Create(&window));
    EXPECT_NE(nullptr, display.ddraw);
    EXPECT_EQ(&window, display.window);
    EXPECT_EQ(300, display.width);
    EXPECT_EQ(400, display.height);
    EXPECT_EQ(&display.primary, display.target);
}

TEST_F(DisplayTest, CreateFailuresAreRecorded)
{
    const struct {
        const char* call;
        HRESULT code;
        bool holdsDirectDraw;
    } cases[] = {
        {"DirectDrawCreate", DDERR_NODIRECTDRAWHW, false},
        {"IDirectDraw::SetCooperativeLevel", DDERR_HWNDALREADYSET, true},
    };
    for (const auto& c : cases) {
        PlatformTest::Reset();
        Display display;
        PlatformTest::FailCall(c.call, static_cast<DWORD>(c.code), 1);
        EXPECT_EQ(0, display.Create(&window)) << c.call;
        EXPECT_EQ(c.code, GetDxError()) << c.call;
        EXPECT_EQ(c.holdsDirectDraw, display.ddraw != nullptr) << c.call;
        EXPECT_EQ(0, display.CreateSurfaces()) << c.call << ": no usable device";
        EXPECT_EQ(E_FAIL, GetDxError());
    }
}

TEST_F(DisplayTest, CreateSurfacesMakesPrimaryBackBufferAndClipper)
{
    Display display;
    EXPECT_EQ(0, display.CreateSurfaces()) << "no DirectDraw object yet";
    EXPECT_EQ(E_FAIL, GetDxError());

    ASSERT_EQ(1, display.Create(&window));
    ASSERT_EQ(1, display.CreateSurfaces());
    EXPECT_EQ(&display.back, display.target);
    EXPECT_EQ(&display, display.primary.display);
    EXPECT_EQ(&display, display.back.display);
    EXPECT_NE(nullptr, display.clipper);
    SIZE back = SurfaceSize(display.back);
    EXPECT_EQ(300, back.cx);
    EXPECT_EQ(400, back.cy);
    EXPECT_EQ(0, display.surfaces.Count()) << "its own surfaces are not registered";

    HWND clipped = NULL;
    ASSERT_EQ(DD_OK, display.clipper->GetHWnd(&clipped));
    EXPECT_EQ(window.hwnd, clipped);
}

TEST_F(DisplayTest, CreateSurfacesTwiceChangesNothing)
{
    Display display;
    ASSERT_EQ(1, display.Create(&window));
    ASSERT_EQ(1, display.CreateSurfaces());
    LPDIRECTDRAWSURFACE primary = display.primary.surface, back = display.back.surface;
    int live = PlatformTest::LiveSurfaceCount();
    EXPECT_EQ(0, display.CreateSurfaces());
    EXPECT_EQ(E_FAIL, GetDxError());
    EXPECT_EQ(primary, display.primary.surface);
    EXPECT_EQ(back, display.back.surface);
    EXPECT_EQ(live, PlatformTest::LiveSurfaceCount());
}

TEST_F(DisplayTest, FailedBackBufferGivesThePrimaryBack)
{
    Display display;
    ASSERT_EQ(1, display.Create(&window));
    PlatformTest::FailCall("IDirectDraw::CreateSurface", static_cast<DWORD>(DDERR_OUTOFVIDEOMEMORY), 1, 1);
    EXPECT_EQ(0, display.CreateSurfaces());
    EXPECT_EQ(DDERR_OUTOFVIDEOMEMORY, GetDxError());
    EXPECT_EQ(nullptr, display.primary.surface);
    EXPECT_EQ(0, PlatformTest::LiveSurfaceCount());
    EXPECT_EQ(1, display.CreateSurfaces()) << "nothing was left in the way";
}

TEST_F(DisplayTest, FailedClipperStepsLeaveTheSurfacesInPlace)
{
    const char* const calls[] = {"IDirectDraw::CreateClipper", "IDirectDrawClipper::SetHWnd",
                                 "IDirectDrawSurface::SetClipper"};
    for (const char* call : calls) {
        PlatformTest::Reset();
        Display display;
        ASSERT_EQ(1, display.Create(&window));
        PlatformTest::FailCall(call, static_cast<DWORD>(DDERR_OUTOFMEMORY), 1);
        EXPECT_EQ(0, display.CreateSurfaces()) << call;
        EXPECT_EQ(DDERR_OUTOFMEMORY, GetDxError()) << call;
        EXPECT_NE(nullptr, display.primary.surface) << call;
        EXPECT_NE(nullptr, display.back.surface) << call;
        EXPECT_EQ(0, display.CreateSurfaces()) << call << ": until released";
        display.Release();
        EXPECT_EQ(0, PlatformTest::LiveSurfaceCount()) << call;
    }
}

TEST_F(DisplayTest, PresentBeforeSurfacesDrawsNothing)
{
    Display display;
    EXPECT_EQ(1, display.Present());
    ASSERT_EQ(1, display.Create(&window));
    EXPECT_EQ(1, display.Present());
    EXPECT_EQ(0, PlatformTest::CallCount("IDirectDrawSurface::Blt"));
}

TEST_F(DisplayTest, PresentFillsTheClientArea)
{
    Display display;
    ASSERT_EQ(1, display.Create(&window));
    ASSERT_EQ(1, display.CreateSurfaces());

    // The second time round the window has moved and the frame is another
    // colour: the new picture must land in the client area where it is now.
    const struct {
        POINT at;
        COLORREF fill;
        uint32_t seen;
    } rounds[] = {{{50, 40}, RGB(255, 128, 0), 0xFF8000u}, {{120, 90}, RGB(0, 255, 0), 0x00FF00u}};
    for (const auto& round : rounds) {
        SetWindowPos(window.hwnd, NULL, round.at.x, round.at.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
        FillRaw(display.back, display.back.ColorMatch(round.fill));
        FillRaw(display.back, display.back.ColorMatch(RGB(0, 0, 255)), 290, 390, 10, 10);
        ASSERT_EQ(1, display.Present());
        std::vector<uint32_t> pixels;
        int width = 0, height = 0;
        ASSERT_TRUE(PlatformTest::ReadClientPixels(window.hwnd, &pixels, &width, &height));
        ASSERT_EQ(300, width);
        ASSERT_EQ(400, height);
        EXPECT_EQ(round.seen, pixels[0]) << round.at.x;
        EXPECT_EQ(round.seen, pixels[200 * 300 + 150]) << round.at.x;
        EXPECT_EQ(round.seen, pixels[389 * 300 + 289]) << round.at.x;
        EXPECT_EQ(0x0000FFu, pixels[390 * 300 + 290]) << round.at.x << ": the back buffer's corner at the client's";
        EXPECT_EQ(0x0000FFu, pixels[399 * 300 + 299]) << round.at.x;
    }
}

TEST_F(DisplayTest, PresentAfterTheWindowIsGoneDrawsNothing)
{
    Display display;
    ASSERT_EQ(1, display.Create(&window));
    ASSERT_EQ(1, display.CreateSurfaces());
    ASSERT_TRUE(DestroyWindow(window.hwnd));  // closed, the display not yet released
    EXPECT_EQ(0, display.Present());
    EXPECT_EQ(E_FAIL, GetDxError());
    EXPECT_EQ(0, PlatformTest::CallCount("IDirectDrawSurface::Blt"));
    window.hwnd = NULL;
}

TEST_F(DisplayTest, ReleaseGoesRegisteredSurfacesFirstAndRunsOnce)
{
    Surface a, b;  // outlive the display, as the registry requires
    Display display;
    ASSERT_EQ(1, display.Create(&window));
    ASSERT_EQ(1, display.CreateSurfaces());
    a.display = &display;
    b.display = &display;
    ASSERT_EQ(1, a.Create(16, 16));
    ASSERT_EQ(1, b.Create(8, 8));
    ASSERT_EQ(1, b.SetColorKey(RGB(0, 0, 0)));
    EXPECT_EQ(2, display.surfaces.Count());
    EXPECT_EQ(4, PlatformTest::LiveSurfaceCount());

    display.Release();
    EXPECT_EQ(0, PlatformTest::LiveSurfaceCount());
    EXPECT_EQ(nullptr, a.surface);
    EXPECT_EQ(nullptr, b.surface);
    EXPECT_EQ(0, b.colorKeyed);
    EXPECT_EQ(&display, a.display) << "the Surface object stays, empty";
    EXPECT_EQ(0, display.surfaces.Count());
    EXPECT_EQ(nullptr, display.ddraw);
    EXPECT_EQ(nullptr, display.clipper);
    EXPECT_EQ(-1, display.width);
    EXPECT_EQ(-1, display.height);

    int restores = PlatformTest::CallCount("IDirectDraw::RestoreDisplayMode");
    display.Release();
    EXPECT_EQ(restores, PlatformTest::CallCount("IDirectDraw::RestoreDisplayMode")) << "a second release does nothing";
}

TEST_F(DisplayTest, ReleaseCarriesOnWhenTheModeCannotBeRestored)
{
    Surface a;  // outlives the display, as the registry requires
    Display display;
    ASSERT_EQ(1, display.Create(&window));
    ASSERT_EQ(1, display.CreateSurfaces());
    a.display = &display;
    ASSERT_EQ(1, a.Create(4, 4));
    PlatformTest::FailCall("IDirectDraw::RestoreDisplayMode", static_cast<DWORD>(DDERR_NOEXCLUSIVEMODE), 1);
    display.Release();
    EXPECT_EQ(DDERR_NOEXCLUSIVEMODE, GetDxError());
    EXPECT_EQ(nullptr, display.ddraw);
    EXPECT_EQ(0, PlatformTest::LiveSurfaceCount());
}

TEST_F(DisplayTest, CreatingAgainReleasesEverythingFirst)
{
    Surface a;  // outlives the display, as the registry requires
    Display display;
    ASSERT_EQ(1, display.Create(&window));
    ASSERT_EQ(1, display.CreateSurfaces());
    a.display = &display;
    ASSERT_EQ(1, a.Create(4, 4));
    ASSERT_EQ(1, display.Create(&window));
    EXPECT_EQ(nullptr, a.surface);
    EXPECT_EQ(0, display.surfaces.Count());
    EXPECT_EQ(nullptr, display.primary.surface);
    EXPECT_EQ(1, display.CreateSurfaces());
}

TEST_F(DisplayTest, ASurfaceCreatedTwiceIsRegisteredTwice)
{
    Surface a;  // outlives the display, as the registry requires
    Display display;
    ASSERT_EQ(1, display.Create(&window));
    ASSERT_EQ(1, display.CreateSurfaces());
    a.display = &display;
    ASSERT_EQ(1, a.Create(4, 4));
    ASSERT_EQ(1, a.Create(6, 6));
    EXPECT_EQ(2, display.surfaces.Count());
    EXPECT_EQ(&a, display.surfaces.GetAt(0));
    EXPECT_EQ(&a, display.surfaces.GetAt(1));
    EXPECT_EQ(3, PlatformTest::LiveSurfaceCount()) << "the first surface was given back";

    int restores = PlatformTest::CallCount("IDirectDrawSurface::Restore");
    EXPECT_EQ(1, display.RestoreSurfaces());
    EXPECT_EQ(restores + 4, PlatformTest::CallCount("IDirectDrawSurface::Restore"))
        << "primary, back buffer and the registered surface twice";

    display.Release();
    EXPECT_EQ(0, PlatformTest::LiveSurfaceCount());
}

TEST_F(DisplayTest, CreateSurfaceNeedsDirectDrawAndAnOwner)
{
    Surface owner;
    Display display;
    DDSURFACEDESC desc;
    memset(&desc, 0, sizeof(desc));
    desc.dwSize = sizeof(desc);
    desc.dwFlags = DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT;
    desc.dwWidth = desc.dwHeight = 4;
    desc.ddsCaps.dwCaps = DDSCAPS_OFFSCREENPLAIN;
    LPDIRECTDRAWSURFACE made = NULL;
    EXPECT_EQ(0, display.CreateSurface(&desc, &made, &owner));
    EXPECT_EQ(E_FAIL, GetDxError());

    ASSERT_EQ(1, display.Create(&window));
    EXPECT_EQ(0, display.CreateSurface(&desc, &made, NULL));
    EXPECT_EQ(E_FAIL, GetDxError());
    EXPECT_EQ(0, display.surfaces.Count());

    PlatformTest::FailCall("IDirectDraw::CreateSurface", static_cast<DWORD>(DDERR_OUTOFMEMORY), 1);
    EXPECT_EQ(0, display.CreateSurface(&desc, &made, &owner));
    EXPECT_EQ(DDERR_OUTOFMEMORY, GetDxError());
    EXPECT_EQ(0, display.surfaces.Count()) << "only a created surface is registered";
}

TEST_F(DisplayTest, RestoreSurfacesStopsAtTheFirstFailure)
{
    Surface a, b;  // outlive the display, as the registry requires
    Display display;
    ASSERT_EQ(1, display.Create(&window));
    ASSERT_EQ(1, display.CreateSurfaces());
    a.display = b.display = &display;
    ASSERT_EQ(1, a.Create(4, 4));
    ASSERT_EQ(1, b.Create(4, 4));
    PlatformTest::LoseAllSurfaces();
    PlatformTest::FailCall("IDirectDrawSurface::Restore", static_cast<DWORD>(DDERR_WRONGMODE), 1, 2);
    int restores = PlatformTest::CallCount("IDirectDrawSurface::Restore");
    EXPECT_EQ(0, display.RestoreSurfaces());
    EXPECT_EQ(DDERR_WRONGMODE, GetDxError());
    EXPECT_EQ(restores + 3, PlatformTest::CallCount("IDirectDrawSurface::Restore")) << "b is not tried";
    EXPECT_EQ(1, display.RestoreSurfaces());
}

}  // namespace
