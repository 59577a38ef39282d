// GDI on DirectDraw surfaces (GetDC / ReleaseDC) with the DirectDraw and
// GDI API alone.
#include "DrawTestSupport.h"

namespace {

using drawtest::Description;
using drawtest::DirectDrawTest;
using drawtest::Pixels;

class SurfaceDCTest : public DirectDrawTest {
protected:
    // The raw value of pure red, green and blue in the surface's format.
    static DWORD Mask(LPDIRECTDRAWSURFACE surface, int channel)
    {
        DDSURFACEDESC desc = Description(0, 0);
        EXPECT_EQ(DD_OK, surface->GetSurfaceDesc(&desc));
        const DDPIXELFORMAT& f = desc.ddpfPixelFormat;
        return channel == 0 ? f.dwRBitMask : channel == 1 ? f.dwGBitMask : f.dwBBitMask;
    }
};

TEST_F(SurfaceDCTest, SetPixelWritesTheSurfacesOwnPixelValue)
{
    LPDIRECTDRAWSURFACE surface = Offscreen(4, 4);
    Fill(surface, [](int, int) { return DWORD{0}; });
    const COLORREF colours[] = {RGB(255, 0, 0), RGB(0, 255, 0), RGB(0, 0, 255)};
    HDC dc = nullptr;
    ASSERT_EQ(DD_OK, surface->GetDC(&dc));
    for (int i = 0; i < 3; ++i) SetPixel(dc, i, 1, colours[i]);
    for (int i = 0; i < 3; ++i) EXPECT_EQ(colours[i], GetPixel(dc, i, 1)) << i;
    EXPECT_EQ(RGB(0, 0, 0), GetPixel(dc, 3, 3));
    ASSERT_EQ(DD_OK, surface->ReleaseDC(dc));
    Pixels got = Read(surface);
    for (int i = 0; i < 3; ++i) EXPECT_EQ(Mask(surface, i), got.At(i, 1)) << i;
    EXPECT_EQ(0u, got.At(3, 1));
    EXPECT_EQ(0u, surface->Release());
}

TEST_F(SurfaceDCTest, GetPixelReadsWhatLockWrote)
{
    LPDIRECTDRAWSURFACE surface = Offscreen(2, 1);
    DWORD blue = Mask(surface, 2), red = Mask(surface, 0);
    Fill(surface, [=](int x, int) { return x ? red : blue; });
    HDC dc = nullptr;
    ASSERT_EQ(DD_OK, surface->GetDC(&dc));
    EXPECT_EQ(RGB(0, 0, 255), GetPixel(dc, 0, 0));
    EXPECT_EQ(RGB(255, 0, 0), GetPixel(dc, 1, 0));
    ASSERT_EQ(DD_OK, surface->ReleaseDC(dc));
    EXPECT_EQ(0u, surface->Release());
}

TEST_F(SurfaceDCTest, StretchBltBetweenSurfaceDCsScalesThePicture)
{
    LPDIRECTDRAWSURFACE small = Offscreen(2, 2);
    LPDIRECTDRAWSURFACE large = Offscreen(4, 4);
    const COLORREF colours[2][2] = {{RGB(255, 0, 0), RGB(0, 255, 0)}, {RGB(0, 0, 255), RGB(255, 255, 255)}};
    HDC from = nullptr, to = nullptr;
    ASSERT_EQ(DD_OK, small->GetDC(&from));
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 2; ++x) SetPixel(from, x, y, colours[y][x]);
    ASSERT_EQ(DD_OK, large->GetDC(&to));
    EXPECT_TRUE(StretchBlt(to, 0, 0, 4, 4, from, 0, 0, 2, 2, SRCCOPY));
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x) EXPECT_EQ(colours[y / 2][x / 2], GetPixel(to, x, y)) << x << "," << y;
    ASSERT_EQ(DD_OK, large->ReleaseDC(to));
    ASSERT_EQ(DD_OK, small->ReleaseDC(from));
    EXPECT_EQ(0u, large->Release());
    EXPECT_EQ(0u, small->Release());
}

TEST_F(SurfaceDCTest, OnlyOneDCAtATime)
{
    LPDIRECTDRAWSURFACE surface = Offscreen(2, 2);
    HDC dc = nullptr, second = nullptr;
    ASSERT_EQ(DD_OK, surface->GetDC(&dc));
    EXPECT_EQ(DDERR_DCALREADYCREATED, surface->GetDC(&second));
    ASSERT_EQ(DD_OK, surface->ReleaseDC(dc));
    ASSERT_EQ(DD_OK, surface->GetDC(&second));
    ASSERT_EQ(DD_OK, surface->ReleaseDC(second));
    EXPECT_EQ(0u, surface->Release());
}

}  // namespace

namespace {

using drawtest::DirectDrawTest;

class SurfaceKeyAndGdiTest : public DirectDrawTest {};

TEST_F(SurfaceKeyAndGdiTest, GdiCopiesKeyColouredPixelsToo)
{
    LPDIRECTDRAWSURFACE keyed = Offscreen(2, 1);
    LPDIRECTDRAWSURFACE back = Offscreen(2, 1);
    LPDIRECTDRAWSURFACE copy = Offscreen(2, 1);
    HDC dc = nullptr;
    ASSERT_EQ(DD_OK, keyed->GetDC(&dc));
    SetPixel(dc, 0, 0, RGB(0, 0, 0));
    SetPixel(dc, 1, 0, RGB(255, 255, 255));
    ASSERT_EQ(DD_OK, keyed->ReleaseDC(dc));
    DDCOLORKEY black = {0, 0};
    ASSERT_EQ(DD_OK, keyed->SetColorKey(DDCKEY_SRCBLT, &black));
    ASSERT_EQ(DD_OK, back->Blt(nullptr, keyed, nullptr, DDBLT_WAIT | DDBLT_KEYSRC, nullptr));

    HDC from = nullptr, to = nullptr;
    ASSERT_EQ(DD_OK, copy->GetDC(&to));
    SetPixel(to, 0, 0, RGB(0, 255, 0));
    ASSERT_EQ(DD_OK, keyed->GetDC(&from));
    EXPECT_TRUE(StretchBlt(to, 0, 0, 2, 1, from, 0, 0, 2, 1, SRCCOPY));
    EXPECT_EQ(RGB(0, 0, 0), GetPixel(to, 0, 0));
    EXPECT_EQ(RGB(255, 255, 255), GetPixel(to, 1, 0));
    ASSERT_EQ(DD_OK, keyed->ReleaseDC(from));
    ASSERT_EQ(DD_OK, copy->ReleaseDC(to));
    EXPECT_EQ(0u, copy->Release());
    EXPECT_EQ(0u, back->Release());
    EXPECT_EQ(0u, keyed->Release());
}

}  // namespace
