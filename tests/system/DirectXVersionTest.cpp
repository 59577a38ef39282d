// The DirectX version probe on every path it can take, with the notes it
// leaves in the debugger output, and the system information built on it.
#include <gtest/gtest.h>

#include <PlatformTest.h>

#include <ddraw.h>

#include <functional>
#include <string>

#include "system/DirectXVersion.h"
#include "system/SystemInfo.h"

namespace {

const DWORD kUntouched = 0xDEADBEEF;
const DWORD kNt = VER_PLATFORM_WIN32_NT, k9x = VER_PLATFORM_WIN32_WINDOWS;

struct Os { DWORD platformId, major, build; };
using Arrange = std::function<void()>;
Arrange Hide(const char* module) { return [=] { PlatformTest::HideModule(module); }; }
Arrange HideEntry(const char* module, const char* entry) { return [=] { PlatformTest::HideProcedure(module, entry); }; }
Arrange Fail(const char* call, HRESULT code) { return [=] { PlatformTest::FailCall(call, static_cast<DWORD>(code)); }; }

TEST(DirectXVersionTest, EveryPathGivesItsVersionAndNotes)
{
    const Os nt3 = {kNt, 3, 1057}, nt4 = {kNt, 4, 1381}, nt5 = {kNt, 5, 2195}, win95 = {k9x, 4, 950};
    const char* const noInput = "Couldn't LoadLibrary DInput\r\n";
    const char* const noInputEntry = "Couldn't GetProcAddress DInputCreate\r\n";
    const Arrange hideInputEntry = HideEntry("DINPUT.DLL", "DirectInputCreateA");
    // What the system reports and lacks; then version, platform, debugger lines and libraries loaded.
    const struct { const char* name; Os os; Arrange arrange; DWORD version, platform; const char* debug; int loads; }
    cases[] = {
        {"version query fails", nt5, [] { PlatformTest::SetVersionQueryFails(true); }, 0, 0, "", 0},
        {"NT 3.51", nt3, {}, kUntouched, 0, "", 0},
        {"NT 4 with DirectInput", nt4, {}, 0x0300, 2, "", 1},
        {"NT 4 without the input module", nt4, Hide("DINPUT.DLL"), 0x0200, 2, noInput, 1},
        {"NT 4 without the input entry point", nt4, hideInputEntry, 0x0200, 2, noInputEntry, 1},
        {"NT 5", nt5, {}, 0x0501, 2, "", 0},
        {"NT 10", {kNt, 10, 19045}, {}, 0x0501, 2, "", 0},
        {"9x build 1354", {k9x, 4, 1354}, {}, 0x0501, 1, "", 0},
        {"9x build 1354 with version bytes above", {k9x, 4, 0x040A054A}, {}, 0x0501, 1, "", 0},
        {"9x build 1353, everything present", {k9x, 4, 1353}, {}, 0x0500, 1, "", 2},
        {"9x build 1353 with version bytes above", {k9x, 4, 0x0A000549}, {}, 0x0500, 1, "", 2},
        {"9x without DirectDraw", win95, Hide("DDRAW.DLL"), 0, 0, "", 1},
        {"9x without DirectDrawCreate", win95, HideEntry("DDRAW.DLL", "DirectDrawCreate"), 0, 0,
         "Couldn't LoadLibrary DDraw\r\n", 1},
        {"9x where DirectDraw cannot be created", win95, Fail("DirectDrawCreate", DDERR_NODIRECTDRAWHW), 0, 0,
         "Couldn't create DDraw\r\n", 1},
        {"9x without IDirectDraw2", win95, Fail("IDirectDraw::QueryInterface", E_NOINTERFACE), 0x0100, 1,
         "Couldn't QI DDraw2\r\n", 1},
        {"9x without the input module", win95, Hide("DINPUT.DLL"), 0x0200, 1, noInput, 2},
        {"9x without the input entry point", win95, hideInputEntry, 0x0200, 1, noInputEntry, 2},
        {"9x refusing the cooperative level", win95, Fail("IDirectDraw::SetCooperativeLevel", DDERR_INVALIDPARAMS), 0,
         1, "Couldn't Set coop level\r\n", 2},
        {"9x without a primary surface", win95, Fail("IDirectDraw::CreateSurface", DDERR_OUTOFVIDEOMEMORY), 0, 1,
         "Couldn't CreateSurface\r\n", 2},
        {"9x without IDirectDrawSurface3", win95, Fail("IDirectDrawSurface::QueryInterface", E_NOINTERFACE), 0x0300,
         1, "", 2},
    };
    PlatformTest::SetHeadless(true);
    for (const auto& c : cases) {
        PlatformTest::Reset();
        PlatformTest::CaptureDebugOutput(true);
        PlatformTest::SetOsVersion(c.os.platformId, c.os.major, 0, c.os.build);
        if (c.arrange) c.arrange();
        DWORD version = kUntouched, platform = kUntouched;
        GetDirectXVersion(&version, &platform);
        EXPECT_EQ(c.version, version) << c.name;
        EXPECT_EQ(c.platform, platform) << c.name;
        EXPECT_EQ(c.debug, PlatformTest::DebugOutput()) << c.name;
        EXPECT_EQ(c.loads, PlatformTest::CallCount("LoadLibraryA")) << c.name;
        EXPECT_EQ(0, PlatformTest::ModuleLoadCount("DDRAW.DLL") + PlatformTest::ModuleLoadCount("DINPUT.DLL"))
            << c.name << ": library left loaded";
        EXPECT_EQ(0, PlatformTest::LiveSurfaceCount()) << c.name << ": surface left behind";
    }
    PlatformTest::Reset();
}

TEST(DirectXVersionTest, SystemInfoHoldsTheEntryArgumentsAndMetrics)
{
    PlatformTest::SetHeadless(true);
    PlatformTest::Reset();
    PlatformTest::SetScreenSize(1024, 600);
    HINSTANCE instance = GetModuleHandleA(NULL);
    InitSystemInfo(instance, SW_SHOWDEFAULT);
    EXPECT_EQ(instance, systemInfo.instance);
    EXPECT_EQ(SW_SHOWDEFAULT, systemInfo.showCommand);
    EXPECT_EQ(1024, systemInfo.screenWidth);
    EXPECT_EQ(600, systemInfo.screenHeight);
    EXPECT_EQ(2 * GetSystemMetrics(SM_CXFRAME), systemInfo.borderWidth);
    EXPECT_EQ(GetSystemMetrics(SM_CYCAPTION) + 2 * GetSystemMetrics(SM_CYFRAME), systemInfo.borderHeight);
    EXPECT_EQ(0x0501u, systemInfo.dxVersion) << "a current NT";
    EXPECT_EQ(2u, systemInfo.dxPlatform);

    PlatformTest::SetOsVersion(VER_PLATFORM_WIN32_NT, 4, 0, 1381);
    PlatformTest::HideModule("DINPUT.DLL");
    InitSystemInfo(instance, SW_SHOWNORMAL);
    EXPECT_EQ(SW_SHOWNORMAL, systemInfo.showCommand);
    EXPECT_EQ(0x0200u, systemInfo.dxVersion);
    PlatformTest::Reset();
}

}  // namespace
