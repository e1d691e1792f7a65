#include "UpdateDlg.h"

#include "AnsiText.h"
#include "AppDirectory.h"
#include "ProcessRoutines.h"
#include "SectionLock.h"
#include "SetupProgressTimer.h"
#include "UpdMessageBox.h"
#include "UpdateCleanup.h"
#include "UpdateInstaller.h"
#include "UpdateServer.h"
#include "UpdaterTestSeams.h"
#include "WindowFrame.h"

#include "SkinBuilderUI.h"

#include <process.h>
#include <shellapi.h>
#include <shlwapi.h>

#include <cwchar>
#include <new>

using namespace UpdUI;

const wchar_t kProductHomePage[] = L"http://www.lumora.cn/";

namespace {

const int kSkinResourceId = 110;
const wchar_t kSkinResourceType[] = L"UPX3";
const DWORD kExitQuestionFlags = MB_OKCANCEL | MB_ICONQUESTION;
// Each network step of the manifest check (the request with its answer's
// headers, then the body) must end within this time.
const UINT_PTR kManifestDeadlineTimer = 0x5301;
const UINT kManifestStepMs = 15000;
// The checking page's bar moves while the check runs, so it never looks stuck.
const UINT_PTR kCheckingActivityTimer = 0x5302;
const UINT kCheckingActivityMs = 40;
const int kCheckingActivityStep = 2;
const wchar_t* const kClientClasses[] = { L"ButtonUI", L"OptionUI", L"TextUI", L"RichEditUI", L"ScrollBarUI", nullptr };

// Waits for an object while still handling messages sent from other threads,
// so a worker that runs a step on this thread cannot deadlock the wait.
void WaitHandlingSentMessages(HANDLE object)
{
    for (;;) {
        DWORD result = MsgWaitForMultipleObjects(1, &object, FALSE, INFINITE, QS_SENDMESSAGE);
        if (result != WAIT_OBJECT_0 + 1) return;
        MSG msg;
        PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
    }
}

void CloseThreadHandle(HANDLE thread)
{
    if (thread) CloseHandle(thread);
}

template <typename T> T* Find(CWindowManagerUI& manager, const wchar_t* name)
{
    return static_cast<T*>(manager.FindControl(name));
}

unsigned __stdcall StopAbandonedRequest(void* held)
{
    std::shared_ptr<CHttpDownload>* info = static_cast<std::shared_ptr<CHttpDownload>*>(held);
    if (*info) (*info)->Stop();
    delete info;
    return 0;
}

const wchar_t kCacheFolderName[] = L"cache\\";

const wchar_t kManifestFileName[] = L"newupdate.ini";

// The saved manifest under the updater's own name in "cache"; a redirect may
// have named the transfer after another file.
std::wstring KeepManifestUnderFixedName(const std::wstring& cache, const std::wstring& savedName)
{
    std::wstring fixed = cache + kManifestFileName;
    if (savedName.empty() || _wcsicmp(savedName.c_str(), kManifestFileName) == 0) return fixed;
    MoveFileExW((cache + savedName).c_str(), fixed.c_str(), MOVEFILE_REPLACE_EXISTING);
    return fixed;
}

} // namespace

CUpdateDlg::CUpdateDlg() : m_manifestDeadline(kManifestDeadlineTimer, kManifestStepMs)
{
    InitializeCriticalSection(&m_dataLock);
    m_downloads.SetStepDeadline(DownloadStepDeadlineMs());
    m_manifestUrl = BuildManifestUrl(CurrentUpdateServer(), GetTickCount());
}

CUpdateDlg::~CUpdateDlg()
{
    m_downloads.ClearAllDownloads();
    if (m_progressTimer) CloseHandle(m_progressTimer);
    if (m_installDoneEvent) CloseHandle(m_installDoneEvent);
    CloseThreadHandle(m_installThread);
    CloseThreadHandle(m_parseThread);
    CloseThreadHandle(m_finishThread);
    // The skin stays registered with the UI library until the run ends.
    DeleteCriticalSection(&m_dataLock);
}

void CUpdateDlg::Configure(const UpdaterCommandLine& commandLine, const std::wstring& installFolder)
{
    m_updateMode = commandLine.mode;
    m_quietWhenNewest = commandLine.quietWhenNewest;
    m_installFromDownload = commandLine.installFromDownload;
    m_installFolder = installFolder;
}

WORD CUpdateDlg::GetUpdateMode()
{
    return static_cast<WORD>(ReadFlag(m_updateMode));
}

void CUpdateDlg::SetUpdateMode(WORD mode)
{
    InterlockedExchange(&m_updateMode, mode);
}

std::wstring CUpdateDlg::GetInstallFolder()
{
    return m_installFolder;
}

std::wstring CUpdateDlg::GetManifestPath()
{
    SectionLock hold(m_dataLock);
    return m_manifestPath;
}

std::string CUpdateDlg::GetManifestUrl()
{
    return m_manifestUrl;
}

CDownloadManager& CUpdateDlg::GetDownloadManager()
{
    return m_downloads;
}

HWND CUpdateDlg::GetWindow()
{
    return m_hWnd;
}

void CUpdateDlg::SetFoundVersionText(const std::wstring& text)
{
    SectionLock hold(m_dataLock);
    m_foundVersionText = text;
}

void CUpdateDlg::SetNewFeatures(const std::wstring& text)
{
    SectionLock hold(m_dataLock);
    m_newFeatures = text;
}

void CUpdateDlg::SetSetupFileName(const std::wstring& name)
{
    SectionLock hold(m_dataLock);
    m_setupFileName = name;
}

std::wstring CUpdateDlg::GetSetupFileName()
{
    SectionLock hold(m_dataLock);
    return m_setupFileName;
}

void CUpdateDlg::SetSetupUrl(const std::string& url)
{
    SectionLock hold(m_dataLock);
    m_setupUrl = url;
}

namespace {

// What one progress thread waits on: its own copy of the timer handle, so a
// later thread's timer never closes a handle an earlier thread still waits on.
struct ProgressThreadStart
{
    CUpdateDlg* dialog;
    HANDLE timer;
};

} // namespace

void CUpdateDlg::StartProgressTimerThread(HANDLE timer)
{
    HANDLE own = nullptr;
    if (!timer ||
        !DuplicateHandle(GetCurrentProcess(), timer, GetCurrentProcess(), &own, 0, FALSE, DUPLICATE_SAME_ACCESS))
        return;
    HANDLE previous = nullptr;
    {
        SectionLock hold(m_dataLock);
        if (m_progressTimer && m_progressTimer != timer) CloseHandle(m_progressTimer);
        m_progressTimer = timer;
        previous = m_progressThread;
        ProgressThreadStart* start = new (std::nothrow) ProgressThreadStart{ this, own };
        m_progressThread = start
            ? reinterpret_cast<HANDLE>(_beginthreadex(nullptr, 0, ProgressTimerThread, start, 0, nullptr))
            : nullptr;
        if (start && !m_progressThread) {
            delete start;
            start = nullptr;
        }
        if (!start) CloseHandle(own);
    }
    // The earlier thread keeps waiting on the done event and ends with it.
    CloseThreadHandle(previous);
}

LPCWSTR CUpdateDlg::GetWindowClassName() const
{
    return L"UpdateDlg";
}

UINT CUpdateDlg::GetClassStyle() const
{
    return CS_DBLCLKS;
}

void CUpdateDlg::OnFinalMessage(HWND hWnd)
{
    delete this;
}

// ---- creation -------------------------------------------------------------

bool CUpdateDlg::LoadSkinZip()
{
    if (m_skinZip || CWindowManagerUI::IsSkinZipCached()) return true;
    HINSTANCE instance = CWindowManagerUI::GetResourceInstance();
    HRSRC resource = FindResourceW(instance, MAKEINTRESOURCEW(kSkinResourceId), kSkinResourceType);
    HGLOBAL loaded = resource ? LoadResource(instance, resource) : nullptr;
    DWORD size = resource ? SizeofResource(instance, resource) : 0;
    const void* bytes = loaded ? LockResource(loaded) : nullptr;
    if (!bytes || size == 0) return false;
    m_skinZip = new BYTE[size];
    memcpy(m_skinZip, bytes, size);
    CWindowManagerUI::SetSkinZipMemory(m_skinZip, size);
    return true;
}

LRESULT CUpdateDlg::OnCreate()
{
    m_downloads.SetOwner(m_hWnd);
    // What an earlier run left: its unfinished tasks resume, its finished
    // downloads are reused, and the manifest check removes stale ones.
    m_downloads.LoadDownloadList();
    SetPropW(m_hWnd, kUpdaterWindowProperty, this);
    DropNativeCaption(m_hWnd);
    m_manager.Init(m_hWnd);
    if (!LoadSkinZip()) return 0;
    CSkinBuilderUI builder;
    CControlUI* root = builder.Build(L"update.xml", nullptr, nullptr, &m_manager);
    if (!root) {
        MessageBoxW(nullptr, L"程序已经损坏，请到官网重新下载！", L"错误信息", MB_OK);
        ShellExecuteW(nullptr, L"open", kProductHomePage, nullptr, nullptr, SW_SHOWNORMAL);
        CloseWizard();
        return 0;
    }
    m_manager.AttachRoot(root);
    m_manager.AddNotifier(this);
    BindWizardControls();
    return 0;
}

void CUpdateDlg::BindWizardControls()
{
    m_closeBtn = Find<CButtonUI>(m_manager, L"Wizard_CloseBtn");
    m_minBtn = Find<CButtonUI>(m_manager, L"Wizard_MinBtn");
    m_browserDown = Find<CTextUI>(m_manager, L"BrowserDown");
    m_wizardTab = Find<CTabLayoutUI>(m_manager, L"wizardTab");
    m_connectCancel = Find<CButtonUI>(m_manager, L"ConnectCancel");
    m_connectingInfo = Find<CTextUI>(m_manager, L"ConnectingInfo");
    m_findVersion = Find<CTextUI>(m_manager, L"FindVersion");
    m_newFeaturesEdit = Find<CRichEditUI>(m_manager, L"NewFeatures");
    m_updateBtn = Find<CButtonUI>(m_manager, L"Update");
    m_nextTimeBtn = Find<CButtonUI>(m_manager, L"UpdateNextTime");
    m_percent = Find<CTextUI>(m_manager, L"Percent");
    m_progress = Find<CProgressUI>(m_manager, L"Progreass");
    m_installPercent = Find<CTextUI>(m_manager, L"InstallPercent");
    m_installProgress = Find<CProgressUI>(m_manager, L"InstallProgreass");
    m_downloadCancel = Find<CButtonUI>(m_manager, L"DownloadCancel");
    m_successBtn = Find<CButtonUI>(m_manager, L"UpdateSuccess");
    m_newestBtn = Find<CButtonUI>(m_manager, L"AlreadyNewest");
    m_checkingProgress = Find<CProgressUI>(m_manager, L"CheckingProgress");
    m_installDoneEvent = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    if (m_installFromDownload)
        StartInstallThread();
    else
        StartManifestDownload();
}

// ---- messages -------------------------------------------------------------

LRESULT CUpdateDlg::HandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    LRESULT result = 0;
    if (HandleWorkerMessage(uMsg, wParam, lParam)) return 0;
    if (HandleFrameMessage(uMsg, wParam, lParam, result)) return result;
    if (m_manager.HandleWindowMessage(uMsg, wParam, lParam, result)) return result;
    return CWindowWnd::HandleMessage(uMsg, wParam, lParam);
}

bool CUpdateDlg::HandleFrameMessage(UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    result = 0;
    switch (uMsg) {
    case WM_CREATE: result = OnCreate(); return true;
    case WM_DESTROY: PostQuitMessage(0); return false;
    case WM_SIZE: ApplyRoundCorners(m_hWnd, m_manager); return false;
    case WM_CLOSE: OnClose(); return false;
    case WM_TIMER:
        if (wParam != kManifestDeadlineTimer && wParam != kCheckingActivityTimer) return false;
        OnTimer(wParam);
        return true;
    case WM_GETMINMAXINFO: MaximizeToWorkArea(m_hWnd, lParam); return false;
    case WM_COPYDATA: {
        const COPYDATASTRUCT* data = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
        // The sender's size is checked: a short block must not be read past.
        if (data && data->lpData && data->cbData >= sizeof(DWORD)) {
            DWORD value = *static_cast<const DWORD*>(data->lpData);
            if (value <= kInstallProgressDone) OnInstallProgress(value);
        }
        return true;
    }
    case WM_NCCALCSIZE:
    case WM_NCPAINT: return true;
    case WM_NCHITTEST: result = OnNcHitTest(lParam); return true;
    case WM_NCACTIVATE:
        if (IsMinimized()) return false;
        result = wParam == 0;
        return true;
    case WM_KEYDOWN:
        if (wParam == VK_RETURN || wParam == VK_ESCAPE) CloseWizard();
        return true;
    case WM_SYSCOMMAND:
        if ((wParam & 0xFFF0) == SC_CLOSE) {
            CloseWizard();
            return true;
        }
        result = CWindowWnd::HandleMessage(uMsg, wParam, lParam);
        return true;
    case WM_UPDATE_RUN_ON_DIALOG: reinterpret_cast<DialogTask*>(wParam)->Run(); return true;
    default: return false;
    }
}

bool CUpdateDlg::HandleWorkerMessage(UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    switch (uMsg) {
    case WM_DOWNLOAD_PROBED: OnStartDownloadRequest(wParam, lParam); return true;
    case WM_DOWNLOAD_FAILED: OnFileDownloadFailed(reinterpret_cast<CDownloadPublic*>(wParam)); return true;
    case WM_DOWNLOAD_COMPLETED: OnFileDownloaded(reinterpret_cast<CompletedDownloadRecord*>(wParam)); return true;
    case WM_MANIFEST_PROBED:
        if (lParam != 1) OnManifestProbed(reinterpret_cast<CDownloadPublic*>(wParam));
        return true;
    case WM_MANIFEST_DOWNLOADED:
        if (lParam != 1) OnManifestDownloaded(reinterpret_cast<CDownloadPublic*>(wParam));
        return true;
    case WM_UPDATE_IDLE: return true;
    case WM_UPDATE_NEW_VERSION: OnNewVersion(); return true;
    case WM_UPDATE_ALREADY_NEWEST: OnAlreadyNewest(); return true;
    case WM_MANIFEST_FAILED: OnManifestFailed(); return true;
    case WM_UPDATE_PROGRESS: OnDownloadProgress(wParam); return true;
    case WM_UPDATE_CLEANED_UP: CloseWizard(); return true;
    case WM_UPDATE_SETUP_ENDED: OnSetupEnded(); return true;
    default: return false;
    }
}

LRESULT CUpdateDlg::OnNcHitTest(LPARAM lParam)
{
    return CaptionHitTest(m_hWnd, m_manager, lParam, kClientClasses);
}

void CUpdateDlg::RunTaskOnDialog(DialogTask& task)
{
    if (!IsWindow(m_hWnd) || GetWindowThreadProcessId(m_hWnd, nullptr) == GetCurrentThreadId())
        task.Run();
    else
        SendMessageW(m_hWnd, WM_UPDATE_RUN_ON_DIALOG, reinterpret_cast<WPARAM>(&task), 0);
}

void CUpdateDlg::OnClose()
{
    m_manifestDeadline.Disarm();
    KillTimer(m_hWnd, kCheckingActivityTimer);
    const bool setupRunning = m_setupWatch.IsRunning();
    m_setupWatch.Stop();
    // Every way out gives the user the main program back: restored, or, when
    // the installation closed it, running again unless a setup still at work
    // will start it.
    if (m_mainMinimized && ReadFlag(m_mainClosed) == 0) RestoreMainWindow();
    if (m_installDoneEvent) SetEvent(m_installDoneEvent);
    RemovePropW(m_hWnd, kUpdaterWindowProperty);
    HANDLE progressThread = nullptr;
    {
        SectionLock hold(m_dataLock);
        progressThread = m_progressThread;
        m_progressThread = nullptr;
    }
    if (progressThread) {
        WaitHandlingSentMessages(progressThread);
        CloseHandle(progressThread);
    }
    // The dialog is deleted with its window: no worker may still use it.
    for (HANDLE worker : { m_installThread, m_parseThread, m_finishThread }) {
        if (worker) WaitHandlingSentMessages(worker);
    }
    if (ReadFlag(m_mainClosed) == 1 && !setupRunning) EnsureMainProgramRunning(m_installFolder);
    m_downloads.ReleaseInfoDownload();
    m_downloads.ClearAllDownloads();
    DeleteLeftoversOfWizard(GetManifestPath(), WithTrailingSlash(m_installFolder), kCacheFolderName);
}

// ---- worker reports ---------------------------------------------------------

// The probe has learnt the length, the validator and the resume record's
// name: the list names them from now on, so a run killed during the
// transfer leaves what the next one continues from.
void CUpdateDlg::OnStartDownloadRequest(WPARAM wParam, LPARAM lParam)
{
    if (lParam != 1 && wParam && m_downloads.StartDownload(reinterpret_cast<const char*>(wParam)) == 0)
        m_downloads.SaveDownloadList();
    FreePostedUrl(wParam);
}

void CUpdateDlg::OnFileDownloadFailed(CDownloadPublic* download)
{
    WORD mode = GetUpdateMode();
    if (mode != UpdateModeForced) {
        if (!download) return;
        std::string url;
        m_downloads.Lock();
        // Only a download the manager still owns may be looked at.
        auto task = m_downloads.Tasks().find(download->queuedUrl.empty() ? download->url : download->queuedUrl);
        if (task != m_downloads.Tasks().end() && task->second.downloader == download) url = task->first;
        m_downloads.Unlock();
        if (url.empty()) return;
        if (ShowUpdMessageBox(L"下载更新失败！", L"错误", L"更新程序", UpdIconError, m_hWnd, 2) == UpdResultRetry) {
            std::wstring name = FromAnsi(download->fileName);
            DownloadRequest request;
            request.downloadPath = download->folder;
            request.copyPath = download->copyPath;
            request.version = download->version;
            request.url = url;
            request.fileName = download->fileName;
            m_downloads.RemoveDownload(url);
            m_downloads.AddFileDownload(request);
            m_downloads.StartDownload(url);
            return;
        }
    }
    StopDownloadsAndClose();
}

void CUpdateDlg::OnFileDownloaded(CompletedDownloadRecord* record)
{
    if (!record) return;
    m_downloads.DecrementPending();
    bool known = false;
    bool last = false;
    m_downloads.Lock();
    auto task = m_downloads.Tasks().find(record->url);
    // A record whose task was removed meanwhile holds a downloader that is gone.
    known = task != m_downloads.Tasks().end() && task->second.downloader == record->download;
    if (known) {
        task->second.downloader = nullptr;
        last = m_downloads.MoveToFinished(*record);
        if (last) InterlockedExchange(&m_downloadsFinished, 1);
    }
    m_downloads.Unlock();
    if (known) {
        m_downloads.SaveDownloadList();
        record->download->Stop();
        record->download->CloseSession();
        delete record->download;
    }
    delete record;
    if (!known) return;
    if (last) {
        // The bar ends full before the installing page replaces it.
        ShowDownloadPercent(100);
        StartInstallThread();
    } else {
        TestKillPoint("download");
        m_downloads.StartQueuedDownloads();
    }
}

void CUpdateDlg::OnManifestProbed(CDownloadPublic* download)
{
    std::shared_ptr<CHttpDownload> info = m_downloads.GetInfoDownload();
    if (download && info.get() == download) {
        m_manifestDeadline.Arm(m_hWnd);
        info->StartTransfer();
    }
}

void CUpdateDlg::OnManifestDownloaded(CDownloadPublic* download)
{
    std::shared_ptr<CHttpDownload> info = m_downloads.GetInfoDownload();
    // A late report of a request given up at its deadline is no answer.
    if (!m_checkRunning || (download && info.get() != download)) return;
    m_manifestDeadline.Disarm();
    if (download) {
        std::wstring cache = WithTrailingSlash(m_installFolder) + kCacheFolderName;
        std::wstring fixed = KeepManifestUnderFixedName(cache, FromAnsi(info->fileName));
        {
            SectionLock hold(m_dataLock);
            m_manifestPath = fixed;
        }
        info->Stop();
        m_downloads.ReleaseInfoDownload();
    }
    TestKillPoint("manifest");
    CloseThreadHandle(m_parseThread);
    m_parseThread = reinterpret_cast<HANDLE>(
        _beginthreadex(nullptr, 0, ParseUpdateManifest, static_cast<IUpdateCheckHost*>(this), 0, nullptr));
}

void CUpdateDlg::ApplyFoundVersionText()
{
    std::wstring text;
    {
        SectionLock hold(m_dataLock);
        text = m_foundVersionText;
    }
    if (m_findVersion && !text.empty()) m_findVersion->SetText(text.c_str());
}

void CUpdateDlg::OnNewVersion()
{
    m_checkRunning = false;
    KillTimer(m_hWnd, kCheckingActivityTimer);
    ApplyFoundVersionText();
    m_downloads.Lock();
    bool nothingQueued = m_downloads.Tasks().empty();
    m_downloads.Unlock();
    if (nothingQueued) {
        InterlockedExchange(&m_downloadsFinished, 1);
        StartInstallThread();
        return;
    }
    std::wstring features;
    {
        SectionLock hold(m_dataLock);
        features = m_newFeatures;
    }
    switch (GetUpdateMode()) {
    case UpdateModeInteractive:
        MinimizeMainWindow();
        if (m_newFeaturesEdit) m_newFeaturesEdit->AppendText(features.c_str(), false);
        SelectPage(WizardPageNewVersion);
        break;
    case UpdateModeSilent:
        SetExStyleAlone(WS_EX_APPWINDOW);
        if (m_newFeaturesEdit) m_newFeaturesEdit->AppendText(features.c_str(), false);
        SelectPage(WizardPageNewVersion);
        Show(true, true);
        MinimizeMainWindow();
        break;
    default: StartUpdateDownload(); break;
    }
}

void CUpdateDlg::OnAlreadyNewest()
{
    m_checkRunning = false;
    KillTimer(m_hWnd, kCheckingActivityTimer);
    ApplyFoundVersionText();
    WORD mode = GetUpdateMode();
    if (mode == UpdateModeInteractive) {
        SetWindowPos(m_hWnd, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
        SelectPage(WizardPageNewest);
    } else if (mode == UpdateModeSilent && !m_quietWhenNewest) {
        SetExStyleAlone(WS_EX_APPWINDOW);
        SelectPage(WizardPageNewest);
        Show(true, true);
        SetWindowPos(m_hWnd, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    } else {
        CloseWizard();
    }
}

void CUpdateDlg::OnManifestFailed()
{
    if (!m_checkRunning) return; // the check already ended (its deadline passed)
    m_checkRunning = false;
    m_manifestDeadline.Disarm();
    KillTimer(m_hWnd, kCheckingActivityTimer);
    std::shared_ptr<CHttpDownload> info = m_downloads.GetInfoDownload();
    if (info) {
        info->Stop();
        m_downloads.ReleaseInfoDownload();
    }
    if (GetUpdateMode() == UpdateModeInteractive &&
        ShowUpdMessageBox(L"获取更新信息失败！", L"错误", L"更新程序", UpdIconWarning, m_hWnd, 2) == UpdResultRetry) {
        StartManifestDownload();
        return;
    }
    CloseWizard();
}

void CUpdateDlg::OnDownloadProgress(WPARAM percent)
{
    // Once every download is done the setup's task has moved to the finished
    // list, whose percentage is no longer asked: it is whole.
    if (ReadFlag(m_downloadsFinished) == 1) percent = 100;
    ShowDownloadPercent(static_cast<int>(percent));
}

void CUpdateDlg::ShowDownloadPercent(int percent)
{
    wchar_t text[32];
    swprintf_s(text, 32, L"{f 0}%d%%{/f}", percent);
    if (m_percent && wcscmp(m_percent->GetText().GetData(), text) != 0) {
        m_percent->SetText(text);
        // The field is as wide as its text was when the row was laid out: a
        // wider number would wrap its "%" onto a clipped second line. The
        // progress timer shows the same number many times; only a new one is
        // laid out again.
        m_percent->NeedParentUpdate();
    }
    if (m_progress) m_progress->SetValue(percent);
}

void CUpdateDlg::OnTimer(WPARAM timerId)
{
    if (m_manifestDeadline.Expired(timerId))
        OnManifestDeadline();
    else if (timerId == kCheckingActivityTimer)
        StepCheckingActivity();
}

void CUpdateDlg::StepCheckingActivity()
{
    if (!m_checkingProgress) return;
    int next = m_checkingProgress->GetValue() + kCheckingActivityStep;
    m_checkingProgress->SetValue(next > m_checkingProgress->GetMaxValue() ? m_checkingProgress->GetMinValue() : next);
}

// The server took too long for one step: the request is given up and the
// check ends as a failed one. The stop runs on a thread of its own, so a
// transfer that is slow to wind down cannot hold the window.
void CUpdateDlg::OnManifestDeadline()
{
    std::shared_ptr<CHttpDownload>* abandoned = new std::shared_ptr<CHttpDownload>(m_downloads.GetInfoDownload());
    m_downloads.ReleaseInfoDownload();
    HANDLE stopper = reinterpret_cast<HANDLE>(_beginthreadex(nullptr, 0, StopAbandonedRequest, abandoned, 0, nullptr));
    if (stopper)
        CloseHandle(stopper);
    else
        delete abandoned; // no thread: the transfer is left to end with the process
    OnManifestFailed();
}

// The setup ended. After it reported completion that is what it should do;
// before, the update did not happen: say so and give the user the main
// program back.
void CUpdateDlg::OnSetupEnded()
{
    m_setupWatch.Stop();
    if (m_setupReportedDone) return;
    // It ran: it is not started again from the record, and its package goes.
    // The next check offers the update anew.
    SetupEndedUnfinished(m_installFolder, GetSetupFileName());
    SelectPage(WizardPageInstalling);
    ShowUpdMessageBox(L"安装程序意外退出，更新没有完成！", L"错误", L"更新程序", UpdIconError, m_hWnd, 1);
    EnsureMainProgramRunning(m_installFolder);
    SetCloseEnabled(true);
    InterlockedExchange(&m_updateStarted, 0);
    CleanupUpdateFiles();
    CloseWizard();
}

void CUpdateDlg::WatchSetup(HANDLE process)
{
    m_setupWatch.Start(process, m_hWnd, WM_UPDATE_SETUP_ENDED);
}

void CUpdateDlg::OnInstallProgress(DWORD value)
{
    if (value == 0) return;
    wchar_t text[12];
    swprintf_s(text, 12, L"%d%%", static_cast<int>(value / 300));
    if (m_installProgress) {
        m_installProgress->SetText(text);
        m_installProgress->SetValue(static_cast<int>(value));
    }
    if (value != kInstallProgressDone) return;
    m_setupReportedDone = true;
    SetCloseEnabled(true);
    Show(false, true);
    if (m_finishThread && WaitForSingleObject(m_finishThread, 0) == WAIT_TIMEOUT)
        return; // a repeated final value: the clean-up already runs
    CloseThreadHandle(m_finishThread);
    m_finishThread = CreateThread(nullptr, 0, InstallFinishedCleanup, this, 0, nullptr);
}

// ---- clicks -----------------------------------------------------------------

void CUpdateDlg::Notify(TNotifyRecUI& msg)
{
    if (msg.type == L"link") {
        if (msg.sender == m_browserDown && m_browserDown) {
            bool offered = false;
            {
                SectionLock hold(m_dataLock);
                offered = !m_setupUrl.empty();
            }
            // The browser starts with the lock left: ShellExecute may wait on
            // other windows, which may need the lock meanwhile.
            if (offered) ShellExecuteW(nullptr, L"open", kProductHomePage, nullptr, nullptr, SW_SHOWNORMAL);
        }
        return;
    }
    if (msg.type != L"click" || !msg.sender) return;
    CControlUI* sender = msg.sender;
    if (sender == m_closeBtn) {
        OnCloseClicked(false);
    } else if (sender == m_minBtn) {
        SendMessageW(m_hWnd, WM_SYSCOMMAND, SC_MINIMIZE, 0);
    } else if (sender == m_connectCancel) {
        OnConnectCancel();
    } else if (sender == m_updateBtn) {
        StartUpdateDownload();
    } else if (sender == m_nextTimeBtn) {
        RestoreMainWindow();
        CloseWizard();
    } else if (sender == m_downloadCancel) {
        OnCloseClicked(true);
    } else if (sender == m_successBtn) {
        ShellExecuteW(nullptr, L"open", kMainProgramExe, nullptr, nullptr, SW_SHOWNORMAL);
        CleanupUpdateFiles();
        CloseWizard();
    } else if (sender == m_newestBtn) {
        CloseWizard();
    }
}

void CUpdateDlg::OnCloseClicked(bool fromDownloadCancel)
{
    if (!fromDownloadCancel && ReadFlag(m_updateStarted) == 0) {
        if (ReadFlag(m_downloadsFinished) == 1) {
            WaitInstallDoneAndCleanup();
        } else if (m_installFromDownload) {
            CleanupUpdateFiles();
        } else {
            RestoreMainWindow();
        }
        CloseWizard();
        return;
    }
    if (!ConfirmLeaving(fromDownloadCancel) || ReadFlag(m_installRunning) == 1) return;
    if (ReadFlag(m_downloadsFinished) == 0) {
        StopDownloadsAndClose();
        return;
    }
    WaitInstallDoneAndCleanup();
    CloseWizard();
}

// While files are still downloading the question is about stopping the
// download, asked in the wizard's own look; once the installation runs it is
// about leaving the installation.
bool CUpdateDlg::ConfirmLeaving(bool fromDownloadCancel)
{
    if (ReadFlag(m_downloadsFinished) == 0)
        return ShowUpdMessageBox(L"正在下载更新，是否停止下载并退出？", L"提示", L"更新程序", UpdIconQuestion, m_hWnd,
                                 3) == UpdResultOk;
    UINT flags = kExitQuestionFlags | (fromDownloadCancel ? MB_DEFBUTTON2 : 0);
    return MessageBoxW(m_hWnd, L"安装程序正在执行，是否确认退出安装过程？", L"提示", flags) == IDOK;
}

void CUpdateDlg::WaitInstallDoneAndCleanup()
{
    if (m_installDoneEvent && ReadFlag(m_installRunning) == 1) WaitHandlingSentMessages(m_installDoneEvent);
    CleanupUpdateFiles();
}

void CUpdateDlg::StopDownloadsAndClose()
{
    m_downloads.StopAllDownloads();
    m_downloads.SaveDownloadList();
    CloseWizard();
}

void CUpdateDlg::OnConnectCancel()
{
    if (m_connectCancel) m_connectCancel->SetVisible(false);
    if (m_connectingInfo) m_connectingInfo->SetText(L"{f 0}正在停止，请勿强制关闭...{/f}");
    SetCloseEnabled(false);
    // The stopping thread gets what it needs now, on this thread: the window
    // may be closed (and the dialog deleted) before the stop ends.
    ManifestStop* job = new (std::nothrow) ManifestStop{ m_hWnd, m_downloads.GetInfoDownload() };
    HANDLE thread =
        job ? reinterpret_cast<HANDLE>(_beginthreadex(nullptr, 0, StopManifestAndClose, job, 0, nullptr)) : nullptr;
    if (!thread) {
        delete job;
        PostMessageW(m_hWnd, WM_CLOSE, 0, 0);
        return;
    }
    CloseThreadHandle(thread);
}

void CUpdateDlg::StartUpdateDownload()
{
    InterlockedExchange(&m_updateStarted, 1);
    if (GetUpdateMode() != UpdateModeForced) {
        // A download resumed from the list starts where it stopped.
        std::string url;
        {
            SectionLock hold(m_dataLock);
            url = m_setupUrl;
        }
        ShowDownloadPercent(m_downloads.GetDownloadPercent(url));
        SelectPage(WizardPageDownloading);
    }
    std::string first;
    m_downloads.Lock();
    if (!m_downloads.Tasks().empty()) first = m_downloads.Tasks().begin()->first;
    m_downloads.Unlock();
    if (!first.empty()) m_downloads.StartDownload(first);
}

// The manifest goes into "cache", never beside the deliverables.
void CUpdateDlg::StartManifestDownload()
{
    m_checkRunning = true;
    m_manifestDeadline.Arm(m_hWnd);
    if (m_checkingProgress) SetTimer(m_hWnd, kCheckingActivityTimer, kCheckingActivityMs, nullptr);
    std::wstring cache = WithTrailingSlash(m_installFolder) + kCacheFolderName;
    CreateDirectoryW(cache.c_str(), nullptr);
    m_downloads.StartInfoDownload(m_manifestUrl, cache);
}

void CUpdateDlg::StartInstallThread()
{
    if (m_installThread && WaitForSingleObject(m_installThread, 0) == WAIT_TIMEOUT)
        return; // one installation at a time
    CloseThreadHandle(m_installThread);
    m_installThread = reinterpret_cast<HANDLE>(_beginthreadex(nullptr, 0, InstallThread, this, 0, nullptr));
}

// ---- dialog-thread helpers ----------------------------------------------------

void CUpdateDlg::SetCloseEnabled(bool enabled)
{
    if (m_closeBtn) m_closeBtn->SetEnabled(enabled);
}

void CUpdateDlg::SelectPage(int page)
{
    if (m_wizardTab) m_wizardTab->SelectItem(page);
}

void CUpdateDlg::ShowAsAppWindow()
{
    SetExStyleAlone(WS_EX_APPWINDOW);
    SelectPage(WizardPageInstalling);
    Show(true, true);
}

void CUpdateDlg::SetExStyleAlone(DWORD exStyle)
{
    SetWindowLongPtrW(m_hWnd, GWL_EXSTYLE, static_cast<LONG_PTR>(exStyle));
}

void CUpdateDlg::CleanupUpdateFiles()
{
    Show(false, true);
    CleanupWorkingFilesAndSetup(GetManifestPath(), GetSetupFileName());
}

void CUpdateDlg::MinimizeMainWindow()
{
    if (HWND main = FindMainProgramWindow(m_installFolder)) {
        SendMessageW(main, WM_SYSCOMMAND, SC_MINIMIZE, 0);
        m_mainMinimized = true;
    }
}

void CUpdateDlg::RestoreMainWindow()
{
    if (HWND main = FindMainProgramWindow(m_installFolder)) {
        SendMessageW(main, WM_SYSCOMMAND, SC_RESTORE, 0);
        ShowWindow(main, SW_SHOW);
        SetForegroundWindow(main);
    }
}

// ---- threads ----------------------------------------------------------------

unsigned __stdcall CUpdateDlg::InstallThread(void* self)
{
    CUpdateDlg* dialog = static_cast<CUpdateDlg*>(self);
    InterlockedExchange(&dialog->m_installRunning, 1);
    CUpdateInstaller installer(*dialog);
    installer.InstallUpdate();
    SetEvent(dialog->m_installDoneEvent);
    InterlockedExchange(&dialog->m_installRunning, 0);
    return 0;
}

unsigned __stdcall CUpdateDlg::ProgressTimerThread(void* param)
{
    ProgressThreadStart* start = static_cast<ProgressThreadStart*>(param);
    CUpdateDlg* dialog = start->dialog;
    HANDLE timer = start->timer;
    delete start;
    HANDLE objects[2] = { timer, dialog->m_installDoneEvent };
    for (;;) {
        DWORD woke = WaitForMultipleObjects(2, objects, FALSE, INFINITE);
        if (woke != WAIT_OBJECT_0) {
            CloseHandle(timer);
            return 0;
        }
        std::string url;
        {
            SectionLock hold(dialog->m_dataLock);
            url = dialog->m_setupUrl;
        }
        int percent = dialog->m_downloads.GetDownloadPercent(url);
        PostMessageW(dialog->m_hWnd, WM_UPDATE_PROGRESS, static_cast<WPARAM>(percent), 0);
        ArmSetupProgressTimer(timer);
    }
}

// Touches no dialog: a wizard closed meanwhile has lost its property, and a
// window without it is left alone.
unsigned __stdcall CUpdateDlg::StopManifestAndClose(void* parameter)
{
    ManifestStop* job = static_cast<ManifestStop*>(parameter);
    if (job->download) job->download->Stop();
    if (IsWindow(job->window) && GetPropW(job->window, kUpdaterWindowProperty))
        PostMessageW(job->window, WM_CLOSE, 0, 0);
    delete job;
    return 0;
}

DWORD WINAPI CUpdateDlg::InstallFinishedCleanup(void* self)
{
    CUpdateDlg* dialog = static_cast<CUpdateDlg*>(self);
    DeleteWorkingFiles(dialog->GetManifestPath());
    SetupReportedFinished(dialog->GetInstallFolder());
    WaitSetupAndDelete(dialog->GetSetupFileName(), 10000);
    PostMessageW(dialog->m_hWnd, WM_UPDATE_CLEANED_UP, 0, 0);
    return 0;
}
