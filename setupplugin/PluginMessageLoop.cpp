#include "PluginMessageLoop.h"

#include "PluginState.h"
#include "SetupWnd.h"
#include "UILib.h"

// The flag is read right after the message whose handler cleared it, so the
// loop neither waits for one more message nor swallows it.
BOOL RunPluginMessageLoop()
{
    MSG msg = {};
    BOOL bRet = 0;
    while ((bRet = ::GetMessageW(&msg, nullptr, 0, 0)) > 0) {
        if (!CurrentSetupWindow().TranslateKey(msg) && !CWindowManagerUI::PreTranslateAll(&msg)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
        if (PluginState().pluginRunFlag == 0) break;
    }
    // The installer's own loop must see a quit request too.
    if (bRet == 0) ::PostQuitMessage(static_cast<int>(msg.wParam));
    return bRet;
}
