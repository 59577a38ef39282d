// A DirectDraw object in the normal cooperative level, surfaces of a given
// size with raw pixel access through Lock whatever the desktop's depth, and
// a plain window. The Windows API alone.
#ifndef VORBLOX_TESTS_DRAW_TEST_H
#define VORBLOX_TESTS_DRAW_TEST_H

#include <ddraw.h>
#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <vector>

namespace dxtest {

inline DDSURFACEDESC Description(DWORD flags = 0, DWORD caps = 0, DWORD width = 0, DWORD height = 0)
{
    DDSURFACEDESC desc = {};
    desc.dwSize = sizeof(desc);
    desc.dwFlags = flags;
    desc.ddsCaps.dwCaps = caps;
    desc.dwWidth = width;
    desc.dwHeight = height;
    return desc;
}

// A distinct, non-zero value for every pixel of a small surface; it fits in
// 16 bits, so it means the same in every depth.
inline DWORD Pattern(int x, int y) { return static_cast<DWORD>(0x100 + y * 16 + x + 1); }

// The source pixel a blit from `source` to `dest` shows at (x, y) of the
// destination, the nearest one when stretched; x = -1: outside `dest`.
inline POINT SourcePixel(RECT dest, RECT source, int x, int y)
{
    if (x < dest.left || x >= dest.right || y < dest.top || y >= dest.bottom) return POINT{-1, 0};
    return POINT{source.left + (x - dest.left) * (source.right - source.left) / (dest.right - dest.left),
                 source.top + (y - dest.top) * (source.bottom - source.top) / (dest.bottom - dest.top)};
}

// At the end every surface the test made and the DirectDraw object have
// their last references here.
class DirectDrawTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_EQ(DD_OK, DirectDrawCreate(nullptr, &ddraw, nullptr));
        ASSERT_EQ(DD_OK, ddraw->SetCooperativeLevel(nullptr, DDSCL_NORMAL));
    }
    void TearDown() override
    {
        for (LPDIRECTDRAWSURFACE surface : made) EXPECT_EQ(0u, surface->Release());
        if (ddraw) {
            EXPECT_EQ(0u, ddraw->Release());
        }
    }
    LPDIRECTDRAWSURFACE Made(DDSURFACEDESC desc)
    {
        LPDIRECTDRAWSURFACE surface = nullptr;
        EXPECT_EQ(DD_OK, ddraw->CreateSurface(&desc, &surface, nullptr));
        if (surface) made.push_back(surface);
        return surface;
    }
    LPDIRECTDRAWSURFACE Offscreen(DWORD width, DWORD height)
    {
        return Made(Description(DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT, DDSCAPS_OFFSCREENPLAIN, width, height));
    }
    LPDIRECTDRAWSURFACE Primary() { return Made(Description(DDSD_CAPS, DDSCAPS_PRIMARYSURFACE)); }

    // Raw pixel values, row by row, through Lock.
    template <class Each>
    static void Pixels(LPDIRECTDRAWSURFACE surface, Each each)
    {
        DDSURFACEDESC desc = Description();
        ASSERT_EQ(DD_OK, surface->Lock(nullptr, &desc, DDLOCK_WAIT, nullptr));
        const DWORD bytes = desc.ddpfPixelFormat.dwRGBBitCount / 8;
        for (DWORD y = 0; y < desc.dwHeight; ++y)
            for (DWORD x = 0; x < desc.dwWidth; ++x) {
                BYTE* pixel = static_cast<BYTE*>(desc.lpSurface) + y * desc.lPitch + x * bytes;
                DWORD value = 0;
                std::memcpy(&value, pixel, bytes);  // little-endian, as DirectDraw's formats are
                each(static_cast<int>(x), static_cast<int>(y), value);
                std::memcpy(pixel, &value, bytes);
            }
        ASSERT_EQ(DD_OK, surface->Unlock(nullptr));
    }
    template <class Value>
    static void Fill(LPDIRECTDRAWSURFACE surface, Value value)
    {
        Pixels(surface, [&](int x, int y, DWORD& pixel) { pixel = value(x, y); });
    }
    static std::vector<DWORD> Read(LPDIRECTDRAWSURFACE surface)
    {
        std::vector<DWORD> values;
        Pixels(surface, [&](int, int, DWORD& pixel) { values.push_back(pixel); });
        return values;
    }
    LPDIRECTDRAW ddraw = nullptr;
    std::vector<LPDIRECTDRAWSURFACE> made;
};

// A plain top-level window, destroyed with the object.
class TestWindow {
public:
    TestWindow(int x, int y, int width, int height)
    {
        WNDCLASSA wc = {0, DefWindowProcA, 0, 0, nullptr, nullptr, nullptr, nullptr, nullptr, "VorbloxDirectXTest"};
        RegisterClassA(&wc);  // already registered by an earlier test: fine
        hwnd = CreateWindowExA(0, wc.lpszClassName, "DirectX test", WS_OVERLAPPEDWINDOW, x, y, width, height,
                               nullptr, nullptr, nullptr, nullptr);
        ShowWindow(hwnd, SW_SHOW);
    }
    ~TestWindow()
    {
        if (IsWindow(hwnd)) DestroyWindow(hwnd);
    }
    HWND hwnd = nullptr;
};

}  // namespace dxtest

#endif
