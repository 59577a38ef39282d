// Shared ground for the display and surface tests: a headless window the
// picture's size, raw pixel access through Lock, and small bitmap files.
#ifndef VORBLOX_TESTS_GRAPHICSTESTSUPPORT_H
#define VORBLOX_TESTS_GRAPHICSTESTSUPPORT_H

#include <gtest/gtest.h>

#include <PlatformTest.h>

#include <stdio.h>
#include <string.h>

#include <algorithm>
#include <string>
#include <vector>

#include "graphics/Display.h"
#include "graphics/Surface.h"
#include "shell/MainWindow.h"
#include "system/ErrorReport.h"
#include "system/SystemInfo.h"

namespace graphics_test {

class GraphicsTest : public ::testing::Test {
protected:
    MainWindow window;

    void SetUp() override
    {
        PlatformTest::SetHeadless(true);
        PlatformTest::Reset();
        SetDxError(DD_OK);
        InitSystemInfo(GetModuleHandleA(NULL), SW_SHOWNORMAL);
        RegisterMainWindowClass(0, NULL, NULL, NULL, NULL, "VorbloxGraphicsTest");
        ASSERT_TRUE(window.Create("VorbloxGraphicsTest", "Vorblox v1.0", WS_OVERLAPPEDWINDOW, 50, 40,
                                  300 + systemInfo.borderWidth, 400 + systemInfo.borderHeight, NULL, NULL));
    }
};

// Calls use(pixel address, bytes per pixel) for every pixel of the rectangle
// (clipped to the surface) while the surface is locked.
template <class Use>
bool ForPixels(Surface& s, Use use, int left = 0, int top = 0, int width = 1 << 16, int height = 1 << 16)
{
    DDSURFACEDESC d;
    memset(&d, 0, sizeof(d));
    d.dwSize = sizeof(d);
    if (s.surface == NULL || s.surface->Lock(NULL, &d, DDLOCK_WAIT, NULL) != DD_OK) return false;
    const int bytes = static_cast<int>(d.ddpfPixelFormat.dwRGBBitCount / 8);
    for (int y = top; y < std::min(top + height, static_cast<int>(d.dwHeight)); ++y)
        for (int x = left; x < std::min(left + width, static_cast<int>(d.dwWidth)); ++x)
            use(static_cast<BYTE*>(d.lpSurface) + y * d.lPitch + x * bytes, bytes);
    s.surface->Unlock(NULL);
    return true;
}

inline DWORD RawPixel(Surface& s, int x, int y)
{
    DWORD value = 0;
    ForPixels(s, [&](BYTE* at, int bytes) { memcpy(&value, at, bytes); }, x, y, 1, 1);
    return value;
}

// Fills the rectangle (the whole surface when none is given) with a raw value.
inline void FillRaw(Surface& s, DWORD value, int left = 0, int top = 0, int width = 1 << 16, int height = 1 << 16)
{
    EXPECT_TRUE(ForPixels(s, [&](BYTE* at, int bytes) { memcpy(at, &value, bytes); }, left, top, width,
                          height));
}

// Writes a 24-bit bottom-up bitmap file of the colours (row by row from the
// top) to the temporary directory; returns its path.
inline std::string WriteBitmapFile(const char* name, int width, int height, const std::vector<COLORREF>& colours)
{
    const int stride = (width * 3 + 3) & ~3;
    std::vector<unsigned char> b(54 + stride * height, 0);
    auto put = [&](int at, size_t v) {
        for (int i = 0; i < 4; ++i) b[at + i] = static_cast<unsigned char>(v >> (8 * i));
    };
    b[0] = 'B', b[1] = 'M';
    put(2, b.size()), put(10, 54), put(14, 40), put(18, width), put(22, height), put(26, 1 | 24 << 16);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            unsigned char* at = &b[54 + (height - 1 - y) * stride + x * 3];
            COLORREF c = colours[y * width + x];
            at[0] = GetBValue(c), at[1] = GetGValue(c), at[2] = GetRValue(c);
        }
    std::string path = ::testing::TempDir() + name;
    FILE* out = fopen(path.c_str(), "wb");
    if (out != NULL) fwrite(b.data(), 1, b.size(), out), fclose(out);
    return path;
}

}  // namespace graphics_test

#endif
