#pragma once
#include <windows.h>

#include <string>
#include <vector>

namespace UpdSkinTest {

// The zipped test skin (skins/updtest), as the build left it in the test folder.
std::wstring TestZipPath();
// The unzipped test skin in the source tree, with a trailing backslash.
std::wstring TestSkinFolder();
std::vector<BYTE> ReadWholeFile(const std::wstring& sPath);
bool WriteWholeFile(const std::wstring& sPath, const void* pData, size_t nSize);
// A fresh empty folder under the temporary directory, with a trailing backslash.
std::wstring MakeTempFolder(LPCWSTR pstrName);

} // namespace UpdSkinTest
