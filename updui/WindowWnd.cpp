#include "WindowWnd.h"

#include "WindowManagerUI.h"
#include "uishared/WindowClassUI.h"

namespace UpdUI {

namespace {

// Window property that carries the object of a superclassed window: the system
// class may use the user data itself.
const wchar_t kSuperclassProp[] = L"WndX";

void ReturnFocusToOwner(HWND hWndOwner)
{
    if (hWndOwner == nullptr) return;
    ::EnableWindow(hWndOwner, TRUE);
    ::SetFocus(hWndOwner);
}

} // namespace

CWindowWnd::CWindowWnd() : m_hWnd(nullptr), m_OldWndProc(::DefWindowProcW), m_bSubclassed(false) { }

HWND CWindowWnd::GetWindowHandle() const
{
    return m_hWnd;
}

LPCWSTR CWindowWnd::GetSuperClassName() const
{
    return nullptr;
}

UINT CWindowWnd::GetClassStyle() const
{
    return 0;
}

HWND CWindowWnd::Create(HWND hwndParent, LPCWSTR pstrName, DWORD dwStyle, DWORD dwExStyle, int x, int y, int cx, int cy,
                        HMENU hMenu)
{
    bool bRegistered = GetSuperClassName() != nullptr ? RegisterSuperclass() : RegisterWindowClass();
    if (!bRegistered) return nullptr;
    m_hWnd = ::CreateWindowExW(dwExStyle, GetWindowClassName(), pstrName, dwStyle, x, y, cx, cy, hwndParent, hMenu,
                               CWindowManagerUI::GetInstance(), this);
    return m_hWnd;
}

HWND CWindowWnd::CreateInRect(HWND hwndParent, LPCWSTR pstrName, DWORD dwStyle, DWORD dwExStyle, const RECT& rc,
                              HMENU hMenu)
{
    return Create(hwndParent, pstrName, dwStyle, dwExStyle, rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top,
                  hMenu);
}

void CWindowWnd::Unsubclass()
{
    if (!::IsWindow(m_hWnd) || !m_bSubclassed) return;
    ::SetWindowLongPtrW(m_hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_OldWndProc));
    m_OldWndProc = ::DefWindowProcW;
    m_bSubclassed = false;
}

void CWindowWnd::Show(bool bShow, bool bTakeFocus)
{
    if (!::IsWindow(m_hWnd)) return;
    ::ShowWindow(m_hWnd, !bShow ? SW_HIDE : (bTakeFocus ? SW_SHOWNORMAL : SW_SHOWNOACTIVATE));
}

// The owner is re-enabled as soon as the window is asked to close, before the window
// goes away, so that activation returns to it rather than to some other program.
UINT CWindowWnd::RunModalLoop()
{
    UINT nRet = 0;
    HWND hWndOwner = ::GetWindow(m_hWnd, GW_OWNER);
    ::ShowWindow(m_hWnd, SW_SHOWNORMAL);
    if (hWndOwner != nullptr) ::EnableWindow(hWndOwner, FALSE);
    bool bQuit = false;
    WPARAM quitCode = 0;
    MSG msg = {};
    while (::IsWindow(m_hWnd)) {
        BOOL bRet = ::GetMessageW(&msg, nullptr, 0, 0);
        if (bRet == -1) break; // the queue is unusable: leave instead of spinning on the error
        if (bRet == 0) {
            bQuit = true;
            quitCode = msg.wParam;
            break;
        }
        if (msg.hwnd == m_hWnd && msg.message == WM_CLOSE) {
            nRet = static_cast<UINT>(msg.wParam);
            ReturnFocusToOwner(hWndOwner);
        }
        if (!CWindowManagerUI::PreTranslateAll(&msg)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
    }
    ReturnFocusToOwner(hWndOwner);
    if (bQuit) ::PostQuitMessage(static_cast<int>(quitCode));
    return nRet;
}

void CWindowWnd::CenterWindow()
{
    UIShared::CWindowClassUI::CenterOnOwner(m_hWnd);
}

LRESULT CWindowWnd::SendWindowMessage(UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    return ::SendMessageW(m_hWnd, uMsg, wParam, lParam);
}

LRESULT CWindowWnd::PostWindowMessage(UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    return ::PostMessageW(m_hWnd, uMsg, wParam, lParam);
}

void CWindowWnd::Close(UINT nRet)
{
    if (!::IsWindow(m_hWnd)) return;
    ::PostMessageW(m_hWnd, WM_CLOSE, static_cast<WPARAM>(nRet), 0);
}

bool CWindowWnd::RegisterWindowClass()
{
    return UIShared::CWindowClassUI::RegisterPlain(GetClassStyle(), CWindowWnd::WindowProc,
                                                   CWindowManagerUI::GetInstance(), nullptr, GetWindowClassName());
}

bool CWindowWnd::RegisterSuperclass()
{
    return UIShared::CWindowClassUI::RegisterSuperclass(GetSuperClassName(), GetWindowClassName(),
                                                        CWindowWnd::SuperclassProc, CWindowManagerUI::GetInstance(),
                                                        &m_OldWndProc);
}

CWindowWnd* CWindowWnd::AttachOnCreate(HWND hWnd, LPARAM lParam)
{
    LPCREATESTRUCTW lpcs = reinterpret_cast<LPCREATESTRUCTW>(lParam);
    CWindowWnd* pThis = static_cast<CWindowWnd*>(lpcs->lpCreateParams);
    if (pThis != nullptr) pThis->m_hWnd = hWnd;
    return pThis;
}

// WM_NCDESTROY: the saved procedure sees the message first; the object forgets the
// window before OnFinalMessage, which may delete the object.
LRESULT CWindowWnd::FinishWindow(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam, bool bUsesProp)
{
    LRESULT lRes = ::CallWindowProcW(m_OldWndProc, hWnd, uMsg, wParam, lParam);
    if (!bUsesProp) ::SetWindowLongPtrW(hWnd, GWLP_USERDATA, 0);
    Unsubclass();
    if (bUsesProp) ::RemovePropW(hWnd, kSuperclassProp);
    m_hWnd = nullptr;
    OnFinalMessage(hWnd);
    return lRes;
}

LRESULT CALLBACK CWindowWnd::WindowProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    CWindowWnd* pThis = nullptr;
    if (uMsg == WM_NCCREATE) {
        pThis = AttachOnCreate(hWnd, lParam);
        ::SetWindowLongPtrW(hWnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(pThis));
    } else {
        pThis = reinterpret_cast<CWindowWnd*>(::GetWindowLongPtrW(hWnd, GWLP_USERDATA));
        if (uMsg == WM_NCDESTROY && pThis != nullptr) return pThis->FinishWindow(hWnd, uMsg, wParam, lParam, false);
    }
    if (pThis == nullptr) return ::DefWindowProcW(hWnd, uMsg, wParam, lParam);
    return pThis->HandleMessage(uMsg, wParam, lParam);
}

LRESULT CALLBACK CWindowWnd::SuperclassProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    CWindowWnd* pThis = nullptr;
    if (uMsg == WM_NCCREATE) {
        pThis = AttachOnCreate(hWnd, lParam);
        ::SetPropW(hWnd, kSuperclassProp, static_cast<HANDLE>(pThis));
    } else {
        pThis = static_cast<CWindowWnd*>(::GetPropW(hWnd, kSuperclassProp));
        if (uMsg == WM_NCDESTROY && pThis != nullptr) return pThis->FinishWindow(hWnd, uMsg, wParam, lParam, true);
    }
    if (pThis == nullptr) return ::DefWindowProcW(hWnd, uMsg, wParam, lParam);
    return pThis->HandleMessage(uMsg, wParam, lParam);
}

LRESULT CWindowWnd::HandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    return ::CallWindowProcW(m_OldWndProc, m_hWnd, uMsg, wParam, lParam);
}

void CWindowWnd::OnFinalMessage(HWND /*hWnd*/) { }

} // namespace UpdUI
