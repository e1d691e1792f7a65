#pragma once
#include <string>

// Folder of the running executable, with its trailing backslash; empty when the
// module path holds no backslash.
std::wstring GetAppDirectory();

// The path of a file beside the executable: the file-name part of modulePath
// is replaced, whatever the executable is called, so a renamed program still
// finds its own settings instead of pointing them at itself.
std::wstring SiblingPath(const std::wstring& modulePath, const std::wstring& fileName);
