// The version query, message boxes, debug output, the module, icons,
// cursors and the clocks.
#include "RecordingWindow.h"

#include <PlatformResources.h>

namespace {

// A 2 x 2 icon group: one 24-bit image whose mask makes the top-left pixel
// transparent.
std::vector<unsigned char> TinyIcon()
{
    std::vector<unsigned char> ico = {0, 0, 1, 0, 1, 0,                  // group of one image
                                      2, 2, 0, 0, 1, 0, 24, 0,            // 2 x 2, 24 bits
                                      0, 0, 0, 0, 22, 0, 0, 0};           // size (below), offset 22
    std::vector<unsigned char> dib(40, 0);
    dib[0] = 40;
    dib[4] = 2;
    dib[8] = 4;  // twice the height: colour rows, then mask rows
    dib[12] = 1;
    dib[14] = 24;
    for (int i = 0; i < 2 * 8; ++i) dib.push_back((unsigned char)(0x40 + i));  // two rows of 6 bytes + padding
    dib.insert(dib.end(), {0x80, 0, 0, 0, 0, 0, 0, 0});                    // mask rows, bottom first
    unsigned size = (unsigned)dib.size();
    ico[14] = (unsigned char)size;
    ico.insert(ico.end(), dib.begin(), dib.end());
    return ico;
}

void RegisterIcons()
{
    static const std::vector<unsigned char> good = TinyIcon();
    static const std::vector<unsigned char> bad = {0, 0, 1, 0, 9, 0};
    static const PlatformResource table[] = {
        {"TEST_ICON", PlatformResourceIcon, good.data(), (unsigned long)good.size()},
        {"BROKEN_ICON", PlatformResourceIcon, bad.data(), (unsigned long)bad.size()},
    };
    static const bool registered = PlatformRegisterResources(table, 2);
    (void)registered;
}

using System = WindowTest;

TEST_F(System, VersionIsNt51WhenTheDisplayWorks)
{
    OSVERSIONINFOA info = {};
    info.dwOSVersionInfoSize = sizeof info;
    ASSERT_EQ(148u, info.dwOSVersionInfoSize);
    ASSERT_TRUE(GetVersionExA(&info));
    EXPECT_EQ((DWORD)VER_PLATFORM_WIN32_NT, info.dwPlatformId);
    EXPECT_EQ(5u, info.dwMajorVersion);
    EXPECT_EQ(1u, info.dwMinorVersion);
}

TEST_F(System, VersionFollowsTheTestControls)
{
    OSVERSIONINFOA info = {};
    info.dwOSVersionInfoSize = sizeof info;
    PlatformTest::SetOsVersion(VER_PLATFORM_WIN32_WINDOWS, 4, 10, 1998);
    ASSERT_TRUE(GetVersionExA(&info));
    EXPECT_EQ((DWORD)VER_PLATFORM_WIN32_WINDOWS, info.dwPlatformId);
    EXPECT_EQ(4u, info.dwMajorVersion);
    EXPECT_EQ(10u, info.dwMinorVersion);
    EXPECT_EQ(1998u, info.dwBuildNumber);
    PlatformTest::SetVersionQueryFails(true);
    EXPECT_FALSE(GetVersionExA(&info));
}

TEST_F(System, VersionChecksTheStructureSize)
{
    OSVERSIONINFOA info = {};
    info.dwOSVersionInfoSize = 100;
    EXPECT_FALSE(GetVersionExA(&info));
    EXPECT_EQ((DWORD)ERROR_INSUFFICIENT_BUFFER, GetLastError());
    EXPECT_FALSE(GetVersionExA(NULL));
}

TEST_F(System, MessageBoxesAreCapturedWithTheirArguments)
{
    PlatformTest::CaptureMessageBoxes(true);
    EXPECT_EQ(IDOK, MessageBoxA(NULL, "Error loading bmp file #5!", "File error", MB_ICONINFORMATION));
    HWND hwnd = Create();
    MessageBoxA(hwnd, "second", "two", MB_ICONERROR);
    const auto& boxes = PlatformTest::MessageBoxes();
    ASSERT_EQ(2u, boxes.size());
    EXPECT_EQ("File error", boxes[0].caption);
    EXPECT_EQ("Error loading bmp file #5!", boxes[0].text);
    EXPECT_EQ((UINT)MB_ICONINFORMATION, boxes[0].type);
    EXPECT_EQ(nullptr, boxes[0].owner);
    EXPECT_EQ(hwnd, boxes[1].owner);
    PlatformTest::ClearMessageBoxes();
    EXPECT_TRUE(PlatformTest::MessageBoxes().empty());
}

TEST_F(System, HeadlessBoxWithoutCaptureGoesToStandardError)
{
    testing::internal::CaptureStderr();
    EXPECT_EQ(IDOK, MessageBoxA(NULL, "text", "caption", MB_OK));
    EXPECT_EQ("caption: text\n", testing::internal::GetCapturedStderr());
}

TEST_F(System, DebugOutputIsCapturedInOrder)
{
    PlatformTest::CaptureDebugOutput(true);
    OutputDebugStringA("Couldn't LoadLibrary DInput\r\n");
    OutputDebugStringA("second\r\n");
    EXPECT_EQ("Couldn't LoadLibrary DInput\r\nsecond\r\n", PlatformTest::DebugOutput());
    PlatformTest::Reset();
    EXPECT_EQ("", PlatformTest::DebugOutput());
}

TEST_F(System, ProgramModuleIsFixedAndOthersAreUnknown)
{
    HMODULE module = GetModuleHandleA(NULL);
    EXPECT_NE(nullptr, module);
    EXPECT_EQ(module, GetModuleHandleA(NULL));
    EXPECT_EQ(nullptr, GetModuleHandleA("OTHER.DLL"));
}

TEST_F(System, IconsLoadByStringNameOnly)
{
    RegisterIcons();
    HMODULE module = GetModuleHandleA(NULL);
    HICON icon = LoadIconA(module, "TEST_ICON");
    EXPECT_NE(nullptr, icon);
    EXPECT_EQ(icon, LoadIconA(module, "test_icon"));  // shared, as Windows hands them out
    EXPECT_EQ(nullptr, LoadIconA(module, IDI_APPLICATION));
    EXPECT_EQ((DWORD)ERROR_RESOURCE_NAME_NOT_FOUND, GetLastError());
    EXPECT_EQ(nullptr, LoadIconA(module, "BROKEN_ICON"));
    EXPECT_NE(nullptr, LoadIconA(NULL, IDI_APPLICATION));  // the system's own
}

TEST_F(System, WindowWithAnIconIsCreated)
{
    RegisterIcons();
    WNDCLASSA wc = {};
    wc.lpfnWndProc = DefWindowProcA;
    wc.hIcon = LoadIconA(GetModuleHandleA(NULL), "TEST_ICON");
    wc.hCursor = LoadCursorA(NULL, IDC_ARROW);
    wc.lpszClassName = "IconClass";
    ASSERT_NE(0, RegisterClassA(&wc));
    HWND hwnd = CreateWindowExA(0, "IconClass", "icon", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, NULL, NULL, NULL, NULL);
    EXPECT_NE(nullptr, hwnd);
    DestroyWindow(hwnd);
}

TEST_F(System, ArrowIsTheOnlyCursor)
{
    EXPECT_NE(nullptr, LoadCursorA(NULL, IDC_ARROW));
    EXPECT_EQ(nullptr, LoadCursorA(GetModuleHandleA(NULL), "CURSOR"));
}

TEST_F(System, ClocksRunForwards)
{
    LARGE_INTEGER frequency, before, after;
    ASSERT_TRUE(QueryPerformanceFrequency(&frequency));
    EXPECT_EQ(1000000000, frequency.QuadPart);
    QueryPerformanceCounter(&before);
    DWORD ticks = GetTickCount();
    Sleep(2);
    QueryPerformanceCounter(&after);
    EXPECT_GT(after.QuadPart, before.QuadPart);
    EXPECT_GE(GetTickCount(), ticks);
}

TEST_F(System, PaintDcDrawsIntoTheWindow)
{
    HWND hwnd = Create(8 + 120, 26 + 30);  // a 120 x 30 client
    Answer(WM_ERASEBKGND, 1);
    ShowWindow(hwnd, SW_SHOW);
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(hwnd, &paint);
    RECT all = {0, 0, 120, 30};
    FillRect(dc, &all, (HBRUSH)GetStockObject(GRAY_BRUSH));
    SetPixel(dc, 1, 2, RGB(10, 20, 30));
    EndPaint(hwnd, &paint);
    std::vector<uint32_t> pixels;
    int width = 0, height = 0;
    ASSERT_TRUE(PlatformTest::ReadClientPixels(hwnd, &pixels, &width, &height));
    ASSERT_EQ(120, width);
    ASSERT_EQ(30, height);
    EXPECT_EQ(0x808080u, pixels[0]);
    EXPECT_EQ(0x0A141Eu, pixels[2 * 120 + 1]);  // 0x00RRGGBB
    DestroyWindow(hwnd);
    EXPECT_FALSE(PlatformTest::ReadClientPixels(hwnd, &pixels, &width, &height));
}

}  // namespace
