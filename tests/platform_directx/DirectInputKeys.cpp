// The keyboard's state as the test controls set it, and DirectInput's
// injected failures.
#include <PlatformTest.h>
#include <dinput.h>
#include <gtest/gtest.h>

#include <functional>

namespace {

class KeyboardTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_EQ(DI_OK, DirectInputCreateA(GetModuleHandleA(nullptr), 0x0500, &input, nullptr));
        ASSERT_EQ(DI_OK, input->CreateDevice(GUID_SysKeyboard, &keyboard, nullptr));
        ASSERT_EQ(DI_OK, keyboard->SetDataFormat(&c_dfDIKeyboard));
        ASSERT_EQ(DI_OK, keyboard->SetCooperativeLevel(nullptr, DISCL_NONEXCLUSIVE | DISCL_BACKGROUND));
        ASSERT_EQ(DI_OK, keyboard->Acquire());
    }

    void TearDown() override
    {
        EXPECT_EQ(0u, keyboard->Release());
        EXPECT_EQ(0u, input->Release());
    }

    void Read(BYTE* keys) { ASSERT_EQ(DI_OK, keyboard->GetDeviceState(256, keys)); }

public:
    LPDIRECTINPUTA input = nullptr;
    LPDIRECTINPUTDEVICEA keyboard = nullptr;
};

TEST_F(KeyboardTest, EachKeyTheGameUsesReadsDownAloneAtItsCode)
{
    const BYTE keys[] = {DIK_F1, DIK_ESCAPE, DIK_LEFT, DIK_RIGHT, DIK_UP, DIK_DOWN,
                         DIK_LSHIFT, DIK_RSHIFT, DIK_LCONTROL, DIK_RCONTROL, DIK_LMENU, DIK_RMENU,
                         DIK_SPACE, DIK_A, DIK_0, DIK_NUMPAD5, DIK_F12, DIK_NUMPADENTER};
    for (BYTE key : keys) {
        PlatformTest::ReleaseAllKeys();
        PlatformTest::SetKeyDown(key, true);
        BYTE state[256];
        Read(state);
        for (int i = 0; i < 256; ++i) EXPECT_EQ(i == key ? 0x80 : 0, state[i]) << "key " << int(key) << " byte " << i;
    }
}

TEST_F(KeyboardTest, SeveralKeysAtOnce)
{
    PlatformTest::ReleaseAllKeys();
    PlatformTest::SetKeyDown(DIK_LEFT, true);
    PlatformTest::SetKeyDown(DIK_DOWN, true);
    PlatformTest::SetKeyDown(DIK_RCONTROL, true);
    BYTE state[256];
    Read(state);
    EXPECT_EQ(0x80, state[DIK_LEFT]);
    EXPECT_EQ(0x80, state[DIK_DOWN]);
    EXPECT_EQ(0x80, state[DIK_RCONTROL]);
    EXPECT_EQ(0, state[DIK_RIGHT]);
    PlatformTest::SetKeyDown(DIK_DOWN, false);
    Read(state);
    EXPECT_EQ(0, state[DIK_DOWN]);
    EXPECT_EQ(0x80, state[DIK_LEFT]);
}

TEST_F(KeyboardTest, ReleaseAllKeysLeavesEveryByteZero)
{
    PlatformTest::SetKeyDown(DIK_ESCAPE, true);
    PlatformTest::ReleaseAllKeys();
    BYTE state[256];
    Read(state);
    for (int i = 0; i < 256; ++i) EXPECT_EQ(0, state[i]) << i;
}

TEST_F(KeyboardTest, ResetForgetsHeldKeys)
{
    PlatformTest::SetKeyDown(DIK_F1, true);
    PlatformTest::Reset();
    BYTE state[256];
    Read(state);
    EXPECT_EQ(0, state[DIK_F1]);  // headless: no real key is down
}

struct InputInjection {
    const char* call;
    std::function<HRESULT(KeyboardTest&)> make;
};

TEST_F(KeyboardTest, EveryCallFailsOnDemandAndThenWorksAgain)
{
    const HRESULT injected = DIERR_INPUTLOST;
    const InputInjection cases[] = {
        {"DirectInputCreateA",
         [](KeyboardTest&) {
             LPDIRECTINPUTA made = nullptr;
             HRESULT hr = DirectInputCreateA(GetModuleHandleA(nullptr), 0x0500, &made, nullptr);
             if (made) made->Release();
             return hr;
         }},
        {"IDirectInputA::CreateDevice",
         [](KeyboardTest& t) {
             LPDIRECTINPUTDEVICEA made = nullptr;
             HRESULT hr = t.input->CreateDevice(GUID_SysKeyboard, &made, nullptr);
             if (made) made->Release();
             return hr;
         }},
        {"IDirectInputDeviceA::GetDeviceState",
         [](KeyboardTest& t) {
             BYTE state[256];
             return t.keyboard->GetDeviceState(256, state);
         }},
        {"IDirectInputDeviceA::Acquire",
         [](KeyboardTest& t) {
             t.keyboard->Unacquire();
             return t.keyboard->Acquire();
         }},
        {"IDirectInputDeviceA::Unacquire",
         [](KeyboardTest& t) {
             HRESULT hr = t.keyboard->Unacquire();
             t.keyboard->Acquire();
             return hr;
         }},
        {"IDirectInputDeviceA::SetDataFormat",
         [](KeyboardTest& t) {
             t.keyboard->Unacquire();
             return t.keyboard->SetDataFormat(&c_dfDIKeyboard);
         }},
        {"IDirectInputDeviceA::SetCooperativeLevel",
         [](KeyboardTest& t) {
             t.keyboard->Unacquire();
             return t.keyboard->SetCooperativeLevel(nullptr, DISCL_NONEXCLUSIVE | DISCL_BACKGROUND);
         }},
    };
    for (const InputInjection& c : cases) {
        PlatformTest::FailCall(c.call, static_cast<DWORD>(injected), 1);
        EXPECT_EQ(injected, c.make(*this)) << c.call;
        EXPECT_EQ(DI_OK, c.make(*this)) << c.call << " after the injected failure";
    }
}

TEST_F(KeyboardTest, OnlyTheKeyboardDataFormatIsAccepted)
{
    ASSERT_EQ(DI_OK, keyboard->Unacquire());
    DIDATAFORMAT copy = c_dfDIKeyboard;
    EXPECT_EQ(DI_OK, keyboard->SetDataFormat(&copy));
    DIDATAFORMAT smaller = c_dfDIKeyboard;
    smaller.dwDataSize = 128;
    smaller.dwNumObjs = 128;
    EXPECT_EQ(DIERR_INVALIDPARAM, keyboard->SetDataFormat(&smaller));
    DIDATAFORMAT absolute = c_dfDIKeyboard;
    absolute.dwFlags = DIDF_ABSAXIS;
    EXPECT_EQ(DIERR_INVALIDPARAM, keyboard->SetDataFormat(&absolute));
    EXPECT_EQ(DIERR_INVALIDPARAM, keyboard->SetDataFormat(nullptr));
}

TEST_F(KeyboardTest, ForegroundLevelNeedsAWindow)
{
    ASSERT_EQ(DI_OK, keyboard->Unacquire());
    EXPECT_EQ(E_HANDLE, keyboard->SetCooperativeLevel(nullptr, DISCL_NONEXCLUSIVE | DISCL_FOREGROUND));
    EXPECT_EQ(DIERR_UNSUPPORTED, keyboard->SetCooperativeLevel(nullptr, DISCL_EXCLUSIVE | DISCL_BACKGROUND));
}

}  // namespace
