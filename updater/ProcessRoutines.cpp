#include "ProcessRoutines.h"

#include "AppDirectory.h"

#include <shellapi.h>
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

void TerminateById(DWORD processId)
{
    HANDLE process = OpenProcess(PROCESS_TERMINATE, FALSE, processId);
    if (!process) return;
    TerminateProcess(process, 0);
    CloseHandle(process);
}

} // namespace

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

void EnsureMainProgramRunning(const std::wstring& installFolder)
{
    if (FindProcessIdInFolder(kMainProgramExe, installFolder) != kNoProcessId) return;
    const std::wstring folder = WithTrailingSlash(installFolder);
    ShellExecuteW(nullptr, L"open", (folder + kMainProgramExe).c_str(), nullptr, folder.c_str(), SW_SHOWNORMAL);
}
