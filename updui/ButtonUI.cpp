#include "ButtonUI.h"

#include <cwchar>

#include "AttributeValueUI.h"
#include "ControlStateUI.h"

namespace UpdUI {

CButtonUI::CButtonUI() : m_uButtonState(0), m_dwHotTextColor(0), m_dwPushedTextColor(0), m_dwFocusedTextColor(0)
{
    m_uTextStyle = DT_CENTER | DT_VCENTER | DT_SINGLELINE;
}

CButtonUI::~CButtonUI() = default;

LPCWSTR CButtonUI::GetControlClass() const
{
    return L"ButtonUI";
}

LPVOID CButtonUI::GetInterface(LPCWSTR pstrName)
{
    if (pstrName != nullptr && wcscmp(pstrName, L"Button") == 0) return this;
    return CLabelUI::GetInterface(pstrName);
}

UINT CButtonUI::GetControlFlags() const
{
    UINT uFlags = IsEnabled() ? UIFLAG_SETCURSOR : 0;
    if (IsKeyboardEnabled()) uFlags |= UIFLAG_TABSTOP;
    return uFlags;
}

bool CButtonUI::Activate()
{
    if (!CControlUI::Activate()) return false;
    if (m_pManager != nullptr) m_pManager->SendNotify(this, L"click");
    return true;
}

void CButtonUI::SetEnabled(bool bEnable)
{
    CControlUI::SetEnabled(bEnable);
    if (!IsEnabled()) m_uButtonState = 0;
}

UINT CButtonUI::GetButtonState() const
{
    return m_uButtonState;
}

LPCWSTR CButtonUI::GetNormalImage() const
{
    return m_sNormalImage.GetData();
}

void CButtonUI::SetNormalImage(LPCWSTR pStrImage)
{
    SetImage(m_sNormalImage, pStrImage);
}

LPCWSTR CButtonUI::GetHotImage() const
{
    return m_sHotImage.GetData();
}

void CButtonUI::SetHotImage(LPCWSTR pStrImage)
{
    SetImage(m_sHotImage, pStrImage);
}

LPCWSTR CButtonUI::GetPushedImage() const
{
    return m_sPushedImage.GetData();
}

void CButtonUI::SetPushedImage(LPCWSTR pStrImage)
{
    SetImage(m_sPushedImage, pStrImage);
}

LPCWSTR CButtonUI::GetFocusedImage() const
{
    return m_sFocusedImage.GetData();
}

void CButtonUI::SetFocusedImage(LPCWSTR pStrImage)
{
    SetImage(m_sFocusedImage, pStrImage);
}

LPCWSTR CButtonUI::GetDisabledImage() const
{
    return m_sDisabledImage.GetData();
}

void CButtonUI::SetDisabledImage(LPCWSTR pStrImage)
{
    SetImage(m_sDisabledImage, pStrImage);
}

DWORD CButtonUI::GetHotTextColor() const
{
    return m_dwHotTextColor;
}

void CButtonUI::SetHotTextColor(DWORD dwColor)
{
    m_dwHotTextColor = dwColor;
    Invalidate();
}

DWORD CButtonUI::GetPushedTextColor() const
{
    return m_dwPushedTextColor;
}

void CButtonUI::SetPushedTextColor(DWORD dwColor)
{
    m_dwPushedTextColor = dwColor;
    Invalidate();
}

DWORD CButtonUI::GetFocusedTextColor() const
{
    return m_dwFocusedTextColor;
}

void CButtonUI::SetFocusedTextColor(DWORD dwColor)
{
    m_dwFocusedTextColor = dwColor;
    Invalidate();
}

// Press, drag and release: the pushed look follows the pointer while the button holds
// the capture, and only a release inside activates it.
void CButtonUI::HandleMouseEvent(TEventRecUI& event)
{
    bool bInside = ::PtInRect(&m_rcItem, event.mousePoint) != FALSE;
    switch (event.type) {
    case EventMouseMove:
        if ((m_uButtonState & UISTATE_CAPTURED) == 0) return;
        SetStateBits(m_uButtonState, UISTATE_PUSHED, bInside);
        Invalidate();
        return;
    case EventMouseEnter:
        if (!IsEnabled()) break;
        m_uButtonState |= UISTATE_HOT;
        Invalidate();
        break;
    case EventMouseLeave:
        if (!IsEnabled()) break;
        m_uButtonState &= ~UISTATE_HOT;
        Invalidate();
        return;
    case EventButtonDown:
    case EventDoubleClick:
        if (!bInside || !IsEnabled()) break;
        m_uButtonState |= UISTATE_PUSHED | UISTATE_CAPTURED;
        Invalidate();
        return;
    case EventButtonUp:
        if ((m_uButtonState & UISTATE_CAPTURED) == 0) break;
        m_uButtonState &= ~(UISTATE_PUSHED | UISTATE_CAPTURED);
        Invalidate();
        if (bInside) Activate();
        return;
    case EventRightButtonDown:
        if (!bInside || !IsEnabled()) break;
        m_uButtonState |= UISTATE_HOT;
        Invalidate();
        if (m_pManager != nullptr) m_pManager->SendNotify(this, L"rclick");
        return;
    case EventContextMenu:
        if (!IsContextMenuUsed()) break;
        if (m_pManager != nullptr) m_pManager->SendNotify(this, L"menu", event.wParam, event.lParam);
        return;
    default: break;
    }
    CLabelUI::DoEvent(event);
}

void CButtonUI::DoEvent(TEventRecUI& event)
{
    if (!IsMouseEnabled() && IsMouseEvent(event.type)) {
        if (m_pParent != nullptr)
            m_pParent->DoEvent(event);
        else
            CLabelUI::DoEvent(event);
        return;
    }
    if (IsMouseEvent(event.type)) {
        HandleMouseEvent(event);
        return;
    }
    switch (event.type) {
    case EventSetFocus:
    case EventKillFocus:
        CLabelUI::DoEvent(event);
        Invalidate();
        return;
    case EventKeyDown:
        if (IsKeyboardEnabled() && (event.keyChar == VK_SPACE || event.keyChar == VK_RETURN)) {
            Activate();
            return;
        }
        break;
    case EventSetCursor: ::SetCursor(::LoadCursorW(nullptr, IDC_HAND)); return;
    default: break;
    }
    CLabelUI::DoEvent(event);
}

void CButtonUI::SetAttribute(LPCWSTR pstrName, LPCWSTR pstrValue)
{
    if (pstrName == nullptr || pstrValue == nullptr) return;
    if (wcscmp(pstrName, L"normalimage") == 0)
        SetNormalImage(pstrValue);
    else if (wcscmp(pstrName, L"hotimage") == 0)
        SetHotImage(pstrValue);
    else if (wcscmp(pstrName, L"pushedimage") == 0)
        SetPushedImage(pstrValue);
    else if (wcscmp(pstrName, L"focusedimage") == 0)
        SetFocusedImage(pstrValue);
    else if (wcscmp(pstrName, L"disabledimage") == 0)
        SetDisabledImage(pstrValue);
    else if (wcscmp(pstrName, L"hottextcolor") == 0)
        SetHotTextColor(CAttributeValueUI::ParseColor(pstrValue));
    else if (wcscmp(pstrName, L"pushedtextcolor") == 0)
        SetPushedTextColor(CAttributeValueUI::ParseColor(pstrValue));
    else if (wcscmp(pstrName, L"focusedtextcolor") == 0)
        SetFocusedTextColor(CAttributeValueUI::ParseColor(pstrValue));
    else
        CLabelUI::SetAttribute(pstrName, pstrValue);
}

SIZE CButtonUI::EstimateSize(SIZE szAvailable)
{
    int cyFont = FontHeight();
    if (m_cxyFixed.cy != 0 || cyFont < 0) return CControlUI::EstimateSize(szAvailable);
    SIZE sz = { m_cxyFixed.cx, cyFont + 8 };
    return sz;
}

void CButtonUI::RefreshStateBits()
{
    SyncFocusAndDisabled(m_uButtonState, IsFocused(), IsEnabled());
}

// Only the first state image that applies and is set is tried; when it cannot be drawn
// the normal image stands in.
void CButtonUI::PaintStatusImage(HDC hDC)
{
    RefreshStateBits();
    CStringUI* pImage = nullptr;
    if ((m_uButtonState & UISTATE_DISABLED) != 0 && !m_sDisabledImage.IsEmpty())
        pImage = &m_sDisabledImage;
    else if ((m_uButtonState & UISTATE_PUSHED) != 0 && !m_sPushedImage.IsEmpty())
        pImage = &m_sPushedImage;
    else if ((m_uButtonState & UISTATE_HOT) != 0 && !m_sHotImage.IsEmpty())
        pImage = &m_sHotImage;
    else if ((m_uButtonState & UISTATE_FOCUSED) != 0 && !m_sFocusedImage.IsEmpty())
        pImage = &m_sFocusedImage;
    if (pImage != nullptr && DrawImageOrForget(hDC, *pImage)) return;
    DrawImageOrForget(hDC, m_sNormalImage);
}

DWORD CButtonUI::StateTextColor() const
{
    if ((m_uButtonState & UISTATE_PUSHED) != 0 && m_dwPushedTextColor != 0) return m_dwPushedTextColor;
    if ((m_uButtonState & UISTATE_HOT) != 0 && m_dwHotTextColor != 0) return m_dwHotTextColor;
    if ((m_uButtonState & UISTATE_FOCUSED) != 0 && m_dwFocusedTextColor != 0) return m_dwFocusedTextColor;
    return IsEnabled() ? m_dwTextColor : m_dwDisabledTextColor;
}

void CButtonUI::PaintText(HDC hDC)
{
    SetStateBits(m_uButtonState, UISTATE_FOCUSED, IsFocused());
    FillDefaultColors();
    if (m_sText.IsEmpty()) return;
    DrawLabelText(hDC, GetTextRect(), StateTextColor(), m_uTextStyle);
}

} // namespace UpdUI
