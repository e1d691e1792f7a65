#pragma once
#include <windows.h>

namespace UpdUI {

// The byte source under the unzip code: an open disk file or a block of memory. It
// hands minizip a table of callbacks that read, seek and tell on this object.
class ZipStream
{
public:
    // Takes ownership of hFile; the stream starts at the file's current position.
    static ZipStream* FromFile(HANDLE hFile);
    // The block is not copied: it must outlive the stream.
    static ZipStream* FromMemory(const void* pData, unsigned int nLength);
    ~ZipStream();
    ZipStream(const ZipStream&) = delete;
    ZipStream& operator=(const ZipStream&) = delete;

    unsigned long Read(void* pBuffer, unsigned long nSize);
    long Seek(unsigned long nOffset, int iOrigin);
    long Tell() const;
    bool HasError() const;

    // Fills a minizip zlib_filefunc_def whose "file name" is this stream.
    void FillFunctions(void* pFileFuncDef);

private:
    ZipStream();
    unsigned long ReadFile(void* pBuffer, unsigned long nSize);
    unsigned long ReadMemory(void* pBuffer, unsigned long nSize);
    long SeekFile(unsigned long nOffset, int iOrigin);
    long SeekMemory(unsigned long nOffset, int iOrigin);

    HANDLE m_hFile;        // null for a memory stream
    bool m_bSeekable;      // the handle is a disk file
    DWORD m_dwStartOffset; // file position when the stream was made
    bool m_bError;
    const BYTE* m_pData;
    unsigned int m_nLength;
    unsigned int m_nPosition;
};

} // namespace UpdUI
