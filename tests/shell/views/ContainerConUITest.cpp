#include <gtest/gtest.h>

#include "ContainerConUI.h"
#include "ScreenShot.h"
#include "GifAnimation.h"
#include "ViewsTestSupport.h"

// Two browser views as the pages of a tab layout in a real window, with plain
// child windows standing in for the browsers' windows.
namespace {

class CViewHostWnd : public CWindowWnd
{
public:
    LPCWSTR GetWindowClassName() const override { return L"LumoraViewHostWnd"; }

    LRESULT HandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam) override
    {
        if (uMsg == WM_CREATE) {
            manager.Init(m_hWnd);
            return 0;
        }
        LRESULT lRes = 0;
        if (manager.HandleWindowMessage(uMsg, wParam, lParam, lRes)) return lRes;
        return CWindowWnd::HandleMessage(uMsg, wParam, lParam);
    }

    // A fresh tab layout with two views; the previous tree goes with the next messages.
    void BuildViews()
    {
        tabs = new CTabLayoutUI;
        views[0] = new CContainerConUI;
        views[1] = new CContainerConUI;
        views[0]->LoadAnimation();
        views[1]->LoadAnimation();
        tabs->Add(views[0]);
        tabs->Add(views[1]);
        manager.AttachRoot(tabs);
        ::InvalidateRect(m_hWnd, nullptr, FALSE);
    }

    CWindowManagerUI manager;
    CTabLayoutUI* tabs = nullptr;
    CContainerConUI* views[2] = {};
};

// One host window serves every case: taking an activated window down costs
// seconds on a display without a window manager.
class ContainerConUITest : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        CWindowManagerUI::SetInstance(::GetModuleHandleW(nullptr));
        s_pHost = new CViewHostWnd;
        s_hWnd = s_pHost->Create(nullptr, L"Views", WS_POPUP | WS_CLIPCHILDREN, 0, 20, 20, 400, 300);
        if (s_hWnd != nullptr) s_pHost->Show(true, false);
    }
    static void TearDownTestSuite()
    {
        if (::IsWindow(s_hWnd)) ::DestroyWindow(s_hWnd);
        PumpMessages();
        delete s_pHost;
        s_pHost = nullptr;
    }

    void SetUp() override
    {
        ASSERT_NE(nullptr, s_hWnd);
        m_hWnd = s_hWnd;
        ::SetWindowPos(m_hWnd, nullptr, 0, 0, 400, 300, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        s_pHost->BuildViews();
        ::UpdateWindow(m_hWnd);
        PumpMessages();
        for (HWND& browser : m_browsers) {
            browser = ::CreateWindowExW(0, L"STATIC", L"page", WS_CHILD, 0, 0, 10, 10, m_hWnd, nullptr,
                                        ::GetModuleHandleW(nullptr), nullptr);
            ASSERT_NE(nullptr, browser);
        }
    }
    void TearDown() override
    {
        for (HWND browser : m_browsers)
            if (::IsWindow(browser)) ::DestroyWindow(browser);
        PumpMessages();
    }

    CViewHostWnd& Host() { return *s_pHost; }

    // The browser window's rectangle in the host's client coordinates.
    RECT BrowserRect(HWND browser) const
    {
        RECT rc = {};
        ::GetWindowRect(browser, &rc);
        ::MapWindowPoints(nullptr, m_hWnd, reinterpret_cast<POINT*>(&rc), 2);
        return rc;
    }

    static RECT InsetOnePixelLeftAndRight(RECT rc)
    {
        rc.left += 1;
        rc.right -= 1;
        return rc;
    }

    // Whether the animation timer is running; the probe stops it.
    bool TakeAnimationTimer(CContainerConUI* view)
    {
        return Host().manager.KillTimer(view, CContainerConUI::kAnimationTimer);
    }

    static CViewHostWnd* s_pHost;
    static HWND s_hWnd;
    HWND m_hWnd = nullptr;
    HWND m_browsers[2] = {};
};

CViewHostWnd* ContainerConUITest::s_pHost = nullptr;
HWND ContainerConUITest::s_hWnd = nullptr;

void ExpectRectEq(const RECT& expected, const RECT& actual)
{
    EXPECT_EQ(expected.left, actual.left);
    EXPECT_EQ(expected.top, actual.top);
    EXPECT_EQ(expected.right, actual.right);
    EXPECT_EQ(expected.bottom, actual.bottom);
}

TEST_F(ContainerConUITest, ViewStartsBlackWithTheLoadingAnimation)
{
    CContainerConUI* view = Host().views[0];
    EXPECT_EQ(0xFF000000u, view->GetBkColor());
    ASSERT_NE(nullptr, view->GetAnimation());
    EXPECT_EQ(12u, view->GetAnimation()->GetFrameCount());
    EXPECT_FALSE(view->IsAttached());
    EXPECT_EQ(nullptr, view->GetBrowserWindow());
}

// The window's first paint comes before the animation: the view is black until it is
// asked to load it, and a second request keeps the animation it has.
TEST_F(ContainerConUITest, TheAnimationComesOnlyWhenAskedForAndOnce)
{
    CContainerConUI view;
    EXPECT_EQ(0xFF000000u, view.GetBkColor());
    EXPECT_EQ(nullptr, view.GetAnimation());
    view.LoadAnimation();
    const CGifAnimation* pFirst = view.GetAnimation();
    ASSERT_NE(nullptr, pFirst);
    view.LoadAnimation();
    EXPECT_EQ(pFirst, view.GetAnimation());
}

TEST_F(ContainerConUITest, EachPaintShowsTheNextFrameAndTheTimerBringsTheNextPaint)
{
    CContainerConUI* view = Host().views[0];
    UINT before = view->GetAnimation()->GetCurrentFrame();
    EXPECT_NE(0u, before) << "the first paint already advanced";
    EXPECT_TRUE(TakeAnimationTimer(view)) << "a paint arms the next frame's timer";

    FireControlTimer(view, CContainerConUI::kAnimationTimer);
    EXPECT_TRUE(PumpUntil([&] { return view->GetAnimation()->GetCurrentFrame() != before; }));
    EXPECT_TRUE(TakeAnimationTimer(view));

    // Left alone, the real timer keeps the animation going.
    UINT now = view->GetAnimation()->GetCurrentFrame();
    Host().manager.Invalidate(view->GetPos());
    EXPECT_TRUE(PumpUntil([&] { return view->GetAnimation()->GetCurrentFrame() != now; }));
}

TEST_F(ContainerConUITest, AttachingTheVisibleViewShowsTheBrowserOverItAndEndsTheAnimation)
{
    CContainerConUI* view = Host().views[0];
    view->AttachWindow(m_browsers[0]);
    EXPECT_TRUE(view->IsAttached());
    EXPECT_EQ(m_browsers[0], view->GetBrowserWindow());
    EXPECT_TRUE(::IsWindowVisible(m_browsers[0]));
    ExpectRectEq(InsetOnePixelLeftAndRight(view->GetPos()), BrowserRect(m_browsers[0]));

    TakeAnimationTimer(view);
    Host().manager.Invalidate(view->GetPos());
    ::UpdateWindow(m_hWnd);
    PumpMessages();
    EXPECT_FALSE(TakeAnimationTimer(view)) << "no new frame is scheduled once attached";

    // A second window is ignored: the view never changes its browser.
    view->AttachWindow(m_browsers[1]);
    EXPECT_EQ(m_browsers[0], view->GetBrowserWindow());
    EXPECT_FALSE(::IsWindowVisible(m_browsers[1]));
}

TEST_F(ContainerConUITest, BrowserOfAHiddenPageWaitsForThePageToBeSelected)
{
    CContainerConUI* hidden = Host().views[1];
    ASSERT_FALSE(hidden->IsVisible());
    hidden->AttachWindow(m_browsers[1]);
    EXPECT_TRUE(hidden->IsAttached());
    EXPECT_FALSE(::IsWindowVisible(m_browsers[1]));

    Host().views[0]->AttachWindow(m_browsers[0]);
    Host().tabs->SelectItem(1);
    PumpMessages();
    EXPECT_TRUE(::IsWindowVisible(m_browsers[1]));
    EXPECT_FALSE(::IsWindowVisible(m_browsers[0]));
    ExpectRectEq(InsetOnePixelLeftAndRight(hidden->GetPos()), BrowserRect(m_browsers[1]));

    Host().tabs->SelectItem(0);
    PumpMessages();
    EXPECT_FALSE(::IsWindowVisible(m_browsers[1]));
    EXPECT_TRUE(::IsWindowVisible(m_browsers[0]));
}

TEST_F(ContainerConUITest, ResizingTheWindowMovesTheBrowserWithTheView)
{
    CContainerConUI* view = Host().views[0];
    view->AttachWindow(m_browsers[0]);
    ::SetWindowPos(m_hWnd, nullptr, 0, 0, 520, 360, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    ::UpdateWindow(m_hWnd);
    PumpMessages();
    RECT expected = { 1, 0, 519, 360 };
    ExpectRectEq(expected, BrowserRect(m_browsers[0]));
    ExpectRectEq(InsetOnePixelLeftAndRight(view->GetPos()), BrowserRect(m_browsers[0]));
}

TEST_F(ContainerConUITest, AViewWithoutAWindowStillStopsItsAnimation)
{
    CContainerConUI* view = Host().views[0];
    view->AttachWindow(nullptr);
    EXPECT_TRUE(view->IsAttached());
    TakeAnimationTimer(view);
    Host().manager.Invalidate(view->GetPos());
    ::UpdateWindow(m_hWnd);
    PumpMessages();
    EXPECT_FALSE(TakeAnimationTimer(view));
    view->SetVisible(false);
    view->SetPos(RECT{ 0, 0, 50, 50 });
}

} // namespace

// A stand-in page painted white. Unlike STATIC it has no CS_PARENTDC, which would
// paint through the parent's clipping and ignore the window's region as a real
// browser window does not.
HWND CreateWhitePage(HWND parent)
{
    WNDCLASSW wc = {};
    wc.lpfnWndProc = ::DefWindowProcW;
    wc.hInstance = ::GetModuleHandleW(nullptr);
    wc.hbrBackground = static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH));
    wc.lpszClassName = L"LumoraTestWhitePage";
    ::RegisterClassW(&wc);
    return ::CreateWindowExW(0, wc.lpszClassName, L"", WS_CHILD, 0, 0, 10, 10, parent, nullptr, wc.hInstance, nullptr);
}

// The corner the browser leaves to the window's sizing grip shows what the layout
// around the view shows, not the view's black; the rest of the view stays the page's.
TEST_F(ContainerConUITest, GripCornerShowsTheLayoutAroundTheView)
{
    const DWORD kLayoutColour = 0x3A7BC8;
    Host().tabs->SetBkColor(0xFF000000 | kLayoutColour);
    ::DestroyWindow(m_browsers[0]);
    m_browsers[0] = CreateWhitePage(m_hWnd);
    ASSERT_NE(nullptr, m_browsers[0]);
    CContainerConUI* view = Host().views[0];
    view->AttachWindow(m_browsers[0]);
    view->SetGripCorner(10);
    ::RedrawWindow(m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    PumpMessages();

    ScreenShot shot(m_hWnd);
    shot.Save(std::wstring(L"grip_corner.bmp"));
    const int right = shot.Width() - 1;
    const int bottom = shot.Height() - 1;
    const DWORD page = shot.Pixel(right / 2, bottom - 20);
    ASSERT_EQ(0xFFFFFFu, page) << std::hex << page;
    // Inside the cut (the browser's part of it: right of the side margin) and at its edges.
    for (POINT pt : { POINT{ right - 1, bottom }, POINT{ right - 8, bottom - 9 }, POINT{ right - 4, bottom - 4 } }) {
        SCOPED_TRACE(::testing::Message() << pt.x << "," << pt.y);
        EXPECT_TRUE(Near(shot.Pixel(pt.x, pt.y), kLayoutColour)) << std::hex << shot.Pixel(pt.x, pt.y);
    }
    EXPECT_EQ(page, shot.Pixel(right - 12, bottom - 4)) << "the page beside the corner";
    EXPECT_EQ(page, shot.Pixel(right - 4, bottom - 12)) << "the page above the corner";

    // Without a grip (maximized, full screen) the page reaches the corner again.
    view->SetGripCorner(0);
    ::RedrawWindow(m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    PumpMessages();
    ScreenShot whole(m_hWnd);
    EXPECT_EQ(page, whole.Pixel(right - 4, bottom - 4));
    Host().tabs->SetBkColor(0);
}
