#pragma once
#include <windows.h>

// The licence the install window shows in its licence view.
LPCWSTR LicenseText();
