#pragma once
#include <windows.h>

#include <vector>

namespace UpdUI {

class ZipArchive;

// Where a markup or image name turns into bytes: an item of the skin zip (the archive
// kept open in memory, or the zip file opened for one read), a file below the resource
// folder, or a module resource.
class CSkinSourceUI
{
public:
    enum {
        MAX_MARKUP_SIZE = 0x400000,
        // Images have no limit of their own; this only stops a damaged size field from
        // asking for gigabytes.
        MAX_IMAGE_SIZE = 64 * 1024 * 1024,
    };

    // On failure *ppstrError holds the parser's message for it.
    static bool ReadMarkup(LPCWSTR pstrName, std::vector<BYTE>& bytes, LPCWSTR* ppstrError);
    // With a type: the resource (name or MAKEINTRESOURCE number) of the resource module.
    // Otherwise the skin zip, then the resource folder; a name that would leave them (a
    // drive, root, UNC or stream name, a ".." step) is refused.
    static bool ReadImage(LPCWSTR pstrName, LPCWSTR pstrType, std::vector<BYTE>& bytes);
    static bool ReadResource(HINSTANCE hModule, LPCWSTR pstrName, LPCWSTR pstrType, std::vector<BYTE>& bytes);
    static bool ReadFile(LPCWSTR pstrPath, DWORD dwMaxSize, std::vector<BYTE>& bytes, LPCWSTR* ppstrError);
    static bool ReadZipItem(ZipArchive* hZip, LPCWSTR pstrName, DWORD dwMaxSize, std::vector<BYTE>& bytes,
                            LPCWSTR* ppstrError);

private:
    static bool ReadFromSkin(LPCWSTR pstrName, DWORD dwMaxSize, std::vector<BYTE>& bytes, LPCWSTR* ppstrError);
    static bool Allocate(std::vector<BYTE>& bytes, size_t nSize);
};

} // namespace UpdUI
