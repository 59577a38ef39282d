// The main window: creation and destruction, and the dispatch of the twenty
// handled messages to their slots with the parameters taken apart.
#include <gtest/gtest.h>

#include <PlatformTest.h>

#include <vector>

#include "shell/MainWindow.h"
#include "system/SystemInfo.h"

namespace {

const char* const kClassName = "VorbloxMainWindowTest";

// What a handler saw: its slot and its arguments after the window handle.
struct Call {
    int slot;
    HWND hwnd;
    std::vector<uintptr_t> args;
};
std::vector<Call> calls;

void Record(int slot, HWND hwnd, std::vector<uintptr_t> args) { calls.push_back(Call{slot, hwnd, args}); }

const LRESULT kCreateResult = 0x5A5A;

void OnClose(HWND h) { Record(0, h, {}); }
LRESULT OnCreate(HWND h, LPARAM cs)
{
    Record(1, h, {static_cast<uintptr_t>(cs)});
    return kCreateResult;
}
void OnDestroy(HWND h) { Record(2, h, {}); }
void OnEraseBackground(HWND h, WPARAM dc) { Record(3, h, {dc}); }
void OnGetMinMaxInfo(HWND h, LPARAM info) { Record(4, h, {static_cast<uintptr_t>(info)}); }
void OnKeyDown(HWND h, UINT vk, UINT repeat, UINT scan, UINT extended, UINT previous)
{
    Record(5, h, {vk, repeat, scan, extended, previous});
}
void OnKeyUp(HWND h, UINT vk, UINT scan, UINT extended) { Record(6, h, {vk, scan, extended}); }
template <int Slot>
void OnMouse(HWND h, WORD keys, WORD x, WORD y)
{
    Record(Slot, h, {keys, x, y});
}
void OnPaint(HWND h) { Record(17, h, {}); }
void OnSizing(HWND h, UINT edge, LPARAM rect) { Record(18, h, {edge, static_cast<uintptr_t>(rect)}); }
void OnSetCursor(HWND h, UINT hitTest, UINT mouse) { Record(19, h, {hitTest, mouse}); }

void InstallAll(MessageHandlers& handlers)
{
    handlers.onClose = OnClose;
    handlers.onCreate = OnCreate;
    handlers.onDestroy = OnDestroy;
    handlers.onEraseBackground = OnEraseBackground;
    handlers.onGetMinMaxInfo = OnGetMinMaxInfo;
    handlers.onKeyDown = OnKeyDown;
    handlers.onKeyUp = OnKeyUp;
    handlers.onLButtonDblClk = OnMouse<7>;
    handlers.onLButtonDown = OnMouse<8>;
    handlers.onLButtonUp = OnMouse<9>;
    handlers.onMButtonDblClk = OnMouse<10>;
    handlers.onMButtonDown = OnMouse<11>;
    handlers.onMouseMove = OnMouse<12>;
    handlers.onMButtonUp = OnMouse<13>;
    handlers.onRButtonDblClk = OnMouse<14>;
    handlers.onRButtonDown = OnMouse<15>;
    handlers.onRButtonUp = OnMouse<16>;
    handlers.onPaint = OnPaint;
    handlers.onSizing = OnSizing;
    handlers.onSetCursor = OnSetCursor;
}

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

struct DispatchCase {
    const char* name;
    int slot;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    std::vector<uintptr_t> args;
    LRESULT result;
};

MINMAXINFO minMax;
RECT sizingRect;
CREATESTRUCTA createStruct;

std::vector<DispatchCase> DispatchCases()
{
    const LPARAM mouseAt = MAKELPARAM(0xFFF6, 300);  // x = -10 as an unsigned 16-bit value
    const WPARAM keys = 0xABCD0000u | MK_LBUTTON | MK_SHIFT;
    const LPARAM createAt = reinterpret_cast<LPARAM>(&createStruct);
    const LPARAM minMaxAt = reinterpret_cast<LPARAM>(&minMax);
    const LPARAM rectAt = reinterpret_cast<LPARAM>(&sizingRect);
    return {
        {"close", 0, WM_CLOSE, 0, 0, {}, 0},
        {"create", 1, WM_CREATE, 0, createAt, {static_cast<uintptr_t>(createAt)}, kCreateResult},
        {"destroy", 2, WM_DESTROY, 0, 0, {}, 0},
        {"erase background", 3, WM_ERASEBKGND, 0x7777, 0, {0x7777}, 1},
        {"min max info", 4, WM_GETMINMAXINFO, 0, minMaxAt, {static_cast<uintptr_t>(minMaxAt)}, 0},
        // repeat 3, scan code 0x2A, extended, previously down
        {"key down", 5, WM_KEYDOWN, VK_LEFT, 0x412A0003, {VK_LEFT, 3, 0x2A, 1, 1}, 0},
        // the same with the transition bit set: a negative LPARAM
        {"key down, transition bit", 5, WM_KEYDOWN, VK_F1, static_cast<LPARAM>(static_cast<LONG>(0x803B0001)),
         {VK_F1, 1, 0x3B, 0, 0}, 0},
        {"key up", 6, WM_KEYUP, VK_RCONTROL, static_cast<LPARAM>(static_cast<LONG>(0xC11D0001)),
         {VK_RCONTROL, 0x1D, 1}, 0},
        {"left double click", 7, WM_LBUTTONDBLCLK, keys, mouseAt, {5, 0xFFF6, 300}, 0},
        {"left down", 8, WM_LBUTTONDOWN, keys, mouseAt, {5, 0xFFF6, 300}, 0},
        {"left up", 9, WM_LBUTTONUP, keys, mouseAt, {5, 0xFFF6, 300}, 0},
        {"middle double click", 10, WM_MBUTTONDBLCLK, keys, mouseAt, {5, 0xFFF6, 300}, 0},
        {"middle down", 11, WM_MBUTTONDOWN, keys, mouseAt, {5, 0xFFF6, 300}, 0},
        {"mouse move", 12, WM_MOUSEMOVE, 0, MAKELPARAM(299, 0xFFFF), {0, 299, 0xFFFF}, 0},
        {"middle up", 13, WM_MBUTTONUP, keys, mouseAt, {5, 0xFFF6, 300}, 0},
        {"right double click", 14, WM_RBUTTONDBLCLK, keys, mouseAt, {5, 0xFFF6, 300}, 0},
        {"right down", 15, WM_RBUTTONDOWN, keys, mouseAt, {5, 0xFFF6, 300}, 0},
        {"right up", 16, WM_RBUTTONUP, keys, mouseAt, {5, 0xFFF6, 300}, 0},
        {"paint", 17, WM_PAINT, 0, 0, {}, 0},
        {"sizing", 18, WM_SIZING, 0x12340000u | WMSZ_BOTTOMRIGHT, rectAt,
         {WMSZ_BOTTOMRIGHT, static_cast<uintptr_t>(rectAt)}, 1},
        {"set cursor", 19, WM_SETCURSOR, 0, MAKELPARAM(HTCLIENT, WM_MOUSEMOVE), {HTCLIENT, WM_MOUSEMOVE}, 0},
    };
}

TEST_F(MainWindowTest, EveryHandledMessageReachesItsSlotDecoded)
{
    MainWindow window;
    ASSERT_TRUE(Create(window));
    InstallAll(window);
    for (const DispatchCase& c : DispatchCases()) {
        calls.clear();
        int defaults = PlatformTest::CallCount("DefWindowProcA");
        LRESULT result = SendMessageA(window.hwnd, c.message, c.wParam, c.lParam);
        EXPECT_EQ(c.result, result) << c.name;
        ASSERT_EQ(1u, calls.size()) << c.name;
        EXPECT_EQ(c.slot, calls[0].slot) << c.name;
        EXPECT_EQ(window.hwnd, calls[0].hwnd) << c.name;
        EXPECT_EQ(c.args, calls[0].args) << c.name;
        EXPECT_EQ(defaults, PlatformTest::CallCount("DefWindowProcA")) << c.name << ": handled, not defaulted";
    }
    window.Clear();
}

TEST_F(MainWindowTest, NullSlotsTakeTheDefaultPath)
{
    MainWindow window;
    ASSERT_TRUE(Create(window));
    InstallAll(window);
    window.onKeyDown = NULL;
    window.onMButtonDown = NULL;
    window.onSetCursor = NULL;
    const UINT defaulted[] = {WM_KEYDOWN, WM_MBUTTONDOWN, WM_SETCURSOR, WM_ACTIVATE, WM_SIZE, WM_MOVE, WM_CHAR};
    for (UINT message : defaulted) {
        calls.clear();
        int defaults = PlatformTest::CallCount("DefWindowProcA");
        SendMessageA(window.hwnd, message, 0, 0);
        EXPECT_TRUE(calls.empty()) << std::hex << message;
        EXPECT_EQ(defaults + 1, PlatformTest::CallCount("DefWindowProcA")) << std::hex << message;
    }
    window.Clear();
}

TEST_F(MainWindowTest, AWindowWithoutItsObjectTakesTheDefaultPath)
{
    MainWindow window;
    InstallAll(window);
    HWND bare = CreateWindowExA(0, kClassName, "bare", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, NULL, NULL,
                                systemInfo.instance, NULL);
    ASSERT_NE(nullptr, bare);
    EXPECT_EQ(0, GetWindowLongPtrA(bare, 0));
    int defaults = PlatformTest::CallCount("DefWindowProcA");
    SendMessageA(bare, WM_MOUSEMOVE, 0, 0);
    SendMessageA(bare, WM_LBUTTONUP, 0, 0);
    EXPECT_EQ(defaults + 2, PlatformTest::CallCount("DefWindowProcA"));
    EXPECT_TRUE(calls.empty());
    DestroyWindow(bare);
}

TEST_F(MainWindowTest, CreateAttachesTheObjectOnlyAfterCreation)
{
    MainWindow window;
    InstallAll(window);
    ASSERT_TRUE(Create(window));
    EXPECT_EQ(reinterpret_cast<LONG_PTR>(&window), GetWindowLongPtrA(window.hwnd, 0));
    for (const Call& call : calls) EXPECT_NE(1, call.slot) << "WM_CREATE came before the object was attached";
    EXPECT_TRUE(IsWindow(window.hwnd));
    window.Clear();
}

TEST_F(MainWindowTest, CreateReplacesTheWindowItHad)
{
    MainWindow window;
    ASSERT_TRUE(Create(window));
    HWND first = window.hwnd;
    window.onDestroy = OnDestroy;
    ASSERT_TRUE(Create(window));
    EXPECT_FALSE(IsWindow(first));
    EXPECT_NE(first, window.hwnd);
    ASSERT_EQ(1u, calls.size()) << "the old window's WM_DESTROY still reaches the handler";
    EXPECT_EQ(first, calls[0].hwnd);
    window.Clear();
}

TEST_F(MainWindowTest, FailedCreateLeavesNoWindow)
{
    MainWindow window;
    PlatformTest::FailCall("CreateWindowExA", ERROR_NOT_ENOUGH_MEMORY, 1);
    EXPECT_FALSE(Create(window));
    EXPECT_EQ(nullptr, window.hwnd);
    EXPECT_EQ(0, PlatformTest::CallCount("ShowWindow"));
    EXPECT_EQ(0, PlatformTest::CallCount("UpdateWindow"));
    EXPECT_EQ(static_cast<DWORD>(ERROR_NOT_ENOUGH_MEMORY), GetLastError());
}

TEST_F(MainWindowTest, CreateShowsWithTheEntryShowCommandAndUpdates)
{
    MainWindow window;
    ASSERT_TRUE(Create(window));
    EXPECT_EQ(1, PlatformTest::CallCount("ShowWindow"));
    EXPECT_EQ(1, PlatformTest::CallCount("UpdateWindow"));
}

TEST_F(MainWindowTest, DestroyReportsAndForgets)
{
    MainWindow window;
    EXPECT_EQ(TRUE, window.Destroy()) << "no window: nothing to do";

    ASSERT_TRUE(Create(window));
    window.onDestroy = OnDestroy;
    HWND hwnd = window.hwnd;
    EXPECT_NE(FALSE, window.Destroy());
    EXPECT_EQ(nullptr, window.hwnd);
    EXPECT_FALSE(IsWindow(hwnd));
    ASSERT_EQ(1u, calls.size());
    EXPECT_EQ(2, calls[0].slot);
}

TEST_F(MainWindowTest, DestroyAfterTheWindowIsGoneFailsAndForgets)
{
    MainWindow window;
    ASSERT_TRUE(Create(window));
    ASSERT_TRUE(DestroyWindow(window.hwnd));  // closed by the user
    EXPECT_EQ(FALSE, window.Destroy());
    EXPECT_EQ(nullptr, window.hwnd);
}

TEST_F(MainWindowTest, DestructorClearsTheHandlersBeforeDestroying)
{
    HWND hwnd;
    {
        MainWindow window;
        ASSERT_TRUE(Create(window));
        InstallAll(window);
        hwnd = window.hwnd;
        calls.clear();
    }
    EXPECT_FALSE(IsWindow(hwnd));
    EXPECT_TRUE(calls.empty()) << "no handler runs during teardown";
}

TEST_F(MainWindowTest, ClientAreaFromTheFrameMetrics)
{
    InitSystemInfo(GetModuleHandleA(NULL), SW_SHOWDEFAULT);
    MainWindow window;
    LONG width = 300 + systemInfo.borderWidth;
    LONG height = 400 + systemInfo.borderHeight;
    ASSERT_TRUE(Create(window, 40, 30, width, height));
    RECT client;
    ASSERT_TRUE(GetClientRect(window.hwnd, &client));
    EXPECT_EQ(300, client.right - client.left);
    EXPECT_EQ(400, client.bottom - client.top);
}

TEST_F(MainWindowTest, CentringOnASmallScreenTruncatesTowardZero)
{
    // A window 237 pixels wider and 11 taller than the screen.
    const LONG screenWidth = 100, screenHeight = 60;
    const LONG width = screenWidth + 237, height = screenHeight + 11;
    const LONG x = (screenWidth - width) / 2, y = (screenHeight - height) / 2;
    MainWindow window;
    ASSERT_TRUE(Create(window, x, y, width, height));
    RECT frame;
    ASSERT_TRUE(GetWindowRect(window.hwnd, &frame));
    EXPECT_EQ(-118, frame.left);
    EXPECT_EQ(-5, frame.top);
    EXPECT_EQ(width, frame.right - frame.left);
    EXPECT_EQ(height, frame.bottom - frame.top);
}

TEST_F(MainWindowTest, RegisteringFails)
{
    EXPECT_FALSE(RegisterMainWindowClass(0, NULL, NULL, NULL, NULL, kClassName)) << "already registered";
    PlatformTest::FailCall("RegisterClassA", ERROR_NOT_ENOUGH_MEMORY, 1);
    EXPECT_FALSE(RegisterMainWindowClass(0, NULL, NULL, NULL, NULL, "VorbloxAnotherClass"));
    EXPECT_EQ(static_cast<DWORD>(ERROR_NOT_ENOUGH_MEMORY), GetLastError());
}

}  // namespace
