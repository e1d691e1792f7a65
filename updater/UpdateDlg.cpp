#include "UpdateDlg.h"

#include "AnsiText.h"
#include "AppDirectory.h"
#include "ProcessRoutines.h"
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

const wchar_t kUpdaterWindowProperty[] = L"lumoravid_UpdateDlg";
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
const wchar_t* const kClientClasses[] = {L"ButtonUI", L"OptionUI", L"TextUI", L"RichEditUI", L"ScrollBarUI",
                                         nullptr};

// Waits for an object while still handling messages sent from other threads,
// so a worker that runs a step on this thread cannot deadlock the wait.
void WaitHandlingSentMessages(HANDLE object)
{
    for (;;) {
        DWORD result = MsgWaitForMultipleObjects(1, &object, FALSE, INFINITE, QS_SENDMESSAGE);
        if (result != WAIT_OBJECT_0 + 1)
            return;
        MSG msg;
        PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
    }
}

void CloseThreadHandle(HANDLE thread)
{
    if (thread)
        CloseHandle(thread);
}

template <typename T>
T* Find(CWindowManagerUI& manager, const wchar_t* name)
{
    return static_cast<T*>(manager.FindControl(name));
}

unsigned __stdcall StopAbandonedRequest(void* held)
{
    std::shared_ptr<CHttpDownload>* info = static_cast<std::shared_ptr<CHttpDownload>*>(held);
    if (*info)
        (*info)->Stop();
    delete info;
    return 0;
}

const wchar_t kCacheFolderName[] = L"cache\\";

void DeleteMatching(const std::wstring& folder, const wchar_t* pattern)
{
    WIN32_FIND_DATAW entry;
    HANDLE find = FindFirstFileW((folder + pattern).c_str(), &entry);
    if (find == INVALID_HANDLE_VALUE)
        return;
    do {
        if (!(entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            DeleteFileW((folder + entry.cFileName).c_str());
    } while (FindNextFileW(find, &entry));
    FindClose(find);
}
const wchar_t kManifestFileName[] = L"newupdate.ini";

// The saved manifest under the updater's own name in "cache"; a redirect may
// have named the transfer after another file.
std::wstring KeepManifestUnderFixedName(const std::wstring& cache, const std::wstring& savedName)
{
    std::wstring fixed = cache + kManifestFileName;
    if (savedName.empty() || _wcsicmp(savedName.c_str(), kManifestFileName) == 0)
        return fixed;
    MoveFileExW((cache + savedName).c_str(), fixed.c_str(), MOVEFILE_REPLACE_EXISTING);
    return fixed;
}

class DataLock {
public:
    explicit DataLock(CRITICAL_SECTION& lock) : lock_(lock) { EnterCriticalSection(&lock_); }
    ~DataLock() { LeaveCriticalSection(&lock_); }

private:
    CRITICAL_SECTION& lock_;
};

}  // namespace

CUpdateDlg::CUpdateDlg() : manifestDeadline_(kManifestDeadlineTimer, kManifestStepMs)
{
    InitializeCriticalSection(&dataLock_);
    manifestUrl_ = BuildManifestUrl(CurrentUpdateServer(), GetTickCount());
}

CUpdateDlg::~CUpdateDlg()
{
    downloads_.ClearAllDownloads();
    if (progressTimer_)
        CloseHandle(progressTimer_);
    if (installDoneEvent_)
        CloseHandle(installDoneEvent_);
    CloseThreadHandle(installThread_);
    CloseThreadHandle(parseThread_);
    CloseThreadHandle(finishThread_);
    // The skin stays registered with the UI library until the run ends.
    DeleteCriticalSection(&dataLock_);
}

void CUpdateDlg::Configure(const UpdaterCommandLine& commandLine, const std::wstring& installFolder)
{
    updateMode_ = commandLine.mode;
    quietWhenNewest_ = commandLine.quietWhenNewest;
    installFromDownload_ = commandLine.installFromDownload;
    installFolder_ = installFolder;
}

WORD CUpdateDlg::GetUpdateMode()
{
    return static_cast<WORD>(ReadFlag(updateMode_));
}

void CUpdateDlg::SetUpdateMode(WORD mode)
{
    InterlockedExchange(&updateMode_, mode);
}

std::wstring CUpdateDlg::GetInstallFolder()
{
    return installFolder_;
}

std::wstring CUpdateDlg::GetManifestPath()
{
    DataLock hold(dataLock_);
    return manifestPath_;
}

std::string CUpdateDlg::GetManifestUrl()
{
    return manifestUrl_;
}

CDownloadManager& CUpdateDlg::GetDownloadManager()
{
    return downloads_;
}

HWND CUpdateDlg::GetWindow()
{
    return m_hWnd;
}

void CUpdateDlg::SetFoundVersionText(const std::wstring& text)
{
    DataLock hold(dataLock_);
    foundVersionText_ = text;
}

void CUpdateDlg::SetNewFeatures(const std::wstring& text)
{
    DataLock hold(dataLock_);
    newFeatures_ = text;
}

void CUpdateDlg::SetSetupFileName(const std::wstring& name)
{
    DataLock hold(dataLock_);
    setupFileName_ = name;
}

std::wstring CUpdateDlg::GetSetupFileName()
{
    DataLock hold(dataLock_);
    return setupFileName_;
}

void CUpdateDlg::SetSetupUrl(const std::string& url)
{
    DataLock hold(dataLock_);
    setupUrl_ = url;
}

namespace {

// What one progress thread waits on: its own copy of the timer handle, so a
// later thread's timer never closes a handle an earlier thread still waits on.
struct ProgressThreadStart {
    CUpdateDlg* dialog;
    HANDLE timer;
};

} // namespace

void CUpdateDlg::StartProgressTimerThread(HANDLE timer)
{
    HANDLE own = nullptr;
    if (!timer || !DuplicateHandle(GetCurrentProcess(), timer, GetCurrentProcess(), &own, 0, FALSE,
                                   DUPLICATE_SAME_ACCESS))
        return;
    HANDLE previous = nullptr;
    {
        DataLock hold(dataLock_);
        if (progressTimer_ && progressTimer_ != timer)
            CloseHandle(progressTimer_);
        progressTimer_ = timer;
        previous = progressThread_;
        ProgressThreadStart* start = new (std::nothrow) ProgressThreadStart{this, own};
        progressThread_ = start ? reinterpret_cast<HANDLE>(_beginthreadex(nullptr, 0, ProgressTimerThread, start, 0, nullptr))
                                : nullptr;
        if (start && !progressThread_) {
            delete start;
            start = nullptr;
        }
        if (!start)
            CloseHandle(own);
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
    if (skinZip_ || CWindowManagerUI::IsSkinZipCached())
        return true;
    HINSTANCE instance = CWindowManagerUI::GetResourceInstance();
    HRSRC resource = FindResourceW(instance, MAKEINTRESOURCEW(kSkinResourceId), kSkinResourceType);
    HGLOBAL loaded = resource ? LoadResource(instance, resource) : nullptr;
    DWORD size = resource ? SizeofResource(instance, resource) : 0;
    const void* bytes = loaded ? LockResource(loaded) : nullptr;
    if (!bytes || size == 0)
        return false;
    skinZip_ = new BYTE[size];
    memcpy(skinZip_, bytes, size);
    CWindowManagerUI::SetSkinZipMemory(skinZip_, size);
    return true;
}

LRESULT CUpdateDlg::OnCreate()
{
    downloads_.SetOwner(m_hWnd);
    // What an earlier run left: its unfinished tasks resume, its finished
    // downloads are reused, and the manifest check removes stale ones.
    downloads_.LoadDownloadList();
    SetPropW(m_hWnd, kUpdaterWindowProperty, this);
    DropNativeCaption(m_hWnd);
    manager_.Init(m_hWnd);
    if (!LoadSkinZip())
        return 0;
    CSkinBuilderUI builder;
    CControlUI* root = builder.Build(L"update.xml", nullptr, nullptr, &manager_);
    if (!root) {
        MessageBoxW(nullptr, L"程序已经损坏，请到官网重新下载！", L"错误信息", MB_OK);
        ShellExecuteW(nullptr, L"open", kProductHomePage, nullptr, nullptr, SW_SHOWNORMAL);
        CloseWizard();
        return 0;
    }
    manager_.AttachRoot(root);
    manager_.AddNotifier(this);
    BindWizardControls();
    return 0;
}

void CUpdateDlg::BindWizardControls()
{
    closeBtn_ = Find<CButtonUI>(manager_, L"Wizard_CloseBtn");
    minBtn_ = Find<CButtonUI>(manager_, L"Wizard_MinBtn");
    browserDown_ = Find<CTextUI>(manager_, L"BrowserDown");
    wizardTab_ = Find<CTabLayoutUI>(manager_, L"wizardTab");
    connectCancel_ = Find<CButtonUI>(manager_, L"ConnectCancel");
    connectingInfo_ = Find<CTextUI>(manager_, L"ConnectingInfo");
    findVersion_ = Find<CTextUI>(manager_, L"FindVersion");
    newFeaturesEdit_ = Find<CRichEditUI>(manager_, L"NewFeatures");
    updateBtn_ = Find<CButtonUI>(manager_, L"Update");
    nextTimeBtn_ = Find<CButtonUI>(manager_, L"UpdateNextTime");
    percent_ = Find<CTextUI>(manager_, L"Percent");
    progress_ = Find<CProgressUI>(manager_, L"Progreass");
    installPercent_ = Find<CTextUI>(manager_, L"InstallPercent");
    installProgress_ = Find<CProgressUI>(manager_, L"InstallProgreass");
    downloadCancel_ = Find<CButtonUI>(manager_, L"DownloadCancel");
    successBtn_ = Find<CButtonUI>(manager_, L"UpdateSuccess");
    newestBtn_ = Find<CButtonUI>(manager_, L"AlreadyNewest");
    checkingProgress_ = Find<CProgressUI>(manager_, L"CheckingProgress");
    installDoneEvent_ = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    if (installFromDownload_)
        StartInstallThread();
    else
        StartManifestDownload();
}

// ---- messages -------------------------------------------------------------

LRESULT CUpdateDlg::HandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    LRESULT result = 0;
    if (HandleWorkerMessage(uMsg, wParam, lParam))
        return 0;
    if (HandleFrameMessage(uMsg, wParam, lParam, result))
        return result;
    if (manager_.HandleWindowMessage(uMsg, wParam, lParam, result))
        return result;
    return CWindowWnd::HandleMessage(uMsg, wParam, lParam);
}

bool CUpdateDlg::HandleFrameMessage(UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    result = 0;
    switch (uMsg) {
    case WM_CREATE:
        result = OnCreate();
        return true;
    case WM_DESTROY:
        PostQuitMessage(0);
        return false;
    case WM_SIZE:
        ApplyRoundCorners(m_hWnd, manager_);
        return false;
    case WM_CLOSE:
        OnClose();
        return false;
    case WM_TIMER:
        if (wParam != kManifestDeadlineTimer && wParam != kCheckingActivityTimer)
            return false;
        OnTimer(wParam);
        return true;
    case WM_GETMINMAXINFO:
        MaximizeToWorkArea(m_hWnd, lParam);
        return false;
    case WM_COPYDATA: {
        const COPYDATASTRUCT* data = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
        // The sender's size is checked: a short block must not be read past.
        if (data && data->lpData && data->cbData >= sizeof(DWORD)) {
            DWORD value = *static_cast<const DWORD*>(data->lpData);
            if (value <= kInstallProgressDone)
                OnInstallProgress(value);
        }
        return true;
    }
    case WM_NCCALCSIZE:
    case WM_NCPAINT:
        return true;
    case WM_NCHITTEST:
        result = OnNcHitTest(lParam);
        return true;
    case WM_NCACTIVATE:
        if (IsMinimized())
            return false;
        result = wParam == 0;
        return true;
    case WM_KEYDOWN:
        if (wParam == VK_RETURN || wParam == VK_ESCAPE)
            CloseWizard();
        return true;
    case WM_SYSCOMMAND:
        if ((wParam & 0xFFF0) == SC_CLOSE) {
            CloseWizard();
            return true;
        }
        result = CWindowWnd::HandleMessage(uMsg, wParam, lParam);
        return true;
    case WM_UPDATE_RUN_ON_DIALOG:
        reinterpret_cast<DialogTask*>(wParam)->Run();
        return true;
    default:
        return false;
    }
}

bool CUpdateDlg::HandleWorkerMessage(UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    switch (uMsg) {
    case WM_DOWNLOAD_PROBED:
        OnStartDownloadRequest(wParam, lParam);
        return true;
    case WM_DOWNLOAD_FAILED:
        OnFileDownloadFailed(reinterpret_cast<CDownloadPublic*>(wParam));
        return true;
    case WM_DOWNLOAD_COMPLETED:
        OnFileDownloaded(reinterpret_cast<CompletedDownloadRecord*>(wParam));
        return true;
    case WM_MANIFEST_PROBED:
        if (lParam != 1)
            OnManifestProbed(reinterpret_cast<CDownloadPublic*>(wParam));
        return true;
    case WM_MANIFEST_DOWNLOADED:
        if (lParam != 1)
            OnManifestDownloaded(reinterpret_cast<CDownloadPublic*>(wParam));
        return true;
    case WM_UPDATE_IDLE:
        return true;
    case WM_UPDATE_NEW_VERSION:
        OnNewVersion();
        return true;
    case WM_UPDATE_ALREADY_NEWEST:
        OnAlreadyNewest();
        return true;
    case WM_MANIFEST_FAILED:
        OnManifestFailed();
        return true;
    case WM_UPDATE_PROGRESS:
        OnDownloadProgress(wParam);
        return true;
    case WM_UPDATE_CLEANED_UP:
        CloseWizard();
        return true;
    case WM_UPDATE_SETUP_ENDED:
        OnSetupEnded();
        return true;
    default:
        return false;
    }
}

LRESULT CUpdateDlg::OnNcHitTest(LPARAM lParam)
{
    return CaptionHitTest(m_hWnd, manager_, lParam, kClientClasses);
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
    manifestDeadline_.Disarm();
    KillTimer(m_hWnd, kCheckingActivityTimer);
    setupWatch_.Stop();
    // Every way out gives the user the main program back, unless the
    // installation closed it.
    if (mainMinimized_ && ReadFlag(mainClosed_) == 0)
        RestoreMainWindow();
    if (installDoneEvent_)
        SetEvent(installDoneEvent_);
    RemovePropW(m_hWnd, kUpdaterWindowProperty);
    HANDLE progressThread = nullptr;
    {
        DataLock hold(dataLock_);
        progressThread = progressThread_;
        progressThread_ = nullptr;
    }
    if (progressThread) {
        WaitHandlingSentMessages(progressThread);
        CloseHandle(progressThread);
    }
    // The dialog is deleted with its window: no worker may still use it.
    for (HANDLE worker : {installThread_, parseThread_, finishThread_}) {
        if (worker)
            WaitHandlingSentMessages(worker);
    }
    downloads_.ReleaseInfoDownload();
    downloads_.ClearAllDownloads();
    std::wstring manifest = GetManifestPath();
    if (!manifest.empty())
        DeleteFileW(manifest.c_str());
    const std::wstring cache = WithTrailingSlash(installFolder_) + kCacheFolderName;
    // Without a download list no later run can resume a partial file: those
    // that stopped tasks left behind are only clutter.
    if (!PathFileExistsW((WithTrailingSlash(installFolder_) + L"updatefile.list").c_str())) {
        for (const wchar_t* pattern : {L"*_tmp", L"*.Cfg"})
            DeleteMatching(cache, pattern);
    }
    // The check makes "cache"; an empty one is not left behind, one with
    // downloads stays for the next run.
    RemoveDirectoryW(cache.c_str());
}

// ---- worker reports ---------------------------------------------------------

void CUpdateDlg::OnStartDownloadRequest(WPARAM wParam, LPARAM lParam)
{
    if (lParam != 1 && wParam)
        downloads_.StartDownload(reinterpret_cast<const char*>(wParam));
    FreePostedUrl(wParam);
}

void CUpdateDlg::OnFileDownloadFailed(CDownloadPublic* download)
{
    WORD mode = GetUpdateMode();
    if (mode != UpdateModeForced) {
        if (!download)
            return;
        std::string url;
        downloads_.Lock();
        // Only a download the manager still owns may be looked at.
        auto task = downloads_.Tasks().find(download->queuedUrl.empty() ? download->url : download->queuedUrl);
        if (task != downloads_.Tasks().end() && task->second.downloader == download)
            url = task->first;
        downloads_.Unlock();
        if (url.empty())
            return;
        if (ShowUpdMessageBox(L"下载更新失败！", L"错误", L"更新程序", UpdIconError, m_hWnd, 2) == UpdResultRetry) {
            std::wstring name = FromAnsi(download->fileName);
            DownloadRequest request;
            request.downloadPath = download->folder;
            request.copyPath = download->copyPath;
            request.version = download->version;
            request.url = url;
            request.fileName = download->fileName;
            downloads_.RemoveDownload(url);
            downloads_.AddFileDownload(request);
            downloads_.StartDownload(url);
            return;
        }
    }
    StopDownloadsAndClose();
}

void CUpdateDlg::OnFileDownloaded(CompletedDownloadRecord* record)
{
    if (!record)
        return;
    downloads_.DecrementPending();
    bool known = false;
    bool last = false;
    downloads_.Lock();
    auto task = downloads_.Tasks().find(record->url);
    // A record whose task was removed meanwhile holds a downloader that is gone.
    known = task != downloads_.Tasks().end() && task->second.downloader == record->download;
    if (known) {
        task->second.downloader = nullptr;
        last = downloads_.MoveToFinished(*record);
        if (last)
            InterlockedExchange(&downloadsFinished_, 1);
    }
    downloads_.Unlock();
    if (known) {
        downloads_.SaveDownloadList();
        record->download->Stop();
        record->download->CloseSession();
        delete record->download;
    }
    delete record;
    if (!known)
        return;
    if (last) {
        // The bar ends full before the installing page replaces it.
        ShowDownloadPercent(100);
        StartInstallThread();
    } else {
        TestKillPoint("download");
        downloads_.StartQueuedDownloads();
    }
}

void CUpdateDlg::OnManifestProbed(CDownloadPublic* download)
{
    std::shared_ptr<CHttpDownload> info = downloads_.GetInfoDownload();
    if (download && info.get() == download) {
        manifestDeadline_.Arm(m_hWnd);
        info->StartTransfer();
    }
}

void CUpdateDlg::OnManifestDownloaded(CDownloadPublic* download)
{
    std::shared_ptr<CHttpDownload> info = downloads_.GetInfoDownload();
    // A late report of a request given up at its deadline is no answer.
    if (!checkRunning_ || (download && info.get() != download))
        return;
    manifestDeadline_.Disarm();
    if (download) {
        std::wstring cache = WithTrailingSlash(installFolder_) + kCacheFolderName;
        std::wstring fixed = KeepManifestUnderFixedName(cache, FromAnsi(info->fileName));
        {
            DataLock hold(dataLock_);
            manifestPath_ = fixed;
        }
        info->Stop();
        downloads_.ReleaseInfoDownload();
    }
    TestKillPoint("manifest");
    CloseThreadHandle(parseThread_);
    parseThread_ = reinterpret_cast<HANDLE>(_beginthreadex(nullptr, 0, ParseUpdateManifest,
                                                           static_cast<IUpdateCheckHost*>(this), 0, nullptr));
}

void CUpdateDlg::ApplyFoundVersionText()
{
    std::wstring text;
    {
        DataLock hold(dataLock_);
        text = foundVersionText_;
    }
    if (findVersion_ && !text.empty())
        findVersion_->SetText(text.c_str());
}

void CUpdateDlg::OnNewVersion()
{
    checkRunning_ = false;
    KillTimer(m_hWnd, kCheckingActivityTimer);
    ApplyFoundVersionText();
    downloads_.Lock();
    bool nothingQueued = downloads_.Tasks().empty();
    downloads_.Unlock();
    if (nothingQueued) {
        InterlockedExchange(&downloadsFinished_, 1);
        StartInstallThread();
        return;
    }
    std::wstring features;
    {
        DataLock hold(dataLock_);
        features = newFeatures_;
    }
    switch (GetUpdateMode()) {
    case UpdateModeInteractive:
        MinimizeMainWindow();
        if (newFeaturesEdit_)
            newFeaturesEdit_->AppendText(features.c_str(), false);
        SelectPage(WizardPageNewVersion);
        break;
    case UpdateModeSilent:
        SetExStyleAlone(WS_EX_APPWINDOW);
        if (newFeaturesEdit_)
            newFeaturesEdit_->AppendText(features.c_str(), false);
        SelectPage(WizardPageNewVersion);
        Show(true, true);
        MinimizeMainWindow();
        break;
    default:
        StartUpdateDownload();
        break;
    }
}

void CUpdateDlg::OnAlreadyNewest()
{
    checkRunning_ = false;
    KillTimer(m_hWnd, kCheckingActivityTimer);
    ApplyFoundVersionText();
    WORD mode = GetUpdateMode();
    if (mode == UpdateModeInteractive) {
        SetWindowPos(m_hWnd, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
        SelectPage(WizardPageNewest);
    } else if (mode == UpdateModeSilent && !quietWhenNewest_) {
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
    if (!checkRunning_)
        return;  // the check already ended (its deadline passed)
    checkRunning_ = false;
    manifestDeadline_.Disarm();
    KillTimer(m_hWnd, kCheckingActivityTimer);
    std::shared_ptr<CHttpDownload> info = downloads_.GetInfoDownload();
    if (info) {
        info->Stop();
        downloads_.ReleaseInfoDownload();
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
    if (ReadFlag(downloadsFinished_) == 1)
        percent = 100;
    ShowDownloadPercent(static_cast<int>(percent));
}

void CUpdateDlg::ShowDownloadPercent(int percent)
{
    wchar_t text[32];
    swprintf_s(text, 32, L"{f 0}%d%%{/f}", percent);
    if (percent_)
        percent_->SetText(text);
    if (progress_)
        progress_->SetValue(percent);
}

void CUpdateDlg::OnTimer(WPARAM timerId)
{
    if (manifestDeadline_.Expired(timerId))
        OnManifestDeadline();
    else if (timerId == kCheckingActivityTimer)
        StepCheckingActivity();
}

void CUpdateDlg::StepCheckingActivity()
{
    if (!checkingProgress_)
        return;
    int next = checkingProgress_->GetValue() + kCheckingActivityStep;
    checkingProgress_->SetValue(next > checkingProgress_->GetMaxValue() ? checkingProgress_->GetMinValue()
                                                                       : next);
}

// The server took too long for one step: the request is given up and the
// check ends as a failed one. The stop runs on a thread of its own, so a
// transfer that is slow to wind down cannot hold the window.
void CUpdateDlg::OnManifestDeadline()
{
    std::shared_ptr<CHttpDownload>* abandoned = new std::shared_ptr<CHttpDownload>(downloads_.GetInfoDownload());
    downloads_.ReleaseInfoDownload();
    HANDLE stopper = reinterpret_cast<HANDLE>(_beginthreadex(nullptr, 0, StopAbandonedRequest, abandoned, 0, nullptr));
    if (stopper)
        CloseHandle(stopper);
    else
        delete abandoned;  // no thread: the transfer is left to end with the process
    OnManifestFailed();
}

// The setup ended. After it reported completion that is what it should do;
// before, the update did not happen: say so and give the user the main
// program back.
void CUpdateDlg::OnSetupEnded()
{
    setupWatch_.Stop();
    if (setupReportedDone_)
        return;
    SelectPage(WizardPageInstalling);
    ShowUpdMessageBox(L"安装程序意外退出，更新没有完成！", L"错误", L"更新程序", UpdIconError, m_hWnd, 1);
    ShellExecuteW(nullptr, L"open", (WithTrailingSlash(installFolder_) + kMainProgramExe).c_str(), nullptr,
                  installFolder_.c_str(), SW_SHOWNORMAL);
    SetCloseEnabled(true);
    InterlockedExchange(&updateStarted_, 0);
    CleanupUpdateFiles();
    CloseWizard();
}

void CUpdateDlg::WatchSetup(HANDLE process)
{
    setupWatch_.Start(process, m_hWnd, WM_UPDATE_SETUP_ENDED);
}

void CUpdateDlg::OnInstallProgress(DWORD value)
{
    if (value == 0)
        return;
    wchar_t text[12];
    swprintf_s(text, 12, L"%d%%", static_cast<int>(value / 300));
    if (installProgress_) {
        installProgress_->SetText(text);
        installProgress_->SetValue(static_cast<int>(value));
    }
    if (value != kInstallProgressDone)
        return;
    setupReportedDone_ = true;
    SetCloseEnabled(true);
    Show(false, true);
    if (finishThread_ && WaitForSingleObject(finishThread_, 0) == WAIT_TIMEOUT)
        return;  // a repeated final value: the clean-up already runs
    CloseThreadHandle(finishThread_);
    finishThread_ = CreateThread(nullptr, 0, InstallFinishedCleanup, this, 0, nullptr);
}

// ---- clicks -----------------------------------------------------------------

void CUpdateDlg::Notify(TNotifyRecUI& msg)
{
    if (msg.type == L"link") {
        if (msg.sender == browserDown_ && browserDown_) {
            DataLock hold(dataLock_);
            if (!setupUrl_.empty())
                ShellExecuteW(nullptr, L"open", kProductHomePage, nullptr, nullptr, SW_SHOWNORMAL);
        }
        return;
    }
    if (msg.type != L"click" || !msg.sender)
        return;
    CControlUI* sender = msg.sender;
    if (sender == closeBtn_) {
        OnCloseClicked(false);
    } else if (sender == minBtn_) {
        SendMessageW(m_hWnd, WM_SYSCOMMAND, SC_MINIMIZE, 0);
    } else if (sender == connectCancel_) {
        OnConnectCancel();
    } else if (sender == updateBtn_) {
        StartUpdateDownload();
    } else if (sender == nextTimeBtn_) {
        RestoreMainWindow();
        CloseWizard();
    } else if (sender == downloadCancel_) {
        OnCloseClicked(true);
    } else if (sender == successBtn_) {
        ShellExecuteW(nullptr, L"open", kMainProgramExe, nullptr, nullptr, SW_SHOWNORMAL);
        CleanupUpdateFiles();
        CloseWizard();
    } else if (sender == newestBtn_) {
        CloseWizard();
    }
}

void CUpdateDlg::OnCloseClicked(bool fromDownloadCancel)
{
    if (!fromDownloadCancel && ReadFlag(updateStarted_) == 0) {
        if (ReadFlag(downloadsFinished_) == 1) {
            WaitInstallDoneAndCleanup();
        } else if (installFromDownload_) {
            CleanupUpdateFiles();
        } else {
            RestoreMainWindow();
        }
        CloseWizard();
        return;
    }
    if (!ConfirmLeaving(fromDownloadCancel) || ReadFlag(installRunning_) == 1)
        return;
    if (ReadFlag(downloadsFinished_) == 0) {
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
    if (ReadFlag(downloadsFinished_) == 0)
        return ShowUpdMessageBox(L"正在下载更新，是否停止下载并退出？", L"提示", L"更新程序", UpdIconQuestion, m_hWnd,
                                 3) == UpdResultOk;
    UINT flags = kExitQuestionFlags | (fromDownloadCancel ? MB_DEFBUTTON2 : 0);
    return MessageBoxW(m_hWnd, L"安装程序正在执行，是否确认退出安装过程？", L"提示", flags) == IDOK;
}

void CUpdateDlg::WaitInstallDoneAndCleanup()
{
    if (installDoneEvent_ && ReadFlag(installRunning_) == 1)
        WaitHandlingSentMessages(installDoneEvent_);
    CleanupUpdateFiles();
}

void CUpdateDlg::StopDownloadsAndClose()
{
    downloads_.StopAllDownloads();
    downloads_.SaveDownloadList();
    CloseWizard();
}

void CUpdateDlg::OnConnectCancel()
{
    if (connectCancel_)
        connectCancel_->SetVisible(false);
    if (connectingInfo_)
        connectingInfo_->SetText(L"{f 0}正在停止，请勿强制关闭...{/f}");
    SetCloseEnabled(false);
    HANDLE thread = reinterpret_cast<HANDLE>(_beginthreadex(nullptr, 0, StopManifestAndClose, this, 0, nullptr));
    CloseThreadHandle(thread);
}

void CUpdateDlg::StartUpdateDownload()
{
    InterlockedExchange(&updateStarted_, 1);
    if (GetUpdateMode() != UpdateModeForced) {
        // A download resumed from the list starts where it stopped.
        std::string url;
        {
            DataLock hold(dataLock_);
            url = setupUrl_;
        }
        ShowDownloadPercent(downloads_.GetDownloadPercent(url));
        SelectPage(WizardPageDownloading);
    }
    std::string first;
    downloads_.Lock();
    if (!downloads_.Tasks().empty())
        first = downloads_.Tasks().begin()->first;
    downloads_.Unlock();
    if (!first.empty())
        downloads_.StartDownload(first);
}

// The manifest goes into "cache", never beside the deliverables.
void CUpdateDlg::StartManifestDownload()
{
    checkRunning_ = true;
    manifestDeadline_.Arm(m_hWnd);
    if (checkingProgress_)
        SetTimer(m_hWnd, kCheckingActivityTimer, kCheckingActivityMs, nullptr);
    std::wstring cache = WithTrailingSlash(installFolder_) + kCacheFolderName;
    CreateDirectoryW(cache.c_str(), nullptr);
    downloads_.StartInfoDownload(manifestUrl_, cache);
}

void CUpdateDlg::StartInstallThread()
{
    if (installThread_ && WaitForSingleObject(installThread_, 0) == WAIT_TIMEOUT)
        return;  // one installation at a time
    CloseThreadHandle(installThread_);
    installThread_ = reinterpret_cast<HANDLE>(_beginthreadex(nullptr, 0, InstallThread, this, 0, nullptr));
}

// ---- dialog-thread helpers ----------------------------------------------------

void CUpdateDlg::SetCloseEnabled(bool enabled)
{
    if (closeBtn_)
        closeBtn_->SetEnabled(enabled);
}

void CUpdateDlg::SelectPage(int page)
{
    if (wizardTab_)
        wizardTab_->SelectItem(page);
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
    if (HWND main = FindMainProgramWindow(installFolder_)) {
        SendMessageW(main, WM_SYSCOMMAND, SC_MINIMIZE, 0);
        mainMinimized_ = true;
    }
}

void CUpdateDlg::RestoreMainWindow()
{
    if (HWND main = FindMainProgramWindow(installFolder_)) {
        SendMessageW(main, WM_SYSCOMMAND, SC_RESTORE, 0);
        ShowWindow(main, SW_SHOW);
        SetForegroundWindow(main);
    }
}

// ---- threads ----------------------------------------------------------------

unsigned __stdcall CUpdateDlg::InstallThread(void* self)
{
    CUpdateDlg* dialog = static_cast<CUpdateDlg*>(self);
    InterlockedExchange(&dialog->installRunning_, 1);
    CUpdateInstaller installer(*dialog);
    installer.InstallUpdate();
    SetEvent(dialog->installDoneEvent_);
    InterlockedExchange(&dialog->installRunning_, 0);
    return 0;
}

unsigned __stdcall CUpdateDlg::ProgressTimerThread(void* param)
{
    ProgressThreadStart* start = static_cast<ProgressThreadStart*>(param);
    CUpdateDlg* dialog = start->dialog;
    HANDLE timer = start->timer;
    delete start;
    HANDLE objects[2] = {timer, dialog->installDoneEvent_};
    for (;;) {
        DWORD woke = WaitForMultipleObjects(2, objects, FALSE, INFINITE);
        if (woke != WAIT_OBJECT_0) {
            CloseHandle(timer);
            return 0;
        }
        std::string url;
        {
            DataLock hold(dialog->dataLock_);
            url = dialog->setupUrl_;
        }
        int percent = dialog->downloads_.GetDownloadPercent(url);
        PostMessageW(dialog->m_hWnd, WM_UPDATE_PROGRESS, static_cast<WPARAM>(percent), 0);
        LARGE_INTEGER due;
        due.QuadPart = -10000000LL;
        SetWaitableTimer(timer, &due, 0, nullptr, nullptr, FALSE);
    }
}

unsigned __stdcall CUpdateDlg::StopManifestAndClose(void* self)
{
    CUpdateDlg* dialog = static_cast<CUpdateDlg*>(self);
    if (std::shared_ptr<CHttpDownload> info = dialog->downloads_.GetInfoDownload())
        info->Stop();
    PostMessageW(dialog->m_hWnd, WM_CLOSE, 0, 0);
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
