#include "PluginExports.h"

#include <objbase.h>
#include <ole2.h>

#include <vector>

#include "FolderPageRestart.h"
#include "InstallFolder.h"
#include "InstallWnd.h"
#include "InstallerSubclass.h"
#include "MainProgramTerminator.h"
#include "NsisStack.h"
#include "PluginMessageLoop.h"
#include "PluginState.h"
#include "RoomCheck.h"
#include "StagedCopy.h"
#include "UninstallCleaner.h"
#include "UserLauncher.h"
#include "UnInstallWnd.h"
#include "UpdateProgressRelay.h"

namespace {

const DWORD kSetupWindowStyle = WS_VISIBLE | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME;
const int kSetupWindowWidth = 550;
const int kSetupWindowHeight = 359;

void SaveInstallerContext(HWND hwndParent, int stringSize, TNsisStackEntry** stackTop, TNsisExtraParameters* extra)
{
    TPluginState& state = PluginState();
    state.stringSize = stringSize;
    state.stackTop = stackTop;
    state.extra = extra;
    state.nsisParentWindow = hwndParent;
}

// Keeps the DLL loaded between the installer's calls, so its windows survive them.
void StayLoaded(TNsisExtraParameters* extra)
{
    if (extra == nullptr || extra->RegisterPluginCallback == nullptr) return;
    extra->RegisterPluginCallback(reinterpret_cast<HMODULE>(PluginState().moduleInstance), &PluginCallback);
}

void PopInitArguments(CNsisStack& stack)
{
    TPluginState& state = PluginState();
    state.installerMode = static_cast<int>(stack.PopLong());
    stack.Pop(state.defaultInstallFolder, kPluginPathChars);
    state.scriptCallbackAddress = static_cast<int>(stack.PopLong());
    stack.Pop(state.skinFolder, kPluginPathChars);
}

void CreateSetupWindow()
{
    CSetupWnd& window = CurrentSetupWindow();
    // One object holds one native window; a second InitWindow keeps the first.
    if (window.GetWindowHandle() != nullptr) return;
    LPCWSTR pstrTitle = IsInstallMode() ? L"安装Lumora" : L"卸载Lumora";
    if (window.Create(nullptr, pstrTitle, kSetupWindowStyle, 0, 0, 0, kSetupWindowWidth, kSetupWindowHeight) == nullptr)
        return;
    window.CenterWindow();
}

std::wstring PopText(CNsisStack& stack, int stringSize)
{
    std::vector<wchar_t> text(static_cast<size_t>(stringSize > 0 ? stringSize : 1) + 1, L'\0');
    stack.Pop(text.data(), text.size());
    return text.data();
}

// Without a window nothing could clear the run flag: the loop would never end.
void RunLoopOverSetupWindow()
{
    if (CurrentSetupWindow().GetWindowHandle() == nullptr) return;
    RunPluginMessageLoop();
}

} // namespace

int nNsisPlugin = 0;

int fnNsisPlugin()
{
    return 42;
}

UINT_PTR PluginCallback(TNsisPluginMessage)
{
    return 0;
}

NSIS_PLUGIN_FUNCTION(InitWindow)
{
    SaveInstallerContext(hwndParent, stringSize, stackTop, extra);
    StayLoaded(extra);
    CInstallerSubclass::KeepHidden(hwndParent);
    CNsisStack stack(stackTop, stringSize);
    PopInitArguments(stack);
    ::OleInitialize(nullptr);
    if (FAILED(::CoInitialize(nullptr))) return;
    CreateSetupWindow();
    if (CurrentSetupWindow().GetWindowHandle() != nullptr) CInstallerSubclass::KeepHidden(hwndParent);
}

NSIS_PLUGIN_FUNCTION(ShowWnd)
{
    CSetupWnd& window = CurrentSetupWindow();
    if (window.GetWindowHandle() == nullptr) return;
    window.Show(true, true);
    RunLoopOverSetupWindow();
}

NSIS_PLUGIN_FUNCTION(StartInstall)
{
    CNsisStack(stackTop, stringSize).Pop(nullptr, 0);
    PluginState().phase = SetupPhaseWorking;
    CInstallerSubclass::Attach(hwndParent);
}

NSIS_PLUGIN_FUNCTION(StartUnInstall)
{
    StartInstall(hwndParent, stringSize, variables, stackTop, extra);
}

NSIS_PLUGIN_FUNCTION(UninstallFin)
{
    // A close confirmed during the work only waited for its end.
    if (!IsInstallMode() && PluginState().closeRequested && UnInstallWindow().GetWindowHandle() != nullptr) {
        ::DestroyWindow(UnInstallWindow().GetWindowHandle());
        return;
    }
    if (!IsInstallMode()) UnInstallWindow().SendWindowMessage(WM_INSTALLER_FINISHED, 0, 0);
    PluginState().pluginRunFlag = 1;
    RunLoopOverSetupWindow();
}

NSIS_PLUGIN_FUNCTION(ShowFinish)
{
    CNsisStack stack(stackTop, stringSize);
    const std::wstring failure = PopText(stack, stringSize);
    TPluginState& state = PluginState();
    state.phase = SetupPhaseFinished;
    if (!IsInstallMode() || InstallWindow().GetWindowHandle() == nullptr) return;
    // The user asked to leave while the files were written: the work is done,
    // unless it failed, which the user must still learn.
    if (state.closeRequested && failure.empty()) {
        ::DestroyWindow(InstallWindow().GetWindowHandle());
        return;
    }
    InstallWindow().ShowResult(failure.c_str());
    state.pluginRunFlag = 1;
    RunLoopOverSetupWindow();
    if (state.chooseAnotherFolder) stack.Push(L"again");
}

NSIS_PLUGIN_FUNCTION(FolderPageOption)
{
    const TPluginState& state = PluginState();
    CNsisStack(stackTop, stringSize)
        .Push(CFolderPageRestart::Option(state.setupFlagMainPage, state.setupFlagAfterRun).c_str());
}

NSIS_PLUGIN_FUNCTION(OpenOnFolderPage)
{
    // Called before InitWindow: the choice must outlive this call.
    StayLoaded(extra);
    CNsisStack stack(stackTop, stringSize);
    CFolderPageRestart::Apply(PopText(stack, stringSize), PluginState());
}

NSIS_PLUGIN_FUNCTION(SetRequiredSpace)
{
    // Called before InitWindow: the value must outlive this call.
    StayLoaded(extra);
    long kib = CNsisStack(stackTop, stringSize).PopLong();
    if (kib > 0) PluginState().requiredFreeBytes = static_cast<ULONGLONG>(kib) * 1024;
}

NSIS_PLUGIN_FUNCTION(RestartMainProgram)
{
    CMainProgramTerminator::RestartClosedProgram();
}

NSIS_PLUGIN_FUNCTION(UserCancel)
{
    if (hwndParent == nullptr) return;
    ::EnableWindow(::GetDlgItem(hwndParent, IDCANCEL), TRUE);
    ::SendMessageW(hwndParent, WM_COMMAND, IDCANCEL, 0);
}

// The script pops the after-run flag first.
NSIS_PLUGIN_FUNCTION(GetSetupData)
{
    TPluginState& state = PluginState();
    CNsisStack stack(state.stackTop, state.stringSize);
    wchar_t number[16];
    wsprintfW(number, L"%d", static_cast<int>(state.setupFlagMainPage));
    stack.Push(number);
    wsprintfW(number, L"%d", static_cast<int>(state.setupFlagAfterRun));
    stack.Push(number);
}

// A silent install shows no window, so InitWindow never kept the plug-in
// loaded: the program closed here must still be known when the install ends.
NSIS_PLUGIN_FUNCTION(LumoraTerminater)
{
    StayLoaded(extra);
    CMainProgramTerminator::Run();
}

NSIS_PLUGIN_FUNCTION(ResolveFolder)
{
    CNsisStack stack(stackTop, stringSize);
    stack.Push(CInstallFolder::Resolve(PopText(stack, stringSize)).c_str());
}

NSIS_PLUGIN_FUNCTION(CheckRoom)
{
    CNsisStack stack(stackTop, stringSize);
    const std::wstring folder = PopText(stack, stringSize);
    long kib = stack.PopLong();
    ULONGLONG requiredBytes = kib > 0 ? static_cast<ULONGLONG>(kib) * 1024 : kDefaultRequiredFreeBytes;
    stack.Push(CRoomCheck::FailureText(folder, requiredBytes).c_str());
}

NSIS_PLUGIN_FUNCTION(CopyStagedFile)
{
    CNsisStack stack(stackTop, stringSize);
    const std::wstring source = PopText(stack, stringSize);
    const std::wstring target = PopText(stack, stringSize);
    stack.Push(CStagedCopy::Copy(source, target).c_str());
}

NSIS_PLUGIN_FUNCTION(RemoveOwnFiles)
{
    // The uninstall window, shown later, reads what was kept.
    StayLoaded(extra);
    CNsisStack stack(stackTop, stringSize);
    const std::wstring folder = PopText(stack, stringSize);
    const std::wstring leftForLater = PopText(stack, stringSize);
    CUninstallCleaner cleaner(folder, leftForLater);
    cleaner.Run();
    TPluginState& state = PluginState();
    state.uninstallStuckFile = cleaner.StuckFile();
    state.uninstallKeptFolder = cleaner.FolderKept() ? folder : std::wstring();
    stack.Push(cleaner.StuckFile().c_str());
}

NSIS_PLUGIN_FUNCTION(StartProgram)
{
    CNsisStack stack(stackTop, stringSize);
    CUserLauncher::Launch(PopText(stack, stringSize));
}

NSIS_PLUGIN_FUNCTION(UpdateRun)
{
    StayLoaded(extra);
    CNsisStack(stackTop, stringSize).Push(CUpdateProgressRelay::IsUpdateRun() ? L"1" : L"0");
}

// Section code calls these: a silent install has no progress bar to follow.
NSIS_PLUGIN_FUNCTION(UpdateProgress)
{
    StayLoaded(extra);
    long position = CNsisStack(stackTop, stringSize).PopLong();
    CUpdateProgressRelay::ReportCopyProgress(static_cast<int>(position));
}

NSIS_PLUGIN_FUNCTION(UpdateInstalled)
{
    StayLoaded(extra);
    CUpdateProgressRelay::ReportInstalled();
}

NSIS_PLUGIN_FUNCTION(UpdateFailed)
{
    StayLoaded(extra);
    CUpdateProgressRelay::Stop();
}
