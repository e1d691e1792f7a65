#include "MenuWnd.h"

#include "MenuListLabelUI.h"
#include "MenuUI.h"
#include "VerticalLayoutUI.h"

CPtrArrayUI CMenuWnd::m_aPopups;

CMenuWnd::CMenuWnd(CMenuUI* pMenu) : m_pMenu(pMenu), m_pOpenSubMenu(nullptr), m_pRoot(nullptr) { }

CMenuUI* CMenuWnd::GetMenu() const
{
    return m_pMenu;
}

CMenuUI* CMenuWnd::GetOpenSubMenu() const
{
    return m_pOpenSubMenu;
}

CWindowManagerUI& CMenuWnd::GetManager()
{
    return m_pm;
}

void CMenuWnd::ClearPopupList()
{
    m_aPopups.Empty();
}

void CMenuWnd::AddPopup(HWND hWnd)
{
    if (hWnd != nullptr && !IsPopup(hWnd)) m_aPopups.Add(hWnd);
}

bool CMenuWnd::IsPopup(HWND hWnd)
{
    return hWnd != nullptr && m_aPopups.Find(hWnd) >= 0;
}

int CMenuWnd::GetPopupCount()
{
    return m_aPopups.GetSize();
}

LPCWSTR CMenuWnd::GetWindowClassName() const
{
    return L"CMenuWnd";
}

HWND CMenuWnd::SubMenuWindow() const
{
    if (m_pOpenSubMenu == nullptr || m_pOpenSubMenu->GetMenuWindow() == nullptr) return nullptr;
    return m_pOpenSubMenu->GetMenuWindow()->GetWindowHandle();
}

LRESULT CMenuWnd::HandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    switch (uMsg) {
    case WM_CREATE: OnCreate(); return 0;
    case WM_DESTROY: {
        int iIndex = m_aPopups.Find(m_hWnd);
        if (iIndex >= 0) m_aPopups.Remove(iIndex);
        break;
    }
    case WM_SIZE: OnSize(wParam); break;
    case WM_KILLFOCUS: OnKillFocus(reinterpret_cast<HWND>(wParam)); break;
    case WM_KEYDOWN: OnKeyDown(wParam, lParam); return 0;
    case UIMSG_MENU_OPENSUB:
        OpenSubMenu(reinterpret_cast<LPCWSTR>(wParam), reinterpret_cast<const RECT*>(lParam));
        return 0;
    case UIMSG_MENU_CLOSESUB:
        ::SetFocus(m_hWnd);
        CloseSubMenu();
        return 0;
    case UIMSG_MENU_CHECKITEM: CheckItem(static_cast<int>(wParam), lParam == 0); return 0;
    case UIMSG_MENU_CHOSEN:
        if (m_pMenu->GetHostWindow() != nullptr)
            ::PostMessageW(m_pMenu->GetHostWindow(), UIMSG_MENU_COMMAND, wParam, lParam);
        return 0;
    case UIMSG_MENU_CLOSE: CloseChain(); return 0; // this object may be gone now
    default: break;
    }
    LRESULT lRes = 0;
    if (m_pm.HandleWindowMessage(uMsg, wParam, lParam, lRes)) return lRes;
    return CWindowWnd::HandleMessage(uMsg, wParam, lParam);
}

// The items are lent, not given: the layout does not delete them.
void CMenuWnd::OnCreate()
{
    m_pm.Init(m_hWnd);
    CWindowManagerUI* pHost = m_pMenu->GetManager();
    if (pHost != nullptr) {
        m_pm.SetParentManager(pHost);
        m_pm.SetSkinFile(pHost->GetSkinFile());
    }
    m_pRoot = new CVerticalLayoutUI;
    LPCWSTR pstrDefault = pHost != nullptr ? pHost->GetDefaultAttributeList(L"VerticalLayoutUI") : nullptr;
    if (pstrDefault != nullptr) m_pRoot->ApplyAttributeList(pstrDefault);
    const CStringUI& sBkImage = m_pMenu->GetMenuInfo()->sBkImage;
    if (!sBkImage.IsEmpty()) {
        RECT rcClient = {};
        ::GetClientRect(m_hWnd, &rcClient);
        CStringUI sImage = sBkImage;
        CStringUI sDest;
        sDest.SmallFormat(L" dest='%d,%d,%d,%d'", -5, -5, rcClient.right + 5, rcClient.bottom + 5);
        sImage += sDest;
        m_pRoot->SetBkImage(sImage.GetData());
    }
    m_pRoot->SetInset(RECT{ 2, 2, 2, 0 });
    m_pRoot->SetBorderSize(2);
    m_pRoot->SetAutoDestroy(false);
    for (int i = 0; i < m_pMenu->GetCount(); i++) m_pRoot->Add(m_pMenu->GetItemAt(i));
    m_pm.AttachRoot(m_pRoot);
}

void CMenuWnd::OnSize(WPARAM wParam)
{
    SIZE szCorner = m_pMenu->GetMenuCorner();
    if (::IsIconic(m_hWnd) || (szCorner.cx == 0 && szCorner.cy == 0)) return;
    RECT rc = {};
    ::GetClientRect(m_hWnd, &rc);
    HRGN hRgn = ::CreateRoundRectRgn(rc.left, rc.top, rc.right + 1, rc.bottom + 1, szCorner.cx, szCorner.cy);
    ::SetWindowRgn(m_hWnd, hRgn, TRUE);
}

// The focus may move among the chain's popups; anywhere else closes the menu.
void CMenuWnd::OnKillFocus(HWND hWndNew)
{
    if (hWndNew == m_hWnd || (hWndNew != nullptr && hWndNew == SubMenuWindow())) return;
    if (hWndNew != nullptr && hWndNew != m_pMenu->GetHostWindow() && IsPopup(hWndNew)) return;
    ::PostMessageW(m_hWnd, UIMSG_MENU_CLOSE, 0, 0);
}

void CMenuWnd::OnKeyDown(WPARAM wParam, LPARAM lParam)
{
    if (wParam == VK_RETURN || wParam == VK_ESCAPE) {
        ::PostMessageW(m_hWnd, WM_KILLFOCUS, 0, 0);
        return;
    }
    TEventRecUI event = { EventKeyDown,
                          m_pMenu,
                          ::GetTickCount(),
                          m_pm.GetMousePos(),
                          static_cast<WORD>(wParam),
                          CWindowManagerUI::GetMouseKeyFlags(),
                          wParam,
                          lParam };
    m_pMenu->DoEvent(event);
}

void CMenuWnd::OpenSubMenu(LPCWSTR pstrName, const RECT* pItemRect)
{
    CWindowManagerUI* pHost = m_pMenu->GetManager();
    if (pHost == nullptr || pstrName == nullptr || pItemRect == nullptr) return;
    CMenuUI* pSubMenu = dynamic_cast<CMenuUI*>(pHost->FindControl(pstrName));
    if (pSubMenu == nullptr || pSubMenu == m_pOpenSubMenu || pSubMenu == m_pMenu) return;
    CloseSubMenu();
    m_pOpenSubMenu = pSubMenu;
    RECT rcParent = {};
    ::GetWindowRect(m_hWnd, &rcParent);
    if (!pSubMenu->ActivateBeside(rcParent, *pItemRect, m_pMenu->GetTopMenuWindow())) m_pOpenSubMenu = nullptr;
}

void CMenuWnd::CloseSubMenu()
{
    HWND hWndSub = SubMenuWindow();
    m_pOpenSubMenu = nullptr;
    if (hWndSub != nullptr) ::DestroyWindow(hWndSub);
}

void CMenuWnd::CheckItem(int iIndex, bool bCheck)
{
    CControlUI* pControl = m_pRoot != nullptr ? m_pRoot->GetItemAt(iIndex) : nullptr;
    CMenuListLabelUI* pItem =
        pControl != nullptr ? static_cast<CMenuListLabelUI*>(pControl->GetInterface(L"MenuListLabelUI")) : nullptr;
    if (pItem == nullptr) return;
    ::SendMessageW(m_hWnd, UIMSG_MENU_CHOSEN, static_cast<WPARAM>(pItem->GetLabelId()), 0);
    pItem->SetChecked(bCheck);
}

// Destroying the chain's top popup takes every sub-menu popup with it, this one
// included: nothing of this object may be touched afterwards.
void CMenuWnd::CloseChain()
{
    CMenuUI* pMenu = m_pMenu;
    pMenu->TakeBackItems();
    pMenu->SetFocus();
    HWND hWndTop = pMenu->GetTopMenuWindow();
    if (hWndTop != nullptr && ::IsWindow(hWndTop))
        ::DestroyWindow(hWndTop);
    else if (m_hWnd != nullptr)
        ::DestroyWindow(m_hWnd);
}

void CMenuWnd::OnFinalMessage(HWND /*hWnd*/)
{
    m_pMenu->SetMenuWindow(nullptr);
    m_pMenu->Invalidate();
    m_pMenu->TakeBackItems();
    CloseSubMenu();
    delete this;
}
