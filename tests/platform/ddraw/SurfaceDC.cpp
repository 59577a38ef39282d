// GDI on a DirectDraw surface's DC: the surface's own pixel values read and
// written, and StretchBlt between two surfaces' DCs.
#include "DrawTest.h"

namespace {

using dxtest::Description;
using dxtest::DirectDrawTest;

TEST_F(DirectDrawTest, GdiOnASurfaceUsesItsOwnPixelValues)
{
    LPDIRECTDRAWSURFACE surface = Offscreen(4, 2);
    DDSURFACEDESC desc = Description();
    ASSERT_EQ(DD_OK, surface->GetSurfaceDesc(&desc));
    const DDPIXELFORMAT& f = desc.ddpfPixelFormat;
    Fill(surface, [&](int x, int y) { return y ? DWORD{0} : x ? f.dwRBitMask : f.dwBBitMask; });
    HDC dc = nullptr;
    ASSERT_EQ(DD_OK, surface->GetDC(&dc));
    EXPECT_EQ(RGB(0, 0, 255), GetPixel(dc, 0, 0));  // read what Lock wrote
    EXPECT_EQ(RGB(255, 0, 0), GetPixel(dc, 1, 0));
    const COLORREF colours[] = {RGB(255, 0, 0), RGB(0, 255, 0), RGB(0, 0, 255)};
    for (int i = 0; i < 3; ++i) SetPixel(dc, i, 1, colours[i]);
    for (int i = 0; i < 3; ++i) EXPECT_EQ(colours[i], GetPixel(dc, i, 1)) << i;
    ASSERT_EQ(DD_OK, surface->ReleaseDC(dc));
    std::vector<DWORD> got = Read(surface);
    EXPECT_EQ((std::vector<DWORD>{f.dwRBitMask, f.dwGBitMask, f.dwBBitMask, 0}),
              (std::vector<DWORD>(got.begin() + 4, got.end())));
    // StretchBlt between two surfaces' DCs scales the picture.
    LPDIRECTDRAWSURFACE smaller = Offscreen(2, 2), larger = Offscreen(4, 4);
    const COLORREF picture[2][2] = {{RGB(255, 0, 0), RGB(0, 255, 0)}, {RGB(0, 0, 255), RGB(255, 255, 255)}};
    HDC from = nullptr, to = nullptr;
    ASSERT_EQ(DD_OK, smaller->GetDC(&from));
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 2; ++x) SetPixel(from, x, y, picture[y][x]);
    ASSERT_EQ(DD_OK, larger->GetDC(&to));
    EXPECT_TRUE(StretchBlt(to, 0, 0, 4, 4, from, 0, 0, 2, 2, SRCCOPY));
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x) EXPECT_EQ(picture[y / 2][x / 2], GetPixel(to, x, y)) << x << "," << y;
    ASSERT_EQ(DD_OK, larger->ReleaseDC(to));
    ASSERT_EQ(DD_OK, smaller->ReleaseDC(from));
}

}  // namespace
