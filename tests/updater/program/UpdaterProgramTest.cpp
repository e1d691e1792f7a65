#include "ManifestEntries.h"
#include "PendingInstall.h"
#include "SafeFileName.h"
#include "SelfRelocation.h"
#include "UpdateInstaller.h"
#include "UpdateManifest.h"
#include "UpdaterCommandLine.h"
#include "TestProcesses.h"

#include <gtest/gtest.h>

#include <winsock2.h>
#include <windows.h>

#include <set>
#include <string>
#include <vector>

namespace {

struct CommandLineCase
{
    std::vector<const wchar_t*> argv;
    bool valid;
    WORD mode;
    bool quiet;
    bool fromDownload;
    DWORD exStyle;
};

TEST(UpdaterCommandLineTest, ModesFollowTheArgumentTable)
{
    const DWORD app = WS_EX_APPWINDOW, tool = WS_EX_TOOLWINDOW;
    const CommandLineCase cases[] = {
        { { L"upd" }, true, UpdateModeInteractive, false, false, app },
        { { L"upd", L"F" }, true, UpdateModeForced, false, false, tool },
        { { L"upd", L"f" }, true, UpdateModeForced, false, false, tool },
        { { L"upd", L"s" }, true, UpdateModeSilent, false, false, tool },
        { { L"upd", L"x" }, true, UpdateModeInteractive, false, false, app },
        { { L"upd", L"S", L"A" }, true, UpdateModeSilent, true, false, tool },
        { { L"upd", L"s", L"f" }, true, UpdateModeForced, false, true, tool },
        { { L"upd", L"S", L"B" }, true, UpdateModeInteractive, false, false, app },
        { { L"upd", L"A", L"S" }, true, UpdateModeInteractive, false, false, app },
        { { L"upd", L"S", L"A", L"X" }, false, 0, false, false, app },
        { {}, false, 0, false, false, app },
    };
    for (const CommandLineCase& c : cases) {
        UpdaterCommandLine line = ParseUpdaterCommandLine(static_cast<int>(c.argv.size()), c.argv.data());
        SCOPED_TRACE(c.argv.size());
        EXPECT_EQ(c.valid, line.valid);
        if (!c.valid) continue;
        EXPECT_EQ(c.mode, line.mode);
        EXPECT_EQ(c.quiet, line.quietWhenNewest);
        EXPECT_EQ(c.fromDownload, line.installFromDownload);
        EXPECT_EQ(c.exStyle, line.exStyle);
    }
}

TEST(SelfRelocationTest, OnlyAFolderDirectlyInTempIsTheCopy)
{
    const std::wstring temp = L"C:\\users\\me\\Temp\\";
    EXPECT_TRUE(IsTemporaryRunPath(L"C:\\users\\me\\Temp\\a1B2c3D4\\lumoraupd.exe", temp));
    EXPECT_TRUE(IsTemporaryRunPath(L"c:\\USERS\\me\\temp\\a1B2c3D4\\lumoraupd.exe", temp));
    // An installation deeper under TEMP must never be handed to the finisher.
    EXPECT_FALSE(IsTemporaryRunPath(L"C:\\users\\me\\Temp\\apps\\Lumora\\lumoraupd.exe", temp));
    EXPECT_FALSE(IsTemporaryRunPath(L"C:\\users\\me\\Temp\\lumoraupd.exe", temp));
    EXPECT_FALSE(IsTemporaryRunPath(L"C:\\Program Files\\Lumora\\lumoraupd.exe", temp));
    EXPECT_FALSE(IsTemporaryRunPath(L"C:\\Program Files\\Lumora\\lumoraupd.exe", L""));
}

TEST(SelfRelocationTest, ParametersAndFinisherCommandLine)
{
    const wchar_t* argv[] = { L"upd", L"S", L"A" };
    EXPECT_EQ(L"S A ", BuildForwardedParameters(3, argv));
    EXPECT_EQ(L"", BuildForwardedParameters(1, argv));
    std::wstring longArgument(2000, L'x');
    const wchar_t* tooLong[] = { L"upd", L"S", longArgument.c_str() };
    EXPECT_EQ(L"S ", BuildForwardedParameters(3, tooLong));
    // A quoted folder must not end in a backslash: it would escape the quote.
    EXPECT_EQ(L"lumoraupd.exe \"C:\\Temp dir\\a1B2c3D4\"", BuildFinisherParameters(L"C:\\Temp dir\\a1B2c3D4\\"));
}

TEST(SelfRelocationTest, RunFolderHasEightAlphabetCharactersAndConfig)
{
    std::wstring temp = TemporaryDirectory();
    ASSERT_FALSE(temp.empty());
    std::set<std::wstring> made;
    for (int i = 0; i < 3; ++i) {
        std::wstring folder = CreateRunFolder(temp);
        ASSERT_FALSE(folder.empty());
        std::wstring name = folder.substr(temp.size(), folder.size() - temp.size() - 1);
        EXPECT_EQ(8u, name.size());
        EXPECT_EQ(std::wstring::npos,
                  name.find_first_not_of(L"0123456789abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ"));
        made.insert(folder);
        EXPECT_TRUE(WriteRunConfig(folder, L"C:\\Program Files\\Lumora\\"));
        EXPECT_EQ(L"C:\\Program Files\\Lumora\\", ReadRunConfig(folder));
        DeleteFileW((folder + kRunConfigName).c_str());
        RemoveDirectoryW(folder.c_str());
    }
    // Tries within one second must not draw the same name again.
    EXPECT_EQ(3u, made.size());
    EXPECT_EQ(L"", ReadRunConfig(temp + L"no-such-run\\"));
}

TEST(UpdateInstallerTest, SetupEntryAndCommandLine)
{
    struct Case
    {
        const wchar_t* entry;
        wchar_t separator;
        const wchar_t* file;
        const wchar_t* arguments;
    } cases[] = {
        { L"setup.exe", L' ', L"setup.exe", L"" },
        { L"setup.exe /S", L' ', L"setup.exe", L"/S" },
        { L"setup.exe /S /D=x", L' ', L"setup.exe", L"/S /D=x" },
        { L"C:\\Lumora\\setup.exe|/S", L'|', L"C:\\Lumora\\setup.exe", L"/S" },
    };
    for (const Case& c : cases) {
        std::wstring file, arguments;
        SplitSetupEntry(c.entry, c.separator, file, arguments);
        EXPECT_EQ(c.file, file);
        EXPECT_EQ(c.arguments, arguments);
    }
    HWND window = reinterpret_cast<HWND>(static_cast<LONG_PTR>(132456));
    EXPECT_EQ(L" /updateDlg=132456", BuildSetupCommandLine(L"", window));
    EXPECT_EQ(L"/S /updateDlg=132456", BuildSetupCommandLine(L"/S", window));
}

TEST(UpdateInstallerTest, ReplayedPathsStayInTheirFolder)
{
    const std::wstring cache = L"C:\\Lumora\\cache\\";
    EXPECT_TRUE(IsFileDirectlyIn(L"C:\\Lumora\\cache\\a.dll", cache));
    EXPECT_TRUE(IsFileDirectlyIn(L"c:\\lumora\\CACHE\\a.dll", cache));
    EXPECT_FALSE(IsFileDirectlyIn(L"C:\\Lumora\\cache\\..\\a.dll", cache));
    EXPECT_FALSE(IsFileDirectlyIn(L"C:\\Lumora\\cache\\sub\\a.dll", cache));
    EXPECT_FALSE(IsFileDirectlyIn(L"C:\\Windows\\a.dll", cache));
    EXPECT_FALSE(IsFileDirectlyIn(L"a.dll", cache));
}

// The record an installation keeps in "uprelay.ini": its format is the one a
// forced run writes, and it counts as work only while something is left.
TEST(PendingInstallTest, RecordHasWorkWhileAFileWaitsInCacheOrASetupIsNamed)
{
    const std::wstring folder =
        TemporaryDirectory() + L"lumora_pending_" + std::to_wstring(GetCurrentProcessId()) + L"\\";
    CreateDirectoryW(folder.c_str(), nullptr);
    CreateDirectoryW((folder + L"cache").c_str(), nullptr);
    const std::wstring waiting = folder + L"cache\\a.dll", moved = folder + L"cache\\b.dll";
    HANDLE file = CreateFileW(waiting.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, file);
    CloseHandle(file);
    CPendingInstall pending(folder + L"uprelay.ini");
    EXPECT_FALSE(pending.HasWork());

    PendingMove first{ waiting, folder + L"a.dll", false, L"" };
    PendingMove second{ moved, folder + L"b.dll", true, L"/x" };
    pending.RecordMoves({ first, second });
    EXPECT_TRUE(pending.HasWork());
    std::vector<PendingMove> read = pending.ReadMoves();
    ASSERT_EQ(2u, read.size());
    EXPECT_EQ(waiting, read[0].source);
    EXPECT_EQ(folder + L"a.dll", read[0].target);
    EXPECT_FALSE(read[0].run);
    EXPECT_TRUE(read[1].run);
    EXPECT_EQ(L"/x", read[1].arguments);
    wchar_t line[600] = {};
    GetPrivateProfileStringW(L"FILE", L"FILES1", L"", line, 600, pending.Path().c_str());
    EXPECT_EQ(waiting + L"|" + folder + L"a.dll", line);

    // The waiting file was moved: nothing is left, and the file goes.
    DeleteFileW(waiting.c_str());
    EXPECT_FALSE(pending.HasWork());
    pending.RecordSetup(folder + L"setup.exe|/S");
    EXPECT_TRUE(pending.HasWork());
    EXPECT_EQ(folder + L"setup.exe|/S", pending.ReadSetup());
    // Replays count up; a setup recorded anew starts with none.
    pending.NoteReplayBegun();
    pending.NoteReplayBegun();
    EXPECT_EQ(2, pending.ReplaysBegun());
    pending.RecordSetup(folder + L"setup.exe|/S");
    EXPECT_EQ(0, pending.ReplaysBegun());
    // A setup started from the record is no work for a replay: it runs, or it
    // ran and ended.
    EXPECT_FALSE(pending.SetupWasStarted());
    pending.MarkSetupRunning();
    EXPECT_TRUE(pending.SetupWasStarted());
    EXPECT_FALSE(pending.HasWork());
    EXPECT_EQ(folder + L"setup.exe|/S", pending.ReadSetup());
    pending.DeleteWhenDone();
    EXPECT_TRUE(pending.Exists());
    pending.MarkSetupStarted();
    EXPECT_EQ(L"", pending.ReadSetup());
    pending.DeleteWhenDone();
    EXPECT_FALSE(pending.Exists());
    EXPECT_FALSE(HasPendingInstall(folder));
    RemoveDirectoryW((folder + L"cache").c_str());
    RemoveDirectoryW(folder.c_str());
}

// Anyone may write the record. One that counts as many moves as a manifest
// may have entries is read whole; one that counts more is not read at all,
// even with a file waiting in "cache".
TEST(PendingInstallTest, RecordCountingMoreMovesThanAManifestHasIsNotRead)
{
    const std::wstring folder =
        TemporaryDirectory() + L"lumora_pending_bound_" + std::to_wstring(GetCurrentProcessId()) + L"\\";
    CreateDirectoryW(folder.c_str(), nullptr);
    CreateDirectoryW((folder + L"cache").c_str(), nullptr);
    const std::wstring waiting = folder + L"cache\\a.dll";
    HANDLE file = CreateFileW(waiting.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, file);
    CloseHandle(file);
    const std::string sha(64, 'a');
    auto record = [&](int number) {
        std::wstring text = L"[FILE]\r\n";
        for (int i = 1; i <= kMaxManifestEntries; ++i) {
            std::wstring n = std::to_wstring(i);
            text += L"FILES" + n + L"=" + waiting + L"|" + folder + L"a.dll\r\nSIZE" + n + L"=" + n + L"\r\nSHA256" +
                n + L"=" + std::wstring(sha.begin(), sha.end()) + L"\r\n";
            if (i % 2 == 0) text += L"RUN" + n + L"=1\r\nARGUMENT" + n + L"=/x " + n + L"\r\n";
        }
        text += L"NUMBER=" + std::to_wstring(number) + L"\r\n";
        std::string bytes(text.begin(), text.end());
        HANDLE out =
            CreateFileW((folder + L"uprelay.ini").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        DWORD written = 0;
        WriteFile(out, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
        CloseHandle(out);
    };
    CPendingInstall pending(folder + L"uprelay.ini");

    record(kMaxManifestEntries);
    std::vector<PendingMove> read = pending.ReadMoves();
    ASSERT_EQ(static_cast<size_t>(kMaxManifestEntries), read.size());
    const PendingMove& last = read.back();
    EXPECT_EQ(waiting, last.source);
    EXPECT_EQ(folder + L"a.dll", last.target);
    EXPECT_TRUE(last.run);
    EXPECT_EQ(L"/x " + std::to_wstring(kMaxManifestEntries), last.arguments);
    EXPECT_EQ(static_cast<DWORD>(kMaxManifestEntries), last.digest.size);
    EXPECT_EQ(sha, last.digest.sha256);
    EXPECT_FALSE(read[0].run);
    EXPECT_TRUE(pending.HasWork());

    record(kMaxManifestEntries + 1);
    EXPECT_TRUE(pending.ReadMoves().empty());
    EXPECT_FALSE(pending.HasWork());

    pending.Delete();
    DeleteFileW(waiting.c_str());
    RemoveDirectoryW((folder + L"cache").c_str());
    RemoveDirectoryW(folder.c_str());
}

// ---- the program under Wine ---------------------------------------------------

std::wstring ProgramFolder()
{
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    // Deeper than one level under TEMP: this is a program folder, not a copy.
    std::wstring folder = std::wstring(temp) + L"lumoraupd_tests\\program\\";
    CreateDirectoryW((std::wstring(temp) + L"lumoraupd_tests").c_str(), nullptr);
    CreateDirectoryW(folder.c_str(), nullptr);
    CopyFileW(LUMORA_TEST_UPDATER_DIR L"\\lumoraupd.exe", (folder + L"lumoraupd.exe").c_str(), FALSE);
    return folder;
}

std::set<std::wstring> RunFoldersIn(const std::wstring& temp)
{
    std::set<std::wstring> folders;
    WIN32_FIND_DATAW data;
    HANDLE find = FindFirstFileW((temp + L"*").c_str(), &data);
    if (find == INVALID_HANDLE_VALUE) return folders;
    do {
        if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && wcslen(data.cFileName) == 8)
            folders.insert(data.cFileName);
    } while (FindNextFileW(find, &data));
    FindClose(find);
    return folders;
}

DWORD RunAndWait(const std::wstring& exe, const std::wstring& arguments, DWORD limitMs)
{
    std::wstring line = L"\"" + exe + L"\" " + arguments;
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process = {};
    if (!CreateProcessW(nullptr, &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
        return WAIT_FAILED;
    DWORD waited = WaitForSingleObject(process.hProcess, limitMs);
    if (waited == WAIT_TIMEOUT) TerminateProcess(process.hProcess, 1);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return waited;
}

bool UpdaterRunsFrom(const std::wstring& folder)
{
    for (const RunningProcess& process : ProcessesNamed(L"lumoraupd.exe")) {
        if (CompareStringOrdinal(process.image.c_str(), -1, (folder + L"lumoraupd.exe").c_str(), -1, TRUE) ==
            CSTR_EQUAL)
            return true;
    }
    return false;
}

void RemoveRunFolder(const std::wstring& folder)
{
    for (int i = 0; i < 50; ++i) {
        DeleteFileW((folder + L"lumoraupd.exe").c_str());
        DeleteFileW((folder + L"config").c_str());
        if (RemoveDirectoryW(folder.c_str())) return;
        Sleep(100);
    }
}

class UpdaterProgramTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        // No update server answers: every run fails quietly in the hidden modes.
        SetEnvironmentVariableW(L"LUMORA_UPDATE_SERVER", L"127.0.0.1:1");
        m_temp = TemporaryDirectory();
        m_program = ProgramFolder();
    }
    std::wstring m_temp;
    std::wstring m_program;
};

TEST_F(UpdaterProgramTest, SecondInstanceEndsAtOnceWithoutCopying)
{
    HANDLE mutex = CreateMutexW(nullptr, FALSE, L"lumoravid_update_mutex");
    ASSERT_NE(nullptr, mutex);
    std::set<std::wstring> before = RunFoldersIn(m_temp);
    EXPECT_EQ(WAIT_OBJECT_0, RunAndWait(m_program + L"lumoraupd.exe", L"S A", 30000));
    EXPECT_EQ(before, RunFoldersIn(m_temp));
    CloseHandle(mutex);
}

// A loopback port that takes connections and never answers: an updater that
// asks it for the manifest waits there until the socket is closed.
class SilentServer
{
public:
    SilentServer()
    {
        WSADATA data;
        WSAStartup(MAKEWORD(2, 2), &data);
        m_socket = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
        sockaddr_in address = {};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        int size = sizeof(address);
        if (bind(m_socket, reinterpret_cast<sockaddr*>(&address), sizeof(address)) == 0 && listen(m_socket, 8) == 0 &&
            getsockname(m_socket, reinterpret_cast<sockaddr*>(&address), &size) == 0)
            m_port = ntohs(address.sin_port);
    }
    ~SilentServer()
    {
        for (SOCKET s : m_accepted) closesocket(s);
        closesocket(m_socket);
        WSACleanup();
    }
    int Port() const { return m_port; }
    // Takes the next connection; false when none came within the limit.
    bool Accept(DWORD limitMs)
    {
        fd_set ready;
        FD_ZERO(&ready);
        FD_SET(m_socket, &ready);
        timeval wait = { static_cast<long>(limitMs / 1000), static_cast<long>(limitMs % 1000) * 1000 };
        if (select(0, &ready, nullptr, nullptr, &wait) != 1) return false;
        SOCKET s = accept(m_socket, nullptr, nullptr);
        if (s == INVALID_SOCKET) return false;
        m_accepted.push_back(s);
        return true;
    }

private:
    SOCKET m_socket = INVALID_SOCKET;
    int m_port = 0;
    std::vector<SOCKET> m_accepted;
};

// The run from the program folder only makes the copy: the copy is the one
// that then runs, from its own folder, and asks the update server.
TEST_F(UpdaterProgramTest, FirstRunCopiesItselfWithConfigAndStartsTheCopy)
{
    SilentServer server;
    ASSERT_NE(0, server.Port());
    SetEnvironmentVariableW(L"LUMORA_UPDATE_SERVER", (L"127.0.0.1:" + std::to_wstring(server.Port())).c_str());
    std::set<std::wstring> before = RunFoldersIn(m_temp);
    ASSERT_EQ(WAIT_OBJECT_0, RunAndWait(m_program + L"lumoraupd.exe", L"S A", 30000));
    std::wstring made;
    for (const std::wstring& name : RunFoldersIn(m_temp)) {
        if (!before.count(name) && ReadRunConfig(m_temp + name + L"\\") == m_program) made = m_temp + name + L"\\";
    }
    ASSERT_FALSE(made.empty());
    EXPECT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesW((made + L"lumoraupd.exe").c_str()));

    // The copy runs from its folder and waits for the server's answer.
    EXPECT_TRUE(server.Accept(30000)) << "nobody asked the update server";
    EXPECT_TRUE(UpdaterRunsFrom(made)) << "no lumoraupd.exe runs from the copy's folder";
    KillProcessesUnder(made);
    RemoveRunFolder(made);
}

// A run started by hand while the first run hands over to its copy ends at
// once: it neither copies itself nor takes the copy's folder for a stale one,
// and the copy, once started, runs from its folder and asks the server.
TEST_F(UpdaterProgramTest, ARunStartedWhileTheFirstHandsOverToItsCopyEndsAtOnce)
{
    SilentServer server;
    ASSERT_NE(0, server.Port());
    SetEnvironmentVariableW(L"LUMORA_UPDATE_SERVER", (L"127.0.0.1:" + std::to_wstring(server.Port())).c_str());
    std::wstring program = m_temp + L"lumoraupd_tests\\seams_program\\";
    CreateDirectoryW(program.c_str(), nullptr);
    ASSERT_TRUE(
        CopyFileW(LUMORA_TEST_SEAMS_UPDATER_DIR L"\\lumoraupd.exe", (program + L"lumoraupd.exe").c_str(), FALSE));
    const std::wstring note = m_temp + L"lumora_pause_point.txt";
    DeleteFileW(note.c_str());
    const std::set<std::wstring> earlier = RunFoldersIn(m_temp);

    SetEnvironmentVariableW(L"LUMORA_TEST_PAUSE_AT", L"handover");
    std::wstring line = L"\"" + program + L"lumoraupd.exe\" S A";
    STARTUPINFOW startup = { sizeof(startup) };
    PROCESS_INFORMATION first = {};
    const BOOL started =
        CreateProcessW(nullptr, &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &first);
    SetEnvironmentVariableW(L"LUMORA_TEST_PAUSE_AT", nullptr);
    ASSERT_TRUE(started);
    CloseHandle(first.hThread);
    bool paused = false;
    for (int i = 0; i < 300 && !(paused = GetFileAttributesW(note.c_str()) != INVALID_FILE_ATTRIBUTES); ++i) Sleep(100);
    ASSERT_TRUE(paused) << "the first run never reached its hand-over";
    std::wstring made;
    for (const std::wstring& name : RunFoldersIn(m_temp)) {
        if (!earlier.count(name) && ReadRunConfig(m_temp + name + L"\\") == program) made = m_temp + name + L"\\";
    }
    ASSERT_FALSE(made.empty()) << "the first run made no folder for its copy";

    const std::set<std::wstring> before = RunFoldersIn(m_temp);
    EXPECT_EQ(WAIT_OBJECT_0, RunAndWait(program + L"lumoraupd.exe", L"S A", 30000));
    EXPECT_EQ(before, RunFoldersIn(m_temp)) << "the run started by hand copied itself or removed a folder";
    EXPECT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesW((made + L"lumoraupd.exe").c_str()));

    DeleteFileW(note.c_str());
    EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(first.hProcess, 30000));
    CloseHandle(first.hProcess);
    EXPECT_TRUE(server.Accept(30000)) << "the copy never asked the update server";
    EXPECT_TRUE(UpdaterRunsFrom(made)) << "no lumoraupd.exe runs from the copy's folder";
    KillProcessesUnder(made);
    RemoveRunFolder(made);
}

TEST_F(UpdaterProgramTest, TemporaryRunWithTooManyArgumentsEndsWithoutWindow)
{
    std::wstring run = CreateRunFolder(m_temp);
    ASSERT_FALSE(run.empty());
    ASSERT_TRUE(CopyFileW((m_program + L"lumoraupd.exe").c_str(), (run + L"lumoraupd.exe").c_str(), FALSE));
    WriteRunConfig(run, m_program);
    EXPECT_EQ(WAIT_OBJECT_0, RunAndWait(run + L"lumoraupd.exe", L"S A X", 30000));
    RemoveRunFolder(run);
}

} // namespace
