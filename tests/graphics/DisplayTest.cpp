// The display: its DirectDraw objects, the surface registry, presenting into
// the window and the order in which everything is made and released.
#include "GraphicsTestSupport.h"

#include <utility>
#include <vector>

namespace {

using namespace graphics_test;

class DisplayTest : public GraphicsTest {
protected:
    Surface a;  // outlives the display, as the registry requires
    Display display;

    void Ready()
    {
        ASSERT_EQ(1, display.Create(&window));
        ASSERT_EQ(1, display.CreateSurfaces());
        a.display = &display;
    }
};

TEST_F(DisplayTest, CreateThenCreateSurfacesOnce)
{
    EXPECT_EQ(0, display.CreateSurfaces()) << "no DirectDraw object yet";
    EXPECT_EQ(E_FAIL, GetDxError());

    ASSERT_EQ(1, display.Create(&window));
    EXPECT_EQ(std::make_pair(300, 400), std::make_pair(display.width, display.height));
    ASSERT_EQ(1, display.CreateSurfaces());
    EXPECT_EQ(0, display.surfaces.Count()) << "its own surfaces are not registered";
    HWND clipped = NULL;
    ASSERT_EQ(DD_OK, display.clipper->GetHWnd(&clipped));
    EXPECT_EQ(window.hwnd, clipped);

    SetDxError(DD_OK);
    EXPECT_EQ(0, display.CreateSurfaces()) << "a second time";
    EXPECT_EQ(E_FAIL, GetDxError());
    EXPECT_EQ(2, PlatformTest::LiveSurfaceCount()) << "nothing more made";
}

// Each step in the order the display takes them; a failure keeps what the
// earlier steps made until the display is released, except that a missing
// back buffer gives the primary surface back.
TEST_F(DisplayTest, AFailedStepIsRecordedAndReleaseCleansUp)
{
    const struct { const char* call; int skip; bool ddraw; int live; } steps[] = {
        {"DirectDrawCreate", 0, false, 0}, {"IDirectDraw::SetCooperativeLevel", 0, true, 0},
        {"IDirectDraw::CreateSurface", 0, true, 0}, {"IDirectDraw::CreateSurface", 1, true, 0},
        {"IDirectDraw::CreateClipper", 0, true, 2}, {"IDirectDrawClipper::SetHWnd", 0, true, 2},
        {"IDirectDrawSurface::SetClipper", 0, true, 2}};
    for (const auto& step : steps) {
        PlatformTest::Reset();
        PlatformTest::FailCall(step.call, static_cast<DWORD>(DDERR_OUTOFMEMORY), 1, step.skip);
        EXPECT_EQ(0, display.Create(&window) ? display.CreateSurfaces() : 0) << step.call << step.skip;
        EXPECT_EQ(DDERR_OUTOFMEMORY, GetDxError()) << step.call << step.skip;
        EXPECT_EQ(step.ddraw, display.ddraw != NULL) << step.call << step.skip;
        EXPECT_EQ(step.live, PlatformTest::LiveSurfaceCount()) << step.call << step.skip;
        display.Release();
        EXPECT_EQ(0, PlatformTest::LiveSurfaceCount()) << step.call << step.skip;
    }
}

TEST_F(DisplayTest, PresentBeforeCreateSurfacesDrawsNothing)
{
    EXPECT_EQ(1, display.Present());
    ASSERT_EQ(1, display.Create(&window));
    EXPECT_EQ(1, display.Present()) << "before CreateSurfaces";
    EXPECT_EQ(0, PlatformTest::CallCount("IDirectDrawSurface::Blt"));
}

TEST_F(DisplayTest, PresentFillsTheClientArea)
{
    Ready();
    // The second time round the window has moved and the frame is another
    // colour: the new picture must land in the client area where it is now.
    const struct { POINT at; COLORREF fill; uint32_t seen; } rounds[] = {{{50, 40}, RGB(255, 128, 0), 0xFF8000u},
                                                                         {{120, 90}, RGB(0, 255, 0), 0x00FF00u}};
    for (const auto& round : rounds) {
        SetWindowPos(window.hwnd, NULL, round.at.x, round.at.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
        FillRaw(display.back, display.back.ColorMatch(round.fill));
        FillRaw(display.back, display.back.ColorMatch(RGB(0, 0, 255)), 290, 390, 10, 10);
        ASSERT_EQ(1, display.Present());
        std::vector<uint32_t> px;
        int width = 0, height = 0;
        ASSERT_TRUE(PlatformTest::ReadClientPixels(window.hwnd, &px, &width, &height));
        ASSERT_EQ(std::make_pair(300, 400), std::make_pair(width, height));
        // The corners, the middle, and the back buffer's blue corner at the client's.
        const uint32_t b = 0x0000FFu, s = round.seen;
        const std::vector<uint32_t> seen = {px[0], px[200 * 300 + 150], px[389 * 300 + 289], px[390 * 300 + 290],
                                            px[399 * 300 + 299]};
        EXPECT_EQ((std::vector<uint32_t>{s, s, s, b, b}), seen) << round.at.x;
    }
}

TEST_F(DisplayTest, ReleaseGoesRegisteredSurfacesFirstAndRunsOnce)
{
    Ready();
    ASSERT_EQ(1, a.Create(16, 16));
    EXPECT_EQ(3, PlatformTest::LiveSurfaceCount());

    // A mode that cannot be restored is recorded; the release carries on.
    PlatformTest::FailCall("IDirectDraw::RestoreDisplayMode", static_cast<DWORD>(DDERR_NOEXCLUSIVEMODE), 1);
    display.Release();
    EXPECT_EQ(DDERR_NOEXCLUSIVEMODE, GetDxError());
    EXPECT_EQ(0, PlatformTest::LiveSurfaceCount());
    EXPECT_EQ(nullptr, a.surface);
    EXPECT_EQ(nullptr, display.ddraw);

    int restores = PlatformTest::CallCount("IDirectDraw::RestoreDisplayMode");
    display.Release();
    EXPECT_EQ(restores, PlatformTest::CallCount("IDirectDraw::RestoreDisplayMode")) << "a second release does nothing";
}

TEST_F(DisplayTest, ASurfaceCreatedTwiceIsRegisteredTwice)
{
    Ready();
    ASSERT_EQ(1, a.Create(4, 4));
    ASSERT_EQ(1, a.Create(6, 6));
    EXPECT_EQ(2, display.surfaces.Count());
    EXPECT_EQ(3, PlatformTest::LiveSurfaceCount()) << "the first surface was given back";
    // Made anew for a new depth, twice over; still one surface of it.
    PlatformTest::SetDesktopBits(16);
    EXPECT_EQ(1, display.RestoreSurfaces());
    EXPECT_EQ(2, display.surfaces.Count());
    EXPECT_EQ(3, PlatformTest::LiveSurfaceCount());
}

}  // namespace
