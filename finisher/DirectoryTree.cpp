#include "DirectoryTree.h"

#include <windows.h>

namespace {

void DeleteDirectoryContents(const std::wstring& folder);

bool IsLinkedFolder(const WIN32_FIND_DATAW& entry)
{
    return (entry.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
}

void DeleteEntry(const std::wstring& folder, const WIN32_FIND_DATAW& entry)
{
    std::wstring path = folder + entry.cFileName;
    if (!(entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
        DeleteFileW(path.c_str());
        return;
    }
    // Also covers "." and "..".
    if (entry.cFileName[0] == L'.') return;
    // A link is removed without entering it: its target lies outside the run folder.
    if (!IsLinkedFolder(entry)) DeleteDirectoryContents(path + L"\\");
    RemoveDirectoryW(path.c_str());
}

void DeleteDirectoryContents(const std::wstring& folder)
{
    WIN32_FIND_DATAW entry;
    HANDLE find = FindFirstFileW((folder + L"*.*").c_str(), &entry);
    if (find == INVALID_HANDLE_VALUE) return;
    do {
        DeleteEntry(folder, entry);
    } while (FindNextFileW(find, &entry));
    FindClose(find);
}

} // namespace

void DeleteDirectoryTree(const std::wstring& folder)
{
    DeleteDirectoryContents(folder);
    RemoveDirectoryW(folder.c_str());
}

void DeleteDirectoryTree(const std::wstring& folder, const std::function<bool()>& stillSafe,
                         const std::function<void()>& releaseFolder)
{
    WIN32_FIND_DATAW entry;
    HANDLE find = FindFirstFileW((folder + L"*.*").c_str(), &entry);
    if (find != INVALID_HANDLE_VALUE) {
        bool safe = true;
        do {
            safe = stillSafe();
            if (safe) DeleteEntry(folder, entry);
        } while (safe && FindNextFileW(find, &entry));
        FindClose(find);
        if (!safe) return;
    }
    releaseFolder();
    if (stillSafe()) RemoveDirectoryW(folder.c_str());
}
