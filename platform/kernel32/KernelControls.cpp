#include "KernelControls.h"

#include "Core.h"

#include <PlatformTest.h>

#include <string>

namespace plat {
namespace {

struct Controls {
    bool versionFails = false;
    DWORD platformId = VER_PLATFORM_WIN32_NT, major = 5, minor = 1, build = 2600;
    bool captureDebug = false;
    std::string debug;
};

Controls& State()
{
    static auto* controls = new Controls;
    return *controls;
}

void ResetControls() { State() = Controls(); }

const bool hooked = (AddResetHook(ResetControls), true);

}  // namespace

bool VersionQueryFails() { return State().versionFails; }

void ReportedVersion(OSVERSIONINFOA* info)
{
    Controls& s = State();
    info->dwMajorVersion = s.major;
    info->dwMinorVersion = s.minor;
    info->dwBuildNumber = s.build;
    info->dwPlatformId = s.platformId;
}

bool CapturingDebugOutput() { return State().captureDebug; }

void RecordDebugOutput(const char* text) { State().debug += text; }

}  // namespace plat

namespace PlatformTest {

void SetOsVersion(DWORD platformId, DWORD major, DWORD minor, DWORD build)
{
    plat::Controls& s = plat::State();
    s.platformId = platformId;
    s.major = major;
    s.minor = minor;
    s.build = build;
}

void SetVersionQueryFails(bool fails) { plat::State().versionFails = fails; }

void CaptureDebugOutput(bool capture) { plat::State().captureDebug = capture; }
std::string DebugOutput() { return plat::State().debug; }
void ClearDebugOutput() { plat::State().debug.clear(); }

}  // namespace PlatformTest
