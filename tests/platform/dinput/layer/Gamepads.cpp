// Game controllers as keys of the keyboard device, steered through SDL's
// virtual joysticks given a mapping, so that they open as game controllers.
#include "dinput/KeyboardTest.h"

#include <KeyBindings.h>
#include <PlatformTest.h>
#include <SDL.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <unistd.h>

namespace {

enum { A, B, X, Y, Back, Start };

// A plain joystick that a mapping makes a game controller: the left stick on
// axes 0 and 1, the D-pad on hat 0, A B X Y Back Start on buttons 0 to 5.
class Pad {
public:
    Pad()
    {
        int index = SDL_JoystickAttachVirtual(SDL_JOYSTICK_TYPE_UNKNOWN, 2, 6, 1);
        char guid[64];
        SDL_JoystickGetGUIDString(SDL_JoystickGetDeviceGUID(index), guid, sizeof guid);
        std::fill(guid + 4, guid + 8, '0');  // mappings leave out the name's checksum
        SDL_GameControllerAddMapping((std::string(guid) + ",Pad,a:b0,b:b1,x:b2,y:b3,back:b4,start:b5,leftx:a0,"
                                                          "lefty:a1,dpright:h0.2,dpdown:h0.4,dpleft:h0.8,").c_str());
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

// The game's keyboard, foreground in a window with the focus, controllers on,
// with a joystick's device node in the folder the layer watches (virtual
// joysticks have none of their own).
class GamepadTest : public dxtest::KeyboardTest {
protected:
    void SetUp() override
    {
        dxtest::KeyboardTest::SetUp();
        ASSERT_TRUE(mkdtemp(&nodes[0]));
        PlatformTest::WatchJoystickFolder(nodes.c_str());
        if (JoystickThere()) AddNode("js0");
        PlatformTest::UseGamepads(true);
        ASSERT_EQ(DI_OK, keyboard->SetCooperativeLevel(window.hwnd, DISCL_NONEXCLUSIVE | DISCL_FOREGROUND));
        ASSERT_EQ(DI_OK, keyboard->Acquire());
    }
    void TearDown() override
    {
        for (const char* node : {"/js0", "/event9"}) std::remove((nodes + node).c_str());
        rmdir(nodes.c_str());
        dxtest::KeyboardTest::TearDown();
    }
    virtual bool JoystickThere() { return true; }
    void AddNode(const char* name) { std::fclose(std::fopen((nodes + "/" + name).c_str(), "w")); }
    std::string nodes = "/tmp/vorblox-nodes-XXXXXX";
    dxtest::KeyboardWindow window;
};

class GamepadLaterTest : public GamepadTest {
    bool JoystickThere() override { return false; }
};

using Keys = std::vector<int>;

TEST_F(GamepadTest, ButtonsDpadAndStickReadAsTheGameKeys)
{
    Pad pad;
    const std::pair<int, Keys> buttons[] = {{A, {DIK_UP}}, {Y, {DIK_UP}}, {B, {DIK_LCONTROL}}, {X, {DIK_LCONTROL}},
                                            {Start, {DIK_F1}}, {Back, {}}};
    for (const auto& b : buttons) {
        pad.Button(b.first, true);
        EXPECT_EQ(b.second, Down()) << b.first;
        pad.Button(b.first, false);
        EXPECT_EQ(Keys{}, Down()) << b.first;
    }
    pad.Button(Back, true);
    pad.Button(Start, true);
    EXPECT_EQ(Keys{DIK_ESCAPE}, Down());  // quits, and starts no game
    pad.Button(Back, false);
    pad.Button(Start, false);
    pad.Hat(SDL_HAT_LEFTDOWN);
    EXPECT_EQ((Keys{DIK_LEFT, DIK_DOWN}), Down());
    pad.Hat(SDL_HAT_RIGHTUP);
    EXPECT_EQ(Keys{DIK_RIGHT}, Down());
    pad.Hat(SDL_HAT_CENTERED);
    // The stick counts from half way out.
    const std::pair<std::pair<Sint16, Sint16>, Keys> sticks[] = {
        {{-16383, 16383}, {}}, {{-16384, 16384}, {DIK_LEFT, DIK_DOWN}}, {{32767, -32768}, {DIK_RIGHT}}};
    for (const auto& s : sticks) {
        pad.Stick(s.first.first, s.first.second);
        EXPECT_EQ(s.second, Down()) << s.first.first << "," << s.first.second;
    }
}

TEST_F(GamepadTest, ControllersComeAndGoBesideTheKeyboardWhileTheWindowHasTheFocus)
{
    PlatformTest::SetKeyDown(DIK_RIGHT, true);
    auto first = std::make_unique<Pad>();
    first->Button(A, true);
    EXPECT_EQ((Keys{DIK_UP, DIK_RIGHT}), Down());
    Pad second;
    second.Button(B, true);
    first.reset();
    EXPECT_EQ((Keys{DIK_LCONTROL, DIK_RIGHT}), Down());

    // Without the focus a background keyboard still reads its keys, but no
    // controller, and a press made meanwhile does not turn up later.
    keyboard->Unacquire();
    ASSERT_EQ(DI_OK, keyboard->SetCooperativeLevel(window.hwnd, DISCL_NONEXCLUSIVE | DISCL_BACKGROUND));
    ASSERT_EQ(DI_OK, keyboard->Acquire());
    PlatformTest::SetKeyboardFocus(window.hwnd, false);
    second.Button(X, true);
    EXPECT_EQ(Keys{DIK_RIGHT}, Down());
    second.Button(X, false);
    second.Button(B, false);
    PlatformTest::SetKeyboardFocus(window.hwnd, true);
    EXPECT_EQ(Keys{DIK_RIGHT}, Down());
}

TEST_F(GamepadTest, APressEndsTheIdleWaitAndATapCountsOnce)
{
    Pad pad;
    EXPECT_EQ(Keys{}, Down());
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
    pad.Button(Start, true);
    EXPECT_TRUE(WaitMessage());
    EXPECT_FALSE(PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE));  // the pad woke it, not a message
    pad.Button(Start, false);
    EXPECT_EQ(Keys{DIK_F1}, Down());  // let go before the read: counts once
    EXPECT_EQ(Keys{}, Down());
}

// The player's bindings: what a line names moves, what it leaves out stays
// the game's own, and buttons held together give their action alone.
TEST_F(GamepadTest, BoundControlsReadAsTheirActionsKeys)
{
    std::string error;
    ASSERT_TRUE(plat::UseBindingsText("drop = pad:a, pad:left-stick-up\n"
                                      "turn-ccw = pad:y, pad:dpdown\n"
                                      "quit = pad:back+x\n",
                                      &error))
        << error;
    Pad pad;
    const std::pair<int, Keys> buttons[] = {{A, {DIK_DOWN}}, {Y, {DIK_UP}}, {X, {DIK_LCONTROL}}, {Start, {DIK_F1}}};
    for (const auto& b : buttons) {
        pad.Button(b.first, true);
        EXPECT_EQ(b.second, Down()) << b.first;
        pad.Button(b.first, false);
    }
    pad.Hat(SDL_HAT_DOWN);
    EXPECT_EQ(Keys{DIK_UP}, Down());
    pad.Hat(SDL_HAT_CENTERED);
    pad.Stick(0, -20000);
    EXPECT_EQ(Keys{DIK_DOWN}, Down());
    pad.Stick(0, 20000);  // no longer drop's
    EXPECT_EQ(Keys{}, Down());
    pad.Stick(0, 0);
    pad.Button(Back, true);
    EXPECT_EQ(Keys{}, Down());
    pad.Button(X, true);
    EXPECT_EQ(Keys{DIK_ESCAPE}, Down());  // and no turn
    pad.Button(X, false);
    pad.Button(Start, true);  // Back with Start is nothing of its own now
    EXPECT_EQ(Keys{DIK_F1}, Down());
}

// SDL's joystick support costs memory, so it waits for a device to come.
TEST_F(GamepadLaterTest, ControllersStartWhenADeviceComes)
{
    // Once started they stay for the life of the process.
    if (SDL_WasInit(SDL_INIT_JOYSTICK)) GTEST_SKIP() << "an earlier test of this process started them";
    Pad pad;
    pad.Button(A, true);
    EXPECT_EQ(Keys{}, Down());
    EXPECT_EQ(0u, SDL_WasInit(SDL_INIT_JOYSTICK));
    AddNode("event9");
    // Noticed at the next look at the device nodes, a quarter of a second
    // apart during play.
    Keys down;
    for (int look = 0; look < 50 && down.empty(); ++look) {
        down = Down();
        if (down.empty()) Sleep(10);
    }
    EXPECT_EQ(Keys{DIK_UP}, down);
}

}  // namespace
