#include "TextUI.h"

#include <cwchar>

#include "PainterUI.h"

namespace {

const int kMeasureHeight = 9999;

} // namespace

CTextUI::CTextUI() : m_nLinks(0), m_rcLinks{}, m_nHoverLink(-1)
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

LPCWSTR CTextUI::GetLinkContent(int iIndex) const
{
    if (iIndex < 0 || iIndex >= m_nLinks) return nullptr;
    return m_sLinks[iIndex].GetData();
}

int CTextUI::GetHotLink() const
{
    return m_nHoverLink;
}

int CTextUI::LinkAt(POINT pt) const
{
    for (int i = 0; i < m_nLinks; i++) {
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
    if (HandleLinkEvent(event)) return;
    CLabelUI::DoEvent(event);
}

bool CTextUI::HandleLinkEvent(const TEventRecUI& event)
{
    const int iLink = LinkAt(event.mousePoint);
    switch (event.type) {
    case EventSetCursor:
        if (iLink < 0) return false;
        ::SetCursor(::LoadCursor(nullptr, IDC_HAND));
        return true;
    case EventButtonDown:
    case EventDoubleClick:
        if (!IsEnabled() || iLink < 0) return false;
        Invalidate();
        return true;
    case EventButtonUp:
        if (!IsEnabled() || iLink < 0) return false;
        if (m_pManager != nullptr) m_pManager->SendNotify(this, NotifyLink, static_cast<WPARAM>(iLink));
        return true;
    case EventMouseMove:
        if (!IsEnabled() || m_nLinks == 0) return false;
        if (iLink != m_nHoverLink) {
            m_nHoverLink = iLink;
            Invalidate();
        }
        return true;
    case EventMouseLeave:
        if (!IsEnabled() || m_nLinks == 0 || m_nHoverLink < 0) return false;
        m_nHoverLink = -1;
        Invalidate();
        return true;
    default: return false;
    }
}

// Measures the wrapped text on the manager's paint DC; without a manager there is no
// DC to measure on, and the fixed size stands.
SIZE CTextUI::EstimateSize(SIZE szAvailable)
{
    if (m_pManager == nullptr || m_pManager->GetPaintDC() == nullptr) return CControlUI::EstimateSize(szAvailable);
    const int cxWidth = m_cxyFixed.cx > szAvailable.cx ? m_cxyFixed.cx : szAvailable.cx;
    RECT rc = { m_rcTextPadding.left, 0, cxWidth - m_rcTextPadding.right, kMeasureHeight };
    const UINT uStyle = m_uTextStyle | DT_CALCRECT;
    HDC hDC = m_pManager->GetPaintDC();
    if (m_bShowHtml) {
        int nLinks = 0;
        CPainterUI::DrawMarkupText(hDC, m_pManager, rc, m_sText.GetData(), 0, nullptr, nullptr, nLinks, uStyle);
    } else {
        CPainterUI::DrawPlainText(hDC, m_pManager, rc, m_sText.GetData(), 0, m_iFont, uStyle);
    }
    SIZE sz = { rc.right - rc.left + m_rcTextPadding.left + m_rcTextPadding.right,
                rc.bottom - rc.top + m_rcTextPadding.top + m_rcTextPadding.bottom };
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
    if (m_sText.IsEmpty()) {
        m_nLinks = 0;
        return;
    }
    FillDefaultColors();
    RECT rc = GetTextRect();
    const DWORD dwColor = IsEnabled() ? m_dwTextColor : m_dwDisabledTextColor;
    if (m_bShowHtml && !MayHoldLinks()) {
        m_nLinks = 0;
        DrawLabelText(hDC, rc, dwColor, m_uTextStyle);
    } else if (m_bShowHtml) {
        // Links need their places and the hover colour of every paint: drawn directly.
        m_nLinks = MAX_LINK;
        CPainterUI::DrawMarkupText(hDC, m_pManager, rc, m_sText.GetData(), dwColor, m_rcLinks, m_sLinks, m_nLinks,
                                   m_uTextStyle);
    } else {
        // Plain text has no links: none of an earlier tagged text may stay clickable.
        m_nLinks = 0;
        DrawLabelText(hDC, rc, dwColor, m_uTextStyle);
    }
    if (m_nHoverLink >= m_nLinks) m_nHoverLink = -1;
}
