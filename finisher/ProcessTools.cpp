#include "ProcessTools.h"

#include <tlhelp32.h>

#include <cwchar>

// The system reads these records by size: on 32-bit Windows they must have
// the sizes the system expects there.
static_assert(sizeof(void*) != 4 || sizeof(PROCESSENTRY32W) == 556, "process snapshot entries");
static_assert(sizeof(void*) != 4 || sizeof(THREADENTRY32) == 28, "thread snapshot entries");

const wchar_t kUpdaterWindowProperty[] = L"lumoravid_UpdateDlg";

void EnableDebugPrivilege()
{
    HANDLE token = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES, &token)) return;
    TOKEN_PRIVILEGES privileges{};
    privileges.PrivilegeCount = 1;
    privileges.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
    if (LookupPrivilegeValueW(nullptr, L"SeDebugPrivilege", &privileges.Privileges[0].Luid))
        AdjustTokenPrivileges(token, FALSE, &privileges, 0, nullptr, nullptr);
    CloseHandle(token);
}

namespace {

// The first process named exeName (exactly) that `accepts` takes, or kNoProcessId.
template <typename Accepts> DWORD FindProcessIdWith(const wchar_t* exeName, Accepts accepts)
{
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE) return kNoProcessId;
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof(entry);
    DWORD found = kNoProcessId;
    for (BOOL more = Process32FirstW(snapshot, &entry); more; more = Process32NextW(snapshot, &entry)) {
        if (wcscmp(entry.szExeFile, exeName) == 0 && accepts(entry.th32ProcessID)) {
            found = entry.th32ProcessID;
            break;
        }
    }
    CloseHandle(snapshot);
    return found;
}

} // namespace

DWORD FindProcessIdByName(const wchar_t* exeName)
{
    return FindProcessIdWith(exeName, [](DWORD) { return true; });
}

HANDLE OpenFirstThreadOfProcess(DWORD processId)
{
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, processId);
    if (snapshot == INVALID_HANDLE_VALUE) return nullptr;
    THREADENTRY32 entry{};
    entry.dwSize = sizeof(entry);
    HANDLE thread = nullptr;
    for (BOOL more = Thread32First(snapshot, &entry); more; more = Thread32Next(snapshot, &entry)) {
        if (entry.th32OwnerProcessID == processId) {
            thread = OpenThread(SYNCHRONIZE, FALSE, entry.th32ThreadID);
            break;
        }
    }
    CloseHandle(snapshot);
    return thread;
}

HWND FindUpdateDialogWindowOf(DWORD processId)
{
    for (HWND wnd = GetWindow(GetDesktopWindow(), GW_CHILD); IsWindow(wnd); wnd = GetWindow(wnd, GW_HWNDNEXT)) {
        DWORD owner = 0;
        GetWindowThreadProcessId(wnd, &owner);
        if (owner == processId && GetPropW(wnd, kUpdaterWindowProperty)) return wnd;
    }
    return nullptr;
}

namespace {

std::wstring ProcessImagePath(DWORD processId)
{
    HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId);
    if (!process) return std::wstring();
    wchar_t path[MAX_PATH] = {};
    DWORD size = MAX_PATH;
    BOOL ok = QueryFullProcessImageNameW(process, 0, path, &size);
    CloseHandle(process);
    return ok ? std::wstring(path, size) : std::wstring();
}

// Short (8.3) names are expanded so that two spellings of one folder compare equal.
std::wstring LongFolder(std::wstring folder)
{
    if (!folder.empty() && folder.back() != L'\\') folder.push_back(L'\\');
    wchar_t expanded[MAX_PATH] = {};
    DWORD length = GetLongPathNameW(folder.c_str(), expanded, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return folder;
    std::wstring result(expanded, length);
    if (result.back() != L'\\') result.push_back(L'\\');
    return result;
}

} // namespace

bool ProcessLiesIn(DWORD processId, const std::wstring& folder)
{
    std::wstring image = ProcessImagePath(processId);
    size_t slash = image.rfind(L'\\');
    if (slash == std::wstring::npos || folder.empty()) return false;
    std::wstring imageFolder = image.substr(0, slash + 1);
    return _wcsicmp(LongFolder(imageFolder).c_str(), LongFolder(folder).c_str()) == 0;
}

DWORD FindProcessIdInFolder(const wchar_t* exeName, const std::wstring& folder)
{
    return FindProcessIdWith(exeName, [&folder](DWORD processId) { return ProcessLiesIn(processId, folder); });
}
