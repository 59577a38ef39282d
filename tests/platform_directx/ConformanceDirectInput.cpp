// DirectInput as any program sees it: only the DirectInput API, no test
// controls. Without a window the keyboard is used in the background.
#include <dinput.h>
#include <gtest/gtest.h>
#include <windows.h>

namespace {

const DWORD kBackground = DISCL_NONEXCLUSIVE | DISCL_BACKGROUND;

class DirectInputTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_EQ(DI_OK, DirectInputCreateA(GetModuleHandleA(nullptr), 0x0500, &input, nullptr));
        ASSERT_EQ(DI_OK, input->CreateDevice(GUID_SysKeyboard, &keyboard, nullptr));
    }
    // The device goes first; then the DirectInput object has its last reference.
    void TearDown() override
    {
        if (keyboard) {
            EXPECT_EQ(0u, keyboard->Release());
        }
        if (input) {
            EXPECT_EQ(0u, input->Release());
        }
    }
    HRESULT Read(DWORD size = 256)
    {
        BYTE keys[300];
        return keyboard->GetDeviceState(size, keys);
    }
    LPDIRECTINPUTA input = nullptr;
    LPDIRECTINPUTDEVICEA keyboard = nullptr;
};

TEST(DirectInputCreateA, RefusesAVersionFromTheFuture)
{
    LPDIRECTINPUTA input = nullptr;
    EXPECT_EQ(DIERR_OLDDIRECTINPUTVERSION, DirectInputCreateA(GetModuleHandleA(nullptr), 0x0900, &input, nullptr));
    EXPECT_EQ(nullptr, input);
}

TEST_F(DirectInputTest, OnlyTheSystemKeyboardExistsAndItHoldsItsDirectInput)
{
    const GUID unknown = {0x12345678, 0x1234, 0x1234, {1, 2, 3, 4, 5, 6, 7, 8}};
    LPDIRECTINPUTDEVICEA device = reinterpret_cast<LPDIRECTINPUTDEVICEA>(1);
    EXPECT_EQ(DIERR_DEVICENOTREG, input->CreateDevice(unknown, &device, nullptr));
    EXPECT_EQ(nullptr, device);
    EXPECT_EQ(0u, keyboard->Release());
    keyboard = nullptr;
    EXPECT_EQ(2u, input->AddRef());
    EXPECT_EQ(1u, input->Release());
    ASSERT_EQ(DI_OK, input->CreateDevice(GUID_SysKeyboard, &device, nullptr));
    EXPECT_GE(input->Release(), 1u);  // the device's reference remains
    input = nullptr;
    EXPECT_EQ(0u, device->Release());
}

TEST_F(DirectInputTest, CooperativeLevelNeedsOneOfEachPairOfFlags)
{
    const DWORD invalid[] = {0, DISCL_NONEXCLUSIVE, DISCL_BACKGROUND, DISCL_EXCLUSIVE | kBackground,
                             DISCL_FOREGROUND | kBackground};
    for (DWORD flags : invalid) EXPECT_EQ(DIERR_INVALIDPARAM, keyboard->SetCooperativeLevel(nullptr, flags)) << flags;
}

TEST_F(DirectInputTest, AcquireAndReadFollowTheRules)
{
    ASSERT_EQ(DI_OK, keyboard->SetCooperativeLevel(nullptr, kBackground));
    EXPECT_EQ(DIERR_INVALIDPARAM, keyboard->Acquire());  // no data format yet
    ASSERT_EQ(DI_OK, keyboard->SetDataFormat(&c_dfDIKeyboard));
    EXPECT_EQ(DIERR_NOTACQUIRED, Read());
    EXPECT_EQ(DI_OK, keyboard->Acquire());
    EXPECT_EQ(S_FALSE, keyboard->Acquire());
    EXPECT_EQ(DIERR_ACQUIRED, keyboard->SetDataFormat(&c_dfDIKeyboard));
    EXPECT_EQ(DIERR_ACQUIRED, keyboard->SetCooperativeLevel(nullptr, kBackground));
    EXPECT_EQ(DIERR_INVALIDPARAM, Read(255));
    EXPECT_EQ(DIERR_INVALIDPARAM, Read(257));
    BYTE keys[256];
    for (BYTE& key : keys) key = 0x55;
    ASSERT_EQ(DI_OK, keyboard->GetDeviceState(sizeof(keys), keys));
    for (int i = 0; i < 256; ++i) EXPECT_TRUE(keys[i] == 0 || keys[i] == 0x80) << i;
    EXPECT_EQ(DI_OK, keyboard->Unacquire());
    EXPECT_EQ(DI_NOEFFECT, keyboard->Unacquire());
    EXPECT_EQ(DIERR_NOTACQUIRED, Read());
}

}  // namespace
