// The wizard's bars, read from its own controls: the wizard runs in this
// process with the updater's skin, against the loopback update server and the
// stub setup package, and a thread timer samples the pages and bars from
// inside its message loop.
#include "AppDirectory.h"
#include "SelfRelocation.h"
#include "StringCipher.h"
#include "UpdateDlg.h"
#include "UpdaterCipherKey.h"
#include "UpdaterTestSupport.h"
#include "UpdateManifestSigner.h"
#include "UpdaterCommandLine.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

using namespace UpdUI;

namespace {

const DWORD kRunLimitMs = 40000;

std::vector<BYTE> g_skin;

// What the sampler saw while the wizard ran.
struct Observation
{
    CUpdateDlg* dialog = nullptr;
    HWND window = nullptr;
    bool updateClicked = false;
    int barWhenDownloadPageShown = -1;
    std::vector<int> barValues; // every distinct value on the downloading page
    int barWhenInstallPageShown = -1;
    std::wstring percentWhenInstallPageShown;
    int checkingValuesSeen = 0;
    std::vector<std::wstring> percentTextsCut; // shown in a field narrower than they are
    int percentTextsSeen = 0;
    int lastCheckingValue = -1;
};

Observation g_seen;

int CurrentPage(CUpdateDlg& dialog)
{
    CControlUI* tab = dialog.Manager().FindControl(L"wizardTab");
    return tab ? static_cast<CTabLayoutUI*>(tab)->GetCurSel() : -1;
}

int BarValue(CUpdateDlg& dialog, const wchar_t* name)
{
    CControlUI* bar = dialog.Manager().FindControl(name);
    return bar ? static_cast<CProgressUI*>(bar)->GetValue() : -1;
}

// The shown text's width measured with GDI in the font its tags name (the
// percentage is "{f 0}37%{/f}"), independent of the control's own estimate.
int MeasuredTextWidth(CUpdateDlg& dialog, const std::wstring& tagged)
{
    std::wstring text;
    int font = 0;
    for (size_t at = 0; at < tagged.size(); ++at) {
        if (tagged[at] != L'{') {
            text.push_back(tagged[at]);
            continue;
        }
        size_t end = tagged.find(L'}', at);
        if (tagged.compare(at, 3, L"{f ") == 0) font = _wtoi(tagged.c_str() + at + 3);
        at = end == std::wstring::npos ? tagged.size() : end;
    }
    HDC dc = GetDC(nullptr);
    HGDIOBJ previous = SelectObject(dc, dialog.Manager().GetFont(font));
    SIZE size = {};
    GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
    SelectObject(dc, previous);
    ReleaseDC(nullptr, dc);
    return size.cx;
}

// Once the window has painted what it was asked to, the percentage's field
// (less its text padding) is at least as wide as its text.
void NotePercentField(Observation& seen)
{
    if (GetUpdateRect(seen.window, nullptr, FALSE)) return;
    CTextUI* percent = static_cast<CTextUI*>(seen.dialog->Manager().FindControl(L"Percent"));
    const RECT& rc = percent->GetPos();
    const RECT padding = percent->GetTextPadding();
    const std::wstring text = percent->GetText().GetData();
    ++seen.percentTextsSeen;
    if (MeasuredTextWidth(*seen.dialog, text) > rc.right - rc.left - padding.left - padding.right)
        seen.percentTextsCut.push_back(text);
}

void CALLBACK Sample(HWND, UINT, UINT_PTR timer, DWORD)
{
    Observation& seen = g_seen;
    if (!IsWindow(seen.window) || !IsWindowVisible(seen.window)) {
        if (!IsWindow(seen.window)) KillTimer(nullptr, timer);
        return;
    }
    CUpdateDlg& dialog = *seen.dialog;
    int page = CurrentPage(dialog);
    if (page == WizardPageConnecting) {
        int value = BarValue(dialog, L"CheckingProgress");
        if (value != seen.lastCheckingValue) ++seen.checkingValuesSeen;
        seen.lastCheckingValue = value;
    } else if (page == WizardPageNewVersion && !seen.updateClicked) {
        seen.updateClicked = true;
        static_cast<CButtonUI*>(dialog.Manager().FindControl(L"Update"))->Activate();
        seen.barWhenDownloadPageShown = BarValue(dialog, L"Progreass");
    } else if (page == WizardPageDownloading) {
        int value = BarValue(dialog, L"Progreass");
        if (seen.barValues.empty() || seen.barValues.back() != value) seen.barValues.push_back(value);
        NotePercentField(seen);
    } else if (page == WizardPageInstalling && seen.barWhenInstallPageShown < 0) {
        seen.barWhenInstallPageShown = BarValue(dialog, L"Progreass");
        seen.percentWhenInstallPageShown = dialog.Manager().FindControl(L"Percent")->GetText().GetData();
    }
}

class WizardProgressTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        HMODULE updater = LoadLibraryExW(LUMORA_TEST_BIN_DIR L"\\lumoraupd.exe", nullptr,
                                         LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
        ASSERT_NE(nullptr, updater);
        HRSRC resource = FindResourceW(updater, MAKEINTRESOURCEW(110), L"UPX3");
        ASSERT_NE(nullptr, resource);
        const BYTE* bytes = static_cast<const BYTE*>(LockResource(LoadResource(updater, resource)));
        g_skin.assign(bytes, bytes + SizeofResource(updater, resource));
        CWindowManagerUI::SetInstance(GetModuleHandleW(nullptr));
        CWindowManagerUI::SetSkinZipMemory(g_skin.data(), static_cast<unsigned int>(g_skin.size()));
    }

    void SetUp() override
    {
        ASSERT_TRUE(UseTestUpdateServer(m_port, m_serverRoot)) << "run through run_with_server.sh";
        m_folder = TemporaryDirectory() + L"lumoraupd_progress\\";
        CreateDirectoryW(m_folder.c_str(), nullptr);
        for (const wchar_t* name : { L"updatefile.list", L"setup.exe", L"setup_stub.log" })
            DeleteFileW((m_folder + name).c_str());
        GetCurrentDirectoryW(MAX_PATH, m_previous);
        SetCurrentDirectoryW(m_folder.c_str());
        ASSERT_TRUE(CopyFileW(LUMORA_TEST_BUILD_DIR L"\\tests\\updater_stub_setup.exe",
                              (m_serverRoot + L"setup.exe").c_str(), FALSE));
        // Slow enough for the bar to be seen moving.
        m_setupUrl =
            "http://127.0.0.1:" + std::string(m_port.begin(), m_port.end()) + "/lumo/2014/setup.exe?rate=200000";
        WriteWholeFile(m_serverRoot + L"newupdate.ini",
                       SignedManifest("[RUN]\r\nNAME=setup.exe\r\n[SETUP]\r\nVERSION=99.0\r\nFILE=99.0\r\nNAME="
                                      "setup.exe\r\nURL=" +
                                      StringCipher(m_setupUrl, MakeUpdaterCipherKey(), CipherEncode) + "\r\n" +
                                      DigestKeysOfFile(m_serverRoot + L"setup.exe", "")));
    }

    void TearDown() override { SetCurrentDirectoryW(m_previous); }

    // Runs an interactive wizard to its end; `prepare` acts on the dialog once
    // its window exists and before its loop runs.
    template <typename Prepare> void RunWizard(Prepare prepare)
    {
        g_seen = Observation();
        UpdaterCommandLine line = ParseUpdaterCommandLine(1, nullptr);
        CUpdateDlg* dialog = new CUpdateDlg;
        dialog->Configure(line, m_folder);
        HWND window = dialog->Create(nullptr, L"Lumora升级程序", 0x96C80000, line.exStyle, 0, 0, 450, 360);
        ASSERT_NE(nullptr, window);
        g_seen.dialog = dialog;
        g_seen.window = window;
        prepare(*dialog);
        UINT_PTR sampler = SetTimer(nullptr, 0, 10, Sample);
        const DWORD started = GetTickCount();
        MSG msg;
        while (IsWindow(window) && GetTickCount() - started < kRunLimitMs) {
            if (MsgWaitForMultipleObjects(0, nullptr, FALSE, 100, QS_ALLINPUT) != WAIT_OBJECT_0) continue;
            while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
                if (msg.message == WM_QUIT) break;
                TranslateMessage(&msg);
                DispatchMessageW(&msg);
            }
        }
        KillTimer(nullptr, sampler);
        if (IsWindow(window)) {
            ADD_FAILURE() << "the wizard did not end";
            DestroyWindow(window);
        }
    }

    std::wstring m_port;
    std::wstring m_serverRoot;
    std::wstring m_folder;
    std::string m_setupUrl;
    wchar_t m_previous[MAX_PATH] = {};
};

TEST_F(WizardProgressTest, TheDownloadBarEndsFullBeforeTheInstallingPage)
{
    // A manifest that takes a while, so the checking page is seen for longer
    // than its bar takes to step.
    WriteWholeFile(m_serverRoot + L"newupdate.ini.delay", "600");
    RunWizard([](CUpdateDlg&) {});
    DeleteFileW((m_serverRoot + L"newupdate.ini.delay").c_str());
    EXPECT_TRUE(g_seen.updateClicked);
    EXPECT_EQ(0, g_seen.barWhenDownloadPageShown);
    EXPECT_EQ(100, g_seen.barWhenInstallPageShown);
    EXPECT_EQ(L"{f 0}100%{/f}", g_seen.percentWhenInstallPageShown);
    // The bar never drops back while downloading.
    for (size_t i = 1; i < g_seen.barValues.size(); ++i)
        EXPECT_LE(g_seen.barValues[i - 1], g_seen.barValues[i]) << "step " << i;
    // The setup ran and reported completion; the bar on the checking page moved.
    std::ifstream log((m_folder + L"setup_stub.log").c_str());
    std::string text((std::istreambuf_iterator<char>(log)), std::istreambuf_iterator<char>());
    EXPECT_NE(std::string::npos, text.find("progress 30000")) << text;
    EXPECT_GE(g_seen.checkingValuesSeen, 2);
    // Two-digit percentages fit their field as well as one-digit ones.
    EXPECT_GT(g_seen.percentTextsSeen, 0);
    EXPECT_TRUE(g_seen.percentTextsCut.empty()) << testing::PrintToString(g_seen.percentTextsCut);
}

TEST_F(WizardProgressTest, AResumedDownloadStartsAtItsSavedPercentage)
{
    RunWizard([this](CUpdateDlg& dialog) {
        // A download of the same setup left by an earlier run at 37 per cent.
        DownloadRequest request;
        request.downloadPath = std::string(m_folder.begin(), m_folder.end()) + "cache\\";
        request.version = L"99.0";
        request.percent = 37;
        request.url = m_setupUrl;
        request.fileName = "setup.exe";
        dialog.GetDownloadManager().AddFileDownload(request);
    });
    EXPECT_TRUE(g_seen.updateClicked);
    EXPECT_EQ(37, g_seen.barWhenDownloadPageShown);
    EXPECT_EQ(100, g_seen.barWhenInstallPageShown);
}

} // namespace
