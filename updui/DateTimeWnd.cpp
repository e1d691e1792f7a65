#include "DateTimeWnd.h"

#include <commctrl.h>

#include "DateTimeUI.h"
#include "WindowManagerUI.h"

namespace UpdUI {

CDateTimeWnd::CDateTimeWnd() : m_pOwner(nullptr), m_hBkBrush(nullptr), m_bInit(false) { }

LPCWSTR CDateTimeWnd::GetWindowClassName() const
{
    return L"DateTimeWnd";
}

LPCWSTR CDateTimeWnd::GetSuperClassName() const
{
    return DATETIMEPICK_CLASSW;
}

bool CDateTimeWnd::CreatePicker()
{
    CWindowManagerUI* pManager = m_pOwner->GetManager();
    if (pManager == nullptr || pManager->GetPaintWindow() == nullptr) return false;
    if (CreateInRect(pManager->GetPaintWindow(), nullptr, WS_CHILD, 0, m_pOwner->GetPos()) == nullptr) return false;
    ::SendMessageW(m_hWnd, WM_SETFONT, reinterpret_cast<WPARAM>(pManager->GetFont(m_pOwner->GetFont())), TRUE);
    return true;
}

bool CDateTimeWnd::Init(CDateTimeUI* pOwner)
{
    if (pOwner == nullptr) return false;
    m_pOwner = pOwner;
    pOwner->m_nUpdateKind = CDateTimeUI::UpdateNone;
    if (m_hWnd == nullptr && !CreatePicker()) {
        m_pOwner = nullptr;
        return false;
    }
    // A cleared control starts again from today.
    if (pOwner->GetText().IsEmpty()) ::GetLocalTime(&pOwner->m_sysTime);
    ::SendMessageW(m_hWnd, DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&pOwner->m_sysTime));
    ::ShowWindow(m_hWnd, SW_SHOWNOACTIVATE);
    ::SetFocus(m_hWnd);
    m_bInit = true;
    return true;
}

void CDateTimeWnd::Detach()
{
    m_pOwner = nullptr;
    m_bInit = false;
    if (m_hWnd == nullptr) return;
    ::ShowWindow(m_hWnd, SW_HIDE);
    ::PostMessageW(m_hWnd, WM_CLOSE, 0, 0);
}

void CDateTimeWnd::OnKillFocus()
{
    if (m_pOwner != nullptr && m_pOwner->m_nUpdateKind == CDateTimeUI::UpdateNone) {
        SYSTEMTIME st = {};
        if (::SendMessageW(m_hWnd, DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&st)) == GDT_VALID) {
            m_pOwner->m_sysTime = st;
        }
        m_pOwner->m_nUpdateKind = CDateTimeUI::UpdateTakeDate;
        m_pOwner->UpdateText();
    }
    ::PostMessageW(m_hWnd, WM_CLOSE, 0, 0);
}

void CDateTimeWnd::OnKeyUp(WPARAM wParam)
{
    if (wParam == VK_BACK || wParam == VK_DELETE) {
        if (m_pOwner != nullptr) {
            m_pOwner->m_nUpdateKind = CDateTimeUI::UpdateCleared;
            m_pOwner->UpdateText();
        }
        ::PostMessageW(m_hWnd, WM_CLOSE, 0, 0);
    } else if (wParam == VK_ESCAPE) {
        if (m_pOwner != nullptr) m_pOwner->m_nUpdateKind = CDateTimeUI::UpdateCancelled;
        ::PostMessageW(m_hWnd, WM_CLOSE, 0, 0);
    }
}

LRESULT CDateTimeWnd::HandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    if (uMsg == WM_KILLFOCUS) {
        LRESULT lRes = CWindowWnd::HandleMessage(uMsg, wParam, lParam);
        OnKillFocus();
        return lRes;
    }
    if (uMsg == WM_KEYUP) {
        LRESULT lRes = CWindowWnd::HandleMessage(uMsg, wParam, lParam);
        OnKeyUp(wParam);
        return lRes;
    }
    return CWindowWnd::HandleMessage(uMsg, wParam, lParam);
}

void CDateTimeWnd::OnFinalMessage(HWND /*hWnd*/)
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
