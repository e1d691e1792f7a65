#include "PageChannel.h"

#include <json/json.h>

#include <memory>

#include "BrowserImpl.h"
#include "EngineInternal.h"
#include "RendererThread.h"
#include "cef_jsdialog_handler.h"
#include "cef_stand_in.h"
#include "cef_v8.h"

namespace cef_stand_in {

namespace {

const DWORD kMaxRequestBytes = 1 << 20;
const DWORD kReplyTimeoutMs = 5000;
const DWORD kCallTimeoutMs = 30000;
const int kMaxValueDepth = 64;

std::string Write(const Json::Value& value)
{
    Json::StreamWriterBuilder builder;
    builder["indentation"] = "";
    return Json::writeString(builder, value);
}

std::string Error(const std::string& text)
{
    Json::Value reply(Json::objectValue);
    reply["error"] = text;
    return Write(reply);
}

std::string Exception(const std::wstring& text)
{
    Json::Value reply(Json::objectValue);
    reply["exception"] = WideToUtf8(text);
    return Write(reply);
}

std::string Result(const Json::Value& value)
{
    Json::Value reply(Json::objectValue);
    reply["result"] = value;
    return Write(reply);
}

std::string Undefined()
{
    return "{}";
}

CefRefPtr<CefV8Value> FromJson(const Json::Value& value, int depth)
{
    if (depth > kMaxValueDepth) return CefV8Value::CreateUndefined();
    switch (value.type()) {
    case Json::nullValue: return CefV8Value::CreateNull();
    case Json::booleanValue: return CefV8Value::CreateBool(value.asBool());
    case Json::intValue:
    case Json::uintValue:
    case Json::realValue: return CefV8Value::CreateDouble(value.asDouble());
    case Json::stringValue: return CefV8Value::CreateString(Utf8ToWide(value.asString()));
    case Json::arrayValue: {
        CefRefPtr<CefV8Value> array = CefV8Value::CreateArray(static_cast<int>(value.size()));
        for (Json::ArrayIndex i = 0; i < value.size(); ++i)
            array->SetValue(static_cast<int>(i), FromJson(value[i], depth + 1));
        return array;
    }
    case Json::objectValue: return CefV8Value::CreateObject();
    }
    return CefV8Value::CreateUndefined();
}

Json::Value ToJson(CefRefPtr<CefV8Value> value, int depth)
{
    if (!value || depth > kMaxValueDepth || value->IsUndefined() || value->IsNull()) return Json::Value();
    if (value->IsBool()) return Json::Value(value->GetBoolValue());
    if (value->IsInt()) return Json::Value(value->GetIntValue());
    if (value->IsDouble()) return Json::Value(value->GetDoubleValue());
    if (value->IsString()) return Json::Value(WideToUtf8(value->GetStringValue().ToWString()));
    if (value->IsArray()) {
        Json::Value array(Json::arrayValue);
        for (int i = 0; i < value->GetArrayLength(); ++i) array.append(ToJson(value->GetValue(i), depth + 1));
        return array;
    }
    return Json::Value(Json::objectValue);
}

std::string StringArg(const Json::Value& args, Json::ArrayIndex index)
{
    return args.isArray() && index < args.size() && args[index].isString() ? args[index].asString() : std::string();
}

std::string CallAppFunction(CefRefPtr<RendererBrowser> browser, const std::string& function, const Json::Value& args,
                            const Json::Value& frame)
{
    std::wstring name = Utf8ToWide(function);
    CefRefPtr<CefV8Handler> handler = FindNativeFunction(L"app", name);
    if (!handler) return Exception(L"TypeError: app." + name + L" is not a function");
    CefRefPtr<CefV8Context> context =
        frame.isString() ? browser->SubFrameContext(Utf8ToWide(frame.asString())) : browser->Context();
    if (!context) return Error("the browser has no document");
    CefV8ValueList arguments;
    if (args.isArray()) {
        for (const Json::Value& arg : args) arguments.push_back(FromJson(arg, 0));
    }
    CefRefPtr<CefV8Value> retval;
    CefString exception;
    context->Enter();
    bool handled = handler->Execute(name, CefV8Value::CreateObject(), arguments, retval, exception);
    context->Exit();
    if (!exception.empty()) return Exception(exception.ToWString());
    if (!handled) return Exception(L"Error: native function " + name + L"() is not handled");
    if (!retval || retval->IsUndefined()) return Undefined();
    return Result(ToJson(retval, 0));
}

// Runs a task on the UI thread and waits for it, as a page waits for a
// dialog. The event is set when the task has run or was dropped unrun.
bool RunOnUiAndWait(std::function<void()> task)
{
    HANDLE done = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    if (!done) return false;
    std::shared_ptr<void> signal(nullptr, [done](void*) { SetEvent(done); });
    bool posted = PostToUi([task, signal] { task(); });
    signal.reset();
    if (posted) WaitForSingleObject(done, INFINITE);
    CloseHandle(done);
    return posted;
}

std::string RunDialog(int id, cef_jsdialog_type_t type, const std::string& text)
{
    auto answer = std::make_shared<bool>(false);
    std::wstring message = Utf8ToWide(text);
    bool ran = RunOnUiAndWait([id, type, message, answer] {
        if (CefRefPtr<BrowserImpl> b = BrowserImpl::Find(id)) *answer = b->RunDialog(type, message);
    });
    if (!ran) return Error("the browser process is gone");
    return type == JSDIALOGTYPE_CONFIRM ? Result(Json::Value(*answer)) : Undefined();
}

std::string ListBrowsers()
{
    Json::Value list(Json::arrayValue);
    for (const CefRefPtr<RendererBrowser>& b : RendererThread::Current()->Browsers()) {
        Json::Value entry(Json::objectValue);
        entry["id"] = b->GetIdentifier();
        entry["url"] = WideToUtf8(b->Url());
        entry["popup"] = b->IsPopup();
        list.append(entry);
    }
    return Result(list);
}

std::string RunPageAction(CefRefPtr<RendererBrowser> browser, const std::string& call, const Json::Value& args)
{
    int id = browser->GetIdentifier();
    if (call == "alert") return RunDialog(id, JSDIALOGTYPE_ALERT, StringArg(args, 0));
    if (call == "confirm") return RunDialog(id, JSDIALOGTYPE_CONFIRM, StringArg(args, 0));
    if (call == "window.open") {
        std::wstring url = Utf8ToWide(StringArg(args, 0));
        std::wstring target = Utf8ToWide(StringArg(args, 1));
        PostToUi([id, url, target] {
            if (CefRefPtr<BrowserImpl> b = BrowserImpl::Find(id)) b->OpenPopup(url, target);
        });
        return Undefined();
    }
    if (call == "requestFullscreen" || call == "exitFullscreen") {
        bool on = call == "requestFullscreen";
        PostToUi([id, on] {
            if (CefRefPtr<BrowserImpl> b = BrowserImpl::Find(id)) b->SetFullscreen(on);
        });
        return Undefined();
    }
    if (call == "crash") {
        browser->DropDocument();
        PostToUi([id] {
            if (CefRefPtr<BrowserImpl> b = BrowserImpl::Find(id)) b->RendererCrashed();
        });
        return Undefined();
    }
    return Error("unknown call: " + call);
}

} // namespace

std::string PageChannel::Handle(const std::string& request)
{
    Json::Value req;
    Json::CharReaderBuilder reader;
    std::string errors;
    std::unique_ptr<Json::CharReader> parser(reader.newCharReader());
    if (!parser->parse(request.data(), request.data() + request.size(), &req, &errors) || !req.isObject())
        return Error("the request is not a JSON object");
    const Json::Value& browserId = req["browser"];
    const Json::Value& call = req["call"];
    if (!call.isString()) return Error("the request names no call");
    if (!browserId.isNull() && !browserId.isInt()) return Error("the browser identifier is not a number");
    if (call.asString() == "list") return ListBrowsers();
    CefRefPtr<RendererBrowser> browser =
        RendererThread::Current()->FindBrowser(browserId.isInt() ? browserId.asInt() : 0);
    if (!browser) return Error("no such browser");
    const std::string name = call.asString();
    const Json::Value& frame = req["frame"];
    if (!frame.isNull() && !frame.isString()) return Error("the frame address is not a string");
    if (name.compare(0, 4, "app.") == 0) return CallAppFunction(browser, name.substr(4), req["args"], frame);
    return RunPageAction(browser, name, req["args"]);
}

bool PageChannel::Create()
{
    WNDCLASSEXW wc = {};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = WindowProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = CEF_PAGE_CHANNEL_CLASS;
    if (!RegisterClassExW(&wc) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) return false;
    window_ = CreateWindowExW(WS_EX_TOOLWINDOW, CEF_PAGE_CHANNEL_CLASS, L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                              GetModuleHandleW(nullptr), nullptr);
    return window_ != nullptr;
}

void PageChannel::Destroy()
{
    if (window_) DestroyWindow(window_);
    window_ = nullptr;
}

LRESULT CALLBACK PageChannel::WindowProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_COPYDATA)
        return OnCopyData(wnd, reinterpret_cast<HWND>(wParam), reinterpret_cast<const COPYDATASTRUCT*>(lParam));
    return DefWindowProcW(wnd, msg, wParam, lParam);
}

LRESULT PageChannel::OnCopyData(HWND wnd, HWND replyTo, const COPYDATASTRUCT* data)
{
    if (!data || data->dwData != kCefPageCallRequest || !data->lpData || data->cbData > kMaxRequestBytes) return FALSE;
    std::string reply = Handle(std::string(static_cast<const char*>(data->lpData), data->cbData));
    if (!IsWindow(replyTo)) return TRUE;
    COPYDATASTRUCT answer = {};
    answer.dwData = kCefPageCallReply;
    answer.cbData = static_cast<DWORD>(reply.size());
    answer.lpData = reply.empty() ? nullptr : &reply[0];
    DWORD_PTR result = 0;
    SendMessageTimeoutW(replyTo, WM_COPYDATA, reinterpret_cast<WPARAM>(wnd), reinterpret_cast<LPARAM>(&answer),
                        SMTO_ABORTIFHUNG, kReplyTimeoutMs, &result);
    return TRUE;
}

} // namespace cef_stand_in

std::string CefStandInCallPage(const std::string& requestJson)
{
    using namespace cef_stand_in;
    struct CallState
    {
        HANDLE done = CreateEventW(nullptr, TRUE, FALSE, nullptr);
        std::string reply;
        ~CallState()
        {
            if (done) CloseHandle(done);
        }
    };
    auto state = std::make_shared<CallState>();
    if (!state->done) return Error("no event");
    std::string request = requestJson;
    if (!PostToRenderer([state, request] {
            state->reply = PageChannel::Handle(request);
            SetEvent(state->done);
        }))
        return Error("the renderer is not running");
    DWORD start = GetTickCount();
    for (;;) {
        DWORD waited = GetTickCount() - start;
        if (waited >= kCallTimeoutMs) return Error("the page call timed out");
        DWORD r = MsgWaitForMultipleObjects(1, &state->done, FALSE, kCallTimeoutMs - waited, QS_ALLINPUT);
        if (r == WAIT_OBJECT_0) return state->reply;
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) {
                // The caller's loop must still see it.
                PostQuitMessage(static_cast<int>(msg.wParam));
                return Error("the calling thread is quitting");
            }
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }
}
