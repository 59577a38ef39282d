// DirectX modules hidden or failing through the test controls, as on
// systems without DirectX or with an older one.
#include <PlatformTest.h>
#include <gtest/gtest.h>
#include <windows.h>

namespace {

TEST(ModuleControls, HiddenModuleIsNotFoundUntilReset)
{
    PlatformTest::HideModule("DINPUT.DLL");
    SetLastError(0);
    EXPECT_EQ(nullptr, LoadLibraryA("dinput.dll"));
    EXPECT_EQ(static_cast<DWORD>(ERROR_MOD_NOT_FOUND), GetLastError());
    HMODULE ddraw = LoadLibraryA("DDRAW.DLL");
    EXPECT_NE(nullptr, ddraw);
    EXPECT_TRUE(FreeLibrary(ddraw));
    PlatformTest::Reset();
    HMODULE dinput = LoadLibraryA("DINPUT.DLL");
    EXPECT_NE(nullptr, dinput);
    EXPECT_TRUE(FreeLibrary(dinput));
}

TEST(ModuleControls, HiddenEntryPointIsNotFound)
{
    PlatformTest::HideProcedure("DDRAW.DLL", "DirectDrawCreate");
    HMODULE ddraw = LoadLibraryA("DDRAW.DLL");
    ASSERT_NE(nullptr, ddraw);
    SetLastError(0);
    EXPECT_EQ(nullptr, GetProcAddress(ddraw, "DirectDrawCreate"));
    EXPECT_EQ(static_cast<DWORD>(ERROR_PROC_NOT_FOUND), GetLastError());
    PlatformTest::HideProcedure("DDRAW.DLL", "DirectDrawCreate", false);
    EXPECT_NE(nullptr, GetProcAddress(ddraw, "DirectDrawCreate"));
    EXPECT_TRUE(FreeLibrary(ddraw));
}

TEST(ModuleControls, LoadsAreCountedAndFreeingTooOftenFails)
{
    EXPECT_EQ(0, PlatformTest::ModuleLoadCount("DDRAW.DLL"));
    HMODULE first = LoadLibraryA("DDRAW.DLL");
    HMODULE second = LoadLibraryA("ddraw");
    EXPECT_EQ(2, PlatformTest::ModuleLoadCount("DDRAW.DLL"));
    EXPECT_TRUE(FreeLibrary(first));
    EXPECT_TRUE(FreeLibrary(second));
    EXPECT_EQ(0, PlatformTest::ModuleLoadCount("DDRAW.DLL"));
    SetLastError(0);
    EXPECT_FALSE(FreeLibrary(first));
    EXPECT_EQ(static_cast<DWORD>(ERROR_INVALID_HANDLE), GetLastError());
    // A freed module's handle names nothing any more.
    EXPECT_EQ(nullptr, GetProcAddress(first, "DirectDrawCreate"));
}

TEST(ModuleControls, InjectedFailuresSetTheLastError)
{
    PlatformTest::FailCall("LoadLibraryA", ERROR_ACCESS_DENIED, 1);
    SetLastError(0);
    EXPECT_EQ(nullptr, LoadLibraryA("DDRAW.DLL"));
    EXPECT_EQ(static_cast<DWORD>(ERROR_ACCESS_DENIED), GetLastError());
    HMODULE ddraw = LoadLibraryA("DDRAW.DLL");
    ASSERT_NE(nullptr, ddraw);
    PlatformTest::FailCall("GetProcAddress", ERROR_PROC_NOT_FOUND, 1);
    EXPECT_EQ(nullptr, GetProcAddress(ddraw, "DirectDrawCreate"));
    PlatformTest::FailCall("FreeLibrary", ERROR_INVALID_HANDLE, 1);
    EXPECT_FALSE(FreeLibrary(ddraw));
    EXPECT_TRUE(FreeLibrary(ddraw));
    EXPECT_EQ(0, PlatformTest::ModuleLoadCount("DDRAW.DLL"));
}

}  // namespace
