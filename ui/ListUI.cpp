#include "ListUI.h"

#include <cwchar>

#include "AttributeValueUI.h"
#include "FaceOfUI.h"
#include "ItemAlignUI.h"
#include "ItemStyleAttributesUI.h"
#include "ListBodyUI.h"
#include "ListHeaderUI.h"
#include "ScrollbarUI.h"

CListUI::CListUI()
    : m_iCurSel(-1), m_iPendingVisible(-1), m_iPendingPosition(-1), m_iExpandedItem(-1), m_pTextSource(nullptr),
      m_pBody(new CListBodyUI(this)), m_pHeader(new CListHeaderUI), m_bOwnLayout(false)
{
    // The container's own insertion: the list's Add would send the body into itself.
    CContainerUI::AddAt(m_pHeader, 0);
    CContainerUI::AddAt(m_pBody, 1);
}

CListUI::~CListUI() = default;

LPCWSTR CListUI::GetControlClass() const
{
    return L"ListUI";
}

LPVOID CListUI::GetInterface(LPCWSTR pstrName)
{
    if (pstrName != nullptr && wcscmp(pstrName, L"List") == 0) return static_cast<IListUI*>(this);
    if (pstrName != nullptr && wcscmp(pstrName, L"ListOwner") == 0) return static_cast<IListOwnerUI*>(this);
    return CContainerUI::GetInterface(pstrName);
}

UINT CListUI::GetControlFlags() const
{
    return UIFLAG_TABSTOP;
}

// ---------------------------------------------------------------------------
// Layout

void CListUI::SetPos(RECT rc)
{
    m_bOwnLayout = true;
    CVerticalLayoutUI::SetPos(rc);
    m_bOwnLayout = false;
    if (m_pHeader == nullptr) return;
    const bool bHidden = !m_pHeader->IsVisible();
    if (bHidden) {
        // The rows still draw in columns: the hidden header is laid out to give them widths.
        ShowHeaderItems(true);
        m_pHeader->SetPos(RECT{ rc.left, 0, rc.right, 0 });
    }
    const int cxScroll = m_pBody->GetScrollPos().cx;
    UpdateColumns(cxScroll > 0 ? cxScroll : 0);
    if (bHidden) ShowHeaderItems(false);
}

void CListUI::ShowHeaderItems(bool bVisible)
{
    for (int i = 0; i < m_pHeader->GetCount(); i++) m_pHeader->GetItemAt(i)->SetInternalVisible(bVisible);
}

void CListUI::UpdateColumns(int dx)
{
    const int nCount = m_pHeader->GetCount();
    m_ListInfo.nColumns = nCount < UILIST_MAX_COLUMNS ? nCount : UILIST_MAX_COLUMNS;
    for (int i = 0; i < nCount; i++) {
        CControlUI* pItem = m_pHeader->GetItemAt(i);
        if (!pItem->IsVisible() || pItem->IsFloat()) continue;
        RECT rcItem = pItem->GetPos();
        if (dx != 0) {
            ::OffsetRect(&rcItem, -dx, 0);
            pItem->SetPos(rcItem);
        }
        if (i < UILIST_MAX_COLUMNS) m_ListInfo.rcColumn[i] = pItem->GetPos();
    }
}

void CListUI::ScrollHeader(int dx)
{
    if (m_pHeader == nullptr) return;
    const bool bHidden = !m_pHeader->IsVisible();
    if (bHidden) ShowHeaderItems(true);
    UpdateColumns(dx);
    if (bHidden) ShowHeaderItems(false);
}

void CListUI::EnsureVisible(int iIndex, int iPosition)
{
    m_iPendingVisible = iIndex;
    m_iPendingPosition = iPosition;
    if (m_iCurSel < 0) return;
    CControlUI* pItem = m_pBody->GetItemAt(iIndex);
    if (pItem == nullptr) return;
    const RECT rcItem = pItem->GetPos();
    if (::IsRectEmpty(&rcItem)) return; // not laid out yet: the next paint does it
    m_iPendingVisible = -1;
    m_iPendingPosition = -1;

    const RECT rcBody = m_pBody->GetPos();
    const RECT rcInset = m_pBody->GetInset();
    const int cyTop = rcBody.top + rcInset.top;
    int cyBottom = rcBody.bottom - rcInset.bottom;
    CScrollbarUI* pBar = m_pBody->GetHorizontalScrollBar();
    if (pBar != nullptr && pBar->IsVisible()) cyBottom -= pBar->GetFixedHeight();
    if (rcItem.top >= cyTop && rcItem.bottom < cyBottom) return;

    int dy = 0;
    if (iPosition < 0) {
        if (rcItem.top < cyTop)
            dy = rcItem.top - cyTop;
        else if (rcItem.bottom > cyBottom)
            dy = rcItem.bottom - cyBottom;
    } else {
        dy = rcItem.top - (cyTop + iPosition * (rcItem.bottom - rcItem.top));
    }
    if (dy == 0) return;
    SIZE sz = m_pBody->GetScrollPos();
    sz.cy += dy;
    m_pBody->SetScrollPos(sz);
}

void CListUI::DoPaint(HDC hDC, const RECT& rcPaint)
{
    CVerticalLayoutUI::DoPaint(hDC, rcPaint);
    if (m_iPendingVisible >= 0) EnsureVisible(m_iPendingVisible, m_iPendingPosition);
}

// ---------------------------------------------------------------------------
// Events

void CListUI::SelectByKey(int iIndex)
{
    if (iIndex < 0) return; // nothing selectable that way: the selection stays
    SelectItem(iIndex);
    EnsureVisible(m_iCurSel, -1);
}

bool CListUI::HandleKey(TEventRecUI& event)
{
    switch (event.keyChar) {
    case VK_RETURN:
        if (m_iCurSel >= 0 && GetItemAt(m_iCurSel) != nullptr) GetItemAt(m_iCurSel)->Activate();
        return true;
    case VK_PRIOR: PageUp(); return true;
    case VK_NEXT: PageDown(); return true;
    case VK_END: SelectByKey(FindSelectable(GetCount() - 1, false)); return true;
    case VK_HOME: SelectByKey(FindSelectable(0, false)); return true;
    case VK_UP: SelectByKey(FindSelectable(m_iCurSel - 1, false)); return true;
    case VK_DOWN: SelectByKey(FindSelectable(m_iCurSel + 1, true)); return true;
    default: return false;
    }
}

void CListUI::DoEvent(TEventRecUI& event)
{
    if (!IsMouseEnabled() && event.type >= EventMouseMove && event.type <= EventScrollWheel) {
        if (m_pParent != nullptr)
            m_pParent->DoEvent(event);
        else
            CContainerUI::DoEvent(event);
        return;
    }
    switch (event.type) {
    case EventSetFocus: m_bFocused = true; return;
    case EventKillFocus: m_bFocused = false; return;
    case EventRightButtonUp:
        if (m_pBody->IsFocused() && m_pManager != nullptr) m_pManager->SendNotify(this, NotifyItemRightClick);
        return;
    case EventKeyDown:
        if (HandleKey(event)) return;
        break;
    case EventScrollWheel:
        if (event.wParam == 0) {
            SelectByKey(FindSelectable(m_iCurSel - 1, false));
            return;
        }
        if (event.wParam == 1) {
            SelectByKey(FindSelectable(m_iCurSel + 1, true));
            return;
        }
        break;
    default: break;
    }
    CControlUI::DoEvent(event);
}

// ---------------------------------------------------------------------------
// Attributes

void CListUI::SetItemAlign(LPCWSTR pstrValue)
{
    m_ListInfo.uTextStyle = CItemAlignUI::Apply(m_ListInfo.uTextStyle, pstrValue);
}

bool CListUI::SetItemAttribute(LPCWSTR pstrName, LPCWSTR pstrValue)
{
    // The text colour goes with a relayout, the other colours and images with a repaint.
    if (wcscmp(pstrName, L"itemtextcolor") == 0) {
        m_ListInfo.dwTextColor = CAttributeValueUI::ParseColor(pstrValue);
        NeedUpdate();
        return true;
    }
    if (CItemStyleAttributesUI::SetColor(m_ListInfo, pstrName, pstrValue)) {
        Invalidate();
        return true;
    }
    CStringUI* pImage = CItemStyleAttributesUI::FindImage(m_ListInfo, pstrName);
    if (pImage != nullptr) {
        SetImage(*pImage, pstrValue);
        return true;
    }
    if (wcscmp(pstrName, L"itemfont") == 0)
        m_ListInfo.nFont = CAttributeValueUI::ParseInt(pstrValue);
    else if (wcscmp(pstrName, L"itemalign") == 0)
        SetItemAlign(pstrValue);
    else if (wcscmp(pstrName, L"itemtextpadding") == 0) {
        m_ListInfo.rcTextPadding = CAttributeValueUI::ParseRect(pstrValue);
        NeedUpdate();
    } else if (wcscmp(pstrName, L"itemshowhtml") == 0)
        SetItemShowHtml(CAttributeValueUI::ParseBool(pstrValue));
    else
        return false;
    return true;
}

// The scroll bars are the body's: each attribute keeps the body's other bar.
void CListUI::SetAttribute(LPCWSTR pstrName, LPCWSTR pstrValue)
{
    if (wcscmp(pstrName, L"header") == 0) {
        if (m_pHeader != nullptr) m_pHeader->SetVisible(wcscmp(pstrValue, L"hidden") != 0);
    } else if (wcscmp(pstrName, L"headerbkimage") == 0) {
        if (m_pHeader != nullptr) m_pHeader->SetBkImage(pstrValue);
    } else if (wcscmp(pstrName, L"expanding") == 0) {
        m_ListInfo.bExpandable = CAttributeValueUI::ParseBool(pstrValue);
    } else if (wcscmp(pstrName, L"multiexpanding") == 0) {
        m_ListInfo.bMultiExpandable = CAttributeValueUI::ParseBool(pstrValue);
    } else if (wcscmp(pstrName, L"multiselect") == 0) {
        m_ListInfo.bMultiSelect = CAttributeValueUI::ParseBool(pstrValue);
    } else if (wcscmp(pstrName, L"vscrollbar") == 0) {
        EnableScrollBar(CAttributeValueUI::ParseBool(pstrValue), GetHorizontalScrollBar() != nullptr);
    } else if (wcscmp(pstrName, L"hscrollbar") == 0) {
        EnableScrollBar(GetVerticalScrollBar() != nullptr, CAttributeValueUI::ParseBool(pstrValue));
    } else if (!SetItemAttribute(pstrName, pstrValue)) {
        CContainerUI::SetAttribute(pstrName, pstrValue);
    }
}

void CListUI::SetItemSelectedImage(LPCWSTR pStrImage)
{
    SetImage(m_ListInfo.sSelectedImage, pStrImage);
}

void CListUI::SetItemHotImage(LPCWSTR pStrImage)
{
    SetImage(m_ListInfo.sHotImage, pStrImage);
}

void CListUI::SetItemDisabledImage(LPCWSTR pStrImage)
{
    SetImage(m_ListInfo.sDisabledImage, pStrImage);
}

void CListUI::SetItemShowHtml(bool bShowHtml)
{
    if (m_ListInfo.bShowHtml == bShowHtml) return;
    m_ListInfo.bShowHtml = bShowHtml;
    NeedUpdate();
}

bool CListUI::IsExpanding() const
{
    return m_ListInfo.bExpandable;
}

bool CListUI::IsMultiExpanding() const
{
    return m_ListInfo.bMultiExpandable;
}

bool CListUI::IsMultiSelect() const
{
    return m_ListInfo.bMultiSelect;
}

// ---------------------------------------------------------------------------
// Rows and header controls

bool CListUI::IsHeaderControl(CControlUI* pControl) const
{
    return pControl->GetInterface(L"ListHeader") != nullptr;
}

bool CListUI::IsHeaderItem(CControlUI* pControl) const
{
    return wcsstr(pControl->GetControlClass(), L"ListHeaderItemUI") != nullptr;
}

IListItemUI* CListUI::ItemFace(int iIndex) const
{
    CControlUI* pControl = m_pBody->GetItemAt(iIndex);
    return FaceOfUI<IListItemUI>(pControl, L"ListItem");
}

void CListUI::Renumber(int iFrom)
{
    for (int i = iFrom < 0 ? 0 : iFrom; i < m_pBody->GetCount(); i++) {
        IListItemUI* pItem = ItemFace(i);
        if (pItem != nullptr) pItem->SetIndex(i);
    }
}

// A markup header replaces the empty default one in its place above the body.
bool CListUI::AddHeader(CControlUI* pControl, int iIndex)
{
    CListHeaderUI* pNew = static_cast<CListHeaderUI*>(pControl->GetInterface(L"ListHeader"));
    if (pNew != m_pHeader && (m_pHeader == nullptr || m_pHeader->GetCount() == 0)) {
        int iAt = iIndex;
        if (m_pHeader != nullptr) {
            const int iOld = CContainerUI::GetItemIndex(m_pHeader);
            if (iAt < 0) iAt = iOld;
            CContainerUI::Remove(m_pHeader);
            m_pHeader = nullptr;
        }
        if (iAt < 0 || iAt > CContainerUI::GetCount()) iAt = CContainerUI::GetCount();
        if (!CContainerUI::AddAt(pControl, iAt)) return false;
        m_pHeader = pNew;
        return true;
    }
    return CContainerUI::AddAt(pControl, iIndex < 0 ? CContainerUI::GetCount() : iIndex);
}

CControlUI* CListUI::GetItemAt(int iIndex) const
{
    return m_pBody->GetItemAt(iIndex);
}

int CListUI::GetItemIndex(CControlUI* pControl) const
{
    if (pControl == nullptr) return -1;
    if (IsHeaderControl(pControl)) return CContainerUI::GetItemIndex(pControl);
    if (IsHeaderItem(pControl)) return m_pHeader != nullptr ? m_pHeader->GetItemIndex(pControl) : -1;
    return m_pBody->GetItemIndex(pControl);
}

int CListUI::GetCount() const
{
    return m_pBody->GetCount();
}

bool CListUI::Add(CControlUI* pControl)
{
    if (pControl == nullptr) return false;
    if (IsHeaderControl(pControl)) return AddHeader(pControl, -1);
    if (IsHeaderItem(pControl)) return m_pHeader != nullptr && m_pHeader->Add(pControl);
    const int iIndex = m_pBody->GetCount();
    if (!m_pBody->Add(pControl)) return false;
    IListItemUI* pItem = FaceOfUI<IListItemUI>(pControl, L"ListItem");
    if (pItem != nullptr) {
        pItem->SetOwner(this);
        pItem->SetIndex(iIndex);
    }
    return true;
}

// Indexes kept by the list (selection, expansion, pending scroll) follow their rows.
bool CListUI::AddAt(CControlUI* pControl, int iIndex)
{
    if (pControl == nullptr) return false;
    if (IsHeaderControl(pControl)) return AddHeader(pControl, iIndex);
    if (IsHeaderItem(pControl)) return m_pHeader != nullptr && m_pHeader->AddAt(pControl, iIndex);
    if (!m_pBody->AddAt(pControl, iIndex)) return false;
    IListItemUI* pItem = FaceOfUI<IListItemUI>(pControl, L"ListItem");
    if (pItem != nullptr) pItem->SetOwner(this);
    Renumber(iIndex);
    if (m_iCurSel >= iIndex) m_iCurSel++;
    if (m_iExpandedItem >= iIndex) m_iExpandedItem++;
    if (m_iPendingVisible >= iIndex) m_iPendingVisible++;
    return true;
}

bool CListUI::Remove(CControlUI* pControl)
{
    if (pControl == nullptr) return false;
    if (IsHeaderControl(pControl)) {
        const bool bCurrent = pControl == m_pHeader;
        if (!CContainerUI::Remove(pControl)) return false;
        if (bCurrent) m_pHeader = nullptr;
        return true;
    }
    if (IsHeaderItem(pControl)) return m_pHeader != nullptr && m_pHeader->Remove(pControl);
    const int iIndex = m_pBody->GetItemIndex(pControl);
    if (iIndex < 0) return false;
    return RemoveAt(iIndex);
}

namespace {

// An index kept by the list after row iRemoved went away: later rows move up, the
// removed row's own index is no longer valid.
int FollowRemoval(int iKept, int iRemoved)
{
    if (iKept == iRemoved) return -1;
    return iKept > iRemoved ? iKept - 1 : iKept;
}

} // namespace

// The removed row's selection passes to the row found from its place; a selection
// elsewhere stays on its row.
bool CListUI::RemoveAt(int iIndex)
{
    if (m_pBody->GetItemAt(iIndex) == nullptr) return false;
    if (!m_pBody->RemoveAt(iIndex)) return false;
    const int iReselect = m_iCurSel == iIndex ? iIndex : FollowRemoval(m_iCurSel, iIndex);
    m_iCurSel = FollowRemoval(m_iCurSel, iIndex);
    m_iExpandedItem = FollowRemoval(m_iExpandedItem, iIndex);
    m_iPendingVisible = FollowRemoval(m_iPendingVisible, iIndex);
    Renumber(iIndex);
    if (iReselect >= 0) SelectItem(FindSelectable(iReselect, false));
    EnsureVisible(m_iCurSel, -1);
    return true;
}

bool CListUI::SetItemIndex(CControlUI* pControl, int iIndex)
{
    if (pControl == nullptr) return false;
    if (IsHeaderControl(pControl)) return CContainerUI::SetItemIndex(pControl, iIndex);
    if (IsHeaderItem(pControl)) return m_pHeader != nullptr && m_pHeader->SetItemIndex(pControl, iIndex);
    if (m_pBody->GetItemIndex(pControl) < 0) return false;
    CControlUI* pSelected = m_pBody->GetItemAt(m_iCurSel);
    CControlUI* pExpanded = m_pBody->GetItemAt(m_iExpandedItem);
    if (!m_pBody->SetItemIndex(pControl, iIndex)) return false;
    Renumber(0);
    m_iCurSel = pSelected != nullptr ? m_pBody->GetItemIndex(pSelected) : -1;
    m_iExpandedItem = pExpanded != nullptr ? m_pBody->GetItemIndex(pExpanded) : -1;
    if (m_iCurSel >= 0) SelectItem(FindSelectable(m_iCurSel, false));
    EnsureVisible(m_iCurSel, -1);
    return true;
}

void CListUI::RemoveAll()
{
    m_iCurSel = -1;
    m_iExpandedItem = -1;
    m_iPendingVisible = -1;
    m_iPendingPosition = -1;
    m_pBody->RemoveAll();
}

// ---------------------------------------------------------------------------
// Forwarded to the body

int CListUI::GetChildPadding() const
{
    return m_pBody->GetChildPadding();
}

void CListUI::SetChildPadding(int iPadding)
{
    m_pBody->SetChildPadding(iPadding);
}

// While the list stacks its own header and body it has no scroll position of its
// own: only the rows in the body scroll.
SIZE CListUI::GetScrollPos() const
{
    if (m_bOwnLayout) return SIZE{ 0, 0 };
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

CScrollbarUI* CListUI::GetVerticalScrollBar() const
{
    return m_pBody->GetVerticalScrollBar();
}

CScrollbarUI* CListUI::GetHorizontalScrollBar() const
{
    return m_pBody->GetHorizontalScrollBar();
}

// ---------------------------------------------------------------------------
// Selection and expansion

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

int CListUI::GetExpandedItem() const
{
    return m_iExpandedItem;
}

bool CListUI::IsSelectable(int iIndex) const
{
    CControlUI* pControl = m_pBody->GetItemAt(iIndex);
    return pControl != nullptr && pControl->IsVisible() && pControl->IsEnabled();
}

bool CListUI::SelectItem(int iIndex)
{
    if (iIndex == m_iCurSel) return true;
    const int iOld = m_iCurSel;
    if (m_iCurSel >= 0) {
        IListItemUI* pOld = ItemFace(m_iCurSel);
        if (pOld != nullptr) pOld->Select(false);
        m_iCurSel = -1;
    }
    IListItemUI* pItem = ItemFace(iIndex);
    if (!IsSelectable(iIndex) || pItem == nullptr) return false;
    m_iCurSel = iIndex;
    if (!pItem->Select(true)) {
        m_iCurSel = -1;
        return false;
    }
    m_pBody->GetItemAt(iIndex)->SetFocus();
    if (m_pManager != nullptr)
        m_pManager->SendNotify(this, NotifyItemSelect, static_cast<WPARAM>(m_iCurSel), static_cast<LPARAM>(iOld));
    return true;
}

void CListUI::ClearMarks()
{
    for (int i = 0; i < m_pBody->GetCount(); i++) {
        IListItemUI* pItem = ItemFace(i);
        if (pItem != nullptr && IsSelectable(i)) pItem->MarkSelected(false);
    }
}

bool CListUI::SelectRangeMarked(int iIndex)
{
    const int iFirst = m_iCurSel < iIndex ? m_iCurSel : iIndex;
    const int iLast = m_iCurSel < iIndex ? iIndex : m_iCurSel;
    for (int i = iFirst; i <= iLast; i++) {
        IListItemUI* pItem = ItemFace(i);
        if (pItem == nullptr || !IsSelectable(i)) return false;
        pItem->MarkSelected(true);
    }
    return true;
}

bool CListUI::ToggleMarked(int iIndex)
{
    IListItemUI* pItem = ItemFace(iIndex);
    if (pItem == nullptr) return false;
    if (pItem->IsSelected()) {
        if (!pItem->MarkSelected(false)) return false;
        if (m_iCurSel == iIndex) m_iCurSel = -1;
    } else {
        if (!pItem->MarkSelected(true)) return false;
        m_iCurSel = iIndex;
    }
    m_pBody->GetItemAt(iIndex)->SetFocus();
    return true;
}

bool CListUI::SelectItemMulti(int iIndex)
{
    if (!IsSelectable(iIndex)) return false;
    if (::GetKeyState(VK_SHIFT) < 0) {
        ClearMarks();
        if (m_iCurSel < 0) return SelectItem(iIndex);
        return SelectRangeMarked(iIndex);
    }
    if (::GetKeyState(VK_CONTROL) < 0) return ToggleMarked(iIndex);
    ClearMarks();
    m_iCurSel = -1;
    return SelectItem(iIndex);
}

bool CListUI::ExpandItem(int iIndex, bool bExpand)
{
    if (!m_ListInfo.bExpandable) return false;
    // The row being opened asks the list back while it opens; closing it then
    // would reopen it through the same call without end.
    const bool bReopening = bExpand && m_iExpandedItem == iIndex;
    if (m_iExpandedItem >= 0 && !m_ListInfo.bMultiExpandable && !bReopening) {
        IListItemUI* pOld = ItemFace(m_iExpandedItem);
        m_iExpandedItem = -1;
        if (pOld != nullptr) pOld->Expand(false);
    }
    if (bExpand) {
        CControlUI* pControl = m_pBody->GetItemAt(iIndex);
        IListItemUI* pItem = ItemFace(iIndex);
        if (pControl == nullptr || !pControl->IsVisible() || pItem == nullptr) return false;
        m_iExpandedItem = iIndex;
        if (!pItem->Expand(true)) {
            m_iExpandedItem = -1;
            return false;
        }
    }
    NeedUpdate();
    return true;
}
