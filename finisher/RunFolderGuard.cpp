#include "RunFolderGuard.h"

#include "DeviceNames.h"

#include <windows.h>

#include <cwctype>

const wchar_t kRunConfigFileName[] = L"config";

namespace {

std::wstring WithTrailingBackslash(std::wstring path)
{
    if (!path.empty() && path.back() != L'\\') path.push_back(L'\\');
    return path;
}

std::wstring FullPath(const std::wstring& path)
{
    DWORD size = GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
    if (size == 0) return std::wstring();
    std::wstring full(size, L'\0');
    DWORD length = GetFullPathNameW(path.c_str(), size, &full[0], nullptr);
    if (length == 0 || length >= size) return std::wstring();
    full.resize(length);
    return full;
}

// Short (8.3) names are expanded so that two spellings of one folder compare equal.
std::wstring LongPath(const std::wstring& path)
{
    DWORD size = GetLongPathNameW(path.c_str(), nullptr, 0);
    if (size == 0) return path;
    std::wstring longPath(size, L'\0');
    DWORD length = GetLongPathNameW(path.c_str(), &longPath[0], size);
    if (length == 0 || length >= size) return path;
    longPath.resize(length);
    return longPath;
}

std::wstring CanonicalFolder(const std::wstring& folder)
{
    std::wstring full = FullPath(folder);
    if (full.empty()) return full;
    return WithTrailingBackslash(LongPath(full));
}

std::wstring UserTempFolder()
{
    wchar_t buffer[MAX_PATH + 1];
    DWORD length = GetTempPathW(MAX_PATH + 1, buffer);
    if (length == 0 || length > MAX_PATH) return std::wstring();
    return CanonicalFolder(std::wstring(buffer, length));
}

bool SameTextIgnoringCase(const std::wstring& a, const std::wstring& b)
{
    return CompareStringOrdinal(a.c_str(), static_cast<int>(a.size()), b.c_str(), static_cast<int>(b.size()), TRUE) ==
        CSTR_EQUAL;
}

// "C:\x\y\" -> "C:\x\"; empty for a root.
std::wstring ParentFolder(const std::wstring& folder)
{
    if (folder.size() < 2) return std::wstring();
    size_t cut = folder.find_last_of(L'\\', folder.size() - 2);
    if (cut == std::wstring::npos) return std::wstring();
    return folder.substr(0, cut + 1);
}

bool IsAbsoluteDrivePath(const std::wstring& path)
{
    return path.size() >= 3 && iswalpha(path[0]) && path[1] == L':' && path[2] == L'\\';
}

bool IsRealFolder(const std::wstring& folder)
{
    // Asked with its trailing backslash, Wine answers for the folder a
    // symbolic link points to, not for the link.
    std::wstring path = folder;
    while (path.size() > 3 && path.back() == L'\\') path.pop_back();
    DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) &&
        !(attributes & FILE_ATTRIBUTE_REPARSE_POINT);
}

bool IsFile(const std::wstring& path)
{
    DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

} // namespace

bool IsPlainFileName(const std::wstring& name)
{
    if (name.empty() || name == L"." || name == L"..") return false;
    // "NUL" or "com1.exe" would name a device, never the updater's file.
    return name.find_first_of(L"\\/:*?\"<>|") == std::wstring::npos && !IsReservedDeviceName(name);
}

std::wstring VerifiedRunFolder(const std::wstring& folder)
{
    // Wildcards would widen the deletion's search pattern; "\\?\" paths are refused with them.
    if (!IsAbsoluteDrivePath(folder) || folder.find_first_of(L"*?\"<>|") != std::wstring::npos) return std::wstring();
    std::wstring canonical = CanonicalFolder(folder);
    std::wstring temp = UserTempFolder();
    if (canonical.empty() || temp.empty()) return std::wstring();
    const std::wstring parent = ParentFolder(canonical);
    if (!SameTextIgnoringCase(parent, temp)) return std::wstring();
    // The folder's own name follows the updater name's rule: "TEMP\NUL\" is a device.
    if (!IsPlainFileName(canonical.substr(parent.size(), canonical.size() - parent.size() - 1))) return std::wstring();
    if (!IsRealFolder(canonical) || !IsFile(canonical + kRunConfigFileName)) return std::wstring();
    return canonical;
}
