// The built LumoraPlugin.dll as an installer loads it: plain export names, the
// stack handed across the boundary, its window and the progress relay.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <string>

#include "FakeInstaller.h"

namespace {

const char* const kExports[] = { "InitWindow", "ShowWnd",      "StartInstall",     "StartUnInstall", "UninstallFin",
                                 "UserCancel", "GetSetupData", "LumoraTerminater", "fnNsisPlugin" };

class PluginDllTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        s_dll = ::LoadLibraryW((std::wstring(LUMORA_TEST_BIN_DIR) + L"\\LumoraPlugin.dll").c_str());
    }

    void SetUp() override { ASSERT_NE(s_dll, nullptr); }

    static NsisPluginFunction Function(const char* name)
    {
        return reinterpret_cast<NsisPluginFunction>(::GetProcAddress(s_dll, name));
    }

    static HMODULE s_dll;
};

HMODULE PluginDllTest::s_dll = nullptr;

TEST_F(PluginDllTest, ExportsCarryPlainNames)
{
    for (const char* name : kExports) EXPECT_NE(::GetProcAddress(s_dll, name), nullptr) << name;
    auto fn = reinterpret_cast<int (*)()>(::GetProcAddress(s_dll, "fnNsisPlugin"));
    ASSERT_NE(fn, nullptr);
    EXPECT_EQ(fn(), 42);
    EXPECT_NE(::GetProcAddress(s_dll, "nNsisPlugin"), nullptr);
}

TEST_F(PluginDllTest, InstallerDrivesTheDllsWindowAndProgress)
{
    CFakeNsisStack stack;
    CFakeExtraParameters extra(stack);
    CFakeInstallerWindow installer;

    // Before InitWindow the plug-in knows no stack and pushes nothing.
    Function("GetSetupData")(installer.Handle(), CFakeNsisStack::kStringSize, nullptr, stack.Top(), extra.Get());
    EXPECT_EQ(stack.Size(), 0u);

    stack.Push(LUMORA_TEST_BIN_DIR);
    stack.Push(L"3");
    stack.Push(L"C:\\Program Files\\Lumora");
    stack.Push(L"1");
    Function("InitWindow")(installer.Handle(), CFakeNsisStack::kStringSize, nullptr, stack.Top(), extra.Get());
    EXPECT_EQ(stack.Size(), 0u);
    EXPECT_EQ(extra.Calls().registeredModule, s_dll);
    HWND hWnd = ::FindWindowW(L"Lumora", L"安装Lumora");
    ASSERT_NE(hWnd, nullptr);
    EXPECT_EQ(reinterpret_cast<HINSTANCE>(::GetWindowLongPtrW(hWnd, GWLP_HINSTANCE)), s_dll);
    RECT rc = {};
    ::GetWindowRect(hWnd, &rc);
    EXPECT_EQ(rc.right - rc.left, 550);
    EXPECT_EQ(rc.bottom - rc.top, 359);

    stack.Push(L"ignored");
    Function("StartInstall")(installer.Handle(), CFakeNsisStack::kStringSize, nullptr, stack.Top(), extra.Get());
    ::SendMessageW(installer.ProgressBar(), PBM_SETPOS, 30000, 0);
    EXPECT_EQ(installer.CountCommand(IDOK), 1);

    Function("GetSetupData")(installer.Handle(), CFakeNsisStack::kStringSize, nullptr, stack.Top(), extra.Get());
    ASSERT_EQ(stack.Size(), 2u);
    EXPECT_EQ(stack.Pop(), L"1");
    EXPECT_EQ(stack.Pop(), L"1");
}

} // namespace
