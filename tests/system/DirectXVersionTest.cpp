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

class DirectXVersionTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        PlatformTest::SetHeadless(true);
        PlatformTest::Reset();
        PlatformTest::CaptureDebugOutput(true);
        PlatformTest::ClearDebugOutput();
    }
    void TearDown() override { PlatformTest::CaptureDebugOutput(false); }
};

struct ProbeCase {
    const char* name;
    DWORD platformId;
    DWORD major;
    DWORD build;
    std::function<void()> arrange;
    DWORD version;
    DWORD platform;
    const char* debugOutput;
    int librariesLoaded;
};

void Nothing() {}

const DWORD kNt = VER_PLATFORM_WIN32_NT;
const DWORD k9x = VER_PLATFORM_WIN32_WINDOWS;

std::vector<ProbeCase> ProbeCases()
{
    return {
        {"NT 3.51", kNt, 3, 1057, Nothing, kUntouched, 0, "", 0},
        {"NT 4 with DirectInput", kNt, 4, 1381, Nothing, 0x0300, 2, "", 1},
        {"NT 4 without the input module", kNt, 4, 1381, [] { PlatformTest::HideModule("DINPUT.DLL"); }, 0x0200, 2,
         "Couldn't LoadLibrary DInput\r\n", 1},
        {"NT 4 without the input entry point", kNt, 4, 1381,
         [] { PlatformTest::HideProcedure("DINPUT.DLL", "DirectInputCreateA"); }, 0x0200, 2,
         "Couldn't GetProcAddress DInputCreate\r\n", 1},
        {"NT 5", kNt, 5, 2195, Nothing, 0x0501, 2, "", 0},
        {"NT 10", kNt, 10, 19045, Nothing, 0x0501, 2, "", 0},
        {"9x build 1354", k9x, 4, 1354, Nothing, 0x0501, 1, "", 0},
        {"9x build 1354 with version bytes above", k9x, 4, 0x040A054A, Nothing, 0x0501, 1, "", 0},
        {"9x build 1353, everything present", k9x, 4, 1353, Nothing, 0x0500, 1, "", 2},
        {"9x build 1353 with version bytes above", k9x, 4, 0x0A000549, Nothing, 0x0500, 1, "", 2},
        {"9x without DirectDraw", k9x, 4, 950, [] { PlatformTest::HideModule("DDRAW.DLL"); }, 0, 0, "", 1},
        {"9x without DirectDrawCreate", k9x, 4, 950,
         [] { PlatformTest::HideProcedure("DDRAW.DLL", "DirectDrawCreate"); }, 0, 0,
         "Couldn't LoadLibrary DDraw\r\n", 1},
        {"9x where DirectDraw cannot be created", k9x, 4, 950,
         [] { PlatformTest::FailCall("DirectDrawCreate", DDERR_NODIRECTDRAWHW); }, 0, 0,
         "Couldn't create DDraw\r\n", 1},
        {"9x without IDirectDraw2", k9x, 4, 950,
         [] { PlatformTest::FailCall("IDirectDraw::QueryInterface", E_NOINTERFACE); }, 0x0100, 1,
         "Couldn't QI DDraw2\r\n", 1},
        {"9x without the input module", k9x, 4, 950, [] { PlatformTest::HideModule("DINPUT.DLL"); }, 0x0200, 1,
         "Couldn't LoadLibrary DInput\r\n", 2},
        {"9x without the input entry point", k9x, 4, 950,
         [] { PlatformTest::HideProcedure("DINPUT.DLL", "DirectInputCreateA"); }, 0x0200, 1,
         "Couldn't GetProcAddress DInputCreate\r\n", 2},
        {"9x refusing the cooperative level", k9x, 4, 950,
         [] { PlatformTest::FailCall("IDirectDraw::SetCooperativeLevel", DDERR_INVALIDPARAMS); }, 0, 1,
         "Couldn't Set coop level\r\n", 2},
        {"9x without a primary surface", k9x, 4, 950,
         [] { PlatformTest::FailCall("IDirectDraw::CreateSurface", DDERR_OUTOFVIDEOMEMORY); }, 0, 1,
         "Couldn't CreateSurface\r\n", 2},
        {"9x without IDirectDrawSurface3", k9x, 4, 950,
         [] { PlatformTest::FailCall("IDirectDrawSurface::QueryInterface", E_NOINTERFACE); }, 0x0300, 1, "", 2},
    };
}

TEST_F(DirectXVersionTest, EveryPathGivesItsVersionAndNotes)
{
    for (const ProbeCase& c : ProbeCases()) {
        PlatformTest::Reset();
        PlatformTest::CaptureDebugOutput(true);
        PlatformTest::ClearDebugOutput();
        PlatformTest::SetOsVersion(c.platformId, c.major, 0, c.build);
        c.arrange();
        DWORD version = kUntouched, platform = kUntouched;
        GetDirectXVersion(&version, &platform);
        EXPECT_EQ(c.version, version) << c.name;
        EXPECT_EQ(c.platform, platform) << c.name;
        EXPECT_EQ(c.debugOutput, PlatformTest::DebugOutput()) << c.name;
        EXPECT_EQ(c.librariesLoaded, PlatformTest::CallCount("LoadLibraryA")) << c.name;
        EXPECT_EQ(0, PlatformTest::ModuleLoadCount("DDRAW.DLL")) << c.name << ": library left loaded";
        EXPECT_EQ(0, PlatformTest::ModuleLoadCount("DINPUT.DLL")) << c.name << ": library left loaded";
        EXPECT_EQ(0, PlatformTest::LiveSurfaceCount()) << c.name << ": surface left behind";
    }
}

TEST_F(DirectXVersionTest, FailedVersionQueryMeansNoDirectX)
{
    PlatformTest::SetVersionQueryFails(true);
    DWORD version = kUntouched, platform = kUntouched;
    GetDirectXVersion(&version, &platform);
    EXPECT_EQ(0u, version);
    EXPECT_EQ(0u, platform);
    EXPECT_EQ("", PlatformTest::DebugOutput());
}

TEST_F(DirectXVersionTest, SystemInfoHoldsTheEntryArgumentsAndMetrics)
{
    PlatformTest::SetScreenSize(1024, 600);
    HINSTANCE instance = GetModuleHandleA(NULL);
    InitSystemInfo(instance, SW_SHOWDEFAULT);
    EXPECT_EQ(instance, systemInfo.instance);
    EXPECT_EQ(SW_SHOWDEFAULT, systemInfo.showCommand);
    EXPECT_EQ(1024, systemInfo.screenWidth);
    EXPECT_EQ(600, systemInfo.screenHeight);
    EXPECT_EQ(2 * GetSystemMetrics(SM_CXFRAME), systemInfo.borderWidth);
    EXPECT_EQ(GetSystemMetrics(SM_CYCAPTION) + 2 * GetSystemMetrics(SM_CYFRAME) - 1, systemInfo.borderHeight);
    EXPECT_EQ(0x0501u, systemInfo.dxVersion) << "a current NT";
    EXPECT_EQ(2u, systemInfo.dxPlatform);

    PlatformTest::SetOsVersion(VER_PLATFORM_WIN32_NT, 4, 0, 1381);
    PlatformTest::HideModule("DINPUT.DLL");
    InitSystemInfo(instance, SW_SHOWNORMAL);
    EXPECT_EQ(SW_SHOWNORMAL, systemInfo.showCommand);
    EXPECT_EQ(0x0200u, systemInfo.dxVersion);
}

}  // namespace
