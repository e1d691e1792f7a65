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

protected:
    LPCWSTR GetWindowClassName() const override;
    UINT GetClassStyle() const override;
    LRESULT HandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam) override;

    virtual LPCWSTR GetSkinXml() const = 0;
    virtual IDialogBuilderCallback* GetBuilderCallback();
    // Finds the window's controls after the build; false when the skin lacks one.
    virtual bool InitControls() = 0;
    virtual LPCWSTR GetClosePrompt() const = 0;
    // Messages of one window only; true when handled.
    virtual bool HandleOwnMessage(UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT& lRes);

    // Asks as a SC_CLOSE from the system menu does.
    void RequestClose();
    // Ends the plug-in's running message loop.
    static void StopPluginLoop();
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
    void ConfirmClose();
};
