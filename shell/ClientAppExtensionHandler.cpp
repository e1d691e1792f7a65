#include "ClientAppExtensionHandler.h"

#include "CefClientApp.h"
#include "ClientVersion.h"
#include "ProgramGlobals.h"
#include "StringCipher.h"
#include "cef_browser.h"
#include "cef_process_message.h"

namespace {
const wchar_t kInvalidArguments[] = L"Invalid method arguments";
const wchar_t kNotPortalFrame[] = L"Access denied: only the portal page may send messages";
} // namespace

ClientAppExtensionHandler::ClientAppExtensionHandler(CefRefPtr<CefClientApp> app) : m_app(app) { }

bool ClientAppExtensionHandler::Execute(const CefString& name, CefRefPtr<CefV8Value> object,
                                        const CefV8ValueList& arguments, CefRefPtr<CefV8Value>& retval,
                                        CefString& exception)
{
    const std::wstring function = name.ToWString();
    if (function == L"sendMessage") {
        if (const wchar_t* thrown = SendPageMessage(arguments)) exception = thrown;
    } else if (function == L"setClientInfo" && IsOneString(arguments)) {
        retval = ClientInfo(arguments[0]->GetStringValue(), CipherEncode);
    } else if (function == L"getClientInfo" && IsOneString(arguments)) {
        retval = ClientInfo(arguments[0]->GetStringValue(), CipherDecode);
    } else if (function == L"getClientVersion") {
        retval = CefV8Value::CreateString(ClientVersion());
    } else {
        exception = kInvalidArguments;
    }
    return true;
}

// sendMessage(name[, array]): the message is named after the command and
// carries the array's elements; a second argument that is no array sends
// no arguments.
const wchar_t* ClientAppExtensionHandler::SendPageMessage(const CefV8ValueList& arguments)
{
    if (arguments.empty() || arguments.size() > 2 || !arguments[0] || !arguments[0]->IsString())
        return kInvalidArguments;
    CefString name = arguments[0]->GetStringValue();
    if (name.empty()) return kInvalidArguments;
    CefRefPtr<CefV8Context> context = CefV8Context::GetCurrentContext();
    CefRefPtr<CefBrowser> browser = context ? context->GetBrowser() : nullptr;
    if (!browser) return kInvalidArguments;
    if (!m_app || !m_app->IsPortalFrame(context->GetFrame())) return kNotPortalFrame;
    CefRefPtr<CefProcessMessage> message = CefProcessMessage::Create(name);
    if (arguments.size() == 2 && arguments[1] && arguments[1]->IsArray() &&
        !ConvertArrayToList(arguments[1], message->GetArgumentList()))
        return kInvalidArguments;
    browser->SendProcessMessage(PID_BROWSER, message);
    return nullptr;
}

bool ClientAppExtensionHandler::IsOneString(const CefV8ValueList& arguments)
{
    return arguments.size() == 1 && arguments[0] && arguments[0]->IsString();
}

CefRefPtr<CefV8Value> ClientAppExtensionHandler::ClientInfo(const CefString& text, int mode)
{
    return CefV8Value::CreateString(CefString(StringCipher(text.ToString(), ClientInfoKey, mode)));
}

bool ClientAppExtensionHandler::ConvertArrayToList(CefRefPtr<CefV8Value> array, CefRefPtr<CefListValue> list)
{
    size_t budget = kMaxListElements;
    return array && list && ConvertArray(array, list, 1, budget);
}

bool ClientAppExtensionHandler::ConvertArray(CefRefPtr<CefV8Value> array, CefRefPtr<CefListValue> list, int depth,
                                             size_t& budget)
{
    if (depth > kMaxArrayDepth) return false;
    int length = array->GetArrayLength();
    if (length < 0 || static_cast<size_t>(length) > budget) return false;
    budget -= static_cast<size_t>(length);
    list->SetSize(static_cast<size_t>(length));
    for (int i = 0; i < length; ++i) {
        CefRefPtr<CefV8Value> value = array->GetValue(i);
        size_t index = static_cast<size_t>(i);
        if (value && value->IsArray()) {
            CefRefPtr<CefListValue> nested = CefListValue::Create();
            if (!ConvertArray(value, nested, depth + 1, budget)) return false;
            list->SetList(index, nested);
        } else {
            ConvertElement(value, list, index);
        }
    }
    return true;
}

// Strings, booleans and numbers keep their type (a whole number in 32-bit
// range is an int); null, undefined, objects and functions stay null.
void ClientAppExtensionHandler::ConvertElement(CefRefPtr<CefV8Value> value, CefRefPtr<CefListValue> list, size_t index)
{
    if (!value) return;
    if (value->IsString())
        list->SetString(index, value->GetStringValue());
    else if (value->IsBool())
        list->SetBool(index, value->GetBoolValue());
    else if (value->IsInt())
        list->SetInt(index, value->GetIntValue());
    else if (value->IsDouble())
        list->SetDouble(index, value->GetDoubleValue());
}
