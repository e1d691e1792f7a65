#include "TextUI.h"

#include <cwchar>

#include "ControlStateUI.h"
#include "PainterUI.h"

namespace UpdUI {

namespace {

const int kMeasureHeight = 9999;

} // namespace

CTextUI::CTextUI() : m_nLinks(0), m_rcLinks(), m_nHoverLink(-1)
{
    m_uTextStyle = DT_WORDBREAK;
    m_rcTextPadding.left = 2;
    m_rcTextPadding.right = 2;
}

CTextUI::~CTextUI() = default;

LPCWSTR CTextUI::GetControlClass() const
{
    return L"TextUI";
}

LPVOID CTextUI::GetInterface(LPCWSTR pstrName)
{
    if (pstrName != nullptr && wcscmp(pstrName, L"Text") == 0) return this;
    return CLabelUI::GetInterface(pstrName);
}

UINT CTextUI::GetControlFlags() const
{
    return IsEnabled() && m_nLinks > 0 ? UIFLAG_SETCURSOR : 0;
}

int CTextUI::GetLinkCount() const
{
    return m_nLinks;
}

RECT CTextUI::GetLinkRect(int iIndex) const
{
    RECT rc = {};
    if (iIndex >= 0 && iIndex < m_nLinks) rc = m_rcLinks[iIndex];
    return rc;
}

CStringUI CTextUI::GetLinkContent(int iIndex) const
{
    if (iIndex < 0 || iIndex >= m_nLinks) return CStringUI();
    return m_sLinks[iIndex];
}

int CTextUI::GetHotLink() const
{
    return m_nHoverLink;
}

int CTextUI::LinkAt(POINT pt) const
{
    for (int i = 0; i < m_nLinks; ++i) {
        if (::PtInRect(&m_rcLinks[i], pt)) return i;
    }
    return -1;
}

void CTextUI::DoEvent(TEventRecUI& event)
{
    if (!IsMouseEnabled() && IsMouseEvent(event.type)) {
        if (m_pParent != nullptr)
            m_pParent->DoEvent(event);
        else
            CLabelUI::DoEvent(event);
        return;
    }
    int iLink = LinkAt(event.mousePoint);
    switch (event.type) {
    case EventSetCursor:
        if (iLink < 0) break;
        ::SetCursor(::LoadCursorW(nullptr, IDC_HAND));
        return;
    case EventButtonDown:
    case EventDoubleClick:
        if (iLink < 0 || (event.type == EventDoubleClick && !IsEnabled())) break;
        Invalidate();
        return;
    case EventButtonUp:
        if (iLink < 0 || !IsEnabled()) break;
        if (m_pManager != nullptr) m_pManager->SendNotify(this, L"link", static_cast<WPARAM>(iLink));
        return;
    case EventContextMenu: return;
    case EventMouseMove:
        if (!IsEnabled() || m_nLinks == 0) break;
        if (iLink != m_nHoverLink) {
            m_nHoverLink = iLink;
            Invalidate();
        }
        return;
    case EventMouseLeave:
        if (m_nHoverLink < 0) break;
        m_nHoverLink = -1;
        Invalidate();
        return;
    default: break;
    }
    CLabelUI::DoEvent(event);
}

// The text wraps inside the available width (or the fixed width when wider); the fixed
// height, when set, wins over the measured one.
SIZE CTextUI::EstimateSize(SIZE szAvailable)
{
    if (m_pManager == nullptr || m_pManager->GetPaintDC() == nullptr) return CLabelUI::EstimateSize(szAvailable);
    int cxWidth = m_cxyFixed.cx > szAvailable.cx ? m_cxyFixed.cx : szAvailable.cx;
    RECT rcText = { m_rcTextPadding.left, 0, cxWidth - m_rcTextPadding.right, kMeasureHeight };
    UINT uStyle = m_uTextStyle | DT_CALCRECT;
    if (m_bShowHtml) {
        int nLinks = 0;
        CPainterUI::DrawMarkupText(m_pManager->GetPaintDC(), m_pManager, rcText, m_sText.GetData(), 0, nullptr, nullptr,
                                   nLinks, uStyle);
    } else {
        CPainterUI::DrawPlainText(m_pManager->GetPaintDC(), m_pManager, rcText, m_sText.GetData(), 0, m_iFont, uStyle);
    }
    SIZE sz = { rcText.right - rcText.left + m_rcTextPadding.left + m_rcTextPadding.right,
                rcText.bottom - rcText.top + m_rcTextPadding.top + m_rcTextPadding.bottom };
    if (m_cxyFixed.cy != 0) sz.cy = m_cxyFixed.cy;
    return sz;
}

// Whether the tagged text may open a link ("<a" or "{a"); a false alarm only costs speed.
bool CTextUI::MayHoldLinks() const
{
    LPCWSTR pstrText = m_sText.GetData();
    return wcsstr(pstrText, L"<a") != nullptr || wcsstr(pstrText, L"{a") != nullptr;
}

void CTextUI::PaintText(HDC hDC)
{
    FillDefaultColors();
    if (m_sText.IsEmpty()) {
        m_nLinks = 0;
        return;
    }
    DWORD dwColor = IsEnabled() ? m_dwTextColor : m_dwDisabledTextColor;
    RECT rc = GetTextRect();
    if (m_bShowHtml && !MayHoldLinks()) {
        m_nLinks = 0;
        DrawLabelText(hDC, rc, dwColor, m_uTextStyle);
    } else if (m_bShowHtml) {
        // Links need their places and the hover colour of every paint: drawn directly.
        m_nLinks = MAX_LINK;
        CPainterUI::DrawMarkupText(hDC, m_pManager, rc, m_sText.GetData(), dwColor, m_rcLinks, m_sLinks, m_nLinks,
                                   m_uTextStyle);
    } else {
        m_nLinks = 0;
        DrawLabelText(hDC, rc, dwColor, m_uTextStyle);
    }
}

} // namespace UpdUI
