// The updater's wizard window: fetches the manifest, shows what is new, runs
// the downloads and the installation, and is the one place where the worker
// threads' results arrive (posted messages with heap records it frees).
#pragma once

#include "DownloadManager.h"
#include "SetupWatch.h"
#include "StepDeadline.h"
#include "UpdateInstallHost.h"
#include "UpdateManifest.h"
#include "UpdaterCommandLine.h"

#include "UpdUILib.h"

#include <string>

extern const wchar_t kUpdaterWindowProperty[];  // "lumoravid_UpdateDlg"
extern const wchar_t kProductHomePage[];

enum : UINT {
    WM_UPDATE_IDLE = WM_USER + 1006,
    WM_UPDATE_PROGRESS = WM_USER + 1010,     // wParam: percent
    WM_UPDATE_CLEANED_UP = WM_USER + 1011,
    // Work of the install thread that touches the window, done on its thread.
    WM_UPDATE_RUN_ON_DIALOG = WM_APP + 0x20,  // wParam: DialogTask*
    WM_UPDATE_SETUP_ENDED = WM_APP + 0x21,    // the watched setup process ended
};

const DWORD kInstallProgressDone = 30000;

class CUpdateDlg : public UpdUI::CWindowWnd,
                   public UpdUI::INotifyUI,
                   public IUpdateCheckHost,
                   public IUpdateInstallHost {
public:
    CUpdateDlg();
    ~CUpdateDlg() override;

    void Configure(const UpdaterCommandLine& commandLine, const std::wstring& installFolder);

    // IUpdateCheckHost (called from the manifest thread as well).
    WORD GetUpdateMode() override;
    void SetUpdateMode(WORD mode) override;
    std::wstring GetInstallFolder() override;
    std::wstring GetManifestPath() override;
    std::string GetManifestUrl() override;
    CDownloadManager& GetDownloadManager() override;
    HWND GetWindow() override;
    void SetFoundVersionText(const std::wstring& text) override;
    void SetNewFeatures(const std::wstring& text) override;
    void SetSetupFileName(const std::wstring& name) override;
    void SetSetupUrl(const std::string& url) override;
    void StartProgressTimerThread(HANDLE timer) override;

    // IUpdateInstallHost (called from the install thread as well).
    bool IsInstallFromDownload() const override { return installFromDownload_; }
    void SetSetupFileNameForCleanup(const std::wstring& name) override { SetSetupFileName(name); }
    void SetUpdateStarted(LONG value) override { InterlockedExchange(&updateStarted_, value); }
    void NoteMainProgramClosed() override { InterlockedExchange(&mainClosed_, 1); }
    void CloseWizard() override { Close(1); }
    void SetCloseEnabled(bool enabled) override;
    void SelectPage(int page) override;
    void ShowAsAppWindow() override;
    void CleanupUpdateFiles() override;
    void WatchSetup(HANDLE process) override;

    std::wstring GetSetupFileName();

    UpdUI::CWindowManagerUI& Manager() { return manager_; }

protected:
    LPCWSTR GetWindowClassName() const override;
    UINT GetClassStyle() const override;
    LRESULT HandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam) override;
    void OnFinalMessage(HWND hWnd) override;
    void Notify(UpdUI::TNotifyRecUI& msg) override;

private:
    void RunTaskOnDialog(DialogTask& task) override;

    LRESULT OnCreate();
    bool LoadSkinZip();
    void BindWizardControls();
    void OnClose();
    bool HandleWorkerMessage(UINT uMsg, WPARAM wParam, LPARAM lParam);
    bool HandleFrameMessage(UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT& result);
    LRESULT OnNcHitTest(LPARAM lParam);
    void OnInstallProgress(DWORD value);

    // Worker reports.
    void OnStartDownloadRequest(WPARAM wParam, LPARAM lParam);
    void OnFileDownloadFailed(CDownloadPublic* download);
    void OnFileDownloaded(CompletedDownloadRecord* record);
    void OnManifestProbed(CDownloadPublic* download);
    void OnManifestDownloaded(CDownloadPublic* download);
    void OnNewVersion();
    void OnAlreadyNewest();
    void OnManifestFailed();
    void OnDownloadProgress(WPARAM percent);
    void ShowDownloadPercent(int percent);
    void OnManifestDeadline();
    void OnSetupEnded();
    void OnTimer(WPARAM timerId);
    void StepCheckingActivity();
    void ApplyFoundVersionText();

    // Clicks.
    void OnCloseClicked(bool confirmedWithDefaultCancel);
    bool ConfirmLeaving(bool fromDownloadCancel);
    void OnConnectCancel();
    void StartUpdateDownload();
    void StartManifestDownload();
    void StartInstallThread();
    void StopDownloadsAndClose();
    void WaitInstallDoneAndCleanup();

    void MinimizeMainWindow();
    void RestoreMainWindow();
    void SetExStyleAlone(DWORD exStyle);
    void ShowTopmost();
    bool IsMinimized() const { return IsIconic(m_hWnd) != FALSE; }
    static LONG ReadFlag(volatile LONG& flag) { return InterlockedCompareExchange(&flag, 0, 0); }

    static unsigned __stdcall InstallThread(void* self);
    static unsigned __stdcall ProgressTimerThread(void* self);
    static unsigned __stdcall StopManifestAndClose(void* self);
    static DWORD WINAPI InstallFinishedCleanup(void* self);

    UpdUI::CWindowManagerUI manager_;
    volatile LONG updateMode_ = 0;  // UpdateModeValue
    std::wstring installFolder_;
    HANDLE installDoneEvent_ = nullptr;
    HANDLE progressTimer_ = nullptr;
    std::string manifestUrl_;
    CDownloadManager downloads_;
    bool quietWhenNewest_ = false;
    bool installFromDownload_ = false;
    std::wstring newFeatures_;
    BYTE* skinZip_ = nullptr;
    std::wstring manifestPath_;
    std::string setupUrl_;
    HANDLE parseThread_ = nullptr;
    HANDLE progressThread_ = nullptr;
    volatile LONG downloadsFinished_ = 0;
    volatile LONG updateStarted_ = 0;
    volatile LONG installRunning_ = 0;
    std::wstring foundVersionText_;
    std::wstring setupFileName_;
    CRITICAL_SECTION dataLock_;
    HANDLE installThread_ = nullptr;
    HANDLE finishThread_ = nullptr;  // InstallFinishedCleanup; it uses the dialog
    bool checkRunning_ = false;      // from the manifest request to the check's answer
    StepDeadline manifestDeadline_;
    SetupWatch setupWatch_;
    bool setupReportedDone_ = false;
    bool mainMinimized_ = false;
    volatile LONG mainClosed_ = 0;
    UpdUI::CProgressUI* checkingProgress_ = nullptr;

    UpdUI::CButtonUI* closeBtn_ = nullptr;
    UpdUI::CButtonUI* minBtn_ = nullptr;
    UpdUI::CTextUI* browserDown_ = nullptr;
    UpdUI::CTabLayoutUI* wizardTab_ = nullptr;
    UpdUI::CButtonUI* connectCancel_ = nullptr;
    UpdUI::CTextUI* connectingInfo_ = nullptr;
    UpdUI::CTextUI* findVersion_ = nullptr;
    UpdUI::CRichEditUI* newFeaturesEdit_ = nullptr;
    UpdUI::CButtonUI* updateBtn_ = nullptr;
    UpdUI::CButtonUI* nextTimeBtn_ = nullptr;
    UpdUI::CTextUI* percent_ = nullptr;
    UpdUI::CProgressUI* progress_ = nullptr;
    UpdUI::CTextUI* installPercent_ = nullptr;
    UpdUI::CProgressUI* installProgress_ = nullptr;
    UpdUI::CButtonUI* downloadCancel_ = nullptr;
    UpdUI::CButtonUI* successBtn_ = nullptr;
    UpdUI::CButtonUI* newestBtn_ = nullptr;
};
