// The frame of the tests that run lumoraupd.exe end to end: the loopback
// update server named by run_with_server.sh, a fresh program folder, the
// temporary run folder the updater is started from, and the processes a test
// started, ended with it.
#pragma once

#include <gtest/gtest.h>

#include <windows.h>

#include <string>

class UpdaterRunTest : public ::testing::Test
{
protected:
    static const DWORD kRunLimitMs = 40000;

    // Points the updater at the test server and makes the program folder
    // `<temp>\<baseName>\program\` anew.
    void PrepareRun(const wchar_t* baseName);
    void TearDown() override;

    static void EndProcess(PROCESS_INFORMATION& process);
    std::string ServerUrl(const std::string& name) const;
    // Starts the updater with `arguments` from its run folder, made on the
    // first start; an updater of an earlier start is ended first.
    void StartUpdater(const std::wstring& arguments);
    bool UpdaterEnds(DWORD limitMs = kRunLimitMs);
    // Starts the "lumora.exe" of the program folder and waits for its main
    // window.
    void LaunchMainStub();

    // The first top-level window of the process (0: any process) with this
    // class and this window property (null: any), visible when asked.
    static HWND FindProcessWindow(DWORD processId, const wchar_t* className, const wchar_t* property, bool visibleOnly);
    // Waits for such a window of the updater; null when the updater ends
    // first or the time is up.
    HWND WaitForUpdaterWindow(const wchar_t* className, const wchar_t* property, bool visibleOnly,
                              DWORD limitMs = kRunLimitMs);

    std::wstring m_port;
    std::wstring m_serverRoot;
    std::wstring m_temp;
    std::wstring m_program;
    std::wstring m_runFolder;
    PROCESS_INFORMATION m_updater = {};
    PROCESS_INFORMATION m_mainStub = {};
};
