#include "VersionCheck.h"

#include <windows.h>

#include <cstdlib>
#include <vector>

namespace {

// Numbers are read as _wtoi reads them and compared as unsigned 32-bit values.
std::vector<unsigned> VersionParts(const std::wstring& text)
{
    std::vector<unsigned> parts;
    size_t from = 0;
    for (;;) {
        parts.push_back(static_cast<unsigned>(_wtoi(text.c_str() + from)));
        size_t dot = text.find(L'.', from);
        if (dot == std::wstring::npos) return parts;
        from = dot + 1;
    }
}

} // namespace

void QueryFileVersion(const std::wstring& path, std::wstring& version)
{
    DWORD handle = 0;
    DWORD size = GetFileVersionInfoSizeW(path.c_str(), &handle);
    if (size == 0) return;
    std::vector<BYTE> block(size);
    if (!GetFileVersionInfoW(path.c_str(), 0, size, block.data())) return;
    struct Translation
    {
        WORD language;
        WORD codePage;
    }* translation = nullptr;
    UINT length = 0;
    if (!VerQueryValueW(block.data(), L"\\VarFileInfo\\Translation", reinterpret_cast<void**>(&translation), &length) ||
        length < sizeof(Translation))
        return;
    wchar_t key[64];
    wsprintfW(key, L"\\StringFileInfo\\%04x%04x\\FileVersion", translation->language, translation->codePage);
    wchar_t* value = nullptr;
    if (!VerQueryValueW(block.data(), key, reinterpret_cast<void**>(&value), &length)) return;
    if (value && length > 0 && value[0]) version.assign(value, wcsnlen(value, length));
}

bool CompareVersionStrings(const std::wstring& a, const std::wstring& b)
{
    std::vector<unsigned> x = VersionParts(a);
    std::vector<unsigned> y = VersionParts(b);
    size_t count = x.size() > y.size() ? x.size() : y.size();
    for (size_t i = 0; i < count; ++i) {
        unsigned left = i < x.size() ? x[i] : 0;
        unsigned right = i < y.size() ? y[i] : 0;
        if (left != right) return left > right;
    }
    return false;
}

bool IsManifestVersionNewer(const std::wstring& path, const std::wstring& manifestVersion)
{
    std::wstring installed;
    QueryFileVersion(path, installed);
    return CompareVersionStrings(manifestVersion, installed);
}
