#include "ComboWnd.h"

#include <cwchar>

#include "ComboUI.h"
#include "ScrollbarUI.h"
#include "VerticalLayoutUI.h"

namespace {

int MinOf(int a, int b)
{
    return a < b ? a : b;
}

void ToScreen(HWND hWnd, RECT& rc)
{
    ::MapWindowPoints(hWnd, HWND_DESKTOP, reinterpret_cast<LPPOINT>(&rc), 2);
}

} // namespace

CComboWnd::CComboWnd() : m_pOwner(nullptr), m_pLayout(nullptr), m_iOldSel(-1), m_bItemsReturned(false) { }

LPCWSTR CComboWnd::GetWindowClassName() const
{
    return L"ComboWnd";
}

CVerticalLayoutUI* CComboWnd::GetLayout() const
{
    return m_pLayout;
}

// Below the combo, as high as its rows (plus the frame) up to the drop box height;
// above the combo when that would leave the screen.
RECT CComboWnd::DropRect() const
{
    const SIZE szDrop = m_pOwner->GetDropBoxSize();
    const RECT rcOwner = m_pOwner->GetPos();
    RECT rc = rcOwner;
    rc.top = rc.bottom;
    rc.bottom = rc.top + szDrop.cy;
    if (szDrop.cx > 0) rc.right = rc.left + szDrop.cx;

    const SIZE szAvailable = { rc.right - rc.left, rc.bottom - rc.top };
    int cyItems = 0;
    for (int i = 0; i < m_pOwner->GetCount(); i++) {
        CControlUI* pItem = m_pOwner->GetItemAt(i);
        if (pItem->IsVisible()) cyItems += pItem->EstimateSize(szAvailable).cy;
    }
    cyItems += 4;
    const int cyDrop = MinOf(cyItems, szDrop.cy);
    rc.bottom = rc.top + cyDrop;

    HWND hWndHost = m_pOwner->GetManager()->GetPaintWindow();
    ToScreen(hWndHost, rc);
    MONITORINFO info = {};
    info.cbSize = sizeof(info);
    ::GetMonitorInfoW(::MonitorFromWindow(hWndHost, MONITOR_DEFAULTTONEAREST), &info);
    if (info.rcMonitor.bottom >= rc.bottom) return rc;

    rc = RECT{ rcOwner.left, rcOwner.top - cyDrop, rcOwner.right, rcOwner.top };
    if (szDrop.cx > 0) rc.right = rc.left + szDrop.cx;
    ToScreen(hWndHost, rc);
    return rc;
}

bool CComboWnd::Init(CComboUI* pOwner)
{
    m_pOwner = pOwner;
    m_iOldSel = pOwner->GetCurSel();
    HWND hWndHost = pOwner->GetManager()->GetPaintWindow();
    HWND hWnd = CreateInRect(hWndHost, nullptr, WS_POPUP, WS_EX_TOOLWINDOW, DropRect());
    if (hWnd == nullptr) return false;
    HWND hWndTop = hWndHost;
    while (::GetParent(hWndTop) != nullptr) hWndTop = ::GetParent(hWndTop);
    ::ShowWindow(hWnd, SW_SHOW);
    ::SendMessageW(hWndTop, WM_NCACTIVATE, TRUE, 0);
    ShowSelection();
    return true;
}

// The rows get their places now rather than at the first paint, so the list can be
// scrolled to the selected row before anything is drawn: otherwise it opens at the
// top, with a selection further down out of sight.
void CComboWnd::ShowSelection()
{
    if (m_pLayout == nullptr) return;
    RECT rcClient = {};
    ::GetClientRect(m_hWnd, &rcClient);
    m_pLayout->SetPos(rcClient);
    EnsureVisible(m_iOldSel);
    ::InvalidateRect(m_hWnd, nullptr, FALSE);
}

void CComboWnd::OnCreate()
{
    CWindowManagerUI* pOwnerManager = m_pOwner->GetManager();
    m_pm.Init(m_hWnd);
    m_pm.SetParentManager(pOwnerManager);
    m_pm.SetSkinFile(pOwnerManager->GetSkinFile());

    m_pLayout = new CVerticalLayoutUI;
    m_pLayout->SetManager(&m_pm, nullptr);
    LPCWSTR pstrDefault = pOwnerManager->GetDefaultAttributeList(L"VerticalLayout");
    if (pstrDefault != nullptr) m_pLayout->ApplyAttributeList(pstrDefault);
    m_pLayout->SetInset(RECT{ 2, 2, 2, 2 });
    m_pLayout->SetBkColor(0xFFFFFFFF);
    m_pLayout->SetBorderColor(0xFF85E4FF);
    m_pLayout->SetBorderSize(2);
    m_pLayout->SetAutoDestroy(false); // the rows stay the combo's
    m_pLayout->EnableScrollBar();
    m_pLayout->ApplyAttributeList(m_pOwner->GetDropBoxAttributeList().GetData());
    for (int i = 0; i < m_pOwner->GetCount(); i++) m_pLayout->Add(m_pOwner->GetItemAt(i));
    m_pm.AttachRoot(m_pLayout);
}

void CComboWnd::ReturnItems(bool bFocusOwner)
{
    if (m_bItemsReturned || m_pOwner == nullptr) return;
    m_bItemsReturned = true;
    m_pOwner->SetManager(m_pOwner->GetManager(), m_pOwner->GetParent());
    m_pOwner->SetPos(m_pOwner->GetPos());
    if (bFocusOwner) m_pOwner->SetFocus();
}

void CComboWnd::EnsureVisible(int iIndex)
{
    if (m_pOwner->GetCurSel() < 0 || m_pLayout == nullptr) return;
    CControlUI* pItem = m_pOwner->GetItemAt(iIndex);
    if (pItem == nullptr) return;
    const RECT rcItem = pItem->GetPos();
    RECT rcView = m_pLayout->GetPos();
    CScrollbarUI* pBar = m_pLayout->GetHorizontalScrollBar();
    if (pBar != nullptr && pBar->IsVisible()) rcView.bottom -= pBar->GetFixedHeight();
    if (rcItem.top >= rcView.top && rcItem.bottom <= rcView.bottom) return;
    SIZE sz = m_pLayout->GetScrollPos();
    if (rcItem.bottom > rcView.bottom)
        sz.cy += rcItem.bottom - rcView.bottom;
    else
        sz.cy += rcItem.top - rcView.top;
    m_pLayout->SetScrollPos(sz);
}

void CComboWnd::SendToOwner(TEventTypeUI type, WPARAM wParam)
{
    TEventRecUI event = { type,
                          m_pOwner,
                          ::GetTickCount(),
                          m_pm.GetMousePos(),
                          static_cast<WORD>(wParam),
                          CWindowManagerUI::GetMouseKeyFlags(),
                          wParam,
                          0 };
    m_pOwner->DoEvent(event);
}

bool CComboWnd::OnKeyDown(WPARAM wParam)
{
    switch (wParam) {
    case VK_RETURN: PostWindowMessage(WM_KILLFOCUS); return true;
    case VK_ESCAPE:
        m_pOwner->SelectItem(m_iOldSel);
        EnsureVisible(m_iOldSel);
        PostWindowMessage(WM_KILLFOCUS);
        return true;
    default:
        SendToOwner(EventKeyDown, wParam);
        EnsureVisible(m_pOwner->GetCurSel());
        return true;
    }
}

void CComboWnd::OnMouseWheel(WPARAM wParam)
{
    SendToOwner(EventScrollWheel, GET_WHEEL_DELTA_WPARAM(wParam) < 0 ? 1 : 0);
    EnsureVisible(m_pOwner->GetCurSel());
}

// A release over a row closes the drop-down; one over its scroll bar does not.
void CComboWnd::OnButtonUp(LPARAM lParam)
{
    const POINT pt = { static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam)) };
    CControlUI* pControl = m_pm.FindControlAt(pt);
    if (pControl != nullptr && wcscmp(pControl->GetControlClass(), L"ScrollbarUI") != 0)
        PostWindowMessage(WM_KILLFOCUS);
}

LRESULT CComboWnd::HandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    switch (uMsg) {
    case WM_CREATE: OnCreate(); return 0;
    case WM_CLOSE: ReturnItems(true); return CWindowWnd::HandleMessage(uMsg, wParam, lParam);
    case WM_LBUTTONUP: OnButtonUp(lParam); break;
    case WM_KEYDOWN:
        if (OnKeyDown(wParam)) return 0;
        break;
    case WM_MOUSEWHEEL: OnMouseWheel(wParam); return 0;
    case WM_KILLFOCUS:
        if (reinterpret_cast<HWND>(wParam) != m_hWnd) PostWindowMessage(WM_CLOSE);
        break;
    default: break;
    }
    LRESULT lRes = 0;
    if (m_pm.HandleWindowMessage(uMsg, wParam, lParam, lRes)) return lRes;
    return CWindowWnd::HandleMessage(uMsg, wParam, lParam);
}

// Also reached when the window is destroyed without WM_CLOSE (its owner going away):
// the rows must not stay with a manager that is about to be freed.
void CComboWnd::OnFinalMessage(HWND /*hWnd*/)
{
    ReturnItems(false);
    if (m_pOwner != nullptr) m_pOwner->OnDropWindowGone();
    delete this;
}
