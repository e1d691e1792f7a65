#include "ActiveXTest.h"

#include "SkinBuilderUI.h"

// The manager's lists

// The builder lists ActiveX and HTML controls with the manager as it creates them,
// before they have a manager; controls it then drops, and a built tree deleted
// without ever being attached, must leave that list, or every message of the
// process walks freed controls.
TEST_F(ActiveXTest, HostedControlsTheBuilderDropsOrNeverAttachesLeaveTheList)
{
    TAllocationRecord record;
    record.nSize = sizeof(CActiveXUI);
    g_pAllocationRecord = &record;
    CSkinBuilderUI builder;
    CControlUI* built = builder.Build(nullptr,
                                      L"<Window><Container><Control><ActiveX/></Control>"
                                      L"<ActiveX name=\"kept\"/></Container><ActiveX/></Window>",
                                      nullptr, nullptr, &pm());
    g_pAllocationRecord = nullptr;
    ASSERT_NE(nullptr, built);
    ASSERT_GE(record.nRecorded, 3) << "three ActiveX controls were made";
    CControlUI* kept = static_cast<CContainerUI*>(built)->GetItemAt(1);
    ASSERT_NE(nullptr, kept);
    ASSERT_TRUE(kept->GetName().Compare(L"kept"));
    for (int i = 0; i < record.nRecorded; i++) {
        if (record.apRecorded[i] == kept) continue;
        EXPECT_FALSE(pm().RemoveHostedBrowser(static_cast<CControlUI*>(record.apRecorded[i])))
            << "a dropped control is still listed";
    }

    delete built;
    EXPECT_FALSE(pm().RemoveHostedBrowser(kept)) << "a deleted, never attached control is still listed";
    MSG msg = { hwnd, WM_KEYDOWN, 'N', 0, 0, {} };
    HWND other = ::CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    msg.hwnd = other;
    EXPECT_FALSE(CWindowManagerUI::PreTranslateAll(&msg));
    ::DestroyWindow(other);
}

// A windowless control is on the manager's message filters exactly while it is
// active in place, once, and never after it is gone, with or without its manager.
TEST_F(ActiveXTest, WindowlessControlIsAFilterOnceAndOnlyWhileActive)
{
    CActiveXUI* ax = Host<CActiveXUI>(&kTestClsid, RECT{ 0, 0, 100, 100 });
    IOleInPlaceSiteWindowless* site = SiteFace<IOleInPlaceSiteWindowless>(IID_IOleInPlaceSiteWindowless);
    ASSERT_NE(nullptr, site);
    IMessageFilterUI* filter = ax;

    for (int i = 0; i < 2; i++) {
        BOOL bNoRedraw = FALSE;
        ASSERT_EQ(S_OK, site->OnInPlaceActivateEx(&bNoRedraw, ACTIVATE_WINDOWLESS));
    }
    controlLog.messages.clear();
    ::SendMessageW(hwnd, WM_LBUTTONDOWN, 0, MAKELPARAM(20, 30));
    EXPECT_EQ(1u, controlLog.messages.size()) << "activated three times, fed once";

    ASSERT_EQ(S_OK, site->OnInPlaceDeactivateEx(TRUE));
    EXPECT_FALSE(pm().RemoveMessageFilter(filter)) << "deactivation leaves the filters";
    BOOL bNoRedraw = FALSE;
    ASSERT_EQ(S_OK, site->OnInPlaceActivateEx(&bNoRedraw, ACTIVATE_WINDOWLESS));
    site->Release();

    // Taken out of the tree and off its manager, then deleted.
    root->SetAutoDestroy(false);
    ASSERT_TRUE(root->Remove(ax));
    root->SetAutoDestroy(true);
    ax->SetManager(nullptr, nullptr);
    delete ax;
    EXPECT_FALSE(pm().RemoveMessageFilter(filter)) << "a deleted control is still a filter";
    controlLog.messages.clear();
    ::SendMessageW(hwnd, WM_LBUTTONDOWN, 0, MAKELPARAM(20, 30));
    EXPECT_TRUE(controlLog.messages.empty());
}
