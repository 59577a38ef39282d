// Every DirectInput call the game makes fails on demand and then works.
#include "InjectedFailures.h"
#include "dinput/KeyboardTest.h"

namespace {

using dxtest::KeyboardTest;

TEST_F(KeyboardTest, EachCallFailsOnDemandAndThenWorksAgain)
{
    LPDIRECTINPUTA newInput = nullptr;
    LPDIRECTINPUTDEVICEA newDevice = nullptr;
    BYTE keys[256];
    ExpectEachToFailOnceOnDemand({
        {"DirectInputCreateA",
         [&] { return Dropped(DirectInputCreateA(GetModuleHandleA(nullptr), 0x0500, &newInput, nullptr), newInput); }},
        {"IDirectInputA::CreateDevice",
         [&] { return Dropped(input->CreateDevice(GUID_SysKeyboard, &newDevice, nullptr), newDevice); }},
        {"IDirectInputDeviceA::SetDataFormat", [&] { return keyboard->SetDataFormat(&c_dfDIKeyboard); }},
        {"IDirectInputDeviceA::SetCooperativeLevel",
         [&] { return keyboard->SetCooperativeLevel(nullptr, DISCL_NONEXCLUSIVE | DISCL_BACKGROUND); }},
        {"IDirectInputDeviceA::Acquire", [&] { return keyboard->Acquire(); }},
        {"IDirectInputDeviceA::GetDeviceState", [&] { return keyboard->GetDeviceState(256, keys); }},
        {"IDirectInputDeviceA::Unacquire", [&] { return keyboard->Unacquire(); }},
    });
}

}  // namespace
