// The version query and the test controls the program's tests rely on:
// message boxes, debug output, focus and screen size.
#include "RecordingWindow.h"

namespace {

using System = WindowTest;

TEST_F(System, VersionIsNt51UnlessTheTestControlsSayOtherwise)
{
    OSVERSIONINFOA info = {};
    info.dwOSVersionInfoSize = 100;
    EXPECT_FALSE(GetVersionExA(&info));
    EXPECT_EQ((DWORD)ERROR_INSUFFICIENT_BUFFER, GetLastError());
    info.dwOSVersionInfoSize = sizeof info;
    ASSERT_EQ(148u, info.dwOSVersionInfoSize);
    auto version = [&] {
        EXPECT_TRUE(GetVersionExA(&info));
        return std::vector<DWORD>{info.dwPlatformId, info.dwMajorVersion, info.dwMinorVersion, info.dwBuildNumber};
    };
    EXPECT_EQ((std::vector<DWORD>{VER_PLATFORM_WIN32_NT, 5, 1, 2600}), version());
    PlatformTest::SetOsVersion(VER_PLATFORM_WIN32_WINDOWS, 4, 10, 1998);
    EXPECT_EQ((std::vector<DWORD>{VER_PLATFORM_WIN32_WINDOWS, 4, 10, 1998}), version());
    PlatformTest::SetVersionQueryFails(true);
    EXPECT_FALSE(GetVersionExA(&info));
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
    // Not captured, a headless box goes to standard error.
    PlatformTest::CaptureMessageBoxes(false);
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

TEST_F(System, ShownWindowHasTheFocusUntilToldOtherwise)
{
    HWND hwnd = Create();
    EXPECT_EQ(nullptr, GetForegroundWindow());
    ShowWindow(hwnd, SW_SHOW);
    EXPECT_EQ(hwnd, GetForegroundWindow());
    EXPECT_EQ((Order{WM_ACTIVATE, WM_SETFOCUS}), Messages({WM_ACTIVATE, WM_SETFOCUS}));
    PlatformTest::SetKeyboardFocus(hwnd, false);
    EXPECT_EQ(nullptr, GetForegroundWindow());
}

TEST_F(System, ScreenSizeComesFromTheTestControl)
{
    PlatformTest::SetScreenSize(200, 150);
    EXPECT_EQ(200, GetSystemMetrics(SM_CXSCREEN));
    EXPECT_EQ(150, GetSystemMetrics(SM_CYSCREEN));
}

}  // namespace
