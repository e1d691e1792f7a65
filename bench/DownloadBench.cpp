// Drives the updater's transfer engine through the download manager the way
// the update wizard does, and prints what run_download_bench.sh measures as
// key=value lines. One run per mode:
//   full   <url> <folder>            probe and transfer to the end
//   pause  <url> <folder> <percent>  stop at <percent>, continue in-process
//   stop   <url> <folder> <percent>  stop at <percent>, save the download list
//   resume <folder>                  load the download list, finish its task
// <folder> is the Windows folder the file is written to; it is also the
// current directory, where the download list lives.
#include "MessageRecorder.h"
#include "DownloadManager.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

const DWORD kProbeLimitMs = 300000;
const DWORD kTransferLimitMs = 300000;
// A short wait, so a poll on progress reacts within a few milliseconds.
const DWORD kOwnerPollMs = 2;

double Now()
{
    static LARGE_INTEGER frequency = []() {
        LARGE_INTEGER value;
        QueryPerformanceFrequency(&value);
        return value;
    }();
    LARGE_INTEGER counter;
    QueryPerformanceCounter(&counter);
    return static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}

bool Fail(const char* what)
{
    printf("error=%s\n", what);
    fflush(stdout);
    return false;
}

class BenchSession
{
public:
    explicit BenchSession(const std::string& folder) : folder_(folder)
    {
        if (folder_.empty() || folder_.back() != '\\') folder_ += '\\';
        SetCurrentDirectoryA(folder_.c_str());
        manager_.SetOwner(owner_.Window());
    }

    void Add(const std::string& url)
    {
        DownloadRequest request;
        request.downloadPath = folder_;
        request.url = url;
        request.fileName = "bench.bin";
        manager_.AddFileDownload(request);
        url_ = url;
    }

    bool LoadList()
    {
        manager_.LoadDownloadList();
        manager_.Lock();
        if (manager_.Tasks().size() == 1) url_ = manager_.Tasks().begin()->first;
        manager_.Unlock();
        return !url_.empty() || Fail("no task in the download list");
    }

    bool Probe()
    {
        const double started = Now();
        manager_.StartDownload(url_);
        PostedMessage probed = owner_.WaitForNext({ WM_DOWNLOAD_PROBED, WM_DOWNLOAD_FAILED }, kProbeLimitMs);
        if (probed.message != WM_DOWNLOAD_PROBED) return Fail(probed.message ? "probe failed" : "probe timed out");
        printf("probe_seconds=%.4f\n", Now() - started);
        return true;
    }

    // Starts the transfer of a probed task (again, after a stop).
    double StartTransfer()
    {
        const double started = Now();
        manager_.StartDownload(url_);
        return started;
    }

    bool WaitForCompletion(double started)
    {
        PostedMessage done = owner_.WaitForNext({ WM_DOWNLOAD_COMPLETED, WM_DOWNLOAD_FAILED }, kTransferLimitMs);
        const double finished = Now();
        if (done.message != WM_DOWNLOAD_COMPLETED) return Fail(done.message ? "transfer failed" : "transfer timed out");
        printf("transfer_seconds=%.4f\n", finished - started);
        printf("bytes=%lu\n", static_cast<unsigned long>(done.completed.size));
        printf("file=%s\n", done.completed.fileName.c_str());
        // What the wizard does with the record.
        manager_.DecrementPending();
        manager_.MoveToFinished(done.completed);
        done.completed.download->Stop();
        delete done.completed.download;
        return true;
    }

    bool StopAt(int atPercent)
    {
        if (!owner_.PumpUntil([&]() { return manager_.GetDownloadPercent(url_) >= atPercent; }, kTransferLimitMs))
            return Fail("stop point not reached");
        printf("stop_requested_percent=%d\n", manager_.GetDownloadPercent(url_));
        // The call returns once the transfer's threads have ended.
        const double started = Now();
        manager_.StopDownload(url_, false);
        printf("stop_seconds=%.4f\n", Now() - started);
        printf("stopped_percent=%d\n", manager_.GetDownloadPercent(url_));
        return PrintHeldBytes();
    }

    void SaveList() { manager_.SaveDownloadList(); }

private:
    // The resume records say which bytes are still missing; the rest is held.
    bool PrintHeldBytes()
    {
        manager_.Lock();
        const CDownloadPublic* download = manager_.Tasks().at(url_).downloader;
        const std::string cfg = download->cfgFile;
        const DWORD length = download->contentLength;
        manager_.Unlock();
        std::vector<ResumeRecord> records;
        if (!ReadLastRecords(cfg, records)) return Fail("no resume records after the stop");
        unsigned long long missing = 0;
        for (const ResumeRecord& record : records) missing += record.end - record.start - record.received;
        printf("held_bytes=%llu\n", length - missing);
        printf("resume_records=%u\n", static_cast<unsigned>(records.size()));
        return true;
    }

    static bool ReadLastRecords(const std::string& path, std::vector<ResumeRecord>& records)
    {
        ResumeStamp stamp;
        bool stamped = false;
        return ResumeRecordFile::Read(path, records, stamp, stamped) && stamped && !records.empty();
    }

    std::string folder_;
    std::string url_;
    MessageRecorder owner_{ kOwnerPollMs };
    CDownloadManager manager_;
};

bool RunFull(BenchSession& session, const std::string& url)
{
    session.Add(url);
    const double started = Now();
    if (!session.Probe()) return false;
    if (!session.WaitForCompletion(session.StartTransfer())) return false;
    printf("total_seconds=%.4f\n", Now() - started);
    return true;
}

bool RunPause(BenchSession& session, const std::string& url, int atPercent)
{
    session.Add(url);
    if (!session.Probe()) return false;
    session.StartTransfer();
    if (!session.StopAt(atPercent)) return false;
    return session.WaitForCompletion(session.StartTransfer());
}

bool RunStop(BenchSession& session, const std::string& url, int atPercent)
{
    session.Add(url);
    if (!session.Probe()) return false;
    session.StartTransfer();
    if (!session.StopAt(atPercent)) return false;
    session.SaveList();
    return true;
}

bool RunResume(BenchSession& session)
{
    if (!session.LoadList() || !session.Probe()) return false;
    return session.WaitForCompletion(session.StartTransfer());
}

int Usage()
{
    fprintf(stderr,
            "usage: download_bench full|pause|stop <url> <folder> [percent]\n"
            "       download_bench resume <folder>\n");
    return 2;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 3) return Usage();
    const std::string mode = argv[1];
    bool ok = false;
    if (mode == "resume") {
        BenchSession session(argv[2]);
        ok = RunResume(session);
    } else if (argc >= 4 && (mode == "full" || mode == "pause" || mode == "stop")) {
        const int atPercent = argc >= 5 ? atoi(argv[4]) : 50;
        BenchSession session(argv[3]);
        if (mode == "full")
            ok = RunFull(session, argv[2]);
        else if (mode == "pause")
            ok = RunPause(session, argv[2], atPercent);
        else
            ok = RunStop(session, argv[2], atPercent);
    } else {
        return Usage();
    }
    fflush(stdout);
    return ok ? 0 : 1;
}
