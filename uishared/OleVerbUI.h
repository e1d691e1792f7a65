#pragma once
#include <windows.h>
#include <ole2.h>

namespace UIShared {

// The verbs both libraries' ActiveX child window gives its hosted object.
class COleVerbUI
{
public:
    // Runs the verb in hWnd over rcItem, with the client-site face pSite hands out.
    static void DoVerb(IOleObject* pObject, IUnknown* pSite, LONG iVerb, HWND hWnd, RECT rcItem);
    // True when the object asks never to be UI-activated by a click.
    static bool RefusesUIActivate(IOleObject* pObject);
};

} // namespace UIShared
