#include "ListHeaderItemUI.h"

#include <cwchar>

#include "AttributeValueUI.h"
#include "ItemAlignUI.h"
#include "ControlStateUI.h"
#include "PainterUI.h"

CListHeaderItemUI::CListHeaderItemUI()
    : m_ptLastMouse(), m_bDragable(true), m_uButtonState(0), m_iSepWidth(4), m_dwTextColor(0), m_iFont(-1),
      m_uTextStyle(DT_CENTER | DT_VCENTER | DT_SINGLELINE), m_bShowHtml(false)
{
    SetMinWidth(16);
}

LPCWSTR CListHeaderItemUI::GetControlClass() const
{
    return L"ListHeaderItemUI";
}

LPVOID CListHeaderItemUI::GetInterface(LPCWSTR pstrName)
{
    if (pstrName != nullptr && wcscmp(pstrName, L"ListHeaderItem") == 0) return this;
    return CControlUI::GetInterface(pstrName);
}

UINT CListHeaderItemUI::GetControlFlags() const
{
    return IsEnabled() && m_iSepWidth != 0 ? UIFLAG_SETCURSOR : 0;
}

void CListHeaderItemUI::SetEnabled(bool bEnable)
{
    CControlUI::SetEnabled(bEnable);
    if (!IsEnabled()) m_uButtonState = 0;
}

bool CListHeaderItemUI::IsDragable() const
{
    return m_bDragable;
}

void CListHeaderItemUI::SetDragable(bool bDragable)
{
    m_bDragable = bDragable;
    if (!m_bDragable) m_uButtonState &= ~UISTATE_CAPTURED;
}

int CListHeaderItemUI::GetSepWidth() const
{
    return m_iSepWidth;
}

void CListHeaderItemUI::SetSepWidth(int iWidth)
{
    m_iSepWidth = iWidth;
}

UINT CListHeaderItemUI::GetButtonState() const
{
    return m_uButtonState;
}

RECT CListHeaderItemUI::GetThumbRect() const
{
    if (m_iSepWidth >= 0) return RECT{ m_rcItem.right - m_iSepWidth, m_rcItem.top, m_rcItem.right, m_rcItem.bottom };
    return RECT{ m_rcItem.left, m_rcItem.top, m_rcItem.left - m_iSepWidth, m_rcItem.bottom };
}

bool CListHeaderItemUI::OnButtonDown(const TEventRecUI& event)
{
    if (!IsEnabled()) return false;
    const RECT rcSeparator = GetThumbRect();
    if (!::PtInRect(&rcSeparator, event.mousePoint)) {
        m_uButtonState |= UISTATE_PUSHED;
        if (m_pManager != nullptr) m_pManager->SendNotify(this, NotifyHeaderClick);
        Invalidate();
    } else if (m_bDragable) {
        m_uButtonState |= UISTATE_CAPTURED;
        m_ptLastMouse = event.mousePoint;
    }
    return true;
}

// The column keeps its last width above the minimum; there is no maximum.
bool CListHeaderItemUI::OnMouseMove(const TEventRecUI& event)
{
    if ((m_uButtonState & UISTATE_CAPTURED) == 0) return true;
    RECT rc = m_rcItem;
    const int dx = event.mousePoint.x - m_ptLastMouse.x;
    if (m_iSepWidth >= 0)
        rc.right += dx;
    else
        rc.left += dx;
    const int cx = rc.right - rc.left;
    if (cx > GetMinWidth()) {
        SetFixedWidth(cx);
        m_ptLastMouse = event.mousePoint;
        if (m_pParent != nullptr) m_pParent->NeedParentUpdate();
    }
    return true;
}

bool CListHeaderItemUI::OnButtonUp()
{
    if ((m_uButtonState & UISTATE_CAPTURED) != 0) {
        m_uButtonState &= ~UISTATE_CAPTURED;
        if (m_pParent != nullptr) m_pParent->NeedParentUpdate();
    } else if ((m_uButtonState & UISTATE_PUSHED) != 0) {
        m_uButtonState &= ~UISTATE_PUSHED;
        Invalidate();
    }
    return true;
}

bool CListHeaderItemUI::OnSetCursor(const TEventRecUI& event)
{
    const RECT rcSeparator = GetThumbRect();
    if (!IsEnabled() || !m_bDragable || !::PtInRect(&rcSeparator, event.mousePoint)) return false;
    ::SetCursor(::LoadCursorW(nullptr, MAKEINTRESOURCEW(32644))); // IDC_SIZEWE
    return true;
}

void CListHeaderItemUI::DoEvent(TEventRecUI& event)
{
    if (!IsMouseEnabled() && event.type >= EventMouseMove && event.type <= EventScrollWheel) {
        if (m_pParent != nullptr)
            m_pParent->DoEvent(event);
        else
            CControlUI::DoEvent(event);
        return;
    }
    bool bHandled = false;
    switch (event.type) {
    case EventSetFocus:
    case EventKillFocus: Invalidate(); break;
    case EventButtonDown:
    case EventDoubleClick: bHandled = OnButtonDown(event); break;
    case EventMouseMove: bHandled = OnMouseMove(event); break;
    case EventButtonUp: bHandled = OnButtonUp(); break;
    case EventSetCursor: bHandled = OnSetCursor(event); break;
    case EventMouseEnter:
    case EventMouseLeave:
        if (IsEnabled()) {
            SetStateBits(m_uButtonState, UISTATE_HOT, event.type == EventMouseEnter);
            Invalidate();
        }
        bHandled = true;
        break;
    default: break;
    }
    if (!bHandled) CControlUI::DoEvent(event);
}

void CListHeaderItemUI::SetAlign(LPCWSTR pstrValue)
{
    m_uTextStyle = CItemAlignUI::Apply(m_uTextStyle, pstrValue);
}

bool CListHeaderItemUI::SetImageAttribute(LPCWSTR pstrName, LPCWSTR pstrValue)
{
    const TImageSlotUI aSlots[] = {
        { L"normalimage", &m_sNormalImage },   { L"hotimage", &m_sHotImage }, { L"pushedimage", &m_sPushedImage },
        { L"focusedimage", &m_sFocusedImage }, { L"sepimage", &m_sSepImage },
    };
    return SetImageByName(aSlots, ARRAYSIZE(aSlots), pstrName, pstrValue);
}

void CListHeaderItemUI::SetAttribute(LPCWSTR pstrName, LPCWSTR pstrValue)
{
    if (wcscmp(pstrName, L"dragable") == 0)
        SetDragable(CAttributeValueUI::ParseBool(pstrValue));
    else if (wcscmp(pstrName, L"sepwidth") == 0)
        SetSepWidth(CAttributeValueUI::ParseCoordinate(pstrValue));
    else if (wcscmp(pstrName, L"align") == 0)
        SetAlign(pstrValue);
    else if (wcscmp(pstrName, L"font") == 0)
        m_iFont = CAttributeValueUI::ParseInt(pstrValue);
    else if (wcscmp(pstrName, L"textcolor") == 0)
        m_dwTextColor = CAttributeValueUI::ParseColor(pstrValue);
    else if (wcscmp(pstrName, L"showhtml") == 0)
        m_bShowHtml = CAttributeValueUI::ParseBool(pstrValue);
    else if (!SetImageAttribute(pstrName, pstrValue))
        CControlUI::SetAttribute(pstrName, pstrValue);
}

int CListHeaderItemUI::DefaultFontHeight() const
{
    return m_pManager != nullptr ? m_pManager->GetDefaultFontInfo().tmHeight : 0;
}

SIZE CListHeaderItemUI::EstimateSize(SIZE szAvailable)
{
    if (m_cxyFixed.cy != 0) return CControlUI::EstimateSize(szAvailable);
    return SIZE{ m_cxyFixed.cx, DefaultFontHeight() + 14 };
}

void CListHeaderItemUI::PaintStatusImage(HDC hDC)
{
    SetStateBits(m_uButtonState, UISTATE_FOCUSED, IsFocused());

    if ((m_uButtonState & UISTATE_PUSHED) != 0) {
        if (m_sPushedImage.IsEmpty())
            DrawImageOrForget(hDC, m_sNormalImage);
        else
            DrawImageOrForget(hDC, m_sPushedImage);
    } else if ((m_uButtonState & (UISTATE_HOT | UISTATE_FOCUSED)) != 0) {
        CStringUI& sState = (m_uButtonState & UISTATE_HOT) != 0 ? m_sHotImage : m_sFocusedImage;
        if (sState.IsEmpty())
            DrawImageOrForget(hDC, m_sNormalImage);
        else
            DrawImageOrForget(hDC, sState);
    } else {
        DrawImageOrForget(hDC, m_sNormalImage);
    }

    if (m_sSepImage.IsEmpty()) return;
    RECT rcThumb = GetThumbRect();
    ::OffsetRect(&rcThumb, -m_rcItem.left, -m_rcItem.top);
    m_sSepImageModify.SmallFormat(L" dest='%d,%d,%d,%d'", rcThumb.left, rcThumb.top, rcThumb.right, rcThumb.bottom);
    DrawImageOrForget(hDC, m_sSepImage, m_sSepImageModify.GetData());
}

void CListHeaderItemUI::PaintText(HDC hDC)
{
    if (m_dwTextColor == 0 && m_pManager != nullptr) m_dwTextColor = m_pManager->GetDefaultFontColor();
    if (m_sText.IsEmpty()) return;
    RECT rcText = m_rcItem;
    const UINT uStyle = m_uTextStyle | DT_SINGLELINE;
    if (m_bShowHtml) {
        int nLinks = 0;
        CPainterUI::DrawMarkupText(hDC, m_pManager, rcText, m_sText.GetData(), m_dwTextColor, nullptr, nullptr, nLinks,
                                   uStyle);
    } else {
        CPainterUI::DrawPlainText(hDC, m_pManager, rcText, m_sText.GetData(), m_dwTextColor, m_iFont, uStyle);
    }
}
