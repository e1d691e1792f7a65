// pagecall [--pid N] [--browser ID] [--frame ADDRESS] <call> [argument ...]
//
// Acts as the page of a browser in a running lumora.exe built with the
// engine stand-in. <call> is "app.sendMessage", "app.getClientVersion" or
// another function of the page's app object, "list", or a page action
// ("window.open", "confirm", "alert", "requestFullscreen", "exitFullscreen",
// "crash"). Each argument is JSON; text that is no JSON is taken as a string:
//   pagecall app.sendMessage setMini [true]
// --frame makes an "app." call from a frame of that address inside the page.
// Prints the result as JSON ("undefined" when there is none) and exits 0; a
// thrown exception is printed as "exception: <text>" with exit code 3;
// other failures exit with 2.
#include <windows.h>

#include <json/json.h>

#include <cstdio>
#include <memory>
#include <string>

#include "PageCallClient.h"

namespace {

const int kExitOk = 0;
const int kExitFailed = 2;
const int kExitException = 3;

std::string Utf8(const wchar_t* text)
{
    int n = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
    std::string out(n > 0 ? n - 1 : 0, '\0');
    if (n > 1) WideCharToMultiByte(CP_UTF8, 0, text, -1, &out[0], n, nullptr, nullptr);
    return out;
}

bool ParseJson(const std::string& text, Json::Value& value)
{
    Json::CharReaderBuilder builder;
    std::unique_ptr<Json::CharReader> reader(builder.newCharReader());
    std::string errors;
    return reader->parse(text.data(), text.data() + text.size(), &value, &errors);
}

Json::Value Argument(const std::string& text)
{
    Json::Value value;
    if (ParseJson(text, value)) return value;
    return Json::Value(text);
}

std::string Write(const Json::Value& value)
{
    Json::StreamWriterBuilder builder;
    builder["indentation"] = "";
    return Json::writeString(builder, value);
}

void PrintUtf8(FILE* out, const std::string& text)
{
    std::fwrite(text.data(), 1, text.size(), out);
    std::fputc('\n', out);
}

int Usage()
{
    std::fputs("usage: pagecall [--pid N] [--browser ID] [--frame ADDRESS] <call> [json-argument ...]\n", stderr);
    return kExitFailed;
}

int ReportReply(const std::string& replyText)
{
    Json::Value reply;
    if (!ParseJson(replyText, reply) || !reply.isObject()) {
        std::fputs("pagecall: unreadable answer\n", stderr);
        return kExitFailed;
    }
    if (reply.isMember("error")) {
        PrintUtf8(stderr, "pagecall: " + reply["error"].asString());
        return kExitFailed;
    }
    if (reply.isMember("exception")) {
        PrintUtf8(stdout, "exception: " + reply["exception"].asString());
        return kExitException;
    }
    PrintUtf8(stdout, reply.isMember("result") ? Write(reply["result"]) : "undefined");
    return kExitOk;
}

} // namespace

int wmain(int argc, wchar_t** argv)
{
    DWORD processId = 0;
    int browserId = 0;
    std::string frame;
    int i = 1;
    for (; i + 1 < argc && argv[i][0] == L'-' && argv[i][1] == L'-'; i += 2) {
        std::wstring option = argv[i];
        if (option == L"--pid")
            processId = static_cast<DWORD>(_wtoi(argv[i + 1]));
        else if (option == L"--browser")
            browserId = _wtoi(argv[i + 1]);
        else if (option == L"--frame")
            frame = Utf8(argv[i + 1]);
        else
            return Usage();
    }
    if (i >= argc) return Usage();
    Json::Value request(Json::objectValue);
    request["browser"] = browserId;
    request["call"] = Utf8(argv[i]);
    request["args"] = Json::Value(Json::arrayValue);
    if (!frame.empty()) request["frame"] = frame;
    for (++i; i < argc; ++i) request["args"].append(Argument(Utf8(argv[i])));

    PageCallClient client;
    if (!client.Connect(processId)) {
        std::fputs("pagecall: no running browser engine found\n", stderr);
        return kExitFailed;
    }
    std::string reply;
    if (!client.Call(Write(request), reply)) {
        std::fputs("pagecall: the engine did not answer\n", stderr);
        return kExitFailed;
    }
    return ReportReply(reply);
}
