// The DirectX modules as any program finds them: LoadLibraryA,
// GetProcAddress and FreeLibrary alone.
#include <ddraw.h>
#include <gtest/gtest.h>
#include <windows.h>

namespace {

typedef HRESULT(WINAPI* DirectDrawCreateFunction)(GUID*, LPDIRECTDRAW*, IUnknown*);

TEST(Modules, TheDirectXModulesAndTheirEntryPointsAreFound)
{
    HMODULE ddraw = LoadLibraryA("DDRAW.DLL"), dinput = LoadLibraryA("DINPUT.DLL");
    ASSERT_TRUE(ddraw && dinput);
    EXPECT_EQ(ddraw, LoadLibraryA("DDRAW.DLL"));  // the same module again
    EXPECT_TRUE(FreeLibrary(ddraw));
    EXPECT_NE(nullptr, GetProcAddress(dinput, "DirectInputCreateA"));
    for (const char* name : {"NoSuchEntryPoint", "DirectDrawCreate"}) {
        SetLastError(0);
        EXPECT_EQ(nullptr, GetProcAddress(dinput, name)) << name;
        EXPECT_EQ(static_cast<DWORD>(ERROR_PROC_NOT_FOUND), GetLastError()) << name;
    }
    auto create = reinterpret_cast<DirectDrawCreateFunction>(
        reinterpret_cast<void (*)()>(GetProcAddress(ddraw, "DirectDrawCreate")));
    ASSERT_NE(nullptr, create);
    LPDIRECTDRAW object = nullptr;
    ASSERT_EQ(DD_OK, create(nullptr, &object, nullptr));
    EXPECT_EQ(0u, object->Release());
    EXPECT_TRUE(FreeLibrary(ddraw) && FreeLibrary(dinput));
    SetLastError(0);
    EXPECT_EQ(nullptr, LoadLibraryA("NOSUCHMODULE-VORBLOX.DLL"));
    EXPECT_EQ(static_cast<DWORD>(ERROR_MOD_NOT_FOUND), GetLastError());
}

}  // namespace
