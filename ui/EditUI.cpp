#include "EditUI.h"

#include <cwchar>

#include "AttributeValueUI.h"
#include "ControlStateUI.h"
#include "EditWnd.h"
#include "PainterUI.h"

namespace {

const DWORD kActiveFrameColor = 0xFF85E4FF;
const DWORD kIdleFrameColor = 0xFF4EA0D1;

} // namespace

CEditUI::CEditUI()
    : m_pWindow(nullptr), m_bNumberOnly(false), m_iMaxChar(DEFAULT_MAX_CHAR), m_bReadOnly(false),
      m_bPasswordMode(false), m_cPasswordChar(L'*'), m_uEditState(0)
{
    m_rcTextPadding = RECT{ 4, 4, 4, 4 };
    m_dwBackColor = 0xFFFFFFFF;
}

// An editor still open must not report to a deleted control.
CEditUI::~CEditUI()
{
    if (m_pWindow != nullptr) m_pWindow->Detach();
}

LPCWSTR CEditUI::GetControlClass() const
{
    return L"EditUI";
}

LPVOID CEditUI::GetInterface(LPCWSTR pstrName)
{
    if (pstrName != nullptr && wcscmp(pstrName, L"Edit") == 0) return this;
    return CLabelUI::GetInterface(pstrName);
}

UINT CEditUI::GetControlFlags() const
{
    return IsEnabled() ? UIFLAG_TABSTOP | UIFLAG_SETCURSOR : 0;
}

// Every call reports a change, even with the same text; an open editor keeps its own.
void CEditUI::SetText(LPCWSTR pstrText)
{
    m_sText = pstrText;
    if (m_pManager != nullptr) m_pManager->SendNotify(this, NotifyTextChanged);
    Invalidate();
}

HWND CEditUI::GetEditWindowHandle() const
{
    return m_pWindow != nullptr ? m_pWindow->GetWindowHandle() : nullptr;
}

bool CEditUI::IsNumberOnly() const
{
    return m_bNumberOnly;
}

void CEditUI::SetNumberOnly(bool bNumberOnly)
{
    if (m_bNumberOnly == bNumberOnly) return;
    m_bNumberOnly = bNumberOnly;
    HWND hWnd = GetEditWindowHandle();
    if (hWnd != nullptr) {
        LONG_PTR style = ::GetWindowLongPtrW(hWnd, GWL_STYLE);
        if (bNumberOnly)
            style |= ES_NUMBER;
        else
            style &= ~static_cast<LONG_PTR>(ES_NUMBER);
        ::SetWindowLongPtrW(hWnd, GWL_STYLE, style);
    }
    Invalidate();
}

bool CEditUI::IsReadOnly() const
{
    return m_bReadOnly;
}

void CEditUI::SetReadOnly(bool bReadOnly)
{
    if (m_bReadOnly == bReadOnly) return;
    m_bReadOnly = bReadOnly;
    HWND hWnd = GetEditWindowHandle();
    if (hWnd != nullptr) ::SendMessageW(hWnd, EM_SETREADONLY, bReadOnly ? TRUE : FALSE, 0);
    Invalidate();
}

bool CEditUI::IsPasswordMode() const
{
    return m_bPasswordMode;
}

// An open editor keeps the style it was opened with.
void CEditUI::SetPasswordMode(bool bPasswordMode)
{
    if (m_bPasswordMode == bPasswordMode) return;
    m_bPasswordMode = bPasswordMode;
    Invalidate();
}

int CEditUI::GetMaxChar() const
{
    return m_iMaxChar;
}

wchar_t CEditUI::GetPasswordChar() const
{
    return m_cPasswordChar;
}

UINT CEditUI::GetEditState() const
{
    return m_uEditState;
}

LPCWSTR CEditUI::GetNormalImage() const
{
    return m_sNormalImage.GetData();
}
void CEditUI::SetNormalImage(LPCWSTR pStrImage)
{
    SetImage(m_sNormalImage, pStrImage);
}
LPCWSTR CEditUI::GetHotImage() const
{
    return m_sHotImage.GetData();
}
void CEditUI::SetHotImage(LPCWSTR pStrImage)
{
    SetImage(m_sHotImage, pStrImage);
}
LPCWSTR CEditUI::GetFocusedImage() const
{
    return m_sFocusedImage.GetData();
}
void CEditUI::SetFocusedImage(LPCWSTR pStrImage)
{
    SetImage(m_sFocusedImage, pStrImage);
}
LPCWSTR CEditUI::GetDisabledImage() const
{
    return m_sDisabledImage.GetData();
}
void CEditUI::SetDisabledImage(LPCWSTR pStrImage)
{
    SetImage(m_sDisabledImage, pStrImage);
}

void CEditUI::SetAttribute(LPCWSTR pstrName, LPCWSTR pstrValue)
{
    const TImageSlotUI aSlots[] = {
        { L"normalimage", &m_sNormalImage },
        { L"hotimage", &m_sHotImage },
        { L"focusedimage", &m_sFocusedImage },
        { L"disabledimage", &m_sDisabledImage },
    };
    if (SetImageByName(aSlots, ARRAYSIZE(aSlots), pstrName, pstrValue)) return;
    if (wcscmp(pstrName, L"readonly") == 0)
        SetReadOnly(CAttributeValueUI::ParseBool(pstrValue));
    else if (wcscmp(pstrName, L"numonly") == 0)
        SetNumberOnly(CAttributeValueUI::ParseBool(pstrValue));
    else if (wcscmp(pstrName, L"password") == 0)
        SetPasswordMode(CAttributeValueUI::ParseBool(pstrValue));
    else
        CLabelUI::SetAttribute(pstrName, pstrValue);
}

// ---------------------------------------------------------------------------------
// Visibility and the native window

void CEditUI::CloseEditWindowByFocus()
{
    if (m_pWindow == nullptr || m_pManager == nullptr) return;
    // Another control holding the manager's focus already took the keyboard focus
    // from the editor, which is closing; it keeps its focus.
    CControlUI* pFocus = m_pManager->GetFocus();
    if (pFocus == this || pFocus == nullptr) m_pManager->SetFocus(nullptr);
}

void CEditUI::SetVisible(bool bVisible)
{
    CLabelUI::SetVisible(bVisible);
    if (!IsVisible()) CloseEditWindowByFocus();
}

void CEditUI::SetInternalVisible(bool bVisible)
{
    CLabelUI::SetInternalVisible(bVisible);
    if (!IsVisible()) CloseEditWindowByFocus();
}

// A disabled field takes no more typing: an open editor is closed with the focus.
void CEditUI::SetEnabled(bool bEnable)
{
    CLabelUI::SetEnabled(bEnable);
    if (IsEnabled()) return;
    m_uEditState = 0;
    CloseEditWindowByFocus();
}

void CEditUI::OpenEditWindow()
{
    CEditWnd* pWindow = new CEditWnd;
    m_pWindow = pWindow;
    // A window that died while being created has deleted itself and cleared m_pWindow.
    if (!pWindow->Init(this) && m_pWindow == pWindow) {
        m_pWindow = nullptr;
        delete pWindow;
    }
}

// ---------------------------------------------------------------------------------
// Events

void CEditUI::DoEvent(TEventRecUI& event)
{
    if (!IsMouseEnabled() && IsMouseEvent(event.type)) {
        if (m_pParent != nullptr)
            m_pParent->DoEvent(event);
        else
            CLabelUI::DoEvent(event);
        return;
    }
    if (event.type == EventSetCursor && IsEnabled()) {
        ::SetCursor(::LoadCursorW(nullptr, IDC_IBEAM));
        return;
    }
    if ((event.type == EventWindowSize || event.type == EventScrollWheel) && m_pWindow != nullptr &&
        m_pManager != nullptr)
        m_pManager->SetFocus(nullptr);
    if (event.type == EventSetFocus && IsEnabled()) {
        if (m_pWindow == nullptr) {
            OpenEditWindow();
            Invalidate();
        }
    }
    if (event.type == EventKillFocus && IsEnabled()) Invalidate();
    if (HandleMouseEvent(event)) return;
    CLabelUI::DoEvent(event);
}

// True when the mouse event is finished here.
bool CEditUI::HandleMouseEvent(TEventRecUI& event)
{
    switch (event.type) {
    case EventMouseMove:
    case EventButtonUp: return true;
    case EventMouseEnter:
    case EventMouseLeave:
        if (!IsEnabled()) return true;
        SetStateBits(m_uEditState, UISTATE_HOT, event.type == EventMouseEnter);
        Invalidate();
        return true;
    case EventButtonDown:
    case EventDoubleClick:
        if (!IsEnabled()) return true;
        // A control without the focus is opened by the manager's focus change.
        if (IsFocused() && m_pWindow == nullptr)
            OpenEditWindow();
        else if (m_pWindow != nullptr)
            SendButtonDownToWindow(event);
        return true;
    default: return false;
    }
}

// The press lands at the same spot of the editor, so the caret goes where clicked.
void CEditUI::SendButtonDownToWindow(const TEventRecUI& event)
{
    const int x = event.mousePoint.x - m_rcItem.left - m_rcTextPadding.left;
    const int y = event.mousePoint.y - m_rcItem.top - m_rcTextPadding.top;
    ::SendMessageW(GetEditWindowHandle(), WM_LBUTTONDOWN, event.wParam, MAKELPARAM(x, y));
}

SIZE CEditUI::EstimateSize(SIZE szAvailable)
{
    const int cyFont = DefaultFontHeight();
    if (m_cxyFixed.cy != 0 || cyFont < 0) return CControlUI::EstimateSize(szAvailable);
    return SIZE{ m_cxyFixed.cx, cyFont + 6 };
}

// ---------------------------------------------------------------------------------
// Painting

CStringUI* CEditUI::CurrentStateImage()
{
    if ((m_uEditState & UISTATE_DISABLED) != 0) return &m_sDisabledImage;
    if ((m_uEditState & UISTATE_FOCUSED) != 0) return &m_sFocusedImage;
    if ((m_uEditState & UISTATE_HOT) != 0) return &m_sHotImage;
    return nullptr;
}

void CEditUI::PaintStatusImage(HDC hDC)
{
    SyncFocusAndDisabled(m_uEditState, IsFocused(), IsEnabled());

    CStringUI* pStateImage = CurrentStateImage();
    if (pStateImage != nullptr && DrawImageOrForget(hDC, *pStateImage)) return;
    if (DrawImageOrForget(hDC, m_sNormalImage)) return;

    // A disabled field never shows the active frame, even while it holds the focus.
    const bool bActive = IsEnabled() && (m_uEditState & (UISTATE_HOT | UISTATE_FOCUSED)) != 0;
    if (bActive)
        CPainterUI::DrawRect(hDC, m_rcItem, 2, kActiveFrameColor);
    else
        CPainterUI::DrawRect(hDC, m_rcItem, 1, kIdleFrameColor);
}

// One password character per character of the text, pairs of surrogates counting once.
CStringUI CEditUI::ShownText() const
{
    if (!m_bPasswordMode) return m_sText;
    CStringUI sShown;
    for (LPCWSTR p = m_sText.GetData(); *p != L'\0'; p = ::CharNextW(p)) sShown += m_cPasswordChar;
    return sShown;
}

void CEditUI::PaintText(HDC hDC)
{
    FillDefaultColors();
    if (m_sText.IsEmpty()) return;
    CStringUI sShown = ShownText();
    RECT rc = GetTextRect();
    const DWORD dwColor = IsEnabled() ? m_dwTextColor : m_dwDisabledTextColor;
    CPainterUI::DrawPlainText(hDC, m_pManager, rc, sShown.GetData(), dwColor, m_iFont, m_uTextStyle | DT_SINGLELINE);
}
