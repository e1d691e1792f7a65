#pragma once
#include <windows.h>
#include <commctrl.h>

#include "BrowserListUI.h"
#include "DefaultAttributesUI.h"
#include "FontTableUI.h"
#include "ImageCacheUI.h"
#include "KeyStateUI.h"
#include "KeyboardInputUI.h"
#include "MessageFiltersUI.h"
#include "MouseInputUI.h"
#include "NotifyQueueUI.h"
#include "OptionGroupsUI.h"
#include "PtrArrayUI.h"
#include "RectUI.h"
#include "SharedSettingsUI.h"
#include "SizeUI.h"
#include "StringMapUI.h"
#include "StringUI.h"
#include "TimerTableUI.h"
#include "WindowPainterUI.h"
#include "uishared/MessageFilterUI.h"

struct IWebBrowser2;

namespace UpdUI {

class CControlUI;
class ZipArchive;
struct TImageRecUI; // made by the render engine (CPainterUI::LoadImageData)

// UI events delivered to CControlUI::Event. The unnamed numbers between them mark
// ranges: 2 < type < 7 is a key event, 8 < type < 19 a mouse event.
enum TEventTypeUI {
    EventFirst = 1,
    EventKeyBegin = 2,
    EventKeyDown = 3,
    EventKeyUp = 4,
    EventChar = 5,
    EventSysKey = 6,
    EventKeyEnd = 7,
    EventMouseBegin = 8,
    EventMouseMove = 9,
    EventMouseLeave = 10,
    EventMouseEnter = 11,
    EventMouseHover = 12,
    EventButtonDown = 13,
    EventButtonUp = 14,
    EventRightButtonDown = 15,
    EventDoubleClick = 16,
    EventContextMenu = 17,
    EventScrollWheel = 18,
    EventMouseEnd = 19,
    EventKillFocus = 20,
    EventSetFocus = 21,
    EventWindowSize = 22,
    EventSetCursor = 23,
    EventTimer = 24,
};

// Control flags (CControlUI::GetControlFlags).
enum {
    UIFLAG_TABSTOP = 0x01,
    UIFLAG_SETCURSOR = 0x02,
    UIFLAG_WANTRETURN = 0x04,
};

// Flags of CControlUI::FindControl.
enum : UINT {
    UIFIND_ALL = 0x00000000,
    UIFIND_VISIBLE = 0x00000001,
    UIFIND_ENABLED = 0x00000002,
    UIFIND_HITTEST = 0x00000004,
    UIFIND_TOP_FIRST = 0x00000008,
    UIFIND_ME_FIRST = 0x80000000,
};

// The private message that deletes controls queued by AddDelayedCleanup.
const UINT WM_UPDUI_CLEANUP = WM_APP + 1;

struct TEventRecUI
{
    int type; // TEventTypeUI
    CControlUI* sender;
    DWORD timestamp;
    POINT mousePoint;
    WORD keyChar;
    WORD keyState;
    WPARAM wParam;
    LPARAM lParam;
};

// A control notification, named by its type ("click", "windowinit", ...).
struct TNotifyRecUI
{
    CStringUI type;
    CControlUI* sender;
    DWORD timestamp;
    POINT mousePoint;
    WPARAM wParam;
    LPARAM lParam;
};

class INotifyUI
{
public:
    virtual void Notify(TNotifyRecUI& msg) = 0;

protected:
    ~INotifyUI() = default;
};

using UIShared::IMessageFilterUI;

// Callback type of CControlUI::FindControl: returns a control to stop the search.
typedef CControlUI*(CALLBACK* FINDCONTROLPROC)(CControlUI*, LPVOID);
// Plug-in creator asked by the skin builder for tags it does not know.
typedef CControlUI* (*LPCREATECONTROL)(LPCWSTR pstrType);

// One per native window that shows a control tree: turns window messages into events
// for the controls, delivers their notifications to the application, keeps focus, hot,
// captured and key controls, runs per-control timers, paints the tree double-buffered
// and keeps the window's fonts, images, default attributes and option groups.
class CWindowManagerUI : private CSharedSettingsUI
{
public:
    CWindowManagerUI();
    ~CWindowManagerUI();
    CWindowManagerUI(const CWindowManagerUI&) = delete;
    CWindowManagerUI& operator=(const CWindowManagerUI&) = delete;

    // Set-up.
    void Init(HWND hWnd);
    HWND GetPaintWindow() const;
    HDC GetPaintDC() const;
    POINT GetMousePos() const;
    CControlUI* GetRoot() const;

    // Window attributes of the markup's "Window" element.
    void SetInitSize(int cx, int cy);
    SIZE GetInitSize() const;
    void SetSizeBox(const RECT& rcSizeBox);
    RECT GetSizeBox() const;
    RECT GetCaptionRect() const;
    void SetCaptionRect(const RECT& rcCaption);
    SIZE GetRoundCorner() const;
    void SetRoundCorner(int cx, int cy);
    void SetMinInfo(int cx, int cy);
    SIZE GetMinInfo() const;
    void SetMaxInfo(int cx, int cy);
    SIZE GetMaxInfo() const;
    void SetShowUpdateRect(bool bShow);
    void SetTransparent(int nOpacity);
    int GetTransparent() const;
    void SetBackgroundTransparent(bool bTrans);

    // Control tree.
    bool AttachRoot(CControlUI* pControl);
    bool InitControls(CControlUI* pControl, CControlUI* pParent = nullptr);
    void ReapObjects(CControlUI* pControl);
    void AddDelayedCleanup(CControlUI* pControl);
    CControlUI* FindControl(LPCWSTR pstrName);
    CControlUI* FindControlAt(POINT pt) const;
    void NeedUpdate();
    // Lays out what changed since the last paint. Positions are otherwise set
    // only when the window paints, and input waiting in the queue comes before
    // that paint: a click on a page just shown would miss its controls.
    void LayOutPendingChanges();
    void Invalidate(const RECT& rcItem);

    // Focus and capture.
    CControlUI* GetFocus() const;
    void SetFocus(CControlUI* pControl);
    void SetFocusNeeded(CControlUI* pControl);
    bool SetNextTabControl(bool bForward = true);
    void SetCapture();
    void ReleaseCapture();
    bool IsCaptured() const;

    // Timers of controls, kept per (control, key).
    bool SetTimer(CControlUI* pControl, UINT nTimerKey, UINT uElapse);
    bool KillTimer(CControlUI* pControl, UINT nTimerKey);
    void KillTimers(CControlUI* pControl);
    void RemoveAllTimers();

    // Listeners.
    bool AddNotifier(INotifyUI* pNotifier);
    bool AddPreMessageFilter(IMessageFilterUI* pFilter);
    bool RemovePreMessageFilter(IMessageFilterUI* pFilter);
    bool AddMessageFilter(IMessageFilterUI* pFilter);
    bool RemoveMessageFilter(IMessageFilterUI* pFilter);
    bool AddPostPaint(CControlUI* pControl);
    bool RemovePostPaint(CControlUI* pControl);
    // Only ActiveX hosts are listed; each stays on the list until it or the manager goes.
    bool AddBrowser(CControlUI* pControl);
    bool RemoveBrowser(CControlUI* pControl);
    int GetBrowserCount() const;

    // Notifications.
    void SendNotify(CControlUI* pControl, LPCWSTR pstrType, WPARAM wParam = 0, LPARAM lParam = 0, bool bAsync = false);
    void DispatchNotify(TNotifyRecUI& msg, bool bAsync = false);

    // Messages.
    bool HandleWindowMessage(UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT& lRes);
    bool PreHandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT& lRes);
    static void MessageLoop();
    static bool PreTranslateAll(MSG* pMsg);

    // Option groups.
    bool AddOptionGroup(LPCWSTR pStrGroupName, CControlUI* pControl);
    CPtrArrayUI* GetOptionGroup(LPCWSTR pStrGroupName);
    void RemoveOptionGroup(LPCWSTR pStrGroupName, CControlUI* pControl);
    void RemoveAllOptionGroups();

    // Parent manager whose defaults this one inherits.
    bool SetParentManager(CWindowManagerUI* pParent);
    CWindowManagerUI* GetParentManager() const;
    CWindowManagerUI* GetTopManager() const;

    // Default colours: getters read the top manager, setters write this one.
    DWORD GetDefaultDisabledColor() const;
    void SetDefaultDisabledColor(DWORD dwColor);
    DWORD GetDefaultFontColor() const;
    void SetDefaultFontColor(DWORD dwColor);
    DWORD GetDefaultLinkFontColor() const;
    void SetDefaultLinkFontColor(DWORD dwColor);
    DWORD GetDefaultLinkHoverFontColor() const;
    void SetDefaultLinkHoverFontColor(DWORD dwColor);
    DWORD GetDefaultSelectedBkColor() const;
    void SetDefaultSelectedBkColor(DWORD dwColor);

    // Fonts; an index is a position in the markup's "Font" order.
    TFontInfoUI* GetDefaultFontInfo();
    void SetDefaultFont(LPCWSTR pStrFontName, int nSize, bool bBold, bool bUnderline, bool bItalic);
    HFONT AddFont(LPCWSTR pStrFontName, int nSize, bool bBold, bool bUnderline, bool bItalic);
    HFONT GetFont(int iIndex);
    int GetFontCount() const;
    HFONT FindFont(LPCWSTR pStrFontName, int nSize, bool bBold, bool bUnderline, bool bItalic) const;
    TFontInfoUI* GetFontInfo(int iIndex);
    TFontInfoUI* GetFontInfo(HFONT hFont);
    void RemoveAllFonts();

    // Images, cached by name.
    TImageRecUI* AddImage(LPCWSTR bitmap, LPCWSTR type = nullptr, DWORD mask = 0);
    TImageRecUI* GetImageEx(LPCWSTR bitmap, LPCWSTR type = nullptr, DWORD mask = 0);
    void RemoveAllImages();

    // Default attribute lists by control class (tag name).
    void AddDefaultAttributeList(LPCWSTR pStrControlName, LPCWSTR pStrControlAttrList);
    LPCWSTR GetDefaultAttributeList(LPCWSTR pStrControlName) const;
    void RemoveAllDefaultAttributeList();

    // What every window of the program shares.
    using CSharedSettingsUI::GetInstance;
    using CSharedSettingsUI::GetInstancePath;
    using CSharedSettingsUI::GetPlugins;
    using CSharedSettingsUI::GetResourceInstance;
    using CSharedSettingsUI::GetResourcePath;
    using CSharedSettingsUI::GetSkinHsl;
    using CSharedSettingsUI::GetSkinZipHandle;
    using CSharedSettingsUI::GetSkinZipName;
    using CSharedSettingsUI::IsSkinZipCached;
    using CSharedSettingsUI::ReleaseSkinZip;
    using CSharedSettingsUI::SetInstance;
    using CSharedSettingsUI::SetResourceInstance;
    using CSharedSettingsUI::SetResourcePath;
    using CSharedSettingsUI::SetSkinZipMemory;

    static CControlUI* CALLBACK RegisterNameCallback(CControlUI* pThis, LPVOID pData);
    static CControlUI* CALLBACK FindPointCallback(CControlUI* pThis, LPVOID pData);
    static CControlUI* CALLBACK TabOrderCallback(CControlUI* pThis, LPVOID pData);
    static CControlUI* CALLBACK ShortcutCallback(CControlUI* pThis, LPVOID pData);
    static CControlUI* CALLBACK UpdateNeededCallback(CControlUI* pThis, LPVOID pData);

private:
    // They send their events through SendEvent.
    friend class CKeyboardInputUI;
    friend class CMouseInputUI;

    // Message handling, one job each.
    bool HandleOwnMessage(UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT& lRes);
    void OnSize();
    void OnPaint();
    void LayoutTree();
    void LayOutWhole(const RECT& rcClient);
    void OnClose();
    void OnGetMinMaxInfo(LPARAM lParam);
    bool ReflectNotify(WPARAM wParam, LPARAM lParam, LRESULT& lRes);
    void OnTimer(WPARAM wParam);
    void DeleteDelayedCleanup();
    void KillFocus(CControlUI* pNewFocus);

    void SendEvent(CControlUI* pControl, int type, CControlUI* pSender, WORD keyChar, WORD keyState, WPARAM wParam,
                   LPARAM lParam);
    bool IsOwnControl(CControlUI* pControl) const;

    CBrowserListUI m_browsers;
    HWND m_hWndPaint;
    int m_nOpacity;
    HDC m_hDcPaint;
    CWindowPainterUI m_painter;
    CMouseInputUI m_mouse;
    CKeyboardInputUI m_keyboard;

    CControlUI* m_pRoot;
    CControlUI* m_pFocus;

    SIZE m_szMinWindow;
    SIZE m_szMaxWindow;
    SIZE m_szInitWindowSize;
    RECT m_rcSizeBox;
    SIZE m_szRoundCorner;
    RECT m_rcCaption;

    bool m_bFirstLayout;
    bool m_bLayingOutWhole = false; // a full relayout, invalidated as a whole after it
    bool m_bUpdateNeeded;
    bool m_bFocusNeeded;

    CNotifyQueueUI m_notify;
    CTimerTableUI m_timers;
    CMessageFiltersUI m_preMessageFilters;
    CMessageFiltersUI m_messageFilters;
    CPtrArrayUI m_aDelayedCleanup;
    CStringMapUI m_mNameHash;
    COptionGroupsUI m_optionGroups;

    CWindowManagerUI* m_pParentManager;
    DWORD m_dwDefaultDisabledColor;
    DWORD m_dwDefaultFontColor;
    DWORD m_dwDefaultLinkFontColor;
    DWORD m_dwDefaultLinkHoverFontColor;
    DWORD m_dwDefaultSelectedBkColor;
    CFontTableUI m_fonts;
    CImageCacheUI m_images;
    CDefaultAttributesUI m_defaultAttributes;

    static CPtrArrayUI m_aManagers;
    static bool m_bProcessSetUp; // common controls and msimg32 loaded
};

} // namespace UpdUI
