// Which DirectX the machine has, decided from the Windows version where that
// settles it and otherwise by trying the interfaces each release added.
#ifndef VORBLOX_SYSTEM_DIRECTXVERSION_H
#define VORBLOX_SYSTEM_DIRECTXVERSION_H

#include <windows.h>

// Writes *version (0, 0x0100, 0x0200, 0x0300, 0x0500 or 0x0501) and
// *platform (0 none, 1 Windows 9x, 2 NT) on the paths that decide them;
// a value not decided keeps what it held. Notes on the way go to the
// debugger output.
void GetDirectXVersion(DWORD* version, DWORD* platform);

#endif
