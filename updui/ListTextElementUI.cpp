#include "ListTextElementUI.h"

#include <algorithm>
#include <cwchar>

#include "PainterUI.h"
#include "ListRowUI.h"

namespace UpdUI {

CListTextElementUI::CListTextElementUI() : m_nLinks(0), m_rcLinks(), m_nHoverLink(-1), m_pListOwner(nullptr) { }

CListTextElementUI::~CListTextElementUI() = default;

LPCWSTR CListTextElementUI::GetControlClass() const
{
    return L"ListTextElementUI";
}

LPVOID CListTextElementUI::GetInterface(LPCWSTR pstrName)
{
    if (pstrName != nullptr && wcscmp(pstrName, L"ListTextElement") == 0) return this;
    return CListLabelElementUI::GetInterface(pstrName);
}

UINT CListTextElementUI::GetControlFlags() const
{
    return IsEnabled() && m_nLinks > 0 ? UIFLAG_WANTRETURN | UIFLAG_SETCURSOR : UIFLAG_WANTRETURN;
}

int CListTextElementUI::LinkAt(POINT pt) const
{
    for (int i = 0; i < m_nLinks; ++i) {
        if (::PtInRect(&m_rcLinks[i], pt)) return i;
    }
    return -1;
}

void CListTextElementUI::DoEvent(TEventRecUI& event)
{
    int iLink = LinkAt(event.mousePoint);
    if (event.type == EventSetCursor && iLink >= 0) {
        ::SetCursor(::LoadCursorW(nullptr, IDC_HAND));
        return;
    }
    if (event.type == EventButtonUp && IsEnabled() && iLink >= 0) {
        if (m_pManager != nullptr) m_pManager->SendNotify(this, L"link", static_cast<WPARAM>(iLink));
        return;
    }
    if (m_nLinks > 0 && event.type == EventMouseMove && iLink != m_nHoverLink) {
        m_nHoverLink = iLink;
        Invalidate();
    }
    if (m_nLinks > 0 && event.type == EventMouseLeave && m_nHoverLink != -1) {
        m_nHoverLink = -1;
        Invalidate();
    }
    CListLabelElementUI::DoEvent(event);
}

SIZE CListTextElementUI::EstimateSize(SIZE /*szAvailable*/)
{
    SIZE sz = { m_cxyFixed.cx, m_cxyFixed.cy };
    TListInfoUI* pInfo = m_pOwner != nullptr ? m_pOwner->GetListInfo() : nullptr;
    if (sz.cy == 0 && pInfo != nullptr && m_pManager != nullptr) sz.cy = ItemHeight(*pInfo);
    return sz;
}

void CListTextElementUI::SetOwner(CControlUI* pOwner)
{
    CListElementUI::SetOwner(pOwner);
    m_pListOwner = pOwner != nullptr ? static_cast<IListUI*>(pOwner->GetInterface(L"IList")) : nullptr;
}

CStringUI CListTextElementUI::GetColumnText(int iColumn) const
{
    if (iColumn < 0 || iColumn >= static_cast<int>(m_aTexts.size())) return CStringUI();
    return m_aTexts[static_cast<size_t>(iColumn)];
}

void CListTextElementUI::SetColumnText(int iColumn, LPCWSTR pstrText)
{
    if (iColumn < 0 || iColumn >= UILIST_MAX_COLUMNS) return;
    if (iColumn >= static_cast<int>(m_aTexts.size())) m_aTexts.resize(static_cast<size_t>(iColumn) + 1);
    m_aTexts[static_cast<size_t>(iColumn)] = pstrText != nullptr ? pstrText : L"";
    Invalidate();
}

int CListTextElementUI::GetLinkCount() const
{
    return m_nLinks;
}

CStringUI CListTextElementUI::GetLinkText(int iLink) const
{
    if (iLink < 0 || iLink >= m_nLinks) return CStringUI();
    return m_sLinks[iLink];
}

void CListTextElementUI::DrawColumn(HDC hDC, RECT rc, LPCWSTR pstrText, const TListInfoUI& info, DWORD dwColor)
{
    UINT uStyle = info.uTextStyle | DT_SINGLELINE;
    if (!info.bShowHtml) {
        CPainterUI::DrawPlainText(hDC, m_pManager, rc, pstrText, dwColor, info.nFont, uStyle);
        return;
    }
    int nFree = MAX_LINKS - m_nLinks;
    CPainterUI::DrawMarkupText(hDC, m_pManager, rc, pstrText, dwColor, &m_rcLinks[m_nLinks], &m_sLinks[m_nLinks], nFree,
                               uStyle);
    if (nFree > 0) m_nLinks += (std::min)(nFree, MAX_LINKS - m_nLinks);
}

void CListTextElementUI::DrawItemText(HDC hDC, const RECT& rcItem)
{
    if (m_pListOwner == nullptr) return;
    TListInfoUI* pInfo = m_pListOwner->GetListInfo();
    DWORD dwColor = CListRowUI::TextColor(*pInfo, m_uButtonState, m_bSelected, IsEnabled());
    IListTextSourceUI* pSource = m_pListOwner->GetTextSource();
    m_nLinks = 0;
    const int nColumns = (std::min)(pInfo->nColumns, static_cast<int>(UILIST_MAX_COLUMNS));
    for (int i = 0; i < nColumns; ++i) {
        RECT rc = { pInfo->rcColumn[i].left + pInfo->rcTextPadding.left, rcItem.top + pInfo->rcTextPadding.top,
                    pInfo->rcColumn[i].right - pInfo->rcTextPadding.right,
                    rcItem.bottom - pInfo->rcTextPadding.bottom };
        LPCWSTR pstrSourced = pSource != nullptr ? pSource->GetItemText(this, m_iIndex, i) : nullptr;
        CStringUI sText = pSource != nullptr ? CStringUI(pstrSourced != nullptr ? pstrSourced : L"") : GetColumnText(i);
        DrawColumn(hDC, rc, sText.GetData(), *pInfo, dwColor);
    }
    for (int i = m_nLinks; i < MAX_LINKS; ++i) {
        ::SetRectEmpty(&m_rcLinks[i]);
        m_sLinks[i].Empty();
    }
}

} // namespace UpdUI
