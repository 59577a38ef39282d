// DirectInput's keyboard as any program sees it. Without a window the
// keyboard is used in the background; in the foreground it needs one.
#include "KeyboardTest.h"

namespace {

using dxtest::KeyboardTest;

TEST_F(KeyboardTest, TheKeyboardHoldsItsDirectInput)
{
    EXPECT_GE(input->Release(), 1u);  // the device's reference remains
    input = nullptr;
}

TEST_F(KeyboardTest, AcquireAndReadFollowTheRules)
{
    ASSERT_EQ(DI_OK, keyboard->SetCooperativeLevel(nullptr, DISCL_NONEXCLUSIVE | DISCL_BACKGROUND));
    EXPECT_EQ(std::vector<int>{DIERR_NOTACQUIRED}, Down());
    EXPECT_EQ(DI_OK, keyboard->Acquire());
    EXPECT_EQ(S_FALSE, keyboard->Acquire());
    Down();  // every key reads 0 or 0x80
    EXPECT_EQ(DI_OK, keyboard->Unacquire());
    EXPECT_EQ(DI_NOEFFECT, keyboard->Unacquire());
    EXPECT_EQ(std::vector<int>{DIERR_NOTACQUIRED}, Down());
}

TEST_F(KeyboardTest, AForegroundKeyboardIsAcquiredForItsActiveWindow)
{
    EXPECT_EQ(E_HANDLE, keyboard->SetCooperativeLevel(nullptr, DISCL_NONEXCLUSIVE | DISCL_FOREGROUND));
    dxtest::KeyboardWindow window;  // shown, so active
    ASSERT_EQ(DI_OK, keyboard->SetCooperativeLevel(window.hwnd, DISCL_NONEXCLUSIVE | DISCL_FOREGROUND));
    EXPECT_EQ(DI_OK, keyboard->Acquire());
    EXPECT_EQ(std::vector<int>{}, Down());  // nobody presses a key here
    EXPECT_EQ(DI_OK, keyboard->Unacquire());
}

}  // namespace
