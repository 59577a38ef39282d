// wsprintfA as the game's messages use it.
#include "SystemDlls.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

namespace {

using apitest::SystemMay;

TEST(Format, LongConversionsTakeThirtyTwoBits)
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

TEST(Format, OutputStopsAt1024Characters)
{
    char buffer[2048];
    const int written = wsprintfA(buffer, "%s tail", std::string(3000, 'x').c_str());
    EXPECT_EQ(1023u, std::string(buffer).size());
    // What was written, without the closing zero. Wine counts the
    // character it had no room for (1024); the game does not look.
    EXPECT_TRUE(written == 1023 || SystemMay(written == 1024)) << written;
}

}  // namespace
