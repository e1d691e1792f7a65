#include "DownloadManager.h"

#include "AnsiText.h"
#include "DownloadList.h"
#include "ManagerLock.h"
#include "SectionLock.h"
#include "SystemErrorBox.h"
#include "UpdaterCipherKey.h"

#include <shlwapi.h>

#include <algorithm>
#include <cstring>
#include <new>

const char CDownloadManager::kListFileName[] = "updatefile.list";

namespace {

// Far beyond the list of any update (a line of a few hundred bytes per file).
const DWORD kMaxListFileSize = 16 * 1024 * 1024;

bool StartsWith(const std::string& text, const char* prefix)
{
    return text.compare(0, strlen(prefix), prefix) == 0;
}

bool ReadListFile(std::string& text)
{
    HANDLE file = CreateFileA(CDownloadManager::kListFileName, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD size = GetFileSize(file, nullptr);
    // The list is a file anyone may edit: a size beyond any real list, or one
    // there is no memory for, is a list that cannot be loaded.
    bool ok = size != INVALID_FILE_SIZE && size <= kMaxListFileSize;
    if (ok) {
        try {
            text.assign(size, '\0');
        } catch (const std::bad_alloc&) {
            ok = false;
        }
    }
    if (ok) {
        DWORD read = 0;
        ok = size == 0 || (ReadFile(file, &text[0], size, &read, nullptr) && read == size);
    }
    CloseHandle(file);
    return ok;
}

} // namespace

CDownloadManager::CDownloadManager() : m_listSaver(kListFileName)
{
    InitializeCriticalSection(&m_lock);
    InitializeCriticalSection(&m_controlLock);
    InitializeConditionVariable(&m_stopEnded);
    WSADATA data;
    if (WSAStartup(MAKEWORD(2, 2), &data) == 0) {
        m_winsockStarted = 1;
    }
}

CDownloadManager::~CDownloadManager()
{
    m_info.reset();
    ClearAllDownloads();
    // Winsock counts its start-ups: each successful one is matched here.
    if (m_winsockStarted) WSACleanup();
    DeleteCriticalSection(&m_controlLock);
    DeleteCriticalSection(&m_lock);
}

void CDownloadManager::DeleteDownloader(CDownloadPublic* downloader)
{
    if (!downloader) return;
    // Threads still running would use the object after it is gone.
    downloader->Stop();
    downloader->CloseSession();
    delete downloader;
}

void CDownloadManager::StartInfoDownload(const std::string& url, const std::wstring& folder)
{
    if (!UrlIsA(url.c_str(), URLIS_URL)) {
        ShowSystemErrorBox(DownloadResultNotUrl);
        return;
    }
    std::shared_ptr<CHttpDownload> download;
    if (StartsWith(url, "http://")) {
        download = std::make_shared<CHttpDownload>();
    } else if (StartsWith(url, "https://")) {
        download = std::make_shared<CHttpDownload>();
        download->SetProtocol(CHttpDownload::kProtocolHttps);
    } else {
        return;
    }
    download->url = url;
    download->owner = m_owner;
    download->isInfo = 1;
    download->stepDeadlineMs = m_stepDeadlineMs;
    download->folder = ToAnsi(folder);
    std::shared_ptr<CHttpDownload> replaced;
    {
        ManagerLock hold(*this);
        replaced.swap(m_info);
        m_info = download;
    }
    download->StartProbe();
}

// The wizard's thread replaces and releases the manifest download while
// worker threads take their own reference to it: the pointer itself is only
// read and written under the lock.
std::shared_ptr<CHttpDownload> CDownloadManager::GetInfoDownload()
{
    ManagerLock hold(*this);
    return m_info;
}

// The last reference may go here, and with it the download's threads are
// joined: that happens with the lock left.
void CDownloadManager::ReleaseInfoDownload()
{
    std::shared_ptr<CHttpDownload> released;
    ManagerLock hold(*this);
    released.swap(m_info);
}

int CDownloadManager::AddFileDownload(DownloadRequest request)
{
    CDownloadPublic* downloader = request.kind == 0 ? new CHttpDownload : request.downloader;
    if (downloader) {
        downloader->folder = request.downloadPath;
        downloader->copyPath = request.copyPath;
        downloader->version = request.version;
        downloader->cfgFile = request.cfgFile;
        downloader->percent = request.percent;
        downloader->contentLength = request.fileLength;
        downloader->url = request.url;
        downloader->fileName = request.fileName;
        downloader->owner = m_owner;
        downloader->stepDeadlineMs = m_stepDeadlineMs;
    }
    SectionLock control(m_controlLock);
    CDownloadPublic* replaced = nullptr;
    {
        ManagerLock hold(*this);
        DownloadTask& task = m_tasks[request.url];
        if (task.downloader != downloader) replaced = task.downloader;
        task.url = request.url;
        task.kind = request.kind;
        task.name = request.fileName;
        task.downloader = downloader;
    }
    if (downloader) downloader->state = DownloadWaiting;
    // A replaced task must not leak its threads.
    DeleteLeavingControl(replaced);
    return 0;
}

// Control operations (add, start, stop, remove, clear) are serialised by
// their own lock, which no transfer thread ever takes: the manager's lock,
// which the wizard, the progress timer and the list save wait for, is only
// held to read and change the tables, never across a thread start, a join or
// a file operation. The control lock is left while a downloader's threads are
// joined; meanwhile that downloader counts as stopping, and the other control
// operations wait for its stop to end before they touch it.
bool CDownloadManager::IsStopping(const CDownloadPublic* downloader) const
{
    return downloader && std::find(m_stopping.begin(), m_stopping.end(), downloader) != m_stopping.end();
}

void CDownloadManager::WaitForStopOf(const CDownloadPublic* downloader)
{
    while (IsStopping(downloader)) SleepConditionVariableCS(&m_stopEnded, &m_controlLock, INFINITE);
}

bool CDownloadManager::WaitForTaskOutOfStop(const std::string& url)
{
    for (;;) {
        CDownloadPublic* downloader = nullptr;
        {
            ManagerLock hold(*this);
            auto found = m_tasks.find(url);
            if (found == m_tasks.end()) return false;
            downloader = found->second.downloader;
        }
        if (!IsStopping(downloader)) return true;
        WaitForStopOf(downloader);
    }
}

void CDownloadManager::StopLeavingControl(CDownloadPublic* downloader)
{
    m_stopping.push_back(downloader);
    {
        SectionUnlock unlocked(m_controlLock);
        downloader->Stop();
    }
    m_stopping.erase(std::find(m_stopping.begin(), m_stopping.end(), downloader));
    WakeAllConditionVariable(&m_stopEnded);
}

// For a downloader already out of the tables: no new stop can reach it.
void CDownloadManager::DeleteLeavingControl(CDownloadPublic* downloader)
{
    if (!downloader) return;
    WaitForStopOf(downloader);
    SectionUnlock unlocked(m_controlLock);
    DeleteDownloader(downloader);
}

int CDownloadManager::StartDownload(const std::string& url)
{
    SectionLock control(m_controlLock);
    CDownloadPublic* downloader = nullptr;
    bool transfer = false;
    if (!WaitForTaskOutOfStop(url)) return DownloadResultNoTask;
    {
        ManagerLock hold(*this);
        auto found = m_tasks.find(url);
        if (found == m_tasks.end()) return DownloadResultNoTask;
        downloader = found->second.downloader;
        if (!downloader || downloader->state == DownloadRunning || downloader->probing) return 0;
        auto digest = m_digests.find(url);
        downloader->hasDigest = digest != m_digests.end();
        if (downloader->hasDigest) downloader->expectedDigest = digest->second;
        transfer = downloader->probed != 0;
        if (transfer) {
            downloader->state = DownloadRunning;
            InterlockedIncrement(&m_pending);
        }
    }
    if (transfer) return static_cast<int>(downloader->StartTransfer());
    downloader->StartProbe();
    return 0;
}

void CDownloadManager::ExpectDigest(const std::string& url, const FileDigest& digest)
{
    ManagerLock hold(*this);
    m_digests[url] = digest;
}

bool CDownloadManager::ExpectedDigest(const std::string& url, FileDigest& digest)
{
    ManagerLock hold(*this);
    auto found = m_digests.find(url);
    if (found == m_digests.end()) return false;
    digest = found->second;
    return true;
}

int CDownloadManager::StopDownload(const std::string& url, bool remove)
{
    SectionLock control(m_controlLock);
    CDownloadPublic* downloader = nullptr;
    bool running = false;
    if (!WaitForTaskOutOfStop(url)) return DownloadResultNoTask;
    {
        ManagerLock hold(*this);
        auto found = m_tasks.find(url);
        if (found == m_tasks.end()) return DownloadResultNoTask;
        downloader = found->second.downloader;
        running = downloader && downloader->state != DownloadWaiting;
        if (running) {
            downloader->state = DownloadWaiting;
            if (downloader->probed) InterlockedDecrement(&m_pending);
        }
        if (remove) {
            found->second.downloader = nullptr;
            m_tasks.erase(found);
        }
    }
    if (remove)
        DeleteLeavingControl(downloader); // stops it first
    else if (running)
        StopLeavingControl(downloader);
    return 0;
}

int CDownloadManager::RemoveDownload(const std::string& url)
{
    return StopDownload(url, true);
}

int CDownloadManager::StopAllDownloads()
{
    std::vector<std::string> running;
    {
        ManagerLock hold(*this);
        for (const auto& entry : m_tasks) {
            const CDownloadPublic* downloader = entry.second.downloader;
            if (!downloader || downloader->state == DownloadRunning) running.push_back(entry.first);
        }
    }
    for (const std::string& url : running) StopDownload(url, false);
    return 0;
}

int CDownloadManager::GetDownloadPercent(const std::string& url)
{
    ManagerLock hold(*this);
    auto found = m_tasks.find(url);
    if (found == m_tasks.end() || !found->second.downloader) return 0;
    return found->second.downloader->GetPercent();
}

void CDownloadManager::RemoveCompletedDownload(const std::string& url)
{
    ManagerLock hold(*this);
    m_finished.erase(url);
}

void CDownloadManager::StartQueuedDownloads()
{
    std::vector<std::string> urls;
    {
        ManagerLock hold(*this);
        for (const auto& entry : m_tasks) urls.push_back(entry.first);
    }
    for (const std::string& url : urls) {
        StartDownload(url);
        if (m_pending >= maxRunning) break;
    }
}

void CDownloadManager::ClearAllDownloads()
{
    SectionLock control(m_controlLock);
    DownloadTaskMap tasks;
    {
        ManagerLock hold(*this);
        tasks.swap(m_tasks);
        CompletedDownloadMap().swap(m_finished);
    }
    for (auto& entry : tasks) DeleteLeavingControl(entry.second.downloader);
}

bool CDownloadManager::MoveToFinished(const CompletedDownloadRecord& record)
{
    ManagerLock hold(*this);
    m_tasks.erase(record.url);
    CompletedDownload& done = m_finished[record.url];
    done.listName = record.fileName;
    done.downloadPath = record.folder;
    done.copyPath = record.copyPath;
    done.version = record.version;
    done.fileSize = record.size;
    return m_tasks.empty();
}

void CDownloadManager::SaveDownloadList()
{
    std::string text;
    LONG snapshot = 0;
    {
        ManagerLock hold(*this);
        text = BuildDownloadListText(m_tasks, m_finished);
        snapshot = ++m_saveCount;
    }
    StringCipherKey key = MakeUpdaterCipherKey();
    // Saves from two threads never interleave, and a snapshot older than one
    // already written is not written over it.
    m_listSaver.Save(snapshot, StringCipher(text, key, CipherEncode));
}

void CDownloadManager::LoadDownloadList()
{
    std::string cipherText;
    if (!ReadListFile(cipherText)) return;
    StringCipherKey key = MakeUpdaterCipherKey();
    std::string text = StringCipher(cipherText, key, CipherDecode);
    std::vector<DownloadRequest> requests;
    std::vector<std::pair<std::string, CompletedDownload>> finished;
    if (!ParseDownloadListText(text, requests, finished)) return;
    for (const DownloadRequest& request : requests) AddFileDownload(request);
    ManagerLock hold(*this);
    for (const auto& entry : finished) m_finished[entry.first] = entry.second;
}
