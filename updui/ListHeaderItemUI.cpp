#include "ListHeaderItemUI.h"

#include <cstdlib>
#include <cwchar>

#include "AttributeValueUI.h"
#include "ControlStateUI.h"
#include "PainterUI.h"
#include "MarkupNumberUI.h"

namespace UpdUI {

namespace {

const int kThumbHitGrow = 4;
const int kItemMargin = 14;

} // namespace

CListHeaderItemUI::CListHeaderItemUI()
    : m_uButtonState(0), m_ptLastMouse(), m_bDragable(true), m_iSepWidth(4), m_dwTextColor(0), m_iFont(-1),
      m_uTextStyle(DT_CENTER | DT_VCENTER | DT_SINGLELINE), m_bShowHtml(false), m_rcTextPadding{ 2, 0, 2, 0 }
{
    m_cxyMin.cx = MIN_WIDTH;
}

CListHeaderItemUI::~CListHeaderItemUI() = default;

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

UINT CListHeaderItemUI::GetState() const
{
    return m_uButtonState;
}

RECT CListHeaderItemUI::GetThumbRect() const
{
    if (m_iSepWidth >= 0) return RECT{ m_rcItem.right - m_iSepWidth, m_rcItem.top, m_rcItem.right, m_rcItem.bottom };
    return RECT{ m_rcItem.left, m_rcItem.top, m_rcItem.left - m_iSepWidth, m_rcItem.bottom };
}

RECT CListHeaderItemUI::GetHitThumbRect() const
{
    RECT rc = GetThumbRect();
    if (m_iSepWidth >= 0)
        rc.left -= kThumbHitGrow;
    else
        rc.right += kThumbHitGrow;
    return rc;
}

void CListHeaderItemUI::NeedHeaderParentUpdate()
{
    if (m_pParent != nullptr)
        m_pParent->NeedParentUpdate();
    else
        NeedUpdate();
}

void CListHeaderItemUI::OnPress(const TEventRecUI& event)
{
    RECT rcThumb = GetHitThumbRect();
    if (!::PtInRect(&rcThumb, event.mousePoint)) {
        m_uButtonState |= UISTATE_PUSHED;
        if (m_pManager != nullptr) m_pManager->SendNotify(this, L"headerclick");
        Invalidate();
    } else if (m_bDragable) {
        m_uButtonState |= UISTATE_CAPTURED;
        m_ptLastMouse = event.mousePoint;
    }
}

// Only the moving edge follows the pointer; a column never gets narrower than the
// minimum width.
void CListHeaderItemUI::OnDrag(POINT pt)
{
    RECT rc = m_rcItem;
    if (m_iSepWidth >= 0)
        rc.right += pt.x - m_ptLastMouse.x;
    else
        rc.left += pt.x - m_ptLastMouse.x;
    if (rc.right - rc.left <= MIN_WIDTH) return;
    m_cxyFixed.cx = rc.right - rc.left;
    m_ptLastMouse = pt;
    NeedHeaderParentUpdate();
}

void CListHeaderItemUI::DoEvent(TEventRecUI& event)
{
    if (IsMouseEvent(event.type) && !IsMouseEnabled()) {
        if (m_pParent != nullptr)
            m_pParent->DoEvent(event);
        else
            CControlUI::DoEvent(event);
        return;
    }
    switch (event.type) {
    case EventSetFocus:
    case EventKillFocus: Invalidate(); return;
    case EventButtonDown:
    case EventDoubleClick:
        if (IsEnabled()) OnPress(event);
        return;
    case EventMouseMove:
        if ((m_uButtonState & UISTATE_CAPTURED) != 0) OnDrag(event.mousePoint);
        return;
    case EventButtonUp:
        if ((m_uButtonState & UISTATE_CAPTURED) != 0) {
            m_uButtonState &= ~UISTATE_CAPTURED;
            NeedHeaderParentUpdate();
        } else if ((m_uButtonState & UISTATE_PUSHED) != 0) {
            m_uButtonState &= ~UISTATE_PUSHED;
            Invalidate();
        }
        return;
    case EventSetCursor: {
        RECT rcThumb = GetHitThumbRect();
        if (IsEnabled() && m_bDragable && ::PtInRect(&rcThumb, event.mousePoint)) {
            ::SetCursor(::LoadCursorW(nullptr, IDC_SIZEWE));
            return;
        }
        break;
    }
    case EventMouseEnter:
        if (IsEnabled()) {
            m_uButtonState |= UISTATE_HOT;
            Invalidate();
        }
        return;
    case EventMouseLeave:
        if (IsEnabled()) {
            m_uButtonState &= ~UISTATE_HOT;
            Invalidate();
        }
        return;
    default: break;
    }
    CControlUI::DoEvent(event);
}

void CListHeaderItemUI::SetAttribute(LPCWSTR pstrName, LPCWSTR pstrValue)
{
    if (pstrName == nullptr || pstrValue == nullptr) return;
    const TImageSlotUI aSlots[] = {
        { L"normalimage", &m_sNormalImage },   { L"hotimage", &m_sHotImage }, { L"pushedimage", &m_sPushedImage },
        { L"focusedimage", &m_sFocusedImage }, { L"sepimage", &m_sSepImage },
    };
    if (wcscmp(pstrName, L"dragable") == 0)
        SetDragable(CAttributeValueUI::IsTrue(pstrValue));
    else if (wcscmp(pstrName, L"sepwidth") == 0)
        SetSepWidth(static_cast<int>(MarkupNumber::Coord(pstrValue)));
    else if (wcscmp(pstrName, L"align") == 0)
        m_uTextStyle = CAttributeValueUI::ApplyAlign(m_uTextStyle, pstrValue);
    else if (wcscmp(pstrName, L"endellipsis") == 0) {
        if (CAttributeValueUI::IsTrue(pstrValue))
            m_uTextStyle |= DT_END_ELLIPSIS;
        else
            m_uTextStyle &= ~static_cast<UINT>(DT_END_ELLIPSIS);
    } else if (wcscmp(pstrName, L"font") == 0)
        m_iFont = static_cast<int>(wcstol(pstrValue, nullptr, 10));
    else if (wcscmp(pstrName, L"textcolor") == 0)
        m_dwTextColor = CAttributeValueUI::ParseColor(pstrValue);
    else if (wcscmp(pstrName, L"textpadding") == 0) {
        m_rcTextPadding = CAttributeValueUI::ParseRect(pstrValue);
        Invalidate();
    } else if (wcscmp(pstrName, L"showhtml") == 0) {
        bool bShow = CAttributeValueUI::IsTrue(pstrValue);
        if (bShow != m_bShowHtml) Invalidate();
        m_bShowHtml = bShow;
    } else if (!SetImageByName(aSlots, ARRAYSIZE(aSlots), pstrName, pstrValue)) {
        CControlUI::SetAttribute(pstrName, pstrValue);
    }
}

SIZE CListHeaderItemUI::EstimateSize(SIZE szAvailable)
{
    if (m_cxyFixed.cy != 0 || m_pManager == nullptr) return CControlUI::EstimateSize(szAvailable);
    TFontInfoUI* pFont = m_pManager->GetDefaultFontInfo();
    SIZE sz = { m_cxyFixed.cx, (pFont != nullptr ? pFont->tm.tmHeight : 0) + kItemMargin };
    return sz;
}

void CListHeaderItemUI::PaintStatusImage(HDC hDC)
{
    SetStateBits(m_uButtonState, UISTATE_FOCUSED, IsFocused());

    CStringUI* pState = nullptr;
    if ((m_uButtonState & UISTATE_PUSHED) != 0)
        pState = &m_sPushedImage;
    else if ((m_uButtonState & UISTATE_HOT) != 0)
        pState = &m_sHotImage;
    else if ((m_uButtonState & UISTATE_FOCUSED) != 0)
        pState = &m_sFocusedImage;
    if (pState == nullptr || pState->IsEmpty())
        DrawImageOrForget(hDC, m_sNormalImage);
    else
        DrawImageOrForget(hDC, *pState);

    if (m_sSepImage.IsEmpty()) return;
    RECT rcThumb = GetThumbRect();
    m_sSepImageModify.Format(L"dest='%d,%d,%d,%d'", rcThumb.left - m_rcItem.left, rcThumb.top - m_rcItem.top,
                             rcThumb.right - m_rcItem.left, rcThumb.bottom - m_rcItem.top);
    DrawImageOrForget(hDC, m_sSepImage, m_sSepImageModify.GetData());
}

void CListHeaderItemUI::PaintText(HDC hDC)
{
    if (m_dwTextColor == 0 && m_pManager != nullptr) m_dwTextColor = m_pManager->GetDefaultFontColor();
    if (m_sText.IsEmpty()) return;
    RECT rc = { m_rcItem.left + m_rcTextPadding.left, m_rcItem.top + m_rcTextPadding.top,
                m_rcItem.right - m_rcTextPadding.right, m_rcItem.bottom - m_rcTextPadding.bottom };
    UINT uStyle = m_uTextStyle | DT_SINGLELINE;
    if (m_bShowHtml) {
        int nLinks = 0;
        CPainterUI::DrawMarkupText(hDC, m_pManager, rc, m_sText.GetData(), m_dwTextColor, nullptr, nullptr, nLinks,
                                   uStyle);
    } else {
        CPainterUI::DrawPlainText(hDC, m_pManager, rc, m_sText.GetData(), m_dwTextColor, m_iFont, uStyle);
    }
}

} // namespace UpdUI
