#include <string>

#include "SkinBuilderUI.h"
#include "UpdEditTestSupport.h"

using namespace UpdEditTest;

namespace {

// The new-features text of the update wizard: more lines than the box shows.
const wchar_t kFeatures[] = L"新版本功能介绍：\r"
                            L"1. 全新的首页设计，频道浏览更方便。\r"
                            L"2. 播放器支持倍速播放与画质切换。\r"
                            L"3. 修复了迷你模式下窗口位置错误的问题。\r"
                            L"4. 优化了启动速度和内存占用。\r"
                            L"5. 新增节目预约提醒。\r"
                            L"6. 下载更新支持断点续传。\r"
                            L"7. 托盘菜单增加定时关机。\r"
                            L"8. 改进了高分辨率屏幕下的显示效果。\r"
                            L"9. 其他细节优化。";

// Counts the deletions of the control it listens to; the control owns it.
class CDestroyCounter : public IDelegateUI
{
public:
    explicit CDestroyCounter(int& nCount) : m_nCount(nCount) { }
    bool Invoke(void*) override
    {
        m_nCount++;
        return true;
    }

private:
    int& m_nCount;
};

class CUpdRichEdit : public CEditFixture
{
protected:
    // A rich edit at (10,10)-(310,110), built from markup attributes, with an edit
    // below it as the next tab stop.
    CRichEditUI* PlacedRichEdit(std::initializer_list<std::pair<LPCWSTR, LPCWSTR>> attributes = {})
    {
        CRichEditUI* pRich = new CRichEditUI;
        Place(pRich, L"10,10,310,110");
        for (const auto& a : attributes) pRich->SetAttribute(a.first, a.second);
        pNext = new CEditUI;
        Place(pNext, L"10,150,310,180");
        Attach({ pRich, pNext });
        return pRich;
    }
    static CHARRANGE Selection(CRichEditUI* pRich)
    {
        CHARRANGE cr = { -2, -2 };
        pRich->SendTextServicesMessage(EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&cr), nullptr);
        return cr;
    }
    static LRESULT Ask(CRichEditUI* pRich, UINT uMsg, WPARAM wParam = 0, LPARAM lParam = 0)
    {
        LRESULT lResult = 0;
        pRich->SendTextServicesMessage(uMsg, wParam, lParam, &lResult);
        return lResult;
    }
    void Wheel(int x, int y, int nDelta, WORD wKeys)
    {
        POINT pt = { x, y };
        ::ClientToScreen(hWnd, &pt);
        ::SendMessageW(hWnd, WM_MOUSEWHEEL, MAKEWPARAM(wKeys, nDelta), MAKELPARAM(pt.x, pt.y));
        PumpMessages();
        PaintNow(hWnd);
    }

    CEditUI* pNext = nullptr;
};

} // namespace

TEST_F(CUpdRichEdit, EnterInsertsALineBreakOnlyWhenTheControlWantsIt)
{
    struct Case
    {
        LPCWSTR pstrAttribute;
        LPCWSTR pstrValue;
        bool bCtrl;
        bool bSendsReturn;
    };
    const Case cases[] = {
        { L"wantreturn", L"true", false, false },      { L"wantreturn", L"true", true, false },
        { L"wantreturn", L"false", false, true },      { L"wantctrlreturn", L"false", true, true },
        { L"wantctrlreturn", L"false", false, false },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::wstring(c.pstrAttribute) + L"=" + c.pstrValue + (c.bCtrl ? L" with Ctrl" : L""));
        log.records.clear();
        CRichEditUI* pRich = PlacedRichEdit({ { c.pstrAttribute, c.pstrValue } });
        pRich->SetText(L"ab");
        pRich->SetSel(1, 1);
        pRich->SetFocus();
        SetCtrl(c.bCtrl);
        PressKey(hWnd, VK_RETURN);
        SetCtrl(false);
        EXPECT_EQ(c.bSendsReturn ? 1 : 0, log.Count(L"return"));
        CStringUI sText = pRich->GetText();
        if (c.bSendsReturn) {
            EXPECT_STREQ(L"ab", sText.GetData());
        } else {
            EXPECT_EQ(3, sText.GetLength());
            EXPECT_EQ(L'a', sText.GetAt(0));
            EXPECT_EQ(L'\r', sText.GetAt(1));
            EXPECT_EQ(2, Ask(pRich, EM_GETLINECOUNT));
        }
    }
}

TEST_F(CUpdRichEdit, VerticalBarAppearsOnlyForTextTallerThanTheBox)
{
    CRichEditUI* pRich = PlacedRichEdit({ { L"vscrollbar", L"true" }, { L"autovscroll", L"true" } });
    CScrollBarUI* pBar = pRich->GetVerticalScrollBar();
    ASSERT_NE(nullptr, pBar);
    pRich->SetText(L"短文本");
    PaintNow(hWnd);
    EXPECT_FALSE(pBar->IsVisible());

    pRich->SetText(kFeatures);
    PaintNow(hWnd);
    PaintNow(hWnd);
    ASSERT_TRUE(pBar->IsVisible());
    EXPECT_GT(pBar->GetScrollRange(), 0);
    // The bar lies inside the control, at its right edge, beside the text.
    RECT rcBar = pBar->GetPos();
    EXPECT_EQ(310, rcBar.right);
    EXPECT_EQ(10, rcBar.top);
    EXPECT_EQ(110, rcBar.bottom);

    pRich->SetText(L"又短了");
    PaintNow(hWnd);
    PaintNow(hWnd);
    EXPECT_FALSE(pBar->IsVisible());
}

TEST_F(CUpdRichEdit, TextGivenBeforeTheFirstLayoutGetsItsBarInsideTheControl)
{
    CRichEditUI* pRich = PlacedRichEdit({ { L"vscrollbar", L"true" }, { L"text", kFeatures } });
    CScrollBarUI* pBar = pRich->GetVerticalScrollBar();
    ASSERT_TRUE(pBar->IsVisible());
    RECT rcBar = pBar->GetPos();
    EXPECT_EQ(310, rcBar.right);
    EXPECT_EQ(310 - pBar->GetFixedWidth(), rcBar.left);
    EXPECT_STREQ(kFeatures, pRich->GetText().GetData());

    pRich->SetText(L"又短了");
    PaintNow(hWnd);
    PaintNow(hWnd);
    EXPECT_FALSE(pBar->IsVisible());
}

TEST_F(CUpdRichEdit, ShowsAndScrollsAMultiLineChineseText)
{
    CRichEditUI* pRich = PlacedRichEdit({ { L"vscrollbar", L"true" }, { L"readonly", L"true" } });
    pRich->SetText(kFeatures);
    PaintNow(hWnd);
    PaintNow(hWnd);
    CScrollBarUI* pBar = pRich->GetVerticalScrollBar();
    ASSERT_TRUE(pBar->IsVisible());
    EXPECT_EQ(10, Ask(pRich, EM_GETLINECOUNT));
    EXPECT_EQ(0, Ask(pRich, EM_GETFIRSTVISIBLELINE));

    RECT rcText = Rect(10, 10, 290, 110);
    CDibCanvas top(400, 300, RGB(255, 255, 255));
    top.Paint(manager->GetRoot(), rcText);
    EXPECT_GT(top.CountOtherThan(rcText, 0xFFFFFF), 100);

    // The wheel without Ctrl scrolls by lines; the bar follows the text.
    Wheel(100, 50, -WHEEL_DELTA, 0);
    EXPECT_GT(Ask(pRich, EM_GETFIRSTVISIBLELINE), 0);
    EXPECT_GT(pBar->GetScrollPos(), 0);
    CDibCanvas scrolled(400, 300, RGB(255, 255, 255));
    scrolled.Paint(manager->GetRoot(), rcText);
    EXPECT_NE(top.Capture(rcText, 0xFFFFFF), scrolled.Capture(rcText, 0xFFFFFF));

    // To the end and back to the top.
    pRich->EndDown();
    EXPECT_EQ(pBar->GetScrollRange(), pBar->GetScrollPos());
    EXPECT_GE(Ask(pRich, EM_GETFIRSTVISIBLELINE), 2);
    pRich->HomeUp();
    EXPECT_EQ(0, pBar->GetScrollPos());
    EXPECT_EQ(0, Ask(pRich, EM_GETFIRSTVISIBLELINE));
    CDibCanvas back(400, 300, RGB(255, 255, 255));
    back.Paint(manager->GetRoot(), rcText);
    EXPECT_EQ(top.Capture(rcText, 0xFFFFFF), back.Capture(rcText, 0xFFFFFF));

    // Moving the bar's position scrolls the text.
    pRich->SetScrollPos(SIZE{ 0, pBar->GetScrollRange() });
    EXPECT_GE(Ask(pRich, EM_GETFIRSTVISIBLELINE), 2);

    // Read-only: typing changes nothing.
    pRich->SetFocus();
    TypeText(hWnd, L"新");
    EXPECT_STREQ(kFeatures, pRich->GetText().GetData());
}

TEST_F(CUpdRichEdit, CtrlWheelGoesToTheTextServices)
{
    CRichEditUI* pRich = PlacedRichEdit({ { L"vscrollbar", L"true" } });
    pRich->SetText(kFeatures);
    PaintNow(hWnd);
    PaintNow(hWnd);
    ASSERT_TRUE(pRich->GetVerticalScrollBar()->IsVisible());
    pRich->SetFocus();
    SetCtrl(true);
    Wheel(100, 50, WHEEL_DELTA, MK_CONTROL);
    SetCtrl(false);
    EXPECT_EQ(0, Ask(pRich, EM_GETFIRSTVISIBLELINE));
    EXPECT_EQ(0, pRich->GetVerticalScrollBar()->GetScrollPos());
    int nNumerator = 0, nDenominator = 0;
    Ask(pRich, EM_GETZOOM, reinterpret_cast<WPARAM>(&nNumerator), reinterpret_cast<LPARAM>(&nDenominator));
    EXPECT_NE(nNumerator, nDenominator);
}

TEST_F(CUpdRichEdit, TypingAndSelectingWithRealMessages)
{
    CRichEditUI* pRich = PlacedRichEdit();
    Click(100, 50);
    EXPECT_EQ(pRich, manager->GetFocus());
    TypeText(hWnd, L"更新内容");
    PressKey(hWnd, VK_RETURN);
    TypeText(hWnd, L"第二行");
    EXPECT_STREQ(L"更新内容\r第二行", pRich->GetText().GetData());
    CHARRANGE cr = Selection(pRich);
    EXPECT_EQ(8, cr.cpMin);
    EXPECT_EQ(8, cr.cpMax);

    // A drag from the first character over the first line selects from its start.
    POINTL ptFirst = {};
    Ask(pRich, EM_POSFROMCHAR, reinterpret_cast<WPARAM>(&ptFirst), 0);
    int y = ptFirst.y + 3;
    Send(WM_MOUSEMOVE, 0, ptFirst.x + 1, y);
    Send(WM_LBUTTONDOWN, MK_LBUTTON, ptFirst.x + 1, y);
    Send(WM_MOUSEMOVE, MK_LBUTTON, 300, y);
    Send(WM_LBUTTONUP, 0, 300, y);
    PumpMessages();
    cr = Selection(pRich);
    EXPECT_EQ(0, cr.cpMin);
    EXPECT_GE(cr.cpMax, 4);

    // Typing replaces the selection.
    TypeText(hWnd, L"新");
    CStringUI sText = pRich->GetText();
    EXPECT_EQ(L'新', sText.GetAt(0));
    EXPECT_NE(-1, sText.Find(L"第二行"));
    EXPECT_EQ(-1, sText.Find(L"更新内容"));

    // Keys reach the control only while it has the focus.
    manager->SetFocus(pNext);
    PumpMessages();
    ::SetFocus(hWnd);
    PumpMessages();
    CStringUI sBefore = pRich->GetText();
    TypeText(hWnd, L"x");
    EXPECT_STREQ(sBefore.GetData(), pRich->GetText().GetData());
}

TEST_F(CUpdRichEdit, AppendTextPutsTheTextAtTheEndWithTheCaretAfterIt)
{
    CRichEditUI* pRich = PlacedRichEdit();
    pRich->AppendText(L"新功能");
    EXPECT_STREQ(L"新功能", pRich->GetText().GetData());
    CHARRANGE cr = Selection(pRich);
    EXPECT_EQ(3, cr.cpMin);
    EXPECT_EQ(3, cr.cpMax);

    pRich->SetSel(0, 1);
    pRich->AppendText(L"：已发布");
    EXPECT_STREQ(L"新功能：已发布", pRich->GetText().GetData());
    cr = Selection(pRich);
    EXPECT_EQ(7, cr.cpMin);
    EXPECT_EQ(7, cr.cpMax);
    EXPECT_EQ(7, pRich->GetTextLength());
}

TEST_F(CUpdRichEdit, WithoutTextServicesOnlyBackgroundAndBorderArePainted)
{
    CRichEditUI rich;
    rich.SetAttribute(L"bkcolor", L"#FF00FF00");
    rich.SetAttribute(L"bordercolor", L"#FFFF0000");
    rich.SetAttribute(L"bordersize", L"1");
    rich.SetText(L"看不见的文字");
    rich.SetPos(Rect(10, 10, 110, 60));
    LRESULT lResult = 77;
    EXPECT_EQ(1, rich.SendTextServicesMessage(WM_CHAR, L'x', 0, &lResult));
    EXPECT_EQ(1, rich.SendTextServicesMessage(WM_KEYDOWN, VK_RETURN, 0, &lResult));
    EXPECT_STREQ(L"看不见的文字", rich.GetText().GetData());
    EXPECT_EQ(0, rich.AppendText(L"更多"));

    CDibCanvas canvas(120, 70, RGB(255, 255, 255));
    canvas.Paint(&rich, Rect(0, 0, 120, 70));
    for (int y = 11; y < 59; ++y) {
        for (int x = 11; x < 109; ++x) {
            ASSERT_EQ(0x00FF00u, canvas.Pixel(x, y)) << x << "," << y;
        }
    }
    EXPECT_EQ(0xFF0000u, canvas.Pixel(10, 30));
    EXPECT_EQ(0xFF0000u, canvas.Pixel(60, 10));
    EXPECT_EQ(0xFFFFFFu, canvas.Pixel(5, 5));
}

TEST_F(CUpdRichEdit, TabStaysInARichEditThatWantsIt)
{
    for (bool bWantTab : { true, false }) {
        SCOPED_TRACE(bWantTab);
        CRichEditUI* pRich = PlacedRichEdit({ { L"wanttab", bWantTab ? L"true" : L"false" } });
        EXPECT_EQ(bWantTab, pRich->IsWantTab());
        pRich->SetFocus();
        MSG msg = { hWnd, WM_KEYDOWN, VK_TAB, 1, 0, { 0, 0 } };
        bool bTaken = CWindowManagerUI::PreTranslateAll(&msg);
        EXPECT_EQ(!bWantTab, bTaken);
        EXPECT_EQ(bWantTab ? static_cast<CControlUI*>(pRich) : static_cast<CControlUI*>(pNext), manager->GetFocus());
        PumpMessages();
    }
}

TEST_F(CUpdRichEdit, ReplacedControlLeavesTheManagersFilters)
{
    CRichEditUI* pRich = PlacedRichEdit();
    pRich->SetText(L"旧");
    pRich->SetFocus();
    // Listed while attached (put back at once: the check takes it off).
    ASSERT_TRUE(manager->RemoveMessageFilter(pRich));
    ASSERT_TRUE(manager->AddMessageFilter(pRich));
    int nDestroyed = 0;
    pRich->OnDestroy += new CDestroyCounter(nDestroyed);
    // A new tree replaces the old one; the old rich edit is deleted later, and the
    // window's messages in between must not reach it.
    manager->AttachRoot(new CContainerUI);
    EXPECT_FALSE(manager->RemoveMessageFilter(pRich));
    Send(WM_MOUSEMOVE, 0, 50, 50);
    Send(WM_LBUTTONDOWN, MK_LBUTTON, 50, 50);
    Send(WM_LBUTTONUP, 0, 50, 50);
    ::SendMessageW(hWnd, WM_CHAR, L'x', 1);
    ASSERT_EQ(0, nDestroyed);
    EXPECT_STREQ(L"旧", pRich->GetText().GetData());
    // The clean-up message then deletes it, and later messages reach nothing freed.
    PumpMessages();
    EXPECT_EQ(1, nDestroyed);
    TypeText(hWnd, L"y");
    Send(WM_LBUTTONDOWN, MK_LBUTTON, 50, 50);
    Send(WM_LBUTTONUP, 0, 50, 50);
    PumpMessages();
}

TEST_F(CUpdRichEdit, SkinMarkupBuildsTheThreeControls)
{
    CSkinBuilderUI builder;
    CControlUI* pRoot = builder.Build(
        L"<Window><Container><Edit name=\"e\" maxchar=\"9\" password=\"true\"/>"
        L"<RichEdit name=\"r\" wanttab=\"false\" rich=\"false\" textcolor=\" #FF112233\" font=\"2\" readonly=\"true\"/>"
        L"<DateTime name=\"d\"/></Container></Window>",
        nullptr, nullptr, manager);
    ASSERT_NE(nullptr, pRoot);
    manager->AttachRoot(pRoot);
    CEditUI* pEdit = static_cast<CEditUI*>(manager->FindControl(L"e")->GetInterface(L"Edit"));
    ASSERT_NE(nullptr, pEdit);
    EXPECT_EQ(9u, pEdit->GetMaxChar());
    EXPECT_TRUE(pEdit->IsPasswordMode());
    CRichEditUI* pRich = static_cast<CRichEditUI*>(manager->FindControl(L"r")->GetInterface(L"RichEdit"));
    ASSERT_NE(nullptr, pRich);
    EXPECT_STREQ(L"RichEditUI", pRich->GetControlClass());
    EXPECT_FALSE(pRich->IsWantTab());
    EXPECT_FALSE(pRich->IsRich());
    EXPECT_TRUE(pRich->IsReadOnly());
    EXPECT_EQ(0xFF112233u, pRich->GetTextColor());
    EXPECT_EQ(2, pRich->GetFont());
    EXPECT_EQ(ES_MULTILINE | ES_READONLY, pRich->GetWinStyle());
    EXPECT_NE(nullptr, pRich->GetInterface(L"IContainer"));
    EXPECT_NE(nullptr, manager->FindControl(L"d")->GetInterface(L"DateTime"));
}
