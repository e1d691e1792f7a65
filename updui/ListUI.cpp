#include "ListUI.h"

#include <algorithm>
#include <cwchar>

#include "AttributeValueUI.h"
#include "ControlStateUI.h"
#include "ListBodyUI.h"
#include "ListHeaderUI.h"
#include "ScrollBarUI.h"

namespace UpdUI {

namespace {

IListItemUI* ItemFace(CControlUI* pControl)
{
    return pControl != nullptr ? static_cast<IListItemUI*>(pControl->GetInterface(L"ListItem")) : nullptr;
}

} // namespace

CListUI::CListUI()
    : m_bScrollSelect(false), m_iCurSel(-1), m_iExpandedItem(-1), m_pTextSource(nullptr), m_pBody(nullptr),
      m_pHeader(nullptr)
{
    m_pBody = new CListBodyUI(this);
    m_pHeader = new CListHeaderUI;
    Add(m_pHeader);
    CContainerUI::AddAt(m_pBody, m_items.GetCount());
}

CListUI::~CListUI() = default;

LPCWSTR CListUI::GetControlClass() const
{
    return L"ListUI";
}

LPVOID CListUI::GetInterface(LPCWSTR pstrName)
{
    if (pstrName == nullptr) return nullptr;
    if (wcscmp(pstrName, L"List") == 0) return this;
    if (wcscmp(pstrName, L"IList") == 0 || wcscmp(pstrName, L"IListOwner") == 0) return static_cast<IListUI*>(this);
    return CVerticalLayoutUI::GetInterface(pstrName);
}

UINT CListUI::GetControlFlags() const
{
    return UIFLAG_TABSTOP;
}

// ---------------------------------------------------------------- layout and columns

void CListUI::UpdateColumnCount()
{
    m_ListInfo.nColumns =
        m_pHeader != nullptr ? (std::min)(m_pHeader->GetCount(), static_cast<int>(UILIST_MAX_COLUMNS)) : 0;
}

void CListUI::SetPos(RECT rc)
{
    CVerticalLayoutUI::SetPos(rc);
    if (m_pHeader == nullptr) return;
    UpdateColumnCount();
    const bool bHidden = !m_pHeader->IsVisible();
    if (bHidden) {
        for (int i = 0; i < m_pHeader->GetCount(); ++i) m_pHeader->GetItemAt(i)->SetInternalVisible(true);
        m_pHeader->SetPos(RECT{ rc.left, 0, rc.right, 0 });
    }
    const int cxScroll = m_pBody->GetScrollPos().cx;
    for (int i = 0; i < m_ListInfo.nColumns; ++i) {
        CControlUI* pItem = m_pHeader->GetItemAt(i);
        if (!pItem->IsVisible() || pItem->IsFloat()) continue;
        if (cxScroll > 0) {
            RECT rcItem = pItem->GetPos();
            ::OffsetRect(&rcItem, -cxScroll, 0);
            pItem->SetPos(rcItem);
        }
        m_ListInfo.rcColumn[i] = pItem->GetPos();
    }
    if (bHidden) {
        for (int i = 0; i < m_pHeader->GetCount(); ++i) m_pHeader->GetItemAt(i)->SetInternalVisible(false);
    }
}

void CListUI::MoveColumns(int dx)
{
    UpdateColumnCount();
    for (int i = 0; i < m_ListInfo.nColumns; ++i) {
        CControlUI* pItem = m_pHeader->GetItemAt(i);
        if (!pItem->IsVisible() || pItem->IsFloat()) continue;
        RECT rcItem = pItem->GetPos();
        ::OffsetRect(&rcItem, -dx, 0);
        pItem->SetPos(rcItem);
        m_ListInfo.rcColumn[i] = pItem->GetPos();
    }
}

void CListUI::ScrollHeader(int dx)
{
    if (m_pHeader == nullptr) return;
    const bool bHidden = !m_pHeader->IsVisible();
    if (bHidden) {
        for (int i = 0; i < m_pHeader->GetCount(); ++i) m_pHeader->GetItemAt(i)->SetInternalVisible(true);
    }
    MoveColumns(dx);
    if (bHidden) {
        for (int i = 0; i < m_pHeader->GetCount(); ++i) m_pHeader->GetItemAt(i)->SetInternalVisible(false);
    }
    m_pHeader->Invalidate();
}

// ---------------------------------------------------------------- child list

bool CListUI::IsHeader(CControlUI* pControl) const
{
    return pControl != nullptr && pControl->GetInterface(L"ListHeader") != nullptr;
}

bool CListUI::IsHeaderItem(CControlUI* pControl) const
{
    LPCWSTR pstrClass = pControl != nullptr ? pControl->GetControlClass() : nullptr;
    return pstrClass != nullptr && wcsstr(pstrClass, L"ListHeaderItemUI") != nullptr;
}

// A header from the markup replaces the built-in one while that has no columns.
bool CListUI::AddHeader(CControlUI* pControl)
{
    if (pControl != m_pHeader && (m_pHeader == nullptr || m_pHeader->GetCount() == 0)) {
        if (m_pHeader != nullptr) CContainerUI::Remove(m_pHeader);
        m_pHeader = static_cast<CListHeaderUI*>(pControl->GetInterface(L"ListHeader"));
    }
    bool bAdded = CContainerUI::AddAt(pControl, 0);
    UpdateColumnCount();
    return bAdded;
}

CControlUI* CListUI::GetItemAt(int iIndex) const
{
    return m_pBody->GetItemAt(iIndex);
}

int CListUI::GetItemIndex(CControlUI* pControl) const
{
    if (IsHeader(pControl)) return CContainerUI::GetItemIndex(pControl);
    if (IsHeaderItem(pControl)) return m_pHeader != nullptr ? m_pHeader->GetItemIndex(pControl) : -1;
    return m_pBody->GetItemIndex(pControl);
}

int CListUI::GetCount() const
{
    return m_pBody->GetCount();
}

void CListUI::Renumber(int iFrom, int iTo)
{
    for (int i = (std::max)(iFrom, 0); i <= iTo && i < m_pBody->GetCount(); ++i) {
        IListItemUI* pItem = ItemFace(m_pBody->GetItemAt(i));
        if (pItem != nullptr) pItem->SetIndex(i);
    }
}

bool CListUI::SetItemIndex(CControlUI* pControl, int iIndex)
{
    if (IsHeader(pControl)) return CContainerUI::SetItemIndex(pControl, iIndex);
    if (IsHeaderItem(pControl)) return m_pHeader != nullptr && m_pHeader->SetItemIndex(pControl, iIndex);
    int iOld = m_pBody->GetItemIndex(pControl);
    if (iOld < 0) return false;
    if (iOld == iIndex) return true;
    CControlUI* pSelected = m_iCurSel >= 0 ? m_pBody->GetItemAt(m_iCurSel) : nullptr;
    if (!m_pBody->SetItemIndex(pControl, iIndex)) return false;
    Renumber((std::min)(iOld, iIndex), (std::max)(iOld, iIndex));
    if (pSelected != nullptr) m_iCurSel = m_pBody->GetItemIndex(pSelected);
    return true;
}

bool CListUI::Add(CControlUI* pControl)
{
    if (pControl == nullptr) return false;
    if (IsHeader(pControl)) return AddHeader(pControl);
    if (IsHeaderItem(pControl)) {
        if (m_pHeader == nullptr) return false;
        bool bAdded = m_pHeader->Add(pControl);
        UpdateColumnCount();
        return bAdded;
    }
    IListItemUI* pItem = ItemFace(pControl);
    if (pItem != nullptr) {
        pItem->SetOwner(this);
        pItem->SetIndex(GetCount());
    }
    return m_pBody->Add(pControl);
}

bool CListUI::AddAt(CControlUI* pControl, int iIndex)
{
    if (pControl == nullptr) return false;
    if (IsHeader(pControl)) return AddHeader(pControl);
    if (IsHeaderItem(pControl)) {
        if (m_pHeader == nullptr) return false;
        bool bAdded = m_pHeader->AddAt(pControl, iIndex);
        UpdateColumnCount();
        return bAdded;
    }
    if (!m_pBody->AddAt(pControl, iIndex)) return false;
    IListItemUI* pItem = ItemFace(pControl);
    if (pItem != nullptr) {
        pItem->SetOwner(this);
        pItem->SetIndex(iIndex);
    }
    Renumber(iIndex + 1, GetCount() - 1);
    if (m_iCurSel >= iIndex) m_iCurSel += 1;
    return true;
}

// The selection stays on its row; removing the selected row selects the nearest
// selectable row at or before its place.
bool CListUI::RemoveRow(int iIndex)
{
    if (!m_pBody->RemoveAt(iIndex)) return false;
    Renumber(iIndex, GetCount() - 1);
    if (iIndex == m_iCurSel) {
        m_iCurSel = -1;
        SelectItem(m_pBody->FindSelectable(iIndex, false), false);
    } else if (iIndex < m_iCurSel) {
        m_iCurSel -= 1;
    }
    if (iIndex == m_iExpandedItem)
        m_iExpandedItem = -1;
    else if (iIndex < m_iExpandedItem)
        m_iExpandedItem -= 1;
    return true;
}

bool CListUI::Remove(CControlUI* pControl)
{
    if (pControl == nullptr) return false;
    if (IsHeader(pControl)) {
        if (!CContainerUI::Remove(pControl)) return false;
        if (pControl == m_pHeader) {
            m_pHeader = nullptr;
            m_ListInfo.nColumns = 0;
        }
        return true;
    }
    if (IsHeaderItem(pControl)) {
        if (m_pHeader == nullptr || !m_pHeader->Remove(pControl)) return false;
        UpdateColumnCount();
        return true;
    }
    int iIndex = m_pBody->GetItemIndex(pControl);
    return iIndex >= 0 && RemoveRow(iIndex);
}

bool CListUI::RemoveAt(int iIndex)
{
    return m_pBody->GetItemAt(iIndex) != nullptr && RemoveRow(iIndex);
}

void CListUI::RemoveAll()
{
    m_iCurSel = -1;
    m_iExpandedItem = -1;
    m_pBody->RemoveAll();
}

// ---------------------------------------------------------------- selection

bool CListUI::SelectItem(int iIndex, bool bTakeFocus)
{
    if (iIndex == m_iCurSel) return true;
    int iOldSel = m_iCurSel;
    if (m_iCurSel >= 0) {
        IListItemUI* pOld = ItemFace(GetItemAt(m_iCurSel));
        if (pOld != nullptr) pOld->Select(false);
        m_iCurSel = -1;
    }
    if (iIndex < 0) return false;
    CControlUI* pControl = GetItemAt(iIndex);
    IListItemUI* pItem = ItemFace(pControl);
    if (pItem == nullptr || !pControl->IsVisible() || !pControl->IsEnabled()) return false;
    m_iCurSel = iIndex;
    if (!pItem->Select(true)) {
        m_iCurSel = -1;
        return false;
    }
    EnsureVisible(m_iCurSel);
    if (bTakeFocus) pControl->SetFocus();
    if (m_pManager != nullptr)
        m_pManager->SendNotify(this, L"itemselect", static_cast<WPARAM>(iIndex), static_cast<LPARAM>(iOldSel));
    return true;
}

bool CListUI::ExpandItem(int iIndex, bool bExpand)
{
    if (m_iExpandedItem >= 0 && !m_ListInfo.bMultiExpandable) {
        IListItemUI* pExpanded = ItemFace(GetItemAt(m_iExpandedItem));
        if (pExpanded != nullptr) pExpanded->Expand(false);
        m_iExpandedItem = -1;
    }
    if (bExpand) {
        CControlUI* pControl = GetItemAt(iIndex);
        IListItemUI* pItem = ItemFace(pControl);
        if (pItem == nullptr || !pControl->IsVisible()) return false;
        m_iExpandedItem = iIndex;
        if (!pItem->Expand(true)) {
            m_iExpandedItem = -1;
            return false;
        }
    }
    NeedUpdate();
    return true;
}

int CListUI::GetExpandedItem() const
{
    return m_iExpandedItem;
}

TListInfoUI* CListUI::GetListInfo()
{
    return &m_ListInfo;
}

int CListUI::GetCurSel() const
{
    return m_iCurSel;
}

CListHeaderUI* CListUI::GetHeader() const
{
    return m_pHeader;
}

CListBodyUI* CListUI::GetListBody() const
{
    return m_pBody;
}

IListTextSourceUI* CListUI::GetTextSource() const
{
    return m_pTextSource;
}

void CListUI::SetTextSource(IListTextSourceUI* pSource)
{
    m_pTextSource = pSource;
    Invalidate();
}

bool CListUI::IsScrollSelect() const
{
    return m_bScrollSelect;
}

void CListUI::SetScrollSelect(bool bScrollSelect)
{
    m_bScrollSelect = bScrollSelect;
}

void CListUI::EnsureVisible(int iIndex)
{
    if (m_iCurSel < 0) return;
    CControlUI* pRow = GetItemAt(iIndex);
    if (pRow == nullptr) return;
    RECT rcList = m_pBody->GetPos();
    RECT rcInset = m_pBody->GetInset();
    rcList.top += rcInset.top;
    rcList.bottom -= rcInset.bottom;
    CScrollBarUI* pBar = m_pBody->GetHorizontalScrollBar();
    if (pBar != nullptr && pBar->IsVisible()) rcList.bottom -= pBar->GetFixedHeight();
    const RECT& rcRow = pRow->GetPos();
    if (rcRow.top >= rcList.top && rcRow.bottom < rcList.bottom) return;
    int dy = rcRow.bottom >= rcList.bottom ? rcRow.bottom - rcList.bottom : rcRow.top - rcList.top;
    Scroll(0, dy);
}

void CListUI::Scroll(int dx, int dy)
{
    if (dx == 0 && dy == 0) return;
    SIZE sz = m_pBody->GetScrollPos();
    m_pBody->SetScrollPos(SIZE{ sz.cx + dx, sz.cy + dy });
}

// ---------------------------------------------------------------- events

bool CListUI::HandleKey(const TEventRecUI& event)
{
    switch (event.keyChar) {
    case VK_RETURN:
        if (m_iCurSel >= 0 && GetItemAt(m_iCurSel) != nullptr) GetItemAt(m_iCurSel)->Activate();
        return true;
    case VK_PRIOR: PageUp(); return true;
    case VK_NEXT: PageDown(); return true;
    case VK_HOME: SelectItem(m_pBody->FindSelectable(0, false), true); return true;
    case VK_END: SelectItem(m_pBody->FindSelectable(GetCount() - 1, true), true); return true;
    case VK_UP: SelectItem(m_pBody->FindSelectable(m_iCurSel - 1, false), true); return true;
    case VK_DOWN: SelectItem(m_pBody->FindSelectable(m_iCurSel + 1, true), true); return true;
    default: return false;
    }
}

bool CListUI::HandleWheel(const TEventRecUI& event)
{
    if (event.wParam == 0) {
        if (m_bScrollSelect)
            SelectItem(m_pBody->FindSelectable(m_iCurSel - 1, false), true);
        else
            LineUp();
        return true;
    }
    if (event.wParam == 1) {
        if (m_bScrollSelect)
            SelectItem(m_pBody->FindSelectable(m_iCurSel + 1, true), true);
        else
            LineDown();
        return true;
    }
    return false;
}

void CListUI::DoEvent(TEventRecUI& event)
{
    if (IsMouseEvent(event.type) && !IsMouseEnabled()) {
        if (m_pParent != nullptr)
            m_pParent->DoEvent(event);
        else
            CVerticalLayoutUI::DoEvent(event);
        return;
    }
    if (event.type == EventSetFocus) {
        m_bFocused = true;
        return;
    }
    if (event.type == EventKillFocus) {
        m_bFocused = false;
        return;
    }
    if (event.type == EventKeyDown && HandleKey(event)) return;
    if (event.type == EventScrollWheel && HandleWheel(event)) return;
    CVerticalLayoutUI::DoEvent(event);
}

void CListUI::SetAttribute(LPCWSTR pstrName, LPCWSTR pstrValue)
{
    if (pstrName == nullptr || pstrValue == nullptr) return;
    bool bLayout = false;
    if (wcscmp(pstrName, L"header") == 0) {
        if (m_pHeader != nullptr) m_pHeader->SetVisible(wcscmp(pstrValue, L"hidden") != 0);
    } else if (wcscmp(pstrName, L"headerbkimage") == 0) {
        if (m_pHeader != nullptr) m_pHeader->SetBkImage(pstrValue);
    } else if (wcscmp(pstrName, L"scrollselect") == 0) {
        SetScrollSelect(CAttributeValueUI::IsTrue(pstrValue));
    } else if (wcscmp(pstrName, L"multiexpanding") == 0) {
        m_ListInfo.bMultiExpandable = CAttributeValueUI::IsTrue(pstrValue);
    } else if (m_ListInfo.SetItemAttribute(pstrName, pstrValue, &bLayout)) {
        if (bLayout)
            NeedUpdate();
        else
            Invalidate();
        return;
    } else {
        CVerticalLayoutUI::SetAttribute(pstrName, pstrValue);
        return;
    }
    CVerticalLayoutUI::SetAttribute(pstrName, pstrValue);
}

// ---------------------------------------------------------------- the body's part

int CListUI::GetChildPadding() const
{
    return m_pBody->GetChildPadding();
}

void CListUI::SetChildPadding(int iPadding)
{
    m_pBody->SetChildPadding(iPadding);
}

SIZE CListUI::GetScrollPos() const
{
    return m_pBody->GetScrollPos();
}

SIZE CListUI::GetScrollRange() const
{
    return m_pBody->GetScrollRange();
}

void CListUI::SetScrollPos(SIZE szPos)
{
    m_pBody->SetScrollPos(szPos);
}

void CListUI::LineUp()
{
    m_pBody->LineUp();
}

void CListUI::LineDown()
{
    m_pBody->LineDown();
}

void CListUI::PageUp()
{
    m_pBody->PageUp();
}

void CListUI::PageDown()
{
    m_pBody->PageDown();
}

void CListUI::HomeUp()
{
    m_pBody->HomeUp();
}

void CListUI::EndDown()
{
    m_pBody->EndDown();
}

void CListUI::LineLeft()
{
    m_pBody->LineLeft();
}

void CListUI::LineRight()
{
    m_pBody->LineRight();
}

void CListUI::PageLeft()
{
    m_pBody->PageLeft();
}

void CListUI::PageRight()
{
    m_pBody->PageRight();
}

void CListUI::HomeLeft()
{
    m_pBody->HomeLeft();
}

void CListUI::EndRight()
{
    m_pBody->EndRight();
}

void CListUI::EnableScrollBar(bool bEnableVertical, bool bEnableHorizontal)
{
    m_pBody->EnableScrollBar(bEnableVertical, bEnableHorizontal);
}

CScrollBarUI* CListUI::GetVerticalScrollBar() const
{
    return m_pBody->GetVerticalScrollBar();
}

CScrollBarUI* CListUI::GetHorizontalScrollBar() const
{
    return m_pBody->GetHorizontalScrollBar();
}

} // namespace UpdUI
