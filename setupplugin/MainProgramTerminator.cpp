#include "MainProgramTerminator.h"

#include <tlhelp32.h>

#include <cwchar>
#include <string>

#include "PluginState.h"
#include "UserLauncher.h"

// The system reads these records by size: on 32-bit Windows they must have
// the sizes the system expects there.
static_assert(sizeof(void*) != 4 || sizeof(PROCESSENTRY32W) == 556, "process snapshot entries");

namespace {

const wchar_t kMainProgramName[] = L"Lumora.exe";
const wchar_t kMainWindowProp[] = L"lumora";
// lParam of SC_CLOSE that makes the main program quit instead of hiding in the
// notification area.
const LPARAM kQuitRequest = 0x800;
const DWORD kCloseWaitMs = 1000;
// A main program whose window does not answer is ended like one that did not
// quit: the request must not hold the installer.
const UINT kCloseRequestTimeoutMs = 2000;
const DWORD kKillWaitMs = 300;
const DWORD kExitWaitMs = 5000;

} // namespace

void CMainProgramTerminator::Run()
{
    DWORD running = FindProcessIdByNameNoCase(kMainProgramName);
    if (running != kNoProcess) RecordImagePath(running);
    CloseMarkedMainWindow();
    ::Sleep(kCloseWaitMs);
    if (!EnableDebugPrivilege()) return;
    // Looked up after the wait: an id taken before it may already belong to
    // another process once the main program has quit.
    DWORD pid = FindProcessIdByNameNoCase(kMainProgramName);
    for (int attempt = 0; pid != kNoProcess && attempt < kMaxKillAttempts; attempt++) {
        TerminateAndWait(pid);
        pid = FindProcessIdByNameNoCase(kMainProgramName);
    }
}

void CMainProgramTerminator::RecordImagePath(DWORD pid)
{
    HANDLE hProcess = ::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid);
    if (hProcess == nullptr) return;
    wchar_t path[kPluginPathChars] = {};
    DWORD chars = kPluginPathChars;
    if (::QueryFullProcessImageNameW(hProcess, 0, path, &chars))
        lstrcpynW(PluginState().closedProgramPath, path, kPluginPathChars);
    ::CloseHandle(hProcess);
}

bool CMainProgramTerminator::RestartClosedProgram()
{
    wchar_t* pstrPath = PluginState().closedProgramPath;
    std::wstring path = pstrPath;
    pstrPath[0] = L'\0';
    if (path.empty() || ::GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES) return false;
    return CUserLauncher::Launch(path) != CUserLauncher::NotStarted;
}

DWORD CMainProgramTerminator::FindProcessIdByNameNoCase(LPCWSTR pstrName)
{
    HANDLE hSnapshot = ::CreateToolhelp32Snapshot(TH32CS_SNAPALL, 0);
    if (hSnapshot == INVALID_HANDLE_VALUE) return kNoProcess;
    DWORD found = kNoProcess;
    const DWORD self = ::GetCurrentProcessId();
    PROCESSENTRY32W entry = {};
    entry.dwSize = sizeof(entry);
    for (BOOL bMore = ::Process32FirstW(hSnapshot, &entry); bMore; bMore = ::Process32NextW(hSnapshot, &entry)) {
        if (entry.th32ProcessID != self && _wcsicmp(entry.szExeFile, pstrName) == 0) {
            found = entry.th32ProcessID;
            break;
        }
    }
    ::CloseHandle(hSnapshot);
    return found;
}

bool CMainProgramTerminator::CloseMarkedMainWindow()
{
    for (HWND hWnd = ::GetWindow(::GetDesktopWindow(), GW_CHILD); ::IsWindow(hWnd);
         hWnd = ::GetWindow(hWnd, GW_HWNDNEXT)) {
        if (::GetPropW(hWnd, kMainWindowProp) != nullptr) {
            DWORD_PTR result = 0;
            ::SendMessageTimeoutW(hWnd, WM_SYSCOMMAND, SC_CLOSE, kQuitRequest, SMTO_ABORTIFHUNG, kCloseRequestTimeoutMs,
                                  &result);
            return true;
        }
    }
    return false;
}

// Lets the installer end a main program started by another user account.
bool CMainProgramTerminator::EnableDebugPrivilege()
{
    HANDLE hToken = nullptr;
    if (!::OpenProcessToken(::GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &hToken)) return false;
    TOKEN_PRIVILEGES privileges = {};
    privileges.PrivilegeCount = 1;
    privileges.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
    if (::LookupPrivilegeValueW(nullptr, SE_DEBUG_NAME, &privileges.Privileges[0].Luid))
        ::AdjustTokenPrivileges(hToken, FALSE, &privileges, sizeof(privileges), nullptr, nullptr);
    ::CloseHandle(hToken);
    return true;
}

// Waits for the process to be gone, not just told to go: its files are
// replaced right after, and a dying process may still hold them.
void CMainProgramTerminator::TerminateAndWait(DWORD pid)
{
    HANDLE hProcess = ::OpenProcess(PROCESS_ALL_ACCESS, FALSE, pid);
    if (hProcess != nullptr) {
        if (::TerminateProcess(hProcess, 0)) ::WaitForSingleObject(hProcess, kExitWaitMs);
        ::CloseHandle(hProcess);
    }
    ::Sleep(kKillWaitMs);
}
