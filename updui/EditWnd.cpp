#include "EditWnd.h"

#include <vector>

#include "EditUI.h"
#include "PainterUI.h"
#include "WindowManagerUI.h"

namespace UpdUI {

namespace {

// The window manager hands a child's command and colour messages back to the child
// under the message number plus this offset.
const UINT kReflectOffset = 0x2000;
const DWORD kNoNativeBkColor = 0xFFFFFFFF;

} // namespace

CEditWnd::CEditWnd() : m_pOwner(nullptr), m_hBkBrush(nullptr), m_bInit(false) { }

LPCWSTR CEditWnd::GetWindowClassName() const
{
    return L"EditWnd";
}

LPCWSTR CEditWnd::GetSuperClassName() const
{
    return L"Edit";
}

bool CEditWnd::Init(CEditUI* pOwner)
{
    CWindowManagerUI* pManager = pOwner != nullptr ? pOwner->GetManager() : nullptr;
    if (pManager == nullptr || pManager->GetPaintWindow() == nullptr) return false;
    m_pOwner = pOwner;
    DWORD dwStyle = WS_CHILD | ES_AUTOHSCROLL;
    if (pOwner->IsPasswordMode()) dwStyle |= ES_PASSWORD;
    if (CreateInRect(pManager->GetPaintWindow(), nullptr, dwStyle, 0, pOwner->GetEditRect()) == nullptr) {
        m_pOwner = nullptr;
        return false;
    }
    ::SendMessageW(m_hWnd, WM_SETFONT, reinterpret_cast<WPARAM>(pManager->GetFont(pOwner->GetFont())), TRUE);
    ::SendMessageW(m_hWnd, EM_LIMITTEXT, pOwner->GetMaxChar(), 0);
    if (pOwner->IsPasswordMode()) ::SendMessageW(m_hWnd, EM_SETPASSWORDCHAR, pOwner->GetPasswordChar(), 0);
    ::SetWindowTextW(m_hWnd, pOwner->GetText().GetData());
    ::SendMessageW(m_hWnd, EM_SETMODIFY, FALSE, 0);
    ::SendMessageW(m_hWnd, EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, 0);
    ApplyOwnerSettings();
    ::ShowWindow(m_hWnd, SW_SHOWNOACTIVATE);
    ::SetFocus(m_hWnd);
    m_bInit = true;
    return true;
}

void CEditWnd::ApplyOwnerSettings()
{
    ::EnableWindow(m_hWnd, m_pOwner->IsEnabled() ? TRUE : FALSE);
    ::SendMessageW(m_hWnd, EM_SETREADONLY, m_pOwner->IsReadOnly() ? TRUE : FALSE, 0);
    LONG_PTR style = ::GetWindowLongPtrW(m_hWnd, GWL_STYLE);
    ::SetWindowLongPtrW(m_hWnd, GWL_STYLE, style | m_pOwner->GetWindowStyles());
}

// Hidden at once; the close is posted because the owner may be going away from inside
// one of this window's own messages.
void CEditWnd::Detach()
{
    m_pOwner = nullptr;
    m_bInit = false;
    if (m_hWnd == nullptr) return;
    ::ShowWindow(m_hWnd, SW_HIDE);
    ::PostMessageW(m_hWnd, WM_CLOSE, 0, 0);
}

void CEditWnd::OnTextChanged()
{
    if (m_pOwner == nullptr || !m_bInit) return;
    int nLength = ::GetWindowTextLengthW(m_hWnd);
    std::vector<wchar_t> text(static_cast<size_t>(nLength) + 1, L'\0');
    ::GetWindowTextW(m_hWnd, text.data(), nLength + 1);
    m_pOwner->m_sText = text.data();
    CWindowManagerUI* pManager = m_pOwner->GetManager();
    if (pManager != nullptr) pManager->SendNotify(m_pOwner, L"textchanged");
}

LRESULT CEditWnd::OnCtlColor(HDC hDC)
{
    if (m_pOwner == nullptr) return 0;
    DWORD dwColor = m_pOwner->GetNativeEditBkColor();
    if (dwColor == kNoNativeBkColor) return 0;
    ::SetBkMode(hDC, TRANSPARENT);
    ::SetTextColor(hDC, CPainterUI::ToColorRef(m_pOwner->GetTextColor()));
    if (m_hBkBrush == nullptr) m_hBkBrush = ::CreateSolidBrush(CPainterUI::ToColorRef(dwColor));
    return reinterpret_cast<LRESULT>(m_hBkBrush);
}

LRESULT CEditWnd::HandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    switch (uMsg) {
    case WM_KILLFOCUS: {
        LRESULT lRes = CWindowWnd::HandleMessage(uMsg, wParam, lParam);
        ::PostMessageW(m_hWnd, WM_CLOSE, 0, 0);
        return lRes;
    }
    case WM_KEYDOWN:
        if (wParam != VK_RETURN) break;
        if (m_pOwner != nullptr && m_pOwner->GetManager() != nullptr) {
            m_pOwner->GetManager()->SendNotify(m_pOwner, L"return");
        }
        return 0;
    case kReflectOffset + WM_COMMAND:
        if (HIWORD(wParam) == EN_CHANGE) {
            OnTextChanged();
        } else if (HIWORD(wParam) == EN_UPDATE) {
            ::InvalidateRect(m_hWnd, nullptr, FALSE);
        }
        return 0;
    case kReflectOffset + WM_CTLCOLOREDIT:
    case kReflectOffset + WM_CTLCOLORSTATIC: return OnCtlColor(reinterpret_cast<HDC>(wParam));
    default: break;
    }
    return CWindowWnd::HandleMessage(uMsg, wParam, lParam);
}

void CEditWnd::OnFinalMessage(HWND /*hWnd*/)
{
    if (m_hBkBrush != nullptr) ::DeleteObject(m_hBkBrush);
    m_hBkBrush = nullptr;
    if (m_pOwner != nullptr && m_pOwner->m_pWindow == this) {
        m_pOwner->m_pWindow = nullptr;
        m_pOwner->Invalidate();
    }
    delete this;
}

} // namespace UpdUI
