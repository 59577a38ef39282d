// The main window: creation and destruction, and the dispatch of the twenty
// handled messages to their slots with the parameters taken apart.
#include <gtest/gtest.h>

#include <PlatformTest.h>

#include <type_traits>
#include <vector>

#include "shell/MainWindow.h"
#include "system/SystemInfo.h"

namespace {

const char* const kClassName = "VorbloxMainWindowTest";

// What each handler saw: its slot, the window handle and the other arguments.
std::vector<std::vector<uintptr_t>> calls;

const LRESULT kCreateResult = 0x5A5A;

// Puts a recorder of the slot's own signature in it; onCreate answers kCreateResult.
template <int Slot, class R, class... Args>
void Install(R (*&slot)(HWND, Args...))
{
    slot = [](HWND hwnd, Args... args) -> R {
        calls.push_back({Slot, reinterpret_cast<uintptr_t>(hwnd), static_cast<uintptr_t>(args)...});
        if constexpr (!std::is_void_v<R>) return kCreateResult;
    };
}

void InstallAll(MessageHandlers& h)
{
    Install<0>(h.onClose), Install<1>(h.onCreate), Install<2>(h.onDestroy), Install<3>(h.onEraseBackground);
    Install<4>(h.onGetMinMaxInfo), Install<5>(h.onKeyDown), Install<6>(h.onKeyUp), Install<7>(h.onLButtonDblClk);
    Install<8>(h.onLButtonDown), Install<9>(h.onLButtonUp), Install<10>(h.onMButtonDblClk), Install<17>(h.onPaint);
    Install<11>(h.onMButtonDown), Install<12>(h.onMouseMove), Install<13>(h.onMButtonUp), Install<18>(h.onSizing);
    Install<14>(h.onRButtonDblClk), Install<15>(h.onRButtonDown), Install<16>(h.onRButtonUp);
    Install<19>(h.onSetCursor);
}

std::vector<LONG> Box(const RECT& r) { return {r.left, r.top, r.right, r.bottom}; }

class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        PlatformTest::SetHeadless(true);
        PlatformTest::Reset();  // also forgets classes without windows
        systemInfo.instance = GetModuleHandleA(NULL);
        systemInfo.showCommand = SW_SHOWDEFAULT;
        ASSERT_TRUE(RegisterMainWindowClass(CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS, NULL, LoadCursorA(NULL, IDC_ARROW),
                                            static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)), NULL, kClassName));
        calls.clear();
    }
    bool Create(MainWindow& window, LONG x = 10, LONG y = 20, LONG width = 320, LONG height = 440)
    {
        return window.Create(kClassName, "Vorblox v1.0", WS_OVERLAPPEDWINDOW, x, y, width, height, NULL, NULL);
    }
};

TEST_F(MainWindowTest, EveryHandledMessageReachesItsSlotDecoded)
{
    MainWindow window;
    ASSERT_TRUE(Create(window));
    InstallAll(window);
    static struct { CREATESTRUCTA create; MINMAXINFO minMax; RECT rect; } targets;
    auto at = [](const void* p) { return reinterpret_cast<uintptr_t>(p); };
    const uintptr_t w = at(window.hwnd), createAt = at(&targets.create), minMaxAt = at(&targets.minMax);
    const uintptr_t rectAt = at(&targets.rect);
    const LPARAM mouseAt = MAKELPARAM(0xFFF6, 300);  // x = -10 as an unsigned 16-bit value
    const WPARAM keys = 0xABCD0000u | MK_LBUTTON | MK_SHIFT;
    auto mouse = [w](uintptr_t slot) { return std::vector<uintptr_t>{slot, w, 5, 0xFFF6, 300}; };
    // The message and its parameters; the slot, window and arguments the handler must see; the result.
    const struct { UINT message; WPARAM wp; LPARAM lp; std::vector<uintptr_t> call; LRESULT result; } cases[] = {
        {WM_CLOSE, 0, 0, {0, w}, 0}, {WM_CREATE, 0, static_cast<LPARAM>(createAt), {1, w, createAt}, kCreateResult},
        {WM_DESTROY, 0, 0, {2, w}, 0}, {WM_ERASEBKGND, 0x7777, 0, {3, w, 0x7777}, 1},
        {WM_GETMINMAXINFO, 0, static_cast<LPARAM>(minMaxAt), {4, w, minMaxAt}, 0},
        // repeat 3, scan code 0x2A, extended, previously down
        {WM_KEYDOWN, VK_LEFT, 0x412A0003, {5, w, VK_LEFT, 3, 0x2A, 1, 1}, 0},
        // the transition bit set: a negative LPARAM
        {WM_KEYDOWN, VK_F1, static_cast<LPARAM>(static_cast<LONG>(0x803B0001)), {5, w, VK_F1, 1, 0x3B, 0, 0}, 0},
        {WM_KEYUP, VK_RCONTROL, static_cast<LPARAM>(static_cast<LONG>(0xC11D0001)), {6, w, VK_RCONTROL, 0x1D, 1}, 0},
        {WM_LBUTTONDBLCLK, keys, mouseAt, mouse(7), 0}, {WM_LBUTTONDOWN, keys, mouseAt, mouse(8), 0},
        {WM_LBUTTONUP, keys, mouseAt, mouse(9), 0}, {WM_MBUTTONDBLCLK, keys, mouseAt, mouse(10), 0},
        {WM_MBUTTONDOWN, keys, mouseAt, mouse(11), 0}, {WM_MBUTTONUP, keys, mouseAt, mouse(13), 0},
        {WM_RBUTTONDBLCLK, keys, mouseAt, mouse(14), 0}, {WM_RBUTTONDOWN, keys, mouseAt, mouse(15), 0},
        {WM_RBUTTONUP, keys, mouseAt, mouse(16), 0}, {WM_PAINT, 0, 0, {17, w}, 0},
        {WM_MOUSEMOVE, 0, MAKELPARAM(299, 0xFFFF), {12, w, 0, 299, 0xFFFF}, 0},
        {WM_SIZING, 0x12340000u | WMSZ_BOTTOMRIGHT, static_cast<LPARAM>(rectAt), {18, w, WMSZ_BOTTOMRIGHT, rectAt}, 1},
        {WM_SETCURSOR, 0, MAKELPARAM(HTCLIENT, WM_MOUSEMOVE), {19, w, HTCLIENT, WM_MOUSEMOVE}, 0},
    };
    for (const auto& c : cases) {
        calls.clear();
        int defaults = PlatformTest::CallCount("DefWindowProcA");
        EXPECT_EQ(c.result, SendMessageA(window.hwnd, c.message, c.wp, c.lp)) << c.call[0];
        EXPECT_EQ(std::vector<std::vector<uintptr_t>>{c.call}, calls) << c.call[0];
        EXPECT_EQ(defaults, PlatformTest::CallCount("DefWindowProcA")) << c.call[0] << ": handled, not defaulted";
    }
}

TEST_F(MainWindowTest, UnattachedWindowsAndNullSlotsTakeTheDefaultPath)
{
    MainWindow window;
    InstallAll(window);
    HWND bare = CreateWindowExA(0, kClassName, "bare", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, NULL, NULL,
                                systemInfo.instance, NULL);
    ASSERT_NE(nullptr, bare);
    ASSERT_TRUE(Create(window));
    window.onKeyDown = NULL, window.onMButtonDown = NULL, window.onSetCursor = NULL;
    const struct { HWND hwnd; UINT message; } cases[] = {
        {bare, WM_MOUSEMOVE}, {bare, WM_LBUTTONUP}, {window.hwnd, WM_KEYDOWN}, {window.hwnd, WM_MBUTTONDOWN},
        {window.hwnd, WM_SETCURSOR}, {window.hwnd, WM_ACTIVATE}, {window.hwnd, WM_SIZE}, {window.hwnd, WM_CHAR}};
    for (const auto& c : cases) {
        calls.clear();
        int defaults = PlatformTest::CallCount("DefWindowProcA");
        SendMessageA(c.hwnd, c.message, 0, 0);
        EXPECT_TRUE(calls.empty()) << std::hex << c.message;
        EXPECT_EQ(defaults + 1, PlatformTest::CallCount("DefWindowProcA")) << std::hex << c.message;
    }
    DestroyWindow(bare);
}

TEST_F(MainWindowTest, CreationMessagesTakeTheDefaultPathThenTheWindowIsShown)
{
    MainWindow window;
    InstallAll(window);
    ASSERT_TRUE(Create(window));
    EXPECT_EQ(reinterpret_cast<LONG_PTR>(&window), GetWindowLongPtrA(window.hwnd, 0));
    for (const auto& call : calls) EXPECT_NE(1u, call[0]) << "WM_CREATE came before the object was attached";
    EXPECT_EQ(1, PlatformTest::CallCount("ShowWindow"));
    EXPECT_EQ(1, PlatformTest::CallCount("UpdateWindow"));
}

TEST_F(MainWindowTest, FailedCreateLeavesNoWindow)
{
    MainWindow window;
    PlatformTest::FailCall("CreateWindowExA", ERROR_NOT_ENOUGH_MEMORY, 1);
    EXPECT_FALSE(Create(window));
    EXPECT_EQ(nullptr, window.hwnd);
    EXPECT_EQ(0, PlatformTest::CallCount("ShowWindow"));
    EXPECT_EQ(static_cast<DWORD>(ERROR_NOT_ENOUGH_MEMORY), GetLastError());
}

TEST_F(MainWindowTest, DestroyAndTheDestructor)
{
    MainWindow window;
    EXPECT_EQ(TRUE, window.Destroy()) << "no window: nothing to do";
    ASSERT_TRUE(Create(window));
    Install<2>(window.onDestroy);
    HWND hwnd = window.hwnd;
    EXPECT_NE(FALSE, window.Destroy());
    EXPECT_EQ(nullptr, window.hwnd);
    EXPECT_FALSE(IsWindow(hwnd));
    EXPECT_EQ((std::vector<std::vector<uintptr_t>>{{2, reinterpret_cast<uintptr_t>(hwnd)}}), calls);

    ASSERT_TRUE(Create(window));
    ASSERT_TRUE(DestroyWindow(window.hwnd));  // closed by the user
    EXPECT_EQ(FALSE, window.Destroy());
    EXPECT_EQ(nullptr, window.hwnd);

    // The destructor clears the handlers first: none runs during teardown.
    calls.clear();
    {
        MainWindow doomed;
        ASSERT_TRUE(Create(doomed));
        InstallAll(doomed);
        hwnd = doomed.hwnd;
    }
    EXPECT_FALSE(IsWindow(hwnd));
    EXPECT_TRUE(calls.empty());
}

TEST_F(MainWindowTest, ClientAreaAndCentringOnASmallScreen)
{
    InitSystemInfo(GetModuleHandleA(NULL), SW_SHOWDEFAULT);
    MainWindow sized;
    ASSERT_TRUE(Create(sized, 40, 30, 300 + systemInfo.borderWidth, 400 + systemInfo.borderHeight));
    RECT client, frame;
    ASSERT_TRUE(GetClientRect(sized.hwnd, &client));
    EXPECT_EQ((std::vector<LONG>{0, 0, 300, 400}), Box(client));

    // A window 237 pixels wider and 11 taller than a 100 x 60 screen.
    const LONG width = 100 + 237, height = 60 + 11;
    MainWindow centred;
    ASSERT_TRUE(Create(centred, (100 - width) / 2, (60 - height) / 2, width, height));
    ASSERT_TRUE(GetWindowRect(centred.hwnd, &frame));
    EXPECT_EQ((std::vector<LONG>{-118, -5, -118 + width, -5 + height}), Box(frame));
}

}  // namespace
