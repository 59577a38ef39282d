// DirectInput as any program sees it: only the DirectInput API, no test
// controls. Without a window the keyboard is used in the background.
#include <dinput.h>
#include <gtest/gtest.h>
#include <windows.h>

namespace {

const GUID kUnknownDevice = {0x12345678, 0x1234, 0x1234, {1, 2, 3, 4, 5, 6, 7, 8}};

class DirectInputTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_EQ(DI_OK, DirectInputCreateA(GetModuleHandleA(nullptr), 0x0500, &input, nullptr));
        ASSERT_EQ(DI_OK, input->CreateDevice(GUID_SysKeyboard, &keyboard, nullptr));
    }

    // The device goes first; then the DirectInput object has its last
    // reference.
    void TearDown() override
    {
        if (keyboard) {
            EXPECT_EQ(0u, keyboard->Release());
        }
        if (input) {
            EXPECT_EQ(0u, input->Release());
        }
    }

    void Prepare()
    {
        ASSERT_EQ(DI_OK, keyboard->SetDataFormat(&c_dfDIKeyboard));
        ASSERT_EQ(DI_OK, keyboard->SetCooperativeLevel(nullptr, DISCL_NONEXCLUSIVE | DISCL_BACKGROUND));
    }

    LPDIRECTINPUTA input = nullptr;
    LPDIRECTINPUTDEVICEA keyboard = nullptr;
};

TEST(DirectInputCreateA, GivesAnObjectWithOneReference)
{
    LPDIRECTINPUTA input = nullptr;
    ASSERT_EQ(DI_OK, DirectInputCreateA(GetModuleHandleA(nullptr), 0x0500, &input, nullptr));
    ASSERT_NE(nullptr, input);
    EXPECT_EQ(2u, input->AddRef());
    EXPECT_EQ(1u, input->Release());
    EXPECT_EQ(0u, input->Release());
}

TEST(DirectInputCreateA, RefusesAVersionFromTheFuture)
{
    LPDIRECTINPUTA input = nullptr;
    EXPECT_EQ(DIERR_OLDDIRECTINPUTVERSION, DirectInputCreateA(GetModuleHandleA(nullptr), 0x0900, &input, nullptr));
    EXPECT_EQ(nullptr, input);
}

TEST_F(DirectInputTest, KeyboardFormatDescribesOneByteForEachOf256Keys)
{
    EXPECT_EQ(sizeof(DIDATAFORMAT), c_dfDIKeyboard.dwSize);
    EXPECT_EQ(sizeof(DIOBJECTDATAFORMAT), c_dfDIKeyboard.dwObjSize);
    EXPECT_EQ(static_cast<DWORD>(DIDF_RELAXIS), c_dfDIKeyboard.dwFlags);
    EXPECT_EQ(256u, c_dfDIKeyboard.dwDataSize);
    ASSERT_EQ(256u, c_dfDIKeyboard.dwNumObjs);
    for (DWORD i = 0; i < 256; ++i) {
        EXPECT_EQ(i, c_dfDIKeyboard.rgodf[i].dwOfs);
        EXPECT_TRUE(*c_dfDIKeyboard.rgodf[i].pguid == GUID_Key);
    }
}

TEST_F(DirectInputTest, OnlyTheSystemKeyboardExists)
{
    LPDIRECTINPUTDEVICEA device = reinterpret_cast<LPDIRECTINPUTDEVICEA>(1);
    EXPECT_EQ(DIERR_DEVICENOTREG, input->CreateDevice(kUnknownDevice, &device, nullptr));
    EXPECT_EQ(nullptr, device);
}

TEST_F(DirectInputTest, DeviceKeepsItsDirectInputObjectAlive)
{
    EXPECT_EQ(0u, keyboard->Release());
    keyboard = nullptr;
    LPDIRECTINPUTDEVICEA device = nullptr;
    ASSERT_EQ(DI_OK, input->CreateDevice(GUID_SysKeyboard, &device, nullptr));
    EXPECT_GE(input->Release(), 1u);  // the device's reference remains
    EXPECT_EQ(0u, device->Release());
    input = nullptr;
}

TEST_F(DirectInputTest, CooperativeLevelNeedsOneOfEachPairOfFlags)
{
    const DWORD invalid[] = {
        0,
        DISCL_NONEXCLUSIVE,
        DISCL_BACKGROUND,
        DISCL_EXCLUSIVE | DISCL_NONEXCLUSIVE | DISCL_BACKGROUND,
        DISCL_NONEXCLUSIVE | DISCL_FOREGROUND | DISCL_BACKGROUND,
    };
    for (DWORD flags : invalid) EXPECT_EQ(DIERR_INVALIDPARAM, keyboard->SetCooperativeLevel(nullptr, flags)) << flags;
}

TEST_F(DirectInputTest, AcquireNeedsADataFormat)
{
    ASSERT_EQ(DI_OK, keyboard->SetCooperativeLevel(nullptr, DISCL_NONEXCLUSIVE | DISCL_BACKGROUND));
    EXPECT_EQ(DIERR_INVALIDPARAM, keyboard->Acquire());
}

TEST_F(DirectInputTest, AcquireTwiceHasNoFurtherEffect)
{
    Prepare();
    EXPECT_EQ(DI_OK, keyboard->Acquire());
    EXPECT_EQ(S_FALSE, keyboard->Acquire());
    EXPECT_EQ(DI_OK, keyboard->Unacquire());
    EXPECT_EQ(DI_NOEFFECT, keyboard->Unacquire());
}

TEST_F(DirectInputTest, DeviceStateNeedsAnAcquiredDevice)
{
    Prepare();
    BYTE keys[256];
    EXPECT_EQ(DIERR_NOTACQUIRED, keyboard->GetDeviceState(sizeof(keys), keys));
    ASSERT_EQ(DI_OK, keyboard->Acquire());
    ASSERT_EQ(DI_OK, keyboard->Unacquire());
    EXPECT_EQ(DIERR_NOTACQUIRED, keyboard->GetDeviceState(sizeof(keys), keys));
}

TEST_F(DirectInputTest, DeviceStateIsOneFlagByteForEachKey)
{
    Prepare();
    ASSERT_EQ(DI_OK, keyboard->Acquire());
    BYTE keys[256];
    for (BYTE& key : keys) key = 0x55;
    ASSERT_EQ(DI_OK, keyboard->GetDeviceState(sizeof(keys), keys));
    for (int i = 0; i < 256; ++i) EXPECT_TRUE(keys[i] == 0 || keys[i] == 0x80) << i;
}

TEST_F(DirectInputTest, DeviceStateMustBeAskedForWhole)
{
    Prepare();
    ASSERT_EQ(DI_OK, keyboard->Acquire());
    BYTE keys[300];
    EXPECT_EQ(DIERR_INVALIDPARAM, keyboard->GetDeviceState(255, keys));
    EXPECT_EQ(DIERR_INVALIDPARAM, keyboard->GetDeviceState(257, keys));
}

TEST_F(DirectInputTest, FormatAndLevelCannotChangeWhileAcquired)
{
    Prepare();
    ASSERT_EQ(DI_OK, keyboard->Acquire());
    EXPECT_EQ(DIERR_ACQUIRED, keyboard->SetDataFormat(&c_dfDIKeyboard));
    EXPECT_EQ(DIERR_ACQUIRED, keyboard->SetCooperativeLevel(nullptr, DISCL_NONEXCLUSIVE | DISCL_BACKGROUND));
}

}  // namespace
