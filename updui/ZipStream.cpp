#include "ZipStream.h"

#include <ioapi.h>

namespace UpdUI {

namespace {

// Seek results the unzip code sees as failures.
const long kSeekNotSeekable = 29;
const long kSeekBadOrigin = 19;
const long kSeekOutOfRange = -1;

voidpf ZCALLBACK OpenCallback(voidpf, const char* pstrName, int)
{
    // The "file name" handed to unzOpen2 is the stream itself.
    return (voidpf)pstrName;
}

uLong ZCALLBACK ReadCallback(voidpf, voidpf pStream, void* pBuffer, uLong nSize)
{
    return static_cast<ZipStream*>(pStream)->Read(pBuffer, nSize);
}

uLong ZCALLBACK WriteCallback(voidpf, voidpf, const void*, uLong)
{
    return 0;
}

long ZCALLBACK TellCallback(voidpf, voidpf pStream)
{
    return static_cast<ZipStream*>(pStream)->Tell();
}

long ZCALLBACK SeekCallback(voidpf, voidpf pStream, uLong nOffset, int iOrigin)
{
    return static_cast<ZipStream*>(pStream)->Seek(nOffset, iOrigin);
}

int ZCALLBACK CloseCallback(voidpf, voidpf)
{
    // The archive owns the stream and frees it after unzClose.
    return 0;
}

int ZCALLBACK ErrorCallback(voidpf, voidpf pStream)
{
    return static_cast<ZipStream*>(pStream)->HasError() ? 1 : 0;
}

} // namespace

ZipStream::ZipStream()
    : m_hFile(nullptr), m_bSeekable(false), m_dwStartOffset(0), m_bError(false), m_pData(nullptr), m_nLength(0),
      m_nPosition(0)
{ }

ZipStream::~ZipStream()
{
    if (m_hFile != nullptr) CloseHandle(m_hFile);
}

ZipStream* ZipStream::FromFile(HANDLE hFile)
{
    ZipStream* pStream = new ZipStream;
    pStream->m_hFile = hFile;
    pStream->m_bSeekable = GetFileType(hFile) == FILE_TYPE_DISK;
    if (pStream->m_bSeekable) pStream->m_dwStartOffset = SetFilePointer(hFile, 0, nullptr, FILE_CURRENT);
    return pStream;
}

ZipStream* ZipStream::FromMemory(const void* pData, unsigned int nLength)
{
    ZipStream* pStream = new ZipStream;
    pStream->m_pData = static_cast<const BYTE*>(pData);
    pStream->m_nLength = pData != nullptr ? nLength : 0;
    return pStream;
}

unsigned long ZipStream::Read(void* pBuffer, unsigned long nSize)
{
    return m_hFile != nullptr ? ReadFile(pBuffer, nSize) : ReadMemory(pBuffer, nSize);
}

long ZipStream::Seek(unsigned long nOffset, int iOrigin)
{
    return m_hFile != nullptr ? SeekFile(nOffset, iOrigin) : SeekMemory(nOffset, iOrigin);
}

long ZipStream::Tell() const
{
    if (m_hFile == nullptr) return (long)m_nPosition;
    if (!m_bSeekable) return -1;
    return (long)(SetFilePointer(m_hFile, 0, nullptr, FILE_CURRENT) - m_dwStartOffset);
}

bool ZipStream::HasError() const
{
    return m_bError;
}

unsigned long ZipStream::ReadFile(void* pBuffer, unsigned long nSize)
{
    DWORD dwRead = 0;
    if (!::ReadFile(m_hFile, pBuffer, nSize, &dwRead, nullptr)) {
        m_bError = true;
        return 0;
    }
    return dwRead;
}

// Copies no further than the end of the block, wherever the position was set.
unsigned long ZipStream::ReadMemory(void* pBuffer, unsigned long nSize)
{
    if (m_nPosition >= m_nLength) return 0;
    unsigned long nLeft = m_nLength - m_nPosition;
    if (nSize > nLeft) nSize = nLeft;
    memcpy(pBuffer, m_pData + m_nPosition, nSize);
    m_nPosition += nSize;
    return nSize;
}

long ZipStream::SeekFile(unsigned long nOffset, int iOrigin)
{
    if (!m_bSeekable) return kSeekNotSeekable;
    DWORD dwMethod = FILE_BEGIN;
    LONG lOffset = (LONG)nOffset;
    switch (iOrigin) {
    case ZLIB_FILEFUNC_SEEK_SET: lOffset = (LONG)(nOffset + m_dwStartOffset); break;
    case ZLIB_FILEFUNC_SEEK_CUR: dwMethod = FILE_CURRENT; break;
    case ZLIB_FILEFUNC_SEEK_END: dwMethod = FILE_END; break;
    default: return kSeekBadOrigin;
    }
    SetFilePointer(m_hFile, lOffset, nullptr, dwMethod);
    return 0;
}

// A position outside the block is refused, so a damaged directory cannot point the
// reader past the memory it was given.
long ZipStream::SeekMemory(unsigned long nOffset, int iOrigin)
{
    long long llPosition = 0;
    switch (iOrigin) {
    case ZLIB_FILEFUNC_SEEK_SET: llPosition = (long long)nOffset; break;
    case ZLIB_FILEFUNC_SEEK_CUR: llPosition = (long long)m_nPosition + (long)nOffset; break;
    case ZLIB_FILEFUNC_SEEK_END: llPosition = (long long)m_nLength + (long)nOffset; break;
    default: return kSeekBadOrigin;
    }
    if (llPosition < 0 || llPosition > (long long)m_nLength) return kSeekOutOfRange;
    m_nPosition = (unsigned int)llPosition;
    return 0;
}

void ZipStream::FillFunctions(void* pFileFuncDef)
{
    zlib_filefunc_def* pDef = static_cast<zlib_filefunc_def*>(pFileFuncDef);
    pDef->zopen_file = &OpenCallback;
    pDef->zread_file = &ReadCallback;
    pDef->zwrite_file = &WriteCallback;
    pDef->ztell_file = &TellCallback;
    pDef->zseek_file = &SeekCallback;
    pDef->zclose_file = &CloseCallback;
    pDef->zerror_file = &ErrorCallback;
    pDef->opaque = nullptr;
}

} // namespace UpdUI
