#pragma once
#include <windows.h>

#include "ControlUI.h"
#include "ListOwnerUI.h"

namespace UpdUI {

// What the plain rows and the container rows share: redrawing only the part of the row
// its parent shows, the state background in the owner's style, and the text colour
// of a state.
class CListRowUI
{
public:
    // Rows live in scrolled parents: only the part inside the parent's inner rectangle
    // (and every further ancestor) is redrawn.
    static void InvalidateInParent(CControlUI* pRow);

    // ownBkImage is the row's own background image (emptied when it fails to draw).
    static void DrawItemBk(CControlUI* pRow, HDC hDC, TListInfoUI* pInfo, int iIndex, UINT uState, bool bSelected,
                           CStringUI& ownBkImage);
    static DWORD TextColor(const TListInfoUI& info, UINT uState, bool bSelected, bool bEnabled);
};

} // namespace UpdUI
