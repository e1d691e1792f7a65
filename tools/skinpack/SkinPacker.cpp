#include "SkinPacker.h"

#include <algorithm>
#include <stdio.h>

bool CSkinPacker::Pack(const std::wstring& skinFolder, const std::wstring& outputFile)
{
    m_error.clear();
    IStorage* pRoot = nullptr;
    HRESULT hr = StgCreateDocfile(outputFile.c_str(), STGM_CREATE | STGM_READWRITE | STGM_SHARE_EXCLUSIVE, 0, &pRoot);
    if (FAILED(hr)) return Fail(L"cannot create " + outputFile, hr);
    bool bOk = PackFolder(pRoot, skinFolder + L"\\xml", L"xml", L"*.xml") &&
        PackFolder(pRoot, skinFolder + L"\\pic", L"pic", L"*");
    if (bOk) {
        hr = pRoot->Commit(STGC_DEFAULT);
        if (FAILED(hr)) bOk = Fail(L"cannot commit " + outputFile, hr);
    }
    pRoot->Release();
    // A half-written skin must not look like a finished one to the next build step.
    if (!bOk) DeleteFileW(outputFile.c_str());
    return bOk;
}

// A missing folder is an empty one: a skin may have no pictures.
bool CSkinPacker::ListFiles(const std::wstring& folder, const wchar_t* pattern, std::vector<std::wstring>& names)
{
    WIN32_FIND_DATAW data;
    HANDLE hFind = FindFirstFileW((folder + L"\\" + pattern).c_str(), &data);
    if (hFind == INVALID_HANDLE_VALUE) {
        DWORD dwError = GetLastError();
        if (dwError == ERROR_FILE_NOT_FOUND || dwError == ERROR_PATH_NOT_FOUND || dwError == ERROR_NO_MORE_FILES)
            return true;
        return Fail(L"cannot list " + folder, HRESULT_FROM_WIN32(dwError));
    }
    do {
        if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0) names.push_back(data.cFileName);
    } while (FindNextFileW(hFind, &data));
    FindClose(hFind);
    std::sort(names.begin(), names.end());
    return true;
}

bool CSkinPacker::PackFolder(IStorage* pRoot, const std::wstring& folder, const wchar_t* storageName,
                             const wchar_t* pattern)
{
    std::vector<std::wstring> names;
    if (!ListFiles(folder, pattern, names)) return false;
    IStorage* pStorage = nullptr;
    HRESULT hr =
        pRoot->CreateStorage(storageName, STGM_CREATE | STGM_READWRITE | STGM_SHARE_EXCLUSIVE, 0, 0, &pStorage);
    if (FAILED(hr)) return Fail(std::wstring(L"cannot create storage ") + storageName, hr);
    bool bOk = true;
    for (const std::wstring& name : names) {
        if (!PackFile(pStorage, folder + L"\\" + name, name)) {
            bOk = false;
            break;
        }
    }
    if (bOk) {
        hr = pStorage->Commit(STGC_DEFAULT);
        if (FAILED(hr)) bOk = Fail(std::wstring(L"cannot commit storage ") + storageName, hr);
    }
    pStorage->Release();
    return bOk;
}

bool CSkinPacker::PackFile(IStorage* pStorage, const std::wstring& path, const std::wstring& name)
{
    if (name.size() > MAX_STREAM_NAME) return Fail(L"file name longer than 31 characters: " + name);
    std::vector<BYTE> bytes;
    if (!ReadFileBytes(path, bytes)) return false;
    IStream* pStream = nullptr;
    HRESULT hr = pStorage->CreateStream(name.c_str(), STGM_CREATE | STGM_WRITE | STGM_SHARE_EXCLUSIVE, 0, 0, &pStream);
    if (FAILED(hr)) return Fail(L"cannot create stream " + name, hr);
    ULONG nWritten = 0;
    hr = bytes.empty() ? S_OK : pStream->Write(bytes.data(), (ULONG)bytes.size(), &nWritten);
    pStream->Release();
    if (FAILED(hr) || nWritten != bytes.size())
        return Fail(L"cannot write stream " + name, FAILED(hr) ? hr : STG_E_MEDIUMFULL);
    return true;
}

bool CSkinPacker::ReadFileBytes(const std::wstring& path, std::vector<BYTE>& bytes)
{
    HANDLE hFile = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                               FILE_ATTRIBUTE_NORMAL, nullptr);
    if (hFile == INVALID_HANDLE_VALUE) return Fail(L"cannot open " + path, HRESULT_FROM_WIN32(GetLastError()));
    LARGE_INTEGER size;
    bool bOk = GetFileSizeEx(hFile, &size) != FALSE && size.QuadPart < 0x40000000;
    if (bOk) {
        bytes.resize((size_t)size.QuadPart);
        DWORD dwRead = 0;
        bOk = bytes.empty() ||
            (ReadFile(hFile, bytes.data(), (DWORD)bytes.size(), &dwRead, nullptr) && dwRead == bytes.size());
    }
    CloseHandle(hFile);
    if (!bOk) return Fail(L"cannot read " + path);
    return true;
}

bool CSkinPacker::Fail(const std::wstring& message, HRESULT hr)
{
    wchar_t code[32] = L"";
    if (hr != S_OK) swprintf(code, 32, L" (0x%08lX)", (unsigned long)hr);
    m_error = message + code;
    return false;
}
