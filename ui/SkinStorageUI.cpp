#include "SkinStorageUI.h"

#include <objbase.h>

#include <cstring>
#include <new>

namespace {

// Releases a COM interface when it leaves scope.
template <class T> class CComReleaserUI
{
public:
    CComReleaserUI() : m_p(nullptr) { }
    ~CComReleaserUI()
    {
        if (m_p != nullptr) m_p->Release();
    }
    CComReleaserUI(const CComReleaserUI&) = delete;
    CComReleaserUI& operator=(const CComReleaserUI&) = delete;
    T** operator&() { return &m_p; }
    T* operator->() const { return m_p; }
    T* Get() const { return m_p; }

private:
    T* m_p;
};

// Sizes come from the skin file: a block that cannot be had fails this read only.
bool AllocateBytes(std::vector<BYTE>& bytes, size_t nSize)
{
    try {
        bytes.resize(nSize);
    } catch (const std::bad_alloc&) {
        bytes.clear();
        return false;
    }
    return true;
}

} // namespace

bool CSkinStorageUI::ReadStream(LPCWSTR pstrSkinFile, LPCWSTR pstrStorage, LPCWSTR pstrName, std::vector<BYTE>& bytes)
{
    bytes.clear();
    if (pstrSkinFile == nullptr || pstrStorage == nullptr || pstrName == nullptr || pstrName[0] == L'\0') return false;
    if (StgIsStorageFile(pstrSkinFile) != S_OK) return false;
    CComReleaserUI<IStorage> root;
    if (FAILED(StgOpenStorage(pstrSkinFile, nullptr, STGM_READ | STGM_SHARE_DENY_WRITE, nullptr, 0, &root)))
        return false;
    CComReleaserUI<IStorage> storage;
    if (FAILED(root->OpenStorage(pstrStorage, nullptr, STGM_READ | STGM_SHARE_EXCLUSIVE, nullptr, 0, &storage)))
        return false;
    CComReleaserUI<IStream> stream;
    if (FAILED(storage->OpenStream(pstrName, nullptr, STGM_READ | STGM_SHARE_EXCLUSIVE, 0, &stream))) return false;
    return ReadWholeStream(stream.Get(), bytes);
}

bool CSkinStorageUI::ReadWholeStream(IStream* pStream, std::vector<BYTE>& bytes)
{
    LARGE_INTEGER zero = {};
    ULARGE_INTEGER size = {};
    if (FAILED(pStream->Seek(zero, STREAM_SEEK_END, &size)) || FAILED(pStream->Seek(zero, STREAM_SEEK_SET, nullptr)))
        return false;
    if (size.QuadPart > MAX_STREAM_SIZE) return false;
    if (!AllocateBytes(bytes, (size_t)size.QuadPart)) return false;
    ULONG nRead = 0;
    if (!bytes.empty() && (FAILED(pStream->Read(bytes.data(), (ULONG)bytes.size(), &nRead)) || nRead != bytes.size())) {
        bytes.clear();
        return false;
    }
    return true;
}

bool CSkinStorageUI::ReadResource(HINSTANCE hModule, UINT uId, LPCWSTR pstrType, std::vector<BYTE>& bytes)
{
    bytes.clear();
    if (pstrType == nullptr) return false;
    HRSRC hResource = FindResourceW(hModule, MAKEINTRESOURCEW(uId), pstrType);
    if (hResource == nullptr) return false;
    HGLOBAL hGlobal = LoadResource(hModule, hResource);
    DWORD dwSize = SizeofResource(hModule, hResource);
    const BYTE* pData = hGlobal != nullptr ? (const BYTE*)LockResource(hGlobal) : nullptr;
    if (pData == nullptr || dwSize == 0) return false;
    if (!AllocateBytes(bytes, dwSize)) return false;
    memcpy(bytes.data(), pData, dwSize);
    return true;
}

bool CSkinStorageUI::ReadWholeFile(LPCWSTR pstrPath, std::vector<BYTE>& bytes)
{
    bytes.clear();
    HANDLE hFile =
        CreateFileW(pstrPath, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (hFile == INVALID_HANDLE_VALUE) return false;
    LARGE_INTEGER size;
    bool bOk = GetFileSizeEx(hFile, &size) && size.QuadPart > 0 && size.QuadPart <= MAX_STREAM_SIZE;
    if (bOk) bOk = AllocateBytes(bytes, (size_t)size.QuadPart);
    if (bOk) {
        DWORD dwRead = 0;
        bOk = ReadFile(hFile, bytes.data(), (DWORD)bytes.size(), &dwRead, nullptr) && dwRead == bytes.size();
    }
    CloseHandle(hFile);
    if (!bOk) bytes.clear();
    return bOk;
}
