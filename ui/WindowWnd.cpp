#include "WindowWnd.h"

#include "WindowManagerUI.h"
#include "uishared/WindowClassUI.h"

namespace {

// Window property that carries the object of a superclassed window: the base class
// may use the user data itself.
const wchar_t kSubclassProp[] = L"WndX";

bool IsMouseOrKeyMessage(UINT uMsg)
{
    return (uMsg >= WM_MOUSEFIRST && uMsg <= WM_MOUSELAST) || (uMsg >= WM_KEYFIRST && uMsg <= WM_KEYLAST) ||
        uMsg == WM_SETCURSOR;
}

} // namespace

CWindowWnd::CWindowWnd() : m_hWnd(nullptr), m_OldWndProc(::DefWindowProcW) { }

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
    // The handle is stored at WM_NCCREATE; a window that is destroyed during
    // creation may already have deleted this object, so it is not touched here.
    return ::CreateWindowExW(dwExStyle, GetWindowClassName(), pstrName, dwStyle, x, y, cx, cy, hwndParent, hMenu,
                             CWindowManagerUI::GetInstance(), this);
}

HWND CWindowWnd::CreateInRect(HWND hwndParent, LPCWSTR pstrName, DWORD dwStyle, DWORD dwExStyle, RECT rc, HMENU hMenu)
{
    return Create(hwndParent, pstrName, dwStyle, dwExStyle, rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top,
                  hMenu);
}

void CWindowWnd::Show(bool bShow, bool bTakeFocus)
{
    if (!::IsWindow(m_hWnd)) return;
    ::ShowWindow(m_hWnd, !bShow ? SW_HIDE : (bTakeFocus ? SW_SHOWNORMAL : SW_SHOWNOACTIVATE));
}

// Clicks, keys and cursor queries aimed at the owner are swallowed while this window
// is modal; the caller disabled the owner, but queued input may still be pending.
bool CWindowWnd::IsDroppedOwnerMessage(const MSG& msg, HWND hWndOwner)
{
    return hWndOwner != nullptr && msg.hwnd == hWndOwner && IsMouseOrKeyMessage(msg.message);
}

bool CWindowWnd::RunModalLoop()
{
    HWND hWndOwner = ::GetWindow(m_hWnd, GW_OWNER);
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
        if (IsDroppedOwnerMessage(msg, hWndOwner)) continue;
        if (!CWindowManagerUI::PreTranslateAll(&msg)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
    }
    if (bQuit) ::PostQuitMessage(static_cast<int>(quitCode));
    return true;
}

void CWindowWnd::CenterWindow()
{
    UIShared::CWindowClassUI::CenterOnOwner(m_hWnd);
}

LRESULT CWindowWnd::SendWindowMessage(UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    return ::SendMessageW(m_hWnd, uMsg, wParam, lParam);
}

bool CWindowWnd::PostWindowMessage(UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    return ::PostMessageW(m_hWnd, uMsg, wParam, lParam) != FALSE;
}

void CWindowWnd::MoveWindow(int x, int y, int cx, int cy, bool bRepaint)
{
    ::MoveWindow(m_hWnd, x, y, cx, cy, bRepaint ? TRUE : FALSE);
}

void CWindowWnd::Close()
{
    if (!::IsWindow(m_hWnd)) return;
    ::PostMessageW(m_hWnd, WM_CLOSE, 0, 0);
}

bool CWindowWnd::RegisterWindowClass()
{
    HINSTANCE hInstance = CWindowManagerUI::GetInstance();
    HICON hIcon = ::LoadIconW(hInstance, MAKEINTRESOURCEW(107));
    return UIShared::CWindowClassUI::RegisterPlain(GetClassStyle(), CWindowWnd::StaticWindowProc, hInstance, hIcon,
                                                   GetWindowClassName());
}

bool CWindowWnd::RegisterSuperclass()
{
    return UIShared::CWindowClassUI::RegisterSuperclass(GetSuperClassName(), GetWindowClassName(),
                                                        CWindowWnd::StaticSubclassProc, CWindowManagerUI::GetInstance(),
                                                        &m_OldWndProc);
}

// WM_NCDESTROY: the previous procedure sees the message first; the object forgets the
// handle before OnFinalMessage, which may delete the object.
LRESULT CWindowWnd::FinishWindow(CWindowWnd* pThis, HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    LRESULT lRes = ::CallWindowProcW(pThis->m_OldWndProc, hWnd, uMsg, wParam, lParam);
    pThis->m_hWnd = nullptr;
    pThis->OnFinalMessage(hWnd);
    return lRes;
}

LRESULT CALLBACK CWindowWnd::StaticWindowProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    CWindowWnd* pThis = nullptr;
    if (uMsg == WM_NCCREATE) {
        LPCREATESTRUCTW lpcs = reinterpret_cast<LPCREATESTRUCTW>(lParam);
        pThis = static_cast<CWindowWnd*>(lpcs->lpCreateParams);
        pThis->m_hWnd = hWnd;
        ::SetWindowLongPtrW(hWnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(pThis));
    } else {
        pThis = reinterpret_cast<CWindowWnd*>(::GetWindowLongPtrW(hWnd, GWLP_USERDATA));
        if (uMsg == WM_NCDESTROY && pThis != nullptr) {
            ::SetWindowLongPtrW(hWnd, GWLP_USERDATA, 0);
            return FinishWindow(pThis, hWnd, uMsg, wParam, lParam);
        }
    }
    if (pThis == nullptr) return ::DefWindowProcW(hWnd, uMsg, wParam, lParam);
    return pThis->HandleMessage(uMsg, wParam, lParam);
}

LRESULT CALLBACK CWindowWnd::StaticSubclassProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    CWindowWnd* pThis = nullptr;
    if (uMsg == WM_NCCREATE) {
        LPCREATESTRUCTW lpcs = reinterpret_cast<LPCREATESTRUCTW>(lParam);
        pThis = static_cast<CWindowWnd*>(lpcs->lpCreateParams);
        pThis->m_hWnd = hWnd;
        ::SetPropW(hWnd, kSubclassProp, static_cast<HANDLE>(pThis));
    } else {
        pThis = static_cast<CWindowWnd*>(::GetPropW(hWnd, kSubclassProp));
        if (uMsg == WM_NCDESTROY && pThis != nullptr) {
            // The property is removed, not left as a stale entry on a dying window.
            LRESULT lRes = ::CallWindowProcW(pThis->m_OldWndProc, hWnd, uMsg, wParam, lParam);
            ::RemovePropW(hWnd, kSubclassProp);
            pThis->m_hWnd = nullptr;
            pThis->OnFinalMessage(hWnd);
            return lRes;
        }
    }
    if (pThis == nullptr) return ::DefWindowProcW(hWnd, uMsg, wParam, lParam);
    return pThis->HandleMessage(uMsg, wParam, lParam);
}

LRESULT CWindowWnd::HandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    return ::CallWindowProcW(m_OldWndProc, m_hWnd, uMsg, wParam, lParam);
}

void CWindowWnd::OnFinalMessage(HWND /*hWnd*/) { }
