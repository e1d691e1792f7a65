#pragma once
#include <cwchar>

#include "ControlStateUI.h"
#include "ControlUI.h"
#include "FaceOfUI.h"
#include "ListItemBehaviorUI.h"
#include "ListOwnerUI.h"

// The bookkeeping every list row keeps, whether it is a single control or a
// container (TBase): its index, selected state, hot and right-pressed state and its
// owner, and the events and attributes that act on them. The rows differ in how
// they paint and in what a change of selection does to their content (OnSelect).
template <class TBase> class CListItemBaseUI : public TBase, public IListItemUI
{
public:
    CListItemBaseUI() : m_iIndex(-1), m_bSelected(false), m_uButtonState(0), m_pOwner(nullptr), m_pList(nullptr) { }

    LPVOID GetInterface(LPCWSTR pstrName) override
    {
        if (pstrName != nullptr && wcscmp(pstrName, L"ListItem") == 0) return static_cast<IListItemUI*>(this);
        return TBase::GetInterface(pstrName);
    }

    UINT GetControlFlags() const override { return UIFLAG_WANTRETURN; }

    bool Activate() override
    {
        if (!TBase::Activate()) return false;
        if (this->m_pManager != nullptr) this->m_pManager->SendNotify(this, NotifyItemActivate);
        return true;
    }

    void SetVisible(bool bVisible = true) override
    {
        TBase::SetVisible(bVisible);
        if (this->IsVisible() || !m_bSelected) return;
        m_bSelected = false;
        if (m_pOwner != nullptr) m_pOwner->SelectItem(-1);
    }

    void SetEnabled(bool bEnable = true) override
    {
        TBase::SetEnabled(bEnable);
        if (!this->IsEnabled()) m_uButtonState = 0;
    }

    // A mouse event the row does not take goes to the owner (or the base without
    // one); so does any event the row's handling leaves, except that without an
    // owner the control's own handling ends it.
    void DoEvent(TEventRecUI& event) override
    {
        if (!this->IsMouseEnabled() && IsMouseEvent(event.type)) {
            if (m_pOwner != nullptr)
                m_pOwner->DoEvent(event);
            else
                TBase::DoEvent(event);
            return;
        }
        if (CListItemBehaviorUI::HandleEvent(this, this, m_pList, m_uButtonState, event)) return;
        if (m_pOwner != nullptr)
            m_pOwner->DoEvent(event);
        else
            CControlUI::DoEvent(event);
    }

    void SetAttribute(LPCWSTR pstrName, LPCWSTR pstrValue) override
    {
        if (wcscmp(pstrName, L"selected") == 0)
            Select(true);
        else
            TBase::SetAttribute(pstrName, pstrValue);
    }

    int GetIndex() const override { return m_iIndex; }
    void SetIndex(int iIndex) override { m_iIndex = iIndex; }
    IListOwnerUI* GetOwner() override { return m_pOwner; }

    void SetOwner(CControlUI* pOwner) override
    {
        m_pOwner = FaceOfUI<IListOwnerUI>(pOwner, L"ListOwner");
        m_pList = pOwner != nullptr ? static_cast<IListUI*>(pOwner->GetInterface(L"List")) : nullptr;
    }

    bool IsSelected() const override { return m_bSelected; }

    // The owner is told only of a new selection; it calls back here, which then
    // changes nothing.
    bool Select(bool bSelect = true) override
    {
        if (!this->IsEnabled()) return false;
        const bool bChanged = m_bSelected != bSelect;
        m_bSelected = bSelect;
        if (bSelect && bChanged && m_pOwner != nullptr) m_pOwner->SelectItem(m_iIndex);
        OnSelect();
        CListItemBehaviorUI::InvalidateItem(this);
        return true;
    }

    bool IsExpanded() const override { return false; }
    bool Expand(bool /*bExpand*/ = true) override { return false; }

    bool MarkSelected(bool bSelect = true) override
    {
        if (!this->IsEnabled()) return false;
        if (m_bSelected == bSelect) return true;
        m_bSelected = bSelect;
        CListItemBehaviorUI::InvalidateItem(this);
        return true;
    }

    bool IsHot() const { return (m_uButtonState & UISTATE_HOT) != 0; }

protected:
    // What a row does to its content when Select has set its state.
    virtual void OnSelect() { }
    // The owner's item style, or null without an owner.
    TListInfoUI* GetInfo() const { return m_pOwner != nullptr ? m_pOwner->GetListInfo() : nullptr; }

    int m_iIndex;
    bool m_bSelected;
    UINT m_uButtonState;
    IListOwnerUI* m_pOwner;
    IListUI* m_pList; // the owner's list face; null when the owner is no list
};
