// Pictures: LoadImageA from the program's resources and from files, the
// DIB section's description, and reading, writing and copying pixels.
#include "RecordingWindow.h"

#include <PlatformResources.h>

#include <filesystem>
#include <fstream>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

// A picture with a distinct colour in every pixel.
struct Picture {
    int width, height;
    COLORREF At(int x, int y) const { return RGB(20 + 30 * x, 10 + 40 * y, (x * 7 + y * 13) & 0xFF); }
};

// The picture as a 24-bit file, or an 8-bit one whose palette holds its
// pixels in order.
std::string Bmp(const Picture& p, int bits, bool topDown = false)
{
    const int colours = bits == 8 ? p.width * p.height : 0, stride = (p.width * bits + 31) / 32 * 4;
    const int offset = 54 + 4 * colours;
    std::string b(offset + stride * p.height, '\0');
    auto put = [&](int at, unsigned v, int bytes) {
        for (int i = 0; i < bytes; ++i) b[at + i] = (char)(v >> (8 * i));
    };
    auto colour = [&](int at, COLORREF c) { put(at, GetBValue(c) | GetGValue(c) << 8 | GetRValue(c) << 16, 3); };
    b[0] = 'B', b[1] = 'M';
    put(2, b.size(), 4), put(10, offset, 4), put(14, 40, 4), put(18, p.width, 4), put(22, topDown ? -p.height : p.height, 4);
    put(26, 1, 2), put(28, bits, 2), put(34, stride * p.height, 4), put(46, colours, 4);
    for (int y = 0; y < p.height; ++y)
        for (int x = 0; x < p.width; ++x) {
            int at = offset + (topDown ? y : p.height - 1 - y) * stride + x * bits / 8;
            if (bits == 8) colour(54 + 4 * (y * p.width + x), p.At(x, y)), b[at] = (char)(y * p.width + x);
            else colour(at, p.At(x, y));
        }
    return b;
}

class Bitmaps : public WindowTest {
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        static const std::string bytes = Bmp({5, 3}, 24);
        static const PlatformResource table[] = {
            {"TEST_PIC", PlatformResourceBitmap, (const unsigned char*)bytes.data(), (unsigned long)bytes.size()}};
        [[maybe_unused]] static const bool registered = PlatformRegisterResources(table, 1);
        fs::create_directories(dir);
    }
    void TearDown() override
    {
        for (HDC dc : dcs) DeleteDC(dc);
        for (HBITMAP bitmap : bitmaps) EXPECT_TRUE(DeleteObject(bitmap));
        fs::remove_all(dir);
        WindowTest::TearDown();
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
    // Width, height and bits per pixel, with the picture's pixels checked.
    std::vector<LONG> Described(HBITMAP bitmap, const Picture& picture)
    {
        BITMAP bm = {};
        EXPECT_EQ((int)sizeof(BITMAP), GetObjectA(bitmap, sizeof bm, &bm));
        HDC dc = Select(bitmap);
        for (int y = 0; y < picture.height; ++y)
            for (int x = 0; x < picture.width; ++x) EXPECT_EQ(picture.At(x, y), GetPixel(dc, x, y)) << x << "," << y;
        return {bm.bmType, bm.bmWidth, bm.bmHeight, bm.bmWidthBytes, bm.bmPlanes, bm.bmBitsPixel, bm.bmBits != nullptr};
    }
    std::string dir = (fs::temp_directory_path() / ("vorblox-bmp-" + std::to_string(getpid()))).string();
    int files = 0;
    std::vector<HBITMAP> bitmaps;
    std::vector<HDC> dcs;
};

TEST_F(Bitmaps, ResourceLoadsByNameAtItsOwnSize)
{
    // Names ignore case; 15 bytes a row, rounded up to whole 32-bit words.
    EXPECT_EQ((std::vector<LONG>{0, 5, 3, 16, 1, 24, true}),
              Described(Load(GetModuleHandleA(NULL), "test_pic"), {5, 3}));
}

TEST_F(Bitmaps, UnknownOrHiddenResourceIsNotFound)
{
    PlatformTest::HideResource("TEST_PIC");
    for (const char* name : {"NO_SUCH_PIC", "TEST_PIC"}) {
        SetLastError(0);
        EXPECT_EQ(nullptr, Load(GetModuleHandleA(NULL), name)) << name;
        EXPECT_EQ((DWORD)ERROR_RESOURCE_NAME_NOT_FOUND, GetLastError()) << name;
    }
}

TEST_F(Bitmaps, FilesOfEachLayoutLoadWithTheirPixels)
{
    // Rows need padding in both depths.
    for (int bits : {24, 8})
        for (bool topDown : {false, true})
            EXPECT_EQ((std::vector<LONG>{0, 7, 4, bits == 24 ? 24 : 8, 1, bits, true}),
                      Described(FromFile(Write(Bmp({7, 4}, bits, topDown))), {7, 4}))
                << bits << (topDown ? " top-down" : " bottom-up");
}

TEST_F(Bitmaps, BadFilesFailCleanly)
{
    const std::string good = Bmp({4, 4}, 24);
    fs::create_directory(dir + "/folder.bmp");
    const std::tuple<const char*, std::string, DWORD> cases[] = {
        {"missing file", dir + "/absent.bmp", ERROR_FILE_NOT_FOUND},
        {"directory", dir + "/folder.bmp", ERROR_ACCESS_DENIED},
        {"zero bytes", Write(""), ERROR_INVALID_DATA},
        {"truncated", Write(good.substr(0, good.size() - 10)), ERROR_INVALID_DATA},
        {"absurd width", Write(std::string(good).replace(18, 3, "\x7F\x7F\x7F")), ERROR_INVALID_DATA},
    };
    for (const auto& [what, path, error] : cases) {
        SetLastError(0);
        EXPECT_EQ(nullptr, FromFile(path)) << what;
        EXPECT_EQ(error, GetLastError()) << what;
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
        EXPECT_EQ(nullptr, FromFile(path)) << path;
        EXPECT_NE(0u, GetLastError()) << path;
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
