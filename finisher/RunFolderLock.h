// Keeps hold of the run folder that the finisher verified, so that what it
// deletes is that folder itself: not a link, junction or another folder put
// in its place while the finisher waited for the updater to end.
#pragma once

#include <windows.h>

#include <string>

class CRunFolderLock
{
public:
    CRunFolderLock() = default;
    ~CRunFolderLock();
    CRunFolderLock(const CRunFolderLock&) = delete;
    CRunFolderLock& operator=(const CRunFolderLock&) = delete;

    // Opens the verified folder (full path, trailing backslash) and notes which
    // folder it is. The open handle does not share deletion, so the folder
    // cannot be renamed or removed from under the finisher. False for a link or
    // a folder that cannot be opened.
    bool Acquire(const std::wstring& folder);

    // True while the path still names the noted folder as a real folder (not a
    // link). Asked right before each delete.
    bool StillTheSame() const;

    // Lets go of the folder so that it can itself be removed.
    void Release();

private:
    struct Identity
    {
        DWORD volume = 0;
        DWORD indexHigh = 0;
        DWORD indexLow = 0;
    };
    static HANDLE OpenFolder(const std::wstring& folder, DWORD share);
    static bool ReadIdentity(HANDLE folder, Identity& identity);

    std::wstring m_folder;
    HANDLE m_handle = INVALID_HANDLE_VALUE;
    Identity m_identity;
};
