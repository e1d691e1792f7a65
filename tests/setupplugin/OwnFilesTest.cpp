// What the installer takes for its own: the folder an install goes to, the room
// it needs there, the copy into it and, on uninstall, the files that go and
// the ones that stay. Driven in-process on real folders under the temporary
// folder.
#include <gtest/gtest.h>

#include <windows.h>

#include <shlobj.h>

#include <map>
#include <string>
#include <vector>

#include "InstallFolder.h"
#include "RemoveTree.h"
#include "RoomCheck.h"
#include "StagedCopy.h"
#include "UninstallCleaner.h"

namespace {

std::wstring TempBase()
{
    wchar_t temp[MAX_PATH] = {};
    ::GetTempPathW(MAX_PATH, temp);
    std::wstring base = temp;
    if (base.back() == L'\\') base.pop_back();
    return base + L"\\own files 测试";
}

std::wstring ShellFolder(int csidl)
{
    wchar_t path[MAX_PATH] = {};
    ::SHGetFolderPathW(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, path);
    return path;
}

bool Exists(const std::wstring& path)
{
    return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// Writes the file, making its folders.
void Put(const std::wstring& path, const std::string& bytes)
{
    for (size_t cut = path.find(L'\\', 3); cut != std::wstring::npos; cut = path.find(L'\\', cut + 1))
        ::CreateDirectoryW(path.substr(0, cut).c_str(), nullptr);
    HANDLE hFile = ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(hFile, INVALID_HANDLE_VALUE) << testing::PrintToString(path);
    DWORD written = 0;
    ::WriteFile(hFile, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    ::CloseHandle(hFile);
}

std::string Read(const std::wstring& path)
{
    std::string bytes;
    HANDLE hFile = ::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                 0, nullptr);
    if (hFile == INVALID_HANDLE_VALUE) return "<none>";
    char buffer[4096];
    DWORD read = 0;
    while (::ReadFile(hFile, buffer, sizeof(buffer), &read, nullptr) && read > 0) bytes.append(buffer, read);
    ::CloseHandle(hFile);
    return bytes;
}

// The list as the installer writes it: UTF-16 with a byte order mark, CRLF lines.
void PutList(const std::wstring& folder, const std::vector<std::wstring>& lines)
{
    std::wstring text = L"\xFEFF";
    for (const std::wstring& line : lines) text += line + L"\r\n";
    Put(folder + L"\\installed.list",
        std::string(reinterpret_cast<const char*>(text.data()), text.size() * sizeof(wchar_t)));
}

class OwnFilesTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        RemoveTree(TempBase());
        ASSERT_TRUE(::CreateDirectoryW(TempBase().c_str(), nullptr));
    }
    void TearDown() override { RemoveTree(TempBase()); }
};

TEST_F(OwnFilesTest, AFolderWithTheUsersFilesGetsAFolderOfLumorasOwn)
{
    const std::wstring base = TempBase();
    Put(base + L"\\with user files\\Log\\diary.txt", "mine");
    Put(base + L"\\earlier\\lumora.exe", "program");
    Put(base + L"\\listed only\\installed.list", "");
    ::CreateDirectoryW((base + L"\\empty").c_str(), nullptr);
    wchar_t windows[MAX_PATH] = {};
    ::GetWindowsDirectoryW(windows, MAX_PATH);
    const std::wstring profile = ShellFolder(CSIDL_PROFILE);
    ASSERT_FALSE(profile.empty());
    struct Case
    {
        std::wstring chosen;
        std::wstring resolved;
    } cases[] = {
        { base + L"\\with user files", base + L"\\with user files\\Lumora" },
        { base + L"\\with user files\\", base + L"\\with user files\\Lumora" },
        { base + L"\\earlier", base + L"\\earlier" },
        { base + L"\\listed only\\", base + L"\\listed only" },
        { base + L"\\empty", base + L"\\empty" },
        { base + L"\\not there yet\\", base + L"\\not there yet" },
        { L"C:\\", L"C:\\Lumora" },
        { L"D:", L"D:\\Lumora" },
        { windows, std::wstring(windows) + L"\\Lumora" },
        { ShellFolder(CSIDL_PROGRAM_FILES), ShellFolder(CSIDL_PROGRAM_FILES) + L"\\Lumora" },
        { profile, profile + L"\\Lumora" },
        { profile.substr(0, profile.find_last_of(L'\\')) + L"\\another user",
          profile.substr(0, profile.find_last_of(L'\\')) + L"\\another user\\Lumora" },
        { L"", L"" },
    };
    for (const Case& c : cases)
        EXPECT_EQ(CInstallFolder::Resolve(c.chosen), c.resolved) << testing::PrintToString(c.chosen);
}

// One rule: the page's verdict and the install's failure text always agree, and
// both ask the volume of the nearest folder that exists.
TEST_F(OwnFilesTest, ThePageAndTheInstallJudgeRoomByOneRule)
{
    const std::wstring target = TempBase() + L"\\not there\\Lumora";
    ULONGLONG freeBytes = 0;
    ASSERT_TRUE(CRoomCheck::QueryFreeBytes(target, freeBytes));
    ASSERT_GT(freeBytes, 2ULL * 1048576);
    const ULONGLONG requirements[] = { 1, freeBytes / 2, freeBytes + (1ULL << 40), 1ULL << 60 };
    for (ULONGLONG required : requirements) {
        bool bEnough = CRoomCheck::Check(target, required).bEnough;
        std::wstring failure = CRoomCheck::FailureText(target, required);
        EXPECT_EQ(bEnough, failure.empty()) << required << " " << testing::PrintToString(failure);
        if (!bEnough) {
            EXPECT_EQ(failure.rfind(L"磁盘空间不足：安装需要 ", 0), 0u) << testing::PrintToString(failure);
        }
    }
    EXPECT_EQ(CRoomCheck::FailureText(L"?:\\nowhere", 1), L"无法安装到 ?:\\nowhere：该位置不存在或无法访问。");
    EXPECT_FALSE(CRoomCheck::Check(L"?:\\nowhere", 1).bEnough);
}

TEST_F(OwnFilesTest, ACopyThatCannotWriteSaysWhyAndLeavesNoPart)
{
    const std::wstring source = TempBase() + L"\\source.bin";
    Put(source, std::string(300000, 'x'));
    const std::wstring target = TempBase() + L"\\stage\\source.bin";
    ::CreateDirectoryW((TempBase() + L"\\stage").c_str(), nullptr);
    EXPECT_EQ(CStagedCopy::Copy(source, target), L"");
    EXPECT_EQ(Read(target), Read(source));

    // A file another program holds.
    HANDLE hHeld = ::CreateFileW(target.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(hHeld, INVALID_HANDLE_VALUE);
    EXPECT_EQ(CStagedCopy::Copy(source, target), L"无法写入 " + target + L"：文件正被其他程序使用。");
    ::CloseHandle(hHeld);

    // The target's folder has gone.
    const std::wstring gone = TempBase() + L"\\gone\\source.bin";
    EXPECT_EQ(CStagedCopy::Copy(source, gone), L"无法写入 " + gone + L"：安装目录已不存在或无法访问。");
    EXPECT_FALSE(Exists(gone));
    // What the volume says when it fills in the middle of a file.
    for (DWORD error : { static_cast<DWORD>(ERROR_DISK_FULL), static_cast<DWORD>(ERROR_HANDLE_DISK_FULL) })
        EXPECT_EQ(CStagedCopy::ReasonFor(error, target), L"磁盘空间不足，无法写入 " + target + L"。请选择其他目录。");
    EXPECT_EQ(CStagedCopy::Copy(TempBase() + L"\\no source", target).rfind(L"安装程序的临时文件已丢失", 0), 0u);
}

TEST(OwnFilesRules, ListLinesAndDumpNames)
{
    struct PathCase
    {
        const wchar_t* path;
        bool bSafe;
    } paths[] = {
        { L"lumora.exe", true },
        { L"skin\\skin.sk", true },
        { L"", false },
        { L"\\Windows\\x.dll", false },
        { L"C:\\x.dll", false },
        { L"..\\x.dll", false },
        { L"skin\\..\\..\\x", false },
        { L"skin\\\\x", false },
        { L"skin/x", false },
        { L"*.exe", false },
        { L"skin\\.", false },
    };
    for (const PathCase& c : paths) EXPECT_EQ(CUninstallCleaner::IsSafeRelativePath(c.path), c.bSafe) << c.path;
    struct NameCase
    {
        const wchar_t* name;
        bool bDump;
    } names[] = {
        { L"2026-01-01 000000.dmp", true }, { L"2026-01-01 000000.DMP", true },  { L"diary.dmp", false },
        { L"2026-01-01 00000.dmp", false }, { L"2026-01-01_000000.dmp", false }, { L"2026-01-01 000000.txt", false },
    };
    for (const NameCase& c : names) EXPECT_EQ(CUninstallCleaner::IsCrashDumpName(c.name), c.bDump) << c.name;
}

// The user's files in folders of the names the programs use stay byte for byte,
// with the folders that hold them; ours go; the folder stays and says so.
TEST_F(OwnFilesTest, UninstallRemovesOnlyWhatIsOurs)
{
    const std::wstring folder = TempBase() + L"\\Lumora";
    const std::vector<std::wstring> listed = {
        L"lumora.exe",    L"skin\\skin.sk", L"html\\err.html", L"uninst.exe", L"extra\\added by an update.dll",
        L"installed.list"
    };
    for (const std::wstring& file : listed) Put(folder + L"\\" + file, "ours");
    PutList(folder, listed);
    const std::vector<std::wstring> programMade = {
        L"cfg.db",
        L"updatefile.list",
        L"uprelay.ini",
        L"newupdate.ini",
        L"Log\\2026-01-01 000000.dmp",
        L"cache\\setup.exe",
        L"cache\\setup.exe.Cfg",
        L"lumora_cookies_and_storge\\Local Storage\\leveldb",
        L"~lumora.new\\skin\\skin.sk",
        L"~lumora.old\\lumora.exe",
    };
    for (const std::wstring& file : programMade) Put(folder + L"\\" + file, "ours");
    const std::map<std::wstring, std::string> users = {
        { L"notes.txt", "my notes" },
        { L"Log\\diary.txt", "dear diary" },
        { L"cache\\keep.txt", "keep" },
        { L"plugins\\myplugin.txt", "plug" },
        { L"html\\index.html", "<p>mine</p>" },
        { L"skin\\myskin.txt", "skin" },
        { L"Log\\old.dmp", "not a dump of ours" },
        { L"~lumora.old\\photo.jpg", "photo" },
        { L"extra\\mine.txt", "also mine" },
    };
    for (const auto& file : users) Put(folder + L"\\" + file.first, file.second);
    // The list names only files inside the folder: a line that points outside is ignored.
    const std::wstring outside = TempBase() + L"\\outside.txt";
    Put(outside, "outside");
    PutList(folder,
            { L"lumora.exe", L"..\\outside.txt", L"skin\\skin.sk", L"html\\err.html", L"uninst.exe",
              L"extra\\added by an update.dll", L"installed.list" });

    CUninstallCleaner cleaner(folder + L"\\");
    cleaner.Run();
    EXPECT_EQ(cleaner.StuckFile(), L"");
    EXPECT_TRUE(cleaner.FolderKept());
    for (const auto& file : users)
        EXPECT_EQ(Read(folder + L"\\" + file.first), file.second) << testing::PrintToString(file.first);
    for (const std::wstring& file : listed) EXPECT_FALSE(Exists(folder + L"\\" + file)) << testing::PrintToString(file);
    for (const std::wstring& file : programMade)
        EXPECT_FALSE(Exists(folder + L"\\" + file)) << testing::PrintToString(file);
    EXPECT_EQ(Read(outside), "outside");
    EXPECT_FALSE(Exists(folder + L"\\~lumora.new"));
    EXPECT_FALSE(Exists(folder + L"\\lumora_cookies_and_storge"));

    // With the user's files moved away, a second run leaves nothing.
    RemoveTree(folder);
    for (const std::wstring& file : listed) Put(folder + L"\\" + file, "ours");
    PutList(folder, listed);
    CUninstallCleaner again(folder);
    again.Run();
    EXPECT_FALSE(again.FolderKept());
    EXPECT_FALSE(Exists(folder));
}

// A file of ours in use stays, is named, and the list stays for a second try.
TEST_F(OwnFilesTest, AnOwnFileInUseIsNamedAndTheListKept)
{
    const std::wstring folder = TempBase() + L"\\Lumora";
    const std::vector<std::wstring> listed = { L"lumora.exe", L"uninst.exe", L"installed.list" };
    for (const std::wstring& file : listed) Put(folder + L"\\" + file, "ours");
    PutList(folder, listed);
    HANDLE hHeld = ::CreateFileW((folder + L"\\lumora.exe").c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                 OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(hHeld, INVALID_HANDLE_VALUE);
    CUninstallCleaner cleaner(folder);
    cleaner.Run();
    ::CloseHandle(hHeld);
    EXPECT_EQ(cleaner.StuckFile(), folder + L"\\lumora.exe");
    EXPECT_TRUE(Exists(folder + L"\\installed.list"));
    EXPECT_FALSE(Exists(folder + L"\\uninst.exe"));
}

} // namespace

// The uninstaller running from the folder is left for later, not named as
// stuck; the folder counts as kept only when something else is still in it.
TEST_F(OwnFilesTest, TheRunningUninstallerIsLeftForLater)
{
    const std::wstring folder = TempBase() + L"\\Lumora";
    const std::vector<std::wstring> listed = { L"lumora.exe", L"uninst.exe", L"installed.list" };
    for (bool bUserFile : { false, true }) {
        SCOPED_TRACE(bUserFile ? "with a user's file" : "nothing else");
        for (const std::wstring& file : listed) Put(folder + L"\\" + file, "ours");
        PutList(folder, listed);
        if (bUserFile) Put(folder + L"\\notes.txt", "mine");
        HANDLE hRunning = ::CreateFileW((folder + L"\\uninst.exe").c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                        OPEN_EXISTING, 0, nullptr);
        ASSERT_NE(hRunning, INVALID_HANDLE_VALUE);
        CUninstallCleaner cleaner(folder, L"uninst.exe");
        cleaner.Run();
        ::CloseHandle(hRunning);
        EXPECT_EQ(cleaner.StuckFile(), L"");
        EXPECT_EQ(cleaner.FolderKept(), bUserFile);
        EXPECT_TRUE(Exists(folder + L"\\uninst.exe"));
        EXPECT_FALSE(Exists(folder + L"\\lumora.exe"));
        EXPECT_FALSE(Exists(folder + L"\\installed.list"));
        RemoveTree(folder);
    }
}
