#pragma once
#include "SetupWnd.h"

// The uninstall window: a confirmation page, progress while the script removes
// the program, and a finish button once UninstallFin reports the work done.
class CUnInstallWnd : public CSetupWnd
{
public:
    CUnInstallWnd();

    void Notify(TNotifyRecUI& msg) override;

protected:
    LPCWSTR GetSkinXml() const override;
    bool InitControls() override;
    LPCWSTR GetClosePrompt() const override;
    CControlUI* GetDefaultButton() const override;
    bool HandleOwnMessage(UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT& lRes) override;

private:
    void ShowWorking();
    void ShowFinished();
    void ShowWhatWasKept();

    CControlUI* m_pClose;
    CControlUI* m_p3q;
    CControlUI* m_pUnsetup;
    CControlUI* m_pFinBtn;
    CControlUI* m_pProgress;
    CControlUI* m_pStateMsg;
    // Says the uninstall is complete; optional in the skin.
    CControlUI* m_pFinMsg;
    // Names what the uninstall left; optional in the skin.
    CControlUI* m_pKeptMsg;
};
