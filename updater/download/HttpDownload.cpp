#include "HttpDownload.h"

#include "AnsiText.h"
#include "DownloadFileIo.h"
#include "FileDigest.h"
#include "HttpHeaders.h"
#include "SafeFileName.h"

#include <mmsystem.h>
#include <process.h>

#include <algorithm>
#include <initializer_list>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {
const char kCommonHeaders[] = "Accept: */*\r\n"
                              "Cache-Control: no-cache\r\n"
                              "Connection: Keep-Alive\r\n"
                              "Pragma: no-cache\r\n"
                              "User-Agent: Mozilla/5.0 (compatible; MSIE 9.0; Windows NT 6.1; Trident/5.0)\r\n"
                              "HOST: ";

// The probe asks for the first byte only: the total comes from Content-Range,
// and closing the answer leaves no body behind that WinINet would read to its
// end to keep the connection. A server that ignores ranges sends the whole
// file with 200: its Content-Length is then the total, and closing that
// answer may still cost reading it.
const char kProbeRange[] = "Range: bytes=0-0\r\n";

const DWORD kProbeFlags = INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_AUTO_REDIRECT;
const DWORD kRangeFlags = INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE | INTERNET_FLAG_KEEP_CONNECTION;
// The server's certificate is checked in full: a body from a server that is
// not the one named is no update.
const DWORD kSecureRangeFlags = kRangeFlags | INTERNET_FLAG_SECURE;

const DWORD kPieceSize = 0x1000000;
const DWORD kConnectTimeoutMs = 20000;
const DWORD kReceiveTimeoutMs = 60000;

// An error code for failures that leave no system error behind.
DWORD OrInternalError(DWORD error)
{
    return error ? error : ERROR_INTERNET_INTERNAL_ERROR;
}

bool FileExists(const std::string& path)
{
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

} // namespace

CHttpDownload::CHttpDownload() = default;

CHttpDownload::~CHttpDownload()
{
    if (probeThread || workerThread) Stop();
    FreeSegments();
    if (session) CloseSession();
}

// ---------------------------------------------------------------- session

DWORD CHttpDownload::OpenSession()
{
    DWORD perServer = 128, perServer10 = 256;
    InternetSetOptionW(nullptr, INTERNET_OPTION_MAX_CONNS_PER_SERVER, &perServer, sizeof(perServer));
    InternetSetOptionW(nullptr, INTERNET_OPTION_MAX_CONNS_PER_1_0_SERVER, &perServer10, sizeof(perServer10));

    DWORD connection = 0;
    if (!InternetGetConnectedState(&connection, 0)) return OrInternalError(GetLastError());
    if (session) CloseSession();

    char agent[32];
    snprintf(agent, sizeof(agent), "Agent%ld", static_cast<long>(timeGetTime()));
    DWORD access = (connection & INTERNET_CONNECTION_PROXY) ? INTERNET_OPEN_TYPE_PRECONFIG
                                                            : INTERNET_OPEN_TYPE_PRECONFIG_WITH_NO_AUTOPROXY;
    session = InternetOpenA(agent, access, nullptr, nullptr, INTERNET_FLAG_ASYNC);
    if (!session) return OrInternalError(GetLastError());

    DWORD connectTimeout = kConnectTimeoutMs, receiveTimeout = kReceiveTimeoutMs;
    InternetSetOptionW(session, INTERNET_OPTION_CONNECT_TIMEOUT, &connectTimeout, sizeof(connectTimeout));
    InternetSetOptionW(session, INTERNET_OPTION_RECEIVE_TIMEOUT, &receiveTimeout, sizeof(receiveTimeout));
    if (InternetSetStatusCallbackW(session, DownloadStatusCallback) == INTERNET_INVALID_STATUS_CALLBACK)
        return OrInternalError(GetLastError());
    return 0;
}

void CHttpDownload::CloseSession()
{
    if (!session) return;
    closer.CloseSession(session);
    session = nullptr;
}

void CHttpDownload::SetProtocol(WORD code)
{
    protocol = code;
}
WORD CHttpDownload::GetProtocol()
{
    return protocol;
}

bool CHttpDownload::AreThreadsValid()
{
    for (HANDLE thread : { workerThread, probeThread }) {
        if (!thread) continue; // none started, or joined by Stop
        DWORD wait = WaitForSingleObject(thread, 0);
        if (wait != WAIT_TIMEOUT && wait != WAIT_OBJECT_0) return false;
    }
    return true;
}

void CHttpDownload::JoinThread(HANDLE& thread)
{
    if (!thread) return;
    WaitForSingleObject(thread, INFINITE);
    CloseHandle(thread);
    thread = nullptr;
}

DWORD CHttpDownload::Stop()
{
    InterlockedExchange(&cancelled, 1);
    state = DownloadWaiting;
    SetEvent(stopEvent);
    JoinThread(probeThread);
    JoinThread(workerThread);
    InterlockedExchange(&probeRunning, 0);
    InterlockedExchange(&workerRunning, 0);
    return 0;
}

// ---------------------------------------------------------------- probe

DWORD CHttpDownload::StartProbe()
{
    JoinThread(probeThread);
    probing = 1;
    ResetEvent(stopEvent);
    InterlockedExchange(&cancelled, 0);
    probeThread = reinterpret_cast<HANDLE>(_beginthreadex(nullptr, 0, ProbeThreadProc, this, 0, nullptr));
    if (!probeThread) {
        probing = 0;
        return OrInternalError(GetLastError());
    }
    return 0;
}

unsigned __stdcall CHttpDownload::ProbeThreadProc(void* self)
{
    static_cast<CHttpDownload*>(self)->RunProbe();
    return 0;
}

void CHttpDownload::FailProbe()
{
    state = DownloadFailed;
    probing = 0;
    OnDownloadFailed();
}

bool CHttpDownload::CrackCurrentUrl()
{
    char newHost[sizeof(host)] = {};
    char newPath[sizeof(urlPath)] = {};
    URL_COMPONENTSA parts = {};
    parts.dwStructSize = sizeof(parts);
    parts.lpszHostName = newHost;
    parts.dwHostNameLength = sizeof(newHost);
    parts.lpszUrlPath = newPath;
    parts.dwUrlPathLength = sizeof(newPath);
    if (!InternetCrackUrlA(url.c_str(), 0, ICU_ESCAPE, &parts)) return false;
    memcpy(host, newHost, sizeof(host));
    memcpy(urlPath, newPath, sizeof(urlPath));
    port = parts.nPort;
    secureUrl = parts.nScheme == INTERNET_SCHEME_HTTPS;
    return true;
}

// The resume file is named after the URL, the final file after the server's
// name when it gives one.
void CHttpDownload::TakeNamesFromUrl()
{
    std::string path = urlPath;
    size_t query = path.rfind('?');
    if (query != std::string::npos) path.resize(query);
    size_t slash = path.rfind('/');
    std::string name = slash == std::string::npos ? std::string() : path.substr(slash + 1);
    if (!IsSafeFileName(name)) name = "unknow";
    SetNames(fileName.empty() ? name : fileName, folder + name + ".Cfg");
}

void CHttpDownload::SetNames(const std::string& newFileName, const std::string& newCfgFile)
{
    EnterCriticalSection(&lock);
    fileName = newFileName;
    cfgFile = newCfgFile;
    LeaveCriticalSection(&lock);
}

void CHttpDownload::SetUrl(const std::string& newUrl)
{
    EnterCriticalSection(&lock);
    url = newUrl;
    LeaveCriticalSection(&lock);
}

std::string CHttpDownload::BuildProbeHeaders() const
{
    return std::string(kProbeRange) + kCommonHeaders + host + "\r\n";
}

// The probe's connection and request are both made here, on this thread,
// before anything is waited for. WinINet's asynchronous open would make them
// later on a thread of its own: a stop in between left the context with no
// handle holding it, so it was freed under callbacks still to come, and a
// session closed meanwhile cut down a request WinINet was still building.
AsyncWaitResult CHttpDownload::SendProbeRequest(DownloadParam& param, ProbeRequest& probe)
{
    const DWORD_PTR context = reinterpret_cast<DWORD_PTR>(&param);
    param.kind = ParamConnect;
    probe.connection = InternetConnectA(session, host, port, userName, password, INTERNET_SERVICE_HTTP, 0, context);
    if (!probe.connection) return AsyncFailed;
    param.kind = ParamOpenRequest;
    // The scheme of the address asks for TLS too, as after a redirect to https.
    const DWORD flags = protocol == kProtocolHttps || secureUrl ? kProbeFlags | INTERNET_FLAG_SECURE : kProbeFlags;
    probe.request = HttpOpenRequestA(probe.connection, "GET", urlPath, nullptr, nullptr, nullptr, flags, context);
    if (!probe.request) return AsyncFailed;
    const std::string headers = BuildProbeHeaders();
    param.PrepareAsync();
    if (HttpSendRequestA(probe.request, headers.c_str(), static_cast<DWORD>(headers.size()), nullptr, 0))
        return AsyncDone;
    if (GetLastError() != ERROR_IO_PENDING) return AsyncFailed;
    return param.Wait(stopEvent, stepDeadlineMs);
}

void CHttpDownload::CloseProbeRequest(ProbeRequest& probe)
{
    if (probe.request) InternetCloseHandle(probe.request);
    if (probe.connection) InternetCloseHandle(probe.connection);
    probe = ProbeRequest();
}

// True with `probe` holding the final answer. A request cut by a stop stays
// in `probe`, for the caller to hand over.
bool CHttpDownload::ProbeFollowingRedirects(DownloadParam& param, ProbeRequest& probe, bool& stopped)
{
    for (int redirects = 0;; ++redirects) {
        const AsyncWaitResult result = SendProbeRequest(param, probe);
        if (result == AsyncStopped) {
            stopped = true;
            return false;
        }
        if (result != AsyncDone) return false;
        char location[2084];
        if (!QueryHeaderA(probe.request, HTTP_QUERY_LOCATION, location, sizeof(location))) return true;
        CloseProbeRequest(probe);
        if (redirects >= kMaxRedirects) return false;
        redirected = 1;
        preRedirectUrl = url;
        SetUrl(location);
        if (!CrackCurrentUrl()) return false;
    }
}

// A strong ETag names the content exactly; Last-Modified is the fallback that
// If-Range also accepts. A weak ETag may not be used with If-Range.
void CHttpDownload::TakeValidator(HINTERNET handle)
{
    char text[512];
    validator.clear();
    if (QueryHeaderA(handle, HTTP_QUERY_ETAG, text, sizeof(text)) && text[0] == '"')
        validator = text;
    else if (QueryHeaderA(handle, HTTP_QUERY_LAST_MODIFIED, text, sizeof(text)) && text[0])
        validator = text;
}

// The engine counts in 32 bits: a longer file cannot be fetched.
bool CHttpDownload::TakeLengthFromContentLength(HINTERNET handle)
{
    wchar_t lengthText[128] = {};
    DWORD size = sizeof(lengthText) - sizeof(wchar_t);
    contentLength = 0;
    if (!HttpQueryInfoW(handle, HTTP_QUERY_CONTENT_LENGTH, lengthText, &size, nullptr)) return true;
    unsigned long long length = _wcstoui64(lengthText, nullptr, 10);
    if (length > 0xFFFFFFFFull) return false;
    contentLength = static_cast<DWORD>(length);
    return true;
}

// A 206 answer to the probe must be the first byte; its total ("*" when the
// server does not know it) is the file's length.
bool CHttpDownload::TakeLengthFromContentRange(HINTERNET handle)
{
    char rangeText[128];
    DWORD first = 0;
    long long total = -1;
    if (!QueryHeaderA(handle, HTTP_QUERY_CONTENT_RANGE, rangeText, sizeof(rangeText)) ||
        !ParseContentRange(rangeText, first, total) || first != 0 || total > 0xFFFFFFFFll)
        return false;
    contentLength = total < 0 ? 0 : static_cast<DWORD>(total);
    return true;
}

bool CHttpDownload::ReadProbeHeaders(HINTERNET handle)
{
    DWORD status = 0;
    if (!QueryStatusCode(handle, status) || status < 200 || status > 299) return false;
    // A 206 proves that ranges work even where Accept-Ranges is left out.
    const bool partial = status == HTTP_STATUS_PARTIAL_CONTENT;
    if (partial ? !TakeLengthFromContentRange(handle) : !TakeLengthFromContentLength(handle)) return false;

    // The name comes from the manifest alone, never from Content-Disposition:
    // the server does not choose where a file lands or what it replaces.
    TakeValidator(handle);

    char ranges[10];
    resumable = partial ||
        (QueryHeaderA(handle, HTTP_QUERY_ACCEPT_RANGES, ranges, sizeof(ranges)) && strcmp(ranges, "bytes") == 0);
    return true;
}

void CHttpDownload::RunProbe()
{
    InterlockedExchange(&probeRunning, 1);
    // A new probe starts again from the queued address, not from where the
    // last one was redirected to, so the manager's key never changes.
    if (queuedUrl.empty()) queuedUrl = url;
    SetUrl(queuedUrl);
    redirected = 0;
    validator.clear();
    probed = 0;

    DownloadParam* param = new DownloadParam(ParamConnect);
    if (!param->IsValid() || OpenSession() != 0 || !CrackCurrentUrl()) {
        param->Release();
        FailProbe();
        return;
    }
    TakeNamesFromUrl();

    bool stopped = false;
    ProbeRequest probe;
    const bool answered = ProbeFollowingRedirects(*param, probe, stopped);
    if (stopped) {
        // The pool closes the cut request; its handles keep the context.
        if (probe.request) closer.CloseCutPiece(probe.request, probe.connection);
        probing = 0;
        state = DownloadWaiting;
        param->Release();
        return;
    }
    bool ok = answered && ReadProbeHeaders(probe.request);
    CloseProbeRequest(probe);
    param->Release();
    if (!ok) {
        FailProbe();
        return;
    }
    probed = 1;
    probing = 0;
    if (IsStopSignalled() || InterlockedCompareExchange(&cancelled, 1, 1) == 1) return;
    if (isInfo) {
        Post(WM_MANIFEST_PROBED, reinterpret_cast<WPARAM>(this), cancelled);
        return;
    }
    // The receiver may handle the message after this object is gone: it gets
    // its own copy of the address.
    char* copy = new char[queuedUrl.size() + 1];
    memcpy(copy, queuedUrl.c_str(), queuedUrl.size() + 1);
    if (!Post(WM_DOWNLOAD_PROBED, reinterpret_cast<WPARAM>(copy), cancelled)) delete[] copy;
}

// ---------------------------------------------------------------- transfer

DWORD CHttpDownload::StartTransfer()
{
    JoinThread(workerThread);
    state = DownloadRunning;
    InterlockedExchange(&cancelled, 0);
    ResetEvent(stopEvent);
    segmentCount = 1;
    workerThread = reinterpret_cast<HANDLE>(_beginthreadex(nullptr, 0, WorkerThreadProc, this, 0, nullptr));
    if (!workerThread) {
        state = DownloadFailed;
        return OrInternalError(GetLastError());
    }
    return 0;
}

unsigned __stdcall CHttpDownload::WorkerThreadProc(void* self)
{
    static_cast<CHttpDownload*>(self)->RunWorker();
    return 0;
}

// What the partial file must belong to: this length, this server content and
// this version from the manifest.
ResumeStamp CHttpDownload::CurrentStamp() const
{
    ResumeStamp stamp;
    stamp.total = contentLength;
    stamp.validator = validator;
    stamp.version = WideToUtf8(version);
    return stamp;
}

// Reads the last block of resume records. It is used only when its stamp
// matches what the probe saw, and its records lie inside the file's length and
// behind bytes the partial file really holds; anything else means the records
// do not belong to this partial file.
bool CHttpDownload::LoadResumeRecords(const std::string& partial, std::vector<ResumeRecord>& ranges)
{
    DWORD partialSize = 0;
    std::vector<ResumeRecord> records;
    ResumeStamp stamp;
    bool stamped = false;
    if (!QueryFileSize(partial, partialSize) || !ResumeRecordFile::Read(cfgFile, records, stamp, stamped) || !stamped)
        return false;
    const ResumeStamp current = CurrentStamp();
    if (stamp.total != current.total || stamp.validator != current.validator || stamp.version != current.version)
        return false;
    for (const ResumeRecord& record : records) {
        if (record.start > record.end || record.end > contentLength || record.received > record.end - record.start ||
            record.start + record.received > partialSize)
            return false;
        if (record.start + record.received < record.end)
            ranges.push_back({ record.start + record.received, record.end, 0 });
    }
    return true;
}

// Without a known length and a validator nothing can tell whether a partial
// file still belongs to the content on the server.
bool CHttpDownload::CanResumeLater() const
{
    return resumable && contentLength > 0 && !validator.empty();
}

bool CHttpDownload::PlanResume(const std::string& partial, std::vector<ResumeRecord>& ranges)
{
    if (!CanResumeLater() || !FileExists(cfgFile)) return false;
    if (!LoadResumeRecords(partial, ranges)) {
        ranges.clear();
        return false;
    }
    // What the partial file already holds counts, however the earlier run
    // ended (a killed run never stored its percentage).
    unsigned long long missing = 0;
    for (const ResumeRecord& range : ranges) missing += range.end - range.start;
    percent = static_cast<DWORD>((contentLength - std::min<unsigned long long>(missing, contentLength)) * 100 /
                                 contentLength);
    return true;
}

void CHttpDownload::PlanFreshStart(const std::string& partial, std::vector<ResumeRecord>& ranges)
{
    DeleteFileA(cfgFile.c_str());
    TruncateOrCreateFile(partial);
    percent = 0;
    const DWORD count = contentLength > 0 ? std::max<WORD>(segmentCount, 1) : 1;
    const DWORD length = contentLength / count;
    for (DWORD i = 0; i < count; ++i) {
        DWORD start = i * length;
        DWORD end = i + 1 == count ? contentLength.load() : start + length;
        ranges.push_back({ start, end, 0 });
    }
}

bool CHttpDownload::StartSegmentThread(DownloadSegment* segment)
{
    segment->thread = reinterpret_cast<HANDLE>(_beginthreadex(nullptr, 0, SegmentThreadProc, segment, 0, nullptr));
    return segment->thread != nullptr;
}

// Waits for every range; a range that ended short is continued from where it
// stopped, at most kMaxRetries times per transfer. Returns false on failure.
bool CHttpDownload::WaitForSegments()
{
    bool failed = false;
    int retries = 0;
    for (;;) {
        std::vector<HANDLE> handles;
        std::vector<DownloadSegment*> owners;
        EnterCriticalSection(&lock);
        for (DownloadSegment* segment : segments) {
            if (segment->thread) {
                handles.push_back(segment->thread);
                owners.push_back(segment);
            }
        }
        LeaveCriticalSection(&lock);
        if (handles.empty()) return !failed;

        DWORD wait = WaitForMultipleObjects(static_cast<DWORD>(handles.size()), handles.data(), FALSE, INFINITE);
        if (wait >= WAIT_OBJECT_0 + handles.size()) {
            // The wait itself failed: nothing says the ranges are complete.
            for (size_t i = 0; i < handles.size(); ++i) JoinThread(owners[i]->thread);
            return false;
        }
        DownloadSegment* segment = owners[wait - WAIT_OBJECT_0];
        EnterCriticalSection(&lock);
        CloseHandle(segment->thread);
        segment->thread = nullptr;
        LeaveCriticalSection(&lock);

        bool finished = segment->stopped || segment->completed ||
            (segment->end != 0 && segment->start + segment->received >= segment->end);
        if (finished) continue;
        if (++retries > kMaxRetries) {
            failed = true;
            continue;
        }
        segment->error = 0;
        if (!StartSegmentThread(segment)) failed = true;
    }
}

bool CHttpDownload::PartialFileIsComplete() const
{
    if (contentLength == 0) return true;
    DWORD size = 0;
    return QueryFileSize(folder + fileName + "_Tmp", size) && size == contentLength;
}

// A file the manifest describes is finished only when its bytes are the ones
// it names: a body cut short, or changed on the way, is not a download.
bool CHttpDownload::PartialFileMatchesDigest() const
{
    return !hasDigest || FileMatchesDigest(folder + fileName + "_Tmp", expectedDigest);
}

void CHttpDownload::DiscardPartialFile()
{
    DeleteFileA(cfgFile.c_str());
    DeleteFileA((folder + fileName + "_Tmp").c_str());
    percent = 0;
}

void CHttpDownload::FinishTransfer(bool failed)
{
    if (!IsStopSignalled()) {
        state = failed || !PartialFileIsComplete() ? DownloadFailed : DownloadDone;
    } else {
        percent = static_cast<DWORD>(GetPercent());
        state = DownloadWaiting;
        // A worker shows no UI: a stop whose records cannot be kept is
        // reported to the wizard as a failed download, and what is left of
        // the records goes, so the next run starts over.
        if (resumable && SaveResumeRecords() != 0) {
            DeleteFileA(cfgFile.c_str());
            state = DownloadFailed;
        }
    }
    FreeSegments();
    CloseWriteLock();
    if (state == DownloadDone)
        FinishDownloadedFile();
    else if (state == DownloadFailed)
        OnDownloadFailed();
}

void CHttpDownload::FreeSegments()
{
    EnterCriticalSection(&lock);
    for (DownloadSegment* segment : segments) {
        if (segment->thread) CloseHandle(segment->thread);
        delete segment;
    }
    segments.clear();
    LeaveCriticalSection(&lock);
}

void CHttpDownload::RunWorker()
{
    InterlockedExchange(&workerRunning, 1);
    // A file whose bytes do not match the manifest is fetched once more from
    // byte 0; a second mismatch fails the download.
    for (int attempt = 0;; ++attempt) {
        bool failed = RunTransferOnce();
        if (!failed && !IsStopSignalled() && !PartialFileMatchesDigest()) {
            DiscardPartialFile();
            if (attempt == 0) {
                FreeSegments();
                CloseWriteLock();
                continue;
            }
            failed = true;
        }
        // A failed download of the manifest's file leaves nothing to resume
        // from (records are kept only by a stop): its bytes go with it.
        if (failed && hasDigest && !IsStopSignalled()) DiscardPartialFile();
        FinishTransfer(failed);
        return;
    }
}

void CHttpDownload::CloseWriteLock()
{
    if (writeLock) {
        CloseHandle(writeLock);
        writeLock = nullptr;
    }
}

bool CHttpDownload::RunTransferOnce()
{
    const std::string partial = folder + fileName + "_Tmp";
    std::vector<ResumeRecord> ranges;
    if (!PlanResume(partial, ranges)) PlanFreshStart(partial, ranges);

    char lockName[64];
    snprintf(lockName, sizeof(lockName), "_lumora_update_event%lu", static_cast<unsigned long>(GetTickCount()));
    writeLock = CreateEventA(nullptr, FALSE, TRUE, lockName);

    bool failed = writeLock == nullptr;
    EnterCriticalSection(&lock);
    for (const ResumeRecord& range : ranges) {
        DownloadSegment* segment = new DownloadSegment;
        segment->url = url;
        segment->writeLock = writeLock;
        segment->partialPath = partial;
        segment->owner = this;
        segment->start = range.start;
        segment->end = range.end;
        segments.push_back(segment);
    }
    LeaveCriticalSection(&lock);

    // The record is there before the first byte arrives: a kill at any
    // point finds one.
    if (!failed && CanResumeLater()) SaveStoredRecords();
    for (DownloadSegment* segment : segments) {
        if (!failed && !StartSegmentThread(segment)) failed = true;
    }
    if (!WaitForSegments()) failed = true;
    return failed;
}

std::vector<ResumeRecord> CHttpDownload::SegmentRecords(std::atomic<DWORD> DownloadSegment::*held)
{
    EnterCriticalSection(&lock);
    std::vector<ResumeRecord> records;
    for (const DownloadSegment* segment : segments)
        records.push_back({ segment->start, segment->end, (segment->*held).load() });
    LeaveCriticalSection(&lock);
    return records;
}

DWORD CHttpDownload::SaveStoredRecords()
{
    return ResumeRecordFile::Replace(writeLock, cfgFile, CurrentStamp(), SegmentRecords(&DownloadSegment::stored));
}

// The piece's bytes reach the disk before the record that claims them.
void CHttpDownload::RecordPieceStored(DownloadSegment& segment, HANDLE file)
{
    if (!CanResumeLater() || !FlushFileBuffers(file)) return;
    segment.stored = segment.received.load();
    SaveStoredRecords();
}

DWORD CHttpDownload::SaveResumeRecords()
{
    return ResumeRecordFile::Append(writeLock, cfgFile, CurrentStamp(), SegmentRecords(&DownloadSegment::received));
}

// ---------------------------------------------------------------- one range

unsigned __stdcall CHttpDownload::SegmentThreadProc(void* segment)
{
    DownloadSegment* range = static_cast<DownloadSegment*>(segment);
    range->owner->RunSegment(*range);
    return 0;
}

// Completes one asynchronous step. False when the range must end: stopped,
// or failed with its error stored in the segment.
bool CHttpDownload::Await(DownloadParam& param, DownloadSegment& segment, BOOL immediate)
{
    if (immediate) return true;
    DWORD error = GetLastError();
    if (error != ERROR_IO_PENDING) {
        segment.error = OrInternalError(error);
        return false;
    }
    switch (param.Wait(stopEvent, stepDeadlineMs)) {
    case AsyncDone: return true;
    case AsyncStopped: segment.stopped = 1; return false;
    case AsyncTimedOut: segment.error = ERROR_INTERNET_TIMEOUT; return false;
    default: segment.error = OrInternalError(param.error); return false;
    }
}

std::string CHttpDownload::Referrer() const
{
    const std::string& source = redirected ? preRedirectUrl : url;
    size_t slash = source.rfind('/');
    return slash == std::string::npos ? std::string(host) : source.substr(0, slash);
}

// `last` is the text after the "-": the range's end as the engine counts it
// (servers cut it to the file), a piece's last byte, or nothing.
std::string CHttpDownload::BuildRangeHeaders(DWORD from, const std::string& last) const
{
    std::string headers = "Range: bytes=" + std::to_string(from) + "-" + last + "\r\n";
    // The server sends the range only while its content is still the one
    // the probe saw; otherwise the whole new content comes with 200.
    if (!validator.empty()) headers += "If-Range: " + validator + "\r\n";
    headers += kCommonHeaders;
    headers += host;
    headers += "\r\nReferer: " + Referrer() + "\r\n";
    return headers;
}

bool CHttpDownload::ConnectRange(DownloadParam& param, DownloadSegment& segment, HINTERNET& connection)
{
    param.PrepareAsync();
    connection = InternetConnectA(session, host, port, userName, password, INTERNET_SERVICE_HTTP, 0,
                                  reinterpret_cast<DWORD_PTR>(&param));
    if (connection) return true;
    if (!Await(param, segment, FALSE)) return false;
    connection = param.handle;
    if (!connection) segment.error = ERROR_INTERNET_INTERNAL_ERROR;
    return connection != nullptr;
}

// Sends the GET for [from, pieceEnd) of the range; pieceEnd equal to the
// range's end asks for the rest of the range.
bool CHttpDownload::OpenRangeRequest(DownloadParam& param, DownloadSegment& segment, HINTERNET connection,
                                     DWORD pieceEnd, HINTERNET& request)
{
    param.kind = ParamOpenRequest;
    param.requestHandle = nullptr;
    param.PrepareAsync();
    const DWORD flags = protocol == kProtocolHttps ? kSecureRangeFlags : kRangeFlags;
    request = HttpOpenRequestA(connection, "GET", urlPath, nullptr, nullptr, nullptr, flags,
                               reinterpret_cast<DWORD_PTR>(&param));
    if (!request) {
        if (!Await(param, segment, FALSE)) return false;
        request = param.requestHandle;
        if (!request) {
            segment.error = ERROR_INTERNET_INTERNAL_ERROR;
            return false;
        }
    }

    const DWORD from = segment.start + segment.received;
    std::string last;
    if (pieceEnd != segment.end)
        last = std::to_string(pieceEnd - 1);
    else if (segment.end != 0)
        last = std::to_string(segment.end);
    // One call sends the request and reads the answer's headers. A request
    // closed after a separate send but before its end would hand its
    // connection back to WinINet's pool with that answer still on its way,
    // and the next request over it would read the wrong answer; a stop may
    // close this one at any point.
    std::string headers = BuildRangeHeaders(from, last);
    param.PrepareAsync();
    return Await(param, segment,
                 HttpSendRequestA(request, headers.c_str(), static_cast<DWORD>(headers.size()), nullptr, 0));
}

// Only a 206 whose Content-Range starts where the range continues may be
// written there. A 200 carries the whole file from byte 0, for instance
// because the content changed since the bytes held were fetched: with a
// single range it restarts that range at 0 and is read to the range's end
// (`pieceEnd` becomes that end); otherwise the answer is refused.
// A 416 to the request after a body of unknown length confirms its end.
bool CHttpDownload::CheckRangeResponse(HINTERNET request, DownloadSegment& segment, DWORD& pieceEnd,
                                       RangeAnswer& answer)
{
    const DWORD from = segment.start + segment.received;
    DWORD status = 0;
    if (!QueryStatusCode(request, status)) {
        segment.error = ERROR_HTTP_INVALID_SERVER_RESPONSE;
        return false;
    }
    wchar_t lengthText[64];
    DWORD lengthSize = sizeof(lengthText) - sizeof(wchar_t);
    answer = RangeAnswer();
    answer.partial = status == HTTP_STATUS_PARTIAL_CONTENT;
    if (HttpQueryInfoW(request, HTTP_QUERY_CONTENT_LENGTH, lengthText, &lengthSize, nullptr)) {
        lengthText[std::min<DWORD>(lengthSize / sizeof(wchar_t), 63)] = L'\0';
        answer.length = static_cast<long long>(_wcstoui64(lengthText, nullptr, 10));
    }
    const bool confirming = segment.endToConfirm != 0;
    segment.endToConfirm = 0;
    if (confirming && status == 416 /* range not satisfiable */) {
        segment.completed = 1;
        return false;
    }
    if (status == HTTP_STATUS_PARTIAL_CONTENT) {
        char rangeText[128];
        DWORD first = 0;
        long long total = -1;
        if (!QueryHeaderA(request, HTTP_QUERY_CONTENT_RANGE, rangeText, sizeof(rangeText)) ||
            !ParseContentRange(rangeText, first, total) || first != from ||
            (contentLength != 0 && total >= 0 && total != contentLength)) {
            segment.error = ERROR_HTTP_INVALID_SERVER_RESPONSE;
            return false;
        }
        return true;
    }
    if (status != HTTP_STATUS_OK || (contentLength != 0 && answer.length >= 0 && answer.length != contentLength)) {
        segment.error = ERROR_HTTP_INVALID_SERVER_RESPONSE;
        return false;
    }
    pieceEnd = segment.end;
    if (from == 0) return true;
    return RestartAtZero(segment);
}

bool CHttpDownload::RestartAtZero(DownloadSegment& segment)
{
    EnterCriticalSection(&lock);
    bool single = segments.size() == 1;
    if (single) {
        segment.start = 0;
        segment.received = 0;
        segment.runReceived = 0;
        segment.stored = 0;
        percent = 0;
    }
    LeaveCriticalSection(&lock);
    if (!single) {
        segment.error = ERROR_HTTP_INVALID_SERVER_RESPONSE;
        return false;
    }
    // Old bytes past the new end must not survive into the finished file.
    DWORD error = TruncateOrCreateFile(segment.partialPath);
    if (error) segment.error = error;
    return error == 0;
}

// Reads one answer up to pieceEnd (0: to the end of the body). True when all
// of it arrived and was written; the range then goes on with its next piece,
// or is complete.
bool CHttpDownload::ReadRangeBody(DownloadParam& param, HINTERNET request, HANDLE file, DownloadSegment& segment,
                                  DWORD pieceEnd, const RangeAnswer& answer)
{
    const DWORD_PTR context = reinterpret_cast<DWORD_PTR>(&param);
    const DWORD runBase = segment.received;
    const DWORD runOffset = segment.start + runBase;
    const DWORD runWritten = segment.runReceived;
    char* const block = param.Block();
    DWORD filled = 0;
    DWORD written = 0;
    DWORD writeError = 0;
    DWORD lastRead = 1;

    auto flush = [&]() {
        if (filled == 0 || writeError) return;
        writeError = WriteOpenFileAtOffset(segment.writeLock, file, runOffset + written, block, filled);
        if (!writeError) written += filled;
        filled = 0;
    };

    // Reads complete at once while data is waiting, thousands of times per
    // second, so the loop makes no system call of its own per read: the stop
    // is seen through `cancelled`, and the events are touched only when a
    // read has to wait.
    while ((pieceEnd == 0 || segment.start + segment.received < pieceEnd) && lastRead > 0) {
        // Reads that complete at once never wait on the stop event: on a fast
        // link the range would otherwise run to its end after a stop.
        if (IsStopRequested()) {
            segment.stopped = 1;
            break;
        }
        if (filled > DownloadParam::kBlockSize - DownloadParam::kReadSize) {
            flush();
            if (writeError) break;
        }
        param.readBuffers = INTERNET_BUFFERSA();
        param.readBuffers.dwStructSize = sizeof(INTERNET_BUFFERSA);
        param.readBuffers.lpvBuffer = block + filled;
        param.readBuffers.dwBufferLength = DownloadParam::kReadSize;
        param.PrepareAsync();
        BOOL immediate = InternetReadFileExA(request, &param.readBuffers, IRF_ASYNC, context);
        if (!Await(param, segment, immediate)) break;
        lastRead = std::min(param.readBuffers.dwBufferLength, DownloadParam::kReadSize);
        DWORD usable = lastRead;
        if (pieceEnd != 0) usable = std::min(usable, pieceEnd - (segment.start + segment.received));
        filled += usable;
        segment.runReceived += usable;
        segment.received += usable;
    }
    flush();
    if (writeError) {
        // Bytes that never reached the file must be fetched again.
        segment.error = writeError;
        segment.received = runBase + written;
        segment.runReceived = runWritten + written;
        return false;
    }
    if (segment.stopped || segment.error) return false;
    if (segment.end == 0) return EndOfUnknownLength(segment, answer, segment.received - runBase);
    if (segment.start + segment.received >= segment.end) {
        segment.completed = 1;
        return true;
    }
    return pieceEnd != 0 && segment.start + segment.received >= pieceEnd;
}

// WinINet ends a body the same way whether the server finished it or the
// connection broke (a reset, chunks that stop early). So a body of unknown
// length is whole only when it has its announced length, or, from a server
// that sends ranges, when asking for what follows it gets 416; a 206 instead
// continues the body where it broke off. A server without ranges cannot be
// asked: its body is taken as it ended.
bool CHttpDownload::EndOfUnknownLength(DownloadSegment& segment, const RangeAnswer& answer, DWORD bytes)
{
    if (answer.length >= 0) {
        if (static_cast<long long>(bytes) < answer.length) {
            segment.error = ERROR_INTERNET_CONNECTION_RESET;
            return false;
        }
        segment.completed = 1;
        return true;
    }
    if (!answer.partial) {
        segment.completed = 1;
        return true;
    }
    if (bytes == 0) {
        // A 206 without a byte gives nothing to continue with.
        segment.error = ERROR_HTTP_INVALID_SERVER_RESPONSE;
        return false;
    }
    segment.endToConfirm = 1;
    return true;
}

// The range is fetched in pieces of at most kPieceSize, one request each, over
// one connection. A stop closes the current request with the rest of its
// answer unread, and WinINet may read that rest to keep the connection: the
// piece size bounds what the server sends in vain.
void CHttpDownload::RunSegment(DownloadSegment& segment)
{
    segment.completed = 0;
    segment.stopped = 0;
    segment.runReceived = 0;
    DownloadParam* param = new DownloadParam(ParamConnect);
    if (!param->IsValid()) {
        segment.error = OrInternalError(GetLastError());
        param->Release();
        return;
    }
    // The partial file stays open for the whole run of the range.
    HANDLE file = OpenForWriting(segment.partialPath);
    if (file == INVALID_HANDLE_VALUE) {
        segment.error = OrInternalError(GetLastError());
        param->Release();
        return;
    }
    HINTERNET connection = nullptr;
    if (ConnectRange(*param, segment, connection)) {
        while (!segment.completed && FetchPiece(*param, connection, file, segment)) { }
    }
    if (connection) InternetCloseHandle(connection);
    CloseHandle(file);
    param->Release();
}

bool CHttpDownload::FetchPiece(DownloadParam& param, HINTERNET& connection, HANDLE file, DownloadSegment& segment)
{
    if (IsStopRequested()) {
        segment.stopped = 1;
        return false;
    }
    const DWORD from = segment.start + segment.received;
    DWORD pieceEnd = segment.end;
    if (segment.end != 0 && segment.end - from > kPieceSize) pieceEnd = from + kPieceSize;
    HINTERNET request = nullptr;
    RangeAnswer answer;
    bool whole = OpenRangeRequest(param, segment, connection, pieceEnd, request) &&
        CheckRangeResponse(request, segment, pieceEnd, answer) &&
        ReadRangeBody(param, request, file, segment, pieceEnd, answer);
    if (segment.stopped && request) {
        closer.CloseCutPiece(request, connection);
        connection = nullptr;
    } else if (request) {
        InternetCloseHandle(request);
    }
    if (whole) RecordPieceStored(segment, file);
    return whole;
}

// ---------------------------------------------------------------- progress

DWORD CHttpDownload::SumReceived()
{
    DWORD sum = 0;
    EnterCriticalSection(&lock);
    for (const DownloadSegment* segment : segments) sum += segment->received;
    LeaveCriticalSection(&lock);
    return sum;
}

int CHttpDownload::GetPercent()
{
    if (contentLength == 0) return static_cast<int>(percent);
    DWORD sum = SumReceived();
    if (sum == 0) return static_cast<int>(percent);
    unsigned long long value = percent + static_cast<unsigned long long>(sum) * 100 / contentLength;
    return static_cast<int>(std::min<unsigned long long>(value, 100));
}

int CHttpDownload::GetBytesSinceLastQuery()
{
    DWORD sum = SumReceived();
    if (sum == 0) return 0;
    LONG delta = static_cast<LONG>(sum) - lastByteSum;
    lastByteSum = static_cast<LONG>(sum);
    return delta;
}
