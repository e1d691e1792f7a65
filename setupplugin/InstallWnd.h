#pragma once
#include <string>

#include "EditBuilder.h"
#include "PluginState.h"
#include "RoomCheck.h"
#include "SetupWnd.h"

// The install window: welcome page with the licence agreement, the licence view,
// a custom page with the target folder, its free-space check and two options,
// then the progress page while the script installs.
class CInstallWnd : public CSetupWnd
{
public:
    static constexpr ULONGLONG kRequiredFreeBytes = kDefaultRequiredFreeBytes;
    static constexpr DWORD kSpaceOkColor = CRoomCheck::kOkColor;
    static constexpr DWORD kSpaceShortColor = CRoomCheck::kShortColor;
    static constexpr DWORD kLinkColor = 0xFFD2E4F0;

    using TSpaceVerdict = CRoomCheck::TVerdict;

    CInstallWnd();

    void Notify(TNotifyRecUI& msg) override;

    // bQueried false: the drive could not be asked. More than requiredBytes free
    // can take the install.
    static TSpaceVerdict JudgeFreeSpace(bool bQueried, ULONGLONG freeBytes,
                                        ULONGLONG requiredBytes = kRequiredFreeBytes);
    // The nearest folder of path that exists, where the folder browser opens;
    // empty when none does.
    static std::wstring ExistingFolderOf(const std::wstring& path);

    // The last page: the install went well (empty failure text) or failed, the
    // text then saying why and what became of the earlier files.
    void ShowResult(LPCWSTR pstrFailure);
    // The folder a choice in the folder browser proposes: one of Lumora's own.
    static std::wstring ProposedFolder(const std::wstring& chosen);

protected:
    LPCWSTR GetSkinXml() const override;
    IDialogBuilderCallback* GetBuilderCallback() override;
    bool InitControls() override;
    LPCWSTR GetClosePrompt() const override;
    CControlUI* GetDefaultButton() const override;
    void OnCloseDuringWork() override;

private:
    bool FindControls();
    void OnClick(CControlUI* pSender);
    void OnSelectChanged(CControlUI* pSender);
    void OnLink(CControlUI* pSender);
    void StartInstall();
    void ShowLicense(bool bShow);
    void ShowPage(int iPage);
    void OpenOnFolderPage();
    void ResetCustomPage();
    void ChangeFolder();
    void CheckFreeSpace();
    void UpdateStartButtons();
    std::wstring BrowseForFolder();
    static int CALLBACK BrowseCallback(HWND hWnd, UINT uMsg, LPARAM lParam, LPARAM lpData);

    CEditBuilder m_editBuilder;
    bool m_bSpaceOk;

    CControlUI* m_pCaption;
    CControlUI* m_pConLice;
    CControlUI* m_pClose;
    CControlUI* m_pSetup;
    CControlUI* m_pStart;
    CControlUI* m_pChangePath;
    CControlUI* m_pBack;
    CControlUI* m_pLicense;
    CControlUI* m_pCustom;
    CControlUI* m_pReturn;
    CLabelUI* m_pSpace;
    CTabLayoutUI* m_pTabView;
    COptionUI* m_pAgree;
    COptionUI* m_pSetMainPage;
    COptionUI* m_pAfterRun;
    CEditUI* m_pPath;
    CControlUI* m_pLicenseTxt;
    // The last page and the installing page's text; optional in the skin.
    CControlUI* m_pFinishTitle;
    CControlUI* m_pFinishMsg;
    CControlUI* m_pFinish;
    CControlUI* m_pInstallMsg;
    // On the failure page: leave it to choose another folder; optional in the skin.
    CControlUI* m_pAgain;
};
