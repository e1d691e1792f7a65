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

extern const wchar_t kProductHomePage[];

enum : UINT {
    WM_UPDATE_IDLE = WM_USER + 1006,
    WM_UPDATE_PROGRESS = WM_USER + 1010, // wParam: percent
    WM_UPDATE_CLEANED_UP = WM_USER + 1011,
    // Work of the install thread that touches the window, done on its thread.
    WM_UPDATE_RUN_ON_DIALOG = WM_APP + 0x20, // wParam: DialogTask*
    WM_UPDATE_SETUP_ENDED = WM_APP + 0x21,   // the watched setup process ended
};

const DWORD kInstallProgressDone = 30000;

class CUpdateDlg : public UpdUI::CWindowWnd, public UpdUI::INotifyUI, public IUpdateCheckHost, public IUpdateInstallHost
{
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
    bool IsInstallFromDownload() const override { return m_installFromDownload; }
    void SetSetupFileNameForCleanup(const std::wstring& name) override { SetSetupFileName(name); }
    void SetUpdateStarted(LONG value) override { InterlockedExchange(&m_updateStarted, value); }
    void NoteMainProgramClosed() override { InterlockedExchange(&m_mainClosed, 1); }
    void CloseWizard() override { Close(1); }
    void SetCloseEnabled(bool enabled) override;
    void SelectPage(int page) override;
    void ShowAsAppWindow() override;
    void CleanupUpdateFiles() override;
    void WatchSetup(HANDLE process) override;

    std::wstring GetSetupFileName();

    UpdUI::CWindowManagerUI& Manager() { return m_manager; }

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
    // What the thread that stops the manifest request holds.
    struct ManifestStop
    {
        HWND window;
        std::shared_ptr<CHttpDownload> download;
    };
    static unsigned __stdcall StopManifestAndClose(void* job);
    static DWORD WINAPI InstallFinishedCleanup(void* self);

    UpdUI::CWindowManagerUI m_manager;
    volatile LONG m_updateMode = 0; // UpdateModeValue
    std::wstring m_installFolder;
    HANDLE m_installDoneEvent = nullptr;
    HANDLE m_progressTimer = nullptr;
    std::string m_manifestUrl;
    CDownloadManager m_downloads;
    bool m_quietWhenNewest = false;
    bool m_installFromDownload = false;
    std::wstring m_newFeatures;
    BYTE* m_skinZip = nullptr;
    std::wstring m_manifestPath;
    std::string m_setupUrl;
    HANDLE m_parseThread = nullptr;
    HANDLE m_progressThread = nullptr;
    volatile LONG m_downloadsFinished = 0;
    volatile LONG m_updateStarted = 0;
    volatile LONG m_installRunning = 0;
    std::wstring m_foundVersionText;
    std::wstring m_setupFileName;
    CRITICAL_SECTION m_dataLock;
    HANDLE m_installThread = nullptr;
    HANDLE m_finishThread = nullptr; // InstallFinishedCleanup; it uses the dialog
    bool m_checkRunning = false;     // from the manifest request to the check's answer
    StepDeadline m_manifestDeadline;
    SetupWatch m_setupWatch;
    bool m_setupReportedDone = false;
    bool m_mainMinimized = false;
    volatile LONG m_mainClosed = 0;
    UpdUI::CProgressUI* m_checkingProgress = nullptr;

    UpdUI::CButtonUI* m_closeBtn = nullptr;
    UpdUI::CButtonUI* m_minBtn = nullptr;
    UpdUI::CTextUI* m_browserDown = nullptr;
    UpdUI::CTabLayoutUI* m_wizardTab = nullptr;
    UpdUI::CButtonUI* m_connectCancel = nullptr;
    UpdUI::CTextUI* m_connectingInfo = nullptr;
    UpdUI::CTextUI* m_findVersion = nullptr;
    UpdUI::CRichEditUI* m_newFeaturesEdit = nullptr;
    UpdUI::CButtonUI* m_updateBtn = nullptr;
    UpdUI::CButtonUI* m_nextTimeBtn = nullptr;
    UpdUI::CTextUI* m_percent = nullptr;
    UpdUI::CProgressUI* m_progress = nullptr;
    UpdUI::CTextUI* m_installPercent = nullptr;
    UpdUI::CProgressUI* m_installProgress = nullptr;
    UpdUI::CButtonUI* m_downloadCancel = nullptr;
    UpdUI::CButtonUI* m_successBtn = nullptr;
    UpdUI::CButtonUI* m_newestBtn = nullptr;
};
