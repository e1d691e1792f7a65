#include <gtest/gtest.h>

#include "UpdCoreTestSupport.h"

using namespace UpdCoreTest;

namespace {

// Answers a fixed value and counts its calls.
class CCountingDelegate : public IDelegateUI
{
public:
    CCountingDelegate(bool bAnswer, int* pCalls, int* pDeleted = nullptr)
        : m_bAnswer(bAnswer), m_pCalls(pCalls), m_pDeleted(pDeleted)
    { }
    ~CCountingDelegate() override
    {
        if (m_pDeleted != nullptr) (*m_pDeleted)++;
    }
    bool Invoke(void*) override
    {
        (*m_pCalls)++;
        return m_bAnswer;
    }

private:
    bool m_bAnswer;
    int* m_pCalls;
    int* m_pDeleted;
};

TEventRecUI MakeEvent(int type)
{
    TEventRecUI event = {};
    event.type = type;
    return event;
}

DWORD PixelAt(HDC hDC, int x, int y)
{
    return static_cast<DWORD>(::GetPixel(hDC, x, y));
}

} // namespace

TEST(UpdControl, PosWithNegativeEdgesMeasuresFromTheOtherSide)
{
    CControlUI control;
    control.SetAttribute(L"pos", L"-10,5,-2,25");
    EXPECT_EQ(-2, control.GetFixedXY().cx);
    EXPECT_EQ(5, control.GetFixedXY().cy);
    EXPECT_EQ(8, control.GetFixedWidth());
    EXPECT_EQ(20, control.GetFixedHeight());
    // Short values read no further than the text.
    control.SetAttribute(L"pos", L"3");
    EXPECT_EQ(3, control.GetFixedXY().cx);
    EXPECT_EQ(0, control.GetFixedHeight());
}

TEST(UpdControl, SetPosRaisesAnInvertedRightAndBottom)
{
    CControlUI control;
    control.SetPos(Rect(50, 40, 10, 20));
    EXPECT_EQ(50, control.GetPos().right);
    EXPECT_EQ(40, control.GetPos().bottom);
    EXPECT_EQ(0, control.GetWidth());
    EXPECT_EQ(0, control.GetHeight());
}

TEST(UpdControl, AttributeTableCases)
{
    struct Case
    {
        LPCWSTR name;
        LPCWSTR value;
        DWORD bk;
        DWORD border;
    } cases[] = {
        { L"bkcolor", L" #FF112233", 0xFF112233, 0 },
        { L"bkcolor1", L"#80FF0000", 0x80FF0000, 0 },
        { L"bordercolor", L"#FF00FF00", 0, 0xFF00FF00 },
        { L"bordercolor", L" #FF00FF00", 0, 0 },
    };
    for (const Case& c : cases) {
        CControlUI control;
        control.SetAttribute(c.name, c.value);
        EXPECT_EQ(c.bk, control.GetBkColor()) << c.name << L"=" << c.value;
        EXPECT_EQ(c.border, control.GetBorderColor()) << c.name;
    }
    CControlUI control;
    control.SetAttribute(L"bkcolor3", L"FF0000FF");
    control.SetAttribute(L"borderround", L"4,6");
    control.SetAttribute(L"shortcut", L"Q");
    control.SetAttribute(L"visible", L"True");
    control.SetAttribute(L"menu", L"true");
    control.SetAttribute(L"relativepos", L"10,20,30,40");
    control.SetAttribute(L"minwidth", L"-5");
    control.SetAttribute(L"maxheight", L"77");
    EXPECT_EQ(0xFF0000FFu, control.GetBkColor3());
    EXPECT_EQ(4, control.GetBorderRound().cx);
    EXPECT_EQ(6, control.GetBorderRound().cy);
    EXPECT_EQ(L'Q', control.GetShortcut());
    EXPECT_FALSE(control.IsVisible()); // only the exact "true" counts
    EXPECT_TRUE(control.IsContextMenuUsed());
    EXPECT_TRUE(control.IsRelativePos());
    EXPECT_EQ(30, control.GetRelativePos().nZoomXPercent);
    EXPECT_EQ(0, control.GetMinWidth());
    EXPECT_EQ(77, control.GetMaxHeight());
    EXPECT_EQ(9999, control.GetMaxWidth());
}

TEST(UpdControl, AttributeListStopsAtAnythingButOneBlank)
{
    CControlUI two;
    two.ApplyAttributeList(L"name=\"first\"  text=\"second\"");
    EXPECT_STREQ(L"first", two.GetName().GetData());
    EXPECT_TRUE(two.GetText().IsEmpty());

    CControlUI one;
    one.ApplyAttributeList(L"name=\"first\" text=\"second\" tooltip=\"tip\"");
    EXPECT_STREQ(L"second", one.GetText().GetData());
    EXPECT_STREQ(L"tip", one.GetToolTip().GetData());

    CControlUI broken;
    broken.ApplyAttributeList(L"name='x' text=\"y\"");
    broken.ApplyAttributeList(L"text=\"unterminated");
    broken.ApplyAttributeList(nullptr);
    EXPECT_TRUE(broken.GetName().IsEmpty());
    EXPECT_TRUE(broken.GetText().IsEmpty());
}

TEST(UpdControl, AFalseListenerVetoesTheEventAndStopsTheWalk)
{
    int calls = 0;
    int deleted = 0;
    {
        CProbeUI control;
        control.OnEvent += new CCountingDelegate(false, &calls, &deleted);
        control.OnEvent += new CCountingDelegate(true, &calls, &deleted);
        TEventRecUI event = MakeEvent(EventMouseMove);
        control.Event(event);
        EXPECT_EQ(1, calls);
        EXPECT_TRUE(control.events.empty());
    }
    EXPECT_EQ(2, deleted);

    int initCalls = 0;
    int destroyCalls = 0;
    {
        CProbeUI control;
        control.OnInit += new CCountingDelegate(true, &initCalls);
        control.OnDestroy += new CCountingDelegate(true, &destroyCalls);
        control.Init();
        TEventRecUI event = MakeEvent(EventMouseMove);
        control.Event(event);
        EXPECT_EQ(1, control.Count(EventMouseMove));
    }
    EXPECT_EQ(1, initCalls);
    EXPECT_EQ(1, destroyCalls);
}

using CUpdControlWindow = CHostedManagerFixture;

TEST_F(CUpdControlWindow, HiddenControlLosesTheFocusForGood)
{
    CContainerUI* pRoot = new CContainerUI;
    CProbeUI* pEdit = new CProbeUI(L"edit");
    pRoot->Add(pEdit);
    manager->AttachRoot(pRoot);
    manager->SetFocus(pEdit);
    ASSERT_EQ(pEdit, manager->GetFocus());
    EXPECT_TRUE(pEdit->IsFocused());
    pEdit->SetVisible(false);
    EXPECT_EQ(nullptr, manager->GetFocus());
    EXPECT_FALSE(pEdit->IsFocused());
    pEdit->SetVisible(true);
    EXPECT_EQ(nullptr, manager->GetFocus());
}

TEST_F(CUpdControlWindow, FloatControlKeepsItsOffsetFromTheParentsRightEdge)
{
    CContainerUI* pRoot = new CContainerUI;
    CProbeUI* pFloat = new CProbeUI;
    pFloat->SetAttribute(L"float", L"true");
    pFloat->SetAttribute(L"pos", L"-30,10,-10,20");
    pRoot->Add(pFloat);
    manager->AttachRoot(pRoot);
    pRoot->SetPos(Rect(0, 0, 200, 100));
    EXPECT_EQ(170, pFloat->GetPos().left);
    EXPECT_EQ(190, pFloat->GetPos().right);
    pFloat->SetPos(Rect(150, 10, 180, 20));
    EXPECT_EQ(-20, pFloat->GetFixedXY().cx);
    EXPECT_EQ(10, pFloat->GetFixedXY().cy);
    EXPECT_EQ(30, pFloat->GetFixedWidth());
}

TEST_F(CUpdControlWindow, TranslucentBackgroundCoversTheWholeControl)
{
    HDC hScreen = ::GetDC(nullptr);
    HDC hDC = ::CreateCompatibleDC(hScreen);
    HBITMAP hBmp = ::CreateCompatibleBitmap(hScreen, 100, 100);
    HGDIOBJ hOld = ::SelectObject(hDC, hBmp);
    struct Case
    {
        DWORD colour;
        bool outsidePainted;
    } cases[] = { { 0xFFFF0000, false }, { 0x80FF0000, true } };
    for (const Case& c : cases) {
        RECT rcAll = Rect(0, 0, 100, 100);
        ::FillRect(hDC, &rcAll, static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
        CControlUI control;
        control.SetManager(manager, nullptr, false);
        control.SetBkColor(c.colour);
        control.SetPos(Rect(0, 0, 100, 100));
        control.DoPaint(hDC, Rect(0, 0, 50, 50));
        EXPECT_NE(0x00FFFFFFu, PixelAt(hDC, 10, 10) & 0x00FFFFFF) << std::hex << c.colour;
        EXPECT_EQ(c.outsidePainted, (PixelAt(hDC, 80, 80) & 0x00FFFFFF) != 0x00FFFFFF) << std::hex << c.colour;
        control.SetManager(nullptr, nullptr, false);
    }
    ::SelectObject(hDC, hOld);
    ::DeleteObject(hBmp);
    ::DeleteDC(hDC);
    ::ReleaseDC(nullptr, hScreen);
}

TEST_F(CUpdControlWindow, TimerAndContextMenuBecomeNotifications)
{
    CNotifyLog log;
    manager->AddNotifier(&log);
    CContainerUI* pRoot = new CContainerUI;
    CProbeUI* pControl = new CProbeUI(L"probe");
    pRoot->Add(pControl);
    manager->AttachRoot(pRoot);
    TEventRecUI timer = MakeEvent(EventTimer);
    timer.wParam = 5;
    pControl->Event(timer);
    ASSERT_EQ(1, log.Count(L"timer"));
    EXPECT_EQ(5u, log.records.back().wParam);
    TEventRecUI menu = MakeEvent(EventContextMenu);
    pControl->Event(menu);
    EXPECT_EQ(0, log.Count(L"menu"));
    pControl->SetContextMenuUsed(true);
    pControl->Event(menu);
    EXPECT_EQ(1, log.Count(L"menu"));
    EXPECT_EQ(pControl, log.records.back().sender);
}

TEST_F(CUpdControlWindow, UnhandledEventsBubbleToTheRoot)
{
    CProbeContainerUI* pRoot = new CProbeContainerUI;
    CProbeContainerUI* pMiddle = new CProbeContainerUI;
    CProbeUI* pLeaf = new CProbeUI;
    pRoot->Add(pMiddle);
    pMiddle->Add(pLeaf);
    manager->AttachRoot(pRoot);
    TEventRecUI event = MakeEvent(EventButtonDown);
    pLeaf->Event(event);
    EXPECT_EQ(1, pLeaf->Count(EventButtonDown));
    ASSERT_EQ(1u, pMiddle->events.size());
    ASSERT_EQ(1u, pRoot->events.size());
    EXPECT_EQ(EventButtonDown, pRoot->events[0]);
}
