#pragma once
#include <windows.h>

#include "ContainerUI.h"
#include "MenuInterfacesUI.h"
#include "MenuPlacementUI.h"

class CMenuWnd;

// A skinned popup menu. The items live in the host window's tree but are neither
// placed nor drawn there: Activate opens a "CMenuWnd" popup at the cursor and lends
// it the items; an item naming another menu of the same window opens it beside the
// popup. Choosing an item posts UIMSG_MENU_COMMAND with its "labelid" to the host
// window and closes every popup. Any other child counts as a separator.
class CMenuUI : public CContainerUI, public IMenuListOwnerUI
{
public:
    CMenuUI();
    ~CMenuUI() override;

    LPCWSTR GetControlClass() const override;
    LPVOID GetInterface(LPCWSTR pstrName) override;
    UINT GetControlFlags() const override;
    bool Activate() override;
    CStringUI GetText() const override;
    void SetPos(RECT rc) override;
    void SetEnabled(bool bEnable = true) override;
    void DoEvent(TEventRecUI& event) override;
    void SetAttribute(LPCWSTR pstrName, LPCWSTR pstrValue) override;
    SIZE EstimateSize(SIZE szAvailable) override;
    void DoPaint(HDC hDC, const RECT& rcPaint) override;

    bool SetItemIndex(CControlUI* pControl, int iIndex) override;
    bool Add(CControlUI* pControl) override;
    bool AddAt(CControlUI* pControl, int iIndex) override;
    bool Remove(CControlUI* pControl) override;
    bool RemoveAt(int iIndex) override;
    void RemoveAll() override;

    TMenuInfoUI* GetMenuInfo() override;
    int GetCurSel() const override;
    bool SelectItem(int iIndex) override;

    // Opens this menu as the sub-menu of an item of the parent popup.
    bool ActivateBeside(const RECT& rcParent, const RECT& rcItem, HWND hWndTopMenu);

    CMenuWnd* GetMenuWindow() const;
    void SetMenuWindow(CMenuWnd* pWindow);
    HWND GetTopMenuWindow() const;
    int GetMenuWidth() const;
    SIZE GetMenuCorner() const;
    // The host window: the one holding the menu control.
    HWND GetHostWindow() const;
    // Gives the items back to the host tree after a popup had them.
    void TakeBackItems();

    // Measures and sizes the popup of this menu.
    int GetItemHeight();
    int MeasureItemText(LPCWSTR pstrText, int nHeight);
    // Width of one line of item text in the item style (markup when it shows html).
    static int MeasureText(CWindowManagerUI* pManager, const TMenuInfoUI& info, LPCWSTR pstrText, int nHeight);
    CMenuPlacementUI::TMenuSizeUI MeasurePopup(int iFirstSeparatorItem);

private:
    void SetItemAlign(LPCWSTR pstrValue);
    void RenumberItems(int iFrom);
    static void SetImageWithDest(CStringUI& sImage, LPCWSTR pstrValue, LPCWSTR pstrDest);
    void EnsureNextImageDest(int nWidth);
    static SIZE MonitorSizeOf(HWND hWnd);
    void OpenPopup(const RECT& rcWindow, HWND hWndTopMenu);

    CMenuWnd* m_pWindow;
    int m_nMenuWidth;
    SIZE m_szMenuCorner;
    int m_iCurSel;
    HWND m_hTopMenuWnd;
    TMenuInfoUI m_menuInfo;
};
