#include "EditWnd.h"

#include <vector>

#include "EditUI.h"

namespace {

// The manager hands a child's WM_COMMAND back to the child under this message.
const UINT kReflectedCommand = WM_COMMAND + 0x2000;

RECT ShrinkBy(RECT rc, const RECT& rcPadding)
{
    rc.left += rcPadding.left;
    rc.top += rcPadding.top;
    rc.right -= rcPadding.right;
    rc.bottom -= rcPadding.bottom;
    return rc;
}

} // namespace

CEditWnd::CEditWnd() : m_pOwner(nullptr), m_bCopyChanges(false) { }

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
    CWindowManagerUI* pManager = pOwner->GetManager();
    if (pManager == nullptr || pManager->GetPaintWindow() == nullptr) return false;
    // Known from the start so a window that dies early still tells the owner.
    m_pOwner = pOwner;
    const RECT rc = ShrinkBy(pOwner->GetPos(), pOwner->GetTextPadding());
    DWORD dwStyle = WS_CHILD | ES_AUTOHSCROLL;
    if (pOwner->IsPasswordMode()) dwStyle |= ES_PASSWORD;
    if (CreateInRect(pManager->GetPaintWindow(), nullptr, dwStyle, 0, rc) == nullptr) return false;

    ::SendMessageW(m_hWnd, WM_SETFONT, reinterpret_cast<WPARAM>(pManager->GetDefaultFont()), TRUE);
    ::SendMessageW(m_hWnd, EM_LIMITTEXT, static_cast<WPARAM>(pOwner->GetMaxChar()), 0);
    if (pOwner->IsPasswordMode()) ::SendMessageW(m_hWnd, EM_SETPASSWORDCHAR, pOwner->GetPasswordChar(), 0);
    ::SetWindowTextW(m_hWnd, pOwner->GetText().GetData());
    ::SendMessageW(m_hWnd, EM_SETMODIFY, FALSE, 0);
    ::SendMessageW(m_hWnd, EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, MAKELPARAM(0, 0));
    ApplyOwnerSettings();
    ::ShowWindow(m_hWnd, SW_SHOWNOACTIVATE);
    ::SetFocus(m_hWnd);
    m_bCopyChanges = true;
    return true;
}

void CEditWnd::ApplyOwnerSettings()
{
    ::EnableWindow(m_hWnd, m_pOwner->IsEnabled() ? TRUE : FALSE);
    ::SendMessageW(m_hWnd, EM_SETREADONLY, m_pOwner->IsReadOnly() ? TRUE : FALSE, 0);
    LONG_PTR style = ::GetWindowLongPtrW(m_hWnd, GWL_STYLE);
    if (m_pOwner->IsNumberOnly())
        style |= ES_NUMBER;
    else
        style &= ~static_cast<LONG_PTR>(ES_NUMBER);
    ::SetWindowLongPtrW(m_hWnd, GWL_STYLE, style);
}

// Hidden at once so the owner's replacement does not show a stale editor; the close
// is posted because the owner may be deleted from inside this window's own messages.
void CEditWnd::Detach()
{
    m_pOwner = nullptr;
    m_bCopyChanges = false;
    if (m_hWnd == nullptr) return;
    ::ShowWindow(m_hWnd, SW_HIDE);
    ::PostMessageW(m_hWnd, WM_CLOSE, 0, 0);
}

// Some edit implementations report a change for a keystroke they refused at the
// character limit; only a text that really differs is passed on.
void CEditWnd::CopyTextToOwner()
{
    const int nLength = ::GetWindowTextLengthW(m_hWnd);
    std::vector<wchar_t> text(static_cast<size_t>(nLength) + 1, L'\0');
    ::GetWindowTextW(m_hWnd, text.data(), nLength + 1);
    if (m_pOwner->GetText().Compare(text.data())) return;
    m_pOwner->SetText(text.data());
}

LRESULT CEditWnd::HandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    if (uMsg == WM_KILLFOCUS) {
        LRESULT lRes = ::DefWindowProcW(m_hWnd, uMsg, wParam, lParam);
        ::PostMessageW(m_hWnd, WM_CLOSE, 0, 0);
        return lRes;
    }
    // A single line has nothing to scroll: the wheel belongs to the window behind,
    // whose manager closes the editor and scrolls the field's parent. Not every edit
    // implementation passes it up by itself.
    if (uMsg == WM_MOUSEWHEEL) return ::SendMessageW(::GetParent(m_hWnd), uMsg, wParam, lParam);
    if (uMsg == kReflectedCommand && HIWORD(wParam) == EN_CHANGE) {
        if (m_pOwner != nullptr && m_bCopyChanges) CopyTextToOwner();
        return 0;
    }
    return CWindowWnd::HandleMessage(uMsg, wParam, lParam);
}

void CEditWnd::OnFinalMessage(HWND /*hWnd*/)
{
    if (m_pOwner != nullptr && m_pOwner->m_pWindow == this) m_pOwner->m_pWindow = nullptr;
    delete this;
}
