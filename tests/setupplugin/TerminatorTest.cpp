// The terminator against a real process whose file name differs from
// "Lumora.exe" only in letter case and that ignores the quit request.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "FakeInstaller.h"
#include "MainProgramTerminator.h"
#include "PluginExports.h"
#include "UserLauncher.h"

#include <tlhelp32.h>

#include <map>
#include <thread>
#include <utility>

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

// The log the stub writes its quit requests to, in the current folder, not there yet.
std::wstring StubLogPath(const wchar_t* pstrName)
{
    wchar_t folder[MAX_PATH] = {};
    ::GetCurrentDirectoryW(MAX_PATH, folder);
    const std::wstring log = std::wstring(folder) + L"\\" + pstrName;
    ::DeleteFileW(log.c_str());
    return log;
}

// Starts the stub main program; true once its marked window is there, waited for.
bool StartStub(const std::wstring& log, const wchar_t* pstrMode, PROCESS_INFORMATION& pi)
{
    std::wstring cmd = L"LUMORA.exe " + std::wstring(pstrMode) + log;
    STARTUPINFOW si = { sizeof(si) };
    if (!::CreateProcessW(L"LUMORA.exe", &cmd[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) return false;
    for (int i = 0; i < 200 && FindMarkedWindowOf(pi.dwProcessId) == nullptr; i++) ::Sleep(50);
    return FindMarkedWindowOf(pi.dwProcessId) != nullptr;
}

TEST(MainProgramTerminator, AsksTheMarkedWindowToQuitThenKillsByNameIgnoringCase)
{
    EXPECT_EQ(CMainProgramTerminator::FindProcessIdByNameNoCase(L"Lumora.exe"), CMainProgramTerminator::kNoProcess);

    const std::wstring log = StubLogPath(L"terminator_stub.log");
    PROCESS_INFORMATION pi = {};
    ASSERT_TRUE(StartStub(log, L"", pi));
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

// A main program whose window never answers does not hold the installer: the
// quit request gives up and the program is ended by name.
TEST(MainProgramTerminator, AMainProgramThatDoesNotAnswerIsEndedAllTheSame)
{
    const std::wstring log = StubLogPath(L"terminator_hung_stub.log");
    PROCESS_INFORMATION pi = {};
    ASSERT_TRUE(StartStub(log, L"hung ", pi));
    ASSERT_NE(FindMarkedWindowOf(pi.dwProcessId), nullptr);

    std::thread terminator([]() { LumoraTerminater(nullptr, 1024, nullptr, nullptr, nullptr); });
    const bool bEnded = ::WaitForSingleObject(pi.hProcess, 30000) == WAIT_OBJECT_0;
    if (!bEnded) ::TerminateProcess(pi.hProcess, 1);
    terminator.join();
    EXPECT_TRUE(bEnded) << "the installer waited on a window that never answers";
    EXPECT_EQ(::GetFileAttributesW(log.c_str()), INVALID_FILE_ATTRIBUTES) << "the hung window answered";
    ::CloseHandle(pi.hThread);
    ::CloseHandle(pi.hProcess);
}

TEST(MainProgramTerminator, WithoutAMainProgramItOnlyWaits)
{
    EXPECT_FALSE(CMainProgramTerminator::CloseMarkedMainWindow());
    LumoraTerminater(nullptr, 1024, nullptr, nullptr, nullptr);
    EXPECT_EQ(CMainProgramTerminator::FindProcessIdByNameNoCase(L"Lumora.exe"), CMainProgramTerminator::kNoProcess);
}

// A process's parent id and the parent's file name.
std::pair<DWORD, std::wstring> ParentOf(DWORD pid)
{
    HANDLE hSnapshot = ::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    PROCESSENTRY32W entry = {};
    entry.dwSize = sizeof(entry);
    std::map<DWORD, std::pair<DWORD, std::wstring>> processes;
    for (BOOL bMore = ::Process32FirstW(hSnapshot, &entry); bMore; bMore = ::Process32NextW(hSnapshot, &entry))
        processes[entry.th32ProcessID] = { entry.th32ParentProcessID, entry.szExeFile };
    ::CloseHandle(hSnapshot);
    DWORD parent = processes[pid].first;
    return { parent, processes.count(parent) != 0 ? processes[parent].second : std::wstring() };
}

// The program started at the end of an install runs as the user where the
// desktop shell can start it: then it is the shell's child, not the installer's.
// Otherwise it is started directly; either way it runs from its own folder.
TEST(MainProgramTerminator, TheProgramIsStartedByTheShellWhereItCanBeAsked)
{
    wchar_t folder[MAX_PATH] = {};
    ::GetCurrentDirectoryW(MAX_PATH, folder);
    const std::wstring program = std::wstring(folder) + L"\\LUMORA.exe";
    EXPECT_EQ(CUserLauncher::Launch(std::wstring(folder) + L"\\no such program.exe"), CUserLauncher::NotStarted);
    CUserLauncher::TWay way = CUserLauncher::Launch(program);
    ASSERT_NE(way, CUserLauncher::NotStarted);
    DWORD pid = CMainProgramTerminator::kNoProcess;
    for (int i = 0; i < 400 && pid == CMainProgramTerminator::kNoProcess; i++) {
        pid = CMainProgramTerminator::FindProcessIdByNameNoCase(L"Lumora.exe");
        if (pid == CMainProgramTerminator::kNoProcess) ::Sleep(50);
    }
    ASSERT_NE(pid, CMainProgramTerminator::kNoProcess);
    RecordProperty("way", way == CUserLauncher::StartedByShell ? "shell" : "direct");
    std::printf("started %s\n", way == CUserLauncher::StartedByShell ? "by the shell" : "directly");
    const auto parent = ParentOf(pid);
    if (way == CUserLauncher::StartedByShell) {
        EXPECT_NE(parent.first, ::GetCurrentProcessId());
        EXPECT_EQ(_wcsicmp(parent.second.c_str(), L"explorer.exe"), 0) << testing::PrintToString(parent.second);
    } else {
        EXPECT_EQ(parent.first, ::GetCurrentProcessId());
    }
    if (HANDLE hProcess = ::OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, pid)) {
        ::TerminateProcess(hProcess, 0);
        ::WaitForSingleObject(hProcess, 5000);
        ::CloseHandle(hProcess);
    }
}

} // namespace
