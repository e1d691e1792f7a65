#pragma once
#include "NsisPluginApi.h"

// The functions the installer script calls by name, in the order it uses them:
// OpenOnFolderPage (in an installer started again to choose another folder),
// SetRequiredSpace, InitWindow, ShowWnd, StartInstall or StartUnInstall, then
// (install) ShowFinish, FolderPageOption after "again", and GetSetupData or
// (uninstall) UninstallFin; UserCancel, LumoraTerminater and RestartMainProgram
// stand on their own. ShowFinish and UninstallFin run loops over the window:
// call them from a page callback, on the installer's window thread, never from
// section code.
NSIS_PLUGIN_FUNCTION(InitWindow);
NSIS_PLUGIN_FUNCTION(ShowWnd);
NSIS_PLUGIN_FUNCTION(StartInstall);
NSIS_PLUGIN_FUNCTION(StartUnInstall);
NSIS_PLUGIN_FUNCTION(UninstallFin);
NSIS_PLUGIN_FUNCTION(UserCancel);
NSIS_PLUGIN_FUNCTION(GetSetupData);
NSIS_PLUGIN_FUNCTION(LumoraTerminater);
// Pops the room the install takes, in KiB, for the free-space check.
NSIS_PLUGIN_FUNCTION(SetRequiredSpace);
// Pops the failure text ("" when the install succeeded) and shows the last page
// until the user leaves it; pushes "again" when the user left the failure page
// to choose another folder, and nothing otherwise.
NSIS_PLUGIN_FUNCTION(ShowFinish);
// After "again": pushes the option (CFolderPageRestart) that opens the window
// of the installer started again on the folder page with the user's options.
NSIS_PLUGIN_FUNCTION(FolderPageOption);
// Pops the value given with that option; called before InitWindow.
NSIS_PLUGIN_FUNCTION(OpenOnFolderPage);
// Starts the main program LumoraTerminater closed, if it closed one.
NSIS_PLUGIN_FUNCTION(RestartMainProgram);
// Pops a folder, pushes the folder the install goes to (one of Lumora's own).
NSIS_PLUGIN_FUNCTION(ResolveFolder);
// Pops the folder and the room the install takes in KiB; pushes why the install
// cannot go there, or "" when it can. The custom page judges by the same rule.
NSIS_PLUGIN_FUNCTION(CheckRoom);
// Pops the source and the target file; pushes why the copy failed, or "".
NSIS_PLUGIN_FUNCTION(CopyStagedFile);
// Pops the installation folder and removes what is Lumora's there; pushes an
// own file that could not be removed, or "". The uninstall window's last page
// says when the user's files kept the folder.
NSIS_PLUGIN_FUNCTION(RemoveOwnFiles);
// Pops a program's path and starts it as the signed-in user where the desktop
// shell can be asked to, else directly.
NSIS_PLUGIN_FUNCTION(StartProgram);
// An update run (see CUpdateProgressRelay): UpdateRun pushes "1" for one, "0"
// otherwise; UpdateProgress pops a position of the 0..30000 range;
// UpdateInstalled reports the finished installation, UpdateFailed ends the
// reports.
NSIS_PLUGIN_FUNCTION(UpdateRun);
NSIS_PLUGIN_FUNCTION(UpdateProgress);
NSIS_PLUGIN_FUNCTION(UpdateInstalled);
NSIS_PLUGIN_FUNCTION(UpdateFailed);

// Exported beside the installer's functions; the installer never calls them.
extern "C" int fnNsisPlugin();
extern "C" int nNsisPlugin;

// The answer the plug-in gives every installer notification: 0.
UINT_PTR PluginCallback(TNsisPluginMessage message);
