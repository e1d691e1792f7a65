// The terminator against a real process whose file name differs from
// "Lumora.exe" only in letter case and that ignores the quit request.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "FakeInstaller.h"
#include "MainProgramTerminator.h"
#include "PluginExports.h"

namespace {

HWND FindMarkedWindowOf(DWORD pid)
{
    for (HWND hWnd = ::GetWindow(::GetDesktopWindow(), GW_CHILD); hWnd != nullptr;
         hWnd = ::GetWindow(hWnd, GW_HWNDNEXT)) {
        DWORD owner = 0;
        ::GetWindowThreadProcessId(hWnd, &owner);
        if (owner == pid && ::GetPropW(hWnd, L"lumora") != nullptr) return hWnd;
    }
    return nullptr;
}

TEST(MainProgramTerminator, AsksTheMarkedWindowToQuitThenKillsByNameIgnoringCase)
{
    EXPECT_EQ(CMainProgramTerminator::FindProcessIdByNameNoCase(L"Lumora.exe"), CMainProgramTerminator::kNoProcess);

    wchar_t folder[MAX_PATH] = {};
    ::GetCurrentDirectoryW(MAX_PATH, folder);
    std::wstring log = std::wstring(folder) + L"\\terminator_stub.log";
    ::DeleteFileW(log.c_str());
    std::wstring cmd = L"LUMORA.exe " + log;
    STARTUPINFOW si = { sizeof(si) };
    PROCESS_INFORMATION pi = {};
    ASSERT_TRUE(::CreateProcessW(L"LUMORA.exe", &cmd[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi));
    ::WaitForInputIdle(pi.hProcess, 10000);
    for (int i = 0; i < 200 && FindMarkedWindowOf(pi.dwProcessId) == nullptr; i++) ::Sleep(50);
    ASSERT_NE(FindMarkedWindowOf(pi.dwProcessId), nullptr);
    EXPECT_EQ(CMainProgramTerminator::FindProcessIdByNameNoCase(L"Lumora.exe"), pi.dwProcessId);

    LumoraTerminater(nullptr, 1024, nullptr, nullptr, nullptr);

    EXPECT_EQ(::WaitForSingleObject(pi.hProcess, 10000), WAIT_OBJECT_0);
    EXPECT_EQ(CMainProgramTerminator::FindProcessIdByNameNoCase(L"Lumora.exe"), CMainProgramTerminator::kNoProcess);
    FILE* f = _wfopen(log.c_str(), L"r");
    char text[64] = {};
    if (f != nullptr) {
        fgets(text, sizeof(text), f);
        fclose(f);
    }
    std::string line(text);
    if (!line.empty() && line.back() == '\n') line.pop_back();
    EXPECT_EQ(line, "F060 800");
    if (::WaitForSingleObject(pi.hProcess, 0) != WAIT_OBJECT_0) ::TerminateProcess(pi.hProcess, 1);
    ::CloseHandle(pi.hThread);
    ::CloseHandle(pi.hProcess);
    ::DeleteFileW(log.c_str());
}

TEST(MainProgramTerminator, WithoutAMainProgramItOnlyWaits)
{
    EXPECT_FALSE(CMainProgramTerminator::CloseMarkedMainWindow());
    LumoraTerminater(nullptr, 1024, nullptr, nullptr, nullptr);
    EXPECT_EQ(CMainProgramTerminator::FindProcessIdByNameNoCase(L"Lumora.exe"), CMainProgramTerminator::kNoProcess);
}

} // namespace
