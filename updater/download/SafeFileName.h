// File names that come from the network (URL paths, the manifest) name a
// file inside the download folder and nothing else.
#pragma once

#include <string>

// True for a plain name: not empty, not "." or "..", no folder separators,
// no drive or stream colon, no characters Windows refuses in names, and not a
// reserved device name.
bool IsSafeFileName(const std::string& name);
bool IsSafeFileName(const std::wstring& name);
