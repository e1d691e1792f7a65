#include "ZipArchive.h"

#include <string.h>
#include <wchar.h>

#include <string>

#include <unzip.h>

#include "ZipStream.h"

namespace UpdUI {

namespace {

DWORD g_dwLastResult = ZR_OK;

const unsigned int kInflateChunk = 16 * 1024;

DWORD Remember(DWORD dwResult)
{
    g_dwLastResult = dwResult;
    return dwResult;
}

unzFile AsUnzip(void* hUnzip)
{
    return static_cast<unzFile>(hUnzip);
}

// General purpose flag bit 11: the entry's name is UTF-8.
const uLong kZipFlagUtf8Name = 0x800;

// Zip item names are in the ANSI code page unless the entry says UTF-8.
void EntryNameToWide(const char* pstrName, uLong flag, LPWSTR pstrWide, int cchWide)
{
    wmemset(pstrWide, 0, cchWide);
    UINT codePage = (flag & kZipFlagUtf8Name) != 0 ? CP_UTF8 : CP_ACP;
    MultiByteToWideChar(codePage, 0, pstrName, -1, pstrWide, cchWide - 1);
}

// Archivers write either separator; a lookup must find the entry with both.
void UseForwardSlashes(LPWSTR pstrName)
{
    for (; *pstrName != L'\0'; ++pstrName) {
        if (*pstrName == L'\\') *pstrName = L'/';
    }
}

FILETIME DosToFileTime(uLong dosDate)
{
    FILETIME ftLocal = {}, ft = {};
    DosDateTimeToFileTime((WORD)(dosDate >> 16), (WORD)(dosDate & 0xFFFF), &ftLocal);
    LocalFileTimeToFileTime(&ftLocal, &ft);
    return ft;
}

FILETIME UnixToFileTime(DWORD dwUnix)
{
    // 100-ns intervals between 1601-01-01 and 1970-01-01, both UTC.
    ULONGLONG ull = (ULONGLONG)dwUnix * 10000000ULL + 116444736000000000ULL;
    FILETIME ft;
    ft.dwLowDateTime = (DWORD)ull;
    ft.dwHighDateTime = (DWORD)(ull >> 32);
    return ft;
}

DWORD AttributesOf(uLong externalAttributes)
{
    DWORD dwAttr = FILE_ATTRIBUTE_NORMAL;
    if ((externalAttributes & 0x40000000) != 0 || (externalAttributes & 0x10) != 0)
        dwAttr = FILE_ATTRIBUTE_NORMAL | FILE_ATTRIBUTE_DIRECTORY;
    if ((externalAttributes & 0x20) != 0) dwAttr |= FILE_ATTRIBUTE_ARCHIVE;
    if ((externalAttributes & 0x02) != 0) dwAttr |= FILE_ATTRIBUTE_HIDDEN;
    if ((externalAttributes & 0x04) != 0) dwAttr |= FILE_ATTRIBUTE_SYSTEM;
    if ((externalAttributes & 0x01) != 0 || (externalAttributes & 0x00800000) == 0) dwAttr |= FILE_ATTRIBUTE_READONLY;
    return dwAttr;
}

bool IsAbsolutePath(LPCWSTR pstrPath)
{
    return pstrPath[0] == L'/' || pstrPath[0] == L'\\' || (pstrPath[0] != L'\0' && pstrPath[1] == L':');
}

// A ".." component anywhere would let a name climb out of the extraction folder.
bool HasParentStep(LPCWSTR pstrPath)
{
    for (LPCWSTR p = pstrPath; *p != L'\0'; p++) {
        bool bAtStart = p == pstrPath || p[-1] == L'/' || p[-1] == L'\\';
        if (bAtStart && p[0] == L'.' && p[1] == L'.' && (p[2] == L'\0' || p[2] == L'/' || p[2] == L'\\')) return true;
    }
    return false;
}

void NormaliseSeparators(LPWSTR pstrPath)
{
    for (LPWSTR p = pstrPath; *p != L'\0'; p++) {
        if (*p == L'/') *p = L'\\';
    }
}

// Creates every folder of a full path ending in a folder name.
void CreateFolderChain(LPWSTR pstrFull)
{
    NormaliseSeparators(pstrFull);
    for (LPWSTR p = pstrFull; *p != L'\0'; p++) {
        if (*p != L'\\' || p == pstrFull || p[-1] == L':') continue;
        *p = L'\0';
        CreateDirectoryW(pstrFull, nullptr);
        *p = L'\\';
    }
    CreateDirectoryW(pstrFull, nullptr);
}

} // namespace

ZipArchive::ZipArchive()
    : m_dwTag(TAG_ZIP_READER), m_hUnzip(nullptr), m_pStream(nullptr), m_nItems(0), m_iCurrent(-1), m_iOpenItem(-1),
      m_iCachedEntry(-1), m_cachedEntry()
{
    m_szBaseFolder[0] = L'\0';
}

ZipArchive::~ZipArchive()
{
    Close();
}

DWORD ZipArchive::GetTag() const
{
    return m_dwTag;
}

int ZipArchive::GetItemCount() const
{
    return m_nItems;
}

DWORD ZipArchive::Open(void* pSource, unsigned int nLength, DWORD dwKind)
{
    if (m_hUnzip != nullptr) return ZR_NOTINITED;
    DWORD dwResult = OpenStream(pSource, nLength, dwKind);
    if (dwResult != ZR_OK) return dwResult;
    DWORD cch = GetCurrentDirectoryW(MAX_PATH - 1, m_szBaseFolder);
    if (cch == 0 || cch >= MAX_PATH - 1)
        m_szBaseFolder[0] = L'\0';
    else if (m_szBaseFolder[cch - 1] != L'\\')
        wcscat(m_szBaseFolder, L"\\");

    zlib_filefunc_def functions;
    m_pStream->FillFunctions(&functions);
    m_hUnzip = unzOpen2(reinterpret_cast<const char*>(m_pStream), &functions);
    unz_global_info info = {};
    if (m_hUnzip == nullptr || unzGetGlobalInfo(AsUnzip(m_hUnzip), &info) != UNZ_OK) {
        Close();
        return ZR_CORRUPT;
    }
    m_nItems = (int)info.number_entry;
    return ZR_OK;
}

DWORD ZipArchive::OpenStream(void* pSource, unsigned int nLength, DWORD dwKind)
{
    if (dwKind == ZIP_MEMORY) {
        if (pSource == nullptr) return ZR_ARGS;
        m_pStream = ZipStream::FromMemory(pSource, nLength);
        return ZR_OK;
    }
    HANDLE hFile = nullptr;
    if (dwKind == ZIP_HANDLE) {
        if (!DuplicateHandle(GetCurrentProcess(), (HANDLE)pSource, GetCurrentProcess(), &hFile, 0, FALSE,
                             DUPLICATE_SAME_ACCESS))
            return ZR_NODUPH;
        if (GetFileType(hFile) != FILE_TYPE_DISK) {
            CloseHandle(hFile);
            return ZR_SEEK;
        }
    } else if (dwKind == ZIP_FILENAME) {
        if (pSource == nullptr) return ZR_ARGS;
        hFile = CreateFileW((LPCWSTR)pSource, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
        if (hFile == INVALID_HANDLE_VALUE) return ZR_NOFILE;
    } else {
        return ZR_ARGS;
    }
    m_pStream = ZipStream::FromFile(hFile);
    return ZR_OK;
}

void ZipArchive::Close()
{
    CloseOpenItem();
    if (m_hUnzip != nullptr) unzClose(AsUnzip(m_hUnzip));
    m_hUnzip = nullptr;
    delete m_pStream;
    m_pStream = nullptr;
    m_nItems = 0;
    m_iCurrent = -1;
    m_iCachedEntry = -1;
}

void ZipArchive::CloseOpenItem()
{
    if (m_iOpenItem >= 0 && m_hUnzip != nullptr) unzCloseCurrentFile(AsUnzip(m_hUnzip));
    m_iOpenItem = -1;
}

// Points the unzip handle at an item: from the first one when the item lies behind the
// current one, then forward item by item.
bool ZipArchive::MoveTo(int iIndex)
{
    if (m_iCurrent < 0 || iIndex < m_iCurrent) {
        if (unzGoToFirstFile(AsUnzip(m_hUnzip)) != UNZ_OK) {
            m_iCurrent = -1;
            return false;
        }
        m_iCurrent = 0;
    }
    while (m_iCurrent < iIndex) {
        if (unzGoToNextFile(AsUnzip(m_hUnzip)) != UNZ_OK) {
            m_iCurrent = -1;
            return false;
        }
        m_iCurrent++;
    }
    return true;
}

DWORD ZipArchive::FindItem(LPCWSTR pstrName, bool bIgnoreCase, int* pIndex, ZipEntry* pEntry)
{
    if (pIndex != nullptr) *pIndex = -1;
    if (pEntry != nullptr) {
        memset(pEntry, 0, sizeof(*pEntry));
        pEntry->index = -1;
    }
    if (pstrName == nullptr) return ZR_ARGS;
    std::wstring wanted(pstrName);
    UseForwardSlashes(&wanted[0]);
    CloseOpenItem();
    for (int i = 0; i < m_nItems; i++) {
        if (!MoveTo(i)) return ZR_CORRUPT;
        char szAnsi[MAX_PATH] = {};
        unz_file_info info = {};
        if (unzGetCurrentFileInfo(AsUnzip(m_hUnzip), &info, szAnsi, sizeof(szAnsi) - 1, nullptr, 0, nullptr, 0) !=
            UNZ_OK)
            return ZR_CORRUPT;
        WCHAR szName[MAX_PATH];
        EntryNameToWide(szAnsi, info.flag, szName, MAX_PATH);
        UseForwardSlashes(szName);
        if (CompareStringOrdinal(szName, -1, wanted.c_str(), -1, bIgnoreCase ? TRUE : FALSE) != CSTR_EQUAL) continue;
        if (pIndex != nullptr) *pIndex = i;
        if (pEntry == nullptr) return ZR_OK;
        return GetItem(i, pEntry);
    }
    return ZR_NOTFOUND;
}

DWORD ZipArchive::GetItem(int iIndex, ZipEntry* pEntry)
{
    if (pEntry == nullptr || iIndex < -1 || iIndex >= m_nItems) return ZR_ARGS;
    if (iIndex == -1) {
        memset(pEntry, 0, sizeof(*pEntry));
        pEntry->index = m_nItems;
        return ZR_OK;
    }
    if (iIndex == m_iCachedEntry) {
        *pEntry = m_cachedEntry;
        return ZR_OK;
    }
    CloseOpenItem();
    DWORD dwResult = ReadEntry(iIndex, pEntry);
    if (dwResult != ZR_OK) return dwResult;
    m_cachedEntry = *pEntry;
    m_iCachedEntry = iIndex;
    return ZR_OK;
}

DWORD ZipArchive::ReadEntry(int iIndex, ZipEntry* pEntry)
{
    if (!MoveTo(iIndex)) return ZR_CORRUPT;
    char szAnsi[MAX_PATH] = {};
    unz_file_info info = {};
    if (unzGetCurrentFileInfo(AsUnzip(m_hUnzip), &info, szAnsi, sizeof(szAnsi) - 1, nullptr, 0, nullptr, 0) != UNZ_OK)
        return ZR_CORRUPT;
    memset(pEntry, 0, sizeof(*pEntry));
    pEntry->index = iIndex;
    EntryNameToWide(szAnsi, info.flag, pEntry->name, MAX_PATH);
    pEntry->attr = AttributesOf(info.external_fa);
    pEntry->mtime = DosToFileTime(info.dosDate);
    pEntry->atime = pEntry->mtime;
    pEntry->ctime = pEntry->mtime;
    pEntry->comp_size = (long)info.compressed_size;
    pEntry->unc_size = (long)info.uncompressed_size;
    return ApplyLocalExtra(pEntry);
}

// The local header's "UT" block carries Unix times, which win over the MS-DOS time.
DWORD ZipArchive::ApplyLocalExtra(ZipEntry* pEntry)
{
    if (unzOpenCurrentFile(AsUnzip(m_hUnzip)) != UNZ_OK) return ZR_CORRUPT;
    BYTE extra[1024];
    int nExtra = unzGetLocalExtrafield(AsUnzip(m_hUnzip), extra, sizeof(extra));
    unzCloseCurrentFile(AsUnzip(m_hUnzip));
    if (nExtra < 0) return ZR_READ;
    int iPos = 0;
    while (iPos + 4 <= nExtra) {
        int nSize = extra[iPos + 2] | (extra[iPos + 3] << 8);
        const BYTE* pData = extra + iPos + 4;
        if (iPos + 4 + nSize > nExtra) break;
        if (extra[iPos] == 'U' && extra[iPos + 1] == 'T' && nSize >= 1) {
            BYTE flags = pData[0];
            int iField = 1;
            FILETIME* apTimes[3] = { &pEntry->mtime, &pEntry->atime, &pEntry->ctime };
            for (int bit = 0; bit < 3; bit++) {
                if ((flags & (1 << bit)) == 0 || iField + 4 > nSize) continue;
                DWORD dwUnix = pData[iField] | (pData[iField + 1] << 8) | (pData[iField + 2] << 16) |
                    ((DWORD)pData[iField + 3] << 24);
                *apTimes[bit] = UnixToFileTime(dwUnix);
                iField += 4;
            }
        }
        iPos += 4 + nSize;
    }
    return ZR_OK;
}

DWORD ZipArchive::UnzipItem(int iIndex, void* pDest, unsigned int nLength, DWORD dwKind)
{
    if (dwKind == ZIP_MEMORY) return UnzipToMemory(iIndex, pDest, nLength);
    if (dwKind == ZIP_HANDLE || dwKind == ZIP_FILENAME) return UnzipToFile(iIndex, pDest, dwKind);
    return ZR_ARGS;
}

// Fills the buffer from the item; while bytes keep coming the item stays open, so the
// next call with the same index carries on where this one stopped. An item whose data
// ends before its recorded size, or whose checksum does not match, is damaged: no call
// that reaches its end reports success.
DWORD ZipArchive::UnzipToMemory(int iIndex, void* pDest, unsigned int nLength)
{
    if (iIndex != m_iOpenItem) CloseOpenItem();
    if (iIndex < 0 || iIndex >= m_nItems || (pDest == nullptr && nLength > 0)) return ZR_ARGS;
    if (m_iOpenItem < 0) {
        if (!MoveTo(iIndex) || unzOpenCurrentFile(AsUnzip(m_hUnzip)) != UNZ_OK) return ZR_CORRUPT;
        m_iOpenItem = iIndex;
    }
    int nRead = unzReadCurrentFile(AsUnzip(m_hUnzip), pDest, nLength);
    bool bAtEnd = nRead >= 0 && unzeof(AsUnzip(m_hUnzip)) == 1;
    if (nRead > 0 && ((unsigned int)nRead == nLength || bAtEnd)) return ZR_MORE;
    if (nLength == 0 && nRead == 0) {
        CloseOpenItem();
        return ZR_OK;
    }
    return FinishOpenItem(bAtEnd);
}

// Closes the item the reader has open; minizip compares the checksum on closing an item
// read to its end.
DWORD ZipArchive::FinishOpenItem(bool bAtEnd)
{
    int nClosed = unzCloseCurrentFile(AsUnzip(m_hUnzip));
    m_iOpenItem = -1;
    return bAtEnd && nClosed == UNZ_OK ? ZR_OK : ZR_FLATE;
}

DWORD ZipArchive::UnzipToFile(int iIndex, void* pDest, DWORD dwKind)
{
    CloseOpenItem();
    if (iIndex < 0 || iIndex >= m_nItems || pDest == nullptr) return ZR_ARGS;
    ZipEntry entry;
    DWORD dwResult = GetItem(iIndex, &entry);
    if (dwResult != ZR_OK) return dwResult;
    if ((entry.attr & FILE_ATTRIBUTE_DIRECTORY) != 0)
        return dwKind == ZIP_FILENAME ? MakeFolder((LPCWSTR)pDest) : ZR_OK;

    HANDLE hFile = (HANDLE)pDest;
    if (dwKind == ZIP_FILENAME) {
        dwResult = CreateDestination((LPCWSTR)pDest, entry.attr, &hFile);
        if (dwResult != ZR_OK) return dwResult;
    }
    if (!MoveTo(iIndex) || unzOpenCurrentFile(AsUnzip(m_hUnzip)) != UNZ_OK) {
        dwResult = ZR_CORRUPT;
    } else {
        dwResult = InflateInto(hFile);
        // A short item or a checksum that does not match leaves a damaged file.
        bool bAtEnd = unzeof(AsUnzip(m_hUnzip)) == 1;
        bool bClosed = unzCloseCurrentFile(AsUnzip(m_hUnzip)) == UNZ_OK;
        if (dwResult == ZR_OK && (!bAtEnd || !bClosed)) dwResult = ZR_FLATE;
    }
    if (dwResult == ZR_OK && GetFileType(hFile) == FILE_TYPE_DISK)
        SetFileTime(hFile, &entry.ctime, &entry.atime, &entry.mtime);
    if (dwKind == ZIP_FILENAME) CloseHandle(hFile);
    return dwResult;
}

DWORD ZipArchive::InflateInto(HANDLE hFile)
{
    BYTE buffer[kInflateChunk];
    for (;;) {
        int nRead = unzReadCurrentFile(AsUnzip(m_hUnzip), buffer, sizeof(buffer));
        if (nRead == 0) return ZR_OK;
        if (nRead < 0) return ZR_WRITE;
        DWORD dwWritten = 0;
        if (!WriteFile(hFile, buffer, (DWORD)nRead, &dwWritten, nullptr) || dwWritten != (DWORD)nRead) return ZR_WRITE;
    }
}

// Names with a ".." step are refused: extraction stays inside the folder it was given.
DWORD ZipArchive::MakeFolder(LPCWSTR pstrName)
{
    if (HasParentStep(pstrName)) return ZR_ARGS;
    WCHAR szFull[MAX_PATH * 2];
    if (IsAbsolutePath(pstrName))
        wcsncpy(szFull, pstrName, MAX_PATH * 2 - 1);
    else
        _snwprintf(szFull, MAX_PATH * 2 - 1, L"%ls%ls", m_szBaseFolder, pstrName);
    szFull[MAX_PATH * 2 - 1] = L'\0';
    size_t n = wcslen(szFull);
    while (n > 0 && (szFull[n - 1] == L'\\' || szFull[n - 1] == L'/')) szFull[--n] = L'\0';
    if (n > 0) CreateFolderChain(szFull);
    return ZR_OK;
}

DWORD ZipArchive::CreateDestination(LPCWSTR pstrName, DWORD dwAttributes, HANDLE* phFile)
{
    if (HasParentStep(pstrName)) return ZR_ARGS;
    WCHAR szFull[MAX_PATH * 2];
    if (IsAbsolutePath(pstrName))
        wcsncpy(szFull, pstrName, MAX_PATH * 2 - 1);
    else
        _snwprintf(szFull, MAX_PATH * 2 - 1, L"%ls%ls", m_szBaseFolder, pstrName);
    szFull[MAX_PATH * 2 - 1] = L'\0';
    NormaliseSeparators(szFull);
    LPWSTR pstrSlash = wcsrchr(szFull, L'\\');
    if (pstrSlash != nullptr && !IsAbsolutePath(pstrName) && pstrSlash > szFull) {
        *pstrSlash = L'\0';
        CreateFolderChain(szFull);
        *pstrSlash = L'\\';
    }
    // The created file takes the item's attributes, but a directory bit would refuse it.
    DWORD dwFlags = dwAttributes & ~FILE_ATTRIBUTE_DIRECTORY;
    *phFile = CreateFileW(szFull, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, dwFlags, nullptr);
    if (*phFile == INVALID_HANDLE_VALUE) return ZR_NOFILE;
    return ZR_OK;
}

// ---------------------------------------------------------------------------------------
// The handle-based interface

ZipArchive* ZipOpen(void* pSource, unsigned int nLength, DWORD dwKind)
{
    ZipArchive* pArchive = new ZipArchive;
    DWORD dwResult = pArchive->Open(pSource, nLength, dwKind);
    Remember(dwResult);
    if (dwResult != ZR_OK) {
        delete pArchive;
        return nullptr;
    }
    return pArchive;
}

DWORD ZipFindItem(ZipArchive* hZip, LPCWSTR pstrName, bool bIgnoreCase, int* pIndex, ZipEntry* pEntry)
{
    if (hZip == nullptr) return Remember(ZR_ARGS);
    if (hZip->GetTag() != ZipArchive::TAG_ZIP_READER) return Remember(ZR_ZMODE);
    return Remember(hZip->FindItem(pstrName, bIgnoreCase, pIndex, pEntry));
}

DWORD ZipGetItem(ZipArchive* hZip, int iIndex, ZipEntry* pEntry)
{
    if (hZip == nullptr) return Remember(ZR_ARGS);
    if (hZip->GetTag() != ZipArchive::TAG_ZIP_READER) return Remember(ZR_ZMODE);
    return Remember(hZip->GetItem(iIndex, pEntry));
}

DWORD ZipUnzipItem(ZipArchive* hZip, int iIndex, void* pDest, unsigned int nLength, DWORD dwKind)
{
    if (hZip == nullptr) return Remember(ZR_ARGS);
    if (hZip->GetTag() != ZipArchive::TAG_ZIP_READER) return Remember(ZR_ZMODE);
    return Remember(hZip->UnzipItem(iIndex, pDest, nLength, dwKind));
}

DWORD ZipClose(ZipArchive* hZip)
{
    if (hZip == nullptr) return Remember(ZR_ARGS);
    if (hZip->GetTag() != ZipArchive::TAG_ZIP_READER) return Remember(ZR_ZMODE);
    delete hZip;
    return Remember(ZR_OK);
}

DWORD ZipGetLastResult()
{
    return g_dwLastResult;
}

} // namespace UpdUI
