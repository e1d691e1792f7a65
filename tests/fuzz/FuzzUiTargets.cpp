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
#include "FuzzCanvas.h"
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

void WalkMarkup(CXmlDocUI& doc)
{
    std::vector<CXmlNodeUI> pending;
    if (doc.GetRoot().IsValid())
        pending.push_back(doc.GetRoot());
    WCHAR szValue[16];
    size_t nChars = 0;
    while (!pending.empty()) {
        CXmlNodeUI node = pending.back();
        pending.pop_back();
        nChars += wcslen(node.GetName());
        for (int i = 0; i < node.GetAttributeCount(); ++i) {
            nChars += wcslen(node.GetAttributeName(i)) + wcslen(node.GetAttributeValue(i));
            node.GetAttributeValue(node.GetAttributeName(i), szValue, 15); // the buffer is one larger
        }
        if (node.GetSibling().IsValid())
            pending.push_back(node.GetSibling());
        if (node.GetChild().IsValid())
            pending.push_back(node.GetChild());
    }
    (void)nChars;
}

void RunMarkup(const BYTE* data, size_t size)
{
    for (int encoding : {CXmlDocUI::ENCODING_UTF8, CXmlDocUI::ENCODING_UTF16}) {
        CXmlDocUI doc;
        if (doc.LoadFromMem(data, (DWORD)size, encoding))
            WalkMarkup(doc);
        doc.GetLastErrorMessage();
    }
}

// Markup -> controls -> layout -> paint, as the main program builds its windows.
void RunSkin(const BYTE* data, size_t size)
{
    std::wstring markup = Fuzz::Utf8ToWide(data, size);
    size_t start = markup.find(L'<');
    if (start == std::wstring::npos)
        return; // the builder would take the text for a file name
    CWindowManagerUI manager;
    manager.Init(g_hHost);
    manager.SetSkinFile(g_skinFile.c_str());
    CSkinBuilderUI builder;
    CControlUI* pRoot = builder.Build(nullptr, markup.c_str() + start, nullptr, nullptr, &manager);
    if (pRoot == nullptr)
        return;
    manager.AttachRoot(pRoot);
    Fuzz::Canvas canvas(400, 300);
    for (const RECT& rc : {RECT{0, 0, 400, 300}, RECT{0, 0, 37, 12}}) {
        pRoot->SetPos(rc);
        pRoot->DoPaint(canvas.DC(), canvas.Rect());
    }
}

void RunImageDescription(const BYTE* data, size_t size)
{
    std::wstring desc = Fuzz::Utf8ToWide(data, size);
    CWindowManagerUI manager;
    manager.Init(g_hHost);
    manager.SetSkinFile(g_skinFile.c_str());
    Fuzz::Canvas canvas(200, 150);
    RECT rcItem = {10, 10, 190, 140};
    CPainterUI::DrawImageDesc(canvas.DC(), &manager, rcItem, canvas.Rect(), desc.c_str());
    CPainterUI::DrawImageDesc(canvas.DC(), &manager, rcItem, canvas.Rect(), L"close.png", desc.c_str());
}

void RunTaggedText(const BYTE* data, size_t size)
{
    std::wstring text = Fuzz::Utf8ToWide(data, size);
    CWindowManagerUI manager;
    manager.Init(g_hHost);
    manager.SetSkinFile(g_skinFile.c_str());
    Fuzz::Canvas canvas(200, 120);
    for (UINT uStyle : {(UINT)DT_WORDBREAK, (UINT)(DT_SINGLELINE | DT_VCENTER | DT_CENTER), (UINT)DT_CALCRECT}) {
        RECT rc = {5, 5, 195, 115};
        RECT rcLinks[8];
        CStringUI sLinks[8];
        int nLinks = 8;
        CPainterUI::DrawMarkupText(canvas.DC(), &manager, rc, text.c_str(), 0xFF000000, rcLinks, sLinks, nLinks,
                                   uStyle);
        if (nLinks < 0 || nLinks > 8)
            Fuzz::ReportWrongResult("more links reported than the arrays hold");
    }
}

// ---- page commands: ["name", [arguments...]] as a page's app.sendMessage gives them

CefRefPtr<CefV8Value> ToScript(const Json::Value& value)
{
    switch (value.type()) {
    case Json::booleanValue:
        return CefV8Value::CreateBool(value.asBool());
    case Json::intValue:
    case Json::uintValue:
    case Json::realValue:
        return CefV8Value::CreateDouble(value.asDouble());
    case Json::stringValue:
        return CefV8Value::CreateString(value.asString());
    case Json::arrayValue: {
        CefRefPtr<CefV8Value> array = CefV8Value::CreateArray((int)value.size());
        for (Json::ArrayIndex i = 0; i < value.size(); ++i)
            array->SetValue((int)i, ToScript(value[i]));
        return array;
    }
    default:
        return CefV8Value::CreateNull();
    }
}

void DoNothing(CLumoraWnd&) {}

void RunPageCommand(const BYTE* data, size_t size)
{
    Json::CharReaderBuilder builder;
    builder["stackLimit"] = 200;
    std::unique_ptr<Json::CharReader> reader(builder.newCharReader());
    Json::Value call;
    std::string errors;
    const char* begin = reinterpret_cast<const char*>(data);
    try {
        if (!reader->parse(begin, begin + size, &call, &errors))
            return;
    }
    catch (const std::exception&) {
        return; // the harness's own reading of the input, not the program's
    }
    if (!call.isArray() || call.size() < 1)
        return;
    std::string name = call[0].isString() ? call[0].asString() : std::string();
    CefRefPtr<CefProcessMessage> message = CefProcessMessage::Create(name);
    if (call.size() > 1 && call[1].isArray())
        ClientAppExtensionHandler::ConvertArrayToList(ToScript(call[1]), message->GetArgumentList());
    // The real table with commands that touch no window: the dispatcher's checks decide.
    std::vector<ProcessMessageHandlerEntry> table(ProcessMessageHandlerTable,
                                                  ProcessMessageHandlerTable + kPageCommandCount);
    for (ProcessMessageHandlerEntry& row : table)
        row.handler = DoNothing;
    static CLumoraWnd window; // never given a native window
    DispatchPageCommand(window, message, table.data(), table.size());
    PendingCommandArguments = nullptr;
}

const Fuzz::Target kTargets[] = {
    {L"ui-markup", nullptr, RunMarkup},
    {L"ui-skin", PrepareSkin, RunSkin},
    {L"ui-imagedesc", PrepareSkin, RunImageDescription},
    {L"ui-text", PrepareSkin, RunTaggedText},
    {L"shell-pagecmd", nullptr, RunPageCommand},
};

} // namespace

int wmain(int argc, wchar_t** argv)
{
    return Fuzz::Main(argc, argv, kTargets, sizeof(kTargets) / sizeof(kTargets[0]));
}
