// KERNEL32: time, sleeping, the module handle, the version.
#include "Clock.h"
#include "Core.h"
#include "KernelControls.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

// The program's own module: any fixed, non-null value serves.
HMODULE const kProgramModule = reinterpret_cast<HMODULE>(0x00400000);

}  // namespace

void WINAPI Sleep(DWORD milliseconds)
{
    DWORD ignored = 0;
    plat::Injected("Sleep", &ignored);  // counted, never failed
    if (milliseconds == 0) return;
    plat::SleepUntil(plat::WaitEnd(plat::WaitStart() + milliseconds * 1000000ull));
}

BOOL WINAPI QueryPerformanceCounter(LARGE_INTEGER* count)
{
    if (!count) return FALSE;
    count->QuadPart = (LONGLONG)plat::Now();
    return TRUE;
}

BOOL WINAPI QueryPerformanceFrequency(LARGE_INTEGER* frequency)
{
    if (!frequency) return FALSE;
    frequency->QuadPart = 1000000000;
    return TRUE;
}

DWORD WINAPI GetTickCount(void) { return (DWORD)(plat::Now() / 1000000ull); }

HMODULE WINAPI GetModuleHandleA(LPCSTR moduleName)
{
    DWORD code = 0;
    if (plat::FailWin32("GetModuleHandleA", &code)) return nullptr;
    if (moduleName) {
        SetLastError(ERROR_MOD_NOT_FOUND);
        return nullptr;
    }
    return kProgramModule;
}

BOOL WINAPI GetVersionExA(LPOSVERSIONINFOA info)
{
    DWORD code = 0;
    if (plat::FailWin32("GetVersionExA", &code)) return FALSE;
    if (!info || info->dwOSVersionInfoSize != sizeof(OSVERSIONINFOA)) {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return FALSE;
    }
    // The game needs a display; without one it is told there is no
    // version worth having, and refuses to start.
    std::string reason;
    if (plat::VersionQueryFails()) {
        SetLastError(ERROR_NOT_SUPPORTED);
        return FALSE;
    }
    if (!plat::VideoReady(&reason)) {
        std::fprintf(stderr, "Vorblox: no display available: %s\n", reason.c_str());
        SetLastError(ERROR_NOT_SUPPORTED);
        return FALSE;
    }
    plat::ReportedVersion(info);
    std::memset(info->szCSDVersion, 0, sizeof info->szCSDVersion);
    return TRUE;
}

void WINAPI OutputDebugStringA(LPCSTR text)
{
    if (!text) return;
    if (plat::CapturingDebugOutput()) {
        plat::RecordDebugOutput(text);
        return;
    }
    std::fputs(text, stderr);
    std::fflush(stderr);
}

HLOCAL WINAPI LocalFree(HLOCAL memory)
{
    std::free(memory);
    return nullptr;
}
