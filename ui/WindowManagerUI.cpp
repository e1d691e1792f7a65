#include "WindowManagerUI.h"

#include <cwctype>

#include "ActiveXUI.h"
#include "ControlUI.h"
#include "TreeSearchUI.h"
#include "uishared/ParentChainUI.h"

namespace {

// WM_APP + 1: delete the trees replaced by AttachRoot once the current message is over.
const UINT kMsgDelayedCleanup = WM_APP + 1;
// Reflected owner-draw and notification messages arrive at the child as message + 0x2000.
const UINT kReflectBase = 0x2000;
const int kHashBuckets = 83;

HPEN g_hUpdateRectPen = nullptr;

// Called once per process, by the first manager.
void InitProcessResources()
{
    if (g_hUpdateRectPen != nullptr) return;
    g_hUpdateRectPen = ::CreatePen(PS_SOLID, 1, RGB(220, 0, 0));
    ::InitCommonControls();
    ::LoadLibraryW(L"msimg32.dll");
}

// Hosted browser controls (ActiveX and HTML controls) get a chance to translate
// accelerators aimed at their browser's document window.
bool TranslateHostedAccelerator(CControlUI* pControl, MSG* pMsg)
{
    CActiveXUI* pActiveX = dynamic_cast<CActiveXUI*>(pControl);
    return pActiveX != nullptr && pActiveX->TranslateHostedAccelerator(pMsg);
}

} // namespace

HINSTANCE CWindowManagerUI::m_hInstance = nullptr;
CPtrArrayUI CWindowManagerUI::m_aPreMessages;

CWindowManagerUI::CWindowManagerUI()
    : m_hWndPaint(nullptr), m_hDcPaint(nullptr), m_hDcOffscreen(nullptr), m_hbmpOffscreen(nullptr), m_mouse(*this),
      m_bShowUpdateRect(false), m_pRoot(nullptr), m_pFocus(nullptr), m_pEventKey(nullptr), m_szMinWindow(),
      m_szInitWindowSize(), m_rcSizeBox(), m_szRoundCorner(), m_rcCaption(), m_bFirstLayout(true),
      m_bUpdateNeeded(false), m_bFocusNeeded(false), m_bOffscreenPaint(true), m_mNameHash(kHashBuckets),
      m_pParentManager(nullptr), m_dwDefaultDisabledColor(0xFFA7A6AA)
{
    InitProcessResources();
}

CWindowManagerUI::~CWindowManagerUI()
{
    DeleteQueuedRoots();
    m_mNameHash.Resize(kHashBuckets);
    m_Timers.KillAll();
    CControlUI* pRoot = m_pRoot;
    m_pRoot = nullptr;
    delete pRoot;
    ForgetHostedControls();
    ReleaseResources();
    m_mouse.DestroyToolTip();
    DropOffscreen();
    if (m_hDcPaint != nullptr) ::ReleaseDC(m_hWndPaint, m_hDcPaint);
    int iIndex = m_aPreMessages.Find(this);
    if (iIndex >= 0) m_aPreMessages.Remove(iIndex);
}

void CWindowManagerUI::Init(HWND hWnd)
{
    m_hWndPaint = hWnd;
    m_hDcPaint = ::GetDC(hWnd);
    if (m_aPreMessages.Find(this) < 0) m_aPreMessages.Add(this);
}

HWND CWindowManagerUI::GetPaintWindow() const
{
    return m_hWndPaint;
}

HDC CWindowManagerUI::GetPaintDC() const
{
    return m_hDcPaint;
}

CControlUI* CWindowManagerUI::GetRoot() const
{
    return m_pRoot;
}

CControlUI* CWindowManagerUI::GetFocus() const
{
    return m_pFocus;
}

POINT CWindowManagerUI::GetMousePos() const
{
    return m_mouse.GetMousePos();
}

void CWindowManagerUI::NeedUpdate()
{
    m_bUpdateNeeded = true;
}

void CWindowManagerUI::Invalidate(const RECT& rcItem)
{
    // Without a window, a null handle would invalidate every window on the desktop.
    if (m_hWndPaint == nullptr || m_bLayingOutWhole) return;
    ::InvalidateRect(m_hWndPaint, &rcItem, FALSE);
}

void CWindowManagerUI::SetInstance(HINSTANCE hInst)
{
    m_hInstance = hInst;
}

HINSTANCE CWindowManagerUI::GetInstance()
{
    return m_hInstance;
}

void CWindowManagerUI::SetInitSize(int cx, int cy)
{
    m_szInitWindowSize.cx = cx;
    m_szInitWindowSize.cy = cy;
}

CSizeUI CWindowManagerUI::GetInitSize() const
{
    return CSizeUI(m_szInitWindowSize.cx, m_szInitWindowSize.cy);
}

void CWindowManagerUI::SetSizeBox(const RECT& rcSizeBox)
{
    m_rcSizeBox = rcSizeBox;
}

RECT CWindowManagerUI::GetSizeBox() const
{
    return m_rcSizeBox;
}

void CWindowManagerUI::SetCaptionRect(const RECT& rcCaption)
{
    m_rcCaption = rcCaption;
}

RECT CWindowManagerUI::GetCaptionRect() const
{
    return m_rcCaption;
}

void CWindowManagerUI::SetRoundCorner(int cx, int cy)
{
    m_szRoundCorner.cx = cx;
    m_szRoundCorner.cy = cy;
}

CSizeUI CWindowManagerUI::GetRoundCorner() const
{
    return CSizeUI(m_szRoundCorner.cx, m_szRoundCorner.cy);
}

void CWindowManagerUI::SetMinInfo(int cx, int cy)
{
    m_szMinWindow.cx = cx;
    m_szMinWindow.cy = cy;
}

void CWindowManagerUI::SetShowUpdateRect(bool bShow)
{
    m_bShowUpdateRect = bShow;
}

// ---------------------------------------------------------------------------
// Tree

// The old tree is not deleted here: the message being handled may come from one of
// its controls. It is queued and deleted when WM_APP + 1 arrives. The name map starts
// afresh, so the new tree's names are not shadowed by controls about to go away.
bool CWindowManagerUI::AttachRoot(CControlUI* pControl)
{
    SetFocus(nullptr);
    m_pEventKey = nullptr;
    m_mouse.ForgetControls();
    if (m_pRoot != nullptr) {
        m_aPostPaintControls.Empty();
        m_aDelayedCleanup.Add(m_pRoot);
        m_mNameHash.Resize(kHashBuckets);
        ::PostMessageW(m_hWndPaint, kMsgDelayedCleanup, 0, 0);
    }
    m_pRoot = pControl;
    m_bFirstLayout = true;
    m_bUpdateNeeded = true;
    m_bFocusNeeded = true;
    if (pControl == nullptr) return false;
    pControl->SetManager(this, pControl->GetParent());
    RegisterNames(pControl);
    if (m_hWndPaint != nullptr) ::InvalidateRect(m_hWndPaint, nullptr, FALSE);
    return true;
}

bool CWindowManagerUI::InitControls(CControlUI* pControl, CControlUI* pParent)
{
    if (pControl == nullptr) return false;
    pControl->SetManager(this, pParent != nullptr ? pParent : pControl->GetParent());
    RegisterNames(pControl);
    return true;
}

void CWindowManagerUI::RegisterNames(CControlUI* pControl)
{
    pControl->FindControl(__FindControlFromNameHash, this, UIFIND_ALL);
}

// Called by a control's destructor: nothing of the manager may keep pointing at it.
void CWindowManagerUI::ReapObjects(CControlUI* pControl)
{
    if (pControl == m_pEventKey) m_pEventKey = nullptr;
    m_mouse.Forget(pControl);
    if (pControl == m_pFocus) m_pFocus = nullptr;
    if (pControl == m_pRoot) m_pRoot = nullptr;
    CStringUI sName = pControl->GetName();
    if (!sName.IsEmpty() && m_mNameHash.Find(sName.GetData()) == pControl) m_mNameHash.Remove(sName.GetData());
    m_Timers.KillTimersOf(pControl);
    RemovePostPaint(pControl);
    RemoveHostedBrowser(pControl);
}

void CWindowManagerUI::DeleteQueuedRoots()
{
    CPtrArrayUI aRoots(m_aDelayedCleanup);
    m_aDelayedCleanup.Empty();
    for (int i = 0; i < aRoots.GetSize(); i++) delete static_cast<CControlUI*>(aRoots.GetAt(i));
}

CControlUI* CWindowManagerUI::FindControl(LPCWSTR pstrName) const
{
    if (pstrName == nullptr) return nullptr;
    return static_cast<CControlUI*>(m_mNameHash.Find(pstrName));
}

CControlUI* CWindowManagerUI::FindControlAt(POINT pt) const
{
    if (m_pRoot == nullptr) return nullptr;
    return CTreeSearchUI::ControlAt(m_pRoot, pt);
}

// ---------------------------------------------------------------------------
// Focus

bool CWindowManagerUI::SetFocus(CControlUI* pControl)
{
    if (m_hWndPaint != nullptr && ::GetFocus() != m_hWndPaint) ::SetFocus(m_hWndPaint);
    if (pControl == m_pFocus) return true;
    if (m_pFocus != nullptr) {
        CControlUI* pOld = m_pFocus;
        SendEvent(pOld, EventKillFocus, pControl, GetMousePos(), 0, 0, 0, 0);
        SendNotify(pOld, NotifyKillFocus);
        m_pFocus = nullptr;
    }
    if (pControl != nullptr && pControl->GetManager() == this && pControl->IsVisible() && pControl->IsEnabled()) {
        m_pFocus = pControl;
        SendEvent(pControl, EventSetFocus, pControl, GetMousePos(), 0, 0, 0, 0);
        SendNotify(pControl, NotifySetFocus);
    }
    return true;
}

bool CWindowManagerUI::SetNextTabControl(bool bForward)
{
    if (bForward && m_bUpdateNeeded) {
        // The tree is not laid out yet: the next paint moves the focus.
        m_bFocusNeeded = true;
        // A null window would invalidate the whole desktop.
        if (m_hWndPaint != nullptr) ::InvalidateRect(m_hWndPaint, nullptr, FALSE);
        return true;
    }
    if (m_pRoot == nullptr) {
        m_bFocusNeeded = false;
        return true;
    }
    CControlUI* pControl = CTreeSearchUI::NextTabStop(m_pRoot, m_pFocus, bForward);
    if (pControl != nullptr) SetFocus(pControl);
    m_bFocusNeeded = false;
    return true;
}

// ---------------------------------------------------------------------------
// Timers

bool CWindowManagerUI::SetTimer(CControlUI* pControl, UINT nTimerKey, UINT uElapse)
{
    return m_Timers.SetTimer(m_hWndPaint, pControl, nTimerKey, uElapse);
}

bool CWindowManagerUI::KillTimer(CControlUI* pControl, UINT nTimerKey)
{
    return m_Timers.KillTimer(m_hWndPaint, pControl, nTimerKey);
}

void CWindowManagerUI::OnTimer(WPARAM wParam)
{
    const TTimerRecUI* pTimer = m_Timers.FindRunning(m_hWndPaint, LOWORD(wParam));
    if (pTimer == nullptr) return;
    SendEvent(pTimer->pSender, EventTimer, pTimer->pSender, GetMousePos(), 0, 0, pTimer->nTimerKey, 0);
}

// ---------------------------------------------------------------------------
// Listeners and notifications

bool CWindowManagerUI::AddNotifier(INotifyUI* pNotifier)
{
    return m_aNotifiers.Add(pNotifier);
}

bool CWindowManagerUI::AddMessageFilter(IMessageFilterUI* pFilter)
{
    return m_aMessageFilters.Add(pFilter);
}

bool CWindowManagerUI::RemoveMessageFilter(IMessageFilterUI* pFilter)
{
    int iIndex = m_aMessageFilters.Find(pFilter);
    return iIndex >= 0 && m_aMessageFilters.Remove(iIndex);
}

bool CWindowManagerUI::AddPostPaint(CControlUI* pControl)
{
    return m_aPostPaintControls.Add(pControl);
}

bool CWindowManagerUI::RemovePostPaint(CControlUI* pControl)
{
    int iIndex = m_aPostPaintControls.Find(pControl);
    return iIndex >= 0 && m_aPostPaintControls.Remove(iIndex);
}

// Hosted controls that outlive the manager must not take themselves off its lists later.
void CWindowManagerUI::ForgetHostedControls()
{
    for (int i = 0; i < m_aHostedBrowsers.GetSize(); i++) {
        CActiveXUI* pActiveX = dynamic_cast<CActiveXUI*>(static_cast<CControlUI*>(m_aHostedBrowsers.GetAt(i)));
        if (pActiveX != nullptr) pActiveX->ForgetManager(this);
    }
    for (int i = 0; i < m_aMessageFilters.GetSize(); i++) {
        CActiveXUI* pActiveX = dynamic_cast<CActiveXUI*>(static_cast<IMessageFilterUI*>(m_aMessageFilters.GetAt(i)));
        if (pActiveX != nullptr) pActiveX->ForgetManager(this);
    }
    m_aHostedBrowsers.Empty();
    m_aMessageFilters.Empty();
}

bool CWindowManagerUI::AddHostedBrowser(CControlUI* pControl)
{
    return m_aHostedBrowsers.Add(pControl);
}

bool CWindowManagerUI::RemoveHostedBrowser(CControlUI* pControl)
{
    int iIndex = m_aHostedBrowsers.Find(pControl);
    return iIndex >= 0 && m_aHostedBrowsers.Remove(iIndex);
}

void CWindowManagerUI::SendNotify(CControlUI* pControl, TNotifyTypeUI type, WPARAM wParam, LPARAM lParam)
{
    TNotifyRecUI msg = { type, pControl, 0, { 0, 0 }, wParam, lParam };
    DispatchNotify(msg);
}

void CWindowManagerUI::DispatchNotify(TNotifyRecUI& msg)
{
    msg.mousePoint = GetMousePos();
    msg.timestamp = ::GetTickCount();
    for (int i = 0; i < m_aNotifiers.GetSize(); i++) static_cast<INotifyUI*>(m_aNotifiers.GetAt(i))->Notify(msg);
}

void CWindowManagerUI::SendEvent(CControlUI* pControl, TEventTypeUI type, CControlUI* pSender, POINT pt, WORD keyChar,
                                 WORD keyState, WPARAM wParam, LPARAM lParam)
{
    if (pControl == nullptr) return;
    TEventRecUI event = { type, pSender, ::GetTickCount(), pt, keyChar, keyState, wParam, lParam };
    pControl->DoEvent(event);
}

WORD CWindowManagerUI::GetMouseKeyFlags()
{
    WORD wState = 0;
    if (::GetKeyState(VK_LBUTTON) < 0) wState |= UIKEYSTATE_LBUTTON;
    if (::GetKeyState(VK_RBUTTON) < 0) wState |= UIKEYSTATE_RBUTTON;
    if (::GetKeyState(VK_SHIFT) < 0) wState |= UIKEYSTATE_SHIFT;
    if (::GetKeyState(VK_CONTROL) < 0) wState |= UIKEYSTATE_CONTROL;
    if (::GetKeyState(VK_MENU) < 0) wState |= UIKEYSTATE_ALT;
    return wState;
}

// ---------------------------------------------------------------------------
// Messages

bool CWindowManagerUI::HandleWindowMessage(UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT& lRes)
{
    if (m_hWndPaint == nullptr) return false;
    for (int i = 0; i < m_aMessageFilters.GetSize(); i++) {
        bool bHandled = false;
        LRESULT lResult =
            static_cast<IMessageFilterUI*>(m_aMessageFilters.GetAt(i))->MessageHandler(uMsg, wParam, lParam, bHandled);
        if (bHandled) {
            lRes = lResult;
            return true;
        }
    }

    switch (uMsg) {
    case WM_PAINT: OnPaint(); return true;
    case WM_ERASEBKGND: lRes = 1; return true;
    case WM_SIZE:
        SendEvent(m_pFocus, EventWindowSize, m_pFocus, GetMousePos(), 0, 0, wParam, lParam);
        if (m_pRoot != nullptr) m_pRoot->NeedUpdate();
        return true;
    case WM_CLOSE: OnClose(); return false;
    case WM_GETMINMAXINFO: {
        LPMINMAXINFO lpMMI = reinterpret_cast<LPMINMAXINFO>(lParam);
        if (m_szMinWindow.cx > 0) lpMMI->ptMinTrackSize.x = m_szMinWindow.cx;
        if (m_szMinWindow.cy > 0) lpMMI->ptMinTrackSize.y = m_szMinWindow.cy;
        return false;
    }
    case WM_KEYDOWN:
        if (m_pFocus != nullptr) {
            OnKey(EventKeyDown, m_pFocus, wParam, lParam);
            m_pEventKey = m_pFocus;
        }
        return false;
    case WM_KEYUP:
        if (m_pEventKey != nullptr) {
            CControlUI* pKey = m_pEventKey;
            m_pEventKey = nullptr;
            OnKey(EventKeyUp, pKey, wParam, lParam);
        }
        return false;
    case WM_CHAR:
        if (m_pFocus != nullptr) OnKey(EventChar, m_pFocus, wParam, lParam);
        return false;
    case WM_TIMER: OnTimer(wParam); return false;
    case WM_PRINTCLIENT: OnPrintClient(reinterpret_cast<HDC>(wParam), lParam); return false;
    case WM_DRAWITEM:
    case WM_MEASUREITEM:
    case WM_NOTIFY:
    case WM_COMMAND: return ReflectMessage(uMsg, wParam, lParam, lRes);
    case kMsgDelayedCleanup: DeleteQueuedRoots(); return false;
    default: return m_mouse.HandleMessage(uMsg, wParam, lParam);
    }
}

void CWindowManagerUI::OnKey(TEventTypeUI type, CControlUI* pTarget, WPARAM wParam, LPARAM lParam)
{
    SendEvent(pTarget, type, pTarget, GetMousePos(), static_cast<WORD>(wParam), GetMouseKeyFlags(), wParam, lParam);
}

void CWindowManagerUI::OnClose()
{
    m_mouse.OnClose();
    SetFocus(nullptr);
    HWND hWndOwner = ::GetWindow(m_hWndPaint, GW_OWNER);
    if (hWndOwner != nullptr) ::SetFocus(hWndOwner);
}

bool CWindowManagerUI::ReflectMessage(UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT& lRes)
{
    HWND hWndChild = nullptr;
    switch (uMsg) {
    case WM_DRAWITEM:
        if (wParam == 0) return false;
        hWndChild = reinterpret_cast<LPDRAWITEMSTRUCT>(lParam)->hwndItem;
        break;
    case WM_MEASUREITEM:
        if (wParam == 0) return false;
        hWndChild = ::GetDlgItem(m_hWndPaint, static_cast<int>(reinterpret_cast<LPMEASUREITEMSTRUCT>(lParam)->CtlID));
        break;
    case WM_NOTIFY:
        if (lParam == 0) return true;
        hWndChild = reinterpret_cast<LPNMHDR>(lParam)->hwndFrom;
        break;
    case WM_COMMAND:
        if (lParam == 0) return false;
        hWndChild = reinterpret_cast<HWND>(lParam);
        break;
    default: return false;
    }
    lRes = ::SendMessageW(hWndChild, uMsg + kReflectBase, wParam, lParam);
    return true;
}

// ---------------------------------------------------------------------------
// Layout and painting

// Positions the tree: everything after a full relayout of the root, otherwise only
// the controls flagged as needing it.
void CWindowManagerUI::LayoutTree()
{
    if (!m_bUpdateNeeded || m_pRoot == nullptr) return;
    m_bUpdateNeeded = false;
    RECT rcClient = {};
    ::GetClientRect(m_hWndPaint, &rcClient);
    if (::IsRectEmpty(&rcClient)) return;
    if (m_pRoot->IsUpdateNeeded()) {
        LayOutWhole(rcClient);
        DropOffscreen();
        return;
    }
    CControlUI* pControl = nullptr;
    while ((pControl = CTreeSearchUI::FirstNeedingUpdate(m_pRoot)) != nullptr) {
        pControl->SetPos(pControl->GetPos());
        if (pControl->IsUpdateNeeded()) break; // a control that cannot settle must not hang the paint
    }
}

// Every control's rectangle lies within the root's, which is invalidated as a whole:
// one invalidation instead of one round trip to the window server per control.
void CWindowManagerUI::LayOutWhole(const RECT& rcClient)
{
    const bool bWasLayingOutWhole = m_bLayingOutWhole;
    m_bLayingOutWhole = true;
    m_pRoot->SetPos(rcClient);
    m_bLayingOutWhole = bWasLayingOutWhole;
    ::InvalidateRect(m_hWndPaint, nullptr, FALSE);
}

void CWindowManagerUI::MoveFocusIfNeeded()
{
    if (!m_bFocusNeeded) return;
    if (m_bUpdateNeeded) {
        if (m_hWndPaint != nullptr) ::InvalidateRect(m_hWndPaint, nullptr, FALSE);
        return;
    }
    SetNextTabControl(true);
}

void CWindowManagerUI::DropOffscreen()
{
    if (m_hDcOffscreen != nullptr) ::DeleteDC(m_hDcOffscreen);
    if (m_hbmpOffscreen != nullptr) ::DeleteObject(m_hbmpOffscreen);
    m_hDcOffscreen = nullptr;
    m_hbmpOffscreen = nullptr;
}

bool CWindowManagerUI::PaintOffscreen(const PAINTSTRUCT& ps)
{
    if (m_hbmpOffscreen == nullptr) {
        RECT rcClient = {};
        ::GetClientRect(m_hWndPaint, &rcClient);
        m_hDcOffscreen = ::CreateCompatibleDC(m_hDcPaint);
        m_hbmpOffscreen =
            ::CreateCompatibleBitmap(m_hDcPaint, rcClient.right - rcClient.left, rcClient.bottom - rcClient.top);
        if (m_hDcOffscreen == nullptr || m_hbmpOffscreen == nullptr) {
            DropOffscreen();
            return false;
        }
    }
    HGDIOBJ hOldBitmap = ::SelectObject(m_hDcOffscreen, m_hbmpOffscreen);
    int iSaveDC = ::SaveDC(m_hDcOffscreen);
    m_pRoot->DoPaint(m_hDcOffscreen, ps.rcPaint);
    ::RestoreDC(m_hDcOffscreen, iSaveDC);
    for (int i = 0; i < m_aPostPaintControls.GetSize(); i++) {
        static_cast<CControlUI*>(m_aPostPaintControls.GetAt(i))->DoPostPaint(m_hDcOffscreen, ps.rcPaint);
    }
    ::BitBlt(ps.hdc, ps.rcPaint.left, ps.rcPaint.top, ps.rcPaint.right - ps.rcPaint.left,
             ps.rcPaint.bottom - ps.rcPaint.top, m_hDcOffscreen, ps.rcPaint.left, ps.rcPaint.top, SRCCOPY);
    ::SelectObject(m_hDcOffscreen, hOldBitmap);
    if (m_bShowUpdateRect) {
        HGDIOBJ hOldPen = ::SelectObject(ps.hdc, g_hUpdateRectPen);
        HGDIOBJ hOldBrush = ::SelectObject(ps.hdc, ::GetStockObject(HOLLOW_BRUSH));
        ::Rectangle(ps.hdc, ps.rcPaint.left, ps.rcPaint.top, ps.rcPaint.right, ps.rcPaint.bottom);
        ::SelectObject(ps.hdc, hOldBrush);
        ::SelectObject(ps.hdc, hOldPen);
    }
    return true;
}

// Without a root the update region is still validated, or WM_PAINT would come back
// for ever.
void CWindowManagerUI::OnPaint()
{
    RECT rcUpdate = {};
    if (!::GetUpdateRect(m_hWndPaint, &rcUpdate, FALSE)) return;
    if (m_pRoot == nullptr) {
        PAINTSTRUCT ps = {};
        ::BeginPaint(m_hWndPaint, &ps);
        ::EndPaint(m_hWndPaint, &ps);
        return;
    }
    LayoutTree();
    if (m_bFirstLayout && m_pRoot != nullptr) {
        m_bFirstLayout = false;
        SendNotify(m_pRoot, NotifyWindowInit);
    }
    MoveFocusIfNeeded();

    PAINTSTRUCT ps = {};
    ::BeginPaint(m_hWndPaint, &ps);
    if (m_pRoot != nullptr) {
        if (!m_bOffscreenPaint || !PaintOffscreen(ps)) m_pRoot->DoPaint(ps.hdc, ps.rcPaint);
    }
    ::EndPaint(m_hWndPaint, &ps);
    if (m_bUpdateNeeded) ::InvalidateRect(m_hWndPaint, nullptr, FALSE);
}

void CWindowManagerUI::OnPrintClient(HDC hDC, LPARAM lParam)
{
    if (m_pRoot == nullptr || hDC == nullptr) return;
    LayoutTree();
    RECT rcClient = {};
    ::GetClientRect(m_hWndPaint, &rcClient);
    int iSaveDC = ::SaveDC(hDC);
    m_pRoot->DoPaint(hDC, rcClient);
    ::RestoreDC(hDC, iSaveDC);
    if ((lParam & PRF_CHILDREN) == 0) return;
    for (HWND hChild = ::GetWindow(m_hWndPaint, GW_CHILD); hChild != nullptr;
         hChild = ::GetWindow(hChild, GW_HWNDNEXT)) {
        RECT rcPos = {};
        ::GetWindowRect(hChild, &rcPos);
        ::MapWindowPoints(HWND_DESKTOP, m_hWndPaint, reinterpret_cast<LPPOINT>(&rcPos), 2);
        POINT ptOld = {};
        ::SetWindowOrgEx(hDC, -rcPos.left, -rcPos.top, &ptOld);
        ::SendMessageW(hChild, WM_PRINT, reinterpret_cast<WPARAM>(hDC), lParam | PRF_NONCLIENT);
        ::SetWindowOrgEx(hDC, ptOld.x, ptOld.y, nullptr);
    }
}

// ---------------------------------------------------------------------------
// Keyboard shortcuts, before translation

bool CWindowManagerUI::PreHandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT& /*lRes*/)
{
    switch (uMsg) {
    case WM_KEYDOWN:
        if (wParam == VK_TAB) {
            SetNextTabControl(::GetKeyState(VK_SHIFT) >= 0);
            return true;
        }
        if (wParam == VK_RETURN) {
            CControlUI* pOk = FindControl(L"ok");
            if (pOk == nullptr || pOk == m_pFocus) return false;
            if (m_pFocus != nullptr && (m_pFocus->GetControlFlags() & UIFLAG_WANTRETURN) != 0) return false;
            pOk->Activate();
            return true;
        }
        if (wParam == VK_ESCAPE) {
            CControlUI* pCancel = FindControl(L"cancel");
            if (pCancel == nullptr) return false;
            pCancel->Activate();
            return true;
        }
        return false;
    case WM_SYSKEYDOWN:
        if (m_pFocus != nullptr) OnKey(EventSysKey, m_pFocus, wParam, lParam);
        return false;
    case WM_SYSCHAR: return HandleShortcut(wParam);
    default: return false;
    }
}

// Alt + a character that no control claims stays with the system (Alt+Space opens
// the window menu).
bool CWindowManagerUI::HandleShortcut(WPARAM wParam)
{
    if (m_pRoot == nullptr) return false;
    wchar_t ch = static_cast<wchar_t>(towupper(static_cast<wint_t>(wParam)));
    CControlUI* pControl = CTreeSearchUI::ShortcutTarget(m_pRoot, ch);
    if (pControl == nullptr) return false;
    pControl->SetFocus();
    pControl->Activate();
    return true;
}

bool CWindowManagerUI::PreTranslateAll(MSG* pMsg)
{
    for (int i = 0; i < m_aPreMessages.GetSize(); i++) {
        CWindowManagerUI* pManager = static_cast<CWindowManagerUI*>(m_aPreMessages.GetAt(i));
        HWND hWnd = pMsg->hwnd;
        LONG_PTR style = ::GetWindowLongPtrW(hWnd, GWL_STYLE);
        bool bOwn =
            hWnd == pManager->m_hWndPaint || ((style & WS_CHILD) != 0 && ::GetParent(hWnd) == pManager->m_hWndPaint);
        if (bOwn) {
            LRESULT lRes = 0;
            if (pManager->PreHandleMessage(pMsg->message, pMsg->wParam, pMsg->lParam, lRes)) return true;
            continue;
        }
        for (int j = 0; j < pManager->m_aHostedBrowsers.GetSize(); j++) {
            if (TranslateHostedAccelerator(static_cast<CControlUI*>(pManager->m_aHostedBrowsers.GetAt(j)), pMsg))
                return true;
        }
    }
    return false;
}

// ---------------------------------------------------------------------------
// Tree walk callback

CControlUI* CALLBACK CWindowManagerUI::__FindControlFromNameHash(CControlUI* pThis, LPVOID pData)
{
    CWindowManagerUI* pManager = static_cast<CWindowManagerUI*>(pData);
    CStringUI sName = pThis->GetName();
    if (!sName.IsEmpty()) pManager->m_mNameHash.Insert(sName.GetData(), pThis);
    return nullptr;
}

// ---------------------------------------------------------------------------
// Resources: colours and fonts answer from the top manager of the parent chain.

void CWindowManagerUI::ReleaseResources()
{
    m_Fonts.Release();
    m_sSkinFile.Empty();
    RemoveAllImages();
    RemoveAllDefaultAttributeList();
}

CWindowManagerUI* CWindowManagerUI::GetTopManager() const
{
    return UIShared::TopOfChain(this);
}

bool CWindowManagerUI::SetParentManager(CWindowManagerUI* pParent)
{
    if (UIShared::ChainWouldLoop(this, pParent)) return false;
    m_pParentManager = pParent;
    return true;
}

CWindowManagerUI* CWindowManagerUI::GetParentManager() const
{
    return m_pParentManager;
}

DWORD CWindowManagerUI::GetDefaultDisabledColor() const
{
    return GetTopManager()->m_dwDefaultDisabledColor;
}

void CWindowManagerUI::SetDefaultDisabledColor(DWORD dwColor)
{
    m_dwDefaultDisabledColor = dwColor;
}

DWORD CWindowManagerUI::GetDefaultFontColor() const
{
    return GetTopManager()->m_Fonts.GetDefaultFontColor();
}

DWORD CWindowManagerUI::GetDefaultLinkFontColor() const
{
    return GetTopManager()->m_Fonts.GetDefaultLinkFontColor();
}

DWORD CWindowManagerUI::GetDefaultLinkHoverFontColor() const
{
    return GetTopManager()->m_Fonts.GetDefaultLinkHoverFontColor();
}

HFONT CWindowManagerUI::GetDefaultFont() const
{
    return GetTopManager()->m_Fonts.GetDefaultFont();
}

HFONT CWindowManagerUI::GetDefaultBoldFont() const
{
    return GetTopManager()->m_Fonts.GetDefaultBoldFont();
}

HFONT CWindowManagerUI::GetDefaultLinkFont() const
{
    return GetTopManager()->m_Fonts.GetDefaultLinkFont();
}

const TEXTMETRICW& CWindowManagerUI::GetDefaultFontInfo()
{
    CWindowManagerUI* pTop = GetTopManager();
    return pTop->m_Fonts.GetDefaultFontInfo(pTop->m_hDcPaint);
}

const TEXTMETRICW& CWindowManagerUI::GetDefaultBoldFontInfo()
{
    CWindowManagerUI* pTop = GetTopManager();
    return pTop->m_Fonts.GetDefaultBoldFontInfo(pTop->m_hDcPaint);
}

const TEXTMETRICW& CWindowManagerUI::GetDefaultLinkFontInfo()
{
    CWindowManagerUI* pTop = GetTopManager();
    return pTop->m_Fonts.GetDefaultLinkFontInfo(pTop->m_hDcPaint);
}

void CWindowManagerUI::SetDefaultFont(HFONT hFont, DWORD dwColor)
{
    if (hFont == nullptr) return;
    m_Fonts.SetDefaultFont(hFont, dwColor, m_hDcPaint, GetTopManager()->m_Fonts);
}

void CWindowManagerUI::SetDefaultBoldFont(HFONT hFont, DWORD dwColor)
{
    if (hFont == nullptr) return;
    m_Fonts.SetDefaultBoldFont(hFont, dwColor, m_hDcPaint, GetTopManager()->m_Fonts);
}

void CWindowManagerUI::SetDefaultLinkFont(HFONT hFont, DWORD dwColor, DWORD dwHoverColor)
{
    if (hFont == nullptr) return;
    m_Fonts.SetDefaultLinkFont(hFont, dwColor, dwHoverColor, m_hDcPaint, GetTopManager()->m_Fonts);
}

HFONT CWindowManagerUI::AddFont(LPCWSTR pstrFontName, int nSize, bool bBold, bool bUnderline, bool bItalic)
{
    HFONT hFont = CFontTableUI::MakeFont(pstrFontName, nSize, bBold, bUnderline, bItalic);
    if (hFont == nullptr) return nullptr;
    if (!AddFontHandle(hFont)) {
        ::DeleteObject(hFont);
        return nullptr;
    }
    return hFont;
}

bool CWindowManagerUI::AddFontHandle(HFONT hFont)
{
    return m_Fonts.AddFont(hFont, m_hDcPaint);
}

HFONT CWindowManagerUI::GetFont(int iIndex) const
{
    return GetTopManager()->m_Fonts.GetFont(iIndex);
}

const TEXTMETRICW& CWindowManagerUI::GetFontInfo(int iIndex)
{
    CWindowManagerUI* pTop = GetTopManager();
    return pTop->m_Fonts.GetFontInfo(iIndex, pTop->m_hDcPaint);
}

bool CWindowManagerUI::IsListedFont(HFONT hFont) const
{
    return GetTopManager()->m_Fonts.HasFont(hFont);
}

void CWindowManagerUI::SetSkinFile(LPCWSTR pstrSkinFile)
{
    m_sSkinFile = pstrSkinFile;
    m_Images.ForgetMissing();
}

LPCWSTR CWindowManagerUI::GetSkinFile() const
{
    return m_sSkinFile.GetData();
}

TImageRecUI* CWindowManagerUI::AddImage(LPCWSTR bitmap, LPCWSTR type, DWORD mask)
{
    return m_Images.Add(bitmap, type, mask, m_sSkinFile.IsEmpty() ? nullptr : m_sSkinFile.GetData());
}

TImageRecUI* CWindowManagerUI::GetImageEx(LPCWSTR bitmap, LPCWSTR type, DWORD mask)
{
    if (bitmap == nullptr) return nullptr;
    TImageRecUI* pImage = m_Images.Find(bitmap);
    if (pImage != nullptr) return pImage;
    return AddImage(bitmap, type, mask);
}

UINT CWindowManagerUI::GetImageGeneration() const
{
    return m_Images.Generation();
}

void CWindowManagerUI::RemoveAllImages()
{
    m_Images.RemoveAll();
}

void CWindowManagerUI::AddDefaultAttributeList(LPCWSTR pStrControlName, LPCWSTR pStrControlAttrList)
{
    if (pStrControlName == nullptr) return;
    m_DefaultAttributes.Set(pStrControlName, pStrControlAttrList);
}

// A window without its own list for the name asks its parent managers.
LPCWSTR CWindowManagerUI::GetDefaultAttributeList(LPCWSTR pStrControlName) const
{
    if (pStrControlName == nullptr) return nullptr;
    for (const CWindowManagerUI* p = this; p != nullptr; p = p->m_pParentManager) {
        LPCWSTR pstrList = p->m_DefaultAttributes.Find(pStrControlName);
        if (pstrList != nullptr) return pstrList;
    }
    return nullptr;
}

void CWindowManagerUI::RemoveAllDefaultAttributeList()
{
    m_DefaultAttributes.RemoveAll();
}
