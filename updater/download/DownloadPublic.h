// Base of every download: what each one holds (folder, names, owner window,
// stop event, state) and the two steps that end it: turning the finished
// partial file into the final file, and telling the owner window.
#pragma once

#include "FileDigest.h"

#include <windows.h>
#include <wininet.h>

#include <atomic>
#include <string>

// Posted to the owner window; WM_USER is 0x400.
enum : UINT {
    WM_DOWNLOAD_PROBED = WM_USER + 1001,     // wParam: heap copy of the URL (char[], delete[])
    WM_DOWNLOAD_FAILED = WM_USER + 1002,     // wParam: the CDownloadPublic
    WM_DOWNLOAD_COMPLETED = WM_USER + 1003,  // wParam: new CompletedDownloadRecord
    WM_MANIFEST_PROBED = WM_USER + 1004,     // wParam: the CDownloadPublic
    WM_MANIFEST_DOWNLOADED = WM_USER + 1005, // wParam: the CDownloadPublic
    WM_MANIFEST_FAILED = WM_USER + 1009,     // wParam, lParam: 0
};

enum DownloadState : WORD {
    DownloadFailed = 0,
    DownloadWaiting = 1, // also: stopped
    DownloadRunning = 2,
    DownloadDone = 4,
};

class CDownloadPublic;

// Posted with WM_DOWNLOAD_COMPLETED; the receiver deletes it and closes and
// deletes `download`.
struct CompletedDownloadRecord
{
    std::string url; // queuedUrl: the download manager's key
    std::string folder;
    std::string fileName; // final name after any "_new" renaming
    std::wstring copyPath;
    std::wstring version;
    DWORD size = 0;
    CDownloadPublic* download = nullptr;
};

// Frees the URL copy posted with WM_DOWNLOAD_PROBED.
void FreePostedUrl(WPARAM wParam);

class CDownloadPublic
{
public:
    CDownloadPublic();
    virtual ~CDownloadPublic();

    CDownloadPublic(const CDownloadPublic&) = delete;
    CDownloadPublic& operator=(const CDownloadPublic&) = delete;

    virtual DWORD OpenSession();
    virtual DWORD StartTransfer();
    virtual DWORD Stop();
    virtual DWORD StartProbe();
    virtual void FinishDownloadedFile();
    virtual void OnDownloadFailed();
    virtual DWORD SaveResumeRecords();
    virtual int GetPercent();
    virtual int GetBytesSinceLastQuery();
    virtual void CloseSession();
    virtual void SetProtocol(WORD code);
    virtual WORD GetProtocol();
    virtual bool AreThreadsValid();

    bool IsStopSignalled() const;
    // The same without a system call, for the read loop: `Stop` sets
    // `cancelled` before it signals the stop event.
    bool IsStopRequested() { return InterlockedCompareExchange(&cancelled, 1, 1) == 1; }

    // The names the probe may still change, read together under `lock` by
    // threads other than the probe's (the list save, the wizard).
    struct Names
    {
        std::string fileName;
        std::string cfgFile;
        std::string url;
    };
    Names GetNames();

    // Set directly by the download manager before the first start. Fields the
    // transfer threads change while others read them are atomic; the names
    // the probe changes are written under `lock`.
    std::string folder; // with trailing backslash
    HWND owner = nullptr;
    HINTERNET session = nullptr;
    CRITICAL_SECTION lock;
    HANDLE stopEvent = nullptr;
    std::string fileName;
    std::string cfgFile;
    std::string url;
    std::string queuedUrl;
    std::atomic<WORD> state{ DownloadWaiting };
    std::atomic<DWORD> percent{ 0 };
    char host[256] = {};
    char urlPath[2048] = {};
    char userName[256] = {};
    char password[256] = {};
    INTERNET_PORT port = 0;
    std::atomic<BYTE> probing{ 0 };
    std::atomic<BYTE> probed{ 0 };
    volatile LONG cancelled = 0;
    BYTE isInfo = 0;
    std::wstring copyPath;
    std::wstring version;
    // What the signed manifest gives for the file; set by the manager before
    // each start. A download with a digest ends only with exactly these bytes.
    bool hasDigest = false;
    FileDigest expectedDigest;
    BYTE redirected = 0;
    std::string preRedirectUrl;
    std::atomic<DWORD> contentLength{ 0 };
    std::atomic<BYTE> resumable{ 0 };
    // How long one network step (a request until its answer's headers, one
    // read of the body) may take before it fails as timed out. The engine
    // keeps it itself: some WinINet builds ignore their own time-outs, and a
    // server that accepts and never answers would hold the download for good.
    // A read completes when its buffer is full, so a body slower than a read
    // buffer per step is cut as well.
    static const DWORD kStepDeadlineMs = 30000;
    DWORD stepDeadlineMs = kStepDeadlineMs;

protected:
    bool Post(UINT message, WPARAM wParam, LPARAM lParam) const;
    bool RenamePartialFile();
    void PostCompleted();
};
