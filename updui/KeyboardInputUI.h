#pragma once
#include <windows.h>

namespace UpdUI {

class CControlUI;
class CWindowManagerUI;

// The keyboard side of one window manager: key events for the focused control, the
// key-down control that gets the matching key-up, and the keys taken before
// translation (TAB moves the focus, Alt+character activates a shortcut).
class CKeyboardInputUI
{
public:
    explicit CKeyboardInputUI(CWindowManagerUI& manager);
    CKeyboardInputUI(const CKeyboardInputUI&) = delete;
    CKeyboardInputUI& operator=(const CKeyboardInputUI&) = delete;

    // WM_KEYDOWN, WM_KEYUP and WM_CHAR of the window; none counts as handled.
    void HandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam);
    // A message before translation, after the pre-message filters; true when taken.
    bool PreHandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam);
    // A new tree, or a control being deleted: the key-down control is forgotten.
    void ForgetControls();
    void Forget(CControlUI* pControl);

private:
    bool FocusKeepsTab() const;
    bool HandleShortcut(WPARAM wParam);
    void SendKeyEvent(CControlUI* pControl, int type, CControlUI* pSender, WPARAM wParam, LPARAM lParam);

    CWindowManagerUI& m_manager;
    CControlUI* m_pEventKey;
};

} // namespace UpdUI
