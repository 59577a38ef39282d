// Pictures: LoadImageA from files, the DIB section's description, and
// reading, writing and copying pixels.
#include "PictureFiles.h"
#include "SystemDlls.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <tuple>
#include <vector>

namespace fs = std::filesystem;

namespace {

using apitest::SystemMay;

class Bitmaps : public ::testing::Test {
protected:
    void SetUp() override { fs::create_directories(dir); }
    void TearDown() override
    {
        for (HDC dc : dcs) DeleteDC(dc);
        for (HBITMAP bitmap : bitmaps) EXPECT_TRUE(DeleteObject(bitmap));
        fs::remove_all(dir);
    }
    HBITMAP Load(HINSTANCE module, const std::string& name, UINT flags = 0)
    {
        HBITMAP bitmap = (HBITMAP)LoadImageA(module, name.c_str(), IMAGE_BITMAP, 0, 0, flags | LR_CREATEDIBSECTION);
        if (bitmap) bitmaps.push_back(bitmap);
        return bitmap;
    }
    HBITMAP FromFile(const std::string& path) { return Load(NULL, path, LR_LOADFROMFILE); }
    // The bytes as a file of this test's folder.
    std::string Write(const std::string& bytes)
    {
        std::string path = dir + "/" + std::to_string(++files) + ".bmp";
        std::ofstream(path, std::ios::binary) << bytes;
        return path;
    }
    // A memory DC holding the bitmap.
    HDC Select(HBITMAP bitmap)
    {
        dcs.push_back(CreateCompatibleDC(NULL));
        EXPECT_NE(nullptr, SelectObject(dcs.back(), bitmap));
        return dcs.back();
    }
    // A folder of the test's own: other runs of the suite may share the machine.
    std::string dir = (fs::temp_directory_path() / ("vorblox-bmp-" + std::to_string(std::random_device()()))).string();
    int files = 0;
    std::vector<HBITMAP> bitmaps;
    std::vector<HDC> dcs;
};

TEST_F(Bitmaps, FilesOfEachLayoutLoadWithTheirPixels)
{
    // Rows need padding in both depths.
    for (int bits : {24, 8})
        for (bool topDown : {false, true}) {
            const Picture picture = {7, 4};
            HBITMAP bitmap = FromFile(Write(Bmp(picture, bits, topDown)));
            BITMAP bm = {};
            EXPECT_EQ((int)sizeof(BITMAP), GetObjectA(bitmap, sizeof bm, &bm));
            EXPECT_EQ((std::vector<LONG>{0, 7, 4, bits == 24 ? 24 : 8, 1, bits, true}),
                      (std::vector<LONG>{bm.bmType, bm.bmWidth, bm.bmHeight, bm.bmWidthBytes, bm.bmPlanes,
                                         bm.bmBitsPixel, bm.bmBits != nullptr}))
                << bits << (topDown ? " top-down" : " bottom-up");
            HDC dc = Select(bitmap);
            int wrong = 0;
            for (int y = 0; y < picture.height; ++y)
                for (int x = 0; x < picture.width; ++x) wrong += picture.At(x, y) != GetPixel(dc, x, y);
            // Wine 8 gives a top-down file its size but not its pixels. The
            // game's own pictures are bottom-up.
            EXPECT_TRUE(wrong == 0 || SystemMay(topDown)) << wrong << " pixels wrong, " << bits
                                                          << (topDown ? " top-down" : " bottom-up");
        }
}

TEST_F(Bitmaps, BadFilesFailCleanly)
{
    const std::string good = Bmp({4, 4}, 24);
    fs::create_directory(dir + "/folder.bmp");
    // The layer refuses a picture it cannot read whole. Windows and Wine read
    // what there is of a cut file, and give reasons of their own for the
    // others (Wine: ERROR_FILE_INVALID for an empty file, none for an absurd
    // width); `own` marks those cases.
    const std::tuple<const char*, std::string, DWORD, bool> cases[] = {
        {"missing file", dir + "/absent.bmp", ERROR_FILE_NOT_FOUND, false},
        {"directory", dir + "/folder.bmp", ERROR_ACCESS_DENIED, false},
        {"zero bytes", Write(""), ERROR_INVALID_DATA, true},
        {"truncated", Write(good.substr(0, good.size() - 10)), ERROR_INVALID_DATA, true},
        {"absurd width", Write(std::string(good).replace(18, 3, "\x7F\x7F\x7F")), ERROR_INVALID_DATA, true},
    };
    for (const auto& [what, path, error, own] : cases) {
        SetLastError(0);
        const bool refused = FromFile(path) == nullptr;
        const DWORD said = GetLastError();
        EXPECT_TRUE((refused && said == error) || SystemMay(own)) << what << ": " << refused << ", " << said;
    }
}

// The .bmp files of one folder of the shared corpus, when this machine has it.
std::vector<std::string> CorpusFiles([[maybe_unused]] const char* folder)
{
    std::vector<std::string> files;
#ifdef VORBLOX_BMPSUITE_DIR
    for (const auto& entry : fs::directory_iterator(fs::path(VORBLOX_BMPSUITE_DIR) / folder))
        if (entry.path().extension() == ".bmp") files.push_back(entry.path().string());
#endif
    return files;
}

// The shared corpus's bad files are refused; its good ones load at the size
// their own headers give: 16-bit fields in the core header, 32-bit ones in
// the others, a negative height top-down.
TEST_F(Bitmaps, CorpusFilesAreRefusedOrLoadAtTheirSize)
{
    if (CorpusFiles("b").empty() || CorpusFiles("g").empty()) GTEST_SKIP() << "no BMP corpus on this machine";
    for (const std::string& path : CorpusFiles("b")) {
        SetLastError(0);
        const bool refused = FromFile(path) == nullptr;
        const DWORD said = GetLastError();
        // Windows and Wine load what they can of many of these, and refuse
        // some without a reason.
        EXPECT_TRUE((refused && said != 0) || SystemMay(true)) << path << ": " << refused << ", " << said;
    }
    for (const std::string& path : CorpusFiles("g")) {
        unsigned char h[26] = {};
        std::ifstream(path, std::ios::binary).read((char*)h, sizeof h);
        auto field = [&](int at, int n) { uint32_t v = 0; while (n--) v = v << 8 | h[at + n]; return (LONG)(int32_t)v; };
        const bool core = h[14] == 12;
        const LONG width = field(18, core ? 2 : 4), height = field(core ? 20 : 22, core ? 2 : 4);
        BITMAP bm = {};
        EXPECT_NE(0, GetObjectA(FromFile(path), sizeof bm, &bm)) << path;
        EXPECT_EQ((std::vector<LONG>{width, std::abs(height)}), (std::vector<LONG>{bm.bmWidth, bm.bmHeight})) << path;
    }
}

TEST_F(Bitmaps, PixelsAreSetAndStretchBltCopiesConvertsAndScales)
{
    const Picture picture = {4, 4};
    HDC source = Select(FromFile(Write(Bmp(picture, 8)))), dest = Select(FromFile(Write(Bmp(picture, 24))));
    RECT all = {0, 0, 4, 4};
    FillRect(dest, &all, (HBRUSH)GetStockObject(BLACK_BRUSH));
    EXPECT_EQ(RGB(1, 2, 3), SetPixel(dest, 2, 3, RGB(1, 2, 3)));  // the colour actually stored
    ASSERT_TRUE(StretchBlt(dest, 0, 0, 4, 3, source, 0, 0, 4, 3, SRCCOPY));  // 8 bits to 24
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x)
            EXPECT_EQ(y < 3 ? picture.At(x, y) : x == 2 ? RGB(1, 2, 3) : 0, GetPixel(dest, x, y)) << x << "," << y;
    // The top-left quarter, doubled.
    ASSERT_TRUE(StretchBlt(dest, 0, 0, 4, 4, source, 0, 0, 2, 2, SRCCOPY));
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x) EXPECT_EQ(picture.At(x / 2, y / 2), GetPixel(dest, x, y)) << x << "," << y;
}

}  // namespace
