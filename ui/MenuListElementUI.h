#pragma once
#include <windows.h>

#include "ControlUI.h"
#include "MenuInterfacesUI.h"

// Base of menu items: index, selection, hot state and owner menu; unconsumed events
// go to the menu. Derived items draw their text.
class CMenuListElementUI : public CControlUI, public IMenuListItemUI
{
public:
    CMenuListElementUI();

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
    IMenuListOwnerUI* GetOwner() override;
    void SetOwner(CControlUI* pOwner) override;
    bool IsSelected() const override;
    bool Select(bool bSelect = true) override;
    bool IsExpanded() const override;
    bool Expand(bool bExpand = true) override;

    CStringUI GetLabelName() const;
    CStringUI GetNextMenu() const;
    bool IsHot() const;

protected:
    // Hands an event the item does not use to its menu (or the base without one).
    void PassToOwner(TEventRecUI& event);

    CStringUI m_sLabelName;
    CStringUI m_sNextMenu;
    CStringUI m_sReserved;
    int m_iIndex;
    bool m_bSelected;
    UINT m_uButtonState;
    IMenuListOwnerUI* m_pOwner;
};
