#include "MenuListLabelUI.h"

#include <cwchar>

#include "AttributeValueUI.h"
#include "ControlStateUI.h"
#include "MenuUI.h"
#include "PainterUI.h"

namespace {

const int kItemHeightExtra = 13;

} // namespace

CMenuListLabelUI::CMenuListLabelUI() : m_iLabelId(0), m_bChecked(false) { }

LPCWSTR CMenuListLabelUI::GetControlClass() const
{
    return L"MenuListLabelUI";
}

LPVOID CMenuListLabelUI::GetInterface(LPCWSTR pstrName)
{
    if (pstrName != nullptr && wcscmp(pstrName, L"MenuListLabelUI") == 0) return this;
    return CMenuListElementUI::GetInterface(pstrName);
}

int CMenuListLabelUI::GetLabelId() const
{
    return m_iLabelId;
}

bool CMenuListLabelUI::IsChecked() const
{
    return m_bChecked;
}

void CMenuListLabelUI::SetChecked(bool bChecked)
{
    if (m_bChecked == bChecked) return;
    m_bChecked = bChecked;
    Invalidate();
}

void CMenuListLabelUI::DoEvent(TEventRecUI& event)
{
    if (!IsMouseEnabled() && IsMouseEvent(event.type)) {
        PassToOwner(event);
        return;
    }
    switch (event.type) {
    case EventMouseMove:
    case EventButtonDown: return;
    case EventMouseLeave:
        m_uButtonState &= ~UISTATE_HOT;
        Invalidate();
        return;
    case EventMouseEnter:
        if (!IsEnabled()) break;
        OnMouseEnter(event);
        return;
    case EventButtonUp:
        if (!IsEnabled() || !m_sNextMenu.IsEmpty()) break;
        OnChosen();
        return;
    default: break;
    }
    CMenuListElementUI::DoEvent(event);
}

// Entering an item closes the popup's open sub-menu or opens the item's own beside
// the popup; the item is drawn hot first.
void CMenuListLabelUI::OnMouseEnter(TEventRecUI& event)
{
    m_uButtonState |= UISTATE_HOT;
    Invalidate();
    HWND hWnd = m_pManager != nullptr ? m_pManager->GetPaintWindow() : nullptr;
    if (hWnd == nullptr) return;
    ::UpdateWindow(hWnd);
    if (m_sNextMenu.IsEmpty()) {
        ::PostMessageW(hWnd, UIMSG_MENU_CLOSESUB, 0, 0);
        return;
    }
    CControlUI* pUnder = m_pManager->FindControlAt(event.mousePoint);
    RECT rcItem = pUnder != nullptr ? pUnder->GetPos() : m_rcItem;
    ::SendMessageW(hWnd, UIMSG_MENU_OPENSUB, reinterpret_cast<WPARAM>(m_sNextMenu.GetData()),
                   reinterpret_cast<LPARAM>(&rcItem));
}

void CMenuListLabelUI::OnChosen()
{
    HWND hWnd = m_pManager != nullptr ? m_pManager->GetPaintWindow() : nullptr;
    if (hWnd == nullptr) return;
    ::SendMessageW(hWnd, UIMSG_MENU_CHOSEN, static_cast<WPARAM>(m_iLabelId), 0);
    m_uButtonState &= ~UISTATE_HOT;
    ::PostMessageW(hWnd, UIMSG_MENU_CLOSE, static_cast<WPARAM>(m_iIndex), 0);
}

void CMenuListLabelUI::SetAttribute(LPCWSTR pstrName, LPCWSTR pstrValue)
{
    if (wcscmp(pstrName, L"name") == 0)
        m_sLabelName = pstrValue;
    else if (wcscmp(pstrName, L"nextmenu") == 0)
        m_sNextMenu = pstrValue;
    else if (wcscmp(pstrName, L"labelid") == 0)
        m_iLabelId = CAttributeValueUI::ParseInt(pstrValue);
    else if (wcscmp(pstrName, L"labelmarkcheck") == 0)
        m_bChecked = CAttributeValueUI::ParseBool(pstrValue);
    else if (wcscmp(pstrName, L"ftimage") == 0) {
        CStringUI sImage = pstrValue;
        if (sImage.Find(L"dest='") < 0) sImage += L" dest='3,2,18,17'";
        SetForeImage(sImage.GetData());
    } else
        CControlUI::SetAttribute(pstrName, pstrValue);
}

SIZE CMenuListLabelUI::EstimateSize(SIZE /*szAvailable*/)
{
    if (m_pOwner == nullptr || m_pManager == nullptr) return SIZE{ 0, 0 };
    const TMenuInfoUI& info = *m_pOwner->GetMenuInfo();
    SIZE sz = m_cxyFixed;
    if (sz.cy == 0)
        sz.cy = m_pManager->GetDefaultFontInfo().tmHeight + info.rcTextPadding.top + info.rcTextPadding.bottom +
            kItemHeightExtra;
    if (sz.cx == 0)
        sz.cx = CMenuUI::MeasureText(m_pManager, info, m_sText.GetData(), sz.cy) + info.rcTextPadding.left +
            info.rcTextPadding.right;
    return sz;
}

// True when an image covered the item, which then gets no bottom line.
bool CMenuListLabelUI::PaintItemBackground(HDC hDC, TMenuInfoUI& info)
{
    DWORD dwColor = IsHot() ? info.dwHotBkColor : info.dwBkColor;
    if (dwColor != 0) CPainterUI::DrawColor(hDC, m_rcItem, dwColor);
    if (m_dwBackColor != 0) CPainterUI::DrawColor(hDC, m_rcItem, m_dwBackColor);
    if (!IsEnabled() && DrawImageOrForget(hDC, info.sDisabledImage)) return true;
    if (m_bSelected && DrawImageOrForget(hDC, info.sSelectedImage)) return true;
    if (IsHot() && DrawImageOrForget(hDC, info.sHotImage)) return true;
    if (!m_sBkImage.IsEmpty()) return DrawImageOrForget(hDC, m_sBkImage);
    return DrawImageOrForget(hDC, info.sImage);
}

// The item's own colour and background image are drawn under its text, together
// with the menu's item background.
void CMenuListLabelUI::DoPaint(HDC hDC, const RECT& rcPaint)
{
    if (!::IntersectRect(&m_rcPaint, &rcPaint, &m_rcItem)) return;
    if (m_pOwner != nullptr) {
        TMenuInfoUI& info = *m_pOwner->GetMenuInfo();
        if (!PaintItemBackground(hDC, info) && info.dwLineColor != 0) {
            RECT rcLine = { m_rcItem.left, m_rcItem.bottom - 1, m_rcItem.right, m_rcItem.bottom - 1 };
            CPainterUI::DrawLine(hDC, rcLine, 1, info.dwLineColor);
        }
    }
    DrawItemText(hDC, m_rcItem);
    PaintStatusImage(hDC);
    PaintForeImage(hDC);
    PaintBorder(hDC);
}

DWORD CMenuListLabelUI::CurrentTextColor(const TMenuInfoUI& info) const
{
    DWORD dwColor = info.dwTextColor;
    if (IsHot()) dwColor = info.dwHotTextColor;
    if (m_bSelected) dwColor = info.dwSelectedTextColor;
    if (!IsEnabled()) dwColor = info.dwDisabledTextColor;
    return dwColor;
}

void CMenuListLabelUI::DrawItemText(HDC hDC, const RECT& rcItem)
{
    if (m_pOwner == nullptr) return;
    TMenuInfoUI& info = *m_pOwner->GetMenuInfo();
    if (!m_sText.IsEmpty()) {
        RECT rcText = { rcItem.left + info.rcTextPadding.left, rcItem.top + info.rcTextPadding.top,
                        rcItem.right - info.rcTextPadding.right, rcItem.bottom - info.rcTextPadding.bottom };
        UINT uStyle = info.uTextStyle | DT_SINGLELINE;
        if (info.bShowHtml) {
            int nLinks = 0;
            CPainterUI::DrawMarkupText(hDC, m_pManager, rcText, m_sText.GetData(), CurrentTextColor(info), nullptr,
                                       nullptr, nLinks, uStyle);
        } else {
            CPainterUI::DrawPlainText(hDC, m_pManager, rcText, m_sText.GetData(), CurrentTextColor(info), info.nFont,
                                      uStyle);
        }
    }
    if (!m_sNextMenu.IsEmpty()) DrawImageOrForget(hDC, info.sNextImage);
    if (m_bChecked) DrawImageOrForget(hDC, info.sCheckImage);
}
