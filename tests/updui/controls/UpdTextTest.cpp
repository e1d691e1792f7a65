#include "UpdControlsTestSupport.h"

using namespace UpdControlsTest;

namespace {

class CUpdText : public CControlsFixture
{
protected:
    CTextUI* PlacedText(LPCWSTR pstrText, bool bHtml)
    {
        CTextUI* pText = new CTextUI;
        pText->SetFloat(true);
        pText->SetAttribute(L"pos", L"10,10,390,60");
        pText->SetShowHtml(bHtml);
        pText->SetText(pstrText);
        CContainerUI* pRoot = new CContainerUI;
        pRoot->Add(pText);
        Attach(pRoot);
        return pText;
    }
    POINT CentreOf(const RECT& rc) const
    {
        POINT pt = { (rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2 };
        return pt;
    }
};

} // namespace

TEST_F(CUpdText, ThirdOfThreeLinksReportsIndexTwo)
{
    CTextUI* pText = PlacedText(L"{a one}first{/a} and {a two}second{/a} and {a three}third{/a}", true);
    ASSERT_EQ(3, pText->GetLinkCount());
    EXPECT_STREQ(L"three", pText->GetLinkContent(2).GetData());
    EXPECT_EQ(static_cast<UINT>(UIFLAG_SETCURSOR), pText->GetControlFlags());

    POINT pt = CentreOf(pText->GetLinkRect(2));
    Send(WM_MOUSEMOVE, 0, pt.x, pt.y);
    EXPECT_EQ(2, pText->GetHotLink());
    Click(pt.x, pt.y);
    ASSERT_EQ(1, log.Count(L"link"));
    for (const TNotifyRecUI& r : log.records) {
        if (r.type == L"link") {
            EXPECT_EQ(2u, r.wParam);
        }
    }

    // Leaving the text clears the hot link; a click beside every link reports nothing.
    Send(WM_MOUSEMOVE, 0, 395, 290);
    EXPECT_EQ(-1, pText->GetHotLink());
    Click(385, 55);
    EXPECT_EQ(1, log.Count(L"link"));

    pText->SetEnabled(false);
    Click(pt.x, pt.y);
    EXPECT_EQ(1, log.Count(L"link"));
    EXPECT_EQ(0u, pText->GetControlFlags());
}

TEST_F(CUpdText, PlainTextHasNoLinksAndMeasuresItsWrappedHeight)
{
    CTextUI* pText = PlacedText(L"{a one}first{/a}", false);
    EXPECT_EQ(0, pText->GetLinkCount());
    EXPECT_EQ(0u, pText->GetControlFlags());

    pText->SetFixedWidth(0);
    pText->SetFixedHeight(0);
    pText->SetText(L"a few words that surely wrap onto more than one line in a narrow box");
    SIZE szWide = pText->EstimateSize(SIZE{ 2000, 0 });
    SIZE szNarrow = pText->EstimateSize(SIZE{ 60, 0 });
    EXPECT_GT(szNarrow.cy, szWide.cy);
    EXPECT_LE(szNarrow.cx, 60);
    pText->SetFixedHeight(77);
    EXPECT_EQ(77, pText->EstimateSize(SIZE{ 60, 0 }).cy);
}
