// The page's app object in the running engine: page commands reach the main
// window's delegate as process messages with typed arguments; the other
// functions answer the page; tools/pagecall does the same from outside.
#include "EngineFixture.h"

#include <memory>
#include <vector>

#include "PortalAddresses.h"
#include "ShellMessages.h"
#include "cef_stand_in.h"

namespace engine_test {
namespace {

Json::Value Parse(const std::string& text)
{
    Json::Value value;
    Json::CharReaderBuilder reader;
    std::unique_ptr<Json::CharReader> parser(reader.newCharReader());
    std::string errors;
    EXPECT_TRUE(parser->parse(text.data(), text.data() + text.size(), &value, &errors)) << text;
    return value;
}

// A list value written as JSON-like text with types: b:true i:3 d:1.5 s:x null [..]
std::string Describe(CefRefPtr<CefListValue> list)
{
    std::string out = "[";
    for (size_t i = 0; i < list->GetSize(); ++i) {
        if (i) out += ",";
        switch (list->GetType(i)) {
        case VTYPE_NULL: out += "null"; break;
        case VTYPE_BOOL: out += list->GetBool(i) ? "b:true" : "b:false"; break;
        case VTYPE_INT: out += "i:" + std::to_string(list->GetInt(i)); break;
        case VTYPE_DOUBLE: out += "d:" + std::to_string(list->GetDouble(i)).substr(0, 4); break;
        case VTYPE_STRING: out += "s:" + list->GetString(i).ToString(); break;
        case VTYPE_LIST: out += Describe(list->GetList(i)); break;
        default: out += "?"; break;
        }
    }
    return out + "]";
}

class PageCallTest : public EngineTest
{
protected:
    void SetUp() override
    {
        EngineTest::SetUp();
        browser_ = OpenView(WritePage(L"portal.html", "Portal"));
        ASSERT_TRUE(browser_);
        id_ = browser_->GetIdentifier();
    }
    // Runs app.sendMessage and returns what reached the delegate, or "-" when nothing did.
    std::string Send(const std::string& argsJson, Json::Value* reply = nullptr)
    {
        size_t before = delegate_->messages.size();
        Json::Value answer = CallPage(id_, "app.sendMessage", Parse(argsJson));
        if (reply) *reply = answer;
        CallPage(id_, "list"); // whatever the page sent is queued for this thread by now
        DrainMessages();
        if (delegate_->messages.size() == before) return "-";
        EXPECT_EQ(delegate_->messages.size(), before + 1);
        CefRefPtr<CefProcessMessage> m = delegate_->messages.back();
        return m->GetName().ToString() + Describe(m->GetArgumentList());
    }
    CefRefPtr<CefBrowser> browser_;
    int id_ = 0;
};

TEST_F(PageCallTest, PageCommandsArriveWithTheirArgumentTypes)
{
    struct Case
    {
        const char* args;
        const char* received;
    } cases[] = {
        { R"(["setMini", [true]])", "setMini[b:true]" },
        { R"(["showPlayerWindow"])", "showPlayerWindow[]" },
        { R"(["hidePlayerWindow", 5])", "hidePlayerWindow[]" },
        { R"(["notice", ["标题|正文", null]])", "notice[s:标题|正文,null]" },
        { R"(["movePlayerWindow", [10, 20]])", "movePlayerWindow[i:10,i:20]" },
        { R"(["movePlayerWindow", [10.5, 20]])", "movePlayerWindow[d:10.5,i:20]" },
        { R"(["setFullscreen", [1]])", "setFullscreen[i:1]" },
        { R"(["x", [[1, ["deep"]], {"a": 1}, false]])", "x[[i:1,[s:deep]],null,b:false]" },
    };
    for (const Case& c : cases) {
        Json::Value reply;
        EXPECT_EQ(Send(c.args, &reply), c.received) << c.args;
        EXPECT_EQ(reply, Json::Value(Json::objectValue)) << "sendMessage returns undefined";
    }
}

TEST_F(PageCallTest, BadSendMessageCallsThrowAndSendNothing)
{
    const char* cases[] = {
        R"([])", R"([""])", R"(["", [true]])", R"([5])", R"([null, [1]])", R"(["setMini", [true], 1])",
    };
    for (const char* args : cases) {
        Json::Value reply;
        EXPECT_EQ(Send(args, &reply), "-") << args;
        EXPECT_EQ(reply["exception"].asString(), "Invalid method arguments") << args;
    }
}

// Only the portal page itself drives the program: a frame inside it, of
// another origin or even of the portal's own, gets an exception and sends
// nothing, whichever command it names.
TEST_F(PageCallTest, FramesInsideThePageCannotSendCommands)
{
    const char* frames[] = { "http://127.0.0.1:8791/ad.html", "https://127.0.0.1:8790/",
                             "http://127.0.0.1:8790/in.html", "file:///C:/portal/frame.html" };
    const char* commands[] = {
        R"(["setFullscreen", [true]])",
        R"(["setMini", [true]])",
        R"(["setWindowFront", [true]])",
        R"(["showPlayerWindow"])",
        R"(["hidePlayerWindow", []])",
        R"(["movePlayerWindow", [1, 2]])",
        R"(["notice", ["t|x", "http://127.0.0.1:8791/"]])",
    };
    for (const char* frame : frames) {
        for (const char* command : commands) {
            Json::Value request(Json::objectValue);
            request["browser"] = id_;
            request["call"] = "app.sendMessage";
            request["args"] = Parse(command);
            request["frame"] = frame;
            Json::StreamWriterBuilder writer;
            std::string reply = CefStandInCallPage(Json::writeString(writer, request));
            EXPECT_NE(reply.find("Access denied"), std::string::npos) << frame << " " << command << ": " << reply;
        }
    }
    EXPECT_EQ(Send(R"(["setMini", [true]])"), "setMini[b:true]")
        << "every refused call sent nothing, the page still can";
}

// What counts as the portal's origin: scheme, host and port, nothing more.
TEST(PortalOrigins, OriginsOfAddresses)
{
    const struct
    {
        const wchar_t* address;
        const wchar_t* origin;
    } cases[] = {
        { L"http://127.0.0.1:8790/home.html", L"http://127.0.0.1:8790" },
        { L"HTTP://Portal.Example:80/x?y#z", L"http://portal.example" },
        { L"https://a.b:443", L"https://a.b" },
        { L"https://a.b:8443/", L"https://a.b:8443" },
        { L"http://user@127.0.0.1:8790/", L"http://127.0.0.1:8790" },
        { L"file:///C:/portal/home.html", L"file://" },
        { L"about:blank", L"" },
        { L"http:///nohost", L"" },
        { L"", L"" },
    };
    for (const auto& c : cases) EXPECT_EQ(PortalAddresses::OriginOf(c.address), c.origin) << c.address;
    const std::vector<std::wstring> portal = { L"http://127.0.0.1:8790" };
    EXPECT_TRUE(PortalAddresses::IsOneOf(L"http://127.0.0.1:8790/tv.html", portal));
    EXPECT_FALSE(PortalAddresses::IsOneOf(L"http://127.0.0.1:8791/tv.html", portal));
    EXPECT_FALSE(PortalAddresses::IsOneOf(L"http://127.0.0.1:8790.evil.example/", portal));
    EXPECT_FALSE(PortalAddresses::IsOneOf(L"about:blank", { L"" }));
}

TEST_F(PageCallTest, ClientInfoAndVersionAnswerThePage)
{
    Json::Value abc(Json::arrayValue);
    abc.append("abc");
    Json::Value enciphered = CallPage(id_, "app.setClientInfo", abc)["result"];
    ASSERT_TRUE(enciphered.isString());
    Json::Value back(Json::arrayValue);
    back.append(enciphered);
    EXPECT_EQ(CallPage(id_, "app.getClientInfo", back)["result"].asString(), "abc");
    Json::Value garbage(Json::arrayValue);
    garbage.append("garbage");
    EXPECT_EQ(CallPage(id_, "app.getClientInfo", garbage)["result"], Json::Value(""));
    EXPECT_EQ(CallPage(id_, "app.getClientVersion", Parse("[1, 2]"))["result"].asString(), "2.0.0.1");
    EXPECT_TRUE(CallPage(id_, "app.noSuchFunction")["exception"].isString());
}

TEST_F(PageCallTest, DomCompleteFromAPageIsTheHandlersNotACommand)
{
    ASSERT_TRUE(PumpUntil([&] { return handler_->domCompletes == 1; }));
    int readyBefore = root_.Count(WM_LUMORA_PAGE_READY, id_);
    EXPECT_EQ(Send(R"(["DomComplete"])"), "-");
    EXPECT_EQ(root_.Count(WM_LUMORA_PAGE_READY, id_), readyBefore + 1);
}

// pagecall.exe in another process drives this test's engine.
struct ToolRun
{
    DWORD exitCode = 0;
    std::string output;
};

ToolRun RunPagecall(const std::wstring& arguments)
{
    ToolRun run;
    SECURITY_ATTRIBUTES sa = { sizeof(sa), nullptr, TRUE };
    HANDLE readEnd = nullptr, writeEnd = nullptr;
    EXPECT_TRUE(CreatePipe(&readEnd, &writeEnd, &sa, 0));
    SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOW si = {};
    si.cb = sizeof(si);
    si.dwFlags = STARTF_USESTDHANDLES;
    si.hStdOutput = writeEnd;
    si.hStdError = writeEnd;
    si.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    PROCESS_INFORMATION pi = {};
    std::wstring cmd = L"\"" + std::wstring(LUMORA_TEST_BIN_DIR) + L"\\pagecall.exe\" --pid " +
        std::to_wstring(GetCurrentProcessId()) + L" " + arguments;
    BOOL started =
        CreateProcessW(nullptr, &cmd[0], nullptr, nullptr, TRUE, CREATE_NO_WINDOW, nullptr, nullptr, &si, &pi);
    CloseHandle(writeEnd);
    EXPECT_TRUE(started);
    if (!started) {
        CloseHandle(readEnd);
        return run;
    }
    // The page's messages come to this thread: keep dispatching while it runs.
    EXPECT_TRUE(PumpUntil([&] { return WaitForSingleObject(pi.hProcess, 0) == WAIT_OBJECT_0; }, 30000));
    char buffer[4096];
    DWORD read = 0;
    while (ReadFile(readEnd, buffer, sizeof(buffer), &read, nullptr) && read > 0) run.output.append(buffer, read);
    GetExitCodeProcess(pi.hProcess, &run.exitCode);
    CloseHandle(readEnd);
    CloseHandle(pi.hProcess);
    CloseHandle(pi.hThread);
    return run;
}

TEST_F(PageCallTest, PagecallToolActsAsThePageFromAnotherProcess)
{
    std::wstring browser = L"--browser " + std::to_wstring(id_) + L" ";
    ToolRun version = RunPagecall(browser + L"app.getClientVersion");
    EXPECT_EQ(version.exitCode, 0u);
    EXPECT_EQ(version.output.substr(0, 9), "\"2.0.0.1\"");

    ToolRun command = RunPagecall(browser + L"app.sendMessage setMini [true]");
    EXPECT_EQ(command.exitCode, 0u) << command.output;
    EXPECT_EQ(command.output.substr(0, 9), "undefined");
    DrainMessages();
    ASSERT_FALSE(delegate_->messages.empty());
    EXPECT_EQ(delegate_->messages.back()->GetName().ToString() +
                  Describe(delegate_->messages.back()->GetArgumentList()),
              "setMini[b:true]");

    ToolRun framed = RunPagecall(browser + L"--frame http://127.0.0.1:8791/ad.html app.sendMessage setMini [true]");
    EXPECT_EQ(framed.exitCode, 3u) << framed.output;
    EXPECT_NE(framed.output.find("exception: Access denied"), std::string::npos) << framed.output;

    ToolRun bad = RunPagecall(browser + L"app.sendMessage \"\\\"\\\"\"");
    EXPECT_EQ(bad.exitCode, 3u) << bad.output;
    EXPECT_NE(bad.output.find("exception: Invalid method arguments"), std::string::npos) << bad.output;
}

} // namespace
} // namespace engine_test
