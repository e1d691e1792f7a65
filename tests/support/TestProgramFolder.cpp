#include "TestProgramFolder.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <sstream>

#include "StringCipher.h"

namespace {

const char kViewKeyString[] = "m!r+t#v$w%xyz^q&k*n(j";
const wchar_t* const kViewKeys[] = { L"home", L"tv", L"playing" };

std::string Utf8(const std::wstring& text)
{
    int size = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, &out[0], size, nullptr, nullptr);
    out.resize(static_cast<size_t>(size) - 1);
    return out;
}

bool IsWebAddress(const std::wstring& page)
{
    return page.compare(0, 7, L"http://") == 0;
}

std::wstring Wide(const std::string& ascii)
{
    return std::wstring(ascii.begin(), ascii.end());
}

void RemoveTree(const std::wstring& path)
{
    WIN32_FIND_DATAW data;
    HANDLE find = FindFirstFileW((path + L"\\*").c_str(), &data);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            std::wstring name = data.cFileName;
            if (name == L"." || name == L"..") continue;
            std::wstring child = path + L"\\" + name;
            if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                RemoveTree(child);
            else
                DeleteFileW(child.c_str());
        } while (FindNextFileW(find, &data));
        FindClose(find);
    }
    RemoveDirectoryW(path.c_str());
}

bool WriteText(const std::wstring& path, const std::string& text)
{
    FILE* file = _wfopen(path.c_str(), L"wb");
    if (!file) return false;
    bool ok = fwrite(text.data(), 1, text.size(), file) == text.size();
    return fclose(file) == 0 && ok;
}

std::string ReadText(const std::wstring& path)
{
    std::string text;
    FILE* file = _wfopen(path.c_str(), L"rb");
    if (!file) return text;
    char buffer[4096];
    size_t n;
    while ((n = fread(buffer, 1, sizeof(buffer), file)) > 0) text.append(buffer, n);
    fclose(file);
    return text;
}

} // namespace

TestProgramFolder::TestProgramFolder(const std::wstring& name, const std::vector<std::wstring>& portalPages,
                                     bool writePages)
    : path_(std::wstring(LUMORA_TEST_BUILD_DIR) + L"\\tests\\" + name)
{
    ready_ = Prepare(portalPages, writePages);
}

bool TestProgramFolder::Prepare(const std::vector<std::wstring>& portalPages, bool writePages)
{
    RemoveTree(path_);
    if (!CreateDirectoryW(path_.c_str(), nullptr)) return false;
    CreateDirectoryW(File(L"skin").c_str(), nullptr);
    CreateDirectoryW(File(L"html").c_str(), nullptr);
    CreateDirectoryW(File(L"portal").c_str(), nullptr);
    if (!CopyProgramFiles() || !WritePortal(portalPages, writePages)) return false;
    // Closing hides the window in the notification area.
    return WritePrivateProfileStringW(L"setting", L"quit", L"0", File(L"cfg.db").c_str()) != FALSE;
}

bool TestProgramFolder::CopyProgramFiles()
{
    const std::wstring bin = LUMORA_TEST_BIN_DIR;
    const std::wstring tests = std::wstring(LUMORA_TEST_BUILD_DIR) + L"\\tests";
    return CopyFileW((bin + L"\\lumora.exe").c_str(), File(L"lumora.exe").c_str(), FALSE) &&
        CopyFileW((bin + L"\\skin\\skin.sk").c_str(), File(L"skin\\skin.sk").c_str(), FALSE) &&
        CopyFileW((bin + L"\\html\\err.html").c_str(), File(L"html\\err.html").c_str(), FALSE) &&
        CopyFileW((tests + L"\\mainwnd_updater_stub.exe").c_str(), File(L"lumoraupd.exe").c_str(), FALSE);
}

bool TestProgramFolder::WritePortal(const std::vector<std::wstring>& portalPages, bool writePages)
{
    StringCipherKey key(kViewKeyString);
    std::wstring ini = File(L"portal.ini");
    for (size_t i = 0; i < portalPages.size() && i < 3; ++i) {
        const std::wstring& page = portalPages[i];
        if (writePages && !IsWebAddress(page)) {
            std::string html =
                "<html><head><title>" + Utf8(page) + "</title></head><body>" + Utf8(page) + "</body></html>";
            if (!WriteText(File(L"portal\\" + page), html)) return false;
        }
        std::string enciphered = StringCipher(Utf8(PageAddress(page)), key, CipherEncode);
        if (!WritePrivateProfileStringW(L"portal", kViewKeys[i], Wide(enciphered).c_str(), ini.c_str())) return false;
    }
    return true;
}

bool TestProgramFolder::UseSkin(const std::wstring& skinFile)
{
    return CopyFileW(skinFile.c_str(), File(L"skin\\skin.sk").c_str(), FALSE) != FALSE;
}

std::wstring TestProgramFolder::FileAddress(const std::wstring& relative) const
{
    std::wstring address = L"file:///" + path_ + L"/" + relative;
    std::replace(address.begin(), address.end(), L'\\', L'/');
    return address;
}

std::wstring TestProgramFolder::PageAddress(const std::wstring& page) const
{
    return IsWebAddress(page) ? page : FileAddress(L"portal/" + page);
}

std::wstring TestProgramFolder::ErrorPageAddress() const
{
    return FileAddress(L"html/err.html");
}

std::vector<std::string> TestProgramFolder::UpdaterCalls() const
{
    std::vector<std::string> lines;
    std::istringstream in(ReadText(File(L"updater_calls.log")));
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(line);
    }
    return lines;
}

int TestProgramFolder::ReadSetting(const wchar_t* key) const
{
    return static_cast<int>(GetPrivateProfileIntW(L"setting", key, -100, File(L"cfg.db").c_str()));
}
