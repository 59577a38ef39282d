// The DirectX modules as any program finds them: LoadLibraryA,
// GetProcAddress and FreeLibrary alone.
#include <ddraw.h>
#include <dinput.h>
#include <gtest/gtest.h>
#include <windows.h>

namespace {

typedef HRESULT(WINAPI* DirectDrawCreateFunction)(GUID*, LPDIRECTDRAW*, IUnknown*);

TEST(Modules, LoadLibraryFindsTheDirectXModulesByAnyOfTheirNames)
{
    const char* names[] = {"DDRAW.DLL", "ddraw.dll", "DInput.dll", "dinput", "C:\\Windows\\System32\\ddraw.dll"};
    for (const char* name : names) {
        HMODULE module = LoadLibraryA(name);
        EXPECT_NE(nullptr, module) << name;
        if (module) {
            EXPECT_TRUE(FreeLibrary(module)) << name;
        }
    }
}

TEST(Modules, LoadingTwiceGivesTheSameModule)
{
    HMODULE first = LoadLibraryA("DDRAW.DLL");
    HMODULE second = LoadLibraryA("ddraw.dll");
    EXPECT_EQ(first, second);
    EXPECT_TRUE(FreeLibrary(second));
    EXPECT_TRUE(FreeLibrary(first));
}

TEST(Modules, UnknownModuleIsNotFound)
{
    SetLastError(0);
    EXPECT_EQ(nullptr, LoadLibraryA("NOSUCHMODULE-VORBLOX.DLL"));
    EXPECT_EQ(static_cast<DWORD>(ERROR_MOD_NOT_FOUND), GetLastError());
}

TEST(Modules, EntryPointsAreFoundByName)
{
    struct {
        const char* module;
        const char* entry;
    } cases[] = {{"DDRAW.DLL", "DirectDrawCreate"}, {"DINPUT.DLL", "DirectInputCreateA"}};
    for (auto& c : cases) {
        HMODULE module = LoadLibraryA(c.module);
        ASSERT_NE(nullptr, module) << c.module;
        EXPECT_NE(nullptr, GetProcAddress(module, c.entry)) << c.entry;
        EXPECT_TRUE(FreeLibrary(module));
    }
}

TEST(Modules, UnknownEntryPointIsNotFound)
{
    HMODULE module = LoadLibraryA("DINPUT.DLL");
    ASSERT_NE(nullptr, module);
    const char* names[] = {"NoSuchEntryPoint", "directinputcreatea", "DirectDrawCreate"};
    for (const char* name : names) {
        SetLastError(0);
        EXPECT_EQ(nullptr, GetProcAddress(module, name)) << name;
        EXPECT_EQ(static_cast<DWORD>(ERROR_PROC_NOT_FOUND), GetLastError()) << name;
    }
    EXPECT_TRUE(FreeLibrary(module));
}

TEST(Modules, EntryPointWorksThroughItsAddress)
{
    HMODULE module = LoadLibraryA("DDRAW.DLL");
    ASSERT_NE(nullptr, module);
    auto create = reinterpret_cast<DirectDrawCreateFunction>(
        reinterpret_cast<void (*)()>(GetProcAddress(module, "DirectDrawCreate")));
    ASSERT_NE(nullptr, create);
    LPDIRECTDRAW ddraw = nullptr;
    ASSERT_EQ(DD_OK, create(nullptr, &ddraw, nullptr));
    EXPECT_EQ(0u, ddraw->Release());
    EXPECT_TRUE(FreeLibrary(module));
}

}  // namespace
