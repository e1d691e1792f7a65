// lumoraupd.exe end to end: the real program against the loopback update
// server, a program folder with a stub main program, and a stub setup package
// that reports progress to the wizard. Each run is the temporary run (a copy
// in a fresh TEMP folder with "config" naming the program folder), driven by
// real window messages.
#include "AppDirectory.h"
#include "AnsiText.h"
#include "DownloadManager.h"
#include "SelfRelocation.h"
#include "StringCipher.h"
#include "UpdaterCipherKey.h"
#include "UpdaterRunTest.h"
#include "UpdaterTestSupport.h"
#include "UpdateManifestSigner.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

std::wstring Profile(const std::wstring& file, const wchar_t* section, const wchar_t* key)
{
    wchar_t value[1024] = {};
    GetPrivateProfileStringW(section, key, L"<missing>", value, 1024, file.c_str());
    return value;
}

class UpdaterWizardTest : public UpdaterRunTest
{
protected:
    void SetUp() override
    {
        PrepareRun(L"lumoraupd_e2e");
        if (HasFatalFailure()) return;
        ASSERT_TRUE(CopyFileW(LUMORA_TEST_BUILD_DIR L"\\tests\\updater_stub_main.exe",
                              (m_program + L"lumora.exe").c_str(), FALSE));
        ASSERT_TRUE(CopyFileW(LUMORA_TEST_BUILD_DIR L"\\tests\\updater_stub_setup.exe",
                              (m_serverRoot + L"setup.exe").c_str(), FALSE));
        m_payload = std::string(70000, 'p') + "end";
        WriteWholeFile(m_serverRoot + L"a.dat", m_payload);
    }

    std::string EncipheredSetupUrl() const
    {
        return StringCipher(ServerUrl("setup.exe"), MakeUpdaterCipherKey(), CipherEncode);
    }

    // A manifest offering version 9.9 of the setup package (the stub main
    // program has no version, so it is always older) and, optionally, a file.
    // `runLines` go into the "RUN" section after its NAME; `fileName` is the
    // one FILE entry when withFile.
    void ServeManifest(const std::string& runName, bool withFile, const std::string& runLines = std::string(),
                       const std::string& fileName = "a.dat")
    {
        std::string text = "[RUN]\r\nNAME=" + runName + "\r\n" + runLines;
        if (withFile)
            text += "[FILE]\r\nNUMBER=1\r\nPATH1=\r\nNAME1=" + fileName + "\r\nVERSION1=1.0\r\n" +
                DigestKeysOfFile(m_serverRoot + std::wstring(fileName.begin(), fileName.end()), "1");
        text += "[SETUP]\r\nVERSION=9.9\r\nFILE=9.9\r\nNEWFEATURES=one\\ntwo\r\nNAME=setup.exe\r\nURL=" +
            EncipheredSetupUrl() + "\r\n" + DigestKeysOfFile(m_serverRoot + L"setup.exe", "");
        WriteWholeFile(m_serverRoot + L"newupdate.ini", SignedManifest(text));
    }

    void ServeNewestManifest()
    {
        WriteWholeFile(m_serverRoot + L"newupdate.ini", SignedManifest("[SETUP]\r\nVERSION=0.0\r\n"));
    }

    // A window looked for by class must be visible; the wizard, found by its
    // property, may still be hidden.
    HWND WaitForWindow(const wchar_t* className, const wchar_t* property, DWORD limitMs = kRunLimitMs)
    {
        return WaitForUpdaterWindow(className, property, className != nullptr, limitMs);
    }

    HWND WaitForWizard() { return WaitForWindow(nullptr, L"lumoravid_UpdateDlg"); }
    HWND WaitForMessageBox() { return WaitForWindow(L"Joyvale升级程序", nullptr); }

    // Waits until the wizard is visible (it starts hidden in the quiet modes).
    bool WaitVisible(HWND window)
    {
        for (DWORD waited = 0; waited < kRunLimitMs; waited += 50) {
            if (IsWindowVisible(window)) return true;
            if (WaitForSingleObject(m_updater.hProcess, 50) == WAIT_OBJECT_0) return false;
        }
        return false;
    }

    std::string SetupLog() { return ReadWholeFile(m_program + L"setup_stub.log"); }
    std::string MainLog() { return ReadWholeFile(m_program + L"lumora_stub.log"); }
    std::wstring Pending() { return m_program + L"uprelay.ini"; }

    // The number of the recorded move whose target is `name`, 0 when none is.
    int RecordedMoveOf(const std::wstring& name)
    {
        const int count = _wtoi(Profile(Pending(), L"FILE", L"NUMBER").c_str());
        for (int i = 1; i <= count; ++i) {
            std::wstring move = Profile(Pending(), L"FILE", (L"FILES" + std::to_wstring(i)).c_str());
            if (move.size() > name.size() && move.compare(move.size() - name.size(), name.size(), name) == 0) return i;
        }
        return 0;
    }

    // A forced run with a file and a setup to install, whose restart prompt
    // the user answers "not now": Esc, like "取消".
    void PostponeForcedRun()
    {
        LaunchMainStub();
        ServeManifest("setup.exe /S", true);
        StartUpdater(L"F");
        HWND box = WaitForMessageBox();
        ASSERT_NE(nullptr, box) << "the restart prompt";
        wchar_t title[32] = {};
        GetWindowTextW(box, title, 32);
        EXPECT_STREQ(L"提示", title);
        SendMessageW(box, WM_KEYDOWN, VK_ESCAPE, 0);
        ASSERT_TRUE(UpdaterEnds());
    }

    std::string m_payload;
};

const char kQuitRequestLine[] = "syscommand 0xf060 0x800";

TEST_F(UpdaterWizardTest, SilentQuietRunWithNothingNewEndsWithoutAWindow)
{
    ServeNewestManifest();
    StartUpdater(L"S A");
    // Watch the whole run: no wizard may ever become visible.
    EXPECT_EQ(nullptr, WaitForWindow(L"UpdateDlg", nullptr));
    ASSERT_TRUE(UpdaterEnds());
    EXPECT_FALSE(PathExists(m_program + L"updatefile.list"));
}

TEST_F(UpdaterWizardTest, EnterAndEscapeCloseTheWizard)
{
    ServeNewestManifest();
    for (WPARAM key : { static_cast<WPARAM>(VK_RETURN), static_cast<WPARAM>(VK_ESCAPE) }) {
        SCOPED_TRACE(key);
        StartUpdater(L"");
        HWND wizard = WaitForWizard();
        ASSERT_NE(nullptr, wizard);
        EXPECT_TRUE(WaitVisible(wizard));
        EXPECT_NE(0, GetWindowLongPtrW(wizard, GWL_EXSTYLE) & WS_EX_APPWINDOW);
        EXPECT_EQ(0, SendMessageW(wizard, WM_KEYDOWN, key, 0));
        EXPECT_TRUE(UpdaterEnds());
    }
}

TEST_F(UpdaterWizardTest, SilentRunShowsTheNewVersionAndMinimizesTheMainProgram)
{
    LaunchMainStub();
    ServeManifest("setup.exe", false);
    StartUpdater(L"S");
    HWND wizard = WaitForWizard();
    ASSERT_NE(nullptr, wizard);
    ASSERT_TRUE(WaitVisible(wizard));
    EXPECT_EQ(WS_EX_APPWINDOW, GetWindowLongPtrW(wizard, GWL_EXSTYLE) & (WS_EX_APPWINDOW | WS_EX_TOOLWINDOW));
    // Nothing is downloaded before the user agrees.
    EXPECT_EQ(std::string::npos, ReadWholeFile(m_serverRoot + L"requests.log").find("setup.exe"));
    PostMessageW(wizard, WM_SYSCOMMAND, SC_CLOSE, 0);
    ASSERT_TRUE(UpdaterEnds());
    EXPECT_NE(std::string::npos, MainLog().find("syscommand 0xf020")); // SC_MINIMIZE
    EXPECT_EQ(std::string::npos, MainLog().find(kQuitRequestLine));
}

TEST_F(UpdaterWizardTest, ForcedRunPostponedByTheUserRecordsThePendingInstall)
{
    ASSERT_NO_FATAL_FAILURE(PostponeForcedRun());

    const std::wstring cache = m_program + L"cache\\";
    EXPECT_EQ(L"2", Profile(Pending(), L"FILE", L"NUMBER"));
    EXPECT_EQ(cache + L"a.dat|" + m_program + L"a.dat", Profile(Pending(), L"FILE", L"FILES1"));
    EXPECT_EQ(cache + L"setup.exe|" + m_program + L"setup.exe", Profile(Pending(), L"FILE", L"FILES2"));
    EXPECT_EQ(L"1", Profile(Pending(), L"FORCE", L"NEXTTIME"));
    EXPECT_EQ(m_program + L"setup.exe|/S", Profile(Pending(), L"FORCE", L"NAME"));
    // Nothing is moved while the main program runs on: the downloads wait in
    // "cache", whole, for the next run.
    EXPECT_FALSE(PathExists(m_program + L"a.dat"));
    EXPECT_EQ(m_payload, ReadWholeFile(cache + L"a.dat"));
    EXPECT_EQ(ReadWholeFile(m_serverRoot + L"setup.exe"), ReadWholeFile(cache + L"setup.exe"));
    // Neither the setup nor the quit request happened.
    EXPECT_EQ("", SetupLog());
    EXPECT_EQ(std::string::npos, MainLog().find(kQuitRequestLine));

    // The next run installs from that download: quit request, then the setup
    // with its arguments and the wizard's handle.
    StartUpdater(L"S F");
    HWND wizard = WaitForWizard();
    ASSERT_NE(nullptr, wizard);
    ASSERT_TRUE(UpdaterEnds());
    EXPECT_NE(std::string::npos, MainLog().find(kQuitRequestLine));
    std::string expected = "/S /updateDlg=" + std::to_string(reinterpret_cast<LONG_PTR>(wizard)) + "]";
    EXPECT_NE(std::string::npos, SetupLog().find(expected)) << SetupLog();
    EXPECT_FALSE(PathExists(Pending()));
    // The postponed file arrived whole, out of "cache".
    EXPECT_EQ(m_payload, ReadWholeFile(m_program + L"a.dat"));
    EXPECT_FALSE(PathExists(cache + L"a.dat"));
    // The setup file goes once the setup has ended.
    for (int i = 0; i < 100 && PathExists(m_program + L"setup.exe"); ++i) Sleep(100);
    EXPECT_FALSE(PathExists(m_program + L"setup.exe"));
}

// "cache" may change between the download and a later run: the record
// keeps the manifest's size and SHA-256 of each file, and the run that
// carries it out moves only files that still match. A changed file is
// neither installed nor kept; the verified setup still runs.
TEST_F(UpdaterWizardTest, PostponedFileWhoseBytesChangedIsNotInstalled)
{
    ASSERT_NO_FATAL_FAILURE(PostponeForcedRun());
    const std::wstring cache = m_program + L"cache\\";
    EXPECT_EQ(std::to_wstring(m_payload.size()), Profile(Pending(), L"FILE", L"SIZE1"));
    EXPECT_EQ(64u, Profile(Pending(), L"FILE", L"SHA2561").size());
    EXPECT_EQ(64u, Profile(Pending(), L"FORCE", L"SHA256").size());
    WriteWholeFile(cache + L"a.dat", "changed in the cache");

    StartUpdater(L"S F");
    ASSERT_TRUE(UpdaterEnds());
    EXPECT_FALSE(PathExists(m_program + L"a.dat"));
    EXPECT_FALSE(PathExists(cache + L"a.dat"));
    EXPECT_NE(std::string::npos, SetupLog().find("/S /updateDlg=")) << SetupLog();
}

// A forced run closes the wizard once the setup runs, so the setup's progress
// reports go nowhere: what is checked is the start and the clean-up.
TEST_F(UpdaterWizardTest, ForcedInstallStartsTheSetupWithTheWizardHandleThenCleansUp)
{
    LaunchMainStub();
    ServeManifest("setup.exe", false);
    StartUpdater(L"F");
    HWND box = WaitForMessageBox();
    ASSERT_NE(nullptr, box);
    HWND wizard = WaitForWizard();
    ASSERT_NE(nullptr, wizard);
    SendMessageW(box, WM_KEYDOWN, VK_RETURN, 0); // "是": restart now
    ASSERT_TRUE(UpdaterEnds());
    EXPECT_NE(std::string::npos, MainLog().find(kQuitRequestLine));
    // A bare setup name: the parameters begin with the blank.
    std::string log = SetupLog();
    EXPECT_NE(std::string::npos, log.find(" /updateDlg=" + std::to_string(reinterpret_cast<LONG_PTR>(wizard)) + "]"))
        << log;
    EXPECT_EQ(std::string::npos, log.find("/S")) << log;
    EXPECT_FALSE(PathExists(Pending()));
    EXPECT_FALSE(PathExists(m_program + L"updatefile.list"));
    for (int i = 0; i < 100 && PathExists(m_program + L"setup.exe"); ++i) Sleep(100);
    EXPECT_FALSE(PathExists(m_program + L"setup.exe"));
}

// A setup package that an earlier run downloaded and listed as finished in
// "updatefile.list" is installed without being fetched again: the wizard loads
// the list when it starts.
TEST_F(UpdaterWizardTest, FinishedDownloadOfAnEarlierRunIsInstalledWithoutFetching)
{
    LaunchMainStub();
    ServeManifest("setup.exe", false);
    const std::wstring cache = m_program + L"cache\\";
    ASSERT_TRUE(CreateDirectoryW(cache.c_str(), nullptr) || GetLastError() == ERROR_ALREADY_EXISTS);
    ASSERT_TRUE(CopyFileW((m_serverRoot + L"setup.exe").c_str(), (cache + L"setup.exe").c_str(), FALSE));
    // The server no longer has it: a fetch would fail the run.
    ASSERT_TRUE(DeleteFileW((m_serverRoot + L"setup.exe").c_str()));
    {
        wchar_t previous[MAX_PATH];
        GetCurrentDirectoryW(MAX_PATH, previous);
        SetCurrentDirectoryW(m_program.c_str()); // the list lives in the install folder
        CDownloadManager earlier;
        earlier.Lock();
        CompletedDownload& done = earlier.Finished()[ServerUrl("setup.exe")];
        done.listName = "setup.exe";
        done.downloadPath = ToAnsi(cache);
        done.version = L"9.9";
        done.fileSize = static_cast<DWORD>(ReadWholeFile(cache + L"setup.exe").size());
        earlier.Unlock();
        earlier.SaveDownloadList();
        SetCurrentDirectoryW(previous);
    }
    ASSERT_TRUE(PathExists(m_program + L"updatefile.list"));
    const size_t logBefore = ReadWholeFile(m_serverRoot + L"requests.log").size();

    StartUpdater(L"F");
    HWND box = WaitForMessageBox();
    ASSERT_NE(nullptr, box) << "the restart prompt";
    HWND wizard = WaitForWizard();
    ASSERT_NE(nullptr, wizard);
    SendMessageW(box, WM_KEYDOWN, VK_RETURN, 0); // restart now
    ASSERT_TRUE(UpdaterEnds());

    std::string log = SetupLog();
    EXPECT_NE(std::string::npos, log.find("/updateDlg=" + std::to_string(reinterpret_cast<LONG_PTR>(wizard)))) << log;
    const std::string requests = ReadWholeFile(m_serverRoot + L"requests.log").substr(logBefore);
    EXPECT_NE(std::string::npos, requests.find("newupdate.ini")); // this run's log part
    EXPECT_EQ(std::string::npos, requests.find("setup.exe")) << requests;
}

// The record in "uprelay.ini" may be edited by anyone: the replay moves only
// files from "cache" into the install folder, and leaves every other entry.
TEST_F(UpdaterWizardTest, ReplayMovesOnlyFilesFromCacheIntoTheInstallFolder)
{
    LaunchMainStub();
    const std::wstring cache = m_program + L"cache\\";
    const std::wstring elsewhere = m_program + L"elsewhere\\";
    const std::wstring outside = m_temp + L"lumoraupd_e2e\\outside\\";
    RemoveTree(outside);
    for (const std::wstring& folder : { cache, elsewhere, outside })
        ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr) || GetLastError() == ERROR_ALREADY_EXISTS);
    WriteWholeFile(cache + L"good.dat", "good");
    WriteWholeFile(elsewhere + L"stray.dat", "stray");
    WriteWholeFile(cache + L"away.dat", "away");
    // Each entry carries its file's true size and SHA-256, so only where it
    // points can keep it from being moved.
    WriteWholeFile(Pending(),
                   "[FILE]\r\nFILES1=" + ToAnsi(cache) + "good.dat|" + ToAnsi(m_program) + "good.dat\r\n" +
                       "SIZE1=4\r\nSHA2561=770e607624d689265ca6c44884d0807d9b054d23c473c106c72be9de08b7376c\r\n" +
                       "FILES2=" + ToAnsi(elsewhere) + "stray.dat|" + ToAnsi(m_program) + "stray.dat\r\n" +
                       "SIZE2=5\r\nSHA2562=e224ddc6b55af8b2a88404a0b6cb2617db0dfc25b3584a4dd7c4358d911e91f5\r\n" +
                       "FILES3=" + ToAnsi(cache) + "away.dat|" + ToAnsi(outside) + "away.dat\r\n" +
                       "SIZE3=4\r\nSHA2563=378ce56a9d146d5174c89d1c0353d7f8e2244e89bb83935a5b1bdcf5e74b4e7f\r\n" +
                       "NUMBER=3\r\n");
    ServeNewestManifest();

    StartUpdater(L"S F");
    ASSERT_TRUE(UpdaterEnds());

    EXPECT_EQ("good", ReadWholeFile(m_program + L"good.dat")); // the replay did run
    EXPECT_FALSE(PathExists(m_program + L"stray.dat")) << "a source outside cache";
    EXPECT_EQ("stray", ReadWholeFile(elsewhere + L"stray.dat"));
    EXPECT_FALSE(PathExists(outside + L"away.dat")) << "a target outside the install folder";
    EXPECT_EQ("away", ReadWholeFile(cache + L"away.dat"));
    RemoveTree(outside);
}

// A file in use cannot be replaced now: it stays in "cache" and in the
// record, so the next run puts it in place; the rest of the install goes on.
TEST_F(UpdaterWizardTest, ForcedInstallLeavesATargetInUseInCacheAndInTheRecord)
{
    LaunchMainStub();
    ServeManifest("setup.exe", true);
    WriteWholeFile(m_program + L"a.dat", "in use");
    HANDLE held = CreateFileW((m_program + L"a.dat").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, held);
    StartUpdater(L"F");
    HWND box = WaitForMessageBox();
    ASSERT_NE(nullptr, box) << "the restart prompt";
    SendMessageW(box, WM_KEYDOWN, VK_RETURN, 0); // restart now
    const bool ended = UpdaterEnds();
    CloseHandle(held);
    ASSERT_TRUE(ended);

    const std::wstring cache = m_program + L"cache\\";
    EXPECT_NE(std::string::npos, SetupLog().find("/updateDlg=")) << "the install went on";
    EXPECT_EQ("in use", ReadWholeFile(m_program + L"a.dat"));
    EXPECT_EQ(m_payload, ReadWholeFile(cache + L"a.dat"));
    EXPECT_EQ(L"2", Profile(Pending(), L"FILE", L"NUMBER"));
    EXPECT_EQ(cache + L"a.dat|" + m_program + L"a.dat", Profile(Pending(), L"FILE", L"FILES1"));
}

// A setup package that is not there after the download, or whose name the
// updater refuses, is never started: the main program comes back and the
// record keeps no setup to start.
TEST_F(UpdaterWizardTest, MissingOrRefusedSetupPackageIsNotStarted)
{
    // The package is taken away or changed in "cache" while the restart
    // prompt waits, after the downloads were checked.
    const struct
    {
        const char* what;
        bool replaced;
    } cases[] = {
        { "missing", false },
        { "refused", true },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        DeleteFileW((m_program + L"lumora_stub.log").c_str());
        DeleteFileW((m_program + L"setup_stub.log").c_str());
        DeleteFileW(Pending().c_str());
        LaunchMainStub();
        ServeManifest("setup.exe", false);
        StartUpdater(L"F");
        HWND box = WaitForMessageBox();
        ASSERT_NE(nullptr, box) << "the restart prompt";
        const std::wstring cached = m_program + L"cache\\setup.exe";
        ASSERT_TRUE(PathExists(cached));
        if (c.replaced)
            WriteWholeFile(cached, "not the published setup");
        else
            ASSERT_TRUE(DeleteFileW(cached.c_str()));
        SendMessageW(box, WM_KEYDOWN, VK_RETURN, 0); // restart now
        ASSERT_TRUE(UpdaterEnds());
        EXPECT_EQ("", SetupLog());
        // Closed for the install, then started again.
        EXPECT_NE(std::string::npos, MainLog().find(kQuitRequestLine));
        bool restarted = false;
        for (DWORD waited = 0; waited < kRunLimitMs && !restarted; waited += 100) {
            std::string log = MainLog();
            restarted = log.find("started", log.find(kQuitRequestLine)) != std::string::npos;
            if (!restarted) Sleep(100);
        }
        EXPECT_TRUE(restarted) << MainLog();
        EXPECT_EQ(L"<missing>", Profile(Pending(), L"FORCE", L"NAME"));
        EXPECT_FALSE(PathExists(m_program + L"setup.exe")) << "nothing unverified reaches the program folder";
        EndProcess(m_mainStub);
    }
}

// "RUN" names programs among the files that are started once in place, with
// their arguments; a forced run leaves them to the replay.
TEST_F(UpdaterWizardTest, ProgramsOfTheRunListAreStartedWithTheirArguments)
{
    LaunchMainStub();
    ASSERT_TRUE(CopyFileW(LUMORA_TEST_BUILD_DIR L"\\tests\\updater_stub_setup.exe",
                          (m_serverRoot + L"tool.exe").c_str(), FALSE));
    ServeManifest("", true, "NUMBER=1\r\nFILE1=tool.exe /first second\r\n", "tool.exe");
    StartUpdater(L"F");
    ASSERT_TRUE(UpdaterEnds());
    const std::wstring entry = std::to_wstring(RecordedMoveOf(L"tool.exe"));
    EXPECT_EQ(L"1", Profile(Pending(), L"FILE", (L"RUN" + entry).c_str()));
    EXPECT_EQ(L"/first second", Profile(Pending(), L"FILE", (L"ARGUMENT" + entry).c_str()));
    EXPECT_EQ("", SetupLog()) << "not started by the forced run";

    ServeNewestManifest();
    StartUpdater(L"S F");
    ASSERT_TRUE(UpdaterEnds());
    std::string log;
    for (DWORD waited = 0; waited < kRunLimitMs && log.empty(); waited += 100) {
        log = SetupLog();
        if (log.empty()) Sleep(100);
    }
    EXPECT_NE(std::string::npos, log.find("/first second")) << log;
    EXPECT_TRUE(PathExists(m_program + L"tool.exe"));
}

} // namespace
