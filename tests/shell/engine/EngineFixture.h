// A running engine stand-in inside the test program, a plain top-level
// window that stands for the main window and records the client handler's
// messages, and helpers to act as the page.
#pragma once
#include <gtest/gtest.h>
#include <json/json.h>
#include <windows.h>

#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "CefClientHandler.h"

namespace engine_test {

// Dispatches this thread's messages until done() or the time is up.
bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs = 15000);
// Dispatches what is queued now, and what that queues in turn.
void DrainMessages();

// A page call (see cef_stand_in.h); returns the parsed answer.
Json::Value CallPage(int browserId, const std::string& call, const Json::Value& args = Json::Value(Json::arrayValue));

// Writes an HTML page with this title into the test's folder; returns its file:// address.
std::wstring WritePage(const std::wstring& name, const std::string& title);

// Presses a button of the message box with this title once it shows.
std::thread AnswerMessageBox(const std::wstring& title, int button);

class RecordingDelegate : public CefClientHandler::ProcessMessageDelegate
{
public:
    bool OnProcessMessageReceived(CefRefPtr<CefClientHandler> handler, CefRefPtr<CefBrowser> browser,
                                  CefProcessId source_process, CefRefPtr<CefProcessMessage> message) override
    {
        messages.push_back(message);
        return true;
    }
    std::vector<CefRefPtr<CefProcessMessage>> messages;
    IMPLEMENT_REFCOUNTING(RecordingDelegate);
};

// The real handler, with what it was told and what it would open recorded.
class TestHandler : public CefClientHandler
{
public:
    explicit TestHandler(CefRefPtr<ProcessMessageDelegate> delegate) : CefClientHandler(delegate) { }
    void OnAfterCreated(CefRefPtr<CefBrowser> browser) override
    {
        created.push_back(browser);
        CefClientHandler::OnAfterCreated(browser);
    }
    void OnLoadStart(CefRefPtr<CefBrowser> browser, CefRefPtr<CefFrame> frame) override
    {
        loadStarts.push_back(frame->GetURL().ToWString());
        CefClientHandler::OnLoadStart(browser, frame);
    }
    bool OnProcessMessageReceived(CefRefPtr<CefBrowser> browser, CefProcessId source_process,
                                  CefRefPtr<CefProcessMessage> message) override
    {
        if (message->GetName().ToString() == "DomComplete") ++domCompletes;
        return CefClientHandler::OnProcessMessageReceived(browser, source_process, message);
    }
    std::vector<CefRefPtr<CefBrowser>> created;
    std::vector<std::wstring> loadStarts;
    std::vector<std::wstring> systemOpens;
    int domCompletes = 0;

protected:
    void OpenInSystemBrowser(const std::wstring& url) override { systemOpens.push_back(url); }
};

// Stands for the main window: the handler's messages end up here.
class RootWindow
{
public:
    bool Create();
    void Destroy();
    HWND Handle() const { return window_; }
    int Count(UINT message, LPARAM lParam) const;
    int Count(UINT message) const;

private:
    static LRESULT CALLBACK WindowProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam);
    HWND window_ = nullptr;
    std::vector<std::pair<UINT, LPARAM>> received_;
};

class EngineTest : public ::testing::Test
{
protected:
    void SetUp() override;
    void TearDown() override;
    // Creates a browser as the main window does for a view and waits until it exists.
    CefRefPtr<CefBrowser> OpenView(const std::wstring& url, RECT rect = { 0, 0, 400, 300 });
    HWND BrowserWindow(CefRefPtr<CefBrowser> browser) { return browser->GetHost()->GetWindowHandle(); }

    RootWindow root_;
    CefRefPtr<RecordingDelegate> delegate_;
    CefRefPtr<TestHandler> handler_;
};

} // namespace engine_test
