// Entry of the updater: the first run relocates the updater into a temporary
// folder; the copy runs the wizard and finally starts the finisher.
#pragma once

#include <windows.h>

int UpdaterMain(HINSTANCE instance, HINSTANCE previous, LPWSTR commandLine, int showCommand);
