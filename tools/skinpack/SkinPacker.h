#pragma once
#include <windows.h>
#include <objbase.h>
#include <string>
#include <vector>

// Packs a skin folder (xml\*.xml and pic\*) into the compound skin file the UI library
// reads: one stream per file in the root's "xml" and "pic" sub-storages.
class CSkinPacker
{
public:
    // Compound-file element names hold at most 31 characters.
    enum { MAX_STREAM_NAME = 31 };

    bool Pack(const std::wstring& skinFolder, const std::wstring& outputFile);
    const std::wstring& GetError() const { return m_error; }

private:
    bool ListFiles(const std::wstring& folder, const wchar_t* pattern, std::vector<std::wstring>& names);
    bool PackFolder(IStorage* pRoot, const std::wstring& folder, const wchar_t* storageName, const wchar_t* pattern);
    bool PackFile(IStorage* pStorage, const std::wstring& path, const std::wstring& name);
    bool ReadFileBytes(const std::wstring& path, std::vector<BYTE>& bytes);
    bool Fail(const std::wstring& message, HRESULT hr = S_OK);

    std::wstring m_error;
};
