// The settings dialog in-process: a real window built from the packed main
// skin over a stand-in main window that records what the dialog posts to it.
// Clicks are real mouse messages; "cfg.db" is a real file in a temporary
// folder and the Run value is written to the Wine prefix's registry (and put
// back afterwards).
#include <gtest/gtest.h>
#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "ClientVersion.h"
#include "LumoraResource.h"
#include "LumoraVersion.h"
#include "ProgramGlobals.h"
#include "SettingDialog.h"
#include "SettingsStore.h"
#include "SettingsTestSupport.h"

namespace {

const wchar_t kRunKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";

// Stands in for the main window: records the dialog's messages and opens the
// dialog for the menu commands as the main window does.
class ParentWindow : public CWindowWnd
{
public:
    std::vector<UINT> received;
    std::function<void()> onTimer;

    int Count(UINT message) const
    {
        int n = 0;
        for (UINT m : received) n += m == message ? 1 : 0;
        return n;
    }

protected:
    LPCWSTR GetWindowClassName() const override { return L"LumoraSettingsTestParent"; }
    LRESULT HandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam) override
    {
        if (uMsg == CSettingDialog::kArmPowerOffMessage || uMsg == CSettingDialog::kApplyTopMostMessage) {
            received.push_back(uMsg);
            return 0;
        }
        if (uMsg == WM_COMMAND && (LOWORD(wParam) == ID_MENU_SETTINGS || LOWORD(wParam) == ID_MENU_ABOUT)) {
            CSettingDialog::Open(m_hWnd, LOWORD(wParam) == ID_MENU_ABOUT);
            return 1;
        }
        if (uMsg == WM_TIMER && onTimer) {
            KillTimer(m_hWnd, wParam);
            onTimer();
            return 0;
        }
        return CWindowWnd::HandleMessage(uMsg, wParam, lParam);
    }
};

// Records failure reports instead of showing a message box, and can point the
// Run value at a key that does not exist.
class TestSettingDialog : public CSettingDialog
{
public:
    explicit TestSettingDialog(int* failures, std::wstring runKey = kRunKey)
        : CSettingDialog(false), failures_(failures), runKey_(std::move(runKey))
    { }

protected:
    std::wstring RunKeyPath() const override { return runKey_; }
    void ReportAutorunFailure() override { ++*failures_; }

private:
    int* failures_;
    std::wstring runKey_;
};

// The Run value as it was before the test, put back afterwards.
class RunValueGuard
{
public:
    RunValueGuard() { had_ = Read(&value_); }
    ~RunValueGuard()
    {
        HKEY key = nullptr;
        if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, kRunKey, 0, KEY_SET_VALUE, &key) != ERROR_SUCCESS) return;
        if (had_) {
            RegSetValueExW(key, L"LUMORA", 0, REG_SZ, reinterpret_cast<const BYTE*>(value_.c_str()),
                           static_cast<DWORD>((value_.size() + 1) * sizeof(wchar_t)));
        } else {
            RegDeleteValueW(key, L"LUMORA");
        }
        RegCloseKey(key);
    }
    // Writes or removes the value as another program (or an earlier run) might.
    static void Put(bool present)
    {
        HKEY key = nullptr;
        if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, kRunKey, 0, KEY_SET_VALUE, &key) != ERROR_SUCCESS) return;
        const wchar_t command[] = L"\"C:\\lumora\\lumora.exe\"";
        if (present)
            RegSetValueExW(key, L"LUMORA", 0, REG_SZ, reinterpret_cast<const BYTE*>(command), sizeof(command));
        else
            RegDeleteValueW(key, L"LUMORA");
        RegCloseKey(key);
    }
    static bool Read(std::wstring* value)
    {
        wchar_t data[MAX_PATH * 2] = {};
        DWORD size = sizeof(data) - sizeof(wchar_t);
        DWORD type = 0;
        if (RegGetValueW(HKEY_LOCAL_MACHINE, kRunKey, L"LUMORA", RRF_RT_REG_SZ, &type, data, &size) != ERROR_SUCCESS)
            return false;
        *value = data;
        return true;
    }

private:
    bool had_ = false;
    std::wstring value_;
};

class SettingDialogTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        CWindowManagerUI::SetInstance(GetModuleHandleW(nullptr));
        parent_ = new ParentWindow();
        parent_->Create(nullptr, L"Lumora test parent", WS_POPUP | WS_VISIBLE, 0, 0, 0, 800, 600);
    }
    static void TearDownTestSuite()
    {
        DestroyWindow(parent_->GetWindowHandle());
        PumpMessages();
        delete parent_;
    }

    void SetUp() override
    {
        UseSettingsProgramFolder();
        wchar_t temp[MAX_PATH] = {};
        GetTempPathW(MAX_PATH, temp);
        wchar_t file[MAX_PATH] = {};
        GetTempFileNameW(temp, L"cfg", 0, file);
        DeleteFileW(file); // no file until the dialog saves one
        cfgPath_ = file;
        settings_ = std::make_unique<SettingsStore>(cfgPath_);
        settings_->poweroffhour = -1;
        settings_->poweroffminute = -1;
        settings_->skincolor = 1;
        GlobalSettings = settings_.get();
        parent_->received.clear();
    }
    void TearDown() override
    {
        if (IsWindow(dialogWindow_)) DestroyWindow(dialogWindow_);
        PumpMessages();
        GlobalSettings = nullptr;
        DeleteFileW(cfgPath_.c_str());
    }

    HWND Parent() const { return parent_->GetWindowHandle(); }

    void OpenDialog(const std::wstring& runKey = kRunKey)
    {
        dialog_ = new TestSettingDialog(&failures_, runKey);
        dialogWindow_ = dialog_->Create(Parent());
        if (!dialogWindow_) delete dialog_;
        ASSERT_NE(nullptr, dialogWindow_) << "no dialog: is there a display, and the packed skin?";
        UpdateWindow(dialogWindow_);
        PumpMessages();
    }

    template <class T = CControlUI> T* Control(LPCWSTR name)
    {
        CControlUI* control = dialog_->GetManager().FindControl(name);
        EXPECT_NE(nullptr, control) << "no control " << name;
        return static_cast<T*>(control);
    }
    COptionUI* Option(LPCWSTR name) { return Control<COptionUI>(name); }
    CComboUI* Combo(LPCWSTR name) { return Control<CComboUI>(name); }
    void Click(LPCWSTR name) { PostClick(dialogWindow_, CentreOf(Control(name))); }
    bool Closed() const { return !IsWindow(dialogWindow_); }
    int StoredKey(LPCWSTR key) const { return GetPrivateProfileIntW(L"setting", key, -99, cfgPath_.c_str()); }
    bool FileSaved() const { return GetFileAttributesW(cfgPath_.c_str()) != INVALID_FILE_ATTRIBUTES; }
    int Page() { return Control<CTabLayoutUI>(L"tabView")->GetCurSel(); }

    static ParentWindow* parent_;
    std::wstring cfgPath_;
    std::unique_ptr<SettingsStore> settings_;
    TestSettingDialog* dialog_ = nullptr;
    HWND dialogWindow_ = nullptr;
    int failures_ = 0;
};

ParentWindow* SettingDialogTest::parent_ = nullptr;

TEST_F(SettingDialogTest, ShowsTheSettingsItOpensWith)
{
    struct Case
    {
        bool quit, autorun, topwentv, armed;
        int hour, minute;
    };
    const Case cases[] = {
        { true, true, false, true, 7, 30 },
        { false, false, true, false, 0, 59 },
        { false, false, false, false, -1, -1 },
    };
    RunValueGuard guard;
    for (const Case& c : cases) {
        settings_->quit = c.quit;
        // The box shows the registry, not the saved flag, which says the opposite here.
        settings_->autorun = !c.autorun;
        RunValueGuard::Put(c.autorun);
        settings_->topwentv = c.topwentv;
        settings_->powerOffArmed = c.armed;
        settings_->poweroffhour = c.hour;
        settings_->poweroffminute = c.minute;
        ASSERT_NO_FATAL_FAILURE(OpenDialog());
        EXPECT_EQ(c.quit, Option(L"exit")->IsSelected());
        EXPECT_EQ(!c.quit, Option(L"minimize")->IsSelected());
        EXPECT_EQ(c.autorun, Option(L"autorun")->IsSelected());
        EXPECT_EQ(c.topwentv, Option(L"topwentv")->IsSelected());
        EXPECT_EQ(c.armed, Option(L"autoshotdown")->IsSelected());
        EXPECT_EQ(!c.armed, Option(L"autooff")->IsSelected());
        EXPECT_EQ(24, Combo(L"hour")->GetCount());
        EXPECT_EQ(60, Combo(L"minute")->GetCount());
        EXPECT_EQ(c.hour, Combo(L"hour")->GetCurSel());
        EXPECT_EQ(c.minute, Combo(L"minute")->GetCurSel());
        if (c.hour >= 0) {
            EXPECT_EQ(std::to_wstring(c.hour), Combo(L"hour")->GetText().GetData());
        }
        EXPECT_FALSE(Control(L"apply")->IsEnabled()) << "nothing changed yet";
        EXPECT_EQ(0, Page());
        EXPECT_NE(-1, ApplicationWindowList.Find(&dialog_->GetManager()));
        DestroyWindow(dialogWindow_);
        PumpMessages();
    }
}

TEST_F(SettingDialogTest, StoredTimeOutsideTheListSelectsNothing)
{
    settings_->poweroffhour = 99;
    settings_->poweroffminute = 60;
    ASSERT_NO_FATAL_FAILURE(OpenDialog());
    EXPECT_EQ(-1, Combo(L"hour")->GetCurSel()) << "not silently the last hour";
    EXPECT_EQ(-1, Combo(L"minute")->GetCurSel());
    Click(L"sure");
    EXPECT_EQ(-1, settings_->poweroffhour);
    EXPECT_EQ(-1, settings_->poweroffminute);
}

TEST_F(SettingDialogTest, ChosenTimeSevenThirtyIsStoredAndSaved)
{
    ASSERT_NO_FATAL_FAILURE(OpenDialog());
    Combo(L"hour")->SelectItem(7);
    Combo(L"minute")->SelectItem(30);
    EXPECT_TRUE(Control(L"apply")->IsEnabled()) << "a new time is a change";
    Click(L"apply");
    EXPECT_EQ(7, settings_->poweroffhour);
    EXPECT_EQ(30, settings_->poweroffminute);
    EXPECT_EQ(7, StoredKey(L"poweroffhour"));
    EXPECT_EQ(30, StoredKey(L"poweroffminute"));
    EXPECT_FALSE(Control(L"apply")->IsEnabled());
    EXPECT_FALSE(Closed()) << "apply keeps the dialog open";
}

TEST_F(SettingDialogTest, PowerOffSwitchTellsTheMainWindowOnlyWhenOn)
{
    settings_->powerOffArmed = true;
    ASSERT_NO_FATAL_FAILURE(OpenDialog());
    Click(L"timeauto");
    Click(L"autooff");
    EXPECT_TRUE(Control(L"apply")->IsEnabled());
    Click(L"apply");
    PumpMessages();
    EXPECT_FALSE(settings_->powerOffArmed);
    EXPECT_EQ(0, parent_->Count(CSettingDialog::kArmPowerOffMessage)) << "switched off: nothing to arm";
    EXPECT_EQ(1, parent_->Count(CSettingDialog::kApplyTopMostMessage));
    EXPECT_EQ(0, StoredKey(L"poweroffarmed"));
    Click(L"autoshotdown");
    Click(L"apply");
    PumpMessages();
    EXPECT_TRUE(settings_->powerOffArmed);
    EXPECT_EQ(1, parent_->Count(CSettingDialog::kArmPowerOffMessage));
    EXPECT_EQ(2, parent_->Count(CSettingDialog::kApplyTopMostMessage));
    EXPECT_EQ(1, StoredKey(L"poweroffarmed")) << "the daily power-off stays on across restarts";
}

TEST_F(SettingDialogTest, OkWithoutChangesStillSavesAndCloses)
{
    settings_->quit = true;
    settings_->topwentv = true;
    ASSERT_NO_FATAL_FAILURE(OpenDialog());
    ASSERT_FALSE(FileSaved());
    Click(L"sure");
    ASSERT_TRUE(PumpUntil([&] { return Closed(); }));
    ASSERT_TRUE(FileSaved());
    EXPECT_EQ(1, StoredKey(L"quit"));
    EXPECT_EQ(1, StoredKey(L"topwentv"));
    EXPECT_EQ(0, StoredKey(L"autorun"));
    EXPECT_EQ(-1, StoredKey(L"poweroffhour"));
    EXPECT_EQ(-1, ApplicationWindowList.Find(&dialog_->GetManager()));
}

TEST_F(SettingDialogTest, CancelAndCloseLeaveSettingsAndFileAlone)
{
    for (LPCWSTR button : { L"giveup", L"close" }) {
        ASSERT_NO_FATAL_FAILURE(OpenDialog());
        Click(L"exit");
        Click(L"autorun");
        Click(button);
        ASSERT_TRUE(PumpUntil([&] { return Closed(); })) << button;
        EXPECT_FALSE(settings_->quit) << button;
        EXPECT_FALSE(settings_->autorun) << button;
        EXPECT_FALSE(FileSaved()) << button;
    }
}

TEST_F(SettingDialogTest, GeneralOptionsAreTakenOnApply)
{
    ASSERT_NO_FATAL_FAILURE(OpenDialog());
    Click(L"exit");
    Click(L"topwentv");
    Click(L"apply");
    EXPECT_TRUE(settings_->quit);
    EXPECT_TRUE(settings_->topwentv);
    EXPECT_EQ(1, StoredKey(L"quit"));
    Click(L"minimize");
    Click(L"topwentv");
    Click(L"apply");
    EXPECT_FALSE(settings_->quit);
    EXPECT_FALSE(settings_->topwentv);
    EXPECT_EQ(0, StoredKey(L"quit"));
}

TEST_F(SettingDialogTest, StartWithWindowsWritesAndRemovesTheRunValue)
{
    RunValueGuard guard;
    ASSERT_NO_FATAL_FAILURE(OpenDialog());
    Click(L"autorun");
    Click(L"apply");
    std::wstring value;
    ASSERT_TRUE(RunValueGuard::Read(&value));
    EXPECT_EQ(L"\"" + std::wstring(ModulePath) + L"\"", value) << "quoted, as the path may hold spaces";
    EXPECT_TRUE(settings_->autorun);
    Click(L"autorun");
    Click(L"apply");
    EXPECT_FALSE(RunValueGuard::Read(&value));
    Click(L"apply"); // the value is already gone: silent
    EXPECT_EQ(0, failures_);
}

TEST_F(SettingDialogTest, RunValueFailureIsReportedAndTheRestOfApplyStillRuns)
{
    ASSERT_NO_FATAL_FAILURE(OpenDialog(L"Software\\Lumora\\NoSuchKey\\Run"));
    Click(L"autorun");
    Click(L"timeauto");
    Click(L"autoshotdown");
    Click(L"apply");
    PumpMessages();
    EXPECT_EQ(1, failures_);
    EXPECT_TRUE(FileSaved());
    EXPECT_EQ(0, StoredKey(L"autorun")) << "nothing starts with Windows, so that is what is saved";
    EXPECT_FALSE(Option(L"autorun")->IsSelected()) << "and what the box shows";
    EXPECT_EQ(1, parent_->Count(CSettingDialog::kArmPowerOffMessage));
    Click(L"autorun");
    Click(L"autorun"); // off again, but the dialog counts a change
    Click(L"apply");
    EXPECT_EQ(1, failures_) << "removing from a missing key is silent";
}

// The About page and the notification-area tip name the version this build is.
TEST_F(SettingDialogTest, VersionTextsAreTheProductVersion)
{
    ASSERT_NO_FATAL_FAILURE(OpenDialog());
    Click(L"aboutus");
    EXPECT_EQ(std::wstring(L"版本 ") + LUMORA_VERSION_WTEXT, Control(L"aboutversion")->GetText().GetData());
    EXPECT_EQ(std::wstring(L"Lumora\r\n版本V") + LUMORA_VERSION_WTEXT, TrayTipText());
}

TEST_F(SettingDialogTest, PageOptionsSwitchPagesWithoutCountingAsChanges)
{
    ASSERT_NO_FATAL_FAILURE(OpenDialog());
    Click(L"timeauto");
    EXPECT_EQ(1, Page());
    Click(L"aboutus");
    EXPECT_EQ(2, Page());
    Click(L"custom");
    EXPECT_EQ(0, Page());
    EXPECT_FALSE(Control(L"apply")->IsEnabled());
}

TEST_F(SettingDialogTest, CaptionBackgroundMovesTheDialogAndControlsStayClickable)
{
    ASSERT_NO_FATAL_FAILURE(OpenDialog());
    auto hit = [&](POINT client) {
        ClientToScreen(dialogWindow_, &client);
        return SendMessageW(dialogWindow_, WM_NCHITTEST, 0, MAKELPARAM(client.x, client.y));
    };
    EXPECT_EQ(HTCAPTION, hit(POINT{ 200, 16 }));
    for (LPCWSTR name : { L"close", L"sure", L"custom", L"eee", L"hour" }) {
        if (wcscmp(name, L"hour") == 0) Click(L"timeauto");
        if (wcscmp(name, L"eee") == 0) Click(L"aboutus");
        EXPECT_EQ(HTCLIENT, hit(CentreOf(Control(name)))) << name;
    }
}

TEST_F(SettingDialogTest, ColourSchemeFollowsTheMainWindow)
{
    settings_->skincolor = 0;
    ASSERT_NO_FATAL_FAILURE(OpenDialog());
    EXPECT_EQ(0xFF1685C3u, Control(L"main")->GetBkColor());
    EXPECT_EQ(0xFF017ABEu, Control(L"caption")->GetBkColor());
    SendMessageW(dialogWindow_, CSettingDialog::kColorSchemeMessage, 3, 0);
    EXPECT_EQ(0xFFAE0000u, Control(L"main")->GetBkColor());
    EXPECT_EQ(0xFFC80000u, Control(L"caption")->GetBkColor());
    EXPECT_EQ(0xFFAE0000u, Control(L"controlbar")->GetBorderColor());
    SendMessageW(dialogWindow_, CSettingDialog::kColorSchemeMessage, 9, 0);
    EXPECT_EQ(0xFFAE0000u, Control(L"main")->GetBkColor()) << "no scheme 9: colours stay";
}

// The menu commands open the dialog modally over the main window: "关于Lumora"
// on the about page, "配置中心" on the first; the main window takes no input
// meanwhile, and a second request does not stack another dialog.
TEST_F(SettingDialogTest, MenuCommandsOpenTheModalDialogOnTheirPage)
{
    struct Case
    {
        UINT command;
        int page;
    };
    for (const Case& c : { Case{ ID_MENU_ABOUT, 2 }, Case{ ID_MENU_SETTINGS, 0 } }) {
        int page = -1;
        bool aboutSelected = false, parentEnabled = true, nestedReturned = false;
        parent_->onTimer = [&] {
            HWND open = CSettingDialog::OpenWindow();
            ASSERT_NE(nullptr, open);
            for (int i = 0; i < ApplicationWindowList.GetSize(); ++i) {
                auto* manager = static_cast<CWindowManagerUI*>(ApplicationWindowList.GetAt(i));
                if (manager->GetPaintWindow() != open) continue;
                page = static_cast<CTabLayoutUI*>(manager->FindControl(L"tabView"))->GetCurSel();
                aboutSelected = static_cast<COptionUI*>(manager->FindControl(L"aboutus"))->IsSelected();
            }
            parentEnabled = IsWindowEnabled(Parent()) != FALSE;
            SendMessageW(Parent(), WM_COMMAND, ID_MENU_SETTINGS, 0);
            nestedReturned = true;
            PostMessageW(open, WM_SYSCOMMAND, SC_CLOSE, 0);
        };
        SetTimer(Parent(), 1, 50, nullptr);
        SendMessageW(Parent(), WM_COMMAND, c.command, 0); // returns when the dialog is closed
        parent_->onTimer = nullptr;
        EXPECT_EQ(c.page, page) << c.command;
        EXPECT_EQ(c.page == 2, aboutSelected) << c.command;
        EXPECT_FALSE(parentEnabled) << "modal to the main window";
        EXPECT_TRUE(nestedReturned) << "a second request while open returns at once";
        EXPECT_TRUE(IsWindowEnabled(Parent()));
        EXPECT_EQ(nullptr, CSettingDialog::OpenWindow());
        EXPECT_EQ(0, ApplicationWindowList.GetSize());
    }
}

// Quitting while the dialog is open (the tray's "退出" or the updater's quit
// request end the program's loop) leaves the dialog's window with its object
// for the program's end, which follows at once, and passes the quit on to the
// outer loop with the main window enabled again.
TEST_F(SettingDialogTest, QuitWhileOpenLeavesTheDialogToTheProgramsEnd)
{
    HWND seen = nullptr;
    parent_->onTimer = [&] {
        seen = CSettingDialog::OpenWindow();
        PostQuitMessage(7);
    };
    SetTimer(Parent(), 1, 50, nullptr);
    SendMessageW(Parent(), WM_COMMAND, ID_MENU_SETTINGS, 0);
    parent_->onTimer = nullptr;
    MSG quit = {};
    bool quitPassedOn = PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE) != FALSE;
    ASSERT_NE(nullptr, seen) << "the dialog was open when the quit came";
    EXPECT_TRUE(IsWindow(seen));
    // Its object still answers: it draws and takes messages as before.
    EXPECT_EQ(1, ApplicationWindowList.GetSize());
    SendMessageW(seen, WM_PAINT, 0, 0);
    EXPECT_TRUE(IsWindowEnabled(Parent()));
    EXPECT_TRUE(quitPassedOn);
    EXPECT_EQ(7u, quit.wParam);
    // This test program goes on: it takes the dialog down itself.
    DestroyWindow(seen);
    EXPECT_EQ(0, ApplicationWindowList.GetSize());
}

// Pixels of the window at a control's client rectangle that look blue: the
// selection images of the page list, check boxes and radio buttons.
int BluishPixels(const ScreenShot& pixels, POINT origin, const RECT& rc)
{
    int n = 0;
    for (int y = rc.top; y < rc.bottom; ++y) {
        for (int x = rc.left; x < rc.right; ++x) {
            COLORREF c = ColourAt(pixels, origin.x + x, origin.y + y);
            n += c != CLR_INVALID && GetBValue(c) > GetRValue(c) + 60 ? 1 : 0;
        }
    }
    return n;
}

// The dialog as the screen shows it: each page's option carries the selection
// bar on its left edge while the others do not, the pages look different, and
// the check boxes and radio buttons show the settings the dialog opened with.
TEST_F(SettingDialogTest, EachPageShowsOnScreenWithTheSettingsItOpenedWith)
{
    settings_->poweroffhour = 22;
    settings_->poweroffminute = 30;
    settings_->autorun = true;
    settings_->topwentv = false;
    settings_->quit = false;
    settings_->powerOffArmed = false;
    RunValueGuard guard;
    RunValueGuard::Put(true);
    ASSERT_NO_FATAL_FAILURE(OpenDialog());
    const wchar_t* const pages[] = { L"custom", L"timeauto", L"aboutus" };
    // A control's image area: the first 16 x 16 of it, 4 pixels down.
    auto imageOf = [&](LPCWSTR name) {
        RECT rc = Control(name)->GetPos();
        return RECT{ rc.left, rc.top + 4, rc.left + 16, rc.top + 20 };
    };
    auto leftEdgeOf = [&](LPCWSTR name) {
        RECT rc = Control(name)->GetPos();
        return RECT{ rc.left, rc.top, rc.left + 4, rc.bottom };
    };
    std::vector<std::vector<COLORREF>> pageLooks;
    for (int page = 0; page < 3; ++page) {
        Click(pages[page]);
        ASSERT_TRUE(PumpUntil([&] { return Page() == page; })) << page;
        POINT origin = {};
        RECT window = {};
        GetWindowRect(dialogWindow_, &window);
        ClientToScreen(dialogWindow_, &origin);
        origin.x -= window.left;
        origin.y -= window.top;
        // What the screen shows once the page has been painted there.
        std::unique_ptr<ScreenShot> shown;
        bool selectedShows = PumpUntil([&] {
            RedrawWindow(dialogWindow_, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
            shown = std::make_unique<ScreenShot>(dialogWindow_);
            return BluishPixels(*shown, origin, leftEdgeOf(pages[page])) > 0;
        });
        ASSERT_TRUE(selectedShows) << "no selection bar on page " << page << "'s option";
        for (int other = 0; other < 3; ++other) {
            if (other == page) continue;
            EXPECT_EQ(0, BluishPixels(*shown, origin, leftEdgeOf(pages[other]))) << page << " " << other;
        }
        if (page == 0) {
            EXPECT_GT(BluishPixels(*shown, origin, imageOf(L"autorun")), 50) << "checked";
            EXPECT_EQ(0, BluishPixels(*shown, origin, imageOf(L"topwentv"))) << "not checked";
            EXPECT_GT(BluishPixels(*shown, origin, imageOf(L"minimize")), 50) << "chosen";
            EXPECT_EQ(0, BluishPixels(*shown, origin, imageOf(L"exit"))) << "not chosen";
        }
        if (page == 1) {
            EXPECT_GT(BluishPixels(*shown, origin, imageOf(L"autooff")), 50) << "chosen";
            EXPECT_EQ(0, BluishPixels(*shown, origin, imageOf(L"autoshotdown"))) << "not chosen";
        }
        RECT tab = Control(L"tabView")->GetPos();
        std::vector<COLORREF> look;
        for (int y = tab.top; y < tab.bottom; ++y) {
            for (int x = tab.left; x < tab.right; ++x) look.push_back(ColourAt(*shown, origin.x + x, origin.y + y));
        }
        pageLooks.push_back(look);
    }
    EXPECT_NE(pageLooks[0], pageLooks[1]);
    EXPECT_NE(pageLooks[1], pageLooks[2]);
    EXPECT_NE(pageLooks[0], pageLooks[2]);
}

} // namespace

// Escape closes a drop-down of the power-off time and the first click on 确定
// then closes the dialog: nothing the drop-down had is left to swallow it. The
// clicks and the key come through the X display, as a user's do.
TEST_F(SettingDialogTest, FirstClickOnOkAfterEscapeClosedADropDownCounts)
{
    settings_->poweroffhour = 20;
    ASSERT_NO_FATAL_FAILURE(OpenDialog());
    // As while the dialog runs modal; enabled again however the test ends.
    EnableWindow(Parent(), FALSE);
    std::unique_ptr<void, void (*)(void*)> enableAgain(Parent(),
                                                       [](void* w) { EnableWindow(static_cast<HWND>(w), TRUE); });
    Click(L"timeauto");
    CComboUI* hour = Combo(L"hour");
    ASSERT_TRUE(PumpUntil([&] { return hour->IsVisible() && hour->GetWidth() > 0; }));
    SetForegroundWindow(dialogWindow_);
    ASSERT_TRUE(PumpUntil([&] { return GetForegroundWindow() == dialogWindow_; }));
    ASSERT_TRUE(XClickAt(dialogWindow_, CentreOf(hour)));
    ASSERT_TRUE(PumpUntil([&] { return hour->GetDropWindow() != nullptr; }));
    HWND drop = hour->GetDropWindow()->GetWindowHandle();
    const RECT view = hour->GetDropWindow()->GetLayout()->GetPos();
    const RECT row = hour->GetItemAt(20)->GetPos();
    EXPECT_TRUE(row.top >= view.top && row.bottom <= view.bottom) << "the drop-down opens on the set hour";
    ASSERT_TRUE(PumpUntil([&] { return GetFocus() == drop; }));
    ASSERT_TRUE(XKey(L"Escape"));
    ASSERT_TRUE(PumpUntil([&] { return !IsWindow(drop); }));
    EXPECT_EQ(20, hour->GetCurSel());
    EXPECT_EQ(dialogWindow_, GetForegroundWindow()) << "the dialog is the foreground window again";
    EXPECT_EQ(dialogWindow_, GetActiveWindow());
    EXPECT_EQ(dialogWindow_, GetFocus());
    EXPECT_EQ(nullptr, GetCapture());
    ASSERT_TRUE(XClickAt(dialogWindow_, CentreOf(Control(L"sure"))));
    EXPECT_TRUE(PumpUntil([&] { return Closed(); }));
}
