#pragma once
#include <string>

// The version this build of the program is: the same text its version resource
// carries as FileVersion, so the updater compares against what the user sees.
const wchar_t* ClientVersion();

// The main window's version label: "版本 : " followed by ClientVersion().
std::wstring VersionLabelText();
