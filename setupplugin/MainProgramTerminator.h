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

    // Records the image path of the running main program, if any, so the
    // installer can start it again (PluginState().closedProgramPath).
    static void Run();
    // Starts the recorded program again when its file is there; forgets it.
    static bool RestartClosedProgram();

    // The first process (other than this one) whose file name equals pstrName
    // ignoring case; kNoProcess when none.
    static DWORD FindProcessIdByNameNoCase(LPCWSTR pstrName);
    // Sends the quit request to the first top-level window marked "lumora";
    // false when there is none.
    static bool CloseMarkedMainWindow();

private:
    static void RecordImagePath(DWORD pid);
    static bool EnableDebugPrivilege();
    static void TerminateAndWait(DWORD pid);
};
