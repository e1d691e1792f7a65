#pragma once
#include <windows.h>

#include <map>
#include <string>

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

// Free room an install needs when the script names none.
const ULONGLONG kDefaultRequiredFreeBytes = 100ULL * 1024 * 1024;

// Where the window stands in the installer's work. While files are written a
// close may not stop the installer: it would leave a half-written folder.
enum TSetupPhase {
    SetupPhaseChoosing,
    SetupPhaseWorking,
    SetupPhaseFinished,
};

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

    TSetupPhase phase = SetupPhaseChoosing;
    // A close the user confirmed while files were written: the work ends first.
    bool closeRequested = false;
    // Room the install takes on the target drive, as the script counts it.
    ULONGLONG requiredFreeBytes = kDefaultRequiredFreeBytes;
    // What the uninstall left: the folder when files that are not ours kept
    // it, and an own file that could not be removed.
    std::wstring uninstallKeptFolder;
    // The user left the failure page to choose another folder.
    bool chooseAnotherFolder = false;
    // This installer was started again for that choice: the window opens on
    // the folder page (CFolderPageRestart).
    bool openOnFolderPage = false;
    std::wstring uninstallStuckFile;
    // The main program the terminator closed, to start again once the work ends.
    wchar_t closedProgramPath[kPluginPathChars] = {};
    // The last progress value sent to the updater's wizard in an update run,
    // -1 once the install failed (CUpdateProgressRelay).
    volatile LONG updateReported = 0;

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
