#pragma once
#include <windows.h>

#include "PtrArrayUI.h"
#include "WindowManagerUI.h"
#include "WindowWnd.h"

class CMenuUI;
class CVerticalLayoutUI;

// The popup window of an open menu: it borrows the menu's items into a vertical
// layout of its own manager, opens sub-menus beside itself and closes the whole
// chain when an item is chosen, on Enter or Escape, or when the focus leaves the
// menu's popups.
class CMenuWnd : public CWindowWnd
{
public:
    explicit CMenuWnd(CMenuUI* pMenu);

    CMenuUI* GetMenu() const;
    CMenuUI* GetOpenSubMenu() const;
    CWindowManagerUI& GetManager();

    // The process-wide list of open menu popups.
    static void ClearPopupList();
    static void AddPopup(HWND hWnd);
    static bool IsPopup(HWND hWnd);
    static int GetPopupCount();

protected:
    LPCWSTR GetWindowClassName() const override;
    LRESULT HandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam) override;
    void OnFinalMessage(HWND hWnd) override;

private:
    void OnCreate();
    void OnSize(WPARAM wParam);
    void OnKillFocus(HWND hWndNew);
    void OnKeyDown(WPARAM wParam, LPARAM lParam);
    void OpenSubMenu(LPCWSTR pstrName, const RECT* pItemRect);
    void CloseSubMenu();
    void CheckItem(int iIndex, bool bCheck);
    void CloseChain();
    HWND SubMenuWindow() const;

    CWindowManagerUI m_pm;
    CMenuUI* m_pMenu;
    CMenuUI* m_pOpenSubMenu;
    CVerticalLayoutUI* m_pRoot;

    static CPtrArrayUI m_aPopups;
};
