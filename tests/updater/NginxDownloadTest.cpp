// The transfer engine against a web server we did not write: Debian's nginx,
// started on 127.0.0.1 by run_with_nginx.sh with a configuration of its own
// (/<name> at full speed, /slow/<name> at 1 MiB/s). nginx sends a strong
// ETag made of the file's time and length, Last-Modified, and honours
// If-Range; its access log records each request's Range, If-Range, status
// and body bytes.
#include "HttpDownload.h"
#include "UpdaterTestSupport.h"

#include <gtest/gtest.h>

#include <memory>
#include <sstream>
#include <string>
#include <vector>

namespace {

struct LoggedRequest
{
    std::string uri, range, ifRange, status;
    unsigned long long body = 0;
};

std::vector<LoggedRequest> NginxLog(const std::string& name)
{
    char path[MAX_PATH] = {};
    GetEnvironmentVariableA("LUMORA_TEST_NGINX_LOG", path, MAX_PATH);
    std::vector<LoggedRequest> found;
    std::istringstream lines(ReadWholeFile(path));
    std::string line;
    while (std::getline(lines, line)) {
        std::vector<std::string> fields;
        std::istringstream parts(line);
        std::string field;
        while (std::getline(parts, field, '|')) fields.push_back(field == "-" ? std::string() : field);
        if (fields.size() != 5 || fields[0].find(name) == std::string::npos) continue;
        found.push_back({ fields[0], fields[1], fields[2], fields[3], std::stoull(fields[4]) });
    }
    return found;
}

// nginx's ETag changes with the file's time: new content gets a later one.
void ServeNewContent(const std::string& name, const std::string& bytes)
{
    TestServer::Serve(name, bytes);
    HANDLE file = CreateFileA((TestServer::Root() + name).c_str(), FILE_WRITE_ATTRIBUTES,
                              FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, file);
    FILETIME time;
    GetFileTime(file, nullptr, nullptr, &time);
    time.dwHighDateTime += 1;
    SetFileTime(file, nullptr, nullptr, &time);
    CloseHandle(file);
}

class NginxDownloadTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(TestServer::Available()) << "run through run_with_nginx.sh";
        m_folder = FreshFolder(std::string("nginx_") + ::testing::UnitTest::GetInstance()->current_test_info()->name());
    }

    std::unique_ptr<CHttpDownload> MakeDownload(const std::string& path, const std::string& name)
    {
        std::unique_ptr<CHttpDownload> download(new CHttpDownload);
        download->folder = m_folder;
        download->url = TestServer::Url(path);
        download->fileName = name;
        download->owner = m_recorder.Window();
        download->state = DownloadWaiting;
        return download;
    }

    bool Probe(CHttpDownload& download)
    {
        m_recorder.Clear();
        return download.StartProbe() == 0 &&
            m_recorder.WaitForAny({ WM_DOWNLOAD_PROBED, WM_DOWNLOAD_FAILED }).message == WM_DOWNLOAD_PROBED;
    }

    UINT Transfer(CHttpDownload& download)
    {
        if (download.StartTransfer() != 0) return 0;
        return m_recorder.WaitForAny({ WM_DOWNLOAD_COMPLETED, WM_DOWNLOAD_FAILED }).message;
    }

    // A throttled transfer from /slow/, stopped once part of the file arrived.
    void StopMidway(const std::string& name)
    {
        auto first = MakeDownload("/slow/" + name, name);
        ASSERT_TRUE(Probe(*first));
        ASSERT_EQ(0u, first->StartTransfer());
        ASSERT_TRUE(m_recorder.PumpUntil([&]() { return first->GetPercent() >= 20; }));
        first->Stop();
        m_recorder.Drain();
        ASSERT_FALSE(m_recorder.Has(WM_DOWNLOAD_COMPLETED));
        ASSERT_TRUE(PathExists(m_folder + name + ".Cfg"));
        m_validator = first->validator;
        // nginx logs the stopped range once it notices the closed connection;
        // a test reading the last entry must not get that one.
        EXPECT_TRUE(m_recorder.PumpUntil([&]() { return NginxLog("/slow/" + name).size() >= 2; }));
    }

    std::string m_folder;
    std::string m_validator;
    MessageRecorder m_recorder;
};

TEST_F(NginxDownloadTest, FullDownloadIsByteIdenticalAndTakesTheETag)
{
    const std::string content = RandomBytes(3 << 20, 60);
    TestServer::Serve("full.bin", content);
    auto download = MakeDownload("/full.bin", "full.bin");
    ASSERT_TRUE(Probe(*download));
    EXPECT_EQ(content.size(), download->contentLength);
    EXPECT_EQ(1, download->resumable);
    ASSERT_FALSE(download->validator.empty());
    EXPECT_EQ('"', download->validator[0]);
    ASSERT_EQ(WM_DOWNLOAD_COMPLETED, Transfer(*download));
    EXPECT_TRUE(content == ReadWholeFile(m_folder + "full.bin"));
    auto log = NginxLog("/full.bin");
    ASSERT_EQ(2u, log.size());
    EXPECT_EQ("bytes=0-0", log[0].range);
    EXPECT_EQ("206", log[1].status);
    EXPECT_EQ(download->validator, log[1].ifRange);
}

TEST_F(NginxDownloadTest, StopAndResumeContinuesWhereItStopped)
{
    const std::string content = RandomBytes(2 << 20, 61);
    TestServer::Serve("resume.bin", content);
    StopMidway("resume.bin");

    auto second = MakeDownload("/resume.bin", "resume.bin");
    ASSERT_TRUE(Probe(*second));
    ASSERT_EQ(WM_DOWNLOAD_COMPLETED, Transfer(*second));
    EXPECT_TRUE(content == ReadWholeFile(m_folder + "resume.bin"));
    auto log = NginxLog("/resume.bin");
    ASSERT_FALSE(log.empty());
    EXPECT_EQ("206", log.back().status);
    EXPECT_NE(0u, log.back().range.compare(0, 8, "bytes=0-")) << log.back().range;
    EXPECT_EQ(m_validator, log.back().ifRange);
    EXPECT_LT(log.back().body, content.size());
}

// New content under the same address and length: seen by the probe, it
// restarts from byte 0; changed after the probe, nginx answers the If-Range
// with 200 and the whole new file.
TEST_F(NginxDownloadTest, ChangedFileIsFetchedWhole)
{
    const size_t size = 2 << 20;
    for (bool afterProbe : { false, true }) {
        SCOPED_TRACE(afterProbe ? "changed after the probe" : "changed before the probe");
        const std::string name = afterProbe ? "late.bin" : "early.bin";
        TestServer::Serve(name, RandomBytes(size, afterProbe ? 62 : 63));
        StopMidway(name);
        const std::string fresh = RandomBytes(size, afterProbe ? 64 : 65);
        if (!afterProbe) ServeNewContent(name, fresh);
        auto second = MakeDownload("/" + name, name);
        ASSERT_TRUE(Probe(*second));
        if (afterProbe) ServeNewContent(name, fresh);
        ASSERT_EQ(WM_DOWNLOAD_COMPLETED, Transfer(*second));
        EXPECT_TRUE(fresh == ReadWholeFile(m_folder + name));
        auto log = NginxLog("/" + name);
        ASSERT_FALSE(log.empty());
        if (afterProbe) {
            EXPECT_EQ("200", log.back().status);
            EXPECT_EQ(m_validator, log.back().ifRange);
        } else {
            EXPECT_EQ("206", log.back().status);
            EXPECT_EQ(0u, log.back().range.compare(0, 8, "bytes=0-")) << log.back().range;
        }
        EXPECT_EQ(size, log.back().body);
    }
}

} // namespace
