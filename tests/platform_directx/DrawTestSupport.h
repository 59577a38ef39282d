// Helpers for DirectDraw tests that use the DirectDraw API alone: a
// DirectDraw object in the normal cooperative level, surfaces of a given
// size, and raw pixel access through Lock whatever the desktop's depth.
#ifndef VORBLOX_TESTS_DRAW_TEST_SUPPORT_H
#define VORBLOX_TESTS_DRAW_TEST_SUPPORT_H

#include <ddraw.h>
#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <vector>

namespace drawtest {

inline DDSURFACEDESC Description(DWORD flags, DWORD caps, DWORD width = 0, DWORD height = 0)
{
    DDSURFACEDESC desc;
    std::memset(&desc, 0, sizeof(desc));
    desc.dwSize = sizeof(desc);
    desc.dwFlags = flags;
    desc.ddsCaps.dwCaps = caps;
    desc.dwWidth = width;
    desc.dwHeight = height;
    return desc;
}

inline DDSURFACEDESC OffscreenDescription(DWORD width, DWORD height)
{
    return Description(DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT, DDSCAPS_OFFSCREENPLAIN, width, height);
}

// A raw pixel image read from or written to a surface, row by row.
struct Pixels {
    int width = 0;
    int height = 0;
    std::vector<DWORD> values;
    DWORD At(int x, int y) const { return values[y * width + x]; }
};

class DirectDrawTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_EQ(DD_OK, DirectDrawCreate(nullptr, &ddraw, nullptr));
        ASSERT_EQ(DD_OK, ddraw->SetCooperativeLevel(nullptr, DDSCL_NORMAL));
    }

    // Every test releases what it made; the DirectDraw object goes last.
    void TearDown() override
    {
        if (ddraw) {
            EXPECT_EQ(0u, ddraw->Release());
        }
    }

    LPDIRECTDRAWSURFACE Offscreen(DWORD width, DWORD height)
    {
        DDSURFACEDESC desc = OffscreenDescription(width, height);
        LPDIRECTDRAWSURFACE surface = nullptr;
        EXPECT_EQ(DD_OK, ddraw->CreateSurface(&desc, &surface, nullptr));
        return surface;
    }

    static int BytesPerPixel(LPDIRECTDRAWSURFACE surface)
    {
        DDSURFACEDESC desc = Description(0, 0);
        EXPECT_EQ(DD_OK, surface->GetSurfaceDesc(&desc));
        return static_cast<int>(desc.ddpfPixelFormat.dwRGBBitCount / 8);
    }

    // The surface's raw pixel values, masked to its bit count.
    static Pixels Read(LPDIRECTDRAWSURFACE surface)
    {
        Pixels result;
        DDSURFACEDESC desc = Description(0, 0);
        if (surface->Lock(nullptr, &desc, DDLOCK_WAIT, nullptr) != DD_OK) {
            ADD_FAILURE() << "Lock failed";
            return result;
        }
        int bytes = static_cast<int>(desc.ddpfPixelFormat.dwRGBBitCount / 8);
        result.width = static_cast<int>(desc.dwWidth);
        result.height = static_cast<int>(desc.dwHeight);
        for (int y = 0; y < result.height; ++y) {
            const BYTE* row = static_cast<const BYTE*>(desc.lpSurface) + y * desc.lPitch;
            for (int x = 0; x < result.width; ++x) {
                DWORD value = 0;
                for (int b = 0; b < bytes; ++b) value |= static_cast<DWORD>(row[x * bytes + b]) << (8 * b);
                result.values.push_back(value);
            }
        }
        surface->Unlock(nullptr);
        return result;
    }

    // Writes value(x, y) into every pixel; values must fit in 16 bits so
    // that they mean the same in every depth.
    template <class Pattern>
    static void Fill(LPDIRECTDRAWSURFACE surface, Pattern value)
    {
        DDSURFACEDESC desc = Description(0, 0);
        ASSERT_EQ(DD_OK, surface->Lock(nullptr, &desc, DDLOCK_WAIT, nullptr));
        int bytes = static_cast<int>(desc.ddpfPixelFormat.dwRGBBitCount / 8);
        for (DWORD y = 0; y < desc.dwHeight; ++y) {
            BYTE* row = static_cast<BYTE*>(desc.lpSurface) + y * desc.lPitch;
            for (DWORD x = 0; x < desc.dwWidth; ++x) {
                DWORD v = value(static_cast<int>(x), static_cast<int>(y));
                for (int b = 0; b < bytes; ++b) row[x * bytes + b] = static_cast<BYTE>(v >> (8 * b));
            }
        }
        ASSERT_EQ(DD_OK, surface->Unlock(nullptr));
    }

    // A distinct, non-zero value for every pixel of a small surface.
    static DWORD Pattern(int x, int y) { return static_cast<DWORD>(0x100 + y * 16 + x + 1); }

public:
    LPDIRECTDRAW ddraw = nullptr;
};

}  // namespace drawtest

#endif
