#include "SetupWnd.h"

#include <string>

#include "InstallerSubclass.h"
#include "PluginState.h"

namespace {

const wchar_t kSkinFileName[] = L"\\lumora_setup_skin.sk";
const DWORD kRemovedStyle = WS_CAPTION;
const DWORD kAddedStyle = WS_CLIPSIBLINGS | WS_CLIPCHILDREN;
const int kCornerZone = 10;
const int kEdgeNear = 2;
const int kEdgeFar = 3;

// Controls the user works with; the rest of the window drags it.
bool IsClickableClass(LPCWSTR pstrClass)
{
    static const wchar_t* const kClasses[] = { L"ButtonUI", L"OptionUI", L"TextUI", L"EditUI" };
    for (const wchar_t* pstrName : kClasses) {
        if (wcscmp(pstrClass, pstrName) == 0) return true;
    }
    return false;
}

struct TPromptSearch
{
    HWND hOwner;
    HWND hFound;
};

BOOL CALLBACK FindOwnedPrompt(HWND hWnd, LPARAM lParam)
{
    TPromptSearch* pSearch = reinterpret_cast<TPromptSearch*>(lParam);
    wchar_t className[16] = {};
    ::GetClassNameW(hWnd, className, 16);
    if (wcscmp(className, L"#32770") != 0 || ::GetWindow(hWnd, GW_OWNER) != pSearch->hOwner) return TRUE;
    pSearch->hFound = hWnd;
    return FALSE;
}

// Controls that Enter and Space press when they have the focus.
bool IsPressableClass(LPCWSTR pstrClass)
{
    return wcscmp(pstrClass, L"ButtonUI") == 0 || wcscmp(pstrClass, L"OptionUI") == 0;
}

// The focus frame: white, two pixels wide, two pixels outside the control.
const COLORREF kFocusMarkColor = RGB(0xFF, 0xFF, 0xFF);
const int kFocusMarkGap = 3;

// Installer dialog item of its Cancel button.
const int kInstallerCancelId = IDCANCEL;

} // namespace

CSetupWnd::CSetupWnd()
    : m_bAsking(false), m_bNextHeld(false), m_bFocusDefault(false), m_bClosing(false), m_rcFocusMark()
{ }

CWindowManagerUI& CSetupWnd::GetManager()
{
    return m_manager;
}

CControlUI* CSetupWnd::FindControl(LPCWSTR pstrName) const
{
    if (m_hWnd == nullptr) return nullptr;
    return m_manager.FindControl(pstrName);
}

LPCWSTR CSetupWnd::GetWindowClassName() const
{
    return L"Lumora";
}

UINT CSetupWnd::GetClassStyle() const
{
    return CS_DBLCLKS;
}

IDialogBuilderCallback* CSetupWnd::GetBuilderCallback()
{
    return nullptr;
}

bool CSetupWnd::HandleOwnMessage(UINT, WPARAM, LPARAM, LRESULT&)
{
    return false;
}

void CSetupWnd::OnCloseDuringWork() { }

LRESULT CSetupWnd::HandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    LRESULT lRes = 0;
    switch (uMsg) {
    case WM_CREATE: return OnCreate();
    case WM_PAINT:
        // The manager moves the focus to the first tab stop (the close button)
        // when it lays a page out in its paint; the page's main button wins.
        {
            bool bHandled = m_manager.HandleWindowMessage(uMsg, wParam, lParam, lRes);
            ApplyPendingFocus();
            MarkFocus();
            if (bHandled) return lRes;
        }
        break;
    case WM_SIZE:
        if (!::IsIconic(m_hWnd)) ApplyWindowRegion();
        break;
    case WM_GETMINMAXINFO: OnGetMinMaxInfo(reinterpret_cast<MINMAXINFO*>(lParam)); return 0;
    case WM_NCCALCSIZE:
    case WM_NCPAINT: return 0;
    case WM_NCHITTEST: return OnNcHitTest(lParam);
    case WM_NCACTIVATE:
        if (!::IsIconic(m_hWnd)) return wParam == FALSE ? TRUE : FALSE;
        break;
    case WM_SYSCOMMAND: return OnSysCommand(wParam, lParam);
    case WM_KEYDOWN:
        // While the installer works its own loop runs, which does not know
        // these keys: Esc must still ask.
        if (OnKeyDown(wParam)) return 0;
        break;
    case WM_CLOSE:
        // Our own close after the user's Yes goes on to destroy the window.
        if (m_bClosing) break;
        CloseAsTold();
        return 0;
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC:
        // The licence view answers for its own colours.
        return ::SendMessageW(reinterpret_cast<HWND>(lParam), uMsg, wParam, lParam);
    default:
        if (HandleOwnMessage(uMsg, wParam, lParam, lRes)) return lRes;
        break;
    }
    if (m_manager.HandleWindowMessage(uMsg, wParam, lParam, lRes)) return lRes;
    return CWindowWnd::HandleMessage(uMsg, wParam, lParam);
}

// A skin that cannot be read, or lacks a control the window uses, fails the
// creation instead of leaving a window that would touch missing controls.
LRESULT CSetupWnd::OnCreate()
{
    DropCaptionStyle();
    if (!BuildSkin()) return -1;
    if (!InitControls()) return -1;
    FocusDefaultButton();
    return 0;
}

void CSetupWnd::DropCaptionStyle()
{
    LONG_PTR style = ::GetWindowLongPtrW(m_hWnd, GWL_STYLE);
    ::SetWindowLongPtrW(m_hWnd, GWL_STYLE, (style & ~static_cast<LONG_PTR>(kRemovedStyle)) | kAddedStyle);
    RECT rcClient = {};
    ::GetClientRect(m_hWnd, &rcClient);
    ::SetWindowPos(m_hWnd, nullptr, rcClient.left, rcClient.top, rcClient.right - rcClient.left,
                   rcClient.bottom - rcClient.top, SWP_FRAMECHANGED);
}

bool CSetupWnd::BuildSkin()
{
    m_manager.Init(m_hWnd);
    std::wstring skinFile = std::wstring(PluginState().skinFolder) + kSkinFileName;
    CSkinBuilderUI builder;
    CControlUI* pRoot = builder.Build(skinFile.c_str(), GetSkinXml(), nullptr, GetBuilderCallback(), &m_manager);
    builder.Release();
    if (pRoot == nullptr) return false;
    m_manager.AttachRoot(pRoot);
    m_manager.AddNotifier(this);
    return true;
}

CControlUI* CSetupWnd::RequireControl(LPCWSTR pstrName, bool& bAllFound) const
{
    CControlUI* pControl = m_manager.FindControl(pstrName);
    if (pControl == nullptr) bAllFound = false;
    return pControl;
}

void CSetupWnd::ApplyWindowRegion()
{
    RECT rc = {};
    ::GetClientRect(m_hWnd, &rc);
    HRGN hRgn = ::CreateRectRgn(rc.left, rc.top + 2, rc.right, rc.bottom);
    HRGN hRound = ::CreateRoundRectRgn(rc.left, rc.top, rc.right + 1, rc.bottom - 2, 2, 2);
    if (hRgn != nullptr && hRound != nullptr) ::CombineRgn(hRgn, hRgn, hRound, RGN_OR);
    if (hRound != nullptr) ::DeleteObject(hRound);
    // The window owns the region once it is set.
    if (hRgn != nullptr && !::SetWindowRgn(m_hWnd, hRgn, TRUE)) ::DeleteObject(hRgn);
}

void CSetupWnd::OnGetMinMaxInfo(MINMAXINFO* pInfo) const
{
    MONITORINFO monitor = {};
    monitor.cbSize = sizeof(monitor);
    ::GetMonitorInfoW(::MonitorFromWindow(m_hWnd, MONITOR_DEFAULTTOPRIMARY), &monitor);
    const RECT& rcWork = monitor.rcWork;
    pInfo->ptMaxPosition.x = 0;
    pInfo->ptMaxPosition.y = 0;
    pInfo->ptMaxSize.x = rcWork.right - rcWork.left;
    pInfo->ptMaxSize.y = rcWork.bottom - rcWork.top;
    pInfo->ptMinTrackSize.x = kMinTrackWidth;
    pInfo->ptMinTrackSize.y = kMinTrackHeight;
}

LRESULT CSetupWnd::OnNcHitTest(LPARAM lParam) const
{
    POINT pt = { static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam)) };
    ::ScreenToClient(m_hWnd, &pt);
    RECT rc = {};
    ::GetClientRect(m_hWnd, &rc);
    if (!::IsZoomed(m_hWnd)) {
        LRESULT border = BorderHitTest(pt, rc);
        if (border != HTNOWHERE) return border;
    }
    if (!::PtInRect(&rc, pt)) return HTCLIENT;
    CControlUI* pControl = m_manager.FindControlAt(pt);
    if (pControl == nullptr || IsClickableClass(pControl->GetControlClass())) return HTCLIENT;
    return HTCAPTION;
}

LRESULT CSetupWnd::BorderHitTest(POINT pt, const RECT& rc) const
{
    if (pt.y > rc.bottom - kCornerZone && pt.x > rc.right - kCornerZone) return HTBOTTOMRIGHT;
    if (pt.y < rc.top + kEdgeNear) {
        if (pt.x < rc.left + kEdgeNear) return HTTOPLEFT;
        if (pt.x > rc.right - kEdgeFar) return HTTOPRIGHT;
        return HTTOP;
    }
    if (pt.y > rc.bottom - kEdgeFar) return pt.x < rc.left + kEdgeNear ? HTBOTTOMLEFT : HTBOTTOM;
    if (pt.x < rc.left + kEdgeNear) return HTLEFT;
    if (pt.x > rc.right - kEdgeFar) return HTRIGHT;
    return HTNOWHERE;
}

LRESULT CSetupWnd::OnSysCommand(WPARAM wParam, LPARAM lParam)
{
    if ((wParam & 0xFFF0) != SC_CLOSE) return CWindowWnd::HandleMessage(WM_SYSCOMMAND, wParam, lParam);
    ConfirmClose();
    return 0;
}

bool CSetupWnd::TranslateKey(const MSG& msg)
{
    if (msg.message != WM_KEYDOWN || m_hWnd == nullptr) return false;
    if (msg.hwnd != m_hWnd && !::IsChild(m_hWnd, msg.hwnd)) return false;
    return OnKeyDown(msg.wParam);
}

// Esc asks to close; Space presses the focused button or option; Enter presses
// the focused button, and the page's main button when the focus is elsewhere
// (a check box included), as in any dialog.
bool CSetupWnd::OnKeyDown(WPARAM wParam)
{
    if (wParam == VK_ESCAPE) {
        RequestClose();
        return true;
    }
    if (wParam != VK_RETURN && wParam != VK_SPACE) return false;
    CControlUI* pTarget = m_manager.GetFocus();
    // A focus left on a page that is gone counts as none.
    if (pTarget != nullptr && (!IsPressableClass(pTarget->GetControlClass()) || !pTarget->IsVisible()))
        pTarget = nullptr;
    if (pTarget != nullptr && wParam == VK_RETURN && wcscmp(pTarget->GetControlClass(), L"ButtonUI") != 0)
        pTarget = nullptr;
    if (pTarget == nullptr && wParam == VK_RETURN) pTarget = GetDefaultButton();
    if (pTarget == nullptr || !pTarget->IsVisible() || !pTarget->IsEnabled()) return false;
    pTarget->Activate();
    return true;
}

void CSetupWnd::ConfirmClose()
{
    TPluginState& state = PluginState();
    // The work is over: nothing is left to cancel.
    if (state.phase == SetupPhaseFinished) {
        Finish();
        return;
    }
    m_bAsking = true;
    int answer = ::MessageBoxW(m_hWnd, GetClosePrompt(), L"提示", MB_YESNO);
    m_bAsking = false;
    if (state.phase == SetupPhaseWorking || m_bNextHeld) {
        // Cancelling the installer now would stop it between two files and
        // leave neither the earlier installation nor the new one.
        if (answer == IDYES && !m_bNextHeld) {
            state.closeRequested = true;
            // The user wanted out: nothing new is started at the end.
            state.setupFlagAfterRun = 0;
            OnCloseDuringWork();
        }
        if (m_bNextHeld) {
            m_bNextHeld = false;
            CInstallerSubclass::PressNext();
        }
        return;
    }
    if (answer != IDYES) return;
    CancelInstaller();
}

// A close whose sender has already decided (WM_CLOSE, as a task manager sends
// it) ends the installer as a confirmed close does, without asking: before the
// work the installer is cancelled, during it the work ends first and the
// installer leaves then, after it the last page is left.
void CSetupWnd::CloseAsTold()
{
    TPluginState& state = PluginState();
    switch (state.phase) {
    case SetupPhaseFinished: Finish(); break;
    case SetupPhaseWorking:
        state.closeRequested = true;
        state.setupFlagAfterRun = 0;
        OnCloseDuringWork();
        break;
    default: CancelInstaller(); break;
    }
}

void CSetupWnd::CancelInstaller()
{
    m_bClosing = true;
    Close();
    StopPluginLoop();
    HWND hwndInstaller = PluginState().nsisParentWindow;
    if (hwndInstaller == nullptr) return;
    ::EnableWindow(::GetDlgItem(hwndInstaller, kInstallerCancelId), TRUE);
    ::SendMessageW(hwndInstaller, WM_COMMAND, kInstallerCancelId, 0);
}

void CSetupWnd::RequestClose()
{
    ::SendMessageW(m_hWnd, WM_SYSCOMMAND, SC_CLOSE, 0);
}

void CSetupWnd::FocusDefaultButton()
{
    m_bFocusDefault = true;
    if (m_hWnd != nullptr) ::InvalidateRect(m_hWnd, nullptr, FALSE);
}

void CSetupWnd::ApplyPendingFocus()
{
    if (!m_bFocusDefault) return;
    m_bFocusDefault = false;
    // A page whose main button is greyed keeps the manager's choice.
    CControlUI* pDefault = GetDefaultButton();
    if (pDefault != nullptr && pDefault->IsVisible() && pDefault->IsEnabled()) m_manager.SetFocus(pDefault);
}

// The control with the keyboard focus gets a frame just outside it, drawn over
// each paint; the frame of the control that had it before is painted away.
void CSetupWnd::MarkFocus()
{
    CControlUI* pFocus = m_manager.GetFocus();
    if (pFocus != nullptr && (!pFocus->IsVisible() || !IsPressableClass(pFocus->GetControlClass()))) pFocus = nullptr;
    RECT rcMark = {};
    if (pFocus != nullptr) {
        rcMark = pFocus->GetPos();
        ::InflateRect(&rcMark, kFocusMarkGap, kFocusMarkGap);
    }
    if (!::EqualRect(&rcMark, &m_rcFocusMark)) {
        if (!::IsRectEmpty(&m_rcFocusMark)) ::InvalidateRect(m_hWnd, &m_rcFocusMark, FALSE);
        m_rcFocusMark = rcMark;
    }
    if (::IsRectEmpty(&rcMark)) return;
    HDC hDC = ::GetDC(m_hWnd);
    HBRUSH hBrush = ::CreateSolidBrush(kFocusMarkColor);
    RECT rcInner = rcMark;
    ::FrameRect(hDC, &rcMark, hBrush);
    ::InflateRect(&rcInner, -1, -1);
    ::FrameRect(hDC, &rcInner, hBrush);
    ::DeleteObject(hBrush);
    ::ReleaseDC(m_hWnd, hDC);
}

void CSetupWnd::StopPluginLoop()
{
    PluginState().pluginRunFlag = 0;
}

void CSetupWnd::Finish()
{
    Show(false, false);
    StopPluginLoop();
}

bool CSetupWnd::HoldNextWhileAsking()
{
    if (!m_bAsking) return false;
    m_bNextHeld = true;
    CloseOpenPrompt();
    return true;
}

// The prompt is the message box this window owns on this thread.
void CSetupWnd::CloseOpenPrompt() const
{
    TPromptSearch search = { m_hWnd, nullptr };
    ::EnumThreadWindows(::GetCurrentThreadId(), &FindOwnedPrompt, reinterpret_cast<LPARAM>(&search));
    if (search.hFound != nullptr) ::PostMessageW(search.hFound, WM_COMMAND, IDNO, 0);
}
