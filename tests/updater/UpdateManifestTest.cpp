// The manifest check per mode, against a stand-in for the wizard dialog, and
// the version routines it is built on.
#include "UpdateManifest.h"
#include "AnsiText.h"
#include "FileNameRuleCases.h"
#include "ManifestEntries.h"
#include "ManifestRules.h"
#include "SafeFileName.h"
#include "PendingInstall.h"
#include "UpdateCleanup.h"
#include "UpdateInstaller.h"
#include "UpdaterCipherKey.h"
#include "UpdaterTestSupport.h"
#include "UpdateManifestSigner.h"
#include "VersionCheck.h"

#include <gtest/gtest.h>

#include <shlobj.h>

#include <algorithm>
#include <iterator>

namespace {

TEST(VersionCheck, VersionsCompareByNumberWithMissingPartsAsZero)
{
    struct Case
    {
        const wchar_t* a;
        const wchar_t* b;
        bool newer;
    } cases[] = {
        { L"2.0.5", L"2.0", true },  { L"2.1.0", L"2.1", false }, { L"2.1.1", L"2.1", true },
        { L"2.1", L"2.1.1", false }, { L"2.1", L"2.1.0", false }, { L"1.2", L"1.10", false },
        { L"1.10", L"1.9", true },   { L"3.0", L"3.0", false },   { L"1.0", L"", true },
        { L"0.1", L"", true },       { L"", L"", false },         { L"10.0.0.1", L"9.9.9.9", true },
        { L"2.0", L"10.0", false },  { L" 4.1", L"4.0", true },
    };
    for (const Case& c : cases) EXPECT_EQ(c.newer, CompareVersionStrings(c.a, c.b)) << c.a << " vs " << c.b;
}

TEST(VersionCheck, FileVersionIsReadOrLeftUntouched)
{
    wchar_t system[MAX_PATH];
    GetSystemDirectoryW(system, MAX_PATH);
    std::wstring version;
    QueryFileVersion(std::wstring(system) + L"\\kernel32.dll", version);
    EXPECT_FALSE(version.empty());

    std::wstring untouched = L"keep";
    QueryFileVersion(L"Z:\\no\\such\\file.exe", untouched);
    EXPECT_EQ(L"keep", untouched);
}

// The updater key's output, enciphered once outside this code
// (tests/shell/cipher/cipher_reference.py) and written here: every manifest
// and saved list in the field depends on the key staying what it is.
const char kFixedSetupUrl[] = "http://h/pkg/setup.exe";
const char kFixedSetupUrlCipher[] = "8eeafc142Dj3Mkmc6QRnYDpvhbBfqrgSwWsfcak+8sdpVDyRXB4SmY1eO9B8SHKUen0diW4";

TEST(UpdaterCipherKey, EnciphersAndDeciphersAFixedVector)
{
    EXPECT_EQ(kFixedSetupUrlCipher, StringCipher(kFixedSetupUrl, MakeUpdaterCipherKey(), CipherEncode, 1700000000));
    EXPECT_EQ("http://127.0.0.1/lumo/setup.exe",
              StringCipher("8eeafc142Dj3Mkmc6QRnYK4tRvJe6exTAatfJz2ppodpVDyRXB4E3tyPbhAsmqPC/WvfjLyFbkq7Yfpc/Bx",
                           MakeUpdaterCipherKey(), CipherDecode));
}

TEST(FileNameRules, NamesFromTheNetworkAreBareAndNoDevice)
{
    for (const FileNameRuleCase& c : kFileNameRuleCases) {
        EXPECT_EQ(IsSafeFileName(std::wstring(c.name)), c.safeForDownload)
            << testing::PrintToString(std::wstring(c.name));
        EXPECT_EQ(IsSafeSetupName(c.name), c.safeForDownload) << testing::PrintToString(std::wstring(c.name));
    }
}

TEST(ManifestTargetFolder, PathValuesSelectTheFolder)
{
    wchar_t system[MAX_PATH], windows[MAX_PATH];
    SHGetFolderPathW(nullptr, CSIDL_SYSTEM, nullptr, 0, system);
    SHGetFolderPathW(nullptr, CSIDL_WINDOWS, nullptr, 0, windows);
    const std::wstring install = L"C:\\Lumora\\";
    struct Case
    {
        std::wstring path, expected;
    } cases[] = {
        { L"", install },
        { L"\\plugins", install + L"plugins\\" },
        { L"$S\\drivers", std::wstring(system) + L"\\drivers\\" },
        { L"$s", std::wstring(system) + L"\\" },
        { L"$W", std::wstring(windows) + L"\\" },
        { L"$Q\\x", L"" }, // no defined folder: the entry is skipped
        { L"D:\\Other", L"D:\\Other\\" },
        { L"D:\\Other\\", L"D:\\Other\\" },
    };
    for (const Case& c : cases) EXPECT_EQ(c.expected, ResolveTargetFolder(c.path, install)) << c.path;
}

class FakeUpdateDialog : public IUpdateCheckHost
{
public:
    WORD GetUpdateMode() override { return mode; }
    void SetUpdateMode(WORD value) override { mode = value; }
    std::wstring GetInstallFolder() override { return installFolder; }
    std::wstring GetManifestPath() override { return manifestPath; }
    std::string GetManifestUrl() override { return manifestUrl; }
    CDownloadManager& GetDownloadManager() override { return manager; }
    HWND GetWindow() override { return window; }
    void SetFoundVersionText(const std::wstring& text) override { foundVersion = text; }
    void SetNewFeatures(const std::wstring& text) override { newFeatures = text; }
    void SetSetupFileName(const std::wstring& name) override { setupName = name; }
    void SetSetupUrl(const std::string& url) override { setupUrl = url; }
    void StartProgressTimerThread(HANDLE timer) override
    {
        timerStarted = true;
        CloseHandle(timer);
    }

    WORD mode = UpdateModeInteractive;
    std::wstring installFolder, manifestPath;
    std::string manifestUrl = "http://127.0.0.1/lumo/2014/newupdate.ini?123";
    CDownloadManager manager;
    HWND window = nullptr;
    std::wstring foundVersion, newFeatures, setupName;
    std::string setupUrl;
    bool timerStarted = false;
};

class UpdateManifestTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_folder = FreshFolder(::testing::UnitTest::GetInstance()->current_test_info()->name());
        GetCurrentDirectoryA(MAX_PATH, m_previous);
        SetCurrentDirectoryA(m_folder.c_str());
        m_dialog.installFolder = FromAnsi(m_folder);
        m_dialog.manifestPath = FromAnsi(m_folder + "newupdate.ini");
        m_dialog.window = m_recorder.Window();
        m_dialog.manager.SetOwner(m_recorder.Window());
        // The installed main program: a copy of a system file with a version.
        wchar_t system[MAX_PATH];
        GetSystemDirectoryW(system, MAX_PATH);
        CopyFileW((std::wstring(system) + L"\\kernel32.dll").c_str(), (m_dialog.installFolder + L"lumora.exe").c_str(),
                  FALSE);
        QueryFileVersion(m_dialog.installFolder + L"lumora.exe", m_installedVersion);
        ASSERT_FALSE(m_installedVersion.empty());
    }
    void TearDown() override { SetCurrentDirectoryA(m_previous); }

    // As the update server publishes it: signed with the tests' key.
    void WriteManifest(const std::string& text) { WriteWholeFile(m_folder + "newupdate.ini", SignedManifest(text)); }

    // SIZE and SHA256 keys for an entry (suffix "" for SETUP); these tests
    // fetch nothing, so any bytes do.
    static std::string Digest(const std::string& suffix) { return DigestKeys("bytes of " + suffix, suffix); }

    static std::string Encipher(const std::string& text)
    {
        return StringCipher(text, MakeUpdaterCipherKey(), CipherEncode);
    }

    UINT RunCheck()
    {
        m_recorder.Clear();
        ParseUpdateManifest(&m_dialog);
        return m_recorder.WaitForAny({ WM_UPDATE_NEW_VERSION, WM_UPDATE_ALREADY_NEWEST, WM_MANIFEST_FAILED }).message;
    }

    std::vector<std::string> QueuedUrls()
    {
        std::vector<std::string> urls;
        m_dialog.manager.Lock();
        for (const auto& entry : m_dialog.manager.Tasks()) urls.push_back(entry.first);
        m_dialog.manager.Unlock();
        std::sort(urls.begin(), urls.end());
        return urls;
    }

    std::string m_folder;
    char m_previous[MAX_PATH] = {};
    MessageRecorder m_recorder;
    FakeUpdateDialog m_dialog;
    std::wstring m_installedVersion;
};

TEST_F(UpdateManifestTest, SameSetupVersionIsNewestAndDeletesTheList)
{
    WriteWholeFile(m_folder + "updatefile.list", "old");
    WriteManifest("[SETUP]\r\nVERSION=" + ToAnsi(m_installedVersion) +
                  "\r\nFILE=5.0\r\nNAME=setup.exe\r\nURL=" + Encipher("http://h/setup.exe") + "\r\n" + Digest("") +
                  "[FILE]\r\nNUMBER=1\r\nNAME1=missing.dll\r\n" + Digest("1"));

    EXPECT_EQ(WM_UPDATE_ALREADY_NEWEST, RunCheck());

    EXPECT_FALSE(PathExists(m_folder + "updatefile.list"));
    EXPECT_TRUE(QueuedUrls().empty()); // FILE entries count only when forced
    EXPECT_EQ(L"{f 0}{c #00FF6F0F}5.0{/c}{/f}", m_dialog.foundVersion);
    EXPECT_TRUE(PathExists(m_folder + "cache"));
}

TEST_F(UpdateManifestTest, NewerSetupIsQueuedWithItsDecipheredAddress)
{
    WriteManifest("[SETUP]\r\nVERSION=9999.0\r\nFILE=9999\r\nNAME=setup.exe\r\n"
                  "NEWFEATURES=first\\nsecond\r\nURL=" +
                  std::string(kFixedSetupUrlCipher) + "\r\n" + Digest(""));

    EXPECT_EQ(WM_UPDATE_NEW_VERSION, RunCheck());

    EXPECT_EQ(std::vector<std::string>{ "http://h/pkg/setup.exe" }, QueuedUrls());
    EXPECT_EQ("http://h/pkg/setup.exe", m_dialog.setupUrl);
    EXPECT_EQ(L"setup.exe", m_dialog.setupName);
    EXPECT_EQ(L"first\nsecond", m_dialog.newFeatures);
    EXPECT_TRUE(m_dialog.timerStarted);
    m_dialog.manager.Lock();
    const CDownloadPublic* queued = m_dialog.manager.Tasks().begin()->second.downloader;
    EXPECT_EQ(m_folder + "cache\\", queued->folder);
    EXPECT_EQ("setup.exe", queued->fileName);
    EXPECT_EQ(L"9999.0", queued->version);
    EXPECT_EQ(L"", queued->copyPath);
    m_dialog.manager.Unlock();
}

// A check that cannot tell what is new is a failure, never "already newest".
TEST_F(UpdateManifestTest, WhatIsNoManifestOrNamesNoUsableSetupFailsTheCheck)
{
    struct Case
    {
        const char* what;
        std::string manifest;
    };
    const Case cases[] = {
        { "an error page answered with 200", "<html><body><h1>502 Bad Gateway</h1></body></html>\r\n" },
        { "an empty answer", "" },
        { "sections of another file", "[portal]\r\nhome=x\r\n" },
        { "a newer setup whose address does not decipher",
          "[SETUP]\r\nVERSION=9999.0\r\nNAME=setup.exe\r\nURL=notciphertext\r\n" + Digest("") },
        { "a newer setup without an address", "[SETUP]\r\nVERSION=9999.0\r\nNAME=setup.exe\r\n" + Digest("") },
        { "a newer setup whose address deciphers into no web address",
          "[SETUP]\r\nVERSION=9999.0\r\nNAME=setup.exe\r\nURL=" + Encipher("file:///c:/setup.exe") + "\r\n" +
              Digest("") },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        WriteWholeFile(m_folder + "updatefile.list", "kept");
        WriteManifest(c.manifest);
        EXPECT_EQ(static_cast<UINT>(WM_MANIFEST_FAILED), RunCheck());
        EXPECT_TRUE(QueuedUrls().empty());
        EXPECT_FALSE(m_dialog.timerStarted);
        EXPECT_EQ("", m_dialog.setupUrl);
        // A failed check leaves an interrupted update's list alone.
        EXPECT_TRUE(PathExists(m_folder + "updatefile.list"));
    }
}

// The whole manifest is checked, not only what this run would use: an older
// setup with an address that is none is a refused manifest all the same.
TEST_F(UpdateManifestTest, OlderSetupWithAnUnusableAddressRefusesTheManifest)
{
    WriteManifest("[SETUP]\r\nVERSION=0.9\r\nNAME=setup.exe\r\nURL=notciphertext\r\n" + Digest(""));
    EXPECT_EQ(static_cast<UINT>(WM_MANIFEST_FAILED), RunCheck());
    EXPECT_TRUE(QueuedUrls().empty());
    WriteManifest("[SETUP]\r\nVERSION=0.9\r\nNAME=setup.exe\r\nURL=" + Encipher("http://h/setup.exe") + "\r\n" +
                  Digest(""));
    EXPECT_EQ(WM_UPDATE_ALREADY_NEWEST, RunCheck());
}

TEST_F(UpdateManifestTest, ForcedModeQueuesChangedFilesOnly)
{
    m_dialog.mode = UpdateModeForced;
    WriteWholeFile(m_folder + "present.dll", "x"); // no version information
    CopyFileA((m_folder + "lumora.exe").c_str(), (m_folder + "current.dll").c_str(), FALSE);
    WriteManifest("[FILE]\r\nNUMBER=4\r\n"
                  "NAME1=missing.dll\r\n" +
                  Digest("1") +                                           // not on disk: queued without a version
                  "NAME2=present.dll\r\n" + Digest("2") +                 // on disk, no version: skipped
                  "NAME3=present.dll\r\nVERSION3=1.0\r\n" + Digest("3") + // newer than none: queued
                  "NAME4=current.dll\r\nVERSION4=" + ToAnsi(m_installedVersion) + "\r\n" +
                  Digest("4")); // same version: skipped

    EXPECT_EQ(WM_UPDATE_NEW_VERSION, RunCheck());

    EXPECT_EQ((std::vector<std::string>{ "http://127.0.0.1/lumo/2014/missing.dll",
                                         "http://127.0.0.1/lumo/2014/present.dll" }),
              QueuedUrls());
    EXPECT_FALSE(m_dialog.timerStarted);
}

TEST_F(UpdateManifestTest, SilentModeRaisedByTheManifestComparesFiles)
{
    m_dialog.mode = UpdateModeSilent;
    WriteManifest("[RUN]\r\nMODE=1\r\n[FILE]\r\nNUMBER=1\r\nPATH1=\\plugins\r\nNAME1=new.dll\r\n" + Digest("1"));

    EXPECT_EQ(WM_UPDATE_NEW_VERSION, RunCheck());

    EXPECT_EQ(UpdateModeForced, m_dialog.mode);
    m_dialog.manager.Lock();
    ASSERT_EQ(1u, m_dialog.manager.Tasks().size());
    EXPECT_EQ(FromAnsi(m_folder) + L"plugins\\", m_dialog.manager.Tasks().begin()->second.downloader->copyPath);
    m_dialog.manager.Unlock();
}

// A manifest from a hostile server: every target outside the install folder
// and every name that is a path is refused, and with it the whole manifest.
TEST_F(UpdateManifestTest, ForcedTargetsOutsideTheInstallFolderRefuseTheManifest)
{
    m_dialog.mode = UpdateModeForced;
    struct Entry
    {
        std::string path, name;
        bool accepted;
    } entries[] = {
        { "", "ok1.dll", true },
        { "\\sub\\deeper", "ok2.dll", true },
        { "\\sub\\..\\sub2", "ok3.dll", true },
        { "\\\\server\\share", "unc.dll", true }, // a leading backslash is install-relative
        { "\\..", "up.dll", false },
        { "\\sub\\..\\..\\x", "up2.dll", false },
        { "C:\\Windows", "abs.dll", false },
        { "Z:\\elsewhere", "drive.dll", false },
        { "C:relative", "driverel.dll", false },
        { "\\\\?\\C:\\x", "device.dll", false },
        { "$S", "sys.dll", false },
        { "$W\\fonts", "win.dll", false },
        { "", "C:\\Windows\\win.ini", false },
        { "", "\\\\server\\share\\x.dll", false },
        { "", "..", false },
        { "", "a:b.dll", false },
        { "", "sub/evil.dll", false },
        { "", std::string(300, 'n'), false },
    };
    for (const Entry& entry : entries) {
        SCOPED_TRACE(entry.path + " " + entry.name);
        m_dialog.manager.ClearAllDownloads();
        // The entry after a good one: the good one is not fetched either.
        WriteManifest("[FILE]\r\nNUMBER=2\r\nNAME1=good.dll\r\n" + Digest("1") + "PATH2=" + entry.path +
                      "\r\nNAME2=" + entry.name + "\r\n" + Digest("2"));
        if (entry.accepted) {
            EXPECT_EQ(WM_UPDATE_NEW_VERSION, RunCheck());
            EXPECT_EQ((std::vector<std::string>{ "http://127.0.0.1/lumo/2014/good.dll",
                                                 "http://127.0.0.1/lumo/2014/" + entry.name }),
                      QueuedUrls());
            m_dialog.manager.Lock();
            for (const auto& task : m_dialog.manager.Tasks()) {
                std::wstring target = task.second.downloader->copyPath;
                EXPECT_EQ(0, _wcsnicmp(target.c_str(), m_dialog.installFolder.c_str(), m_dialog.installFolder.size()))
                    << ToAnsi(target);
            }
            m_dialog.manager.Unlock();
        } else {
            EXPECT_EQ(static_cast<UINT>(WM_MANIFEST_FAILED), RunCheck());
            EXPECT_TRUE(QueuedUrls().empty());
        }
    }
}

// Every rule of the manifest, each broken alone in an otherwise good
// manifest: the check refuses it whole, in every mode, before it queues,
// raises the mode or shows anything.
TEST_F(UpdateManifestTest, OneRefusedEntryRefusesTheWholeManifest)
{
    const std::string setupUrl = Encipher("http://h/setup.exe");
    const std::string good = "[RUN]\r\nMODE=1\r\nNAME=setup.exe /S\r\nNUMBER=1\r\nFILE1=a.dll /x\r\n"
                             "[FILE]\r\nNUMBER=1\r\nNAME1=a.dll\r\n" +
        Digest("1") + "[SETUP]\r\nVERSION=9999.0\r\nFILE=9999\r\nNAME=setup.exe\r\nURL=" + setupUrl + "\r\n" +
        Digest("");
    auto replaced = [&good](const std::string& from, const std::string& to) {
        std::string text = good;
        size_t at = text.find(from);
        EXPECT_NE(std::string::npos, at) << from;
        return at == std::string::npos ? text : text.replace(at, from.size(), to);
    };
    struct Case
    {
        const char* what;
        std::string manifest;
    } cases[] = {
        { "a FILE entry without SIZE", replaced("SIZE1=", "XSIZE1=") },
        { "a FILE entry without SHA256", replaced("SHA2561=", "XSHA2561=") },
        { "a FILE entry with a short SHA256", replaced("SHA2561=", "SHA2561=0") },
        { "a SETUP section without SIZE", replaced("SIZE=", "XSIZE=") },
        { "a SETUP section without SHA256", replaced("SHA256=", "XSHA256=") },
        { "a SETUP named lumora.exe", replaced("NAME=setup.exe\r\nURL", "NAME=lumora.exe\r\nURL") },
        { "a SETUP named Uprelay.exe in other case", replaced("NAME=setup.exe\r\nURL", "NAME=UPRELAY.EXE\r\nURL") },
        { "a SETUP named uninst.exe", replaced("NAME=setup.exe\r\nURL", "NAME=uninst.exe\r\nURL") },
        { "a SETUP named the plug-in", replaced("NAME=setup.exe\r\nURL", "NAME=LumoraPlugin.dll\r\nURL") },
        { "a SETUP named the updater with a trailing dot",
          replaced("NAME=setup.exe\r\nURL", "NAME=lumoraupd.exe.\r\nURL") },
        { "a SETUP named by a short name", replaced("NAME=setup.exe\r\nURL", "NAME=LUMORA~1.DLL\r\nURL") },
        { "a RUN setup that is a path", replaced("NAME=setup.exe /S", "NAME=..\\..\\evil.exe") },
        { "a RUN setup that is not the package", replaced("NAME=setup.exe /S", "NAME=other.exe /S") },
        { "a RUN setup that is the main program", replaced("NAME=setup.exe /S", "NAME=lumora.exe") },
        { "a RUN program that is a path", replaced("FILE1=a.dll /x", "FILE1=C:\\Windows\\evil.exe /x") },
        { "a SETUP address that is none", replaced("URL=" + setupUrl, "URL=notciphertext") },
    };
    for (WORD mode : { UpdateModeInteractive, UpdateModeSilent, UpdateModeForced }) {
        for (const Case& c : cases) {
            SCOPED_TRACE(std::string(c.what) + " in mode " + std::to_string(mode));
            m_dialog.manager.ClearAllDownloads();
            m_dialog.mode = mode;
            m_dialog.foundVersion.clear();
            WriteManifest(c.manifest);
            EXPECT_EQ(static_cast<UINT>(WM_MANIFEST_FAILED), RunCheck());
            EXPECT_TRUE(QueuedUrls().empty());
            EXPECT_EQ(mode, m_dialog.mode);
            EXPECT_EQ(L"", m_dialog.foundVersion);
            EXPECT_FALSE(m_dialog.timerStarted);
        }
        m_dialog.manager.ClearAllDownloads();
        WriteManifest(good);
        EXPECT_EQ(WM_UPDATE_NEW_VERSION, RunCheck()) << "the good manifest, mode " << mode;
        m_dialog.timerStarted = false;
    }
}

// No signature, another key's, or a manifest changed after signing: the
// check fails before the mode is raised or anything is queued.
TEST_F(UpdateManifestTest, UnsignedManifestIsAFailedCheck)
{
    const std::string text = "[RUN]\r\nMODE=1\r\n[FILE]\r\nNUMBER=1\r\nNAME1=a.dll\r\n" + Digest("1");
    std::string tampered = SignedManifest(text);
    tampered.replace(tampered.find("a.dll"), 5, "b.dll");
    const std::string cases[] = { text, SignedWithOtherKey(text), tampered };
    for (const std::string& manifest : cases) {
        m_dialog.mode = UpdateModeSilent;
        WriteWholeFile(m_folder + "newupdate.ini", manifest);
        EXPECT_EQ(static_cast<UINT>(WM_MANIFEST_FAILED), RunCheck());
        EXPECT_EQ(UpdateModeSilent, m_dialog.mode);
        EXPECT_TRUE(QueuedUrls().empty());
    }
    WriteManifest(text);
    EXPECT_EQ(WM_UPDATE_NEW_VERSION, RunCheck());
    EXPECT_EQ(UpdateModeForced, m_dialog.mode);
}

// A download kept from an earlier run whose cached bytes are no longer the
// manifest's, or that the server once named otherwise, is fetched anew.
TEST_F(UpdateManifestTest, KeptDownloadCountsOnlyWithTheManifestsNameAndBytes)
{
    m_dialog.mode = UpdateModeForced;
    const std::string cache = m_folder + "cache\\";
    CreateDirectoryA(cache.c_str(), nullptr);
    const std::string url = "http://127.0.0.1/lumo/2014/f.dll";
    WriteManifest("[FILE]\r\nNUMBER=1\r\nNAME1=f.dll\r\nVERSION1=2.0\r\n" + DigestKeys("right bytes", "1"));
    struct Case
    {
        const char* what;
        std::string listName, bytes;
        bool kept;
    } cases[] = {
        { "the manifest's bytes", "f.dll", "right bytes", true },
        { "other bytes", "f.dll", "wrong bytes", false },
        { "named by the server", "lumora.exe", "right bytes", false },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        m_dialog.manager.ClearAllDownloads();
        WriteWholeFile(cache + c.listName, c.bytes);
        CompletedDownloadRecord record;
        record.url = url;
        record.folder = cache;
        record.fileName = c.listName;
        record.version = L"2.0";
        m_dialog.manager.MoveToFinished(record);
        EXPECT_EQ(WM_UPDATE_NEW_VERSION, RunCheck());
        EXPECT_EQ(c.kept ? std::vector<std::string>() : std::vector<std::string>{ url }, QueuedUrls());
        EXPECT_EQ(c.kept, PathExists(cache + c.listName));
        DeleteFileA((cache + c.listName).c_str());
    }
}

TEST_F(UpdateManifestTest, SetupNameThatIsAPathNamesNoSetup)
{
    const std::string longName = std::string(300, 's') + ".exe";
    const char* names[] = { "..\\setup.exe",  "C:\\setup.exe",    "\\\\server\\share\\setup.exe",
                            "sub\\setup.exe", "setup.exe:stream", "Uprelay.exe\\..\\..\\x.exe",
                            longName.c_str() };
    for (const char* name : names) {
        m_dialog.manager.ClearAllDownloads();
        WriteManifest(std::string("[SETUP]\r\nVERSION=9999.0\r\nNAME=") + name +
                      "\r\nURL=" + Encipher("http://h/setup.exe") + "\r\n" + Digest(""));
        // A newer setup that cannot be fetched safely is a failed check, never "newest".
        EXPECT_EQ(static_cast<UINT>(WM_MANIFEST_FAILED), RunCheck()) << name;
        EXPECT_TRUE(QueuedUrls().empty()) << name;
    }
}

// The found-version text reaches a control that reads tags: what the server
// writes shows as text, so it cannot load an image file or make fonts.
TEST_F(UpdateManifestTest, FoundVersionTextIsEscaped)
{
    WriteManifest("[SETUP]\r\nVERSION=1.0\r\nFILE=5.0{i C:\\windows\\win.ini}{f 9}<a x>{/f}\r\n");
    RunCheck();
    EXPECT_EQ(L"{f 0}{c #00FF6F0F}5.0<{>i C:\\windows\\win.ini<}><{>f 9<}>{<}a x{>}<{>/f<}>{/c}{/f}",
              m_dialog.foundVersion);
}

TEST_F(UpdateManifestTest, FileCountIsCappedAtNinetyNine)
{
    m_dialog.mode = UpdateModeForced;
    std::string manifest = "[FILE]\r\nNUMBER=" + std::to_string(kMaxManifestEntries) + "\r\n";
    for (int i = 98; i <= 101; ++i)
        manifest += "NAME" + std::to_string(i) + "=f" + std::to_string(i) + ".dll\r\n" + Digest(std::to_string(i));
    WriteManifest(manifest);

    EXPECT_EQ(WM_UPDATE_NEW_VERSION, RunCheck());
    EXPECT_EQ((std::vector<std::string>{ "http://127.0.0.1/lumo/2014/f98.dll", "http://127.0.0.1/lumo/2014/f99.dll" }),
              QueuedUrls());
}

// A FILE or RUN section may count up to kMaxManifestEntries entries: all of
// them are read and checked (up to the 99 FILE entries the updater reads),
// and a manifest that counts one more is refused whole.
TEST_F(UpdateManifestTest, EntryCountsUpToTheBoundAreReadAndBeyondItRefused)
{
    const int most = kMaxManifestEntries;
    auto files = [](int number, int named) {
        std::string text = "[FILE]\r\nNUMBER=" + std::to_string(number) + "\r\n";
        for (int i = 1; i <= named; ++i)
            text += "NAME" + std::to_string(i) + "=f" + std::to_string(i) + ".dll\r\n" + Digest(std::to_string(i));
        return text;
    };
    auto programs = [](int number, const std::string& last) {
        std::string text = "[RUN]\r\nNUMBER=" + std::to_string(number) + "\r\n";
        for (int i = 1; i < number; ++i) text += "FILE" + std::to_string(i) + "=f1.dll /x\r\n";
        return text + "FILE" + std::to_string(number) + "=" + last + "\r\n";
    };
    struct Case
    {
        const char* what;
        std::string manifest;
        UINT expected;
        size_t queued;
    } cases[] = {
        { "FILE counting the most", files(most, most), WM_UPDATE_NEW_VERSION, kMaxManifestFileEntries },
        { "FILE counting one more", files(most + 1, 1), WM_MANIFEST_FAILED, 0 },
        { "RUN counting the most", files(1, 1) + programs(most, "f1.dll"), WM_UPDATE_NEW_VERSION, 1 },
        { "RUN counting the most, the last a path", files(1, 1) + programs(most, "C:\\Windows\\evil.exe"),
          WM_MANIFEST_FAILED, 0 },
        { "RUN counting one more", files(1, 1) + programs(most + 1, "f1.dll"), WM_MANIFEST_FAILED, 0 },
        { "RUN counting the most without its entries", files(1, 1) + "[RUN]\r\nNUMBER=" + std::to_string(most),
          WM_UPDATE_NEW_VERSION, 1 },
        { "RUN counting one more without its entries", files(1, 1) + "[RUN]\r\nNUMBER=" + std::to_string(most + 1),
          WM_MANIFEST_FAILED, 0 },
    };
    m_dialog.mode = UpdateModeForced;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        m_dialog.manager.ClearAllDownloads();
        WriteManifest(c.manifest);
        EXPECT_EQ(c.expected, RunCheck());
        EXPECT_EQ(c.queued, QueuedUrls().size());
    }
}

TEST_F(UpdateManifestTest, StaleTaskIsRemovedWithItsFiles)
{
    CreateDirectoryA((m_folder + "cache").c_str(), nullptr);
    const std::string cache = m_folder + "cache\\";
    WriteWholeFile(cache + "old.bin_Tmp", "partial");
    WriteWholeFile(cache + "old.bin.Cfg", "records");
    DownloadRequest stale;
    stale.downloadPath = cache;
    stale.url = "http://127.0.0.1/lumo/2014/old.bin";
    stale.fileName = "old.bin";
    m_dialog.manager.AddFileDownload(stale);
    WriteManifest("[SETUP]\r\nVERSION=1.0\r\n");

    EXPECT_EQ(WM_UPDATE_ALREADY_NEWEST, RunCheck());

    EXPECT_TRUE(QueuedUrls().empty());
    EXPECT_FALSE(PathExists(cache + "old.bin_Tmp"));
    EXPECT_FALSE(PathExists(cache + "old.bin.Cfg"));
}

TEST_F(UpdateManifestTest, ExistingDownloadsAreComparedByNumber)
{
    const std::string cache = m_folder + "cache\\";
    CreateDirectoryA(cache.c_str(), nullptr);
    CreateDirectoryA((m_folder + "plugins").c_str(), nullptr);
    struct Case
    {
        const wchar_t* had;
        const wchar_t* manifest;
        int result;
    } cases[] = {
        { L"2.0", L"2.1", 0 },  { L"2.0", L"2.0", 2 },  { L"2.0", L"2.0.0", 2 },
        { L"2.10", L"2.9", 2 }, { L"2.9", L"2.10", 0 }, { L"2.1", L"2.1.1", 0 },
    };
    const std::string url = "http://h/f.dll";
    for (const Case& c : cases) {
        SCOPED_TRACE(ToAnsi(std::wstring(c.had) + L" then " + c.manifest));
        // A finished download from an earlier run, not installed yet: its
        // target folder holds the installed file.
        WriteWholeFile(cache + "f.dll", "old");
        WriteWholeFile(m_folder + "plugins\\f.dll", "installed");
        CompletedDownloadRecord record;
        record.url = url;
        record.folder = cache;
        record.fileName = "f.dll";
        record.copyPath = m_dialog.installFolder + L"plugins\\";
        record.version = c.had;
        m_dialog.manager.MoveToFinished(record);
        EXPECT_EQ(c.result, CheckExistingDownload(m_dialog.manager, m_dialog.installFolder, url, c.manifest));
        m_dialog.manager.Lock();
        EXPECT_EQ(c.result == 2, m_dialog.manager.Finished().count(url) == 1);
        m_dialog.manager.Unlock();
        EXPECT_EQ(c.result == 2, PathExists(cache + "f.dll"));
        // Should the new download fail, the installation still has its file.
        EXPECT_EQ("installed", ReadWholeFile(m_folder + "plugins\\f.dll"));
        m_dialog.manager.RemoveCompletedDownload(url);

        // The same with a queued task.
        DownloadRequest queued;
        queued.url = url;
        queued.version = c.had;
        m_dialog.manager.AddFileDownload(queued);
        EXPECT_EQ(c.result, CheckExistingDownload(m_dialog.manager, m_dialog.installFolder, url, c.manifest));
        m_dialog.manager.RemoveDownload(url);
    }
    EXPECT_EQ(3, CheckExistingDownload(m_dialog.manager, m_dialog.installFolder, url, L"1.0"));
}

// A setup that ended before it reported its finish may have changed half the
// program: while the record names it, its file stays for the next start to run
// again. The wizard works in the install folder, as here.
TEST_F(UpdateManifestTest, EndedSetupStaysWhileTheRecordNamesIt)
{
    const std::wstring setup = m_dialog.installFolder + L"setup.exe";
    WriteWholeFile(m_folder + "setup.exe", "MZ");
    CPendingInstall(m_dialog.installFolder + kPendingInstallName).RecordSetup(setup + L"|/payload=x");

    WaitSetupAndDelete(L"setup.exe", 0);
    EXPECT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(setup.c_str())) << "recorded: kept";

    CPendingInstall(m_dialog.installFolder + kPendingInstallName).Delete();
    WaitSetupAndDelete(L"setup.exe", 0);
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(setup.c_str())) << "no longer recorded: deleted";
}

} // namespace
