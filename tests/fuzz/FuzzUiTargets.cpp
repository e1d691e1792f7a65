// The main program's readers of outside input: its UI library's markup parser, skin
// builder, image descriptions and tagged text, and the argument lists of page commands.
#include <windows.h>

#include <json/json.h>

#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "ClientAppExtensionHandler.h"
#include "ControlUI.h"
#include "FuzzDrivers.h"
#include "FuzzRunner.h"
#include "LumoraWnd.h"
#include "PageCommands.h"
#include "PainterUI.h"
#include "ProgramGlobals.h"
#include "SkinBuilderUI.h"
#include "StringUI.h"
#include "WindowManagerUI.h"
#include "XmlDocUI.h"
#include "cef_v8.h"

namespace {

HWND g_hHost = nullptr;
std::wstring g_skinFile;

// The main program's packed skin, so that markup finds its images.
void PrepareSkin(const std::wstring& resources)
{
    CWindowManagerUI::SetInstance(GetModuleHandleW(nullptr));
    g_skinFile = resources + L"\\skin.sk";
    g_hHost = Fuzz::CreateHostWindow(L"UiFuzzHost");
}

void RunMarkup(const BYTE* data, size_t size)
{
    for (int encoding : { CXmlDocUI::ENCODING_UTF8, CXmlDocUI::ENCODING_UTF16 }) {
        CXmlDocUI doc;
        if (doc.LoadFromMem(data, (DWORD)size, encoding))
            Fuzz::WalkMarkup(doc.GetRoot(), 15, [](CXmlNodeUI& node) { return wcslen(node.GetName()); });
        doc.GetLastErrorMessage();
    }
}

// Markup -> controls -> layout -> paint, as the main program builds its windows.
void RunSkin(const BYTE* data, size_t size)
{
    std::wstring markup = Fuzz::Utf8ToWide(data, size);
    size_t start = markup.find(L'<');
    if (start == std::wstring::npos) return; // the builder would take the text for a file name
    CWindowManagerUI manager;
    manager.Init(g_hHost);
    manager.SetSkinFile(g_skinFile.c_str());
    CSkinBuilderUI builder;
    CControlUI* pRoot = builder.Build(nullptr, markup.c_str() + start, nullptr, nullptr, &manager);
    if (pRoot == nullptr) return;
    manager.AttachRoot(pRoot);
    Fuzz::LayOutAndPaint(pRoot);
}

void RunImageDescription(const BYTE* data, size_t size)
{
    std::wstring desc = Fuzz::Utf8ToWide(data, size);
    CWindowManagerUI manager;
    manager.Init(g_hHost);
    manager.SetSkinFile(g_skinFile.c_str());
    Fuzz::DrawImageDescription<CPainterUI>(manager, desc, L"close.png");
}

void RunTaggedText(const BYTE* data, size_t size)
{
    std::wstring text = Fuzz::Utf8ToWide(data, size);
    CWindowManagerUI manager;
    manager.Init(g_hHost);
    manager.SetSkinFile(g_skinFile.c_str());
    Fuzz::DrawTaggedText<CPainterUI, CStringUI>(manager, text);
}

// ---- page commands: ["name", [arguments...]] as a page's app.sendMessage gives them

CefRefPtr<CefV8Value> ToScript(const Json::Value& value)
{
    switch (value.type()) {
    case Json::booleanValue: return CefV8Value::CreateBool(value.asBool());
    case Json::intValue:
    case Json::uintValue:
    case Json::realValue: return CefV8Value::CreateDouble(value.asDouble());
    case Json::stringValue: return CefV8Value::CreateString(value.asString());
    case Json::arrayValue: {
        CefRefPtr<CefV8Value> array = CefV8Value::CreateArray((int)value.size());
        for (Json::ArrayIndex i = 0; i < value.size(); ++i) array->SetValue((int)i, ToScript(value[i]));
        return array;
    }
    default: return CefV8Value::CreateNull();
    }
}

void DoNothing(CLumoraWnd&) { }

void RunPageCommand(const BYTE* data, size_t size)
{
    Json::CharReaderBuilder builder;
    builder["stackLimit"] = 200;
    std::unique_ptr<Json::CharReader> reader(builder.newCharReader());
    Json::Value call;
    std::string errors;
    const char* begin = reinterpret_cast<const char*>(data);
    try {
        if (!reader->parse(begin, begin + size, &call, &errors)) return;
    } catch (const std::exception&) {
        return; // the harness's own reading of the input, not the program's
    }
    if (!call.isArray() || call.size() < 1) return;
    std::string name = call[0].isString() ? call[0].asString() : std::string();
    CefRefPtr<CefProcessMessage> message = CefProcessMessage::Create(name);
    if (call.size() > 1 && call[1].isArray())
        ClientAppExtensionHandler::ConvertArrayToList(ToScript(call[1]), message->GetArgumentList());
    // The real table with commands that touch no window: the dispatcher's checks decide.
    std::vector<ProcessMessageHandlerEntry> table(ProcessMessageHandlerTable,
                                                  ProcessMessageHandlerTable + kPageCommandCount);
    for (ProcessMessageHandlerEntry& row : table) row.handler = DoNothing;
    static CLumoraWnd window; // never given a native window
    DispatchPageCommand(window, message, table.data(), table.size());
    PendingCommandArguments = nullptr;
}

const Fuzz::Target kTargets[] = {
    { L"ui-markup", nullptr, RunMarkup },
    { L"ui-skin", PrepareSkin, RunSkin },
    { L"ui-imagedesc", PrepareSkin, RunImageDescription },
    { L"ui-text", PrepareSkin, RunTaggedText },
    { L"shell-pagecmd", nullptr, RunPageCommand },
};

} // namespace

int wmain(int argc, wchar_t** argv)
{
    return Fuzz::Main(argc, argv, kTargets);
}
