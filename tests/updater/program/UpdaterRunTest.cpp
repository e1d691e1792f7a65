#include "UpdaterRunTest.h"

#include "AppDirectory.h"
#include "SelfRelocation.h"
#include "TestProcesses.h"
#include "UpdaterTestSupport.h"

const DWORD UpdaterRunTest::kRunLimitMs;

namespace {

struct WindowSearch
{
    DWORD processId; // 0: any process
    const wchar_t* className;
    const wchar_t* property;
    bool visibleOnly;
    HWND found;
};

BOOL CALLBACK MatchWindow(HWND window, LPARAM parameter)
{
    WindowSearch* search = reinterpret_cast<WindowSearch*>(parameter);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (search->processId && owner != search->processId) return TRUE;
    wchar_t className[64] = {};
    GetClassNameW(window, className, 64);
    if (search->className && wcscmp(className, search->className) != 0) return TRUE;
    if (search->visibleOnly && !IsWindowVisible(window)) return TRUE;
    if (search->property && !GetPropW(window, search->property)) return TRUE;
    search->found = window;
    return FALSE;
}

} // namespace

void UpdaterRunTest::PrepareRun(const wchar_t* baseName)
{
    ASSERT_TRUE(UseTestUpdateServer(m_port, m_serverRoot)) << "run through run_with_server.sh";
    m_temp = TemporaryDirectory();
    std::wstring base = m_temp + baseName + L"\\";
    CreateDirectoryW(base.c_str(), nullptr);
    m_program = base + L"program\\";
    RemoveTree(m_program);
    ASSERT_TRUE(CreateDirectoryW(m_program.c_str(), nullptr));
}

void UpdaterRunTest::TearDown()
{
    EndProcess(m_updater);
    EndProcess(m_mainStub);
    // Stubs the updater started live far longer than a test: they end with it.
    if (!m_program.empty()) KillProcessesUnder(m_program);
    if (!m_runFolder.empty()) RemoveTree(m_runFolder);
}

void UpdaterRunTest::EndProcess(PROCESS_INFORMATION& process)
{
    if (!process.hProcess) return;
    if (WaitForSingleObject(process.hProcess, 0) == WAIT_TIMEOUT) TerminateProcess(process.hProcess, 1);
    WaitForSingleObject(process.hProcess, 5000);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    process = PROCESS_INFORMATION();
}

std::string UpdaterRunTest::ServerUrl(const std::string& name) const
{
    return "http://127.0.0.1:" + Narrow(m_port) + "/lumo/2014/" + name;
}

void UpdaterRunTest::StartUpdater(const std::wstring& arguments)
{
    if (m_runFolder.empty()) {
        m_runFolder = CreateRunFolder(m_temp);
        ASSERT_FALSE(m_runFolder.empty());
        ASSERT_TRUE(
            CopyFileW(LUMORA_TEST_UPDATER_DIR L"\\lumoraupd.exe", (m_runFolder + L"lumoraupd.exe").c_str(), FALSE));
        ASSERT_TRUE(WriteRunConfig(m_runFolder, m_program));
    }
    EndProcess(m_updater);
    std::wstring line = L"\"" + m_runFolder + L"lumoraupd.exe\" " + arguments;
    STARTUPINFOW startup = { sizeof(startup) };
    ASSERT_TRUE(CreateProcessW(nullptr, &line[0], nullptr, nullptr, FALSE, 0, nullptr, m_runFolder.c_str(), &startup,
                               &m_updater));
}

bool UpdaterRunTest::UpdaterEnds(DWORD limitMs)
{
    return WaitForSingleObject(m_updater.hProcess, limitMs) == WAIT_OBJECT_0;
}

void UpdaterRunTest::LaunchMainStub()
{
    std::wstring line = L"\"" + m_program + L"lumora.exe\"";
    STARTUPINFOW startup = { sizeof(startup) };
    ASSERT_TRUE(CreateProcessW(nullptr, &line[0], nullptr, nullptr, FALSE, 0, nullptr, m_program.c_str(), &startup,
                               &m_mainStub));
    HWND found = nullptr;
    for (int i = 0; i < 200 && !found; ++i) {
        Sleep(50);
        found = FindProcessWindow(m_mainStub.dwProcessId, nullptr, L"lumora", false);
    }
    ASSERT_NE(nullptr, found);
}

HWND UpdaterRunTest::FindProcessWindow(DWORD processId, const wchar_t* className, const wchar_t* property,
                                       bool visibleOnly)
{
    WindowSearch search = { processId, className, property, visibleOnly, nullptr };
    EnumWindows(MatchWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND UpdaterRunTest::WaitForUpdaterWindow(const wchar_t* className, const wchar_t* property, bool visibleOnly,
                                          DWORD limitMs)
{
    HWND found = nullptr;
    for (DWORD waited = 0; waited < limitMs && !found; waited += 50) {
        if (WaitForSingleObject(m_updater.hProcess, 50) == WAIT_OBJECT_0) break;
        found = FindProcessWindow(m_updater.dwProcessId, className, property, visibleOnly);
    }
    return found;
}
