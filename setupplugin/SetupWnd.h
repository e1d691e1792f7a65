#pragma once
#include "UILib.h"

// What the install and the uninstall window share: a caption-less, resizable
// top-level window drawn by its skin, dragged by its background, with a rounded
// region and a close that asks first and then cancels the installer.
class CSetupWnd : public CWindowWnd, public INotifyUI
{
public:
    static constexpr int kMinTrackWidth = 500;
    static constexpr int kMinTrackHeight = 359;

    CSetupWnd();
    CSetupWnd(const CSetupWnd&) = delete;
    CSetupWnd& operator=(const CSetupWnd&) = delete;

    CWindowManagerUI& GetManager();
    // The window's control of that name, or null.
    CControlUI* FindControl(LPCWSTR pstrName) const;

    // The installer reached its end while the close prompt is open: the prompt
    // goes and the installer's Next is pressed once it has. False when no
    // prompt is open.
    bool HoldNextWhileAsking();

    // Esc, Enter and Space for a key message of this window or of a native
    // window inside it (the path and licence edits take the focus); true when
    // the key was used.
    bool TranslateKey(const MSG& msg);

protected:
    LPCWSTR GetWindowClassName() const override;
    UINT GetClassStyle() const override;
    LRESULT HandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam) override;

    virtual LPCWSTR GetSkinXml() const = 0;
    virtual IDialogBuilderCallback* GetBuilderCallback();
    // Finds the window's controls after the build; false when the skin lacks one.
    virtual bool InitControls() = 0;
    virtual LPCWSTR GetClosePrompt() const = 0;
    // The page's main button, pressed by Enter when no button has the focus.
    virtual CControlUI* GetDefaultButton() const = 0;
    // A close confirmed while files are written: the work goes on to its end.
    virtual void OnCloseDuringWork();
    // Messages of one window only; true when handled.
    virtual bool HandleOwnMessage(UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT& lRes);

    // Asks as a SC_CLOSE from the system menu does.
    void RequestClose();
    // The page's main button takes the focus once the page is laid out, so
    // Enter presses it and Tab starts from it.
    void FocusDefaultButton();
    // Ends the plug-in's running message loop.
    static void StopPluginLoop();
    // Leaves the last page: the window hides and the loop ends.
    void Finish();
    CControlUI* RequireControl(LPCWSTR pstrName, bool& bAllFound) const;

    CWindowManagerUI m_manager;

private:
    LRESULT OnCreate();
    bool BuildSkin();
    void DropCaptionStyle();
    void ApplyWindowRegion();
    void OnGetMinMaxInfo(MINMAXINFO* pInfo) const;
    LRESULT OnNcHitTest(LPARAM lParam) const;
    LRESULT BorderHitTest(POINT pt, const RECT& rc) const;
    LRESULT OnSysCommand(WPARAM wParam, LPARAM lParam);
    bool OnKeyDown(WPARAM wParam);
    void ApplyPendingFocus();
    void MarkFocus();
    void ConfirmClose();
    void CloseAsTold();
    void CancelInstaller();
    void CloseOpenPrompt() const;

    bool m_bAsking;
    bool m_bNextHeld;
    bool m_bFocusDefault;
    bool m_bClosing;
    // Where the focus frame was last drawn; empty when none is.
    RECT m_rcFocusMark;
};
