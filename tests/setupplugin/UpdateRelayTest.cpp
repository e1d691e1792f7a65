// What the plug-in tells the updater's wizard in an update run: which
// command lines name a wizard, and which progress values reach it.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "PluginState.h"
#include "UpdateProgressRelay.h"

namespace {

const wchar_t kProperty[] = L"lumoravid_UpdateDlg";

// A top-level window that records the values WM_COPYDATA brings.
class CRecordingWizard
{
public:
    explicit CRecordingWizard(bool bMarked)
    {
        WNDCLASSW wc = {};
        wc.lpfnWndProc = &CRecordingWizard::Proc;
        wc.hInstance = ::GetModuleHandleW(nullptr);
        wc.lpszClassName = L"RelayTestWizard";
        ::RegisterClassW(&wc);
        m_hWnd = ::CreateWindowExW(0, wc.lpszClassName, L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, wc.hInstance,
                                   nullptr);
        ::SetWindowLongPtrW(m_hWnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
        if (bMarked) ::SetPropW(m_hWnd, kProperty, reinterpret_cast<HANDLE>(1));
    }
    ~CRecordingWizard()
    {
        ::RemovePropW(m_hWnd, kProperty);
        ::DestroyWindow(m_hWnd);
    }
    HWND Handle() const { return m_hWnd; }
    std::wstring Decimal() const { return std::to_wstring(reinterpret_cast<LONG_PTR>(m_hWnd)); }
    std::vector<DWORD> values;

private:
    static LRESULT CALLBACK Proc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
    {
        auto* self = reinterpret_cast<CRecordingWizard*>(::GetWindowLongPtrW(hWnd, GWLP_USERDATA));
        if (uMsg == WM_COPYDATA && self != nullptr) {
            const COPYDATASTRUCT* data = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
            EXPECT_EQ(sizeof(DWORD), data->cbData);
            self->values.push_back(*static_cast<const DWORD*>(data->lpData));
            return TRUE;
        }
        return ::DefWindowProcW(hWnd, uMsg, wParam, lParam);
    }
    HWND m_hWnd;
};

TEST(UpdateProgressRelay, OnlyALiveWindowWithTheUpdatersPropertyIsAWizard)
{
    CRecordingWizard marked(true);
    CRecordingWizard unmarked(false);
    HWND hGone = nullptr;
    {
        CRecordingWizard closed(true);
        hGone = closed.Handle();
    }
    const std::wstring gone = std::to_wstring(reinterpret_cast<LONG_PTR>(hGone));
    struct TCase
    {
        std::wstring line;
        HWND expected;
    } cases[] = {
        { L"\"C:\\Lumora\\LumoraSetup.exe\" /updateDlg=" + marked.Decimal(), marked.Handle() },
        { L"LumoraSetup.exe /S /updateDlg=" + marked.Decimal(), marked.Handle() },
        { L"LumoraSetup.exe /updateDlg=" + marked.Decimal() + L" /S", marked.Handle() },
        { L"LumoraSetup.exe", nullptr },
        { L"LumoraSetup.exe /S", nullptr },
        { L"LumoraSetup.exe /updateDlg=" + unmarked.Decimal(), nullptr },
        { L"LumoraSetup.exe /updateDlg=" + gone, nullptr },
        { L"LumoraSetup.exe /updateDlg=", nullptr },
        { L"LumoraSetup.exe /updateDlg=0", nullptr },
        { L"LumoraSetup.exe /updateDlg=" + marked.Decimal() + L"x", nullptr },
        { L"LumoraSetup.exe /updateDlg=x" + marked.Decimal(), nullptr },
        { L"LumoraSetup.exe a/updateDlg=" + marked.Decimal(), nullptr },
        { L"LumoraSetup.exe /updatedlg=" + marked.Decimal(), nullptr },
    };
    for (const TCase& test : cases)
        EXPECT_EQ(test.expected, CUpdateProgressRelay::WizardOf(test.line.c_str()))
            << testing::PrintToString(test.line);
    EXPECT_EQ(nullptr, CUpdateProgressRelay::WizardOf(nullptr));
    // This test program was started without one.
    EXPECT_FALSE(CUpdateProgressRelay::IsUpdateRun());
}

// The copy's values rise and stay below the end, whatever the installer's bar
// says; the end is reported once, after the installation.
TEST(UpdateProgressRelay, ReportsRisingCopyProgressAndTheEndOnlyOnce)
{
    PluginState().updateReported = 0;
    CRecordingWizard wizard(true);
    for (int position : { 0, -5, 3000, 2000, 3000, 15000, 30000, 31000 })
        CUpdateProgressRelay::ReportCopyProgressTo(wizard.Handle(), position);
    CUpdateProgressRelay::ReportInstalledTo(wizard.Handle());
    CUpdateProgressRelay::ReportInstalledTo(wizard.Handle());
    CUpdateProgressRelay::ReportCopyProgressTo(wizard.Handle(), 29999);
    EXPECT_EQ((std::vector<DWORD>{ 3000, 15000, 29999, 30000 }), wizard.values);
}

// A failed or cancelled install tells the wizard nothing more, the end least of all.
TEST(UpdateProgressRelay, NothingFollowsAFailure)
{
    PluginState().updateReported = 0;
    CRecordingWizard wizard(true);
    CUpdateProgressRelay::ReportCopyProgressTo(wizard.Handle(), 9000);
    CUpdateProgressRelay::Stop();
    CUpdateProgressRelay::ReportCopyProgressTo(wizard.Handle(), 20000);
    CUpdateProgressRelay::ReportInstalledTo(wizard.Handle());
    EXPECT_EQ((std::vector<DWORD>{ 9000 }), wizard.values);
    PluginState().updateReported = 0;
}

} // namespace
