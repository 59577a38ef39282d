// Pictures among the program's resources, as the layer keeps them
// (PlatformRegisterResources), found by name or hidden by the test control.
#include "PictureFiles.h"

#include <PlatformResources.h>
#include <PlatformTest.h>

#include <gtest/gtest.h>

#include <vector>

namespace {

class Resources : public ::testing::Test {
protected:
    void SetUp() override
    {
        static const std::string bytes = Bmp({5, 3}, 24);
        static const PlatformResource table[] = {
            {"TEST_PIC", PlatformResourceBitmap, (const unsigned char*)bytes.data(), (unsigned long)bytes.size()}};
        [[maybe_unused]] static const bool registered = PlatformRegisterResources(table, 1);
    }
    void TearDown() override
    {
        if (bitmap) {
            EXPECT_TRUE(DeleteObject(bitmap));
        }
    }
    HBITMAP Load(const char* name)
    {
        bitmap = (HBITMAP)LoadImageA(GetModuleHandleA(NULL), name, IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION);
        return bitmap;
    }
    HBITMAP bitmap = NULL;
};

TEST_F(Resources, APictureLoadsByNameAtItsOwnSize)
{
    // Names ignore case; 15 bytes a row, rounded up to whole 32-bit words.
    BITMAP bm = {};
    ASSERT_EQ((int)sizeof(BITMAP), GetObjectA(Load("test_pic"), sizeof bm, &bm));
    EXPECT_EQ((std::vector<LONG>{0, 5, 3, 16, 1, 24, true}), (std::vector<LONG>{bm.bmType, bm.bmWidth, bm.bmHeight,
                                                                               bm.bmWidthBytes, bm.bmPlanes,
                                                                               bm.bmBitsPixel, bm.bmBits != nullptr}));
    HDC dc = CreateCompatibleDC(NULL);
    SelectObject(dc, bitmap);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 5; ++x) EXPECT_EQ((Picture{5, 3}.At(x, y)), GetPixel(dc, x, y)) << x << "," << y;
    DeleteDC(dc);
}

TEST_F(Resources, AnUnknownOrHiddenPictureIsNotFound)
{
    PlatformTest::HideResource("TEST_PIC");
    for (const char* name : {"NO_SUCH_PIC", "TEST_PIC"}) {
        SetLastError(0);
        EXPECT_EQ(nullptr, Load(name)) << name;
        EXPECT_EQ((DWORD)ERROR_RESOURCE_NAME_NOT_FOUND, GetLastError()) << name;
    }
}

}  // namespace
