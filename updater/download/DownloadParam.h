// The context of one WinINet request: the events through which the status
// callback hands results to the thread that issued the request, and the
// buffers WinINet may still fill after that thread stopped waiting.
#pragma once

#include <windows.h>
#include <wininet.h>

// The system reads these records by size: on 32-bit Windows they must have
// the sizes the system expects there.
static_assert(sizeof(void*) != 4 || sizeof(INTERNET_BUFFERSA) == 40, "read buffers handed to WinINet");

enum DownloadParamKind : WORD {
    ParamConnect = 0,
    ParamOpenRequest = 1,
    ParamOpenUrl = 2,
};

enum AsyncWaitResult {
    AsyncDone,
    AsyncFailed,
    AsyncStopped,
};

// Shared between the issuing thread and WinINet: every handle created with
// this context holds a reference until its HANDLE_CLOSING callback, so a
// late callback or a pending read never touches freed memory.
class DownloadParam {
public:
    // A read completes only when its buffer is full or the body ends, so the
    // size is also the step in which progress moves on a slow link.
    static constexpr DWORD kReadSize = 0x10000;

    explicit DownloadParam(WORD kind);

    DownloadParam(const DownloadParam&) = delete;
    DownloadParam& operator=(const DownloadParam&) = delete;

    bool IsValid() const;
    void AddRef();
    void Release();

    // Forgets results of earlier operations before a new one starts.
    void PrepareAsync();
    // Waits for the pending operation: done, failed (error set) or stopped.
    AsyncWaitResult Wait(HANDLE stopEvent);

    volatile WORD kind;
    HANDLE handleCreated = nullptr;
    HANDLE requestDone = nullptr;
    HANDLE requestFailed = nullptr;
    HANDLE handleClosing = nullptr;
    HINTERNET volatile handle = nullptr;
    HINTERNET volatile requestHandle = nullptr;
    volatile DWORD error = 0;

    INTERNET_BUFFERSA readBuffers;
    char readData[kReadSize];

private:
    ~DownloadParam();

    volatile LONG refs = 1;
};

void CALLBACK DownloadStatusCallback(HINTERNET handle, DWORD_PTR context, DWORD status,
                                     LPVOID info, DWORD infoLength);
