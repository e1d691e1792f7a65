#pragma once
#include <windows.h>

#include "ContainerUI.h"
#include "ListOwnerUI.h"

namespace UpdUI {

// A list row that holds arbitrary controls: selected, activated and drawn in the
// owner's item style like the plain rows.
class CListContainerElementUI : public CContainerUI, public IListItemUI
{
public:
    CListContainerElementUI();

    LPCWSTR GetControlClass() const override;
    LPVOID GetInterface(LPCWSTR pstrName) override;
    UINT GetControlFlags() const override;
    bool Activate() override;
    void SetVisible(bool bVisible = true) override;
    void SetEnabled(bool bEnable = true) override;
    void DoEvent(TEventRecUI& event) override;
    void SetAttribute(LPCWSTR pstrName, LPCWSTR pstrValue) override;
    void DoPaint(HDC hDC, const RECT& rcPaint) override;

    int GetIndex() const override;
    void SetIndex(int iIndex) override;
    IListOwnerUI* GetOwner() override;
    void SetOwner(CControlUI* pOwner) override;
    bool IsSelected() const override;
    bool Select(bool bSelect = true) override;
    bool IsExpanded() const override;
    bool Expand(bool bExpand = true) override;
    void DrawItemText(HDC hDC, const RECT& rcItem) override;

    UINT GetState() const;

private:
    bool HandleRowEvent(TEventRecUI& event);

    int m_iIndex;
    bool m_bSelected;
    UINT m_uButtonState;
    IListOwnerUI* m_pOwner;
};

} // namespace UpdUI
