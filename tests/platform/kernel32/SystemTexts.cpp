// FormatMessageA's system texts, as the error boxes show them.
#include "SystemDlls.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

using apitest::SystemMay;

TEST(SystemTexts, ATextIsAllocatedForLocalFree)
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
        // The layer has the English texts of Windows XP; a system has those
        // of its own version and language (Wine words some otherwise).
        EXPECT_TRUE(std::string(text) == expected || SystemMay(length > 2)) << code << ": " << text;
        EXPECT_EQ(strlen(text), length);
        EXPECT_EQ(nullptr, LocalFree(text));
    }
    SetLastError(0);
    EXPECT_EQ(0u, FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM, NULL, 0xDEAD, 0, NULL, 0, NULL));  // unknown code
    EXPECT_EQ((DWORD)ERROR_MR_MID_NOT_FOUND, GetLastError());
}

// A text with inserts: kept as written when asked, a failure without
// arguments otherwise.
TEST(SystemTexts, InsertsAreKeptWhenAskedAndRefusedWithoutArguments)
{
    char buffer[256] = "";
    DWORD length = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, NULL,
                                  ERROR_MR_MID_NOT_FOUND, 0, buffer, sizeof buffer, NULL);
    const std::string text = buffer;
    EXPECT_TRUE(text == "The system cannot find message text for message number 0x%1 in the message file for %2.\r\n" ||
                SystemMay(text.find("%1") != std::string::npos))
        << text;
    EXPECT_EQ(strlen(buffer), length);
    SetLastError(0);
    EXPECT_EQ(0u, FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM, NULL, ERROR_MR_MID_NOT_FOUND, 0, buffer, sizeof buffer,
                                 NULL));
    EXPECT_EQ((DWORD)ERROR_INVALID_PARAMETER, GetLastError());
}

}  // namespace
