// Shared ground for the display and surface tests: a headless window, raw
// pixel access through Lock, and small bitmap files written on the spot.
#ifndef VORBLOX_TESTS_GRAPHICSTESTSUPPORT_H
#define VORBLOX_TESTS_GRAPHICSTESTSUPPORT_H

#include <gtest/gtest.h>

#include <PlatformTest.h>

#include <stdio.h>
#include <string.h>

#include <string>
#include <vector>

#include "graphics/Display.h"
#include "graphics/Surface.h"
#include "shell/MainWindow.h"
#include "system/ErrorReport.h"
#include "system/SystemInfo.h"

namespace graphics_test {

inline const char* ClassName() { return "VorbloxGraphicsTest"; }

class GraphicsTest : public ::testing::Test {
protected:
    MainWindow window;

    void SetUp() override
    {
        PlatformTest::SetHeadless(true);
        PlatformTest::Reset();
        SetDxError(DD_OK);
        InitSystemInfo(GetModuleHandleA(NULL), SW_SHOWNORMAL);
        RegisterMainWindowClass(0, NULL, NULL, NULL, NULL, ClassName());
        ASSERT_TRUE(window.Create(ClassName(), "Vorblox v1.0", WS_OVERLAPPEDWINDOW, 50, 40,
                                  300 + systemInfo.borderWidth, 400 + systemInfo.borderHeight, NULL, NULL));
    }
};

// The raw pixel at (x, y) of an off-screen surface.
inline DWORD RawPixel(Surface& s, int x, int y)
{
    DDSURFACEDESC desc;
    memset(&desc, 0, sizeof(desc));
    desc.dwSize = sizeof(desc);
    if (s.surface->Lock(NULL, &desc, DDLOCK_WAIT, NULL) != DD_OK) return 0xBAADBAAD;
    DWORD bytes = desc.ddpfPixelFormat.dwRGBBitCount / 8;
    DWORD value = 0;
    memcpy(&value, static_cast<BYTE*>(desc.lpSurface) + y * desc.lPitch + x * bytes, bytes);
    s.surface->Unlock(NULL);
    return value;
}

// Fills the rectangle (the whole surface when width is 0) with a raw value.
inline void FillRaw(Surface& s, DWORD value, int left = 0, int top = 0, int width = 0, int height = 0)
{
    DDSURFACEDESC desc;
    memset(&desc, 0, sizeof(desc));
    desc.dwSize = sizeof(desc);
    ASSERT_EQ(DD_OK, s.surface->Lock(NULL, &desc, DDLOCK_WAIT, NULL));
    if (width == 0) {
        width = static_cast<int>(desc.dwWidth);
        height = static_cast<int>(desc.dwHeight);
    }
    DWORD bytes = desc.ddpfPixelFormat.dwRGBBitCount / 8;
    for (int y = top; y < top + height; ++y)
        for (int x = left; x < left + width; ++x)
            memcpy(static_cast<BYTE*>(desc.lpSurface) + y * desc.lPitch + x * bytes, &value, bytes);
    s.surface->Unlock(NULL);
}

inline SIZE SurfaceSize(Surface& s)
{
    DDSURFACEDESC desc;
    memset(&desc, 0, sizeof(desc));
    desc.dwSize = sizeof(desc);
    s.surface->GetSurfaceDesc(&desc);
    SIZE size = {static_cast<LONG>(desc.dwWidth), static_cast<LONG>(desc.dwHeight)};
    return size;
}

// A 24-bit bottom-up bitmap file's bytes; pixels are COLORREFs, row by row
// from the top.
inline std::vector<unsigned char> BitmapFileBytes(int width, int height, const std::vector<COLORREF>& pixels)
{
    int stride = (width * 3 + 3) & ~3;
    int imageSize = stride * height;
    std::vector<unsigned char> file(54 + imageSize, 0);
    auto put16 = [&](int at, unsigned v) {
        file[at] = v & 0xFF;
        file[at + 1] = (v >> 8) & 0xFF;
    };
    auto put32 = [&](int at, unsigned v) {
        put16(at, v & 0xFFFF);
        put16(at + 2, v >> 16);
    };
    file[0] = 'B';
    file[1] = 'M';
    put32(2, static_cast<unsigned>(file.size()));
    put32(10, 54);
    put32(14, 40);
    put32(18, static_cast<unsigned>(width));
    put32(22, static_cast<unsigned>(height));
    put16(26, 1);
    put16(28, 24);
    put32(34, static_cast<unsigned>(imageSize));
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            COLORREF c = pixels[y * width + x];
            unsigned char* at = &file[54 + (height - 1 - y) * stride + x * 3];
            at[0] = GetBValue(c);
            at[1] = GetGValue(c);
            at[2] = GetRValue(c);
        }
    return file;
}

// Writes the bitmap to a file in the test's temporary directory.
inline std::string WriteBitmapFile(const char* name, int width, int height, const std::vector<COLORREF>& pixels)
{
    std::string path = std::string(::testing::TempDir()) + name;
    std::vector<unsigned char> bytes = BitmapFileBytes(width, height, pixels);
    FILE* out = fopen(path.c_str(), "wb");
    if (out == NULL) return "";
    fwrite(bytes.data(), 1, bytes.size(), out);
    fclose(out);
    return path;
}

}  // namespace graphics_test

#endif
