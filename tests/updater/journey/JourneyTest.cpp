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
#include "UpdateManifestSigner.h"
#include "FileDigest.h"
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
        ASSERT_TRUE(UseTestUpdateServer(m_port, m_serverRoot)) << "run through run_with_server.sh";
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

    // The FILE section of version 2: a.dll and b.dll, each with its bytes.
    std::string Version2Files() const
    {
        return "[FILE]\r\nNUMBER=2\r\nNAME1=a.dll\r\nVERSION1=" + Narrow(m_versions[0]) + "\r\n" +
            DigestKeysOfFile(m_serverRoot + L"a.dll", "1") + "NAME2=b.dll\r\nVERSION2=" + Narrow(m_versions[1]) +
            "\r\n" + DigestKeysOfFile(m_serverRoot + L"b.dll", "2");
    }

    std::string SetupSection(const std::string& name) const
    {
        std::string url = "http://127.0.0.1:" + Narrow(m_port) + "/lumo/2014/setup.exe";
        return "[SETUP]\r\nVERSION=9.9\r\nFILE=9.9\r\nNEWFEATURES=two\\nfiles\r\nNAME=" + name +
            "\r\nURL=" + StringCipher(url, MakeUpdaterCipherKey(), CipherEncode) + "\r\n" +
            DigestKeysOfFile(m_serverRoot + L"setup.exe", "");
    }

    // Version 2 as forced files (the manifest raises the silent start to a
    // forced run) and as a setup package that the user accepts; unsigned.
    std::string Version2Text() const
    {
        return "[RUN]\r\nMODE=1\r\nNAME=setup.exe /payload=" + Narrow(m_serverRoot) + "payload\r\n" + Version2Files() +
            SetupSection("setup.exe");
    }

    void Publish(const std::string& text) { WriteWholeFile(m_serverRoot + L"newupdate.ini", SignedManifest(text)); }

    void ServeVersion2() { Publish(Version2Text()); }

    // What a complete update leaves: the main program has no version yet, so
    // the server stops offering the setup once it was installed.
    void ServeNewest() { Publish("[RUN]\r\nMODE=1\r\n" + Version2Files() + "[SETUP]\r\nVERSION=0.0\r\n"); }

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

    void ClickUpdateUntilTheSetupRuns(HWND wizard);
    void ExpectSetupInstalledAndMainProgramBack();

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

// The silent start at every start of lumora.exe: the wizard shows the new
// version, the user clicks "立即更新", the setup package is fetched, the main
// program is closed, the setup reports its progress to the wizard, the wizard
// hides, the finisher deletes the temporary copy, and the main program runs
// again. The main program has no version yet: once the setup ran, the server
// offers nothing newer, so the next start ends quietly.
// The wizard may be visible a moment before its page takes clicks: a click
// that fetched nothing is given again, never once a fetch has begun.
void UpdateJourneyTest::ClickUpdateUntilTheSetupRuns(HWND wizard)
{
    // Nothing is fetched before the click.
    EXPECT_EQ(std::string::npos, ReadWholeFile(m_serverRoot + L"requests.log").find("setup.exe"));
    // One click: the wizard lays out a page just shown before it looks for
    // the control under a click.
    PostClickTo(wizard, kUpdateButton);
    ASSERT_TRUE(WaitFor([&]() { return PathExists(m_program + L"setup_stub.log"); }))
        << "the click started no download";
    Publish("[SETUP]\r\nVERSION=0.0\r\n");
}

// The setup wrote its files, reported to the wizard, and the main program
// runs again; done once the restarted main program's own updater run has
// ended too.
void UpdateJourneyTest::ExpectSetupInstalledAndMainProgramBack()
{
    Snapshot expected = m_version1;
    expected[L"c.dat"] = m_version2[L"c.dat"];
    expected[L"d.dat"] = m_version2[L"d.dat"];
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

TEST_F(UpdateJourneyTest, SilentStartUpdateClickedFromNewVersionToRestart)
{
    Publish("[RUN]\r\nNAME=setup.exe /payload=" + Narrow(m_serverRoot) + "payload\r\n" + SetupSection("setup.exe"));
    DeleteFileW((m_serverRoot + L"requests.log").c_str());
    StartLumora(nullptr);
    HWND wizard = nullptr;
    ASSERT_TRUE(WaitFor([&]() { return (wizard = FindVisibleWizard()) != nullptr; }));
    EXPECT_NE(0, GetWindowLongPtrW(wizard, GWL_EXSTYLE) & WS_EX_APPWINDOW);
    ClickUpdateUntilTheSetupRuns(wizard);
    ExpectSetupInstalledAndMainProgramBack();
}

// The main window of the program started from `folder`: tests of other
// programs running beside this one show windows with the same property.
HWND FindMainProgramWindowIn(const std::wstring& folder)
{
    for (HWND window = GetWindow(GetDesktopWindow(), GW_CHILD); window; window = GetWindow(window, GW_HWNDNEXT)) {
        if (!GetPropW(window, L"lumora")) continue;
        DWORD id = 0;
        GetWindowThreadProcessId(window, &id);
        HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, id);
        if (!process) continue;
        wchar_t image[MAX_PATH] = {};
        DWORD size = MAX_PATH;
        const bool named = QueryFullProcessImageNameW(process, 0, image, &size) != 0;
        CloseHandle(process);
        if (named && _wcsnicmp(image, folder.c_str(), folder.size()) == 0) return window;
    }
    return nullptr;
}

// The updater started by hand (no arguments) while lumora.exe runs: the
// interactive wizard offers the signed update, minimises the main program,
// and installs on the click as the silent start does.
TEST_F(UpdateJourneyTest, InteractiveRunStartedByHandInstallsTheSignedUpdate)
{
    // The main program's own check at its start ends first: a run started by
    // hand meanwhile would meet it (one of the two ends at the other's mutex).
    // Its request is the first in a fresh log; an earlier test's requests
    // would let this wait end before that check has even begun.
    Publish("[SETUP]\r\nVERSION=0.0\r\n");
    DeleteFileW((m_serverRoot + L"requests.log").c_str());
    StartLumora(nullptr);
    ASSERT_TRUE(WaitFor([this]() {
        return ManifestRequests() > 0 && ProcessesNamed(L"lumoraupd.exe").empty() && FindMainProgramWindowIn(m_program);
    }));
    Publish("[RUN]\r\nNAME=setup.exe /payload=" + Narrow(m_serverRoot) + "payload\r\n" + SetupSection("setup.exe"));
    DeleteFileW((m_serverRoot + L"requests.log").c_str());
    std::wstring line = L"\"" + m_program + L"lumoraupd.exe\"";
    STARTUPINFOW startup = { sizeof(startup) };
    PROCESS_INFORMATION process = {};
    ASSERT_TRUE(
        CreateProcessW(nullptr, &line[0], nullptr, nullptr, FALSE, 0, nullptr, m_program.c_str(), &startup, &process));
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    // The interactive wizard shows from its first page on. The new-version
    // page comes in the same step that minimises the main program, so a click
    // posted once the main program is minimised meets that page.
    HWND wizard = nullptr;
    ASSERT_TRUE(WaitFor([&]() {
        HWND main = FindMainProgramWindowIn(m_program);
        return (wizard = FindVisibleWizard()) != nullptr && main != nullptr && IsIconic(main);
    })) << "the wizard never offered the update";
    ClickUpdateUntilTheSetupRuns(wizard);
    ExpectSetupInstalledAndMainProgramBack();
}

// Nothing new: the start of lumora.exe runs the updater, which ends without a
// window and leaves nothing behind.
TEST_F(UpdateJourneyTest, NewestEndsQuietly)
{
    Publish("[SETUP]\r\nVERSION=0.0\r\n");
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

// A hostile server or network path, case by case: lumora.exe starts its
// updater as at every start and the server answers with one attack. The
// program folder stays byte for byte as it was (only the updater's own
// working files may be left for a later run), lumora.exe runs, and the user
// sees no wizard (a silent start that fails ends quietly).
struct HostileCase
{
    const char* name;
    // The manifest text (unsigned) and the server's answers for one attack.
    std::function<std::string(class HostileServerTest&)> serve;
    // Names the update may legitimately replace (the signed update of a
    // server that only misnames its files installs under the manifest's names).
    std::vector<std::wstring> updated;
};

class HostileServerTest : public UpdateJourneyTest, public ::testing::WithParamInterface<HostileCase>
{
public:
    using UpdateJourneyTest::Publish;
    using UpdateJourneyTest::SetupSection;
    using UpdateJourneyTest::Version2Files;
    using UpdateJourneyTest::Version2Text;

    std::wstring ServerFile(const wchar_t* name) const { return m_serverRoot + name; }
    std::string Root() const { return Narrow(m_serverRoot); }

protected:
    void TearDown() override
    {
        for (const wchar_t* name : { L"a.dll.query", L"b.dll.query", L"setup.exe.query" })
            DeleteFileW(ServerFile(name).c_str());
        UpdateJourneyTest::TearDown();
    }

    // Every file of the program folder with the SHA-256 of its bytes; the
    // updater's resumable working files ("cache", "updatefile.list") apart.
    std::map<std::wstring, std::string> Hashes(const std::wstring& folder = std::wstring()) const
    {
        std::map<std::wstring, std::string> hashes;
        WIN32_FIND_DATAW entry;
        HANDLE find = FindFirstFileW((m_program + folder + L"*").c_str(), &entry);
        if (find == INVALID_HANDLE_VALUE) return hashes;
        do {
            std::wstring name = folder + entry.cFileName;
            if (wcscmp(entry.cFileName, L".") == 0 || wcscmp(entry.cFileName, L"..") == 0) continue;
            if (_wcsicmp(name.c_str(), L"cache") == 0 || _wcsicmp(name.c_str(), L"updatefile.list") == 0) continue;
            if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                auto inner = Hashes(name + L"\\");
                hashes.insert(inner.begin(), inner.end());
                continue;
            }
            FileDigest digest;
            hashes[name] = ComputeFileDigest(m_program + name, digest) ? digest.sha256 : "<unreadable>";
        } while (FindNextFileW(find, &entry));
        FindClose(find);
        return hashes;
    }

    static std::string Describe(const std::map<std::wstring, std::string>& before,
                                const std::map<std::wstring, std::string>& after)
    {
        std::string text;
        for (const auto& file : after) {
            auto was = before.find(file.first);
            if (was == before.end())
                text += "new " + Narrow(file.first) + "; ";
            else if (was->second != file.second)
                text += "changed " + Narrow(file.first) + "; ";
        }
        for (const auto& file : before)
            if (!after.count(file.first)) text += "gone " + Narrow(file.first) + "; ";
        return text;
    }
};

std::string Flip(std::string text, const std::string& from, const std::string& to)
{
    return text.replace(text.find(from), from.size(), to);
}

// The signed forced files, a.dll answered as `query` tells the server.
std::function<std::string(HostileServerTest&)> FilesWithADllAnswered(const char* query)
{
    return [query](HostileServerTest& t) {
        WriteWholeFile(t.ServerFile(L"a.dll.query"), query);
        return SignedManifest("[RUN]\r\nMODE=1\r\n" + t.Version2Files());
    };
}

const HostileCase kHostileCases[] = {
    { "BadSignature",
      [](HostileServerTest& t) {
          // Signed, then one value changed: the version the server claims.
          return Flip(SignedManifest(t.Version2Text()), "VERSION=9.9", "VERSION=9.8");
      },
      {} },
    { "NoSignature", [](HostileServerTest& t) { return t.Version2Text(); }, {} },
    { "SignatureOfAnotherKey", [](HostileServerTest& t) { return SignedWithOtherKey(t.Version2Text()); }, {} },
    { "ForcedModeFromAnUnsignedManifest",
      [](HostileServerTest& t) { return "[RUN]\r\nMODE=1\r\n" + t.Version2Files(); },
      {} },
    { "FileWhoseBytesDifferFromItsHash",
      [](HostileServerTest& t) {
          std::string text = "[RUN]\r\nMODE=1\r\n" + t.Version2Files();
          return SignedManifest(
              Flip(text, DigestKeysOfFile(t.ServerFile(L"a.dll"), "1"), DigestKeys("not the bytes of a.dll", "1")));
      },
      {} },
    { "BodyCutShortWithALength", FilesWithADllAnswered("ranges=0&drop=3000"), {} },
    { "BodyCutShortWithoutALength", FilesWithADllAnswered("ranges=0&nolength=1&drop=3000"), {} },
    { "ChunkedBodyWithoutItsLastChunk", FilesWithADllAnswered("ranges=0&chunked=1&drop=3000"), {} },
    { "ContentDispositionNamingTheMainProgram",
      [](HostileServerTest& t) {
          // The signed update is installed, under the manifest's names only.
          WriteWholeFile(t.ServerFile(L"a.dll.query"), "disposition=lumora.exe");
          WriteWholeFile(t.ServerFile(L"b.dll.query"), "disposition=newupdate.ini");
          return SignedManifest("[RUN]\r\nMODE=1\r\n" + t.Version2Files());
      },
      { L"a.dll", L"b.dll" } },
    { "SetupNamedAsTheMainProgram",
      [](HostileServerTest& t) {
          return SignedManifest("[RUN]\r\nMODE=1\r\nNAME=lumora.exe /payload=" + t.Root() + "payload\r\n" +
                                t.Version2Files() + t.SetupSection("lumora.exe"));
      },
      {} },
    { "RunEntryWithAPath",
      [](HostileServerTest& t) {
          return SignedManifest("[RUN]\r\nMODE=1\r\nNAME=..\\..\\setup.exe\r\n" + t.Version2Files() +
                                t.SetupSection("setup.exe"));
      },
      {} },
};

TEST_P(HostileServerTest, ProgramFolderStaysAndTheMainProgramRuns)
{
    const HostileCase& attack = GetParam();
    WriteWholeFile(m_serverRoot + L"newupdate.ini", attack.serve(*this));
    DeleteFileW((m_serverRoot + L"requests.log").c_str());
    std::map<std::wstring, std::string> before = Hashes();
    for (const std::wstring& name : attack.updated) before[name] = ToHex(Sha256Of(ReadWholeFile(m_serverRoot + name)));

    StartLumora(nullptr);
    ASSERT_TRUE(WaitFor(
        [this]() { return ReadWholeFile(m_serverRoot + L"requests.log").find("newupdate.ini") != std::string::npos; }));
    // The run has ended, with every program it started, and a main program runs.
    EXPECT_TRUE(WaitFor([this]() {
        return ProcessesNamed(L"lumoraupd.exe").empty() && ProcessesNamed(L"Uprelay.exe").empty() && !RunFolderLeft() &&
            !ProcessesNamed(L"lumora.exe").empty();
    }));
    EXPECT_EQ(nullptr, FindVisibleWizard());
    std::map<std::wstring, std::string> after = Hashes();
    EXPECT_TRUE(before == after) << Describe(before, after);
    EXPECT_FALSE(ProcessesNamed(L"lumora.exe").empty());
    EXPECT_TRUE(ProcessesNamed(L"setup.exe").empty());
    EXPECT_FALSE(PathExists(m_program + L"setup.exe"));
    EXPECT_FALSE(HasRecord());
    if (attack.updated.empty()) {
        // Nothing of a refused manifest was fetched.
        std::string log = ReadWholeFile(m_serverRoot + L"requests.log");
        bool signedFiles = std::string(attack.name).find("Body") != std::string::npos ||
            std::string(attack.name).find("Bytes") != std::string::npos;
        if (!signedFiles) EXPECT_EQ(std::string::npos, log.find(".dll")) << log;
        EXPECT_EQ(std::string::npos, log.find("setup.exe")) << log;
    }
}

INSTANTIATE_TEST_SUITE_P(EachAttack, HostileServerTest, ::testing::ValuesIn(kHostileCases),
                         [](const ::testing::TestParamInfo<HostileCase>& info) { return info.param.name; });

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
