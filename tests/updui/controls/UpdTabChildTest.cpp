#include "UpdControlsTestSupport.h"

using namespace UpdControlsTest;

namespace {

class CUpdTab : public CControlsFixture
{
protected:
    // A tab layout with n pages named p0, p1, ... as the window's root.
    CTabLayoutUI* Tabs(int nPages)
    {
        CTabLayoutUI* pTab = new CTabLayoutUI;
        for (int i = 0; i < nPages; ++i) {
            CContainerUI* pPage = new CContainerUI;
            pPage->SetName((L"p" + std::to_wstring(i)).c_str());
            pTab->Add(pPage);
        }
        Attach(pTab);
        return pTab;
    }
    const TNotifyRecUI* LastTabSelect() const
    {
        for (size_t i = log.records.size(); i > 0; --i) {
            if (log.records[i - 1].type == L"tabselect") return &log.records[i - 1];
        }
        return nullptr;
    }
};

} // namespace

TEST_F(CUpdTab, FirstPageIsCurrentAndSelectionShowsOnePage)
{
    CTabLayoutUI* pTab = Tabs(3);
    EXPECT_EQ(0, pTab->GetCurSel());
    EXPECT_TRUE(pTab->GetItemAt(0)->IsVisible());
    EXPECT_FALSE(pTab->GetItemAt(1)->IsVisible());
    EXPECT_EQ(400, pTab->GetItemAt(0)->GetWidth());

    EXPECT_TRUE(pTab->SelectItem(2));
    EXPECT_FALSE(pTab->GetItemAt(0)->IsVisible());
    EXPECT_TRUE(pTab->GetItemAt(2)->IsVisible());
    PaintNow(hWnd);
    EXPECT_EQ(400, pTab->GetItemAt(2)->GetWidth());
    const TNotifyRecUI* pRec = LastTabSelect();
    ASSERT_NE(nullptr, pRec);
    EXPECT_EQ(2u, pRec->wParam);
    EXPECT_EQ(0, pRec->lParam);
}

TEST_F(CUpdTab, BadIndexSendsNothingAndTheCurrentOneRepeats)
{
    CTabLayoutUI* pTab = Tabs(3);
    EXPECT_FALSE(pTab->SelectItem(3));
    EXPECT_FALSE(pTab->SelectItem(-1));
    EXPECT_EQ(0, log.Count(L"tabselect"));
    EXPECT_EQ(0, pTab->GetCurSel());

    EXPECT_TRUE(pTab->SelectItem(1));
    EXPECT_TRUE(pTab->SelectItem(1));
    EXPECT_EQ(2, log.Count(L"tabselect"));
    const TNotifyRecUI* pRec = LastTabSelect();
    ASSERT_NE(nullptr, pRec);
    EXPECT_EQ(1u, pRec->wParam);
    EXPECT_EQ(1, pRec->lParam);
}

TEST_F(CUpdTab, RemovingPagesKeepsACurrentPageWhileAnyRemain)
{
    CTabLayoutUI* pTab = Tabs(3);
    pTab->SelectItem(2);
    CControlUI* pFirst = pTab->GetItemAt(0);
    EXPECT_TRUE(pTab->Remove(pTab->GetItemAt(2)));
    EXPECT_EQ(0, pTab->GetCurSel());
    EXPECT_TRUE(pFirst->IsVisible());

    // Removing a page before the current one keeps the same page current.
    pTab->SelectItem(1);
    CControlUI* pCurrent = pTab->GetItemAt(1);
    EXPECT_TRUE(pTab->Remove(pFirst));
    EXPECT_EQ(0, pTab->GetCurSel());
    EXPECT_EQ(pCurrent, pTab->GetItemAt(0));

    EXPECT_FALSE(pTab->Remove(nullptr));
    EXPECT_TRUE(pTab->Remove(pCurrent));
    EXPECT_EQ(-1, pTab->GetCurSel());
    EXPECT_EQ(0, pTab->GetCount());
}

TEST_F(CUpdTab, InsertedPagesAndRemoveAll)
{
    CTabLayoutUI* pTab = Tabs(2);
    pTab->SelectItem(1);
    CContainerUI* pBefore = new CContainerUI;
    EXPECT_TRUE(pTab->AddAt(pBefore, 0));
    EXPECT_EQ(2, pTab->GetCurSel());
    CContainerUI* pAfter = new CContainerUI;
    EXPECT_TRUE(pTab->AddAt(pAfter, 3));
    EXPECT_FALSE(pAfter->IsVisible());
    EXPECT_EQ(2, pTab->GetCurSel());

    pTab->RemoveAll();
    EXPECT_EQ(-1, pTab->GetCurSel());
    CContainerUI* pFresh = new CContainerUI;
    EXPECT_TRUE(pTab->Add(pFresh));
    EXPECT_EQ(0, pTab->GetCurSel());
    EXPECT_TRUE(pFresh->IsVisible());
}

TEST_F(CUpdTab, SelectedIdInMarkupSelectsThePage)
{
    CSkinBuilderUI builder;
    CControlUI* pRoot = builder.Build(
        L"<Window><TabLayout selectedid=\"1\"><Container name=\"a\"/><Container name=\"b\"/></TabLayout></Window>",
        nullptr, nullptr, manager);
    ASSERT_NE(nullptr, pRoot);
    Attach(pRoot);
    CTabLayoutUI* pTab = static_cast<CTabLayoutUI*>(pRoot->GetInterface(L"TabLayout"));
    ASSERT_NE(nullptr, pTab);
    EXPECT_EQ(1, pTab->GetCurSel());
    EXPECT_TRUE(manager->FindControl(L"b")->IsVisible());
    EXPECT_FALSE(manager->FindControl(L"a")->IsVisible());
}

TEST_F(CUpdTab, ChildWindowBuildsItsOwnMarkupOrStaysEmpty)
{
    std::wstring sFolder = MakeTempFolder(L"updchild");
    const char kMarkup[] = "<Window><Button name=\"inner\" text=\"x\"/></Window>";
    ASSERT_TRUE(WriteWholeFile(sFolder + L"child.xml", kMarkup, sizeof(kMarkup) - 1));
    ASSERT_TRUE(WriteWholeFile(sFolder + L"broken.xml", "<Window><Button", 15));
    CWindowManagerUI::SetResourcePath(sFolder.c_str());

    CVerticalLayoutUI* pRoot = new CVerticalLayoutUI;
    CChildWindowUI* pEmpty = new CChildWindowUI;
    CChildWindowUI* pGood = new CChildWindowUI;
    pGood->SetAttribute(L"xmlfile", L"child.xml");
    CChildWindowUI* pBad = new CChildWindowUI;
    pBad->SetAttribute(L"xmlfile", L"broken.xml");
    CChildWindowUI* pMissing = new CChildWindowUI;
    pMissing->SetAttribute(L"xmlfile", L"nothing-here.xml");
    pRoot->Add(pEmpty);
    pRoot->Add(pGood);
    pRoot->Add(pBad);
    pRoot->Add(pMissing);
    Attach(pRoot);

    EXPECT_EQ(0, pEmpty->GetCount());
    EXPECT_EQ(0, pBad->GetCount());
    EXPECT_EQ(0, pMissing->GetCount());
    ASSERT_EQ(1, pGood->GetCount());
    CControlUI* pInner = pGood->GetItemAt(0);
    EXPECT_STREQ(L"ButtonUI", pInner->GetControlClass());
    EXPECT_EQ(manager, pInner->GetManager());
    EXPECT_EQ(pInner, manager->FindControl(L"inner"));
    EXPECT_EQ(nullptr, pGood->GetInterface(L"Container"));
    EXPECT_EQ(nullptr, pGood->GetInterface(L"IContainer"));
    EXPECT_EQ(pGood, pGood->GetInterface(L"ChildWindow"));
    CWindowManagerUI::SetResourcePath(L"");
}
