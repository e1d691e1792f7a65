#include "ButtonUI.h"

#include <cwchar>

#include "AttributeValueUI.h"
#include "ControlStateUI.h"
#include "PainterUI.h"

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
    return IsEnabled() ? UIFLAG_TABSTOP | UIFLAG_SETCURSOR : UIFLAG_TABSTOP;
}

bool CButtonUI::Activate()
{
    if (!CControlUI::Activate()) return false;
    if (m_pManager != nullptr) m_pManager->SendNotify(this, NotifyClick);
    return true;
}

void CButtonUI::SetEnabled(bool bEnable)
{
    CControlUI::SetEnabled(bEnable);
    // The selected bit mirrors an option's selection, which disabling does not change.
    if (!IsEnabled()) m_uButtonState &= UISTATE_SELECTED;
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
}
DWORD CButtonUI::GetPushedTextColor() const
{
    return m_dwPushedTextColor;
}
void CButtonUI::SetPushedTextColor(DWORD dwColor)
{
    m_dwPushedTextColor = dwColor;
}
DWORD CButtonUI::GetFocusedTextColor() const
{
    return m_dwFocusedTextColor;
}
void CButtonUI::SetFocusedTextColor(DWORD dwColor)
{
    m_dwFocusedTextColor = dwColor;
}

void CButtonUI::SetAttribute(LPCWSTR pstrName, LPCWSTR pstrValue)
{
    const TImageSlotUI aSlots[] = {
        { L"normalimage", &m_sNormalImage },     { L"hotimage", &m_sHotImage },
        { L"pushedimage", &m_sPushedImage },     { L"focusedimage", &m_sFocusedImage },
        { L"disabledimage", &m_sDisabledImage },
    };
    if (SetImageByName(aSlots, ARRAYSIZE(aSlots), pstrName, pstrValue)) return;
    if (wcscmp(pstrName, L"hottextcolor") == 0)
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
    const int cyFont = DefaultFontHeight();
    if (m_cxyFixed.cy != 0 || cyFont < 0) return CControlUI::EstimateSize(szAvailable);
    return SIZE{ m_cxyFixed.cx, cyFont + 8 };
}

// ---------------------------------------------------------------------------------
// Events

void CButtonUI::DoEvent(TEventRecUI& event)
{
    if (!IsMouseEnabled() && IsMouseEvent(event.type)) {
        if (m_pParent != nullptr)
            m_pParent->DoEvent(event);
        else
            CLabelUI::DoEvent(event);
        return;
    }
    if (event.type == EventSetFocus || event.type == EventKillFocus) {
        Invalidate();
        CLabelUI::DoEvent(event);
        return;
    }
    if (HandleMouseEvent(event)) return;
    if (event.type == EventSetCursor) {
        ::SetCursor(::LoadCursor(nullptr, IDC_ARROW));
        return;
    }
    CLabelUI::DoEvent(event);
}

// The button captures on press and clicks only when released over itself. Leaving
// the button while held drops the pushed look; coming back restores it.
bool CButtonUI::HandleMouseEvent(TEventRecUI& event)
{
    const bool bInside = ::PtInRect(&m_rcItem, event.mousePoint) != FALSE;
    switch (event.type) {
    case EventMouseMove:
        if ((m_uButtonState & UISTATE_CAPTURED) == 0) return true;
        SetStateBits(m_uButtonState, UISTATE_PUSHED, bInside);
        Invalidate();
        return true;
    case EventMouseEnter:
    case EventMouseLeave:
        if (!IsEnabled()) return true;
        SetStateBits(m_uButtonState, UISTATE_HOT, event.type == EventMouseEnter);
        Invalidate();
        return true;
    case EventButtonDown:
    case EventDoubleClick:
        if (!bInside || !IsEnabled()) return true;
        m_uButtonState |= UISTATE_CAPTURED | UISTATE_PUSHED;
        Invalidate();
        return true;
    case EventButtonUp:
        if ((m_uButtonState & UISTATE_CAPTURED) == 0) return true;
        // Cleared before Activate: a click handler may disable, hide or re-skin us.
        m_uButtonState &= ~(UISTATE_CAPTURED | UISTATE_PUSHED);
        Invalidate();
        if (bInside) Activate();
        return true;
    default: return false;
    }
}

// ---------------------------------------------------------------------------------
// Painting

void CButtonUI::SyncPaintState()
{
    SyncFocusAndDisabled(m_uButtonState, IsFocused(), IsEnabled());
}

CStringUI* CButtonUI::CurrentStateImage()
{
    if ((m_uButtonState & UISTATE_DISABLED) != 0) return &m_sDisabledImage;
    if ((m_uButtonState & UISTATE_PUSHED) != 0) return &m_sPushedImage;
    if ((m_uButtonState & UISTATE_HOT) != 0) return &m_sHotImage;
    if ((m_uButtonState & UISTATE_FOCUSED) != 0) return &m_sFocusedImage;
    return nullptr;
}

void CButtonUI::PaintStatusImage(HDC hDC)
{
    SyncPaintState();
    CStringUI* pStateImage = CurrentStateImage();
    if (pStateImage != nullptr && DrawImageOrForget(hDC, *pStateImage)) return;
    DrawImageOrForget(hDC, m_sNormalImage);
}

DWORD CButtonUI::CurrentTextColor() const
{
    if ((m_uButtonState & UISTATE_PUSHED) != 0 && m_dwPushedTextColor != 0) return m_dwPushedTextColor;
    if ((m_uButtonState & UISTATE_HOT) != 0 && m_dwHotTextColor != 0) return m_dwHotTextColor;
    if ((m_uButtonState & UISTATE_FOCUSED) != 0 && m_dwFocusedTextColor != 0) return m_dwFocusedTextColor;
    return IsEnabled() ? m_dwTextColor : m_dwDisabledTextColor;
}

void CButtonUI::PaintText(HDC hDC)
{
    SyncPaintState();
    FillDefaultColors();
    if (m_sText.IsEmpty()) return;
    DrawLabelText(hDC, GetTextRect(), CurrentTextColor(), m_uTextStyle);
}
