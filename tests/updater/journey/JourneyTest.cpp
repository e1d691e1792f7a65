// The update journey as a user lives it: lumora.exe of version 1 starts the
// updater as it does at every start; the loopback server offers version 2.
// Each kill point stops the journey once (the test build of the updater ends
// itself there, the stand-in setup likewise); the next start of lumora.exe
// must then bring the folder to version 2 byte for byte, with no record and
// no temporary folder left.
#include "AppDirectory.h"
#include "ProcessRoutines.h"
#include "SelfRelocation.h"
#include "StringCipher.h"
#include "UpdateInstaller.h"
#include "TestProcesses.h"
#include "TestProgramFolder.h"
#include "UpdaterCipherKey.h"
#include "UpdaterTestSupport.h"
#include "DownloadManager.h"
#include "VersionCheck.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <cstdint>
#include <cstring>
#include <fstream>
#include <functional>
#include <iostream>
#include <memory>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace {

const DWORD kLimitMs = 90000;
const wchar_t* const kProductFiles[] = { L"lumora.exe", L"lumoraupd.exe", L"Uprelay.exe", L"skin\\skin.sk",
                                         L"a.dll",      L"b.dll",         L"c.dat",       L"d.dat" };

typedef std::map<std::wstring, std::string> Snapshot;

// Waits for `done` with a time limit, looking again every 100 ms.
template <typename Condition> bool WaitFor(Condition done, DWORD limitMs = kLimitMs)
{
    for (DWORD waited = 0; waited < limitMs; waited += 100) {
        if (done()) return true;
        Sleep(100);
    }
    return done();
}

enum class State { Version1, Version2, Mixed };

const char* Name(State state)
{
    return state == State::Version1 ? "version 1" : state == State::Version2 ? "version 2" : "a mix";
}

class UpdateJourneyTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_port = Env(L"LUMORA_TEST_HTTP_PORT");
        m_serverRoot = WithTrailingSlash(Env(L"LUMORA_TEST_HTTP_ROOT"));
        ASSERT_FALSE(m_port.empty()) << "run through run_with_server.sh";
        SetEnvironmentVariableW(L"LUMORA_UPDATE_SERVER", (L"127.0.0.1:" + m_port).c_str());
        SetEnvironmentVariableW(L"LUMORA_TEST_KILL_AT", nullptr);
        m_killNote = TemporaryDirectory() + L"lumora_kill_point.txt";
        DeleteFileW(m_killNote.c_str());
        StopEverything();

        m_folder.reset(new TestProgramFolder(L"journey_program", { L"home.html", L"tv.html", L"playing.html" }));
        ASSERT_TRUE(m_folder->Ready());
        m_program = WithTrailingSlash(m_folder->Path());
        ASSERT_TRUE(CopyFileW(LUMORA_TEST_BUILD_DIR L"\\tests\\journey_seams\\lumoraupd.exe",
                              (m_program + L"lumoraupd.exe").c_str(), FALSE));
        ASSERT_TRUE(CopyFileW(LUMORA_TEST_BIN_DIR L"\\Uprelay.exe", (m_program + L"Uprelay.exe").c_str(), FALSE));
        for (const wchar_t* name : { L"a.dll", L"b.dll", L"c.dat", L"d.dat" })
            WriteWholeFile(m_program + name, "version 1 of " + Narrow(name));
        m_version1 = Take();
        StageVersion2();
    }

    void TearDown() override
    {
        StopEverything();
        SetEnvironmentVariableW(L"LUMORA_TEST_KILL_AT", nullptr);
        DeleteFileW(m_killNote.c_str());
    }

    // Files with a version (copies of system libraries) replace a.dll and
    // b.dll; the setup writes c.dat and d.dat.
    void StageVersion2()
    {
        wchar_t system[MAX_PATH] = {};
        GetSystemDirectoryW(system, MAX_PATH);
        const wchar_t* sources[] = { L"\\kernel32.dll", L"\\user32.dll" };
        const wchar_t* names[] = { L"a.dll", L"b.dll" };
        m_version2 = m_version1;
        for (int i = 0; i < 2; ++i) {
            ASSERT_TRUE(
                CopyFileW((std::wstring(system) + sources[i]).c_str(), (m_serverRoot + names[i]).c_str(), FALSE));
            std::wstring version;
            QueryFileVersion(m_serverRoot + names[i], version);
            ASSERT_FALSE(version.empty());
            m_versions.push_back(version);
            m_version2[names[i]] = ReadWholeFile(m_serverRoot + names[i]);
        }
        CreateDirectoryW((m_serverRoot + L"payload").c_str(), nullptr);
        for (const wchar_t* name : { L"c.dat", L"d.dat" }) {
            WriteWholeFile(m_serverRoot + L"payload\\" + name, "version 2 of " + Narrow(name) + std::string(5000, '2'));
            m_version2[name] = ReadWholeFile(m_serverRoot + L"payload\\" + name);
        }
        ASSERT_TRUE(CopyFileW(LUMORA_TEST_BUILD_DIR L"\\tests\\updater_stub_setup.exe",
                              (m_serverRoot + L"setup.exe").c_str(), FALSE));
    }

    // Version 2 as forced files (the manifest raises the silent start to a
    // forced run) and as a setup package that the user accepts.
    void ServeVersion2()
    {
        std::string url = "http://127.0.0.1:" + Narrow(m_port) + "/lumo/2014/setup.exe";
        std::string text = "[RUN]\r\nMODE=1\r\nNAME=setup.exe /payload=" + Narrow(m_serverRoot) +
            "payload\r\n"
            "[FILE]\r\nNUMBER=2\r\nNAME1=a.dll\r\nVERSION1=" +
            Narrow(m_versions[0]) + "\r\nNAME2=b.dll\r\nVERSION2=" + Narrow(m_versions[1]) +
            "\r\n"
            "[SETUP]\r\nVERSION=9.9\r\nFILE=9.9\r\nNEWFEATURES=two\\nfiles\r\nNAME=setup.exe\r\nURL=" +
            StringCipher(url, MakeUpdaterCipherKey(), CipherEncode) + "\r\n";
        WriteWholeFile(m_serverRoot + L"newupdate.ini", text);
    }

    // What a complete update leaves: the main program has no version yet, so
    // the server stops offering the setup once it was installed.
    void ServeNewest()
    {
        std::string text = "[RUN]\r\nMODE=1\r\n[FILE]\r\nNUMBER=2\r\nNAME1=a.dll\r\nVERSION1=" + Narrow(m_versions[0]) +
            "\r\nNAME2=b.dll\r\nVERSION2=" + Narrow(m_versions[1]) + "\r\n[SETUP]\r\nVERSION=0.0\r\n";
        WriteWholeFile(m_serverRoot + L"newupdate.ini", text);
    }

    Snapshot Take() const
    {
        Snapshot snapshot;
        for (const wchar_t* name : kProductFiles)
            snapshot[name] = PathExists(m_program + name) ? ReadWholeFile(m_program + name) : std::string("<missing>");
        return snapshot;
    }

    State Classify() const
    {
        Snapshot now = Take();
        return now == m_version1 ? State::Version1 : now == m_version2 ? State::Version2 : State::Mixed;
    }

    bool HasRecord() const { return PathExists(m_program + L"uprelay.ini"); }

    // A run folder under TEMP whose "config" names this program folder.
    bool RunFolderLeft() const { return !RunFoldersLeft().empty(); }

    // Each such folder with the names it holds, to tell in a failure what stayed.
    std::string RunFoldersLeft() const
    {
        const std::wstring temp = TemporaryDirectory();
        WIN32_FIND_DATAW entry;
        HANDLE find = FindFirstFileW((temp + L"*").c_str(), &entry);
        if (find == INVALID_HANDLE_VALUE) return std::string();
        std::string found;
        do {
            std::wstring name = entry.cFileName;
            if ((entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && name.size() == 8 &&
                _wcsicmp(ReadRunConfig(temp + name + L"\\").c_str(), m_program.c_str()) == 0)
                found += Narrow(name) + " [" + NamesIn(temp + name + L"\\") + "] ";
        } while (FindNextFileW(find, &entry));
        FindClose(find);
        return found;
    }

    static std::string NamesIn(const std::wstring& folder)
    {
        WIN32_FIND_DATAW entry;
        HANDLE find = FindFirstFileW((folder + L"*").c_str(), &entry);
        if (find == INVALID_HANDLE_VALUE) return std::string();
        std::string names;
        do {
            if (wcscmp(entry.cFileName, L".") != 0 && wcscmp(entry.cFileName, L"..") != 0)
                names += Narrow(entry.cFileName) + " ";
        } while (FindNextFileW(find, &entry));
        FindClose(find);
        return names;
    }

    void StartLumora(const wchar_t* killAt)
    {
        SetEnvironmentVariableW(L"LUMORA_TEST_KILL_AT", killAt);
        std::wstring line = L"\"" + m_program + L"lumora.exe\"";
        STARTUPINFOW startup = { sizeof(startup) };
        PROCESS_INFORMATION process = {};
        BOOL started = CreateProcessW(nullptr, &line[0], nullptr, nullptr, FALSE, 0, nullptr, m_program.c_str(),
                                      &startup, &process);
        SetEnvironmentVariableW(L"LUMORA_TEST_KILL_AT", nullptr);
        ASSERT_TRUE(started);
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
    }

    // The forced run asks before it installs; "是" (Enter) answers yes.
    void AnswerRestartPromptsUntil(const std::function<bool()>& done)
    {
        WaitFor([&]() {
            for (const RunningProcess& updater : ProcessesNamed(L"lumoraupd.exe")) AnswerPromptOf(updater.id);
            return done();
        });
    }

    static void AnswerPromptOf(DWORD processId)
    {
        for (HWND window = GetWindow(GetDesktopWindow(), GW_CHILD); window; window = GetWindow(window, GW_HWNDNEXT)) {
            DWORD owner = 0;
            GetWindowThreadProcessId(window, &owner);
            wchar_t title[16] = {};
            GetWindowTextW(window, title, 16);
            if (owner == processId && IsWindowVisible(window) && wcscmp(title, L"提示") == 0)
                PostMessageW(window, WM_KEYDOWN, VK_RETURN, 0);
        }
    }

    bool KillPointReached(const char* point) const { return ReadWholeFile(m_killNote) == point; }

    // The programs start each other in a ring (the main program starts the
    // updater, the updater a setup and the finisher, the setup the main
    // program again), so one pass over the names can miss a program that a
    // not yet ended one starts meanwhile, with the environment of a killed run.
    void StopEverything()
    {
        static const wchar_t* const kRing[] = { L"lumoraupd.exe",         L"setup.exe",   L"updater_stub_setup.exe",
                                                L"updater_stub_main.exe", L"Uprelay.exe", L"lumora.exe" };
        // A main program left by an earlier test would hold the single-instance
        // mutex, and the journey's own start would only bring it to the front.
        if (!m_program.empty()) CloseMainProgram(m_program);
        for (int round = 0; round < 10; ++round) {
            bool anyLeft = false;
            for (const wchar_t* name : kRing) {
                if (ProcessesNamed(name).empty()) continue;
                anyLeft = true;
                KillProcessesNamed(name);
            }
            if (!anyLeft) return;
        }
    }

    size_t ManifestRequests() const
    {
        std::string log = ReadWholeFile(m_serverRoot + L"requests.log");
        size_t count = 0;
        for (size_t at = log.find("newupdate.ini"); at != std::string::npos; at = log.find("newupdate.ini", at + 1))
            ++count;
        return count;
    }

    // Version 2 in place and nothing left to do; and the main program that the
    // update started again has run its own updater to the end, which found
    // nothing newer (its manifest request came after version 2 was in place).
    bool Complete()
    {
        if (Classify() != State::Version2) {
            m_requestsAtVersion2 = SIZE_MAX;
            return false;
        }
        if (m_requestsAtVersion2 == SIZE_MAX) m_requestsAtVersion2 = ManifestRequests();
        return ManifestRequests() > m_requestsAtVersion2 && !HasRecord() && !PathExists(m_program + L"cache") &&
            !PathExists(m_program + L"setup.exe") && !PathExists(m_program + L"updatefile.list") &&
            ProcessesNamed(L"lumoraupd.exe").empty() && ProcessesNamed(L"Uprelay.exe").empty() && !RunFolderLeft();
    }

    size_t m_requestsAtVersion2 = SIZE_MAX;

    std::wstring m_port, m_serverRoot, m_program, m_killNote;
    std::unique_ptr<TestProgramFolder> m_folder;
    Snapshot m_version1, m_version2;
    std::vector<std::wstring> m_versions;
};

TEST_F(UpdateJourneyTest, ForcedUpdateFromStartToRestartedMainProgram)
{
    ServeVersion2();
    StartLumora(nullptr);
    // Once the setup was fetched the server offers nothing newer.
    AnswerRestartPromptsUntil([this]() {
        if (PathExists(m_program + L"setup_stub.log")) ServeNewest();
        return Complete();
    });
    EXPECT_EQ(State::Version2, Classify());
    EXPECT_FALSE(HasRecord());
    EXPECT_FALSE(RunFolderLeft());
    // The setup reported to the wizard and started the main program again.
    std::string log = ReadWholeFile(m_program + L"setup_stub.log");
    EXPECT_NE(std::string::npos, log.find("progress 30000")) << log;
    EXPECT_TRUE(WaitFor([]() { return !ProcessesNamed(L"lumora.exe").empty(); }));
}

// The wizard's "立即更新" button on the new-version page, in client
// coordinates of the 450 x 360 layout: right-aligned beside "下次再说" in the
// page's bottom row, above the footer.
const POINT kUpdateButton = { 254, 293 };

HWND FindVisibleWizard()
{
    for (HWND window = GetWindow(GetDesktopWindow(), GW_CHILD); window; window = GetWindow(window, GW_HWNDNEXT)) {
        if (GetPropW(window, L"lumoravid_UpdateDlg") && IsWindowVisible(window)) return window;
    }
    return nullptr;
}

void Click(HWND window, POINT at)
{
    LPARAM where = MAKELPARAM(at.x, at.y);
    PostMessageW(window, WM_MOUSEMOVE, 0, where);
    PostMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, where);
    PostMessageW(window, WM_LBUTTONUP, 0, where);
}

// The silent start at every start of lumora.exe: the wizard shows the new
// version, the user clicks "立即更新", the setup package is fetched, the main
// program is closed, the setup reports its progress to the wizard, the wizard
// hides, the finisher deletes the temporary copy, and the main program runs
// again. The main program has no version yet: once the setup ran, the server
// offers nothing newer, so the next start ends quietly.
TEST_F(UpdateJourneyTest, SilentStartUpdateClickedFromNewVersionToRestart)
{
    std::string url = "http://127.0.0.1:" + Narrow(m_port) + "/lumo/2014/setup.exe";
    WriteWholeFile(m_serverRoot + L"newupdate.ini",
                   "[RUN]\r\nNAME=setup.exe /payload=" + Narrow(m_serverRoot) +
                       "payload\r\n"
                       "[SETUP]\r\nVERSION=9.9\r\nFILE=9.9\r\nNEWFEATURES=two\\nfiles\r\nNAME=setup.exe\r\nURL=" +
                       StringCipher(url, MakeUpdaterCipherKey(), CipherEncode) + "\r\n");
    DeleteFileW((m_serverRoot + L"requests.log").c_str());
    StartLumora(nullptr);
    HWND wizard = nullptr;
    ASSERT_TRUE(WaitFor([&]() { return (wizard = FindVisibleWizard()) != nullptr; }));
    EXPECT_NE(0, GetWindowLongPtrW(wizard, GWL_EXSTYLE) & WS_EX_APPWINDOW);
    // Nothing is fetched before the click.
    EXPECT_EQ(std::string::npos, ReadWholeFile(m_serverRoot + L"requests.log").find("setup.exe"));
    // One click: the wizard lays out a page just shown before it looks for
    // the control under a click.
    Click(wizard, kUpdateButton);
    ASSERT_TRUE(WaitFor([&]() { return PathExists(m_program + L"setup_stub.log"); }))
        << "the click started no download";
    WriteWholeFile(m_serverRoot + L"newupdate.ini", "[SETUP]\r\nVERSION=0.0\r\n");

    Snapshot expected = m_version1;
    expected[L"c.dat"] = m_version2[L"c.dat"];
    expected[L"d.dat"] = m_version2[L"d.dat"];
    // Done once the restarted main program's own updater run has ended too.
    size_t requestsAtInstall = SIZE_MAX;
    EXPECT_TRUE(WaitFor([&]() {
        if (Take() != expected) return false;
        if (requestsAtInstall == SIZE_MAX) requestsAtInstall = ManifestRequests();
        return ManifestRequests() > requestsAtInstall && !HasRecord() && !PathExists(m_program + L"cache") &&
            !PathExists(m_program + L"setup.exe") && ProcessesNamed(L"lumoraupd.exe").empty() &&
            ProcessesNamed(L"Uprelay.exe").empty() && !RunFolderLeft();
    }));
    EXPECT_TRUE(Take() == expected);
    EXPECT_FALSE(RunFolderLeft());
    std::string log = ReadWholeFile(m_program + L"setup_stub.log");
    // Progress while the wizard shows, hidden at the end.
    EXPECT_NE(std::string::npos, log.find("progress 10000 visible 1")) << log;
    EXPECT_NE(std::string::npos, log.find("progress 30000 visible 0")) << log;
    EXPECT_TRUE(WaitFor([]() { return !ProcessesNamed(L"lumora.exe").empty(); }));
}

// Nothing new: the start of lumora.exe runs the updater, which ends without a
// window and leaves nothing behind.
TEST_F(UpdateJourneyTest, NewestEndsQuietly)
{
    WriteWholeFile(m_serverRoot + L"newupdate.ini", "[SETUP]\r\nVERSION=0.0\r\n");
    DeleteFileW((m_serverRoot + L"requests.log").c_str());
    StartLumora(nullptr);
    ASSERT_TRUE(WaitFor(
        [this]() { return ReadWholeFile(m_serverRoot + L"requests.log").find("newupdate.ini") != std::string::npos; }));
    EXPECT_TRUE(WaitFor([this]() {
        return FindVisibleWizard() == nullptr && ProcessesNamed(L"lumoraupd.exe").empty() &&
            ProcessesNamed(L"Uprelay.exe").empty() && !RunFolderLeft();
    }));
    EXPECT_EQ(nullptr, FindVisibleWizard());
    EXPECT_TRUE(Take() == m_version1);
    EXPECT_FALSE(PathExists(m_program + L"cache"));
    EXPECT_FALSE(PathExists(m_program + L"updatefile.list"));
}

// The server names the manifest after a deliverable: it is saved under the
// updater's own name all the same, and the deliverable stays as it was.
TEST(ManifestDownload, ServersFileNameIsNotUsed)
{
    const std::wstring folder = TemporaryDirectory() + L"lumora_manifest_name\\";
    CreateDirectoryW(folder.c_str(), nullptr);
    WriteWholeFile(folder + L"Uprelay.exe", "the finisher");
    DeleteFileW((folder + L"newupdate.ini").c_str());
    TestServer::Serve("newupdate.ini", "[SETUP]\r\nVERSION=0.0\r\n");
    MessageRecorder recorder;
    CDownloadManager manager;
    manager.SetOwner(recorder.Window());
    manager.StartInfoDownload(TestServer::Url("/lumo/2014/newupdate.ini?disposition=Uprelay.exe"), folder);
    ASSERT_EQ(WM_MANIFEST_PROBED, recorder.WaitForAny({ WM_MANIFEST_PROBED, WM_MANIFEST_FAILED }).message);
    manager.GetInfoDownload()->StartTransfer();
    ASSERT_EQ(WM_MANIFEST_DOWNLOADED, recorder.WaitForAny({ WM_MANIFEST_DOWNLOADED, WM_MANIFEST_FAILED }).message);
    EXPECT_EQ("newupdate.ini", manager.GetInfoDownload()->fileName);
    EXPECT_EQ("the finisher", ReadWholeFile(folder + L"Uprelay.exe"));
    EXPECT_EQ("[SETUP]\r\nVERSION=0.0\r\n", ReadWholeFile(folder + L"newupdate.ini"));
    manager.GetInfoDownload()->Stop();
    manager.ReleaseInfoDownload();
    for (const wchar_t* name : { L"Uprelay.exe", L"newupdate.ini", L"newupdate.ini.Cfg" })
        DeleteFileW((folder + name).c_str());
    RemoveDirectoryW(folder.c_str());
}

class KillPointTest : public UpdateJourneyTest, public ::testing::WithParamInterface<const char*>
{ };

TEST_P(KillPointTest, NextStartCompletesTheUpdate)
{
    const char* point = GetParam();
    std::wstring wide(point, point + strlen(point));
    ServeVersion2();
    StartLumora(wide.c_str());
    AnswerRestartPromptsUntil([&]() { return KillPointReached(point); });
    ASSERT_TRUE(KillPointReached(point)) << "the run never reached " << point;
    // The user (or the system) ends whatever is left of the stopped run.
    StopEverything();
    State stopped = Classify();
    // A record counts only when it names work the next run can still do.
    bool record = HasPendingInstall(m_program);
    std::cout << "[ state ] killed at " << point << ": " << Name(stopped) << (record ? ", with a record" : "")
              << (RunFolderLeft() ? ", run folder left: " + RunFoldersLeft() : "") << std::endl;
    // Never a mix without a way on: a record that the next run completes, or
    // a setup that ran (the stand-in copies in place and was stopped half-way)
    // and is never run again from a record, but offered again by the next
    // check.
    const bool setupRan = strcmp(point, "setup") == 0;
    EXPECT_TRUE(stopped != State::Mixed || record || setupRan) << point;
    EXPECT_FALSE(setupRan && PathExists(m_program + L"setup.exe")) << "the setup that ran is not kept";
    // The server goes on offering version 2 until a setup runs again.
    if (setupRan) DeleteFileW((m_program + L"setup_stub.log").c_str());

    DeleteFileW(m_killNote.c_str());
    StartLumora(nullptr);
    AnswerRestartPromptsUntil([this]() {
        if (PathExists(m_program + L"setup_stub.log")) ServeNewest();
        return Complete();
    });
    EXPECT_EQ(State::Version2, Classify()) << point;
    EXPECT_FALSE(HasRecord()) << point;
    EXPECT_FALSE(PathExists(m_program + L"cache")) << point;
    EXPECT_EQ("", RunFoldersLeft()) << point << ": " << ProcessesNamed(L"lumoraupd.exe").size() << " updaters and "
                                    << ProcessesNamed(L"Uprelay.exe").size() << " finishers running";
}

INSTANTIATE_TEST_SUITE_P(EachStep, KillPointTest,
                         ::testing::Values("manifest", "download", "move", "setup", "finisher"));

} // namespace
