// Start-up of lumora.exe end to end: single instance, engine sub-processes and
// an engine library that does not match.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "AppPaths.h"
#include "TestProgramFolder.h"

namespace {

const DWORD kWaitMs = 15000;

// A program folder of the tests' own: lumora.exe starts "lumoraupd.exe" beside
// it, and the real updater in the build's program folder must not run here.
const TestProgramFolder& ProgramFolder()
{
    static TestProgramFolder folder(L"startup", { L"home.html", L"tv.html", L"playing.html" });
    return folder;
}

std::wstring LumoraExe()
{
    return ProgramFolder().File(L"lumora.exe");
}

struct Child
{
    PROCESS_INFORMATION pi{};
    bool started = false;
    ~Child()
    {
        if (!started) return;
        if (WaitForSingleObject(pi.hProcess, 0) == WAIT_TIMEOUT) TerminateProcess(pi.hProcess, 99);
        CloseHandle(pi.hProcess);
        CloseHandle(pi.hThread);
    }
    DWORD WaitExit(DWORD ms = kWaitMs)
    {
        if (WaitForSingleObject(pi.hProcess, ms) != WAIT_OBJECT_0) return STILL_ACTIVE;
        DWORD code = 0;
        GetExitCodeProcess(pi.hProcess, &code);
        return code;
    }
};

void Start(Child& child, const std::wstring& args = L"", const wchar_t* env = nullptr)
{
    std::wstring cmd = L"\"" + LumoraExe() + L"\"" + (args.empty() ? L"" : L" " + args);
    STARTUPINFOW si{};
    si.cb = sizeof(si);
    std::wstring dir = ProgramFolder().Path();
    ASSERT_TRUE(CreateProcessW(nullptr, &cmd[0], nullptr, nullptr, FALSE, env ? CREATE_UNICODE_ENVIRONMENT : 0,
                               (void*)env, dir.c_str(), &si, &child.pi));
    child.started = true;
}

HWND FindMainWindow()
{
    for (HWND wnd = GetWindow(GetDesktopWindow(), GW_CHILD); IsWindow(wnd); wnd = GetWindow(wnd, GW_HWNDNEXT))
        if (GetPropW(wnd, L"lumora")) return wnd;
    return nullptr;
}

HWND WaitForMainWindow()
{
    for (DWORD waited = 0; waited < kWaitMs; waited += 50) {
        if (HWND wnd = FindMainWindow()) return wnd;
        Sleep(50);
    }
    return nullptr;
}

// Environment block of this process with one more variable.
std::wstring EnvironmentWith(const std::wstring& assignment)
{
    std::wstring block;
    wchar_t* env = GetEnvironmentStringsW();
    for (const wchar_t* p = env; *p; p += wcslen(p) + 1) block.append(p).push_back(L'\0');
    FreeEnvironmentStringsW(env);
    block.append(assignment).push_back(L'\0');
    block.push_back(L'\0');
    return block;
}

class RunningLumora : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_EQ(FindMainWindow(), nullptr) << "a lumora.exe from elsewhere is running";
        Start(first_);
        main_ = WaitForMainWindow();
        ASSERT_NE(main_, nullptr);
        // The window carries its property before the program shows it.
        for (DWORD waited = 0; waited < kWaitMs && !IsWindowVisible(main_); waited += 50) Sleep(50);
    }
    void TearDown() override
    {
        // The quit request: a plain close only hides the window in the notification area.
        if (IsWindow(main_)) PostMessageW(main_, WM_SYSCOMMAND, SC_CLOSE, 0x800);
        EXPECT_EQ(first_.WaitExit(), 0u) << "closing the main window ends the program cleanly";
    }
    Child first_;
    HWND main_ = nullptr;
};

TEST_F(RunningLumora, MainWindowHasTheSizeAndTitleOfTheProgram)
{
    RECT rc;
    GetWindowRect(main_, &rc);
    EXPECT_EQ(rc.right - rc.left, 1132);
    EXPECT_EQ(rc.bottom - rc.top, 750);
    wchar_t title[64] = {};
    GetWindowTextW(main_, title, 64);
    EXPECT_STREQ(title, L"Lumora");
}

TEST_F(RunningLumora, SecondStartShowsTheHiddenWindowAndExits)
{
    ShowWindow(main_, SW_HIDE);
    ASSERT_FALSE(IsWindowVisible(main_));
    Child second;
    Start(second);
    EXPECT_EQ(second.WaitExit(), 0u);
    EXPECT_TRUE(IsWindowVisible(main_));
}

TEST_F(RunningLumora, SecondStartRestoresAMinimisedWindow)
{
    SendMessageW(main_, WM_SYSCOMMAND, SC_MINIMIZE, 0);
    ASSERT_TRUE(IsIconic(main_));
    Child second;
    Start(second);
    EXPECT_EQ(second.WaitExit(), 0u);
    for (int i = 0; i < 40 && IsIconic(main_); ++i) Sleep(50);
    EXPECT_FALSE(IsIconic(main_));
}

TEST_F(RunningLumora, EngineSubProcessNeverReachesTheSingleInstanceCheck)
{
    ShowWindow(main_, SW_HIDE);
    Child renderer;
    Start(renderer, L"--type=renderer --lang=zh-CN");
    EXPECT_EQ(renderer.WaitExit(), 0u);
    // A second instance would have shown the window again.
    EXPECT_FALSE(IsWindowVisible(main_));
}

TEST(LumoraStartup, MismatchedEngineLibraryEndsWithAnErrorAndNoWindow)
{
    ASSERT_EQ(FindMainWindow(), nullptr);
    std::wstring env = EnvironmentWith(L"LUMORA_CEF_LIBRARY_HASH=0000000000000000000000000000000000000000");
    Child child;
    Start(child, L"", env.c_str());
    DWORD code = child.WaitExit();
    EXPECT_NE(code, 0u);
    EXPECT_NE(code, (DWORD)STILL_ACTIVE);
    EXPECT_EQ(FindMainWindow(), nullptr);
}

TEST(AppPaths, SiblingFilesReplaceTheFileNameWhateverTheProgramIsCalled)
{
    struct Case
    {
        const wchar_t* module;
        const wchar_t* file;
        const wchar_t* expected;
    };
    const Case cases[] = {
        { L"C:\\Program Files\\Lumora\\lumora.exe", L"cfg.db", L"C:\\Program Files\\Lumora\\cfg.db" },
        { L"C:\\Lumora\\LUMORA.EXE", L"cfg.db", L"C:\\Lumora\\cfg.db" },
        { L"C:\\lumora.exe.d\\lumora.exe", L"skin\\skin.sk", L"C:\\lumora.exe.d\\skin\\skin.sk" },
        { L"D:\\tools\\player.exe", L"lumoraupd.exe", L"D:\\tools\\lumoraupd.exe" },
        { L"lumora.exe", L"cfg.db", L"cfg.db" },
    };
    for (const Case& c : cases) EXPECT_EQ(SiblingPath(c.module, c.file), c.expected) << c.module;
}

} // namespace
