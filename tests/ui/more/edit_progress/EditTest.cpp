#include <gtest/gtest.h>

#include <string>

#include "ButtonUI.h"
#include "ControlStateUI.h"
#include "EditProgressTestKit.h"
#include "EditUI.h"
#include "LabelUI.h"
#include "VerticalLayoutUI.h"

namespace {

const int kRowHeight = 30;

std::wstring WindowText(HWND hWnd)
{
    wchar_t sz[1024] = {};
    ::GetWindowTextW(hWnd, sz, 1024);
    return sz;
}

// A real skinned window under the display: an edit, the "ok" button, another button
// and a second edit, one row each. The native editor is a child window of the host.
class EditTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        CWindowManagerUI::SetInstance(::GetModuleHandleW(nullptr));
        sharedHost = new CTestHostWnd;
        sharedHost->Create(nullptr, L"edit host", WS_POPUP | WS_VISIBLE, 0, 0, 0, 300, 200);
    }
    static void TearDownTestSuite()
    {
        sharedHost->Reset(false);
        ::DestroyWindow(sharedHost->GetWindowHandle());
        delete sharedHost;
        sharedHost = nullptr;
        PumpMessages();
    }
    void SetUp() override
    {
        host = sharedHost;
        hwnd = host->GetWindowHandle();
        ASSERT_NE(nullptr, hwnd);
        host->Reset(true);
        root = new CVerticalLayoutUI;
        edit = AddRow<CEditUI>(L"edit");
        ok = AddRow<CButtonUI>(L"ok");
        other = AddRow<CButtonUI>(L"other");
        edit2 = AddRow<CEditUI>(L"edit2");
        AttachAndSettle(root);
        host->log.records.clear();
    }
    void TearDown() override
    {
        ::ReleaseCapture();
        host->Reset(false);
        PumpMessages();
    }

    CWindowManagerUI& pm() { return *host->m_pm; }

    // The first paint gives the first tab stop the focus (and so opens an editor);
    // tests start with nothing focused and no editor open.
    void AttachAndSettle(CControlUI* pRoot)
    {
        pm().AttachRoot(pRoot);
        LayOut(hwnd);
        pm().SetFocus(nullptr);
        PumpMessages();
    }
    CNotifyLog& log() { return host->log; }

    template <class T> T* AddRow(LPCWSTR pstrName)
    {
        T* p = new T;
        p->SetName(pstrName);
        p->SetFixedHeight(kRowHeight);
        root->Add(p);
        return p;
    }

    // The open native editor of the window, or null.
    HWND Editor() const { return ::FindWindowExW(hwnd, nullptr, L"EditWnd", nullptr); }

    HWND OpenEditor(CEditUI* pEdit)
    {
        pm().SetFocus(pEdit);
        PumpMessages();
        return Editor();
    }

    static void Type(HWND hEditor, const std::wstring& text)
    {
        for (wchar_t ch : text) ::PostMessageW(hEditor, WM_CHAR, ch, 1);
        PumpMessages();
    }

    void Click(int x, int y)
    {
        ::SendMessageW(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
        ::SendMessageW(hwnd, WM_LBUTTONUP, 0, MAKELPARAM(x, y));
        PumpMessages();
    }

    static CTestHostWnd* sharedHost;
    CTestHostWnd* host = nullptr;
    HWND hwnd = nullptr;
    CVerticalLayoutUI* root = nullptr;
    CEditUI* edit = nullptr;
    CButtonUI* ok = nullptr;
    CButtonUI* other = nullptr;
    CEditUI* edit2 = nullptr;
};

CTestHostWnd* EditTest::sharedHost = nullptr;

} // namespace

// ---------------------------------------------------------------------------------
// Defaults and markup

TEST(EditUI, DefaultsAndAttributes)
{
    CEditUI edit;
    EXPECT_STREQ(L"EditUI", edit.GetControlClass());
    EXPECT_EQ(&edit, edit.GetInterface(L"Edit"));
    EXPECT_EQ(&edit, edit.GetInterface(L"Label"));
    EXPECT_EQ(nullptr, edit.GetInterface(L"Button"));
    EXPECT_EQ(static_cast<UINT>(UIFLAG_TABSTOP | UIFLAG_SETCURSOR), edit.GetControlFlags());
    EXPECT_EQ(255, edit.GetMaxChar());
    EXPECT_EQ(L'*', edit.GetPasswordChar());
    EXPECT_EQ(0xFFFFFFFFu, edit.GetBkColor());
    const RECT pad = edit.GetTextPadding();
    EXPECT_EQ(4, pad.left);
    EXPECT_EQ(4, pad.top);
    EXPECT_EQ(4, pad.right);
    EXPECT_EQ(4, pad.bottom);

    struct Case
    {
        LPCWSTR name;
        bool (CEditUI::*get)() const;
    } const flags[] = {
        { L"readonly", &CEditUI::IsReadOnly },
        { L"numonly", &CEditUI::IsNumberOnly },
        { L"password", &CEditUI::IsPasswordMode },
    };
    for (const Case& c : flags) {
        EXPECT_FALSE((edit.*c.get)()) << c.name;
        edit.SetAttribute(c.name, L"true");
        EXPECT_TRUE((edit.*c.get)()) << c.name;
        edit.SetAttribute(c.name, L"TRUE"); // only the exact word counts
        EXPECT_FALSE((edit.*c.get)()) << c.name;
    }
    edit.SetAttribute(L"normalimage", L"n.png");
    edit.SetAttribute(L"hotimage", L"h.png");
    edit.SetAttribute(L"focusedimage", L"f.png");
    edit.SetAttribute(L"disabledimage", L"d.png");
    EXPECT_STREQ(L"n.png", edit.GetNormalImage());
    EXPECT_STREQ(L"h.png", edit.GetHotImage());
    EXPECT_STREQ(L"f.png", edit.GetFocusedImage());
    EXPECT_STREQ(L"d.png", edit.GetDisabledImage());
    edit.SetAttribute(L"textcolor", L"#FF102030"); // to the label
    EXPECT_EQ(0xFF102030u, edit.GetTextColor());

    edit.SetEnabled(false);
    EXPECT_EQ(0u, edit.GetControlFlags());
}

// Without a window to put it in there is no editor to open: the field only takes the
// focus flag, and nothing is left behind.
TEST(EditUI, FocusWithoutAWindowOpensNothing)
{
    CWindowManagerUI detached; // never given a window
    CEditUI edit;
    TEventRecUI focus = {};
    focus.type = EventSetFocus;
    edit.DoEvent(focus);
    EXPECT_TRUE(edit.IsFocused());
    edit.SetManager(&detached, nullptr);
    TEventRecUI press = {};
    press.type = EventButtonDown;
    edit.DoEvent(press);
    edit.DoEvent(focus);
    EXPECT_TRUE(edit.IsFocused());
    edit.SetReadOnly(true); // no editor to pass it to
    edit.SetNumberOnly(true);
    edit.SetManager(nullptr, nullptr);
}

TEST_F(EditTest, EstimatedHeightIsOneLineOfTheDefaultFont)
{
    const int cyFont = pm().GetDefaultFontInfo().tmHeight;
    CEditUI* loose = new CEditUI;
    root->Add(loose);
    loose->SetFixedWidth(70);
    const SIZE sz = loose->EstimateSize(SIZE{ 300, 300 });
    EXPECT_EQ(70, sz.cx);
    EXPECT_EQ(cyFont + 6, sz.cy);
    EXPECT_EQ(kRowHeight, edit->EstimateSize(SIZE{ 300, 300 }).cy);
}

// ---------------------------------------------------------------------------------
// Opening and closing the native editor

TEST_F(EditTest, FocusOpensTheEditorOverTheTextAreaAndMovingItClosesIt)
{
    edit->SetText(L"hello");
    log().records.clear();
    HWND hEditor = OpenEditor(edit);
    ASSERT_NE(nullptr, hEditor);
    EXPECT_EQ(hEditor, ::GetFocus());
    EXPECT_TRUE(::IsWindowVisible(hEditor));
    EXPECT_EQ(L"hello", WindowText(hEditor));
    EXPECT_EQ(0, log().Count(NotifyTextChanged)); // opening is not an edit

    RECT rc = {};
    ::GetWindowRect(hEditor, &rc);
    ::MapWindowPoints(nullptr, hwnd, reinterpret_cast<LPPOINT>(&rc), 2);
    const RECT& pos = edit->GetPos();
    EXPECT_EQ(pos.left + 4, rc.left);
    EXPECT_EQ(pos.top + 4, rc.top);
    EXPECT_EQ(pos.right - 4, rc.right);
    EXPECT_EQ(pos.bottom - 4, rc.bottom);

    const LONG_PTR style = ::GetWindowLongPtrW(hEditor, GWL_STYLE);
    EXPECT_EQ(WS_CHILD, style & WS_CHILD);
    EXPECT_EQ(ES_AUTOHSCROLL, style & ES_AUTOHSCROLL);
    EXPECT_EQ(0, style & (ES_PASSWORD | ES_NUMBER | ES_READONLY));
    EXPECT_EQ(255, static_cast<int>(::SendMessageW(hEditor, EM_GETLIMITTEXT, 0, 0)));
    EXPECT_EQ(0, static_cast<int>(::SendMessageW(hEditor, EM_GETMARGINS, 0, 0)));
    EXPECT_EQ(reinterpret_cast<LRESULT>(pm().GetDefaultFont()), ::SendMessageW(hEditor, WM_GETFONT, 0, 0));

    // A second focus request keeps the same editor.
    TEventRecUI again = {};
    again.type = EventSetFocus;
    edit->DoEvent(again);
    EXPECT_EQ(hEditor, Editor());

    pm().SetFocus(other);
    PumpMessages();
    EXPECT_FALSE(::IsWindow(hEditor));
    EXPECT_EQ(nullptr, Editor());
    EXPECT_FALSE(edit->IsFocused());
    EXPECT_EQ(other, pm().GetFocus());
}

TEST_F(EditTest, ClickOpensTheEditorAndAgainAfterTheKeyboardLeftIt)
{
    const RECT& pos = edit->GetPos();
    Click(pos.left + 40, pos.top + 15);
    HWND hEditor = Editor();
    ASSERT_NE(nullptr, hEditor);
    EXPECT_EQ(edit, pm().GetFocus());
    EXPECT_EQ(hEditor, ::GetFocus());

    // The keyboard focus goes to the window itself: the editor closes, the control
    // keeps the manager's focus, and the next click on it opens a new editor.
    ::SetFocus(hwnd);
    PumpMessages();
    EXPECT_EQ(nullptr, Editor());
    EXPECT_EQ(edit, pm().GetFocus());
    Click(pos.left + 40, pos.top + 15);
    EXPECT_NE(nullptr, Editor());
    EXPECT_EQ(Editor(), ::GetFocus());

    // Clicking another control closes it again.
    const RECT& rcOther = other->GetPos();
    Click(rcOther.left + 10, rcOther.top + 10);
    EXPECT_EQ(nullptr, Editor());
    EXPECT_EQ(other, pm().GetFocus());
}

// A press on the focused field goes on to the open editor at the same spot, so the
// caret follows the click.
TEST_F(EditTest, PressOnTheFocusedFieldPlacesTheCaretInTheEditor)
{
    edit->SetText(L"abcdefgh");
    HWND hEditor = OpenEditor(edit);
    ASSERT_NE(nullptr, hEditor);
    ::SendMessageW(hEditor, EM_SETSEL, 8, 8);
    const RECT& pos = edit->GetPos();
    TEventRecUI press = {};
    press.type = EventButtonDown;
    press.mousePoint = POINT{ pos.left + 4 + 1, pos.top + 15 }; // just inside the text area
    press.wParam = MK_LBUTTON;
    edit->DoEvent(press);
    ::SendMessageW(hEditor, WM_LBUTTONUP, 0, MAKELPARAM(1, 11));
    PumpMessages();
    DWORD dwStart = 0;
    DWORD dwEnd = 0;
    ::SendMessageW(hEditor, EM_GETSEL, reinterpret_cast<WPARAM>(&dwStart), reinterpret_cast<LPARAM>(&dwEnd));
    EXPECT_EQ(0u, dwStart);
    EXPECT_EQ(0u, dwEnd);
    EXPECT_EQ(hEditor, Editor());
}

// ---------------------------------------------------------------------------------
// Typing

TEST_F(EditTest, TypingNotifiesOncePerChangeAndSetTextAlwaysNotifies)
{
    HWND hEditor = OpenEditor(edit);
    ASSERT_NE(nullptr, hEditor);
    Type(hEditor, L"abc");
    EXPECT_STREQ(L"abc", edit->GetText().GetData());
    EXPECT_EQ(3, log().Count(NotifyTextChanged, edit));
    Type(hEditor, L"\b");
    EXPECT_STREQ(L"ab", edit->GetText().GetData());
    EXPECT_EQ(4, log().Count(NotifyTextChanged, edit));

    // From code: reported even when nothing changes; the open editor keeps its text.
    edit->SetText(L"ab");
    EXPECT_EQ(5, log().Count(NotifyTextChanged, edit));
    edit->SetText(L"xyz");
    EXPECT_EQ(6, log().Count(NotifyTextChanged, edit));
    EXPECT_EQ(L"ab", WindowText(hEditor));

    // Chinese text goes through unchanged.
    edit->SetText(L"");
    Type(hEditor, L"\x786E\x5B9A");
    EXPECT_STREQ(L"ab\x786E\x5B9A", edit->GetText().GetData());
}

TEST_F(EditTest, TypingStopsAtTheCharacterLimit)
{
    HWND hEditor = OpenEditor(edit);
    ASSERT_NE(nullptr, hEditor);
    Type(hEditor, std::wstring(300, L'a'));
    EXPECT_EQ(255, edit->GetText().GetLength());
    EXPECT_EQ(255, log().Count(NotifyTextChanged, edit));
}

TEST_F(EditTest, NumberOnlySwitchesWhileEditing)
{
    HWND hEditor = OpenEditor(edit);
    ASSERT_NE(nullptr, hEditor);
    edit->SetAttribute(L"numonly", L"true");
    EXPECT_NE(0, ::GetWindowLongPtrW(hEditor, GWL_STYLE) & ES_NUMBER);
    Type(hEditor, L"a1b2");
    EXPECT_STREQ(L"12", edit->GetText().GetData());

    edit->SetAttribute(L"numonly", L"false");
    EXPECT_EQ(0, ::GetWindowLongPtrW(hEditor, GWL_STYLE) & ES_NUMBER);
    Type(hEditor, L"x");
    EXPECT_STREQ(L"12x", edit->GetText().GetData());

    // Set before opening, the editor starts with digits only.
    edit2->SetNumberOnly(true);
    HWND hEditor2 = OpenEditor(edit2);
    ASSERT_NE(nullptr, hEditor2);
    EXPECT_NE(0, ::GetWindowLongPtrW(hEditor2, GWL_STYLE) & ES_NUMBER);
    Type(hEditor2, L"q7");
    EXPECT_STREQ(L"7", edit2->GetText().GetData());
}

TEST_F(EditTest, ReadOnlyRefusesTypingUntilCleared)
{
    edit->SetText(L"fixed");
    edit->SetAttribute(L"readonly", L"true");
    HWND hEditor = OpenEditor(edit);
    ASSERT_NE(nullptr, hEditor);
    EXPECT_NE(0, ::GetWindowLongPtrW(hEditor, GWL_STYLE) & ES_READONLY);
    log().records.clear();
    Type(hEditor, L"zz");
    EXPECT_STREQ(L"fixed", edit->GetText().GetData());
    EXPECT_EQ(L"fixed", WindowText(hEditor));
    EXPECT_EQ(0, log().Count(NotifyTextChanged));

    edit->SetReadOnly(false);
    EXPECT_EQ(0, ::GetWindowLongPtrW(hEditor, GWL_STYLE) & ES_READONLY);
    ::SendMessageW(hEditor, EM_SETSEL, 5, 5);
    Type(hEditor, L"!");
    EXPECT_STREQ(L"fixed!", edit->GetText().GetData());
    EXPECT_EQ(1, log().Count(NotifyTextChanged, edit));
}

TEST_F(EditTest, PasswordEditorMasksButReportsThePlainText)
{
    edit->SetAttribute(L"password", L"true");
    edit->SetText(L"abc");
    HWND hEditor = OpenEditor(edit);
    ASSERT_NE(nullptr, hEditor);
    EXPECT_NE(0, ::GetWindowLongPtrW(hEditor, GWL_STYLE) & ES_PASSWORD);
    EXPECT_EQ(static_cast<LRESULT>(L'*'), ::SendMessageW(hEditor, EM_GETPASSWORDCHAR, 0, 0));
    ::SendMessageW(hEditor, EM_SETSEL, 3, 3);
    Type(hEditor, L"d");
    EXPECT_STREQ(L"abcd", edit->GetText().GetData());

    // Changing the flag while open leaves the editor as it was opened.
    edit->SetPasswordMode(false);
    EXPECT_NE(0, ::GetWindowLongPtrW(hEditor, GWL_STYLE) & ES_PASSWORD);
}

// ---------------------------------------------------------------------------------
// Keys handled around the editor

TEST_F(EditTest, EnterInTheEditorActivatesOkAndTabMovesOn)
{
    HWND hEditor = OpenEditor(edit);
    ASSERT_NE(nullptr, hEditor);
    ::PostMessageW(hEditor, WM_KEYDOWN, VK_RETURN, 1);
    PumpMessages();
    EXPECT_EQ(1, log().Count(NotifyClick, ok));
    EXPECT_EQ(hEditor, Editor()); // the edit does not want ENTER, the editor stays
    EXPECT_TRUE(edit->GetText().IsEmpty());

    ::PostMessageW(hEditor, WM_KEYDOWN, VK_TAB, 1);
    PumpMessages();
    EXPECT_EQ(ok, pm().GetFocus());
    EXPECT_EQ(nullptr, Editor());
}

// ---------------------------------------------------------------------------------
// Closing from the control's side

TEST_F(EditTest, WheelOverTheEditorClosesItAndScrollsTheParent)
{
    CVerticalLayoutUI* list = new CVerticalLayoutUI;
    list->EnableScrollBar(true, false);
    CEditUI* inner = new CEditUI;
    inner->SetFixedHeight(kRowHeight);
    list->Add(inner);
    for (int i = 0; i < 10; i++) {
        CLabelUI* filler = new CLabelUI;
        filler->SetFixedHeight(kRowHeight);
        list->Add(filler);
    }
    AttachAndSettle(list);
    ASSERT_EQ(0, list->GetScrollPos().cy);

    HWND hEditor = OpenEditor(inner);
    ASSERT_NE(nullptr, hEditor);
    // The wheel arrives at the keyboard focus, the editor; turned towards the user it
    // scrolls down.
    POINT pt = { 50, 15 };
    ::ClientToScreen(hwnd, &pt);
    ::PostMessageW(hEditor, WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-WHEEL_DELTA)), MAKELPARAM(pt.x, pt.y));
    PumpMessages();
    EXPECT_EQ(nullptr, Editor());
    EXPECT_EQ(nullptr, pm().GetFocus());
    EXPECT_GT(list->GetScrollPos().cy, 0);
}

TEST_F(EditTest, ResizingHidingOrDisablingClosesTheEditor)
{
    struct Case
    {
        const char* what;
        void (*act)(CEditUI*, HWND);
    } const cases[] = {
        { "window size", [](CEditUI*, HWND h) { ::SendMessageW(h, WM_SIZE, SIZE_RESTORED, MAKELPARAM(300, 200)); } },
        { "hidden", [](CEditUI* p, HWND) { p->SetVisible(false); } },
        { "parent hidden", [](CEditUI* p, HWND) { p->SetInternalVisible(false); } },
        { "disabled", [](CEditUI* p, HWND) { p->SetEnabled(false); } },
    };
    for (const Case& c : cases) {
        HWND hEditor = OpenEditor(edit);
        ASSERT_NE(nullptr, hEditor) << c.what;
        c.act(edit, hwnd);
        PumpMessages();
        EXPECT_EQ(nullptr, Editor()) << c.what;
        EXPECT_NE(edit, pm().GetFocus()) << c.what;
        edit->SetVisible(true);
        edit->SetInternalVisible(true);
        edit->SetEnabled(true);
        LayOut(hwnd);
    }
}

// A field that is deleted while its editor is open (a window re-skinned from a text
// handler, say) must not be written to by the editor afterwards.
TEST_F(EditTest, DeletingTheFieldWhileEditingDetachesTheEditor)
{
    HWND hEditor = OpenEditor(edit);
    ASSERT_NE(nullptr, hEditor);
    Type(hEditor, L"ab");
    ::PostMessageW(hEditor, WM_CHAR, L'c', 1); // arrives after the field is gone
    root->Remove(edit);
    edit = nullptr;
    EXPECT_FALSE(::IsWindowVisible(hEditor));
    PumpMessages();
    EXPECT_FALSE(::IsWindow(hEditor));
    EXPECT_EQ(2, log().Count(NotifyTextChanged));
}

// ---------------------------------------------------------------------------------
// Painting

TEST_F(EditTest, PasswordFieldPaintsOneMaskPerCharacter)
{
    edit->SetPasswordMode(true);
    edit->SetText(L"abc");
    edit2->SetText(L"***");
    CDibCanvas canvas(300, 200, RGB(255, 255, 255));
    edit->DoPaint(canvas.DC(), canvas.Rect());
    edit2->DoPaint(canvas.DC(), canvas.Rect());
    const RECT& a = edit->GetPos();
    const RECT& b = edit2->GetPos();
    int nInk = 0;
    int nDiffer = 0;
    for (int y = 0; y < kRowHeight; y++) {
        for (int x = a.left; x < a.right; x++) {
            const DWORD pa = canvas.Pixel(x, a.top + y);
            // Glyphs may be smoothed: any dark pixel counts as ink.
            nInk += ((pa & 0xFF) < 0x80 && ((pa >> 8) & 0xFF) < 0x80 && ((pa >> 16) & 0xFF) < 0x80) ? 1 : 0;
            nDiffer += pa != canvas.Pixel(x, b.top + y) ? 1 : 0;
        }
    }
    EXPECT_GT(nInk, 0);
    EXPECT_EQ(0, nDiffer);
}

// Frames and state images: which one a field shows in each state.
TEST_F(EditTest, StateLooksOfTheField)
{
    const std::wstring disabledImage = WriteSolidBmp(L"lumora_edit_disabled.bmp", 0xC00000);
    const std::wstring focusedImage = WriteSolidBmp(L"lumora_edit_focused.bmp", 0x00A000);
    ASSERT_FALSE(disabledImage.empty());
    const DWORD kIdle = 0x4EA0D1;
    const DWORD kActive = 0x85E4FF;
    enum State { Idle, Hot, Focused, Disabled, DisabledFocused };
    struct Case
    {
        const char* what;
        State state;
        LPCWSTR disabled;
        LPCWSTR focused;
        DWORD edge;   // pixel on the outer edge
        DWORD inner;  // pixel one in from the edge
        DWORD centre; // pixel in the middle
    } const cases[] = {
        { "idle", Idle, L"", L"", kIdle, 0xFFFFFF, 0xFFFFFF },
        { "hot", Hot, L"", L"", kActive, kActive, 0xFFFFFF },
        { "focused", Focused, L"", L"", kActive, kActive, 0xFFFFFF },
        { "disabled without image", Disabled, L"", L"", kIdle, 0xFFFFFF, 0xFFFFFF },
        { "disabled with image", Disabled, disabledImage.c_str(), L"", 0xC00000, 0xC00000, 0xC00000 },
        { "focused with image", Focused, L"", focusedImage.c_str(), 0x00A000, 0x00A000, 0x00A000 },
        { "disabled beats focused", DisabledFocused, disabledImage.c_str(), focusedImage.c_str(), 0xC00000, 0xC00000,
          0xC00000 },
        { "disabled focused, no image", DisabledFocused, L"", L"", kIdle, 0xFFFFFF, 0xFFFFFF },
        { "missing image falls back to the frame", Disabled, L"no-such-image.bmp", L"", kIdle, 0xFFFFFF, 0xFFFFFF },
    };
    for (const Case& c : cases) {
        CEditUI field;
        field.SetManager(&pm(), nullptr);
        field.SetPos(RECT{ 0, 0, 100, 30 });
        field.SetDisabledImage(c.disabled);
        field.SetFocusedImage(c.focused);
        TEventRecUI e = {};
        if (c.state == Hot) {
            e.type = EventMouseEnter;
            field.DoEvent(e);
        }
        if (c.state == Focused || c.state == DisabledFocused) {
            e.type = EventSetFocus; // the label's part sets the focus flag without opening an editor
            field.CLabelUI::DoEvent(e);
        }
        if (c.state == Disabled || c.state == DisabledFocused) field.SetEnabled(false);
        CDibCanvas canvas(100, 30, RGB(255, 255, 255));
        field.DoPaint(canvas.DC(), canvas.Rect());
        EXPECT_EQ(c.edge, canvas.Pixel(0, 15)) << c.what;
        EXPECT_EQ(c.inner, canvas.Pixel(1, 15)) << c.what;
        EXPECT_EQ(c.centre, canvas.Pixel(50, 15)) << c.what;
        field.SetManager(nullptr, nullptr);
    }
}
