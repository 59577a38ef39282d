// How the game tells the player that it cannot go on: the last DirectX
// failure, kept process-wide by every DirectDraw and DirectInput wrapper, and
// the message boxes that start-up shows when something fails.
#ifndef VORBLOX_SYSTEM_ERRORREPORT_H
#define VORBLOX_SYSTEM_ERRORREPORT_H

#include <windows.h>

// The most recent DirectX failure; DD_OK until the first one.
extern HRESULT lastDxError;

void SetDxError(HRESULT code);
HRESULT GetDxError();

// Names the recorded DirectX failure in a message box. Always 0.
int ShowDxError();

// The system's text for GetLastError, allocated by the system (LocalFree it),
// or null when the system has no text for the code.
LPSTR FormatSystemError();

// Shows the system's text for GetLastError in a message box. Always 0.
int ShowSystemError();

// A message box with the caller's caption and text. Always 0.
int ShowMessage(LPCSTR caption, LPCSTR text);

#endif
