#include <gtest/gtest.h>

#include <vector>

#include "ButtonUI.h"
#include "ControlStateUI.h"
#include "DibCanvas.h"
#include "LabelUI.h"
#include "OptionUI.h"
#include "TextUI.h"
#include "VerticalLayoutUI.h"

namespace {

TEventRecUI MouseEvent(TEventTypeUI type, int x, int y)
{
    TEventRecUI e = {};
    e.type = type;
    e.mousePoint = POINT{ x, y };
    return e;
}

class CNotifyRecorder : public INotifyUI
{
public:
    void Notify(TNotifyRecUI& msg) override { records.push_back(msg); }
    int Count(TNotifyTypeUI type, CControlUI* sender = nullptr) const
    {
        int n = 0;
        for (const TNotifyRecUI& r : records) n += r.type == type && (sender == nullptr || r.sender == sender) ? 1 : 0;
        return n;
    }
    std::vector<TNotifyRecUI> records;
};

// Controls in a container whose manager sits on a hidden window, so notifications
// are delivered and invalidation has a real window to go to.
class ControlsTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_hWnd = ::CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 300, 200, nullptr, nullptr, nullptr, nullptr);
        ASSERT_NE(nullptr, m_hWnd);
        m_manager.Init(m_hWnd);
        m_manager.AddNotifier(&m_recorder);
        m_root = new CVerticalLayoutUI;
        m_manager.AttachRoot(m_root);
    }
    void TearDown() override
    {
        m_root->RemoveAll();
        m_recorder.records.clear();
    }
    ~ControlsTest() override
    {
        if (m_hWnd != nullptr) ::DestroyWindow(m_hWnd);
    }

    template <class T> T* AddControl(int top, int height)
    {
        T* p = new T;
        m_root->Add(p);
        p->SetPos(RECT{ 10, top, 110, top + height });
        return p;
    }

    // Press and release; the release point may lie elsewhere.
    static void Click(CControlUI* p, POINT down, POINT up)
    {
        TEventRecUI d = MouseEvent(EventButtonDown, down.x, down.y);
        p->DoEvent(d);
        TEventRecUI u = MouseEvent(EventButtonUp, up.x, up.y);
        p->DoEvent(u);
    }
    static void Click(CControlUI* p)
    {
        const RECT& rc = p->GetPos();
        POINT pt = { (rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2 };
        Click(p, pt, pt);
    }

    HWND m_hWnd = nullptr;
    CWindowManagerUI m_manager;
    CNotifyRecorder m_recorder;
    CVerticalLayoutUI* m_root = nullptr;
};

} // namespace

// ---------------------------------------------------------------------------------
// Label

TEST(LabelUI, AlignWordsSetTheTextStyle)
{
    struct Case
    {
        LPCWSTR align;
        UINT labelStyle;
        UINT buttonStyle;
    } const cases[] = {
        { L"right bottom", DT_RIGHT | DT_BOTTOM, DT_RIGHT | DT_BOTTOM | DT_SINGLELINE },
        { L"center", DT_CENTER | DT_VCENTER, DT_CENTER | DT_VCENTER | DT_SINGLELINE },
        { L"left top", 0, DT_SINGLELINE },
        { L"left", DT_VCENTER, DT_VCENTER | DT_SINGLELINE },
        { L"centerright", DT_RIGHT | DT_VCENTER, DT_RIGHT | DT_VCENTER | DT_SINGLELINE }, // later words win
    };
    for (const Case& c : cases) {
        CLabelUI label;
        CButtonUI button;
        label.SetAttribute(L"align", c.align);
        button.SetAttribute(L"align", c.align);
        EXPECT_EQ(c.labelStyle, label.GetTextStyle()) << c.align;
        EXPECT_EQ(c.buttonStyle, button.GetTextStyle()) << c.align;
    }
}

TEST(LabelUI, Attributes)
{
    CLabelUI label;
    label.SetAttribute(L"textcolor", L"#FF112233");
    label.SetAttribute(L"disabledtextcolor", L"80445566");
    label.SetAttribute(L"font", L"2");
    label.SetAttribute(L"textpadding", L"1,2,3,4");
    label.SetAttribute(L"showhtml", L"true");
    EXPECT_EQ(0xFF112233u, label.GetTextColor());
    EXPECT_EQ(0x80445566u, label.GetDisabledTextColor());
    EXPECT_EQ(2, label.GetFont());
    const RECT pad = label.GetTextPadding();
    EXPECT_EQ(1, pad.left);
    EXPECT_EQ(4, pad.bottom);
    EXPECT_TRUE(label.IsShowHtml());
    label.SetAttribute(L"showhtml", L"TRUE");
    EXPECT_FALSE(label.IsShowHtml());
    label.SetAttribute(L"width", L"40"); // to the base class
    EXPECT_EQ(40, label.GetFixedWidth());

    EXPECT_NE(nullptr, label.GetInterface(L"Label"));
    EXPECT_EQ(nullptr, label.GetInterface(L"Button"));
    EXPECT_EQ(0u, label.GetControlFlags());
}

TEST_F(ControlsTest, EstimatedHeightsFollowTheDefaultFont)
{
    const int cyFont = m_manager.GetDefaultFontInfo().tmHeight;
    ASSERT_GT(cyFont, 0);
    CLabelUI* label = AddControl<CLabelUI>(0, 20);
    CButtonUI* button = AddControl<CButtonUI>(20, 20);
    label->SetFixedWidth(50);
    EXPECT_EQ(50, label->EstimateSize(SIZE{ 300, 300 }).cx);
    EXPECT_EQ(cyFont + 4, label->EstimateSize(SIZE{ 300, 300 }).cy);
    EXPECT_EQ(cyFont + 8, button->EstimateSize(SIZE{ 300, 300 }).cy);
    button->SetFixedHeight(33);
    EXPECT_EQ(33, button->EstimateSize(SIZE{ 300, 300 }).cy);

    // Word-wrapped text grows with the lines it needs.
    CTextUI* text = AddControl<CTextUI>(40, 20);
    text->SetText(L"one two three four five six seven eight nine ten");
    const SIZE wide = text->EstimateSize(SIZE{ 2000, 300 });
    const SIZE narrow = text->EstimateSize(SIZE{ 60, 300 });
    EXPECT_GT(narrow.cy, wide.cy);
    EXPECT_LE(narrow.cx, 60);
}

// "right bottom" draws in the bottom-right corner: one line, in the default colour.
TEST_F(ControlsTest, LabelPaintsItsTextWhereItIsAligned)
{
    CLabelUI* label = AddControl<CLabelUI>(0, 60);
    label->SetPos(RECT{ 0, 0, 200, 60 });
    label->SetText(L"WWWW");
    label->SetAttribute(L"align", L"right bottom");
    CDibCanvas canvas(200, 60, RGB(255, 255, 255));
    label->DoPaint(canvas.DC(), canvas.Rect());
    EXPECT_EQ(0, canvas.CountOtherThan(RECT{ 0, 0, 100, 30 }, 0xFFFFFF));
    EXPECT_GT(canvas.CountOtherThan(RECT{ 100, 30, 200, 60 }, 0xFFFFFF), 0);
    EXPECT_EQ(0xFF000000u, label->GetTextColor()); // the default colour was filled in
}

// ---------------------------------------------------------------------------------
// Button

TEST_F(ControlsTest, ButtonClicksOnlyWhenReleasedOverItself)
{
    CButtonUI* button = AddControl<CButtonUI>(0, 30); // (10,0)-(110,30)
    Click(button, POINT{ 50, 15 }, POINT{ 200, 15 });
    EXPECT_EQ(0, m_recorder.Count(NotifyClick));
    EXPECT_EQ(0u, button->GetButtonState() & (UISTATE_PUSHED | UISTATE_CAPTURED));

    // Leaving while held drops the pushed look, coming back restores it.
    TEventRecUI down = MouseEvent(EventButtonDown, 50, 15);
    button->DoEvent(down);
    EXPECT_EQ(UISTATE_PUSHED | UISTATE_CAPTURED, button->GetButtonState() & (UISTATE_PUSHED | UISTATE_CAPTURED));
    TEventRecUI out = MouseEvent(EventMouseMove, 200, 15);
    button->DoEvent(out);
    EXPECT_EQ(0u, button->GetButtonState() & UISTATE_PUSHED);
    TEventRecUI back = MouseEvent(EventMouseMove, 60, 15);
    button->DoEvent(back);
    EXPECT_NE(0u, button->GetButtonState() & UISTATE_PUSHED);
    TEventRecUI up = MouseEvent(EventButtonUp, 60, 15);
    button->DoEvent(up);
    EXPECT_EQ(1, m_recorder.Count(NotifyClick, button));
    EXPECT_EQ(0u, button->GetButtonState() & (UISTATE_PUSHED | UISTATE_CAPTURED));

    // A double click presses as well; a release without a press clicks nothing.
    TEventRecUI dbl = MouseEvent(EventDoubleClick, 50, 15);
    button->DoEvent(dbl);
    button->DoEvent(up);
    EXPECT_EQ(2, m_recorder.Count(NotifyClick, button));
    button->DoEvent(up);
    EXPECT_EQ(2, m_recorder.Count(NotifyClick, button));

    TEventRecUI enter = MouseEvent(EventMouseEnter, 50, 15);
    button->DoEvent(enter);
    EXPECT_NE(0u, button->GetButtonState() & UISTATE_HOT);
    TEventRecUI leave = MouseEvent(EventMouseLeave, 500, 15);
    button->DoEvent(leave);
    EXPECT_EQ(0u, button->GetButtonState() & UISTATE_HOT);
}

TEST_F(ControlsTest, DisabledButtonClearsItsStateAndNeverClicks)
{
    CButtonUI* button = AddControl<CButtonUI>(0, 30);
    EXPECT_EQ(static_cast<UINT>(UIFLAG_TABSTOP | UIFLAG_SETCURSOR), button->GetControlFlags());
    TEventRecUI enter = MouseEvent(EventMouseEnter, 50, 15);
    button->DoEvent(enter);
    TEventRecUI down = MouseEvent(EventButtonDown, 50, 15);
    button->DoEvent(down);
    button->SetEnabled(false);
    EXPECT_EQ(0u, button->GetButtonState());
    EXPECT_EQ(static_cast<UINT>(UIFLAG_TABSTOP), button->GetControlFlags());
    TEventRecUI up = MouseEvent(EventButtonUp, 50, 15);
    button->DoEvent(up);
    Click(button);
    button->DoEvent(enter);
    EXPECT_EQ(0u, button->GetButtonState());
    EXPECT_FALSE(button->Activate());
    EXPECT_EQ(0, m_recorder.Count(NotifyClick));
}

// A state image that cannot be drawn is emptied once; the normal image then stands in.
TEST_F(ControlsTest, BrokenStateImageIsForgotten)
{
    CButtonUI* button = AddControl<CButtonUI>(0, 30);
    button->SetAttribute(L"hotimage", L"missing-hot.png");
    button->SetAttribute(L"normalimage", L"missing-normal.png");
    TEventRecUI enter = MouseEvent(EventMouseEnter, 50, 15);
    button->DoEvent(enter);
    CDibCanvas canvas(200, 60, RGB(255, 255, 255));
    button->DoPaint(canvas.DC(), canvas.Rect());
    EXPECT_STREQ(L"", button->GetHotImage());
    EXPECT_STREQ(L"", button->GetNormalImage());
}

// ---------------------------------------------------------------------------------
// Option

TEST_F(ControlsTest, GroupedOptionsNotifyOnceAndStaySelected)
{
    COptionUI* a = AddControl<COptionUI>(0, 20);
    COptionUI* b = AddControl<COptionUI>(20, 20);
    COptionUI* locked = AddControl<COptionUI>(40, 20);
    COptionUI* loose = AddControl<COptionUI>(60, 20); // not grouped
    for (COptionUI* p : { a, b, locked }) p->SetAttribute(L"group", L"true");
    locked->Select(true);
    locked->SetEnabled(false);
    a->Select(true);
    loose->Select(true);
    m_recorder.records.clear();

    Click(b);
    EXPECT_TRUE(b->IsSelected());
    EXPECT_FALSE(a->IsSelected());
    EXPECT_TRUE(locked->IsSelected()); // disabled siblings are left alone
    EXPECT_TRUE(loose->IsSelected());  // ungrouped siblings too
    EXPECT_EQ(1u, m_recorder.records.size());
    EXPECT_EQ(1, m_recorder.Count(NotifySelectChanged, b));
    EXPECT_NE(0u, b->GetButtonState() & UISTATE_SELECTED);
    EXPECT_EQ(0u, a->GetButtonState() & UISTATE_SELECTED);

    Click(b); // already selected: stays, says nothing
    EXPECT_TRUE(b->IsSelected());
    EXPECT_EQ(1u, m_recorder.records.size());
}

TEST_F(ControlsTest, UngroupedOptionToggles)
{
    COptionUI* option = AddControl<COptionUI>(0, 20);
    Click(option);
    EXPECT_TRUE(option->IsSelected());
    Click(option);
    EXPECT_FALSE(option->IsSelected());
    EXPECT_EQ(2, m_recorder.Count(NotifySelectChanged, option));
    EXPECT_EQ(0, m_recorder.Count(NotifyClick));
}

TEST(OptionUI, GroupedOptionWithoutParent)
{
    COptionUI option;
    option.SetAttribute(L"group", L"true");
    option.SetAttribute(L"selected", L"true");
    EXPECT_TRUE(option.IsSelected());
    EXPECT_TRUE(option.Activate());
    EXPECT_TRUE(option.IsSelected());
    EXPECT_EQ(&option, option.GetInterface(L"Option"));
    EXPECT_NE(nullptr, option.GetInterface(L"Button"));
    EXPECT_NE(nullptr, option.GetInterface(L"Label"));
    EXPECT_STREQ(L"OptionUI", option.GetControlClass());
}

TEST_F(ControlsTest, SelectedOptionPaintsItsSelectedBackground)
{
    COptionUI* option = AddControl<COptionUI>(0, 20);
    option->SetAttribute(L"selectedbkcolor", L"FF00FF00");
    option->SetAttribute(L"bkcolor", L"FFFF0000");
    CDibCanvas canvas(200, 60, RGB(255, 255, 255));
    option->DoPaint(canvas.DC(), canvas.Rect());
    EXPECT_EQ(0xFF0000u, canvas.Pixel(50, 10));
    option->Select(true);
    option->DoPaint(canvas.DC(), canvas.Rect());
    EXPECT_EQ(0x00FF00u, canvas.Pixel(50, 10));
}

// ---------------------------------------------------------------------------------
// Text with links

namespace {

// Finds the x of the first point on row y that is over link 0, by moving the mouse.
int FindLinkX(CTextUI* text, int y)
{
    const RECT rc = text->GetPos();
    for (int x = rc.left; x < rc.right; x++) {
        TEventRecUI move = MouseEvent(EventMouseMove, x, y);
        text->DoEvent(move);
        if (text->GetHotLink() == 0) return x;
    }
    return -1;
}

} // namespace

TEST_F(ControlsTest, TextLinksNotifyTheirIndexWhenEnabled)
{
    CTextUI* text = AddControl<CTextUI>(0, 40);
    text->SetPos(RECT{ 10, 0, 290, 40 }); // wide enough for one line
    text->SetShowHtml(true);
    text->SetText(L"go to <a page>this place</a> now");
    CDibCanvas canvas(300, 60, RGB(255, 255, 255));
    text->DoPaint(canvas.DC(), canvas.Rect());

    ASSERT_EQ(1, text->GetLinkCount());
    EXPECT_STREQ(L"page", text->GetLinkContent(0));
    EXPECT_EQ(nullptr, text->GetLinkContent(1));
    EXPECT_EQ(nullptr, text->GetLinkContent(-1));
    EXPECT_EQ(static_cast<UINT>(UIFLAG_SETCURSOR), text->GetControlFlags());

    const int y = 5;
    const int x = FindLinkX(text, y);
    ASSERT_GT(x, 10);
    Click(text, POINT{ x + 2, y }, POINT{ x + 2, y });
    ASSERT_EQ(1, m_recorder.Count(NotifyLink, text));
    EXPECT_EQ(0u, m_recorder.records.back().wParam);
    Click(text, POINT{ 11, y }, POINT{ 11, y }); // before the link
    EXPECT_EQ(1, m_recorder.Count(NotifyLink));

    TEventRecUI leave = MouseEvent(EventMouseLeave, 500, 500);
    text->DoEvent(leave);
    EXPECT_EQ(-1, text->GetHotLink());

    text->SetEnabled(false);
    Click(text, POINT{ x + 2, y }, POINT{ x + 2, y });
    EXPECT_EQ(1, m_recorder.Count(NotifyLink));
    EXPECT_EQ(0u, text->GetControlFlags());
}

// Drawn as plain text (or empty), the control has no links: it claims no cursor and
// hands out no stale link texts.
TEST_F(ControlsTest, PlainTextForgetsEarlierLinks)
{
    CTextUI* text = AddControl<CTextUI>(0, 40);
    text->SetShowHtml(true);
    text->SetText(L"<a page>link</a>");
    CDibCanvas canvas(200, 60, RGB(255, 255, 255));
    text->DoPaint(canvas.DC(), canvas.Rect());
    ASSERT_EQ(1, text->GetLinkCount());
    const int x = FindLinkX(text, 5);
    ASSERT_GE(x, 0);

    text->SetShowHtml(false);
    text->DoPaint(canvas.DC(), canvas.Rect());
    EXPECT_EQ(0, text->GetLinkCount());
    EXPECT_EQ(nullptr, text->GetLinkContent(0));
    EXPECT_EQ(0u, text->GetControlFlags());
    Click(text, POINT{ x + 1, 5 }, POINT{ x + 1, 5 });
    EXPECT_EQ(0, m_recorder.Count(NotifyLink));

    text->SetShowHtml(true);
    text->DoPaint(canvas.DC(), canvas.Rect());
    ASSERT_EQ(1, text->GetLinkCount());
    text->SetText(L"");
    text->DoPaint(canvas.DC(), canvas.Rect());
    EXPECT_EQ(0, text->GetLinkCount());
}
