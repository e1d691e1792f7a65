#include "PluginExports.h"

#include <objbase.h>
#include <ole2.h>

#include "InstallWnd.h"
#include "InstallerSubclass.h"
#include "MainProgramTerminator.h"
#include "NsisStack.h"
#include "PluginMessageLoop.h"
#include "PluginState.h"
#include "UnInstallWnd.h"

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
    CNsisStack stack(stackTop, stringSize);
    PopInitArguments(stack);
    ::OleInitialize(nullptr);
    if (FAILED(::CoInitialize(nullptr))) return;
    CreateSetupWindow();
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
    CInstallerSubclass::Attach(hwndParent);
}

NSIS_PLUGIN_FUNCTION(StartUnInstall)
{
    StartInstall(hwndParent, stringSize, variables, stackTop, extra);
}

NSIS_PLUGIN_FUNCTION(UninstallFin)
{
    if (!IsInstallMode()) UnInstallWindow().SendWindowMessage(WM_INSTALLER_FINISHED, 0, 0);
    PluginState().pluginRunFlag = 1;
    RunLoopOverSetupWindow();
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

NSIS_PLUGIN_FUNCTION(LumoraTerminater)
{
    CMainProgramTerminator::Run();
}
