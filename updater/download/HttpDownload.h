// Fetches one URL over HTTP or HTTPS into a file, resumably, with WinINet in
// asynchronous mode. A probe request learns the final URL (following
// redirects itself), the length, the server's file name and whether byte
// ranges are accepted; a worker then runs one thread per byte range, which
// fetches its range in bounded pieces over one connection and writes into the
// shared partial file; the worker retries broken ranges, and on a user stop
// leaves resume records from which the next run continues.
#pragma once

#include "DeferredClose.h"
#include "DownloadParam.h"
#include "DownloadPublic.h"
#include "ResumeRecordFile.h"

#include <atomic>
#include <vector>

class CHttpDownload;

// One byte range of the partial file. The range [start, end) is fixed for a
// transfer; `received` counts the bytes of [start, start + received) held so
// far over all runs of the range, `runReceived` those of the current run.
struct DownloadSegment
{
    std::string url;
    DWORD error = 0;
    BYTE completed = 0;
    std::string partialPath;
    BYTE stopped = 0;
    // A body of unknown length ended: the next request asks for what follows
    // it, and only a 416 answer proves that the body really ended there.
    BYTE endToConfirm = 0;
    HANDLE thread = nullptr;
    HANDLE writeLock = nullptr;
    DWORD start = 0;
    DWORD end = 0; // 0: length unknown, read to the end of the body
    std::atomic<DWORD> received{ 0 };
    std::atomic<DWORD> runReceived{ 0 };
    // Of `received`, the bytes flushed to the partial file when the last
    // piece ended: what a resume record may claim while the range runs.
    std::atomic<DWORD> stored{ 0 };
    CHttpDownload* owner = nullptr;
};

// What the engine learnt from the headers of one range answer.
struct RangeAnswer
{
    long long length = -1; // Content-Length, -1 when absent
    bool partial = false;  // 206: the server sent the range asked for
};

class CHttpDownload : public CDownloadPublic
{
public:
    static const int kMaxRetries = 3;
    static const int kMaxRedirects = 16;
    static const WORD kProtocolHttps = 1;

    CHttpDownload();
    ~CHttpDownload() override;

    DWORD OpenSession() override;
    DWORD StartTransfer() override;
    DWORD Stop() override;
    DWORD StartProbe() override;
    DWORD SaveResumeRecords() override;
    int GetPercent() override;
    int GetBytesSinceLastQuery() override;
    void CloseSession() override;
    void SetProtocol(WORD code) override;
    WORD GetProtocol() override;
    bool AreThreadsValid() override;

    HANDLE writeLock = nullptr;
    std::vector<DownloadSegment*> segments;
    volatile LONG probeRunning = 0;
    volatile LONG workerRunning = 0;
    WORD segmentCount = 1;
    HANDLE workerThread = nullptr;
    HANDLE probeThread = nullptr;
    WORD protocol = 3;
    LONG lastByteSum = 0;
    // The server's validator of the content (ETag, else Last-Modified) as
    // the probe saw it; empty when the server gives none.
    std::string validator;

private:
    static unsigned __stdcall ProbeThreadProc(void* self);
    static unsigned __stdcall WorkerThreadProc(void* self);
    static unsigned __stdcall SegmentThreadProc(void* segment);

    // probe
    void RunProbe();
    bool CrackCurrentUrl();
    void TakeNamesFromUrl();
    struct ProbeRequest
    {
        HINTERNET connection = nullptr;
        HINTERNET request = nullptr;
    };
    AsyncWaitResult SendProbeRequest(DownloadParam& param, ProbeRequest& probe);
    static void CloseProbeRequest(ProbeRequest& probe);
    bool ProbeFollowingRedirects(DownloadParam& param, ProbeRequest& probe, bool& stopped);
    bool ReadProbeHeaders(HINTERNET handle);
    bool TakeLengthFromContentLength(HINTERNET handle);
    bool TakeLengthFromContentRange(HINTERNET handle);
    void TakeValidator(HINTERNET handle);
    void SetNames(const std::string& newFileName, const std::string& newCfgFile);
    void SetUrl(const std::string& newUrl);
    void FailProbe();

    // transfer
    void RunWorker();
    // One pass over every range; true when it failed.
    bool RunTransferOnce();
    void CloseWriteLock();
    bool PartialFileMatchesDigest() const;
    void DiscardPartialFile();
    bool PlanResume(const std::string& partial, std::vector<ResumeRecord>& ranges);
    bool LoadResumeRecords(const std::string& partial, std::vector<ResumeRecord>& ranges);
    ResumeStamp CurrentStamp() const;
    bool RestartAtZero(DownloadSegment& segment);
    void PlanFreshStart(const std::string& partial, std::vector<ResumeRecord>& ranges);
    bool StartSegmentThread(DownloadSegment* segment);
    bool WaitForSegments();
    // Resume records kept current while the transfer runs, so that a killed
    // run leaves what the next one continues from.
    bool CanResumeLater() const;
    // Every range as a record that claims the bytes `held` counts of it.
    std::vector<ResumeRecord> SegmentRecords(std::atomic<DWORD> DownloadSegment::*held);
    DWORD SaveStoredRecords();
    void RecordPieceStored(DownloadSegment& segment, HANDLE file);
    void FinishTransfer(bool failed);
    void FreeSegments();
    bool PartialFileIsComplete() const;
    static void JoinThread(HANDLE& thread);

    // one range
    void RunSegment(DownloadSegment& segment);
    bool Await(DownloadParam& param, DownloadSegment& segment, BOOL immediate);
    bool ConnectRange(DownloadParam& param, DownloadSegment& segment, HINTERNET& connection);
    // Hands the connection over (and sets it to null) when a stop cuts a piece.
    bool FetchPiece(DownloadParam& param, HINTERNET& connection, HANDLE file, DownloadSegment& segment);
    bool OpenRangeRequest(DownloadParam& param, DownloadSegment& segment, HINTERNET connection, DWORD pieceEnd,
                          HINTERNET& request);
    bool CheckRangeResponse(HINTERNET request, DownloadSegment& segment, DWORD& pieceEnd, RangeAnswer& answer);
    bool ReadRangeBody(DownloadParam& param, HINTERNET request, HANDLE file, DownloadSegment& segment, DWORD pieceEnd,
                       const RangeAnswer& answer);
    bool EndOfUnknownLength(DownloadSegment& segment, const RangeAnswer& answer, DWORD bytes);
    std::string BuildProbeHeaders() const;
    std::string BuildRangeHeaders(DWORD from, const std::string& last) const;
    std::string Referrer() const;
    DWORD SumReceived();

    // The scheme of the address last cracked is https.
    bool secureUrl = false;
    // Cut pieces and the session are closed through it, in WinINet's order.
    DeferredClose closer;
};
