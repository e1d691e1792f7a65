#include "UpdaterRunTest.h"

#include "AppDirectory.h"
#include "SelfRelocation.h"
#include "UpdaterTestSupport.h"

const DWORD UpdaterRunTest::kRunLimitMs;

void UpdaterRunTest::PrepareRun(const wchar_t* baseName)
{
    m_port = Env(L"LUMORA_TEST_HTTP_PORT");
    m_serverRoot = WithTrailingSlash(Env(L"LUMORA_TEST_HTTP_ROOT"));
    ASSERT_FALSE(m_port.empty()) << "run through run_with_server.sh";
    SetEnvironmentVariableW(L"LUMORA_UPDATE_SERVER", (L"127.0.0.1:" + m_port).c_str());
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
