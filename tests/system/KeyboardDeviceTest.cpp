// The per-read keyboard logic, driven through a device the test controls.
#include <gtest/gtest.h>

#include "FakeKeyboardDevice.h"
#include "shell/MainWindow.h"
#include "system/ErrorReport.h"
#include "system/KeyboardDevice.h"

namespace {

class KeyboardDeviceTest : public ::testing::Test {
protected:
    MainWindow window;
    FakeKeyboardDevice fake;
    KeyboardDevice keyboard;

    void SetUp() override
    {
        window.hwnd = reinterpret_cast<HWND>(static_cast<uintptr_t>(0x1234));
        SetDxError(DI_OK);
    }
    void TearDown() override
    {
        keyboard.ReleaseDevice();
        window.hwnd = nullptr;  // not a real window: nothing to destroy
    }
    void Attach() { ASSERT_TRUE(keyboard.Attach(&window, &fake, 0)); }
};

TEST_F(KeyboardDeviceTest, AttachSetsKeyboardFormatAndForegroundCooperation)
{
    Attach();
    EXPECT_TRUE(keyboard.IsReady());
    EXPECT_EQ(&c_dfDIKeyboard, fake.format);
    EXPECT_EQ(window.hwnd, fake.cooperativeWindow);
    EXPECT_EQ(static_cast<DWORD>(DISCL_NONEXCLUSIVE | DISCL_FOREGROUND), fake.cooperativeFlags);
    EXPECT_EQ(0, keyboard.acquired);
}

TEST_F(KeyboardDeviceTest, BackgroundOnlyForExactlyOne)
{
    const struct {
        int background;
        DWORD flags;
    } cases[] = {{1, DISCL_NONEXCLUSIVE | DISCL_BACKGROUND},
                 {0, DISCL_NONEXCLUSIVE | DISCL_FOREGROUND},
                 {2, DISCL_NONEXCLUSIVE | DISCL_FOREGROUND},
                 {-1, DISCL_NONEXCLUSIVE | DISCL_FOREGROUND}};
    for (const auto& c : cases) {
        FakeKeyboardDevice device;
        ASSERT_TRUE(keyboard.Attach(&window, &device, c.background));
        EXPECT_EQ(c.flags, device.cooperativeFlags) << "background " << c.background;
        keyboard.ReleaseDevice();
    }
}

TEST_F(KeyboardDeviceTest, AttachFailuresAreRecordedAndKeepTheDevice)
{
    fake.formatResult = DIERR_INVALIDPARAM;
    EXPECT_FALSE(keyboard.Attach(&window, &fake, 0));
    EXPECT_EQ(DIERR_INVALIDPARAM, GetDxError());
    EXPECT_TRUE(keyboard.IsReady());

    FakeKeyboardDevice second;
    second.cooperativeResult = E_ACCESSDENIED;
    EXPECT_FALSE(keyboard.Attach(&window, &second, 0));
    EXPECT_EQ(E_ACCESSDENIED, GetDxError());
    EXPECT_EQ(0u, fake.references) << "attaching again gives the first device back";
    EXPECT_EQ(1u, second.references);
}

TEST_F(KeyboardDeviceTest, KeyDownBeforeAttachCountsAsPressedAtFirstRead)
{
    fake.Press(DIK_F1);
    Attach();
    ASSERT_TRUE(keyboard.Update());
    EXPECT_TRUE(keyboard.IsDown(DIK_F1));
    EXPECT_TRUE(keyboard.WasPressed(DIK_F1));
}

TEST_F(KeyboardDeviceTest, HeldKeyIsPressedOnlyAtItsFirstRead)
{
    Attach();
    ASSERT_TRUE(keyboard.Update());
    EXPECT_FALSE(keyboard.WasPressed(DIK_LEFT));

    fake.Press(DIK_LEFT);
    const bool expectedPressed[] = {true, false, false, false};
    for (bool pressed : expectedPressed) {
        ASSERT_TRUE(keyboard.Update());
        EXPECT_TRUE(keyboard.IsDown(DIK_LEFT));
        EXPECT_EQ(pressed, keyboard.WasPressed(DIK_LEFT));
    }

    fake.Lift(DIK_LEFT);
    ASSERT_TRUE(keyboard.Update());
    EXPECT_FALSE(keyboard.IsDown(DIK_LEFT));
    EXPECT_FALSE(keyboard.WasPressed(DIK_LEFT));
    EXPECT_EQ(0x80, keyboard.released[DIK_LEFT]);

    fake.Press(DIK_LEFT);
    ASSERT_TRUE(keyboard.Update());
    EXPECT_TRUE(keyboard.WasPressed(DIK_LEFT)) << "down again after a read in which it was up";
    EXPECT_EQ(0, keyboard.released[DIK_LEFT]);
}

TEST_F(KeyboardDeviceTest, EveryKeyCodeIsTrackedOnItsOwn)
{
    Attach();
    for (int key = 0; key < 256; key += 5) fake.Press(static_cast<BYTE>(key));
    ASSERT_TRUE(keyboard.Update());
    for (int key = 0; key < 256; ++key) {
        bool down = key % 5 == 0;
        EXPECT_EQ(down, keyboard.IsDown(static_cast<BYTE>(key))) << key;
        EXPECT_EQ(down, keyboard.WasPressed(static_cast<BYTE>(key))) << key;
    }
}

TEST_F(KeyboardDeviceTest, ReleasedHoldsThePreviousByteOfKeysNowUp)
{
    Attach();
    fake.Press(DIK_UP);
    fake.Press(DIK_DOWN);
    ASSERT_TRUE(keyboard.Update());
    fake.Lift(DIK_UP);
    ASSERT_TRUE(keyboard.Update());
    EXPECT_EQ(0x80, keyboard.released[DIK_UP]);
    EXPECT_EQ(0, keyboard.released[DIK_DOWN]) << "still down";
    EXPECT_EQ(0, keyboard.released[DIK_SPACE]) << "never down";
}

TEST_F(KeyboardDeviceTest, FailedReadLeavesEveryKeyUpAndCountsAHeldKeyAgain)
{
    Attach();
    fake.Press(DIK_DOWN);
    ASSERT_TRUE(keyboard.Update());
    ASSERT_TRUE(keyboard.Update());
    ASSERT_FALSE(keyboard.WasPressed(DIK_DOWN));

    fake.stateResult = DIERR_INPUTLOST;
    EXPECT_FALSE(keyboard.Update());
    EXPECT_EQ(DIERR_INPUTLOST, GetDxError());
    EXPECT_FALSE(keyboard.IsDown(DIK_DOWN));
    EXPECT_FALSE(keyboard.WasPressed(DIK_DOWN));
    EXPECT_EQ(0x80, keyboard.released[DIK_DOWN]) << "the previous read's byte";

    fake.stateResult = DI_OK;
    ASSERT_TRUE(keyboard.Update());
    EXPECT_TRUE(keyboard.IsDown(DIK_DOWN));
    EXPECT_TRUE(keyboard.WasPressed(DIK_DOWN));
}

TEST_F(KeyboardDeviceTest, OnlyExactSuccessCountsForARead)
{
    Attach();
    fake.Press(DIK_ESCAPE);
    fake.stateResult = S_FALSE;
    EXPECT_FALSE(keyboard.Update());
    EXPECT_EQ(S_FALSE, GetDxError());
    EXPECT_FALSE(keyboard.IsDown(DIK_ESCAPE));
}

TEST_F(KeyboardDeviceTest, EveryReadAcquiresAgain)
{
    Attach();
    keyboard.Acquire();
    EXPECT_EQ(1, fake.acquires);
    keyboard.Acquire();
    EXPECT_EQ(1, fake.acquires) << "already acquired";
    for (int read = 0; read < 3; ++read) keyboard.Update();
    EXPECT_EQ(4, fake.acquires);
    EXPECT_EQ(1, keyboard.acquired);

    keyboard.Unacquire();
    keyboard.Unacquire();
    EXPECT_EQ(1, fake.unacquires);
    EXPECT_EQ(0, keyboard.acquired);
}

TEST_F(KeyboardDeviceTest, ReleaseGivesTheDeviceBackAndClearsEverything)
{
    Attach();
    fake.Press(DIK_RCONTROL);
    ASSERT_TRUE(keyboard.Update());
    keyboard.ReleaseDevice();
    EXPECT_EQ(1, fake.unacquires) << "unacquired whatever the flag says";
    EXPECT_EQ(0u, fake.references);
    EXPECT_FALSE(keyboard.IsReady());
    for (int key = 0; key < 256; ++key) {
        EXPECT_EQ(0, keyboard.state[key]);
        EXPECT_EQ(0, keyboard.pressed[key]);
        EXPECT_EQ(0, keyboard.released[key]);
        EXPECT_FALSE(keyboard.IsDown(static_cast<BYTE>(key)));
        EXPECT_FALSE(keyboard.WasPressed(static_cast<BYTE>(key)));
    }

    EXPECT_FALSE(keyboard.Update());
    EXPECT_EQ(E_FAIL, GetDxError());
    keyboard.ReleaseDevice();
    EXPECT_EQ(1, fake.unacquires);
}

}  // namespace
