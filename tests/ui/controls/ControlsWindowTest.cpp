#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ControlsCanvas.h"
#include "SkinBuilderUI.h"
#include "UILib.h"

// One real window built from the packed test skin that uses every control of this
// group, driven by posted mouse messages under the display the tests run on.
namespace {

std::wstring ControlsSkinFile()
{
    return std::wstring(LUMORA_TEST_BUILD_DIR) + L"\\tests\\controls.sk";
}

class CDemoWnd : public CWindowWnd, public INotifyUI
{
public:
    LPCWSTR GetWindowClassName() const override { return L"LumoraControlsDemoWnd"; }
    UINT GetClassStyle() const override { return CS_DBLCLKS; }

    void Notify(TNotifyRecUI& msg) override { notes.push_back(msg); }

    LRESULT HandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam) override
    {
        if (uMsg == WM_CREATE) {
            created++;
            manager.Init(m_hWnd);
            CSkinBuilderUI builder;
            root = builder.Build(ControlsSkinFile().c_str(), L"controls.xml", nullptr, nullptr, &manager);
            manager.AttachRoot(root);
            manager.AddNotifier(this);
            return 0;
        }
        LRESULT lRes = 0;
        if (manager.HandleWindowMessage(uMsg, wParam, lParam, lRes)) { handled.push_back(uMsg); return lRes; }
        return CWindowWnd::HandleMessage(uMsg, wParam, lParam);
    }

    int Count(TNotifyTypeUI type, CControlUI* sender) const
    {
        int n = 0;
        for (const TNotifyRecUI& r : notes) n += r.type == type && r.sender == sender ? 1 : 0;
        return n;
    }

    CWindowManagerUI manager;
    CControlUI* root = nullptr;
    int created = 0;
    std::vector<UINT> handled;
    std::vector<TNotifyRecUI> notes;
};

void PumpMessages()
{
    MSG msg;
    for (int round = 0; round < 3; round++) {
        while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
        ::Sleep(10);
    }
}

POINT CentreOf(CControlUI* p)
{
    const RECT& rc = p->GetPos();
    return POINT{ (rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2 };
}

void PostClick(HWND hWnd, POINT pt)
{
    const LPARAM lParam = MAKELPARAM(pt.x, pt.y);
    ::PostMessageW(hWnd, WM_MOUSEMOVE, 0, lParam);
    ::PostMessageW(hWnd, WM_LBUTTONDOWN, MK_LBUTTON, lParam);
    ::PostMessageW(hWnd, WM_LBUTTONUP, 0, lParam);
    PumpMessages();
}

DWORD Rgb(DWORD argb)
{
    return argb & 0x00FFFFFF;
}

class ControlsWindowTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        CWindowManagerUI::SetInstance(::GetModuleHandleW(nullptr));
        ASSERT_NE(INVALID_FILE_ATTRIBUTES, ::GetFileAttributesW(ControlsSkinFile().c_str()))
            << "the packed test skin is missing";
        m_hWnd = m_wnd.Create(nullptr, L"Controls demo", WS_POPUP | WS_VISIBLE, 0, 0, 0, 400, 320);
        ASSERT_NE(nullptr, m_hWnd) << ::GetLastError() << " created:" << m_wnd.created << " last:" << (m_wnd.handled.empty() ? 0u : m_wnd.handled.back()) << " n:" << m_wnd.handled.size();
        ASSERT_NE(nullptr, m_wnd.root);
        ::UpdateWindow(m_hWnd);
        PumpMessages();
    }
    void TearDown() override
    {
        if (::IsWindow(m_hWnd)) ::DestroyWindow(m_hWnd);
        PumpMessages();
    }

    template <class T>
    T* Find(LPCWSTR name)
    {
        CControlUI* p = m_wnd.manager.FindControl(name);
        EXPECT_NE(nullptr, p) << "no control named " << static_cast<const void*>(name);
        return static_cast<T*>(p);
    }

    CDemoWnd m_wnd;
    HWND m_hWnd = nullptr;
};

} // namespace

TEST_F(ControlsWindowTest, PostedClicksReachTheControls)
{
    CButtonUI* ok = Find<CButtonUI>(L"ok");
    COptionUI* opt1 = Find<COptionUI>(L"opt1");
    COptionUI* opt2 = Find<COptionUI>(L"opt2");
    ASSERT_TRUE(ok && opt1 && opt2);
    ASSERT_GT(ok->GetWidth(), 0);

    PostClick(m_hWnd, CentreOf(ok));
    EXPECT_EQ(1, m_wnd.Count(NotifyClick, ok));

    // Pressed on the button, released elsewhere: no click.
    const LPARAM down = MAKELPARAM(CentreOf(ok).x, CentreOf(ok).y);
    ::PostMessageW(m_hWnd, WM_LBUTTONDOWN, MK_LBUTTON, down);
    ::PostMessageW(m_hWnd, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(390, 310));
    ::PostMessageW(m_hWnd, WM_LBUTTONUP, 0, MAKELPARAM(390, 310));
    PumpMessages();
    EXPECT_EQ(1, m_wnd.Count(NotifyClick, ok));

    EXPECT_TRUE(opt1->IsSelected());
    PostClick(m_hWnd, CentreOf(opt2));
    EXPECT_TRUE(opt2->IsSelected());
    EXPECT_FALSE(opt1->IsSelected());
    EXPECT_EQ(1, m_wnd.Count(NotifySelectChanged, opt2));
    EXPECT_EQ(0, m_wnd.Count(NotifySelectChanged, opt1));
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
    CControlsCanvas canvas(400, 320, RGB(1, 2, 3));
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
    EXPECT_EQ(0xFFFF80u, canvas.Pixel(CentreOf(Find<CControlUI>(L"page1")).x - 60, CentreOf(Find<CControlUI>(L"page1")).y));
    EXPECT_EQ(Rgb(0xFF8040C0), canvas.Pixel(CentreOf(Find<CControlUI>(L"grow")).x, CentreOf(Find<CControlUI>(L"grow")).y));

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
