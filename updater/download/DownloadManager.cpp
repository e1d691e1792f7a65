#include "DownloadManager.h"

#include "AnsiText.h"
#include "DownloadList.h"
#include "SystemErrorBox.h"
#include "UpdaterCipherKey.h"

#include <shlwapi.h>

#include <cstring>
#include <fstream>

const char CDownloadManager::kListFileName[] = "updatefile.list";

namespace {

// Holds the manager's lock for one scope.
class ManagerLock {
public:
    explicit ManagerLock(CDownloadManager& manager) : manager_(manager) { manager_.Lock(); }
    ~ManagerLock() { manager_.Unlock(); }

private:
    CDownloadManager& manager_;
};

bool StartsWith(const std::string& text, const char* prefix)
{
    return text.compare(0, strlen(prefix), prefix) == 0;
}

bool ReadListFile(std::string& text)
{
    HANDLE file = CreateFileA(CDownloadManager::kListFileName, GENERIC_READ, FILE_SHARE_READ,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    DWORD size = GetFileSize(file, nullptr);
    bool ok = size != INVALID_FILE_SIZE;
    if (ok) {
        text.assign(size, '\0');
        DWORD read = 0;
        ok = size == 0 || (ReadFile(file, &text[0], size, &read, nullptr) && read == size);
    }
    CloseHandle(file);
    return ok;
}

}  // namespace

CDownloadManager::CDownloadManager()
{
    InitializeCriticalSection(&lock_);
    WSADATA data;
    if (WSAStartup(MAKEWORD(2, 2), &data) == 0) {
        winsockStarted_ = 1;
    }
}

CDownloadManager::~CDownloadManager()
{
    info_.reset();
    ClearAllDownloads();
    // Winsock counts its start-ups: each successful one is matched here.
    if (winsockStarted_)
        WSACleanup();
    DeleteCriticalSection(&lock_);
}

void CDownloadManager::DeleteDownloader(CDownloadPublic* downloader)
{
    if (!downloader)
        return;
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
    download->owner = owner_;
    download->isInfo = 1;
    download->folder = ToAnsi(folder);
    info_ = download;
    download->StartProbe();
}

std::shared_ptr<CHttpDownload> CDownloadManager::GetInfoDownload()
{
    return info_;
}

void CDownloadManager::ReleaseInfoDownload()
{
    info_.reset();
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
        downloader->owner = owner_;
    }
    {
        ManagerLock hold(*this);
        DownloadTask& task = tasks_[request.url];
        if (task.downloader && task.downloader != downloader)
            DeleteDownloader(task.downloader);  // a replaced task must not leak its threads
        task.url = request.url;
        task.kind = request.kind;
        task.name = request.fileName;
        task.downloader = downloader;
    }
    if (downloader)
        downloader->state = DownloadWaiting;
    return 0;
}

int CDownloadManager::StartDownload(const std::string& url)
{
    ManagerLock hold(*this);
    auto found = tasks_.find(url);
    if (found == tasks_.end())
        return DownloadResultNoTask;
    CDownloadPublic* downloader = found->second.downloader;
    if (!downloader || downloader->state == DownloadRunning || downloader->probing)
        return 0;
    if (downloader->probed) {
        downloader->state = DownloadRunning;
        InterlockedIncrement(&pending_);
        return static_cast<int>(downloader->StartTransfer());
    }
    downloader->StartProbe();
    return 0;
}

int CDownloadManager::StopDownload(const std::string& url, bool remove)
{
    ManagerLock hold(*this);
    auto found = tasks_.find(url);
    if (found == tasks_.end())
        return DownloadResultNoTask;
    CDownloadPublic* downloader = found->second.downloader;
    if (downloader && downloader->state != DownloadWaiting) {
        downloader->state = DownloadWaiting;
        if (downloader->probed)
            InterlockedDecrement(&pending_);
        downloader->Stop();
        if (!remove)
            return 0;
        downloader->CloseSession();
    } else if (!remove) {
        return 0;
    }
    DeleteDownloader(downloader);
    found->second.downloader = nullptr;
    tasks_.erase(found);
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
        for (const auto& entry : tasks_) {
            const CDownloadPublic* downloader = entry.second.downloader;
            if (!downloader || downloader->state == DownloadRunning)
                running.push_back(entry.first);
        }
    }
    for (const std::string& url : running)
        StopDownload(url, false);
    return 0;
}

int CDownloadManager::GetDownloadPercent(const std::string& url)
{
    ManagerLock hold(*this);
    auto found = tasks_.find(url);
    if (found == tasks_.end() || !found->second.downloader)
        return 0;
    return found->second.downloader->GetPercent();
}

void CDownloadManager::RemoveCompletedDownload(const std::string& url)
{
    ManagerLock hold(*this);
    finished_.erase(url);
}

void CDownloadManager::StartQueuedDownloads()
{
    ManagerLock hold(*this);
    std::vector<std::string> urls;
    for (const auto& entry : tasks_)
        urls.push_back(entry.first);
    for (const std::string& url : urls) {
        StartDownload(url);
        if (pending_ >= maxRunning)
            break;
    }
}

void CDownloadManager::ClearAllDownloads()
{
    ManagerLock hold(*this);
    for (auto& entry : tasks_) {
        DeleteDownloader(entry.second.downloader);
        entry.second.downloader = nullptr;
    }
    DownloadTaskMap().swap(tasks_);
    CompletedDownloadMap().swap(finished_);
}

bool CDownloadManager::MoveToFinished(const CompletedDownloadRecord& record)
{
    ManagerLock hold(*this);
    tasks_.erase(record.url);
    CompletedDownload& done = finished_[record.url];
    done.listName = record.fileName;
    done.downloadPath = record.folder;
    done.copyPath = record.copyPath;
    done.version = record.version;
    done.fileSize = record.size;
    return tasks_.empty();
}

void CDownloadManager::SaveDownloadList()
{
    std::string text;
    {
        ManagerLock hold(*this);
        text = BuildDownloadListText(tasks_, finished_);
    }
    StringCipherKey key = MakeUpdaterCipherKey();
    std::string cipherText = StringCipher(text, key, CipherEncode);
    std::ofstream out(kListFileName, std::ios::out | std::ios::trunc | std::ios::binary);
    out.write(cipherText.data(), static_cast<std::streamsize>(cipherText.size()));
}

void CDownloadManager::LoadDownloadList()
{
    std::string cipherText;
    if (!ReadListFile(cipherText))
        return;
    StringCipherKey key = MakeUpdaterCipherKey();
    std::string text = StringCipher(cipherText, key, CipherDecode);
    std::vector<DownloadRequest> requests;
    std::vector<std::pair<std::string, CompletedDownload>> finished;
    if (!ParseDownloadListText(text, requests, finished))
        return;
    for (const DownloadRequest& request : requests)
        AddFileDownload(request);
    ManagerLock hold(*this);
    for (const auto& entry : finished)
        finished_[entry.first] = entry.second;
}
