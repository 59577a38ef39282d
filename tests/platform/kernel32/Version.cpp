// GetVersionExA, which the game asks before it looks for DirectX.
#include "SystemDlls.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <vector>

namespace {

using apitest::SystemMay;

TEST(Version, TheOldStructureIsFilledIn)
{
    OSVERSIONINFOA info = {sizeof(OSVERSIONINFOA), 0, 0, 0, 0, ""};
    ASSERT_EQ(148u, info.dwOSVersionInfoSize);
    ASSERT_TRUE(GetVersionExA(&info));
    const std::vector<DWORD> got = {info.dwPlatformId, info.dwMajorVersion, info.dwMinorVersion, info.dwBuildNumber};
    // The layer is Windows XP; a system says what it is (without a manifest
    // Windows 8 and later say 6.2), always NT and no older than 2000.
    EXPECT_TRUE(got == (std::vector<DWORD>{VER_PLATFORM_WIN32_NT, 5, 1, 2600}) ||
                SystemMay(info.dwPlatformId == VER_PLATFORM_WIN32_NT && info.dwMajorVersion >= 5))
        << info.dwPlatformId << " " << info.dwMajorVersion << "." << info.dwMinorVersion << "." << info.dwBuildNumber;
}

}  // namespace
