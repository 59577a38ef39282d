// Surfaces in each desktop depth the layer offers (test control
// SetDesktopBits): the format Lock reports and blits within it.
#include "DrawTestSupport.h"

#include <PlatformTest.h>

namespace {

using drawtest::Description;
using drawtest::DirectDrawTest;
using drawtest::Pixels;

struct Format {
    int bits;
    DWORD red, green, blue;
};

const Format kFormats[] = {
    {16, 0xF800, 0x07E0, 0x001F},
    {24, 0xFF0000, 0x00FF00, 0x0000FF},
    {32, 0xFF0000, 0x00FF00, 0x0000FF},
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
    LPDIRECTDRAWSURFACE surface = Offscreen(5, 3);
    DDSURFACEDESC desc = Description(0, 0);
    ASSERT_EQ(DD_OK, surface->Lock(nullptr, &desc, DDLOCK_WAIT, nullptr));
    EXPECT_EQ(static_cast<DWORD>(f.bits), desc.ddpfPixelFormat.dwRGBBitCount);
    EXPECT_EQ(f.red, desc.ddpfPixelFormat.dwRBitMask);
    EXPECT_EQ(f.green, desc.ddpfPixelFormat.dwGBitMask);
    EXPECT_EQ(f.blue, desc.ddpfPixelFormat.dwBBitMask);
    EXPECT_TRUE(desc.ddpfPixelFormat.dwFlags & DDPF_RGB);
    EXPECT_GE(desc.lPitch, 5 * f.bits / 8);
    EXPECT_EQ(0, desc.lPitch % 4);
    EXPECT_EQ(5u, desc.dwWidth);
    EXPECT_EQ(3u, desc.dwHeight);
    EXPECT_TRUE(desc.dwFlags & DDSD_LPSURFACE);
    EXPECT_EQ(DD_OK, surface->Unlock(nullptr));
    EXPECT_EQ(0u, surface->Release());
}

TEST_P(FormatTest, DisplayModeMatchesTheSurfaces)
{
    DDSURFACEDESC mode = Description(0, 0);
    ASSERT_EQ(DD_OK, ddraw->GetDisplayMode(&mode));
    EXPECT_EQ(static_cast<DWORD>(GetParam().bits), mode.ddpfPixelFormat.dwRGBBitCount);
    EXPECT_EQ(GetParam().red, mode.ddpfPixelFormat.dwRBitMask);
}

TEST_P(FormatTest, KeyedBlitUsesFullWidthPixelValues)
{
    // Pixel values that use every byte of the format, so a key compared on
    // too few bytes would show.
    const Format& f = GetParam();
    DWORD white = f.red | f.green | f.blue;
    DWORD keyValue = f.red;  // pure red
    LPDIRECTDRAWSURFACE source = Offscreen(3, 1);
    LPDIRECTDRAWSURFACE dest = Offscreen(3, 1);
    Fill(source, [&](int x, int) { return x == 1 ? keyValue : (x == 0 ? white : f.blue); });
    Fill(dest, [&](int, int) { return f.green; });
    DDCOLORKEY key = {keyValue, keyValue};
    ASSERT_EQ(DD_OK, source->SetColorKey(DDCKEY_SRCBLT, &key));
    ASSERT_EQ(DD_OK, dest->Blt(nullptr, source, nullptr, DDBLT_WAIT | DDBLT_KEYSRC, nullptr));
    Pixels got = Read(dest);
    EXPECT_EQ(white, got.At(0, 0));
    EXPECT_EQ(f.green, got.At(1, 0));
    EXPECT_EQ(f.blue, got.At(2, 0));
    EXPECT_EQ(0u, source->Release());
    EXPECT_EQ(0u, dest->Release());
}

TEST_P(FormatTest, CreateSurfaceAcceptsOnlyTheDesktopPixelFormat)
{
    DDSURFACEDESC desc = drawtest::OffscreenDescription(2, 2);
    desc.dwFlags |= DDSD_PIXELFORMAT;
    desc.ddpfPixelFormat.dwSize = sizeof(DDPIXELFORMAT);
    desc.ddpfPixelFormat.dwFlags = DDPF_RGB;
    desc.ddpfPixelFormat.dwRGBBitCount = GetParam().bits;
    desc.ddpfPixelFormat.dwRBitMask = GetParam().red;
    desc.ddpfPixelFormat.dwGBitMask = GetParam().green;
    desc.ddpfPixelFormat.dwBBitMask = GetParam().blue;
    LPDIRECTDRAWSURFACE surface = nullptr;
    ASSERT_EQ(DD_OK, ddraw->CreateSurface(&desc, &surface, nullptr));
    EXPECT_EQ(0u, surface->Release());
    desc.ddpfPixelFormat.dwRGBBitCount = GetParam().bits == 16 ? 32 : 16;
    EXPECT_EQ(DDERR_INVALIDPIXELFORMAT, ddraw->CreateSurface(&desc, &surface, nullptr));
}

INSTANTIATE_TEST_SUITE_P(Depths, FormatTest, ::testing::ValuesIn(kFormats),
                         [](const ::testing::TestParamInfo<Format>& info) {
                             return std::to_string(info.param.bits) + "Bits";
                         });

TEST(DirectDrawDepthChange, SurfaceKeepsTheDepthItWasMadeIn)
{
    // A surface is never converted behind the program's back when the
    // desktop's depth changes.
    PlatformTest::SetDesktopBits(16);
    LPDIRECTDRAW ddraw = nullptr;
    ASSERT_EQ(DD_OK, DirectDrawCreate(nullptr, &ddraw, nullptr));
    ASSERT_EQ(DD_OK, ddraw->SetCooperativeLevel(nullptr, DDSCL_NORMAL));
    DDSURFACEDESC desc = drawtest::OffscreenDescription(1, 1);
    LPDIRECTDRAWSURFACE surface = nullptr;
    ASSERT_EQ(DD_OK, ddraw->CreateSurface(&desc, &surface, nullptr));
    PlatformTest::SetDesktopBits(32);
    DDSURFACEDESC locked = Description(0, 0);
    ASSERT_EQ(DD_OK, surface->Lock(nullptr, &locked, DDLOCK_WAIT, nullptr));
    EXPECT_EQ(16u, locked.ddpfPixelFormat.dwRGBBitCount);
    EXPECT_EQ(DD_OK, surface->Unlock(nullptr));
    EXPECT_EQ(0u, surface->Release());
    EXPECT_EQ(0u, ddraw->Release());
}

}  // namespace
