#pragma once
#include <windows.h>

#include <string>
#include <vector>

// Where the tests find the packed test skin and its sources.
inline std::wstring TestSkinFile()
{
    return std::wstring(LUMORA_TEST_BUILD_DIR) + L"\\tests\\test.sk";
}

inline std::wstring TestSkinSource(LPCWSTR relative)
{
    return std::wstring(LUMORA_TEST_SRC_DIR) + L"\\skins\\test\\" + relative;
}

inline std::vector<BYTE> ReadFileForTest(const std::wstring& path)
{
    std::vector<BYTE> bytes;
    HANDLE h = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE) return bytes;
    DWORD size = GetFileSize(h, nullptr);
    bytes.resize(size);
    DWORD read = 0;
    if (size > 0) ReadFile(h, bytes.data(), size, &read, nullptr);
    CloseHandle(h);
    bytes.resize(read);
    return bytes;
}

inline void WriteFileForTest(const std::wstring& path, const std::string& text)
{
    HANDLE h = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE) return;
    DWORD written = 0;
    WriteFile(h, text.data(), (DWORD)text.size(), &written, nullptr);
    CloseHandle(h);
}
