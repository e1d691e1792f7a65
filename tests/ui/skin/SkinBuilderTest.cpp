#include <gtest/gtest.h>

#include <string>

#include "AttributeValueUI.h"
#include "DibCanvas.h"
#include "ContainerUI.h"
#include "ControlUI.h"
#include "DialogLayoutUI.h"
#include "PainterUI.h"
#include "SkinBuilderUI.h"
#include "SkinTestPaths.h"
#include "WindowManagerUI.h"

namespace {

// Counts its own destruction, so a test sees whether the builder freed what it could
// not attach.
class CCountedUI : public CControlUI
{
public:
    CCountedUI() { ++s_nAlive; }
    ~CCountedUI() override { --s_nAlive; }
    static int s_nAlive;
};
int CCountedUI::s_nAlive = 0;

class CTestCallback : public IDialogBuilderCallback
{
public:
    CControlUI* CreateControl(LPCWSTR pstrClass) override
    {
        if (wcscmp(pstrClass, L"Counted") == 0) return new CCountedUI;
        if (wcscmp(pstrClass, L"DialogLayout") == 0) return new CDialogLayoutUI;
        return nullptr;
    }
};

IContainerUI* ContainerOf(CControlUI* pControl)
{
    return static_cast<IContainerUI*>(pControl->GetInterface(L"IContainer"));
}

CControlUI* ChildNamed(CControlUI* pParent, LPCWSTR name)
{
    IContainerUI* pContainer = ContainerOf(pParent);
    for (int i = 0; pContainer != nullptr && i < pContainer->GetCount(); i++) {
        CControlUI* pChild = pContainer->GetItemAt(i);
        if (pChild->GetName().Compare(name)) return pChild;
    }
    return nullptr;
}

class SkinBuilder : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_hWnd = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
        CCountedUI::s_nAlive = 0;
    }
    void TearDown() override { DestroyWindow(m_hWnd); }

    HWND m_hWnd = nullptr;
    CTestCallback m_callback;
};

} // namespace

TEST(SkinBuilderStretch, WordsCombineBySubstringSearch)
{
    struct
    {
        LPCWSTR value;
        UINT flags;
    } cases[] = {
        { L"move_xy size_x", 28 }, { L"move_y", 8 }, { L"size_xy", 48 },
        { L"group line", 3 },      { L"", 0 },       { L"Move_X", 0 },
    };
    for (const auto& c : cases) EXPECT_EQ(CSkinBuilderUI::ParseStretch(c.value), c.flags) << c.value;
}

TEST_F(SkinBuilder, BuildsTheTreeFromThePackedSkin)
{
    CWindowManagerUI manager;
    manager.Init(m_hWnd);
    const std::wstring skin = TestSkinFile();
    CSkinBuilderUI builder;
    CControlUI* pRoot = builder.Build(skin.c_str(), L"builder.xml", nullptr, &m_callback, &manager);
    ASSERT_NE(pRoot, nullptr) << builder.GetMarkup().GetLastErrorMessage();
    EXPECT_TRUE(pRoot->GetName().Compare(L"root"));
    EXPECT_STREQ(manager.GetSkinFile(), skin.c_str());

    // The unknown tag is dropped with its subtree; the child under a leaf is not attached.
    IContainerUI* pContainer = ContainerOf(pRoot);
    ASSERT_NE(pContainer, nullptr);
    ASSERT_EQ(pContainer->GetCount(), 4);
    EXPECT_EQ(ChildNamed(pRoot, L"dropped"), nullptr);
    EXPECT_EQ(CCountedUI::s_nAlive, 0) << "the orphan and the second top-level control are deleted";

    // Default list first, the element's own attributes over it.
    CControlUI* pPlain = ChildNamed(pRoot, L"plain");
    CControlUI* pOwn = ChildNamed(pRoot, L"own");
    ASSERT_TRUE(pPlain && pOwn);
    EXPECT_TRUE(pPlain->GetText().Compare(L"default text"));
    EXPECT_TRUE(pOwn->GetText().Compare(L"own text"));
    EXPECT_TRUE(pOwn->GetToolTip().Compare(L"from default"));
    EXPECT_EQ(pOwn->GetManager(), nullptr) << "the manager comes with AttachRoot";

    CControlUI* pDialog = ChildNamed(pRoot, L"dialog");
    ASSERT_NE(pDialog, nullptr);
    CDialogLayoutUI* pLayout = static_cast<CDialogLayoutUI*>(pDialog->GetInterface(L"DialogLayout"));
    ASSERT_NE(pLayout, nullptr);
    EXPECT_EQ(pLayout->GetStretchMode(ChildNamed(pDialog, L"stretched")), 28u);
    EXPECT_EQ(pLayout->GetStretchMode(ChildNamed(pDialog, L"grouped")), 3u);

    // Window-level elements and root attributes.
    EXPECT_EQ(manager.GetInitSize().cx, 300);
    EXPECT_EQ(manager.GetInitSize().cy, 200);
    EXPECT_EQ(manager.GetRoundCorner().cy, 5);
    RECT rcCaption = manager.GetCaptionRect(), rcSizeBox = manager.GetSizeBox();
    EXPECT_EQ(rcCaption.bottom, 30);
    EXPECT_EQ(rcSizeBox.left, 2);
    EXPECT_EQ(rcSizeBox.bottom, 5);
    EXPECT_NE(manager.GetFont(1), manager.GetFont(0));
    EXPECT_EQ(manager.GetDefaultFont(), manager.GetFont(1)) << "the second font is the default";
    EXPECT_EQ(manager.GetFont(2), manager.GetDefaultFont()) << "a Font without a name makes none";
    TImageRecUI* pImage = manager.GetImageEx(L"frame.png");
    ASSERT_NE(pImage, nullptr);
    EXPECT_EQ(pImage->nWidth, 9);
    delete pRoot;
}

TEST_F(SkinBuilder, RootThatIsNotWindowAppliesNoWindowSettings)
{
    CWindowManagerUI manager;
    manager.Init(m_hWnd);
    HFONT hDefault = manager.GetDefaultFont();
    CSkinBuilderUI builder;
    CControlUI* pControl = builder.Build(nullptr,
                                         L"<Page size=\"50,60\"><Font name=\"Tahoma\" default=\"true\"/>"
                                         L"<Default name=\"Control\" value=\"text=&quot;x&quot;\"/>"
                                         L"<Control name=\"c\" tooltip=\"t\"/></Page>",
                                         nullptr, nullptr, &manager);
    ASSERT_NE(pControl, nullptr);
    EXPECT_TRUE(pControl->GetName().Compare(L"c"));
    EXPECT_TRUE(pControl->GetToolTip().Compare(L"t"));
    EXPECT_TRUE(pControl->GetText().IsEmpty());
    EXPECT_EQ(manager.GetDefaultFont(), hDefault);
    EXPECT_EQ(manager.GetDefaultAttributeList(L"Control"), nullptr);
    EXPECT_EQ(manager.GetInitSize().cx, 0);
    delete pControl;
}

TEST_F(SkinBuilder, WindowAttributesNeedAManagerWithAWindow)
{
    CWindowManagerUI manager;
    CSkinBuilderUI builder;
    CControlUI* pControl =
        builder.Build(nullptr, L"<Window size=\"50,60\"><Control/></Window>", nullptr, nullptr, &manager);
    ASSERT_NE(pControl, nullptr);
    EXPECT_EQ(manager.GetInitSize().cx, 0);
    delete pControl;
}

TEST_F(SkinBuilder, LoadSourcesAndFailures)
{
    CSkinBuilderUI builder;
    const std::wstring skin = TestSkinFile();
    // A file beside the program does not stand in for a stream missing from the skin.
    WriteFileForTest(L"missing_builder.xml", "<Window><Control/></Window>");
    EXPECT_EQ(builder.Build(skin.c_str(), L"missing_builder.xml"), nullptr);
    CControlUI* pFromFile = builder.Build(nullptr, L"missing_builder.xml");
    EXPECT_NE(pFromFile, nullptr) << "without a skin file the name is a path";
    delete pFromFile;
    DeleteFileW(L"missing_builder.xml");

    EXPECT_EQ(builder.Build(nullptr, L"<Window><Control></Window>"), nullptr);
    EXPECT_STREQ(builder.GetMarkup().GetLastErrorMessage(), L"Unmatched closing tag");
    EXPECT_EQ(builder.Build(skin.c_str(), MAKEINTRESOURCEW(3), L"XML"), nullptr);
    EXPECT_EQ(builder.Build(nullptr, MAKEINTRESOURCEW(3), L"XML"), nullptr);

    CControlUI* pContainer = builder.Build(nullptr, L"<Window><Container><Control/><Control/></Container></Window>");
    ASSERT_NE(pContainer, nullptr);
    EXPECT_EQ(ContainerOf(pContainer)->GetCount(), 2);
    delete pContainer;
    builder.Release();
    EXPECT_FALSE(builder.GetMarkup().GetRoot().IsValid());
}

// Every control the markup can name answers an interface query without a name
// with nothing, instead of reading through the null name.
TEST_F(SkinBuilder, EveryTagAnswersAQueryWithoutANameWithNothing)
{
    const LPCWSTR tags[] = { L"Control",
                             L"Container",
                             L"Text",
                             L"Label",
                             L"Button",
                             L"Option",
                             L"Edit",
                             L"Progress",
                             L"Slider",
                             L"TabLayout",
                             L"TileLayout",
                             L"DialogLayout",
                             L"Menu",
                             L"MenuListLabel",
                             L"ActiveX",
                             L"HtmlCtrl",
                             L"VerticalLayout",
                             L"HorizontalLayout",
                             L"List",
                             L"ListHeader",
                             L"ListHeaderItem",
                             L"ListLabelElement",
                             L"ListTextElement",
                             L"ListExpandElement",
                             L"ListContainerElement",
                             L"Combo" };
    std::wstring markup = L"<Window><VerticalLayout>";
    for (LPCWSTR tag : tags) markup += std::wstring(L"<") + tag + L"/>";
    markup += L"</VerticalLayout></Window>";
    CSkinBuilderUI builder;
    CControlUI* pRoot = builder.Build(nullptr, markup.c_str(), nullptr, nullptr, nullptr);
    ASSERT_NE(pRoot, nullptr);
    IContainerUI* pContainer = ContainerOf(pRoot);
    ASSERT_EQ(pContainer->GetCount(), static_cast<int>(sizeof(tags) / sizeof(tags[0])));
    for (int i = 0; i < pContainer->GetCount(); i++) {
        CControlUI* pChild = pContainer->GetItemAt(i);
        SCOPED_TRACE(testing::Message() << "tag " << i);
        EXPECT_EQ(pChild->GetInterface(nullptr), nullptr);
        EXPECT_EQ(pChild->GetInterface(L"Control"), pChild) << "named queries still answer";
    }
    EXPECT_EQ(pRoot->GetInterface(nullptr), nullptr);
    delete pRoot;
}

// Hostile numbers in markup reach the painter only within ranges GDI draws at once:
// a rectangle 2^31 high faulted inside AlphaBlend, an eleven-million-pixel pen made
// one paint take seconds.
TEST_F(SkinBuilder, OutsizedNumbersAreHeldWhereTheyAreRead)
{
    CWindowManagerUI manager;
    manager.Init(m_hWnd);
    const std::wstring skin = TestSkinFile();
    manager.SetSkinFile(skin.c_str());
    CSkinBuilderUI builder;
    CControlUI* pRoot = builder.Build(nullptr,
                                      L"<Window><Font name=\"Arial\" size=\"99999999\"/><Container>"
                                      L"<Control name=\"tall\" float=\"true\" pos=\"20,20,300,1804294967296\" "
                                      L"bkimage=\"frame.png\" bordersize=\"11111111\" bordercolor=\"#FF0000FF\"/>"
                                      L"<Control name=\"wide\" width=\"99999999999\" minheight=\"-99999999999\"/>"
                                      L"</Container></Window>",
                                      nullptr, nullptr, &manager);
    ASSERT_NE(pRoot, nullptr);
    manager.AttachRoot(pRoot);
    CControlUI* pTall = manager.FindControl(L"tall");
    CControlUI* pWide = manager.FindControl(L"wide");
    ASSERT_TRUE(pTall != nullptr && pWide != nullptr);
    EXPECT_EQ(pTall->GetFixedHeight(), CAttributeValueUI::MaxCoordinate - 20);
    EXPECT_EQ(pTall->GetBorderSize(), CAttributeValueUI::MaxBorderSize);
    EXPECT_EQ(pWide->GetFixedWidth(), CAttributeValueUI::MaxCoordinate);
    LOGFONTW lf = {};
    ASSERT_NE(manager.GetFont(0), nullptr);
    ASSERT_NE(::GetObjectW(manager.GetFont(0), sizeof(lf), &lf), 0);
    EXPECT_EQ(lf.lfHeight, -CAttributeValueUI::MaxFontSize);

    CDibCanvas canvas(320, 240);
    canvas.Fill(0xFFFFFF);
    pRoot->SetPos(canvas.Rect());
    pRoot->DoPaint(canvas.DC(), canvas.Rect());
    EXPECT_EQ(canvas.Pixel(25, 100), 0x0000FFu) << "the border is drawn, held to its widest";
}
