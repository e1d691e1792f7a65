#include <gtest/gtest.h>

#include "UpdCoreTestSupport.h"

using namespace UpdCoreTest;

namespace {

class CUpdWindowManager : public CHostedManagerFixture
{
protected:
    void TearDown() override
    {
        CHostedManagerFixture::TearDown();
        ReleaseAllKeys();
    }
    // A root container holding the given controls, attached and laid out.
    CContainerUI* Attach(std::initializer_list<CControlUI*> children)
    {
        CContainerUI* pRoot = new CContainerUI;
        for (CControlUI* p : children) pRoot->Add(p);
        manager->AttachRoot(pRoot);
        PaintNow(hWnd);
        return pRoot;
    }
    LRESULT Send(UINT uMsg, WPARAM wParam, LPARAM lParam) { return ::SendMessageW(hWnd, uMsg, wParam, lParam); }
};

// A control whose class says it is a rich edit; such controls keep TAB for themselves.
class CRichEditProbeUI : public CProbeUI
{
public:
    CRichEditProbeUI() : CProbeUI(L"rich", UIFLAG_TABSTOP, L"RichEditUI") { }
};

} // namespace

TEST_F(CUpdWindowManager, WindowInitIsSentOncePerAttachedRoot)
{
    Attach({ new CProbeUI(L"a") });
    EXPECT_EQ(1, log.Count(L"windowinit"));
    PaintNow(hWnd);
    EXPECT_EQ(1, log.Count(L"windowinit"));
    CContainerUI* pSecond = Attach({ new CProbeUI(L"b") });
    EXPECT_EQ(2, log.Count(L"windowinit"));
    CControlUI* pSender = nullptr;
    for (const TNotifyRecUI& r : log.records) {
        if (r.type == L"windowinit") pSender = r.sender;
    }
    EXPECT_EQ(pSecond, pSender);
    RECT rcClient = {};
    ::GetClientRect(hWnd, &rcClient);
    EXPECT_EQ(rcClient.right, pSecond->GetPos().right);
}

TEST_F(CUpdWindowManager, LaterControlOfTheSameNameWins)
{
    CProbeUI* pFirst = new CProbeUI(L"twin");
    CProbeUI* pSecond = new CProbeUI(L"twin");
    Attach({ pFirst, pSecond });
    EXPECT_EQ(pSecond, manager->FindControl(L"twin"));
    EXPECT_EQ(nullptr, manager->FindControl(L"nobody"));
}

TEST_F(CUpdWindowManager, ReplacedTreeLeavesNoNamesTimersOrNotificationsBehind)
{
    int deleted = 0;
    CProbeUI* pOld = new CProbeUI(L"old", UIFLAG_TABSTOP, L"ProbeUI", &deleted);
    Attach({ pOld });
    ASSERT_TRUE(manager->SetTimer(pOld, 3, 60000));
    manager->SendNotify(pOld, L"click", 0, 0, true);
    manager->AttachRoot(new CContainerUI);
    EXPECT_EQ(nullptr, manager->FindControl(L"old"));
    EXPECT_EQ(0, deleted);
    // The next message delivers the queued notification without its dead sender, then
    // the clean-up message deletes the old tree.
    Send(WM_NULL, 0, 0);
    ASSERT_EQ(1, log.Count(L"click"));
    EXPECT_EQ(nullptr, log.records.back().sender);
    PumpMessages();
    EXPECT_EQ(1, deleted);
    // Its timer is gone from the window, and its id reaches no other control.
    EXPECT_FALSE(::KillTimer(hWnd, 17));
    CProbeUI* pNew = new CProbeUI(L"new");
    Attach({ pNew });
    ASSERT_TRUE(manager->SetTimer(pNew, 3, 60000));
    Send(WM_TIMER, 17, 0);
    EXPECT_EQ(0, pNew->Count(EventTimer));
    Send(WM_TIMER, 18, 0);
    EXPECT_EQ(1, pNew->Count(EventTimer));
}

TEST_F(CUpdWindowManager, TimerIdsStartAt17WrapToZeroAndNeverCollide)
{
    std::vector<CProbeUI*> probes;
    for (int i = 0; i < 256; ++i) probes.push_back(new CProbeUI);
    CContainerUI* pRoot = new CContainerUI;
    for (CProbeUI* p : probes) pRoot->Add(p);
    manager->AttachRoot(pRoot);

    ASSERT_TRUE(manager->SetTimer(probes[0], 9, 60000));
    EXPECT_FALSE(manager->SetTimer(probes[0], 9, 60000)); // still running
    Send(WM_TIMER, 17, 0);
    ASSERT_EQ(1, probes[0]->Count(EventTimer));
    EXPECT_EQ(9u, probes[0]->Last(EventTimer)->wParam);

    for (int i = 1; i < 238; ++i) ASSERT_TRUE(manager->SetTimer(probes[i], 1, 60000)) << i;
    ASSERT_TRUE(manager->SetTimer(probes[238], 1, 60000)); // the 239th id
    Send(WM_TIMER, 0, 0);
    EXPECT_EQ(1, probes[238]->Count(EventTimer));
    for (int i = 239; i < 255; ++i) ASSERT_TRUE(manager->SetTimer(probes[i], 1, 60000)) << i;
    // Every one of the 255 ids is taken now: a new timer fails instead of taking one over.
    EXPECT_FALSE(manager->SetTimer(probes[255], 1, 60000));
    manager->KillTimers(probes[5]);
    ASSERT_TRUE(manager->SetTimer(probes[255], 1, 60000));
    Send(WM_TIMER, 22, 0);
    EXPECT_EQ(1, probes[255]->Count(EventTimer));
    EXPECT_EQ(0, probes[5]->Count(EventTimer));

    // A killed timer is re-armed under its old id.
    EXPECT_TRUE(manager->KillTimer(probes[0], 9));
    EXPECT_FALSE(manager->KillTimer(probes[0], 9));
    Send(WM_TIMER, 17, 0);
    EXPECT_EQ(1, probes[0]->Count(EventTimer));
    EXPECT_TRUE(manager->SetTimer(probes[0], 9, 60000));
    Send(WM_TIMER, 17, 0);
    EXPECT_EQ(2, probes[0]->Count(EventTimer));
    manager->RemoveAllTimers();
}

TEST_F(CUpdWindowManager, TabMovesForwardShiftTabWrapsBackwardsRichEditKeepsIt)
{
    CProbeUI* a = new CProbeUI(L"a");
    CProbeUI* b = new CProbeUI(L"b");
    CProbeUI* label = new CProbeUI(L"label", 0);
    CProbeUI* c = new CProbeUI(L"c");
    Attach({ a, label, b, c });
    // The first paint after attaching a tree focuses its first tab stop.
    EXPECT_EQ(a, manager->GetFocus());
    LRESULT lRes = 0;
    ASSERT_TRUE(manager->PreHandleMessage(WM_KEYDOWN, VK_TAB, 0, lRes));
    EXPECT_EQ(b, manager->GetFocus());
    EXPECT_EQ(1, a->Count(EventKillFocus));
    EXPECT_EQ(b, a->Last(EventKillFocus)->sender);
    EXPECT_GE(log.Count(L"killfocus"), 1);
    EXPECT_GE(log.Count(L"setfocus"), 2);

    BYTE state[256] = {};
    state[VK_SHIFT] = 0x80;
    ::SetKeyboardState(state);
    manager->SetFocus(a);
    ASSERT_TRUE(manager->PreHandleMessage(WM_KEYDOWN, VK_TAB, 0, lRes));
    EXPECT_EQ(c, manager->GetFocus());
    BYTE none[256] = {};
    ::SetKeyboardState(none);
    ASSERT_TRUE(manager->PreHandleMessage(WM_KEYDOWN, VK_TAB, 0, lRes));
    EXPECT_EQ(a, manager->GetFocus());

    CRichEditProbeUI* pRich = new CRichEditProbeUI;
    static_cast<CContainerUI*>(manager->GetRoot())->Add(pRich);
    manager->SetFocus(pRich);
    EXPECT_FALSE(manager->PreHandleMessage(WM_KEYDOWN, VK_TAB, 0, lRes));
    EXPECT_EQ(pRich, manager->GetFocus());
    pRich->SetEnabled(false);
    EXPECT_TRUE(manager->PreHandleMessage(WM_KEYDOWN, VK_TAB, 0, lRes));
}

TEST_F(CUpdWindowManager, FocusRefusesForeignHiddenAndDisabledControls)
{
    CProbeUI* a = new CProbeUI(L"a");
    Attach({ a });
    ASSERT_EQ(a, manager->GetFocus());
    CProbeUI stranger;
    manager->SetFocus(&stranger);
    EXPECT_EQ(nullptr, manager->GetFocus());
    a->SetEnabled(false);
    manager->SetFocus(a);
    EXPECT_EQ(nullptr, manager->GetFocus());
    a->SetEnabled(true);
    manager->SetFocus(a);
    EXPECT_EQ(a, manager->GetFocus());
    EXPECT_EQ(2, a->Count(EventSetFocus));
    EXPECT_EQ(1, a->Count(EventKillFocus));
}

TEST_F(CUpdWindowManager, AsyncNotificationArrivesWithTheNextMessage)
{
    CProbeUI* a = new CProbeUI(L"a");
    Attach({ a });
    int before = log.Count(L"itemclick");
    manager->SendNotify(a, L"itemclick", 4, 5, true);
    EXPECT_EQ(before, log.Count(L"itemclick"));
    Send(WM_NULL, 0, 0);
    ASSERT_EQ(before + 1, log.Count(L"itemclick"));
    EXPECT_EQ(a, log.records.back().sender);
    EXPECT_EQ(4u, log.records.back().wParam);
    EXPECT_EQ(5, log.records.back().lParam);
    Send(WM_NULL, 0, 0);
    EXPECT_EQ(before + 1, log.Count(L"itemclick"));
}

TEST_F(CUpdWindowManager, MouseMessagesBecomeEventsWithTheLibrarysNumbers)
{
    CProbeUI* a = new CProbeUI(L"a");
    CContainerUI* pRoot = Attach({ a });
    (void)pRoot;
    Send(WM_MOUSEMOVE, 0, MAKELPARAM(20, 20));
    EXPECT_EQ(1, a->Count(EventMouseEnter));
    EXPECT_EQ(1, a->Count(EventMouseMove));
    Send(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(20, 20));
    ASSERT_EQ(1, a->Count(EventButtonDown));
    EXPECT_EQ(a, manager->GetFocus());
    EXPECT_TRUE(manager->IsCaptured());
    Send(WM_LBUTTONUP, 0, MAKELPARAM(22, 20));
    EXPECT_EQ(1, a->Count(EventButtonUp));
    EXPECT_FALSE(manager->IsCaptured());
    EXPECT_EQ(22, manager->GetMousePos().x);

    POINT pt = { 30, 30 };
    ::ClientToScreen(hWnd, &pt);
    Send(WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-WHEEL_DELTA)), MAKELPARAM(pt.x, pt.y));
    ASSERT_EQ(1, a->Count(EventScrollWheel));
    EXPECT_EQ(1u, a->Last(EventScrollWheel)->wParam);
    Send(WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA), MAKELPARAM(pt.x, pt.y));
    EXPECT_EQ(0u, a->Last(EventScrollWheel)->wParam);
    EXPECT_EQ(30, manager->GetMousePos().x);

    Send(WM_MOUSEMOVE, 0, static_cast<LPARAM>(-1));
    EXPECT_EQ(1, a->Count(EventMouseLeave));
    EXPECT_EQ(EventMouseLeave, 10);
    EXPECT_EQ(EventScrollWheel, 18);
    EXPECT_EQ(EventTimer, 24);
}

// A page shown just before a click is laid out only when the window paints;
// the click waiting in the queue comes first and must still find its control.
TEST_F(CUpdWindowManager, AClickBeforeThePaintFindsAControlJustShown)
{
    CProbeUI* late = new CProbeUI(L"late");
    late->SetVisible(false);
    Attach({ late }); // laid out and painted while hidden: it has no place yet
    late->SetVisible(true);
    Send(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(20, 20));
    Send(WM_LBUTTONUP, 0, MAKELPARAM(20, 20));
    EXPECT_EQ(1, late->Count(EventButtonDown));
    EXPECT_EQ(1, late->Count(EventButtonUp));
}

// The relayout of the whole tree leaves the whole client to repaint, with every control
// at its new place, whatever was invalidated before it.
TEST_F(CUpdWindowManager, RelayoutOfTheWholeTreeRepaintsTheWholeClient)
{
    CProbeUI* pMoved = new CProbeUI(L"moved");
    pMoved->SetFloat(true);
    pMoved->SetFixedXY(SIZE{ 0, 0 });
    pMoved->SetFixedWidth(50);
    pMoved->SetFixedHeight(30);
    CContainerUI* pRoot = Attach({ pMoved });
    pMoved->SetFixedXY(SIZE{ 40, 100 });
    pRoot->NeedUpdate();
    ::ValidateRect(hWnd, nullptr);
    manager->LayOutPendingChanges();
    RECT rcClient = {}, rcUpdate = {};
    ::GetClientRect(hWnd, &rcClient);
    ASSERT_TRUE(::GetUpdateRect(hWnd, &rcUpdate, FALSE));
    EXPECT_TRUE(::EqualRect(&rcClient, &rcUpdate));
    EXPECT_EQ(40, pMoved->GetPos().left);
    EXPECT_EQ(100, pMoved->GetPos().top);
    // An invalidation of one control afterwards is its own again.
    ::ValidateRect(hWnd, nullptr);
    pMoved->Invalidate();
    ASSERT_TRUE(::GetUpdateRect(hWnd, &rcUpdate, FALSE));
    const RECT rcMoved = pMoved->GetPos();
    EXPECT_TRUE(::EqualRect(&rcMoved, &rcUpdate));
}

TEST_F(CUpdWindowManager, KeysGoToTheFocusAndKeyUpToTheControlThatGotKeyDown)
{
    CProbeUI* a = new CProbeUI(L"a");
    CProbeUI* b = new CProbeUI(L"b");
    Attach({ a, b });
    manager->SetFocus(nullptr);
    Send(WM_KEYDOWN, 'X', 0);
    EXPECT_EQ(0, a->Count(EventKeyDown));
    manager->SetFocus(a);
    Send(WM_KEYDOWN, 'X', 0);
    ASSERT_EQ(1, a->Count(EventKeyDown));
    EXPECT_EQ(nullptr, a->Last(EventKeyDown)->sender);
    EXPECT_EQ(L'X', a->Last(EventKeyDown)->keyChar);
    manager->SetFocus(b);
    Send(WM_KEYUP, 'X', 0);
    EXPECT_EQ(1, a->Count(EventKeyUp));
    EXPECT_EQ(0, b->Count(EventKeyUp));
    Send(WM_CHAR, 'y', 0);
    EXPECT_EQ(1, b->Count(EventChar));
}

// The search runs over the children from the last to the first, so the control that
// takes over a label's shortcut is the one listed before it.
TEST_F(CUpdWindowManager, ShortcutOfALabelPassesToTheNextControlSearched)
{
    CProbeUI* edit = new CProbeUI(L"edit");
    CProbeUI* label = new CProbeUI(L"label", 0, L"LabelUI");
    label->SetShortcut(L'n');
    CProbeUI* other = new CProbeUI(L"other");
    Attach({ edit, label, other });
    manager->SetFocus(other);
    LRESULT lRes = 0;
    EXPECT_TRUE(manager->PreHandleMessage(WM_SYSCHAR, 'N', 0, lRes));
    EXPECT_EQ(edit, manager->GetFocus());
    EXPECT_FALSE(manager->PreHandleMessage(WM_SYSCHAR, 'Z', 0, lRes));
}

TEST_F(CUpdWindowManager, ReflectionAndMessageFilters)
{
    struct CFilter : IMessageFilterUI
    {
        UINT target = 0;
        int seen = 0;
        LRESULT MessageHandler(UINT uMsg, WPARAM, LPARAM, bool& bHandled) override
        {
            ++seen;
            bHandled = uMsg == target;
            return 77;
        }
    } filter;
    filter.target = WM_APP + 50;
    manager->AddMessageFilter(&filter);
    EXPECT_EQ(77, Send(WM_APP + 50, 0, 0));
    EXPECT_TRUE(manager->RemoveMessageFilter(&filter));
    EXPECT_FALSE(manager->RemoveMessageFilter(&filter));
    int seen = filter.seen;
    Send(WM_APP + 50, 0, 0);
    EXPECT_EQ(seen, filter.seen);

    LRESULT lRes = 0;
    EXPECT_TRUE(manager->HandleWindowMessage(WM_NOTIFY, 0, 0, lRes));
    EXPECT_FALSE(manager->HandleWindowMessage(WM_COMMAND, 1, 0, lRes));
    EXPECT_TRUE(manager->HandleWindowMessage(WM_ERASEBKGND, 0, 0, lRes));
    EXPECT_EQ(1, lRes);

    CWindowManagerUI idle;
    EXPECT_FALSE(idle.HandleWindowMessage(WM_ERASEBKGND, 0, 0, lRes));
}

TEST_F(CUpdWindowManager, TransparencyIsClampedAndOutOfRangeDropsTheLayeredStyle)
{
    manager->SetTransparent(128);
    EXPECT_EQ(128, manager->GetTransparent());
    EXPECT_NE(0, ::GetWindowLongPtrW(hWnd, GWL_EXSTYLE) & WS_EX_LAYERED);
    manager->SetTransparent(300);
    EXPECT_EQ(255, manager->GetTransparent());
    EXPECT_EQ(0, ::GetWindowLongPtrW(hWnd, GWL_EXSTYLE) & WS_EX_LAYERED);
    manager->SetTransparent(-5);
    EXPECT_EQ(0, manager->GetTransparent());
    EXPECT_EQ(0, ::GetWindowLongPtrW(hWnd, GWL_EXSTYLE) & WS_EX_LAYERED);
}

TEST_F(CUpdWindowManager, MinAndMaxTrackSizesApplyOnlyWhereSet)
{
    manager->SetMinInfo(200, 0);
    manager->SetMaxInfo(0, 500);
    MINMAXINFO mmi = {};
    mmi.ptMinTrackSize.y = 11;
    mmi.ptMaxTrackSize.x = 22;
    LRESULT lRes = 0;
    EXPECT_FALSE(manager->HandleWindowMessage(WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&mmi), lRes));
    EXPECT_EQ(200, mmi.ptMinTrackSize.x);
    EXPECT_EQ(11, mmi.ptMinTrackSize.y);
    EXPECT_EQ(22, mmi.ptMaxTrackSize.x);
    EXPECT_EQ(500, mmi.ptMaxTrackSize.y);
}
