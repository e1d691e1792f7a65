#pragma once
#include <windows.h>

// Runs the plug-in's windows (and the installer's own, which share the thread)
// until a window handler clears the plug-in's run flag or the thread is asked to
// quit. Returns the last GetMessageW result.
BOOL RunPluginMessageLoop();
