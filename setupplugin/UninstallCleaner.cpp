#include "UninstallCleaner.h"

#include <algorithm>

#include "InstallFolder.h"

namespace {

// Made by the programs beside themselves: settings, the updater's download
// list, finisher record and pending install.
const wchar_t* const kProgramMadeFiles[] = { L"cfg.db", L"updatefile.list", L"uprelay.ini", L"newupdate.ini" };
// The installer's own work folders, where an interrupted install leaves files
// of its list.
const wchar_t* const kWorkFolders[] = { L"~lumora.new", L"~lumora.old" };
// Folders the programs make; they go once nothing is left in them.
const wchar_t* const kProgramFolders[] = { L"skin", L"html", L"cache", L"Log", L"plugins" };
const wchar_t kEngineStore[] = L"lumora_cookies_and_storge";
const wchar_t kResumeSuffix[] = L".Cfg";
const size_t kMaxListBytes = 1 << 20;

bool EndsWithNoCase(const std::wstring& text, const std::wstring& tail)
{
    return text.size() >= tail.size() && _wcsicmp(text.c_str() + text.size() - tail.size(), tail.c_str()) == 0;
}

std::wstring ParentOf(const std::wstring& relative)
{
    size_t cut = relative.find_last_of(L'\\');
    return cut == std::wstring::npos ? std::wstring() : relative.substr(0, cut);
}

} // namespace

CUninstallCleaner::CUninstallCleaner(const std::wstring& folder, const std::wstring& leftForLater)
    : m_folder(folder), m_leftForLater(leftForLater), m_bFolderKept(false)
{
    while (m_folder.size() > 3 && m_folder.back() == L'\\') m_folder.pop_back();
}

void CUninstallCleaner::Run()
{
    RemoveInstalledFiles();
    RemoveProgramMadeFiles();
    RemoveEmptyFolders();
    ::RemoveDirectoryW(m_folder.c_str());
    m_bFolderKept = ::GetFileAttributesW(m_folder.c_str()) != INVALID_FILE_ATTRIBUTES && !HoldsOnlyLeftForLater();
}

// The folder goes with the running uninstaller's file when nothing else is in it.
bool CUninstallCleaner::HoldsOnlyLeftForLater() const
{
    if (m_leftForLater.empty()) return false;
    WIN32_FIND_DATAW found = {};
    HANDLE hFind = ::FindFirstFileW((m_folder + L"\\*").c_str(), &found);
    if (hFind == INVALID_HANDLE_VALUE) return false;
    bool bOnly = true;
    do {
        std::wstring name = found.cFileName;
        if (name == L"." || name == L"..") continue;
        if (_wcsicmp(name.c_str(), m_leftForLater.c_str()) != 0) bOnly = false;
    } while (bOnly && ::FindNextFileW(hFind, &found));
    ::FindClose(hFind);
    return bOnly;
}

bool CUninstallCleaner::IsSafeRelativePath(const std::wstring& path)
{
    if (path.empty() || path.size() >= MAX_PATH) return false;
    if (path[0] == L'\\' || path[0] == L'/' || path.find(L':') != std::wstring::npos) return false;
    if (path.find(L'/') != std::wstring::npos || path.find_first_of(L"*?\"<>|") != std::wstring::npos) return false;
    size_t start = 0;
    while (start <= path.size()) {
        size_t end = path.find(L'\\', start);
        if (end == std::wstring::npos) end = path.size();
        std::wstring part = path.substr(start, end - start);
        if (part.empty() || part == L"." || part == L"..") return false;
        start = end + 1;
    }
    return true;
}

bool CUninstallCleaner::IsCrashDumpName(const std::wstring& name)
{
    static const wchar_t kShape[] = L"0000-00-00 000000.dmp";
    if (name.size() != wcslen(kShape)) return false;
    for (size_t i = 0; i < name.size(); i++) {
        bool bDigit = name[i] >= L'0' && name[i] <= L'9';
        if (kShape[i] == L'0' ? !bDigit : towlower(name[i]) != kShape[i]) return false;
    }
    return true;
}

std::vector<std::wstring> CUninstallCleaner::ReadInstalledList() const
{
    std::vector<std::wstring> lines;
    const std::wstring path = m_folder + L"\\" + CInstallFolder::kInstalledListName;
    HANDLE hFile = ::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (hFile == INVALID_HANDLE_VALUE) return lines;
    LARGE_INTEGER size = {};
    std::wstring text;
    if (::GetFileSizeEx(hFile, &size) && size.QuadPart > 0 && size.QuadPart < static_cast<LONGLONG>(kMaxListBytes)) {
        text.resize(static_cast<size_t>(size.QuadPart) / sizeof(wchar_t));
        DWORD read = 0;
        if (!::ReadFile(hFile, &text[0], static_cast<DWORD>(text.size() * sizeof(wchar_t)), &read, nullptr))
            text.clear();
        text.resize(read / sizeof(wchar_t));
    }
    ::CloseHandle(hFile);
    if (!text.empty() && text[0] == 0xFEFF) text.erase(0, 1);
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find_first_of(L"\r\n", start);
        if (end == std::wstring::npos) end = text.size();
        std::wstring line = text.substr(start, end - start);
        if (IsSafeRelativePath(line)) lines.push_back(line);
        start = end + 1;
    }
    return lines;
}

// The list itself is one of the files it names, and it goes last: an uninstall
// that stops on a file in use can be run again.
void CUninstallCleaner::RemoveInstalledFiles()
{
    std::vector<std::wstring> listed = ReadInstalledList();
    for (const std::wstring& relative : listed) {
        if (_wcsicmp(relative.c_str(), CInstallFolder::kInstalledListName) == 0) continue;
        if (_wcsicmp(relative.c_str(), m_leftForLater.c_str()) == 0) continue;
        RemoveOwnFile(relative);
        for (const wchar_t* pstrWork : kWorkFolders) {
            std::wstring leftover = std::wstring(pstrWork) + L"\\" + relative;
            ::DeleteFileW((m_folder + L"\\" + leftover).c_str());
            m_ownFolders.push_back(ParentOf(leftover));
        }
        m_ownFolders.push_back(ParentOf(relative));
    }
    if (m_stuckFile.empty()) RemoveOwnFile(CInstallFolder::kInstalledListName);
}

void CUninstallCleaner::RemoveOwnFile(const std::wstring& relative)
{
    const std::wstring path = m_folder + L"\\" + relative;
    if (::DeleteFileW(path.c_str())) return;
    DWORD error = ::GetLastError();
    if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) return;
    if (m_stuckFile.empty()) m_stuckFile = path;
}

void CUninstallCleaner::RemoveProgramMadeFiles()
{
    for (const wchar_t* pstrName : kProgramMadeFiles) RemoveOwnFile(pstrName);
    RemoveCrashDumps();
    RemoveDownloads();
    RemoveEngineStore();
}

void CUninstallCleaner::RemoveCrashDumps()
{
    for (const std::wstring& name : FilesIn(L"Log", L"*.dmp")) {
        if (IsCrashDumpName(name)) RemoveOwnFile(L"Log\\" + name);
    }
}

// The updater keeps a resume record "<name>.Cfg" beside each download it makes.
void CUninstallCleaner::RemoveDownloads()
{
    for (const std::wstring& record : FilesIn(L"cache", L"*.Cfg")) {
        if (!EndsWithNoCase(record, kResumeSuffix)) continue;
        std::wstring download = record.substr(0, record.size() - wcslen(kResumeSuffix));
        if (!download.empty()) RemoveOwnFile(L"cache\\" + download);
        RemoveOwnFile(L"cache\\" + record);
    }
}

// The browser engine's profile: everything in it is the engine's.
void CUninstallCleaner::RemoveEngineStore()
{
    RemoveTree(m_folder + L"\\" + kEngineStore);
}

void CUninstallCleaner::RemoveTree(const std::wstring& path)
{
    WIN32_FIND_DATAW found = {};
    HANDLE hFind = ::FindFirstFileW((path + L"\\*").c_str(), &found);
    if (hFind != INVALID_HANDLE_VALUE) {
        do {
            std::wstring name = found.cFileName;
            if (name == L"." || name == L"..") continue;
            std::wstring child = path + L"\\" + name;
            if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0)
                RemoveTree(child);
            else
                ::DeleteFileW(child.c_str());
        } while (::FindNextFileW(hFind, &found));
        ::FindClose(hFind);
    }
    ::RemoveDirectoryW(path.c_str());
}

std::vector<std::wstring> CUninstallCleaner::FilesIn(const std::wstring& relativeFolder, LPCWSTR pstrPattern) const
{
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW found = {};
    HANDLE hFind = ::FindFirstFileW((m_folder + L"\\" + relativeFolder + L"\\" + pstrPattern).c_str(), &found);
    if (hFind == INVALID_HANDLE_VALUE) return names;
    do {
        if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0) names.push_back(found.cFileName);
    } while (::FindNextFileW(hFind, &found));
    ::FindClose(hFind);
    return names;
}

// Deepest first, so a folder's own subfolders have gone before it is tried.
void CUninstallCleaner::RemoveEmptyFolders()
{
    std::vector<std::wstring> folders = m_ownFolders;
    for (const wchar_t* pstrName : kProgramFolders) folders.push_back(pstrName);
    for (const wchar_t* pstrName : kWorkFolders) folders.push_back(pstrName);
    for (size_t i = 0; i < folders.size(); i++) {
        for (std::wstring parent = ParentOf(folders[i]); !parent.empty(); parent = ParentOf(parent))
            folders.push_back(parent);
    }
    folders.erase(std::remove(folders.begin(), folders.end(), std::wstring()), folders.end());
    std::sort(folders.begin(), folders.end(), [](const std::wstring& a, const std::wstring& b) {
        return std::count(a.begin(), a.end(), L'\\') > std::count(b.begin(), b.end(), L'\\');
    });
    for (const std::wstring& relative : folders) ::RemoveDirectoryW((m_folder + L"\\" + relative).c_str());
}
