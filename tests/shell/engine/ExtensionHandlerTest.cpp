// The native functions of the page's app object, called as the renderer
// calls them (no page context: what needs none).
#include <gtest/gtest.h>

#include "CefClientApp.h"
#include "ClientAppExtensionHandler.h"

namespace {

struct CallResult
{
    bool handled;
    CefRefPtr<CefV8Value> retval;
    std::wstring exception;
};

CallResult Call(const wchar_t* function, const CefV8ValueList& args)
{
    CefRefPtr<ClientAppExtensionHandler> handler = new ClientAppExtensionHandler(new CefClientApp());
    CallResult r;
    CefString exception;
    r.handled = handler->Execute(function, CefV8Value::CreateObject(), args, r.retval, exception);
    r.exception = exception.ToWString();
    return r;
}

CefRefPtr<CefV8Value> Str(const std::wstring& v)
{
    return CefV8Value::CreateString(v);
}

std::wstring StringResult(const CallResult& r)
{
    EXPECT_TRUE(r.retval && r.retval->IsString());
    return r.retval && r.retval->IsString() ? r.retval->GetStringValue().ToWString() : L"<none>";
}

TEST(ExtensionHandler, ClientInfoRoundTripsAndForeignTextGivesEmpty)
{
    CallResult enciphered = Call(L"setClientInfo", { Str(L"abc") });
    ASSERT_TRUE(enciphered.exception.empty());
    std::wstring text = StringResult(enciphered);
    EXPECT_NE(text, L"abc");
    EXPECT_EQ(StringResult(Call(L"getClientInfo", { Str(text) })), L"abc");
    EXPECT_EQ(StringResult(Call(L"getClientInfo", { Str(L"this was never enciphered") })), L"");
    // Not ASCII: the cipher works on UTF-8 bytes and comes back as the same text.
    std::wstring chinese = L"用户信息";
    EXPECT_EQ(StringResult(Call(L"getClientInfo", { Call(L"setClientInfo", { Str(chinese) }).retval })), chinese);
}

TEST(ExtensionHandler, VersionIgnoresItsArguments)
{
    EXPECT_EQ(StringResult(Call(L"getClientVersion", {})), L"2.0.0.1");
    EXPECT_EQ(StringResult(Call(L"getClientVersion", { CefV8Value::CreateInt(1), CefV8Value::CreateInt(2) })),
              L"2.0.0.1");
}

TEST(ExtensionHandler, BadCallsThrowInvalidMethodArguments)
{
    struct Case
    {
        const wchar_t* function;
        CefV8ValueList args;
    } cases[] = {
        { L"sendMessage", {} },
        { L"sendMessage", { Str(L"") } },
        { L"sendMessage", { Str(L""), CefV8Value::CreateArray(0) } },
        { L"sendMessage", { CefV8Value::CreateInt(5) } },
        { L"sendMessage", { Str(L"setMini"), CefV8Value::CreateArray(0), CefV8Value::CreateInt(1) } },
        { L"setClientInfo", {} },
        { L"setClientInfo", { CefV8Value::CreateInt(1) } },
        { L"setClientInfo", { Str(L"a"), Str(L"b") } },
        { L"getClientInfo", { CefV8Value::CreateNull() } },
        { L"noSuchFunction", {} },
    };
    for (const Case& c : cases) {
        CallResult r = Call(c.function, c.args);
        EXPECT_TRUE(r.handled) << "the handler answers every call";
        EXPECT_EQ(r.exception, L"Invalid method arguments") << c.function << " with " << c.args.size() << " arguments";
        EXPECT_FALSE(r.retval);
    }
}

TEST(ExtensionHandler, SendMessageOutsideAPageThrows)
{
    CallResult r = Call(L"sendMessage", { Str(L"setMini") });
    EXPECT_EQ(r.exception, L"Invalid method arguments");
}

} // namespace
