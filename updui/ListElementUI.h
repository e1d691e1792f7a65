#pragma once
#include <windows.h>

#include "ControlUI.h"
#include "ListOwnerUI.h"

namespace UpdUI {

// Base of the plain list rows: index, selection, hot state and owner; activation by
// double click or ENTER; everything else goes to the owner.
class CListElementUI : public CControlUI, public IListItemUI
{
public:
    CListElementUI();

    LPCWSTR GetControlClass() const override;
    LPVOID GetInterface(LPCWSTR pstrName) override;
    UINT GetControlFlags() const override;
    bool Activate() override;
    void SetVisible(bool bVisible = true) override;
    void SetEnabled(bool bEnable = true) override;
    void DoEvent(TEventRecUI& event) override;
    void SetAttribute(LPCWSTR pstrName, LPCWSTR pstrValue) override;

    int GetIndex() const override;
    void SetIndex(int iIndex) override;
    IListOwnerUI* GetOwner() override;
    void SetOwner(CControlUI* pOwner) override;
    bool IsSelected() const override;
    bool Select(bool bSelect = true) override;
    bool IsExpanded() const override;
    bool Expand(bool bExpand = true) override;

    UINT GetState() const;
    void DrawItemBk(HDC hDC, const RECT& rcItem);

protected:
    int m_iIndex;
    bool m_bSelected;
    UINT m_uButtonState;
    IListOwnerUI* m_pOwner;
};

} // namespace UpdUI
