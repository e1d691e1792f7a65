#pragma once
#include "ControlUI.h"
#include "ListOwnerUI.h"

// What every list row shares, whether it is a plain control or a container: how it
// invalidates itself inside a scrolled parent, paints its state background and text
// in the owner's item style, and turns mouse and key events into selection,
// activation and click notifications.
class CListItemBehaviorUI
{
public:
    // Only the part of the row the parent shows (inside its inset and bars) is redrawn.
    static void InvalidateItem(CControlUI* pItem);

    static void PaintBackground(CControlUI* pItem, HDC hDC, const RECT& rcPaint, TListInfoUI* pInfo, bool bHot,
                                bool bSelected);
    static DWORD TextColor(const TListInfoUI& info, bool bHot, bool bSelected, bool bEnabled);
    // One cell: rc shrunk by the text padding, single line, as markup or plain text.
    // With markup, found links are stored from prcLinks on; nLinks is their capacity
    // on entry and their number on return.
    static void DrawCellText(HDC hDC, CWindowManagerUI* pManager, RECT rc, LPCWSTR pstrText, const TListInfoUI& info,
                             DWORD dwColor, RECT* prcLinks, CStringUI* psLinks, int& nLinks);

    // The row's share of mouse and key handling; false when the event is not one of
    // them and belongs to the owner.
    static bool HandleEvent(CControlUI* pItem, IListItemUI* pFace, IListUI* pList, UINT& uButtonState,
                            TEventRecUI& event);

private:
    static bool DrawStateImage(HDC hDC, CWindowManagerUI* pManager, const RECT& rcItem, const RECT& rcPaint,
                               CStringUI& sImage);
    static void OnLeftDown(CControlUI* pItem, IListItemUI* pFace, IListUI* pList);
    static void OnRightDown(CControlUI* pItem, IListItemUI* pFace, IListUI* pList, UINT& uButtonState);
    static bool OnRightUp(CControlUI* pItem, UINT& uButtonState, const TEventRecUI& event);
};
