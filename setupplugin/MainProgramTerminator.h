#pragma once
#include <windows.h>

// Stops a running main program before the installer replaces its files: asks
// its window to quit, then terminates whatever is still running by name.
class CMainProgramTerminator
{
public:
    static constexpr DWORD kNoProcess = static_cast<DWORD>(-1);
    // A process that survives this many terminations is given up on, so the
    // installer cannot hang on it.
    static constexpr int kMaxKillAttempts = 50;

    static void Run();

    // The first process (other than this one) whose file name equals pstrName
    // ignoring case; kNoProcess when none.
    static DWORD FindProcessIdByNameNoCase(LPCWSTR pstrName);
    // Sends the quit request to the first top-level window marked "lumora";
    // false when there is none.
    static bool CloseMarkedMainWindow();

private:
    static bool EnableDebugPrivilege();
    static void TerminateAndWait(DWORD pid);
};
