// The uninstall side: confirm, work while the script removes files, finish.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include "FakeInstaller.h"
#include "InstallWnd.h"
#include "PluginExports.h"
#include "PluginState.h"
#include "UnInstallWnd.h"

namespace {

class UnInstallWindowTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        s_stack = new CFakeNsisStack();
        s_extra = new CFakeExtraParameters(*s_stack);
        s_installer = new CFakeInstallerWindow();
        PluginState().moduleInstance = ::GetModuleHandleW(nullptr);
        CWindowManagerUI::SetInstance(::GetModuleHandleW(nullptr));
        s_stack->Push(LUMORA_TEST_BIN_DIR);
        s_stack->Push(L"0");
        s_stack->Push(L"C:\\Program Files\\Lumora");
        s_stack->Push(L"0");
        InitWindow(s_installer->Handle(), CFakeNsisStack::kStringSize, nullptr, s_stack->Top(), s_extra->Get());
    }

    static void TearDownTestSuite()
    {
        delete s_installer;
        delete s_extra;
        delete s_stack;
    }

    static CUnInstallWnd& Window() { return UnInstallWindow(); }
    static CControlUI* Control(LPCWSTR name) { return Window().FindControl(name); }
    static void Click(LPCWSTR name)
    {
        ::UpdateWindow(Window().GetWindowHandle());
        PostClick(Window().GetWindowHandle(), CenterOf(Control(name)->GetPos()));
    }

    static void CALLBACK ClickFinishFromLoop(HWND, UINT, UINT_PTR id, DWORD)
    {
        ::KillTimer(nullptr, id);
        Click(L"finbtn");
    }

    static CFakeNsisStack* s_stack;
    static CFakeExtraParameters* s_extra;
    static CFakeInstallerWindow* s_installer;
};

CFakeNsisStack* UnInstallWindowTest::s_stack = nullptr;
CFakeExtraParameters* UnInstallWindowTest::s_extra = nullptr;
CFakeInstallerWindow* UnInstallWindowTest::s_installer = nullptr;

TEST_F(UnInstallWindowTest, ConfirmWorkFinish)
{
    HWND hWnd = Window().GetWindowHandle();
    ASSERT_NE(hWnd, nullptr);
    EXPECT_EQ(InstallWindow().GetWindowHandle(), nullptr) << "only the window of the mode is created";
    wchar_t title[32] = {};
    ::GetWindowTextW(hWnd, title, 32);
    EXPECT_STREQ(title, L"卸载Lumora");

    // Confirm page: ShowWnd returns once "unsetup" is pressed.
    Click(L"unsetup");
    ShowWnd(s_installer->Handle(), CFakeNsisStack::kStringSize, nullptr, s_stack->Top(), s_extra->Get());
    EXPECT_TRUE(::IsWindowVisible(hWnd));
    EXPECT_EQ(PluginState().pluginRunFlag, 0);
    EXPECT_FALSE(Control(L"unsetup")->IsVisible());
    EXPECT_FALSE(Control(L"3q")->IsVisible());
    EXPECT_TRUE(Control(L"statemsg")->IsVisible());
    EXPECT_TRUE(Control(L"progress")->IsVisible());

    // The script's progress moves the uninstall window's bar; the end presses Next.
    s_stack->Push(L"ignored");
    StartUnInstall(s_installer->Handle(), CFakeNsisStack::kStringSize, nullptr, s_stack->Top(), s_extra->Get());
    EXPECT_EQ(s_stack->Size(), 0u);
    auto* pProgress = static_cast<CProgressUI*>(Control(L"progress")->GetInterface(L"Progress"));
    ::SendMessageW(s_installer->ProgressBar(), PBM_SETPOS, 29999, 0);
    EXPECT_EQ(pProgress->GetValue(), 29999);
    EXPECT_EQ(s_installer->CountCommand(IDOK), 0);
    ::SendMessageW(s_installer->ProgressBar(), PBM_SETPOS, 30000, 0);
    EXPECT_EQ(s_installer->CountCommand(IDOK), 1);

    // UninstallFin shows the finish button and loops until it is pressed.
    // The button only has a place once UninstallFin has shown it: click it from
    // inside the loop.
    ::SetTimer(nullptr, 0, 20, &ClickFinishFromLoop);
    UninstallFin(s_installer->Handle(), CFakeNsisStack::kStringSize, nullptr, s_stack->Top(), s_extra->Get());
    EXPECT_TRUE(Control(L"finbtn")->IsVisible());
    EXPECT_FALSE(Control(L"statemsg")->IsVisible());
    EXPECT_FALSE(Control(L"progress")->IsVisible());
    EXPECT_EQ(PluginState().pluginRunFlag, 0);
    EXPECT_FALSE(::IsWindowVisible(hWnd));
}

} // namespace
