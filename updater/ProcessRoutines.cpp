#include "ProcessRoutines.h"

#include "AppDirectory.h"

#include <tlhelp32.h>

// The system reads these records by size: on 32-bit Windows they must have
// the sizes the system expects there.
static_assert(sizeof(void*) != 4 || sizeof(PROCESSENTRY32W) == 556, "process snapshot entries");
static_assert(sizeof(void*) != 4 || sizeof(THREADENTRY32) == 28, "thread snapshot entries");

const wchar_t kMainProgramExe[] = L"lumora.exe";
const wchar_t kMainWindowProperty[] = L"lumora";

namespace {

const WPARAM kQuitRequestCommand = SC_CLOSE;
const LPARAM kQuitRequestFlag = 0x800;
const DWORD kQuitGraceMs = 1000;
const int kTerminateRounds = 50;
const DWORD kTerminateRoundMs = 100;
const UINT kQuitRequestTimeoutMs = 10000;

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

bool ProcessLiesIn(DWORD processId, const std::wstring& folder)
{
    std::wstring image = ProcessImagePath(processId);
    size_t slash = image.rfind(L'\\');
    if (slash == std::wstring::npos) return false;
    std::wstring imageFolder = image.substr(0, slash + 1);
    return _wcsicmp(imageFolder.c_str(), WithTrailingSlash(folder).c_str()) == 0;
}

// Walks the process list until `match` accepts an entry.
template <typename Match> DWORD FindProcess(Match match)
{
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE) return kNoProcessId;
    PROCESSENTRY32W entry = {};
    entry.dwSize = sizeof(entry);
    DWORD found = kNoProcessId;
    for (BOOL more = Process32FirstW(snapshot, &entry); more; more = Process32NextW(snapshot, &entry)) {
        if (match(entry)) {
            found = entry.th32ProcessID;
            break;
        }
    }
    CloseHandle(snapshot);
    return found;
}

void TerminateById(DWORD processId)
{
    HANDLE process = OpenProcess(PROCESS_TERMINATE, FALSE, processId);
    if (!process) return;
    TerminateProcess(process, 0);
    CloseHandle(process);
}

} // namespace

DWORD FindProcessIdInFolder(const wchar_t* exeName, const std::wstring& folder)
{
    return FindProcess([exeName, &folder](const PROCESSENTRY32W& entry) {
        return wcscmp(entry.szExeFile, exeName) == 0 && ProcessLiesIn(entry.th32ProcessID, folder);
    });
}

HWND FindMainProgramWindow(const std::wstring& installFolder)
{
    for (HWND top = GetWindow(GetDesktopWindow(), GW_CHILD); top && IsWindow(top); top = GetWindow(top, GW_HWNDNEXT)) {
        if (!GetPropW(top, kMainWindowProperty)) continue;
        DWORD processId = 0;
        GetWindowThreadProcessId(top, &processId);
        if (ProcessLiesIn(processId, installFolder)) return top;
    }
    return nullptr;
}

void CloseMainProgram(const std::wstring& installFolder)
{
    DWORD processId = FindProcessIdInFolder(kMainProgramExe, installFolder);
    if (processId == kNoProcessId) return;
    if (HWND window = FindMainProgramWindow(installFolder)) {
        DWORD_PTR ignored = 0;
        SendMessageTimeoutW(window, WM_SYSCOMMAND, kQuitRequestCommand, kQuitRequestFlag, SMTO_NORMAL,
                            kQuitRequestTimeoutMs, &ignored);
        Sleep(kQuitGraceMs);
    }
    for (int round = 0; round < kTerminateRounds && processId != kNoProcessId; ++round) {
        TerminateById(processId);
        Sleep(round == 0 ? 0 : kTerminateRoundMs);
        processId = FindProcessIdInFolder(kMainProgramExe, installFolder);
    }
}
