// The keyboard's state as the test controls set it, and a foreground
// keyboard following its window's keyboard focus.
#include "TestWindow.h"

#include <PlatformTest.h>
#include <dinput.h>
#include <gtest/gtest.h>

#include <vector>

namespace {

class KeyboardTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_EQ(DI_OK, DirectInputCreateA(GetModuleHandleA(nullptr), 0x0500, &input, nullptr));
        ASSERT_EQ(DI_OK, input->CreateDevice(GUID_SysKeyboard, &keyboard, nullptr));
        ASSERT_EQ(DI_OK, keyboard->SetDataFormat(&c_dfDIKeyboard));
    }
    void TearDown() override
    {
        EXPECT_EQ(0u, keyboard->Release());
        EXPECT_EQ(0u, input->Release());
    }
    // The keys read down, or the read's failure.
    std::vector<int> Down()
    {
        BYTE state[256];
        HRESULT hr = keyboard->GetDeviceState(256, state);
        if (hr != DI_OK) return {static_cast<int>(hr)};
        std::vector<int> down;
        for (int i = 0; i < 256; ++i) {
            EXPECT_TRUE(state[i] == 0 || state[i] == 0x80) << i;
            if (state[i]) down.push_back(i);
        }
        return down;
    }
    LPDIRECTINPUTA input = nullptr;
    LPDIRECTINPUTDEVICEA keyboard = nullptr;
};

TEST_F(KeyboardTest, EachKeyTheGameUsesReadsDownAloneAtItsCode)
{
    ASSERT_EQ(DI_OK, keyboard->SetCooperativeLevel(nullptr, DISCL_NONEXCLUSIVE | DISCL_BACKGROUND));
    ASSERT_EQ(DI_OK, keyboard->Acquire());
    const int keys[] = {DIK_F1,   DIK_ESCAPE, DIK_LEFT,   DIK_RIGHT, DIK_UP, DIK_DOWN,    DIK_LSHIFT, DIK_RSHIFT,
                        DIK_LCONTROL, DIK_RCONTROL, DIK_LMENU, DIK_RMENU, DIK_SPACE, DIK_A, DIK_0, DIK_NUMPAD5,
                        DIK_F12,  DIK_NUMPADENTER};
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

TEST_F(KeyboardTest, DataFormatAndLevelAreChecked)
{
    DIDATAFORMAT copy = c_dfDIKeyboard, smaller = c_dfDIKeyboard, absolute = c_dfDIKeyboard;
    EXPECT_EQ(DI_OK, keyboard->SetDataFormat(&copy));
    smaller.dwDataSize = smaller.dwNumObjs = 128;
    absolute.dwFlags = DIDF_ABSAXIS;
    for (const DIDATAFORMAT* format : {&smaller, &absolute, static_cast<DIDATAFORMAT*>(nullptr)})
        EXPECT_EQ(DIERR_INVALIDPARAM, keyboard->SetDataFormat(format));
    EXPECT_EQ(E_HANDLE, keyboard->SetCooperativeLevel(nullptr, DISCL_NONEXCLUSIVE | DISCL_FOREGROUND));
    EXPECT_EQ(DIERR_UNSUPPORTED, keyboard->SetCooperativeLevel(nullptr, DISCL_EXCLUSIVE | DISCL_BACKGROUND));
}

TEST_F(KeyboardTest, ForegroundKeyboardFollowsTheFocus)
{
    drawtest::TestWindow window(10, 10, 100, 100);
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
}

TEST_F(KeyboardTest, BackgroundKeyboardIgnoresTheFocus)
{
    drawtest::TestWindow window(10, 10, 100, 100);
    PlatformTest::SetKeyDown(DIK_F1, true);
    PlatformTest::SetKeyboardFocus(window.hwnd, false);
    ASSERT_EQ(DI_OK, keyboard->SetCooperativeLevel(window.hwnd, DISCL_NONEXCLUSIVE | DISCL_BACKGROUND));
    EXPECT_EQ(DI_OK, keyboard->Acquire());
    EXPECT_EQ(std::vector<int>{DIK_F1}, Down());
}

}  // namespace
