#include "TabLayoutUI.h"

#include <cstdlib>
#include <cwchar>

namespace UpdUI {

CTabLayoutUI::CTabLayoutUI() : m_iCurSel(-1) { }

LPCWSTR CTabLayoutUI::GetControlClass() const
{
    return L"TabLayoutUI";
}

LPVOID CTabLayoutUI::GetInterface(LPCWSTR pstrName)
{
    if (pstrName != nullptr && wcscmp(pstrName, L"TabLayout") == 0) return this;
    return CContainerUI::GetInterface(pstrName);
}

int CTabLayoutUI::GetCurSel() const
{
    return m_iCurSel;
}

// The first visible page added becomes the current one; later pages start hidden.
bool CTabLayoutUI::Add(CControlUI* pControl)
{
    // The base Add goes through the virtual AddAt, which would apply the page rules twice.
    if (!CContainerUI::AddAt(pControl, GetCount())) return false;
    if (m_iCurSel == -1 && pControl->IsVisible())
        m_iCurSel = GetItemIndex(pControl);
    else
        pControl->SetVisible(false);
    return true;
}

bool CTabLayoutUI::AddAt(CControlUI* pControl, int iIndex)
{
    if (!CContainerUI::AddAt(pControl, iIndex)) return false;
    if (m_iCurSel == -1 && pControl->IsVisible())
        m_iCurSel = GetItemIndex(pControl);
    else if (m_iCurSel == -1 || m_iCurSel < iIndex)
        pControl->SetVisible(false);
    else
        m_iCurSel++;
    return true;
}

bool CTabLayoutUI::Remove(CControlUI* pControl)
{
    if (pControl == nullptr) return false;
    int iIndex = GetItemIndex(pControl);
    if (!CContainerUI::Remove(pControl)) return false;
    if (m_iCurSel == iIndex) {
        if (GetCount() > 0) {
            m_iCurSel = 0;
            GetItemAt(m_iCurSel)->SetVisible(true);
        } else {
            m_iCurSel = -1;
        }
        NeedParentUpdate();
    } else if (m_iCurSel > iIndex) {
        m_iCurSel--;
    }
    return true;
}

void CTabLayoutUI::RemoveAll()
{
    m_iCurSel = -1;
    CContainerUI::RemoveAll();
    NeedParentUpdate();
}

bool CTabLayoutUI::SelectItem(int iIndex)
{
    if (iIndex < 0 || iIndex >= GetCount()) return false;
    int iOldSel = m_iCurSel;
    m_iCurSel = iIndex;
    for (int i = 0; i < GetCount(); ++i) {
        CControlUI* pControl = GetItemAt(i);
        if (i == iIndex) {
            pControl->SetVisible(true);
            pControl->SetFocus();
            SetPos(m_rcItem);
        } else {
            pControl->SetVisible(false);
        }
    }
    NeedParentUpdate();
    if (m_pManager != nullptr) {
        m_pManager->SetNextTabControl();
        m_pManager->SendNotify(this, L"tabselect", static_cast<WPARAM>(m_iCurSel), static_cast<LPARAM>(iOldSel));
    }
    return true;
}

void CTabLayoutUI::SetAttribute(LPCWSTR pstrName, LPCWSTR pstrValue)
{
    if (pstrName == nullptr || pstrValue == nullptr) return;
    if (wcscmp(pstrName, L"selectedid") == 0) SelectItem(static_cast<int>(wcstol(pstrValue, nullptr, 10)));
    CContainerUI::SetAttribute(pstrName, pstrValue);
}

// Only the current page is placed; the others keep their last position while hidden.
void CTabLayoutUI::SetPos(RECT rc)
{
    CControlUI::SetPos(rc);
    rc = GetInnerRect();
    for (int i = 0; i < GetCount(); ++i) {
        CControlUI* pControl = GetItemAt(i);
        if (!pControl->IsVisible()) continue;
        if (pControl->IsFloat()) {
            SetFloatPos(i);
            continue;
        }
        if (i != m_iCurSel) continue;
        RECT rcPadding = pControl->GetPadding();
        RECT rcPage = { rc.left + rcPadding.left, rc.top + rcPadding.top, rc.right - rcPadding.right,
                        rc.bottom - rcPadding.bottom };
        SIZE szAvailable = { rcPage.right - rcPage.left, rcPage.bottom - rcPage.top };
        SIZE sz = pControl->EstimateSize(szAvailable);
        if (sz.cx == 0) sz.cx = szAvailable.cx > 0 ? szAvailable.cx : 0;
        if (sz.cy == 0) sz.cy = szAvailable.cy > 0 ? szAvailable.cy : 0;
        sz.cx = ClampToLimits(sz.cx, pControl->GetMinWidth(), pControl->GetMaxWidth());
        sz.cy = ClampToLimits(sz.cy, pControl->GetMinHeight(), pControl->GetMaxHeight());
        RECT rcCtrl = { rcPage.left, rcPage.top, rcPage.left + sz.cx, rcPage.top + sz.cy };
        pControl->SetPos(rcCtrl);
    }
}

} // namespace UpdUI
