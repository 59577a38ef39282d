// Game controllers as keys of the keyboard device, steered through SDL's
// virtual joysticks given a mapping, so that they open as game controllers.
#include "DirectXTestSupport.h"

#include <PlatformTest.h>
#include <SDL.h>

#include <algorithm>

namespace {

// A plain joystick that a mapping makes a game controller: the left stick on
// axes 0 and 1, the D-pad on hat 0, A B X Y Back Start on buttons 0 to 5.
// Unplugged with the object.
class Pad {
public:
    Pad()
    {
        int index = SDL_JoystickAttachVirtual(SDL_JOYSTICK_TYPE_UNKNOWN, 2, 6, 1);
        char guid[64];
        SDL_JoystickGetGUIDString(SDL_JoystickGetDeviceGUID(index), guid, sizeof guid);
        // Mappings name devices without the checksum of their name.
        std::fill(guid + 4, guid + 8, '0');
        SDL_GameControllerAddMapping((std::string(guid) +
                                      ",Test pad,a:b0,b:b1,x:b2,y:b3,back:b4,start:b5,leftx:a0,lefty:a1,"
                                      "dpup:h0.1,dpright:h0.2,dpdown:h0.4,dpleft:h0.8,")
                                         .c_str());
        joystick = SDL_JoystickOpen(index);
    }
    ~Pad() { Unplug(); }
    void Button(int button, bool down) { SDL_JoystickSetVirtualButton(joystick, button, down); }
    void Hat(Uint8 value) { SDL_JoystickSetVirtualHat(joystick, 0, value); }
    void Stick(Sint16 x, Sint16 y)
    {
        SDL_JoystickSetVirtualAxis(joystick, 0, x);
        SDL_JoystickSetVirtualAxis(joystick, 1, y);
    }
    void Unplug()
    {
        if (!joystick) return;
        SDL_JoystickID id = SDL_JoystickInstanceID(joystick);
        SDL_JoystickClose(joystick);
        joystick = nullptr;
        for (int i = 0; i < SDL_NumJoysticks(); ++i)
            if (SDL_JoystickGetDeviceInstanceID(i) == id) SDL_JoystickDetachVirtual(i);
    }

private:
    SDL_Joystick* joystick = nullptr;
};

enum { A, B, X, Y, Back, Start };

// The game's keyboard, foreground in a window with the focus, controllers
// on; the first read starts SDL's controller support.
class GamepadTest : public dxtest::KeyboardTest {
protected:
    void SetUp() override
    {
        dxtest::KeyboardTest::SetUp();
        PlatformTest::UseGamepads(true);
        ASSERT_EQ(DI_OK, keyboard->SetCooperativeLevel(window.hwnd, DISCL_NONEXCLUSIVE | DISCL_FOREGROUND));
        ASSERT_EQ(DI_OK, keyboard->Acquire());
        ASSERT_EQ(std::vector<int>{}, Down());
    }
    dxtest::TestWindow window{10, 10, 100, 100};
};

TEST_F(GamepadTest, ButtonsDpadAndStickReadAsTheGameKeys)
{
    Pad pad;
    const std::pair<int, int> buttons[] = {{A, DIK_UP}, {Y, DIK_UP}, {B, DIK_LCONTROL}, {X, DIK_LCONTROL},
                                           {Start, DIK_F1}, {Back, -1}};
    for (const auto& b : buttons) {
        pad.Button(b.first, true);
        EXPECT_EQ(b.second < 0 ? std::vector<int>{} : std::vector<int>{b.second}, Down()) << b.first;
        pad.Button(b.first, false);
        EXPECT_EQ(std::vector<int>{}, Down()) << b.first;
    }
    // Back and Start together quit, without starting a game.
    pad.Button(Back, true);
    pad.Button(Start, true);
    EXPECT_EQ(std::vector<int>{DIK_ESCAPE}, Down());
    pad.Button(Back, false);
    pad.Button(Start, false);

    const std::pair<Uint8, std::vector<int>> hats[] = {
        {SDL_HAT_LEFT, {DIK_LEFT}}, {SDL_HAT_RIGHT, {DIK_RIGHT}}, {SDL_HAT_DOWN, {DIK_DOWN}},
        {SDL_HAT_LEFTDOWN, {DIK_LEFT, DIK_DOWN}}, {SDL_HAT_UP, {}}};
    for (const auto& h : hats) {
        pad.Hat(h.first);
        EXPECT_EQ(h.second, Down()) << int(h.first);
    }
    pad.Hat(SDL_HAT_CENTERED);

    // The stick counts from half way out; short of it, nothing.
    const std::pair<std::pair<Sint16, Sint16>, std::vector<int>> sticks[] = {
        {{-16383, 16383}, {}},         {{-16384, 0}, {DIK_LEFT}},   {{32767, 0}, {DIK_RIGHT}},
        {{0, 16384}, {DIK_DOWN}},      {{0, -32768}, {}},           {{-20000, 20000}, {DIK_LEFT, DIK_DOWN}},
        {{12000, 30000}, {DIK_DOWN}}};
    for (const auto& s : sticks) {
        pad.Stick(s.first.first, s.first.second);
        EXPECT_EQ(s.second, Down()) << s.first.first << "," << s.first.second;
    }
}

TEST_F(GamepadTest, ControllersComeAndGoDuringPlayBesideTheKeyboard)
{
    PlatformTest::SetKeyDown(DIK_RIGHT, true);
    {
        Pad first;
        first.Button(A, true);
        EXPECT_EQ((std::vector<int>{DIK_UP, DIK_RIGHT}), Down());
        Pad second;
        second.Button(B, true);
        EXPECT_EQ((std::vector<int>{DIK_LCONTROL, DIK_UP, DIK_RIGHT}), Down());
        first.Unplug();
        EXPECT_EQ((std::vector<int>{DIK_LCONTROL, DIK_RIGHT}), Down());
    }
    EXPECT_EQ(std::vector<int>{DIK_RIGHT}, Down());
    Pad again;
    again.Hat(SDL_HAT_DOWN);
    EXPECT_EQ((std::vector<int>{DIK_RIGHT, DIK_DOWN}), Down());
}

TEST_F(GamepadTest, ControllersCountOnlyWhileTheWindowHasTheFocus)
{
    Pad pad;
    pad.Button(Start, true);
    PlatformTest::SetKeyboardFocus(window.hwnd, false);
    EXPECT_EQ(std::vector<int>{DIERR_INPUTLOST}, Down());
    // A background keyboard still reads its keys, but no controller.
    ASSERT_EQ(DI_OK, keyboard->SetCooperativeLevel(window.hwnd, DISCL_NONEXCLUSIVE | DISCL_BACKGROUND));
    ASSERT_EQ(DI_OK, keyboard->Acquire());
    PlatformTest::SetKeyDown(DIK_LEFT, true);
    EXPECT_EQ(std::vector<int>{DIK_LEFT}, Down());
    // A press made meanwhile does not turn up once the focus is back.
    pad.Button(Start, false);
    pad.Button(X, true);
    EXPECT_EQ(std::vector<int>{DIK_LEFT}, Down());
    pad.Button(X, false);
    PlatformTest::SetKeyboardFocus(window.hwnd, true);
    EXPECT_EQ(std::vector<int>{DIK_LEFT}, Down());
    pad.Button(Y, true);
    EXPECT_EQ((std::vector<int>{DIK_UP, DIK_LEFT}), Down());
}

TEST_F(GamepadTest, APressEndsTheIdleWaitAndATapCountsOnce)
{
    Pad pad;
    EXPECT_EQ(std::vector<int>{}, Down());
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
    pad.Button(Start, true);
    EXPECT_TRUE(WaitMessage());
    EXPECT_FALSE(PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE));  // no message: the pad woke it
    pad.Button(Start, false);
    // Let go before the game's next read: the press still counts, once.
    EXPECT_EQ(std::vector<int>{DIK_F1}, Down());
    EXPECT_EQ(std::vector<int>{}, Down());
}

}  // namespace
