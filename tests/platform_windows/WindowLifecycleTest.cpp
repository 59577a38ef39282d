// Creation, showing, painting and destruction: which messages arrive, in
// which order, and what the default window procedure does with them.
#include "RecordingWindow.h"

#include <algorithm>

namespace {

using Lifecycle = WindowTest;

TEST_F(Lifecycle, CreationSendsTheCreationMessagesInOrder)
{
    HWND hwnd = Create();
    std::vector<UINT> expected = {WM_GETMINMAXINFO, WM_NCCREATE, WM_NCCALCSIZE, WM_CREATE};
    EXPECT_EQ(expected, MessagesAmong({WM_GETMINMAXINFO, WM_NCCREATE, WM_NCCALCSIZE, WM_CREATE, WM_PAINT,
                                       WM_ERASEBKGND, WM_SHOWWINDOW}));
    EXPECT_EQ(WM_GETMINMAXINFO, Messages().front());
    EXPECT_TRUE(IsWindow(hwnd));
}

TEST_F(Lifecycle, CreateStructCarriesTheArguments)
{
    HWND hwnd = Create(308, 426);
    auto it = std::find_if(Log().begin(), Log().end(), [](const Received& r) { return r.message == WM_CREATE; });
    ASSERT_NE(Log().end(), it);
    (void)hwnd;
}

TEST_F(Lifecycle, ShowThenUpdateErasesAndPaintsOnce)
{
    HWND hwnd = Create();
    Log().clear();
    EXPECT_FALSE(ShowWindow(hwnd, SW_SHOWDEFAULT));  // was hidden
    EXPECT_TRUE(UpdateWindow(hwnd));
    std::vector<UINT> expected = {WM_SHOWWINDOW, WM_ERASEBKGND, WM_PAINT};
    EXPECT_EQ(expected, MessagesAmong({WM_SHOWWINDOW, WM_ERASEBKGND, WM_PAINT}));
    // The default paint validated the window: nothing more to paint.
    Log().clear();
    EXPECT_TRUE(UpdateWindow(hwnd));
    MSG msg;
    EXPECT_FALSE(PeekMessageA(&msg, NULL, 0, 0, PM_NOREMOVE));
    EXPECT_TRUE(Log().empty());
}

TEST_F(Lifecycle, VisibleStyleShowsDuringCreation)
{
    HWND hwnd = Create(308, 426, WS_OVERLAPPEDWINDOW | WS_VISIBLE);
    std::vector<UINT> expected = {WM_CREATE, WM_SHOWWINDOW};
    EXPECT_EQ(expected, MessagesAmong({WM_CREATE, WM_SHOWWINDOW}));
    EXPECT_TRUE(ShowWindow(hwnd, SW_SHOW));  // already visible
}

TEST_F(Lifecycle, UnhandledEraseIsPendingInBeginPaint)
{
    HWND hwnd = Create();
    Answer(WM_ERASEBKGND, 0);  // "not erased"
    ShowWindow(hwnd, SW_SHOW);
    Log().clear();
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(hwnd, &paint);
    ASSERT_NE(nullptr, dc);
    EXPECT_TRUE(paint.fErase);
    EXPECT_EQ(308 - 8, paint.rcPaint.right);
    EXPECT_EQ(std::vector<UINT>{WM_ERASEBKGND}, Messages());
    EXPECT_TRUE(EndPaint(hwnd, &paint));
}

TEST_F(Lifecycle, HandledEraseIsNotRepeatedInBeginPaint)
{
    HWND hwnd = Create();
    Answer(WM_ERASEBKGND, 1);
    ShowWindow(hwnd, SW_SHOW);
    InvalidateRect(hwnd, NULL, FALSE);
    Log().clear();
    PAINTSTRUCT paint;
    BeginPaint(hwnd, &paint);
    EXPECT_FALSE(paint.fErase);
    EXPECT_TRUE(Log().empty());
    EndPaint(hwnd, &paint);
}

TEST_F(Lifecycle, PaintComesFromTheQueueOnlyWhenNothingElseWaits)
{
    HWND hwnd = Create();
    ShowWindow(hwnd, SW_SHOW);
    PostMessageA(hwnd, WM_USER, 1, 2);
    MSG msg;
    ASSERT_TRUE(GetMessageA(&msg, NULL, 0, 0));
    EXPECT_EQ((UINT)WM_USER, msg.message);
    ASSERT_TRUE(GetMessageA(&msg, NULL, 0, 0));
    EXPECT_EQ((UINT)WM_PAINT, msg.message);
    EXPECT_EQ(hwnd, msg.hwnd);
    DispatchMessageA(&msg);  // the default paint validates
    EXPECT_FALSE(PeekMessageA(&msg, NULL, 0, 0, PM_NOREMOVE));
}

TEST_F(Lifecycle, HiddenWindowIsNotPainted)
{
    HWND hwnd = Create();
    UpdateWindow(hwnd);
    MSG msg;
    EXPECT_FALSE(PeekMessageA(&msg, NULL, 0, 0, PM_NOREMOVE));
    EXPECT_TRUE(MessagesAmong({WM_PAINT}).empty());
}

TEST_F(Lifecycle, DestroySendsDestroyThenNcDestroy)
{
    HWND hwnd = Create();
    Log().clear();
    EXPECT_TRUE(DestroyWindow(hwnd));
    std::vector<UINT> expected = {WM_DESTROY, WM_NCDESTROY};
    EXPECT_EQ(expected, Messages());
    EXPECT_FALSE(IsWindow(hwnd));
}

TEST_F(Lifecycle, DestroyingAGoneWindowFailsWithInvalidHandle)
{
    HWND hwnd = Create();
    ASSERT_TRUE(DestroyWindow(hwnd));
    Log().clear();
    SetLastError(0);
    EXPECT_FALSE(DestroyWindow(hwnd));
    EXPECT_EQ((DWORD)ERROR_INVALID_WINDOW_HANDLE, GetLastError());
    EXPECT_TRUE(Log().empty());
}

TEST_F(Lifecycle, CloseByDefaultDestroysTheWindow)
{
    HWND hwnd = Create();
    ShowWindow(hwnd, SW_SHOW);
    PostMessageA(hwnd, WM_CLOSE, 0, 0);
    MSG msg;
    ASSERT_TRUE(GetMessageA(&msg, NULL, 0, 0));
    DispatchMessageA(&msg);
    EXPECT_FALSE(IsWindow(hwnd));
    std::vector<UINT> expected = {WM_CLOSE, WM_DESTROY, WM_NCDESTROY};
    EXPECT_EQ(expected, MessagesAmong({WM_CLOSE, WM_DESTROY, WM_NCDESTROY}));
}

TEST_F(Lifecycle, CreateAnsweringMinusOneFailsAndCleansUp)
{
    Answer(WM_CREATE, -1);
    WNDCLASSA wc = {};
    wc.lpfnWndProc = RecordingProc;
    wc.lpszClassName = "Refusing";
    ASSERT_NE(0, RegisterClassA(&wc));
    EXPECT_EQ(nullptr, CreateWindowExA(0, "Refusing", "", 0, 0, 0, 100, 100, NULL, NULL, NULL, NULL));
    std::vector<UINT> expected = {WM_DESTROY, WM_NCDESTROY};
    EXPECT_EQ(expected, MessagesAmong({WM_DESTROY, WM_NCDESTROY}));
}

TEST_F(Lifecycle, DefaultProcedureAnswers)
{
    HWND hwnd = Create();
    struct Case {
        UINT message;
        LRESULT result;
    };
    const Case cases[] = {{WM_NCCREATE, TRUE}, {WM_GETMINMAXINFO, 0}, {WM_SIZE, 0},       {WM_MOVE, 0},
                          {WM_KEYDOWN, 0},     {WM_MOUSEMOVE, 0},     {WM_SETFOCUS, 0},   {WM_ACTIVATE, 0},
                          {WM_USER, 0},        {WM_LBUTTONDOWN, 0},   {WM_SETCURSOR, 0}};
    for (const Case& c : cases) {
        MINMAXINFO info = {};
        EXPECT_EQ(c.result, DefWindowProcA(hwnd, c.message, 0, (LPARAM)&info)) << std::hex << c.message;
    }
    EXPECT_TRUE(IsWindow(hwnd));
}

TEST_F(Lifecycle, DefaultEraseFillsTheClientWithTheClassBrush)
{
    HWND hwnd = Create();
    Answer(WM_ERASEBKGND, 1);  // keep the layer's own erase from running first
    ShowWindow(hwnd, SW_SHOW);
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(hwnd, &paint);
    ASSERT_NE(nullptr, dc);
    SetPixel(dc, 5, 5, RGB(1, 2, 3));
    EXPECT_EQ(1, DefWindowProcA(hwnd, WM_ERASEBKGND, (WPARAM)dc, 0));
    EXPECT_EQ(RGB(255, 255, 255), GetPixel(dc, 5, 5));  // the class brush is white
    EndPaint(hwnd, &paint);
}

TEST_F(Lifecycle, WindowBytesHoldAPointerAtIndexZero)
{
    HWND hwnd = Create();
    int object = 0;
    EXPECT_EQ(0, GetWindowLongPtrA(hwnd, 0));
    EXPECT_EQ(0, SetWindowLongPtrA(hwnd, 0, (LONG_PTR)&object));
    EXPECT_EQ((LONG_PTR)&object, GetWindowLongPtrA(hwnd, 0));
    SetLastError(0);
    EXPECT_EQ(0, GetWindowLongPtrA(hwnd, 64));
    EXPECT_EQ((DWORD)ERROR_INVALID_INDEX, GetLastError());
}

TEST_F(Lifecycle, SecondRegistrationOfAClassFails)
{
    WNDCLASSA wc = {};
    wc.lpfnWndProc = RecordingProc;
    wc.lpszClassName = "Twice";
    ASSERT_NE(0, RegisterClassA(&wc));
    wc.lpszClassName = "TWICE";  // names ignore case
    EXPECT_EQ(0, RegisterClassA(&wc));
    EXPECT_EQ((DWORD)ERROR_CLASS_ALREADY_EXISTS, GetLastError());
}

TEST_F(Lifecycle, UnknownClassCannotMakeAWindow)
{
    EXPECT_EQ(nullptr, CreateWindowExA(0, "NoSuchClass", "", 0, 0, 0, 10, 10, NULL, NULL, NULL, NULL));
    EXPECT_EQ((DWORD)ERROR_CANNOT_FIND_WND_CLASS, GetLastError());
}

TEST_F(Lifecycle, InjectedFailuresSetTheLastError)
{
    WNDCLASSA wc = {};
    wc.lpfnWndProc = RecordingProc;
    wc.lpszClassName = "Injected";
    PlatformTest::FailCall("RegisterClassA", ERROR_NOT_ENOUGH_MEMORY, 1);
    EXPECT_EQ(0, RegisterClassA(&wc));
    EXPECT_EQ((DWORD)ERROR_NOT_ENOUGH_MEMORY, GetLastError());
    ASSERT_NE(0, RegisterClassA(&wc));  // only once

    PlatformTest::FailCall("CreateWindowExA", ERROR_ACCESS_DENIED, 1);
    EXPECT_EQ(nullptr, CreateWindowExA(0, "Injected", "", 0, 0, 0, 50, 50, NULL, NULL, NULL, NULL));
    EXPECT_EQ((DWORD)ERROR_ACCESS_DENIED, GetLastError());
    EXPECT_TRUE(Log().empty());  // nothing reached the window procedure
    EXPECT_EQ(1, PlatformTest::CallCount("CreateWindowExA"));
}

}  // namespace
