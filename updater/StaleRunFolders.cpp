#include "StaleRunFolders.h"

#include "AppDirectory.h"
#include "DirectoryTree.h"
#include "RunFolderGuard.h"
#include "RunFolderLock.h"
#include "SelfRelocation.h"

#include <windows.h>

namespace {

void RemoveRunFolder(const std::wstring& candidate)
{
    std::wstring folder = VerifiedRunFolder(candidate);
    if (folder.empty()) return;
    CRunFolderLock lock;
    if (!lock.Acquire(folder)) return;
    DeleteDirectoryTree(
        folder, [&lock]() { return lock.StillTheSame(); }, [&lock]() { lock.Release(); });
}

} // namespace

void RemoveStaleRunFolders(const std::wstring& tempDirectory, const std::wstring& programFolder,
                           const std::wstring& keepFolder)
{
    const std::wstring temp = WithTrailingSlash(tempDirectory);
    WIN32_FIND_DATAW entry;
    HANDLE find = FindFirstFileW((temp + L"*").c_str(), &entry);
    if (find == INVALID_HANDLE_VALUE) return;
    do {
        std::wstring name = entry.cFileName;
        // Our run folders have names of 8 characters and are never links.
        if (!(entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) ||
            (entry.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) || name.size() != 8)
            continue;
        std::wstring folder = temp + name + L"\\";
        if (_wcsicmp(folder.c_str(), WithTrailingSlash(keepFolder).c_str()) == 0) continue;
        if (_wcsicmp(ReadRunConfig(folder).c_str(), WithTrailingSlash(programFolder).c_str()) != 0) continue;
        RemoveRunFolder(folder);
    } while (FindNextFileW(find, &entry));
    FindClose(find);
}
