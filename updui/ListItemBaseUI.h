#pragma once
#include <windows.h>

#include <cwchar>

#include "ControlStateUI.h"
#include "ControlUI.h"
#include "ListOwnerUI.h"
#include "ListRowUI.h"

namespace UpdUI {

// The bookkeeping every list row keeps, whether it is a single control or a
// container (TBase): index, selection, hot state and owner; activation by double
// click or ENTER; everything else goes to the owner. DoRowEvent adds the hot, click
// and selection handling of the rows that take the mouse.
template <class TBase> class CListItemBaseUI : public TBase, public IListItemUI
{
public:
    CListItemBaseUI() : m_iIndex(-1), m_bSelected(false), m_uButtonState(0), m_pOwner(nullptr) { }

    LPVOID GetInterface(LPCWSTR pstrName) override
    {
        if (pstrName != nullptr && wcscmp(pstrName, L"ListItem") == 0) return static_cast<IListItemUI*>(this);
        return TBase::GetInterface(pstrName);
    }

    UINT GetControlFlags() const override { return UIFLAG_WANTRETURN; }

    bool Activate() override
    {
        if (!TBase::Activate()) return false;
        if (this->m_pManager != nullptr) this->m_pManager->SendNotify(this, L"itemactivate");
        return true;
    }

    void SetVisible(bool bVisible = true) override
    {
        TBase::SetVisible(bVisible);
        if (!this->IsVisible() && m_bSelected) {
            m_bSelected = false;
            if (m_pOwner != nullptr) m_pOwner->SelectItem(-1, false);
        }
    }

    void SetEnabled(bool bEnable = true) override
    {
        TBase::SetEnabled(bEnable);
        if (!this->IsEnabled()) m_uButtonState = 0;
    }

    void DoEvent(TEventRecUI& event) override
    {
        if (!(IsMouseEvent(event.type) && !this->IsMouseEnabled()) && this->IsEnabled()) {
            if (event.type == EventDoubleClick || (event.type == EventKeyDown && event.keyChar == VK_RETURN)) {
                Activate();
                CListRowUI::InvalidateInParent(this);
                return;
            }
        }
        if (m_pOwner != nullptr)
            m_pOwner->DoEvent(event);
        else
            CControlUI::DoEvent(event);
    }

    void SetAttribute(LPCWSTR pstrName, LPCWSTR pstrValue) override
    {
        if (pstrName != nullptr && pstrValue != nullptr && wcscmp(pstrName, L"selected") == 0)
            Select(true);
        else
            TBase::SetAttribute(pstrName, pstrValue);
    }

    int GetIndex() const override { return m_iIndex; }
    void SetIndex(int iIndex) override { m_iIndex = iIndex; }
    IListOwnerUI* GetOwner() override { return m_pOwner; }

    void SetOwner(CControlUI* pOwner) override
    {
        m_pOwner = pOwner != nullptr ? static_cast<IListOwnerUI*>(pOwner->GetInterface(L"IListOwner")) : nullptr;
    }

    bool IsSelected() const override { return m_bSelected; }

    // The owner is told first so that it can drop the row it had selected; it calls
    // back here, and the unchanged flag ends that round trip.
    bool Select(bool bSelect = true) override
    {
        if (!this->IsEnabled()) return false;
        if (bSelect == m_bSelected) return true;
        m_bSelected = bSelect;
        if (bSelect && m_pOwner != nullptr) m_pOwner->SelectItem(m_iIndex, false);
        CListRowUI::InvalidateInParent(this);
        return true;
    }

    bool IsExpanded() const override { return false; }
    bool Expand(bool /*bExpand*/ = true) override { return false; }

    UINT GetState() const { return m_uButtonState; }

    void DrawItemBk(HDC hDC, const RECT& /*rcItem*/)
    {
        TListInfoUI* pInfo = m_pOwner != nullptr ? m_pOwner->GetListInfo() : nullptr;
        CListRowUI::DrawItemBk(this, hDC, pInfo, m_iIndex, m_uButtonState, m_bSelected, this->m_sBkImage);
    }

protected:
    // A mouse event the row does not take goes to the owner (or the base without
    // one); then the hot, click and selection handling; then what DoEvent does.
    void DoRowEvent(TEventRecUI& event)
    {
        if (IsMouseEvent(event.type) && !this->IsMouseEnabled()) {
            if (m_pOwner != nullptr)
                m_pOwner->DoEvent(event);
            else
                TBase::DoEvent(event);
            return;
        }
        if (HandleRowMouse(event)) return;
        CListItemBaseUI::DoEvent(event);
    }

    // False when the event is not one of the row's mouse events.
    bool HandleRowMouse(TEventRecUI& event)
    {
        switch (event.type) {
        case EventMouseMove:
        case EventButtonUp: return true;
        case EventMouseLeave:
            if ((m_uButtonState & UISTATE_HOT) != 0) {
                m_uButtonState &= ~UISTATE_HOT;
                CListRowUI::InvalidateInParent(this);
            }
            return true;
        case EventMouseEnter:
            if (this->IsEnabled()) {
                m_uButtonState |= UISTATE_HOT;
                CListRowUI::InvalidateInParent(this);
            }
            return true;
        case EventButtonDown:
        case EventRightButtonDown:
            if (this->IsEnabled()) {
                if (this->m_pManager != nullptr) this->m_pManager->SendNotify(this, L"itemclick");
                Select(true);
                CListRowUI::InvalidateInParent(this);
            }
            return true;
        default: return false;
        }
    }

    int m_iIndex;
    bool m_bSelected;
    UINT m_uButtonState;
    IListOwnerUI* m_pOwner;
};

} // namespace UpdUI
