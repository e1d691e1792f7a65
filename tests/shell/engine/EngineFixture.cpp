#include "EngineFixture.h"

#include <memory>

#include "CefClientApp.h"
#include "ShellMessages.h"
#include "cef_app.h"
#include "cef_stand_in.h"

namespace engine_test {

namespace {

const wchar_t kRootClass[] = L"LumoraEngineTestRoot";

// The engine runs once for the whole program, as in lumora.exe.
class EngineEnvironment : public ::testing::Environment
{
public:
    void SetUp() override
    {
        CefSettings settings;
        ASSERT_TRUE(CefInitialize(CefMainArgs(GetModuleHandleW(nullptr)), settings,
                                  new CefClientApp({ L"file://", L"http://127.0.0.1:8790" })));
    }
    void TearDown() override { CefShutdown(); }
};

[[maybe_unused]] ::testing::Environment* const engineEnvironment =
    ::testing::AddGlobalTestEnvironment(new EngineEnvironment);

std::wstring TestFolder()
{
    wchar_t temp[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, temp);
    std::wstring folder = std::wstring(temp) + L"lumora_engine_test\\";
    CreateDirectoryW(folder.c_str(), nullptr);
    return folder;
}

} // namespace

bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs)
{
    DWORD start = GetTickCount();
    while (!done()) {
        if (GetTickCount() - start > timeoutMs) return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
        DrainMessages();
    }
    return true;
}

void DrainMessages()
{
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

Json::Value CallPage(int browserId, const std::string& call, const Json::Value& args)
{
    Json::Value request(Json::objectValue);
    request["browser"] = browserId;
    request["call"] = call;
    request["args"] = args;
    Json::StreamWriterBuilder writer;
    std::string reply = CefStandInCallPage(Json::writeString(writer, request));
    Json::Value answer;
    Json::CharReaderBuilder reader;
    std::unique_ptr<Json::CharReader> parser(reader.newCharReader());
    std::string errors;
    EXPECT_TRUE(parser->parse(reply.data(), reply.data() + reply.size(), &answer, &errors)) << reply;
    EXPECT_FALSE(answer.isMember("error")) << call << ": " << reply;
    return answer;
}

std::wstring WritePage(const std::wstring& name, const std::string& title)
{
    std::wstring path = TestFolder() + name;
    std::string html = "<!DOCTYPE html><html><head><meta charset=\"utf-8\"><title>" + title +
        "</title></head><body>page</body></html>";
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD written = 0;
    if (file != INVALID_HANDLE_VALUE) {
        WriteFile(file, html.data(), static_cast<DWORD>(html.size()), &written, nullptr);
        CloseHandle(file);
    }
    std::wstring url = L"file:///" + path;
    for (wchar_t& c : url) {
        if (c == L'\\') c = L'/';
    }
    return url;
}

std::thread AnswerMessageBox(const std::wstring& title, int button)
{
    return std::thread([title, button] {
        for (int i = 0; i < 300; ++i) {
            if (HWND box = FindWindowW(L"#32770", title.c_str())) {
                PostMessageW(box, WM_COMMAND, static_cast<WPARAM>(button), 0);
                return;
            }
            Sleep(50);
        }
    });
}

// Hidden: without a window manager, Wine waits about two seconds whenever a
// visible top-level window goes away.
bool RootWindow::Create()
{
    WNDCLASSEXW wc = {};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = WindowProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = kRootClass;
    RegisterClassExW(&wc);
    window_ = CreateWindowExW(0, kRootClass, L"engine test", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 50, 50, 640, 480,
                              nullptr, nullptr, GetModuleHandleW(nullptr), this);
    return window_ != nullptr;
}

void RootWindow::Destroy()
{
    if (window_) DestroyWindow(window_);
    window_ = nullptr;
}

int RootWindow::Count(UINT message, LPARAM lParam) const
{
    int n = 0;
    for (const auto& m : received_) n += m.first == message && m.second == lParam;
    return n;
}

int RootWindow::Count(UINT message) const
{
    int n = 0;
    for (const auto& m : received_) n += m.first == message;
    return n;
}

LRESULT CALLBACK RootWindow::WindowProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_NCCREATE) {
        SetWindowLongPtrW(wnd, GWLP_USERDATA,
                          reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams));
    }
    auto* self = reinterpret_cast<RootWindow*>(GetWindowLongPtrW(wnd, GWLP_USERDATA));
    if (self && msg >= WM_APP && msg <= 0xBFFF) {
        self->received_.push_back({ msg, lParam });
        return 1;
    }
    return DefWindowProcW(wnd, msg, wParam, lParam);
}

void EngineTest::SetUp()
{
    ASSERT_TRUE(root_.Create());
    delegate_ = new RecordingDelegate();
    handler_ = new TestHandler(delegate_.get());
}

void EngineTest::TearDown()
{
    if (!handler_) return;
    for (CefRefPtr<CefBrowser>& browser : handler_->created) {
        if (browser->IsPopup()) browser->GetHost()->CloseBrowser(true);
    }
    root_.Destroy();
    DrainMessages();
}

CefRefPtr<CefBrowser> EngineTest::OpenView(const std::wstring& url, RECT rect)
{
    CefWindowInfo info;
    info.SetAsChild(root_.Handle(), rect);
    CefBrowserSettings settings;
    settings.web_security = STATE_DISABLED;
    size_t before = handler_->created.size();
    EXPECT_TRUE(CefBrowserHost::CreateBrowser(info, handler_.get(), url, settings));
    EXPECT_TRUE(PumpUntil([&] { return handler_->created.size() > before; }));
    return handler_->created.size() > before ? handler_->created.back() : nullptr;
}

} // namespace engine_test
