// The thread's last error. Every part sets it, so it lives below them all,
// where Windows keeps it too: in the thread's own block, not in a DLL.
#include <windows.h>

namespace {

thread_local DWORD lastError = 0;

}  // namespace

DWORD WINAPI GetLastError(void) { return lastError; }
void WINAPI SetLastError(DWORD error) { lastError = error; }
