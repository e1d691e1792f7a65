#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "DibCanvas.h"
#include "ManagedHostWnd.h"
#include "PostedInput.h"
#include "SkinBuilderUI.h"
#include "UILib.h"

// One real window built from the packed test skin that uses every control of this
// group, driven by posted mouse messages under the display the tests run on.
namespace {

std::wstring ControlsSkinFile()
{
    return std::wstring(LUMORA_TEST_BUILD_DIR) + L"\\tests\\controls.sk";
}

class CDemoWnd : public TBuiltSkinWnd<CWindowWnd, CWindowManagerUI, CControlUI, TNotifyLog<INotifyUI, TNotifyRecUI>>
{
public:
    LPCWSTR GetWindowClassName() const override { return L"LumoraControlsDemoWnd"; }

protected:
    CControlUI* BuildRoot(CWindowManagerUI& builderManager) override
    {
        CSkinBuilderUI builder;
        return builder.Build(ControlsSkinFile().c_str(), L"controls.xml", nullptr, nullptr, &builderManager);
    }
};

DWORD Rgb(DWORD argb)
{
    return argb & 0x00FFFFFF;
}

// One window for the whole suite: Wine waits for a window manager that never comes
// when a window goes away, so each window costs two seconds to destroy.
class ControlsWindowTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        CWindowManagerUI::SetInstance(::GetModuleHandleW(nullptr));
        if (::GetFileAttributesW(ControlsSkinFile().c_str()) == INVALID_FILE_ATTRIBUTES) return;
        s_wnd = new CDemoWnd;
        s_wnd->Create(nullptr, L"Controls demo", WS_POPUP, WS_EX_TOOLWINDOW, 0, 0, 400, 320);
        s_wnd->Show(true, false);
        ::UpdateWindow(s_wnd->GetWindowHandle());
        PumpMessages();
    }
    static void TearDownTestSuite()
    {
        if (s_wnd != nullptr && ::IsWindow(s_wnd->GetWindowHandle())) ::DestroyWindow(s_wnd->GetWindowHandle());
        PumpMessages();
        delete s_wnd;
        s_wnd = nullptr;
    }

    // Every test starts from the skin's own selection, with no notifications seen.
    void SetUp() override
    {
        ASSERT_NE(INVALID_FILE_ATTRIBUTES, ::GetFileAttributesW(ControlsSkinFile().c_str()))
            << "the packed test skin is missing";
        ASSERT_NE(nullptr, s_wnd);
        m_hWnd = s_wnd->GetWindowHandle();
        ASSERT_NE(nullptr, m_hWnd);
        ASSERT_NE(nullptr, s_wnd->root);
        Find<COptionUI>(L"opt1")->Select(true);
        Find<CTabLayoutUI>(L"tabs")->SelectItem(0);
        PumpMessages();
        s_wnd->log.records.clear();
    }

    template <class T> T* Find(LPCWSTR name)
    {
        CControlUI* p = s_wnd->manager.FindControl(name);
        EXPECT_NE(nullptr, p) << "no control named " << static_cast<const void*>(name);
        return static_cast<T*>(p);
    }

    static CDemoWnd* s_wnd;
    HWND m_hWnd = nullptr;
};

CDemoWnd* ControlsWindowTest::s_wnd = nullptr;

} // namespace

TEST_F(ControlsWindowTest, PostedClicksReachTheControls)
{
    CButtonUI* ok = Find<CButtonUI>(L"ok");
    COptionUI* opt1 = Find<COptionUI>(L"opt1");
    COptionUI* opt2 = Find<COptionUI>(L"opt2");
    ASSERT_TRUE(ok && opt1 && opt2);
    ASSERT_GT(ok->GetWidth(), 0);

    PostClick(m_hWnd, CentreOf(ok));
    EXPECT_EQ(1, s_wnd->log.Count(NotifyClick, ok));

    // Pressed on the button, released elsewhere: no click.
    const LPARAM down = MAKELPARAM(CentreOf(ok).x, CentreOf(ok).y);
    ::PostMessageW(m_hWnd, WM_LBUTTONDOWN, MK_LBUTTON, down);
    ::PostMessageW(m_hWnd, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(390, 310));
    ::PostMessageW(m_hWnd, WM_LBUTTONUP, 0, MAKELPARAM(390, 310));
    PumpMessages();
    EXPECT_EQ(1, s_wnd->log.Count(NotifyClick, ok));

    EXPECT_TRUE(opt1->IsSelected());
    PostClick(m_hWnd, CentreOf(opt2));
    EXPECT_TRUE(opt2->IsSelected());
    EXPECT_FALSE(opt1->IsSelected());
    EXPECT_EQ(1, s_wnd->log.Count(NotifySelectChanged, opt2));
    EXPECT_EQ(0, s_wnd->log.Count(NotifySelectChanged, opt1));
}

TEST_F(ControlsWindowTest, TreeIsLaidOutFromTheSkin)
{
    CTabLayoutUI* tabs = Find<CTabLayoutUI>(L"tabs");
    CControlUI* grow = Find<CControlUI>(L"grow");
    CControlUI* follow = Find<CControlUI>(L"follow");
    CVerticalLayoutUI* list = Find<CVerticalLayoutUI>(L"list");
    ASSERT_TRUE(tabs && grow && follow && list);

    EXPECT_EQ(0, tabs->GetCurSel());
    EXPECT_FALSE(Find<CControlUI>(L"page2")->IsVisible());
    // The dialog layout is 392 wide: the sized child takes the 292 beyond the 100 bound.
    EXPECT_EQ(352, grow->GetWidth());
    EXPECT_EQ(grow->GetPos().right + 10, follow->GetPos().left);
    // The list overflows: its bar shows, 12 wide from the skin's default list.
    CScrollbarUI* bar = list->GetVerticalScrollBar();
    ASSERT_NE(nullptr, bar);
    EXPECT_TRUE(bar->IsVisible());
    EXPECT_EQ(12, bar->GetWidth());
    EXPECT_EQ(list->GetPos().right, bar->GetPos().right);

    ASSERT_TRUE(tabs->SelectItem(1));
    PumpMessages();
    EXPECT_TRUE(Find<CControlUI>(L"page2")->IsVisible());
    EXPECT_EQ(tabs->GetWidth(), Find<CControlUI>(L"page2")->GetWidth());
}

// What the window paints, read back through WM_PRINTCLIENT.
TEST_F(ControlsWindowTest, ControlsArePainted)
{
    CDibCanvas canvas(400, 320, RGB(1, 2, 3));
    ::SendMessageW(m_hWnd, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(canvas.DC()), PRF_CLIENT);

    const RECT rcLabel = Find<CControlUI>(L"label")->GetPos();
    EXPECT_GT(canvas.CountOtherThan(rcLabel, 0xF0F0F0), 0) << "the label's text";

    const POINT ok = CentreOf(Find<CControlUI>(L"ok"));
    const RECT rcOk = Find<CControlUI>(L"ok")->GetPos();
    EXPECT_EQ(0xCC6633u, canvas.Pixel(rcOk.left + 1, rcOk.top + 1)) << "the button's normal image";
    EXPECT_GT(canvas.CountOtherThan(RECT{ ok.x - 15, ok.y - 8, ok.x + 15, ok.y + 8 }, 0xFFCC33), 0) << "its text";

    const POINT opt1 = CentreOf(Find<CControlUI>(L"opt1"));
    const RECT rcOpt1 = Find<CControlUI>(L"opt1")->GetPos();
    const RECT rcOpt2 = Find<CControlUI>(L"opt2")->GetPos();
    EXPECT_EQ(0x33AA33u, canvas.Pixel(rcOpt1.left + 2, opt1.y)) << "selected option";
    EXPECT_EQ(0xCCCCCCu, canvas.Pixel(rcOpt2.left + 2, opt1.y)) << "unselected option";

    EXPECT_EQ(0xFF0000u, canvas.Pixel(CentreOf(Find<CControlUI>(L"tile1")).x, CentreOf(Find<CControlUI>(L"tile1")).y));
    EXPECT_EQ(0x0000FFu, canvas.Pixel(CentreOf(Find<CControlUI>(L"tile3")).x, CentreOf(Find<CControlUI>(L"tile3")).y));
    EXPECT_EQ(0xFFFF80u,
              canvas.Pixel(CentreOf(Find<CControlUI>(L"page1")).x - 60, CentreOf(Find<CControlUI>(L"page1")).y));
    EXPECT_EQ(Rgb(0xFF8040C0),
              canvas.Pixel(CentreOf(Find<CControlUI>(L"grow")).x, CentreOf(Find<CControlUI>(L"grow")).y));

    CTextUI* text = Find<CTextUI>(L"text");
    EXPECT_EQ(1, text->GetLinkCount());
    EXPECT_STREQ(L"home", text->GetLinkContent(0));

    // The list's scroll bar has no images: its buttons are framed in 0xFF85E4FF.
    CScrollbarUI* bar = Find<CVerticalLayoutUI>(L"list")->GetVerticalScrollBar();
    ASSERT_NE(nullptr, bar);
    const RECT rcButton1 = bar->GetButton1Rect();
    EXPECT_EQ(0x85E4FFu, canvas.Pixel(rcButton1.left, rcButton1.top));
    EXPECT_EQ(0x85E4FFu, canvas.Pixel(rcButton1.right - 1, rcButton1.bottom - 1));
}
