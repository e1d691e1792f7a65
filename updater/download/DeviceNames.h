// Names Windows keeps for devices. A file "NUL" or "COM1.txt" opens the
// device instead, so no name from the network or the command line may be one.
#pragma once

#include <string>

// True for "CON", "nul", "Com1.log", "LPT9.tar.gz": the part before the first
// dot, in any case, is a device name.
bool IsReservedDeviceName(const std::wstring& name);
