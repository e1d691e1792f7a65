// The update journey with our own installer as the setup package: the
// earlier real installer puts an installation in place, lumora.exe of that
// installation starts the updater as at every start, the loopback server
// offers the newer real installer in a signed manifest, and the user clicks
// "立即更新". The installer runs with the wizard's handle, the wizard follows
// it to the end, and the newer lumora.exe runs from the same folder.
#include "AppDirectory.h"
#include "ProcessRoutines.h"
#include "SetupDriver.h"
#include "StringCipher.h"
#include "TestProcesses.h"
#include "UpdaterCipherKey.h"
#include "UpdaterTestSupport.h"
#include "VersionCheck.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <bcrypt.h>
#include <shlobj.h>
#include <tlhelp32.h>

#include <cstdio>
#include <functional>
#include <iostream>
#include <map>
#include <string>
#include <vector>

namespace {

const DWORD kLimitMs = 90000;
const wchar_t kTarget[] = L"C:\\Lumora 更新";
const wchar_t kUninstallKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Lumora";
const wchar_t kInstallTitle[] = L"安装Lumora";
const wchar_t* const kProgramFiles[] = { L"lumora.exe", L"lumoraupd.exe", L"Uprelay.exe", L"skin\\skin.sk",
                                         L"html\\err.html" };
// The wizard's "立即更新" on its new-version page, in client coordinates.
const POINT kUpdateButton = { 254, 293 };
// The installer window's quick install and finish buttons and the place
// only those buttons cover, in client coordinates of its 550 x 359 layout.
const POINT kQuickInstall = { 275, 269 };
const POINT kQuickInstallEdge = { 202, 260 };
const POINT kFinish = { 275, 317 };
const POINT kFinishEdge = { 202, 308 };
const COLORREF kButton = RGB(0xF2, 0x9A, 0x1D);
const COLORREF kButtonHot = RGB(0xF7, 0xB0, 0x4A);

typedef std::map<std::wstring, std::string> Snapshot;

template <typename Condition> bool WaitFor(Condition done, DWORD limitMs = kLimitMs)
{
    return CSetupDriver::WaitUntil(done, limitMs);
}

std::wstring Installers()
{
    return LUMORA_JOURNEY_INSTALLERS;
}

// Read as a virus scanner reads: sharing every kind of access, so that the
// installer can still move the file meanwhile.
std::string ReadShared(const std::wstring& path)
{
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return "<missing>";
    std::string bytes;
    char buffer[65536];
    DWORD read = 0;
    while (ReadFile(file, buffer, sizeof(buffer), &read, nullptr) && read > 0) bytes.append(buffer, read);
    CloseHandle(file);
    return bytes;
}

Snapshot FilesOf(const std::wstring& folder)
{
    Snapshot files;
    for (const wchar_t* name : kProgramFiles) files[name] = ReadShared(WithTrailingSlash(folder) + name);
    return files;
}

std::string Sha256Hex(const std::string& bytes)
{
    BCRYPT_ALG_HANDLE algorithm = nullptr;
    BCRYPT_HASH_HANDLE hash = nullptr;
    unsigned char digest[32] = {};
    if (BCryptOpenAlgorithmProvider(&algorithm, BCRYPT_SHA256_ALGORITHM, nullptr, 0) != 0) return std::string();
    bool done = BCryptCreateHash(algorithm, &hash, nullptr, 0, nullptr, 0, 0) == 0 &&
        BCryptHashData(hash, reinterpret_cast<PUCHAR>(const_cast<char*>(bytes.data())),
                       static_cast<ULONG>(bytes.size()), 0) == 0 &&
        BCryptFinishHash(hash, digest, sizeof(digest), 0) == 0;
    if (hash) BCryptDestroyHash(hash);
    BCryptCloseAlgorithmProvider(algorithm, 0);
    if (!done) return std::string();
    std::string hex;
    char pair[3];
    for (unsigned char byte : digest) {
        snprintf(pair, sizeof(pair), "%02x", byte);
        hex += pair;
    }
    return hex;
}

HWND FindVisibleWizard()
{
    for (HWND window = GetWindow(GetDesktopWindow(), GW_CHILD); window; window = GetWindow(window, GW_HWNDNEXT)) {
        if (GetPropW(window, L"lumoravid_UpdateDlg") && IsWindowVisible(window)) return window;
    }
    return nullptr;
}

// A visible box of the updater with this title, such as "错误".
HWND FindUpdaterBox(const wchar_t* title)
{
    for (const RunningProcess& updater : ProcessesNamed(L"lumoraupd.exe")) {
        for (HWND window = GetWindow(GetDesktopWindow(), GW_CHILD); window; window = GetWindow(window, GW_HWNDNEXT)) {
            DWORD owner = 0;
            GetWindowThreadProcessId(window, &owner);
            wchar_t text[16] = {};
            GetWindowTextW(window, text, 16);
            if (owner == updater.id && IsWindowVisible(window) && wcscmp(text, title) == 0) return window;
        }
    }
    return nullptr;
}

bool IsButtonAt(const CSetupDriver& driver, POINT pt)
{
    COLORREF color = driver.PixelAt(pt.x, pt.y);
    return CSetupDriver::ColorNear(color, kButton) || CSetupDriver::ColorNear(color, kButtonHot);
}

// Every thread of the process stops where it is, so the test can look at
// the folder in the middle of the copy before it ends the process.
void SuspendProcess(DWORD processId)
{
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
    if (snapshot == INVALID_HANDLE_VALUE) return;
    THREADENTRY32 entry = { sizeof(entry) };
    for (BOOL more = Thread32First(snapshot, &entry); more; more = Thread32Next(snapshot, &entry)) {
        if (entry.th32OwnerProcessID != processId) continue;
        if (HANDLE thread = OpenThread(THREAD_SUSPEND_RESUME, FALSE, entry.th32ThreadID)) {
            SuspendThread(thread);
            CloseHandle(thread);
        }
    }
    CloseHandle(snapshot);
}

// The installer framework's own window (its pages are dialogs) on the screen.
bool ShowsFrameworkPage(DWORD processId)
{
    for (HWND window = GetWindow(GetDesktopWindow(), GW_CHILD); window; window = GetWindow(window, GW_HWNDNEXT)) {
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        wchar_t name[16] = {};
        GetClassNameW(window, name, 16);
        if (owner == processId && IsWindowVisible(window) && wcscmp(name, L"#32770") == 0) return true;
    }
    return false;
}

DWORD ExitCodeOf(HANDLE process)
{
    DWORD code = STILL_ACTIVE;
    if (process) GetExitCodeProcess(process, &code);
    return code;
}

class InstallerJourneyTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(UseTestUpdateServer(m_port, m_serverRoot)) << "run through run_with_server.sh";
        StopEverything();
        RemoveInstallation();
        m_earlier = FilesOf(Installers() + L"\\earlier_bin");
        m_newer = FilesOf(Installers() + L"\\newer_bin");
        ASSERT_TRUE(m_earlier[L"lumora.exe"] != m_newer[L"lumora.exe"]);
        // The earlier installation, as a user's first install makes it.
        CSetupDriver installer;
        ASSERT_TRUE(installer.Start(L"\"" + Installers() + L"\\earlier\\LumoraSetup.exe\" /S /D=" + kTarget));
        ASSERT_EQ(0u, installer.WaitForExit(kLimitMs));
        ASSERT_TRUE(FilesOf(kTarget) == m_earlier);
        ASSERT_TRUE(CopyFileW((Installers() + L"\\newer\\LumoraSetup.exe").c_str(),
                              (m_serverRoot + L"LumoraSetup.exe").c_str(), FALSE));
    }

    void TearDown() override
    {
        StopEverything();
        RemoveInstallation();
    }

    static void StopEverything()
    {
        static const wchar_t* const kRing[] = { L"lumoraupd.exe", L"LumoraSetup.exe", L"Uprelay.exe", L"lumora.exe" };
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

    // The folder, its entry and the shortcuts the installer made.
    static void RemoveInstallation()
    {
        RemoveTree(kTarget);
        RegDeleteKeyW(HKEY_LOCAL_MACHINE, kUninstallKey);
        wchar_t folder[MAX_PATH] = {};
        if (SUCCEEDED(SHGetFolderPathW(nullptr, CSIDL_COMMON_DESKTOPDIRECTORY, nullptr, SHGFP_TYPE_CURRENT, folder)))
            DeleteFileW((std::wstring(folder) + L"\\Lumora.lnk").c_str());
        if (SUCCEEDED(SHGetFolderPathW(nullptr, CSIDL_COMMON_PROGRAMS, nullptr, SHGFP_TYPE_CURRENT, folder)))
            RemoveTree(std::wstring(folder) + L"\\Lumora");
    }

    // Every manifest the server gives out goes through here, signed with the
    // test key.
    void Publish(const std::string& text)
    {
        const std::wstring manifest = m_serverRoot + L"newupdate.ini";
        DeleteFileW(manifest.c_str());
        WriteWholeFile(manifest + L".tmp", text);
        ASSERT_TRUE(
            MoveFileExW((manifest + L".tmp").c_str(), (manifest + L".tosign").c_str(), MOVEFILE_REPLACE_EXISTING));
        ASSERT_TRUE(WaitFor([&]() { return PathExists(manifest) && !PathExists(manifest + L".tosign"); }, 30000))
            << "the manifest was not signed";
        ASSERT_NE(std::string::npos, ReadWholeFile(manifest).find("[SIGNATURE]\r\nECDSA="));
    }

    // The newer installer as the setup package, with its size and hash.
    void PublishManifest(const std::string& runArguments)
    {
        std::string setup = ReadWholeFile(m_serverRoot + L"LumoraSetup.exe");
        std::string url = "http://127.0.0.1:" + Narrow(m_port) + "/lumo/2014/LumoraSetup.exe";
        Publish("[RUN]\r\nNAME=LumoraSetup.exe" + runArguments + "\r\n[SETUP]\r\nVERSION=" +
                Narrow(LUMORA_JOURNEY_NEWER_VERSION) + "\r\nFILE=" + Narrow(LUMORA_JOURNEY_NEWER_VERSION) +
                "\r\nNEWFEATURES=新的版本\r\nNAME=LumoraSetup.exe\r\nURL=" +
                StringCipher(url, MakeUpdaterCipherKey(), CipherEncode) + "\r\nSIZE=" + std::to_string(setup.size()) +
                "\r\nSHA256=" + Sha256Hex(setup) + "\r\n");
    }

    void StartLumora()
    {
        std::wstring folder = kTarget;
        std::wstring line = L"\"" + folder + L"\\lumora.exe\"";
        STARTUPINFOW startup = { sizeof(startup) };
        PROCESS_INFORMATION process = {};
        ASSERT_TRUE(
            CreateProcessW(nullptr, &line[0], nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(), &startup, &process));
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
    }

    // The new-version page, then "立即更新". A click the page was not ready
    // for is given again, only after seconds without any sign of the update.
    void AcceptUpdate(const wchar_t* shot)
    {
        HWND wizard = nullptr;
        ASSERT_TRUE(WaitFor([&]() { return (wizard = FindVisibleWizard()) != nullptr; })) << "no new version offered";
        m_shots.Shot(shot);
        const size_t asked = TestServer::RequestsFor("LumoraSetup.exe").size();
        auto begun = [&]() {
            return TestServer::RequestsFor("LumoraSetup.exe").size() > asked ||
                !ProcessesNamed(L"LumoraSetup.exe").empty();
        };
        PostClickTo(wizard, kUpdateButton);
        ULONGLONG clicked = GetTickCount64();
        ASSERT_TRUE(WaitFor([&]() {
            if (begun()) return true;
            if (GetTickCount64() - clicked > 5000 && IsWindow(wizard)) {
                PostClickTo(wizard, kUpdateButton);
                clicked = GetTickCount64();
            }
            return false;
        })) << "the click started no update";
    }

    // The main program of the installation runs with its window, its file
    // the one given.
    bool MainProgramRuns(const std::string& expectedFile)
    {
        const std::wstring image = std::wstring(kTarget) + L"\\lumora.exe";
        return WaitFor([&]() {
            if (ReadShared(image) != expectedFile) return false;
            for (const RunningProcess& process : ProcessesNamed(L"lumora.exe")) {
                if (_wcsicmp(process.image.c_str(), image.c_str()) != 0) continue;
                if (FindMainWindowOf(process.id)) return true;
            }
            return false;
        });
    }

    static bool FindMainWindowOf(DWORD processId)
    {
        for (HWND window = GetWindow(GetDesktopWindow(), GW_CHILD); window; window = GetWindow(window, GW_HWNDNEXT)) {
            DWORD owner = 0;
            GetWindowThreadProcessId(window, &owner);
            if (owner == processId && GetPropW(window, L"lumora") && IsWindowVisible(window) && !IsIconic(window))
                return true;
        }
        return false;
    }

    // Nothing of the update is left running or lying in the folder.
    bool UpdateWoundUp() const
    {
        std::wstring folder = WithTrailingSlash(kTarget);
        return ProcessesNamed(L"lumoraupd.exe").empty() && ProcessesNamed(L"Uprelay.exe").empty() &&
            ProcessesNamed(L"LumoraSetup.exe").empty() && !PathExists(folder + L"uprelay.ini") &&
            !PathExists(folder + L"cache") && !PathExists(folder + L"updatefile.list") &&
            !PathExists(folder + L"~lumora.new") && !PathExists(folder + L"~lumora.old") &&
            !PathExists(folder + L"LumoraSetup.exe");
    }

    void ExpectNewerInstalled()
    {
        EXPECT_TRUE(FilesOf(kTarget) == m_newer) << "the installation is not the newer one";
        std::wstring version;
        QueryFileVersion(std::wstring(kTarget) + L"\\lumora.exe", version);
        EXPECT_EQ(std::wstring(LUMORA_JOURNEY_NEWER_VERSION), version);
        wchar_t location[MAX_PATH] = {};
        DWORD bytes = sizeof(location) - sizeof(wchar_t);
        EXPECT_EQ(ERROR_SUCCESS,
                  RegGetValueW(HKEY_LOCAL_MACHINE, kUninstallKey, L"InstallLocation", RRF_RT_REG_SZ, nullptr, location,
                               &bytes));
        EXPECT_STREQ(kTarget, location);
    }

    // The newer program's own check finds nothing newer, the update winds up,
    // and the wizard never said the installer ended unexpectedly.
    void ExpectWoundUpWithTheNewerInstalled()
    {
        EXPECT_TRUE(WaitWatchingForError([&]() { return UpdateWoundUp(); }));
        EXPECT_FALSE(m_errorShown) << "the wizard said the installer ended unexpectedly";
        ExpectNewerInstalled();
    }

    // Waits for `done`, noting whether the updater ever showed its error box.
    bool WaitWatchingForError(const std::function<bool()>& done)
    {
        return WaitFor([&]() {
            if (FindUpdaterBox(L"错误")) m_errorShown = true;
            return done();
        });
    }

    std::wstring m_port, m_serverRoot;
    Snapshot m_earlier, m_newer;
    CSetupDriver m_shots;
    bool m_errorShown = false;
};

// The manifest runs the installer as it is: the user goes through its
// window while the wizard follows the copy, then leaves its last page.
TEST_F(InstallerJourneyTest, InteractiveInstallerUpdatesTheInstallationAndRestartsIt)
{
    PublishManifest("");
    StartLumora();
    AcceptUpdate(L"journey-1-new-version");
    CSetupDriver installer;
    ASSERT_NE(nullptr, installer.WaitForWindow(kInstallTitle, kLimitMs))
        << ProcessesNamed(L"LumoraSetup.exe").size() << " installers running; the updater's error box "
        << (FindUpdaterBox(L"错误") ? "shows" : "does not show") << "; the folder holds the "
        << (FilesOf(kTarget) == m_newer ? "newer" : "earlier or a mixed") << " installation";
    ASSERT_TRUE(WaitFor([&]() { return IsButtonAt(installer, kQuickInstallEdge); }, 30000));
    // The wizard waits on its installing page, above the installer's window.
    HWND wizard = FindVisibleWizard();
    ASSERT_NE(nullptr, wizard) << "the wizard hid before the installer reported anything";
    m_shots.Shot(L"journey-2-installer-and-wizard");
    bool frameworkPage = false;
    ASSERT_TRUE(WaitFor([&]() {
        frameworkPage = frameworkPage || ShowsFrameworkPage(installer.ProcessId());
        if (IsButtonAt(installer, kQuickInstallEdge)) installer.Click(kQuickInstall.x, kQuickInstall.y);
        return IsButtonAt(installer, kFinishEdge);
    })) << "the install did not reach its last page";
    EXPECT_FALSE(frameworkPage) << "the installer's own pages showed";
    // The installer reported the finished installation while it still shows
    // its last page: the wizard hides and cleans up, no error box.
    EXPECT_TRUE(WaitWatchingForError([&]() { return FindVisibleWizard() == nullptr; }));
    m_shots.Shot(L"journey-3-installer-finished");
    EXPECT_TRUE(FilesOf(kTarget) == m_newer);
    installer.Click(kFinish.x, kFinish.y);
    EXPECT_EQ(0u, installer.WaitForExit(kLimitMs));
    EXPECT_TRUE(MainProgramRuns(m_newer[L"lumora.exe"])) << "the newer program does not run";
    m_shots.Shot(L"journey-4-restarted");
    ExpectWoundUpWithTheNewerInstalled();
}

// "/S" in the manifest: no window of the installer, the wizard shows its
// installing page until the installer reports the end, and the newer
// program runs. The time from the start (the check) to the restarted
// program is printed.
TEST_F(InstallerJourneyTest, SilentInstallerUpdatesTheInstallationAndRestartsIt)
{
    PublishManifest(" /S");
    const ULONGLONG started = GetTickCount64();
    StartLumora();
    AcceptUpdate(L"journey-s1-new-version");
    bool installerWindow = false;
    HANDLE setupProcess = nullptr;
    bool shot = false;
    EXPECT_TRUE(WaitWatchingForError([&]() {
        for (const RunningProcess& setup : ProcessesNamed(L"LumoraSetup.exe")) {
            if (!setupProcess)
                setupProcess = OpenProcess(SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE, setup.id);
            // The wizard on its installing page while the installer copies.
            if (!shot && FindVisibleWizard() && PathExists(std::wstring(kTarget) + L"\\~lumora.new")) {
                m_shots.Shot(L"journey-s2-wizard-follows-installer");
                shot = true;
            }
            for (HWND window = GetWindow(GetDesktopWindow(), GW_CHILD); window;
                 window = GetWindow(window, GW_HWNDNEXT)) {
                DWORD owner = 0;
                GetWindowThreadProcessId(window, &owner);
                if (owner == setup.id && IsWindowVisible(window)) installerWindow = true;
            }
        }
        return FilesOf(kTarget) == m_newer && ProcessesNamed(L"LumoraSetup.exe").empty();
    })) << "the installer ended with "
        << ExitCodeOf(setupProcess);
    if (setupProcess) CloseHandle(setupProcess);
    EXPECT_FALSE(installerWindow) << "the silent installer showed a window";
    EXPECT_TRUE(MainProgramRuns(m_newer[L"lumora.exe"])) << "the newer program does not run";
    std::cout << "[ figure ] from the check to the restarted newer program: " << (GetTickCount64() - started)
              << " ms (the click included)" << std::endl;
    m_shots.Shot(L"journey-s3-restarted");
    ExpectWoundUpWithTheNewerInstalled();
}

// The installer is ended in the middle of its copy: the earlier installation
// stays whole and runs again, and the next start of the program brings the
// update again (the new-version page, or the recorded setup run again: the
// screenshot tells which) and completes it.
TEST_F(InstallerJourneyTest, InstallerKilledMidCopyLeavesTheEarlierInstallationAndTheNextStartUpdates)
{
    PublishManifest(" /S");
    StartLumora();
    AcceptUpdate(L"journey-k1-new-version");
    const std::wstring staging = std::wstring(kTarget) + L"\\~lumora.new";
    // Looked for as often as the system lets a thread run: the unpacking
    // takes a moment only.
    bool caught = false;
    for (ULONGLONG deadline = GetTickCount64() + kLimitMs; !caught && GetTickCount64() < deadline; Sleep(1)) {
        if (GetFileAttributesW(staging.c_str()) == INVALID_FILE_ATTRIBUTES) continue;
        for (const RunningProcess& setup : ProcessesNamed(L"LumoraSetup.exe")) {
            SuspendProcess(setup.id);
            caught = true;
        }
    }
    ASSERT_TRUE(caught) << "the installer never began its copy";
    // Stopped while unpacking: nothing of the installation is replaced yet.
    EXPECT_TRUE(FilesOf(kTarget) == m_earlier) << "the copy had got past the unpacking";
    KillProcessesNamed(L"LumoraSetup.exe");
    // The wizard says the update did not happen and gives the program back.
    HWND box = nullptr;
    ASSERT_TRUE(WaitFor([&]() { return (box = FindUpdaterBox(L"错误")) != nullptr; }));
    m_shots.Shot(L"journey-k2-installer-ended");
    PostMessageW(box, WM_KEYDOWN, VK_RETURN, 0);
    EXPECT_TRUE(MainProgramRuns(m_earlier[L"lumora.exe"])) << "the earlier program does not run again";
    EXPECT_TRUE(FilesOf(kTarget) == m_earlier);

    // Next start: the same update comes again and goes through.
    StopEverything();
    StartLumora();
    AcceptUpdate(L"journey-k3-next-start");
    EXPECT_TRUE(MainProgramRuns(m_newer[L"lumora.exe"])) << "the update offered again did not install";
    EXPECT_TRUE(WaitFor([&]() { return UpdateWoundUp(); }));
    ExpectNewerInstalled();
}

// A window of this test standing in for the wizard: it records the values
// WM_COPYDATA brings, and carries the updater's property when asked to.
class CStandInWizard
{
public:
    explicit CStandInWizard(bool marked)
    {
        WNDCLASSW wc = {};
        wc.lpfnWndProc = &CStandInWizard::Proc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = L"JourneyStandInWizard";
        RegisterClassW(&wc);
        m_window =
            CreateWindowExW(0, wc.lpszClassName, L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, wc.hInstance, nullptr);
        SetWindowLongPtrW(m_window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
        if (marked) SetPropW(m_window, L"lumoravid_UpdateDlg", reinterpret_cast<HANDLE>(1));
    }
    ~CStandInWizard()
    {
        RemovePropW(m_window, L"lumoravid_UpdateDlg");
        DestroyWindow(m_window);
    }
    std::wstring Option() const { return L" /updateDlg=" + std::to_wstring(reinterpret_cast<LONG_PTR>(m_window)); }

    // Runs the command line to its end, answering the values it sends
    // meanwhile; its exit code, or -1.
    DWORD Run(const std::wstring& commandLine)
    {
        std::wstring line = commandLine;
        STARTUPINFOW startup = { sizeof(startup) };
        PROCESS_INFORMATION process = {};
        if (!CreateProcessW(nullptr, &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
            return static_cast<DWORD>(-1);
        CloseHandle(process.hThread);
        const ULONGLONG deadline = GetTickCount64() + kLimitMs;
        DWORD code = static_cast<DWORD>(-1);
        while (GetTickCount64() < deadline) {
            DWORD woke = MsgWaitForMultipleObjects(1, &process.hProcess, FALSE, 100, QS_ALLINPUT);
            MSG msg;
            while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
            if (woke == WAIT_OBJECT_0) {
                GetExitCodeProcess(process.hProcess, &code);
                break;
            }
        }
        CloseHandle(process.hProcess);
        return code;
    }

    std::vector<DWORD> values;

private:
    static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
    {
        auto* self = reinterpret_cast<CStandInWizard*>(GetWindowLongPtrW(window, GWLP_USERDATA));
        if (message == WM_COPYDATA && self) {
            const COPYDATASTRUCT* data = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
            self->values.push_back(data->cbData == sizeof(DWORD) ? *static_cast<const DWORD*>(data->lpData) : 0);
            return TRUE;
        }
        return DefWindowProcW(window, message, wParam, lParam);
    }

    HWND m_window = nullptr;
};

// The installer started as the updater starts it, with a window of this test
// as the wizard.
class InstallerUpdateRunTest : public InstallerJourneyTest
{
protected:
    void SetUp() override
    {
        InstallerJourneyTest::SetUp();
        if (HasFatalFailure()) return;
        // The program the update run starts checks for updates: nothing newer.
        Publish("[SETUP]\r\nVERSION=0.0\r\n");
        // A damaged file shows whether the run replaced the installation.
        WriteWholeFile(std::wstring(kTarget) + L"\\html\\err.html", "damaged");
    }

    static std::wstring Newer() { return L"\"" + Installers() + L"\\newer\\LumoraSetup.exe\""; }
};

// Rising values while the files are copied, 30000 once at the end; the
// installation replaced where its entry says, not in the default folder; the
// newer program started from there.
TEST_F(InstallerUpdateRunTest, SilentRunReportsToTheWizardInstallsInPlaceAndStartsTheProgram)
{
    CStandInWizard wizard(true);
    ASSERT_EQ(0u, wizard.Run(Newer() + L" /S" + wizard.Option()));
    ASSERT_GE(wizard.values.size(), 3u);
    for (size_t i = 0; i < wizard.values.size(); ++i) {
        EXPECT_GE(wizard.values[i], 1u);
        if (i > 0) {
            EXPECT_GT(wizard.values[i], wizard.values[i - 1]);
        }
    }
    EXPECT_EQ(30000u, wizard.values.back());
    EXPECT_TRUE(FilesOf(kTarget) == m_newer);
    wchar_t programs[MAX_PATH] = {};
    ExpandEnvironmentStringsW(L"%ProgramFiles%\\Lumora", programs, MAX_PATH);
    EXPECT_FALSE(PathExists(std::wstring(programs))) << "installed into the default folder";
    EXPECT_TRUE(MainProgramRuns(m_newer[L"lumora.exe"]));
}

// The updater runs the setup package from the program folder it updates.
TEST_F(InstallerUpdateRunTest, SilentRunFromTheProgramFolderItself)
{
    const std::wstring inside = std::wstring(kTarget) + L"\\LumoraSetup.exe";
    ASSERT_TRUE(CopyFileW((Installers() + L"\\newer\\LumoraSetup.exe").c_str(), inside.c_str(), FALSE));
    CStandInWizard wizard(true);
    EXPECT_EQ(0u, wizard.Run(L"\"" + inside + L"\" /S" + wizard.Option()));
    ASSERT_FALSE(wizard.values.empty());
    EXPECT_EQ(30000u, wizard.values.back());
    EXPECT_TRUE(FilesOf(kTarget) == m_newer);
}

// A file in use stops the copy: the values stop short of the end, the exit
// code says it failed and the installation is the earlier one.
TEST_F(InstallerUpdateRunTest, FailedRunNeverReportsTheEnd)
{
    WriteWholeFile(std::wstring(kTarget) + L"\\html\\err.html", m_earlier[L"html\\err.html"]);
    const std::wstring staged = std::wstring(kTarget) + L"\\~lumora.new\\html";
    CreateDirectoryW((std::wstring(kTarget) + L"\\~lumora.new").c_str(), nullptr);
    CreateDirectoryW(staged.c_str(), nullptr);
    HANDLE held =
        CreateFileW((staged + L"\\err.html").c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_ALWAYS, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, held);
    CStandInWizard wizard(true);
    EXPECT_EQ(2u, wizard.Run(Newer() + L" /S" + wizard.Option()));
    CloseHandle(held);
    for (DWORD value : wizard.values) EXPECT_LT(value, 30000u);
    EXPECT_TRUE(FilesOf(kTarget) == m_earlier);
}

// A handle that names no wizard is not an update run: an ordinary silent
// install into the folder given, nothing sent, nothing started.
TEST_F(InstallerUpdateRunTest, AWindowWithoutTheUpdatersPropertyIsIgnored)
{
    const std::wstring other = L"C:\\Lumora 其他";
    RemoveTree(other);
    CStandInWizard stranger(false);
    EXPECT_EQ(0u, stranger.Run(Newer() + L" /S" + stranger.Option() + L" /D=" + other));
    EXPECT_TRUE(stranger.values.empty());
    EXPECT_TRUE(FilesOf(other) == m_newer);
    EXPECT_EQ("damaged", ReadWholeFile(std::wstring(kTarget) + L"\\html\\err.html"));
    EXPECT_TRUE(ProcessesNamed(L"lumora.exe").empty());
    RemoveTree(other);
}

} // namespace
