// Surfaces in each desktop depth the layer offers (test control
// SetDesktopBits): the format Lock reports and keyed blits within it.
#include "ddraw/DrawTest.h"

#include <PlatformTest.h>

namespace {

using dxtest::Description;
using dxtest::DirectDrawTest;

struct Format {
    int bits;
    DWORD red, green, blue;
};

class FormatTest : public DirectDrawTest, public ::testing::WithParamInterface<Format> {
protected:
    void SetUp() override
    {
        PlatformTest::SetDesktopBits(GetParam().bits);
        DirectDrawTest::SetUp();
    }
};

TEST_P(FormatTest, LockReportsTheDesktopFormat)
{
    const Format& f = GetParam();
    DDSURFACEDESC desc = Description(), mode = Description();
    ASSERT_EQ(DD_OK, ddraw->GetDisplayMode(&mode));
    LPDIRECTDRAWSURFACE surface = Offscreen(5, 3);
    ASSERT_EQ(DD_OK, surface->Lock(nullptr, &desc, DDLOCK_WAIT, nullptr));
    const DDPIXELFORMAT& p = desc.ddpfPixelFormat;
    EXPECT_EQ((std::vector<DWORD>{(DWORD)f.bits, f.red, f.green, f.blue, (DWORD)DDPF_RGB, 5, 3, (DWORD)DDSD_LPSURFACE, (DWORD)f.bits}),
              (std::vector<DWORD>{p.dwRGBBitCount, p.dwRBitMask, p.dwGBitMask, p.dwBBitMask, (DWORD)(p.dwFlags & DDPF_RGB),
                                  desc.dwWidth, desc.dwHeight, (DWORD)(desc.dwFlags & DDSD_LPSURFACE),
                                  mode.ddpfPixelFormat.dwRGBBitCount}));
    EXPECT_GE(desc.lPitch, 5 * f.bits / 8);
    EXPECT_EQ(0, desc.lPitch % 4);
    EXPECT_EQ(DD_OK, surface->Unlock(nullptr));
}

TEST_P(FormatTest, KeyedBlitUsesFullWidthPixelValues)
{
    // Pixel values that use every byte of the format, so a key compared on
    // too few bytes would show.
    const Format& f = GetParam();
    const DWORD white = f.red | f.green | f.blue, keyValue = f.red;
    LPDIRECTDRAWSURFACE source = Offscreen(3, 1), dest = Offscreen(3, 1);
    Fill(source, [&](int x, int) { return x == 1 ? keyValue : (x == 0 ? white : f.blue); });
    Fill(dest, [&](int, int) { return f.green; });
    DDCOLORKEY key = {keyValue, keyValue};
    ASSERT_EQ(DD_OK, source->SetColorKey(DDCKEY_SRCBLT, &key));
    ASSERT_EQ(DD_OK, dest->Blt(nullptr, source, nullptr, DDBLT_WAIT | DDBLT_KEYSRC, nullptr));
    EXPECT_EQ((std::vector<DWORD>{white, f.green, f.blue}), Read(dest));
}

INSTANTIATE_TEST_SUITE_P(Depths, FormatTest,
                         ::testing::Values(Format{16, 0xF800, 0x07E0, 0x001F}, Format{24, 0xFF0000, 0x00FF00, 0x0000FF},
                                           Format{32, 0xFF0000, 0x00FF00, 0x0000FF}),
                         [](const ::testing::TestParamInfo<Format>& info) {
                             return std::to_string(info.param.bits) + "Bits";
                         });

}  // namespace
