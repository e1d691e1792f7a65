// Uprelay.exe: started by the updater's temporary copy as its last action. It
// closes that copy (killing it if it does not end) and deletes the copy's
// folder, which the copy cannot do itself. It shows and reports nothing.
#include <windows.h>
#include <shellapi.h>

#include <string>

#include "DirectoryTree.h"
#include "ProcessTools.h"
#include "RunFolderGuard.h"
#include "RunFolderLock.h"

namespace {

const wchar_t kFinisherMutexName[] = L"lumoravid_uprelay_mutex";
const DWORD kUpdaterExitWaitMs = 6000;

// The process ends right after, but the command line split is freed like any other.
class CommandLineArguments
{
public:
    CommandLineArguments() : m_argv(CommandLineToArgvW(GetCommandLineW(), &m_argc))
    {
        if (!m_argv) m_argc = 0;
    }
    ~CommandLineArguments() { LocalFree(m_argv); }
    CommandLineArguments(const CommandLineArguments&) = delete;
    CommandLineArguments& operator=(const CommandLineArguments&) = delete;

    int Count() const { return m_argc; }
    std::wstring At(int index) const { return m_argv[index]; }

private:
    int m_argc = 0;
    LPWSTR* m_argv;
};

// Keeps the finisher from holding the run folder as its current directory.
void EnterOwnFolder()
{
    wchar_t path[MAX_PATH] = {};
    DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return;
    wchar_t* lastSlash = wcsrchr(path, L'\\');
    if (!lastSlash) return;
    lastSlash[1] = L'\0';
    SetCurrentDirectoryW(path);
}

void TerminateProcessById(DWORD processId)
{
    HANDLE process = OpenProcess(PROCESS_TERMINATE, FALSE, processId);
    if (!process) return;
    TerminateProcess(process, 0);
    CloseHandle(process);
}

// Asks the updater to close, gives it the grace time and then makes sure it is
// gone, so that its executable can be deleted. Only that process's own window
// is asked: another run of the updater (the main program that the update
// restarted starts one at once) carries the same window property.
void StopUpdater(DWORD processId)
{
    HANDLE thread = OpenFirstThreadOfProcess(processId);
    // SendMessageW returns once the updater has handled its close.
    if (HWND dialog = FindUpdateDialogWindowOf(processId)) SendMessageW(dialog, WM_CLOSE, 0, 0);
    if (!thread) return;
    WaitForSingleObject(thread, kUpdaterExitWaitMs);
    CloseHandle(thread);
    TerminateProcessById(processId);
}

void FinishUpdate(const std::wstring& updaterExe, const std::wstring& folderArgument)
{
    EnterOwnFolder();
    if (folderArgument.empty()) return;
    std::wstring folder = folderArgument;
    if (folder.back() != L'\\') folder.push_back(L'\\');
    // Anything but a bare updater name and the updater's own run folder is refused
    // outright: nothing is closed and nothing deleted.
    if (!IsPlainFileName(updaterExe)) return;
    folder = VerifiedRunFolder(folder);
    if (folder.empty()) return;
    // Held from the check to the last delete: waiting for the updater leaves
    // time in which the folder could be swapped for a link or another folder.
    CRunFolderLock lock;
    if (!lock.Acquire(folder)) return;

    // The updater to end is the copy that runs from this folder; one of the
    // same name elsewhere is a run of its own.
    DWORD processId = FindProcessIdInFolder(updaterExe.c_str(), folder);
    if (processId != kNoProcessId) {
        StopUpdater(processId);
        if (lock.StillTheSame()) DeleteFileW((folder + updaterExe).c_str());
    }
    DeleteDirectoryTree(
        folder, [&lock]() { return lock.StillTheSame(); }, [&lock]() { lock.Release(); });
}

} // namespace

// A crash ends the finisher quietly: there is nobody to report to.
LONG WINAPI SilentCrashFilter(EXCEPTION_POINTERS* exception)
{
    return EXCEPTION_EXECUTE_HANDLER;
}

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE previous, PWSTR commandLine, int showCommand)
{
    CommandLineArguments arguments;
    HANDLE mutex = CreateMutexW(nullptr, FALSE, kFinisherMutexName);
    if (GetLastError() == ERROR_ALREADY_EXISTS) {
        CloseHandle(mutex);
        return 0;
    }
    SetUnhandledExceptionFilter(SilentCrashFilter);
    EnableDebugPrivilege();
    // A folder with blanks that arrives unquoted splits into more arguments: leave it.
    if (arguments.Count() == 3) FinishUpdate(arguments.At(1), arguments.At(2));
    if (mutex) CloseHandle(mutex);
    return 0;
}
