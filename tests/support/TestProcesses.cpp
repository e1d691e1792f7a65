#include "TestProcesses.h"

#include <tlhelp32.h>

#include <cwchar>

namespace {

const DWORD kExitWaitMs = 5000;

std::wstring ImageOf(DWORD id)
{
    HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, id);
    if (!process) return std::wstring();
    wchar_t path[MAX_PATH] = {};
    DWORD chars = MAX_PATH;
    std::wstring image = QueryFullProcessImageNameW(process, 0, path, &chars) ? path : L"";
    CloseHandle(process);
    return image;
}

template <typename Match> std::vector<RunningProcess> ProcessesWhere(Match match)
{
    std::vector<RunningProcess> found;
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE) return found;
    PROCESSENTRY32W entry = {};
    entry.dwSize = sizeof(entry);
    for (BOOL more = Process32FirstW(snapshot, &entry); more; more = Process32NextW(snapshot, &entry)) {
        RunningProcess process = { entry.th32ProcessID, ImageOf(entry.th32ProcessID) };
        if (match(entry.szExeFile, process.image)) found.push_back(process);
    }
    CloseHandle(snapshot);
    return found;
}

void Kill(const std::vector<RunningProcess>& processes)
{
    for (const RunningProcess& running : processes) {
        if (HANDLE process = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, running.id)) {
            TerminateProcess(process, 1);
            WaitForSingleObject(process, kExitWaitMs);
            CloseHandle(process);
        }
    }
}

} // namespace

std::vector<RunningProcess> ProcessesNamed(const wchar_t* name)
{
    return ProcessesWhere([name](const wchar_t* file, const std::wstring&) { return _wcsicmp(file, name) == 0; });
}

void KillProcessesNamed(const wchar_t* name)
{
    Kill(ProcessesNamed(name));
}

void KillProcessesUnder(const std::wstring& folder)
{
    std::wstring prefix = folder;
    if (!prefix.empty() && prefix.back() != L'\\') prefix += L'\\';
    Kill(ProcessesWhere([&prefix](const wchar_t*, const std::wstring& image) {
        return image.size() > prefix.size() && _wcsnicmp(image.c_str(), prefix.c_str(), prefix.size()) == 0;
    }));
}
