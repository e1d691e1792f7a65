// The page-command dispatcher against the program's own command table: the
// table's names, argument counts and types decide, and a recording command
// in place of each real one shows which row ran and what it was given.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "HelpWnd.h"
#include "LumoraWnd.h"
#include "PageCommands.h"
#include "PainterUI.h"
#include "ProgramGlobals.h"
#include "WindowManagerUI.h"

namespace {

struct Run
{
    int row;
    CefListValue* arguments; // what PendingCommandArguments held while the command ran
};
std::vector<Run> Runs;

template <int Row> void Record(CLumoraWnd&)
{
    Runs.push_back({ Row, PendingCommandArguments.get() });
}

// The real table with every command replaced by its recorder.
std::vector<ProcessMessageHandlerEntry> RecordingTable()
{
    using Handler = void (*)(CLumoraWnd&);
    const Handler recorders[kPageCommandCount] = { Record<0>, Record<1>, Record<2>, Record<3>,
                                                   Record<4>, Record<5>, Record<6> };
    std::vector<ProcessMessageHandlerEntry> table(ProcessMessageHandlerTable,
                                                  ProcessMessageHandlerTable + kPageCommandCount);
    for (size_t i = 0; i < kPageCommandCount; ++i) table[i].handler = recorders[i];
    return table;
}

// One argument as a page's array element arrives: its engine value type.
struct Arg
{
    CefValueType type;
    bool b = false;
    int i = 0;
    double d = 0;
    const wchar_t* s = L"";
};
Arg Bool(bool v)
{
    Arg a{ VTYPE_BOOL };
    a.b = v;
    return a;
}
Arg Int(int v)
{
    Arg a{ VTYPE_INT };
    a.i = v;
    return a;
}
Arg Double(double v)
{
    Arg a{ VTYPE_DOUBLE };
    a.d = v;
    return a;
}
Arg Str(const wchar_t* v)
{
    Arg a{ VTYPE_STRING };
    a.s = v;
    return a;
}
Arg Null()
{
    return Arg{ VTYPE_NULL };
}
Arg List()
{
    return Arg{ VTYPE_LIST };
}

CefRefPtr<CefProcessMessage> Message(const std::wstring& name, const std::vector<Arg>& args)
{
    CefRefPtr<CefProcessMessage> message = CefProcessMessage::Create(name);
    CefRefPtr<CefListValue> list = message->GetArgumentList();
    for (size_t i = 0; i < args.size(); ++i) {
        const Arg& a = args[i];
        switch (a.type) {
        case VTYPE_BOOL: list->SetBool(i, a.b); break;
        case VTYPE_INT: list->SetInt(i, a.i); break;
        case VTYPE_DOUBLE: list->SetDouble(i, a.d); break;
        case VTYPE_STRING: list->SetString(i, a.s); break;
        case VTYPE_LIST: list->SetList(i, CefListValue::Create()); break;
        default: list->SetNull(i); break;
        }
    }
    return message;
}

struct Case
{
    std::wstring name;
    std::vector<Arg> args;
    int row; // the row that runs, -1 for none
};

class PageCommandDispatch : public ::testing::Test
{
protected:
    void SetUp() override
    {
        Runs.clear();
        PendingCommandArguments = nullptr;
    }
    void TearDown() override { PendingCommandArguments = nullptr; }

    CLumoraWnd window_; // never given a native window: only the recorders touch it
    std::vector<ProcessMessageHandlerEntry> table_ = RecordingTable();
};

TEST_F(PageCommandDispatch, EachCommandRunsOnceWithItsArgumentsWhichAreThenReleased)
{
    const Case cases[] = {
        { L"showPlayerWindow", {}, 0 },
        { L"setFullscreen", { Bool(true) }, 1 },
        { L"setFullscreen", { Bool(false) }, 1 },
        { L"setMini", { Bool(true) }, 2 },
        { L"setWindowFront", { Bool(false) }, 3 },
        { L"movePlayerWindow", { Int(10), Int(20) }, 4 },
        { L"movePlayerWindow", { Int(-5), Int(0x7FFFFFFF) }, 4 },
        { L"hidePlayerWindow", {}, 5 },
        { L"notice", { Str(L"标题|正文"), Str(L"http://127.0.0.1/") }, 6 },
        { L"notice", { Str(L""), Str(L"") }, 6 },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.name.begin(), c.name.end()));
        Runs.clear();
        CefRefPtr<CefProcessMessage> message = Message(c.name, c.args);
        EXPECT_EQ(DispatchPageCommand(window_, message, table_.data(), table_.size()), 0);
        ASSERT_EQ(Runs.size(), 1u);
        EXPECT_EQ(Runs[0].row, c.row);
        EXPECT_EQ(Runs[0].arguments, message->GetArgumentList().get()) << "the command reads the message's own list";
        EXPECT_EQ(PendingCommandArguments.get(), nullptr) << "released once the command ran";
    }
}

TEST_F(PageCommandDispatch, WrongNameCountOrTypeRunsNothingAndKeepsTheList)
{
    const Case cases[] = {
        // wrong types; JavaScript numbers that are not whole arrive as doubles
        { L"setFullscreen", { Int(1) }, -1 },
        { L"setMini", { Str(L"true") }, -1 },
        { L"setWindowFront", { Null() }, -1 },
        { L"movePlayerWindow", { Double(10.5), Int(20) }, -1 },
        { L"movePlayerWindow", { Int(10), Double(20.5) }, -1 },
        { L"movePlayerWindow", { Str(L"10"), Str(L"20") }, -1 },
        { L"notice", { Str(L"a"), Int(1) }, -1 },
        { L"notice", { List(), Str(L"b") }, -1 },
        // wrong counts and an extra element
        { L"setFullscreen", {}, -1 },
        { L"setFullscreen", { Bool(true), Bool(true) }, -1 },
        { L"movePlayerWindow", { Int(10) }, -1 },
        { L"notice", { Str(L"only one") }, -1 },
        { L"notice", { Str(L"a"), Str(L"b"), Str(L"c") }, -1 },
        { L"showPlayerWindow", { Null() }, -1 },
        { L"hidePlayerWindow", { Bool(true) }, -1 },
        // names: case, blanks, prefixes, an embedded NUL, unknown and empty
        { L"setmini", { Bool(true) }, -1 },
        { L"SetMini", { Bool(true) }, -1 },
        { L"setMini ", { Bool(true) }, -1 },
        { L"setMin", { Bool(true) }, -1 },
        { std::wstring(L"setMini\0x", 9), { Bool(true) }, -1 },
        { L"DomComplete", {}, -1 },
        { L"", {}, -1 },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.name.begin(), c.name.end()) + " with " + std::to_string(c.args.size()) + " args");
        CefRefPtr<CefProcessMessage> message = Message(c.name, c.args);
        EXPECT_EQ(DispatchPageCommand(window_, message, table_.data(), table_.size()), 2);
        EXPECT_TRUE(Runs.empty());
        EXPECT_EQ(PendingCommandArguments.get(), message->GetArgumentList().get()) << "kept until the next message";
    }
}

TEST_F(PageCommandDispatch, TheNextMessageReplacesAKeptList)
{
    CefRefPtr<CefProcessMessage> unmatched = Message(L"setmini", { Bool(true) });
    CefRefPtr<CefListValue> kept = unmatched->GetArgumentList();
    EXPECT_EQ(DispatchPageCommand(window_, unmatched, table_.data(), table_.size()), 2);
    unmatched = nullptr; // now only this test and the window hold the list
    EXPECT_FALSE(kept->HasOneRef());

    EXPECT_EQ(DispatchPageCommand(window_, Message(L"hidePlayerWindow", {}), table_.data(), table_.size()), 0);
    EXPECT_TRUE(kept->HasOneRef()) << "the window no longer holds the earlier list";
    EXPECT_EQ(DispatchPageCommand(window_, nullptr, table_.data(), table_.size()), 2);
    EXPECT_EQ(Runs.size(), 1u);
}

// The real commands on a window that has no native window yet (a message
// that comes too early) do nothing, and the list is still released.
TEST_F(PageCommandDispatch, RealCommandsWithoutANativeWindowDoNothing)
{
    const Case cases[] = {
        { L"showPlayerWindow", {}, 0 },
        { L"setFullscreen", { Bool(true) }, 1 },
        { L"setMini", { Bool(true) }, 2 },
        { L"setWindowFront", { Bool(true) }, 3 },
        { L"movePlayerWindow", { Int(1), Int(2) }, 4 },
        { L"hidePlayerWindow", {}, 5 },
        { L"notice", { Str(L"t|x"), Str(L"") }, 6 },
    };
    for (const Case& c : cases) {
        EXPECT_EQ(DispatchPageCommand(window_, Message(c.name, c.args)), 0);
        EXPECT_EQ(PendingCommandArguments.get(), nullptr);
    }
    EXPECT_EQ(GetCapture(), nullptr);
}

// ---------------------------------------------------------------------------
// The notice text a page sends is shown as text, never as tags.

TEST(NoticeMarkup, BracketsOfEitherKindBecomeTheirEscapes)
{
    struct TextCase
    {
        const wchar_t* text;
        const wchar_t* title;
        const wchar_t* link;
    };
    const TextCase cases[] = {
        { L"t|<c #FF0000>red</c>", L"t", L"<f 3><a>{<}c #FF0000{>}red{<}/c{>}</a></f>" },
        { L"{b}x{/b}", L"", L"<f 3><a><{>b<}>x<{>/b<}></a></f>" },
        { L"<i a.png>|</a><a evil>", L"<i a.png>", L"<f 3><a>{<}/a{>}{<}a evil{>}</a></f>" },
        { L"a < b > c", L"", L"<f 3><a>a {<} b {>} c</a></f>" },
        { L"普通通知", L"", L"<f 3><a>普通通知</a></f>" },
    };
    for (const TextCase& c : cases) {
        std::wstring title;
        std::wstring link;
        CHelpWnd::SplitNoticeText(c.text, title, link);
        EXPECT_EQ(title, c.title) << "the title is a plain label and stays as it is";
        EXPECT_EQ(link, c.link);
    }
}

// Drawn by the tagged-text renderer, an escaped notice is one link in the
// link colour whatever it holds; the same text unescaped would open a second
// link and switch to red.
TEST(NoticeMarkup, EscapedTextDrawsAsOneLinkWithoutItsTags)
{
    const std::wstring injected = L"x</a><a evil><c #FF0000>███████</c>";
    CWindowManagerUI manager;
    manager.SetDefaultLinkFont(manager.GetDefaultLinkFont(), 0xFF001C30, 0xFF001C30);
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    ReleaseDC(nullptr, screen);
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = 600;
    info.bmiHeader.biHeight = -40;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    ASSERT_NE(bitmap, nullptr);
    HGDIOBJ old = SelectObject(dc, bitmap);

    auto draw = [&](const std::wstring& markup, int& links) {
        memset(bits, 0xFF, 600 * 40 * 4);
        RECT rc = { 0, 0, 600, 40 };
        RECT linkRects[4] = {};
        CStringUI linkTexts[4];
        links = 4;
        CPainterUI::DrawMarkupText(dc, &manager, rc, markup.c_str(), 0xFF000000, linkRects, linkTexts, links,
                                   DT_SINGLELINE);
        GdiFlush();
        int red = 0;
        const DWORD* pixel = static_cast<const DWORD*>(bits);
        for (int i = 0; i < 600 * 40; ++i) {
            DWORD p = pixel[i] & 0xFFFFFF;
            if ((p >> 16) > 0xC0 && ((p >> 8) & 0xFF) < 0x40 && (p & 0xFF) < 0x40) ++red;
        }
        return red;
    };

    std::wstring title;
    std::wstring escaped;
    CHelpWnd::SplitNoticeText(injected, title, escaped);
    int links = 0;
    EXPECT_EQ(draw(escaped, links), 0) << "no red text";
    EXPECT_EQ(links, 1);
    // The same text without the escapes: proof that the check can see injection.
    EXPECT_GT(draw(L"<f 3><a>" + injected + L"</a></f>", links), 0);
    EXPECT_EQ(links, 2);

    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);
}

} // namespace
