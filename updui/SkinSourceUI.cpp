#include "SkinSourceUI.h"

#include <new>
#include <string>
#include <wchar.h>

#include "StringUI.h"
#include "WindowManagerUI.h"
#include "ZipArchive.h"

namespace UpdUI {

namespace {

void SetError(LPCWSTR* ppstrError, LPCWSTR pstrError)
{
    if (ppstrError != nullptr) *ppstrError = pstrError;
}

// Image names come from markup and tagged text, which may come from outside: a name must
// stay inside the skin or the resource folder, so no drive, root, UNC or stream name and no
// ".." step.
bool StaysInsideTheSkin(LPCWSTR pstrName)
{
    if (pstrName[0] == L'\0' || pstrName[0] == L'\\' || pstrName[0] == L'/' || wcschr(pstrName, L':') != nullptr)
        return false;
    for (LPCWSTR p = pstrName; *p != L'\0';) {
        size_t nStep = wcscspn(p, L"\\/");
        if (nStep == 2 && p[0] == L'.' && p[1] == L'.') return false;
        p += nStep;
        if (*p != L'\0') p++;
    }
    return true;
}

std::wstring BelowResourcePath(LPCWSTR pstrName)
{
    CStringUI sPath = CWindowManagerUI::GetResourcePath();
    return std::wstring(sPath.GetData()) + pstrName;
}

} // namespace

bool CSkinSourceUI::ReadMarkup(LPCWSTR pstrName, std::vector<BYTE>& bytes, LPCWSTR* ppstrError)
{
    bytes.clear();
    if (pstrName == nullptr || IS_INTRESOURCE(pstrName)) {
        SetError(ppstrError, L"Error opening file");
        return false;
    }
    return ReadFromSkin(pstrName, MAX_MARKUP_SIZE, bytes, ppstrError);
}

bool CSkinSourceUI::ReadImage(LPCWSTR pstrName, LPCWSTR pstrType, std::vector<BYTE>& bytes)
{
    bytes.clear();
    if (pstrName == nullptr) return false;
    if (pstrType != nullptr) return ReadResource(CWindowManagerUI::GetResourceInstance(), pstrName, pstrType, bytes);
    if (IS_INTRESOURCE(pstrName) || !StaysInsideTheSkin(pstrName)) return false;
    if (ReadFromSkin(pstrName, MAX_IMAGE_SIZE, bytes, nullptr)) return true;
    // Not in the skin zip: the resource folder may still hold it.
    if (CWindowManagerUI::GetSkinZipName().IsEmpty()) return false;
    return ReadFile(BelowResourcePath(pstrName).c_str(), MAX_IMAGE_SIZE, bytes, nullptr);
}

bool CSkinSourceUI::ReadResource(HINSTANCE hModule, LPCWSTR pstrName, LPCWSTR pstrType, std::vector<BYTE>& bytes)
{
    bytes.clear();
    if (pstrName == nullptr || pstrType == nullptr) return false;
    HRSRC hResource = FindResourceW(hModule, pstrName, pstrType);
    if (hResource == nullptr) return false;
    HGLOBAL hGlobal = LoadResource(hModule, hResource);
    DWORD dwSize = SizeofResource(hModule, hResource);
    const BYTE* pData = hGlobal != nullptr ? (const BYTE*)LockResource(hGlobal) : nullptr;
    if (pData == nullptr || dwSize == 0) return false;
    bytes.assign(pData, pData + dwSize);
    return true;
}

// The skin zip when one is named (cached in memory, or the zip file opened for this read
// and closed again); otherwise the file below the resource folder.
bool CSkinSourceUI::ReadFromSkin(LPCWSTR pstrName, DWORD dwMaxSize, std::vector<BYTE>& bytes, LPCWSTR* ppstrError)
{
    CStringUI sZipName = CWindowManagerUI::GetSkinZipName();
    if (sZipName.IsEmpty()) return ReadFile(BelowResourcePath(pstrName).c_str(), dwMaxSize, bytes, ppstrError);
    ZipArchive* hZip = nullptr;
    bool bOwned = false;
    if (CWindowManagerUI::IsSkinZipCached()) {
        hZip = static_cast<ZipArchive*>(CWindowManagerUI::GetSkinZipHandle());
    } else {
        std::wstring sZipPath = BelowResourcePath(sZipName.GetData());
        hZip = ZipOpen((void*)sZipPath.c_str(), 0, ZIP_FILENAME);
        bOwned = true;
    }
    if (hZip == nullptr) {
        SetError(ppstrError, L"Error opening zip file");
        return false;
    }
    bool bRead = ReadZipItem(hZip, pstrName, dwMaxSize, bytes, ppstrError);
    if (bOwned) ZipClose(hZip);
    return bRead;
}

bool CSkinSourceUI::ReadZipItem(ZipArchive* hZip, LPCWSTR pstrName, DWORD dwMaxSize, std::vector<BYTE>& bytes,
                                LPCWSTR* ppstrError)
{
    bytes.clear();
    int iIndex = -1;
    ZipEntry entry;
    if (ZipFindItem(hZip, pstrName, true, &iIndex, &entry) != ZR_OK) {
        SetError(ppstrError, L"Could not find ziped file");
        return false;
    }
    if (entry.unc_size <= 0) {
        SetError(ppstrError, L"File is empty");
        return false;
    }
    if ((unsigned long)entry.unc_size > dwMaxSize) {
        SetError(ppstrError, L"File too large");
        return false;
    }
    if (!Allocate(bytes, (size_t)entry.unc_size)) {
        SetError(ppstrError, L"Could not unzip file");
        return false;
    }
    DWORD dwResult = ZipUnzipItem(hZip, iIndex, bytes.data(), (unsigned int)bytes.size(), ZIP_MEMORY);
    // A full buffer is not yet the whole item: one more call must find its end, where the
    // checksum is compared. A short or damaged item is an error, never zero padding.
    if (dwResult == ZR_MORE) {
        BYTE chPast = 0;
        dwResult = ZipUnzipItem(hZip, iIndex, &chPast, 1, ZIP_MEMORY);
    }
    if (dwResult != ZR_OK) {
        bytes.clear();
        SetError(ppstrError, L"Could not unzip file");
        return false;
    }
    return true;
}

bool CSkinSourceUI::ReadFile(LPCWSTR pstrPath, DWORD dwMaxSize, std::vector<BYTE>& bytes, LPCWSTR* ppstrError)
{
    bytes.clear();
    HANDLE hFile =
        CreateFileW(pstrPath, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (hFile == INVALID_HANDLE_VALUE) {
        SetError(ppstrError, L"Error opening file");
        return false;
    }
    LARGE_INTEGER size = {};
    LPCWSTR pstrError = nullptr;
    if (!GetFileSizeEx(hFile, &size))
        pstrError = L"Could not read file";
    else if (size.QuadPart == 0)
        pstrError = L"File is empty";
    else if (size.QuadPart > (LONGLONG)dwMaxSize)
        pstrError = L"File too large";
    else if (!Allocate(bytes, (size_t)size.QuadPart))
        pstrError = L"Could not read file";
    if (pstrError == nullptr) {
        DWORD dwRead = 0;
        if (!::ReadFile(hFile, bytes.data(), (DWORD)bytes.size(), &dwRead, nullptr) || dwRead != bytes.size())
            pstrError = L"Could not read file";
    }
    CloseHandle(hFile);
    if (pstrError != nullptr) {
        bytes.clear();
        SetError(ppstrError, pstrError);
        return false;
    }
    return true;
}

bool CSkinSourceUI::Allocate(std::vector<BYTE>& bytes, size_t nSize)
{
    try {
        bytes.resize(nSize);
    } catch (const std::bad_alloc&) {
        return false;
    }
    return true;
}

} // namespace UpdUI
