#include "UpdSkinTestSupport.h"

#include <shellapi.h>

namespace UpdSkinTest {

std::wstring TestZipPath()
{
    return std::wstring(LUMORA_TEST_BUILD_DIR) + L"\\tests\\updtest.zip";
}

std::wstring TestSkinFolder()
{
    return std::wstring(LUMORA_TEST_SRC_DIR) + L"\\skins\\updtest\\";
}

std::vector<BYTE> ReadWholeFile(const std::wstring& sPath)
{
    std::vector<BYTE> bytes;
    HANDLE hFile = CreateFileW(sPath.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (hFile == INVALID_HANDLE_VALUE) return bytes;
    DWORD dwSize = GetFileSize(hFile, nullptr);
    bytes.resize(dwSize);
    DWORD dwRead = 0;
    if (dwSize == 0 || !ReadFile(hFile, bytes.data(), dwSize, &dwRead, nullptr) || dwRead != dwSize) bytes.clear();
    CloseHandle(hFile);
    return bytes;
}

bool WriteWholeFile(const std::wstring& sPath, const void* pData, size_t nSize)
{
    HANDLE hFile = CreateFileW(sPath.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (hFile == INVALID_HANDLE_VALUE) return false;
    DWORD dwWritten = 0;
    BOOL bOk = nSize == 0 || WriteFile(hFile, pData, (DWORD)nSize, &dwWritten, nullptr);
    CloseHandle(hFile);
    return bOk && dwWritten == nSize;
}

std::wstring MakeTempFolder(LPCWSTR pstrName)
{
    WCHAR szTemp[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, szTemp);
    std::wstring sFolder = std::wstring(szTemp) + pstrName;
    // Double-terminated for SHFileOperation.
    std::wstring sFrom = sFolder;
    sFrom.push_back(L'\0');
    SHFILEOPSTRUCTW op = {};
    op.wFunc = FO_DELETE;
    op.pFrom = sFrom.c_str();
    op.fFlags = FOF_NO_UI;
    SHFileOperationW(&op);
    CreateDirectoryW(sFolder.c_str(), nullptr);
    return sFolder + L"\\";
}

} // namespace UpdSkinTest
