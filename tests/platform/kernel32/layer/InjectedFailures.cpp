// The module calls failing on demand, and modules or entry points hidden as
// on a system without DirectX or with an older one.
#include "InjectedFailures.h"

namespace {

TEST(ModuleFailures, EachModuleCallFailsOnDemandAndThenWorksAgain)
{
    HMODULE module = LoadLibraryA("DDRAW.DLL");
    LoadLibraryA("DDRAW.DLL");  // one load for FreeLibrary's case to undo
    ExpectEachToFailOnceOnDemand({
        {"LoadLibraryA", [] { HMODULE loaded = LoadLibraryA("DINPUT.DLL"); return Win32(loaded && FreeLibrary(loaded)); }},
        {"GetProcAddress", [&] { return Win32(GetProcAddress(module, "DirectDrawCreate") != nullptr); }},
        {"FreeLibrary", [&] { return Win32(FreeLibrary(module)); }},
    });
    EXPECT_TRUE(FreeLibrary(module));
    EXPECT_EQ(0, PlatformTest::ModuleLoadCount("DDRAW.DLL"));
}

TEST(ModuleFailures, AHiddenModuleOrEntryPointIsNotFoundUntilReset)
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
    EXPECT_TRUE(FreeLibrary(LoadLibraryA("DINPUT.DLL")) && FreeLibrary(ddraw));
}

}  // namespace
