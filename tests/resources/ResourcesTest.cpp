// The pictures and the icon are built into the program under the names the
// game loads them by, with the sizes the screen layout is drawn for.
#include <windows.h>

#include <gtest/gtest.h>

namespace {

struct Picture {
    const char* name;
    LONG width;
    LONG height;
};

const Picture pictures[] = {
    {"PIC_MAIN", 300, 400},    {"PIC_BLOCKS", 128, 16},  {"PIC_FONTS", 592, 16},
    {"PIC_STARTTXT", 160, 100}, {"PIC_GAMEOVER", 160, 50},
};

TEST(Resources, EveryPictureLoadsByNameAsTrueColourBitmapOfItsSize) {
    for (const Picture& picture : pictures) {
        SCOPED_TRACE(picture.name);
        HBITMAP bitmap = static_cast<HBITMAP>(
            LoadImageA(GetModuleHandleA(NULL), picture.name, IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
        ASSERT_NE(bitmap, nullptr);
        BITMAP info = {};
        ASSERT_EQ(GetObjectA(bitmap, sizeof info, &info), static_cast<int>(sizeof info));
        EXPECT_EQ(info.bmWidth, picture.width);
        EXPECT_EQ(info.bmHeight, picture.height);
        EXPECT_EQ(info.bmBitsPixel, 24);
        EXPECT_NE(DeleteObject(bitmap), 0);
    }
}

TEST(Resources, UnknownPictureNameIsNotFound) {
    EXPECT_EQ(LoadImageA(GetModuleHandleA(NULL), "PIC_NONE", IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION), nullptr);
}

TEST(Resources, GameIconLoadsByItsName) {
    // The window class gets the game's own icon, not the system's stock one.
    HICON icon = LoadIconA(GetModuleHandleA(NULL), "IDI_APPLICATION");
    ASSERT_NE(icon, nullptr);
    EXPECT_NE(icon, LoadIconA(NULL, IDI_APPLICATION));
}

}  // namespace
