// The download manager: its result codes, one-at-a-time transfers against the
// loopback server, and the enciphered list file "updatefile.list".
#include "DownloadManager.h"
#include "AnsiText.h"
#include "ListFileSaver.h"
#include "StringCipher.h"
#include "UpdaterCipherKey.h"
#include "UpdaterTestSupport.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <future>
#include <mutex>

#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
#include <json/json.h>
#pragma GCC diagnostic pop

namespace {

class DownloadManagerTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_folder = FreshFolder(::testing::UnitTest::GetInstance()->current_test_info()->name());
        GetCurrentDirectoryA(MAX_PATH, m_previous);
        // The list file is relative to the current directory, the install folder.
        SetCurrentDirectoryA(m_folder.c_str());
    }
    void TearDown() override { SetCurrentDirectoryA(m_previous); }

    DownloadRequest Request(const std::string& url, const std::string& name)
    {
        DownloadRequest request;
        request.downloadPath = m_folder;
        request.url = url;
        request.fileName = name;
        return request;
    }

    void WriteList(const std::string& plainText, const std::string& keyString = std::string())
    {
        std::string cipher = keyString.empty() ? StringCipher(plainText, MakeUpdaterCipherKey(), CipherEncode)
                                               : StringCipher(plainText, StringCipherKey(keyString), CipherEncode);
        WriteWholeFile(m_folder + "updatefile.list", cipher);
    }

    std::string m_folder;
    char m_previous[MAX_PATH] = {};
    MessageRecorder m_recorder;
};

TEST_F(DownloadManagerTest, UnknownAddressesGiveTheNoTaskCode)
{
    CDownloadManager manager;
    EXPECT_EQ(0x20000002, manager.StartDownload("http://127.0.0.1/none"));
    EXPECT_EQ(0x20000002, manager.StopDownload("http://127.0.0.1/none", false));
    EXPECT_EQ(0x20000002, manager.RemoveDownload("http://127.0.0.1/none"));
    EXPECT_EQ(0, manager.GetDownloadPercent("http://127.0.0.1/none"));
}

TEST_F(DownloadManagerTest, ListRoundTripRestoresTasksAndFinishedDownloads)
{
    {
        CDownloadManager manager;
        DownloadRequest first = Request("http://h/a/one.bin", "one.bin");
        first.copyPath = L"C:\\程序\\";
        first.version = L"2.1.0";
        first.cfgFile = m_folder + "one.bin.Cfg";
        first.percent = 42;
        first.fileLength = 123456;
        manager.AddFileDownload(first);
        manager.AddFileDownload(Request("http://h/a/two.bin", "two.bin"));
        CompletedDownloadRecord record;
        record.url = "http://h/a/done.exe";
        record.folder = m_folder;
        record.fileName = "done.exe_new.exe";
        record.copyPath = L"D:\\目标\\";
        record.version = L"3.0";
        record.size = 777;
        EXPECT_FALSE(manager.MoveToFinished(record));
        manager.SaveDownloadList();
    }
    // Only cipher text lies on disk.
    std::string onDisk = ReadWholeFile(m_folder + "updatefile.list");
    EXPECT_EQ(std::string::npos, onDisk.find("downloadlist"));

    CDownloadManager loaded;
    loaded.LoadDownloadList();
    loaded.Lock();
    ASSERT_EQ(2u, loaded.Tasks().size());
    const DownloadTask& task = loaded.Tasks().at("http://h/a/one.bin");
    ASSERT_NE(nullptr, task.downloader);
    EXPECT_EQ("one.bin", task.name);
    EXPECT_EQ(m_folder, task.downloader->folder);
    EXPECT_EQ(L"C:\\程序\\", task.downloader->copyPath);
    EXPECT_EQ(L"2.1.0", task.downloader->version);
    EXPECT_EQ(m_folder + "one.bin.Cfg", task.downloader->cfgFile);
    EXPECT_EQ(42u, task.downloader->percent);
    EXPECT_EQ(123456u, task.downloader->contentLength);
    EXPECT_EQ(DownloadWaiting, task.downloader->state);
    EXPECT_EQ(0, task.downloader->probing); // loading starts nothing
    ASSERT_EQ(1u, loaded.Finished().size());
    const CompletedDownload& done = loaded.Finished().at("http://h/a/done.exe");
    EXPECT_EQ("done.exe_new.exe", done.listName);
    EXPECT_EQ(m_folder, done.downloadPath);
    EXPECT_EQ(L"D:\\目标\\", done.copyPath);
    EXPECT_EQ(L"3.0", done.version);
    EXPECT_EQ(777u, done.fileSize);
    loaded.Unlock();
}

// A list saved by an earlier updater, enciphered once outside this code
// (tests/shell/cipher/cipher_reference.py) with the updater key.
TEST_F(DownloadManagerTest, LoadsAFixedEncipheredList)
{
    WriteWholeFile(m_folder + "updatefile.list",
                   "8eeafc142Dj3Mkmc6QRnYO47EXMLKvmT1Gke8Gk95kO80ftEi87Rz0gf+Ed9maEf+L4Zi+xROZ88IOzZrI7QoKWSZBz0Dj9bp/"
                   "oItTDLig/zapjo+uzxUUJeud/gVhwalUCw1Vf8oFWkMQXg9Difbmh+x6+E3d0d5aQ+5KgggDCE/"
                   "1QOgFQ65gOqhMOFUW3jv2xLHWvjVxCNXf2osjKbIVbha9knahvCD4RrDSEj4cAWaA8yj99BsTUXaiR+sj4");
    CDownloadManager loaded;
    loaded.LoadDownloadList();
    loaded.Lock();
    EXPECT_TRUE(loaded.Tasks().empty());
    ASSERT_EQ(1u, loaded.Finished().count("http://h/a/done.exe"));
    const CompletedDownload& done = loaded.Finished().at("http://h/a/done.exe");
    EXPECT_EQ("done.exe_new.exe", done.listName);
    EXPECT_EQ("C:\\Lumora\\cache\\", done.downloadPath);
    EXPECT_EQ(L"3.0", done.version);
    EXPECT_EQ(777u, done.fileSize);
    loaded.Unlock();
}

TEST_F(DownloadManagerTest, EmptyListIsAnObjectWithTwoEmptyArrays)
{
    CDownloadManager manager;
    manager.SaveDownloadList();
    std::string text = StringCipher(ReadWholeFile(m_folder + "updatefile.list"), MakeUpdaterCipherKey(), CipherDecode);
    Json::Value root;
    Json::Reader reader;
    ASSERT_TRUE(reader.parse(text, root));
    EXPECT_EQ(0u, root["downloadSize"].asUInt());
    EXPECT_EQ(0u, root["completeSize"].asUInt());
    EXPECT_TRUE(root["downloadlist"].isArray() && root["downloadlist"].empty());
    EXPECT_TRUE(root["completelist"].isArray() && root["completelist"].empty());
}

TEST_F(DownloadManagerTest, DamagedListsLoadNothing)
{
    const std::string good = R"({"downloadlist":[{"url":"http://h/x.bin","fileName":"x.bin","percent":5}],)"
                             R"("completelist":[{"url":"http://h/y.bin","listName":"y.bin"}]})";
    {
        // The good document loads, so the damaged ones below fail for their damage.
        WriteList(good);
        CDownloadManager manager;
        manager.LoadDownloadList();
        manager.Lock();
        EXPECT_EQ(1u, manager.Tasks().size());
        EXPECT_EQ(1u, manager.Finished().size());
        manager.Unlock();
    }
    struct Case
    {
        const char* what;
        std::string plain;
        std::string key;
        size_t truncateTo;
    } cases[] = {
        { "another key", good, "another-21-char-key!!", 0 },
        { "truncated cipher text", good, "", 40 },
        { "truncated JSON", good.substr(0, good.size() / 2), "", 0 },
        { "percent as text", R"({"downloadlist":[{"url":"http://h/x","percent":"5"}]})", "", 0 },
        { "negative length", R"({"downloadlist":[{"url":"http://h/x","fileLength":-1}]})", "", 0 },
        { "negative size", R"({"completelist":[{"url":"http://h/y","fileSize":-5}]})", "", 0 },
        { "percent above 100", R"({"downloadlist":[{"url":"http://h/x","percent":250}]})", "", 0 },
        { "list not an array", R"({"downloadlist":{"url":"http://h/x"}})", "", 0 },
        { "element not an object", R"({"downloadlist":[7]})", "", 0 },
        { "url as a number", R"({"completelist":[{"url":12}]})", "", 0 },
        { "root an array", R"([1,2])", "", 0 },
        // JsonCpp throws past its nesting limit; the list must load nothing.
        { "arrays nested past the parser's limit",
          R"({"downloadlist":)" + std::string(20000, '[') + std::string(20000, ']') + "}", "", 0 },
        { "objects nested past the parser's limit",
          [] {
              std::string text;
              for (int i = 0; i < 20000; ++i) text += R"({"a":)";
              return text + "1" + std::string(20000, '}');
          }(),
          "", 0 },
        // A good document padded past the size any real list has is not read.
        { "larger than any real list", good + std::string(16 * 1024 * 1024, ' '), "", 0 },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        WriteList(c.plain, c.key);
        if (c.truncateTo) {
            std::string cipher = ReadWholeFile(m_folder + "updatefile.list");
            WriteWholeFile(m_folder + "updatefile.list", cipher.substr(0, c.truncateTo));
        }
        CDownloadManager manager;
        manager.LoadDownloadList();
        manager.Lock();
        EXPECT_TRUE(manager.Tasks().empty());
        EXPECT_TRUE(manager.Finished().empty());
        manager.Unlock();
    }
}

TEST_F(DownloadManagerTest, TaskIsProbedThenTransferredAndMovedToFinished)
{
    ASSERT_TRUE(TestServer::Available());
    const std::string content = RandomBytes(40000, 21);
    TestServer::Serve("managed.bin", content);
    const std::string url = TestServer::Url("/files/managed.bin");
    CDownloadManager manager;
    manager.SetOwner(m_recorder.Window());
    manager.AddFileDownload(Request(url, "managed.bin"));

    EXPECT_EQ(0, manager.StartDownload(url));
    PostedMessage probed = m_recorder.WaitForAny({ WM_DOWNLOAD_PROBED, WM_DOWNLOAD_FAILED });
    ASSERT_EQ(WM_DOWNLOAD_PROBED, probed.message);
    EXPECT_EQ(url, probed.url);
    EXPECT_EQ(0, manager.Pending()); // a probe does not count as running
    EXPECT_EQ(0, manager.StartDownload(probed.url));
    EXPECT_EQ(1, manager.Pending());
    PostedMessage done = m_recorder.WaitForAny({ WM_DOWNLOAD_COMPLETED, WM_DOWNLOAD_FAILED });
    ASSERT_EQ(WM_DOWNLOAD_COMPLETED, done.message);

    // What the wizard does with the record.
    manager.DecrementPending();
    EXPECT_TRUE(manager.MoveToFinished(done.completed));
    done.completed.download->Stop();
    delete done.completed.download;
    manager.Lock();
    EXPECT_TRUE(manager.Tasks().empty());
    EXPECT_EQ("managed.bin", manager.Finished().at(url).listName);
    EXPECT_EQ(40000u, manager.Finished().at(url).fileSize);
    manager.Unlock();
    EXPECT_TRUE(content == ReadWholeFile(m_folder + "managed.bin"));
}

TEST_F(DownloadManagerTest, StopAndClearEndRunningTransfers)
{
    ASSERT_TRUE(TestServer::Available());
    TestServer::Serve("slow.bin", RandomBytes(1 << 20, 22));
    const std::string slow = TestServer::Url("/files/slow.bin?rate=500000");
    const std::string other = TestServer::Url("/files/slow.bin?rate=500000&other=1");
    CDownloadManager manager;
    manager.SetOwner(m_recorder.Window());
    manager.AddFileDownload(Request(slow, "slow.bin"));
    manager.AddFileDownload(Request(other, "other.bin"));
    for (const std::string& url : { slow, other }) {
        manager.StartDownload(url);
        ASSERT_EQ(WM_DOWNLOAD_PROBED, m_recorder.WaitForAny({ WM_DOWNLOAD_PROBED }).message);
        m_recorder.Clear();
        manager.StartDownload(url);
    }
    ASSERT_TRUE(m_recorder.PumpUntil([&]() { return manager.GetDownloadPercent(slow) > 0; }));

    EXPECT_EQ(0, manager.StopDownload(slow, false));
    manager.Lock();
    EXPECT_EQ(DownloadWaiting, manager.Tasks().at(slow).downloader->state);
    EXPECT_TRUE(manager.Tasks().at(slow).downloader->AreThreadsValid());
    manager.Unlock();
    EXPECT_EQ(1, manager.Pending());

    // The other transfer is still running: clearing must stop it before deleting it.
    manager.ClearAllDownloads();
    manager.Lock();
    EXPECT_TRUE(manager.Tasks().empty());
    manager.Unlock();
    m_recorder.Drain();
    EXPECT_FALSE(m_recorder.Has(WM_DOWNLOAD_COMPLETED));
}

// A downloader whose stop takes as long as the test wants, standing in for a
// transfer whose threads are slow to end.
class SlowStoppingDownload : public CDownloadPublic
{
public:
    SlowStoppingDownload(HANDLE entered, HANDLE release) : m_entered(entered), m_release(release) { }
    DWORD Stop() override
    {
        SetEvent(m_entered);
        WaitForSingleObject(m_release, 20000);
        return 0;
    }

private:
    HANDLE m_entered;
    HANDLE m_release;
};

// Stopping waits for a downloader's threads; meanwhile the wizard, the
// progress timer and the list save must still get at the tables, and control
// operations on other tasks must still go on.
TEST_F(DownloadManagerTest, TablesStayReachableWhileADownloaderStops)
{
    HANDLE entered = CreateEventW(nullptr, FALSE, FALSE, nullptr);
    HANDLE release = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    enum Way { ByStop, ByClear, ByReplace };
    for (Way way : { ByStop, ByClear, ByReplace }) {
        SCOPED_TRACE(way == ByStop ? "StopDownload" : way == ByClear ? "ClearAllDownloads" : "AddFileDownload");
        ResetEvent(entered);
        ResetEvent(release);
        CDownloadManager manager;
        DownloadRequest request = Request("http://127.0.0.1/slow.bin", "slow.bin");
        request.kind = 1;
        request.downloader = new SlowStoppingDownload(entered, release);
        manager.AddFileDownload(request);
        request.downloader->state = DownloadRunning;

        auto stopping = std::async(std::launch::async, [&]() {
            if (way == ByClear)
                manager.ClearAllDownloads();
            else if (way == ByStop)
                manager.StopDownload(request.url, false);
            else
                manager.AddFileDownload(Request(request.url, "slow.bin"));
        });
        ASSERT_EQ(WAIT_OBJECT_0, WaitForSingleObject(entered, 20000));
        auto reader = std::async(std::launch::async, [&]() {
            manager.GetDownloadPercent(request.url);
            manager.SaveDownloadList();
            const std::string other = "http://127.0.0.1/other.bin";
            manager.AddFileDownload(Request(other, "other.bin"));
            manager.StopDownload(other, false);
            manager.RemoveDownload(other);
        });
        EXPECT_EQ(std::future_status::ready, reader.wait_for(std::chrono::seconds(10)))
            << "a lock is held across the stop";
        SetEvent(release);
        stopping.wait();
        reader.wait();
    }
    CloseHandle(entered);
    CloseHandle(release);
}

// Records its stop and its end in a log that outlives it.
class LoggingSlowDownload : public CDownloadPublic
{
public:
    LoggingSlowDownload(HANDLE entered, HANDLE release, std::vector<std::string>& log, std::mutex& logLock)
        : m_entered(entered), m_release(release), m_log(log), m_logLock(logLock)
    { }
    ~LoggingSlowDownload() override { Note(m_log, m_logLock, "deleted"); }
    DWORD Stop() override
    {
        std::vector<std::string>& log = m_log;
        std::mutex& logLock = m_logLock;
        const bool first = m_stops++ == 0;
        if (first) {
            SetEvent(m_entered);
            WaitForSingleObject(m_release, 20000);
        }
        Note(log, logLock, first ? "stop ended" : "stopped again");
        return 0;
    }

private:
    static void Note(std::vector<std::string>& log, std::mutex& logLock, const char* what)
    {
        std::lock_guard<std::mutex> hold(logLock);
        log.push_back(what);
    }
    HANDLE m_entered;
    HANDLE m_release;
    std::vector<std::string>& m_log;
    std::mutex& m_logLock;
    int m_stops = 0;
};

// The control lock is left while a downloader stops; a removal of that
// downloader meanwhile waits for the stop to end before it deletes it.
TEST_F(DownloadManagerTest, ARemovalWaitsForTheStopUnderWay)
{
    HANDLE entered = CreateEventW(nullptr, FALSE, FALSE, nullptr);
    HANDLE release = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    std::vector<std::string> log;
    std::mutex logLock;
    CDownloadManager manager;
    DownloadRequest request = Request("http://127.0.0.1/slow.bin", "slow.bin");
    request.kind = 1;
    request.downloader = new LoggingSlowDownload(entered, release, log, logLock);
    manager.AddFileDownload(request);
    request.downloader->state = DownloadRunning;

    auto stopping = std::async(std::launch::async, [&]() { manager.StopDownload(request.url, false); });
    ASSERT_EQ(WAIT_OBJECT_0, WaitForSingleObject(entered, 20000));
    auto removing = std::async(std::launch::async, [&]() { manager.RemoveDownload(request.url); });
    EXPECT_NE(std::future_status::ready, removing.wait_for(std::chrono::seconds(1)))
        << "the removal did not wait for the stop";
    SetEvent(release);
    stopping.wait();
    removing.wait();
    EXPECT_EQ((std::vector<std::string>{ "stop ended", "stopped again", "deleted" }), log);
    CloseHandle(entered);
    CloseHandle(release);
}

// Saves racing from many threads leave the newest list, whichever write ends
// last: older lists are written bigger here, so their writes tend to end
// after newer ones. No temporary file of a save is left behind.
TEST_F(DownloadManagerTest, RacingSavesLeaveTheNewestList)
{
    const LONG threads = 6, rounds = 8;
    for (int attempt = 0; attempt < 3; ++attempt) {
        SCOPED_TRACE(attempt);
        DeleteFileA("racing.list");
        ListFileSaver saver("racing.list");
        std::atomic<LONG> taken{ 0 };
        std::vector<std::future<void>> savers;
        for (LONG t = 0; t < threads; ++t) {
            savers.push_back(std::async(std::launch::async, [&]() {
                for (LONG r = 0; r < rounds; ++r) {
                    const LONG snapshot = ++taken;
                    const size_t size = static_cast<size_t>(threads * rounds + 1 - snapshot) * 8192;
                    saver.Save(snapshot, std::to_string(snapshot) + std::string(size, 'x'));
                }
            }));
        }
        for (auto& running : savers) running.wait();
        const std::string list = ReadWholeFile(m_folder + "racing.list");
        EXPECT_EQ(std::to_string(threads * rounds), list.substr(0, list.find('x')));
        WIN32_FIND_DATAA found;
        HANDLE search = FindFirstFileA((m_folder + "racing.list.new*").c_str(), &found);
        EXPECT_EQ(INVALID_HANDLE_VALUE, search) << found.cFileName;
        if (search != INVALID_HANDLE_VALUE) FindClose(search);
    }
    // One after the other, an older snapshot does not replace a newer list.
    ListFileSaver saver("racing.list");
    saver.Save(2, "newer");
    saver.Save(1, "older");
    EXPECT_EQ("newer", ReadWholeFile(m_folder + "racing.list"));
}

// A kill at any moment of a save leaves a list that loads: the old one or the
// new one. A child process saves two different lists by turns; once it has
// saved, the test watches the folder and kills the child the moment a file in
// it changes, that is, while a save is writing.
TEST_F(DownloadManagerTest, KillDuringAListSaveLeavesALoadableList)
{
    const std::string child = TestBinary("updater_list_save_child.exe");
    ASSERT_TRUE(PathExists(child)) << child;
    for (int round = 0; round < 10; ++round) {
        SCOPED_TRACE(round);
        const std::string eventName = "lumora_list_save_test_" + std::to_string(GetCurrentProcessId());
        HANDLE saved = CreateEventA(nullptr, FALSE, FALSE, eventName.c_str());
        // Without its trailing backslash, which would escape the closing quote.
        const std::string folder = m_folder.substr(0, m_folder.size() - 1);
        std::string line = "\"" + child + "\" \"" + folder + "\" " + eventName;
        STARTUPINFOA startup = { sizeof(startup) };
        PROCESS_INFORMATION process = {};
        ASSERT_TRUE(CreateProcessA(nullptr, &line[0], nullptr, nullptr, FALSE, 0, nullptr, m_folder.c_str(), &startup,
                                   &process));
        ASSERT_EQ(WAIT_OBJECT_0, WaitForSingleObject(saved, 60000));
        HANDLE change = FindFirstChangeNotificationA(folder.c_str(), FALSE,
                                                     FILE_NOTIFY_CHANGE_FILE_NAME | FILE_NOTIFY_CHANGE_SIZE |
                                                         FILE_NOTIFY_CHANGE_LAST_WRITE);
        ASSERT_NE(INVALID_HANDLE_VALUE, change);
        // Every other round lets one more save end first.
        if (round % 2) {
            ASSERT_EQ(WAIT_OBJECT_0, WaitForSingleObject(saved, 60000));
        }
        FindNextChangeNotification(change);
        EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(change, 60000));
        TerminateProcess(process.hProcess, 9);
        FindCloseChangeNotification(change);
        WaitForSingleObject(process.hProcess, 20000);
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
        CloseHandle(saved);

        CDownloadManager manager;
        manager.LoadDownloadList();
        manager.Lock();
        const size_t tasks = manager.Tasks().size();
        manager.Unlock();
        EXPECT_TRUE(tasks == 3000 || tasks == 2000) << tasks << " tasks";
    }
}

// The wizard's thread replaces and releases the manifest download while
// worker threads (the stop after "取消", the progress timer) take their own
// reference to it: a reference taken meanwhile is always whole.
TEST_F(DownloadManagerTest, TheManifestDownloadIsTakenSafelyWhileItIsReplaced)
{
    CDownloadManager manager;
    manager.SetOwner(m_recorder.Window());
    std::atomic<bool> done{ false };
    std::atomic<long> taken{ 0 };
    auto reader = std::async(std::launch::async, [&]() {
        while (!done) {
            std::shared_ptr<CHttpDownload> info = manager.GetInfoDownload();
            if (info && info->isInfo == 1) ++taken;
        }
    });
    // Port 1 on the loopback address: nothing listens, each probe ends at once.
    for (int i = 0; i < 300; ++i) {
        manager.StartInfoDownload("http://127.0.0.1:1/lumo/2014/newupdate.ini", FromAnsi(m_folder));
        if (i % 2) manager.ReleaseInfoDownload();
    }
    manager.ReleaseInfoDownload();
    done = true;
    reader.get();
    EXPECT_GT(taken.load(), 0);
    EXPECT_EQ(nullptr, manager.GetInfoDownload());
}

} // namespace
