#include "RunFolderLock.h"

CRunFolderLock::~CRunFolderLock()
{
    Release();
}

namespace {

// Both views of the entry: some file systems show a link only in the folder
// listing, others only in its attributes.
bool IsLinkEntry(const std::wstring& folder)
{
    std::wstring path = folder;
    while (!path.empty() && path.back() == L'\\') path.pop_back();
    DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_REPARSE_POINT)) return true;
    WIN32_FIND_DATAW entry;
    HANDLE find = FindFirstFileW(path.c_str(), &entry);
    if (find == INVALID_HANDLE_VALUE) return true;
    FindClose(find);
    return (entry.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
}

} // namespace

HANDLE CRunFolderLock::OpenFolder(const std::wstring& folder, DWORD share)
{
    // The link itself is opened, never what it points to.
    return CreateFileW(folder.c_str(), FILE_READ_ATTRIBUTES, share, nullptr, OPEN_EXISTING,
                       FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
}

bool CRunFolderLock::ReadIdentity(HANDLE folder, Identity& identity)
{
    BY_HANDLE_FILE_INFORMATION info = {};
    if (!GetFileInformationByHandle(folder, &info)) return false;
    if (!(info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) || (info.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT))
        return false;
    identity.volume = info.dwVolumeSerialNumber;
    identity.indexHigh = info.nFileIndexHigh;
    identity.indexLow = info.nFileIndexLow;
    return true;
}

bool CRunFolderLock::Acquire(const std::wstring& folder)
{
    Release();
    if (IsLinkEntry(folder)) return false;
    HANDLE handle = OpenFolder(folder, FILE_SHARE_READ | FILE_SHARE_WRITE);
    if (handle == INVALID_HANDLE_VALUE) return false;
    Identity identity;
    if (!ReadIdentity(handle, identity)) {
        CloseHandle(handle);
        return false;
    }
    m_folder = folder;
    m_handle = handle;
    m_identity = identity;
    return true;
}

bool CRunFolderLock::StillTheSame() const
{
    // The same folder object under the same path: its place under TEMP is the
    // one verified, and no link or other folder has taken it.
    if (m_folder.empty() || IsLinkEntry(m_folder)) return false;
    HANDLE handle = OpenFolder(m_folder, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE);
    if (handle == INVALID_HANDLE_VALUE) return false;
    Identity now;
    bool same = ReadIdentity(handle, now) && now.volume == m_identity.volume && now.indexHigh == m_identity.indexHigh &&
        now.indexLow == m_identity.indexLow;
    CloseHandle(handle);
    return same;
}

void CRunFolderLock::Release()
{
    if (m_handle != INVALID_HANDLE_VALUE) CloseHandle(m_handle);
    m_handle = INVALID_HANDLE_VALUE;
}
