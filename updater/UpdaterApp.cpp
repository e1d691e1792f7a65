#include "UpdaterApp.h"

#include "AppDirectory.h"
#include "MiniDump.h"
#include "SelfRelocation.h"
#include "StaleRunFolders.h"
#include "SystemErrorBox.h"
#include "UpdateDlg.h"
#include "UpdaterCommandLine.h"
#include "UpdateInstaller.h"
#include "UpdaterTestSeams.h"

#include <objbase.h>
#include <ole2.h>
#include <shellapi.h>

#include <cstdlib>
#include <new>
#include <string>

using namespace UpdUI;

namespace {

const wchar_t kUpdaterMutexName[] = L"lumoravid_update_mutex";
const wchar_t kWizardTitle[] = L"Lumora升级程序";
const DWORD kWizardStyle = 0x96C80000;
const int kWizardIconId = 107;
// How long a copy waits for the run that started it to let the mutex go.
const DWORD kHandOverWaitMs = 10000;

class Arguments
{
public:
    Arguments() : m_argv(CommandLineToArgvW(GetCommandLineW(), &m_argc))
    {
        if (!m_argv) m_argc = 0;
    }
    ~Arguments() { LocalFree(m_argv); }
    Arguments(const Arguments&) = delete;
    Arguments& operator=(const Arguments&) = delete;
    int Count() const { return m_argc; }
    const wchar_t* const* Values() const { return m_argv; }

private:
    int m_argc = 0;
    LPWSTR* m_argv;
};

void IgnoreInvalidParameter(const wchar_t*, const wchar_t*, const wchar_t*, unsigned int, uintptr_t) { }

std::wstring OwnPath()
{
    wchar_t path[MAX_PATH] = {};
    DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
    return length == 0 || length >= MAX_PATH ? std::wstring() : std::wstring(path);
}

void CloseMutex(HANDLE mutex)
{
    if (!mutex) return;
    ReleaseMutex(mutex);
    CloseHandle(mutex);
}

// First run: copy into a fresh folder under TEMP and start the copy there.
void RelocateAndRestart(HANDLE mutex, const Arguments& arguments, const std::wstring& ownPath,
                        const std::wstring& tempDirectory)
{
    size_t slash = ownPath.rfind(L'\\');
    if (slash == std::wstring::npos) {
        CloseHandle(mutex);
        return;
    }
    std::wstring runFolder = CreateRunFolder(tempDirectory);
    if (runFolder.empty()) {
        CloseHandle(mutex);
        return;
    }
    WriteRunConfig(runFolder, ownPath.substr(0, slash + 1));
    std::wstring copy = runFolder + ownPath.substr(slash + 1);
    if (!CopyFileW(ownPath.c_str(), copy.c_str(), FALSE)) {
        ShowSystemErrorBox(GetLastError());
        CloseHandle(mutex);
        return;
    }
    // The mutex is held: no other run of this updater is at work in TEMP now.
    RemoveStaleRunFolders(tempDirectory, ownPath.substr(0, slash + 1), runFolder);
    std::wstring parameters = BuildForwardedParameters(arguments.Count(), arguments.Values());
    // The copy starts while this run still owns the mutex and takes it over as
    // this run lets it go: a run started in between finds it taken. Let go
    // first, it could take the gap, copy itself and remove the first copy's
    // folder as a stale one.
    TestPausePoint("handover");
    ShellExecuteW(nullptr, L"open", copy.c_str(), parameters.c_str(), nullptr, SW_SHOWNORMAL);
    CloseMutex(mutex);
}

// A copy in its run folder is started by the run that made the folder, which
// owns the mutex until the copy has started.
bool TakeOverFromRelocatingRun(HANDLE mutex)
{
    if (!mutex) return false;
    const DWORD waited = WaitForSingleObject(mutex, kHandOverWaitMs);
    return waited == WAIT_OBJECT_0 || waited == WAIT_ABANDONED;
}

void SetWizardIcon(HWND window, HINSTANCE instance)
{
    HICON icon = LoadIconW(instance, MAKEINTRESOURCEW(kWizardIconId));
    if (icon) SendMessageW(window, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
}

// Temporary run: the wizard, then the finisher.
void RunWizard(HANDLE mutex, HINSTANCE instance, const Arguments& arguments)
{
    SetUnhandledExceptionFilter(UpdateCrashFilter);
    LoadMiniDumpWriter();
    _set_invalid_parameter_handler(IgnoreInvalidParameter);
    OleInitialize(nullptr);
    if (FAILED(CoInitialize(nullptr))) {
        CloseHandle(mutex);
        return;
    }
    CWindowManagerUI::SetInstance(instance);
    CWindowManagerUI::SetResourcePath(CWindowManagerUI::GetInstancePath().GetData());

    const std::wstring runFolder = GetAppDirectory();
    std::wstring installFolder = ReadRunConfig(runFolder);
    if (installFolder.empty()) installFolder = runFolder;
    installFolder = WithTrailingSlash(installFolder);
    SetCurrentDirectoryW(installFolder.c_str());

    UpdaterCommandLine line = ParseUpdaterCommandLine(arguments.Count(), arguments.Values());
    CUpdateDlg* dialog = line.valid ? new (std::nothrow) CUpdateDlg : nullptr;
    if (!dialog) {
        CloseHandle(mutex);
        CoUninitialize();
        OleUninitialize();
        return;
    }
    // What an earlier run left to do is done before anything new is looked
    // for; a setup it started and that ended unfinished is not started again.
    SettleEndedSetup(installFolder);
    if (!line.installFromDownload && HasPendingInstall(installFolder)) {
        line.mode = UpdateModeForced;
        line.installFromDownload = true;
        line.exStyle = WS_EX_TOOLWINDOW;
    }
    dialog->Configure(line, installFolder);
    // The quiet modes must never flash the wizard: it is created hidden there.
    const bool shown = line.mode == 0;
    const DWORD style = shown ? kWizardStyle : kWizardStyle & ~WS_VISIBLE;
    HWND window = dialog->Create(nullptr, kWizardTitle, style, line.exStyle, 0, 0, 450, 360);
    if (window) {
        SetWizardIcon(window, instance);
        dialog->CenterWindow();
        ShowWindow(window, shown ? SW_SHOWNORMAL : SW_HIDE);
        CWindowManagerUI::MessageLoop();
    } else {
        delete dialog;
    }
    CWindowManagerUI::ReleaseSkinZip();
    CloseMutex(mutex);
    CoUninitialize();
    OleUninitialize();
    // Only a folder this updater made for its copy is handed over for deletion.
    TestKillPoint("finisher");
    if (installFolder != runFolder) StartFinisher(installFolder, runFolder);
}

} // namespace

int UpdaterMain(HINSTANCE instance, HINSTANCE previous, LPWSTR commandLine, int showCommand)
{
    HANDLE mutex = CreateMutexW(nullptr, TRUE, kUpdaterMutexName);
    const bool taken = GetLastError() == ERROR_ALREADY_EXISTS;
    Arguments arguments;
    const std::wstring ownPath = OwnPath();
    const std::wstring tempDirectory = TemporaryDirectory();
    const bool isCopy = IsTemporaryRunPath(ownPath, tempDirectory);
    if (taken && !(isCopy && TakeOverFromRelocatingRun(mutex))) {
        if (mutex) CloseHandle(mutex);
        return 0;
    }
    if (isCopy)
        RunWizard(mutex, instance, arguments);
    else
        RelocateAndRestart(mutex, arguments, ownPath, tempDirectory);
    return 0;
}
