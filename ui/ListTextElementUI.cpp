#include "ListTextElementUI.h"

#include <cwchar>

#include "ListItemBehaviorUI.h"

CListTextElementUI::CListTextElementUI() : m_nLinks(0), m_rcLinks(), m_nHoverLink(-1) { }

CListTextElementUI::~CListTextElementUI() = default;

LPCWSTR CListTextElementUI::GetControlClass() const
{
    return L"ListTextElementUI";
}

LPVOID CListTextElementUI::GetInterface(LPCWSTR pstrName)
{
    if (pstrName != nullptr &&
        (wcscmp(pstrName, L"ListTextElement") == 0 || wcscmp(pstrName, L"ListLabelElement") == 0))
        return this;
    return CListElementUI::GetInterface(pstrName);
}

UINT CListTextElementUI::GetControlFlags() const
{
    return IsEnabled() && m_nLinks > 0 ? UIFLAG_WANTRETURN | UIFLAG_SETCURSOR : UIFLAG_WANTRETURN;
}

int CListTextElementUI::GetLinkCount() const
{
    return m_nLinks;
}

RECT CListTextElementUI::GetLinkRect(int iLink) const
{
    if (iLink < 0 || iLink >= m_nLinks) return RECT{ 0, 0, 0, 0 };
    return m_rcLinks[iLink];
}

CStringUI CListTextElementUI::GetLinkText(int iLink) const
{
    if (iLink < 0 || iLink >= m_nLinks) return CStringUI();
    return m_sLinks[iLink];
}

int CListTextElementUI::LinkAt(POINT pt) const
{
    for (int i = 0; i < m_nLinks; i++) {
        if (::PtInRect(&m_rcLinks[i], pt)) return i;
    }
    return -1;
}

bool CListTextElementUI::HandleLinkEvent(TEventRecUI& event)
{
    switch (event.type) {
    case EventSetCursor:
        if (LinkAt(event.mousePoint) < 0) return false;
        ::SetCursor(::LoadCursorW(nullptr, MAKEINTRESOURCEW(32649))); // IDC_HAND
        return true;
    case EventButtonUp: {
        const int iLink = IsEnabled() ? LinkAt(event.mousePoint) : -1;
        if (iLink < 0) return false;
        if (m_pManager != nullptr) m_pManager->SendNotify(this, NotifyLink, static_cast<WPARAM>(iLink));
        return true;
    }
    case EventMouseMove: {
        if (m_nLinks <= 0) return false;
        const int iHover = LinkAt(event.mousePoint);
        if (iHover != m_nHoverLink) {
            m_nHoverLink = iHover;
            CListItemBehaviorUI::InvalidateItem(this);
        }
        return false;
    }
    case EventMouseLeave:
        if (m_nLinks > 0 && m_nHoverLink >= 0) {
            CListItemBehaviorUI::InvalidateItem(this);
            m_nHoverLink = -1;
        }
        return false;
    default: return false;
    }
}

void CListTextElementUI::DoTextEvent(TEventRecUI& event)
{
    if (!IsMouseEnabled() && IsMouseEvent(event.type)) {
        if (m_pList != nullptr)
            m_pList->DoEvent(event);
        else
            CListElementUI::DoEvent(event);
        return;
    }
    if (HandleLinkEvent(event)) return;
    CListElementUI::DoEvent(event);
}

void CListTextElementUI::DoEvent(TEventRecUI& event)
{
    DoTextEvent(event);
}

SIZE CListTextElementUI::EstimateSize(SIZE /*szAvailable*/)
{
    SIZE sz = m_cxyFixed;
    if (sz.cy != 0 || m_pManager == nullptr) return sz;
    sz.cy = m_pManager->GetDefaultFontInfo().tmHeight + 8;
    TListInfoUI* pInfo = m_pList != nullptr ? m_pList->GetListInfo() : nullptr;
    if (pInfo != nullptr) sz.cy += pInfo->rcTextPadding.top + pInfo->rcTextPadding.bottom;
    return sz;
}

// Links of all columns share the slots: each column's links follow the previous
// column's, so every link found stays clickable until the slots are full.
void CListTextElementUI::DrawItemText(HDC hDC, const RECT& rcItem)
{
    if (m_pList == nullptr) return;
    IListTextSourceUI* pSource = m_pList->GetTextSource();
    TListInfoUI* pInfo = m_pList->GetListInfo();
    if (pSource == nullptr || pInfo == nullptr) return;
    m_nLinks = 0;
    const DWORD dwColor = CurrentTextColor();
    const int nColumns = pInfo->nColumns < UILIST_MAX_COLUMNS ? pInfo->nColumns : UILIST_MAX_COLUMNS;
    for (int i = 0; i < nColumns; i++) {
        const RECT rcCell = { pInfo->rcColumn[i].left, rcItem.top, pInfo->rcColumn[i].right, rcItem.bottom };
        LPCWSTR pstrText = pSource->GetItemText(this, m_iIndex, i);
        if (pstrText == nullptr) continue;
        int nFound = MAX_LINKS - m_nLinks;
        CListItemBehaviorUI::DrawCellText(hDC, m_pManager, rcCell, pstrText, *pInfo, dwColor, m_rcLinks + m_nLinks,
                                          m_sLinks + m_nLinks, nFound);
        if (nFound > 0) m_nLinks += nFound;
    }
}
