// The keyboard through DirectInput: creation, the device's life cycle and
// reading real key states.
#include <gtest/gtest.h>

#include <PlatformTest.h>

#include "shell/MainWindow.h"
#include "system/ErrorReport.h"
#include "system/Keyboard.h"
#include "system/SystemInfo.h"

namespace {

const char* const kClassName = "VorbloxKeyboardTest";

class KeyboardTest : public ::testing::Test {
protected:
    MainWindow window;

    void SetUp() override
    {
        PlatformTest::SetHeadless(true);
        PlatformTest::Reset();
        systemInfo.instance = GetModuleHandleA(NULL);
        RegisterMainWindowClass(0, NULL, NULL, NULL, NULL, kClassName);
        systemInfo.showCommand = SW_SHOWNORMAL;
        SetDxError(DI_OK);
        ASSERT_TRUE(window.Create(kClassName, "keys", WS_OVERLAPPEDWINDOW, 0, 0, 200, 200, NULL, NULL));
        PlatformTest::SetKeyboardFocus(window.hwnd, true);
    }
};

TEST_F(KeyboardTest, ReadsTheKeysHeldDown)
{
    Keyboard keyboard;
    ASSERT_TRUE(keyboard.Create(&window));
    ASSERT_TRUE(keyboard.CreateDevice(0));
    keyboard.Acquire();
    PlatformTest::SetKeyDown(DIK_LEFT, true);
    PlatformTest::SetKeyDown(DIK_F1, true);
    ASSERT_TRUE(keyboard.Update());
    EXPECT_TRUE(keyboard.IsDown(DIK_LEFT));
    EXPECT_TRUE(keyboard.WasPressed(DIK_F1));
    EXPECT_FALSE(keyboard.IsDown(DIK_RIGHT));

    ASSERT_TRUE(keyboard.Update());
    EXPECT_TRUE(keyboard.IsDown(DIK_F1));
    EXPECT_FALSE(keyboard.WasPressed(DIK_F1));

    PlatformTest::SetKeyDown(DIK_F1, false);
    ASSERT_TRUE(keyboard.Update());
    PlatformTest::SetKeyDown(DIK_F1, true);
    ASSERT_TRUE(keyboard.Update());
    EXPECT_TRUE(keyboard.WasPressed(DIK_F1));
}

TEST_F(KeyboardTest, LostFocusFailsTheReadAndTheNextReadRecovers)
{
    Keyboard keyboard;
    ASSERT_TRUE(keyboard.Create(&window));
    ASSERT_TRUE(keyboard.CreateDevice(0));
    PlatformTest::SetKeyDown(DIK_DOWN, true);
    ASSERT_TRUE(keyboard.Update());

    PlatformTest::SetKeyboardFocus(window.hwnd, false);
    EXPECT_FALSE(keyboard.Update());
    EXPECT_NE(DI_OK, GetDxError());
    EXPECT_FALSE(keyboard.IsDown(DIK_DOWN));

    PlatformTest::SetKeyboardFocus(window.hwnd, true);
    ASSERT_TRUE(keyboard.Update());
    EXPECT_TRUE(keyboard.IsDown(DIK_DOWN));
    EXPECT_TRUE(keyboard.WasPressed(DIK_DOWN)) << "held through the failed read, so pressed again";
}

TEST_F(KeyboardTest, CreateFailureIsRecorded)
{
    Keyboard keyboard;
    const HRESULT oldVersion = static_cast<HRESULT>(0x8007047Eu);
    PlatformTest::FailCall("DirectInputCreateA", static_cast<DWORD>(oldVersion), 1);
    EXPECT_FALSE(keyboard.Create(&window));
    EXPECT_EQ(oldVersion, GetDxError());
    EXPECT_EQ(nullptr, keyboard.directInput);
    EXPECT_FALSE(keyboard.CreateDevice(0));
    EXPECT_EQ(E_FAIL, GetDxError());
}

TEST_F(KeyboardTest, DeviceCreationFailureIsRecorded)
{
    Keyboard keyboard;
    ASSERT_TRUE(keyboard.Create(&window));
    PlatformTest::FailCall("IDirectInputA::CreateDevice", static_cast<DWORD>(DIERR_DEVICENOTREG), 1);
    EXPECT_FALSE(keyboard.CreateDevice(0));
    EXPECT_EQ(DIERR_DEVICENOTREG, GetDxError());
    EXPECT_FALSE(keyboard.IsReady());
    EXPECT_TRUE(keyboard.CreateDevice(0)) << "a later attempt may succeed";
}

TEST_F(KeyboardTest, SetUpFailuresAreRecordedAndKeepTheDevice)
{
    const struct {
        const char* call;
        HRESULT code;
    } cases[] = {{"IDirectInputDeviceA::SetDataFormat", DIERR_ACQUIRED},
                 {"IDirectInputDeviceA::SetCooperativeLevel", E_INVALIDARG}};
    for (const auto& c : cases) {
        Keyboard keyboard;
        ASSERT_TRUE(keyboard.Create(&window));
        PlatformTest::FailCall(c.call, static_cast<DWORD>(c.code), 1);
        EXPECT_FALSE(keyboard.CreateDevice(0)) << c.call;
        EXPECT_EQ(c.code, GetDxError()) << c.call;
        EXPECT_TRUE(keyboard.IsReady()) << c.call << ": attached until released";
        EXPECT_TRUE(keyboard.CreateDevice(0)) << c.call << ": nothing more is made";
    }
}

TEST_F(KeyboardTest, CreateDeviceTwiceKeepsTheFirstDevice)
{
    Keyboard keyboard;
    ASSERT_TRUE(keyboard.Create(&window));
    ASSERT_TRUE(keyboard.CreateDevice(0));
    LPDIRECTINPUTDEVICEA first = keyboard.device;
    EXPECT_TRUE(keyboard.CreateDevice(0));
    EXPECT_EQ(first, keyboard.device);
    EXPECT_EQ(1, PlatformTest::CallCount("IDirectInputA::CreateDevice"));
}

TEST_F(KeyboardTest, CreateTwiceStartsAfresh)
{
    Keyboard keyboard;
    ASSERT_TRUE(keyboard.Create(&window));
    ASSERT_TRUE(keyboard.CreateDevice(0));
    PlatformTest::SetKeyDown(DIK_ESCAPE, true);
    ASSERT_TRUE(keyboard.Update());
    ASSERT_TRUE(keyboard.Create(&window));
    EXPECT_FALSE(keyboard.IsReady()) << "the earlier device went with the earlier DirectInput object";
    EXPECT_FALSE(keyboard.IsDown(DIK_ESCAPE));
    EXPECT_NE(nullptr, keyboard.directInput);
}

TEST_F(KeyboardTest, AfterReleaseEveryTestIsFalse)
{
    Keyboard keyboard;
    keyboard.Release();  // nothing to release yet
    EXPECT_EQ(nullptr, keyboard.directInput);

    ASSERT_TRUE(keyboard.Create(&window));
    ASSERT_TRUE(keyboard.CreateDevice(0));
    PlatformTest::SetKeyDown(DIK_UP, true);
    ASSERT_TRUE(keyboard.Update());
    keyboard.Release();
    EXPECT_EQ(nullptr, keyboard.directInput);
    EXPECT_FALSE(keyboard.IsReady());
    for (int key = 0; key < 256; ++key) {
        EXPECT_FALSE(keyboard.IsDown(static_cast<BYTE>(key)));
        EXPECT_FALSE(keyboard.WasPressed(static_cast<BYTE>(key)));
    }
    EXPECT_FALSE(keyboard.Update());
    EXPECT_EQ(E_FAIL, GetDxError());
    keyboard.Release();
}

}  // namespace
