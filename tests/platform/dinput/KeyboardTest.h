// The system keyboard through DirectInput in the game's data format, and
// the keys it reads down. The Windows API alone.
#ifndef VORBLOX_TESTS_KEYBOARD_TEST_H
#define VORBLOX_TESTS_KEYBOARD_TEST_H

#include <dinput.h>
#include <gtest/gtest.h>
#include <windows.h>

#include <vector>

namespace dxtest {

// At the end the keyboard, then its DirectInput object, have their last
// references here.
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
        if (keyboard) {
            EXPECT_EQ(0u, keyboard->Release());
        }
        if (input) {
            EXPECT_EQ(0u, input->Release());
        }
    }
    // The keys read down, or the read's failure.
    std::vector<int> Down()
    {
        BYTE state[256];
        for (BYTE& key : state) key = 0x55;
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

// A plain top-level window, destroyed with the object.
class KeyboardWindow {
public:
    KeyboardWindow()
    {
        WNDCLASSA wc = {0, DefWindowProcA, 0, 0, nullptr, nullptr, nullptr, nullptr, nullptr, "VorbloxKeyboardTest"};
        RegisterClassA(&wc);  // already registered by an earlier test: fine
        hwnd = CreateWindowExA(0, wc.lpszClassName, "Keyboard test", WS_OVERLAPPEDWINDOW, 10, 10, 100, 100, nullptr,
                               nullptr, nullptr, nullptr);
        ShowWindow(hwnd, SW_SHOW);
    }
    ~KeyboardWindow()
    {
        if (IsWindow(hwnd)) DestroyWindow(hwnd);
    }
    HWND hwnd = nullptr;
};

}  // namespace dxtest

#endif
