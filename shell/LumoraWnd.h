#pragma once
#include <windows.h>
#include <shellapi.h>

#include <string>
#include <vector>

#include "CefClientHandler.h"
#include "ColorScheme.h"
#include "CoolContextMenu.h"
#include "HelpWnd.h"
#include "NoticeStack.h"
#include "PageCommandQueue.h"
#include "BossKeyHiding.h"
#include "PowerOffWatch.h"
#include "WindowManagerUI.h"
#include "WindowWnd.h"

class CButtonUI;
class CContainerConUI;
class CContainerUI;
class CControlUI;
class CLabelUI;
class COptionUI;
class CTabLayoutUI;

// The main window: a caption-less skinned window built from "main.xml" with
// the three browser views (home, TV, now playing) as pages of "tabView", the
// caption buttons, the update button and the version label. It owns the
// notification-area icon and its menu, the boss key (Alt+Q), close to the
// notification area, the quit request of other programs (SC_CLOSE with
// lParam 0x800), the timed power-off check, and the full-screen, mini and
// window-drag states the page commands drive. Its views' client handlers
// report page events to it by the messages of ShellMessages.h.
class CLumoraWnd : public CWindowWnd,
                   public INotifyUI,
                   public CefClientHandler::ProcessMessageDelegate,
                   public INoticeAddressTarget,
                   public CCoolContextMenu
{
public:
    static const int kViewCount = 3;
    enum View { HomeView = 0, TvView = 1, PlayingView = 2 };

    // Private messages of the window's message interface.
    static const UINT kTrayMessage = WM_USER + 1;
    static const UINT kRecreateViewsMessage = WM_USER + 2;
    static const UINT kArmPowerOffMessage = WM_USER + 3;
    static const UINT kLoadHomeAddressMessage = WM_USER + 4;
    static const UINT kApplyTopMostMessage = WM_USER + 5;
    static const UINT kFinishStartMessage = WM_USER + 7;
    static const UINT kRunPageCommandsMessage = WM_USER + 8;
    static const UINT kColorSchemeMessage = CColorScheme::kMessage;
    static const UINT kSelectPageMessage = WM_APP + 3; // lParam = page number from 1
    static const UINT kReservedMessage = WM_APP + 4;
    // lParam of SC_CLOSE from the updater and the installer: quit, do not hide.
    static const LPARAM kQuitRequest = 0x800;
    static const int kBossHotKeyId = 1;
    static const int kPowerOffTimer = 1;

    CLumoraWnd();
    ~CLumoraWnd() override;
    CLumoraWnd(const CLumoraWnd&) = delete;
    CLumoraWnd& operator=(const CLumoraWnd&) = delete;

    // The entry function owns the window object; the reference count that the
    // client handlers hold never deletes it.
    void AddRef() const override;
    bool Release() const override;
    bool HasOneRef() const override;

    // CefClientHandler::ProcessMessageDelegate: the page commands.
    bool OnProcessMessageReceived(CefRefPtr<CefClientHandler> handler, CefRefPtr<CefBrowser> browser,
                                  CefProcessId source_process, CefRefPtr<CefProcessMessage> message) override;
    // INotifyUI
    void Notify(TNotifyRecUI& msg) override;

    // INoticeAddressTarget: the notice popup's link loads into the home view.
    void OpenNoticeAddress(const std::wstring& address) override;
    // Starts "lumoraupd.exe" with "S"; returns 1.
    int RunUpdater();
    // Shows or hides "caption" and "status" for the page, full-screen and mini states.
    void UpdateBars();
    // Selects the page option at this position of "opContainer"; false when there is none.
    bool SelectPageOption(int index);

protected:
    LPCWSTR GetWindowClassName() const override { return L"Lumora"; }
    UINT GetClassStyle() const override { return CS_DBLCLKS; }
    LRESULT HandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam) override;

private:
    friend class PageCommands;

    struct Controls
    {
        CContainerUI* main = nullptr;
        CContainerUI* caption = nullptr;
        CContainerUI* status = nullptr;
        CButtonUI* top = nullptr;
        CButtonUI* restoreTop = nullptr;
        CButtonUI* setting = nullptr;
        CButtonUI* min = nullptr;
        CButtonUI* max = nullptr;
        CButtonUI* restore = nullptr;
        CButtonUI* close = nullptr;
        CButtonUI* update = nullptr;
        CTabLayoutUI* tabView = nullptr;
        CLabelUI* version = nullptr;
        CContainerUI* opContainer = nullptr;
        COptionUI* home = nullptr;
        COptionUI* tv = nullptr;
        COptionUI* playing = nullptr;
    };

    bool HandleOwnMessage(UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT& result);
    bool HandlePrivateMessage(UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT& result);
    LRESULT OnCreate();
    void OnDestroy();
    void OnSize(WPARAM wParam);
    void OnClose(LPARAM lParam);
    void OnGetMinMaxInfo(MINMAXINFO* info) const;
    LRESULT OnNcHitTest(LPARAM lParam) const;
    bool OnCommand(WPARAM wParam, LRESULT& result);
    LRESULT OnSysCommand(WPARAM wParam, LPARAM lParam);
    void OnDragMouseMove(WPARAM wParam, LPARAM lParam);
    void EndDrag();
    void OnBossKey();
    void StartBossHiding();
    void EndBossHiding();
    void OnTrayIcon(LPARAM lParam);

    bool InitWindow();
    void OnPainted();
    void FinishStart();
    bool FindControls();
    template <class T> T* FindNamed(LPCWSTR name, LPCWSTR interfaceName);
    void AddTrayIcon();
    void DeleteTrayIcon();
    void DeleteTrayIconOnQuit();
    static DWORD WINAPI DeleteTrayIconThread(LPVOID parameter);
    void StartUpdater(LPCWSTR arguments) const;
    void CreateViews();
    void CreateViewBrowser(int view);
    void ApplyColorScheme(WPARAM index);
    void SetStayOnTop(bool on, UINT extraFlags);
    void ApplyTopMost(UINT extraFlags);
    bool KeepsOnTop() const;
    void ShowPinButtons();
    void SaveWindowState();
    void ShowFrame(bool shown);
    void UpdateGripCorner();

    void OnPageSelected(CControlUI* option);
    void SelectPage(int view);
    void OnButtonClick(CControlUI* button);
    void ShowMainMenu(POINT screenPoint, bool fromTray);
    static int MenuX(POINT screenPoint);
    void CheckPowerOff();
    void ArmPowerOffCheck();

    int ViewOfBrowser(LPARAM browserId) const;
    HWND BrowserWindowOf(int view) const;
    LRESULT AttachView(LPARAM browserId);
    LRESULT ShowErrorPage(LPARAM browserId);
    std::wstring ProgramFile(const wchar_t* name) const;
    bool IsPortalPage(CefRefPtr<CefBrowser> browser) const;
    void RunPageCommands();

    mutable LONG m_refCount = 0;
    CefRefPtr<CefClientHandler> m_handlers[kViewCount];
    std::vector<CefRefPtr<CefClientHandler>> m_handlerList;
    CContainerConUI* m_views[kViewCount] = {};
    bool m_playingSelected = false;
    bool m_fullScreen = false;
    bool m_mini = false;
    RECT m_frameInset = {};
    int m_frameBorder = 0;
    bool m_pinned = false;         // the user keeps the window on top
    bool m_pageKeepsOnTop = false; // the selected page's rule (topwentv) does
    LONG_PTR m_savedStyle = 0;
    LONG_PTR m_savedExStyle = 0;
    RECT m_savedRect = {};
    LONG_PTR m_savedMiniStyle = 0;
    LONG_PTR m_savedMiniExStyle = 0;
    RECT m_savedMiniRect = {};
    bool m_dragging = false;
    bool m_dragFirstMove = false;
    int m_dragOffsetX = 0; // client coordinates: negative left of or above the window
    int m_dragOffsetY = 0;
    RECT m_dragRect = {};
    bool m_tvViewPending = false;
    HMENU m_trayMenu = nullptr;
    CWindowManagerUI m_manager;
    NOTIFYICONDATAW m_trayIcon = {};
    bool m_trayIconAdded = false;
    bool m_hotKeyRegistered = false;
    bool m_inApplicationWindowList = false;
    bool m_initialized = false; // every named control was found
    bool m_finishStartPosted = false;
    bool m_startFinished = false; // the updater was started and the views got their browsers
    std::wstring m_pendingHomeAddress;
    CBossKeyHiding m_bossHiding;
    CNoticeStack m_notices;
    CPageCommandQueue m_pageCommands;
    std::vector<std::wstring> m_portalOrigins;
    CPowerOffWatch m_powerOff;
    Controls m_controls;
};
