// A picture whose resource is missing is looked for as a file of the same
// name in the working folder. Whatever that file is (empty, cut short,
// claiming an absurd size, not a picture at all, a folder), the start-up
// shows its "File error" for that picture and ends with exit code 1. A good
// picture of the wrong size is a picture all the same: the game stretches it
// onto its surface and starts.
#include "app/PMAIN.h"
#include "tools/replay/ReplaySession.h"

#include <BmpWriter.h>
#include <PlatformTest.h>

#include <gtest/gtest.h>

#include <stdio.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>
#include <vector>

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR commandLine, int showCommand);

namespace {

const char* const names[] = {"PIC_MAIN", "PIC_BLOCKS", "PIC_FONTS", "PIC_STARTTXT", "PIC_GAMEOVER"};

Bytes Picture(int width, int height, Rgba colour)
{
    return EncodeBmp24(Canvas(width, height, colour));
}

// The header of a 24-bit picture that claims the given size, and nothing else.
Bytes HeaderOnly(int32_t width, int32_t height)
{
    Bytes bytes = Picture(1, 1, MakeRgb(1, 2, 3));
    bytes.resize(54);
    for (int i = 0; i < 4; ++i) {
        bytes[18 + i] = (uint8_t)((uint32_t)width >> (8 * i));
        bytes[22 + i] = (uint8_t)((uint32_t)height >> (8 * i));
    }
    return bytes;
}

enum class Kind { Bytes, Folder };

struct Malformed {
    const char* what;
    Kind kind;
    Bytes bytes;
};

std::vector<Malformed> MalformedFiles()
{
    Bytes whole = Picture(300, 400, MakeRgb(40, 80, 120));
    Bytes cut(whole.begin(), whole.begin() + whole.size() / 2);
    Bytes noise(300);
    uint32_t x = 7;
    for (uint8_t& b : noise) b = (uint8_t)((x = x * 1103515245 + 12345) >> 16);
    Bytes fakeMagic = noise;
    fakeMagic[0] = 'B';
    fakeMagic[1] = 'M';
    return {
        {"empty", Kind::Bytes, {}},
        {"cut short", Kind::Bytes, cut},
        {"absurd size", Kind::Bytes, HeaderOnly(1 << 30, 1 << 30)},
        {"negative size", Kind::Bytes, HeaderOnly(-300, 0)},
        {"noise", Kind::Bytes, noise},
        {"noise after the magic", Kind::Bytes, fakeMagic},
        {"a folder", Kind::Folder, {}},
    };
}

// In a fresh working folder holding `bytes` (or a folder) under the picture's
// name, with the picture's resource hidden, runs the game and reports every
// message box. `quitAtOnce` holds Esc, so a game that starts ends in its
// first tick.
[[noreturn]] void RunWithFile(const char* name, Kind kind, const Bytes& bytes, bool quitAtOnce)
{
    char folder[] = "/tmp/vorblox-pictures-XXXXXX";
    if (!mkdtemp(folder) || chdir(folder) != 0) std::_Exit(90);
    if (kind == Kind::Folder) {
        if (mkdir(name, 0700) != 0) std::_Exit(91);
    } else {
        FILE* f = fopen(name, "wb");
        if (!f || (bytes.size() && fwrite(bytes.data(), 1, bytes.size(), f) != bytes.size())) std::_Exit(92);
        fclose(f);
    }
    PlatformTest::SetHeadless(true);
    PlatformTest::CaptureMessageBoxes(true);
    PlatformTest::HideResource(name);
    if (quitAtOnce) PlatformTest::SetKeyDown(DIK_ESCAPE, true);
    char commandLine[] = "";
    int code = WinMain(GetModuleHandleA(NULL), NULL, commandLine, SW_SHOWDEFAULT);
    for (const PlatformTest::MessageBoxRecord& box : PlatformTest::MessageBoxes())
        fprintf(stderr, "[%s|%s]", box.caption.c_str(), box.text.c_str());
    fprintf(stderr, "[window %d]", application.hwnd ? 1 : 0);
    if (kind == Kind::Folder) rmdir(name); else unlink(name);
    rmdir(folder);
    std::exit(code);
}

TEST(BrokenPictureDeathTest, EachBrokenFileShowsTheFileErrorOfItsPicture)
{
    for (const Malformed& file : MalformedFiles()) {
        for (int i = 0; i < 5; ++i) {
            std::string expected = "^\\[File error\\|Error loading bmp file #" + std::to_string(i + 1) +
                                   "!\\]\\[window 1\\]$";
            EXPECT_EXIT(RunWithFile(names[i], file.kind, file.bytes, false), ::testing::ExitedWithCode(1), expected)
                << names[i] << ": " << file.what;
        }
    }
}

TEST(BrokenPictureDeathTest, APictureOfAnotherSizeStillStartsTheGame)
{
    Bytes small = Picture(10, 10, MakeRgb(200, 30, 30));
    for (int i = 0; i < 5; ++i)
        EXPECT_EXIT(RunWithFile(names[i], Kind::Bytes, small, true), ::testing::ExitedWithCode(0), "^\\[window 1\\]$")
            << names[i];
}

// The stretched picture is what the player sees: a 10 x 10 red block picture
// fills every tile, the empty ones too, so the well shows red.
TEST(BrokenPictureTest, APictureOfAnotherSizeIsStretchedOntoItsSurface)
{
    char folder[] = "/tmp/vorblox-pictures-XXXXXX";
    ASSERT_TRUE(mkdtemp(folder));
    ASSERT_EQ(0, chdir(folder));
    Bytes small = Picture(10, 10, MakeRgb(200, 30, 30));
    FILE* f = fopen("PIC_BLOCKS", "wb");
    ASSERT_TRUE(f);
    ASSERT_EQ(small.size(), fwrite(small.data(), 1, small.size(), f));
    fclose(f);
    PlatformTest::HideResource("PIC_BLOCKS");
    ReplaySession session;
    bool started = session.Start();
    unlink("PIC_BLOCKS");
    rmdir(folder);
    ASSERT_TRUE(started);
    ASSERT_TRUE(session.Tick({}));
    std::vector<uint32_t> pixels;
    int width = 0, height = 0;
    ASSERT_TRUE(PlatformTest::ReadClientPixels(application.hwnd, &pixels, &width, &height));
    ASSERT_EQ(300, width);
    // Well cells (column 0, row 0) and (column 9, row 22), from corner to corner.
    for (int y : {16, 31, 368, 383})
        for (int x : {16, 31, 160, 175}) EXPECT_EQ(0xC81E1Eu, pixels[(size_t)y * 300 + x]) << x << "," << y;
}

}  // namespace
