// Pictures: LoadImageA from the program's resources and from files, the
// DIB section's description, and reading, writing and copying pixels.
#include "BmpBytes.h"
#include "RecordingWindow.h"

#include <PlatformResources.h>

#include <cstdio>
#include <dirent.h>
#include <sys/stat.h>

namespace {

const Picture& ResourcePicture()
{
    static const Picture picture = Gradient(5, 3);
    return picture;
}

// The test's own embedded pictures, registered once for the process.
void RegisterTestResources()
{
    static const std::vector<unsigned char> bytes = Bmp24(ResourcePicture());
    static const PlatformResource table[] = {
        {"TEST_PIC", PlatformResourceBitmap, bytes.data(), (unsigned long)bytes.size()},
    };
    static const bool registered = PlatformRegisterResources(table, 1);
    (void)registered;
}

class Bitmaps : public WindowTest {
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        RegisterTestResources();
    }
    void TearDown() override
    {
        for (HDC dc : dcs) DeleteDC(dc);
        for (HBITMAP bitmap : bitmaps) EXPECT_TRUE(DeleteObject(bitmap));
        WindowTest::TearDown();
    }
    HBITMAP FromFile(const std::string& path)
    {
        HBITMAP bitmap = (HBITMAP)LoadImageA(NULL, path.c_str(), IMAGE_BITMAP, 0, 0,
                                             LR_LOADFROMFILE | LR_CREATEDIBSECTION);
        if (bitmap) bitmaps.push_back(bitmap);
        return bitmap;
    }
    HBITMAP FromResource(const char* name)
    {
        HBITMAP bitmap =
            (HBITMAP)LoadImageA(GetModuleHandleA(NULL), name, IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION);
        if (bitmap) bitmaps.push_back(bitmap);
        return bitmap;
    }
    HDC Select(HBITMAP bitmap)
    {
        HDC dc = CreateCompatibleDC(NULL);
        EXPECT_NE(nullptr, dc);
        EXPECT_NE(nullptr, SelectObject(dc, bitmap));
        dcs.push_back(dc);
        return dc;
    }
    void ExpectPicture(HBITMAP bitmap, const Picture& picture)
    {
        HDC dc = Select(bitmap);
        for (int y = 0; y < picture.height; ++y)
            for (int x = 0; x < picture.width; ++x)
                EXPECT_EQ(picture.At(x, y), GetPixel(dc, x, y)) << "at " << x << "," << y;
    }
    std::vector<HBITMAP> bitmaps;
    std::vector<HDC> dcs;
};

TEST_F(Bitmaps, ResourceLoadsByNameAtItsOwnSize)
{
    HBITMAP bitmap = FromResource("TEST_PIC");
    ASSERT_NE(nullptr, bitmap);
    BITMAP bm;
    ASSERT_EQ((int)sizeof(BITMAP), GetObjectA(bitmap, sizeof bm, &bm));
    EXPECT_EQ(0, bm.bmType);
    EXPECT_EQ(5, bm.bmWidth);
    EXPECT_EQ(3, bm.bmHeight);
    EXPECT_EQ(1, bm.bmPlanes);
    EXPECT_EQ(24, bm.bmBitsPixel);
    EXPECT_EQ(16, bm.bmWidthBytes);  // 15 bytes rounded up to whole 32-bit words
    EXPECT_NE(nullptr, bm.bmBits);
    ExpectPicture(bitmap, ResourcePicture());
}

TEST_F(Bitmaps, ResourceNamesIgnoreCase) { EXPECT_NE(nullptr, FromResource("test_pic")); }

TEST_F(Bitmaps, MissingOrHiddenResourceIsNotFound)
{
    const char* names[] = {"NO_SUCH_PIC", "TEST_PIC"};
    PlatformTest::HideResource("TEST_PIC");
    for (const char* name : names) {
        SetLastError(0);
        EXPECT_EQ(nullptr, FromResource(name)) << name;
        EXPECT_EQ((DWORD)ERROR_RESOURCE_NAME_NOT_FOUND, GetLastError()) << name;
    }
}

TEST_F(Bitmaps, ResourceIsNotFoundByNumberOrInAnotherModule)
{
    EXPECT_EQ(nullptr, FromResource(MAKEINTRESOURCE(1)));
    EXPECT_EQ(nullptr, LoadImageA(NULL, "TEST_PIC", IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
}

TEST_F(Bitmaps, FilesOfEachLayoutLoadWithTheirPixels)
{
    const Picture picture = Gradient(7, 4);  // rows need padding in both depths
    struct Case {
        const char* name;
        std::vector<unsigned char> bytes;
        int bits;
    };
    const Case cases[] = {{"bottom-up-24.bmp", Bmp24(picture), 24},
                          {"top-down-24.bmp", Bmp24(picture, true), 24},
                          {"bottom-up-8.bmp", Bmp8(picture), 8},
                          {"top-down-8.bmp", Bmp8(picture, true), 8}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        HBITMAP bitmap = FromFile(WriteTemp(c.name, c.bytes));
        ASSERT_NE(nullptr, bitmap);
        BITMAP bm;
        ASSERT_EQ((int)sizeof(BITMAP), GetObjectA(bitmap, sizeof bm, &bm));
        EXPECT_EQ(7, bm.bmWidth);
        EXPECT_EQ(4, bm.bmHeight);
        EXPECT_EQ(c.bits, bm.bmBitsPixel);
        ExpectPicture(bitmap, picture);
    }
}

TEST_F(Bitmaps, AskedSizeScalesThePicture)
{
    std::string path = WriteTemp("scaled.bmp", Bmp24(Gradient(2, 2)));
    HBITMAP bitmap = (HBITMAP)LoadImageA(NULL, path.c_str(), IMAGE_BITMAP, 4, 6, LR_LOADFROMFILE);
    ASSERT_NE(nullptr, bitmap);
    bitmaps.push_back(bitmap);
    BITMAP bm;
    GetObjectA(bitmap, sizeof bm, &bm);
    EXPECT_EQ(4, bm.bmWidth);
    EXPECT_EQ(6, bm.bmHeight);
}

TEST_F(Bitmaps, BadFilesFailCleanly)
{
    const Picture picture = Gradient(4, 4);
    std::vector<unsigned char> good = Bmp24(picture);
    std::vector<unsigned char> truncated(good.begin(), good.end() - 10);
    std::vector<unsigned char> huge = good;
    huge[18] = huge[19] = huge[20] = 0x7F;  // width near two thousand million
    std::vector<unsigned char> wide = good;
    wide[18] = 0xA0, wide[19] = 0x86, wide[20] = 0x01, wide[21] = 0;  // 100000 pixels
    std::vector<unsigned char> notBmp = good;
    notBmp[0] = 'X';
    std::vector<unsigned char> farOffset = good;
    farOffset[10] = 0xFF, farOffset[11] = 0xFF;
    std::vector<unsigned char> header(good.begin(), good.begin() + 30);
    mkdir((TempDir() + "/folder.bmp").c_str(), 0700);
    struct Case {
        const char* what;
        std::string path;
        DWORD error;
    };
    const Case cases[] = {
        {"missing file", TempDir() + "/absent.bmp", ERROR_FILE_NOT_FOUND},
        {"directory", TempDir() + "/folder.bmp", ERROR_ACCESS_DENIED},
        {"zero bytes", WriteTemp("empty.bmp", {}), ERROR_INVALID_DATA},
        {"truncated pixels", WriteTemp("truncated.bmp", truncated), ERROR_INVALID_DATA},
        {"truncated header", WriteTemp("header.bmp", header), ERROR_INVALID_DATA},
        {"absurd width", WriteTemp("huge.bmp", huge), ERROR_INVALID_DATA},
        {"too wide", WriteTemp("wide.bmp", wide), ERROR_INVALID_DATA},
        {"not a bitmap", WriteTemp("notbmp.bmp", notBmp), ERROR_INVALID_DATA},
        {"pixels beyond the end", WriteTemp("offset.bmp", farOffset), ERROR_INVALID_DATA},
    };
    for (const Case& c : cases) {
        SetLastError(0);
        EXPECT_EQ(nullptr, FromFile(c.path)) << c.what;
        EXPECT_EQ(c.error, GetLastError()) << c.what;
    }
}

std::vector<std::string> CorpusFiles(const char* folder)
{
    std::vector<std::string> files;
#ifdef VORBLOX_BMPSUITE_DIR
    std::string dir = std::string(VORBLOX_BMPSUITE_DIR) + "/" + folder;
    if (DIR* d = opendir(dir.c_str())) {
        while (dirent* e = readdir(d)) {
            std::string name = e->d_name;
            if (name.size() > 4 && name.substr(name.size() - 4) == ".bmp") files.push_back(dir + "/" + name);
        }
        closedir(d);
    }
#else
    (void)folder;
#endif
    return files;
}

TEST_F(Bitmaps, EveryBadCorpusFileIsRefused)
{
    std::vector<std::string> files = CorpusFiles("b");
    if (files.empty()) GTEST_SKIP() << "no BMP corpus on this machine";
    for (const std::string& path : files) {
        SetLastError(0);
        EXPECT_EQ(nullptr, FromFile(path)) << path;
        EXPECT_NE(0u, GetLastError()) << path;
    }
}

TEST_F(Bitmaps, EveryGoodCorpusFileLoadsAtItsSize)
{
    std::vector<std::string> files = CorpusFiles("g");
    if (files.empty()) GTEST_SKIP() << "no BMP corpus on this machine";
    for (const std::string& path : files) {
        // The size as the file's own header gives it (the core header has
        // 16-bit fields, the others 32-bit ones; a negative height is top-down).
        std::vector<unsigned char> head(26);
        FILE* f = std::fopen(path.c_str(), "rb");
        ASSERT_NE(nullptr, f);
        ASSERT_EQ(head.size(), std::fread(head.data(), 1, head.size(), f));
        std::fclose(f);
        bool core = head[14] == 12;
        long width = core ? head[18] | head[19] << 8 : (int32_t)(head[18] | head[19] << 8 | head[20] << 16 | (uint32_t)head[21] << 24);
        long height = core ? head[20] | head[21] << 8 : (int32_t)(head[22] | head[23] << 8 | head[24] << 16 | (uint32_t)head[25] << 24);
        HBITMAP bitmap = FromFile(path);
        ASSERT_NE(nullptr, bitmap) << path;
        BITMAP bm;
        GetObjectA(bitmap, sizeof bm, &bm);
        EXPECT_EQ(width, bm.bmWidth) << path;
        EXPECT_EQ(height < 0 ? -height : height, bm.bmHeight) << path;
    }
}

TEST_F(Bitmaps, CorpusEncodingsOfOnePictureAgree)
{
#ifdef VORBLOX_BMPSUITE_DIR
    const std::string g = std::string(VORBLOX_BMPSUITE_DIR) + "/g/";
    // Each group holds one picture in several encodings.
    const std::vector<std::vector<const char*>> groups = {
        {"rgb24.bmp", "rgb32.bmp", "rgb32bf.bmp", "rgb32bfdef.bmp", "rgb24pal.bmp"},
        {"pal8.bmp", "pal8rle.bmp", "pal8topdown.bmp", "pal8os2.bmp", "pal8v4.bmp", "pal8v5.bmp"},
        {"pal4.bmp", "pal4rle.bmp"},
        {"rgb16.bmp", "rgb16bfdef.bmp"},
    };
    for (const auto& group : groups) {
        HDC first = Select(FromFile(g + group[0]));
        for (size_t i = 1; i < group.size(); ++i) {
            HDC other = Select(FromFile(g + group[i]));
            int differing = 0;
            for (int y = 0; y < 64; ++y)
                for (int x = 0; x < 127; ++x) differing += GetPixel(first, x, y) != GetPixel(other, x, y);
            EXPECT_EQ(0, differing) << group[0] << " vs " << group[i];
        }
    }
#else
    GTEST_SKIP() << "no BMP corpus on this machine";
#endif
}

TEST_F(Bitmaps, SetPixelWritesAndReportsTheColour)
{
    HDC dc = Select(FromFile(WriteTemp("paint.bmp", Bmp24(Gradient(3, 3)))));
    EXPECT_EQ(RGB(1, 2, 3), SetPixel(dc, 2, 1, RGB(1, 2, 3)));
    EXPECT_EQ(RGB(1, 2, 3), GetPixel(dc, 2, 1));
    EXPECT_EQ(CLR_INVALID, GetPixel(dc, 3, 0));
    EXPECT_EQ(CLR_INVALID, GetPixel(dc, -1, 0));
    EXPECT_EQ(CLR_INVALID, SetPixel(dc, 0, 3, 0));
}

TEST_F(Bitmaps, StretchBltCopiesAndConverts)
{
    const Picture picture = Gradient(4, 3);
    HDC source = Select(FromFile(WriteTemp("source8.bmp", Bmp8(picture))));
    HDC dest = Select(FromFile(WriteTemp("dest24.bmp", Bmp24(Gradient(4, 3)))));
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 4; ++x) SetPixel(dest, x, y, 0);
    ASSERT_TRUE(StretchBlt(dest, 0, 0, 4, 3, source, 0, 0, 4, 3, SRCCOPY));
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 4; ++x) EXPECT_EQ(picture.At(x, y), GetPixel(dest, x, y));
}

TEST_F(Bitmaps, StretchBltScalesAPartToTheWholeDestination)
{
    const Picture picture = Gradient(4, 4);
    HDC source = Select(FromFile(WriteTemp("big.bmp", Bmp24(picture))));
    HDC dest = Select(FromFile(WriteTemp("target.bmp", Bmp24(Gradient(4, 4)))));
    // The top-left 2 x 2 quarter, doubled.
    ASSERT_TRUE(StretchBlt(dest, 0, 0, 4, 4, source, 0, 0, 2, 2, SRCCOPY));
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x) EXPECT_EQ(picture.At(x / 2, y / 2), GetPixel(dest, x, y)) << x << "," << y;
}

TEST_F(Bitmaps, StretchBltRefusesWhatItDoesNotDo)
{
    HDC dc = Select(FromFile(WriteTemp("rop.bmp", Bmp24(Gradient(2, 2)))));
    EXPECT_FALSE(StretchBlt(dc, 0, 0, 2, 2, dc, 0, 0, 2, 2, 0x00EE0086));  // SRCPAINT
    EXPECT_FALSE(StretchBlt(dc, 0, 0, 2, 2, NULL, 0, 0, 2, 2, SRCCOPY));
}

TEST_F(Bitmaps, BitmapIsInOneDcAtATime)
{
    HBITMAP bitmap = FromFile(WriteTemp("once.bmp", Bmp24(Gradient(2, 2))));
    HDC first = Select(bitmap);
    HDC second = CreateCompatibleDC(NULL);
    dcs.push_back(second);
    EXPECT_EQ(nullptr, SelectObject(second, bitmap));
    EXPECT_FALSE(DeleteObject(bitmap));  // still selected
    DeleteDC(first);
    dcs.erase(dcs.begin());
    EXPECT_NE(nullptr, SelectObject(second, bitmap));
}

TEST_F(Bitmaps, GetObjectRefusesOtherHandles)
{
    BITMAP bm;
    EXPECT_EQ(0, GetObjectA(GetStockObject(BLACK_BRUSH), sizeof bm, &bm));
    EXPECT_EQ(0, GetObjectA(reinterpret_cast<HANDLE>(0x77), sizeof bm, &bm));
}

TEST_F(Bitmaps, StockBrushesHaveTheirGreys)
{
    HDC dc = Select(FromFile(WriteTemp("brush.bmp", Bmp24(Gradient(2, 2)))));
    const struct {
        int brush;
        COLORREF color;
    } cases[] = {{WHITE_BRUSH, RGB(255, 255, 255)}, {LTGRAY_BRUSH, RGB(192, 192, 192)}, {GRAY_BRUSH, RGB(128, 128, 128)},
                 {DKGRAY_BRUSH, RGB(64, 64, 64)},   {BLACK_BRUSH, RGB(0, 0, 0)}};
    RECT all = {0, 0, 2, 2};
    for (const auto& c : cases) {
        ASSERT_TRUE(FillRect(dc, &all, (HBRUSH)GetStockObject(c.brush)));
        EXPECT_EQ(c.color, GetPixel(dc, 1, 1));
    }
    EXPECT_TRUE(DeleteObject(GetStockObject(BLACK_BRUSH)));  // stock objects survive
    EXPECT_TRUE(FillRect(dc, &all, (HBRUSH)GetStockObject(BLACK_BRUSH)));
}

}  // namespace
