// Where the running updater lies, and the handshake with other top-level
// windows through named window properties.
#pragma once

#include <windows.h>

#include <string>

// Folder of the running executable, with trailing backslash.
std::wstring GetAppDirectory();
// The same folder without trailing backslash.
std::wstring GetAppDirectoryNoSlash();

// First top-level window (hidden ones included) that carries the property.
bool FindWindowByProperty(HWND* window, const wchar_t* propertyName);

// `folder` with a trailing backslash (an empty folder stays empty).
std::wstring WithTrailingSlash(std::wstring folder);
