#pragma once
#include "NsisPluginApi.h"

// The functions the installer script calls by name, in the order it uses them:
// InitWindow, ShowWnd, StartInstall or StartUnInstall, (uninstall) UninstallFin,
// GetSetupData; UserCancel and LumoraTerminater stand on their own.
NSIS_PLUGIN_FUNCTION(InitWindow);
NSIS_PLUGIN_FUNCTION(ShowWnd);
NSIS_PLUGIN_FUNCTION(StartInstall);
NSIS_PLUGIN_FUNCTION(StartUnInstall);
NSIS_PLUGIN_FUNCTION(UninstallFin);
NSIS_PLUGIN_FUNCTION(UserCancel);
NSIS_PLUGIN_FUNCTION(GetSetupData);
NSIS_PLUGIN_FUNCTION(LumoraTerminater);

// Exported beside the installer's functions; the installer never calls them.
extern "C" int fnNsisPlugin();
extern "C" int nNsisPlugin;

// The answer the plug-in gives every installer notification: 0.
UINT_PTR PluginCallback(TNsisPluginMessage message);
