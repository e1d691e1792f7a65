// The install side of the plug-in driven in-process the way an installer drives
// it: a fake installer window, a real NSIS-style stack and the real skin.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <cmath>
#include <memory>
#include <string>

#include "FakeInstaller.h"
#include "InstallWnd.h"
#include "LicenseText.h"
#include "MyEdit.h"
#include "PluginExports.h"
#include "PluginState.h"

namespace {

const wchar_t kDefaultFolder[] = L"C:\\Program Files\\Lumora";
const int kScriptFunction = 57;

class InstallWindowTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        s_stack = new CFakeNsisStack();
        s_extra = new CFakeExtraParameters(*s_stack);
        s_installer = new CFakeInstallerWindow();
        PluginState().moduleInstance = ::GetModuleHandleW(nullptr);
        CWindowManagerUI::SetInstance(::GetModuleHandleW(nullptr));
        // Popped in the order skin folder last, so pushed first.
        s_stack->Push(L"entry the script keeps");
        s_stack->Push(LUMORA_TEST_BIN_DIR);
        s_stack->Push(std::to_wstring(kScriptFunction));
        s_stack->Push(kDefaultFolder);
        s_stack->Push(L"1");
        InitWindow(s_installer->Handle(), CFakeNsisStack::kStringSize, nullptr, s_stack->Top(), s_extra->Get());
        HWND hWnd = Window().GetWindowHandle();
        if (hWnd != nullptr) ::UpdateWindow(hWnd);
    }

    static void TearDownTestSuite()
    {
        delete s_installer;
        delete s_extra;
        delete s_stack;
    }

    void SetUp() override
    {
        ASSERT_NE(Window().GetWindowHandle(), nullptr) << "the install window was not created";
        PluginState().pluginRunFlag = 1;
        PluginState().phase = SetupPhaseChoosing;
        PluginState().closeRequested = false;
        ::UpdateWindow(Window().GetWindowHandle());
    }

    static CInstallWnd& Window() { return InstallWindow(); }
    static CControlUI* Control(LPCWSTR name) { return Window().FindControl(name); }
    template <class T> static T* Typed(LPCWSTR name, LPCWSTR iface)
    {
        CControlUI* p = Control(name);
        return p != nullptr ? static_cast<T*>(p->GetInterface(iface)) : nullptr;
    }
    static COptionUI* Option(LPCWSTR name) { return Typed<COptionUI>(name, L"Option"); }
    static CTabLayoutUI* Tabs() { return Typed<CTabLayoutUI>(L"tabView", L"TabLayout"); }
    static std::wstring TextOf(LPCWSTR name) { return Control(name)->GetText().GetData(); }
    static void SendLink(LPCWSTR name) { Window().GetManager().SendNotify(Control(name), NotifyLink); }
    static void ClickControl(LPCWSTR name)
    {
        ::UpdateWindow(Window().GetWindowHandle());
        PostClick(Window().GetWindowHandle(), CenterOf(Control(name)->GetPos()));
    }
    static void SetPath(const std::wstring& path) { Control(L"path")->SetText(path.c_str()); }
    static void ShowPage(int page)
    {
        Tabs()->SelectItem(page);
        ::UpdateWindow(Window().GetWindowHandle());
    }

    static CFakeNsisStack* s_stack;
    static CFakeExtraParameters* s_extra;
    static CFakeInstallerWindow* s_installer;
};

CFakeNsisStack* InstallWindowTest::s_stack = nullptr;
CFakeExtraParameters* InstallWindowTest::s_extra = nullptr;
CFakeInstallerWindow* InstallWindowTest::s_installer = nullptr;

TEST_F(InstallWindowTest, InitWindowPopsItsFourArgumentsAndBuildsTheSkinnedWindow)
{
    TPluginState& state = PluginState();
    EXPECT_EQ(state.installerMode, 1);
    EXPECT_STREQ(state.defaultInstallFolder, kDefaultFolder);
    EXPECT_EQ(state.scriptCallbackAddress, kScriptFunction);
    EXPECT_STREQ(state.skinFolder, LUMORA_TEST_BIN_DIR);
    EXPECT_EQ(state.nsisParentWindow, s_installer->Handle());
    ASSERT_EQ(s_stack->Size(), 1u);
    EXPECT_EQ(s_stack->Pop(), L"entry the script keeps");

    // The registered callback keeps the DLL loaded and answers 0.
    EXPECT_EQ(s_extra->Calls().registeredModule, ::GetModuleHandleW(nullptr));
    ASSERT_NE(s_extra->Calls().registeredCallback, nullptr);
    EXPECT_EQ(s_extra->Calls().registeredCallback(NSPIM_UNLOAD), 0u);

    HWND hWnd = Window().GetWindowHandle();
    wchar_t text[64] = {};
    ::GetClassNameW(hWnd, text, 64);
    EXPECT_STREQ(text, L"Lumora");
    ::GetWindowTextW(hWnd, text, 64);
    EXPECT_STREQ(text, L"安装Lumora");
    EXPECT_EQ(::GetWindowLongPtrW(hWnd, GWL_STYLE) & WS_CAPTION, 0);

    EXPECT_EQ(TextOf(L"path"), kDefaultFolder);
    auto* pPath = Typed<CEditUI>(L"path", L"Edit");
    ASSERT_NE(pPath, nullptr);
    EXPECT_TRUE(pPath->IsReadOnly());
}

TEST_F(InstallWindowTest, LicenceViewIsANativeReadOnlyEditWithTheBuiltInText)
{
    SendLink(L"license");
    ::UpdateWindow(Window().GetWindowHandle());
    EXPECT_FALSE(Control(L"caption")->IsVisible());
    EXPECT_FALSE(Control(L"tabView")->IsVisible());
    EXPECT_TRUE(Control(L"ConLice")->IsVisible());

    auto* pEdit = static_cast<CMyEdit*>(Control(L"licenseTxt"));
    HWND hEdit = pEdit->GetEditWindowHandle();
    ASSERT_NE(hEdit, nullptr);
    wchar_t className[32] = {};
    ::GetClassNameW(hEdit, className, 32);
    EXPECT_STREQ(className, L"License");
    EXPECT_TRUE(::IsWindowVisible(hEdit));
    EXPECT_NE(::GetWindowLongPtrW(hEdit, GWL_STYLE) & ES_READONLY, 0);
    int length = ::GetWindowTextLengthW(hEdit);
    std::wstring shown(length + 1, L'\0');
    ::GetWindowTextW(hEdit, &shown[0], length + 1);
    shown.resize(length);
    EXPECT_EQ(shown, LicenseText());
    // The view sits 5 pixels in from the control's top-left corner.
    RECT rcEdit = {};
    ::GetWindowRect(hEdit, &rcEdit);
    ::MapWindowPoints(nullptr, Window().GetWindowHandle(), reinterpret_cast<POINT*>(&rcEdit), 2);
    EXPECT_EQ(rcEdit.left, pEdit->GetPos().left + 5);
    EXPECT_EQ(rcEdit.top, pEdit->GetPos().top + 5);

    ClickControl(L"back");
    PumpMessages();
    EXPECT_TRUE(Control(L"caption")->IsVisible());
    EXPECT_TRUE(Control(L"tabView")->IsVisible());
    EXPECT_FALSE(Control(L"ConLice")->IsVisible());
    EXPECT_FALSE(::IsWindowVisible(hEdit));
}

TEST_F(InstallWindowTest, GetSetupDataPushesMainPageThenAfterRun)
{
    Option(L"setmainpage")->Select(true);
    Option(L"afterrun")->Select(false);
    GetSetupData(s_installer->Handle(), CFakeNsisStack::kStringSize, nullptr, s_stack->Top(), s_extra->Get());
    ASSERT_EQ(s_stack->Size(), 2u);
    EXPECT_EQ(s_stack->Pop(), L"0");
    EXPECT_EQ(s_stack->Pop(), L"1");

    Option(L"setmainpage")->Select(false);
    Option(L"afterrun")->Select(true);
    GetSetupData(s_installer->Handle(), CFakeNsisStack::kStringSize, nullptr, s_stack->Top(), s_extra->Get());
    EXPECT_EQ(s_stack->Pop(), L"1");
    EXPECT_EQ(s_stack->Pop(), L"0");
}

TEST_F(InstallWindowTest, AgreementGatesTheStartButtonsAndTheCustomPage)
{
    ShowPage(0);
    SetPath(kDefaultFolder);
    Option(L"agree")->Select(false);
    EXPECT_FALSE(Control(L"setup")->IsEnabled());
    EXPECT_FALSE(Control(L"start")->IsEnabled());
    EXPECT_FALSE(Control(L"custom")->IsEnabled());
    EXPECT_EQ(TextOf(L"custom"), L"<c #7FA0BF>自定义安装>></c>");
    SendLink(L"custom");
    EXPECT_EQ(Tabs()->GetCurSel(), 0);

    Option(L"agree")->Select(true);
    EXPECT_TRUE(Control(L"setup")->IsEnabled());
    EXPECT_TRUE(Control(L"start")->IsEnabled());
    EXPECT_EQ(TextOf(L"custom"), L"{a}自定义安装>>{/a}");
    SendLink(L"custom");
    EXPECT_EQ(Tabs()->GetCurSel(), 2);
    ShowPage(0);
}

TEST_F(InstallWindowTest, ReturnRestoresTheDefaults)
{
    ShowPage(2);
    Option(L"setmainpage")->Select(false);
    Option(L"afterrun")->Select(false);
    SetPath(L"D:\\Elsewhere");
    SendLink(L"return");
    EXPECT_TRUE(Option(L"setmainpage")->IsSelected());
    EXPECT_TRUE(Option(L"afterrun")->IsSelected());
    EXPECT_EQ(PluginState().setupFlagMainPage, 1);
    EXPECT_EQ(PluginState().setupFlagAfterRun, 1);
    EXPECT_EQ(Tabs()->GetCurSel(), 0);
    EXPECT_EQ(TextOf(L"path"), kDefaultFolder);
}

TEST(InstallFreeSpace, MoreThanTheNeededRoomIsAcceptedExactlyItIsRefused)
{
    const ULONGLONG kMiB = 1048576ULL;
    const ULONGLONG kLimit = 104857600ULL;
    const DWORD kShort = CInstallWnd::kSpaceShortColor;
    const DWORD kOk = CInstallWnd::kSpaceOkColor;
    struct Case
    {
        bool bQueried;
        ULONGLONG freeBytes;
        ULONGLONG requiredBytes;
        bool bEnough;
        DWORD color;
        const wchar_t* text;
    } cases[] = {
        { true, kLimit, kLimit, false, kShort, L"所需空间：100 MB（磁盘剩余空间：100.00 MB）请选择其他目录！" },
        { true, kLimit + 1, kLimit, true, kOk, L"所需空间：100 MB（磁盘剩余空间：100.00 MB）" },
        { true, 0, kLimit, false, kShort, L"所需空间：100 MB（磁盘剩余空间：0.00 MB）请选择其他目录！" },
        { true, 5ULL * 1024 * kMiB + 512 * 1024, kLimit, true, kOk, L"所需空间：100 MB（磁盘剩余空间：5120.50 MB）" },
        { false, 0, kLimit, false, kShort, L"所选目录无法安装，请选择其他目录" },
        // The script's own size: a part of a mebibyte counts as a whole one.
        { true, 12 * kMiB, 11 * kMiB + 300 * 1024, true, kOk, L"所需空间：12 MB（磁盘剩余空间：12.00 MB）" },
        { true, 11 * kMiB + 300 * 1024, 11 * kMiB + 300 * 1024, false, kShort,
          L"所需空间：12 MB（磁盘剩余空间：11.29 MB）请选择其他目录！" },
        { true, 4 * kMiB, 12 * kMiB, false, kShort, L"所需空间：12 MB（磁盘剩余空间：4.00 MB）请选择其他目录！" },
    };
    for (const Case& c : cases) {
        CInstallWnd::TSpaceVerdict verdict = CInstallWnd::JudgeFreeSpace(c.bQueried, c.freeBytes, c.requiredBytes);
        EXPECT_EQ(verdict.bEnough, c.bEnough) << c.freeBytes;
        EXPECT_EQ(verdict.color, c.color) << c.freeBytes;
        EXPECT_EQ(verdict.text, c.text) << c.freeBytes;
    }
    // The warning reads well on the window's blue (#1D5F96): at least 4.5:1.
    auto luminance = [](DWORD argb) {
        auto channel = [](int v) {
            double c = v / 255.0;
            return c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
        };
        return 0.2126 * channel((argb >> 16) & 0xFF) + 0.7152 * channel((argb >> 8) & 0xFF) +
            0.0722 * channel(argb & 0xFF);
    };
    double ratio = (luminance(kShort) + 0.05) / (luminance(0xFF1D5F96) + 0.05);
    EXPECT_GE(ratio, 4.5);
}

TEST(InstallFolderChoice, TheBrowserOpensAtTheNearestFolderThatExists)
{
    wchar_t temp[MAX_PATH] = {};
    ::GetTempPathW(MAX_PATH, temp);
    std::wstring base = temp;
    if (base.back() == L'\\') base.pop_back();
    std::wstring folder = base + L"\\浏览 测试";
    ::CreateDirectoryW(folder.c_str(), nullptr);
    struct Case
    {
        std::wstring path;
        std::wstring expected;
    } cases[] = {
        { folder, folder },
        { folder + L"\\not there\\nor this", folder },
        { L"C:\\no such folder here", L"C:\\" },
        { L"?:\\nowhere", L"" },
        { L"", L"" },
    };
    for (const Case& c : cases) EXPECT_EQ(CInstallWnd::ExistingFolderOf(c.path), c.expected) << c.path;
    ::RemoveDirectoryW(folder.c_str());
}

TEST(InstallFolderChoice, ADriveRootGetsLumoraFoldersThatAreNotThereStay)
{
    struct Case
    {
        const wchar_t* chosen;
        const wchar_t* proposed;
    } cases[] = {
        { L"C:\\", L"C:\\Lumora" },
        { L"D:\\", L"D:\\Lumora" },
        { L"C:\\No Games Here", L"C:\\No Games Here" },
        { L"D:\\Apps\\Video", L"D:\\Apps\\Video" },
        { L"", L"" },
    };
    for (const Case& c : cases) EXPECT_EQ(CInstallWnd::ProposedFolder(c.chosen), c.proposed) << c.chosen;
}

TEST_F(InstallWindowTest, FolderThatCannotBeQueriedShowsTheRedMessageAndDisablesStart)
{
    Option(L"agree")->Select(true);
    auto* pSpace = Typed<CLabelUI>(L"space", L"Label");
    for (const wchar_t* path : { L"Q", L"", L"?:\\nowhere" }) {
        SetPath(path);
        EXPECT_EQ(TextOf(L"space"), L"所选目录无法安装，请选择其他目录") << path;
        EXPECT_EQ(pSpace->GetTextColor(), CInstallWnd::kSpaceShortColor) << path;
        EXPECT_FALSE(Control(L"start")->IsEnabled()) << path;
    }
    // Agreeing again does not let "start" install onto a folder that was refused.
    Option(L"agree")->Select(false);
    Option(L"agree")->Select(true);
    EXPECT_FALSE(Control(L"start")->IsEnabled());

    // The prefix's C: drive lives on the build machine's disk, which has room.
    SetPath(kDefaultFolder);
    EXPECT_EQ(TextOf(L"space").rfind(L"所需空间：100 MB（磁盘剩余空间：", 0), 0u) << TextOf(L"space");
    EXPECT_EQ(pSpace->GetTextColor(), 0xFFFFFFFFu);
    EXPECT_TRUE(Control(L"start")->IsEnabled());
}

TEST_F(InstallWindowTest, BackgroundDragsTheWindowControlsStayClickableBordersResize)
{
    HWND hWnd = Window().GetWindowHandle();
    ShowPage(0);
    RECT rc = {};
    ::GetClientRect(hWnd, &rc);
    auto hitAt = [&](POINT pt) {
        ::ClientToScreen(hWnd, &pt);
        return ::SendMessageW(hWnd, WM_NCHITTEST, 0, MAKELPARAM(pt.x, pt.y));
    };
    EXPECT_EQ(hitAt({ 200, 80 }), HTCAPTION);
    EXPECT_EQ(hitAt(CenterOf(Control(L"setup")->GetPos())), HTCLIENT);
    EXPECT_EQ(hitAt(CenterOf(Control(L"agree")->GetPos())), HTCLIENT);
    EXPECT_EQ(hitAt(CenterOf(Control(L"license")->GetPos())), HTCLIENT);
    EXPECT_EQ(hitAt({ rc.right - 5, rc.bottom - 5 }), HTBOTTOMRIGHT);
    EXPECT_EQ(hitAt({ 100, 0 }), HTTOP);
    EXPECT_EQ(hitAt({ 0, 0 }), HTTOPLEFT);
    EXPECT_EQ(hitAt({ 0, 100 }), HTLEFT);
    EXPECT_EQ(hitAt({ rc.right - 1, 100 }), HTRIGHT);
    EXPECT_EQ(hitAt({ 100, rc.bottom - 1 }), HTBOTTOM);

    MINMAXINFO info = {};
    ::SendMessageW(hWnd, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
    EXPECT_EQ(info.ptMinTrackSize.x, 500);
    EXPECT_EQ(info.ptMinTrackSize.y, 359);
}

TEST_F(InstallWindowTest, ProgressBarPositionsMoveTheSkinAndTheEndPressesNext)
{
    s_stack->Push(L"ignored");
    StartInstall(s_installer->Handle(), CFakeNsisStack::kStringSize, nullptr, s_stack->Top(), s_extra->Get());
    EXPECT_EQ(s_stack->Size(), 0u);
    // A second call must not subclass the same windows again.
    StartInstall(s_installer->Handle(), CFakeNsisStack::kStringSize, nullptr, s_stack->Top(), s_extra->Get());

    auto* pProgress = Typed<CProgressUI>(L"progress", L"Progress");
    ASSERT_NE(pProgress, nullptr);
    HWND hBar = s_installer->ProgressBar();
    ::SendMessageW(hBar, PBM_SETPOS, 12345, 0);
    EXPECT_EQ(pProgress->GetMaxValue(), 30000);
    EXPECT_EQ(pProgress->GetValue(), 12345);
    EXPECT_EQ(::SendMessageW(hBar, PBM_GETPOS, 0, 0), 0) << "the installer's own bar must not move";
    EXPECT_EQ(s_installer->CountCommand(IDOK), 0);
    EXPECT_FALSE(::IsWindowEnabled(s_installer->Button(IDOK)));

    ::SendMessageW(hBar, PBM_SETPOS, 30000, 0);
    EXPECT_EQ(pProgress->GetValue(), 30000);
    EXPECT_EQ(s_installer->CountCommand(IDOK), 1);
    EXPECT_TRUE(::IsWindowEnabled(s_installer->Button(IDOK)));
    ::SendMessageW(hBar, PBM_SETPOS, 30000, 0);
    EXPECT_EQ(s_installer->CountCommand(IDOK), 2);

    // The installer's window, bar and list hide whenever they paint.
    for (HWND hWnd : { s_installer->Handle(), hBar, s_installer->DetailList() }) {
        ::ShowWindow(hWnd, SW_SHOWNA);
        ::InvalidateRect(hWnd, nullptr, TRUE);
        ::UpdateWindow(hWnd);
        EXPECT_FALSE(::IsWindowVisible(hWnd));
    }
}

TEST_F(InstallWindowTest, UserCancelPressesTheInstallersCancelButton)
{
    int before = s_installer->CountCommand(IDCANCEL);
    UserCancel(s_installer->Handle(), CFakeNsisStack::kStringSize, nullptr, s_stack->Top(), s_extra->Get());
    EXPECT_EQ(s_installer->CountCommand(IDCANCEL), before + 1);
    EXPECT_TRUE(::IsWindowEnabled(s_installer->Button(IDCANCEL)));
}

TEST_F(InstallWindowTest, StartHandsTheFolderToTheScriptAndEndsShowWnd)
{
    ShowPage(2);
    Option(L"agree")->Select(true);
    SetPath(kDefaultFolder);
    ASSERT_TRUE(Control(L"start")->IsEnabled());
    size_t before = s_extra->Calls().executedAddresses.size();
    ClickControl(L"start");
    ShowWnd(s_installer->Handle(), CFakeNsisStack::kStringSize, nullptr, s_stack->Top(), s_extra->Get());
    ASSERT_EQ(s_extra->Calls().executedAddresses.size(), before + 1);
    EXPECT_EQ(s_extra->Calls().executedAddresses.back(), kScriptFunction - 1);
    EXPECT_EQ(s_extra->Calls().stackTopAtExecute.back(), kDefaultFolder);
    EXPECT_EQ(PluginState().pluginRunFlag, 0);
    EXPECT_EQ(Tabs()->GetCurSel(), 1);
}

TEST_F(InstallWindowTest, UninstallFinInInstallModeStillLoopsUntilTheFlagClears)
{
    ShowPage(0);
    Option(L"agree")->Select(true);
    size_t before = s_extra->Calls().executedAddresses.size();
    PluginState().pluginRunFlag = 0;
    ClickControl(L"setup");
    UninstallFin(s_installer->Handle(), CFakeNsisStack::kStringSize, nullptr, s_stack->Top(), s_extra->Get());
    // The loop ran (flag set to 1 again) until the click cleared the flag.
    EXPECT_EQ(s_extra->Calls().executedAddresses.size(), before + 1);
    EXPECT_EQ(PluginState().pluginRunFlag, 0);
}

// Answers the close confirmation that the window is about to show.
struct TConfirmAnswer
{
    static int answer;
    static bool seen;
    static void CALLBACK Press(HWND, UINT, UINT_PTR id, DWORD)
    {
        HWND hBox = ::FindWindowW(L"#32770", L"提示");
        if (hBox == nullptr) return;
        seen = true;
        ::KillTimer(nullptr, id);
        ::PostMessageW(hBox, WM_COMMAND, answer, 0);
    }
};
int TConfirmAnswer::answer = IDNO;
bool TConfirmAnswer::seen = false;

// While files are written a confirmed close must not cancel the installer: it
// only asks the installer to end once the work is done, and starts nothing new.
TEST_F(InstallWindowTest, YesWhileFilesAreWrittenLetsTheWorkFinish)
{
    HWND hWnd = Window().GetWindowHandle();
    int cancels = s_installer->CountCommand(IDCANCEL);
    PluginState().phase = SetupPhaseWorking;
    PluginState().setupFlagAfterRun = 1;

    TConfirmAnswer::answer = IDYES;
    TConfirmAnswer::seen = false;
    ::SetTimer(nullptr, 0, 50, &TConfirmAnswer::Press);
    ::SendMessageW(hWnd, WM_SYSCOMMAND, SC_CLOSE, 0);
    PumpMessages();
    EXPECT_TRUE(TConfirmAnswer::seen);
    EXPECT_TRUE(::IsWindow(hWnd));
    EXPECT_EQ(s_installer->CountCommand(IDCANCEL), cancels);
    EXPECT_TRUE(PluginState().closeRequested);
    EXPECT_EQ(PluginState().setupFlagAfterRun, 0);
    PluginState().setupFlagAfterRun = 1;
}

TEST_F(InstallWindowTest, TheLastPageSaysWhetherTheInstallWorked)
{
    SetPath(kDefaultFolder);
    Window().ShowResult(L"");
    EXPECT_EQ(Tabs()->GetCurSel(), 3);
    EXPECT_EQ(TextOf(L"finishtitle"), L"安装完成");
    EXPECT_EQ(TextOf(L"finishmsg"), std::wstring(L"Lumora 已安装到 ") + kDefaultFolder + L"。");

    Window().ShowResult(L"磁盘空间不足");
    EXPECT_EQ(TextOf(L"finishtitle"), L"安装未完成");
    EXPECT_EQ(TextOf(L"finishmsg").rfind(L"磁盘空间不足", 0), 0u) << TextOf(L"finishmsg");
    ShowPage(0);
}

// Runs last: accepting the confirmation closes the window.
TEST_F(InstallWindowTest, ZzCloseAsksFirstAndCancelsTheInstallerOnYes)
{
    HWND hWnd = Window().GetWindowHandle();
    int cancels = s_installer->CountCommand(IDCANCEL);

    TConfirmAnswer::answer = IDNO;
    TConfirmAnswer::seen = false;
    ::SetTimer(nullptr, 0, 50, &TConfirmAnswer::Press);
    ::SendMessageW(hWnd, WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_TRUE(TConfirmAnswer::seen);
    PumpMessages();
    EXPECT_TRUE(::IsWindow(hWnd));
    EXPECT_EQ(PluginState().pluginRunFlag, 1);
    EXPECT_EQ(s_installer->CountCommand(IDCANCEL), cancels);

    TConfirmAnswer::answer = IDYES;
    TConfirmAnswer::seen = false;
    ::SetTimer(nullptr, 0, 50, &TConfirmAnswer::Press);
    ClickControl(L"close");
    PumpMessages();
    EXPECT_TRUE(TConfirmAnswer::seen);
    PumpMessages();
    EXPECT_FALSE(::IsWindow(hWnd));
    EXPECT_EQ(PluginState().pluginRunFlag, 0);
    EXPECT_EQ(s_installer->CountCommand(IDCANCEL), cancels + 1);
}

} // namespace
