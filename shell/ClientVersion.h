#pragma once
#include <string>

// The version this build of the program is: the same text its version resource
// carries as FileVersion, so the updater compares against what the user sees.
const wchar_t* ClientVersion();

// The main window's version label: "版本 : " followed by ClientVersion().
std::wstring VersionLabelText();

// The About page's line: "版本 " followed by ClientVersion().
std::wstring AboutVersionText();

// The notification-area icon's tip: the product name, and "版本V" followed by
// ClientVersion() on the second line.
std::wstring TrayTipText();
