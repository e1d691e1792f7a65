// The plug-in's stack handling against the installer's entry layout, and what
// InitWindow does when the skin cannot be found.
#include <gtest/gtest.h>

#include <string>

#include "FakeInstaller.h"
#include "FolderPageRestart.h"
#include "InstallWnd.h"
#include "NsisStack.h"
#include "PluginExports.h"
#include "PluginState.h"
#include "UnInstallWnd.h"

namespace {

TEST(NsisStack, PopsAndPushesInTheInstallersLayout)
{
    CFakeNsisStack fake;
    fake.Push(L"below");
    fake.Push(L"C:\\Program Files\\Lumora");
    CNsisStack stack(fake.Top(), CFakeNsisStack::kStringSize);
    wchar_t buffer[MAX_PATH];
    ASSERT_TRUE(stack.Pop(buffer, MAX_PATH));
    EXPECT_STREQ(buffer, L"C:\\Program Files\\Lumora");
    ASSERT_TRUE(stack.Push(L"pushed"));
    EXPECT_EQ(fake.Pop(), L"pushed");
    EXPECT_EQ(fake.Pop(), L"below");

    // An empty stack gives an empty text; pushes without a stack are dropped.
    wcscpy(buffer, L"stale");
    EXPECT_FALSE(stack.Pop(buffer, MAX_PATH));
    EXPECT_STREQ(buffer, L"");
    CNsisStack missing(nullptr, CFakeNsisStack::kStringSize);
    EXPECT_FALSE(missing.Pop(buffer, MAX_PATH));
    EXPECT_FALSE(missing.Push(L"x"));
    EXPECT_EQ(missing.PopLong(), 0);
}

TEST(NsisStack, NumbersAsTheScriptWritesThem)
{
    struct Case
    {
        const wchar_t* text;
        long value;
    } cases[] = {
        { L"1", 1 }, { L"0", 0 }, { L"-7", -7 }, { L"1234", 1234 }, { L"", 0 }, { L"abc", 0 }, { L"12ab", 12 }
    };
    for (const Case& c : cases) {
        CFakeNsisStack fake;
        fake.Push(c.text);
        EXPECT_EQ(CNsisStack(fake.Top(), CFakeNsisStack::kStringSize).PopLong(), c.value) << c.text;
        EXPECT_EQ(fake.Size(), 0u);
    }
}

TEST(NsisStack, TextsAreCutToTheBufferAndToTheStringSize)
{
    CFakeNsisStack fake;
    fake.Push(std::wstring(1000, L'x'));
    wchar_t small[8];
    CNsisStack(fake.Top(), CFakeNsisStack::kStringSize).Pop(small, 8);
    EXPECT_EQ(std::wstring(small), std::wstring(7, L'x'));

    // Pushed entries hold at most the installer's string size.
    CNsisStack(fake.Top(), 16).Push(std::wstring(100, L'y').c_str());
    EXPECT_EQ(fake.Pop(), std::wstring(15, L'y'));
}

// Runs first in this program: no window exists yet.
TEST(InitWindowWithoutSkin, CreatesNoWindowAndShowWndDoesNotHang)
{
    PluginState().moduleInstance = ::GetModuleHandleW(nullptr);
    CWindowManagerUI::SetInstance(::GetModuleHandleW(nullptr));
    CFakeNsisStack stack;
    CFakeExtraParameters extra(stack);
    CFakeInstallerWindow installer;
    // Paths far longer than the folder buffers must not overrun them.
    stack.Push(L"Z:\\no\\such\\skin\\folder" + std::wstring(900, L's'));
    stack.Push(L"12");
    stack.Push(L"C:\\" + std::wstring(900, L'f'));
    stack.Push(L"1");
    InitWindow(installer.Handle(), CFakeNsisStack::kStringSize, nullptr, stack.Top(), extra.Get());
    EXPECT_EQ(stack.Size(), 0u);
    EXPECT_EQ(wcslen(PluginState().defaultInstallFolder), static_cast<size_t>(MAX_PATH - 1));
    EXPECT_EQ(wcslen(PluginState().skinFolder), static_cast<size_t>(MAX_PATH - 1));
    EXPECT_EQ(PluginState().scriptCallbackAddress, 12);
    EXPECT_EQ(InstallWindow().GetWindowHandle(), nullptr);

    // Without a window nothing would ever end these loops: they return at once.
    ShowWnd(installer.Handle(), CFakeNsisStack::kStringSize, nullptr, stack.Top(), extra.Get());
    UninstallFin(installer.Handle(), CFakeNsisStack::kStringSize, nullptr, stack.Top(), extra.Get());

    // An empty stack gives mode 0 (uninstall) and empty folders.
    InitWindow(installer.Handle(), CFakeNsisStack::kStringSize, nullptr, stack.Top(), extra.Get());
    EXPECT_EQ(PluginState().installerMode, 0);
    EXPECT_STREQ(PluginState().defaultInstallFolder, L"");
    EXPECT_EQ(UnInstallWindow().GetWindowHandle(), nullptr);

    // Nothing is pushed without a known stack.
    PluginState().stackTop = nullptr;
    GetSetupData(installer.Handle(), CFakeNsisStack::kStringSize, nullptr, stack.Top(), extra.Get());
    EXPECT_EQ(stack.Size(), 0u);
}

// A failed install hands its two options to the installer it starts again; the
// option it writes is the one that installer reads, whatever the options were.
TEST(FolderPageRestart, TheOptionWrittenIsTheOneRead)
{
    CFakeNsisStack stack;
    CFakeExtraParameters extra(stack);
    TPluginState& state = PluginState();
    const TPluginState saved = state;
    const std::wstring prefix = CFolderPageRestart::kOption;
    for (BYTE mainPage : { 0, 1 }) {
        for (BYTE afterRun : { 0, 1 }) {
            SCOPED_TRACE(std::to_string(mainPage) + std::to_string(afterRun));
            state.setupFlagMainPage = mainPage;
            state.setupFlagAfterRun = afterRun;
            FolderPageOption(nullptr, CFakeNsisStack::kStringSize, nullptr, stack.Top(), extra.Get());
            ASSERT_EQ(stack.Size(), 1u);
            const std::wstring option = stack.Pop();
            ASSERT_EQ(option.compare(0, prefix.size(), prefix), 0) << testing::PrintToString(option);

            state.setupFlagMainPage = 1 - mainPage;
            state.setupFlagAfterRun = 1 - afterRun;
            state.openOnFolderPage = false;
            stack.Push(option.substr(prefix.size()));
            OpenOnFolderPage(nullptr, CFakeNsisStack::kStringSize, nullptr, stack.Top(), extra.Get());
            EXPECT_EQ(stack.Size(), 0u);
            EXPECT_EQ(state.setupFlagMainPage, mainPage);
            EXPECT_EQ(state.setupFlagAfterRun, afterRun);
            EXPECT_TRUE(state.openOnFolderPage);
            // The plug-in stays loaded until the window reads the choice.
            EXPECT_NE(extra.Calls().registeredCallback, nullptr);
        }
    }
    state.setupFlagMainPage = saved.setupFlagMainPage;
    state.setupFlagAfterRun = saved.setupFlagAfterRun;
    state.openOnFolderPage = saved.openOnFolderPage;
}

// Anything else given with the option is no choice at all: the installer
// starts as it always does, with its options at their defaults.
TEST(FolderPageRestart, AnyOtherValueChangesNothing)
{
    const wchar_t* const kValues[] = { L"", L"1", L"111", L"2", L"21", L"1 ", L" 10", L"x0", L"01/S", L"\x0661\x0660" };
    for (const wchar_t* pstrValue : kValues) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(pstrValue)));
        TPluginState state;
        state.setupFlagMainPage = 1;
        state.setupFlagAfterRun = 1;
        EXPECT_FALSE(CFolderPageRestart::Apply(pstrValue, state));
        EXPECT_FALSE(state.openOnFolderPage);
        EXPECT_EQ(state.setupFlagMainPage, 1);
        EXPECT_EQ(state.setupFlagAfterRun, 1);
    }
}

} // namespace
