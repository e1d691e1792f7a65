#pragma once
#include <windows.h>
#include <mshtmhst.h>

class CControlUI;

// What every hosted web browser is told by its document host, shared by the plain
// ActiveX site and the HTML control: no 3-D border, the context menu becomes a
// notification, and the keys that would navigate or open browser dialogs are eaten.
class CDocHostRulesUI
{
public:
    static HRESULT ShowContextMenu(CControlUI* pSender, DWORD dwID);
    static HRESULT GetHostInfo(DOCHOSTUIINFO* pInfo);
    static HRESULT TranslateAccelerator(const MSG* pMsg);
};
