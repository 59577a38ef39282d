// The multimedia timer period of WINMM, the part of it the game uses.
#ifndef VORBLOX_PLATFORM_MMSYSTEM_H
#define VORBLOX_PLATFORM_MMSYSTEM_H

#include <windows.h>

typedef UINT MMRESULT;

#define TIMERR_NOERROR 0
#define TIMERR_NOCANDO 97

MMRESULT WINAPI timeBeginPeriod(UINT period);
MMRESULT WINAPI timeEndPeriod(UINT period);

#endif
