#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "HelpWnd.h"
#include "ProgramGlobals.h"
#include "ViewsTestSupport.h"

// The notice popup, built from the packed main skin and driven by real mouse
// messages; a recorder stands in for the main window.
namespace {

class CAddressRecorder : public INoticeAddressTarget
{
public:
    void OpenNoticeAddress(const std::wstring& address) override { addresses.push_back(address); }
    std::vector<std::wstring> addresses;
};

class HelpWndTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        CWindowManagerUI::SetInstance(::GetModuleHandleW(nullptr));
        UseProgramFolder(ViewsProgramFolder());
        ASSERT_NE(INVALID_FILE_ATTRIBUTES, ::GetFileAttributesW((ViewsProgramFolder() + L"skin\\skin.sk").c_str()))
            << "the packed main skin is missing";
    }
    void TearDown() override
    {
        if (::IsWindow(m_hWnd)) ::DestroyWindow(m_hWnd);
        PumpMessages();
    }

    void Open(const std::wstring& text, const std::wstring& address)
    {
        m_popup = new CHelpWnd(&m_target);
        m_hWnd = m_popup->Show(text, address);
        ASSERT_NE(nullptr, m_hWnd);
        ::UpdateWindow(m_hWnd);
        PumpMessages();
    }

    CControlUI* Control(LPCWSTR name)
    {
        CControlUI* pControl = m_popup->GetManager().FindControl(name);
        EXPECT_NE(nullptr, pControl);
        return pControl;
    }

    // A point on the first characters of the link text.
    POINT LinkPoint()
    {
        const RECT& rc = Control(L"txt")->GetPos();
        return POINT{ rc.left + 22, rc.top + 24 };
    }

    bool Closed() const { return !::IsWindow(m_hWnd); }

    LRESULT HitTest(POINT client)
    {
        ::ClientToScreen(m_hWnd, &client);
        return ::SendMessageW(m_hWnd, WM_NCHITTEST, 0, MAKELPARAM(client.x, client.y));
    }

    CAddressRecorder m_target;
    CHelpWnd* m_popup = nullptr;
    HWND m_hWnd = nullptr;
};

TEST(HelpWndTextTest, NoticeTextSplitsAtTheFirstBarIntoTitleAndLink)
{
    struct
    {
        const wchar_t* text;
        const wchar_t* title;
        const wchar_t* link;
    } cases[] = {
        { L"系统公告|今晚八点升级维护", L"系统公告", L"<f 3><a>今晚八点升级维护</a></f>" },
        { L"没有标题的通知", L"", L"<f 3><a>没有标题的通知</a></f>" },
        { L"a|b|c", L"a", L"<f 3><a>b|c</a></f>" },
        { L"|only link", L"", L"<f 3><a>only link</a></f>" },
        { L"only title|", L"only title", L"<f 3><a></a></f>" },
        { L"", L"", L"<f 3><a></a></f>" },
    };
    for (const auto& c : cases) {
        std::wstring title;
        std::wstring link;
        CHelpWnd::SplitNoticeText(c.text, title, link);
        EXPECT_EQ(c.title, title) << static_cast<const void*>(c.text);
        EXPECT_EQ(c.link, link) << static_cast<const void*>(c.text);
    }
}

TEST_F(HelpWndTest, PopupShowsTheNoticeTopmostInTheBottomRightCornerOfTheWorkArea)
{
    ASSERT_NO_FATAL_FAILURE(Open(L"标题|内容", L""));
    EXPECT_STREQ(L"标题", Control(L"txtTitle")->GetText().GetData());
    EXPECT_STREQ(L"<f 3><a>内容</a></f>", Control(L"txt")->GetText().GetData());
    MONITORINFO info = {};
    info.cbSize = sizeof(info);
    ::GetMonitorInfoW(::MonitorFromWindow(m_hWnd, MONITOR_DEFAULTTOPRIMARY), &info);
    RECT rc = {};
    ::GetWindowRect(m_hWnd, &rc);
    EXPECT_EQ(info.rcWork.right, rc.right);
    EXPECT_EQ(info.rcWork.bottom, rc.bottom);
    EXPECT_EQ(CHelpWnd::kWidth, rc.right - rc.left);
    EXPECT_EQ(CHelpWnd::kHeight, rc.bottom - rc.top);
    EXPECT_TRUE(::IsWindowVisible(m_hWnd));
    LONG_PTR exStyle = ::GetWindowLongPtrW(m_hWnd, GWL_EXSTYLE);
    EXPECT_NE(0, exStyle & WS_EX_TOPMOST);
    EXPECT_NE(0, exStyle & WS_EX_TOOLWINDOW);
    EXPECT_EQ(0, ::GetWindowLongPtrW(m_hWnd, GWL_STYLE) & WS_CAPTION);
    EXPECT_EQ(0xFF001C30u, m_popup->GetManager().GetDefaultLinkFontColor());
    EXPECT_EQ(0xFFFF6600u, m_popup->GetManager().GetDefaultLinkHoverFontColor());
}

TEST_F(HelpWndTest, LinkSendsTheAddressToTheMainWindowAndCloses)
{
    ASSERT_NO_FATAL_FAILURE(Open(L"公告|点击查看详情", L"http://127.0.0.1:8080/notice.html"));
    EXPECT_NE(-1, ApplicationWindowList.Find(&m_popup->GetManager()));
    PostClick(m_hWnd, LinkPoint());
    ASSERT_TRUE(PumpUntil([&] { return Closed(); }));
    ASSERT_EQ(1u, m_target.addresses.size());
    EXPECT_EQ(L"http://127.0.0.1:8080/notice.html", m_target.addresses[0]);
    EXPECT_EQ(0, ApplicationWindowList.GetSize()) << "the closed popup left the window list";
}

TEST_F(HelpWndTest, ShowButtonSendsTheAddressToo)
{
    ASSERT_NO_FATAL_FAILURE(Open(L"公告|内容", L"http://127.0.0.1/a"));
    PostClick(m_hWnd, CentreOf(Control(L"show")));
    ASSERT_TRUE(PumpUntil([&] { return Closed(); }));
    ASSERT_EQ(1u, m_target.addresses.size());
    EXPECT_EQ(L"http://127.0.0.1/a", m_target.addresses[0]);
}

// The address comes from a page; only web pages may replace the home view.
TEST_F(HelpWndTest, OnlyWebAddressesReachTheMainWindow)
{
    struct
    {
        const wchar_t* address;
        bool opened;
    } cases[] = {
        { L"https://127.0.0.1/secure", true },    { L"HTTP://127.0.0.1/upper", true },
        { L"file:///C:/windows/win.ini", false }, { L"javascript:alert(1)", false },
        { L"http:/127.0.0.1/one-slash", false },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << static_cast<const void*>(c.address));
        m_target.addresses.clear();
        ASSERT_NO_FATAL_FAILURE(Open(L"公告|内容", c.address));
        PostClick(m_hWnd, CentreOf(Control(L"show")));
        ASSERT_TRUE(PumpUntil([&] { return Closed(); })) << "the popup closes either way";
        if (c.opened) {
            ASSERT_EQ(1u, m_target.addresses.size());
            EXPECT_EQ(c.address, m_target.addresses[0]);
        } else {
            EXPECT_TRUE(m_target.addresses.empty());
        }
    }
}

TEST_F(HelpWndTest, LinkWithoutAddressOnlyCloses)
{
    ASSERT_NO_FATAL_FAILURE(Open(L"公告|内容", L""));
    PostClick(m_hWnd, LinkPoint());
    EXPECT_TRUE(PumpUntil([&] { return Closed(); }));
    EXPECT_TRUE(m_target.addresses.empty());
}

TEST_F(HelpWndTest, CloseButtonClosesWithoutOpening)
{
    ASSERT_NO_FATAL_FAILURE(Open(L"公告|内容", L"http://127.0.0.1/a"));
    PostClick(m_hWnd, CentreOf(Control(L"close")));
    EXPECT_TRUE(PumpUntil([&] { return Closed(); }));
    EXPECT_TRUE(m_target.addresses.empty());
}

TEST_F(HelpWndTest, CaptionMovesTheWindowExceptOverItsButtons)
{
    ASSERT_NO_FATAL_FAILURE(Open(L"公告|内容", L""));
    EXPECT_EQ(HTCAPTION, HitTest(CentreOf(Control(L"txtTitle"))));
    EXPECT_EQ(HTCLIENT, HitTest(CentreOf(Control(L"close"))));
    EXPECT_EQ(HTCLIENT, HitTest(CentreOf(Control(L"txt"))));
    EXPECT_EQ(HTCLIENT, HitTest(CentreOf(Control(L"show"))));
}

TEST_F(HelpWndTest, WithoutItsSkinThePopupIsNotCreated)
{
    UseProgramFolder(ViewsProgramFolder() + L"missing\\");
    CHelpWnd* popup = new CHelpWnd(&m_target); // gone with the failed Show
    EXPECT_EQ(nullptr, popup->Show(L"a|b", L"http://127.0.0.1/"));
    EXPECT_EQ(0, ApplicationWindowList.GetSize());
}

} // namespace
