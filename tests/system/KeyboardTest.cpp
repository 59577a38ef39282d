// The keyboard through DirectInput: the device's life cycle, and which keys
// each read finds held, newly pressed and released.
#include <gtest/gtest.h>

#include <PlatformTest.h>

#include <utility>

#include "shell/MainWindow.h"
#include "system/ErrorReport.h"
#include "system/Keyboard.h"
#include "system/SystemInfo.h"

namespace {

class KeyboardTest : public ::testing::Test {
protected:
    MainWindow window;
    Keyboard keyboard;  // released before the window goes

    void SetUp() override
    {
        PlatformTest::SetHeadless(true);
        PlatformTest::Reset();
        systemInfo.instance = GetModuleHandleA(NULL);
        systemInfo.showCommand = SW_SHOWNORMAL;
        RegisterMainWindowClass(0, NULL, NULL, NULL, NULL, "VorbloxKeyboardTest");
        SetDxError(DI_OK);
        ASSERT_TRUE(window.Create("VorbloxKeyboardTest", "keys", WS_OVERLAPPEDWINDOW, 0, 0, 200, 200, NULL, NULL));
        PlatformTest::SetKeyboardFocus(window.hwnd, true);
    }
    void Ready(int background = 0)
    {
        ASSERT_TRUE(keyboard.Create(&window));
        ASSERT_TRUE(keyboard.CreateDevice(background));
    }
    void ExpectAllUp()
    {
        for (int key = 0; key < 256; ++key)
            EXPECT_FALSE(keyboard.IsDown(static_cast<BYTE>(key)) || keyboard.WasPressed(static_cast<BYTE>(key))) << key;
    }
};

TEST_F(KeyboardTest, AKeyIsPressedAtTheFirstReadThatFindsItDown)
{
    PlatformTest::SetKeyDown(DIK_F1, true);  // before the device is attached
    Ready();
    ASSERT_TRUE(keyboard.Update());
    EXPECT_TRUE(keyboard.WasPressed(DIK_F1));

    PlatformTest::SetKeyDown(DIK_LEFT, true);
    for (bool pressed : {true, false, false}) {
        ASSERT_TRUE(keyboard.Update());
        EXPECT_TRUE(keyboard.IsDown(DIK_LEFT));
        EXPECT_EQ(pressed, keyboard.WasPressed(DIK_LEFT));
    }
    PlatformTest::SetKeyDown(DIK_LEFT, false);
    ASSERT_TRUE(keyboard.Update());
    EXPECT_FALSE(keyboard.IsDown(DIK_LEFT) || keyboard.WasPressed(DIK_LEFT));
    EXPECT_EQ(0x80, keyboard.released[DIK_LEFT]) << "the previous read's byte";
    EXPECT_EQ(0, keyboard.released[DIK_F1]) << "still down";

    PlatformTest::SetKeyDown(DIK_LEFT, true);
    ASSERT_TRUE(keyboard.Update());
    EXPECT_TRUE(keyboard.WasPressed(DIK_LEFT)) << "down again after a read in which it was up";
    EXPECT_EQ(0, keyboard.released[DIK_LEFT]);
}

TEST_F(KeyboardTest, AFailedReadLeavesEveryKeyUpAndAHeldKeyCountsAgain)
{
    Ready();
    PlatformTest::SetKeyDown(DIK_DOWN, true);
    ASSERT_TRUE(keyboard.Update());
    // The window losing the focus, and a read that answers anything but DI_OK,
    // each after a read that found another key newly pressed.
    for (const auto& [code, key] : {std::pair<HRESULT, BYTE>{DIERR_INPUTLOST, DIK_A}, {S_FALSE, DIK_B}}) {
        PlatformTest::SetKeyDown(key, true);
        ASSERT_TRUE(keyboard.Update());
        ASSERT_TRUE(keyboard.WasPressed(key) && !keyboard.WasPressed(DIK_DOWN));
        if (code == DIERR_INPUTLOST) PlatformTest::SetKeyboardFocus(window.hwnd, false);
        else PlatformTest::FailCall("IDirectInputDeviceA::GetDeviceState", static_cast<DWORD>(code), 1);
        EXPECT_FALSE(keyboard.Update());
        EXPECT_EQ(code, GetDxError());
        ExpectAllUp();
        EXPECT_EQ(0x80, keyboard.released[DIK_DOWN]) << "the previous read's byte";

        PlatformTest::SetKeyboardFocus(window.hwnd, true);
        ASSERT_TRUE(keyboard.Update());
        EXPECT_TRUE(keyboard.WasPressed(DIK_DOWN)) << "held through the failed read, so pressed again";
    }
}

TEST_F(KeyboardTest, OnlyBackgroundOneReadsWithoutTheFocus)
{
    PlatformTest::SetKeyDown(DIK_SPACE, true);
    PlatformTest::SetKeyboardFocus(window.hwnd, false);
    for (int background : {1, 0, 2, -1}) {
        Ready(background);  // Create starts afresh each time
        EXPECT_EQ(background == 1, keyboard.Update()) << background;
        EXPECT_EQ(background == 1, keyboard.IsDown(DIK_SPACE)) << background;
    }
}

TEST_F(KeyboardTest, ADeviceThatCannotBeSetUpStaysAttachedUntilReleased)
{
    EXPECT_FALSE(keyboard.CreateDevice(0)) << "no DirectInput object yet";
    EXPECT_EQ(E_FAIL, GetDxError());
    for (const char* call : {"IDirectInputDeviceA::SetDataFormat", "IDirectInputDeviceA::SetCooperativeLevel"}) {
        ASSERT_TRUE(keyboard.Create(&window));
        PlatformTest::FailCall(call, static_cast<DWORD>(E_INVALIDARG), 1);
        EXPECT_FALSE(keyboard.CreateDevice(0)) << call;
        EXPECT_EQ(E_INVALIDARG, GetDxError()) << call;
        EXPECT_TRUE(keyboard.IsReady()) << call;
        EXPECT_TRUE(keyboard.CreateDevice(0)) << call << ": nothing more is made";
        EXPECT_EQ(1, PlatformTest::CallCount(call)) << call;
    }
}

TEST_F(KeyboardTest, CreateDeviceTwiceKeepsTheDeviceAndCreateTwiceStartsAfresh)
{
    Ready();
    LPDIRECTINPUTDEVICEA first = keyboard.device;
    EXPECT_TRUE(keyboard.CreateDevice(0));
    EXPECT_EQ(first, keyboard.device);
    EXPECT_EQ(1, PlatformTest::CallCount("IDirectInputA::CreateDevice"));

    PlatformTest::SetKeyDown(DIK_ESCAPE, true);
    ASSERT_TRUE(keyboard.Update());
    ASSERT_TRUE(keyboard.Create(&window));
    EXPECT_FALSE(keyboard.IsReady()) << "the earlier device went with the earlier DirectInput object";
    EXPECT_FALSE(keyboard.IsDown(DIK_ESCAPE));
}

TEST_F(KeyboardTest, AfterReleaseEveryTestIsFalse)
{
    keyboard.Release();  // nothing to release yet
    Ready();
    PlatformTest::SetKeyDown(DIK_UP, true);
    ASSERT_TRUE(keyboard.Update());
    keyboard.Release();
    EXPECT_EQ(nullptr, keyboard.directInput);
    EXPECT_FALSE(keyboard.IsReady());
    ExpectAllUp();
    for (int key = 0; key < 256; ++key)
        EXPECT_EQ(0, keyboard.state[key] | keyboard.pressed[key] | keyboard.released[key]) << key;
    EXPECT_FALSE(keyboard.Update());
    EXPECT_EQ(E_FAIL, GetDxError());
    int unacquires = PlatformTest::CallCount("IDirectInputDeviceA::Unacquire");
    keyboard.Release();
    EXPECT_EQ(unacquires, PlatformTest::CallCount("IDirectInputDeviceA::Unacquire")) << "a second does nothing";
}

}  // namespace
