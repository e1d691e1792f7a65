#include "LumoraProcess.h"

#include <json/json.h>

#include <cwchar>
#include <memory>

#include "PageCallClient.h"

namespace {

const DWORD kStartTimeoutMs = 20000;

std::wstring FromUtf8(const std::string& text)
{
    if (text.empty()) return std::wstring();
    int size = MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring out(static_cast<size_t>(size), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), &out[0], size);
    return out;
}

} // namespace

LumoraProcess::~LumoraProcess()
{
    if (!info_.hProcess) return;
    if (WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT) {
        TerminateProcess(info_.hProcess, 99);
        WaitForSingleObject(info_.hProcess, 5000);
    }
    CloseHandle(info_.hProcess);
    CloseHandle(info_.hThread);
}

bool LumoraProcess::Start(const std::wstring& folder)
{
    std::wstring command = L"\"" + folder + L"\\lumora.exe\"";
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    return CreateProcessW(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(), &startup,
                          &info_) != FALSE;
}

HWND LumoraProcess::WaitForMainWindow()
{
    WaitUntil(
        [this] {
            for (HWND wnd = GetWindow(GetDesktopWindow(), GW_CHILD); IsWindow(wnd); wnd = GetWindow(wnd, GW_HWNDNEXT)) {
                DWORD owner = 0;
                GetWindowThreadProcessId(wnd, &owner);
                if (owner == info_.dwProcessId && GetPropW(wnd, L"lumora")) {
                    mainWindow_ = wnd;
                    return true;
                }
            }
            return false;
        },
        kStartTimeoutMs);
    return mainWindow_;
}

DWORD LumoraProcess::WaitExit(DWORD timeoutMs)
{
    if (WaitForSingleObject(info_.hProcess, timeoutMs) != WAIT_OBJECT_0) return STILL_ACTIVE;
    DWORD code = 0;
    GetExitCodeProcess(info_.hProcess, &code);
    return code;
}

bool LumoraProcess::Running() const
{
    return info_.hProcess && WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT;
}

std::vector<LumoraProcess::Browser> LumoraProcess::Browsers() const
{
    std::vector<Browser> browsers;
    PageCallClient client;
    std::string reply;
    if (!client.Connect(info_.dwProcessId) || !client.Call(R"({"browser":0,"call":"list"})", reply)) return browsers;
    Json::CharReaderBuilder builder;
    std::unique_ptr<Json::CharReader> reader(builder.newCharReader());
    Json::Value answer;
    if (!reader->parse(reply.data(), reply.data() + reply.size(), &answer, nullptr)) return browsers;
    for (const Json::Value& entry : answer["result"]) {
        Browser browser;
        browser.id = entry["id"].asInt();
        browser.url = FromUtf8(entry["url"].asString());
        browser.popup = entry["popup"].asBool();
        browsers.push_back(browser);
    }
    return browsers;
}

std::vector<HWND> BrowserWindows(HWND main)
{
    std::vector<HWND> windows;
    for (HWND child = GetWindow(main, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        wchar_t name[64] = {};
        GetClassNameW(child, name, 64);
        if (wcscmp(name, L"LumoraCefBrowserWindow") == 0) windows.push_back(child);
    }
    return windows;
}

bool ShownBrowserRect(HWND main, RECT* rect)
{
    int shown = 0;
    for (HWND browser : BrowserWindows(main)) {
        RECT rc;
        GetWindowRect(browser, &rc);
        if (!IsWindowVisible(browser) || IsRectEmpty(&rc)) continue;
        ++shown;
        MapWindowPoints(nullptr, main, reinterpret_cast<POINT*>(&rc), 2);
        *rect = rc;
    }
    return shown == 1;
}

bool LumoraProcess::SendPageMessage(const std::string& name, const std::string& jsonArgs) const
{
    Json::CharReaderBuilder builder;
    std::unique_ptr<Json::CharReader> reader(builder.newCharReader());
    Json::Value args;
    if (!reader->parse(jsonArgs.data(), jsonArgs.data() + jsonArgs.size(), &args, nullptr)) return false;
    return SendPageMessageArgs(name, args);
}

// The first browser that shows one of the folder's portal pages (a notice's
// link can take the home view to another site, which may send nothing); the
// first browser of all when none does.
int LumoraProcess::PortalBrowser() const
{
    for (const Browser& browser : Browsers()) {
        if (browser.url.compare(0, 8, L"file:///") == 0) return browser.id;
    }
    return 0;
}

bool LumoraProcess::SendPageMessageArgs(const std::string& name, const Json::Value& args) const
{
    Json::Value answer = SendPageMessageFromFrame(std::string(), name, args);
    return answer.isObject() && !answer.isMember("error") && !answer.isMember("exception");
}

Json::Value LumoraProcess::SendPageMessageFromFrame(const std::string& frame, const std::string& name,
                                                    const Json::Value& args) const
{
    Json::Value request(Json::objectValue);
    if (!frame.empty()) request["frame"] = frame;
    request["browser"] = PortalBrowser();
    request["call"] = "app.sendMessage";
    request["args"] = Json::Value(Json::arrayValue);
    request["args"].append(name);
    request["args"].append(args);
    Json::StreamWriterBuilder writer;
    writer["indentation"] = "";
    PageCallClient client;
    std::string reply;
    if (!client.Connect(info_.dwProcessId) || !client.Call(Json::writeString(writer, request), reply))
        return Json::Value();
    Json::CharReaderBuilder builder;
    std::unique_ptr<Json::CharReader> reader(builder.newCharReader());
    Json::Value answer;
    if (!reader->parse(reply.data(), reply.data() + reply.size(), &answer, nullptr)) return Json::Value();
    return answer;
}
