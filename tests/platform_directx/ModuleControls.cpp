// DirectX modules hidden through the test controls, as on systems without
// DirectX or with an older one, and the modules' load counts.
#include <PlatformTest.h>
#include <gtest/gtest.h>
#include <windows.h>

namespace {

TEST(ModuleControls, HiddenModuleOrEntryPointIsNotFoundUntilShown)
{
    PlatformTest::HideModule("DINPUT.DLL");
    PlatformTest::HideProcedure("DDRAW.DLL", "DirectDrawCreate");
    SetLastError(0);
    EXPECT_EQ(nullptr, LoadLibraryA("dinput.dll"));
    EXPECT_EQ(static_cast<DWORD>(ERROR_MOD_NOT_FOUND), GetLastError());
    HMODULE ddraw = LoadLibraryA("DDRAW.DLL");
    ASSERT_NE(nullptr, ddraw);
    EXPECT_EQ(nullptr, GetProcAddress(ddraw, "DirectDrawCreate"));
    EXPECT_EQ(static_cast<DWORD>(ERROR_PROC_NOT_FOUND), GetLastError());
    PlatformTest::Reset();
    EXPECT_NE(nullptr, GetProcAddress(ddraw, "DirectDrawCreate"));
    HMODULE dinput = LoadLibraryA("DINPUT.DLL");
    EXPECT_NE(nullptr, dinput);
    EXPECT_EQ(1, PlatformTest::ModuleLoadCount("DDRAW.DLL"));
    EXPECT_TRUE(FreeLibrary(dinput) && FreeLibrary(ddraw));
    EXPECT_EQ(0, PlatformTest::ModuleLoadCount("DDRAW.DLL"));
    // A freed module's handle names nothing any more.
    SetLastError(0);
    EXPECT_FALSE(FreeLibrary(ddraw));
    EXPECT_EQ(static_cast<DWORD>(ERROR_INVALID_HANDLE), GetLastError());
    EXPECT_EQ(nullptr, GetProcAddress(ddraw, "DirectDrawCreate"));
    EXPECT_EQ(static_cast<DWORD>(ERROR_MOD_NOT_FOUND), GetLastError());
}

}  // namespace
