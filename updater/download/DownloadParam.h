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
};

enum AsyncWaitResult {
    AsyncDone,
    AsyncFailed,
    AsyncStopped,
    AsyncTimedOut,
};

// Shared between the issuing thread and WinINet: every handle created with
// this context holds a reference until its HANDLE_CLOSING callback, so a
// late callback or a pending read never touches freed memory.
class DownloadParam
{
public:
    // A read completes only when its buffer is full or the body ends, so the
    // size is also the step in which progress moves on a slow link.
    static constexpr DWORD kReadSize = 0x10000;
    // Reads go straight into this block, which is written to the file when
    // full, so the file is written once per block, not per read. 1 MiB
    // measured faster here than 8 MiB: smaller writes overlap better with the
    // page cache's write-back.
    static constexpr DWORD kBlockSize = 0x100000;

    explicit DownloadParam(WORD kind);

    DownloadParam(const DownloadParam&) = delete;
    DownloadParam& operator=(const DownloadParam&) = delete;

    bool IsValid() const;
    void AddRef();
    void Release();

    // Called before each operation: its completion is the next one the
    // status callback counts. Costs no system call, since reads that
    // complete at once run thousands of times per second.
    void PrepareAsync();
    // Waits for the pending operation: done, failed (error set) or stopped.
    // A signal left from an earlier operation is recognised by the count and
    // waited past. An operation still pending after `stepMs` is timed out;
    // WinINet may complete it later, into this context, which the handles
    // keep alive.
    AsyncWaitResult Wait(HANDLE stopEvent, DWORD stepMs);
    // Called by the status callback when an operation completed.
    void Complete(DWORD resultError);

    volatile WORD kind;
    HANDLE handleCreated = nullptr;
    HANDLE requestDone = nullptr;
    HANDLE requestFailed = nullptr;
    HANDLE handleClosing = nullptr;
    HINTERNET volatile handle = nullptr;
    HINTERNET volatile requestHandle = nullptr;
    volatile DWORD error = 0;
    volatile LONG completions = 0;
    LONG expected = 1;

    INTERNET_BUFFERSA readBuffers;
    // The read block, made on first use; it lives as long as this context, so
    // a read WinINet completes after a stop still has its memory.
    char* Block();

private:
    ~DownloadParam();

    volatile LONG refs = 1;
    char* m_block = nullptr;
};

void CALLBACK DownloadStatusCallback(HINTERNET handle, DWORD_PTR context, DWORD status, LPVOID info, DWORD infoLength);
