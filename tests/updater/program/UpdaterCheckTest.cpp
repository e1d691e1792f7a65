// lumoraupd.exe as a user meets it, end to end against the loopback update
// server: which manifest versions count as new for the real lumora.exe, checks
// that cannot succeed (an error page for a manifest, an address that does not
// decipher, a server that never answers), a setup that ends without reporting,
// and leaving the wizard during a download. Each run ends in a message or a
// quiet end within a bounded time, gives the main program back, and leaves
// nothing that blocks the next check.
#include "AppDirectory.h"
#include "ClientVersion.h"
#include "ResumeRecordFile.h"
#include "SelfRelocation.h"
#include "StringCipher.h"
#include "TestProcesses.h"
#include "UpdateInstaller.h"
#include "UpdaterCipherKey.h"
#include "UpdaterRunTest.h"
#include "UpdaterTestSupport.h"
#include "UpdateManifestSigner.h"
#include "VersionCheck.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

// A server that never answers is given up after one step's deadline (15 s).
const DWORD kHungRunLimitMs = 45000;
// The download steps' deadline these runs give the updater, and a bound on a
// forced run whose download gets no answer: the probe and every try of the
// transfer wait one step at most, beside the run's own start and end.
const wchar_t kTestStepMs[] = L"3000";
const DWORD kHungDownloadLimitMs = 60000;
const char kRestoreLine[] = "syscommand 0xf120";  // SC_RESTORE
const char kMinimizeLine[] = "syscommand 0xf020"; // SC_MINIMIZE

// Client points of the wizard's buttons (update.xml: a 450 x 360 window, a
// 1-px frame, a 36-px title strip and a 32-px footer; the pages' button rows
// end 20 px above the footer and are right-aligned 30 px from the edge).
const POINT kUpdateButton = { 253, 292 };
const POINT kDownloadCancelButton = { 369, 292 };

std::wstring WindowText(HWND window)
{
    wchar_t text[128] = {};
    GetWindowTextW(window, text, 128);
    return text;
}

// How often `text` occurs in `log`.
size_t CountOf(const std::string& log, const std::string& text)
{
    size_t count = 0;
    for (size_t at = log.find(text); at != std::string::npos; at = log.find(text, at + 1)) ++count;
    return count;
}

// The start of the first ranged request for `name` in the server's request
// log that is not the probe's one byte ("bytes=0-0").
bool FirstDataRangeStart(const std::string& log, const std::string& name, DWORD& start)
{
    std::istringstream lines(log);
    std::string line;
    const std::string key = "\"range\": \"bytes=";
    while (std::getline(lines, line)) {
        size_t at = line.find(key);
        if (line.find(name) == std::string::npos || at == std::string::npos) continue;
        std::string range = line.substr(at + key.size());
        if (range.compare(0, 4, "0-0\"") == 0) continue;
        start = static_cast<DWORD>(strtoul(range.c_str(), nullptr, 10));
        return true;
    }
    return false;
}

template <typename Condition> bool WaitFor(Condition done, DWORD limitMs)
{
    for (DWORD waited = 0; waited < limitMs; waited += 50) {
        if (done()) return true;
        Sleep(50);
    }
    return done();
}

class UpdaterCheckTest : public UpdaterRunTest
{
protected:
    void SetUp() override
    {
        PrepareRun(L"lumoraupd_check");
        if (HasFatalFailure()) return;
        ASSERT_TRUE(CopyFileW(LUMORA_TEST_BUILD_DIR L"\\tests\\updater_stub_setup.exe",
                              (m_serverRoot + L"setup.exe").c_str(), FALSE));
        DeleteFileW((m_serverRoot + L"newupdate.ini.hang").c_str());
        DeleteFileW((m_serverRoot + L"setup.exe.hang").c_str());
    }

    void TearDown() override
    {
        SetEnvironmentVariableW(L"LUMORA_UPDATE_STEP_MS", nullptr);
        EndProcess(m_updater);
        EndProcess(m_mainStub);
        EndMainProgramsOfTheFolder();
        // A main program restarted just as the updater ended has no window yet
        // to close; it must not hold the folder the next test makes anew.
        KillProcessesUnder(m_program);
        UpdaterRunTest::TearDown();
    }

    // A main program the updater restarted ends with the test.
    void EndMainProgramsOfTheFolder()
    {
        for (HWND main = FindMainWindow(0); main; main = FindMainWindow(0)) {
            PostMessageW(main, WM_SYSCOMMAND, SC_CLOSE, 0x800);
            for (int i = 0; i < 100 && IsWindow(main); ++i) Sleep(20);
            if (IsWindow(main)) break;
        }
    }

    HWND FindMainWindow(DWORD processId) { return FindProcessWindow(processId, L"LumoraStubMain", L"lumora", false); }

    std::string Encipher(const std::string& text) const
    {
        return StringCipher(text, MakeUpdaterCipherKey(), CipherEncode);
    }

    // As the update server publishes it: signed with the tests' key.
    void Publish(const std::string& text) { WriteWholeFile(m_serverRoot + L"newupdate.ini", SignedManifest(text)); }

    std::string SetupDigest() const { return DigestKeysOfFile(m_serverRoot + L"setup.exe", ""); }

    void ServeSetupManifest(const std::string& version, const std::string& runName, const std::string& setupUrl)
    {
        Publish("[RUN]\r\nNAME=" + runName + "\r\n[SETUP]\r\nVERSION=" + version + "\r\nFILE=" + version +
                "\r\nNEWFEATURES=one\\ntwo\r\nNAME=setup.exe\r\nURL=" + setupUrl + "\r\n" + SetupDigest());
    }

    // The manifest raises a hidden check ("S A") to a forced update.
    void ServeForcedSetup(const std::string& query)
    {
        Publish("[RUN]\r\nMODE=1\r\nNAME=setup.exe\r\n[SETUP]\r\nVERSION=99.0\r\nFILE=99.0\r\nNAME=setup.exe\r\nURL=" +
                Encipher(ServerUrl("setup.exe" + query)) + "\r\n" + SetupDigest());
    }

    void ServeNewerSetup(const std::string& runName = "setup.exe", const std::string& query = "")
    {
        ServeSetupManifest("99.0", runName, Encipher(ServerUrl("setup.exe" + query)));
    }

    void UseTheRealMainProgram()
    {
        ASSERT_TRUE(CopyFileW(LUMORA_TEST_BIN_DIR L"\\lumora.exe", (m_program + L"lumora.exe").c_str(), FALSE));
    }

    void StartMainStub()
    {
        ASSERT_TRUE(CopyFileW(LUMORA_TEST_BUILD_DIR L"\\tests\\updater_stub_main.exe",
                              (m_program + L"lumora.exe").c_str(), FALSE));
        LaunchMainStub();
    }

    // Waits for a visible window of the updater; null when the updater ends
    // first or the time is up.
    HWND WaitForWindow(const wchar_t* className, const wchar_t* property, DWORD limitMs = kRunLimitMs)
    {
        return WaitForUpdaterWindow(className, property, true, limitMs);
    }

    HWND WaitForWizard(DWORD limitMs = kRunLimitMs) { return WaitForWindow(L"UpdateDlg", nullptr, limitMs); }
    HWND WaitForMessageBox(DWORD limitMs = kRunLimitMs) { return WaitForWindow(L"Joyvale升级程序", nullptr, limitMs); }

    bool WaitForLog(const std::wstring& path, const std::string& text, DWORD limitMs = kRunLimitMs)
    {
        for (DWORD waited = 0; waited < limitMs; waited += 50) {
            if (ReadWholeFile(path).find(text) != std::string::npos) return true;
            Sleep(50);
        }
        return false;
    }

    // A hidden check whose answer is "already the newest" ends without ever
    // showing a window; a new version shows the wizard.
    bool QuietCheckOffersUpdate()
    {
        StartUpdater(L"S A");
        HWND wizard = WaitForWizard();
        if (!wizard) {
            EXPECT_TRUE(UpdaterEnds());
            return false;
        }
        PostMessageW(wizard, WM_SYSCOMMAND, SC_CLOSE, 0);
        EXPECT_TRUE(UpdaterEnds());
        return true;
    }

    // The next check after a failed one: a hidden manual check ("S") that is
    // offered a new version shows the wizard, so the single-instance lock and
    // the program folder were left in order.
    void ExpectNextCheckWorks()
    {
        DeleteFileW((m_serverRoot + L"newupdate.ini.hang").c_str());
        ServeNewerSetup();
        StartUpdater(L"S");
        HWND wizard = WaitForWizard();
        EXPECT_NE(nullptr, wizard) << "the next check shows the new version";
        if (wizard) PostMessageW(wizard, WM_SYSCOMMAND, SC_CLOSE, 0);
        EXPECT_TRUE(UpdaterEnds());
    }

    std::string MainLog() { return ReadWholeFile(m_program + L"lumora_stub.log"); }
    std::string SetupLog() { return ReadWholeFile(m_program + L"setup_stub.log"); }
    std::string RequestLog() { return ReadWholeFile(m_serverRoot + L"requests.log"); }
};

TEST_F(UpdaterCheckTest, TheMainProgramCarriesTheVersionItsWindowShows)
{
    std::wstring fileVersion;
    QueryFileVersion(LUMORA_TEST_BIN_DIR L"\\lumora.exe", fileVersion);
    EXPECT_EQ(std::wstring(ClientVersion()), fileVersion);
    EXPECT_EQ(L"版本 : " + fileVersion, VersionLabelText());
    // Every deliverable carries the same version.
    for (const wchar_t* name : { L"lumoraupd.exe", L"Uprelay.exe", L"LumoraPlugin.dll" }) {
        SCOPED_TRACE(Narrow(name));
        std::wstring version;
        QueryFileVersion(std::wstring(LUMORA_TEST_BIN_DIR L"\\") + name, version);
        EXPECT_EQ(fileVersion, version);
    }
}

TEST_F(UpdaterCheckTest, OnlyAVersionNewerThanTheInstalledOneIsOffered)
{
    UseTheRealMainProgram();
    std::wstring installed;
    QueryFileVersion(m_program + L"lumora.exe", installed);
    ASSERT_EQ(std::wstring(ClientVersion()), installed);
    const std::string same = Narrow(installed);
    struct Case
    {
        std::string version;
        bool offered;
    };
    const Case cases[] = {
        { same, false },        { "2.0", false },    { "1.0", false }, { "0.9", false },
        { same + ".0", false }, { "2.0.0.2", true }, { "2.1", true },  { "3.0", true },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.version);
        WriteWholeFile(m_program + L"updatefile.list", "kept from an earlier run");
        ServeSetupManifest(c.version, "setup.exe", Encipher(ServerUrl("setup.exe")));
        EXPECT_EQ(c.offered, QuietCheckOffersUpdate());
        if (!c.offered) {
            EXPECT_FALSE(PathExists(m_program + L"updatefile.list"));
            EXPECT_FALSE(PathExists(m_program + L"cache")) << "no empty folder is left per check";
        }
    }
    // Nothing was downloaded: the wizard only offered.
    EXPECT_EQ(std::string::npos, RequestLog().find("setup.exe"));
}

TEST_F(UpdaterCheckTest, ACheckWithoutAUsableAnswerIsAFailureNotTheNewest)
{
    struct Case
    {
        const char* what;
        bool served;
        std::string manifest;
    };
    const std::string newer =
        "[SETUP]\r\nVERSION=99.0\r\nFILE=99.0\r\nNAME=setup.exe\r\nURL=" + Encipher(ServerUrl("setup.exe")) + "\r\n" +
        SetupDigest();
    const Case cases[] = {
        { "no manifest on the server", false, "" },
        { "an error page answered with 200", true,
          SignedManifest("<html><head><title>502</title></head><body>Bad Gateway</body></html>") },
        { "an address that does not decipher", true,
          SignedManifest("[SETUP]\r\nVERSION=99.0\r\nFILE=99.0\r\nNAME=setup.exe\r\nURL=notciphertext\r\n" +
                         SetupDigest()) },
        { "a newer setup without a signature", true, newer },
        { "a newer setup signed by another key", true, SignedWithOtherKey(newer) },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        if (c.served)
            WriteWholeFile(m_serverRoot + L"newupdate.ini", c.manifest);
        else
            DeleteFileW((m_serverRoot + L"newupdate.ini").c_str());
        // Interactive: the error box, never the "newest" page.
        StartUpdater(L"");
        HWND box = WaitForMessageBox();
        ASSERT_NE(nullptr, box);
        EXPECT_EQ(L"错误", WindowText(box));
        SendMessageW(box, WM_KEYDOWN, VK_ESCAPE, 0);
        EXPECT_TRUE(UpdaterEnds());
        // Quiet: an end without any window.
        StartUpdater(L"S A");
        EXPECT_EQ(nullptr, WaitForWindow(nullptr, nullptr));
        EXPECT_TRUE(UpdaterEnds());
        EXPECT_FALSE(PathExists(m_program + L"cache"));
    }
    ExpectNextCheckWorks();
}

TEST_F(UpdaterCheckTest, AServerThatNeverAnswersEndsTheCheckInBoundedTime)
{
    ServeNewerSetup();
    WriteWholeFile(m_serverRoot + L"newupdate.ini.hang", "");
    // The hidden manual check ends quietly and frees the lock.
    StartUpdater(L"S");
    EXPECT_EQ(nullptr, WaitForWindow(nullptr, nullptr, kHungRunLimitMs));
    ASSERT_TRUE(UpdaterEnds(kHungRunLimitMs)) << "the check waits without an end";
    EXPECT_NE(std::string::npos, RequestLog().find("newupdate.ini"));
    // The interactive check says it failed.
    StartUpdater(L"");
    HWND box = WaitForMessageBox(kHungRunLimitMs);
    ASSERT_NE(nullptr, box);
    EXPECT_EQ(L"错误", WindowText(box));
    SendMessageW(box, WM_KEYDOWN, VK_ESCAPE, 0);
    EXPECT_TRUE(UpdaterEnds());
    ExpectNextCheckWorks();
}

// A forced run shows nothing while it downloads: a download whose server
// never answers, or stalls in the middle of the file, must still end the run
// within the steps' deadlines, or it would hold the single-instance lock and
// every later check would do nothing. The main program stays as it was.
TEST_F(UpdaterCheckTest, AForcedRunWhoseDownloadGetsNoAnswerEndsInBoundedTime)
{
    StartMainStub();
    SetEnvironmentVariableW(L"LUMORA_UPDATE_STEP_MS", kTestStepMs);
    struct Case
    {
        const char* what;
        const char* query;
        bool hang;
    } cases[] = {
        { "the setup's server never answers", "", true },
        { "the setup's body stalls", "?stall=20000", false },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ServeForcedSetup(c.query);
        if (c.hang) WriteWholeFile(m_serverRoot + L"setup.exe.hang", "");
        const ULONGLONG started = GetTickCount64();
        StartUpdater(L"S A");
        EXPECT_EQ(nullptr, WaitForWindow(nullptr, nullptr, kHungDownloadLimitMs)) << "a forced run shows nothing";
        ASSERT_TRUE(UpdaterEnds(kHungDownloadLimitMs)) << "the run waits on its download without an end";
        printf("[ measured ] %s: the forced run ended after %llu ms\n", c.what, GetTickCount64() - started);
        EXPECT_NE(std::string::npos, RequestLog().find("setup.exe" + std::string(c.query)));
        EXPECT_EQ("", SetupLog()) << "no setup runs without its file";
        // A forced run leaves the main program alone until its files are in:
        // it still runs, neither closed nor asked to quit nor left minimized.
        EXPECT_EQ(WAIT_TIMEOUT, WaitForSingleObject(m_mainStub.hProcess, 0));
        EXPECT_NE(nullptr, FindMainWindow(m_mainStub.dwProcessId));
        EXPECT_EQ(std::string::npos, MainLog().find("syscommand 0xf060")) << MainLog();
        EXPECT_EQ(std::string::npos, MainLog().find(kMinimizeLine)) << MainLog();
        DeleteFileW((m_serverRoot + L"setup.exe.hang").c_str());
    }
    SetEnvironmentVariableW(L"LUMORA_UPDATE_STEP_MS", nullptr);
    ExpectNextCheckWorks();
}

TEST_F(UpdaterCheckTest, ASetupThatEndsWithoutReportingIsAFailedInstall)
{
    StartMainStub();
    ServeNewerSetup("setup.exe /noreport");
    StartUpdater(L"S");
    HWND wizard = WaitForWizard();
    ASSERT_NE(nullptr, wizard);
    PostClickTo(wizard, kUpdateButton);
    // Downloaded, main program closed, setup started and gone: the user is told.
    HWND box = WaitForMessageBox();
    ASSERT_NE(nullptr, box) << SetupLog();
    EXPECT_EQ(L"错误", WindowText(box));
    EXPECT_NE(std::string::npos, SetupLog().find("ended without a report"));
    SendMessageW(box, WM_KEYDOWN, VK_RETURN, 0);
    ASSERT_TRUE(UpdaterEnds());
    // The main program runs again, and the working files are gone.
    HWND main = nullptr;
    for (int i = 0; i < 200 && !main; ++i) {
        main = FindMainWindow(0);
        if (!main) Sleep(50);
    }
    EXPECT_NE(nullptr, main) << "the main program was started again";
    EXPECT_FALSE(PathExists(m_program + L"updatefile.list"));
    EXPECT_FALSE(PathExists(m_program + L"cache"));
    // The setup ran: its package leaves the program folder and its record
    // goes, so no later start runs it again unasked.
    EXPECT_FALSE(PathExists(m_program + L"setup.exe"));
    EXPECT_FALSE(HasPendingInstall(m_program));
    // The next start offers the update again and waits for the user.
    EXPECT_TRUE(QuietCheckOffersUpdate());
    EXPECT_EQ(1u, CountOf(SetupLog(), "arguments")) << SetupLog();
    EXPECT_NE(nullptr, FindMainWindow(0)) << "not closed by the next start";
}

// A recorded setup whose replays never got through (each run crashed or was
// killed after it had closed the main program) is not replayed a third time:
// the record goes and the main program is left running.
TEST_F(UpdaterCheckTest, ARecordReplayedTwiceIsDroppedAndTheMainProgramStays)
{
    StartMainStub();
    ASSERT_TRUE(
        CopyFileW(LUMORA_TEST_BUILD_DIR L"\\tests\\updater_stub_setup.exe", (m_program + L"setup.exe").c_str(), FALSE));
    WriteWholeFile(m_program + L"uprelay.ini",
                   "[FORCE]\r\nNEXTTIME=1\r\nNAME=" + Narrow(m_program) + "setup.exe|\r\nREPLAYS=2\r\n");
    WriteWholeFile(m_serverRoot + L"newupdate.ini", "[SETUP]\r\nVERSION=0.0\r\n");
    StartUpdater(L"S A");
    ASSERT_TRUE(UpdaterEnds());
    EXPECT_EQ("", SetupLog()) << "the setup did not run again";
    EXPECT_FALSE(PathExists(m_program + L"uprelay.ini"));
    EXPECT_FALSE(PathExists(m_program + L"setup.exe"));
    EXPECT_EQ(WAIT_TIMEOUT, WaitForSingleObject(m_mainStub.hProcess, 0));
    EXPECT_EQ(std::string::npos, MainLog().find("syscommand 0xf060")) << MainLog();
}

// Each run that begins a replay counts itself before it closes the main
// program: what a crash at any later point leaves is a record one replay
// nearer its end.
TEST_F(UpdaterCheckTest, AReplayCountsItselfBeforeItClosesTheMainProgram)
{
    StartMainStub();
    ASSERT_TRUE(
        CopyFileW(LUMORA_TEST_BUILD_DIR L"\\tests\\updater_stub_setup.exe", (m_program + L"setup.exe").c_str(), FALSE));
    // The record names the package's bytes, as a forced run writes it.
    WriteWholeFile(m_program + L"uprelay.ini",
                   "[FORCE]\r\nNEXTTIME=1\r\nNAME=" + Narrow(m_program) + "setup.exe|/hold\r\n" +
                       DigestKeysOfFile(m_program + L"setup.exe", ""));
    StartUpdater(L"S A");
    ASSERT_TRUE(WaitForLog(m_program + L"setup_stub.log", "progress 15000"));
    EXPECT_EQ(1u, GetPrivateProfileIntW(L"FORCE", L"REPLAYS", 0, (m_program + L"uprelay.ini").c_str()));
    EXPECT_EQ(0u, GetPrivateProfileIntW(L"FORCE", L"NEXTTIME", 1, (m_program + L"uprelay.ini").c_str()))
        << "marked running before it started";
    // The updater is killed while the setup runs; the setup then ends
    // unfinished. The next start does not run it again.
    EndProcess(m_updater);
    ASSERT_TRUE(WaitForLog(m_program + L"setup_stub.log", "ended without completing"));
    WriteWholeFile(m_serverRoot + L"newupdate.ini", "[SETUP]\r\nVERSION=0.0\r\n");
    StartUpdater(L"S A");
    ASSERT_TRUE(UpdaterEnds());
    EXPECT_EQ(1u, CountOf(SetupLog(), "arguments")) << SetupLog();
    EXPECT_FALSE(HasPendingInstall(m_program));
    EXPECT_FALSE(PathExists(m_program + L"setup.exe"));
}

// A download the user stops, or one that failed and is given up, ends the run
// with the main program restored as it was, never closed.
TEST_F(UpdaterCheckTest, LeavingADownloadGivesTheMainProgramBack)
{
    const struct
    {
        const char* what;
        const char* query;
        bool stopByUser;
        const wchar_t* boxTitle;
        WPARAM answer;
    } cases[] = {
        { "stopped: the wizard's box asks about the download, \"是\" stops", "?rate=8000", true, L"提示", VK_RETURN },
        { "failed: the error box, \"取消\" gives up", "?status=404", false, L"错误", VK_ESCAPE },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        DeleteFileW((m_program + L"lumora_stub.log").c_str());
        DeleteFileW((m_serverRoot + L"requests.log").c_str());
        StartMainStub();
        ServeNewerSetup("setup.exe", c.query);
        StartUpdater(L"S");
        HWND wizard = WaitForWizard();
        ASSERT_NE(nullptr, wizard);
        ASSERT_TRUE(WaitForLog(m_program + L"lumora_stub.log", kMinimizeLine));
        PostClickTo(wizard, kUpdateButton);
        if (c.stopByUser) {
            ASSERT_TRUE(WaitForLog(m_serverRoot + L"requests.log", "setup.exe"));
            PostClickTo(wizard, kDownloadCancelButton);
        }
        HWND box = WaitForMessageBox();
        ASSERT_NE(nullptr, box);
        EXPECT_EQ(c.boxTitle, WindowText(box));
        SendMessageW(box, WM_KEYDOWN, c.answer, 0);
        ASSERT_TRUE(UpdaterEnds());
        EXPECT_TRUE(WaitForLog(m_program + L"lumora_stub.log", kRestoreLine, 5000)) << MainLog();
        EXPECT_TRUE(IsWindowVisible(FindMainWindow(m_mainStub.dwProcessId)));
        EXPECT_EQ(std::string::npos, MainLog().find("syscommand 0xf060")); // not closed
        ExpectNextCheckWorks();
        EndProcess(m_mainStub);
    }
}

// The updater is killed in the middle of a download: the next run continues
// the partial file instead of fetching it from byte 0, and the finished file
// is the served one byte for byte.
TEST_F(UpdaterCheckTest, AKilledDownloadResumesWhereItsRecordsEnd)
{
    const DWORD kSize = 24 * 1024 * 1024;
    std::string content(kSize, '\0');
    for (DWORD i = 0; i < kSize; ++i) content[i] = static_cast<char>((i * 2654435761u) >> 24);
    // In place of the stand-in setup: a package of several pieces.
    WriteWholeFile(m_serverRoot + L"setup.exe", content);
    // No setup is run: the finished package stays in the program folder.
    ServeSetupManifest("99.0", "", Encipher(ServerUrl("setup.exe?rate=4000000")));
    StartUpdater(L"S");
    HWND wizard = WaitForWizard();
    ASSERT_NE(nullptr, wizard);
    PostClickTo(wizard, kUpdateButton);
    // Killed once a record claims bytes of the partial file.
    const std::string cfg = Narrow(m_program) + "cache\\setup.exe.Cfg";
    DWORD claimed = 0;
    for (DWORD waited = 0; waited < kRunLimitMs && claimed == 0; waited += 50) {
        std::vector<ResumeRecord> records;
        ResumeStamp stamp;
        bool stamped = false;
        if (ResumeRecordFile::Read(cfg, records, stamp, stamped))
            for (const ResumeRecord& record : records) claimed += record.received;
        if (claimed == 0) Sleep(50);
    }
    ASSERT_GT(claimed, 0u) << "no record claimed a byte while the download ran";
    TerminateProcess(m_updater.hProcess, 9);
    ASSERT_TRUE(UpdaterEnds());
    EXPECT_TRUE(PathExists(m_program + L"updatefile.list")) << "the list names the download";

    DeleteFileW((m_serverRoot + L"requests.log").c_str());
    StartUpdater(L"S");
    wizard = WaitForWizard();
    ASSERT_NE(nullptr, wizard);
    PostClickTo(wizard, kUpdateButton);
    ASSERT_TRUE(WaitFor([&]() { return ReadWholeFile(m_program + L"setup.exe").size() == kSize; }, kRunLimitMs));
    EXPECT_TRUE(ReadWholeFile(m_program + L"setup.exe") == content) << "the finished file is the served one";
    DWORD firstData = 0;
    ASSERT_TRUE(FirstDataRangeStart(RequestLog(), "setup.exe", firstData)) << RequestLog();
    printf("[ measured ] killed with %lu bytes recorded; the next run asked from byte %lu\n",
           static_cast<unsigned long>(claimed), static_cast<unsigned long>(firstData));
    EXPECT_GT(firstData, 0u);
    EXPECT_LE(firstData, claimed) << "never past what the record claims";
}

} // namespace
