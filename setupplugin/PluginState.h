#pragma once
#include <windows.h>

#include <map>

#include "NsisPluginApi.h"

class CInstallWnd;
class CUnInstallWnd;
class CSetupWnd;

// Sent by UninstallFin to the uninstall window once the script's work is done.
const UINT WM_INSTALLER_FINISHED = 2023;

// The installer's progress bar runs from 0 to this value; reaching it means done.
const int kInstallerProgressRange = 30000;

// Characters of the folder buffers; the script passes shorter paths.
const int kPluginPathChars = MAX_PATH;

// What the plug-in keeps between the installer's calls. One installer loads the
// plug-in per process and calls it on its own thread, so there is one of these.
struct TPluginState
{
    HINSTANCE moduleInstance = nullptr;

    // Saved by InitWindow.
    HWND nsisParentWindow = nullptr;
    int stringSize = 0;
    TNsisStackEntry** stackTop = nullptr;
    TNsisExtraParameters* extra = nullptr;

    // 1 install, 0 uninstall; any other non-zero value behaves as install.
    int installerMode = 1;
    wchar_t defaultInstallFolder[kPluginPathChars] = {};
    int scriptCallbackAddress = 0;
    wchar_t skinFolder[kPluginPathChars] = {};

    BYTE setupFlagMainPage = 1;
    BYTE setupFlagAfterRun = 1;
    // Cleared by the windows to end the running plug-in message loop.
    BYTE pluginRunFlag = 1;

    // Previous window procedure of every installer window the plug-in subclassed.
    std::map<HWND, WNDPROC> subclassMap;
};

TPluginState& PluginState();

// The two windows live as long as the plug-in; only the one of the mode gets a
// native window.
CInstallWnd& InstallWindow();
CUnInstallWnd& UnInstallWindow();
bool IsInstallMode();
CSetupWnd& CurrentSetupWindow();
