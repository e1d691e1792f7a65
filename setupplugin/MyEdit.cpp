#include "MyEdit.h"

namespace {

const DWORD kEditStyle = WS_CHILD | WS_VSCROLL | ES_MULTILINE | ES_AUTOVSCROLL | ES_READONLY | ES_WANTRETURN;
const int kTextInset = 5;
const int kTypedTextLimit = 255;

// Kept for the life of the process: every licence view paints with it.
HBRUSH WhiteBrush()
{
    static HBRUSH hBrush = ::CreateSolidBrush(RGB(255, 255, 255));
    return hBrush;
}

} // namespace

CMyEdit::CMyEdit() = default;

// A native window left behind would route its messages to a deleted object.
CMyEdit::~CMyEdit()
{
    HWND hWnd = m_window.GetWindowHandle();
    if (::IsWindow(hWnd)) ::DestroyWindow(hWnd);
}

HWND CMyEdit::GetEditWindowHandle() const
{
    return m_window.GetWindowHandle();
}

void CMyEdit::CreateEditWindowOnce()
{
    if (m_window.GetWindowHandle() != nullptr || m_pManager == nullptr) return;
    HWND hWnd = m_window.Create(m_pManager->GetPaintWindow(), nullptr, kEditStyle, 0, 0, 0, 0, 0);
    if (hWnd == nullptr) return;
    ::SendMessageW(hWnd, WM_SETFONT, reinterpret_cast<WPARAM>(m_pManager->GetDefaultFont()), TRUE);
    ::SetWindowTextW(hWnd, m_sText.GetData());
    ::SendMessageW(hWnd, EM_LIMITTEXT, kTypedTextLimit, 0);
    ::SendMessageW(hWnd, EM_SETMODIFY, FALSE, 0);
    ::SendMessageW(hWnd, EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, MAKELPARAM(0, 0));
    ::EnableWindow(hWnd, TRUE);
}

void CMyEdit::SetText(LPCWSTR pstrText)
{
    m_sText = pstrText;
    HWND hWnd = m_window.GetWindowHandle();
    if (hWnd != nullptr) ::SetWindowTextW(hWnd, m_sText.GetData());
}

void CMyEdit::SetPos(RECT rc)
{
    CreateEditWindowOnce();
    CControlUI::SetPos(rc);
    if (m_window.GetWindowHandle() == nullptr) return;
    RECT rcEdit = m_rcItem;
    rcEdit.left += kTextInset;
    rcEdit.top += kTextInset;
    m_window.MoveWindowToRect(rcEdit, true);
}

void CMyEdit::SetVisible(bool bVisible)
{
    if (m_window.GetWindowHandle() != nullptr) m_window.Show(bVisible, true);
    CControlUI::SetVisible(bVisible);
}

void CMyEdit::SetInternalVisible(bool bVisible)
{
    CreateEditWindowOnce();
    if (m_window.GetWindowHandle() != nullptr) m_window.Show(bVisible, true);
    CControlUI::SetInternalVisible(bVisible);
}

void CMyEdit::CEditWindow::MoveWindowToRect(const RECT& rc, bool bRepaint)
{
    MoveWindow(rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top, bRepaint);
}

LPCWSTR CMyEdit::CEditWindow::GetWindowClassName() const
{
    return L"License";
}

LPCWSTR CMyEdit::CEditWindow::GetSuperClassName() const
{
    return WC_EDITW;
}

LRESULT CMyEdit::CEditWindow::HandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    if (uMsg == WM_CTLCOLOREDIT || uMsg == WM_CTLCOLORSTATIC) {
        ::SetBkColor(reinterpret_cast<HDC>(wParam), RGB(255, 255, 255));
        return reinterpret_cast<LRESULT>(WhiteBrush());
    }
    return CWindowWnd::HandleMessage(uMsg, wParam, lParam);
}
