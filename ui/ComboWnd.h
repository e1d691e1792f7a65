#pragma once
#include "WindowManagerUI.h"
#include "WindowWnd.h"

class CComboUI;
class CVerticalLayoutUI;

// The drop-down of a combo box: a popup below (or, near the screen's bottom, above)
// the combo that borrows the combo's rows while it is open. It closes on a click on
// a row, Enter, Escape (which restores the selection it opened with) or when it
// loses the focus, and deletes itself when its window is gone.
class CComboWnd : public CWindowWnd
{
public:
    CComboWnd();

    // Opens the drop-down; false when no window could be made.
    bool Init(CComboUI* pOwner);
    // Scrolls the drop-down so the row is seen (nothing while the combo has no selection).
    void EnsureVisible(int iIndex);
    CVerticalLayoutUI* GetLayout() const;

protected:
    LPCWSTR GetWindowClassName() const override;
    LRESULT HandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam) override;
    void OnFinalMessage(HWND hWnd) override;

private:
    RECT DropRect() const;
    void OnCreate();
    void ShowSelection();
    // The rows go back to the combo; safe to call more than once.
    void ReturnItems(bool bFocusOwner);
    bool OnKeyDown(WPARAM wParam);
    void OnMouseWheel(WPARAM wParam);
    void OnButtonUp(LPARAM lParam);
    void SendToOwner(TEventTypeUI type, WPARAM wParam);

    CWindowManagerUI m_pm;
    CComboUI* m_pOwner;
    CVerticalLayoutUI* m_pLayout;
    int m_iOldSel;
    bool m_bItemsReturned;
};
