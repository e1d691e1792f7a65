#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <functional>
#include <vector>

#include "ContainerUI.h"
#include "ControlUI.h"
#include "ManagedHostWnd.h"
#include "WindowManagerUI.h"
#include "WindowWnd.h"

namespace {

// A control that records what reaches it and can act on a click.
class CProbeUI : public CControlUI
{
public:
    explicit CProbeUI(LPCWSTR pstrName = L"", UINT uFlags = UIFLAG_TABSTOP, LPCWSTR pstrClass = L"ProbeUI",
                      int* pDeleted = nullptr)
        : m_uFlags(uFlags), m_pstrClass(pstrClass), m_pDeleted(pDeleted)
    {
        SetName(pstrName);
    }
    ~CProbeUI() override
    {
        if (m_pDeleted != nullptr) (*m_pDeleted)++;
    }
    LPCWSTR GetControlClass() const override { return m_pstrClass; }
    UINT GetControlFlags() const override { return m_uFlags; }
    bool Activate() override
    {
        activations++;
        return CControlUI::Activate();
    }
    void DoEvent(TEventRecUI& event) override
    {
        events.push_back(event);
        if (event.type == EventButtonUp && onClick) onClick();
        CControlUI::DoEvent(event);
    }
    int Count(TEventTypeUI type) const
    {
        int n = 0;
        for (const TEventRecUI& e : events) n += e.type == type ? 1 : 0;
        return n;
    }
    const TEventRecUI* Last(TEventTypeUI type) const
    {
        for (size_t i = events.size(); i > 0; i--)
            if (events[i - 1].type == type) return &events[i - 1];
        return nullptr;
    }

    std::vector<TEventRecUI> events;
    int activations = 0;
    std::function<void()> onClick;

private:
    UINT m_uFlags;
    LPCWSTR m_pstrClass;
    int* m_pDeleted;
};

using CNotifyLog = TNotifyLog<INotifyUI, TNotifyRecUI>;

// The window all tests share, with a fresh manager each.
class CHostWnd : public TResettableHostWnd<CWindowWnd, CWindowManagerUI, CNotifyLog>
{
public:
    LPCWSTR GetWindowClassName() const override { return L"LumoraTestHostWnd"; }
};

class WindowManagerTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        CWindowManagerUI::SetInstance(::GetModuleHandleW(nullptr));
        sharedHost = new CHostWnd;
        sharedHost->Create(nullptr, L"host", WS_POPUP | WS_VISIBLE, 0, 0, 0, 200, 150);
    }
    static void TearDownTestSuite()
    {
        sharedHost->Reset(false);
        ::DestroyWindow(sharedHost->GetWindowHandle());
        delete sharedHost;
        sharedHost = nullptr;
    }
    void SetUp() override
    {
        host = sharedHost;
        hwnd = host->GetWindowHandle();
        ASSERT_NE(nullptr, hwnd);
        host->Reset(true);
        Pump();
    }
    void TearDown() override
    {
        SetShift(false);
        ::ReleaseCapture();
        host->Reset(false);
        Pump();
    }

    CWindowManagerUI& pm() { return *host->m_pm; }

    // A root container with three tab-stop probes stacked from the top, 30 pixels each.
    CContainerUI* AttachThree()
    {
        CContainerUI* root = new CContainerUI;
        for (int i = 0; i < 3; i++) {
            probes[i] = new CProbeUI(i == 0 ? L"first" : (i == 1 ? L"second" : L"third"));
            probes[i]->SetFloat(true);
            probes[i]->SetFixedXY(SIZE{ 0, i * 30 });
            probes[i]->SetFixedWidth(100);
            probes[i]->SetFixedHeight(30);
            root->Add(probes[i]);
        }
        pm().AttachRoot(root);
        Paint();
        return root;
    }

    void Paint()
    {
        ::InvalidateRect(hwnd, nullptr, FALSE);
        ::UpdateWindow(hwnd);
    }

    void Pump()
    {
        MSG msg;
        while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
    }

    LRESULT Send(UINT uMsg, WPARAM wParam, LPARAM lParam) { return ::SendMessageW(hwnd, uMsg, wParam, lParam); }

    bool PreKey(UINT uMsg, WPARAM wParam)
    {
        MSG msg = { hwnd, uMsg, wParam, 0, 0, {} };
        return CWindowManagerUI::PreTranslateAll(&msg);
    }

    static void SetShift(bool bDown)
    {
        BYTE keys[256] = {};
        ::GetKeyboardState(keys);
        keys[VK_SHIFT] = bDown ? 0x80 : 0;
        ::SetKeyboardState(keys);
    }

    static CHostWnd* sharedHost;
    CHostWnd* host = nullptr;
    HWND hwnd = nullptr;
    CProbeUI* probes[3] = {};
};

CHostWnd* WindowManagerTest::sharedHost = nullptr;

} // namespace

TEST_F(WindowManagerTest, TimerIdsStartAt17AndAreKeptPerControlAndKey)
{
    AttachThree();
    CProbeUI* p = probes[0];
    ASSERT_TRUE(pm().SetTimer(p, 5, 100000));
    EXPECT_FALSE(pm().SetTimer(p, 5, 10)); // still running
    Send(WM_TIMER, 17, 0);
    ASSERT_EQ(1, p->Count(EventTimer));
    EXPECT_EQ(5u, p->Last(EventTimer)->wParam);
    EXPECT_EQ(1, host->log.Count(NotifyTimer)); // the base control turns it into a notification

    EXPECT_TRUE(pm().KillTimer(p, 5));
    EXPECT_FALSE(pm().KillTimer(p, 5));
    Send(WM_TIMER, 17, 0);
    EXPECT_EQ(1, p->Count(EventTimer));       // killed: nothing delivered
    EXPECT_TRUE(pm().SetTimer(p, 5, 100000)); // re-armed under the same id
    Send(WM_TIMER, 17, 0);
    EXPECT_EQ(2, p->Count(EventTimer));

    ASSERT_TRUE(pm().SetTimer(p, 6, 100000));
    Send(WM_TIMER, 18, 0);
    EXPECT_EQ(6u, p->Last(EventTimer)->wParam);
}

TEST_F(WindowManagerTest, TimerIdsWrapWithoutCollision)
{
    CContainerUI* root = AttachThree();
    std::vector<CProbeUI*> owners;
    for (int i = 0; i < 255; i++) {
        CProbeUI* owner = new CProbeUI;
        root->Add(owner);
        owners.push_back(owner);
        ASSERT_TRUE(pm().SetTimer(owner, 1, 100000)) << i;
    }
    // 17 .. 254 are the first 238 ids; the 239th timer got id 0.
    Send(WM_TIMER, 0, 0);
    EXPECT_EQ(1, owners[238]->Count(EventTimer));
    EXPECT_FALSE(pm().SetTimer(probes[0], 1, 100000)); // every id is taken

    // Deleting a control drops its timer; its id is the only free one and goes to the next timer.
    root->Remove(owners[3]); // held id 20
    Send(WM_TIMER, 20, 0);   // nothing left to deliver to
    ASSERT_TRUE(pm().SetTimer(probes[1], 9, 100000));
    Send(WM_TIMER, 20, 0);
    ASSERT_EQ(1, probes[1]->Count(EventTimer));
    EXPECT_EQ(9u, probes[1]->Last(EventTimer)->wParam);
    EXPECT_EQ(0, owners[4]->Count(EventTimer));
}

TEST_F(WindowManagerTest, FirstPaintSendsWindowInitOnceAndFocusesFirstTabStop)
{
    AttachThree();
    Paint();
    Paint();
    ASSERT_EQ(1, host->log.Count(NotifyWindowInit));
    for (const TNotifyRecUI& r : host->log.records) {
        if (r.type == NotifyWindowInit) {
            EXPECT_EQ(pm().GetRoot(), r.sender);
        }
    }
    EXPECT_EQ(probes[0], pm().GetFocus());
    EXPECT_TRUE(probes[0]->IsFocused());
    EXPECT_EQ(30, probes[1]->GetPos().top); // laid out
}

TEST_F(WindowManagerTest, TabAndShiftTabWrap)
{
    AttachThree();
    ASSERT_EQ(probes[0], pm().GetFocus());
    struct Step
    {
        bool shift;
        int expected;
    };
    const Step steps[] = {
        { false, 1 }, { false, 2 }, { false, 0 }, { true, 2 }, { true, 1 }, { true, 0 }, { true, 2 }
    };
    for (const Step& s : steps) {
        SetShift(s.shift);
        EXPECT_TRUE(PreKey(WM_KEYDOWN, VK_TAB));
        EXPECT_EQ(probes[s.expected], pm().GetFocus()) << s.shift << " " << s.expected;
    }
    SetShift(false);
    EXPECT_GE(probes[1]->Count(EventKillFocus), 1);
    EXPECT_GE(host->log.Count(NotifySetFocus), 7);
    EXPECT_GE(host->log.Count(NotifyKillFocus), 6);
}

TEST_F(WindowManagerTest, EnterActivatesOkAndEscapeCancel)
{
    CContainerUI* root = new CContainerUI;
    CProbeUI* ok = new CProbeUI(L"ok");
    CProbeUI* cancel = new CProbeUI(L"cancel");
    CProbeUI* edit = new CProbeUI(L"edit", UIFLAG_TABSTOP | UIFLAG_WANTRETURN);
    CProbeUI* other = new CProbeUI(L"other");
    root->Add(ok);
    root->Add(cancel);
    root->Add(edit);
    root->Add(other);
    pm().AttachRoot(root);
    Paint();

    pm().SetFocus(other);
    EXPECT_TRUE(PreKey(WM_KEYDOWN, VK_RETURN));
    EXPECT_EQ(1, ok->activations);
    pm().SetFocus(edit); // wants ENTER itself
    EXPECT_FALSE(PreKey(WM_KEYDOWN, VK_RETURN));
    EXPECT_EQ(1, ok->activations);
    pm().SetFocus(ok); // ENTER on "ok" itself is left to the control
    EXPECT_FALSE(PreKey(WM_KEYDOWN, VK_RETURN));
    EXPECT_EQ(1, ok->activations);
    EXPECT_TRUE(PreKey(WM_KEYDOWN, VK_ESCAPE));
    EXPECT_EQ(1, cancel->activations);
}

TEST_F(WindowManagerTest, SysCharShortcutsAndLabels)
{
    CContainerUI* root = new CContainerUI;
    CProbeUI* field = new CProbeUI(L"field");
    CProbeUI* label = new CProbeUI(L"label", 0, L"LabelUI");
    label->SetShortcut(L'n');
    CProbeUI* button = new CProbeUI(L"button");
    button->SetShortcut(L'B');
    root->Add(field);
    root->Add(label);
    root->Add(button);
    pm().AttachRoot(root);
    Paint();

    EXPECT_TRUE(PreKey(WM_SYSCHAR, L'b'));
    EXPECT_EQ(button, pm().GetFocus());
    EXPECT_EQ(1, button->activations);

    // The label's shortcut goes to the control before it among its siblings.
    EXPECT_TRUE(PreKey(WM_SYSCHAR, L'N'));
    EXPECT_EQ(field, pm().GetFocus());
    EXPECT_EQ(1, field->activations);
    EXPECT_EQ(0, label->activations);

    // A character nobody claims stays with the system (Alt+Space opens the window menu).
    EXPECT_FALSE(PreKey(WM_SYSCHAR, L' '));
}

TEST_F(WindowManagerTest, ReplacingTheRootInAClickDeletesTheOldTreeLater)
{
    int deleted = 0;
    CContainerUI* oldRoot = new CContainerUI;
    CProbeUI* button = new CProbeUI(L"button", UIFLAG_TABSTOP, L"ProbeUI", &deleted);
    button->SetFloat(true);
    button->SetFixedWidth(50);
    button->SetFixedHeight(20);
    oldRoot->Add(button);
    pm().AttachRoot(oldRoot);
    Paint();

    CContainerUI* newRoot = new CContainerUI;
    CProbeUI* replacement = new CProbeUI(L"button");
    newRoot->Add(replacement);
    button->onClick = [&] { pm().AttachRoot(newRoot); };
    Send(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10));
    Send(WM_LBUTTONUP, 0, MAKELPARAM(10, 10));
    EXPECT_EQ(0, deleted); // still alive after its own click handler
    EXPECT_EQ(newRoot, pm().GetRoot());
    EXPECT_EQ(replacement, pm().FindControl(L"button"));
    EXPECT_EQ(nullptr, ::GetCapture());
    Pump(); // WM_APP + 1
    EXPECT_EQ(1, deleted);
    EXPECT_EQ(replacement, pm().FindControl(L"button"));
    Paint();
    EXPECT_EQ(2, host->log.Count(NotifyWindowInit)); // once per attached root
}

TEST_F(WindowManagerTest, MouseEnterLeaveAndCapture)
{
    AttachThree();
    Send(WM_MOUSEMOVE, 0, MAKELPARAM(10, 40));
    EXPECT_EQ(1, probes[1]->Count(EventMouseEnter));
    Send(WM_MOUSEMOVE, 0, MAKELPARAM(10, 70));
    EXPECT_EQ(1, probes[1]->Count(EventMouseLeave));
    EXPECT_EQ(probes[2], probes[1]->Last(EventMouseLeave)->sender);
    EXPECT_EQ(1, probes[2]->Count(EventMouseEnter));

    // Leaving the window: the synthetic move to (-1, -1) takes the hot control's leave.
    Send(WM_MOUSELEAVE, 0, 0);
    EXPECT_EQ(1, probes[2]->Count(EventMouseLeave));
    EXPECT_EQ(-1, pm().GetMousePos().x);

    // A press goes to the control under the point; moves and the release follow it.
    Send(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10));
    EXPECT_EQ(1, probes[0]->Count(EventButtonDown));
    EXPECT_EQ(probes[0], pm().GetFocus());
    EXPECT_EQ(hwnd, ::GetCapture());
    Send(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(10, 80));
    EXPECT_EQ(1, probes[0]->Count(EventMouseMove));
    Send(WM_LBUTTONUP, 0, MAKELPARAM(10, 80));
    EXPECT_EQ(1, probes[0]->Count(EventButtonUp));
    EXPECT_EQ(0, probes[2]->Count(EventButtonUp));
    EXPECT_EQ(nullptr, ::GetCapture());

    // Nothing under the point: no control, no capture, no crash.
    pm().GetRoot()->SetMouseEnabled(false);
    Send(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(150, 120));
    EXPECT_EQ(nullptr, ::GetCapture());
    Send(WM_LBUTTONUP, 0, MAKELPARAM(150, 120));
    Send(WM_RBUTTONDBLCLK, 0, MAKELPARAM(150, 120));
    EXPECT_EQ(nullptr, ::GetCapture());
}

// A hot control goes cold however the pointer is taken away: a leave after
// the hover report, or a menu that opens over the window and swallows the leave.
TEST_F(WindowManagerTest, HotControlLeavesAfterHoverAndWhenAMenuOpens)
{
    AttachThree();
    struct Case
    {
        const char* what;
        std::vector<UINT> messages; // after the pointer came onto the second probe
    };
    const Case cases[] = {
        { "leave after hover", { WM_MOUSEHOVER, WM_MOUSELEAVE } },
        { "menu opened", { WM_ENTERMENULOOP } },
        { "menu opened after hover", { WM_MOUSEHOVER, WM_ENTERMENULOOP } },
    };
    int leaves = 0;
    for (const Case& c : cases) {
        Send(WM_MOUSEMOVE, 0, MAKELPARAM(10, 40));
        ASSERT_EQ(probes[1], pm().FindControlAt(POINT{ 10, 40 }));
        for (UINT message : c.messages) Send(message, message == WM_ENTERMENULOOP ? TRUE : 0, MAKELPARAM(10, 40));
        EXPECT_EQ(++leaves, probes[1]->Count(EventMouseLeave)) << c.what;
        EXPECT_EQ(-1, pm().GetMousePos().x) << c.what;
        // The next move finds the control again.
        Send(WM_MOUSEMOVE, 0, MAKELPARAM(10, 70));
        Send(WM_MOUSEMOVE, 0, MAKELPARAM(10, 70));
        EXPECT_EQ(static_cast<int>(&c - cases) + 1, probes[2]->Count(EventMouseEnter)) << c.what;
        Send(WM_MOUSELEAVE, 0, 0);
    }
    Pump(); // no leave keeps coming back for a pointer that is outside
    EXPECT_EQ(static_cast<int>(sizeof(cases) / sizeof(cases[0])), probes[2]->Count(EventMouseLeave));
}

namespace {

BOOL CALLBACK FindShownTip(HWND hWnd, LPARAM lParam)
{
    wchar_t className[64] = {};
    ::GetClassNameW(hWnd, className, 64);
    if (wcscmp(className, TOOLTIPS_CLASSW) != 0 || !::IsWindowVisible(hWnd)) return TRUE;
    *reinterpret_cast<bool*>(lParam) = true;
    return FALSE;
}

bool ToolTipShown()
{
    bool shown = false;
    ::EnumThreadWindows(::GetCurrentThreadId(), FindShownTip, reinterpret_cast<LPARAM>(&shown));
    return shown;
}

HWND hoverTarget = nullptr;
bool tipShownInMenu = false;
bool hoverReportedInMenu = false;

// Runs inside the menu's own loop: the hover report comes while the menu is open.
void CALLBACK HoverWhileMenuIsOpen(HWND hWnd, UINT, UINT_PTR id, DWORD)
{
    ::KillTimer(hWnd, id);
    ::SendMessageW(hoverTarget, WM_MOUSEHOVER, 0, MAKELPARAM(10, 40));
    hoverReportedInMenu = true;
    tipShownInMenu = ToolTipShown();
    ::EndMenu();
}

} // namespace

// A hover report that comes while a menu is open puts no tip over the menu.
TEST_F(WindowManagerTest, NoToolTipOverAnOpenMenu)
{
    AttachThree();
    probes[1]->SetToolTip(L"主菜单");
    Send(WM_MOUSEMOVE, 0, MAKELPARAM(10, 40));
    hoverTarget = hwnd;
    hoverReportedInMenu = tipShownInMenu = false;
    HMENU hMenu = ::CreatePopupMenu();
    ::AppendMenuW(hMenu, MF_STRING, 1, L"item");
    ::SetTimer(hwnd, 77, 10, HoverWhileMenuIsOpen);
    ::TrackPopupMenu(hMenu, TPM_RETURNCMD, 0, 0, 0, hwnd, nullptr);
    ::DestroyMenu(hMenu);
    ASSERT_TRUE(hoverReportedInMenu);
    EXPECT_FALSE(tipShownInMenu);
    // With the menu gone the same report shows the tip.
    Send(WM_MOUSEMOVE, 0, MAKELPARAM(10, 40));
    Send(WM_MOUSEHOVER, 0, MAKELPARAM(10, 40));
    EXPECT_TRUE(ToolTipShown());
    Send(WM_MOUSELEAVE, 0, 0);
}

TEST_F(WindowManagerTest, WheelAndKeysGoToTheFocus)
{
    AttachThree();
    pm().SetFocus(probes[1]);
    Send(WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-WHEEL_DELTA)), 0);
    ASSERT_EQ(1, probes[1]->Count(EventScrollWheel));
    EXPECT_EQ(1u, probes[1]->Last(EventScrollWheel)->wParam);
    Send(WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA), 0);
    EXPECT_EQ(0u, probes[1]->Last(EventScrollWheel)->wParam);

    Send(WM_KEYDOWN, 'A', 0);
    Send(WM_CHAR, 'a', 0);
    pm().SetFocus(probes[2]);
    Send(WM_KEYUP, 'A', 0); // the release goes where the press went
    EXPECT_EQ(1, probes[1]->Count(EventKeyDown));
    EXPECT_EQ(L'A', probes[1]->Last(EventKeyDown)->keyChar);
    EXPECT_EQ(1, probes[1]->Count(EventChar));
    EXPECT_EQ(1, probes[1]->Count(EventKeyUp));
    EXPECT_EQ(0, probes[2]->Count(EventKeyUp));
}

// Hiding the focused control lets go of the focus; it can take it again once shown.
TEST_F(WindowManagerTest, HidingTheFocusMovesItAway)
{
    AttachThree();
    pm().SetFocus(probes[1]);
    probes[1]->SetVisible(false);
    EXPECT_EQ(nullptr, pm().GetFocus());
    Send(WM_KEYDOWN, 'X', 0);
    EXPECT_EQ(0, probes[1]->Count(EventKeyDown));
    probes[1]->SetVisible(true);
    pm().SetFocus(probes[1]);
    EXPECT_EQ(probes[1], pm().GetFocus());

    // Hiding an ancestor of the focus does the same.
    pm().GetRoot()->SetVisible(false);
    EXPECT_EQ(nullptr, pm().GetFocus());
}

TEST_F(WindowManagerTest, DeletingAControlKeepsOtherNamesAndDropsItsState)
{
    CContainerUI* root = AttachThree();
    CProbeUI* duplicate = new CProbeUI(L"first");
    root->Add(duplicate); // "first" stays with the first holder
    EXPECT_EQ(probes[0], pm().FindControl(L"first"));
    root->Remove(duplicate);
    EXPECT_EQ(probes[0], pm().FindControl(L"first"));

    pm().SetFocus(probes[2]);
    Send(WM_MOUSEMOVE, 0, MAKELPARAM(10, 70)); // hot
    ASSERT_TRUE(pm().SetTimer(probes[2], 1, 100000));
    pm().AddPostPaint(probes[2]);
    root->Remove(probes[2]);
    EXPECT_EQ(nullptr, pm().FindControl(L"third"));
    EXPECT_EQ(nullptr, pm().GetFocus());
    EXPECT_FALSE(pm().RemovePostPaint(probes[2]));
    Send(WM_TIMER, 17, 0); // no delivery to the deleted control
    Send(WM_MOUSEMOVE, 0, MAKELPARAM(10, 10));
    Send(WM_KEYDOWN, 'X', 0);
    Paint();
    EXPECT_EQ(1, probes[0]->Count(EventMouseEnter));
}

TEST_F(WindowManagerTest, PaintWithoutRootValidates)
{
    ::InvalidateRect(hwnd, nullptr, FALSE);
    Send(WM_PAINT, 0, 0);
    RECT rc = {};
    EXPECT_FALSE(::GetUpdateRect(hwnd, &rc, FALSE));
    LRESULT lRes = 0;
    EXPECT_TRUE(pm().HandleWindowMessage(WM_SIZE, 0, MAKELPARAM(200, 150), lRes));
}

// A manager without a window must not reach for one: a null window handle given to
// InvalidateRect stands for the whole desktop.
TEST_F(WindowManagerTest, ManagerWithoutAWindowInvalidatesNoOtherWindow)
{
    RECT rc = {};
    ::ValidateRect(hwnd, nullptr);
    ASSERT_FALSE(::GetUpdateRect(hwnd, &rc, FALSE));
    CWindowManagerUI loose;
    loose.AttachRoot(new CProbeUI(L"loose"));
    EXPECT_TRUE(loose.SetNextTabControl(true));
    loose.Invalidate(RECT{ 0, 0, 50, 50 });
    EXPECT_FALSE(::GetUpdateRect(hwnd, &rc, FALSE)) << "another window was invalidated";
}

TEST_F(WindowManagerTest, PrintClientPaintsTheTree)
{
    CContainerUI* root = new CContainerUI;
    root->SetBkColor(0xFFFF0000);
    CControlUI* box = new CControlUI;
    box->SetFloat(true);
    box->SetFixedXY(SIZE{ 20, 20 });
    box->SetFixedWidth(30);
    box->SetFixedHeight(30);
    box->SetBkColor(0xFF0000FF);
    root->Add(box);
    pm().AttachRoot(root);

    BITMAPINFO bmi = {};
    bmi.bmiHeader = { sizeof(BITMAPINFOHEADER), 200, -150, 1, 32, BI_RGB, 0, 0, 0, 0, 0 };
    DWORD* pBits = nullptr;
    HDC hDC = ::CreateCompatibleDC(nullptr);
    HBITMAP hBmp = ::CreateDIBSection(hDC, &bmi, DIB_RGB_COLORS, reinterpret_cast<void**>(&pBits), nullptr, 0);
    HGDIOBJ hOld = ::SelectObject(hDC, hBmp);
    Send(WM_PRINTCLIENT, reinterpret_cast<WPARAM>(hDC), PRF_CLIENT);
    ::GdiFlush();
    EXPECT_EQ(0x00FF0000u, pBits[5 * 200 + 5] & 0xFFFFFF);   // root: red
    EXPECT_EQ(0x000000FFu, pBits[30 * 200 + 30] & 0xFFFFFF); // box: blue
    EXPECT_EQ(0x00FF0000u, pBits[100 * 200 + 150] & 0xFFFFFF);
    ::SelectObject(hDC, hOld);
    ::DeleteObject(hBmp);
    ::DeleteDC(hDC);
}

// The relayout of the whole tree leaves the whole client to repaint, with every control
// at its new place, whatever was invalidated before it.
TEST_F(WindowManagerTest, RelayoutOfTheWholeTreeRepaintsTheWholeClient)
{
    CContainerUI* root = AttachThree();
    probes[2]->SetFixedXY(SIZE{ 40, 100 });
    root->NeedUpdate();
    ::ValidateRect(hwnd, nullptr);
    HDC hDC = ::CreateCompatibleDC(nullptr);
    Send(WM_PRINTCLIENT, reinterpret_cast<WPARAM>(hDC), PRF_CLIENT); // lays the tree out first
    ::DeleteDC(hDC);
    RECT rcClient = {}, rcUpdate = {};
    ::GetClientRect(hwnd, &rcClient);
    ASSERT_TRUE(::GetUpdateRect(hwnd, &rcUpdate, FALSE));
    EXPECT_TRUE(::EqualRect(&rcClient, &rcUpdate));
    EXPECT_EQ(40, probes[2]->GetPos().left);
    EXPECT_EQ(100, probes[2]->GetPos().top);
    // An invalidation of one control afterwards is its own again.
    ::ValidateRect(hwnd, nullptr);
    probes[0]->Invalidate();
    ASSERT_TRUE(::GetUpdateRect(hwnd, &rcUpdate, FALSE));
    EXPECT_TRUE(::EqualRect(&probes[0]->GetPos(), &rcUpdate));
}

namespace {

class CChildWnd : public CWindowWnd
{
public:
    LPCWSTR GetWindowClassName() const override { return L"LumoraTestReflectChild"; }
    LRESULT HandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam) override
    {
        if (uMsg >= 0x2000 && uMsg < 0x3000) {
            reflected.push_back(uMsg);
            return 77;
        }
        return CWindowWnd::HandleMessage(uMsg, wParam, lParam);
    }
    std::vector<UINT> reflected;
};

} // namespace

TEST_F(WindowManagerTest, ReflectsCommandAndNotifyToTheChild)
{
    CChildWnd child;
    HWND hChild = child.Create(hwnd, L"", WS_CHILD, 0, 0, 0, 10, 10, reinterpret_cast<HMENU>(42));
    ASSERT_NE(nullptr, hChild);
    LRESULT lRes = 0;
    EXPECT_TRUE(pm().HandleWindowMessage(WM_COMMAND, 42, reinterpret_cast<LPARAM>(hChild), lRes));
    EXPECT_EQ(77, lRes);
    NMHDR hdr = { hChild, 42, 0 };
    EXPECT_TRUE(pm().HandleWindowMessage(WM_NOTIFY, 42, reinterpret_cast<LPARAM>(&hdr), lRes));
    EXPECT_TRUE(pm().HandleWindowMessage(WM_NOTIFY, 42, 0, lRes)); // handled, nothing sent
    EXPECT_FALSE(pm().HandleWindowMessage(WM_COMMAND, 1, 0, lRes));
    EXPECT_FALSE(pm().HandleWindowMessage(WM_DRAWITEM, 0, 0, lRes));
    EXPECT_EQ((std::vector<UINT>{ 0x2111, WM_NOTIFY + 0x2000 }), child.reflected);
    ::DestroyWindow(hChild);
}

namespace {

class CSwallowFilter : public IMessageFilterUI
{
public:
    LRESULT MessageHandler(UINT uMsg, WPARAM, LPARAM, bool& bHandled) override
    {
        if (uMsg == WM_KEYDOWN) {
            bHandled = true;
            return 9;
        }
        return 0;
    }
};

} // namespace

TEST_F(WindowManagerTest, MessageFiltersComeFirst)
{
    AttachThree();
    CSwallowFilter filter;
    pm().AddMessageFilter(&filter);
    LRESULT lRes = 0;
    EXPECT_TRUE(pm().HandleWindowMessage(WM_KEYDOWN, 'Q', 0, lRes));
    EXPECT_EQ(9, lRes);
    EXPECT_EQ(0, probes[0]->Count(EventKeyDown));
    EXPECT_TRUE(pm().RemoveMessageFilter(&filter));
    EXPECT_FALSE(pm().RemoveMessageFilter(&filter));
    pm().HandleWindowMessage(WM_KEYDOWN, 'Q', 0, lRes);
    EXPECT_EQ(1, probes[0]->Count(EventKeyDown));
}
