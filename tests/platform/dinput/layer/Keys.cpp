// The keyboard's state as the test controls set it, and a foreground
// keyboard following its window's keyboard focus.
#include "dinput/KeyboardTest.h"

#include <PlatformTest.h>

namespace {

using dxtest::KeyboardTest;

TEST_F(KeyboardTest, EachKeyTheGameUsesReadsDownAloneAtItsCode)
{
    ASSERT_EQ(DI_OK, keyboard->SetCooperativeLevel(nullptr, DISCL_NONEXCLUSIVE | DISCL_BACKGROUND));
    ASSERT_EQ(DI_OK, keyboard->Acquire());
    // The game's keys, and an extended one.
    const int keys[] = {DIK_F1,     DIK_ESCAPE, DIK_LEFT,     DIK_RIGHT,    DIK_UP,
                        DIK_DOWN,   DIK_LSHIFT, DIK_RSHIFT,   DIK_LCONTROL, DIK_RCONTROL, DIK_NUMPADENTER};
    for (int key : keys) {
        PlatformTest::ReleaseAllKeys();
        PlatformTest::SetKeyDown(static_cast<BYTE>(key), true);
        EXPECT_EQ(std::vector<int>{key}, Down());
    }
    // Several at once, each let go by itself.
    for (BYTE key : {DIK_LEFT, DIK_DOWN, DIK_RCONTROL}) PlatformTest::SetKeyDown(key, true);
    PlatformTest::SetKeyDown(DIK_NUMPADENTER, false);
    EXPECT_EQ((std::vector<int>{DIK_RCONTROL, DIK_LEFT, DIK_DOWN}), Down());
    PlatformTest::Reset();
    EXPECT_EQ(std::vector<int>{}, Down());  // headless: no real key is down
}

TEST_F(KeyboardTest, ForegroundKeyboardFollowsTheFocus)
{
    dxtest::KeyboardWindow window;
    ASSERT_EQ(DI_OK, keyboard->SetCooperativeLevel(window.hwnd, DISCL_NONEXCLUSIVE | DISCL_FOREGROUND));
    PlatformTest::SetKeyDown(DIK_F1, true);
    PlatformTest::SetKeyboardFocus(window.hwnd, false);
    EXPECT_EQ(DIERR_OTHERAPPHASPRIO, keyboard->Acquire());
    EXPECT_EQ(std::vector<int>{DIERR_NOTACQUIRED}, Down());
    PlatformTest::SetKeyboardFocus(window.hwnd, true);
    EXPECT_EQ(DI_OK, keyboard->Acquire());
    EXPECT_EQ(std::vector<int>{DIK_F1}, Down());
    // Losing the focus withdraws the device until it is acquired again.
    PlatformTest::SetKeyboardFocus(window.hwnd, false);
    EXPECT_EQ(std::vector<int>{DIERR_INPUTLOST}, Down());
    EXPECT_EQ(std::vector<int>{DIERR_NOTACQUIRED}, Down());
    PlatformTest::SetKeyboardFocus(window.hwnd, true);
    EXPECT_EQ(std::vector<int>{DIERR_NOTACQUIRED}, Down());
    EXPECT_EQ(DI_OK, keyboard->Acquire());
    // A destroyed window takes the keyboard with it.
    ASSERT_TRUE(DestroyWindow(window.hwnd));
    EXPECT_EQ(std::vector<int>{DIERR_INPUTLOST}, Down());
    EXPECT_EQ(DIERR_OTHERAPPHASPRIO, keyboard->Acquire());
    // A background keyboard ignores the focus.
    dxtest::KeyboardWindow other;
    PlatformTest::SetKeyboardFocus(other.hwnd, false);
    ASSERT_EQ(DI_OK, keyboard->SetCooperativeLevel(other.hwnd, DISCL_NONEXCLUSIVE | DISCL_BACKGROUND));
    EXPECT_EQ(DI_OK, keyboard->Acquire());
    EXPECT_EQ(std::vector<int>{DIK_F1}, Down());
}

}  // namespace
