// wsprintfA and FormatMessageA.
#include <PlatformTest.h>
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

namespace {

class Text : public ::testing::Test {
protected:
    void SetUp() override
    {
        PlatformTest::SetHeadless(true);
        PlatformTest::Reset();
    }
    char buffer[2048];
};

TEST_F(Text, LongConversionsTakeThirtyTwoBits)
{
    // Exactly what the DirectX error box does with an unknown code.
    HRESULT code = (HRESULT)0x8007001E;
    EXPECT_EQ(17, wsprintfA(buffer, "Unknown Error #%ld", code & 0xFFFF));
    EXPECT_STREQ("Unknown Error #30", buffer);
    LONG negative = -2147467259;  // E_FAIL read as a signed 32-bit value
    wsprintfA(buffer, "%ld|%lu|%lx|%lX", negative, (DWORD)negative, (DWORD)negative, (DWORD)negative);
    EXPECT_STREQ("-2147467259|2147500037|80004005|80004005", buffer);
}

TEST_F(Text, ConversionsFollowPrintf)
{
    struct Case {
        std::string expected;
        int written;
    };
    const Case cases[] = {
        {"[   42][42   ][00042][-7]", wsprintfA(buffer, "[%5d][%-5i][%05u][%d]", 42, 42, 42u, -7)},
    };
    EXPECT_EQ(cases[0].expected, buffer);
    EXPECT_EQ((int)cases[0].expected.size(), cases[0].written);
    wsprintfA(buffer, "%s=%c%%%x%X", "key", 'Q', 255u, 255u);
    EXPECT_STREQ("key=Q%ffFF", buffer);
    wsprintfA(buffer, "<%s>", (const char*)nullptr);
    EXPECT_STREQ("<(null)>", buffer);
}

TEST_F(Text, OutputStopsAt1024Characters)
{
    std::string longText(3000, 'x');
    EXPECT_EQ(1023, wsprintfA(buffer, "%s tail", longText.c_str()));
    EXPECT_EQ(1023u, std::string(buffer).size());
}

TEST_F(Text, SystemTextsAreAllocatedForLocalFree)
{
    struct Case {
        DWORD code;
        const char* text;
    };
    const Case cases[] = {
        {ERROR_INVALID_WINDOW_HANDLE, "Invalid window handle.\r\n"},
        {ERROR_CANNOT_FIND_WND_CLASS, "Cannot find window class.\r\n"},
        {ERROR_CLASS_ALREADY_EXISTS, "Class already exists.\r\n"},
        {ERROR_FILE_NOT_FOUND, "The system cannot find the file specified.\r\n"},
        {ERROR_NOT_ENOUGH_MEMORY, "Not enough memory resources are available to process this command.\r\n"},
        {ERROR_INVALID_PARAMETER, "The parameter is incorrect.\r\n"},
    };
    for (const Case& c : cases) {
        LPSTR text = nullptr;
        DWORD length = FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM, NULL, c.code,
                                      MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT), (LPSTR)&text, 0, NULL);
        ASSERT_NE(nullptr, text) << c.code;
        EXPECT_STREQ(c.text, text);
        EXPECT_EQ(std::string(c.text).size(), length);
        EXPECT_EQ(nullptr, LocalFree(text));
    }
}

TEST_F(Text, EveryCodeTheLayerSetsHasAText)
{
    const DWORD codes[] = {ERROR_ACCESS_DENIED, ERROR_INVALID_HANDLE, ERROR_INVALID_DATA, ERROR_NOT_READY,
                           ERROR_READ_FAULT, ERROR_NOT_SUPPORTED, ERROR_INSUFFICIENT_BUFFER, ERROR_MOD_NOT_FOUND,
                           ERROR_CLASS_DOES_NOT_EXIST, ERROR_CLASS_HAS_WINDOWS, ERROR_INVALID_INDEX,
                           ERROR_RESOURCE_DATA_NOT_FOUND, ERROR_RESOURCE_NAME_NOT_FOUND};
    for (DWORD code : codes) {
        char text[256];
        EXPECT_GT(FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM, NULL, code, 0, text, sizeof text, NULL), 0u) << code;
    }
}

TEST_F(Text, UnknownCodeHasNoText)
{
    LPSTR text = nullptr;
    EXPECT_EQ(0u, FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM, NULL, 0xDEAD, 0,
                                 (LPSTR)&text, 0, NULL));
    EXPECT_EQ(nullptr, text);
    EXPECT_EQ((DWORD)ERROR_MR_MID_NOT_FOUND, GetLastError());
}

TEST_F(Text, SmallBufferIsRefused)
{
    char small[8];
    EXPECT_EQ(0u, FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM, NULL, ERROR_INVALID_PARAMETER, 0, small, sizeof small,
                                 NULL));
    EXPECT_EQ((DWORD)ERROR_INSUFFICIENT_BUFFER, GetLastError());
}

}  // namespace
