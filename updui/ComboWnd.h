#pragma once
#include <windows.h>

#include "WindowManagerUI.h"
#include "WindowWnd.h"

namespace UpdUI {

class CComboUI;
class CVerticalLayoutUI;

// The drop-down of a combo box: a borderless pop-up below (or above) the combo that
// lends the combo's rows to a scrolling vertical layout until it closes.
class CComboWnd : public CWindowWnd
{
public:
    CComboWnd();

    bool Init(CComboUI* pOwner);
    CVerticalLayoutUI* GetLayout() const;
    CWindowManagerUI* GetManager();
    // The combo is going away: its rows come back and the window closes at once.
    void DetachOwner();

protected:
    LPCWSTR GetWindowClassName() const override;
    LRESULT HandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam) override;
    void OnFinalMessage(HWND hWnd) override;

private:
    RECT DropRect() const;
    void OnCreate();
    void ReturnRows(bool bFocusOwner);
    void EnsureVisible(int iIndex);
    void SendToOwner(int type, WPARAM wParam);
    bool OnKeyDown(WPARAM wParam);
    void OnButtonUp(LPARAM lParam);

    CWindowManagerUI m_pm;
    CComboUI* m_pOwner;
    CVerticalLayoutUI* m_pLayout;
    int m_iOldSel;
    bool m_bRowsReturned;
};

} // namespace UpdUI
