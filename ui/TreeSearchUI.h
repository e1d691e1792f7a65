#pragma once
#include <windows.h>

class CControlUI;

// The searches a window manager makes in its control tree, each one walk of
// CControlUI::FindControl.
class CTreeSearchUI
{
public:
    // The topmost visible control that takes hits at the point.
    static CControlUI* ControlAt(CControlUI* pRoot, POINT pt);
    // The tab stop after (or before) pFocus; forward it wraps to the first one, backward
    // from the first it gives the last one.
    static CControlUI* NextTabStop(CControlUI* pRoot, CControlUI* pFocus, bool bForward);
    // The control that an Alt + ch shortcut (ch in upper case) activates.
    static CControlUI* ShortcutTarget(CControlUI* pRoot, wchar_t ch);
    static CControlUI* FirstNeedingUpdate(CControlUI* pRoot);

private:
    static CControlUI* CALLBACK FromPoint(CControlUI* pThis, LPVOID pData);
    static CControlUI* CALLBACK FromTab(CControlUI* pThis, LPVOID pData);
    static CControlUI* CALLBACK FromShortcut(CControlUI* pThis, LPVOID pData);
    static CControlUI* CALLBACK FromUpdate(CControlUI* pThis, LPVOID pData);
};
