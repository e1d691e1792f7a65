#pragma once
#include "ControlUI.h"
#include "ListOwnerUI.h"

// Base of the rows that are single controls (label, text and expand rows): index,
// selected state, hot and right-pressed state and the owner, painted in the owner's
// item style. Subclasses draw the text.
class CListElementUI : public CControlUI, public IListItemUI
{
public:
    CListElementUI();

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
    bool MarkSelected(bool bSelect = true) override;

    bool IsHot() const;

protected:
    // The owner's item style, or null without an owner.
    TListInfoUI* GetInfo() const;
    DWORD CurrentTextColor() const;
    // Label steps of the event handling, then the owner (or the base without one).
    void DoLabelEvent(TEventRecUI& event);

    int m_iIndex;
    bool m_bSelected;
    UINT m_uButtonState;
    IListOwnerUI* m_pOwner;
    IListUI* m_pList; // the owner's list face; null when the owner is no list
};
