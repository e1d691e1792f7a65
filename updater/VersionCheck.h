// Versions of installed files and the comparison of dotted version texts.
#pragma once

#include <string>

// Fills `version` with the file's FileVersion text; leaves it unchanged when
// the file has none.
void QueryFileVersion(const std::wstring& path, std::wstring& version);

// True when `a` is newer than `b`. Parts are compared as numbers from the
// left; a part one text lacks counts as 0, so "2.1.0" equals "2.1" and
// "2.1.1" is newer than "2.1".
bool CompareVersionStrings(const std::wstring& a, const std::wstring& b);

// True when the manifest's version is newer than the file's (a file without
// version information has the empty version).
bool IsManifestVersionNewer(const std::wstring& path, const std::wstring& manifestVersion);
