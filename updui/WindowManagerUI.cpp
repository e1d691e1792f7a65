#include "WindowManagerUI.h"

#include <cwchar>
#include <cwctype>

#include "ControlUI.h"
#include "TreeSearchUI.h"
#include "uishared/ParentChainUI.h"

namespace UpdUI {

namespace {

const int kMapBuckets = 83;
const UINT kReflectOffset = 0x2000;

bool ClassNameContains(CControlUI* pControl, LPCWSTR pstrPart)
{
    LPCWSTR pstrClass = pControl->GetControlClass();
    return pstrClass != nullptr && wcsstr(pstrClass, pstrPart) != nullptr;
}

} // namespace

CPtrArrayUI CWindowManagerUI::m_aManagers;
bool CWindowManagerUI::m_bProcessSetUp = false;

CWindowManagerUI::CWindowManagerUI()
    : m_hWndPaint(nullptr), m_nOpacity(255), m_hDcPaint(nullptr), m_mouse(*this), m_keyboard(*this), m_pRoot(nullptr),
      m_pFocus(nullptr), m_szMinWindow(), m_szMaxWindow(), m_szInitWindowSize(), m_rcSizeBox(), m_szRoundCorner(),
      m_rcCaption(), m_bFirstLayout(true), m_bUpdateNeeded(false), m_bFocusNeeded(false), m_mNameHash(kMapBuckets),
      m_pParentManager(nullptr), m_dwDefaultDisabledColor(0xFFA7A6AA), m_dwDefaultFontColor(0xFF000000),
      m_dwDefaultLinkFontColor(0xFF0000FF), m_dwDefaultLinkHoverFontColor(0xFFD3215F),
      m_dwDefaultSelectedBkColor(0xFFBAE4FF)
{
    if (!m_bProcessSetUp) {
        m_bProcessSetUp = true;
        INITCOMMONCONTROLSEX icc = { sizeof(icc), ICC_WIN95_CLASSES | ICC_DATE_CLASSES };
        ::InitCommonControlsEx(&icc);
        ::LoadLibraryW(L"msimg32.dll");
    }
    m_fonts.InitDefault(GetDefaultFontName());
}

// The tree goes first: its controls reap themselves from the tables below.
CWindowManagerUI::~CWindowManagerUI()
{
    DeleteDelayedCleanup();
    CControlUI* pRoot = m_pRoot;
    m_pRoot = nullptr;
    delete pRoot;
    m_notify.Clear();
    m_mNameHash.RemoveAll();
    m_fonts.Release();
    RemoveAllImages();
    RemoveAllDefaultAttributeList();
    RemoveAllOptionGroups();
    RemoveAllTimers();
    m_mouse.DestroyToolTip();
    m_painter.DropBuffers();
    if (m_hDcPaint != nullptr) ::ReleaseDC(m_hWndPaint, m_hDcPaint);
    m_browsers.RemoveAll(this);
    int iIndex = m_aManagers.Find(this);
    if (iIndex >= 0) m_aManagers.Remove(iIndex);
}

void CWindowManagerUI::Init(HWND hWnd)
{
    if (hWnd == nullptr) return;
    if (m_hDcPaint != nullptr) ::ReleaseDC(m_hWndPaint, m_hDcPaint);
    m_hWndPaint = hWnd;
    m_hDcPaint = ::GetDC(hWnd);
    if (m_aManagers.Find(this) < 0) m_aManagers.Add(this);
}

HWND CWindowManagerUI::GetPaintWindow() const
{
    return m_hWndPaint;
}

HDC CWindowManagerUI::GetPaintDC() const
{
    return m_hDcPaint;
}

POINT CWindowManagerUI::GetMousePos() const
{
    return m_mouse.GetMousePos();
}

CControlUI* CWindowManagerUI::GetRoot() const
{
    return m_pRoot;
}

// ---------------------------------------------------------------- window attributes

void CWindowManagerUI::SetInitSize(int cx, int cy)
{
    m_szInitWindowSize.cx = cx;
    m_szInitWindowSize.cy = cy;
    if (m_pRoot == nullptr && m_hWndPaint != nullptr) {
        ::SetWindowPos(m_hWndPaint, nullptr, 0, 0, cx, cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

SIZE CWindowManagerUI::GetInitSize() const
{
    return m_szInitWindowSize;
}

void CWindowManagerUI::SetSizeBox(const RECT& rcSizeBox)
{
    m_rcSizeBox = rcSizeBox;
}

RECT CWindowManagerUI::GetSizeBox() const
{
    return m_rcSizeBox;
}

RECT CWindowManagerUI::GetCaptionRect() const
{
    return m_rcCaption;
}

void CWindowManagerUI::SetCaptionRect(const RECT& rcCaption)
{
    m_rcCaption = rcCaption;
}

SIZE CWindowManagerUI::GetRoundCorner() const
{
    return m_szRoundCorner;
}

void CWindowManagerUI::SetRoundCorner(int cx, int cy)
{
    m_szRoundCorner.cx = cx;
    m_szRoundCorner.cy = cy;
}

void CWindowManagerUI::SetMinInfo(int cx, int cy)
{
    m_szMinWindow.cx = cx;
    m_szMinWindow.cy = cy;
}

SIZE CWindowManagerUI::GetMinInfo() const
{
    return m_szMinWindow;
}

void CWindowManagerUI::SetMaxInfo(int cx, int cy)
{
    m_szMaxWindow.cx = cx;
    m_szMaxWindow.cy = cy;
}

SIZE CWindowManagerUI::GetMaxInfo() const
{
    return m_szMaxWindow;
}

void CWindowManagerUI::SetShowUpdateRect(bool bShow)
{
    m_painter.SetShowUpdateRect(bShow);
}

// A value outside 0..255 switches the layered style off; the stored value is clamped.
void CWindowManagerUI::SetTransparent(int nOpacity)
{
    m_nOpacity = nOpacity < 0 ? 0 : (nOpacity > 255 ? 255 : nOpacity);
    if (m_hWndPaint == nullptr || !::IsWindow(m_hWndPaint)) return;
    typedef BOOL(WINAPI * PFNSETLAYEREDWINDOWATTRIBUTES)(HWND, COLORREF, BYTE, DWORD);
    HMODULE hUser32 = ::GetModuleHandleW(L"User32.dll");
    if (hUser32 == nullptr) return;
    PFNSETLAYEREDWINDOWATTRIBUTES pfnSetLayered =
        reinterpret_cast<PFNSETLAYEREDWINDOWATTRIBUTES>(::GetProcAddress(hUser32, "SetLayeredWindowAttributes"));
    if (pfnSetLayered == nullptr) return;
    LONG_PTR dwStyle = ::GetWindowLongPtrW(m_hWndPaint, GWL_EXSTYLE);
    if (nOpacity < 0 || nOpacity > 255)
        dwStyle &= ~static_cast<LONG_PTR>(WS_EX_LAYERED);
    else
        dwStyle |= WS_EX_LAYERED;
    ::SetWindowLongPtrW(m_hWndPaint, GWL_EXSTYLE, dwStyle);
    pfnSetLayered(m_hWndPaint, 0, static_cast<BYTE>(m_nOpacity), LWA_ALPHA);
}

int CWindowManagerUI::GetTransparent() const
{
    return m_nOpacity;
}

void CWindowManagerUI::SetBackgroundTransparent(bool bTrans)
{
    m_painter.SetBackgroundTransparent(bTrans);
}

// ---------------------------------------------------------------- control tree

bool CWindowManagerUI::AttachRoot(CControlUI* pControl)
{
    SetFocus(nullptr);
    m_keyboard.ForgetControls();
    m_mouse.ForgetControls();
    if (m_pRoot != nullptr) {
        m_painter.ClearPostPaint();
        AddDelayedCleanup(m_pRoot);
    }
    m_pRoot = pControl;
    m_bUpdateNeeded = true;
    m_bFirstLayout = true;
    m_bFocusNeeded = true;
    return InitControls(pControl, nullptr);
}

bool CWindowManagerUI::InitControls(CControlUI* pControl, CControlUI* pParent)
{
    if (pControl == nullptr) return false;
    pControl->SetManager(this, pParent != nullptr ? pParent : pControl->GetParent(), true);
    pControl->FindControl(RegisterNameCallback, this, UIFIND_ALL);
    return true;
}

void CWindowManagerUI::ReapObjects(CControlUI* pControl)
{
    if (pControl == nullptr) return;
    if (m_pRoot == pControl) m_pRoot = nullptr;
    if (m_pFocus == pControl) m_pFocus = nullptr;
    m_keyboard.Forget(pControl);
    m_mouse.Forget(pControl);
    KillTimers(pControl);
    CStringUI sName = pControl->GetName();
    if (!sName.IsEmpty() && m_mNameHash.Find(sName.GetData(), false) == pControl) m_mNameHash.Remove(sName.GetData());
    m_notify.ForgetSender(pControl);
    // The lists below are walked later by painting, message translation and option
    // selection; a dead control left in them would be called after it is gone.
    m_painter.RemovePostPaint(pControl);
    RemoveBrowser(pControl);
    m_optionGroups.RemoveFromAll(pControl);
}

// A detached subtree no longer reaches this manager from its destructors, so every
// control in it is reaped now: no name, timer, notification or pointer of the manager
// may still refer to it when it is deleted.
void CWindowManagerUI::AddDelayedCleanup(CControlUI* pControl)
{
    if (pControl == nullptr) return;
    struct Reaper
    {
        static CControlUI* CALLBACK Visit(CControlUI* pThis, LPVOID pData)
        {
            static_cast<CWindowManagerUI*>(pData)->ReapObjects(pThis);
            return nullptr;
        }
    };
    pControl->FindControl(Reaper::Visit, this, UIFIND_ALL);
    pControl->SetManager(nullptr, nullptr, false);
    if (!m_aDelayedCleanup.Add(pControl)) {
        delete pControl;
        return;
    }
    if (m_hWndPaint != nullptr) ::PostMessageW(m_hWndPaint, WM_UPDUI_CLEANUP, 0, 0);
}

void CWindowManagerUI::DeleteDelayedCleanup()
{
    while (!m_aDelayedCleanup.IsEmpty()) {
        CControlUI* pControl = static_cast<CControlUI*>(m_aDelayedCleanup[0]);
        m_aDelayedCleanup.Remove(0);
        delete pControl;
    }
}

CControlUI* CWindowManagerUI::FindControl(LPCWSTR pstrName)
{
    return static_cast<CControlUI*>(m_mNameHash.Find(pstrName, false));
}

CControlUI* CWindowManagerUI::FindControlAt(POINT pt) const
{
    return CTreeSearchUI::ControlAt(m_pRoot, pt);
}

void CWindowManagerUI::NeedUpdate()
{
    m_bUpdateNeeded = true;
}

void CWindowManagerUI::LayOutPendingChanges()
{
    if (!m_bUpdateNeeded || m_pRoot == nullptr || m_hWndPaint == nullptr) return;
    RECT rcClient = {};
    ::GetClientRect(m_hWndPaint, &rcClient);
    if (!::IsRectEmpty(&rcClient)) LayoutTree();
}

void CWindowManagerUI::Invalidate(const RECT& rcItem)
{
    if (m_hWndPaint != nullptr && !m_bLayingOutWhole) ::InvalidateRect(m_hWndPaint, &rcItem, FALSE);
}

CControlUI* CALLBACK CWindowManagerUI::RegisterNameCallback(CControlUI* pThis, LPVOID pData)
{
    CWindowManagerUI* pManager = static_cast<CWindowManagerUI*>(pData);
    CStringUI sName = pThis->GetName();
    if (!sName.IsEmpty()) pManager->m_mNameHash.Set(sName.GetData(), pThis);
    return nullptr;
}

CControlUI* CALLBACK CWindowManagerUI::FindPointCallback(CControlUI* pThis, LPVOID /*pData*/)
{
    return pThis;
}

CControlUI* CALLBACK CWindowManagerUI::UpdateNeededCallback(CControlUI* pThis, LPVOID /*pData*/)
{
    return pThis->IsUpdateNeeded() ? pThis : nullptr;
}

// ---------------------------------------------------------------- focus and capture

CControlUI* CWindowManagerUI::GetFocus() const
{
    return m_pFocus;
}

bool CWindowManagerUI::IsOwnControl(CControlUI* pControl) const
{
    return pControl != nullptr && pControl->GetManager() == this;
}

// The focused control hears that it loses the focus to pNewFocus.
void CWindowManagerUI::KillFocus(CControlUI* pNewFocus)
{
    if (m_pFocus == nullptr) return;
    CControlUI* pOld = m_pFocus;
    SendEvent(pOld, EventKillFocus, pNewFocus, 0, GetMouseKeyFlags(), 0, 0);
    SendNotify(pOld, L"killfocus");
    m_pFocus = nullptr;
}

void CWindowManagerUI::SetFocus(CControlUI* pControl)
{
    if (m_hWndPaint != nullptr && ::GetFocus() != m_hWndPaint && pControl != m_pFocus) ::SetFocus(m_hWndPaint);
    if (pControl == m_pFocus) return;
    KillFocus(pControl);
    if (pControl == nullptr) return;
    if (!IsOwnControl(pControl) || !pControl->IsVisible() || !pControl->IsEnabled()) return;
    m_pFocus = pControl;
    SendEvent(pControl, EventSetFocus, pControl, 0, GetMouseKeyFlags(), 0, 0);
    SendNotify(pControl, L"setfocus");
}

CControlUI* CALLBACK CWindowManagerUI::TabOrderCallback(CControlUI* pThis, LPVOID pData)
{
    CTreeSearchUI::TTabSearchUI* pInfo = static_cast<CTreeSearchUI::TTabSearchUI*>(pData);
    if (pThis == pInfo->pFocus) {
        if (pInfo->bForward)
            pInfo->bNextIsIt = true;
        else
            return pInfo->pLast;
        return nullptr;
    }
    if ((pThis->GetControlFlags() & UIFLAG_TABSTOP) == 0) return nullptr;
    pInfo->pLast = pThis;
    if (pInfo->bNextIsIt || pInfo->pFocus == nullptr) return pThis;
    return nullptr;
}

bool CWindowManagerUI::SetNextTabControl(bool bForward)
{
    if (m_bUpdateNeeded && bForward) {
        m_bFocusNeeded = true;
        if (m_hWndPaint != nullptr) ::InvalidateRect(m_hWndPaint, nullptr, FALSE);
        return true;
    }
    CControlUI* pNext = CTreeSearchUI::NextTabStop(m_pRoot, m_pFocus, bForward);
    if (pNext != nullptr) SetFocus(pNext);
    m_bFocusNeeded = false;
    return true;
}

void CWindowManagerUI::SetFocusNeeded(CControlUI* pControl)
{
    if (m_hWndPaint != nullptr) ::SetFocus(m_hWndPaint);
    if (pControl == nullptr) return;
    KillFocus(pControl);
    if (m_pRoot != nullptr) {
        m_pFocus = CTreeSearchUI::TabStopBefore(m_pRoot, pControl);
        m_pRoot->NeedUpdate();
    }
    m_bFocusNeeded = true;
}

void CWindowManagerUI::SetCapture()
{
    m_mouse.SetCapture();
}

void CWindowManagerUI::ReleaseCapture()
{
    m_mouse.ReleaseCapture();
}

bool CWindowManagerUI::IsCaptured() const
{
    return m_mouse.IsCaptured();
}

// ---------------------------------------------------------------- timers

bool CWindowManagerUI::SetTimer(CControlUI* pControl, UINT nTimerKey, UINT uElapse)
{
    if (pControl == nullptr || m_hWndPaint == nullptr) return false;
    return m_timers.SetTimer(m_hWndPaint, pControl, nTimerKey, uElapse);
}

bool CWindowManagerUI::KillTimer(CControlUI* pControl, UINT nTimerKey)
{
    return m_timers.KillTimer(m_hWndPaint, pControl, nTimerKey);
}

void CWindowManagerUI::KillTimers(CControlUI* pControl)
{
    m_timers.KillTimersOf(m_hWndPaint, pControl);
}

void CWindowManagerUI::RemoveAllTimers()
{
    m_timers.KillAll();
}

// ---------------------------------------------------------------- listeners

bool CWindowManagerUI::AddNotifier(INotifyUI* pNotifier)
{
    return m_notify.AddNotifier(pNotifier);
}

bool CWindowManagerUI::AddPreMessageFilter(IMessageFilterUI* pFilter)
{
    return m_preMessageFilters.Add(pFilter);
}

bool CWindowManagerUI::RemovePreMessageFilter(IMessageFilterUI* pFilter)
{
    return m_preMessageFilters.Remove(pFilter);
}

bool CWindowManagerUI::AddMessageFilter(IMessageFilterUI* pFilter)
{
    return m_messageFilters.Add(pFilter);
}

bool CWindowManagerUI::RemoveMessageFilter(IMessageFilterUI* pFilter)
{
    return m_messageFilters.Remove(pFilter);
}

bool CWindowManagerUI::AddPostPaint(CControlUI* pControl)
{
    return m_painter.AddPostPaint(pControl);
}

bool CWindowManagerUI::RemovePostPaint(CControlUI* pControl)
{
    return m_painter.RemovePostPaint(pControl);
}

bool CWindowManagerUI::AddBrowser(CControlUI* pControl)
{
    return m_browsers.Add(pControl, this);
}

int CWindowManagerUI::GetBrowserCount() const
{
    return m_browsers.GetCount();
}

bool CWindowManagerUI::RemoveBrowser(CControlUI* pControl)
{
    return m_browsers.Remove(pControl, this);
}

// ---------------------------------------------------------------- notifications

void CWindowManagerUI::SendNotify(CControlUI* pControl, LPCWSTR pstrType, WPARAM wParam, LPARAM lParam, bool bAsync)
{
    TNotifyRecUI msg;
    msg.type = pstrType;
    msg.sender = pControl;
    msg.timestamp = 0;
    msg.mousePoint = m_mouse.GetMousePos();
    msg.wParam = wParam;
    msg.lParam = lParam;
    DispatchNotify(msg, bAsync);
}

void CWindowManagerUI::DispatchNotify(TNotifyRecUI& msg, bool bAsync)
{
    msg.mousePoint = m_mouse.GetMousePos();
    msg.timestamp = ::GetTickCount();
    if (bAsync)
        m_notify.Queue(msg);
    else
        m_notify.Deliver(msg, true);
}

// ---------------------------------------------------------------- events

void CWindowManagerUI::SendEvent(CControlUI* pControl, int type, CControlUI* pSender, WORD keyChar, WORD keyState,
                                 WPARAM wParam, LPARAM lParam)
{
    if (pControl == nullptr) return;
    TEventRecUI event = {};
    event.type = type;
    event.sender = pSender;
    event.timestamp = ::GetTickCount();
    event.mousePoint = m_mouse.GetMousePos();
    event.keyChar = keyChar;
    event.keyState = keyState;
    event.wParam = wParam;
    event.lParam = lParam;
    pControl->Event(event);
}

// ---------------------------------------------------------------- message handling

bool CWindowManagerUI::HandleWindowMessage(UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT& lRes)
{
    if (m_hWndPaint == nullptr) return false;
    m_notify.Drain();
    if (m_messageFilters.Run(uMsg, wParam, lParam, lRes)) return true;
    if (HandleOwnMessage(uMsg, wParam, lParam, lRes)) return true;
    m_notify.Drain();
    return false;
}

bool CWindowManagerUI::HandleOwnMessage(UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT& lRes)
{
    switch (uMsg) {
    case WM_SIZE:
        OnSize();
        lRes = 0;
        return true;
    case WM_PAINT:
        OnPaint();
        lRes = 0;
        return true;
    case WM_ERASEBKGND: lRes = 1; return true;
    case WM_CLOSE: OnClose(); return false;
    case WM_SETCURSOR: return m_mouse.OnSetCursor(wParam, lParam, lRes);
    case WM_GETMINMAXINFO: OnGetMinMaxInfo(lParam); return false;
    case WM_NOTIFY: return ReflectNotify(wParam, lParam, lRes);
    case WM_COMMAND:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC:
        if (lParam == 0) return false;
        lRes = ::SendMessageW(reinterpret_cast<HWND>(lParam), kReflectOffset + uMsg, wParam, lParam);
        return true;
    case WM_PRINTCLIENT:
        m_painter.PrintClient(m_hWndPaint, m_pRoot, reinterpret_cast<HDC>(wParam), lParam);
        return false;
    case WM_TIMER: OnTimer(wParam); return false;
    case WM_UPDUI_CLEANUP: DeleteDelayedCleanup(); return false;
    default: break;
    }
    if (m_mouse.HandleMessage(uMsg, wParam, lParam, lRes)) return true;
    m_keyboard.HandleMessage(uMsg, wParam, lParam);
    return false;
}

void CWindowManagerUI::OnSize()
{
    if (m_pFocus != nullptr) SendEvent(m_pFocus, EventWindowSize, m_pFocus, 0, GetMouseKeyFlags(), 0, 0);
    if (m_pRoot != nullptr) m_pRoot->NeedUpdate();
}

void CWindowManagerUI::OnClose()
{
    m_mouse.OnClose();
    SetFocus(nullptr);
    HWND hWndOwner = ::GetWindow(m_hWndPaint, GW_OWNER);
    if (hWndOwner != nullptr) ::SetFocus(hWndOwner);
}

void CWindowManagerUI::OnGetMinMaxInfo(LPARAM lParam)
{
    LPMINMAXINFO lpMMI = reinterpret_cast<LPMINMAXINFO>(lParam);
    if (lpMMI == nullptr) return;
    if (m_szMinWindow.cx > 0) lpMMI->ptMinTrackSize.x = m_szMinWindow.cx;
    if (m_szMinWindow.cy > 0) lpMMI->ptMinTrackSize.y = m_szMinWindow.cy;
    if (m_szMaxWindow.cx > 0) lpMMI->ptMaxTrackSize.x = m_szMaxWindow.cx;
    if (m_szMaxWindow.cy > 0) lpMMI->ptMaxTrackSize.y = m_szMaxWindow.cy;
}

bool CWindowManagerUI::ReflectNotify(WPARAM wParam, LPARAM lParam, LRESULT& lRes)
{
    if (lParam == 0) {
        lRes = 0;
        return true;
    }
    LPNMHDR lpNMHDR = reinterpret_cast<LPNMHDR>(lParam);
    lRes = ::SendMessageW(lpNMHDR->hwndFrom, kReflectOffset + WM_NOTIFY, wParam, lParam);
    return true;
}

void CWindowManagerUI::OnTimer(WPARAM wParam)
{
    const TTimerRecUI* pTimer = m_timers.FindRunning(m_hWndPaint, LOWORD(wParam));
    if (pTimer == nullptr) return;
    SendEvent(pTimer->pSender, EventTimer, pTimer->pSender, 0, GetMouseKeyFlags(), pTimer->nTimerKey, 0);
}

// ---------------------------------------------------------------- painting

void CWindowManagerUI::LayoutTree()
{
    m_bUpdateNeeded = false;
    RECT rcClient = {};
    ::GetClientRect(m_hWndPaint, &rcClient);
    if (!::IsRectEmpty(&rcClient)) {
        if (m_pRoot->IsUpdateNeeded()) {
            LayOutWhole(rcClient);
            m_painter.DropBuffers();
        } else {
            CControlUI* pControl = nullptr;
            while ((pControl = CTreeSearchUI::FirstNeedingUpdate(m_pRoot)) != nullptr) {
                pControl->SetPos(pControl->GetPos());
            }
        }
        if (m_bFirstLayout) {
            m_bFirstLayout = false;
            SendNotify(m_pRoot, L"windowinit");
        }
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

void CWindowManagerUI::OnPaint()
{
    // BeginPaint tells what to paint; asking the update rectangle first would be one more
    // round trip to the window server for every paint.
    if (m_pRoot == nullptr) {
        PAINTSTRUCT ps = {};
        ::BeginPaint(m_hWndPaint, &ps);
        ::EndPaint(m_hWndPaint, &ps);
        return;
    }
    if (m_bUpdateNeeded) LayoutTree();
    if (m_bFocusNeeded) SetNextTabControl(true);
    if (m_pRoot == nullptr) return; // a "windowinit" listener may have replaced or removed the tree

    m_painter.Paint(m_hWndPaint, m_hDcPaint, m_pRoot);
    if (m_bUpdateNeeded) ::InvalidateRect(m_hWndPaint, nullptr, FALSE);
}

// ---------------------------------------------------------------- keyboard pre-translation and the message loop

CControlUI* CALLBACK CWindowManagerUI::ShortcutCallback(CControlUI* pThis, LPVOID pData)
{
    CTreeSearchUI::TShortcutSearchUI* pFS = static_cast<CTreeSearchUI::TShortcutSearchUI*>(pData);
    if (!pThis->IsVisible()) return nullptr;
    if (static_cast<wchar_t>(towupper(pThis->GetShortcut())) == pFS->ch) pFS->bPickNext = true;
    if (pFS->bPickNext && !ClassNameContains(pThis, L"LabelUI")) return pThis;
    return nullptr;
}

bool CWindowManagerUI::PreHandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT& lRes)
{
    if (m_preMessageFilters.Run(uMsg, wParam, lParam, lRes)) return true;
    return m_keyboard.PreHandleMessage(uMsg, wParam, lParam);
}

void CWindowManagerUI::MessageLoop()
{
    MSG msg = {};
    while (::GetMessageW(&msg, nullptr, 0, 0) > 0) {
        if (!PreTranslateAll(&msg)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
    }
}

bool CWindowManagerUI::PreTranslateAll(MSG* pMsg)
{
    if (pMsg == nullptr) return false;
    for (int i = 0; i < m_aManagers.GetCount(); ++i) {
        CWindowManagerUI* pManager = static_cast<CWindowManagerUI*>(m_aManagers[i]);
        HWND hWnd = pMsg->hwnd;
        bool bOwnWindow = hWnd == pManager->m_hWndPaint ||
            (hWnd != nullptr && ::GetParent(hWnd) == pManager->m_hWndPaint &&
             (::GetWindowLongPtrW(hWnd, GWL_STYLE) & WS_CHILD) != 0);
        if (bOwnWindow) {
            LRESULT lRes = 0;
            if (pManager->PreHandleMessage(pMsg->message, pMsg->wParam, pMsg->lParam, lRes)) return true;
        } else if (pManager->m_browsers.TranslateAccelerator(pMsg)) {
            return true;
        }
    }
    return false;
}

// ---------------------------------------------------------------- option groups

bool CWindowManagerUI::AddOptionGroup(LPCWSTR pStrGroupName, CControlUI* pControl)
{
    return m_optionGroups.Add(pStrGroupName, pControl);
}

CPtrArrayUI* CWindowManagerUI::GetOptionGroup(LPCWSTR pStrGroupName)
{
    return m_optionGroups.Find(pStrGroupName);
}

void CWindowManagerUI::RemoveOptionGroup(LPCWSTR pStrGroupName, CControlUI* pControl)
{
    m_optionGroups.Remove(pStrGroupName, pControl);
}

void CWindowManagerUI::RemoveAllOptionGroups()
{
    m_optionGroups.RemoveAll();
}

// ---------------------------------------------------------------- parent manager and defaults

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

CWindowManagerUI* CWindowManagerUI::GetTopManager() const
{
    return UIShared::TopOfChain(this);
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
    return GetTopManager()->m_dwDefaultFontColor;
}

void CWindowManagerUI::SetDefaultFontColor(DWORD dwColor)
{
    m_dwDefaultFontColor = dwColor;
}

DWORD CWindowManagerUI::GetDefaultLinkFontColor() const
{
    return GetTopManager()->m_dwDefaultLinkFontColor;
}

void CWindowManagerUI::SetDefaultLinkFontColor(DWORD dwColor)
{
    m_dwDefaultLinkFontColor = dwColor;
}

DWORD CWindowManagerUI::GetDefaultLinkHoverFontColor() const
{
    return GetTopManager()->m_dwDefaultLinkHoverFontColor;
}

void CWindowManagerUI::SetDefaultLinkHoverFontColor(DWORD dwColor)
{
    m_dwDefaultLinkHoverFontColor = dwColor;
}

DWORD CWindowManagerUI::GetDefaultSelectedBkColor() const
{
    return GetTopManager()->m_dwDefaultSelectedBkColor;
}

void CWindowManagerUI::SetDefaultSelectedBkColor(DWORD dwColor)
{
    m_dwDefaultSelectedBkColor = dwColor;
}

// ---------------------------------------------------------------- fonts

TFontInfoUI* CWindowManagerUI::GetDefaultFontInfo()
{
    CWindowManagerUI* pTop = GetTopManager();
    TFontInfoUI& info = pTop->m_fonts.GetDefault();
    if (info.tm.tmHeight == 0) CFontTableUI::MeasureFont(pTop->m_hDcPaint, info);
    return &info;
}

void CWindowManagerUI::SetDefaultFont(LPCWSTR pStrFontName, int nSize, bool bBold, bool bUnderline, bool bItalic)
{
    m_fonts.SetDefault(pStrFontName, nSize, bBold, bUnderline, bItalic, m_hDcPaint);
}

HFONT CWindowManagerUI::AddFont(LPCWSTR pStrFontName, int nSize, bool bBold, bool bUnderline, bool bItalic)
{
    return m_fonts.Add(pStrFontName, nSize, bBold, bUnderline, bItalic, m_hDcPaint);
}

HFONT CWindowManagerUI::GetFont(int iIndex)
{
    TFontInfoUI* pFontInfo = m_fonts.GetAt(iIndex);
    if (pFontInfo == nullptr) return GetTopManager()->m_fonts.GetDefault().hFont;
    return pFontInfo->hFont;
}

int CWindowManagerUI::GetFontCount() const
{
    return m_fonts.GetCount();
}

HFONT CWindowManagerUI::FindFont(LPCWSTR pStrFontName, int nSize, bool bBold, bool bUnderline, bool bItalic) const
{
    for (const CWindowManagerUI* pManager = this; pManager != nullptr; pManager = pManager->m_pParentManager) {
        HFONT hFont = pManager->m_fonts.Find(pStrFontName, nSize, bBold, bUnderline, bItalic);
        if (hFont != nullptr) return hFont;
    }
    return nullptr;
}

TFontInfoUI* CWindowManagerUI::GetFontInfo(int iIndex)
{
    TFontInfoUI* pFontInfo = m_fonts.GetAt(iIndex);
    if (pFontInfo == nullptr) return GetDefaultFontInfo();
    if (pFontInfo->tm.tmHeight == 0) CFontTableUI::MeasureFont(m_hDcPaint, *pFontInfo);
    return pFontInfo;
}

TFontInfoUI* CWindowManagerUI::GetFontInfo(HFONT hFont)
{
    for (CWindowManagerUI* pManager = this; pManager != nullptr; pManager = pManager->m_pParentManager) {
        TFontInfoUI* pFontInfo = pManager->m_fonts.Find(hFont);
        if (pFontInfo == nullptr) continue;
        if (pFontInfo->tm.tmHeight == 0) CFontTableUI::MeasureFont(pManager->m_hDcPaint, *pFontInfo);
        return pFontInfo;
    }
    return GetDefaultFontInfo();
}

void CWindowManagerUI::RemoveAllFonts()
{
    m_fonts.RemoveAll();
}

// ---------------------------------------------------------------- images

TImageRecUI* CWindowManagerUI::AddImage(LPCWSTR bitmap, LPCWSTR type, DWORD mask)
{
    return m_images.Add(bitmap, type, mask);
}

TImageRecUI* CWindowManagerUI::GetImageEx(LPCWSTR bitmap, LPCWSTR type, DWORD mask)
{
    TImageRecUI* pImage = m_images.Find(bitmap);
    if (pImage != nullptr) return pImage;
    if (m_images.Add(bitmap, type, mask) == nullptr) return nullptr;
    return m_images.Find(bitmap);
}

void CWindowManagerUI::RemoveAllImages()
{
    m_images.RemoveAll();
}

// ---------------------------------------------------------------- default attribute lists

void CWindowManagerUI::AddDefaultAttributeList(LPCWSTR pStrControlName, LPCWSTR pStrControlAttrList)
{
    m_defaultAttributes.Add(pStrControlName, pStrControlAttrList);
}

LPCWSTR CWindowManagerUI::GetDefaultAttributeList(LPCWSTR pStrControlName) const
{
    for (const CWindowManagerUI* pManager = this; pManager != nullptr; pManager = pManager->m_pParentManager) {
        LPCWSTR pstrList = pManager->m_defaultAttributes.Find(pStrControlName);
        if (pstrList != nullptr) return pstrList;
    }
    return nullptr;
}

void CWindowManagerUI::RemoveAllDefaultAttributeList()
{
    m_defaultAttributes.RemoveAll();
}

} // namespace UpdUI
