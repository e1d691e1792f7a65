#include "TabLayoutUI.h"

#include <cwchar>

#include "LayoutMathUI.h"

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

// The container's Add goes through the virtual AddAt; the base insertion is called
// directly so the page rules below run once.
bool CTabLayoutUI::Add(CControlUI* pControl)
{
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
    const int iInserted = GetItemIndex(pControl);
    if (m_iCurSel == -1 && pControl->IsVisible()) {
        m_iCurSel = iInserted;
        return true;
    }
    // A page inserted at or before the shown one moves it along; either way only
    // the shown page stays visible.
    if (m_iCurSel != -1 && iInserted <= m_iCurSel) m_iCurSel++;
    pControl->SetVisible(false);
    return true;
}

bool CTabLayoutUI::Remove(CControlUI* pControl)
{
    const int iIndex = GetItemIndex(pControl);
    if (!CContainerUI::Remove(pControl)) return false;
    if (iIndex == m_iCurSel) {
        if (GetCount() > 0) {
            m_iCurSel = 0;
            GetItemAt(0)->SetVisible(true);
        } else {
            m_iCurSel = -1;
        }
        NeedParentUpdate();
    } else if (iIndex < m_iCurSel) {
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
    if (iIndex == m_iCurSel) return true;
    m_iCurSel = iIndex;
    for (int i = 0; i < GetCount(); i++) {
        CControlUI* pControl = GetItemAt(i);
        if (i == iIndex) {
            pControl->SetVisible(true);
            pControl->SetFocus();
        } else {
            pControl->SetVisible(false);
        }
    }
    NeedParentUpdate();
    if (m_pManager != nullptr) m_pManager->SetNextTabControl(true);
    return true;
}

// Only the shown page is placed, over the inner rectangle less its padding; scroll
// bars play no part.
void CTabLayoutUI::SetPos(RECT rc)
{
    CControlUI::SetPos(rc);
    const RECT rcInner = GetInnerRect();
    for (int i = 0; i < GetCount(); i++) {
        CControlUI* pControl = GetItemAt(i);
        if (pControl->IsFloat()) {
            SetFloatPos(i);
            continue;
        }
        if (i != m_iCurSel) continue;
        const RECT rcPadding = pControl->GetPadding();
        RECT rcPage = rcInner;
        rcPage.left += rcPadding.left;
        rcPage.top += rcPadding.top;
        rcPage.right -= rcPadding.right;
        rcPage.bottom -= rcPadding.bottom;
        const SIZE szAvailable = { rcPage.right - rcPage.left, rcPage.bottom - rcPage.top };
        SIZE sz = pControl->EstimateSize(szAvailable);
        if (sz.cx == 0) sz.cx = CLayoutMathUI::AtLeastZero(szAvailable.cx);
        if (sz.cy == 0) sz.cy = CLayoutMathUI::AtLeastZero(szAvailable.cy);
        sz = CLayoutMathUI::ClampSize(pControl, sz);
        pControl->SetPos(RECT{ rcPage.left, rcPage.top, rcPage.left + sz.cx, rcPage.top + sz.cy });
    }
}
