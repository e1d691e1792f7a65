#pragma once
#include <windows.h>

namespace UpdUI {

class ZipStream;

// Result codes of the zip reader; 0 is success, and ZR_MORE (the destination buffer was
// filled from the item) counts as success for memory extraction.
enum ZipResult : DWORD {
    ZR_OK = 0x00000000,
    ZR_NODUPH = 0x00000100,    // the file handle could not be duplicated
    ZR_NOFILE = 0x00000200,    // a file could not be opened or created
    ZR_WRITE = 0x00000400,     // writing an extracted file, or reading the item, failed
    ZR_NOTFOUND = 0x00000500,  // no item of that name
    ZR_MORE = 0x00000600,      // the buffer took what it could hold; call again for the rest
    ZR_CORRUPT = 0x00000700,   // the item's local header could not be read
    ZR_READ = 0x00000800,      // seeking to or reading the item's extra data failed
    ZR_ARGS = 0x00010000,      // null handle, unknown source kind, index out of range
    ZR_ZMODE = 0x00080000,     // the handle is not a zip reader
    ZR_NOTINITED = 0x01000000, // the reader is already open
    ZR_SEEK = 0x02000000,      // a handle source is not a disk file
    ZR_FLATE = 0x05000000,     // inflating the item failed
};

// What ZipOpen reads from and what ZipUnzipItem writes to.
enum ZipSourceKind : DWORD {
    ZIP_HANDLE = 1,   // a Win32 file handle
    ZIP_FILENAME = 2, // a file name (UTF-16)
    ZIP_MEMORY = 3,   // a memory block of the given length
};

struct ZipEntry
{
    int index;
    WCHAR name[MAX_PATH];
    DWORD attr; // FILE_ATTRIBUTE_* bits
    FILETIME atime, ctime, mtime;
    long comp_size;
    long unc_size;
};

// One open archive. Callers only pass it to the Zip* functions below.
class ZipArchive
{
public:
    enum { TAG_ZIP_READER = 1 };

    ZipArchive();
    ~ZipArchive();
    ZipArchive(const ZipArchive&) = delete;
    ZipArchive& operator=(const ZipArchive&) = delete;

    DWORD Open(void* pSource, unsigned int nLength, DWORD dwKind);
    DWORD FindItem(LPCWSTR pstrName, bool bIgnoreCase, int* pIndex, ZipEntry* pEntry);
    DWORD GetItem(int iIndex, ZipEntry* pEntry);
    DWORD UnzipItem(int iIndex, void* pDest, unsigned int nLength, DWORD dwKind);
    void Close();

    DWORD GetTag() const;
    int GetItemCount() const;

private:
    DWORD OpenStream(void* pSource, unsigned int nLength, DWORD dwKind);
    bool MoveTo(int iIndex);
    void CloseOpenItem();
    DWORD FinishOpenItem(bool bAtEnd);
    DWORD ReadEntry(int iIndex, ZipEntry* pEntry);
    DWORD ApplyLocalExtra(ZipEntry* pEntry);
    DWORD UnzipToMemory(int iIndex, void* pDest, unsigned int nLength);
    DWORD UnzipToFile(int iIndex, void* pDest, DWORD dwKind);
    DWORD MakeFolder(LPCWSTR pstrRelative);
    DWORD CreateDestination(LPCWSTR pstrName, DWORD dwAttributes, HANDLE* phFile);
    DWORD InflateInto(HANDLE hFile);

    DWORD m_dwTag;
    void* m_hUnzip; // minizip's unzFile
    ZipStream* m_pStream;
    int m_nItems;
    int m_iCurrent;     // item the unzip handle points at, -1 = unknown
    int m_iOpenItem;    // item open for piecewise reading, -1 = none
    int m_iCachedEntry; // index of m_cachedEntry, -1 = none
    ZipEntry m_cachedEntry;
    WCHAR m_szBaseFolder[MAX_PATH];
};

ZipArchive* ZipOpen(void* pSource, unsigned int nLength, DWORD dwKind);
DWORD ZipFindItem(ZipArchive* hZip, LPCWSTR pstrName, bool bIgnoreCase, int* pIndex, ZipEntry* pEntry);
DWORD ZipGetItem(ZipArchive* hZip, int iIndex, ZipEntry* pEntry);
DWORD ZipUnzipItem(ZipArchive* hZip, int iIndex, void* pDest, unsigned int nLength, DWORD dwKind);
DWORD ZipClose(ZipArchive* hZip);
// The code of the last failed or successful call into the reader.
DWORD ZipGetLastResult();
// Memory extraction that filled the buffer (ZR_MORE) is as good as ZR_OK to callers.
inline bool ZipSucceeded(DWORD dwResult)
{
    return dwResult == ZR_OK || dwResult == ZR_MORE;
}

} // namespace UpdUI
