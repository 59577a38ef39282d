// DirectInput as any program sees it: only the DirectInput API, no test
// controls. Without a window the keyboard is used in the background.
#include "DirectXTestSupport.h"

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

}  // namespace
