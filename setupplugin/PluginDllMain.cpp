#include <windows.h>

#include "PluginState.h"
#include "uishared/PaintCacheUI.h"
#include "UILib.h"

// Window classes of the plug-in's windows belong to the DLL, not to the installer.
extern "C" BOOL WINAPI DllMain(HINSTANCE hInstance, DWORD dwReason, LPVOID lpReserved)
{
    if (dwReason == DLL_PROCESS_ATTACH) {
        PluginState().moduleInstance = hInstance;
        CWindowManagerUI::SetInstance(hInstance);
    }
    // Unloaded by the installer, which then deletes this file with its temporary
    // folder: the painting objects of the threads that painted go first.
    if (dwReason == DLL_THREAD_DETACH || (dwReason == DLL_PROCESS_DETACH && lpReserved == nullptr))
        UIShared::CPaintCacheUI::ReleaseForThisThread();
    return TRUE;
}
