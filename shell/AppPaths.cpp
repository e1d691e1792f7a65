#include "AppPaths.h"

#include <windows.h>

std::wstring GetAppDirectory()
{
    wchar_t path[MAX_PATH] = {};
    DWORD n = GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring full(path, n);
    size_t slash = full.rfind(L'\\');
    if (slash == std::wstring::npos) return std::wstring();
    return full.substr(0, slash + 1);
}

std::wstring SiblingPath(const std::wstring& modulePath, const std::wstring& fileName)
{
    size_t slash = modulePath.find_last_of(L"\\/");
    if (slash == std::wstring::npos) return fileName;
    return modulePath.substr(0, slash + 1) + fileName;
}
