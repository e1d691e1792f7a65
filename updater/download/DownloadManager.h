// The updater's bookkeeper of downloads: the manifest ("info") download, the
// file downloads keyed by URL with at most one transferring at a time, the
// finished downloads that the installation moves into place, and the
// enciphered list file "updatefile.list" that lets an interrupted update
// continue where it stopped.
#pragma once

#include "HttpDownload.h"
#include "ListFileSaver.h"

#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

// Result codes; both carry the customer bit of Windows error codes.
enum : int {
    DownloadResultNotUrl = 0x20000001,
    DownloadResultNoTask = 0x20000002,
};

struct DownloadTask
{
    std::string url;
    WORD kind = 0; // "utype"; 0: a CHttpDownload the manager creates
    std::string name;
    CDownloadPublic* downloader = nullptr; // owned by the task
};

struct CompletedDownload
{
    std::string listName;     // final file name
    std::string downloadPath; // folder holding it, with trailing backslash
    std::wstring copyPath;    // where the installation puts it
    std::wstring version;
    DWORD fileSize = 0;
};

struct DownloadRequest
{
    std::string downloadPath;
    std::wstring copyPath;
    std::wstring version;
    std::string cfgFile;
    DWORD percent = 0;
    DWORD fileLength = 0;
    std::string url;
    WORD kind = 0;
    std::string fileName;
    CDownloadPublic* downloader = nullptr; // used only when kind is not 0
};

typedef std::unordered_map<std::string, DownloadTask> DownloadTaskMap;
typedef std::unordered_map<std::string, CompletedDownload> CompletedDownloadMap;

class CDownloadManager
{
public:
    static const char kListFileName[];
    // Deletes the list file of the current folder.
    static void DeleteListFile() { DeleteFileA(kListFileName); }

    CDownloadManager();
    ~CDownloadManager();

    CDownloadManager(const CDownloadManager&) = delete;
    CDownloadManager& operator=(const CDownloadManager&) = delete;

    void SetOwner(HWND window) { m_owner = window; }
    // The step deadline of the downloads made from now on.
    void SetStepDeadline(DWORD stepMs) { m_stepDeadlineMs = stepMs; }
    HWND GetOwner() const { return m_owner; }

    void StartInfoDownload(const std::string& url, const std::wstring& folder);
    std::shared_ptr<CHttpDownload> GetInfoDownload();
    void ReleaseInfoDownload();

    int AddFileDownload(DownloadRequest request);
    int StartDownload(const std::string& url);
    int StopDownload(const std::string& url, bool remove);
    int RemoveDownload(const std::string& url);
    int StopAllDownloads();
    int GetDownloadPercent(const std::string& url);
    void RemoveCompletedDownload(const std::string& url);
    void StartQueuedDownloads();
    void ClearAllDownloads();

    // The size and SHA-256 the signed manifest gives for the file at `url`:
    // its download ends only with those bytes, and the installation moves or
    // starts it only while they still match.
    void ExpectDigest(const std::string& url, const FileDigest& digest);
    bool ExpectedDigest(const std::string& url, FileDigest& digest);

    // A finished file moves from the task map to the finished map; the
    // record's downloader is left to the caller. True when no task is left.
    bool MoveToFinished(const CompletedDownloadRecord& record);

    void LoadDownloadList();
    void SaveDownloadList();

    // The maps may be read and changed only between Lock and Unlock.
    void Lock() { EnterCriticalSection(&m_lock); }
    void Unlock() { LeaveCriticalSection(&m_lock); }
    DownloadTaskMap& Tasks() { return m_tasks; }
    CompletedDownloadMap& Finished() { return m_finished; }

    LONG DecrementPending() { return InterlockedDecrement(&m_pending); }
    LONG Pending() const { return m_pending; }
    WORD maxRunning = 1;

private:
    static void DeleteDownloader(CDownloadPublic* downloader);
    // With m_controlLock held.
    bool IsStopping(const CDownloadPublic* downloader) const;
    void WaitForStopOf(const CDownloadPublic* downloader);
    // False when there is no such task.
    bool WaitForTaskOutOfStop(const std::string& url);
    void StopLeavingControl(CDownloadPublic* downloader);
    void DeleteLeavingControl(CDownloadPublic* downloader);

    HWND m_owner = nullptr;
    DownloadTaskMap m_tasks;
    CompletedDownloadMap m_finished;
    CRITICAL_SECTION m_lock;
    CRITICAL_SECTION m_controlLock; // serialises control operations, see StartDownload
    CONDITION_VARIABLE m_stopEnded; // a stop left the list below, under m_controlLock
    std::vector<CDownloadPublic*> m_stopping;
    std::unordered_map<std::string, FileDigest> m_digests; // under m_lock
    LONG m_saveCount = 0;                                  // snapshots taken, under m_lock
    ListFileSaver m_listSaver;
    volatile LONG m_pending = 0;
    std::shared_ptr<CHttpDownload> m_info;
    BYTE m_winsockStarted = 0;
    DWORD m_stepDeadlineMs = CDownloadPublic::kStepDeadlineMs;
};
