// The skin builder over the zipped test skin held in memory, as the updater builds its
// dialogs: window attributes, shared definitions, default attributes, includes, unknown
// tags and the application's callback.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ContainerUI.h"
#include "ControlUI.h"
#include "PainterUI.h"
#include "SkinBuilderUI.h"
#include "UpdSkinTestSupport.h"
#include "WindowManagerUI.h"

using namespace UpdUI;

namespace {

// The archive block must outlive every window built from it.
std::vector<BYTE>& SkinZip()
{
    static std::vector<BYTE> zip;
    return zip;
}

class UpdSkinZipEnvironment : public ::testing::Environment
{
public:
    void SetUp() override
    {
        SkinZip() = UpdSkinTest::ReadWholeFile(UpdSkinTest::TestZipPath());
        ASSERT_FALSE(SkinZip().empty());
        CWindowManagerUI::SetInstance(GetModuleHandleW(nullptr));
        CWindowManagerUI::SetSkinZipMemory(SkinZip().data(), (unsigned int)SkinZip().size());
        ASSERT_NE(nullptr, CWindowManagerUI::GetSkinZipHandle());
    }

    void TearDown() override { CWindowManagerUI::ReleaseSkinZip(); }
};

const ::testing::Environment* const g_pSkinZip = ::testing::AddGlobalTestEnvironment(new UpdSkinZipEnvironment);

HWND CreateHostWindow()
{
    WNDCLASSW wc = {};
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"UpdSkinBuilderHost";
    RegisterClassW(&wc);
    return CreateWindowExW(0, wc.lpszClassName, L"host", WS_POPUP, 0, 0, 100, 100, nullptr, nullptr, wc.hInstance,
                           nullptr);
}

class CountingCallback : public IDialogBuilderCallback
{
public:
    CControlUI* CreateControl(LPCWSTR pstrClass) override
    {
        m_nAsked++;
        if (wcscmp(pstrClass, L"Special") == 0) return new CControlUI;
        return nullptr;
    }

    int m_nAsked = 0;
};

// One host window for the whole suite: destroying windows is slow without a window manager.
class UpdSkinBuilderTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite() { s_hWnd = CreateHostWindow(); }

    static void TearDownTestSuite() { DestroyWindow(s_hWnd); }

    CControlUI* Child(CControlUI* pContainer, int iIndex)
    {
        IContainerUI* pItems = static_cast<IContainerUI*>(pContainer->GetInterface(L"IContainer"));
        return pItems != nullptr ? pItems->GetItemAt(iIndex) : nullptr;
    }

    int ChildCount(CControlUI* pContainer)
    {
        IContainerUI* pItems = static_cast<IContainerUI*>(pContainer->GetInterface(L"IContainer"));
        return pItems != nullptr ? pItems->GetCount() : -1;
    }

    static HWND s_hWnd;
};

HWND UpdSkinBuilderTest::s_hWnd = nullptr;

TEST_F(UpdSkinBuilderTest, BuildsTheDialogMarkupFromTheZipInMemory)
{
    ASSERT_NE(nullptr, s_hWnd);
    CWindowManagerUI manager;
    manager.Init(s_hWnd);
    CSkinBuilderUI builder;
    CControlUI* pRoot = builder.Build(L"update.xml", nullptr, nullptr, &manager);
    ASSERT_NE(nullptr, pRoot) << builder.GetMarkup()->GetLastErrorMessage();

    // Window attributes.
    EXPECT_EQ(400, manager.GetInitSize().cx);
    EXPECT_EQ(300, manager.GetInitSize().cy);
    EXPECT_EQ(30, manager.GetCaptionRect().bottom);
    EXPECT_EQ(4, manager.GetRoundCorner().cx);
    EXPECT_EQ(200, manager.GetMinInfo().cx);
    EXPECT_EQ(600, manager.GetMaxInfo().cy);
    EXPECT_EQ(0xFF112233u, manager.GetDefaultFontColor());
    EXPECT_EQ(0xFF0000AAu, manager.GetDefaultLinkFontColor());

    // Fonts: the size defaults to 12, and default="true" replaces the window's default font.
    ASSERT_EQ(3, manager.GetFontCount());
    EXPECT_EQ(13, manager.GetFontInfo(0)->iSize);
    EXPECT_EQ(12, manager.GetFontInfo(1)->iSize);
    EXPECT_TRUE(manager.GetFontInfo(1)->bBold);
    EXPECT_STREQ(L"Verdana", manager.GetDefaultFontInfo()->sFontName.GetData());
    EXPECT_EQ(15, manager.GetDefaultFontInfo()->iSize);

    // The controls: the unknown element is skipped with its subtree.
    EXPECT_STREQ(L"root", pRoot->GetName().GetData());
    ASSERT_EQ(2, ChildCount(pRoot));
    CControlUI* pFirst = Child(pRoot, 0);
    CControlUI* pList = Child(pRoot, 1);
    EXPECT_STREQ(L"first", pFirst->GetName().GetData());
    EXPECT_STREQ(L"list", pList->GetName().GetData());

    // The default list for "Control" comes first, so the element's own width wins.
    EXPECT_EQ(0xFF445566u, pFirst->GetBkColor());
    EXPECT_EQ(25, pFirst->GetFixedWidth());

    // The include with count 2 added row.xml's control twice to the list.
    ASSERT_EQ(2, ChildCount(pList));
    for (int i = 0; i < 2; i++) {
        CControlUI* pRow = Child(pList, i);
        EXPECT_STREQ(L"row", pRow->GetName().GetData());
        EXPECT_EQ(20, pRow->GetFixedHeight());
        EXPECT_EQ(40, pRow->GetFixedWidth());
        EXPECT_EQ(0xFF445566u, pRow->GetBkColor());
    }
    // Built detached: the caller attaches the tree.
    EXPECT_EQ(nullptr, pRoot->GetManager());
    delete pRoot;
}

TEST_F(UpdSkinBuilderTest, MaskedImageDefinitionClearsTheMaskColour)
{
    CWindowManagerUI manager;
    manager.Init(s_hWnd);
    CSkinBuilderUI builder;
    delete builder.Build(L"update.xml", nullptr, nullptr, &manager);
    TImageRecUI* pImage = manager.GetImageEx(L"down/mask.png");
    ASSERT_NE(nullptr, pImage);
    EXPECT_TRUE(pImage->bAlpha);
    DIBSECTION dib = {};
    ASSERT_EQ((int)sizeof(dib), GetObjectW(pImage->hBitmap, sizeof(dib), &dib));
    const DWORD* pBits = static_cast<const DWORD*>(dib.dsBm.bmBits);
    EXPECT_EQ(0u, pBits[5]);
    EXPECT_EQ(0xFFFFFFFFu, pBits[0]);
}

TEST_F(UpdSkinBuilderTest, AppliesDefinitionsButNoWindowAttributesUnderAnotherRoot)
{
    CWindowManagerUI manager;
    manager.Init(s_hWnd);
    CSkinBuilderUI builder;
    CControlUI* pControl = builder.Build(
        L"<Rows size=\"50,60\"><Font name=\"Arial\"/><Default name=\"Control\" value=\"height=&quot;7&quot;\"/>"
        L"<Control name=\"a\"/></Rows>",
        nullptr, nullptr, &manager);
    ASSERT_NE(nullptr, pControl);
    EXPECT_STREQ(L"a", pControl->GetName().GetData());
    EXPECT_EQ(7, pControl->GetFixedHeight());
    EXPECT_EQ(1, manager.GetFontCount());
    EXPECT_EQ(0, manager.GetInitSize().cx);
    delete pControl;
}

TEST_F(UpdSkinBuilderTest, KeepsTheFirstDefaultListOfAClass)
{
    CWindowManagerUI manager;
    manager.Init(s_hWnd);
    CSkinBuilderUI builder;
    CControlUI* pControl =
        builder.Build(L"<Window><Default name=\"Control\" value=\"width=&quot;5&quot;\"/>"
                      L"<Default name=\"Control\" value=\"width=&quot;9&quot;\"/><Control/></Window>",
                      nullptr, nullptr, &manager);
    ASSERT_NE(nullptr, pControl);
    EXPECT_EQ(5, pControl->GetFixedWidth());
    delete pControl;
}

TEST_F(UpdSkinBuilderTest, AsksTheCallbackForUnknownTagsOnly)
{
    CountingCallback callback;
    CSkinBuilderUI builder;
    CControlUI* pRoot = builder.Build(L"<Window><Container><Special name=\"s\"/><Odd/><Control/></Container></Window>",
                                      nullptr, &callback);
    ASSERT_NE(nullptr, pRoot);
    EXPECT_EQ(2, callback.m_nAsked);
    ASSERT_EQ(2, ChildCount(pRoot));
    EXPECT_STREQ(L"s", Child(pRoot, 0)->GetName().GetData());
    delete pRoot;
}

TEST_F(UpdSkinBuilderTest, RefusesAParentThatHoldsNoChildren)
{
    CControlUI notAContainer;
    CSkinBuilderUI builder;
    EXPECT_EQ(nullptr, builder.Build(L"<Window><Control/></Window>", nullptr, nullptr, nullptr, &notAContainer));
}

TEST_F(UpdSkinBuilderTest, IncludeCyclesStopAtTheFirstRepeat)
{
    struct TCase
    {
        LPCWSTR pstrMarkup;
        std::vector<std::wstring> names;
    };
    const TCase cases[] = {
        // The file itself is built once; its include of itself is refused.
        { L"<Window><Container><Include source=\"loops/self.xml\"/></Container></Window>", { L"self" } },
        // Through another file and another spelling of the same name.
        { L"<Window><Container><Include source=\"loops/ping.xml\"/></Container></Window>", { L"ping", L"pong" } },
    };
    for (const TCase& c : cases) {
        CSkinBuilderUI builder;
        CControlUI* pRoot = builder.Build(c.pstrMarkup);
        ASSERT_NE(nullptr, pRoot) << c.pstrMarkup;
        std::vector<std::wstring> names;
        for (int i = 0; i < ChildCount(pRoot); i++) names.push_back(Child(pRoot, i)->GetName().GetData());
        EXPECT_EQ(c.names, names) << c.pstrMarkup;
        delete pRoot;
    }
}

TEST_F(UpdSkinBuilderTest, IncludesOfOneBuildAreBounded)
{
    CSkinBuilderUI builder;
    CControlUI* pRoot =
        builder.Build(L"<Window><Container><Include source=\"row.xml\" count=\"2000000000\"/></Container></Window>");
    ASSERT_NE(nullptr, pRoot);
    EXPECT_EQ((int)CSkinBuilderUI::MAX_INCLUDES, ChildCount(pRoot));
    delete pRoot;
}

// Releasing the skin zip forgets it wholly, so that it can be set again.
TEST_F(UpdSkinBuilderTest, AReleasedSkinZipCanBeSetAgain)
{
    CWindowManagerUI::ReleaseSkinZip();
    EXPECT_TRUE(CWindowManagerUI::GetSkinZipName().IsEmpty());
    EXPECT_FALSE(CWindowManagerUI::IsSkinZipCached());
    EXPECT_EQ(nullptr, CWindowManagerUI::GetSkinZipHandle());
    CWindowManagerUI::SetSkinZipMemory(SkinZip().data(), (unsigned int)SkinZip().size());
    ASSERT_NE(nullptr, CWindowManagerUI::GetSkinZipHandle());
    CSkinBuilderUI builder;
    CControlUI* pRow = builder.Build(L"row.xml");
    ASSERT_NE(nullptr, pRow) << builder.GetMarkup()->GetLastErrorMessage();
    EXPECT_STREQ(L"row", pRow->GetName().GetData());
    delete pRow;
}

// Numbers far outside any real skin are held where they are read, so GDI never sees a
// 2^31-high rectangle or a pen millions of pixels wide.
TEST_F(UpdSkinBuilderTest, HugeNumbersInMarkupAreHeldToSaneRanges)
{
    CWindowManagerUI manager;
    manager.Init(s_hWnd);
    CSkinBuilderUI builder;
    CControlUI* pControl = builder.Build(
        L"<Window size=\"99999999,-99999999\"><Font name=\"Tahoma\" size=\"99999999\"/>"
        L"<Control pos=\"20,20,300,1804294967296\" bordersize=\"11111111\" bordercolor=\"#FF0000FF\" "
        L"borderround=\"99999999,-99999999\" padding=\"-4000000000,1,2,3\" maxwidth=\"4000000000\" "
        L"bkimage=\"file='down/frame.png' dest='0,0,99999999,99999999' corner='9999999,0,0,9999999'\"/></Window>",
        nullptr, nullptr, &manager);
    ASSERT_NE(nullptr, pControl);
    EXPECT_EQ(32767, manager.GetInitSize().cx);
    EXPECT_EQ(1000, manager.GetFontInfo(0)->iSize);
    EXPECT_EQ(280, pControl->GetFixedWidth());
    EXPECT_EQ(32767 - 20, pControl->GetFixedHeight());
    EXPECT_EQ(255, pControl->GetBorderSize());
    EXPECT_EQ(32767, pControl->GetBorderRound().cx);
    EXPECT_EQ(-32767, pControl->GetBorderRound().cy);
    EXPECT_EQ(-32767, pControl->GetPadding().left);
    EXPECT_EQ(32767, pControl->GetMaxWidth());

    // It paints into a small bitmap; the widest border fills a control of 160 rows.
    pControl->SetAttribute(L"borderround", L"0,0");
    pControl->SetManager(&manager, nullptr, false);
    RECT rcItem = { 20, 20, 300, 32767 };
    pControl->SetPos(rcItem);
    HDC hDC = CreateCompatibleDC(nullptr);
    BITMAPINFO bmi = {};
    bmi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    bmi.bmiHeader.biWidth = 320;
    bmi.bmiHeader.biHeight = -200;
    bmi.bmiHeader.biPlanes = 1;
    bmi.bmiHeader.biBitCount = 32;
    DWORD* pBits = nullptr;
    HBITMAP hBitmap = CreateDIBSection(hDC, &bmi, DIB_RGB_COLORS, (void**)&pBits, nullptr, 0);
    ASSERT_NE(nullptr, hBitmap);
    HGDIOBJ hOld = SelectObject(hDC, hBitmap);
    RECT rcPaint = { 0, 0, 320, 200 };
    pControl->DoPaint(hDC, rcPaint); // the image over 2^15 rows: this used to fault in the blend
    RECT rcSmall = { 20, 20, 300, 180 };
    pControl->SetPos(rcSmall);
    pControl->DoPaint(hDC, rcPaint);
    GdiFlush();
    EXPECT_EQ(0x0000FFu, pBits[100 * 320 + 25] & 0x00FFFFFF); // inside the 255-pixel border
    EXPECT_EQ(0u, pBits[100 * 320 + 10] & 0x00FFFFFF);        // left of the control
    SelectObject(hDC, hOld);
    DeleteObject(hBitmap);
    DeleteDC(hDC);
    pControl->SetManager(nullptr, nullptr, false);
    delete pControl;
}

TEST_F(UpdSkinBuilderTest, FailsOnMissingOrBrokenMarkup)
{
    CSkinBuilderUI builder;
    EXPECT_EQ(nullptr, builder.Build(L"missing.xml"));
    EXPECT_STREQ(L"Could not find ziped file", builder.GetMarkup()->GetLastErrorMessage());
    EXPECT_EQ(nullptr, builder.Build(L"<Window><Control></Window>"));
    EXPECT_EQ(nullptr, builder.Build(MAKEINTRESOURCEW(7)));          // a number without a type
    EXPECT_EQ(nullptr, builder.Build(MAKEINTRESOURCEW(7), L"UPX3")); // no such resource
}

} // namespace
