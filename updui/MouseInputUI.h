#pragma once
#include <windows.h>

#include "ToolTipUI.h"

namespace UpdUI {

class CControlUI;
class CWindowManagerUI;

// The mouse side of one window manager: the hot control under the pointer, the
// captured control that took the last press, the last pointer position, hover and
// leave tracking and the tooltip. Turns the window's mouse messages into events for
// the manager's controls.
class CMouseInputUI
{
public:
    explicit CMouseInputUI(CWindowManagerUI& manager);
    CMouseInputUI(const CMouseInputUI&) = delete;
    CMouseInputUI& operator=(const CMouseInputUI&) = delete;

    // A mouse message; true when it counts as handled (a hover over a control).
    bool HandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT& lRes);
    bool OnSetCursor(WPARAM wParam, LPARAM lParam, LRESULT& lRes);
    // The window closes: the hot control is left and the captured one released.
    void OnClose();

    POINT GetMousePos() const;
    void SetCapture();
    void ReleaseCapture();
    bool IsCaptured() const;
    // A new tree: the hot and captured controls are forgotten.
    void ForgetControls();
    // A control being deleted.
    void Forget(CControlUI* pControl);
    void DestroyToolTip();

private:
    void TrackMouse();
    void OnMouseMove(WPARAM wParam, LPARAM lParam);
    void OnMouseHover(LPARAM lParam);
    void OnMouseLeave();
    void OnButtonDown(WPARAM wParam, LPARAM lParam, int type, bool bMoveFocus);
    void OnButtonUp(WPARAM wParam, LPARAM lParam);
    void OnContextMenu(WPARAM wParam, LPARAM lParam);
    void OnMouseWheel(WPARAM wParam, LPARAM lParam);
    void ShowToolTip(CControlUI* pControl);
    bool IsOwnControl(CControlUI* pControl) const;
    HWND Window() const;
    POINT ClientPointFromScreen(LPARAM lParam) const;

    CWindowManagerUI& m_manager;
    CToolTipUI m_toolTip;
    POINT m_ptLastMousePos;
    CControlUI* m_pEventHover;
    CControlUI* m_pEventClick;
    bool m_bMouseTracking;
    bool m_bMouseCapture;
};

} // namespace UpdUI
