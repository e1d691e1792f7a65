#include "LabelUI.h"

#include <cwchar>
#include <cstdlib>

#include "AttributeValueUI.h"
#include "PainterUI.h"

namespace UpdUI {

CLabelUI::CLabelUI()
    : m_dwTextColor(0), m_dwDisabledTextColor(0), m_iFont(-1), m_uTextStyle(DT_VCENTER), m_rcTextPadding(),
      m_bShowHtml(false)
{ }

LPCWSTR CLabelUI::GetControlClass() const
{
    return L"LabelUI";
}

LPVOID CLabelUI::GetInterface(LPCWSTR pstrName)
{
    if (pstrName != nullptr && wcscmp(pstrName, L"Label") == 0) return this;
    return CControlUI::GetInterface(pstrName);
}

UINT CLabelUI::GetTextStyle() const
{
    return m_uTextStyle;
}

void CLabelUI::SetTextStyle(UINT uStyle)
{
    m_uTextStyle = uStyle;
    Invalidate();
}

DWORD CLabelUI::GetTextColor() const
{
    return m_dwTextColor;
}

void CLabelUI::SetTextColor(DWORD dwTextColor)
{
    m_dwTextColor = dwTextColor;
    Invalidate();
}

DWORD CLabelUI::GetDisabledTextColor() const
{
    return m_dwDisabledTextColor;
}

void CLabelUI::SetDisabledTextColor(DWORD dwTextColor)
{
    m_dwDisabledTextColor = dwTextColor;
    Invalidate();
}

int CLabelUI::GetFont() const
{
    return m_iFont;
}

void CLabelUI::SetFont(int iFont)
{
    m_iFont = iFont;
    Invalidate();
}

RECT CLabelUI::GetTextPadding() const
{
    return m_rcTextPadding;
}

void CLabelUI::SetTextPadding(RECT rc)
{
    m_rcTextPadding = rc;
    Invalidate();
}

bool CLabelUI::IsShowHtml() const
{
    return m_bShowHtml;
}

void CLabelUI::SetShowHtml(bool bShowHtml)
{
    m_bShowHtml = bShowHtml;
    Invalidate();
}

void CLabelUI::DoEvent(TEventRecUI& event)
{
    if (event.type == EventSetFocus) {
        m_bFocused = true;
        return;
    }
    if (event.type == EventKillFocus) {
        m_bFocused = false;
        return;
    }
    CControlUI::DoEvent(event);
}

// Substring tests in a fixed order; "vcenter" also matches "center".
void CLabelUI::SetAlign(LPCWSTR pstrValue)
{
    m_uTextStyle = CAttributeValueUI::ApplyAlign(m_uTextStyle, pstrValue);
    if (wcsstr(pstrValue, L"top") != nullptr) m_uTextStyle &= ~(DT_VCENTER | DT_BOTTOM);
    if (wcsstr(pstrValue, L"vcenter") != nullptr) {
        m_uTextStyle &= ~DT_BOTTOM;
        m_uTextStyle |= DT_VCENTER;
    }
    if (wcsstr(pstrValue, L"bottom") != nullptr) {
        m_uTextStyle &= ~DT_VCENTER;
        m_uTextStyle |= DT_BOTTOM;
    }
    Invalidate();
}

void CLabelUI::SetAttribute(LPCWSTR pstrName, LPCWSTR pstrValue)
{
    if (pstrName == nullptr || pstrValue == nullptr) return;
    if (wcscmp(pstrName, L"align") == 0) {
        SetAlign(pstrValue);
    } else if (wcscmp(pstrName, L"endellipsis") == 0) {
        if (CAttributeValueUI::IsTrue(pstrValue))
            SetTextStyle(m_uTextStyle | DT_END_ELLIPSIS);
        else
            SetTextStyle(m_uTextStyle & ~static_cast<UINT>(DT_END_ELLIPSIS));
    } else if (wcscmp(pstrName, L"font") == 0) {
        SetFont(static_cast<int>(wcstol(pstrValue, nullptr, 10)));
    } else if (wcscmp(pstrName, L"textcolor") == 0) {
        SetTextColor(CAttributeValueUI::ParseColor(pstrValue));
    } else if (wcscmp(pstrName, L"disabledtextcolor") == 0) {
        SetDisabledTextColor(CAttributeValueUI::ParseColor(pstrValue));
    } else if (wcscmp(pstrName, L"textpadding") == 0) {
        SetTextPadding(CAttributeValueUI::ParseRect(pstrValue));
    } else if (wcscmp(pstrName, L"showhtml") == 0) {
        SetShowHtml(CAttributeValueUI::IsTrue(pstrValue));
    } else {
        CControlUI::SetAttribute(pstrName, pstrValue);
    }
}

int CLabelUI::FontHeight() const
{
    if (m_pManager == nullptr) return -1;
    TFontInfoUI* pFont = m_pManager->GetFontInfo(m_iFont);
    return pFont != nullptr ? pFont->tm.tmHeight : -1;
}

// One line of the label's font and a small margin; without a manager there is no font
// to measure, and the fixed size stands.
SIZE CLabelUI::EstimateSize(SIZE szAvailable)
{
    int cyFont = FontHeight();
    if (m_cxyFixed.cy != 0 || cyFont < 0) return CControlUI::EstimateSize(szAvailable);
    SIZE sz = { m_cxyFixed.cx, cyFont + 4 };
    return sz;
}

void CLabelUI::FillDefaultColors()
{
    if (m_pManager == nullptr) return;
    if (m_dwTextColor == 0) m_dwTextColor = m_pManager->GetDefaultFontColor();
    if (m_dwDisabledTextColor == 0) m_dwDisabledTextColor = m_pManager->GetDefaultDisabledColor();
}

RECT CLabelUI::GetTextRect() const
{
    RECT rc = { m_rcItem.left + m_rcTextPadding.left, m_rcItem.top + m_rcTextPadding.top,
                m_rcItem.right - m_rcTextPadding.right, m_rcItem.bottom - m_rcTextPadding.bottom };
    return rc;
}

HFONT CLabelUI::FontHandle() const
{
    return m_pManager != nullptr ? m_pManager->GetFont(m_iFont) : nullptr;
}

void CLabelUI::DrawLabelText(HDC hDC, RECT rc, DWORD dwColor, UINT uStyle)
{
    const CPaintResultCacheUI::TKeyUI key = { m_sText.GetData(), dwColor, uStyle, FontHandle(), m_bShowHtml, 0 };
    auto render = [&](HDC hTextDC, RECT rcDrawn) { DrawLabelTextDirectly(hTextDC, rcDrawn, dwColor, uStyle); };
    if (!m_textCache.Draw(hDC, rc, m_rcPaint, key, render)) DrawLabelTextDirectly(hDC, rc, dwColor, uStyle);
}

// Plain text with the label's font, or tagged text without link bookkeeping.
void CLabelUI::DrawLabelTextDirectly(HDC hDC, RECT rc, DWORD dwColor, UINT uStyle)
{
    if (m_bShowHtml) {
        int nLinks = 0;
        CPainterUI::DrawMarkupText(hDC, m_pManager, rc, m_sText.GetData(), dwColor, nullptr, nullptr, nLinks, uStyle);
    } else {
        CPainterUI::DrawPlainText(hDC, m_pManager, rc, m_sText.GetData(), dwColor, m_iFont, uStyle);
    }
}

void CLabelUI::PaintText(HDC hDC)
{
    FillDefaultColors();
    if (m_sText.IsEmpty()) return;
    DWORD dwColor = IsEnabled() ? m_dwTextColor : m_dwDisabledTextColor;
    DrawLabelText(hDC, GetTextRect(), dwColor, m_uTextStyle | DT_SINGLELINE);
}

} // namespace UpdUI
