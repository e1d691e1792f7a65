#include <windows.h>

#include "PluginState.h"
#include "UILib.h"

// Window classes of the plug-in's windows belong to the DLL, not to the installer.
extern "C" BOOL WINAPI DllMain(HINSTANCE hInstance, DWORD dwReason, LPVOID)
{
    if (dwReason == DLL_PROCESS_ATTACH) {
        PluginState().moduleInstance = hInstance;
        CWindowManagerUI::SetInstance(hInstance);
    }
    return TRUE;
}
