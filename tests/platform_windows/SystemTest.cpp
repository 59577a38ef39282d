// The kernel's texts (wsprintfA, FormatMessageA), the version query and the
// test controls the program's tests rely on.
#include "RecordingWindow.h"

namespace {

using System = WindowTest;

TEST_F(System, LongConversionsTakeThirtyTwoBits)
{
    char buffer[2048];
    // Exactly what the DirectX error box does with an unknown code.
    HRESULT code = (HRESULT)0x8007001E;
    EXPECT_EQ(17, wsprintfA(buffer, "Unknown Error #%ld", code & 0xFFFF));
    EXPECT_STREQ("Unknown Error #30", buffer);
    LONG negative = -2147467259;  // E_FAIL read as a signed 32-bit value
    wsprintfA(buffer, "%ld|%lu|%s", negative, (DWORD)negative, "x");
    EXPECT_STREQ("-2147467259|2147500037|x", buffer);
}

TEST_F(System, WsprintfOutputStopsAt1024Characters)
{
    char buffer[2048];
    EXPECT_EQ(1023, wsprintfA(buffer, "%s tail", std::string(3000, 'x').c_str()));
    EXPECT_EQ(1023u, std::string(buffer).size());
}

TEST_F(System, SystemTextsAreAllocatedForLocalFree)
{
    const std::pair<DWORD, const char*> cases[] = {
        {ERROR_INVALID_WINDOW_HANDLE, "Invalid window handle.\r\n"},
        {ERROR_CLASS_ALREADY_EXISTS, "Class already exists.\r\n"},
        {ERROR_FILE_NOT_FOUND, "The system cannot find the file specified.\r\n"},
        {ERROR_NOT_ENOUGH_MEMORY, "Not enough memory resources are available to process this command.\r\n"},
        {ERROR_INVALID_PARAMETER, "The parameter is incorrect.\r\n"}};
    for (const auto& [code, expected] : cases) {
        LPSTR text = nullptr;
        DWORD length = FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM, NULL, code,
                                      MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT), (LPSTR)&text, 0, NULL);
        ASSERT_NE(nullptr, text) << code;
        EXPECT_STREQ(expected, text);
        EXPECT_EQ(strlen(text), length);
        EXPECT_EQ(nullptr, LocalFree(text));
    }
    EXPECT_EQ(0u, FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM, NULL, 0xDEAD, 0, NULL, 0, NULL));  // unknown code
    EXPECT_EQ((DWORD)ERROR_MR_MID_NOT_FOUND, GetLastError());

    // A text with inserts: kept as written when asked, a failure without
    // arguments otherwise, as on Windows.
    char buffer[256] = "";
    DWORD length = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, NULL,
                                  ERROR_MR_MID_NOT_FOUND, 0, buffer, sizeof buffer, NULL);
    EXPECT_STREQ("The system cannot find message text for message number 0x%1 in the message file for %2.\r\n",
                 buffer);
    EXPECT_EQ(strlen(buffer), length);
    EXPECT_EQ(0u, FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM, NULL, ERROR_MR_MID_NOT_FOUND, 0, buffer, sizeof buffer,
                                 NULL));
    EXPECT_EQ((DWORD)ERROR_INVALID_PARAMETER, GetLastError());
}

TEST_F(System, VersionIsNt51UnlessTheTestControlsSayOtherwise)
{
    OSVERSIONINFOA info = {sizeof(OSVERSIONINFOA), 0, 0, 0, 0, ""};
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
    HWND hwnd = Create();
    EXPECT_EQ(IDOK, MessageBoxA(hwnd, "Error loading bmp file #5!", "File error", MB_ICONINFORMATION));
    ASSERT_EQ(1u, PlatformTest::MessageBoxes().size());
    const auto& box = PlatformTest::MessageBoxes()[0];
    EXPECT_EQ((std::vector<std::string>{"File error", "Error loading bmp file #5!"}),
              (std::vector<std::string>{box.caption, box.text}));
    EXPECT_EQ((UINT)MB_ICONINFORMATION, box.type);
    EXPECT_EQ(hwnd, box.owner);
    PlatformTest::ClearMessageBoxes();
    EXPECT_TRUE(PlatformTest::MessageBoxes().empty());
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

TEST_F(System, FocusAndScreenSizeFollowTheTestControls)
{
    HWND hwnd = Create();
    EXPECT_EQ(nullptr, GetForegroundWindow());
    ShowWindow(hwnd, SW_SHOW);
    EXPECT_EQ(hwnd, GetForegroundWindow());
    PlatformTest::SetKeyboardFocus(hwnd, false);
    EXPECT_EQ(nullptr, GetForegroundWindow());
    PlatformTest::SetScreenSize(200, 150);
    EXPECT_EQ((std::vector<int>{200, 150}),
              (std::vector<int>{GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)}));
}

}  // namespace
