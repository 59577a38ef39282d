// Bitmap surfaces: creation, loading pictures, colour matching and keys, and
// blits with their rectangles and their recovery from lost surfaces.
#include "GraphicsTestSupport.h"

#include <PlatformResources.h>

namespace {

using graphics_test::FillRaw;
using graphics_test::GraphicsTest;
using graphics_test::RawPixel;
using graphics_test::SurfaceSize;
using graphics_test::BitmapFileBytes;
using graphics_test::WriteBitmapFile;

// A picture built into the test program the way the game's pictures are.
const char* const kPictureName = "VORBLOX_TEST_PICTURE";
bool RegisterTestPicture()
{
    static const std::vector<unsigned char> bytes =
        BitmapFileBytes(2, 1, {RGB(0, 255, 0), RGB(255, 255, 0)});
    static const PlatformResource table[] = {
        {kPictureName, PlatformResourceBitmap, bytes.data(), static_cast<unsigned long>(bytes.size())}};
    return PlatformRegisterResources(table, 1);
}
const bool registered = RegisterTestPicture();

class SurfaceTest : public GraphicsTest {
protected:
    // Declared before the display: registered surfaces must outlive it.
    Surface source;
    Surface dest;
    Display display;

    void SetUp() override
    {
        GraphicsTest::SetUp();
        ASSERT_EQ(1, display.Create(&window));
        ASSERT_EQ(1, display.CreateSurfaces());
        source.display = &display;
        dest.display = &display;
    }
};

TEST_F(SurfaceTest, CreateNeedsADisplay)
{
    Surface loose;
    EXPECT_EQ(0, loose.Create(16, 16));
    EXPECT_EQ(E_FAIL, GetDxError());
    EXPECT_EQ(nullptr, loose.surface);
}

TEST_F(SurfaceTest, CreateMakesAnOffScreenSurfaceOfTheSize)
{
    ASSERT_EQ(1, source.Create(128, 16));
    SIZE size = SurfaceSize(source);
    EXPECT_EQ(128, size.cx);
    EXPECT_EQ(16, size.cy);
    EXPECT_EQ(&source, display.surfaces.GetAt(0));
}

TEST_F(SurfaceTest, CreateFailureIsRecorded)
{
    PlatformTest::FailCall("IDirectDraw::CreateSurface", static_cast<DWORD>(DDERR_OUTOFVIDEOMEMORY), 1);
    EXPECT_EQ(0, source.Create(16, 16));
    EXPECT_EQ(DDERR_OUTOFVIDEOMEMORY, GetDxError());
    EXPECT_EQ(nullptr, source.surface);
}

TEST_F(SurfaceTest, ReleaseWithoutADisplayChangesNothing)
{
    Surface loose;
    loose.colorKeyed = 1;
    loose.Release();
    EXPECT_EQ(1, loose.colorKeyed);
    loose.colorKeyed = 0;
}

TEST_F(SurfaceTest, RestoreNeedsASurfaceAndReportsFailure)
{
    EXPECT_EQ(0, source.Restore());
    EXPECT_EQ(E_FAIL, GetDxError());
    ASSERT_EQ(1, source.Create(4, 4));
    EXPECT_EQ(1, source.Restore());
    PlatformTest::FailCall("IDirectDrawSurface::Restore", static_cast<DWORD>(DDERR_WRONGMODE), 1);
    EXPECT_EQ(0, source.Restore());
    EXPECT_EQ(DDERR_WRONGMODE, GetDxError());
}

// ---------------------------------------------------------------- colours

TEST_F(SurfaceTest, ColorMatchOnEveryDesktopDepth)
{
    const struct {
        int bits;
        DWORD white;
        DWORD red;
    } depths[] = {{16, 0xFFFF, 0xF800}, {24, 0xFFFFFF, 0xFF0000}, {32, 0xFFFFFF, 0xFF0000}};
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
        EXPECT_EQ(depth.red, probe.ColorMatch(RGB(255, 0, 0))) << depth.bits;
        EXPECT_EQ(before, RawPixel(probe, 0, 0)) << depth.bits << ": the borrowed pixel is given back";
        deep.Release();
    }
}

TEST_F(SurfaceTest, ColorMatchWithInvalidColourReadsWithoutWriting)
{
    ASSERT_EQ(1, source.Create(4, 4));
    DWORD raw = source.ColorMatch(RGB(10, 200, 30));
    FillRaw(source, raw, 0, 0, 1, 1);
    int dcs = PlatformTest::CallCount("IDirectDrawSurface::GetDC");
    EXPECT_EQ(raw, source.ColorMatch(CLR_INVALID));
    EXPECT_EQ(dcs, PlatformTest::CallCount("IDirectDrawSurface::GetDC"));
}

TEST_F(SurfaceTest, ColorMatchWithoutSurfaceIsZeroAndRecordsNothing)
{
    SetDxError(DDERR_SURFACEBUSY);
    EXPECT_EQ(0u, source.ColorMatch(RGB(255, 255, 255)));
    EXPECT_EQ(DDERR_SURFACEBUSY, GetDxError());
}

TEST_F(SurfaceTest, ColorMatchGivesUpOnABusySurface)
{
    ASSERT_EQ(1, source.Create(4, 4));
    PlatformTest::FailCall("IDirectDrawSurface::Lock", static_cast<DWORD>(DDERR_WASSTILLDRAWING));
    SetDxError(DD_OK);
    EXPECT_EQ(CLR_INVALID, source.ColorMatch(RGB(0, 0, 0)));
    EXPECT_EQ(5, PlatformTest::CallCount("IDirectDrawSurface::Lock")) << "a handful of tries, not for ever";
    EXPECT_EQ(DD_OK, GetDxError());

    PlatformTest::Reset();
    PlatformTest::FailCall("IDirectDrawSurface::Lock", static_cast<DWORD>(DDERR_WASSTILLDRAWING), 2);
    EXPECT_EQ(0u, source.ColorMatch(RGB(0, 0, 0))) << "busy for a moment only";
}

TEST_F(SurfaceTest, SetColorKey)
{
    EXPECT_EQ(0, source.SetColorKey(RGB(0, 0, 0)));
    EXPECT_EQ(E_FAIL, GetDxError());
    ASSERT_EQ(1, source.Create(4, 4));
    PlatformTest::FailCall("IDirectDrawSurface::SetColorKey", static_cast<DWORD>(DDERR_NOCOLORKEYHW), 1);
    EXPECT_EQ(0, source.SetColorKey(RGB(0, 0, 0)));
    EXPECT_EQ(DDERR_NOCOLORKEYHW, GetDxError());
    EXPECT_EQ(0, source.colorKeyed);
    EXPECT_EQ(1, source.SetColorKey(RGB(0, 0, 0)));
    EXPECT_EQ(1, source.colorKeyed);
    DDCOLORKEY key = {1, 1};
    ASSERT_EQ(DD_OK, source.surface->GetColorKey(DDCKEY_SRCBLT, &key));
    EXPECT_EQ(0u, key.dwColorSpaceLowValue);
    EXPECT_EQ(0u, key.dwColorSpaceHighValue);
}

// ---------------------------------------------------------------- pictures

TEST_F(SurfaceTest, LoadBitmapFromTheProgramsOwnPictures)
{
    ASSERT_TRUE(registered);
    ASSERT_EQ(1, source.Create(2, 1));
    ASSERT_EQ(1, source.LoadBitmap(kPictureName));
    EXPECT_EQ(source.ColorMatch(RGB(0, 255, 0)), RawPixel(source, 0, 0));
    EXPECT_EQ(source.ColorMatch(RGB(255, 255, 0)), RawPixel(source, 1, 0));

    PlatformTest::HideResource(kPictureName);
    EXPECT_EQ(0, source.LoadBitmap(kPictureName)) << "no resource and no file of that name";
    EXPECT_EQ(E_FAIL, GetDxError());
}

TEST_F(SurfaceTest, LoadBitmapFallsBackToAFile)
{
    const COLORREF red = RGB(255, 0, 0), blue = RGB(0, 0, 255);
    std::string path = WriteBitmapFile("vorblox_two.bmp", 2, 2, {red, blue, blue, red});
    ASSERT_FALSE(path.empty());
    ASSERT_EQ(1, source.Create(2, 2));
    ASSERT_EQ(1, source.LoadBitmap(path.c_str()));
    EXPECT_EQ(source.ColorMatch(red), RawPixel(source, 1, 1));
    EXPECT_EQ(source.ColorMatch(blue), RawPixel(source, 1, 0));
    EXPECT_EQ(source.ColorMatch(blue), RawPixel(source, 0, 1));
    remove(path.c_str());
}

TEST_F(SurfaceTest, LoadBitmapWithNeitherResourceNorFile)
{
    ASSERT_EQ(1, source.Create(2, 2));
    EXPECT_EQ(0, source.LoadBitmap("VORBLOX_NO_SUCH_PICTURE"));
    EXPECT_EQ(E_FAIL, GetDxError());
}

TEST_F(SurfaceTest, LoadBitmapIntoNoSurface)
{
    std::string path = WriteBitmapFile("vorblox_one.bmp", 1, 1, {RGB(1, 2, 3)});
    EXPECT_EQ(0, source.LoadBitmap(path.c_str()));
    EXPECT_EQ(E_FAIL, GetDxError());
    remove(path.c_str());
}

TEST_F(SurfaceTest, CopyBitmapStretchesOverTheWholeSurface)
{
    const COLORREF red = RGB(255, 0, 0), blue = RGB(0, 0, 255), green = RGB(0, 255, 0);
    std::string path = WriteBitmapFile("vorblox_stripes.bmp", 3, 1, {red, blue, green});
    HBITMAP bitmap = static_cast<HBITMAP>(LoadImageA(NULL, path.c_str(), IMAGE_BITMAP, 0, 0,
                                                     LR_LOADFROMFILE | LR_CREATEDIBSECTION));
    ASSERT_NE(nullptr, bitmap);
    ASSERT_EQ(1, source.Create(4, 2));
    DWORD rawRed = source.ColorMatch(red), rawBlue = source.ColorMatch(blue);

    // The first two columns of the bitmap, stretched to 4 x 2.
    ASSERT_EQ(1, source.CopyBitmap(bitmap, 0, 0, 2, 0));
    const DWORD expected[2][4] = {{rawRed, rawRed, rawBlue, rawBlue}, {rawRed, rawRed, rawBlue, rawBlue}};
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 4; ++x) EXPECT_EQ(expected[y][x], RawPixel(source, x, y)) << x << "," << y;

    // The whole bitmap shrunk onto a single pixel's width keeps one colour.
    ASSERT_EQ(1, dest.Create(1, 1));
    ASSERT_EQ(1, dest.CopyBitmap(bitmap, 1, 0, 1, 1));
    EXPECT_EQ(rawBlue, RawPixel(dest, 0, 0));

    EXPECT_EQ(0, source.CopyBitmap(NULL, 0, 0, 0, 0));
    EXPECT_EQ(E_FAIL, GetDxError());

    PlatformTest::FailCall("IDirectDrawSurface::GetDC", static_cast<DWORD>(DDERR_CANTCREATEDC), 1);
    SetDxError(DD_OK);
    EXPECT_EQ(0, source.CopyBitmap(bitmap, 0, 0, 0, 0));
    EXPECT_EQ(E_FAIL, GetDxError());

    DeleteObject(bitmap);
    remove(path.c_str());
}

// ---------------------------------------------------------------- blits

class BlitTest : public SurfaceTest {
protected:
    DWORD rawBlack = 0, rawWhite = 0, rawRed = 0;

    void SetUp() override
    {
        SurfaceTest::SetUp();
        ASSERT_EQ(1, source.Create(8, 4));
        ASSERT_EQ(1, dest.Create(16, 16));
        rawBlack = dest.ColorMatch(RGB(0, 0, 0));
        rawWhite = dest.ColorMatch(RGB(255, 255, 255));
        rawRed = dest.ColorMatch(RGB(255, 0, 0));
        FillRaw(dest, rawWhite);
        FillRaw(source, rawRed);
    }
    // How many destination pixels carry the value.
    int Count(DWORD value)
    {
        int n = 0;
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 16; ++x) n += RawPixel(dest, x, y) == value;
        return n;
    }
};

TEST_F(BlitTest, BlitCopiesTheWholeSourceAtItsSize)
{
    ASSERT_EQ(1, source.Blit(dest, 3, 5));
    EXPECT_EQ(32, Count(rawRed));
    EXPECT_EQ(rawRed, RawPixel(dest, 3, 5));
    EXPECT_EQ(rawRed, RawPixel(dest, 10, 8));
    EXPECT_EQ(rawWhite, RawPixel(dest, 11, 8));
    EXPECT_EQ(rawWhite, RawPixel(dest, 10, 9));
}

TEST_F(BlitTest, SourceRectangleAndItsAbsence)
{
    FillRaw(source, rawBlack, 2, 1, 2, 2);
    const struct {
        const char* name;
        LONG srcX, srcY, width, height;
        int red, black;
    } cases[] = {
        {"a 2 x 2 part", 2, 1, 2, 2, 0, 4},
        {"a 3 x 1 part", 1, 0, 3, 1, 3, 0},
        {"negative srcX: the whole source", -1, 1, 8, 4, 28, 4},
        {"width 0: the source's size, height ignored", -1, 0, 0, 99, 28, 4},
        {"negative width: the source's size", -1, 0, -5, 2, 28, 4},
    };
    for (const auto& c : cases) {
        FillRaw(dest, rawWhite);
        ASSERT_EQ(1, source.BlitRect(dest, 0, 0, c.srcX, c.srcY, c.width, c.height)) << c.name;
        EXPECT_EQ(c.red, Count(rawRed)) << c.name;
        EXPECT_EQ(c.black, Count(rawBlack)) << c.name;
    }
}

TEST_F(BlitTest, KeyedBlitLeavesTheDestinationWhereTheKeyIs)
{
    FillRaw(source, rawBlack, 0, 0, 4, 4);
    ASSERT_EQ(1, source.SetColorKey(RGB(0, 0, 0)));
    ASSERT_EQ(1, source.Blit(dest, 0, 0));
    EXPECT_EQ(16, Count(rawRed));
    EXPECT_EQ(0, Count(rawBlack));
    EXPECT_EQ(rawWhite, RawPixel(dest, 0, 0));
    EXPECT_EQ(rawRed, RawPixel(dest, 4, 0));

    FillRaw(source, rawBlack);  // an all-black tile changes nothing
    FillRaw(dest, rawWhite);
    ASSERT_EQ(1, source.Blit(dest, 2, 2));
    EXPECT_EQ(256, Count(rawWhite));
}

TEST_F(BlitTest, BlitNeedsCreatedSurfaces)
{
    Surface empty;
    EXPECT_EQ(0, empty.Blit(dest, 0, 0));
    EXPECT_EQ(E_FAIL, GetDxError());
    SetDxError(DD_OK);
    EXPECT_EQ(0, source.Blit(empty, 0, 0)) << "a destination without a surface";
    EXPECT_EQ(E_FAIL, GetDxError());
}

TEST_F(BlitTest, FailuresAreRecorded)
{
    const struct {
        const char* call;
        HRESULT code;
    } cases[] = {{"IDirectDrawSurface::GetSurfaceDesc", DDERR_INVALIDOBJECT},
                 {"IDirectDrawSurface::Blt", DDERR_INVALIDRECT}};
    for (const auto& c : cases) {
        PlatformTest::FailCall(c.call, static_cast<DWORD>(c.code), 1);
        EXPECT_EQ(0, source.Blit(dest, 0, 0)) << c.call;
        EXPECT_EQ(c.code, GetDxError()) << c.call;
    }
}

TEST_F(BlitTest, ALossIsRestoredInsideTheBlit)
{
    PlatformTest::LoseAllSurfaces();
    ASSERT_EQ(1, source.Blit(dest, 0, 0));
    EXPECT_EQ(2, PlatformTest::CallCount("IDirectDrawSurface::Blt"));
    EXPECT_EQ(4, PlatformTest::CallCount("IDirectDrawSurface::Restore")) << "primary, back, source, dest";
    EXPECT_EQ(DD_OK, GetDxError());
}

TEST_F(BlitTest, AFailedRestoreEndsTheBlitAndALaterBlitTriesAgain)
{
    PlatformTest::LoseAllSurfaces();
    PlatformTest::FailCall("IDirectDrawSurface::Restore", static_cast<DWORD>(DDERR_WRONGMODE), 1);
    EXPECT_EQ(0, source.Blit(dest, 0, 0));
    EXPECT_EQ(DDERR_WRONGMODE, GetDxError());
    EXPECT_EQ(1, PlatformTest::CallCount("IDirectDrawSurface::Blt"));

    EXPECT_EQ(1, source.Blit(dest, 0, 0));
    EXPECT_EQ(32, Count(rawRed));
}

TEST_F(BlitTest, ASurfaceLostOverAndOverCostsTheBlitNotTheGame)
{
    PlatformTest::FailCall("IDirectDrawSurface::Blt", static_cast<DWORD>(DDERR_SURFACELOST));
    EXPECT_EQ(0, source.Blit(dest, 0, 0));
    EXPECT_EQ(DDERR_SURFACELOST, GetDxError());
    EXPECT_EQ(5, PlatformTest::CallCount("IDirectDrawSurface::Blt"));
}

}  // namespace
