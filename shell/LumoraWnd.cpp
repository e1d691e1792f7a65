#include "LumoraWnd.h"

#include <windowsx.h>

#include <algorithm>

#include "AppPaths.h"
#include "ButtonUI.h"
#include "ClientVersion.h"
#include "ColorScheme.h"
#include "ContainerConUI.h"
#include "ContainerUI.h"
#include "LabelUI.h"
#include "LumoraResource.h"
#include "OptionUI.h"
#include "PageCommands.h"
#include "PortalAddresses.h"
#include "ProgramGlobals.h"
#include "SettingDialog.h"
#include "SettingsStore.h"
#include "ShellMessages.h"
#include "SkinBuilderUI.h"
#include "TabLayoutUI.h"
#include "WindowRegion.h"
#include "cef_browser.h"
#include "cef_frame.h"

// The system reads these records by size: on 32-bit Windows they must have
// the sizes the system expects there.
static_assert(sizeof(void*) != 4 || sizeof(NOTIFYICONDATAW) == 956, "the tray record the shell reads");

namespace {

const wchar_t kMainWindowProperty[] = L"lumora";
const wchar_t kSkinFile[] = L"skin\\skin.sk";
const wchar_t kMainMarkup[] = L"main.xml";
const wchar_t kUpdaterFile[] = L"lumoraupd.exe";
const wchar_t kErrorPage[] = L"html/err.html";
const wchar_t kFeedbackAddress[] = L"https://www.lumora.tv/feedback";
const DWORD kBrowserStyle = 0x56010000; // child, visible, clip children and siblings, tab stop
const UINT kPowerOffCheckMs = 1000;
const DWORD kTrayDeleteWaitMs = 200; // a shell that answers at once is waited for
const int kMiniMinWidth = 314;
const int kMiniMinHeight = 217;
const int kMinWidth = 990;
const int kMinHeight = 660;
const int kGripCorner = 10; // the bottom-right square that sizes the window

bool HasClass(CControlUI* control, LPCWSTR className)
{
    return wcscmp(control->GetControlClass(), className) == 0;
}

RECT WorkAreaOf(HMONITOR monitor, RECT* monitorRect = nullptr)
{
    MONITORINFO info = {};
    info.cbSize = sizeof(info);
    if (!GetMonitorInfoW(monitor, &info)) {
        SystemParametersInfoW(SPI_GETWORKAREA, 0, &info.rcWork, 0);
        info.rcMonitor = info.rcWork;
    }
    if (monitorRect) *monitorRect = info.rcMonitor;
    return info.rcWork;
}

} // namespace

CLumoraWnd::CLumoraWnd() : m_notices(this)
{
    for (int i = 0; i < kViewCount; ++i) {
        m_handlers[i] = new CefClientHandler(this);
        m_handlerList.push_back(m_handlers[i]);
    }
}

CLumoraWnd::~CLumoraWnd()
{
    DeleteTrayIcon();
    if (m_trayIcon.hIcon) DestroyIcon(m_trayIcon.hIcon);
    if (m_trayMenu) DestroyMenu(m_trayMenu);
}

void CLumoraWnd::AddRef() const
{
    InterlockedIncrement(&m_refCount);
}
bool CLumoraWnd::Release() const
{
    InterlockedDecrement(&m_refCount);
    return false;
}
bool CLumoraWnd::HasOneRef() const
{
    return m_refCount == 1;
}

bool CLumoraWnd::OnProcessMessageReceived(CefRefPtr<CefClientHandler> handler, CefRefPtr<CefBrowser> browser,
                                          CefProcessId source_process, CefRefPtr<CefProcessMessage> message)
{
    // Pages of other sites (a link followed, a redirect) never drive the window.
    if (!IsPortalPage(browser) || !message) return true;
    // Run behind the window's own messages, so a burst cannot hold them back.
    if (m_pageCommands.Add(message) && m_hWnd) PostMessageW(m_hWnd, kRunPageCommandsMessage, 0, 0);
    return true; // the message counts as handled even when no command matched
}

bool CLumoraWnd::IsPortalPage(CefRefPtr<CefBrowser> browser) const
{
    CefRefPtr<CefFrame> frame = browser ? browser->GetMainFrame() : nullptr;
    return frame && PortalAddresses::IsOneOf(frame->GetURL().ToWString(), m_portalOrigins);
}

void CLumoraWnd::RunPageCommands()
{
    for (const CefRefPtr<CefProcessMessage>& message : m_pageCommands.TakeAll()) DispatchPageCommand(*this, message);
}

// ---------------------------------------------------------------------------
// Messages

LRESULT CLumoraWnd::HandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    LRESULT result = 0;
    if (HandleOwnMessage(uMsg, wParam, lParam, result)) return result;
    if (HandlePrivateMessage(uMsg, wParam, lParam, result)) return result;
    if (HandleMenuMessage(uMsg, wParam, lParam, result)) return result;
    if (m_manager.HandleWindowMessage(uMsg, wParam, lParam, result)) {
        if (uMsg == WM_PAINT) OnPainted();
        return result;
    }
    return CWindowWnd::HandleMessage(uMsg, wParam, lParam);
}

bool CLumoraWnd::HandleOwnMessage(UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    switch (uMsg) {
    case WM_CREATE: result = OnCreate(); return true;
    case WM_DESTROY: OnDestroy(); return false;
    case WM_SIZE: OnSize(wParam); return false;
    case WM_CLOSE: OnClose(lParam); return true;
    case WM_GETMINMAXINFO: OnGetMinMaxInfo(reinterpret_cast<MINMAXINFO*>(lParam)); return true;
    case WM_NCHITTEST: result = OnNcHitTest(lParam); return true;
    case WM_NCACTIVATE:
        if (IsIconic(m_hWnd)) return false;
        result = wParam == 0;
        return true;
    case WM_NCCALCSIZE:
    case WM_NCPAINT: return true;
    case WM_COMMAND: return OnCommand(wParam, result);
    case WM_SYSCOMMAND: result = OnSysCommand(wParam, lParam); return true;
    case WM_INITMENUPOPUP:
        SetCursor(LoadCursorW(nullptr, IDC_ARROW));
        return HandleMenuMessage(uMsg, wParam, lParam, result);
    case WM_MOUSEMOVE:
        if (m_dragging) OnDragMouseMove(wParam, lParam);
        return false;
    case WM_LBUTTONUP:
        if (m_dragging) EndDrag();
        return false;
    case WM_CAPTURECHANGED:
        // Another window took the mouse: the drag cannot see the button go up.
        if (m_dragging && reinterpret_cast<HWND>(lParam) != m_hWnd) m_dragging = false;
        return false;
    case WM_HOTKEY: OnBossKey(); return true;
    case WM_SHOWWINDOW:
        // Shown while the boss key keeps everything hidden (a second start of
        // the program asks for it): everything comes back, so the next Alt+Q
        // hides again instead of finding the program already hidden.
        if (wParam && m_bossHiding.IsHiding()) EndBossHiding();
        return false;
    }
    return false;
}

bool CLumoraWnd::HandlePrivateMessage(UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    if (!m_initialized) return false;
    switch (uMsg) {
    case kTrayMessage: OnTrayIcon(lParam); return true;
    case kRecreateViewsMessage:
        // Any process can send this: only a view whose browser is gone gets a new one,
        // and none is gone before the start has made them.
        if (!m_startFinished) return true;
        for (int view : { HomeView, PlayingView }) {
            if (m_views[view] && !m_handlers[view]->GetBrowser()) CreateViewBrowser(view);
        }
        return true;
    case kArmPowerOffMessage: ArmPowerOffCheck(); return true;
    case kFinishStartMessage: FinishStart(); return true;
    case kRunPageCommandsMessage: RunPageCommands(); return true;
    case kLoadHomeAddressMessage: {
        // The address comes only from OpenNoticeAddress in this process: lParam
        // may be a pointer into another process and is never read.
        std::wstring address;
        address.swap(m_pendingHomeAddress);
        CefRefPtr<CefBrowser> browser = m_handlers[HomeView]->GetBrowser();
        if (address.empty() || !browser) return true;
        browser->GetMainFrame()->LoadURL(address);
        m_controls.home->Select(true); // the user sees the page the notice named
        return true;
    }
    case kApplyTopMostMessage:
        if (m_controls.opContainer && m_controls.opContainer->GetCount() > 0) {
            COptionUI* first = static_cast<COptionUI*>(m_controls.opContainer->GetItemAt(0)->GetInterface(L"Option"));
            if (first && first->IsSelected()) {
                m_pageKeepsOnTop = GlobalSettings && GlobalSettings->topwentv;
                ApplyTopMost(0);
            }
        }
        return true;
    case kColorSchemeMessage: ApplyColorScheme(wParam); return true;
    case WM_LUMORA_PAGE_READY: result = AttachView(lParam); return true;
    case kSelectPageMessage:
        if (lParam >= 1 && lParam <= INT_MAX) SelectPageOption(static_cast<int>(lParam - 1));
        result = 0;
        return true;
    case kReservedMessage:
    case WM_LUMORA_BROWSER_CREATED: result = 1; return true;
    case WM_LUMORA_LOAD_ERROR: result = ShowErrorPage(lParam); return true;
    }
    return false;
}

LRESULT CLumoraWnd::OnCreate()
{
    LONG_PTR style = GetWindowLongPtrW(m_hWnd, GWL_STYLE);
    SetWindowLongPtrW(m_hWnd, GWL_STYLE,
                      (style & ~static_cast<LONG_PTR>(WS_CAPTION)) | WS_CLIPSIBLINGS | WS_CLIPCHILDREN);
    // Without a caption the whole window is client area (WM_NCCALCSIZE), so
    // the window keeps its size.
    SetWindowPos(m_hWnd, nullptr, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    m_manager.Init(m_hWnd);
    CSkinBuilderUI builder;
    CControlUI* root = builder.Build(ProgramFile(kSkinFile).c_str(), kMainMarkup, nullptr, nullptr, &m_manager);
    if (!root) return -1;
    ApplicationWindowList.Add(&m_manager);
    m_inApplicationWindowList = true;
    if (!m_manager.AttachRoot(root)) {
        delete root;
        return -1;
    }
    m_manager.AddNotifier(this);
    // A skin without the controls this window works with cannot be shown.
    return InitWindow() ? 0 : -1;
}

void CLumoraWnd::OnDestroy()
{
    if (m_hotKeyRegistered) UnregisterHotKey(m_hWnd, kBossHotKeyId);
    m_hotKeyRegistered = false;
    DeleteTrayIcon();
    RemovePropW(m_hWnd, kMainWindowProperty);
    if (m_inApplicationWindowList) ApplicationWindowList.Remove(ApplicationWindowList.Find(&m_manager));
    m_inApplicationWindowList = false;
}

void CLumoraWnd::OnSize(WPARAM wParam)
{
    if (wParam == SIZE_MINIMIZED || IsIconic(m_hWnd)) return;
    CWindowRegion::ApplyMainShape(m_hWnd);
    if (m_initialized) UpdateGripCorner();
}

void CLumoraWnd::OnClose(LPARAM lParam)
{
    bool quit = lParam == 1 || (GlobalSettings && GlobalSettings->quit);
    if (!quit) {
        ShowWindow(m_hWnd, SW_HIDE); // closed to the notification area
        return;
    }
    RemovePropW(m_hWnd, kMainWindowProperty);
    DeleteTrayIconOnQuit();
    PostQuitMessage(0);
}

// Maximised and full-screen sizes come from the monitor the window is on; the
// maximised position is relative to that monitor, as the system expects.
void CLumoraWnd::OnGetMinMaxInfo(MINMAXINFO* info) const
{
    RECT monitor;
    RECT work = WorkAreaOf(MonitorFromWindow(m_hWnd, MONITOR_DEFAULTTOPRIMARY), &monitor);
    LONG workWidth = work.right - work.left;
    LONG workHeight = work.bottom - work.top;
    info->ptMaxPosition.x = work.left - monitor.left;
    info->ptMaxPosition.y = work.top - monitor.top;
    info->ptMaxSize.x = m_fullScreen ? workWidth + 2 : workWidth;
    info->ptMaxSize.y = m_fullScreen ? workHeight + 2 : workHeight;
    info->ptMinTrackSize.x = m_mini ? kMiniMinWidth : kMinWidth;
    info->ptMinTrackSize.y = m_mini ? kMiniMinHeight : kMinHeight;
}

LRESULT CLumoraWnd::OnNcHitTest(LPARAM lParam) const
{
    POINT pt = { GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam) };
    ScreenToClient(m_hWnd, &pt);
    RECT rc;
    GetClientRect(m_hWnd, &rc);
    if (!IsZoomed(m_hWnd)) {
        if (pt.y > rc.bottom - kGripCorner && pt.x > rc.right - kGripCorner) return HTBOTTOMRIGHT;
        if (pt.y < rc.top + 2) {
            if (pt.x < rc.left + 2) return HTTOPLEFT;
            if (pt.x > rc.right - 3) return HTTOPRIGHT;
            return HTTOP;
        }
        if (pt.y > rc.bottom - 3) return pt.x < rc.left + 2 ? HTBOTTOMLEFT : HTBOTTOM;
        if (pt.x < rc.left + 2) return HTLEFT;
        if (pt.x > rc.right - 3) return HTRIGHT;
    }
    if (!PtInRect(&rc, pt)) return HTCLIENT;
    CControlUI* control = m_manager.FindControlAt(pt);
    if (!control || HasClass(control, L"ButtonUI") || HasClass(control, L"OptionUI") || HasClass(control, L"TextUI"))
        return HTCLIENT;
    return HTCAPTION; // the skinned background moves the window
}

bool CLumoraWnd::OnCommand(WPARAM wParam, LRESULT& result)
{
    result = 1;
    switch (LOWORD(wParam)) {
    case ID_MENU_EXIT: SendMessageW(m_hWnd, WM_CLOSE, 0, 1); return true;
    case ID_MENU_SETTINGS:
    case ID_MENU_ABOUT: CSettingDialog::Open(m_hWnd, LOWORD(wParam) == ID_MENU_ABOUT); return true;
    case ID_MENU_CHECK_UPDATE: result = RunUpdater(); return true;
    case ID_MENU_FEEDBACK:
        ShellExecuteW(nullptr, L"open", kFeedbackAddress, nullptr, nullptr, SW_SHOWNORMAL);
        return true;
    }
    return false;
}

LRESULT CLumoraWnd::OnSysCommand(WPARAM wParam, LPARAM lParam)
{
    if ((wParam & 0xFFF0) == SC_CLOSE) {
        if (lParam == kQuitRequest && GlobalSettings) GlobalSettings->quit = true; // this run only
        PostMessageW(m_hWnd, WM_CLOSE, 0, 0);
        return 0;
    }
    bool wasZoomed = IsZoomed(m_hWnd) != FALSE;
    LRESULT result = CWindowWnd::HandleMessage(WM_SYSCOMMAND, wParam, lParam);
    if (m_initialized && (IsZoomed(m_hWnd) != FALSE) != wasZoomed) {
        m_controls.max->SetVisible(wasZoomed);
        m_controls.restore->SetVisible(!wasZoomed);
    }
    return result;
}

// The window follows the pointer while the left button stays down; a move
// without it (the button went up where this window could not see it) ends
// the drag.
void CLumoraWnd::OnDragMouseMove(WPARAM wParam, LPARAM lParam)
{
    if (!(wParam & MK_LBUTTON)) {
        EndDrag();
        return;
    }
    if (m_dragFirstMove) {
        m_dragOffsetX = GET_X_LPARAM(lParam);
        m_dragOffsetY = GET_Y_LPARAM(lParam);
        m_dragFirstMove = false;
    }
    POINT cursor;
    GetCursorPos(&cursor);
    ::MoveWindow(m_hWnd, cursor.x - m_dragOffsetX, cursor.y - m_dragOffsetY, m_dragRect.right - m_dragRect.left,
                 m_dragRect.bottom - m_dragRect.top, TRUE);
}

void CLumoraWnd::EndDrag()
{
    m_dragging = false;
    if (GetCapture() == m_hWnd) ReleaseCapture();
}

// Alt+Q hides every window of the program and the tray icon; pressed again it
// brings back exactly the windows that were shown, in the state they had.
void CLumoraWnd::OnBossKey()
{
    if (m_bossHiding.IsHiding())
        EndBossHiding();
    else
        StartBossHiding();
}

void CLumoraWnd::StartBossHiding()
{
    m_bossHiding.Hide();
    DeleteTrayIcon();
}

void CLumoraWnd::EndBossHiding()
{
    m_bossHiding.Reveal();
    AddTrayIcon();
}

void CLumoraWnd::OnTrayIcon(LPARAM lParam)
{
    switch (LOWORD(lParam)) {
    case WM_RBUTTONDOWN: {
        POINT cursor;
        GetCursorPos(&cursor);
        ShowMainMenu(cursor, true);
        break;
    }
    case WM_LBUTTONDOWN:
        if (IsIconic(m_hWnd)) {
            SendMessageW(m_hWnd, WM_SYSCOMMAND, SC_RESTORE, 0);
            SwitchToThisWindow(m_hWnd, FALSE);
        } else {
            ShowWindow(m_hWnd, SW_SHOW);
        }
        break;
    }
}

// ---------------------------------------------------------------------------
// Initialisation

bool CLumoraWnd::InitWindow()
{
    m_dragging = false;
    m_tvViewPending = true;
    if (!FindControls()) return false;
    m_frameInset = m_controls.main->GetInset();
    m_frameBorder = m_controls.tabView->GetBorderSize();
    SetPropW(m_hWnd, kMainWindowProperty, reinterpret_cast<HANDLE>(1));
    m_controls.version->SetText(VersionLabelText().c_str());
    m_portalOrigins = PortalAddresses::Origins(ProgramFile(L"lumora.exe"));
    CreateViews();
    UpdateGripCorner();
    ApplyColorScheme(GlobalSettings ? static_cast<WPARAM>(GlobalSettings->skincolor) : 1);
    m_hotKeyRegistered = RegisterHotKey(m_hWnd, kBossHotKeyId, MOD_ALT, 'Q') != FALSE;
    SaveWindowState();
    // A daily power-off switched on in an earlier run is still on.
    if (GlobalSettings && PowerOffSchedule::Armed(*GlobalSettings)) ArmPowerOffCheck();
    m_initialized = true;
    return true;
}

// The window is painted: what its first picture does not need comes now, after it.
// A posted message, so the paint's own update finishes first.
void CLumoraWnd::OnPainted()
{
    if (!m_initialized || m_finishStartPosted) return;
    m_finishStartPosted = PostMessageW(m_hWnd, kFinishStartMessage, 0, 0) != FALSE;
    if (!m_finishStartPosted) FinishStart();
}

// None of this is seen in the first picture, and most of it takes longer than the
// whole first paint: the menus' fonts and images, the tray icon, the updater's start,
// the views' loading animation (GDI+ and the image) and the views' browsers, whose
// windows cover the views once their pages are ready.
void CLumoraWnd::FinishStart()
{
    m_finishStartPosted = true;
    if (m_startFinished) return;
    m_startFinished = true;
    InitMenuLook(GetModuleHandleW(nullptr));
    if (!m_bossHiding.IsHiding()) AddTrayIcon();
    StartUpdater(L"S A");
    for (CContainerConUI* view : m_views) {
        if (view) view->LoadAnimation();
    }
    // The TV view gets its browser when its page is first selected.
    if (m_views[HomeView]) CreateViewBrowser(HomeView);
    if (m_views[PlayingView]) CreateViewBrowser(PlayingView);
}

template <class T> T* CLumoraWnd::FindNamed(LPCWSTR name, LPCWSTR interfaceName)
{
    CControlUI* control = m_manager.FindControl(name);
    return control ? static_cast<T*>(control->GetInterface(interfaceName)) : nullptr;
}

bool CLumoraWnd::FindControls()
{
    Controls& c = m_controls;
    c.main = FindNamed<CContainerUI>(L"main", L"Container");
    c.caption = FindNamed<CContainerUI>(L"caption", L"Container");
    c.status = FindNamed<CContainerUI>(L"status", L"Container");
    c.top = FindNamed<CButtonUI>(L"top", L"Button");
    c.restoreTop = FindNamed<CButtonUI>(L"restoretop", L"Button");
    c.setting = FindNamed<CButtonUI>(L"setting", L"Button");
    c.min = FindNamed<CButtonUI>(L"min", L"Button");
    c.max = FindNamed<CButtonUI>(L"max", L"Button");
    c.restore = FindNamed<CButtonUI>(L"restore", L"Button");
    c.close = FindNamed<CButtonUI>(L"close", L"Button");
    c.update = FindNamed<CButtonUI>(L"btnupdate", L"Button");
    c.tabView = FindNamed<CTabLayoutUI>(L"tabView", L"TabLayout");
    c.version = FindNamed<CLabelUI>(L"version", L"Label");
    c.opContainer = FindNamed<CContainerUI>(L"opContainer", L"Container");
    c.home = FindNamed<COptionUI>(L"home", L"Option");
    c.tv = FindNamed<COptionUI>(L"tv", L"Option");
    c.playing = FindNamed<COptionUI>(L"playing", L"Option");
    return c.main && c.caption && c.status && c.top && c.restoreTop && c.setting && c.min && c.max && c.restore &&
        c.close && c.update && c.tabView && c.version && c.opContainer && c.home && c.tv && c.playing;
}

void CLumoraWnd::AddTrayIcon()
{
    if (m_trayIconAdded) return;
    m_trayIcon.cbSize = sizeof(m_trayIcon);
    m_trayIcon.hWnd = m_hWnd;
    m_trayIcon.uID = IDI_LUMORA;
    m_trayIcon.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    m_trayIcon.uCallbackMessage = kTrayMessage;
    if (!m_trayIcon.hIcon) {
        m_trayIcon.hIcon =
            static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_LUMORA), IMAGE_ICON,
                                          GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), 0));
    }
    lstrcpynW(m_trayIcon.szTip, TrayTipText().c_str(), ARRAYSIZE(m_trayIcon.szTip));
    m_trayIconAdded = Shell_NotifyIconW(NIM_ADD, &m_trayIcon) != FALSE;
}

// The shell takes the icon away while the program ends: under Wine without a
// window manager, hiding its stand-alone notification area takes the shell
// two seconds, which the quit need not wait for. The shell still removes the
// icon when the program is gone by then.
void CLumoraWnd::DeleteTrayIconOnQuit()
{
    if (!m_trayIconAdded) return;
    m_trayIconAdded = false;
    auto* icon = new NOTIFYICONDATAW(m_trayIcon);
    HANDLE thread = CreateThread(nullptr, 0, &CLumoraWnd::DeleteTrayIconThread, icon, 0, nullptr);
    if (!thread) {
        DeleteTrayIconThread(icon);
        return;
    }
    WaitForSingleObject(thread, kTrayDeleteWaitMs);
    CloseHandle(thread);
}

DWORD WINAPI CLumoraWnd::DeleteTrayIconThread(LPVOID parameter)
{
    auto* icon = static_cast<NOTIFYICONDATAW*>(parameter);
    Shell_NotifyIconW(NIM_DELETE, icon);
    delete icon;
    return 0;
}

void CLumoraWnd::DeleteTrayIcon()
{
    if (!m_trayIconAdded) return;
    Shell_NotifyIconW(NIM_DELETE, &m_trayIcon);
    m_trayIconAdded = false;
}

void CLumoraWnd::StartUpdater(LPCWSTR arguments) const
{
    std::wstring updater = ProgramFile(kUpdaterFile);
    ShellExecuteW(nullptr, L"open", updater.c_str(), arguments, nullptr, SW_SHOWNORMAL);
}

int CLumoraWnd::RunUpdater()
{
    StartUpdater(L"S");
    return 1;
}

void CLumoraWnd::CreateViews()
{
    for (int i = 0; i < kViewCount; ++i) {
        CContainerConUI* view = new CContainerConUI();
        if (!m_controls.tabView->Add(view)) {
            delete view;
            break;
        }
        m_views[i] = view;
    }
}

void CLumoraWnd::CreateViewBrowser(int view)
{
    CefWindowInfo info;
    info.style = kBrowserStyle;
    info.parent_window = m_hWnd;
    info.x = info.y = info.width = info.height = 0;
    CefBrowserSettings settings;
    settings.web_security = STATE_DISABLED;
    std::wstring address = PortalAddresses::StartAddress(view, ProgramFile(L"lumora.exe"));
    CefBrowserHost::CreateBrowser(info, m_handlers[view].get(), address, settings);
}

void CLumoraWnd::ApplyColorScheme(WPARAM index)
{
    const CColorScheme* scheme = CColorScheme::At(index);
    if (!scheme) return; // no such scheme: the colours stay
    m_controls.main->SetBkColor(scheme->dwWindow);
    m_controls.caption->SetBkColor(scheme->dwCaption);
    m_controls.tabView->SetBorderColor(scheme->dwWindow);
    m_controls.status->SetBkColor(scheme->dwCaption);
}

// The user's pin (the "top" button or the page's setWindowFront). Turning it
// off ends stay-on-top whatever set it, so the window does what the button
// offered.
void CLumoraWnd::SetStayOnTop(bool on, UINT extraFlags)
{
    m_pinned = on;
    if (!on) m_pageKeepsOnTop = false;
    ApplyTopMost(extraFlags);
}

// One place decides the window's stay-on-top state, and the pin buttons
// always show it: "restoretop" while the window is on top, "top" otherwise.
// Full screen puts the window on top by itself, with the buttons hidden.
void CLumoraWnd::ApplyTopMost(UINT extraFlags)
{
    SetWindowPos(m_hWnd, KeepsOnTop() ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | extraFlags);
    ShowPinButtons();
}

bool CLumoraWnd::KeepsOnTop() const
{
    return m_pinned || m_pageKeepsOnTop;
}

void CLumoraWnd::ShowPinButtons()
{
    m_controls.top->SetVisible(!KeepsOnTop());
    m_controls.restoreTop->SetVisible(KeepsOnTop());
}

void CLumoraWnd::SaveWindowState()
{
    m_savedStyle = GetWindowLongPtrW(m_hWnd, GWL_STYLE);
    m_savedExStyle = GetWindowLongPtrW(m_hWnd, GWL_EXSTYLE);
    GetWindowRect(m_hWnd, &m_savedRect);
}

// ---------------------------------------------------------------------------
// Notifications

void CLumoraWnd::Notify(TNotifyRecUI& msg)
{
    if (!m_initialized || !msg.sender) return;
    switch (msg.type) {
    case NotifySelectChanged: OnPageSelected(msg.sender); break;
    case NotifyClick: OnButtonClick(msg.sender); break;
    case NotifyTimer:
        if (msg.sender == m_controls.setting && msg.wParam == kPowerOffTimer) CheckPowerOff();
        break;
    default: break;
    }
}

void CLumoraWnd::OnPageSelected(CControlUI* option)
{
    if (option == m_controls.home) {
        m_playingSelected = false;
        SelectPage(HomeView);
    } else if (option == m_controls.tv) {
        m_playingSelected = false;
        if (m_tvViewPending) {
            m_tvViewPending = false;
            if (m_views[TvView]) CreateViewBrowser(TvView);
        }
        SelectPage(TvView);
    } else if (option == m_controls.playing) {
        m_playingSelected = true;
        SelectPage(PlayingView);
    } else {
        return;
    }
    UpdateBars();
    CStringUI userData = option->GetUserData();
    if (userData.IsEmpty()) return;
    // The page's own stay-on-top rule adds to the user's pin, never ends it.
    m_pageKeepsOnTop = _wtoi(userData.GetData()) == 1 && GlobalSettings && GlobalSettings->topwentv;
    ApplyTopMost(0);
}

void CLumoraWnd::SelectPage(int view)
{
    m_controls.tabView->SelectItem(view);
}

bool CLumoraWnd::SelectPageOption(int index)
{
    if (index < 0 || index >= m_controls.opContainer->GetCount()) return false;
    COptionUI* option = static_cast<COptionUI*>(m_controls.opContainer->GetItemAt(index)->GetInterface(L"Option"));
    if (!option) return false;
    option->Select(true);
    return true;
}

void CLumoraWnd::UpdateBars()
{
    ShowFrame(!m_fullScreen);
    bool captionShown;
    bool statusShown;
    if (m_fullScreen) {
        captionShown = statusShown = false;
    } else if (!m_mini) {
        captionShown = true;
        statusShown = !m_playingSelected;
    } else if (m_playingSelected) {
        captionShown = statusShown = false;
    } else {
        return; // mini mode on another page leaves the bars as they are
    }
    m_controls.caption->SetVisible(captionShown);
    m_controls.status->SetVisible(statusShown);
}

// The skin's frame round the views (the root's inset and the view border);
// in full screen it would show as dark lines at the monitor's edges.
void CLumoraWnd::ShowFrame(bool shown)
{
    RECT none = {};
    m_controls.main->SetInset(shown ? m_frameInset : none);
    m_controls.tabView->SetBorderSize(shown ? m_frameBorder : 0);
    for (CContainerConUI* view : m_views) {
        if (view) view->SetSideMargin(shown ? m_frameBorder : 0);
    }
    UpdateGripCorner();
}

// Where a page reaches the bottom-right corner (the playing page has no
// status bar) its browser leaves the corner to this window's sizing grip.
void CLumoraWnd::UpdateGripCorner()
{
    int grip = m_fullScreen || IsZoomed(m_hWnd) ? 0 : kGripCorner;
    for (CContainerConUI* view : m_views) {
        if (view) view->SetGripCorner(grip);
    }
}

void CLumoraWnd::OnButtonClick(CControlUI* button)
{
    const Controls& c = m_controls;
    if (button == c.setting) {
        POINT point = m_manager.GetMousePos();
        ClientToScreen(m_hWnd, &point);
        ShowMainMenu(point, false);
    } else if (button == c.top) {
        SetStayOnTop(true, 0);
    } else if (button == c.restoreTop) {
        SetStayOnTop(false, SWP_SHOWWINDOW);
    } else if (button == c.min) {
        SendMessageW(m_hWnd, WM_SYSCOMMAND, SC_MINIMIZE, 0);
    } else if (button == c.max) {
        SendMessageW(m_hWnd, WM_SYSCOMMAND, SC_MAXIMIZE, 0);
    } else if (button == c.restore) {
        SendMessageW(m_hWnd, WM_SYSCOMMAND, SC_RESTORE, 0);
    } else if (button == c.close) {
        SendMessageW(m_hWnd, WM_SYSCOMMAND, SC_CLOSE, 0);
    } else if (button == c.update) {
        RunUpdater();
    }
}

// The menu and its handle live only while it is tracked: whatever
// TrackPopupMenu answers, both are gone afterwards, so the next click opens
// the menu again.
void CLumoraWnd::ShowMainMenu(POINT screenPoint, bool fromTray)
{
    if (m_trayMenu) return;
    m_trayMenu = LoadMenuW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_MAIN_MENU));
    if (!m_trayMenu) return;
    if (HMENU popup = GetSubMenu(m_trayMenu, 0)) {
        if (fromTray) SetForegroundWindow(m_hWnd);
        TrackPopupMenu(popup, TPM_LEFTBUTTON, MenuX(screenPoint), screenPoint.y, 0, m_hWnd, nullptr);
        // A menu opened from the notification area only closes on a click
        // elsewhere when its window gets a message after the tracking ends.
        if (fromTray) PostMessageW(m_hWnd, WM_NULL, 0, 0);
    }
    DestroyMenu(m_trayMenu);
    m_trayMenu = nullptr;
}

int CLumoraWnd::MenuX(POINT screenPoint)
{
    if (MonitorFromPoint(screenPoint, MONITOR_DEFAULTTONULL)) return screenPoint.x;
    RECT work = WorkAreaOf(MonitorFromPoint(screenPoint, MONITOR_DEFAULTTONEAREST));
    return std::min(std::max(screenPoint.x, work.left), work.right);
}

// The check keeps running after the countdown opens: a daily power-off is
// due again the next day. Turned off in the settings, it stops here.
void CLumoraWnd::CheckPowerOff()
{
    if (!m_powerOff.Check(GlobalSettings)) m_manager.KillTimer(m_controls.setting, kPowerOffTimer);
}

void CLumoraWnd::ArmPowerOffCheck()
{
    m_manager.SetTimer(m_controls.setting, kPowerOffTimer, kPowerOffCheckMs);
}

// ---------------------------------------------------------------------------
// Views

int CLumoraWnd::ViewOfBrowser(LPARAM browserId) const
{
    if (browserId == 0) return -1;
    for (int i = 0; i < kViewCount; ++i) {
        if (m_handlers[i]->GetBrowserId() == browserId) return i;
    }
    return -1;
}

HWND CLumoraWnd::BrowserWindowOf(int view) const
{
    CefRefPtr<CefBrowser> browser = m_handlers[view]->GetBrowser();
    CefRefPtr<CefBrowserHost> host = browser ? browser->GetHost() : nullptr;
    HWND window = host ? host->GetWindowHandle() : nullptr;
    return IsWindow(window) ? window : nullptr;
}

LRESULT CLumoraWnd::AttachView(LPARAM browserId)
{
    int view = ViewOfBrowser(browserId);
    if (view < 0 || !m_views[view] || m_views[view]->IsAttached()) return 1;
    if (HWND window = BrowserWindowOf(view)) m_views[view]->AttachWindow(window);
    return 1;
}

// A page that could not be loaded before its view was shown is replaced by
// the program's own error page.
LRESULT CLumoraWnd::ShowErrorPage(LPARAM browserId)
{
    int view = ViewOfBrowser(browserId);
    if (view < 0 || !m_views[view] || m_views[view]->IsAttached()) return 0;
    HWND window = BrowserWindowOf(view);
    if (!window) return 0;
    m_views[view]->AttachWindow(window);
    std::wstring folder = ProgramFile(L"");
    std::replace(folder.begin(), folder.end(), L'\\', L'/');
    m_handlers[view]->GetBrowser()->GetMainFrame()->LoadURL(L"file:///" + folder + kErrorPage);
    return 0;
}

void CLumoraWnd::OpenNoticeAddress(const std::wstring& address)
{
    m_pendingHomeAddress = address;
    SendMessageW(m_hWnd, kLoadHomeAddressMessage, 0, 0);
}

std::wstring CLumoraWnd::ProgramFile(const wchar_t* name) const
{
    if (ModulePath) return SiblingPath(ModulePath, name);
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    return SiblingPath(path, name);
}
