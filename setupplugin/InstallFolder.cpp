#include "InstallFolder.h"

#include <windows.h>

#include <shlobj.h>
#include <shlwapi.h>

#include <vector>

namespace {

std::wstring ShellFolder(int csidl)
{
    wchar_t path[MAX_PATH] = {};
    if (FAILED(::SHGetFolderPathW(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, path))) return std::wstring();
    return path;
}

std::wstring ParentOf(const std::wstring& path)
{
    size_t cut = path.find_last_of(L'\\');
    return cut == std::wstring::npos ? std::wstring() : path.substr(0, cut);
}

bool SameFolder(const std::wstring& a, const std::wstring& b)
{
    return !a.empty() && !b.empty() && _wcsicmp(a.c_str(), b.c_str()) == 0;
}

} // namespace

std::wstring CInstallFolder::WithoutTrailingBackslash(const std::wstring& path)
{
    std::wstring folder = path;
    // "C:\" keeps its backslash: "C:" names the drive's current folder.
    while (folder.size() > 3 && folder.back() == L'\\') folder.pop_back();
    if (folder.size() == 2 && folder[1] == L':') folder += L'\\';
    return folder;
}

bool CInstallFolder::IsDirectory(const std::wstring& path)
{
    DWORD attributes = ::GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

bool CInstallFolder::IsEmptyFolder(const std::wstring& folder)
{
    WIN32_FIND_DATAW found = {};
    HANDLE hFind = ::FindFirstFileW((folder + L"\\*").c_str(), &found);
    if (hFind == INVALID_HANDLE_VALUE) return true;
    bool bEmpty = true;
    do {
        if (wcscmp(found.cFileName, L".") != 0 && wcscmp(found.cFileName, L"..") != 0) bEmpty = false;
    } while (bEmpty && ::FindNextFileW(hFind, &found));
    ::FindClose(hFind);
    return bEmpty;
}

bool CInstallFolder::HoldsInstallation(const std::wstring& folder)
{
    for (const wchar_t* pstrName : { L"lumora.exe", kInstalledListName }) {
        DWORD attributes = ::GetFileAttributesW((folder + L"\\" + pstrName).c_str());
        if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0) return true;
    }
    return false;
}

// The Windows folder, Program Files itself, the folder of the users' profiles
// and any profile in it.
bool CInstallFolder::IsSystemPlace(const std::wstring& folder)
{
    wchar_t windows[MAX_PATH] = {};
    ::GetWindowsDirectoryW(windows, MAX_PATH);
    const std::wstring profile = ShellFolder(CSIDL_PROFILE);
    const std::wstring profiles = ParentOf(profile);
    std::vector<std::wstring> places = { windows,
                                         ShellFolder(CSIDL_PROGRAM_FILES),
                                         ShellFolder(CSIDL_PROGRAM_FILESX86),
                                         ShellFolder(CSIDL_SYSTEM),
                                         profile,
                                         profiles };
    for (const std::wstring& place : places) {
        if (SameFolder(folder, WithoutTrailingBackslash(place))) return true;
    }
    return SameFolder(ParentOf(folder), profiles);
}

std::wstring CInstallFolder::Resolve(const std::wstring& chosen)
{
    if (chosen.empty()) return chosen;
    std::wstring folder = WithoutTrailingBackslash(chosen);
    if (::PathIsRootW(folder.c_str())) return folder + kOwnFolderName;
    if (IsSystemPlace(folder)) return folder + L"\\" + kOwnFolderName;
    if (IsDirectory(folder) && !IsEmptyFolder(folder) && !HoldsInstallation(folder))
        return folder + L"\\" + kOwnFolderName;
    return folder;
}

std::wstring CInstallFolder::NearestExisting(const std::wstring& path)
{
    std::wstring folder = path;
    while (!folder.empty()) {
        if (IsDirectory(folder)) return folder;
        size_t cut = folder.find_last_of(L'\\');
        if (cut == std::wstring::npos) break;
        bool bDriveRoot = cut == 2 && folder[1] == L':';
        if (bDriveRoot && folder.size() == 3) break;
        folder.erase(bDriveRoot ? cut + 1 : cut);
    }
    return std::wstring();
}
