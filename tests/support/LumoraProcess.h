#pragma once
#include <windows.h>

#include <string>
#include <vector>

namespace Json {
class Value;
}

// One lumora.exe started from a test program folder, with the probes the
// tests use: its main window (found by the window property "lumora"), its
// browsers (asked through the engine stand-in's page channel) and its exit.
class LumoraProcess
{
public:
    struct Browser
    {
        int id = 0;
        std::wstring url;
        bool popup = false;
    };

    LumoraProcess() = default;
    LumoraProcess(const LumoraProcess&) = delete;
    LumoraProcess& operator=(const LumoraProcess&) = delete;
    // Ends a process the test left running.
    ~LumoraProcess();

    bool Start(const std::wstring& folder);
    // The main window once it carries its property; null after the timeout.
    HWND WaitForMainWindow();
    HWND MainWindow() const { return mainWindow_; }
    DWORD ProcessId() const { return info_.dwProcessId; }
    // The exit code, or STILL_ACTIVE when the process did not end in time.
    DWORD WaitExit(DWORD timeoutMs);
    bool Running() const;
    std::vector<Browser> Browsers() const;
    // The page of the first browser that shows a portal page (a "file:///"
    // page of the folder) calls app.sendMessage(name, args); args is
    // a JSON array as a page would pass it. False when the call did not run.
    bool SendPageMessage(const std::string& name, const std::string& jsonArgs) const;
    // The same with the arguments as a JSON array value.
    bool SendPageMessageArgs(const std::string& name, const Json::Value& args) const;
    // The same from a frame of this address inside the page; the answer as
    // the engine gives it ({"exception": ...} when the page got an error),
    // or null when the call could not be made.
    Json::Value SendPageMessageFromFrame(const std::string& frame, const std::string& name,
                                         const Json::Value& args) const;

private:
    int PortalBrowser() const;

    PROCESS_INFORMATION info_ = {};
    HWND mainWindow_ = nullptr;
};

// The engine stand-in's browser windows inside the main window.
std::vector<HWND> BrowserWindows(HWND main);
// The one browser window shown in the main window, in its client coordinates;
// false when none or more than one is. A browser starts as a visible window
// without size until its view takes it.
bool ShownBrowserRect(HWND main, RECT* rect);

// Polls until the condition holds, pumping this thread's messages; false on timeout.
template <class Condition> bool WaitUntil(Condition condition, DWORD timeoutMs = 15000)
{
    for (DWORD waited = 0;; waited += 50) {
        if (condition()) return true;
        if (waited >= timeoutMs) return false;
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
        Sleep(50);
    }
}
