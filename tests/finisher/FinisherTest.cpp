// The update finisher: what it accepts, how it deletes, and the real
// Uprelay.exe closing and deleting a stand-in updater in a run folder under %TEMP%.
#include <gtest/gtest.h>
#include <windows.h>
#include <winioctl.h>

#include <cstring>
#include <string>
#include <vector>

#include "DirectoryTree.h"
#include "FileNameRuleCases.h"
#include "RunFolderGuard.h"
#include "RunFolderLock.h"

namespace {

const DWORD kProcessWaitMs = 30000;
const int kStubClosedExitCode = 7; // the stub's exit code after a handled WM_CLOSE

std::wstring TempFolder()
{
    wchar_t buffer[MAX_PATH + 1];
    DWORD length = GetTempPathW(MAX_PATH + 1, buffer);
    std::wstring temp(buffer, length);
    if (temp.back() != L'\\') temp.push_back(L'\\');
    return temp;
}

std::wstring UniqueName(const std::wstring& prefix)
{
    static int counter = 0;
    return prefix + std::to_wstring(GetCurrentProcessId()) + L"_" + std::to_wstring(++counter);
}

bool Exists(const std::wstring& path)
{
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

void WriteTextFile(const std::wstring& path, const char* text)
{
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE) << "cannot write the fixture file";
    DWORD written = 0;
    WriteFile(file, text, static_cast<DWORD>(strlen(text)), &written, nullptr);
    CloseHandle(file);
}

// Test-side clean-up: everything goes, dot folders and read-only files too;
// links are removed without entering them.
void RemoveTree(const std::wstring& folder)
{
    WIN32_FIND_DATAW entry;
    HANDLE find = FindFirstFileW((folder + L"\\*").c_str(), &entry);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            std::wstring name = entry.cFileName;
            if (name == L"." || name == L"..") continue;
            std::wstring path = folder + L"\\" + name;
            SetFileAttributesW(path.c_str(), entry.dwFileAttributes & ~FILE_ATTRIBUTE_READONLY);
            if (!(entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
                DeleteFileW(path.c_str());
            else if (entry.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT)
                RemoveDirectoryW(path.c_str());
            else
                RemoveTree(path);
        } while (FindNextFileW(find, &entry));
        FindClose(find);
    }
    RemoveDirectoryW(folder.c_str());
}

// A folder made like the updater's temporary run folder: holds "config".
class RunFolder
{
public:
    explicit RunFolder(const std::wstring& parent = TempFolder(), const std::wstring& name = UniqueName(L"lumora_fin_"))
        : m_path(parent + name + L"\\")
    {
        CreateDirectoryW(m_path.c_str(), nullptr);
        WriteTextFile(m_path + L"config", "[Config]\r\npath=C:\\Program Files\\Lumora\\\r\n");
    }
    ~RunFolder() { RemoveTree(NoSlash()); }
    RunFolder(const RunFolder&) = delete;
    RunFolder& operator=(const RunFolder&) = delete;

    const std::wstring& Path() const { return m_path; }
    std::wstring NoSlash() const { return m_path.substr(0, m_path.size() - 1); }
    std::wstring operator/(const std::wstring& name) const { return m_path + name; }

private:
    std::wstring m_path;
};

class ChildProcess
{
public:
    ~ChildProcess()
    {
        if (!m_started) return;
        if (IsRunning()) {
            TerminateProcess(m_info.hProcess, 99);
            WaitForSingleObject(m_info.hProcess, kProcessWaitMs);
        }
        CloseHandle(m_info.hThread);
        CloseHandle(m_info.hProcess);
    }

    bool Start(const std::wstring& exe, std::wstring commandLine)
    {
        STARTUPINFOW startup{};
        startup.cb = sizeof(startup);
        m_started = CreateProcessW(exe.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                                   &m_info) != FALSE;
        return m_started;
    }
    DWORD Wait(DWORD ms = kProcessWaitMs)
    {
        if (!m_started || WaitForSingleObject(m_info.hProcess, ms) != WAIT_OBJECT_0) return STILL_ACTIVE;
        DWORD code = 0;
        GetExitCodeProcess(m_info.hProcess, &code);
        return code;
    }
    bool IsRunning() const { return m_started && WaitForSingleObject(m_info.hProcess, 0) == WAIT_TIMEOUT; }
    DWORD Id() const { return m_info.dwProcessId; }

private:
    PROCESS_INFORMATION m_info{};
    bool m_started = false;
};

// The stand-in updater, copied into a run folder under the updater's name and
// started; ready once its window with the updater's property exists.
class StubUpdater : public ChildProcess
{
public:
    bool Launch(const RunFolder& folder, const std::wstring& exeName = L"lumoraupd.exe", bool ignoreClose = false)
    {
        std::wstring stub = std::wstring(LUMORA_TEST_BUILD_DIR) + L"\\tests\\finisher_stub_updater.exe";
        std::wstring exe = folder / exeName;
        if (!CopyFileW(stub.c_str(), exe.c_str(), FALSE)) return false;
        if (!Start(exe, L"\"" + exe + L"\"" + (ignoreClose ? L" ignore-close" : L""))) return false;
        return WaitForWindow();
    }
    bool HasWindow() const { return IsWindow(m_window) && GetPropW(m_window, L"lumoravid_UpdateDlg"); }

private:
    bool WaitForWindow()
    {
        for (DWORD waited = 0; waited < kProcessWaitMs && IsRunning(); waited += 20) {
            for (HWND wnd = GetWindow(GetDesktopWindow(), GW_CHILD); IsWindow(wnd); wnd = GetWindow(wnd, GW_HWNDNEXT)) {
                DWORD owner = 0;
                GetWindowThreadProcessId(wnd, &owner);
                if (owner == Id() && GetPropW(wnd, L"lumoravid_UpdateDlg")) {
                    m_window = wnd;
                    return true;
                }
            }
            Sleep(20);
        }
        return false;
    }
    HWND m_window = nullptr;
};

// Runs the real finisher with "Uprelay.exe " + arguments and returns its exit code.
DWORD RunUprelay(const std::wstring& arguments)
{
    ChildProcess finisher;
    std::wstring exe = std::wstring(LUMORA_TEST_BIN_DIR) + L"\\Uprelay.exe";
    if (!finisher.Start(exe, L"Uprelay.exe " + arguments)) return GetLastError() | 0x80000000;
    return finisher.Wait();
}

// Junction as "mklink /J" makes it; false where the file system cannot.
bool CreateJunction(const std::wstring& link, const std::wstring& target)
{
    if (!CreateDirectoryW(link.c_str(), nullptr)) return false;
    HANDLE handle = CreateFileW(link.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        RemoveDirectoryW(link.c_str());
        return false;
    }
    std::wstring substitute = L"\\??\\" + target;
    USHORT substituteBytes = static_cast<USHORT>(substitute.size() * sizeof(wchar_t));
    USHORT printBytes = static_cast<USHORT>(target.size() * sizeof(wchar_t));
    // REPARSE_DATA_BUFFER's mount point form: tag, lengths, then both names, each zero-terminated.
    std::vector<BYTE> buffer(8 + 8 + substituteBytes + 2 + printBytes + 2, 0);
    auto words = reinterpret_cast<USHORT*>(buffer.data());
    *reinterpret_cast<DWORD*>(buffer.data()) = IO_REPARSE_TAG_MOUNT_POINT;
    words[2] = static_cast<USHORT>(buffer.size() - 8);
    words[4] = 0;
    words[5] = substituteBytes;
    words[6] = static_cast<USHORT>(substituteBytes + 2);
    words[7] = printBytes;
    memcpy(buffer.data() + 16, substitute.c_str(), substituteBytes);
    memcpy(buffer.data() + 16 + substituteBytes + 2, target.c_str(), printBytes);
    DWORD returned = 0;
    BOOL made = DeviceIoControl(handle, FSCTL_SET_REPARSE_POINT, buffer.data(), static_cast<DWORD>(buffer.size()),
                                nullptr, 0, &returned, nullptr);
    CloseHandle(handle);
    DWORD attributes = GetFileAttributesW(link.c_str());
    if (made && attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT)) return true;
    RemoveDirectoryW(link.c_str());
    return false;
}

// ---- What the finisher accepts --------------------------------------------

TEST(FinisherArguments, UpdaterNameMustBeABareFileName)
{
    for (const FileNameRuleCase& c : kFileNameRuleCases)
        EXPECT_EQ(IsPlainFileName(c.name), c.plainForFinisher) << testing::PrintToString(std::wstring(c.name));
}

TEST(FinisherArguments, OnlyTheUpdatersRunFolderUnderTempIsAccepted)
{
    RunFolder run;
    RunFolder nested(run.Path(), L"inner");
    RunFolder outside(std::wstring(LUMORA_TEST_BUILD_DIR) + L"\\tests\\", UniqueName(L"finisher_decoy_"));
    RunFolder withoutConfig;
    DeleteFileW((withoutConfig / L"config").c_str());
    RunFolder configIsFolder;
    DeleteFileW((configIsFolder / L"config").c_str());
    CreateDirectoryW((configIsFolder / L"config").c_str(), nullptr);
    std::wstring temp = TempFolder();
    std::wstring upper = run.Path();
    for (wchar_t& c : upper) c = towupper(c);

    struct Case
    {
        std::wstring folder;
        bool accepted;
    } cases[] = {
        { run.Path(), true },
        { run.NoSlash(), true },
        { upper, true },
        { run.Path() + L"inner\\..\\", true },
        { L"", false },
        { L"C:\\", false },
        { L"C:", false },
        { L"Z:\\", false },
        { temp, false },
        { temp.substr(0, temp.size() - 1), false },
        { run.Path() + L"..\\", false },
        { run.Path() + L"..\\..\\", false },
        { run.Path().substr(temp.size()), false }, // relative
        { run.Path() + L"*", false },
        { L"\\\\?\\" + run.Path(), false },
        { nested.Path(), false },
        { outside.Path(), false },
        { withoutConfig.Path(), false },
        { configIsFolder.Path(), false },
    };
    for (const Case& c : cases) {
        std::wstring verified = VerifiedRunFolder(c.folder);
        EXPECT_EQ(!verified.empty(), c.accepted) << testing::PrintToString(c.folder);
        if (c.accepted) {
            EXPECT_EQ(CompareStringOrdinal(verified.c_str(), -1, run.Path().c_str(), -1, TRUE), CSTR_EQUAL);
        }
    }
}

// A junction where the file system makes one; under Wine, which cannot, the
// Unix symbolic link the test's CMake fixture put into TEMP, which Wine shows
// as a linked folder.
TEST(FinisherArguments, RunFolderThatIsALinkIsRefused)
{
    RunFolder target;
    std::wstring link = TempFolder() + UniqueName(L"lumora_fin_link_");
    const bool junction = CreateJunction(link, target.NoSlash());
    if (!junction) link = TempFolder() + L"lumora_fin_runlink";
    ASSERT_TRUE(Exists(link + L"\\config")) << "no junction and no prepared link (run through ctest)";
    EXPECT_EQ(VerifiedRunFolder(link + L"\\"), L"");
    if (junction) RemoveDirectoryW(link.c_str());
}

// ---- How the folder is deleted --------------------------------------------

// Where the file system makes junctions; PreparedSymbolicLinkIsNotFollowed
// checks the same with a linked folder Wine can show.
TEST(DeleteDirectoryTree, JunctionIsRemovedWithoutTouchingItsTarget)
{
    RunFolder elsewhere;
    WriteTextFile(elsewhere / L"precious.txt", "keep");
    RunFolder run;
    WriteTextFile(run / L"file.txt", "x");
    if (!CreateJunction(run / L"linked", elsewhere.NoSlash()))
        GTEST_SKIP() << "this file system cannot make junctions (Wine cannot); "
                        "PreparedSymbolicLinkIsNotFollowed covers a linked folder here";

    DeleteDirectoryTree(run.Path());

    EXPECT_TRUE(Exists(elsewhere / L"precious.txt"));
    EXPECT_TRUE(Exists(elsewhere / L"config"));
    EXPECT_FALSE(Exists(run.Path()));
}

// Wine cannot make junctions; the test's CMake fixture made "run\linked" a Unix
// symbolic link to "target", which Wine shows as a linked folder.
TEST(DeleteDirectoryTree, PreparedSymbolicLinkIsNotFollowed)
{
    std::wstring links = std::wstring(LUMORA_TEST_BUILD_DIR) + L"\\tests\\finisher_links\\";
    if (!Exists(links + L"run\\linked\\precious.txt")) GTEST_SKIP() << "no prepared link (run through ctest)";
    WriteTextFile(links + L"run\\file.txt", "x");

    DeleteDirectoryTree(links + L"run\\");

    EXPECT_TRUE(Exists(links + L"target\\precious.txt"));
    EXPECT_FALSE(Exists(links + L"run\\file.txt"));
}

TEST(DeleteDirectoryTree, UndeletableFileKeepsItsFoldersAndNothingElse)
{
    RunFolder run;
    CreateDirectoryW((run / L"sub").c_str(), nullptr);
    WriteTextFile(run / L"sub\\locked.txt", "x");
    WriteTextFile(run / L"sub\\other.txt", "x");
    CreateDirectoryW((run / L"empty").c_str(), nullptr);
    HANDLE locked = CreateFileW((run / L"sub\\locked.txt").c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(locked, INVALID_HANDLE_VALUE);

    DeleteDirectoryTree(run.Path());
    CloseHandle(locked);

    EXPECT_TRUE(Exists(run / L"sub\\locked.txt"));
    EXPECT_FALSE(Exists(run / L"sub\\other.txt"));
    EXPECT_FALSE(Exists(run / L"empty"));
    EXPECT_FALSE(Exists(run / L"config"));
}

// ---- The verified folder is what gets deleted -------------------------------

// The folder is moved away and another one put in its place between the check
// and the deletion: nothing of the newcomer is deleted.
TEST(RunFolderLock, FolderSwappedInAfterTheCheckIsNotDeleted)
{
    RunFolder run;
    WriteTextFile(run / L"a.txt", "x");
    CRunFolderLock lock;
    ASSERT_TRUE(lock.Acquire(run.Path()));
    EXPECT_TRUE(lock.StillTheSame());
    lock.Release(); // as if the hold had been broken
    std::wstring moved = run.NoSlash() + L"_moved";
    ASSERT_TRUE(MoveFileW(run.NoSlash().c_str(), moved.c_str()));
    ASSERT_TRUE(CreateDirectoryW(run.NoSlash().c_str(), nullptr));
    WriteTextFile(run / L"config", "[Config]\r\n");
    WriteTextFile(run / L"precious.txt", "keep");

    EXPECT_FALSE(lock.StillTheSame());
    DeleteDirectoryTree(
        run.Path(), [&lock]() { return lock.StillTheSame(); }, [&lock]() { lock.Release(); });

    EXPECT_TRUE(Exists(run / L"precious.txt"));
    EXPECT_TRUE(Exists(run / L"config"));
    EXPECT_TRUE(Exists(moved + L"\\a.txt"));
    RemoveTree(moved);
}

TEST(RunFolderLock, HeldFolderIsDeletedWholeWhenUnchanged)
{
    RunFolder run;
    CreateDirectoryW((run / L"Log").c_str(), nullptr);
    WriteTextFile(run / L"Log\\a.dmp", "x");
    WriteTextFile(run / L"lumoraupd.exe", "x");
    CRunFolderLock lock;
    ASSERT_TRUE(lock.Acquire(run.Path()));

    DeleteDirectoryTree(
        run.Path(), [&lock]() { return lock.StillTheSame(); }, [&lock]() { lock.Release(); });

    EXPECT_FALSE(Exists(run.Path()));
}

// Wine shows a Unix symbolic link as a linked folder: it is never taken as the run folder.
TEST(RunFolderLock, LinkIsNotAcquired)
{
    std::wstring links = std::wstring(LUMORA_TEST_BUILD_DIR) + L"\\tests\\finisher_links\\";
    if (!Exists(links + L"runlink\\precious.txt")) GTEST_SKIP() << "no prepared link (run through ctest)";
    CRunFolderLock lock;
    EXPECT_FALSE(lock.Acquire(links + L"runlink\\"));
    EXPECT_FALSE(lock.StillTheSame());
}

// ---- Uprelay.exe end to end -----------------------------------------------

class FinisherRun : public ::testing::TestWithParam<bool>
{ };

TEST_P(FinisherRun, ClosesTheUpdaterAndDeletesItsFolder)
{
    RunFolder run;
    CreateDirectoryW((run / L"Log").c_str(), nullptr);
    WriteTextFile(run / L"Log\\2020-01-01 000000.dmp", "MDMP");
    StubUpdater updater;
    ASSERT_TRUE(updater.Launch(run));
    bool trailingBackslash = GetParam();

    EXPECT_EQ(RunUprelay(L"lumoraupd.exe " + (trailingBackslash ? run.Path() : run.NoSlash())), 0u);

    EXPECT_EQ(updater.Wait(), static_cast<DWORD>(kStubClosedExitCode)) << "closed through its window";
    EXPECT_FALSE(Exists(run.Path()));
}

INSTANTIATE_TEST_SUITE_P(WithAndWithoutTrailingBackslash, FinisherRun, ::testing::Bool());

TEST(Uprelay, UpdaterAlreadyGoneFolderIsDeletedButDotFoldersStay)
{
    RunFolder run;
    WriteTextFile(run / L"lumoraupd.exe", "MZ");
    WriteTextFile(run / L".dotfile", "x");
    CreateDirectoryW((run / L"sub").c_str(), nullptr);
    CreateDirectoryW((run / L"sub\\deeper").c_str(), nullptr);
    WriteTextFile(run / L"sub\\deeper\\f.txt", "x");
    CreateDirectoryW((run / L".keep").c_str(), nullptr);
    WriteTextFile(run / L".keep\\x.txt", "x");

    EXPECT_EQ(RunUprelay(L"lumoraupd.exe " + run.Path()), 0u);

    EXPECT_TRUE(Exists(run / L".keep\\x.txt"));
    EXPECT_TRUE(Exists(run.Path()));
    for (const wchar_t* gone : { L"lumoraupd.exe", L".dotfile", L"sub", L"config" })
        EXPECT_FALSE(Exists(run / gone)) << testing::PrintToString(std::wstring(gone));
}

TEST(Uprelay, UpdaterThatIgnoresCloseIsKilledAfterTheWait)
{
    RunFolder run;
    StubUpdater updater;
    ASSERT_TRUE(updater.Launch(run, L"lumoraupd.exe", true));

    EXPECT_EQ(RunUprelay(L"lumoraupd.exe " + run.Path()), 0u);

    EXPECT_EQ(updater.Wait(), 0u) << "terminated with exit code 0";
    EXPECT_FALSE(Exists(run.Path()));
}

TEST(Uprelay, SecondFinisherEndsAtOnceAndTouchesNothing)
{
    RunFolder run;
    StubUpdater updater;
    ASSERT_TRUE(updater.Launch(run));
    HANDLE first = CreateMutexW(nullptr, FALSE, L"lumoravid_uprelay_mutex");
    ASSERT_NE(first, nullptr);

    EXPECT_EQ(RunUprelay(L"lumoraupd.exe " + run.Path()), 0u);
    CloseHandle(first);

    EXPECT_TRUE(updater.IsRunning());
    EXPECT_TRUE(updater.HasWindow());
    EXPECT_TRUE(Exists(run / L"lumoraupd.exe"));
    EXPECT_TRUE(Exists(run / L"config"));
}

TEST(Uprelay, WrongArgumentsCloseAndDeleteNothing)
{
    RunFolder run;
    RunFolder blank(TempFolder(), UniqueName(L"lumora fin "));
    WriteTextFile(blank / L"lumoraupd.exe", "MZ");
    RunFolder outside(std::wstring(LUMORA_TEST_BUILD_DIR) + L"\\tests\\", UniqueName(L"finisher_decoy_"));
    RunFolder nested(run.Path(), L"inner");
    std::wstring victim = TempFolder() + UniqueName(L"lumora_fin_victim_") + L".txt";
    WriteTextFile(victim, "keep");
    std::wstring marker = TempFolder() + UniqueName(L"lumora_fin_marker_") + L".txt";
    WriteTextFile(marker, "keep");
    StubUpdater updater;
    ASSERT_TRUE(updater.Launch(run));

    const std::wstring argumentLists[] = {
        L"",
        L"lumoraupd.exe",
        L"lumoraupd.exe " + run.Path() + L" extra",
        L"lumoraupd.exe " + blank.Path(), // unquoted blank: more than two arguments
        L"lumoraupd.exe \"\"",
        L"..\\" + victim.substr(TempFolder().size()) + L" " + run.Path(),
        L"lumoraupd.exe " + TempFolder(),
        L"lumoraupd.exe " + run.Path() + L"..\\",
        L"lumoraupd.exe " + nested.Path(),
        L"lumoraupd.exe " + outside.Path(),
    };
    for (const std::wstring& arguments : argumentLists) {
        EXPECT_EQ(RunUprelay(arguments), 0u) << testing::PrintToString(arguments);
        ASSERT_TRUE(updater.IsRunning()) << testing::PrintToString(arguments);
        EXPECT_TRUE(updater.HasWindow()) << testing::PrintToString(arguments);
    }
    for (const std::wstring& kept :
         { run / L"lumoraupd.exe", run / L"config", nested / L"config", blank / L"lumoraupd.exe", blank / L"config",
           outside / L"config", victim, marker })
        EXPECT_TRUE(Exists(kept)) << testing::PrintToString(kept);
    DeleteFileW(victim.c_str());
    DeleteFileW(marker.c_str());
}

// The main program that a finished update restarted starts its own updater
// run at once: that run is no business of the finisher of the earlier one.
TEST(Uprelay, UpdaterRunningFromAnotherFolderIsNeitherClosedNorKilled)
{
    RunFolder finished;
    WriteTextFile(finished / L"lumoraupd.exe", "MZ");
    RunFolder next;
    StubUpdater nextRun;
    ASSERT_TRUE(nextRun.Launch(next));

    EXPECT_EQ(RunUprelay(L"lumoraupd.exe " + finished.Path()), 0u);

    EXPECT_TRUE(nextRun.IsRunning());
    EXPECT_TRUE(nextRun.HasWindow());
    EXPECT_TRUE(Exists(next / L"lumoraupd.exe"));
    EXPECT_FALSE(Exists(finished.Path()));
}

TEST(Uprelay, OfTwoUpdatersOnlyTheOneInTheGivenFolderIsClosed)
{
    RunFolder finished;
    StubUpdater finishedRun;
    ASSERT_TRUE(finishedRun.Launch(finished));
    RunFolder next;
    StubUpdater nextRun;
    ASSERT_TRUE(nextRun.Launch(next));

    EXPECT_EQ(RunUprelay(L"lumoraupd.exe " + finished.Path()), 0u);

    EXPECT_EQ(finishedRun.Wait(), static_cast<DWORD>(kStubClosedExitCode)) << "closed through its own window";
    EXPECT_TRUE(nextRun.IsRunning());
    EXPECT_TRUE(nextRun.HasWindow());
    EXPECT_FALSE(Exists(finished.Path()));
    EXPECT_TRUE(Exists(next / L"lumoraupd.exe"));
}

TEST(Uprelay, UpdaterWhoseNameDiffersInCaseIsLeftRunning)
{
    RunFolder run;
    StubUpdater updater;
    ASSERT_TRUE(updater.Launch(run, L"LumoraUpd.exe"));

    EXPECT_EQ(RunUprelay(L"lumoraupd.exe " + run.Path()), 0u);

    EXPECT_TRUE(updater.IsRunning()) << "neither closed nor killed";
    EXPECT_TRUE(updater.HasWindow());
    EXPECT_TRUE(Exists(run / L"LumoraUpd.exe")) << "the running executable cannot be deleted";
}

} // namespace
