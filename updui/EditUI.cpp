#include "EditUI.h"

#include <cstdlib>
#include <cwchar>

#include "AttributeValueUI.h"
#include "ControlStateUI.h"
#include "EditWnd.h"
#include "PainterUI.h"

namespace UpdUI {

namespace {

const UINT kDefaultMaxChar = 255;
const DWORD kNoNativeBkColor = 0xFFFFFFFF;
const DWORD kWhite = 0xFFFFFFFF;
const int kEditExtraHeight = 6;

} // namespace

CEditUI::CEditUI()
    : m_pWindow(nullptr), m_uMaxChar(kDefaultMaxChar), m_bReadOnly(false), m_bPasswordMode(false),
      m_cPasswordChar(L'*'), m_uButtonState(0), m_dwEditBkColor(kNoNativeBkColor), m_lWindowStyles(0)
{
    m_rcTextPadding = { 4, 3, 4, 3 };
    SetBkColor(kWhite);
}

// An open native window outlives its owner by a posted close; it must not call back.
CEditUI::~CEditUI()
{
    if (m_pWindow != nullptr) m_pWindow->Detach();
    m_pWindow = nullptr;
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
    return IsEnabled() ? (UIFLAG_TABSTOP | UIFLAG_SETCURSOR) : 0;
}

void CEditUI::SetText(LPCWSTR pstrText)
{
    m_sText = pstrText;
    if (m_pWindow != nullptr) ::SetWindowTextW(*m_pWindow, m_sText.GetData());
    Invalidate();
}

RECT CEditUI::GetEditRect() const
{
    RECT rc = GetTextRect();
    int cyFont = FontHeight();
    if (cyFont >= 0 && cyFont < rc.bottom - rc.top) {
        rc.top += (rc.bottom - rc.top - cyFont) / 2;
        rc.bottom = rc.top + cyFont;
    }
    return rc;
}

void CEditUI::SetPos(RECT rc)
{
    CLabelUI::SetPos(rc);
    if (m_pWindow == nullptr) return;
    RECT rcEdit = GetEditRect();
    ::SetWindowPos(*m_pWindow, nullptr, rcEdit.left, rcEdit.top, rcEdit.right - rcEdit.left, rcEdit.bottom - rcEdit.top,
                   SWP_NOZORDER | SWP_NOACTIVATE);
}

// Taking the focus away closes the native window; the text it held is already ours.
void CEditUI::SetVisible(bool bVisible)
{
    CLabelUI::SetVisible(bVisible);
    if (!IsVisible() && m_pWindow != nullptr && m_pManager != nullptr) m_pManager->SetFocus(nullptr);
}

void CEditUI::SetInternalVisible(bool bVisible)
{
    CLabelUI::SetInternalVisible(bVisible);
    if (!IsVisible() && m_pWindow != nullptr && m_pManager != nullptr) m_pManager->SetFocus(nullptr);
}

void CEditUI::SetEnabled(bool bEnable)
{
    CLabelUI::SetEnabled(bEnable);
    if (!IsEnabled()) m_uButtonState = 0;
}

UINT CEditUI::GetMaxChar() const
{
    return m_uMaxChar;
}

void CEditUI::SetMaxChar(UINT uMax)
{
    m_uMaxChar = uMax;
    if (m_pWindow != nullptr) ::SendMessageW(*m_pWindow, EM_LIMITTEXT, m_uMaxChar, 0);
}

bool CEditUI::IsReadOnly() const
{
    return m_bReadOnly;
}

void CEditUI::SetReadOnly(bool bReadOnly)
{
    if (m_bReadOnly == bReadOnly) return;
    m_bReadOnly = bReadOnly;
    if (m_pWindow != nullptr) ::SendMessageW(*m_pWindow, EM_SETREADONLY, m_bReadOnly ? TRUE : FALSE, 0);
    Invalidate();
}

bool CEditUI::IsNumberOnly() const
{
    return (m_lWindowStyles & ES_NUMBER) != 0;
}

void CEditUI::SetNumberOnly(bool bNumberOnly)
{
    if (bNumberOnly)
        m_lWindowStyles |= ES_NUMBER;
    else
        m_lWindowStyles &= ~static_cast<LONG>(ES_NUMBER);
}

bool CEditUI::IsPasswordMode() const
{
    return m_bPasswordMode;
}

void CEditUI::SetPasswordMode(bool bPasswordMode)
{
    if (m_bPasswordMode == bPasswordMode) return;
    m_bPasswordMode = bPasswordMode;
    Invalidate();
}

wchar_t CEditUI::GetPasswordChar() const
{
    return m_cPasswordChar;
}

void CEditUI::SetPasswordChar(wchar_t chPasswordChar)
{
    if (m_cPasswordChar == chPasswordChar) return;
    m_cPasswordChar = chPasswordChar;
    if (m_pWindow != nullptr) ::SendMessageW(*m_pWindow, EM_SETPASSWORDCHAR, m_cPasswordChar, 0);
    Invalidate();
}

DWORD CEditUI::GetNativeEditBkColor() const
{
    return m_dwEditBkColor;
}

void CEditUI::SetNativeEditBkColor(DWORD dwBkColor)
{
    m_dwEditBkColor = dwBkColor;
}

LONG CEditUI::GetWindowStyles() const
{
    return m_lWindowStyles;
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

void CEditUI::OpenWindow()
{
    if (m_pWindow != nullptr) return;
    CEditWnd* pWindow = new CEditWnd;
    m_pWindow = pWindow;
    if (!pWindow->Init(this)) {
        m_pWindow = nullptr;
        delete pWindow;
    }
}

// An empty window is asked for the range 0..1 so the caret lands at its start.
void CEditUI::SelectAllInWindow()
{
    if (m_pWindow == nullptr) return;
    int nSize = ::GetWindowTextLengthW(*m_pWindow);
    if (nSize == 0) nSize = 1;
    ::SendMessageW(*m_pWindow, EM_SETSEL, 0, nSize);
}

void CEditUI::DoEvent(TEventRecUI& event)
{
    if (DoFieldEvent(event, m_pWindow != nullptr)) return;
    switch (event.type) {
    case EventSetFocus:
        if (!IsEnabled()) break;
        m_bFocused = true;
        if (m_pWindow != nullptr) return;
        OpenWindow();
        Invalidate();
        return;
    case EventMouseEnter:
    case EventMouseLeave:
        if (!IsEnabled()) break;
        SetStateBits(m_uButtonState, UISTATE_HOT, event.type == EventMouseEnter);
        Invalidate();
        return;
    case EventButtonDown:
    case EventRightButtonDown:
    case EventDoubleClick:
        if (!IsEnabled()) break;
        if (m_pManager != nullptr) m_pManager->ReleaseCapture();
        if (IsFocused() && m_pWindow == nullptr) {
            OpenWindow();
            if (!::PtInRect(&m_rcItem, event.mousePoint)) return;
        }
        SelectAllInWindow();
        return;
    default: break;
    }
    CLabelUI::DoEvent(event);
}

void CEditUI::SetAttribute(LPCWSTR pstrName, LPCWSTR pstrValue)
{
    if (pstrName == nullptr || pstrValue == nullptr) return;
    if (wcscmp(pstrName, L"readonly") == 0) {
        SetReadOnly(CAttributeValueUI::IsTrue(pstrValue));
    } else if (wcscmp(pstrName, L"numberonly") == 0) {
        SetNumberOnly(CAttributeValueUI::IsTrue(pstrValue));
    } else if (wcscmp(pstrName, L"password") == 0) {
        SetPasswordMode(CAttributeValueUI::IsTrue(pstrValue));
    } else if (wcscmp(pstrName, L"maxchar") == 0) {
        SetMaxChar(static_cast<UINT>(wcstol(pstrValue, nullptr, 10)));
    } else if (wcscmp(pstrName, L"normalimage") == 0) {
        SetNormalImage(pstrValue);
    } else if (wcscmp(pstrName, L"hotimage") == 0) {
        SetHotImage(pstrValue);
    } else if (wcscmp(pstrName, L"focusedimage") == 0) {
        SetFocusedImage(pstrValue);
    } else if (wcscmp(pstrName, L"disabledimage") == 0) {
        SetDisabledImage(pstrValue);
    } else if (wcscmp(pstrName, L"nativebkcolor") == 0) {
        SetNativeEditBkColor(CAttributeValueUI::ParseColor(pstrValue));
    } else {
        CLabelUI::SetAttribute(pstrName, pstrValue);
    }
}

SIZE CEditUI::EstimateSize(SIZE szAvailable)
{
    int cyFont = FontHeight();
    if (m_cxyFixed.cy != 0 || cyFont < 0) return CControlUI::EstimateSize(szAvailable);
    SIZE sz = { m_cxyFixed.cx, cyFont + kEditExtraHeight };
    return sz;
}

void CEditUI::RefreshStateBits()
{
    SyncFocusAndDisabled(m_uButtonState, IsFocused(), IsEnabled());
}

void CEditUI::PaintStatusImage(HDC hDC)
{
    RefreshStateBits();
    CStringUI* pStateImage = nullptr;
    if ((m_uButtonState & UISTATE_DISABLED) != 0)
        pStateImage = &m_sDisabledImage;
    else if ((m_uButtonState & UISTATE_FOCUSED) != 0)
        pStateImage = &m_sFocusedImage;
    else if ((m_uButtonState & UISTATE_HOT) != 0)
        pStateImage = &m_sHotImage;
    if (pStateImage != nullptr && DrawImageOrForget(hDC, *pStateImage)) return;
    DrawImageOrForget(hDC, m_sNormalImage);
}

// CharNextW steps, so a surrogate pair shows one password character.
CStringUI CEditUI::GetShownText() const
{
    if (!m_bPasswordMode) return m_sText;
    CStringUI sShown;
    for (LPCWSTR p = m_sText.GetData(); *p != L'\0'; p = ::CharNextW(p)) {
        sShown += m_cPasswordChar;
    }
    return sShown;
}

void CEditUI::PaintText(HDC hDC)
{
    FillDefaultColors();
    if (m_sText.IsEmpty()) return;
    CStringUI sShown = GetShownText();
    RECT rc = GetTextRect();
    DWORD dwColor = IsEnabled() ? m_dwTextColor : m_dwDisabledTextColor;
    CPainterUI::DrawPlainText(hDC, m_pManager, rc, sShown.GetData(), dwColor, m_iFont, DT_SINGLELINE | m_uTextStyle);
}

} // namespace UpdUI
