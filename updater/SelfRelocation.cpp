#include "SelfRelocation.h"

#include "AppDirectory.h"

#include <shellapi.h>

#include <cstdlib>
#include <ctime>
#include <cwchar>

const wchar_t kRunConfigName[] = L"config";
const wchar_t kUpdaterExeName[] = L"lumoraupd.exe";
const wchar_t kFinisherExeName[] = L"Uprelay.exe";

namespace {

const wchar_t kFolderAlphabet[] = L"0123456789abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ";
const int kFolderNameLength = 8;
const int kFolderTries = 10;
const size_t kParameterCapacity = 1024;

std::wstring RandomFolderName()
{
    std::wstring name;
    for (int i = 0; i < kFolderNameLength; ++i) name += kFolderAlphabet[rand() % 62];
    return name;
}

std::wstring FolderOf(const std::wstring& path)
{
    size_t slash = path.rfind(L'\\');
    return slash == std::wstring::npos ? std::wstring() : path.substr(0, slash + 1);
}

} // namespace

std::wstring TemporaryDirectory()
{
    wchar_t buffer[MAX_PATH] = {};
    DWORD length = GetTempPathW(MAX_PATH, buffer);
    if (length == 0 || length >= MAX_PATH) return std::wstring();
    return WithTrailingSlash(buffer);
}

bool IsTemporaryRunPath(const std::wstring& ownPath, const std::wstring& tempDirectory)
{
    if (tempDirectory.empty()) return false;
    std::wstring folder = FolderOf(ownPath);
    if (folder.size() <= tempDirectory.size()) return false;
    if (_wcsnicmp(folder.c_str(), tempDirectory.c_str(), tempDirectory.size()) != 0) return false;
    // Exactly one more folder level: "<TEMP>\<name>\".
    std::wstring rest = folder.substr(tempDirectory.size());
    return rest.find(L'\\') == rest.size() - 1;
}

std::wstring CreateRunFolder(const std::wstring& tempDirectory)
{
    if (tempDirectory.empty()) return std::wstring();
    // The runtime's generator is per thread, so each call seeds it; a count of
    // the calls keeps two calls within one clock tick from drawing the same name.
    static volatile LONG calls = 0;
    const unsigned call = static_cast<unsigned>(InterlockedIncrement(&calls)) * 2654435761u;
    srand(static_cast<unsigned>(_time64(nullptr)) ^ GetCurrentProcessId() ^ GetTickCount() ^ call);
    for (int attempt = 0; attempt < kFolderTries; ++attempt) {
        std::wstring folder = WithTrailingSlash(tempDirectory) + RandomFolderName();
        if (CreateDirectoryW(folder.c_str(), nullptr)) return folder + L'\\';
    }
    return std::wstring();
}

bool WriteRunConfig(const std::wstring& runFolder, const std::wstring& programFolder)
{
    std::wstring file = runFolder + kRunConfigName;
    BOOL ok = WritePrivateProfileStringW(L"Config", L"path", programFolder.c_str(), file.c_str());
    WritePrivateProfileStringW(nullptr, nullptr, nullptr, nullptr);
    return ok != FALSE;
}

std::wstring ReadRunConfig(const std::wstring& runFolder)
{
    wchar_t value[MAX_PATH] = {};
    GetPrivateProfileStringW(L"Config", L"path", L"", value, MAX_PATH, (runFolder + kRunConfigName).c_str());
    return value;
}

std::wstring BuildForwardedParameters(int argc, const wchar_t* const* argv)
{
    std::wstring parameters;
    for (int i = 1; i < argc && argv; ++i) {
        std::wstring argument = std::wstring(argv[i] ? argv[i] : L"") + L' ';
        if (parameters.size() + argument.size() >= kParameterCapacity) break;
        parameters += argument;
    }
    return parameters;
}

std::wstring BuildFinisherParameters(const std::wstring& runFolder)
{
    std::wstring folder = runFolder;
    while (!folder.empty() && folder.back() == L'\\') folder.pop_back();
    return std::wstring(kUpdaterExeName) + L" \"" + folder + L"\"";
}

bool StartFinisher(const std::wstring& programFolder, const std::wstring& runFolder)
{
    // The finisher runs with the user's own rights: a plain CreateProcessW,
    // named by its full path so that no other "Uprelay.exe" is picked up.
    std::wstring finisher = WithTrailingSlash(programFolder) + kFinisherExeName;
    std::wstring commandLine = L"\"" + finisher + L"\" " + BuildFinisherParameters(runFolder);
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_FORCEOFFFEEDBACK;
    PROCESS_INFORMATION process = {};
    if (!CreateProcessW(nullptr, &commandLine[0], nullptr, nullptr, FALSE, NORMAL_PRIORITY_CLASS, nullptr, nullptr,
                        &startup, &process))
        return false;
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return true;
}
