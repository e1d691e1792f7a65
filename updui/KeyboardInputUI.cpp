#include "KeyboardInputUI.h"

#include <cwchar>
#include <cwctype>

#include "ControlUI.h"
#include "KeyStateUI.h"
#include "RichEditUI.h"
#include "TreeSearchUI.h"
#include "WindowManagerUI.h"

namespace UpdUI {

namespace {

bool RichEditWantsTab(CControlUI* pControl)
{
    CRichEditUI* pRichEdit = static_cast<CRichEditUI*>(pControl->GetInterface(L"RichEdit"));
    return pRichEdit == nullptr || pRichEdit->IsWantTab();
}

} // namespace

CKeyboardInputUI::CKeyboardInputUI(CWindowManagerUI& manager) : m_manager(manager), m_pEventKey(nullptr) { }

void CKeyboardInputUI::ForgetControls()
{
    m_pEventKey = nullptr;
}

void CKeyboardInputUI::Forget(CControlUI* pControl)
{
    if (m_pEventKey == pControl) m_pEventKey = nullptr;
}

void CKeyboardInputUI::SendKeyEvent(CControlUI* pControl, int type, CControlUI* pSender, WPARAM wParam, LPARAM lParam)
{
    m_manager.SendEvent(pControl, type, pSender, LOWORD(wParam), GetMouseKeyFlags(), wParam, lParam);
}

void CKeyboardInputUI::HandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    CControlUI* pFocus = m_manager.GetFocus();
    switch (uMsg) {
    case WM_KEYDOWN:
        if (pFocus == nullptr) return;
        m_pEventKey = pFocus;
        SendKeyEvent(pFocus, EventKeyDown, nullptr, wParam, lParam);
        return;
    case WM_KEYUP:
        if (m_pEventKey == nullptr) return;
        SendKeyEvent(m_pEventKey, EventKeyUp, m_pEventKey, wParam, lParam);
        m_pEventKey = nullptr;
        return;
    case WM_CHAR:
        if (pFocus != nullptr) SendKeyEvent(pFocus, EventChar, pFocus, wParam, lParam);
        return;
    default: return;
    }
}

bool CKeyboardInputUI::PreHandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    switch (uMsg) {
    case WM_KEYDOWN:
        if (wParam != VK_TAB) return false;
        if (FocusKeepsTab()) return false;
        m_manager.SetNextTabControl(::GetKeyState(VK_SHIFT) >= 0);
        return true;
    case WM_SYSKEYDOWN: {
        CControlUI* pFocus = m_manager.GetFocus();
        if (pFocus != nullptr) SendKeyEvent(pFocus, EventSysKey, pFocus, wParam, lParam);
        return false;
    }
    case WM_SYSCHAR: return HandleShortcut(wParam);
    default: return false;
    }
}

// A rich edit that wants tabs takes TAB as a character.
bool CKeyboardInputUI::FocusKeepsTab() const
{
    CControlUI* pFocus = m_manager.GetFocus();
    if (pFocus == nullptr || !pFocus->IsVisible() || !pFocus->IsEnabled()) return false;
    LPCWSTR pstrClass = pFocus->GetControlClass();
    if (pstrClass == nullptr || wcsstr(pstrClass, L"RichEditUI") == nullptr) return false;
    return RichEditWantsTab(pFocus);
}

bool CKeyboardInputUI::HandleShortcut(WPARAM wParam)
{
    CControlUI* pRoot = m_manager.GetRoot();
    if (pRoot == nullptr) return false;
    CControlUI* pControl =
        CTreeSearchUI::ShortcutTarget(pRoot, static_cast<wchar_t>(towupper(static_cast<wint_t>(wParam))));
    if (pControl == nullptr) return false;
    pControl->SetFocus();
    pControl->Activate();
    return true;
}

} // namespace UpdUI
