// wsprintfA and FormatMessageA.
#include "RecordingWindow.h"

namespace {

using Text = WindowTest;

TEST_F(Text, LongConversionsTakeThirtyTwoBits)
{
    char buffer[2048];
    // Exactly what the DirectX error box does with an unknown code.
    HRESULT code = (HRESULT)0x8007001E;
    EXPECT_EQ(17, wsprintfA(buffer, "Unknown Error #%ld", code & 0xFFFF));
    EXPECT_STREQ("Unknown Error #30", buffer);
    LONG negative = -2147467259;  // E_FAIL read as a signed 32-bit value
    wsprintfA(buffer, "%ld|%lu|%lx|%lX", negative, (DWORD)negative, (DWORD)negative, (DWORD)negative);
    EXPECT_STREQ("-2147467259|2147500037|80004005|80004005", buffer);
    EXPECT_EQ(25, wsprintfA(buffer, "[%5d][%-5i][%05u][%d]", 42, 42, 42u, -7));
    EXPECT_STREQ("[   42][42   ][00042][-7]", buffer);
    wsprintfA(buffer, "%s=%c%%%x%X<%s>", "key", 'Q', 255u, 255u, (const char*)nullptr);
    EXPECT_STREQ("key=Q%ffFF<(null)>", buffer);
}

TEST_F(Text, OutputStopsAt1024Characters)
{
    char buffer[2048];
    EXPECT_EQ(1023, wsprintfA(buffer, "%s tail", std::string(3000, 'x').c_str()));
    EXPECT_EQ(1023u, std::string(buffer).size());
}

TEST_F(Text, SystemTextsAreAllocatedForLocalFree)
{
    const std::pair<DWORD, const char*> cases[] = {
        {ERROR_INVALID_WINDOW_HANDLE, "Invalid window handle.\r\n"},
        {ERROR_CANNOT_FIND_WND_CLASS, "Cannot find window class.\r\n"},
        {ERROR_CLASS_ALREADY_EXISTS, "Class already exists.\r\n"},
        {ERROR_FILE_NOT_FOUND, "The system cannot find the file specified.\r\n"},
        {ERROR_NOT_ENOUGH_MEMORY, "Not enough memory resources are available to process this command.\r\n"},
        {ERROR_INVALID_PARAMETER, "The parameter is incorrect.\r\n"},
        // Every other code the layer sets has some text.
        {ERROR_ACCESS_DENIED, nullptr}, {ERROR_INVALID_HANDLE, nullptr}, {ERROR_INVALID_DATA, nullptr},
        {ERROR_NOT_READY, nullptr}, {ERROR_READ_FAULT, nullptr}, {ERROR_NOT_SUPPORTED, nullptr},
        {ERROR_INSUFFICIENT_BUFFER, nullptr}, {ERROR_MOD_NOT_FOUND, nullptr}, {ERROR_CLASS_DOES_NOT_EXIST, nullptr},
        {ERROR_CLASS_HAS_WINDOWS, nullptr}, {ERROR_INVALID_INDEX, nullptr}, {ERROR_RESOURCE_DATA_NOT_FOUND, nullptr},
        {ERROR_RESOURCE_NAME_NOT_FOUND, nullptr}};
    for (const auto& [code, expected] : cases) {
        LPSTR text = nullptr;
        DWORD length = FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM, NULL, code,
                                      MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT), (LPSTR)&text, 0, NULL);
        ASSERT_NE(nullptr, text) << code;
        EXPECT_STREQ(expected ? expected : text, text);
        EXPECT_EQ(strlen(text), length);
        EXPECT_GT(length, 2u);
        EXPECT_EQ(nullptr, LocalFree(text));
    }
}

TEST_F(Text, UnknownCodeOrSmallBufferGetsNoText)
{
    char text[8];
    EXPECT_EQ(0u, FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM, NULL, 0xDEAD, 0, text, 8, NULL));
    EXPECT_EQ((DWORD)ERROR_MR_MID_NOT_FOUND, GetLastError());
    EXPECT_EQ(0u, FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM, NULL, ERROR_INVALID_PARAMETER, 0, text, 8, NULL));
    EXPECT_EQ((DWORD)ERROR_INSUFFICIENT_BUFFER, GetLastError());
}

}  // namespace
