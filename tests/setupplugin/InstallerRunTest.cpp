// The real installer made by makensis, run as a user runs it: clicked through
// its skinned windows with real mouse input, silently, over a running earlier
// installation, into folders it cannot use, and uninstalled again.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>
#include <shlobj.h>
#include <tlhelp32.h>

#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "LumoraVersion.h"
#include "RemoveTree.h"
#include "SetupDriver.h"

namespace {

const wchar_t kInstallTitle[] = L"安装Lumora";
const wchar_t kUninstallTitle[] = L"卸载Lumora";
const wchar_t kUninstallKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Lumora";
const wchar_t kRunKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";
const DWORD kInstallWaitMs = 60000;
// An uninstall that ends must end within seconds.
const DWORD kUninstallEndMs = 15000;
const DWORD kFailureExitCode = 2;

// The files an installation holds, relative to its folder.
const wchar_t* const kProgramFiles[] = { L"lumora.exe", L"lumoraupd.exe", L"Uprelay.exe", L"skin\\skin.sk",
                                         L"html\\err.html" };

// Where the skin puts things, in client coordinates of the 550 x 359 windows.
struct TPoint
{
    int x;
    int y;
};
const TPoint kCloseButton = { 534, 16 };
const TPoint kQuickInstall = { 275, 269 };
const TPoint kQuickInstallEdge = { 202, 260 };
const TPoint kAgree = { 47, 327 };
const TPoint kLicenceLink = { 190, 327 };
const TPoint kCustomLink = { 440, 327 };
const TPoint kLicenceBack = { 480, 331 };
const TPoint kLicenceBackEdge = { 436, 322 };
const TPoint kStart = { 440, 319 };
const TPoint kStartEdge = { 376, 310 };
const TPoint kAfterRun = { 47, 148 };
const RECT kAfterRunBox = { 40, 141, 55, 156 };
const TPoint kChangePath = { 478, 86 };
// The folder field of the custom page.
const RECT kPathField = { 40, 72, 438, 100 };
const TPoint kProgressBar = { 44, 206 };
const TPoint kFinish = { 275, 317 };
const TPoint kFinishEdge = { 202, 308 };
const TPoint kChooseAgain = { 80, 302 };
const TPoint kUninstallButton = { 275, 307 };
const TPoint kUninstallButtonEdge = { 202, 298 };

// The pages shown before the copy: the link that opens each from the welcome
// page (none for the welcome page itself) and a point of its main button.
struct TChoosingPage
{
    const wchar_t* pstrName;
    TPoint open;
    TPoint shown;
};
const TChoosingPage kChoosingPages[] = {
    { L"welcome", { -1, -1 }, kQuickInstallEdge },
    { L"licence", kLicenceLink, kLicenceBackEdge },
    { L"custom", kCustomLink, kStartEdge },
};

const COLORREF kButton = RGB(0xF2, 0x9A, 0x1D);
const COLORREF kButtonHot = RGB(0xF7, 0xB0, 0x4A);
const COLORREF kButtonDisabled = RGB(0x9A, 0xA7, 0xB2);
const COLORREF kBackground = RGB(0x1D, 0x5F, 0x96);
const COLORREF kProgressBack = RGB(0x3F, 0x7C, 0xAF);

std::wstring SetupExe()
{
    return LUMORA_SETUP_EXE;
}

bool Exists(const std::wstring& path)
{
    return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::vector<char> ReadAll(const std::wstring& path)
{
    std::vector<char> bytes;
    HANDLE hFile = ::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                 nullptr, OPEN_EXISTING, 0, nullptr);
    if (hFile == INVALID_HANDLE_VALUE) return bytes;
    LARGE_INTEGER size = {};
    ::GetFileSizeEx(hFile, &size);
    bytes.resize(static_cast<size_t>(size.QuadPart));
    DWORD read = 0;
    if (!bytes.empty()) ::ReadFile(hFile, bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr);
    ::CloseHandle(hFile);
    return bytes;
}

// Every file under a folder, by its path relative to the folder, with its bytes.
using TFolderSnapshot = std::map<std::wstring, std::vector<char>>;

// Calls `visit` for everything under a folder, folders before what they hold,
// with its path relative to the folder (a folder's ends with a backslash).
void WalkFolder(const std::wstring& folder, const std::wstring& relative,
                const std::function<void(const std::wstring&, const WIN32_FIND_DATAW&)>& visit)
{
    WIN32_FIND_DATAW found = {};
    HANDLE hFind = ::FindFirstFileW((folder + L"\\" + relative + L"*").c_str(), &found);
    if (hFind == INVALID_HANDLE_VALUE) return;
    do {
        std::wstring name = found.cFileName;
        if (name == L"." || name == L"..") continue;
        if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
            visit(relative + name, found);
            continue;
        }
        visit(relative + name + L"\\", found);
        WalkFolder(folder, relative + name + L"\\", visit);
    } while (::FindNextFileW(hFind, &found));
    ::FindClose(hFind);
}

TFolderSnapshot SnapshotOf(const std::wstring& folder)
{
    TFolderSnapshot snapshot;
    WalkFolder(folder, std::wstring(), [&](const std::wstring& relative, const WIN32_FIND_DATAW& found) {
        if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0)
            snapshot[relative] = ReadAll(folder + L"\\" + relative);
    });
    return snapshot;
}

void ExpectSameFiles(const TFolderSnapshot& expected, const TFolderSnapshot& actual)
{
    for (const auto& file : expected) {
        auto it = actual.find(file.first);
        if (it == actual.end()) {
            ADD_FAILURE() << "gone: " << testing::PrintToString(file.first);
            continue;
        }
        EXPECT_TRUE(it->second == file.second) << "changed: " << testing::PrintToString(file.first);
    }
    for (const auto& file : actual) {
        if (expected.count(file.first) == 0) ADD_FAILURE() << "new: " << testing::PrintToString(file.first);
    }
}

// Everything under a folder: its path relative to the folder (folders end
// with a backslash, so an empty one counts too) and its last write, so a
// folder or file written again under an earlier name counts as new.
using TFolderListing = std::set<std::pair<std::wstring, ULONGLONG>>;

ULONGLONG LastWriteOf(const WIN32_FIND_DATAW& found)
{
    return (static_cast<ULONGLONG>(found.ftLastWriteTime.dwHighDateTime) << 32) | found.ftLastWriteTime.dwLowDateTime;
}

TFolderListing ListingOf(const std::wstring& folder)
{
    TFolderListing listing;
    WalkFolder(folder, std::wstring(), [&](const std::wstring& relative, const WIN32_FIND_DATAW& found) {
        listing.emplace(relative, LastWriteOf(found));
    });
    return listing;
}

std::wstring TempFolder()
{
    wchar_t path[MAX_PATH] = {};
    ::GetTempPathW(MAX_PATH, path);
    return path;
}

// pstrSpared: names starting with it are not counted.
void ExpectNothingNewIn(const std::wstring& folder, const TFolderListing& before, const wchar_t* pstrSpared = nullptr)
{
    for (const auto& entry : ListingOf(folder)) {
        if (before.count(entry) != 0) continue;
        if (pstrSpared != nullptr && entry.first.compare(0, wcslen(pstrSpared), pstrSpared) == 0) continue;
        ADD_FAILURE() << "left behind: " << testing::PrintToString(folder + entry.first);
    }
}

// The copy of itself an uninstaller runs from when started without its folder
// (here, the one that removes the uninstaller's file after the uninstall) is
// the framework's, left to be deleted when Windows restarts.
const wchar_t kUninstallerCopyPrefix[] = L"~nsu";

struct TDialogCount
{
    DWORD pid;
    size_t count;
};

BOOL CALLBACK CountVisibleDialog(HWND hWnd, LPARAM lParam)
{
    TDialogCount* pCount = reinterpret_cast<TDialogCount*>(lParam);
    DWORD pid = 0;
    ::GetWindowThreadProcessId(hWnd, &pid);
    wchar_t className[16] = {};
    ::GetClassNameW(hWnd, className, 16);
    if (pid == pCount->pid && wcscmp(className, L"#32770") == 0 && ::IsWindowVisible(hWnd)) pCount->count++;
    return TRUE;
}

// Dialog windows of a process on the screen: the installer's own boxes.
size_t VisibleDialogsOf(DWORD pid)
{
    TDialogCount count = { pid, 0 };
    ::EnumWindows(&CountVisibleDialog, reinterpret_cast<LPARAM>(&count));
    return count.count;
}

void WriteText(const std::wstring& path, const char* pstrText)
{
    HANDLE hFile = ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (hFile == INVALID_HANDLE_VALUE) return;
    DWORD written = 0;
    ::WriteFile(hFile, pstrText, static_cast<DWORD>(strlen(pstrText)), &written, nullptr);
    ::CloseHandle(hFile);
}

// A file another program holds open: it can be read, never written, moved or deleted.
class CHeldFile
{
public:
    explicit CHeldFile(const std::wstring& path)
    {
        m_hFile = ::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_ALWAYS, 0, nullptr);
    }
    ~CHeldFile() { Release(); }
    void Release()
    {
        if (IsHeld()) ::CloseHandle(m_hFile);
        m_hFile = INVALID_HANDLE_VALUE;
    }
    CHeldFile(const CHeldFile&) = delete;
    CHeldFile& operator=(const CHeldFile&) = delete;
    bool IsHeld() const { return m_hFile != INVALID_HANDLE_VALUE; }

private:
    HANDLE m_hFile;
};

std::wstring ShellFolder(int csidl)
{
    wchar_t path[MAX_PATH] = {};
    ::SHGetFolderPathW(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, path);
    return path;
}

std::wstring ReadRegString(HKEY root, LPCWSTR key, LPCWSTR value)
{
    wchar_t text[1024] = {};
    DWORD bytes = sizeof(text) - sizeof(wchar_t);
    if (::RegGetValueW(root, key, value, RRF_RT_REG_SZ, nullptr, text, &bytes) != ERROR_SUCCESS) return L"<none>";
    return text;
}

bool KeyExists(HKEY root, LPCWSTR key)
{
    HKEY hKey = nullptr;
    if (::RegOpenKeyExW(root, key, 0, KEY_READ, &hKey) != ERROR_SUCCESS) return false;
    ::RegCloseKey(hKey);
    return true;
}

// Process ids and image paths of the running processes with this file name.
std::vector<std::pair<DWORD, std::wstring>> ProcessesNamed(LPCWSTR pstrName)
{
    std::vector<std::pair<DWORD, std::wstring>> found;
    HANDLE hSnapshot = ::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (hSnapshot == INVALID_HANDLE_VALUE) return found;
    PROCESSENTRY32W entry = {};
    entry.dwSize = sizeof(entry);
    for (BOOL bMore = ::Process32FirstW(hSnapshot, &entry); bMore; bMore = ::Process32NextW(hSnapshot, &entry)) {
        if (_wcsicmp(entry.szExeFile, pstrName) != 0) continue;
        std::wstring image;
        if (HANDLE hProcess = ::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, entry.th32ProcessID)) {
            wchar_t path[MAX_PATH] = {};
            DWORD chars = MAX_PATH;
            if (::QueryFullProcessImageNameW(hProcess, 0, path, &chars)) image = path;
            ::CloseHandle(hProcess);
        }
        found.emplace_back(entry.th32ProcessID, image);
    }
    ::CloseHandle(hSnapshot);
    return found;
}

void KillAllNamed(LPCWSTR pstrName)
{
    for (const auto& process : ProcessesNamed(pstrName)) {
        if (HANDLE hProcess = ::OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, process.first)) {
            ::TerminateProcess(hProcess, 1);
            ::WaitForSingleObject(hProcess, 5000);
            ::CloseHandle(hProcess);
        }
    }
}

struct TMainWindowSearch
{
    DWORD pid;
    bool bFound;
};

BOOL CALLBACK FindMainWindow(HWND hWnd, LPARAM lParam)
{
    TMainWindowSearch* pSearch = reinterpret_cast<TMainWindowSearch*>(lParam);
    DWORD pid = 0;
    ::GetWindowThreadProcessId(hWnd, &pid);
    if (pid != pSearch->pid || ::GetPropW(hWnd, L"lumora") == nullptr || !::IsWindowVisible(hWnd)) return TRUE;
    pSearch->bFound = true;
    return FALSE;
}

// A lumora.exe started from this folder runs and shows its main window.
bool MainProgramShowsFrom(const std::wstring& folder)
{
    const std::wstring image = folder + L"\\lumora.exe";
    return CSetupDriver::WaitUntil(
        [&image]() {
            for (const auto& process : ProcessesNamed(L"lumora.exe")) {
                if (_wcsicmp(process.second.c_str(), image.c_str()) != 0) continue;
                TMainWindowSearch search = { process.first, false };
                ::EnumWindows(&FindMainWindow, reinterpret_cast<LPARAM>(&search));
                if (search.bFound) return true;
            }
            return false;
        },
        30000);
}

BOOL CALLBACK FindTreeView(HWND hWnd, LPARAM lParam)
{
    wchar_t className[32] = {};
    ::GetClassNameW(hWnd, className, 32);
    if (wcscmp(className, WC_TREEVIEWW) != 0) return TRUE;
    *reinterpret_cast<HWND*>(lParam) = hWnd;
    return FALSE;
}

// The text of a tree item of another process: the item record and its text
// buffer must live in that process.
std::wstring TreeItemText(HWND hTree, HTREEITEM hItem)
{
    DWORD pid = 0;
    ::GetWindowThreadProcessId(hTree, &pid);
    HANDLE hProcess = ::OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid);
    if (hProcess == nullptr) return std::wstring();
    const size_t kChars = MAX_PATH;
    BYTE* pRemote = static_cast<BYTE*>(
        ::VirtualAllocEx(hProcess, nullptr, sizeof(TVITEMW) + kChars * sizeof(wchar_t), MEM_COMMIT, PAGE_READWRITE));
    std::wstring text;
    if (pRemote != nullptr) {
        TVITEMW item = {};
        item.mask = TVIF_TEXT;
        item.hItem = hItem;
        item.pszText = reinterpret_cast<LPWSTR>(pRemote + sizeof(TVITEMW));
        item.cchTextMax = static_cast<int>(kChars);
        wchar_t buffer[MAX_PATH + 1] = {};
        if (::WriteProcessMemory(hProcess, pRemote, &item, sizeof(item), nullptr) &&
            ::SendMessageW(hTree, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(pRemote)) &&
            ::ReadProcessMemory(hProcess, item.pszText, buffer, kChars * sizeof(wchar_t), nullptr))
            text = buffer;
        ::VirtualFreeEx(hProcess, pRemote, 0, MEM_RELEASE);
    }
    ::CloseHandle(hProcess);
    return text;
}

// The folder a folder browser has selected, as its tree shows it: the item's
// name under its parent's.
std::wstring BrowserSelection(HWND hBrowser)
{
    HWND hTree = nullptr;
    ::EnumChildWindows(hBrowser, &FindTreeView, reinterpret_cast<LPARAM>(&hTree));
    if (hTree == nullptr) return std::wstring();
    HTREEITEM hItem = reinterpret_cast<HTREEITEM>(::SendMessageW(hTree, TVM_GETNEXTITEM, TVGN_CARET, 0));
    if (hItem == nullptr) return std::wstring();
    HTREEITEM hParent = reinterpret_cast<HTREEITEM>(
        ::SendMessageW(hTree, TVM_GETNEXTITEM, TVGN_PARENT, reinterpret_cast<LPARAM>(hItem)));
    std::wstring parent = hParent != nullptr ? TreeItemText(hTree, hParent) : std::wstring();
    return parent + L"|" + TreeItemText(hTree, hItem);
}

// The item under hParent whose text holds this part, looked for among the
// items a user sees on opening hParent, and among theirs down to the depth.
HTREEITEM FindBrowserItem(HWND hTree, HTREEITEM hParent, const std::wstring& part, int depth)
{
    auto next = [hTree](UINT relation, HTREEITEM hItem) {
        return reinterpret_cast<HTREEITEM>(
            ::SendMessageW(hTree, TVM_GETNEXTITEM, relation, reinterpret_cast<LPARAM>(hItem)));
    };
    HTREEITEM hFirst = hParent != nullptr ? next(TVGN_CHILD, hParent) : next(TVGN_ROOT, nullptr);
    for (HTREEITEM hItem = hFirst; hItem != nullptr; hItem = next(TVGN_NEXT, hItem)) {
        if (TreeItemText(hTree, hItem).find(part) != std::wstring::npos) return hItem;
    }
    if (depth == 0) return nullptr;
    for (HTREEITEM hItem = hFirst; hItem != nullptr; hItem = next(TVGN_NEXT, hItem)) {
        // Opening an item fills in its children.
        ::SendMessageW(hTree, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(hItem));
        if (HTREEITEM hFound = FindBrowserItem(hTree, hItem, part, depth - 1)) return hFound;
    }
    return nullptr;
}

// Selects a folder of drive C: in a folder browser as clicks in its tree
// would: the drive is opened where the desktop shows it, then the folder.
bool SelectInBrowser(HWND hBrowser, const std::wstring& folderOfC)
{
    HWND hTree = nullptr;
    ::EnumChildWindows(hBrowser, &FindTreeView, reinterpret_cast<LPARAM>(&hTree));
    if (hTree == nullptr) return false;
    HTREEITEM hDrive = FindBrowserItem(hTree, nullptr, L"(C:)", 2);
    if (hDrive == nullptr) return false;
    ::SendMessageW(hTree, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(hDrive));
    HTREEITEM hFolder = FindBrowserItem(hTree, hDrive, folderOfC, 0);
    return hFolder != nullptr &&
        ::SendMessageW(hTree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(hFolder)) != FALSE &&
        BrowserSelection(hBrowser) == TreeItemText(hTree, hDrive) + L"|" + folderOfC;
}

bool IsButtonAt(const CSetupDriver& driver, TPoint pt)
{
    COLORREF color = driver.PixelAt(pt.x, pt.y);
    return CSetupDriver::ColorNear(color, kButton) || CSetupDriver::ColorNear(color, kButtonHot);
}

bool WaitForButton(const CSetupDriver& driver, TPoint pt)
{
    return CSetupDriver::WaitUntil([&]() { return IsButtonAt(driver, pt); }, CSetupDriver::kStateWaitMs);
}

// The page of the folder, its start button there whether or not it can be pressed.
bool WaitForFolderPage(const CSetupDriver& driver)
{
    return CSetupDriver::WaitUntil(
        [&]() {
            return IsButtonAt(driver, kStartEdge) ||
                CSetupDriver::ColorNear(driver.PixelAt(kStartEdge.x, kStartEdge.y), kButtonDisabled);
        },
        CSetupDriver::kStateWaitMs);
}

// One click, then the button gives way to the page it leads to. The window
// paints that page before the installer takes over, so a loaded machine makes
// the change slow, never lost.
bool PressButton(const CSetupDriver& driver, TPoint pt, TPoint edge)
{
    driver.Click(pt.x, pt.y);
    return CSetupDriver::WaitUntil([&]() { return !IsButtonAt(driver, edge); }, CSetupDriver::kStateWaitMs);
}

// One click on the close button, then its prompt.
HWND ClickCloseForPrompt(const CSetupDriver& driver)
{
    driver.Click(kCloseButton.x, kCloseButton.y);
    return driver.WaitForPrompt(CSetupDriver::kStateWaitMs);
}

// Clicks a check box until what it controls shows the wanted state. The state
// is read before every click, so a click that was slow to show is never undone
// by the next one; a lost click is simply given again.
bool ToggleUntil(const CSetupDriver& driver, TPoint pt, const std::function<bool()>& shown)
{
    const ULONGLONG deadline = ::GetTickCount64() + CSetupDriver::kStateWaitMs;
    do {
        if (shown()) return true;
        driver.Click(pt.x, pt.y);
        if (CSetupDriver::WaitUntil(shown, 3000)) return true;
    } while (::GetTickCount64() < deadline);
    return shown();
}

// Waits for the state while watching the installer's process: none of the
// installer's own windows (its pages or boxes) may show meanwhile, not even
// for a moment.
bool WaitWatchingForStockWindows(const CSetupDriver& driver, const std::function<bool()>& reached, DWORD timeoutMs)
{
    const DWORD pid = driver.ProcessId();
    size_t seen = 0;
    bool bReached = CSetupDriver::WaitUntil(
        [&]() {
            size_t now = VisibleDialogsOf(pid);
            if (now > seen) seen = now;
            return reached();
        },
        timeoutMs);
    EXPECT_EQ(seen, 0u) << "a window of the installer's own showed";
    return bReached;
}

// The installing page: its bar, empty or moving.
bool WaitForProgressPage(const CSetupDriver& driver)
{
    return CSetupDriver::WaitUntil(
        [&]() {
            COLORREF color = driver.PixelAt(kProgressBar.x, kProgressBar.y);
            return CSetupDriver::ColorNear(color, kProgressBack) || CSetupDriver::ColorNear(color, kButton);
        },
        CSetupDriver::kStateWaitMs);
}

// Copies the program's files into a folder, as an earlier installation there.
void PutInstallation(const std::wstring& folder)
{
    for (LPCWSTR pstrSub : { L"", L"\\skin", L"\\html" }) ::CreateDirectoryW((folder + pstrSub).c_str(), nullptr);
    for (const wchar_t* pstrFile : kProgramFiles) {
        ::CopyFileW((std::wstring(LUMORA_TEST_BIN_DIR) + L"\\" + pstrFile).c_str(), (folder + L"\\" + pstrFile).c_str(),
                    FALSE);
    }
}

// The files a user keeps, in folders named as the programs name theirs, and
// beside them.
const std::map<std::wstring, const char*> kUserFiles = {
    { L"notes.txt", "my notes" },
    { L"Log\\diary.txt", "dear diary" },
    { L"cache\\keep.txt", "keep this" },
    { L"plugins\\myplugin.txt", "a plug-in of mine" },
    { L"html\\index.html", "<p>my page</p>" },
    { L"skin\\myskin.txt", "my skin" },
    { L"~lumora.old\\photo.jpg", "a photo" },
    { L"~lumora.new\\page.html", "another page" },
};

TFolderSnapshot PutUserFiles(const std::wstring& folder)
{
    TFolderSnapshot snapshot;
    for (const auto& file : kUserFiles) {
        size_t cut = file.first.find(L'\\');
        ::CreateDirectoryW(folder.c_str(), nullptr);
        if (cut != std::wstring::npos)
            ::CreateDirectoryW((folder + L"\\" + file.first.substr(0, cut)).c_str(), nullptr);
        WriteText(folder + L"\\" + file.first, file.second);
        snapshot[file.first] = std::vector<char>(file.second, file.second + strlen(file.second));
    }
    return snapshot;
}

// What a folder holds, leaving out one subfolder.
TFolderSnapshot SnapshotWithout(const std::wstring& folder, const std::wstring& subfolder)
{
    TFolderSnapshot snapshot = SnapshotOf(folder);
    for (auto it = snapshot.begin(); it != snapshot.end();) {
        if (it->first.compare(0, subfolder.size() + 1, subfolder + L"\\") == 0)
            it = snapshot.erase(it);
        else
            ++it;
    }
    return snapshot;
}

// What the page of the folder shows: the folder field, the "after run" box,
// and whether its start button can be pressed.
struct TFolderPageLook
{
    std::vector<COLORREF> field;
    std::vector<COLORREF> afterRun;
    bool bStartEnabled;
};

TFolderPageLook FolderPageLookOf(const CSetupDriver& driver)
{
    return { driver.Capture(kPathField), driver.Capture(kAfterRunBox), IsButtonAt(driver, kStartEdge) };
}

class InstallerRunTest : public ::testing::Test
{
protected:
    // An installer a failed test left open would answer the next test's clicks.
    void SetUp() override { RemoveEverythingLeft(); }
    void TearDown() override { RemoveEverythingLeft(); }

    // The programs a test starts, directly or through one another: the
    // installer, the uninstaller, the main program, which starts the updater,
    // which starts the finisher, which may start the program again. The
    // updater the program starts once its window shows may be on its way while
    // the program is killed, and live on in the folder after it; an
    // uninstaller that does not end holds its own file there. So they are
    // killed until a look finds none of them and the folders they ran from
    // could be removed: a folder left with part of an installation in it
    // would take the next test's install into a folder of its own inside it.
    static void RemoveEverythingLeft()
    {
        const bool bGone = CSetupDriver::WaitUntil(
            []() {
                const bool bNoneRan = KillStartedPrograms();
                Cleanup();
                return bNoneRan && !Exists(TargetParent()) && !Exists(kOtherFolder);
            },
            kInstallWaitMs);
        EXPECT_TRUE(bGone) << "a program a test started keeps running from its folder";
    }

    // The uninstaller runs as uninst.exe from its folder, or from a copy of
    // itself under the temporary folder, whose name depends on the version
    // of the framework that made it.
    static constexpr const wchar_t* kStartedPrograms[] = { L"LumoraSetup.exe", L"uninst.exe", L"Un.exe",
                                                           L"Un_A.exe",        L"Au_.exe",    L"lumoraupd.exe",
                                                           L"Uprelay.exe",     L"lumora.exe" };

    // True when none of them was running.
    static bool KillStartedPrograms()
    {
        bool bNoneRan = true;
        for (LPCWSTR pstrName : kStartedPrograms) {
            if (ProcessesNamed(pstrName).empty()) continue;
            bNoneRan = false;
            KillAllNamed(pstrName);
        }
        return bNoneRan;
    }

    // A second folder some tests install into.
    static constexpr const wchar_t* kOtherFolder = L"C:\\LumoraRun";

    // A folder whose path holds spaces and Chinese characters.
    static std::wstring TargetParent() { return L"C:\\Lumora 测试"; }
    static std::wstring Target() { return TargetParent() + L"\\程序 文件"; }

    static void Cleanup()
    {
        for (const std::wstring& target : { TargetParent(), std::wstring(kOtherFolder) }) RemoveTree(target);
        ::RegDeleteKeyW(HKEY_LOCAL_MACHINE, kUninstallKey);
        HKEY hRun = nullptr;
        if (::RegOpenKeyExW(HKEY_LOCAL_MACHINE, kRunKey, 0, KEY_SET_VALUE, &hRun) == ERROR_SUCCESS) {
            ::RegDeleteValueW(hRun, L"LUMORA");
            ::RegCloseKey(hRun);
        }
        ::DeleteFileW((ShellFolder(CSIDL_COMMON_DESKTOPDIRECTORY) + L"\\Lumora.lnk").c_str());
        std::wstring menu = ShellFolder(CSIDL_COMMON_PROGRAMS) + L"\\Lumora";
        ::DeleteFileW((menu + L"\\Lumora.lnk").c_str());
        ::DeleteFileW((menu + L"\\卸载Lumora.lnk").c_str());
        ::RemoveDirectoryW(menu.c_str());
    }

    // The uninstall entry's command: the uninstaller named with its folder.
    static std::wstring UninstallCommand(const std::wstring& folder)
    {
        return L"\"" + folder + L"\\uninst.exe\" _?=" + folder;
    }

    // A caller that adds /S to the entry's command, before the folder, and
    // waits for the uninstaller: its exit code is the uninstall's result.
    static DWORD UninstallSilentlyAndWait(const std::wstring& folder)
    {
        CSetupDriver driver;
        if (!driver.Start(L"\"" + folder + L"\\uninst.exe\" /S _?=" + folder)) return static_cast<DWORD>(-1);
        return driver.WaitForExit(kInstallWaitMs);
    }

    static DWORD RunSilent(const std::wstring& arguments)
    {
        CSetupDriver driver;
        if (!driver.Start(L"\"" + SetupExe() + L"\" /S " + arguments)) return static_cast<DWORD>(-1);
        return driver.WaitForExit(kInstallWaitMs);
    }

    // Every file of an installation is there, byte for byte the program's.
    static void ExpectCompleteInstallation(const std::wstring& folder)
    {
        for (const wchar_t* pstrFile : kProgramFiles) {
            std::vector<char> installed = ReadAll(folder + L"\\" + pstrFile);
            std::vector<char> built = ReadAll(std::wstring(LUMORA_TEST_BIN_DIR) + L"\\" + pstrFile);
            ASSERT_FALSE(built.empty()) << "the build lacks " << testing::PrintToString(std::wstring(pstrFile));
            EXPECT_TRUE(installed == built)
                << "differs: " << testing::PrintToString(std::wstring(pstrFile)) << " size " << installed.size();
        }
        EXPECT_FALSE(ReadAll(folder + L"\\uninst.exe").empty());
        EXPECT_FALSE(Exists(folder + L"\\~lumora.new"));
        EXPECT_FALSE(Exists(folder + L"\\~lumora.old"));
    }

    static void ExpectEntries(const std::wstring& folder)
    {
        EXPECT_EQ(ReadRegString(HKEY_LOCAL_MACHINE, kUninstallKey, L"UninstallString"), UninstallCommand(folder));
        EXPECT_EQ(ReadRegString(HKEY_LOCAL_MACHINE, kUninstallKey, L"DisplayIcon"), folder + L"\\lumora.exe");
        EXPECT_EQ(ReadRegString(HKEY_LOCAL_MACHINE, kUninstallKey, L"DisplayName"), L"Lumora");
        std::wstring menu = ShellFolder(CSIDL_COMMON_PROGRAMS) + L"\\Lumora";
        EXPECT_TRUE(Exists(menu + L"\\Lumora.lnk"));
        EXPECT_TRUE(Exists(menu + L"\\卸载Lumora.lnk"));
        EXPECT_TRUE(Exists(ShellFolder(CSIDL_COMMON_DESKTOPDIRECTORY) + L"\\Lumora.lnk"));
    }

    static void ExpectNothingOf(const std::wstring& folder)
    {
        EXPECT_FALSE(Exists(folder)) << "left behind: " << testing::PrintToString(folder);
        EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kUninstallKey));
        EXPECT_EQ(ReadRegString(HKEY_LOCAL_MACHINE, kRunKey, L"LUMORA"), L"<none>");
        EXPECT_FALSE(Exists(ShellFolder(CSIDL_COMMON_PROGRAMS) + L"\\Lumora"));
        EXPECT_FALSE(Exists(ShellFolder(CSIDL_COMMON_DESKTOPDIRECTORY) + L"\\Lumora.lnk"));
    }

    // What the four programs leave in their folder and the registry while used.
    static void LeaveTracesOfUse(const std::wstring& folder)
    {
        ::CreateDirectoryW((folder + L"\\cache").c_str(), nullptr);
        ::CreateDirectoryW((folder + L"\\Log").c_str(), nullptr);
        ::CreateDirectoryW((folder + L"\\lumora_cookies_and_storge").c_str(), nullptr);
        WriteText(folder + L"\\cache\\setup.exe.Cfg", "resume");
        WriteText(folder + L"\\Log\\2026-01-01 000000.dmp", "dump");
        WriteText(folder + L"\\lumora_cookies_and_storge\\Cookies", "c");
        for (LPCWSTR pstrName : { L"cfg.db", L"updatefile.list", L"uprelay.ini", L"newupdate.ini" })
            WriteText(folder + L"\\" + pstrName, "x");
        HKEY hRun = nullptr;
        ASSERT_EQ(::RegCreateKeyExW(HKEY_LOCAL_MACHINE, kRunKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &hRun, nullptr),
                  ERROR_SUCCESS);
        std::wstring value = folder + L"\\lumora.exe";
        ::RegSetValueExW(hRun, L"LUMORA", 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                         static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
        ::RegCloseKey(hRun);
    }

    // The installer removes the files it replaced last, and tries for a few
    // seconds while one of them is held: the install stays at work meanwhile.
    static CHeldFile HoldInReplacedFiles()
    {
        ::CreateDirectoryW((Target() + L"\\~lumora.old").c_str(), nullptr);
        return CHeldFile(Target() + L"\\~lumora.old\\held");
    }

    // Starts lumora.exe from the folder and waits for its main window.
    static void StartMainProgram(const std::wstring& folder)
    {
        CSetupDriver program;
        ASSERT_TRUE(program.Start(L"\"" + folder + L"\\lumora.exe\""));
        ASSERT_TRUE(MainProgramShowsFrom(folder));
    }

    // Starts the installer with these arguments, goes to the page of the
    // folder (through the custom link, unless the window opens there), notes
    // what it shows and closes the installer as a user does.
    // settled: the look the page is waited for, within the time limit, since it
    // may show before it has painted its field and judged the room.
    static void LookAtFolderPage(const std::wstring& arguments, bool bOpensThere, TFolderPageLook& look,
                                 const std::function<bool(const TFolderPageLook&)>& settled = nullptr)
    {
        CSetupDriver driver;
        ASSERT_TRUE(driver.Start(L"\"" + SetupExe() + L"\" " + arguments));
        ASSERT_NE(driver.WaitForWindow(kInstallTitle), nullptr);
        if (!bOpensThere) {
            ASSERT_TRUE(WaitForButton(driver, kQuickInstallEdge));
            driver.Click(kCustomLink.x, kCustomLink.y);
        }
        ASSERT_TRUE(WaitForFolderPage(driver));
        if (settled)
            CSetupDriver::WaitUntil([&]() { return settled(FolderPageLookOf(driver)); }, CSetupDriver::kStateWaitMs);
        look = FolderPageLookOf(driver);
        ::PostMessageW(driver.Window(), WM_CLOSE, 0, 0);
        EXPECT_NE(driver.WaitForExit(kInstallWaitMs), static_cast<DWORD>(-1)) << "the installer did not end";
    }

    static void OpenInstallWindow(CSetupDriver& driver, const std::wstring& folder)
    {
        ASSERT_TRUE(driver.Start(L"\"" + SetupExe() + L"\" /D=" + folder));
        ASSERT_NE(driver.WaitForWindow(kInstallTitle), nullptr);
        ASSERT_TRUE(WaitForButton(driver, kQuickInstallEdge));
    }

    // bAsEntryNames: started as the uninstall entry and shortcut start it, from
    // its folder; else as a user double-clicks it, through a copy of itself.
    static void UninstallByClicks(const std::wstring& folder, const wchar_t* pstrShotPrefix, bool bAsEntryNames)
    {
        CSetupDriver driver;
        ASSERT_TRUE(driver.Start(bAsEntryNames ? UninstallCommand(folder) : L"\"" + folder + L"\\uninst.exe\""));
        ASSERT_NE(driver.WaitForWindow(kUninstallTitle), nullptr);
        ASSERT_TRUE(WaitForButton(driver, kUninstallButtonEdge));
        driver.Shot((std::wstring(pstrShotPrefix) + L"-confirm").c_str());
        driver.Click(kUninstallButton.x, kUninstallButton.y);
        // Finished: the folder is gone and the button is back, now the finish button.
        ASSERT_TRUE(WaitWatchingForStockWindows(
            driver, [&]() { return !Exists(folder + L"\\lumora.exe") && IsButtonAt(driver, kUninstallButtonEdge); },
            kInstallWaitMs));
        driver.Shot((std::wstring(pstrShotPrefix) + L"-finished").c_str());
        driver.Click(kUninstallButton.x, kUninstallButton.y);
        EXPECT_TRUE(WaitWatchingForStockWindows(
            driver, [&]() { return driver.HasExited(); }, kUninstallEndMs));
        EXPECT_NE(driver.WaitForExit(kUninstallEndMs), static_cast<DWORD>(-1)) << "the uninstaller did not end";
        // Its own file, in use while it ran, goes once it has ended.
        EXPECT_TRUE(CSetupDriver::WaitUntil([&]() { return !Exists(folder + L"\\uninst.exe"); }, kUninstallEndMs));
    }
};

TEST_F(InstallerRunTest, ClickedThroughEveryPageInstallsStartsAndUninstallsWithNothingLeft)
{
    CSetupDriver driver;
    OpenInstallWindow(driver, Target());
    driver.Shot(L"install-1-welcome");

    // The licence and back.
    driver.Click(kLicenceLink.x, kLicenceLink.y);
    ASSERT_TRUE(WaitForButton(driver, kLicenceBackEdge));
    driver.Shot(L"install-2-licence");
    driver.Click(kLicenceBack.x, kLicenceBack.y);
    ASSERT_TRUE(WaitForButton(driver, kQuickInstallEdge));

    // Without the agreement neither start nor the custom page are there.
    ASSERT_TRUE(ToggleUntil(driver, kAgree, [&]() {
        return CSetupDriver::ColorNear(driver.PixelAt(kQuickInstallEdge.x, kQuickInstallEdge.y), kButtonDisabled);
    }));
    driver.Shot(L"install-3-not-agreed");
    driver.Click(kCustomLink.x, kCustomLink.y);
    ASSERT_TRUE(ToggleUntil(driver, kAgree, [&]() { return IsButtonAt(driver, kQuickInstallEdge); }));

    driver.Click(kCustomLink.x, kCustomLink.y);
    ASSERT_TRUE(WaitForButton(driver, kStartEdge));
    driver.Shot(L"install-4-custom");
    // Enter presses the page's main button.
    driver.PressKey(VK_RETURN);
    ASSERT_TRUE(WaitWatchingForStockWindows(
        driver, [&]() { return IsButtonAt(driver, kFinishEdge); }, kInstallWaitMs));
    driver.Shot(L"install-5-finished");
    ExpectCompleteInstallation(Target());
    ExpectEntries(Target());
    driver.Click(kFinish.x, kFinish.y);
    EXPECT_TRUE(WaitWatchingForStockWindows(
        driver, [&]() { return driver.HasExited(); }, kInstallWaitMs));
    EXPECT_EQ(driver.WaitForExit(kInstallWaitMs), 0u);
    // "after run" was left on: the program starts from its new folder.
    EXPECT_TRUE(MainProgramShowsFrom(Target()));

    KillAllNamed(L"lumora.exe");
    LeaveTracesOfUse(Target());
    UninstallByClicks(Target(), L"uninstall", false);
    ExpectNothingOf(Target());
}

TEST_F(InstallerRunTest, SilentInstallAndUninstallLeaveNothingBehind)
{
    ASSERT_EQ(RunSilent(L"/D=" + Target()), 0u);
    ExpectCompleteInstallation(Target());
    ExpectEntries(Target());
    // A silent install shows no window and starts nothing that was not running.
    EXPECT_TRUE(ProcessesNamed(L"lumora.exe").empty());

    LeaveTracesOfUse(Target());
    // Run as its entry names it, the uninstaller returns once its work is done.
    ASSERT_EQ(UninstallSilentlyAndWait(Target()), 0u);
    for (const wchar_t* pstrFile : kProgramFiles)
        EXPECT_FALSE(Exists(Target() + L"\\" + pstrFile)) << testing::PrintToString(std::wstring(pstrFile));
    EXPECT_FALSE(Exists(Target() + L"\\installed.list"));
    EXPECT_FALSE(Exists(Target() + L"\\cfg.db"));
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kUninstallKey));
    // The uninstaller's own file, in use until it ends, goes right after it.
    EXPECT_TRUE(CSetupDriver::WaitUntil([&]() { return !Exists(Target()); }, kUninstallEndMs));
    ExpectNothingOf(Target());
}

// Started without its folder, the uninstaller runs from a copy of itself and
// returns at once; that way still removes everything.
TEST_F(InstallerRunTest, SilentUninstallStartedWithoutItsFolderStillRemovesEverything)
{
    ASSERT_EQ(RunSilent(L"/D=" + Target()), 0u);
    CSetupDriver uninstaller;
    ASSERT_TRUE(uninstaller.Start(L"\"" + Target() + L"\\uninst.exe\" /S"));
    EXPECT_TRUE(CSetupDriver::WaitUntil(
        [&]() { return !Exists(Target()) && !KeyExists(HKEY_LOCAL_MACHINE, kUninstallKey); }, kUninstallEndMs));
    ExpectNothingOf(Target());
}

// A file of ours held open: the caller learns of the failure from the exit
// code, and the entries and the uninstaller stay so it can run again.
TEST_F(InstallerRunTest, SilentUninstallOfAFileInUseReturnsTheFailureToItsCaller)
{
    ASSERT_EQ(RunSilent(L"/D=" + Target()), 0u);
    {
        CHeldFile held(Target() + L"\\skin\\skin.sk");
        ASSERT_TRUE(held.IsHeld());
        EXPECT_EQ(UninstallSilentlyAndWait(Target()), kFailureExitCode);
        EXPECT_TRUE(Exists(Target() + L"\\skin\\skin.sk"));
        EXPECT_TRUE(Exists(Target() + L"\\uninst.exe"));
        EXPECT_TRUE(Exists(Target() + L"\\installed.list"));
        EXPECT_EQ(ReadRegString(HKEY_LOCAL_MACHINE, kUninstallKey, L"UninstallString"), UninstallCommand(Target()));
    }
    // Once the file is free, the same command finishes the uninstall.
    ASSERT_EQ(UninstallSilentlyAndWait(Target()), 0u);
    EXPECT_TRUE(CSetupDriver::WaitUntil([&]() { return !Exists(Target()); }, kUninstallEndMs));
    ExpectNothingOf(Target());
}

TEST_F(InstallerRunTest, ReinstallOverARunningProgramReplacesItsFilesAndStartsItAgain)
{
    ASSERT_EQ(RunSilent(L"/D=" + Target()), 0u);
    StartMainProgram(Target());
    auto before = ProcessesNamed(L"lumora.exe");
    ASSERT_EQ(before.size(), 1u);
    // A damaged file the reinstall must mend.
    WriteText(Target() + L"\\html\\err.html", "damaged");

    ASSERT_EQ(RunSilent(L"/D=" + Target()), 0u);
    ExpectCompleteInstallation(Target());
    // The earlier process was closed, and the program runs again.
    EXPECT_TRUE(MainProgramShowsFrom(Target()));
    for (const auto& process : ProcessesNamed(L"lumora.exe")) EXPECT_NE(process.first, before[0].first);
}

TEST_F(InstallerRunTest, CloseAsksOnEveryPageNoKeepsGoingYesBeforeTheCopyWritesNothing)
{
    CSetupDriver driver;
    OpenInstallWindow(driver, Target());
    for (const TChoosingPage& page : kChoosingPages) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(page.pstrName)));
        if (page.open.x >= 0) {
            if (page.open.x == kCustomLink.x) {
                driver.Click(kLicenceBack.x, kLicenceBack.y);
                ASSERT_TRUE(WaitForButton(driver, kQuickInstallEdge));
            }
            driver.Click(page.open.x, page.open.y);
        }
        ASSERT_TRUE(WaitForButton(driver, page.shown));
        HWND hPrompt = ClickCloseForPrompt(driver);
        ASSERT_NE(hPrompt, nullptr);
        if (page.open.x < 0) driver.Shot(L"install-0-close-prompt");
        driver.AnswerPrompt(hPrompt, IDNO);
        ASSERT_TRUE(CSetupDriver::WaitUntil([&]() { return !::IsWindow(hPrompt); }, 10000));
        EXPECT_FALSE(driver.HasExited());
        EXPECT_TRUE(WaitForButton(driver, page.shown));
    }
    // Esc asks as the close button does; Yes ends the installer before any copy.
    driver.PressKey(VK_ESCAPE);
    HWND hPrompt = driver.WaitForPrompt();
    ASSERT_NE(hPrompt, nullptr);
    driver.AnswerPrompt(hPrompt, IDYES);
    EXPECT_NE(driver.WaitForExit(kInstallWaitMs), static_cast<DWORD>(-1));
    EXPECT_FALSE(Exists(Target()));
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kUninstallKey));
}

// Keys as in any dialog: the page's main button has the focus, Tab walks the
// window's controls with a visible mark and comes round again, Space presses
// the focused control, Enter the focused button, and Enter anywhere else (a
// check box included) presses the main button.
TEST_F(InstallerRunTest, KeyboardWalksPressesAndAsksToClose)
{
    CSetupDriver driver;
    OpenInstallWindow(driver, Target());
    const RECT kClient = { 0, 0, 550, 359 };
    std::vector<COLORREF> shown = driver.Capture(kClient);
    // Each Tab moves the mark: the window looks different after it.
    auto tab = [&]() {
        driver.PressKey(VK_TAB);
        EXPECT_TRUE(
            CSetupDriver::WaitUntil([&]() { return driver.Capture(kClient) != shown; }, CSetupDriver::kStateWaitMs))
            << "the focus moved without a mark";
        shown = driver.Capture(kClient);
    };
    // On to the agreement: Space unticks and ticks it.
    tab();
    driver.PressKey(VK_SPACE);
    ASSERT_TRUE(driver.WaitForColor(kQuickInstallEdge.x, kQuickInstallEdge.y, kButtonDisabled));
    driver.PressKey(VK_SPACE);
    ASSERT_TRUE(WaitForButton(driver, kQuickInstallEdge));
    shown = driver.Capture(kClient);
    // Round to the close button, whose Enter asks; No keeps the installer.
    tab();
    driver.PressKey(VK_RETURN);
    HWND hPrompt = driver.WaitForPrompt();
    ASSERT_NE(hPrompt, nullptr);
    driver.AnswerPrompt(hPrompt, IDNO);
    ASSERT_TRUE(CSetupDriver::WaitUntil([&]() { return !::IsWindow(hPrompt); }, 10000));
    shown = driver.Capture(kClient);
    // On to the quick install and the agreement again; Enter there installs
    // (the agreement stays ticked); Enter then leaves the finish page.
    tab();
    tab();
    driver.PressKey(VK_RETURN);
    ASSERT_TRUE(WaitForButton(driver, kFinishEdge));
    ExpectCompleteInstallation(Target());
    driver.PressKey(VK_RETURN);
    EXPECT_EQ(driver.WaitForExit(kInstallWaitMs), 0u);
}

// The folder browser opens at the folder shown, or the nearest of it that
// exists, and what it returns becomes the install folder.
TEST_F(InstallerRunTest, FolderBrowserOpensAtTheNearestExistingFolderOfThePathShown)
{
    ASSERT_TRUE(::CreateDirectoryW(TargetParent().c_str(), nullptr));
    CSetupDriver driver;
    OpenInstallWindow(driver, Target());
    driver.Click(kCustomLink.x, kCustomLink.y);
    ASSERT_TRUE(WaitForButton(driver, kStartEdge));
    driver.Click(kChangePath.x, kChangePath.y);
    HWND hBrowser = driver.WaitForPrompt();
    ASSERT_NE(hBrowser, nullptr);
    std::wstring selection;
    EXPECT_TRUE(CSetupDriver::WaitUntil(
        [&]() {
            selection = BrowserSelection(hBrowser);
            return selection.size() > 14 && selection.compare(selection.size() - 10, 10, L"|Lumora 测试") == 0;
        },
        CSetupDriver::kStateWaitMs))
        << testing::PrintToString(selection);
    EXPECT_NE(selection.find(L"C:"), std::wstring::npos) << testing::PrintToString(selection);
    driver.Shot(L"install-4b-browse");
    driver.AnswerPrompt(hBrowser, IDOK);
    ASSERT_TRUE(CSetupDriver::WaitUntil([&]() { return !::IsWindow(hBrowser); }, 10000));
    // Nothing to start afterwards: this test is about the folder.
    driver.Click(kAfterRun.x, kAfterRun.y);
    driver.Click(kStart.x, kStart.y);
    ASSERT_TRUE(WaitForButton(driver, kFinishEdge));
    EXPECT_TRUE(Exists(TargetParent() + L"\\lumora.exe"));
    EXPECT_FALSE(Exists(Target()));
    driver.Click(kFinish.x, kFinish.y);
    EXPECT_EQ(driver.WaitForExit(kInstallWaitMs), 0u);
}

// A path longer than its field shows its end: two paths that differ only in
// their last letter look different.
TEST_F(InstallerRunTest, ALongPathShowsItsEnd)
{
    const std::wstring start = L"C:\\Lumora 测试\\一个很长很长的安装目录名称\\又一个很长很长的安装目录名称\\"
                               L"再一个很长很长的安装目录名称\\Lumora ";
    std::vector<COLORREF> fields[2];
    const wchar_t* const kEnds[] = { L"甲", L"乙" };
    for (int i = 0; i < 2; i++) {
        CSetupDriver driver;
        OpenInstallWindow(driver, start + kEnds[i]);
        driver.Click(kCustomLink.x, kCustomLink.y);
        ASSERT_TRUE(WaitForButton(driver, kStartEdge));
        fields[i] = driver.Capture(kPathField);
        if (i == 0) driver.Shot(L"install-4c-long-path");
        ASSERT_FALSE(fields[i].empty());
        // Closed as a user closes it: a killed installer cannot take its
        // temporary folder with it.
        ::PostMessageW(driver.Window(), WM_CLOSE, 0, 0);
        EXPECT_NE(driver.WaitForExit(kInstallWaitMs), static_cast<DWORD>(-1)) << "the installer did not end";
    }
    EXPECT_TRUE(fields[0] != fields[1]) << "both fields show only the start of their path";
}

// Closing while the files are written over a running earlier installation: the
// installer does not stop between two files, one complete installation is
// there afterwards and the program runs again. A file held in the folder of
// replaced files keeps the install at its last step until the prompt is answered.
TEST_F(InstallerRunTest, YesDuringTheCopyOverARunningInstallationLeavesItComplete)
{
    ASSERT_EQ(RunSilent(L"/D=" + Target()), 0u);
    StartMainProgram(Target());
    CHeldFile held = HoldInReplacedFiles();
    ASSERT_TRUE(held.IsHeld());

    CSetupDriver driver;
    OpenInstallWindow(driver, Target());
    ASSERT_TRUE(PressButton(driver, kQuickInstall, kQuickInstallEdge));
    ASSERT_TRUE(WaitForProgressPage(driver));
    HWND hPrompt = ClickCloseForPrompt(driver);
    ASSERT_NE(hPrompt, nullptr);
    driver.Shot(L"install-6-close-during-copy");
    driver.AnswerPrompt(hPrompt, IDYES);
    ASSERT_TRUE(CSetupDriver::WaitUntil([&]() { return !::IsWindow(hPrompt); }, 10000));
    held.Release();
    // The install goes on to its end, then the installer leaves by itself.
    EXPECT_EQ(driver.WaitForExit(kInstallWaitMs), 0u);
    ExpectCompleteInstallation(Target());
    ExpectEntries(Target());
    EXPECT_TRUE(MainProgramShowsFrom(Target()));
}

// Esc during the copy asks as the close button does. Left unanswered, the
// prompt goes when the install ends and the finish page shows.
TEST_F(InstallerRunTest, AnUnansweredPromptGoesAwayWhenTheInstallEnds)
{
    ASSERT_EQ(RunSilent(L"/D=" + Target()), 0u);
    CHeldFile held = HoldInReplacedFiles();
    ASSERT_TRUE(held.IsHeld());
    CSetupDriver driver;
    OpenInstallWindow(driver, Target());
    ASSERT_TRUE(PressButton(driver, kQuickInstall, kQuickInstallEdge));
    ASSERT_TRUE(WaitForProgressPage(driver));
    driver.PressKey(VK_ESCAPE);
    HWND hPrompt = driver.WaitForPrompt();
    ASSERT_NE(hPrompt, nullptr);
    held.Release();
    ASSERT_TRUE(WaitForButton(driver, kFinishEdge));
    EXPECT_FALSE(::IsWindow(hPrompt) && ::IsWindowVisible(hPrompt));
    ExpectCompleteInstallation(Target());
    driver.Click(kFinish.x, kFinish.y);
    EXPECT_EQ(driver.WaitForExit(kInstallWaitMs), 0u);
    // Nobody asked to leave: "after run" stands.
    EXPECT_TRUE(MainProgramShowsFrom(Target()));
}

// A file another program holds in the target stops the install in the middle
// of its copy: while the new files are unpacked beside the installation, or
// while they replace the earlier ones. Our window says so (no stock box), the
// exit code tells the failure, and the earlier installation is left exactly as
// it was, its uninstaller, entries and shortcuts included.
TEST_F(InstallerRunTest, AFileInUseMidCopyFailsInOurWindowAndKeepsTheEarlierInstallation)
{
    struct TCase
    {
        const wchar_t* pstrName;
        const wchar_t* pstrHeldFile;
    };
    // html\err.html is the last file moved in and the last one unpacked. A file
    // held in the unpacking folder stays there after the run.
    const TCase kCases[] = {
        { L"replacing", L"html\\err.html" },
        { L"unpacking", L"~lumora.new\\html\\err.html" },
    };
    ASSERT_EQ(RunSilent(L"/D=" + Target()), 0u);
    // An earlier file that differs from the new one shows whether it was replaced.
    WriteText(Target() + L"\\skin\\skin.sk", "the earlier skin");
    // Each failed run leaves the earlier installation for the next one.
    for (const TCase& test : kCases) {
        for (bool bSilent : { false, true }) {
            SCOPED_TRACE(testing::PrintToString(std::wstring(test.pstrName)) + (bSilent ? " silent" : " clicked"));
            ::CreateDirectoryW((Target() + L"\\~lumora.new").c_str(), nullptr);
            ::CreateDirectoryW((Target() + L"\\~lumora.new\\html").c_str(), nullptr);
            CHeldFile held(Target() + L"\\" + test.pstrHeldFile);
            ASSERT_TRUE(held.IsHeld());
            const TFolderSnapshot before = SnapshotOf(Target());

            if (bSilent) {
                EXPECT_EQ(RunSilent(L"/D=" + Target()), kFailureExitCode);
            } else {
                CSetupDriver driver;
                OpenInstallWindow(driver, Target());
                ASSERT_TRUE(PressButton(driver, kQuickInstall, kQuickInstallEdge));
                ASSERT_TRUE(WaitForButton(driver, kFinishEdge));
                EXPECT_EQ(VisibleDialogsOf(driver.ProcessId()), 0u) << "a box of the installer's own";
                driver.Shot((std::wstring(L"install-9-in-use-") + test.pstrName).c_str());
                driver.Click(kFinish.x, kFinish.y);
                EXPECT_EQ(driver.WaitForExit(kInstallWaitMs), kFailureExitCode);
            }
            ExpectSameFiles(before, SnapshotOf(Target()));
            ExpectEntries(Target());
            EXPECT_FALSE(Exists(Target() + L"\\~lumora.old"));
        }
    }
}

// The user's files in folders named as the programs name theirs, inside the
// installation: uninstall removes what is ours and keeps every one of them,
// byte for byte, and its last page says so.
TEST_F(InstallerRunTest, UninstallKeepsTheUsersFilesByteForByte)
{
    ASSERT_EQ(RunSilent(L"/D=" + Target()), 0u);
    const TFolderSnapshot users = PutUserFiles(Target());
    LeaveTracesOfUse(Target());
    UninstallByClicks(Target(), L"uninstall-kept", true);
    ExpectSameFiles(users, SnapshotOf(Target()));
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kUninstallKey));
    EXPECT_EQ(ReadRegString(HKEY_LOCAL_MACHINE, kRunKey, L"LUMORA"), L"<none>");
    EXPECT_FALSE(Exists(ShellFolder(CSIDL_COMMON_DESKTOPDIRECTORY) + L"\\Lumora.lnk"));
}

// A folder that holds the user's files and no installation gets a folder of
// Lumora's own; the silent uninstall of that one leaves the user's as they were.
TEST_F(InstallerRunTest, AFolderWithTheUsersFilesGetsAFolderOfItsOwn)
{
    const std::wstring folder = L"C:\\LumoraRun";
    const TFolderSnapshot users = PutUserFiles(folder);
    ASSERT_EQ(RunSilent(L"/D=" + folder + L"\\"), 0u);
    ExpectCompleteInstallation(folder + L"\\Lumora");
    ExpectEntries(folder + L"\\Lumora");
    ExpectSameFiles(users, SnapshotWithout(folder, L"Lumora"));

    CSetupDriver uninstaller;
    ASSERT_TRUE(uninstaller.Start(L"\"" + folder + L"\\Lumora\\uninst.exe\" /S"));
    EXPECT_TRUE(CSetupDriver::WaitUntil(
        [&]() { return !Exists(folder + L"\\Lumora") && !KeyExists(HKEY_LOCAL_MACHINE, kUninstallKey); },
        kUninstallEndMs));
    ExpectSameFiles(users, SnapshotOf(folder));
}

// Every run takes its temporary folder (the plug-in, the skin) with it:
// silent and clicked installs, and the uninstall as its entry starts it,
// clicked and silent, whose own file goes once it has ended. A killed
// installer could not: each run here ends by itself.
TEST_F(InstallerRunTest, InstallsAndUninstallsLeaveNothingInTheTemporaryFolder)
{
    const std::wstring temp = TempFolder();
    const TFolderListing before = ListingOf(temp);
    ASSERT_EQ(RunSilent(L"/D=" + Target()), 0u);
    ExpectNothingNewIn(temp, before);
    {
        SCOPED_TRACE("clicked install");
        CSetupDriver driver;
        OpenInstallWindow(driver, Target());
        driver.Click(kCustomLink.x, kCustomLink.y);
        ASSERT_TRUE(WaitForButton(driver, kStartEdge));
        // The program started afterwards would use the folder too.
        const std::vector<COLORREF> ticked = driver.Capture(kAfterRunBox);
        ASSERT_TRUE(ToggleUntil(driver, kAfterRun, [&]() { return driver.Capture(kAfterRunBox) != ticked; }));
        ASSERT_TRUE(PressButton(driver, kStart, kStartEdge));
        ASSERT_TRUE(WaitForButton(driver, kFinishEdge));
        driver.Click(kFinish.x, kFinish.y);
        EXPECT_EQ(driver.WaitForExit(kInstallWaitMs), 0u);
        ExpectNothingNewIn(temp, before);
    }
    {
        SCOPED_TRACE("clicked uninstall");
        UninstallByClicks(Target(), L"uninstall-temp", true);
        ASSERT_TRUE(CSetupDriver::WaitUntil([&]() { return !Exists(Target()); }, kUninstallEndMs));
        ExpectNothingNewIn(temp, before, kUninstallerCopyPrefix);
    }
    {
        SCOPED_TRACE("silent uninstall");
        ASSERT_EQ(RunSilent(L"/D=" + Target()), 0u);
        ASSERT_EQ(UninstallSilentlyAndWait(Target()), 0u);
        ASSERT_TRUE(CSetupDriver::WaitUntil([&]() { return !Exists(Target()); }, kUninstallEndMs));
        ExpectNothingNewIn(temp, before, kUninstallerCopyPrefix);
    }
}

// WM_CLOSE, as a task manager sends it, ends the installer on every page,
// before, during and after the copy; the uninstaller too.
TEST_F(InstallerRunTest, WmCloseEndsTheInstallerOnEveryPage)
{
    for (const TChoosingPage& page : kChoosingPages) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(page.pstrName)));
        CSetupDriver driver;
        OpenInstallWindow(driver, Target());
        if (page.open.x >= 0) driver.Click(page.open.x, page.open.y);
        ASSERT_TRUE(WaitForButton(driver, page.shown));
        ::PostMessageW(driver.Window(), WM_CLOSE, 0, 0);
        EXPECT_NE(driver.WaitForExit(kInstallWaitMs), static_cast<DWORD>(-1)) << "the installer did not end";
        EXPECT_FALSE(Exists(Target()));
    }
    {
        SCOPED_TRACE("finish page");
        CSetupDriver driver;
        OpenInstallWindow(driver, Target());
        ASSERT_TRUE(PressButton(driver, kQuickInstall, kQuickInstallEdge));
        ASSERT_TRUE(WaitForButton(driver, kFinishEdge));
        ::PostMessageW(driver.Window(), WM_CLOSE, 0, 0);
        EXPECT_EQ(driver.WaitForExit(kInstallWaitMs), 0u);
        ExpectCompleteInstallation(Target());
        KillAllNamed(L"lumora.exe");
    }
    {
        SCOPED_TRACE("during the copy");
        CHeldFile held = HoldInReplacedFiles();
        ASSERT_TRUE(held.IsHeld());
        CSetupDriver driver;
        OpenInstallWindow(driver, Target());
        ASSERT_TRUE(PressButton(driver, kQuickInstall, kQuickInstallEdge));
        ASSERT_TRUE(WaitForProgressPage(driver));
        ::PostMessageW(driver.Window(), WM_CLOSE, 0, 0);
        held.Release();
        EXPECT_EQ(driver.WaitForExit(kInstallWaitMs), 0u);
        ExpectCompleteInstallation(Target());
        // Whoever closed it wanted out: nothing was started.
        EXPECT_TRUE(ProcessesNamed(L"lumora.exe").empty());
    }
    {
        SCOPED_TRACE("failure page");
        CHeldFile held(Target() + L"\\html\\err.html");
        ASSERT_TRUE(held.IsHeld());
        CSetupDriver driver;
        OpenInstallWindow(driver, Target());
        ASSERT_TRUE(PressButton(driver, kQuickInstall, kQuickInstallEdge));
        ASSERT_TRUE(WaitForButton(driver, kFinishEdge));
        ::PostMessageW(driver.Window(), WM_CLOSE, 0, 0);
        EXPECT_EQ(driver.WaitForExit(kInstallWaitMs), kFailureExitCode);
    }
    for (bool bFinished : { false, true }) {
        SCOPED_TRACE(bFinished ? "uninstall finished" : "uninstall confirm");
        CSetupDriver driver;
        ASSERT_TRUE(driver.Start(L"\"" + Target() + L"\\uninst.exe\""));
        ASSERT_NE(driver.WaitForWindow(kUninstallTitle), nullptr);
        ASSERT_TRUE(WaitForButton(driver, kUninstallButtonEdge));
        if (bFinished) {
            driver.Click(kUninstallButton.x, kUninstallButton.y);
            ASSERT_TRUE(CSetupDriver::WaitUntil([&]() { return !Exists(Target()); }, kInstallWaitMs));
            ASSERT_TRUE(WaitForButton(driver, kUninstallButtonEdge));
        }
        ::PostMessageW(driver.Window(), WM_CLOSE, 0, 0);
        EXPECT_NE(driver.WaitForExit(kUninstallEndMs), static_cast<DWORD>(-1)) << "the uninstaller did not end";
        EXPECT_EQ(Exists(Target() + L"\\lumora.exe"), !bFinished);
    }
}

// A second installation in another folder takes the entries; uninstalling it
// gives them back to the first, which is never left without them.
TEST_F(InstallerRunTest, AnInstallationWhoseEntriesWereTakenGetsThemBack)
{
    const std::wstring second = L"C:\\LumoraRun\\Second";
    ASSERT_EQ(RunSilent(L"/D=" + Target()), 0u);
    ASSERT_EQ(RunSilent(L"/D=" + second), 0u);
    ExpectEntries(second);
    ExpectCompleteInstallation(Target());

    CSetupDriver uninstaller;
    ASSERT_TRUE(uninstaller.Start(L"\"" + second + L"\\uninst.exe\" /S"));
    ASSERT_TRUE(CSetupDriver::WaitUntil([&]() { return !Exists(second); }, kUninstallEndMs));
    EXPECT_TRUE(CSetupDriver::WaitUntil(
        [&]() { return ReadRegString(HKEY_LOCAL_MACHINE, kUninstallKey, L"InstallLocation") == Target(); },
        kUninstallEndMs));
    ExpectEntries(Target());
    ExpectCompleteInstallation(Target());
    EXPECT_EQ(ReadRegString(HKEY_LOCAL_MACHINE, kUninstallKey, L"DisplayVersion"), LUMORA_VERSION_WTEXT);
    EXPECT_EQ(ReadRegString(HKEY_LOCAL_MACHINE, kUninstallKey, L"Publisher"), L"" LUMORA_COMPANY_NAME);
}

class InstallerDriveTest : public InstallerRunTest
{
protected:
    void SetUp() override
    {
        InstallerRunTest::SetUp();
        if (::GetDriveTypeW(L"R:\\") <= DRIVE_NO_ROOT_DIR || ::GetDriveTypeW(L"S:\\") <= DRIVE_NO_ROOT_DIR ||
            !Exists(kTinyTarget + std::wstring(L"\\~lumora.new")))
            GTEST_SKIP() << "no small volumes here: setup_drives.sh mounts them with tmpfs, which needs root";
    }
    void TearDown() override
    {
        InstallerRunTest::TearDown();
        // The unpacking folder is the small volume's mount point and stays.
        for (const auto& file : SnapshotOf(kTinyTarget))
            ::DeleteFileW((std::wstring(kTinyTarget) + L"\\" + file.first).c_str());
    }
    void RefuseForRoom(const std::wstring& target);

    // Holds a volume of 1 MiB mounted on the folder an install unpacks into.
    static constexpr const wchar_t* kTinyTarget = L"C:\\LumoraTiny\\Lumora";
};

// A volume too small for the install, as a drive of its own or mounted on a
// folder of a roomy drive: the window shows why and offers no start, the quick
// install included; a silent install fails without writing.
TEST_F(InstallerDriveTest, NearlyFullVolumeIsRefusedByQuickCustomAndSilentInstall)
{
    for (const wchar_t* pstrTarget : { L"R:\\Lumora", L"C:\\LumoraSmallMount\\Lumora" }) {
        const std::wstring target = pstrTarget;
        SCOPED_TRACE(testing::PrintToString(target));
        RefuseForRoom(target);
    }
}

void InstallerDriveTest::RefuseForRoom(const std::wstring& target)
{
    CSetupDriver driver;
    OpenInstallWindow(driver, target);
    ASSERT_TRUE(PressButton(driver, kQuickInstall, kQuickInstallEdge));
    // The custom page comes instead of the copy, its start greyed.
    ASSERT_TRUE(driver.WaitForColor(kStartEdge.x, kStartEdge.y, kButtonDisabled));
    driver.Shot(L"install-7-drive-full");
    HWND hPrompt = ClickCloseForPrompt(driver);
    ASSERT_NE(hPrompt, nullptr);
    driver.AnswerPrompt(hPrompt, IDYES);
    EXPECT_NE(driver.WaitForExit(kInstallWaitMs), static_cast<DWORD>(-1));
    EXPECT_FALSE(Exists(target));

    EXPECT_EQ(RunSilent(L"/D=" + target), kFailureExitCode);
    EXPECT_FALSE(Exists(target));
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kUninstallKey));
}

// A folder that takes no file: our window says so, nothing is half installed.
TEST_F(InstallerDriveTest, ReadOnlyTargetFailsWithAMessageAndWritesNothing)
{
    const std::wstring target = L"S:\\Lumora";
    CSetupDriver driver;
    OpenInstallWindow(driver, target);
    ASSERT_TRUE(PressButton(driver, kQuickInstall, kQuickInstallEdge));
    ASSERT_TRUE(WaitForButton(driver, kFinishEdge));
    driver.Shot(L"install-8-read-only");
    driver.Click(kFinish.x, kFinish.y);
    EXPECT_EQ(driver.WaitForExit(kInstallWaitMs), kFailureExitCode);
    EXPECT_FALSE(Exists(target));
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kUninstallKey));
    EXPECT_FALSE(Exists(ShellFolder(CSIDL_COMMON_DESKTOPDIRECTORY) + L"\\Lumora.lnk"));

    EXPECT_EQ(RunSilent(L"/D=" + target), kFailureExitCode);
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kUninstallKey));
}

// The volume fills up in the middle of a file: the install ends on our failure
// page (no box of the installer's own), the process ends with the failure's
// code, and the earlier installation is as it was.
TEST_F(InstallerDriveTest, AVolumeFullInTheMiddleOfAFileEndsOnOurFailurePage)
{
    PutInstallation(kTinyTarget);
    WriteText(std::wstring(kTinyTarget) + L"\\skin\\skin.sk", "the earlier skin");
    const TFolderSnapshot before = SnapshotOf(kTinyTarget);
    ASSERT_FALSE(before.empty());

    EXPECT_EQ(RunSilent(std::wstring(L"/D=") + kTinyTarget), kFailureExitCode);
    ExpectSameFiles(before, SnapshotOf(kTinyTarget));
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kUninstallKey));

    CSetupDriver driver;
    OpenInstallWindow(driver, kTinyTarget);
    ASSERT_TRUE(PressButton(driver, kQuickInstall, kQuickInstallEdge));
    ASSERT_TRUE(WaitForButton(driver, kFinishEdge));
    EXPECT_EQ(VisibleDialogsOf(driver.ProcessId()), 0u) << "a box of the installer's own";
    driver.Shot(L"install-10-volume-full");
    driver.Click(kFinish.x, kFinish.y);
    EXPECT_EQ(driver.WaitForExit(kInstallWaitMs), kFailureExitCode);
    ExpectSameFiles(before, SnapshotOf(kTinyTarget));
}

// "选择其他目录" on the failure page leads back to the choice of the folder: an
// installer started afresh opens on the page of the folder with the folder and
// the options the user had chosen; another folder chosen there gets the
// installation, and the earlier one stays as it was.
TEST_F(InstallerDriveTest, ChoosingAnotherFolderAfterAFailureInstallsThere)
{
    PutInstallation(kTinyTarget);
    const TFolderSnapshot before = SnapshotOf(kTinyTarget);
    const std::wstring other = kOtherFolder;
    ASSERT_TRUE(::CreateDirectoryW(other.c_str(), nullptr));
    TFolderPageLook fresh = {};
    LookAtFolderPage(std::wstring(L"/D=") + kTinyTarget, false, fresh);

    CSetupDriver driver;
    OpenInstallWindow(driver, kTinyTarget);
    driver.Click(kCustomLink.x, kCustomLink.y);
    ASSERT_TRUE(WaitForButton(driver, kStartEdge));
    const std::vector<COLORREF> ticked = driver.Capture(kAfterRunBox);
    ASSERT_TRUE(fresh.afterRun == ticked);
    ASSERT_TRUE(ToggleUntil(driver, kAfterRun, [&]() { return driver.Capture(kAfterRunBox) != ticked; }));
    ASSERT_TRUE(PressButton(driver, kStart, kStartEdge));
    ASSERT_TRUE(WaitForButton(driver, kFinishEdge));
    const DWORD failedPid = driver.ProcessId();
    driver.Click(kChooseAgain.x, kChooseAgain.y);
    EXPECT_EQ(driver.WaitForExit(kInstallWaitMs), kFailureExitCode);
    ExpectSameFiles(before, SnapshotOf(kTinyTarget));

    CSetupDriver again;
    ASSERT_NE(again.WaitForWindow(kInstallTitle), nullptr);
    EXPECT_NE(again.ProcessId(), failedPid);
    ASSERT_TRUE(WaitForButton(again, kStartEdge));
    CSetupDriver::WaitUntil([&]() { return FolderPageLookOf(again).field == fresh.field; }, CSetupDriver::kStateWaitMs);
    again.Shot(L"install-11-choose-again");
    const TFolderPageLook shown = FolderPageLookOf(again);
    EXPECT_TRUE(shown.field == fresh.field) << "the field does not show the folder chosen before";
    EXPECT_TRUE(shown.afterRun != ticked) << "\"after run\" is ticked again";

    again.Click(kChangePath.x, kChangePath.y);
    HWND hBrowser = again.WaitForPrompt();
    ASSERT_NE(hBrowser, nullptr);
    ASSERT_TRUE(
        CSetupDriver::WaitUntil([&]() { return SelectInBrowser(hBrowser, L"LumoraRun"); }, CSetupDriver::kStateWaitMs));
    again.AnswerPrompt(hBrowser, IDOK);
    ASSERT_TRUE(CSetupDriver::WaitUntil([&]() { return !::IsWindow(hBrowser); }, 10000));
    ASSERT_TRUE(PressButton(again, kStart, kStartEdge));
    ASSERT_TRUE(WaitForButton(again, kFinishEdge));
    ExpectCompleteInstallation(other);
    ExpectEntries(other);
    again.Click(kFinish.x, kFinish.y);
    EXPECT_EQ(again.WaitForExit(kInstallWaitMs), 0u);
    ExpectSameFiles(before, SnapshotOf(kTinyTarget));
}

// The option that opens the page of the folder gives the folder no way
// around the rules of any folder named: a folder of the user's files gets a
// folder of Lumora's own, and a volume without room offers no start.
TEST_F(InstallerDriveTest, TheFolderPageOptionKeepsTheRulesOfTheFolder)
{
    struct TCase
    {
        const wchar_t* pstrFolder;
        // The folder a run started for it shows.
        const wchar_t* pstrShown;
        bool bRoom;
    };
    const TCase kCases[] = {
        { L"C:\\LumoraRun", L"C:\\LumoraRun\\Lumora", true },
        { L"R:\\Lumora", L"R:\\Lumora", false },
    };
    PutUserFiles(L"C:\\LumoraRun");
    for (const TCase& test : kCases) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(test.pstrFolder)));
        TFolderPageLook named = {};
        LookAtFolderPage(std::wstring(L"/D=") + test.pstrShown, false, named,
                         [&](const TFolderPageLook& now) { return now.bStartEnabled == test.bRoom; });
        TFolderPageLook restarted = {};
        LookAtFolderPage(
            std::wstring(L"/CHOOSEFOLDER=11 /D=") + test.pstrFolder, true, restarted,
            [&](const TFolderPageLook& now) { return now.field == named.field && now.bStartEnabled == test.bRoom; });
        EXPECT_TRUE(restarted.field == named.field);
        EXPECT_EQ(restarted.bStartEnabled, test.bRoom);
        EXPECT_EQ(named.bStartEnabled, test.bRoom);
    }
    EXPECT_FALSE(Exists(L"R:\\Lumora"));
    EXPECT_FALSE(Exists(L"C:\\LumoraRun\\Lumora"));
}

} // namespace
