#pragma once
#include <windows.h>

#include "ToolTipUI.h"

class CControlUI;
class CWindowManagerUI;

// The mouse side of one window manager: the hot control under the pointer, the
// pressed control that gets the release, the last pointer position, hover and leave
// tracking, the capture and the tooltip. Turns the window's mouse messages into events
// for the manager's controls.
class CMouseInputUI
{
public:
    explicit CMouseInputUI(CWindowManagerUI& manager);
    CMouseInputUI(const CMouseInputUI&) = delete;
    CMouseInputUI& operator=(const CMouseInputUI&) = delete;

    // A mouse message (WM_SETCURSOR and WM_ENTERMENULOOP included); true when it counts
    // as handled. Other messages are left alone.
    bool HandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam);
    // The window closes: the hot control is left and the pressed one released.
    void OnClose();

    POINT GetMousePos() const;
    // A new tree: the hot and pressed controls are forgotten.
    void ForgetControls();
    // A control being deleted.
    void Forget(CControlUI* pControl);
    void DestroyToolTip();

private:
    bool OnSetCursor(WPARAM wParam, LPARAM lParam);
    void TrackMouse();
    void OnMouseMove(WPARAM wParam, LPARAM lParam);
    bool OnMouseHover(LPARAM lParam);
    void OnMouseLeave();
    void OnButtonDown(UINT uMsg, WPARAM wParam, LPARAM lParam);
    void OnButtonUp(UINT uMsg, WPARAM wParam, LPARAM lParam);
    void OnDoubleClick(UINT uMsg, WPARAM wParam, LPARAM lParam);
    void OnMouseWheel(WPARAM wParam, LPARAM lParam);
    void ShowToolTip(CControlUI* pControl);
    void Capture(CControlUI* pControl);
    bool IsForeign(CControlUI* pControl) const;
    CControlUI* ControlAt(POINT pt) const;
    HWND Window() const;

    CWindowManagerUI& m_manager;
    CToolTipUI m_ToolTip;
    POINT m_ptLastMousePos;
    CControlUI* m_pEventHover;
    CControlUI* m_pEventClick;
    bool m_bMouseTracking;
    bool m_bMouseCapture;
};
