#include "ComboWnd.h"

#include <windowsx.h>

#include <cwchar>

#include "ComboUI.h"
#include "KeyStateUI.h"
#include "ScrollBarUI.h"
#include "VerticalLayoutUI.h"

namespace UpdUI {

namespace {

const DWORD kDropBkColor = 0xFFFFFFFF;
const DWORD kDropBorderColor = 0xFFC6C7D2;
const int kDropFrame = 4;

void ToScreen(HWND hWnd, RECT& rc)
{
    ::MapWindowPoints(hWnd, HWND_DESKTOP, reinterpret_cast<LPPOINT>(&rc), 2);
}

} // namespace

CComboWnd::CComboWnd() : m_pOwner(nullptr), m_pLayout(nullptr), m_iOldSel(-1), m_bRowsReturned(false) { }

LPCWSTR CComboWnd::GetWindowClassName() const
{
    return L"ComboWnd";
}

CVerticalLayoutUI* CComboWnd::GetLayout() const
{
    return m_pLayout;
}

CWindowManagerUI* CComboWnd::GetManager()
{
    return &m_pm;
}

// Below the combo, as high as its rows (plus the frame) up to the drop box height;
// above the combo when that would reach below the primary monitor's work area.
RECT CComboWnd::DropRect() const
{
    const SIZE szDrop = m_pOwner->GetDropBoxSize();
    const RECT rcOwner = m_pOwner->GetPos();
    RECT rc = { rcOwner.left, rcOwner.bottom, szDrop.cx > 0 ? rcOwner.left + szDrop.cx : rcOwner.right,
                rcOwner.bottom + szDrop.cy };
    const SIZE szAvailable = { rc.right - rc.left, szDrop.cy };
    int cyRows = 0;
    for (int i = 0; i < m_pOwner->GetCount(); ++i) {
        CControlUI* pRow = m_pOwner->GetItemAt(i);
        if (pRow->IsVisible()) cyRows += pRow->EstimateSize(szAvailable).cy;
    }
    cyRows += kDropFrame;
    const int cyDrop = cyRows < szDrop.cy ? cyRows : szDrop.cy;
    rc.bottom = rc.top + cyDrop;

    HWND hWndHost = m_pOwner->GetManager()->GetPaintWindow();
    ToScreen(hWndHost, rc);
    MONITORINFO info = {};
    info.cbSize = sizeof(info);
    ::GetMonitorInfoW(::MonitorFromWindow(hWndHost, MONITOR_DEFAULTTOPRIMARY), &info);
    if (rc.bottom <= info.rcWork.bottom) return rc;

    rc = RECT{ rcOwner.left, rcOwner.top - cyDrop, szDrop.cx > 0 ? rcOwner.left + szDrop.cx : rcOwner.right,
               rcOwner.top };
    ToScreen(hWndHost, rc);
    return rc;
}

bool CComboWnd::Init(CComboUI* pOwner)
{
    m_pOwner = pOwner;
    m_iOldSel = pOwner->GetCurSel();
    HWND hWndHost = pOwner->GetManager()->GetPaintWindow();
    if (CreateInRect(hWndHost, nullptr, WS_POPUP, WS_EX_TOOLWINDOW, DropRect()) == nullptr) return false;
    ::ShowWindow(m_hWnd, SW_SHOW);
    HWND hWndTop = ::GetAncestor(m_hWnd, GA_ROOTOWNER);
    if (hWndTop == nullptr) hWndTop = hWndHost;
    ::SendMessageW(hWndTop, WM_NCACTIVATE, TRUE, 0);
    return true;
}

void CComboWnd::OnCreate()
{
    CWindowManagerUI* pOwnerManager = m_pOwner->GetManager();
    m_pm.Init(m_hWnd);
    m_pm.SetParentManager(pOwnerManager);

    m_pLayout = new CVerticalLayoutUI;
    m_pLayout->SetManager(&m_pm, nullptr, false);
    LPCWSTR pstrDefault = pOwnerManager->GetDefaultAttributeList(L"VerticalLayout");
    if (pstrDefault != nullptr) m_pLayout->ApplyAttributeList(pstrDefault);
    m_pLayout->SetInset(RECT{ 1, 1, 1, 1 });
    m_pLayout->SetBkColor(kDropBkColor);
    m_pLayout->SetBorderColor(kDropBorderColor);
    m_pLayout->SetBorderSize(1);
    m_pLayout->SetAutoDestroy(false); // the rows stay the combo's
    m_pLayout->EnableScrollBar(true, false);
    m_pLayout->ApplyAttributeList(m_pOwner->GetDropBoxAttributeList().GetData());
    for (int i = 0; i < m_pOwner->GetCount(); ++i) m_pLayout->Add(m_pOwner->GetItemAt(i));
    m_pm.AttachRoot(m_pLayout);
}

void CComboWnd::ReturnRows(bool bFocusOwner)
{
    if (m_bRowsReturned || m_pOwner == nullptr) return;
    m_bRowsReturned = true;
    m_pOwner->SetManager(m_pOwner->GetManager(), m_pOwner->GetParent(), false);
    m_pOwner->SetPos(m_pOwner->GetPos());
    if (bFocusOwner) m_pOwner->SetFocus();
}

void CComboWnd::DetachOwner()
{
    ReturnRows(false);
    m_pOwner = nullptr;
    if (::IsWindow(m_hWnd)) ::DestroyWindow(m_hWnd);
}

void CComboWnd::EnsureVisible(int iIndex)
{
    if (m_pOwner->GetCurSel() < 0 || m_pLayout == nullptr) return;
    CControlUI* pRow = m_pOwner->GetItemAt(iIndex);
    if (pRow == nullptr) return;
    const RECT rcRow = pRow->GetPos();
    RECT rcView = m_pLayout->GetPos();
    CScrollBarUI* pBar = m_pLayout->GetHorizontalScrollBar();
    if (pBar != nullptr && pBar->IsVisible()) rcView.bottom -= pBar->GetFixedHeight();
    int dy = 0;
    if (rcRow.top < rcView.top)
        dy = rcRow.top - rcView.top;
    else if (rcRow.bottom > rcView.bottom)
        dy = rcRow.bottom - rcView.bottom;
    if (dy == 0) return;
    SIZE sz = m_pLayout->GetScrollPos();
    sz.cy += dy;
    m_pLayout->SetScrollPos(sz);
}

void CComboWnd::SendToOwner(int type, WPARAM wParam)
{
    TEventRecUI event = {};
    event.type = type;
    event.sender = m_pOwner;
    event.timestamp = ::GetTickCount();
    event.mousePoint = m_pm.GetMousePos();
    event.keyChar = static_cast<WORD>(wParam);
    event.keyState = GetMouseKeyFlags();
    event.wParam = wParam;
    m_pOwner->DoEvent(event);
}

bool CComboWnd::OnKeyDown(WPARAM wParam)
{
    switch (wParam) {
    case VK_RETURN: PostWindowMessage(WM_KILLFOCUS); return true;
    case VK_ESCAPE:
        m_pOwner->SelectItem(m_iOldSel, true);
        EnsureVisible(m_iOldSel);
        PostWindowMessage(WM_KILLFOCUS);
        return true;
    default:
        SendToOwner(EventKeyDown, wParam);
        EnsureVisible(m_pOwner->GetCurSel());
        return true;
    }
}

// A release over a row closes the drop-down; one over its scroll bar does not.
void CComboWnd::OnButtonUp(LPARAM lParam)
{
    const POINT pt = { GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam) };
    CControlUI* pControl = m_pm.FindControlAt(pt);
    if (pControl != nullptr && wcscmp(pControl->GetControlClass(), L"ScrollBarUI") != 0)
        PostWindowMessage(WM_KILLFOCUS);
}

LRESULT CComboWnd::HandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    switch (uMsg) {
    case WM_CREATE: OnCreate(); return 0;
    case WM_CLOSE: ReturnRows(true); break;
    case WM_LBUTTONUP:
        if (m_pOwner != nullptr) OnButtonUp(lParam);
        break;
    case WM_KEYDOWN:
        if (m_pOwner != nullptr && OnKeyDown(wParam)) return 0;
        break;
    case WM_MOUSEWHEEL:
        if (m_pOwner == nullptr) break;
        SendToOwner(EventScrollWheel, GET_WHEEL_DELTA_WPARAM(wParam) < 0 ? 1 : 0);
        EnsureVisible(m_pOwner->GetCurSel());
        return 0;
    case WM_KILLFOCUS:
        if (reinterpret_cast<HWND>(wParam) != m_hWnd) PostWindowMessage(WM_CLOSE);
        break;
    default: break;
    }
    LRESULT lRes = 0;
    if (m_pm.HandleWindowMessage(uMsg, wParam, lParam, lRes)) return lRes;
    return CWindowWnd::HandleMessage(uMsg, wParam, lParam);
}

// Also reached when the window goes without WM_CLOSE (its owner window destroyed):
// the rows must not stay with a manager that is about to be freed.
void CComboWnd::OnFinalMessage(HWND /*hWnd*/)
{
    ReturnRows(false);
    if (m_pOwner != nullptr) m_pOwner->OnDropWindowGone();
    delete this;
}

} // namespace UpdUI
