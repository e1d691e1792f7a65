#include "MouseInputUI.h"

#include <windowsx.h>

#include "ControlUI.h"
#include "WindowManagerUI.h"

namespace {

POINT PointFromLParam(LPARAM lParam)
{
    POINT pt = { GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam) };
    return pt;
}

} // namespace

CMouseInputUI::CMouseInputUI(CWindowManagerUI& manager)
    : m_manager(manager), m_ptLastMousePos{ -1, -1 }, m_pEventHover(nullptr), m_pEventClick(nullptr),
      m_bMouseTracking(false), m_bMouseCapture(false)
{ }

HWND CMouseInputUI::Window() const
{
    return m_manager.GetPaintWindow();
}

bool CMouseInputUI::IsForeign(CControlUI* pControl) const
{
    return pControl != nullptr && pControl->GetManager() != &m_manager;
}

// The control under the point, or null when there is none or it belongs to another
// manager.
CControlUI* CMouseInputUI::ControlAt(POINT pt) const
{
    CControlUI* pControl = m_manager.FindControlAt(pt);
    return IsForeign(pControl) ? nullptr : pControl;
}

POINT CMouseInputUI::GetMousePos() const
{
    return m_ptLastMousePos;
}

void CMouseInputUI::ForgetControls()
{
    m_pEventHover = nullptr;
    m_pEventClick = nullptr;
}

void CMouseInputUI::Forget(CControlUI* pControl)
{
    if (pControl == m_pEventHover) m_pEventHover = nullptr;
    if (pControl == m_pEventClick) m_pEventClick = nullptr;
}

void CMouseInputUI::DestroyToolTip()
{
    m_ToolTip.Destroy();
}

bool CMouseInputUI::HandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    switch (uMsg) {
    case WM_SETCURSOR: return OnSetCursor(wParam, lParam);
    case WM_MOUSEMOVE: OnMouseMove(wParam, lParam); return false;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN: OnButtonDown(uMsg, wParam, lParam); return false;
    case WM_LBUTTONUP:
    case WM_RBUTTONUP: OnButtonUp(uMsg, wParam, lParam); return false;
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDBLCLK: OnDoubleClick(uMsg, wParam, lParam); return false;
    case WM_MOUSEWHEEL: OnMouseWheel(wParam, lParam); return false;
    case WM_MOUSEHOVER: return OnMouseHover(lParam);
    case WM_MOUSELEAVE: OnMouseLeave(); return false;
    case WM_ENTERMENULOOP:
        // The menu takes the mouse and ends the tracking without a leave: the
        // hot control and its tip go now, and the next move tracks afresh.
        OnMouseLeave();
        return false;
    default: return false;
    }
}

void CMouseInputUI::OnClose()
{
    if (m_pEventHover != nullptr) {
        CControlUI* pHover = m_pEventHover;
        m_pEventHover = nullptr;
        m_manager.SendEvent(pHover, EventMouseLeave, pHover, m_ptLastMousePos, 0, 0, 0, 0);
    }
    if (m_pEventClick != nullptr) {
        CControlUI* pClick = m_pEventClick;
        m_pEventClick = nullptr;
        m_manager.SendEvent(pClick, EventButtonUp, pClick, m_ptLastMousePos, 0, 0, 0, 0);
    }
}

bool CMouseInputUI::OnSetCursor(WPARAM wParam, LPARAM lParam)
{
    if (LOWORD(lParam) != HTCLIENT) return false;
    if (m_bMouseCapture) return true;
    POINT pt = {};
    ::GetCursorPos(&pt);
    ::ScreenToClient(Window(), &pt);
    CControlUI* pControl = ControlAt(pt);
    if (pControl == nullptr || (pControl->GetControlFlags() & UIFLAG_SETCURSOR) == 0) return false;
    m_manager.SendEvent(pControl, EventSetCursor, pControl, pt, 0, CWindowManagerUI::GetMouseKeyFlags(), wParam,
                        lParam);
    return true;
}

void CMouseInputUI::TrackMouse()
{
    m_ToolTip.TrackHover(Window());
    m_bMouseTracking = true;
}

void CMouseInputUI::OnMouseMove(WPARAM wParam, LPARAM lParam)
{
    if (!m_bMouseTracking) TrackMouse();
    POINT pt = PointFromLParam(lParam);
    m_ptLastMousePos = pt;
    CControlUI* pNewHover = m_manager.FindControlAt(pt);
    if (IsForeign(pNewHover)) return;
    if (pNewHover != m_pEventHover && m_pEventHover != nullptr) {
        CControlUI* pOld = m_pEventHover;
        m_pEventHover = nullptr;
        m_manager.SendEvent(pOld, EventMouseLeave, pNewHover, pt, 0, 0, 0, 0);
        m_ToolTip.Hide();
    }
    if (pNewHover != m_pEventHover && pNewHover != nullptr) {
        m_manager.SendEvent(pNewHover, EventMouseEnter, pNewHover, pt, 0, 0, 0, 0);
        m_pEventHover = pNewHover;
    }
    CControlUI* pTarget = m_pEventClick != nullptr ? m_pEventClick : pNewHover;
    m_manager.SendEvent(pTarget, EventMouseMove, pTarget, pt, 0, LOWORD(wParam), wParam, lParam);
}

bool CMouseInputUI::OnMouseHover(LPARAM lParam)
{
    m_bMouseTracking = false;
    // A hover report that arrives while a menu is open would put the tip over the menu.
    GUITHREADINFO gui = {};
    gui.cbSize = sizeof(gui);
    if (::GetGUIThreadInfo(::GetCurrentThreadId(), &gui) && (gui.flags & (GUI_INMENUMODE | GUI_POPUPMENUMODE)) != 0)
        return false;
    POINT pt = PointFromLParam(lParam);
    CControlUI* pHover = ControlAt(pt);
    if (pHover == nullptr) return false;
    m_manager.SendEvent(m_pEventHover, EventMouseHover, pHover, pt, 0, 0, 0, 0);
    ShowToolTip(pHover);
    return true;
}

void CMouseInputUI::ShowToolTip(CControlUI* pControl)
{
    CStringUI sToolTip = pControl->GetToolTip();
    if (sToolTip.IsEmpty()) return;
    m_ToolTip.Show(Window(), CWindowManagerUI::GetInstance(), sToolTip.GetData(), pControl->GetPos());
}

// The leave counts even after the hover report has ended the hover part of
// the tracking. The synthetic move runs with the flag still set, so it
// starts no new tracking for a pointer that is already outside.
void CMouseInputUI::OnMouseLeave()
{
    m_ToolTip.Hide();
    m_bMouseTracking = true;
    ::SendMessageW(Window(), WM_MOUSEMOVE, 0, static_cast<LPARAM>(-1));
    m_bMouseTracking = false;
}

void CMouseInputUI::Capture(CControlUI* pControl)
{
    m_pEventClick = pControl;
    ::SetCapture(Window());
    m_bMouseCapture = true;
}

// A press with nothing under the pointer starts no capture: there is no control to
// hand the release to.
void CMouseInputUI::OnButtonDown(UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    m_ToolTip.Hide(); // a press may open a menu or dialog the tip would cover
    ::SetFocus(Window());
    POINT pt = PointFromLParam(lParam);
    m_ptLastMousePos = pt;
    CControlUI* pControl = ControlAt(pt);
    if (pControl == nullptr) return;
    m_pEventClick = pControl;
    pControl->SetFocus();
    TEventTypeUI type = uMsg == WM_LBUTTONDOWN ? EventButtonDown : EventRightButtonDown;
    m_manager.SendEvent(m_pEventClick, type, m_pEventClick, pt, 0, LOWORD(wParam), wParam, lParam);
    ::SetCapture(Window());
    m_bMouseCapture = true;
}

// The capture is released whenever it was taken, even when the pressed control went
// away meanwhile.
void CMouseInputUI::OnButtonUp(UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    POINT pt = PointFromLParam(lParam);
    m_ptLastMousePos = pt;
    if (m_bMouseCapture) {
        m_bMouseCapture = false;
        ::ReleaseCapture();
    }
    if (m_pEventClick == nullptr) return;
    CControlUI* pClick = m_pEventClick;
    m_pEventClick = nullptr;
    TEventTypeUI type = uMsg == WM_LBUTTONUP ? EventButtonUp : EventRightButtonUp;
    m_manager.SendEvent(pClick, type, pClick, pt, 0, LOWORD(wParam), wParam, lParam);
}

void CMouseInputUI::OnDoubleClick(UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    POINT pt = PointFromLParam(lParam);
    CControlUI* pControl = ControlAt(pt);
    if (pControl == nullptr) return;
    TEventTypeUI type = uMsg == WM_LBUTTONDBLCLK ? EventDoubleClick : EventRightDoubleClick;
    m_manager.SendEvent(pControl, type, pControl, pt, 0, LOWORD(wParam), 0, 0);
    Capture(pControl);
}

void CMouseInputUI::OnMouseWheel(WPARAM wParam, LPARAM lParam)
{
    CControlUI* pFocus = m_manager.GetFocus();
    if (pFocus == nullptr) return;
    int zDelta = GET_WHEEL_DELTA_WPARAM(wParam);
    m_manager.SendEvent(pFocus, EventScrollWheel, pFocus, m_ptLastMousePos, 0, 0, zDelta < 0 ? 1 : 0, lParam);
    ::SendMessageW(Window(), WM_MOUSEMOVE, 0, MAKELPARAM(m_ptLastMousePos.x, m_ptLastMousePos.y));
}
