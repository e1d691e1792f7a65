#pragma once
#include <windows.h>

#include <string>

#include "ColorScheme.h"
#include "SkinPopupWnd.h"

// The main program's modal settings window ("dialog.xml"): what closing the
// main window does, start with Windows, stay on top on the TV page and the
// timed power-off, on three pages with an about page. Apply and OK write the
// settings to "cfg.db", keep the Run value "LUMORA" of the local machine in
// step and tell the main window to re-arm its power-off check and re-check its
// stay-on-top state.
//
// Objects are made with new. A window created with Create deletes its object
// once it is gone; Open keeps the object until its modal loop has ended.
class CSettingDialog : public CSkinPopupWnd
{
public:
    // Messages to the main window.
    static const UINT kArmPowerOffMessage = WM_USER + 3;
    static const UINT kApplyTopMostMessage = WM_USER + 5;
    // Message to this window: wParam = colour scheme index 0..5.
    static const UINT kColorSchemeMessage = CColorScheme::kMessage;
    static const DWORD kStyle = 0x96C80000;
    static const DWORD kExStyle = 0x81; // tool window, modal frame
    static const int kWidth = 520;
    static const int kHeight = 380;

    // Opens the dialog over parent and returns once it is closed. While one is
    // open another request only brings it to the front.
    static void Open(HWND parent, bool startOnAbout);
    // The dialog that is open, or null.
    static HWND OpenWindow();

    explicit CSettingDialog(bool startOnAbout = false);
    ~CSettingDialog() override;
    CSettingDialog(const CSettingDialog&) = delete;
    CSettingDialog& operator=(const CSettingDialog&) = delete;

    // Creates the window without running a modal loop; null when the skin is
    // missing or lacks a control, and the object then stays with the caller.
    HWND Create(HWND parent);

    void Notify(TNotifyRecUI& msg) override;
    // Takes the controls' state into the settings and saves them.
    void Apply();

protected:
    LPCWSTR GetWindowClassName() const override { return L"Lumora"; }
    UINT GetClassStyle() const override { return CS_DBLCLKS; }
    LPCWSTR GetSkinXml() const override;
    bool InitControls() override;
    void ApplyWindowRegion() override;
    bool HandleCustomMessage(UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT& lRes) override;
    bool IsCaptionPoint(POINT pt, const RECT& rcClient) const override;
    bool IsDeletedWithWindow() const override;

    // Key under HKEY_LOCAL_MACHINE that holds the Run value.
    virtual std::wstring RunKeyPath() const;
    // Writing the Run value failed.
    virtual void ReportAutorunFailure();

private:
    struct Controls
    {
        CControlUI* main = nullptr;
        CControlUI* caption = nullptr;
        CControlUI* controlBar = nullptr;
        CControlUI* close = nullptr;
        CControlUI* sure = nullptr;
        CControlUI* giveUp = nullptr;
        CControlUI* apply = nullptr;
        COptionUI* custom = nullptr;
        COptionUI* timeAuto = nullptr;
        COptionUI* aboutUs = nullptr;
        CTabLayoutUI* tabView = nullptr;
        COptionUI* minimize = nullptr;
        COptionUI* exit = nullptr;
        COptionUI* autorun = nullptr;
        COptionUI* topWenTv = nullptr;
        CComboUI* hour = nullptr;
        CComboUI* minute = nullptr;
        COptionUI* autoShutdown = nullptr;
        COptionUI* autoOff = nullptr;
        CTextUI* about = nullptr;
        CControlUI* aboutVersion = nullptr;
    };

    bool FindControls();
    void ShowInitialState();
    void ShowSettings();
    static void SelectOneOf(COptionUI* on, COptionUI* off);
    static void FillNumbers(CComboUI* combo, int count, int selected);
    void ApplyColorScheme(WPARAM index);
    void OnClose();

    void OnSelectChanged(CControlUI* sender);
    void OnClick(CControlUI* sender);
    void OnLink(CControlUI* sender, WPARAM link);
    void SelectPage(int page);
    void EnableApply(bool enable);
    bool UpdateRunValue(bool on);
    bool RunValuePresent() const;
    void PostToParent(UINT message);

    bool m_startOnAbout;
    Controls m_controls;
    HWND m_parent = nullptr;
    bool m_modal = false;
    bool m_initialized = false;
};
