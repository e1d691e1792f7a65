#include "AppDirectory.h"

namespace {

std::wstring OwnPath()
{
    wchar_t path[MAX_PATH] = {};
    DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return std::wstring();
    return path;
}

} // namespace

std::wstring GetAppDirectory()
{
    std::wstring path = OwnPath();
    size_t slash = path.rfind(L'\\');
    return slash == std::wstring::npos ? std::wstring() : path.substr(0, slash + 1);
}

std::wstring GetAppDirectoryNoSlash()
{
    std::wstring folder = GetAppDirectory();
    if (!folder.empty()) folder.pop_back();
    return folder;
}

bool FindWindowByProperty(HWND* window, const wchar_t* propertyName)
{
    for (HWND top = GetWindow(GetDesktopWindow(), GW_CHILD); top && IsWindow(top); top = GetWindow(top, GW_HWNDNEXT)) {
        if (GetPropW(top, propertyName)) {
            if (window) *window = top;
            return true;
        }
    }
    return false;
}

std::wstring WithTrailingSlash(std::wstring folder)
{
    if (!folder.empty() && folder.back() != L'\\') folder += L'\\';
    return folder;
}
