// The updater's box for failures the user must know about: the system's own
// text for an error code, from WinINet's messages when the system has none.
#pragma once

#include <windows.h>

void ShowSystemErrorBox(DWORD errorCode);
