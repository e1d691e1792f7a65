// The transfer engine against the loopback test server, with a message-only
// window as the owner that records what is posted.
#include "FileDigest.h"
#include "HttpDownload.h"
#include "UpdaterTestSupport.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <malloc.h>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace {

// The last block of a ".Cfg" file, which must be stamped and hold one record.
ResumeRecord ReadOnlyRecord(const std::string& path, ResumeStamp& stamp)
{
    std::vector<ResumeRecord> records;
    bool stamped = false;
    EXPECT_TRUE(ResumeRecordFile::Read(path, records, stamp, stamped));
    EXPECT_TRUE(stamped);
    EXPECT_EQ(1u, records.size());
    return records.empty() ? ResumeRecord{ 0, 0, 0 } : records[0];
}

// A ".Cfg" block as raw bytes, so that damaged ones can be written too: the
// stamp (when given), its length, then `words` (records and count word) with
// the stamp mark put into the last word.
std::string CfgBlock(const ResumeStamp* stamp, std::vector<DWORD> words)
{
    std::string bytes;
    auto put = [&bytes](DWORD value) { bytes.append(reinterpret_cast<const char*>(&value), 4); };
    if (stamp) {
        std::string stampBytes;
        DWORD total = stamp->total, size = static_cast<DWORD>(stamp->validator.size());
        stampBytes.append(reinterpret_cast<const char*>(&total), 4);
        stampBytes.append(reinterpret_cast<const char*>(&size), 4);
        stampBytes += stamp->validator + stamp->version;
        bytes += stampBytes;
        put(static_cast<DWORD>(stampBytes.size()));
        if (!words.empty()) words.back() |= DWORD(ResumeRecordFile::kStampMark) << 16;
    }
    for (DWORD word : words) put(word);
    return bytes;
}

class HttpDownloadTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(TestServer::Available()) << "run through run_with_server.sh";
        m_folder = FreshFolder(::testing::UnitTest::GetInstance()->current_test_info()->name());
    }

    std::unique_ptr<CHttpDownload> MakeDownload(const std::string& url, const std::string& name = std::string())
    {
        std::unique_ptr<CHttpDownload> download(new CHttpDownload);
        download->folder = m_folder;
        download->url = url;
        download->fileName = name;
        download->owner = m_recorder.Window();
        download->state = DownloadWaiting;
        return download;
    }

    // Probe, then transfer after the probe's message, as the wizard does.
    PostedMessage RunToEnd(CHttpDownload& download)
    {
        m_recorder.Clear();
        EXPECT_EQ(0u, download.StartProbe());
        PostedMessage probed = m_recorder.WaitForAny({ WM_DOWNLOAD_PROBED, WM_DOWNLOAD_FAILED });
        if (probed.message != WM_DOWNLOAD_PROBED) return probed;
        EXPECT_EQ(download.queuedUrl, probed.url);
        EXPECT_EQ(0u, download.StartTransfer());
        return m_recorder.WaitForAny({ WM_DOWNLOAD_COMPLETED, WM_DOWNLOAD_FAILED });
    }

    // The same, with a limit on the whole run.
    PostedMessage RunToEndWithin(CHttpDownload& download, DWORD limitMs)
    {
        const ULONGLONG deadline = GetTickCount64() + limitMs;
        m_recorder.Clear();
        EXPECT_EQ(0u, download.StartProbe());
        PostedMessage probed = m_recorder.WaitForAny({ WM_DOWNLOAD_PROBED, WM_DOWNLOAD_FAILED }, limitMs);
        if (probed.message != WM_DOWNLOAD_PROBED) return probed;
        EXPECT_EQ(0u, download.StartTransfer());
        const ULONGLONG now = GetTickCount64();
        return m_recorder.WaitForAny({ WM_DOWNLOAD_COMPLETED, WM_DOWNLOAD_FAILED },
                                     now < deadline ? static_cast<DWORD>(deadline - now) : 0);
    }

    // Starts a throttled transfer and stops it once part of the file arrived.
    void StopMidway(CHttpDownload& download, int atPercent)
    {
        m_recorder.Clear();
        ASSERT_EQ(0u, download.StartProbe());
        ASSERT_EQ(WM_DOWNLOAD_PROBED, m_recorder.WaitForAny({ WM_DOWNLOAD_PROBED }).message);
        ASSERT_EQ(0u, download.StartTransfer());
        // The transfer is throttled so that, however slow this machine, the
        // rest of it takes far longer than one look at the percentage.
        const ULONGLONG deadline = GetTickCount64() + 120000;
        while (download.GetPercent() < atPercent && GetTickCount64() < deadline) Sleep(10);
        ASSERT_GE(download.GetPercent(), atPercent);
        download.Stop();
        m_recorder.Drain();
        EXPECT_FALSE(m_recorder.Has(WM_DOWNLOAD_COMPLETED));
        EXPECT_FALSE(m_recorder.Has(WM_DOWNLOAD_FAILED));
    }

    std::string m_folder;
    MessageRecorder m_recorder;
};

TEST_F(HttpDownloadTest, DownloadArrivesByteIdenticalWithOneRange)
{
    const std::string content = RandomBytes(300000, 1);
    TestServer::Serve("plain.bin", content);
    auto download = MakeDownload(TestServer::Url("/files/plain.bin"), "plain.bin");

    PostedMessage done = RunToEnd(*download);

    ASSERT_EQ(WM_DOWNLOAD_COMPLETED, done.message);
    EXPECT_EQ(TestServer::Url("/files/plain.bin"), done.completed.url);
    EXPECT_EQ("plain.bin", done.completed.fileName);
    EXPECT_EQ(content.size(), done.completed.size);
    EXPECT_EQ(download.get(), done.completed.download);
    EXPECT_EQ(DownloadDone, download->state);
    EXPECT_TRUE(content == ReadWholeFile(m_folder + "plain.bin"));
    EXPECT_FALSE(PathExists(m_folder + "plain.bin_Tmp"));
    auto requests = TestServer::RequestsFor("/files/plain.bin");
    ASSERT_EQ(2u, requests.size());
    EXPECT_EQ("bytes=0-0", requests[0].range);
    EXPECT_EQ("bytes=0-300000", requests[1].range);
    download->Stop();
}

// The probe asks for the first byte only, so that closing its answer leaves
// no body behind for WinINet to read; it learns the length and range support
// whether or not the server honours that range.
TEST_F(HttpDownloadTest, ProbeTakesOneByteAndLearnsLengthAndRangeSupport)
{
    const DWORD size = 200000;
    const std::string content = RandomBytes(size, 12);
    TestServer::Serve("probe.bin", content);
    struct Case
    {
        const char* query;
        DWORD length;
        BYTE resumable;
        bool oneByteAnswer;
    } cases[] = {
        { "", size, 1, true },
        { "?noaccept=1", size, 1, true },  // a 206 proves ranges without Accept-Ranges
        { "?range200=1", size, 1, false }, // whole file with 200, Accept-Ranges all the same
        { "?ranges=0", size, 0, false },
        { "?nolength=1", 0, 1, false },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.query);
        const std::string path = std::string("/files/probe.bin") + c.query;
        const size_t before = TestServer::RequestsFor("/files/probe.bin").size();
        auto download = MakeDownload(TestServer::Url(path), "probe.bin");

        ASSERT_EQ(WM_DOWNLOAD_COMPLETED, RunToEnd(*download).message);

        EXPECT_EQ(c.length, download->contentLength);
        EXPECT_EQ(c.resumable, download->resumable);
        EXPECT_TRUE(content == ReadWholeFile(m_folder + "probe.bin"));
        auto requests = TestServer::RequestsFor("/files/probe.bin");
        ASSERT_GT(requests.size(), before);
        EXPECT_EQ("bytes=0-0", requests[before].range);
        if (c.oneByteAnswer) {
            std::vector<unsigned long long> probeBodies;
            ASSERT_TRUE(m_recorder.PumpUntil([&]() {
                probeBodies.clear();
                for (const TestServer::Answer& answer : TestServer::AnswersFor(path)) {
                    if (answer.path == path && answer.range == "bytes=0-0") probeBodies.push_back(answer.body);
                }
                return !probeBodies.empty();
            }));
            EXPECT_EQ(std::vector<unsigned long long>{ 1 }, probeBodies);
        }
        DeleteFileA((m_folder + "probe.bin").c_str());
    }
}

TEST_F(HttpDownloadTest, WithoutContentLengthTheRangeIsOpenEnded)
{
    const std::string content = RandomBytes(70000, 2);
    TestServer::Serve("nolength.bin", content);
    auto download = MakeDownload(TestServer::Url("/files/nolength.bin?nolength=1"), "nolength.bin");

    ASSERT_EQ(WM_DOWNLOAD_COMPLETED, RunToEnd(*download).message);

    EXPECT_EQ(0u, download->contentLength);
    EXPECT_TRUE(content == ReadWholeFile(m_folder + "nolength.bin"));
    auto requests = TestServer::RequestsFor("/files/nolength.bin");
    ASSERT_EQ(3u, requests.size());
    EXPECT_EQ("bytes=0-", requests[1].range);
    EXPECT_EQ("bytes=70000-", requests[2].range); // answered 416: the body was whole
}

TEST_F(HttpDownloadTest, TwoRedirectsAreFollowedAndTheRangeCarriesTheRightReferer)
{
    const std::string content = RandomBytes(50000, 3);
    TestServer::Serve("moved.bin", content);
    const std::string queued = TestServer::Url("/redirect/2/files/moved.bin");
    auto download = MakeDownload(queued, "moved.bin");

    PostedMessage done = RunToEnd(*download);

    ASSERT_EQ(WM_DOWNLOAD_COMPLETED, done.message);
    EXPECT_EQ(queued, done.completed.url); // still the manager's key
    EXPECT_EQ(TestServer::Url("/files/moved.bin"), download->url);
    EXPECT_TRUE(content == ReadWholeFile(m_folder + "moved.bin"));
    auto ranged = TestServer::RequestsFor("/files/moved.bin");
    ASSERT_EQ(4u, ranged.size()); // two redirects, the probe's answer, the range
    EXPECT_EQ("bytes=0-50000", ranged[3].range);
    EXPECT_EQ(TestServer::Url("/redirect/1/files"), ranged[3].referer);
}

// The name a download lands under is the one it was asked for: the
// server's Content-Disposition never chooses it.
TEST_F(HttpDownloadTest, ServerFileNameIsNeverUsed)
{
    TestServer::Serve("named.bin", RandomBytes(1000, 4));
    for (const char* disposition :
         { "server.bin", "lumora.exe", "newupdate.ini", "..%5C..%5Cevil.bin", "C:%5Cevil.bin" }) {
        SCOPED_TRACE(disposition);
        auto download =
            MakeDownload(TestServer::Url(std::string("/files/named.bin?disposition=") + disposition), "asked.bin");
        PostedMessage done = RunToEnd(*download);
        ASSERT_EQ(WM_DOWNLOAD_COMPLETED, done.message);
        EXPECT_EQ("asked.bin", done.completed.fileName);
        EXPECT_TRUE(PathExists(m_folder + "asked.bin"));
        EXPECT_EQ(m_folder + "named.bin.Cfg", download->cfgFile); // named after the URL
        DeleteFileA((m_folder + "asked.bin").c_str());
    }
    EXPECT_FALSE(PathExists(m_folder + "server.bin"));
    EXPECT_FALSE(PathExists(m_folder + "lumora.exe"));
    EXPECT_FALSE(PathExists(m_folder + "evil.bin"));
}

// A download that carries the manifest's size and SHA-256 ends only with
// those bytes. A body that differs, or is cut short where the server gives
// no length and no ranges to notice it, is fetched once more from byte 0 and
// then fails, leaving no file and no partial file behind.
TEST_F(HttpDownloadTest, ABodyThatIsNotTheManifestsBytesIsRetriedOnceThenFails)
{
    const std::string content = RandomBytes(300000, 43);
    TestServer::Serve("pinned.bin", content);
    FileDigest right;
    right.size = static_cast<DWORD>(content.size());
    right.sha256 = ToHex(Sha256Of(content));
    FileDigest otherBytes = right;
    otherBytes.sha256 = ToHex(Sha256Of(content + "x"));
    struct Case
    {
        const char* what;
        const char* query;
        FileDigest digest;
        bool completes;
    } cases[] = {
        { "the right bytes", "", right, true },
        { "the right bytes without length or ranges", "?ranges=0&nolength=1", right, true },
        { "other bytes", "", otherBytes, false },
        { "cut short without length or ranges", "?ranges=0&nolength=1&drop=100000", right, false },
        { "cut short in chunks", "?ranges=0&chunked=1&drop=100000", right, false },
        { "cut short with a length and without ranges", "?ranges=0&drop=100000", right, false },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const size_t before = TestServer::RequestsFor("/files/pinned.bin").size();
        auto download = MakeDownload(TestServer::Url(std::string("/files/pinned.bin") + c.query), "pinned.bin");
        download->hasDigest = true;
        download->expectedDigest = c.digest;
        PostedMessage done = RunToEnd(*download);
        EXPECT_EQ(c.completes ? WM_DOWNLOAD_COMPLETED : WM_DOWNLOAD_FAILED, done.message);
        EXPECT_EQ(c.completes, PathExists(m_folder + "pinned.bin"));
        if (c.completes) EXPECT_TRUE(content == ReadWholeFile(m_folder + "pinned.bin"));
        EXPECT_FALSE(PathExists(m_folder + "pinned.bin_Tmp"));
        EXPECT_FALSE(PathExists(m_folder + "pinned.bin.Cfg"));
        if (!c.completes && std::string(c.what) == "other bytes") {
            // The probe, the first whole body, and the one fetch from zero.
            auto requests = TestServer::RequestsFor("/files/pinned.bin");
            ASSERT_EQ(before + 3, requests.size());
            EXPECT_EQ("bytes=0-300000", requests[before + 1].range);
            EXPECT_EQ("bytes=0-300000", requests[before + 2].range);
        }
        DeleteFileA((m_folder + "pinned.bin").c_str());
    }
}

TEST_F(HttpDownloadTest, StopLeavesOneResumeRecordAndTheRestartContinuesThere)
{
    const DWORD size = 1 << 20;
    const std::string content = RandomBytes(size, 5);
    TestServer::Serve("resume.bin", content);
    const std::string url = TestServer::Url("/files/resume.bin?rate=1000000");
    auto first = MakeDownload(url, "resume.bin");

    StopMidway(*first, 20);

    EXPECT_EQ(DownloadWaiting, first->state);
    ResumeStamp stamp;
    ResumeRecord record = ReadOnlyRecord(m_folder + "resume.bin.Cfg", stamp);
    EXPECT_EQ(size, stamp.total);
    EXPECT_EQ(first->validator, stamp.validator);
    EXPECT_EQ('"', stamp.validator[0]); // the server's ETag
    EXPECT_EQ(0u, record.start);
    EXPECT_EQ(size, record.end);
    ASSERT_GT(record.received, 0u);
    ASSERT_LT(record.received, size);
    std::string partial = ReadWholeFile(m_folder + "resume.bin_Tmp");
    ASSERT_GE(partial.size(), record.received);
    EXPECT_TRUE(content.compare(0, record.received, partial, 0, record.received) == 0);
    EXPECT_GE(first->percent, 20u);

    // A new run, as after loading the download list, with the same address.
    auto second = MakeDownload(TestServer::Url("/files/resume.bin"), "resume.bin");
    second->percent = first->percent.load();
    ASSERT_EQ(WM_DOWNLOAD_COMPLETED, RunToEnd(*second).message);

    EXPECT_TRUE(content == ReadWholeFile(m_folder + "resume.bin"));
    EXPECT_FALSE(PathExists(m_folder + "resume.bin.Cfg"));
    auto requests = TestServer::RequestsFor("/files/resume.bin");
    EXPECT_EQ("bytes=" + std::to_string(record.received) + "-" + std::to_string(size), requests.back().range);
    EXPECT_EQ(stamp.validator, requests.back().ifRange);
}

// Reads that complete at once (the data is already there) must see a stop
// too: a fast transfer stops where it is, and the next run fetches the rest
// in pieces that follow each other without gap or overlap. The server sends
// 20 MiB (more than one piece) at 4 MiB/s, so the stop at 1% comes seconds
// before the end on any machine.
TEST_F(HttpDownloadTest, StopDuringAFastTransferLeavesAConsistentPartialFileToResume)
{
    const DWORD size = 20 << 20;
    const std::string content = RandomBytes(size, 13);
    TestServer::Serve("fast.bin", content);
    const std::string url = TestServer::Url("/files/fast.bin?rate=4194304");
    auto first = MakeDownload(url, "fast.bin");

    StopMidway(*first, 1);

    EXPECT_EQ(DownloadWaiting, first->state);
    ResumeStamp stamp;
    ResumeRecord record = ReadOnlyRecord(m_folder + "fast.bin.Cfg", stamp);
    EXPECT_EQ(0u, record.start);
    EXPECT_EQ(size, record.end);
    ASSERT_GT(record.received, 0u);
    ASSERT_LT(record.received, size) << "the transfer ran to its end after the stop";
    std::string partial = ReadWholeFile(m_folder + "fast.bin_Tmp");
    ASSERT_GE(partial.size(), record.received);
    EXPECT_TRUE(content.compare(0, record.received, partial, 0, record.received) == 0);

    const size_t before = TestServer::RequestsFor("/files/fast.bin").size();
    auto second = MakeDownload(url, "fast.bin");
    second->percent = first->percent.load();
    ASSERT_EQ(WM_DOWNLOAD_COMPLETED, RunToEnd(*second).message);

    EXPECT_TRUE(content == ReadWholeFile(m_folder + "fast.bin"));
    EXPECT_FALSE(PathExists(m_folder + "fast.bin.Cfg"));
    auto requests = TestServer::RequestsFor("/files/fast.bin");
    ASSERT_GT(requests.size(), before + 2); // the probe, then more than one piece
    EXPECT_EQ("bytes=0-0", requests[before].range);
    unsigned long long next = record.received;
    for (size_t i = before + 1; i < requests.size(); ++i) {
        SCOPED_TRACE(requests[i].range);
        const std::string& range = requests[i].range;
        const size_t dash = range.find('-');
        ASSERT_EQ(0u, range.compare(0, 6, "bytes="));
        ASSERT_NE(std::string::npos, dash);
        EXPECT_EQ(next, std::stoull(range.substr(6, dash - 6)));
        next = std::stoull(range.substr(dash + 1)) + 1;
    }
    EXPECT_EQ(size + 1ull, next); // the last asks up to the end as the engine counts it
}

TEST_F(HttpDownloadTest, WithoutAcceptRangesTheRestartBeginsAtZero)
{
    const std::string content = RandomBytes(1 << 20, 6);
    TestServer::Serve("noranges.bin", content);
    const std::string url = TestServer::Url("/files/noranges.bin?ranges=0&rate=1000000");
    auto first = MakeDownload(url, "noranges.bin");
    StopMidway(*first, 20);
    EXPECT_FALSE(PathExists(m_folder + "noranges.bin.Cfg"));

    auto second = MakeDownload(TestServer::Url("/files/noranges.bin?ranges=0"), "noranges.bin");
    ASSERT_EQ(WM_DOWNLOAD_COMPLETED, RunToEnd(*second).message);

    EXPECT_TRUE(content == ReadWholeFile(m_folder + "noranges.bin"));
    EXPECT_EQ("bytes=0-1048576", TestServer::RequestsFor("/files/noranges.bin").back().range);
}

// After a stop, servers that answer the continuing range wrongly: a 200 with
// the whole file is written from byte 0; a 206 for other bytes is refused.
TEST_F(HttpDownloadTest, ResumedRangeAcceptsOnlyAMatchingAnswer)
{
    const std::string content = RandomBytes(1 << 20, 7);
    TestServer::Serve("answer.bin", content);

    auto first = MakeDownload(TestServer::Url("/files/answer.bin?rate=1000000"), "answer.bin");
    StopMidway(*first, 20);
    auto whole = MakeDownload(TestServer::Url("/files/answer.bin?range200=1"), "answer.bin");
    ASSERT_EQ(WM_DOWNLOAD_COMPLETED, RunToEnd(*whole).message);
    EXPECT_TRUE(content == ReadWholeFile(m_folder + "answer.bin"));
    DeleteFileA((m_folder + "answer.bin").c_str());

    auto again = MakeDownload(TestServer::Url("/files/answer.bin?rate=1000000"), "answer.bin");
    StopMidway(*again, 20);
    auto wrong = MakeDownload(TestServer::Url("/files/answer.bin?badrange=1"), "answer.bin");
    EXPECT_EQ(WM_DOWNLOAD_FAILED, RunToEnd(*wrong).message);
    EXPECT_EQ(DownloadFailed, wrong->state);
    EXPECT_FALSE(PathExists(m_folder + "answer.bin"));
}

TEST_F(HttpDownloadTest, DroppedConnectionsAreContinuedOrTheDownloadFails)
{
    const DWORD drop = 100000;
    const std::string content = RandomBytes(drop * 7 / 2, 8);
    TestServer::Serve("drop.bin", content);
    auto download = MakeDownload(TestServer::Url("/files/drop.bin?drop=100000"), "drop.bin");

    ASSERT_EQ(WM_DOWNLOAD_COMPLETED, RunToEnd(*download).message);
    EXPECT_TRUE(content == ReadWholeFile(m_folder + "drop.bin"));
    auto requests = TestServer::RequestsFor("/files/drop.bin");
    ASSERT_EQ(5u, requests.size()); // probe, first range, three continuations
    EXPECT_EQ("bytes=300000-350000", requests[4].range);

    // Too many drops for the retries: a failure, never a short file.
    TestServer::Serve("short.bin", RandomBytes(drop * 10, 9));
    auto tooShort = MakeDownload(TestServer::Url("/files/short.bin?drop=100000"), "short.bin");
    EXPECT_EQ(WM_DOWNLOAD_FAILED, RunToEnd(*tooShort).message);
    EXPECT_FALSE(PathExists(m_folder + "short.bin"));
}

TEST_F(HttpDownloadTest, ErrorStatusesFailTheDownload)
{
    for (const char* status : { "404", "500", "302" }) {
        SCOPED_TRACE(status);
        auto download = MakeDownload(TestServer::Url(std::string("/files/x.bin?status=") + status), "x.bin");
        PostedMessage failed = RunToEnd(*download);
        EXPECT_EQ(WM_DOWNLOAD_FAILED, failed.message);
        EXPECT_EQ(reinterpret_cast<WPARAM>(download.get()), failed.wParam);
        EXPECT_EQ(DownloadFailed, download->state);
        EXPECT_FALSE(PathExists(m_folder + "x.bin"));
    }
}

TEST_F(HttpDownloadTest, StaleResumeRecordsAndOldPartialFilesAreNotTrusted)
{
    const DWORD size = 200000;
    const std::string content = RandomBytes(size, 10);
    TestServer::Serve("stale.bin", content);
    // What a stop of this very content would have stamped.
    auto learn = MakeDownload(TestServer::Url("/files/stale.bin"), "stale.bin");
    ASSERT_EQ(WM_DOWNLOAD_COMPLETED, RunToEnd(*learn).message);
    ResumeStamp stamp;
    stamp.total = size;
    stamp.validator = learn->validator;
    ASSERT_FALSE(stamp.validator.empty());
    ResumeStamp otherVersion = stamp;
    otherVersion.version = "2.0";
    ResumeStamp otherTag = stamp;
    otherTag.validator = "\"another\"";
    ResumeStamp otherTotal = stamp;
    otherTotal.total = size + 1;
    ResumeStamp hugeTag = stamp;
    hugeTag.validator.assign(5000, 'v');

    struct Case
    {
        const char* what;
        std::string cfg;
    } cases[] = {
        { "range beyond the length", CfgBlock(&stamp, { 0, size * 2, 1000, 1 }) },
        { "received beyond the range", CfgBlock(&stamp, { 0, size, size + 5, 1 }) },
        { "more held than the partial file has", CfgBlock(&stamp, { 0, size, 150000, 1 }) },
        { "record count beyond the file", CfgBlock(&stamp, { 0, size, 10, 40 }) },
        { "no record count", "" },
        { "a block from before stamps", CfgBlock(nullptr, { 0, size, 1000, 1 }) },
        { "another version", CfgBlock(&otherVersion, { 0, size, 1000, 1 }) },
        { "another validator", CfgBlock(&otherTag, { 0, size, 1000, 1 }) },
        { "another length", CfgBlock(&otherTotal, { 0, size, 1000, 1 }) },
        { "a stamp longer than allowed", CfgBlock(&hugeTag, { 0, size, 1000, 1 }) },
        { "a stamp length beyond the file",
          std::string(8, '\0') +
              CfgBlock(nullptr, { 0xFFFFFF00u, 0, size, 1000, 1 | (DWORD(ResumeRecordFile::kStampMark) << 16) }) },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        // An old partial file, longer than the new one and full of other bytes.
        WriteWholeFile(m_folder + "stale.bin_Tmp", std::string(100000, 'x'));
        WriteWholeFile(m_folder + "stale.bin.Cfg", c.cfg);
        auto download = MakeDownload(TestServer::Url("/files/stale.bin"), "stale.bin");
        ASSERT_EQ(WM_DOWNLOAD_COMPLETED, RunToEnd(*download).message);
        EXPECT_TRUE(content == ReadWholeFile(m_folder + "stale.bin"));
        EXPECT_EQ("bytes=0-200000", TestServer::RequestsFor("/files/stale.bin").back().range);
        DeleteFileA((m_folder + "stale.bin").c_str());
    }

    // The control: the same block with a sound record is resumed.
    WriteWholeFile(m_folder + "stale.bin_Tmp", content.substr(0, 1000));
    WriteWholeFile(m_folder + "stale.bin.Cfg", CfgBlock(&stamp, { 0, size, 1000, 1 }));
    auto resumed = MakeDownload(TestServer::Url("/files/stale.bin"), "stale.bin");
    ASSERT_EQ(WM_DOWNLOAD_COMPLETED, RunToEnd(*resumed).message);
    EXPECT_TRUE(content == ReadWholeFile(m_folder + "stale.bin"));
    EXPECT_EQ("bytes=1000-200000", TestServer::RequestsFor("/files/stale.bin").back().range);
    DeleteFileA((m_folder + "stale.bin").c_str());

    // No resume records at all, and an old partial file longer than the new one.
    WriteWholeFile(m_folder + "stale.bin_Tmp", std::string(size + 5000, 'x'));
    auto download = MakeDownload(TestServer::Url("/files/stale.bin"), "stale.bin");
    ASSERT_EQ(WM_DOWNLOAD_COMPLETED, RunToEnd(*download).message);
    EXPECT_TRUE(content == ReadWholeFile(m_folder + "stale.bin"));
}

// A stopped download continues only while the server still has the content
// its partial file came from; otherwise the new content arrives whole, never
// spliced onto old bytes.
TEST_F(HttpDownloadTest, ResumeContinuesOnlyTheSameContent)
{
    const DWORD size = 1 << 20;
    struct Case
    {
        const char* what;
        const char* query; // of both runs
        DWORD newSize;     // 0: the content stays
        const wchar_t* newVersion;
        bool resumes;
    } cases[] = {
        { "unchanged", "", 0, L"1.0", true },
        { "new content, same length", "", size, L"1.0", false },
        { "new content, longer", "", size + 300000, L"1.0", false },
        { "new content, Last-Modified only", "noetag=1", size, L"1.0", false },
        { "no validator", "novalidator=1", 0, L"1.0", false },
        { "new version in the manifest", "", 0, L"1.1", false },
    };
    unsigned seed = 100;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const std::string name = "same" + std::to_string(seed) + ".bin";
        const std::string old = RandomBytes(size, seed++);
        TestServer::Serve(name, old);
        const std::string path = "/files/" + name + "?" + c.query;
        auto first = MakeDownload(TestServer::Url(path + "&rate=2000000"), name);
        first->version = L"1.0";
        StopMidway(*first, 20);

        std::string expected = old;
        if (c.newSize) {
            expected = RandomBytes(c.newSize, seed++);
            TestServer::Serve(name, expected);
            // Last-Modified has whole seconds: the new content gets another one.
            FILETIME time;
            HANDLE file = CreateFileA((TestServer::Root() + name).c_str(), FILE_WRITE_ATTRIBUTES,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
            ASSERT_NE(INVALID_HANDLE_VALUE, file);
            GetFileTime(file, nullptr, nullptr, &time);
            time.dwHighDateTime += 1; // about seven minutes later
            SetFileTime(file, nullptr, nullptr, &time);
            CloseHandle(file);
        }
        const size_t before = TestServer::RequestsFor(name).size();
        auto second = MakeDownload(TestServer::Url(path), name);
        second->version = c.newVersion;
        ASSERT_EQ(WM_DOWNLOAD_COMPLETED, RunToEnd(*second).message);

        EXPECT_TRUE(expected == ReadWholeFile(m_folder + name));
        auto requests = TestServer::RequestsFor(name);
        ASSERT_EQ(before + 2, requests.size()); // the probe and one range
        const bool fromZero = requests.back().range.compare(0, 8, "bytes=0-") == 0;
        EXPECT_EQ(!c.resumes, fromZero) << requests.back().range;
    }
}

// The content may change between the probe and the range request: If-Range
// makes the server send the whole new content, which is written from byte 0.
TEST_F(HttpDownloadTest, ContentChangedAfterTheProbeArrivesWholeFromZero)
{
    const DWORD size = 1 << 20;
    const std::string old = RandomBytes(size, 40);
    TestServer::Serve("race.bin", old);
    auto first = MakeDownload(TestServer::Url("/files/race.bin?rate=2000000"), "race.bin");
    StopMidway(*first, 20);
    // The server logs the stopped (throttled) answer once it notices the closed
    // connection; the last answer read below must not be that one.
    EXPECT_TRUE(m_recorder.PumpUntil([]() {
        return TestServer::AnswersFor("/files/race.bin").size() >= TestServer::RequestsFor("/files/race.bin").size();
    }));

    auto second = MakeDownload(TestServer::Url("/files/race.bin"), "race.bin");
    m_recorder.Clear();
    ASSERT_EQ(0u, second->StartProbe());
    ASSERT_EQ(WM_DOWNLOAD_PROBED, m_recorder.WaitForAny({ WM_DOWNLOAD_PROBED }).message);
    const std::string fresh = RandomBytes(size, 41);
    TestServer::Serve("race.bin", fresh);
    ASSERT_EQ(0u, second->StartTransfer());
    ASSERT_EQ(WM_DOWNLOAD_COMPLETED, m_recorder.WaitForAny({ WM_DOWNLOAD_COMPLETED, WM_DOWNLOAD_FAILED }).message);

    EXPECT_TRUE(fresh == ReadWholeFile(m_folder + "race.bin"));
    auto requests = TestServer::RequestsFor("/files/race.bin");
    EXPECT_NE(0u, requests.back().range.compare(0, 8, "bytes=0-")); // asked to continue
    EXPECT_EQ(first->validator, requests.back().ifRange);
    auto answers = TestServer::AnswersFor("/files/race.bin");
    EXPECT_EQ(size, answers.back().body); // and got everything
}

// Without a length, a body that breaks off (a connection reset, chunks that
// stop before the last one) looks to WinINet like one that ended. It is never
// taken as whole: the engine asks for what follows, continues there, and
// finishes only when the server answers that nothing follows.
TEST_F(HttpDownloadTest, UnknownLengthBodyCutShortIsContinuedNeverFinishedShort)
{
    const std::string content = RandomBytes(300000, 42);
    TestServer::Serve("cut.bin", content);
    for (const char* query : { "?nolength=1&drop=100000", "?chunked=1&drop=100000", "?chunked=1" }) {
        SCOPED_TRACE(query);
        const size_t before = TestServer::RequestsFor("/files/cut.bin").size();
        auto download = MakeDownload(TestServer::Url(std::string("/files/cut.bin") + query), "cut.bin");
        ASSERT_EQ(WM_DOWNLOAD_COMPLETED, RunToEnd(*download).message);
        EXPECT_TRUE(content == ReadWholeFile(m_folder + "cut.bin"));
        auto requests = TestServer::RequestsFor("/files/cut.bin");
        ASSERT_GT(requests.size(), before + 2);
        // Each request continues where the bytes so far end; the last one,
        // past the end, proves it.
        EXPECT_EQ("bytes=300000-", requests.back().range);
        DeleteFileA((m_folder + "cut.bin").c_str());
    }
    // Cut before a single byte arrives: nothing to continue with, a failure.
    auto empty = MakeDownload(TestServer::Url("/files/cut.bin?chunked=1&drop=0"), "cut.bin");
    EXPECT_EQ(WM_DOWNLOAD_FAILED, RunToEnd(*empty).message);
    EXPECT_FALSE(PathExists(m_folder + "cut.bin"));
}

// Every network step has a deadline the engine keeps itself (WinINet's own
// time-outs are ignored by some builds). A server that never answers the
// probe, never answers a range request, or stalls in the middle of a body
// ends the download as a failure once the retries are spent, within the
// steps' deadlines; a late completion of a step given up breaks nothing.
TEST_F(HttpDownloadTest, AStepThatGetsNoAnswerFailsTheDownloadAtItsDeadline)
{
    const DWORD stepMs = 1500;
    const std::string content = RandomBytes(1000000, 50);
    struct Case
    {
        const char* name;
        const char* query;
        bool hangFile;
        size_t requests; // the probe's, then each try's
    } cases[] = {
        { "hungprobe.bin", "", true, 1 },
        { "hungrange.bin", "?hangrange=1", false, 2 + CHttpDownload::kMaxRetries },
        { "stalled.bin", "?stall=100000", false, 2 + CHttpDownload::kMaxRetries },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TestServer::Serve(c.name, content);
        if (c.hangFile) TestServer::Serve(std::string(c.name) + ".hang", "");
        const std::string path = std::string("/files/") + c.name;
        auto download = MakeDownload(TestServer::Url(path + c.query), c.name);
        download->stepDeadlineMs = stepMs;
        const ULONGLONG started = GetTickCount64();

        // Each try waits one step at most: the bound of the whole run.
        PostedMessage end = RunToEndWithin(*download, static_cast<DWORD>(c.requests) * stepMs + 30000);

        printf("[ measured ] %s failed after %llu ms\n", c.name, GetTickCount64() - started);
        EXPECT_EQ(WM_DOWNLOAD_FAILED, end.message);
        EXPECT_EQ(DownloadFailed, download->state);
        EXPECT_FALSE(PathExists(m_folder + c.name));
        EXPECT_EQ(c.requests, TestServer::RequestsFor(path).size());
        download->Stop();
        download.reset(); // with steps WinINet may still complete
        m_recorder.Drain();
        EXPECT_FALSE(m_recorder.Has(WM_DOWNLOAD_COMPLETED));
    }
}

// A download dropped while its probe is still on its way (the wizard retrying
// the manifest) leaves nothing behind that WinINet completes into later: not
// a refused connection that ends within the stop, not an answer that arrives
// long after the download is gone. The CRT heap is checked once the server
// has answered every probe that reached it.
TEST_F(HttpDownloadTest, DownloadsDroppedDuringTheirProbeLeaveNothingForWinInet)
{
    TestServer::Serve("dropped.bin", "0123456789");
    TestServer::Serve("dropped.bin.delay", "300");
    const std::string urls[] = { "http://127.0.0.1:1/lumo/dropped.bin", TestServer::Url("/files/dropped.bin") };
    for (const std::string& url : urls) {
        SCOPED_TRACE(url);
        for (int i = 0; i < 60; ++i) {
            auto download = MakeDownload(url, "dropped.bin");
            ASSERT_EQ(0u, download->StartProbe());
            // Drops at different points of the probe's way.
            if (i % 3) Sleep(i % 3 - 1);
            download.reset();
        }
    }
    EXPECT_TRUE(m_recorder.PumpUntil([]() {
        return TestServer::AnswersFor("/files/dropped.bin").size() ==
            TestServer::RequestsFor("/files/dropped.bin").size();
    }));
    m_recorder.Drain();
    EXPECT_FALSE(m_recorder.Has(WM_DOWNLOAD_PROBED));
    EXPECT_EQ(_HEAPOK, _heapchk());
}

// A body that keeps moving is not cut, however long the whole transfer
// takes: only one step without its completion is.
// The step deadline is many times the gap between two pieces of the body
// (the server sends a 16 KiB piece about every 0.3 s), so no pause of a slow machine
// can make a retry and the count of requests is exact.
TEST_F(HttpDownloadTest, ASlowBodyThatKeepsMovingOutlastsManyDeadlines)
{
    const DWORD stepMs = 4000;
    const std::string content = RandomBytes(500000, 51);
    TestServer::Serve("slow.bin", content);
    auto download = MakeDownload(TestServer::Url("/files/slow.bin?rate=50000"), "slow.bin");
    download->stepDeadlineMs = stepMs;
    const ULONGLONG started = GetTickCount64();

    PostedMessage end = RunToEndWithin(*download, 60000);

    const ULONGLONG tookMs = GetTickCount64() - started;
    printf("[ measured ] slow body of %u bytes took %llu ms\n", static_cast<unsigned>(content.size()), tookMs);
    ASSERT_EQ(WM_DOWNLOAD_COMPLETED, end.message);
    EXPECT_GT(tookMs, 2ull * stepMs) << "the throttle did not make the transfer outlast the deadline";
    EXPECT_TRUE(content == ReadWholeFile(m_folder + "slow.bin"));
    EXPECT_EQ(2u, TestServer::RequestsFor("/files/slow.bin").size()) << "no step was retried";
    download->Stop();
}

// A worker never shows UI: a stop whose resume records cannot be written is
// reported to the wizard as a failed download, and the stop returns.
TEST_F(HttpDownloadTest, StopWhoseRecordsCannotBeKeptIsReportedNotShown)
{
    TestServer::Serve("norecord.bin", RandomBytes(1 << 20, 43));
    CreateDirectoryA((m_folder + "norecord.bin.Cfg").c_str(), nullptr);
    const DWORD attributes = GetFileAttributesA((m_folder + "norecord.bin.Cfg").c_str());
    ASSERT_TRUE(attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY));
    auto download = MakeDownload(TestServer::Url("/files/norecord.bin?rate=2000000"), "norecord.bin");
    ASSERT_EQ(0u, download->StartProbe());
    ASSERT_EQ(WM_DOWNLOAD_PROBED, m_recorder.WaitForAny({ WM_DOWNLOAD_PROBED }).message);
    ASSERT_EQ(0u, download->StartTransfer());
    ASSERT_TRUE(m_recorder.PumpUntil([&]() { return download->GetPercent() >= 10; }));

    EXPECT_EQ(0u, download->Stop()); // would wait for ever behind a message box

    PostedMessage failed = m_recorder.WaitForAny({ WM_DOWNLOAD_FAILED, WM_DOWNLOAD_COMPLETED });
    EXPECT_EQ(WM_DOWNLOAD_FAILED, failed.message);
    EXPECT_EQ(reinterpret_cast<WPARAM>(download.get()), failed.wParam);
    EXPECT_EQ(DownloadFailed, download->state);
    RemoveDirectoryA((m_folder + "norecord.bin.Cfg").c_str());
}

TEST_F(HttpDownloadTest, ALockedTargetGetsANewName)
{
    const std::string content = RandomBytes(20000, 11);
    TestServer::Serve("locked.bin", content);
    const std::string target = m_folder + "locked.bin";
    WriteWholeFile(target, "in use");
    HANDLE held = CreateFileA(target.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, held);
    auto download = MakeDownload(TestServer::Url("/files/locked.bin"), "locked.bin");

    PostedMessage done = RunToEnd(*download);
    CloseHandle(held);

    ASSERT_EQ(WM_DOWNLOAD_COMPLETED, done.message);
    EXPECT_EQ("locked.bin_new.bin", done.completed.fileName);
    EXPECT_TRUE(content == ReadWholeFile(m_folder + "locked.bin_new.bin"));
    EXPECT_EQ("in use", ReadWholeFile(target));
}

TEST_F(HttpDownloadTest, ManifestDownloadPostsItsOwnMessages)
{
    TestServer::Serve("newupdate.ini", "[SETUP]\r\nVERSION=1.0\r\n");
    auto manifest = MakeDownload(TestServer::Url("/files/newupdate.ini?12345"));
    manifest->isInfo = 1;
    ASSERT_EQ(0u, manifest->StartProbe());
    PostedMessage probed = m_recorder.WaitForAny({ WM_MANIFEST_PROBED, WM_MANIFEST_FAILED });
    ASSERT_EQ(WM_MANIFEST_PROBED, probed.message);
    EXPECT_EQ(reinterpret_cast<WPARAM>(manifest.get()), probed.wParam);
    ASSERT_EQ(0u, manifest->StartTransfer());
    PostedMessage done = m_recorder.WaitForAny({ WM_MANIFEST_DOWNLOADED, WM_MANIFEST_FAILED });
    ASSERT_EQ(WM_MANIFEST_DOWNLOADED, done.message);
    EXPECT_EQ("newupdate.ini", manifest->fileName);
    EXPECT_EQ("[SETUP]\r\nVERSION=1.0\r\n", ReadWholeFile(m_folder + "newupdate.ini"));

    auto missing = MakeDownload(TestServer::Url("/files/missing.ini"));
    missing->isInfo = 1;
    m_recorder.Clear();
    ASSERT_EQ(0u, missing->StartProbe());
    PostedMessage failed = m_recorder.WaitForAny({ WM_MANIFEST_PROBED, WM_MANIFEST_FAILED });
    EXPECT_EQ(WM_MANIFEST_FAILED, failed.message);
    EXPECT_EQ(0u, failed.wParam);
}

TEST(HttpDownloadProgress, PercentAddsTheStoredPartWithoutOverflow)
{
    struct Case
    {
        DWORD length, received, stored;
        int expected;
    } cases[] = {
        { 100000000, 50000000, 0, 50 }, // received * 100 exceeds 32 bits
        { 4000000000u, 3999999999u, 0, 99 },
        { 1000, 500, 30, 80 },
        { 1000, 900, 30, 100 }, // capped
        { 1000, 0, 30, 30 },    // nothing received yet: the stored part
        { 0, 500, 30, 30 },     // unknown length
    };
    for (const Case& c : cases) {
        CHttpDownload download;
        download.contentLength = c.length;
        download.percent = c.stored;
        DownloadSegment* segment = new DownloadSegment;
        segment->received = c.received;
        download.segments.push_back(segment);
        EXPECT_EQ(c.expected, download.GetPercent()) << c.length << " " << c.received;
    }
}

} // namespace
