#include "MouseInputUI.h"

#include <windowsx.h>

#include "ControlUI.h"
#include "KeyStateUI.h"
#include "WindowManagerUI.h"

namespace UpdUI {

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

bool CMouseInputUI::IsOwnControl(CControlUI* pControl) const
{
    return pControl != nullptr && pControl->GetManager() == &m_manager;
}

POINT CMouseInputUI::ClientPointFromScreen(LPARAM lParam) const
{
    POINT pt = PointFromLParam(lParam);
    ::ScreenToClient(Window(), &pt);
    return pt;
}

POINT CMouseInputUI::GetMousePos() const
{
    return m_ptLastMousePos;
}

void CMouseInputUI::SetCapture()
{
    if (Window() != nullptr) ::SetCapture(Window());
    m_bMouseCapture = true;
}

void CMouseInputUI::ReleaseCapture()
{
    ::ReleaseCapture();
    m_bMouseCapture = false;
}

bool CMouseInputUI::IsCaptured() const
{
    return m_bMouseCapture;
}

void CMouseInputUI::ForgetControls()
{
    m_pEventHover = nullptr;
    m_pEventClick = nullptr;
}

void CMouseInputUI::Forget(CControlUI* pControl)
{
    if (m_pEventHover == pControl) m_pEventHover = nullptr;
    if (m_pEventClick == pControl) m_pEventClick = nullptr;
}

void CMouseInputUI::DestroyToolTip()
{
    m_toolTip.Destroy();
}

bool CMouseInputUI::HandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT& lRes)
{
    // Every message below finds its control by position.
    if ((uMsg >= WM_MOUSEFIRST && uMsg <= WM_MOUSELAST) || uMsg == WM_CONTEXTMENU) m_manager.LayOutPendingChanges();
    switch (uMsg) {
    case WM_MOUSEMOVE: OnMouseMove(wParam, lParam); return false;
    case WM_MOUSEHOVER:
        OnMouseHover(lParam);
        lRes = 0;
        return true;
    case WM_MOUSELEAVE: OnMouseLeave(); return false;
    case WM_LBUTTONDOWN: OnButtonDown(wParam, lParam, EventButtonDown, true); return false;
    case WM_LBUTTONUP: OnButtonUp(wParam, lParam); return false;
    case WM_LBUTTONDBLCLK: OnButtonDown(wParam, lParam, EventDoubleClick, false); return false;
    case WM_RBUTTONDOWN: OnButtonDown(wParam, lParam, EventRightButtonDown, true); return false;
    case WM_CONTEXTMENU: OnContextMenu(wParam, lParam); return false;
    case WM_MOUSEWHEEL: OnMouseWheel(wParam, lParam); return false;
    default: return false;
    }
}

void CMouseInputUI::OnClose()
{
    if (m_pEventHover != nullptr) {
        m_manager.SendEvent(m_pEventHover, EventMouseLeave, m_pEventHover, 0, GetMouseKeyFlags(), 0, 0);
    }
    if (m_pEventClick != nullptr) {
        m_manager.SendEvent(m_pEventClick, EventButtonUp, m_pEventClick, 0, GetMouseKeyFlags(), 0, 0);
    }
}

bool CMouseInputUI::OnSetCursor(WPARAM wParam, LPARAM lParam, LRESULT& lRes)
{
    if (LOWORD(lParam) != HTCLIENT) return false;
    if (m_bMouseCapture) {
        lRes = 0;
        return true;
    }
    POINT pt = {};
    ::GetCursorPos(&pt);
    ::ScreenToClient(Window(), &pt);
    CControlUI* pControl = m_manager.FindControlAt(pt);
    if (pControl == nullptr || (pControl->GetControlFlags() & UIFLAG_SETCURSOR) == 0) return false;
    TEventRecUI event = {};
    event.type = EventSetCursor;
    event.sender = pControl;
    event.timestamp = ::GetTickCount();
    event.mousePoint = pt;
    event.keyState = GetMouseKeyFlags();
    event.wParam = wParam;
    event.lParam = lParam;
    pControl->Event(event);
    lRes = TRUE;
    return true;
}

void CMouseInputUI::TrackMouse()
{
    if (m_bMouseTracking) return;
    m_toolTip.TrackHover(Window());
    m_bMouseTracking = true;
}

void CMouseInputUI::OnMouseMove(WPARAM wParam, LPARAM lParam)
{
    TrackMouse();
    m_ptLastMousePos = PointFromLParam(lParam);
    CControlUI* pNewHover = m_manager.FindControlAt(m_ptLastMousePos);
    if (pNewHover != nullptr && !IsOwnControl(pNewHover)) return;
    // The keys do not change between the events of one move.
    const WORD wKeys = GetMouseKeyFlags();
    if (pNewHover != m_pEventHover && m_pEventHover != nullptr) {
        CControlUI* pOld = m_pEventHover;
        m_pEventHover = nullptr;
        m_manager.SendEvent(pOld, EventMouseLeave, pNewHover, 0, wKeys, wParam, lParam);
        m_toolTip.Hide();
    }
    if (pNewHover != m_pEventHover && pNewHover != nullptr) {
        m_manager.SendEvent(pNewHover, EventMouseEnter, pNewHover, 0, wKeys, wParam, lParam);
        m_pEventHover = pNewHover;
    }
    CControlUI* pTarget = m_pEventClick != nullptr ? m_pEventClick : pNewHover;
    if (pTarget != nullptr) {
        m_manager.SendEvent(pTarget, EventMouseMove, pTarget, 0, wKeys, wParam, lParam);
    }
}

void CMouseInputUI::OnMouseHover(LPARAM lParam)
{
    m_bMouseTracking = false;
    POINT pt = PointFromLParam(lParam);
    CControlUI* pHover = m_manager.FindControlAt(pt);
    if (pHover == nullptr) return;
    if (m_pEventHover != nullptr) {
        m_manager.SendEvent(m_pEventHover, EventMouseHover, m_pEventHover, 0, GetMouseKeyFlags(), 0, lParam);
    }
    ShowToolTip(pHover);
}

void CMouseInputUI::ShowToolTip(CControlUI* pControl)
{
    CStringUI sToolTip = pControl->GetToolTip();
    m_toolTip.Show(Window(), CWindowManagerUI::GetInstance(), sToolTip.GetData(), pControl->GetPos());
}

void CMouseInputUI::OnMouseLeave()
{
    m_toolTip.Hide();
    if (m_bMouseTracking) ::SendMessageW(Window(), WM_MOUSEMOVE, 0, static_cast<LPARAM>(-1));
    m_bMouseTracking = false;
}

void CMouseInputUI::OnButtonDown(WPARAM wParam, LPARAM lParam, int type, bool bMoveFocus)
{
    ::SetFocus(Window());
    m_ptLastMousePos = PointFromLParam(lParam);
    CControlUI* pControl = m_manager.FindControlAt(m_ptLastMousePos);
    if (!IsOwnControl(pControl)) return;
    m_pEventClick = pControl;
    if (bMoveFocus) pControl->SetFocus();
    SetCapture();
    if (type == EventDoubleClick)
        m_manager.SendEvent(pControl, type, pControl, 0, GetMouseKeyFlags(), 0, 0);
    else
        m_manager.SendEvent(pControl, type, pControl, 0, LOWORD(wParam), wParam, lParam);
}

void CMouseInputUI::OnButtonUp(WPARAM wParam, LPARAM lParam)
{
    m_ptLastMousePos = PointFromLParam(lParam);
    if (m_pEventClick == nullptr) return;
    ReleaseCapture();
    CControlUI* pControl = m_pEventClick;
    m_manager.SendEvent(pControl, EventButtonUp, pControl, 0, LOWORD(wParam), wParam, lParam);
    m_pEventClick = nullptr;
}

void CMouseInputUI::OnContextMenu(WPARAM wParam, LPARAM lParam)
{
    m_ptLastMousePos = ClientPointFromScreen(lParam);
    if (m_pEventClick == nullptr) return;
    ReleaseCapture();
    CControlUI* pControl = m_pEventClick;
    m_manager.SendEvent(pControl, EventContextMenu, pControl, 0, LOWORD(wParam), wParam,
                        reinterpret_cast<LPARAM>(pControl));
    m_pEventClick = nullptr;
}

void CMouseInputUI::OnMouseWheel(WPARAM wParam, LPARAM lParam)
{
    m_ptLastMousePos = ClientPointFromScreen(lParam);
    CControlUI* pControl = m_manager.FindControlAt(m_ptLastMousePos);
    if (!IsOwnControl(pControl)) return;
    int zDelta = GET_WHEEL_DELTA_WPARAM(wParam);
    m_manager.SendEvent(pControl, EventScrollWheel, pControl, 0, GetMouseKeyFlags(), zDelta < 0 ? 1 : 0, lParam);
    ::SendMessageW(Window(), WM_MOUSEMOVE, 0, MAKELPARAM(m_ptLastMousePos.x, m_ptLastMousePos.y));
}

} // namespace UpdUI
