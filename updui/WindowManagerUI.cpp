#include "WindowManagerUI.h"

#include <windowsx.h>

#include <cwchar>
#include <new>

#include "ActiveXUI.h"
#include "BrowserKeysUI.h"
#include "ControlUI.h"
#include "RichEditUI.h"
#include "TreeSearchUI.h"
#include "ZipArchive.h"

namespace UpdUI {

namespace {

const int kMapBuckets = 83;
const UINT kReflectOffset = 0x2000;
const wchar_t kMemoryZipName[] = L"membuffer";

POINT PointFromLParam(LPARAM lParam)
{
    POINT pt = { GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam) };
    return pt;
}

bool ClassNameContains(CControlUI* pControl, LPCWSTR pstrPart)
{
    LPCWSTR pstrClass = pControl->GetControlClass();
    return pstrClass != nullptr && wcsstr(pstrClass, pstrPart) != nullptr;
}

bool RichEditWantsTab(CControlUI* pControl)
{
    CRichEditUI* pRichEdit = static_cast<CRichEditUI*>(pControl->GetInterface(L"RichEdit"));
    return pRichEdit == nullptr || pRichEdit->IsWantTab();
}

} // namespace

HINSTANCE CWindowManagerUI::m_hInstance = nullptr;
HINSTANCE CWindowManagerUI::m_hResourceInstance = nullptr;
CStringUI CWindowManagerUI::m_sDefaultFontName;
CStringUI CWindowManagerUI::m_sResourcePath;
CStringUI CWindowManagerUI::m_sResourceZip;
bool CWindowManagerUI::m_bCachedResourceZip = false;
ZipArchive* CWindowManagerUI::m_hResourceZip = nullptr;
CPtrArrayUI CWindowManagerUI::m_aManagers;
CPtrArrayUI CWindowManagerUI::m_aPlugins;
short CWindowManagerUI::m_H = 180;
short CWindowManagerUI::m_S = 100;
short CWindowManagerUI::m_L = 100;
bool CWindowManagerUI::m_bProcessSetUp = false;

CWindowManagerUI::CWindowManagerUI()
    : m_hWndPaint(nullptr), m_nOpacity(255), m_hDcPaint(nullptr), m_bShowUpdateRect(false), m_pRoot(nullptr),
      m_pFocus(nullptr), m_pEventHover(nullptr), m_pEventClick(nullptr),
      m_pEventKey(nullptr), m_ptLastMousePos{ -1, -1 }, m_szMinWindow(), m_szMaxWindow(), m_szInitWindowSize(),
      m_rcSizeBox(), m_szRoundCorner(), m_rcCaption(), m_bFirstLayout(true), m_bUpdateNeeded(false),
      m_bFocusNeeded(false), m_bOffscreenPaint(true), m_bAlphaBackground(false), m_bMouseTracking(false),
      m_bMouseCapture(false), m_mNameHash(kMapBuckets), m_pParentManager(nullptr), m_dwDefaultDisabledColor(0xFFA7A6AA),
      m_dwDefaultFontColor(0xFF000000), m_dwDefaultLinkFontColor(0xFF0000FF), m_dwDefaultLinkHoverFontColor(0xFFD3215F),
      m_dwDefaultSelectedBkColor(0xFFBAE4FF)
{
    if (!m_bProcessSetUp) {
        m_bProcessSetUp = true;
        INITCOMMONCONTROLSEX icc = { sizeof(icc), ICC_WIN95_CLASSES | ICC_DATE_CLASSES };
        ::InitCommonControlsEx(&icc);
        ::LoadLibraryW(L"msimg32.dll");
    }
    m_fonts.InitDefault(m_sDefaultFontName);
}

// The tree goes first: its controls reap themselves from the tables below.
CWindowManagerUI::~CWindowManagerUI()
{
    DeleteDelayedCleanup();
    CControlUI* pRoot = m_pRoot;
    m_pRoot = nullptr;
    delete pRoot;
    for (int i = 0; i < m_aAsyncNotify.GetCount(); ++i) {
        delete static_cast<TNotifyRecUI*>(m_aAsyncNotify[i]);
    }
    m_aAsyncNotify.Empty();
    m_mNameHash.RemoveAll();
    m_fonts.Release();
    RemoveAllImages();
    RemoveAllDefaultAttributeList();
    RemoveAllOptionGroups();
    RemoveAllTimers();
    m_toolTip.Destroy();
    DropOffscreen();
    if (m_hDcPaint != nullptr) ::ReleaseDC(m_hWndPaint, m_hDcPaint);
    // Browsers that outlive the manager must not reach back into it.
    while (m_aBrowsers.GetCount() > 0) RemoveBrowser(static_cast<CControlUI*>(m_aBrowsers[0]));
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
    return m_ptLastMousePos;
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
    m_bShowUpdateRect = bShow;
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
    m_bAlphaBackground = bTrans;
}

// ---------------------------------------------------------------- control tree

bool CWindowManagerUI::AttachRoot(CControlUI* pControl)
{
    SetFocus(nullptr);
    m_pEventKey = nullptr;
    m_pEventHover = nullptr;
    m_pEventClick = nullptr;
    if (m_pRoot != nullptr) {
        m_aPostPaintControls.Empty();
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
    if (m_pEventHover == pControl) m_pEventHover = nullptr;
    if (m_pEventClick == pControl) m_pEventClick = nullptr;
    if (m_pEventKey == pControl) m_pEventKey = nullptr;
    KillTimers(pControl);
    CStringUI sName = pControl->GetName();
    if (!sName.IsEmpty() && m_mNameHash.Find(sName.GetData(), false) == pControl) m_mNameHash.Remove(sName.GetData());
    for (int i = 0; i < m_aAsyncNotify.GetCount(); ++i) {
        TNotifyRecUI* pMsg = static_cast<TNotifyRecUI*>(m_aAsyncNotify[i]);
        if (pMsg->sender == pControl) pMsg->sender = nullptr;
    }
    // The lists below are walked later by painting, message translation and option
    // selection; a dead control left in them would be called after it is gone.
    int iIndex = m_aPostPaintControls.Find(pControl);
    if (iIndex >= 0) m_aPostPaintControls.Remove(iIndex);
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

void CWindowManagerUI::Invalidate(const RECT& rcItem)
{
    if (m_hWndPaint != nullptr) ::InvalidateRect(m_hWndPaint, &rcItem, FALSE);
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

void CWindowManagerUI::SetFocus(CControlUI* pControl)
{
    if (m_hWndPaint != nullptr && ::GetFocus() != m_hWndPaint && pControl != m_pFocus) ::SetFocus(m_hWndPaint);
    if (pControl == m_pFocus) return;
    if (m_pFocus != nullptr) {
        CControlUI* pOld = m_pFocus;
        SendEvent(pOld, EventKillFocus, pControl, 0, GetMouseKeyFlags(), 0, 0);
        SendNotify(pOld, L"killfocus");
        m_pFocus = nullptr;
    }
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
    if (m_pFocus != nullptr) {
        CControlUI* pOld = m_pFocus;
        SendEvent(pOld, EventKillFocus, pControl, 0, GetMouseKeyFlags(), 0, 0);
        SendNotify(pOld, L"killfocus");
        m_pFocus = nullptr;
    }
    if (m_pRoot != nullptr) {
        m_pFocus = CTreeSearchUI::TabStopBefore(m_pRoot, pControl);
        m_pRoot->NeedUpdate();
    }
    m_bFocusNeeded = true;
}

void CWindowManagerUI::SetCapture()
{
    if (m_hWndPaint != nullptr) ::SetCapture(m_hWndPaint);
    m_bMouseCapture = true;
}

void CWindowManagerUI::ReleaseCapture()
{
    ::ReleaseCapture();
    m_bMouseCapture = false;
}

bool CWindowManagerUI::IsCaptured() const
{
    return m_bMouseCapture;
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
    return pNotifier != nullptr && m_aNotifiers.Add(pNotifier);
}

bool CWindowManagerUI::AddPreMessageFilter(IMessageFilterUI* pFilter)
{
    return pFilter != nullptr && m_aPreMessageFilters.Add(pFilter);
}

bool CWindowManagerUI::RemovePreMessageFilter(IMessageFilterUI* pFilter)
{
    return m_aPreMessageFilters.Remove(m_aPreMessageFilters.Find(pFilter));
}

bool CWindowManagerUI::AddMessageFilter(IMessageFilterUI* pFilter)
{
    return pFilter != nullptr && m_aMessageFilters.Add(pFilter);
}

bool CWindowManagerUI::RemoveMessageFilter(IMessageFilterUI* pFilter)
{
    return m_aMessageFilters.Remove(m_aMessageFilters.Find(pFilter));
}

bool CWindowManagerUI::AddPostPaint(CControlUI* pControl)
{
    return pControl != nullptr && m_aPostPaintControls.Add(pControl);
}

bool CWindowManagerUI::RemovePostPaint(CControlUI* pControl)
{
    return m_aPostPaintControls.Remove(m_aPostPaintControls.Find(pControl));
}

bool CWindowManagerUI::AddBrowser(CControlUI* pControl)
{
    CActiveXUI* pHost = pControl != nullptr ? static_cast<CActiveXUI*>(pControl->GetInterface(L"ActiveX")) : nullptr;
    if (pHost == nullptr || m_aBrowsers.Find(pControl) >= 0) return false;
    CWindowManagerUI* pPrevious = pHost->GetListingManager();
    if (pPrevious != nullptr) pPrevious->RemoveBrowser(pControl);
    if (!m_aBrowsers.Add(pControl)) return false;
    pHost->SetListingManager(this);
    return true;
}

int CWindowManagerUI::GetBrowserCount() const
{
    return m_aBrowsers.GetCount();
}

bool CWindowManagerUI::RemoveBrowser(CControlUI* pControl)
{
    int iIndex = m_aBrowsers.Find(pControl);
    if (iIndex < 0) return false;
    m_aBrowsers.Remove(iIndex);
    CActiveXUI* pHost = static_cast<CActiveXUI*>(pControl->GetInterface(L"ActiveX"));
    if (pHost != nullptr && pHost->GetListingManager() == this) pHost->SetListingManager(nullptr);
    return true;
}

// ---------------------------------------------------------------- notifications

void CWindowManagerUI::SendNotify(CControlUI* pControl, LPCWSTR pstrType, WPARAM wParam, LPARAM lParam, bool bAsync)
{
    TNotifyRecUI msg;
    msg.type = pstrType;
    msg.sender = pControl;
    msg.timestamp = 0;
    msg.mousePoint = m_ptLastMousePos;
    msg.wParam = wParam;
    msg.lParam = lParam;
    DispatchNotify(msg, bAsync);
}

void CWindowManagerUI::DispatchNotify(TNotifyRecUI& msg, bool bAsync)
{
    msg.mousePoint = m_ptLastMousePos;
    msg.timestamp = ::GetTickCount();
    if (!bAsync) {
        DeliverNotify(msg, true);
        return;
    }
    TNotifyRecUI* pCopy = new (std::nothrow) TNotifyRecUI(msg);
    if (pCopy == nullptr) return;
    if (!m_aAsyncNotify.Add(pCopy)) delete pCopy;
}

void CWindowManagerUI::DeliverNotify(TNotifyRecUI& msg, bool bSenderAlive)
{
    if (bSenderAlive && msg.sender != nullptr && msg.sender->OnNotify.HasAny()) msg.sender->OnNotify.CallAll(&msg);
    for (int i = 0; i < m_aNotifiers.GetCount(); ++i) {
        static_cast<INotifyUI*>(m_aNotifiers[i])->Notify(msg);
    }
}

void CWindowManagerUI::DrainAsyncNotify()
{
    while (!m_aAsyncNotify.IsEmpty()) {
        TNotifyRecUI* pMsg = static_cast<TNotifyRecUI*>(m_aAsyncNotify[0]);
        m_aAsyncNotify.Remove(0);
        DeliverNotify(*pMsg, pMsg->sender != nullptr);
        delete pMsg;
    }
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
    event.mousePoint = m_ptLastMousePos;
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
    DrainAsyncNotify();
    if (RunMessageFilters(uMsg, wParam, lParam, lRes)) return true;
    if (HandleOwnMessage(uMsg, wParam, lParam, lRes)) return true;
    DrainAsyncNotify();
    return false;
}

bool CWindowManagerUI::RunMessageFilters(UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT& lRes)
{
    for (int i = 0; i < m_aMessageFilters.GetCount(); ++i) {
        bool bHandled = false;
        LRESULT lResult =
            static_cast<IMessageFilterUI*>(m_aMessageFilters[i])->MessageHandler(uMsg, wParam, lParam, bHandled);
        if (bHandled) {
            lRes = lResult;
            return true;
        }
    }
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
    case WM_SETCURSOR: return OnSetCursor(wParam, lParam, lRes);
    case WM_GETMINMAXINFO: OnGetMinMaxInfo(lParam); return false;
    case WM_NOTIFY: return ReflectNotify(wParam, lParam, lRes);
    case WM_COMMAND:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC:
        if (lParam == 0) return false;
        lRes = ::SendMessageW(reinterpret_cast<HWND>(lParam), kReflectOffset + uMsg, wParam, lParam);
        return true;
    case WM_PRINTCLIENT: OnPrintClient(reinterpret_cast<HDC>(wParam), lParam); return false;
    case WM_TIMER: OnTimer(wParam); return false;
    case WM_UPDUI_CLEANUP: DeleteDelayedCleanup(); return false;
    default: break;
    }
    if (HandleMouseMessage(uMsg, wParam, lParam, lRes)) return true;
    HandleKeyMessage(uMsg, wParam, lParam);
    return false;
}

bool CWindowManagerUI::HandleMouseMessage(UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT& lRes)
{
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

bool CWindowManagerUI::HandleKeyMessage(UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    switch (uMsg) {
    case WM_KEYDOWN:
        if (m_pFocus == nullptr) return false;
        m_pEventKey = m_pFocus;
        SendEvent(m_pFocus, EventKeyDown, nullptr, LOWORD(wParam), GetMouseKeyFlags(), wParam, lParam);
        return false;
    case WM_KEYUP:
        if (m_pEventKey == nullptr) return false;
        SendEvent(m_pEventKey, EventKeyUp, m_pEventKey, LOWORD(wParam), GetMouseKeyFlags(), wParam, lParam);
        m_pEventKey = nullptr;
        return false;
    case WM_CHAR:
        if (m_pFocus == nullptr) return false;
        SendEvent(m_pFocus, EventChar, m_pFocus, LOWORD(wParam), GetMouseKeyFlags(), wParam, lParam);
        return false;
    default: return false;
    }
}

void CWindowManagerUI::OnSize()
{
    if (m_pFocus != nullptr) SendEvent(m_pFocus, EventWindowSize, m_pFocus, 0, GetMouseKeyFlags(), 0, 0);
    if (m_pRoot != nullptr) m_pRoot->NeedUpdate();
}

void CWindowManagerUI::OnClose()
{
    if (m_pEventHover != nullptr) {
        SendEvent(m_pEventHover, EventMouseLeave, m_pEventHover, 0, GetMouseKeyFlags(), 0, 0);
    }
    if (m_pEventClick != nullptr) {
        SendEvent(m_pEventClick, EventButtonUp, m_pEventClick, 0, GetMouseKeyFlags(), 0, 0);
    }
    SetFocus(nullptr);
    HWND hWndOwner = ::GetWindow(m_hWndPaint, GW_OWNER);
    if (hWndOwner != nullptr) ::SetFocus(hWndOwner);
}

bool CWindowManagerUI::OnSetCursor(WPARAM wParam, LPARAM lParam, LRESULT& lRes)
{
    if (LOWORD(lParam) != HTCLIENT) return false;
    if (m_bMouseCapture) {
        lRes = 0;
        return true;
    }
    POINT pt = {};
    ::GetCursorPos(&pt);
    ::ScreenToClient(m_hWndPaint, &pt);
    CControlUI* pControl = FindControlAt(pt);
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

void CWindowManagerUI::OnPrintClient(HDC hDC, LPARAM lParam)
{
    if (m_pRoot == nullptr || hDC == nullptr) return;
    RECT rcClient = {};
    ::GetClientRect(m_hWndPaint, &rcClient);
    int iSaved = ::SaveDC(hDC);
    m_pRoot->DoPaint(hDC, rcClient);
    if ((lParam & PRF_CHILDREN) != 0) {
        for (HWND hWndChild = ::GetWindow(m_hWndPaint, GW_CHILD); hWndChild != nullptr;
             hWndChild = ::GetWindow(hWndChild, GW_HWNDNEXT)) {
            RECT rcPos = {};
            ::GetWindowRect(hWndChild, &rcPos);
            ::MapWindowPoints(HWND_DESKTOP, m_hWndPaint, reinterpret_cast<LPPOINT>(&rcPos), 2);
            ::SetWindowOrgEx(hDC, -rcPos.left, -rcPos.top, nullptr);
            ::SendMessageW(hWndChild, WM_PRINT, reinterpret_cast<WPARAM>(hDC), lParam | PRF_NONCLIENT);
        }
    }
    ::RestoreDC(hDC, iSaved);
}

void CWindowManagerUI::OnTimer(WPARAM wParam)
{
    const TTimerRecUI* pTimer = m_timers.FindRunning(m_hWndPaint, LOWORD(wParam));
    if (pTimer == nullptr) return;
    SendEvent(pTimer->pSender, EventTimer, pTimer->pSender, 0, GetMouseKeyFlags(), pTimer->nTimerKey, 0);
}

void CWindowManagerUI::TrackMouse()
{
    if (m_bMouseTracking) return;
    m_toolTip.TrackHover(m_hWndPaint);
    m_bMouseTracking = true;
}

void CWindowManagerUI::OnMouseMove(WPARAM wParam, LPARAM lParam)
{
    TrackMouse();
    m_ptLastMousePos = PointFromLParam(lParam);
    CControlUI* pNewHover = FindControlAt(m_ptLastMousePos);
    if (pNewHover != nullptr && pNewHover->GetManager() != this) return;
    if (pNewHover != m_pEventHover && m_pEventHover != nullptr) {
        CControlUI* pOld = m_pEventHover;
        m_pEventHover = nullptr;
        SendEvent(pOld, EventMouseLeave, pNewHover, 0, GetMouseKeyFlags(), wParam, lParam);
        HideToolTip();
    }
    if (pNewHover != m_pEventHover && pNewHover != nullptr) {
        SendEvent(pNewHover, EventMouseEnter, pNewHover, 0, GetMouseKeyFlags(), wParam, lParam);
        m_pEventHover = pNewHover;
    }
    CControlUI* pTarget = m_pEventClick != nullptr ? m_pEventClick : pNewHover;
    if (pTarget != nullptr) SendEvent(pTarget, EventMouseMove, pTarget, 0, GetMouseKeyFlags(), wParam, lParam);
}

void CWindowManagerUI::OnMouseHover(LPARAM lParam)
{
    m_bMouseTracking = false;
    POINT pt = PointFromLParam(lParam);
    CControlUI* pHover = FindControlAt(pt);
    if (pHover == nullptr) return;
    if (m_pEventHover != nullptr) {
        SendEvent(m_pEventHover, EventMouseHover, m_pEventHover, 0, GetMouseKeyFlags(), 0, lParam);
    }
    ShowToolTip(pHover);
}

void CWindowManagerUI::ShowToolTip(CControlUI* pControl)
{
    CStringUI sToolTip = pControl->GetToolTip();
    m_toolTip.Show(m_hWndPaint, m_hInstance, sToolTip.GetData(), pControl->GetPos());
}

void CWindowManagerUI::HideToolTip()
{
    m_toolTip.Hide();
}

void CWindowManagerUI::OnMouseLeave()
{
    HideToolTip();
    if (m_bMouseTracking) ::SendMessageW(m_hWndPaint, WM_MOUSEMOVE, 0, static_cast<LPARAM>(-1));
    m_bMouseTracking = false;
}

void CWindowManagerUI::OnButtonDown(WPARAM wParam, LPARAM lParam, int type, bool bMoveFocus)
{
    ::SetFocus(m_hWndPaint);
    m_ptLastMousePos = PointFromLParam(lParam);
    CControlUI* pControl = FindControlAt(m_ptLastMousePos);
    if (!IsOwnControl(pControl)) return;
    m_pEventClick = pControl;
    if (bMoveFocus) pControl->SetFocus();
    SetCapture();
    if (type == EventDoubleClick)
        SendEvent(pControl, type, pControl, 0, GetMouseKeyFlags(), 0, 0);
    else
        SendEvent(pControl, type, pControl, 0, LOWORD(wParam), wParam, lParam);
}

void CWindowManagerUI::OnButtonUp(WPARAM wParam, LPARAM lParam)
{
    m_ptLastMousePos = PointFromLParam(lParam);
    if (m_pEventClick == nullptr) return;
    ReleaseCapture();
    CControlUI* pControl = m_pEventClick;
    SendEvent(pControl, EventButtonUp, pControl, 0, LOWORD(wParam), wParam, lParam);
    m_pEventClick = nullptr;
}

void CWindowManagerUI::OnContextMenu(WPARAM wParam, LPARAM lParam)
{
    POINT pt = PointFromLParam(lParam);
    ::ScreenToClient(m_hWndPaint, &pt);
    m_ptLastMousePos = pt;
    if (m_pEventClick == nullptr) return;
    ReleaseCapture();
    CControlUI* pControl = m_pEventClick;
    SendEvent(pControl, EventContextMenu, pControl, 0, LOWORD(wParam), wParam, reinterpret_cast<LPARAM>(pControl));
    m_pEventClick = nullptr;
}

void CWindowManagerUI::OnMouseWheel(WPARAM wParam, LPARAM lParam)
{
    POINT pt = PointFromLParam(lParam);
    ::ScreenToClient(m_hWndPaint, &pt);
    m_ptLastMousePos = pt;
    CControlUI* pControl = FindControlAt(pt);
    if (!IsOwnControl(pControl)) return;
    int zDelta = GET_WHEEL_DELTA_WPARAM(wParam);
    SendEvent(pControl, EventScrollWheel, pControl, 0, GetMouseKeyFlags(), zDelta < 0 ? 1 : 0, lParam);
    ::SendMessageW(m_hWndPaint, WM_MOUSEMOVE, 0, MAKELPARAM(m_ptLastMousePos.x, m_ptLastMousePos.y));
}

// ---------------------------------------------------------------- painting

void CWindowManagerUI::DropOffscreen()
{
    m_buffers.Drop();
}

void CWindowManagerUI::LayoutTree()
{
    m_bUpdateNeeded = false;
    RECT rcClient = {};
    ::GetClientRect(m_hWndPaint, &rcClient);
    if (!::IsRectEmpty(&rcClient)) {
        if (m_pRoot->IsUpdateNeeded()) {
            m_pRoot->SetPos(rcClient);
            DropOffscreen();
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

void CWindowManagerUI::PaintTree(HDC hDC, const RECT& rcPaint)
{
    if (m_pRoot != nullptr) m_pRoot->DoPaint(hDC, rcPaint);
    for (int i = 0; i < m_aPostPaintControls.GetCount(); ++i) {
        static_cast<CControlUI*>(m_aPostPaintControls[i])->DoPostPaint(hDC, rcPaint);
    }
}

// The first paint keeps what the window showed as the backdrop of a transparent skin.
void CWindowManagerUI::CaptureBackground(HDC hDcSource, const RECT& rcPaint)
{
    RECT rcClient = {};
    ::GetClientRect(m_hWndPaint, &rcClient);
    m_buffers.CaptureBackdrop(m_hDcPaint, hDcSource, rcClient, rcPaint);
}

void CWindowManagerUI::FrameUpdateRect(HDC hDC, const RECT& rcPaint)
{
    if (!m_bShowUpdateRect) return;
    // The pen lives only for this frame: a pen kept for the process would never be freed.
    HPEN hPen = ::CreatePen(PS_SOLID, 1, RGB(220, 0, 0));
    if (hPen == nullptr) return;
    HPEN hOldPen = static_cast<HPEN>(::SelectObject(hDC, hPen));
    HBRUSH hOldBrush = static_cast<HBRUSH>(::SelectObject(hDC, ::GetStockObject(HOLLOW_BRUSH)));
    ::Rectangle(hDC, rcPaint.left, rcPaint.top, rcPaint.right, rcPaint.bottom);
    ::SelectObject(hDC, hOldBrush);
    ::SelectObject(hDC, hOldPen);
    ::DeleteObject(hPen);
}

void CWindowManagerUI::PaintOffscreen(HDC hDcPaint, const RECT& rcPaint)
{
    HDC hDcOffscreen = m_buffers.GetOffscreenDC();
    HBITMAP hOldBitmap = static_cast<HBITMAP>(::SelectObject(hDcOffscreen, m_buffers.GetOffscreenBitmap()));
    int iSaveDC = ::SaveDC(hDcOffscreen);
    if (m_bAlphaBackground) {
        if (!m_buffers.HasBackdrop()) CaptureBackground(hDcPaint, rcPaint);
        m_buffers.CopyBackdrop(hDcOffscreen, rcPaint);
    }
    PaintTree(hDcOffscreen, rcPaint);
    ::RestoreDC(hDcOffscreen, iSaveDC);
    ::BitBlt(hDcPaint, rcPaint.left, rcPaint.top, rcPaint.right - rcPaint.left, rcPaint.bottom - rcPaint.top,
             hDcOffscreen, rcPaint.left, rcPaint.top, SRCCOPY);
    ::SelectObject(hDcOffscreen, hOldBitmap);
    FrameUpdateRect(hDcPaint, rcPaint);
}

void CWindowManagerUI::OnPaint()
{
    RECT rcPaint = {};
    if (!::GetUpdateRect(m_hWndPaint, &rcPaint, FALSE)) return;
    if (m_pRoot == nullptr) {
        PAINTSTRUCT ps = {};
        ::BeginPaint(m_hWndPaint, &ps);
        ::EndPaint(m_hWndPaint, &ps);
        return;
    }
    if (m_bUpdateNeeded) LayoutTree();
    if (m_bFocusNeeded) SetNextTabControl(true);
    if (m_pRoot == nullptr) return; // a "windowinit" listener may have replaced or removed the tree

    if (m_bOffscreenPaint && m_buffers.GetOffscreenBitmap() == nullptr) {
        RECT rcClient = {};
        ::GetClientRect(m_hWndPaint, &rcClient);
        m_buffers.MakeOffscreen(m_hDcPaint, rcClient);
    }
    PAINTSTRUCT ps = {};
    ::BeginPaint(m_hWndPaint, &ps);
    if (m_bOffscreenPaint && m_buffers.HasOffscreen()) {
        PaintOffscreen(ps.hdc, ps.rcPaint);
    } else {
        int iSaveDC = ::SaveDC(ps.hdc);
        PaintTree(ps.hdc, ps.rcPaint);
        ::RestoreDC(ps.hdc, iSaveDC);
    }
    ::EndPaint(m_hWndPaint, &ps);
    if (m_bUpdateNeeded) ::InvalidateRect(m_hWndPaint, nullptr, FALSE);
}

// ---------------------------------------------------------------- keyboard pre-translation

bool CWindowManagerUI::FocusKeepsTab() const
{
    if (m_pFocus == nullptr || !m_pFocus->IsVisible() || !m_pFocus->IsEnabled()) return false;
    if (!ClassNameContains(m_pFocus, L"RichEditUI")) return false;
    return RichEditWantsTab(m_pFocus);
}

CControlUI* CALLBACK CWindowManagerUI::ShortcutCallback(CControlUI* pThis, LPVOID pData)
{
    CTreeSearchUI::TShortcutSearchUI* pFS = static_cast<CTreeSearchUI::TShortcutSearchUI*>(pData);
    if (!pThis->IsVisible()) return nullptr;
    if (static_cast<wchar_t>(towupper(pThis->GetShortcut())) == pFS->ch) pFS->bPickNext = true;
    if (pFS->bPickNext && !ClassNameContains(pThis, L"LabelUI")) return pThis;
    return nullptr;
}

bool CWindowManagerUI::HandleShortcut(WPARAM wParam)
{
    if (m_pRoot == nullptr) return false;
    CControlUI* pControl =
        CTreeSearchUI::ShortcutTarget(m_pRoot, static_cast<wchar_t>(towupper(static_cast<wint_t>(wParam))));
    if (pControl == nullptr) return false;
    pControl->SetFocus();
    pControl->Activate();
    return true;
}

bool CWindowManagerUI::PreHandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT& lRes)
{
    for (int i = 0; i < m_aPreMessageFilters.GetCount(); ++i) {
        bool bHandled = false;
        LRESULT lResult =
            static_cast<IMessageFilterUI*>(m_aPreMessageFilters[i])->MessageHandler(uMsg, wParam, lParam, bHandled);
        if (bHandled) {
            lRes = lResult;
            return true;
        }
    }
    switch (uMsg) {
    case WM_KEYDOWN:
        if (wParam != VK_TAB) return false;
        if (FocusKeepsTab()) return false;
        SetNextTabControl(::GetKeyState(VK_SHIFT) >= 0);
        return true;
    case WM_SYSKEYDOWN:
        if (m_pFocus != nullptr)
            SendEvent(m_pFocus, EventSysKey, m_pFocus, LOWORD(wParam), GetMouseKeyFlags(), wParam, lParam);
        return false;
    case WM_SYSCHAR: return HandleShortcut(wParam);
    default: return false;
    }
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

bool CWindowManagerUI::TranslateBrowserAccelerator(MSG* pMsg)
{
    for (int i = 0; i < m_aBrowsers.GetCount(); ++i) {
        if (CBrowserKeysUI::Translate(static_cast<CControlUI*>(m_aBrowsers[i]), pMsg)) return true;
    }
    return false;
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
        } else if (pManager->TranslateBrowserAccelerator(pMsg)) {
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
    for (CWindowManagerUI* p = pParent; p != nullptr; p = p->m_pParentManager) {
        if (p == this) return false;
    }
    m_pParentManager = pParent;
    return true;
}

CWindowManagerUI* CWindowManagerUI::GetParentManager() const
{
    return m_pParentManager;
}

CWindowManagerUI* CWindowManagerUI::GetTopManager() const
{
    const CWindowManagerUI* pTop = this;
    while (pTop->m_pParentManager != nullptr) pTop = pTop->m_pParentManager;
    return const_cast<CWindowManagerUI*>(pTop);
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

// ---------------------------------------------------------------- shared settings

void CWindowManagerUI::SetInstance(HINSTANCE hInst)
{
    m_hInstance = hInst;
}

HINSTANCE CWindowManagerUI::GetInstance()
{
    return m_hInstance;
}

void CWindowManagerUI::SetResourceInstance(HINSTANCE hInst)
{
    m_hResourceInstance = hInst;
}

HINSTANCE CWindowManagerUI::GetResourceInstance()
{
    return m_hResourceInstance != nullptr ? m_hResourceInstance : m_hInstance;
}

CStringUI CWindowManagerUI::GetInstancePath()
{
    if (m_hInstance == nullptr) return CStringUI();
    wchar_t szModule[MAX_PATH + 1] = {};
    DWORD nLen = ::GetModuleFileNameW(m_hInstance, szModule, MAX_PATH);
    if (nLen == 0 || nLen >= MAX_PATH) return CStringUI();
    LPCWSTR pSlash = wcsrchr(szModule, L'\\');
    if (pSlash == nullptr) return CStringUI();
    return CStringUI(szModule, static_cast<int>(pSlash - szModule) + 1);
}

void CWindowManagerUI::SetResourcePath(LPCWSTR pStrPath)
{
    m_sResourcePath = pStrPath;
    if (m_sResourcePath.IsEmpty()) return;
    wchar_t cEnd = m_sResourcePath.GetAt(m_sResourcePath.GetLength() - 1);
    if (cEnd != L'\\' && cEnd != L'/') m_sResourcePath += L'\\';
}

const CStringUI& CWindowManagerUI::GetResourcePath()
{
    return m_sResourcePath;
}

void CWindowManagerUI::SetSkinZipMemory(const void* pData, unsigned int nLength)
{
    if (m_sResourceZip == kMemoryZipName) return;
    if (m_bCachedResourceZip && m_hResourceZip != nullptr) {
        ZipClose(m_hResourceZip);
        m_hResourceZip = nullptr;
    }
    m_sResourceZip = kMemoryZipName;
    m_bCachedResourceZip = true;
    m_hResourceZip = ZipOpen(const_cast<void*>(pData), nLength, ZIP_MEMORY);
}

const CStringUI& CWindowManagerUI::GetSkinZipName()
{
    return m_sResourceZip;
}

bool CWindowManagerUI::IsSkinZipCached()
{
    return m_bCachedResourceZip;
}

ZipArchive* CWindowManagerUI::GetSkinZipHandle()
{
    return m_hResourceZip;
}

void CWindowManagerUI::ReleaseSkinZip()
{
    // Name and flag go with the archive: later reads must not look for a closed one.
    if (m_bCachedResourceZip && m_hResourceZip != nullptr) ZipClose(m_hResourceZip);
    m_hResourceZip = nullptr;
    m_bCachedResourceZip = false;
    m_sResourceZip.Empty();
}

void CWindowManagerUI::GetSkinHsl(short* H, short* S, short* L)
{
    if (H != nullptr) *H = m_H;
    if (S != nullptr) *S = m_S;
    if (L != nullptr) *L = m_L;
}

CPtrArrayUI* CWindowManagerUI::GetPlugins()
{
    return &m_aPlugins;
}

} // namespace UpdUI
