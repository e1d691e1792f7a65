#pragma once
#include <windows.h>

namespace UpdUI {

class CControlUI;

// The searches a window manager makes in its control tree, each one walk of
// CControlUI::FindControl with one of the manager's search callbacks.
class CTreeSearchUI
{
public:
    // What the tab-order callback keeps while it walks.
    struct TTabSearchUI
    {
        CControlUI* pFocus; // the start; null: the first tab stop
        CControlUI* pLast;  // the last tab stop seen
        bool bForward;
        bool bNextIsIt; // the start was passed
    };
    // What the shortcut callback keeps while it walks.
    struct TShortcutSearchUI
    {
        wchar_t ch; // upper case
        bool bPickNext;
    };

    // The topmost visible control that takes hits at the point.
    static CControlUI* ControlAt(CControlUI* pRoot, POINT pt);
    // The tab stop after (or before) pStart; forward it wraps to the first one,
    // backward from the first it gives the last one.
    static CControlUI* NextTabStop(CControlUI* pRoot, CControlUI* pStart, bool bForward);
    // The tab stop before pStart, or null when it is the first.
    static CControlUI* TabStopBefore(CControlUI* pRoot, CControlUI* pStart);
    // The control that an Alt + ch shortcut activates; a label passes its shortcut on
    // to the next control.
    static CControlUI* ShortcutTarget(CControlUI* pRoot, wchar_t ch);
    static CControlUI* FirstNeedingUpdate(CControlUI* pRoot);
};

} // namespace UpdUI
