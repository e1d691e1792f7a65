#include "UpdControlsTestSupport.h"

using namespace UpdControlsTest;

namespace {

// A control placed at fixed coordinates inside a plain root container.
template <class T> T* Placed(LPCWSTR pstrPos, LPCWSTR pstrName = L"")
{
    T* pControl = new T;
    pControl->SetFloat(true);
    pControl->SetAttribute(L"pos", pstrPos);
    pControl->SetName(pstrName);
    return pControl;
}

class CUpdButtons : public CControlsFixture
{
protected:
    CContainerUI* Root(std::initializer_list<CControlUI*> children)
    {
        CContainerUI* pRoot = new CContainerUI;
        for (CControlUI* p : children) pRoot->Add(p);
        Attach(pRoot);
        return pRoot;
    }
    int CountFrom(LPCWSTR pstrType, CControlUI* pSender) const
    {
        int n = 0;
        for (const TNotifyRecUI& r : log.records) n += (r.type == pstrType && r.sender == pSender) ? 1 : 0;
        return n;
    }
};

} // namespace

TEST(UpdLabel, AlignAndEllipsisAttributes)
{
    struct Case
    {
        UINT uStart;
        LPCWSTR pstrName;
        LPCWSTR pstrValue;
        UINT uExpected;
    } cases[] = {
        { DT_VCENTER, L"align", L"vcenter", DT_CENTER | DT_VCENTER },
        { DT_VCENTER, L"align", L"center", DT_CENTER | DT_VCENTER },
        { DT_CENTER | DT_VCENTER, L"align", L"left", DT_VCENTER },
        { DT_CENTER | DT_VCENTER, L"align", L"right", DT_RIGHT | DT_VCENTER },
        { DT_VCENTER, L"align", L"top", 0 },
        { DT_VCENTER, L"align", L"right bottom", DT_RIGHT | DT_BOTTOM },
        { DT_VCENTER, L"endellipsis", L"true", DT_VCENTER | DT_END_ELLIPSIS },
        { DT_VCENTER | DT_END_ELLIPSIS, L"endellipsis", L"TRUE", DT_VCENTER },
    };
    for (const Case& c : cases) {
        CLabelUI label;
        label.SetTextStyle(c.uStart);
        label.SetAttribute(c.pstrName, c.pstrValue);
        EXPECT_EQ(c.uExpected, label.GetTextStyle()) << c.pstrName << "=" << c.pstrValue;
    }
}

TEST(UpdLabel, ClassNamesAndInterfaces)
{
    CButtonUI button;
    EXPECT_STREQ(L"ButtonUI", button.GetControlClass());
    EXPECT_EQ(&button, button.GetInterface(L"Button"));
    EXPECT_EQ(&button, button.GetInterface(L"Label"));
    EXPECT_EQ(&button, button.GetInterface(L"Control"));
    EXPECT_EQ(nullptr, button.GetInterface(L"Option"));
    EXPECT_EQ(static_cast<UINT>(DT_CENTER | DT_VCENTER | DT_SINGLELINE), button.GetTextStyle());

    CCheckBoxUI check;
    EXPECT_STREQ(L"CheckBoxUI", check.GetControlClass());
    EXPECT_EQ(&check, check.GetInterface(L"Option"));
    EXPECT_EQ(nullptr, check.GetInterface(L"CheckBox"));

    CTextUI text;
    EXPECT_STREQ(L"TextUI", text.GetControlClass());
    EXPECT_EQ(static_cast<UINT>(DT_WORDBREAK), text.GetTextStyle());
    EXPECT_EQ(2, text.GetTextPadding().left);
    EXPECT_EQ(2, text.GetTextPadding().right);
}

TEST_F(CUpdButtons, LabelAndButtonHeightsFollowTheFont)
{
    CLabelUI* pLabel = Placed<CLabelUI>(L"0,0,50,0");
    CButtonUI* pButton = Placed<CButtonUI>(L"0,0,50,0");
    CLabelUI* pFixed = Placed<CLabelUI>(L"0,0,50,30");
    Root({ pLabel, pButton, pFixed });
    int cyFont = manager->GetDefaultFontInfo()->tm.tmHeight;
    SIZE szAvailable = { 300, 300 };
    EXPECT_EQ(cyFont + 4, pLabel->EstimateSize(szAvailable).cy);
    EXPECT_EQ(cyFont + 8, pButton->EstimateSize(szAvailable).cy);
    EXPECT_EQ(30, pFixed->EstimateSize(szAvailable).cy);
    EXPECT_EQ(50, pLabel->EstimateSize(szAvailable).cx);
}

TEST_F(CUpdButtons, ReleaseOutsideDoesNotClickButComingBackDoes)
{
    CButtonUI* pButton = Placed<CButtonUI>(L"10,10,110,40", L"ok");
    Root({ pButton });

    Send(WM_MOUSEMOVE, 0, 50, 20);
    Send(WM_LBUTTONDOWN, MK_LBUTTON, 50, 20);
    EXPECT_EQ(static_cast<UINT>(UISTATE_PUSHED | UISTATE_CAPTURED),
              pButton->GetButtonState() & (UISTATE_PUSHED | UISTATE_CAPTURED));
    Send(WM_MOUSEMOVE, MK_LBUTTON, 200, 200);
    EXPECT_EQ(0u, pButton->GetButtonState() & UISTATE_PUSHED);
    Send(WM_LBUTTONUP, 0, 200, 200);
    EXPECT_EQ(0, log.Count(L"click"));
    EXPECT_EQ(0u, pButton->GetButtonState() & UISTATE_CAPTURED);

    Send(WM_MOUSEMOVE, 0, 50, 20);
    Send(WM_LBUTTONDOWN, MK_LBUTTON, 50, 20);
    Send(WM_MOUSEMOVE, MK_LBUTTON, 200, 200);
    Send(WM_MOUSEMOVE, MK_LBUTTON, 60, 25);
    EXPECT_NE(0u, pButton->GetButtonState() & UISTATE_PUSHED);
    Send(WM_LBUTTONUP, 0, 60, 25);
    EXPECT_EQ(1, CountFrom(L"click", pButton));
}

TEST_F(CUpdButtons, SpaceAndEnterActivateAFocusedKeyboardButton)
{
    CButtonUI* pButton = Placed<CButtonUI>(L"10,10,110,40");
    CButtonUI* pNoKeys = Placed<CButtonUI>(L"10,50,110,80");
    pNoKeys->SetKeyboardEnabled(false);
    Root({ pButton, pNoKeys });

    pButton->SetFocus();
    ::SendMessageW(hWnd, WM_KEYDOWN, VK_SPACE, 0);
    ::SendMessageW(hWnd, WM_KEYDOWN, VK_RETURN, 0);
    ::SendMessageW(hWnd, WM_KEYDOWN, 'A', 0);
    EXPECT_EQ(2, CountFrom(L"click", pButton));

    pNoKeys->SetFocus();
    ::SendMessageW(hWnd, WM_KEYDOWN, VK_SPACE, 0);
    EXPECT_EQ(0, CountFrom(L"click", pNoKeys));
    EXPECT_EQ(static_cast<UINT>(UIFLAG_SETCURSOR), pNoKeys->GetControlFlags());
    pButton->SetEnabled(false);
    EXPECT_EQ(static_cast<UINT>(UIFLAG_TABSTOP), pButton->GetControlFlags());
}

TEST_F(CUpdButtons, RightClickAndDisabledButtons)
{
    CButtonUI* pButton = Placed<CButtonUI>(L"10,10,110,40");
    Root({ pButton });
    Send(WM_MOUSEMOVE, 0, 50, 20);
    EXPECT_NE(0u, pButton->GetButtonState() & UISTATE_HOT);
    Send(WM_RBUTTONDOWN, MK_RBUTTON, 50, 20);
    EXPECT_EQ(1, CountFrom(L"rclick", pButton));

    pButton->SetEnabled(false);
    EXPECT_EQ(0u, pButton->GetButtonState());
    Click(50, 20);
    Send(WM_RBUTTONDOWN, MK_RBUTTON, 50, 20);
    EXPECT_EQ(0, CountFrom(L"click", pButton));
    EXPECT_EQ(1, CountFrom(L"rclick", pButton));
}

TEST_F(CUpdButtons, GroupSelectionIsExclusiveAndReportedOnce)
{
    COptionUI* pA = Placed<COptionUI>(L"10,10,60,30");
    COptionUI* pB = Placed<COptionUI>(L"70,10,120,30");
    CCheckBoxUI* pC = Placed<CCheckBoxUI>(L"130,10,180,30");
    pA->SetGroup(L"g");
    pB->SetGroup(L"g");
    pC->SetGroup(L"g");
    Root({ pA, pB, pC });
    ASSERT_NE(nullptr, manager->GetOptionGroup(L"g"));
    EXPECT_EQ(3, manager->GetOptionGroup(L"g")->GetCount());

    pA->Select(true);
    pB->Select(true);
    log.records.clear();

    Click(150, 20);
    EXPECT_TRUE(pC->IsSelected());
    EXPECT_FALSE(pA->IsSelected());
    EXPECT_FALSE(pB->IsSelected());
    EXPECT_EQ(1, log.Count(L"selectchanged"));
    EXPECT_EQ(1, CountFrom(L"selectchanged", pC));
    EXPECT_EQ(1, CountFrom(L"click", pC));

    // The selected option of a group stays selected when clicked again.
    log.records.clear();
    Click(150, 20);
    EXPECT_TRUE(pC->IsSelected());
    EXPECT_EQ(1, CountFrom(L"click", pC));
    EXPECT_EQ(0, log.Count(L"selectchanged"));
}

TEST_F(CUpdButtons, OptionWithoutGroupTogglesAndDisablingKeepsTheSelectedBit)
{
    COptionUI* pOption = Placed<COptionUI>(L"10,10,60,30");
    Root({ pOption });
    Click(30, 20);
    EXPECT_TRUE(pOption->IsSelected());
    Click(30, 20);
    EXPECT_FALSE(pOption->IsSelected());
    EXPECT_EQ(2, CountFrom(L"selectchanged", pOption));
    EXPECT_EQ(2, CountFrom(L"click", pOption));

    pOption->Select(true);
    Send(WM_MOUSEMOVE, 0, 30, 20);
    pOption->SetEnabled(false);
    EXPECT_EQ(static_cast<UINT>(UISTATE_SELECTED), pOption->GetButtonState());
}

// The skin builder lends its manager while it applies attributes; an option that
// joined a group then must not stay in it once the manager is taken back.
TEST_F(CUpdButtons, OptionBuiltButNeverAttachedLeavesNoStaleGroupEntry)
{
    CSkinBuilderUI builder;
    CControlUI* pBuilt =
        builder.Build(L"<Window><Option group=\"g\" selected=\"true\" /></Window>", nullptr, nullptr, manager);
    ASSERT_NE(nullptr, pBuilt);
    EXPECT_EQ(nullptr, manager->GetOptionGroup(L"g"));
    delete pBuilt;

    COptionUI* pLive = Placed<COptionUI>(L"10,10,60,30");
    CSkinBuilderUI builder2;
    CControlUI* pSecond = builder2.Build(L"<Window><Option group=\"g\" /></Window>", nullptr, nullptr, manager);
    ASSERT_NE(nullptr, pSecond);
    pSecond->SetFloat(true);
    pLive->SetGroup(L"g");
    Root({ pLive, pSecond });
    ASSERT_NE(nullptr, manager->GetOptionGroup(L"g"));
    EXPECT_EQ(2, manager->GetOptionGroup(L"g")->GetCount());
    pLive->Select(true);
    static_cast<COptionUI*>(pSecond)->Select(true);
    EXPECT_FALSE(pLive->IsSelected());
}

// The first state image that applies wins: disabled, then pushed, then hot, else normal.
TEST_F(CUpdButtons, StateImagesFollowHoverAndEnabledState)
{
    std::wstring sFolder = MakeTempFolder(L"updbuttons");
    ASSERT_TRUE(WriteBmp(sFolder + L"red.bmp", 8, 8, [](int, int) { return 0xFF0000u; }));
    ASSERT_TRUE(WriteBmp(sFolder + L"blue.bmp", 8, 8, [](int, int) { return 0x0000FFu; }));
    ASSERT_TRUE(WriteBmp(sFolder + L"green.bmp", 8, 8, [](int, int) { return 0x00FF00u; }));
    CWindowManagerUI::SetResourcePath(sFolder.c_str());

    CButtonUI* pButton = Placed<CButtonUI>(L"10,10,60,30");
    pButton->SetAttribute(L"normalimage", L"red.bmp");
    pButton->SetAttribute(L"hotimage", L"blue.bmp");
    pButton->SetAttribute(L"disabledimage", L"green.bmp");
    CContainerUI* pRoot = Root({ pButton });
    RECT rc = { 0, 0, 200, 100 };

    CDibCanvas normal(200, 100);
    normal.Paint(pRoot, rc);
    EXPECT_EQ(0xFF0000u, normal.Pixel(30, 20));

    Send(WM_MOUSEMOVE, 0, 30, 20);
    ASSERT_NE(0u, pButton->GetButtonState() & UISTATE_HOT);
    CDibCanvas hot(200, 100);
    hot.Paint(pRoot, rc);
    EXPECT_EQ(0x0000FFu, hot.Pixel(30, 20));

    pButton->SetEnabled(false);
    CDibCanvas disabled(200, 100);
    disabled.Paint(pRoot, rc);
    EXPECT_EQ(0x00FF00u, disabled.Pixel(30, 20));
    CWindowManagerUI::SetResourcePath(L"");
}
