#pragma once
#include <windows.h>
#include <vector>

// Where a markup or image name turns into bytes: a stream of the skin file's "xml" or
// "pic" sub-storage, a module resource, or a file on disk.
class CSkinStorageUI
{
public:
    // Streams larger than this are refused rather than read into memory.
    enum { MAX_STREAM_SIZE = 64 * 1024 * 1024 };

    // Reads the stream pstrName of the sub-storage pstrStorage ("xml" or "pic") of the
    // compound file pstrSkinFile. No other source is tried when any part is missing.
    static bool ReadStream(LPCWSTR pstrSkinFile, LPCWSTR pstrStorage, LPCWSTR pstrName, std::vector<BYTE>& bytes);
    static bool ReadResource(HINSTANCE hModule, UINT uId, LPCWSTR pstrType, std::vector<BYTE>& bytes);
    static bool ReadWholeFile(LPCWSTR pstrPath, std::vector<BYTE>& bytes);

private:
    static bool ReadWholeStream(IStream* pStream, std::vector<BYTE>& bytes);
};
