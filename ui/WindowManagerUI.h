#pragma once
#include <windows.h>
#include <commctrl.h>

#include "DefaultAttributesUI.h"
#include "FontTableUI.h"
#include "ImageCacheUI.h"
#include "MouseInputUI.h"
#include "PtrArrayUI.h"
#include "SizeUI.h"
#include "StringMapUI.h"
#include "StringUI.h"
#include "TimerTableUI.h"
#include "uishared/MessageFilterUI.h"

class CControlUI;
struct TImageRecUI; // made by the render engine (CPainterUI::LoadImageData)

// UI events delivered to CControlUI::DoEvent.
enum TEventTypeUI {
    EventKeyDown = 2,
    EventKeyUp = 3,
    EventChar = 4,
    EventSysKey = 5,
    EventMouseMove = 8,
    EventMouseLeave = 9,
    EventMouseEnter = 10,
    EventMouseHover = 11,
    EventButtonDown = 12,
    EventButtonUp = 13,
    EventDoubleClick = 14,
    EventRightButtonDown = 15,
    EventRightButtonUp = 16,
    EventRightDoubleClick = 17,
    EventScrollWheel = 19,
    EventKillFocus = 21,
    EventSetFocus = 22,
    EventWindowSize = 23,
    EventSetCursor = 24,
    EventTimer = 27,
};

// The mouse events run from EventMouseMove to EventScrollWheel.
inline bool IsMouseEvent(TEventTypeUI type)
{
    return type >= EventMouseMove && type <= EventScrollWheel;
}

// Notifications from controls to the window's INotifyUI listeners.
enum TNotifyTypeUI {
    NotifyClick = 0,
    NotifyItemClick = 1,
    NotifyHeaderClick = 2,
    NotifySelectChanged = 3,
    NotifyLink = 4,
    NotifyValueChanged = 5,
    NotifyTextChanged = 6,
    NotifyItemSelect = 7,
    NotifyDropDown = 8,
    NotifyWindowInit = 9,
    NotifyKillFocus = 10,
    NotifySetFocus = 11,
    NotifyFloatPosChanged = 12,
    NotifyTimer = 13,
    NotifyItemActivate = 14,
    NotifyItemExpand = 15,
    NotifyItemCollapse = 16,
    NotifyValueChanging = 17,
    NotifyHoverValue = 18,
    NotifyContextMenu = 19,
    NotifyItemRightClick = 20,
    NotifyItemRightDown = 21,
};

// Key-state bits of TEventRecUI::keyState.
enum {
    UIKEYSTATE_LBUTTON = 0x01,
    UIKEYSTATE_RBUTTON = 0x02,
    UIKEYSTATE_SHIFT = 0x04,
    UIKEYSTATE_CONTROL = 0x08,
    UIKEYSTATE_ALT = 0x20,
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

struct TEventRecUI
{
    TEventTypeUI type;
    CControlUI* sender;
    DWORD timestamp;
    POINT mousePoint;
    WORD keyChar;
    WORD keyState;
    WPARAM wParam;
    LPARAM lParam;
};

struct TNotifyRecUI
{
    TNotifyTypeUI type;
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

// One per native window that shows a control tree: routes the window's messages into
// the tree, paints it double-buffered, keeps focus, hot, pressed and key controls,
// runs per-control timers and keeps the window's fonts, images and named controls.
class CWindowManagerUI
{
public:
    CWindowManagerUI();
    ~CWindowManagerUI();
    CWindowManagerUI(const CWindowManagerUI&) = delete;
    CWindowManagerUI& operator=(const CWindowManagerUI&) = delete;

    void Init(HWND hWnd);
    HWND GetPaintWindow() const;
    HDC GetPaintDC() const;
    CControlUI* GetRoot() const;
    CControlUI* GetFocus() const;
    POINT GetMousePos() const;
    void NeedUpdate();
    void Invalidate(const RECT& rcItem);

    static void SetInstance(HINSTANCE hInst);
    static HINSTANCE GetInstance();

    // Values of the skin's "Window" element; the application window reads them.
    void SetInitSize(int cx, int cy);
    CSizeUI GetInitSize() const;
    void SetSizeBox(const RECT& rcSizeBox);
    RECT GetSizeBox() const;
    void SetCaptionRect(const RECT& rcCaption);
    RECT GetCaptionRect() const;
    void SetRoundCorner(int cx, int cy);
    CSizeUI GetRoundCorner() const;
    void SetMinInfo(int cx, int cy);
    void SetShowUpdateRect(bool bShow);

    bool AttachRoot(CControlUI* pControl);
    bool InitControls(CControlUI* pControl, CControlUI* pParent = nullptr);
    void ReapObjects(CControlUI* pControl);

    bool SetFocus(CControlUI* pControl);
    bool SetNextTabControl(bool bForward = true);

    bool SetTimer(CControlUI* pControl, UINT nTimerKey, UINT uElapse);
    bool KillTimer(CControlUI* pControl, UINT nTimerKey);

    bool AddNotifier(INotifyUI* pNotifier);
    bool AddMessageFilter(IMessageFilterUI* pFilter);
    bool RemoveMessageFilter(IMessageFilterUI* pFilter);
    bool AddPostPaint(CControlUI* pControl);
    bool RemovePostPaint(CControlUI* pControl);
    bool AddHostedBrowser(CControlUI* pControl);
    bool RemoveHostedBrowser(CControlUI* pControl);

    void SendNotify(CControlUI* pControl, TNotifyTypeUI type, WPARAM wParam = 0, LPARAM lParam = 0);
    void DispatchNotify(TNotifyRecUI& msg);

    bool HandleWindowMessage(UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT& lRes);
    bool PreHandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT& lRes);
    static bool PreTranslateAll(MSG* pMsg);

    // Resources shared by the window's controls.
    CWindowManagerUI* GetTopManager() const;
    bool SetParentManager(CWindowManagerUI* pParent);
    CWindowManagerUI* GetParentManager() const;

    DWORD GetDefaultDisabledColor() const;
    void SetDefaultDisabledColor(DWORD dwColor);
    DWORD GetDefaultFontColor() const;
    DWORD GetDefaultLinkFontColor() const;
    DWORD GetDefaultLinkHoverFontColor() const;
    HFONT GetDefaultFont() const;
    HFONT GetDefaultBoldFont() const;
    HFONT GetDefaultLinkFont() const;
    const TEXTMETRICW& GetDefaultFontInfo();
    const TEXTMETRICW& GetDefaultBoldFontInfo();
    const TEXTMETRICW& GetDefaultLinkFontInfo();
    void SetDefaultFont(HFONT hFont, DWORD dwColor);
    void SetDefaultBoldFont(HFONT hFont, DWORD dwColor);
    void SetDefaultLinkFont(HFONT hFont, DWORD dwColor, DWORD dwHoverColor);

    HFONT AddFont(LPCWSTR pstrFontName, int nSize, bool bBold, bool bUnderline, bool bItalic);
    bool AddFontHandle(HFONT hFont);
    HFONT GetFont(int iIndex) const;
    const TEXTMETRICW& GetFontInfo(int iIndex);
    bool IsListedFont(HFONT hFont) const;

    void SetSkinFile(LPCWSTR pstrSkinFile);
    LPCWSTR GetSkinFile() const;
    TImageRecUI* AddImage(LPCWSTR bitmap, LPCWSTR type = nullptr, DWORD mask = 0);
    TImageRecUI* GetImageEx(LPCWSTR bitmap, LPCWSTR type = nullptr, DWORD mask = 0);
    void RemoveAllImages();
    // Changes whenever an image name may stand for another picture than before.
    UINT GetImageGeneration() const;

    void AddDefaultAttributeList(LPCWSTR pStrControlName, LPCWSTR pStrControlAttrList);
    LPCWSTR GetDefaultAttributeList(LPCWSTR pStrControlName) const;
    void RemoveAllDefaultAttributeList();

    CControlUI* FindControl(LPCWSTR pstrName) const;
    CControlUI* FindControlAt(POINT pt) const;

    static WORD GetMouseKeyFlags();

private:
    friend class CMouseInputUI; // sends its events through SendEvent

    // Message handling, one job each.
    void OnPaint();
    void LayoutTree();
    void LayOutWhole(const RECT& rcClient);
    bool PaintOffscreen(const PAINTSTRUCT& ps);
    void MoveFocusIfNeeded();
    void OnPrintClient(HDC hDC, LPARAM lParam);
    void OnClose();
    void OnKey(TEventTypeUI type, CControlUI* pTarget, WPARAM wParam, LPARAM lParam);
    void OnTimer(WPARAM wParam);
    bool ReflectMessage(UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT& lRes);
    void DeleteQueuedRoots();
    void ForgetHostedControls();
    bool HandleShortcut(WPARAM wParam);

    void SendEvent(CControlUI* pControl, TEventTypeUI type, CControlUI* pSender, POINT pt, WORD keyChar, WORD keyState,
                   WPARAM wParam, LPARAM lParam);
    void DropOffscreen();
    void RegisterNames(CControlUI* pControl);

    void ReleaseResources();

    static CControlUI* CALLBACK __FindControlFromNameHash(CControlUI* pThis, LPVOID pData);

    HWND m_hWndPaint;
    HDC m_hDcPaint;
    HDC m_hDcOffscreen;
    HBITMAP m_hbmpOffscreen;
    CMouseInputUI m_mouse;
    bool m_bShowUpdateRect;

    CControlUI* m_pRoot;
    CControlUI* m_pFocus;
    CControlUI* m_pEventKey;

    SIZE m_szMinWindow;
    SIZE m_szInitWindowSize;
    RECT m_rcSizeBox;
    SIZE m_szRoundCorner;
    RECT m_rcCaption;

    bool m_bFirstLayout;
    bool m_bLayingOutWhole = false; // a full relayout, invalidated as a whole after it
    bool m_bUpdateNeeded;
    bool m_bFocusNeeded;
    bool m_bOffscreenPaint;

    CPtrArrayUI m_aNotifiers;
    CTimerTableUI m_Timers;
    CPtrArrayUI m_aMessageFilters;
    CPtrArrayUI m_aPostPaintControls;
    CPtrArrayUI m_aDelayedCleanup;
    CPtrArrayUI m_aHostedBrowsers;

    CStringMapUI m_mNameHash;
    CImageCacheUI m_Images;
    CDefaultAttributesUI m_DefaultAttributes;

    CWindowManagerUI* m_pParentManager;
    CStringUI m_sSkinFile;

    DWORD m_dwDefaultDisabledColor;
    CFontTableUI m_Fonts;

    static HINSTANCE m_hInstance;
    static CPtrArrayUI m_aPreMessages;
};
