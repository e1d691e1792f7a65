#pragma once
#include "NsisPluginApi.h"

// The functions the installer script calls by name, in the order it uses them:
// SetRequiredSpace, InitWindow, ShowWnd, StartInstall or StartUnInstall, then
// (install) ShowFinish and GetSetupData or (uninstall) UninstallFin; UserCancel,
// LumoraTerminater and RestartMainProgram stand on their own. ShowFinish and
// UninstallFin run loops over the window: call them from a page callback, on the
// installer's window thread, never from section code.
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
// until the user leaves it.
NSIS_PLUGIN_FUNCTION(ShowFinish);
// Starts the main program LumoraTerminater closed, if it closed one.
NSIS_PLUGIN_FUNCTION(RestartMainProgram);
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
