// Bitmap surfaces: creation, loading pictures, colour matching and keys, and
// blits with their rectangles and their recovery from lost surfaces.
#include "GraphicsTestSupport.h"

namespace {

using namespace graphics_test;

const COLORREF kRed = RGB(255, 0, 0), kGreen = RGB(0, 255, 0), kBlue = RGB(0, 0, 255);

class SurfaceTest : public GraphicsTest {
protected:
    // Declared before the display: registered surfaces must outlive it.
    Surface source, dest;
    Display display;

    void SetUp() override
    {
        GraphicsTest::SetUp();
        ASSERT_EQ(1, display.Create(&window));
        ASSERT_EQ(1, display.CreateSurfaces());
        source.display = dest.display = &display;
    }
};

TEST_F(SurfaceTest, ColorMatchOnEveryDesktopDepth)
{
    const struct { int bits; DWORD white, red; } depths[] = {
        {16, 0xFFFF, 0xF800}, {24, 0xFFFFFF, 0xFF0000}, {32, 0xFFFFFF, 0xFF0000}};
    for (const auto& depth : depths) {
        PlatformTest::SetDesktopBits(depth.bits);
        Surface probe;  // outlives the display made for this depth
        Display deep;
        ASSERT_EQ(1, deep.Create(&window));
        probe.display = &deep;
        ASSERT_EQ(1, probe.Create(3, 2));
        DWORD before = RawPixel(probe, 0, 0);
        EXPECT_EQ(0u, probe.ColorMatch(RGB(0, 0, 0))) << depth.bits;
        EXPECT_EQ(depth.white, probe.ColorMatch(RGB(255, 255, 255))) << depth.bits;
        EXPECT_EQ(depth.red, probe.ColorMatch(kRed)) << depth.bits;
        EXPECT_EQ(before, RawPixel(probe, 0, 0)) << depth.bits << ": the borrowed pixel is given back";
    }
}

TEST_F(SurfaceTest, ColorMatchWithInvalidColourOrOnABusySurface)
{
    ASSERT_EQ(1, source.Create(4, 4));
    DWORD raw = source.ColorMatch(RGB(10, 200, 30));
    FillRaw(source, raw, 0, 0, 1, 1);
    int dcs = PlatformTest::CallCount("IDirectDrawSurface::GetDC");
    EXPECT_EQ(raw, source.ColorMatch(CLR_INVALID));
    EXPECT_EQ(dcs, PlatformTest::CallCount("IDirectDrawSurface::GetDC"));
    PlatformTest::FailCall("IDirectDrawSurface::Lock", static_cast<DWORD>(DDERR_WASSTILLDRAWING));
    EXPECT_EQ(CLR_INVALID, source.ColorMatch(RGB(0, 0, 0))) << "busy for ever: a handful of tries, not a hang";
}

// A name that is not among the program's pictures is tried as a file.
TEST_F(SurfaceTest, LoadBitmapFallsBackToAFile)
{
    std::string path = WriteBitmapFile("vorblox_two.bmp", 2, 2, {kRed, kBlue, kBlue, kRed});
    ASSERT_EQ(1, source.Create(2, 2));
    ASSERT_EQ(1, source.LoadBitmap(path.c_str()));
    EXPECT_EQ(source.ColorMatch(kRed), RawPixel(source, 1, 1));
    remove(path.c_str());
    SetDxError(DD_OK);
    EXPECT_EQ(0, source.LoadBitmap("VORBLOX_NO_SUCH_PICTURE")) << "no resource and no file of that name";
    EXPECT_EQ(E_FAIL, GetDxError());
}

TEST_F(SurfaceTest, CopyBitmapStretchesOverTheWholeSurface)
{
    std::string path = WriteBitmapFile("vorblox_stripes.bmp", 3, 1, {kRed, kBlue, kGreen});
    HBITMAP bitmap = static_cast<HBITMAP>(
        LoadImageA(NULL, path.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE | LR_CREATEDIBSECTION));
    ASSERT_NE(nullptr, bitmap);
    ASSERT_EQ(1, source.Create(4, 2));
    const DWORD red = source.ColorMatch(kRed), blue = source.ColorMatch(kBlue);
    // The first two columns of the bitmap, stretched to 4 x 2.
    ASSERT_EQ(1, source.CopyBitmap(bitmap, 0, 0, 2, 0));
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 4; ++x) EXPECT_EQ(x < 2 ? red : blue, RawPixel(source, x, y)) << x << "," << y;
    EXPECT_EQ(0, source.CopyBitmap(NULL, 0, 0, 0, 0));
    EXPECT_EQ(E_FAIL, GetDxError());
    DeleteObject(bitmap);
    remove(path.c_str());
}

class BlitTest : public SurfaceTest {
protected:
    DWORD black = 0, white = 0, red = 0;

    void SetUp() override
    {
        SurfaceTest::SetUp();
        ASSERT_EQ(1, source.Create(8, 4));
        ASSERT_EQ(1, dest.Create(16, 16));
        black = dest.ColorMatch(RGB(0, 0, 0)), white = dest.ColorMatch(RGB(255, 255, 255)), red = dest.ColorMatch(kRed);
        FillRaw(dest, white);
        FillRaw(source, red);
    }
    // How many destination pixels carry the value.
    int Count(DWORD value)
    {
        int n = 0;
        ForPixels(dest, [&](BYTE* at, int bytes) { n += memcmp(at, &value, bytes) == 0; });
        return n;
    }
};

TEST_F(BlitTest, BlitAndBlitRectCopyTheirRectangle)
{
    ASSERT_EQ(1, source.Blit(dest, 3, 5));
    EXPECT_EQ(32, Count(red));
    EXPECT_EQ(red, RawPixel(dest, 3, 5));
    EXPECT_EQ(white, RawPixel(dest, 11, 9));

    FillRaw(source, black, 2, 1, 2, 2);
    const struct { const char* name; LONG srcX, srcY, width, height; int red, black; } cases[] = {
        {"a 2 x 2 part", 2, 1, 2, 2, 0, 4}, {"a 3 x 1 part", 1, 0, 3, 1, 3, 0},
        {"negative srcX: the whole source", -1, 1, 8, 4, 28, 4}, {"width < 0: the source's size", -1, 0, -5, 2, 28, 4},
        {"width 0: the source's size, height ignored", -1, 0, 0, 99, 28, 4},
    };
    for (const auto& c : cases) {
        FillRaw(dest, white);
        ASSERT_EQ(1, source.BlitRect(dest, 0, 0, c.srcX, c.srcY, c.width, c.height)) << c.name;
        EXPECT_EQ(c.red, Count(red)) << c.name;
        EXPECT_EQ(c.black, Count(black)) << c.name;
    }
}

TEST_F(BlitTest, KeyedBlitLeavesTheDestinationWhereTheKeyIs)
{
    FillRaw(source, black, 0, 0, 4, 4);
    ASSERT_EQ(1, source.SetColorKey(RGB(0, 0, 0)));
    ASSERT_EQ(1, source.Blit(dest, 0, 0));
    EXPECT_EQ(16, Count(red));
    EXPECT_EQ(0, Count(black));
    EXPECT_EQ(white, RawPixel(dest, 0, 0));
    EXPECT_EQ(red, RawPixel(dest, 4, 0));
}

TEST_F(BlitTest, SurfacesThatAreNotCreatedFail)
{
    // Creating without a display, blitting from and blitting to a surface not created.
    Surface empty;
    for (int step = 0; step < 3; ++step) {
        SetDxError(DD_OK);
        EXPECT_EQ(0, step == 0 ? empty.Create(16, 16) : step == 1 ? empty.Blit(dest, 0, 0) : source.Blit(empty, 0, 0));
        EXPECT_EQ(E_FAIL, GetDxError()) << step;
    }
}

// Lost surfaces come back with garbage in them: a blit that meets the loss
// restores them, loads its picture and key again and repeats.
class LossTest : public BlitTest {
protected:
    std::string path;

    void SetUp() override
    {
        BlitTest::SetUp();
        // Red on the left, the black key on the right.
        std::vector<COLORREF> colours(8 * 4, kRed);
        for (int y = 0; y < 4; ++y)
            for (int x = 4; x < 8; ++x) colours[y * 8 + x] = RGB(0, 0, 0);
        path = WriteBitmapFile("vorblox_keyed.bmp", 8, 4, colours);
        ASSERT_EQ(1, source.LoadBitmap(path.c_str()));
        ASSERT_EQ(1, source.SetColorKey(RGB(0, 0, 0)));
    }
    void TearDown() override { remove(path.c_str()); }
    // The picture, keyed, drawn over white at the top-left corner.
    void ExpectPictureDrawn(const char* what)
    {
        red = dest.ColorMatch(kRed), white = dest.ColorMatch(RGB(255, 255, 255));
        EXPECT_EQ(16, Count(red)) << what;
        EXPECT_EQ(16 * 16 - 16, Count(white)) << what;
    }
};

TEST_F(LossTest, TheBlitThatMeetsALossReloadsItsPictureAndRepeats)
{
    const struct { const char* call; HRESULT code; int times, result, blts; } cases[] = {
        {"", DD_OK, 0, 1, 2},                                          // restored, reloaded, blitted again
        {"IDirectDrawSurface::Restore", DDERR_OUTOFMEMORY, 1, 0, 1},   // the restore fails: the blit ends
        {"IDirectDrawSurface::Blt", DDERR_SURFACELOST, -1, 0, 5},     // lost over and over: at most 4 repeats
    };
    for (const auto& c : cases) {
        PlatformTest::Reset();
        PlatformTest::LoseAllSurfaces();
        PlatformTest::FailCall(c.call, static_cast<DWORD>(c.code), c.times);
        EXPECT_EQ(c.result, source.Blit(dest, 0, 0)) << c.call;
        EXPECT_EQ(c.code, GetDxError()) << c.call;
        EXPECT_EQ(c.blts, PlatformTest::CallCount("IDirectDrawSurface::Blt")) << c.call;
        PlatformTest::Reset();
        EXPECT_EQ(1, source.Blit(dest, 0, 0)) << c.call << ": a later blit tries again";
        FillRaw(dest, white);  // the destination came back with garbage too
        ASSERT_EQ(1, source.Blit(dest, 0, 0)) << c.call;
        ExpectPictureDrawn(c.call);
    }
}

// After a change of the desktop's depth nothing can be restored: everything
// is made anew in the new format, in the registry's order, and the picture
// keyed with the new format's raw value.
TEST_F(LossTest, ADepthChangeMakesEverySurfaceAnew)
{
    const int live = PlatformTest::LiveSurfaceCount();
    PlatformTest::SetDesktopBits(16);
    ASSERT_EQ(1, source.Blit(dest, 0, 0));
    EXPECT_EQ(live, PlatformTest::LiveSurfaceCount());
    EXPECT_EQ((std::vector<Surface*>{&source, &dest}),
              (std::vector<Surface*>{display.surfaces.GetAt(0), display.surfaces.GetAt(1)}));
    EXPECT_EQ(0xF800u, dest.ColorMatch(kRed)) << "in the new format";
    FillRaw(dest, dest.ColorMatch(RGB(255, 255, 255)));
    ASSERT_EQ(1, source.Blit(dest, 0, 0));
    ExpectPictureDrawn("16 bits");
    EXPECT_EQ(1, display.Present());

    // Making them anew can fail too; the next present tries again.
    PlatformTest::SetDesktopBits(32);
    PlatformTest::FailCall("IDirectDraw::CreateSurface", static_cast<DWORD>(DDERR_OUTOFMEMORY), 1);
    EXPECT_EQ(0, source.Blit(dest, 0, 0));
    EXPECT_EQ(DDERR_OUTOFMEMORY, GetDxError());
    EXPECT_EQ(0, display.Present()) << "no frame to show yet";
    EXPECT_EQ(0, display.remakePending);
    EXPECT_EQ(1, source.Blit(dest, 0, 0));
    EXPECT_EQ(1, display.Present());
}

}  // namespace
