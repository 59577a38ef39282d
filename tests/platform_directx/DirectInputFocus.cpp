// A foreground keyboard follows its window's keyboard focus (set through the
// window test control).
#include "TestWindow.h"

#include <PlatformTest.h>
#include <dinput.h>
#include <gtest/gtest.h>

namespace {

class FocusTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_NE(nullptr, window.hwnd);
        ASSERT_EQ(DI_OK, DirectInputCreateA(GetModuleHandleA(nullptr), 0x0500, &input, nullptr));
        ASSERT_EQ(DI_OK, input->CreateDevice(GUID_SysKeyboard, &keyboard, nullptr));
        ASSERT_EQ(DI_OK, keyboard->SetDataFormat(&c_dfDIKeyboard));
        ASSERT_EQ(DI_OK, keyboard->SetCooperativeLevel(window.hwnd, DISCL_NONEXCLUSIVE | DISCL_FOREGROUND));
    }

    void TearDown() override
    {
        EXPECT_EQ(0u, keyboard->Release());
        EXPECT_EQ(0u, input->Release());
    }

    HRESULT Read()
    {
        BYTE keys[256];
        return keyboard->GetDeviceState(sizeof(keys), keys);
    }

    drawtest::TestWindow window{10, 10, 100, 100};
    LPDIRECTINPUTA input = nullptr;
    LPDIRECTINPUTDEVICEA keyboard = nullptr;
};

TEST_F(FocusTest, AcquireWaitsForTheFocus)
{
    PlatformTest::SetKeyboardFocus(window.hwnd, false);
    EXPECT_EQ(DIERR_OTHERAPPHASPRIO, keyboard->Acquire());
    EXPECT_EQ(DIERR_NOTACQUIRED, Read());
    PlatformTest::SetKeyboardFocus(window.hwnd, true);
    EXPECT_EQ(DI_OK, keyboard->Acquire());
    EXPECT_EQ(DI_OK, Read());
}

TEST_F(FocusTest, LosingTheFocusWithdrawsTheDevice)
{
    PlatformTest::SetKeyboardFocus(window.hwnd, true);
    ASSERT_EQ(DI_OK, keyboard->Acquire());
    PlatformTest::SetKeyboardFocus(window.hwnd, false);
    EXPECT_EQ(DIERR_INPUTLOST, Read());
    EXPECT_EQ(DIERR_NOTACQUIRED, Read());
    PlatformTest::SetKeyboardFocus(window.hwnd, true);
    EXPECT_EQ(DIERR_NOTACQUIRED, Read());  // until acquired again
    EXPECT_EQ(DI_OK, keyboard->Acquire());
    EXPECT_EQ(DI_OK, Read());
}

TEST_F(FocusTest, KeysReadWhileFocused)
{
    PlatformTest::SetKeyboardFocus(window.hwnd, true);
    ASSERT_EQ(DI_OK, keyboard->Acquire());
    PlatformTest::SetKeyDown(DIK_F1, true);
    BYTE keys[256];
    ASSERT_EQ(DI_OK, keyboard->GetDeviceState(sizeof(keys), keys));
    EXPECT_EQ(0x80, keys[DIK_F1]);
}

TEST_F(FocusTest, BackgroundKeyboardIgnoresTheFocus)
{
    PlatformTest::SetKeyboardFocus(window.hwnd, false);
    ASSERT_EQ(DI_OK, keyboard->SetCooperativeLevel(window.hwnd, DISCL_NONEXCLUSIVE | DISCL_BACKGROUND));
    EXPECT_EQ(DI_OK, keyboard->Acquire());
    EXPECT_EQ(DI_OK, Read());
}

TEST_F(FocusTest, DestroyedWindowTakesTheKeyboardWithIt)
{
    PlatformTest::SetKeyboardFocus(window.hwnd, true);
    ASSERT_EQ(DI_OK, keyboard->Acquire());
    ASSERT_TRUE(DestroyWindow(window.hwnd));
    EXPECT_EQ(DIERR_INPUTLOST, Read());
    EXPECT_EQ(DIERR_OTHERAPPHASPRIO, keyboard->Acquire());
}

}  // namespace
