#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ComboUI.h"
#include "ContainerUI.h"
#include "ListLabelElementUI.h"
#include "ListUI.h"
#include "ManagedHostWnd.h"
#include "MenuListLabelUI.h"
#include "MenuPlacementUI.h"
#include "MenuUI.h"
#include "MenuWnd.h"
#include "SkinBuilderUI.h"
#include "WindowManagerUI.h"
#include "WindowWnd.h"

namespace {

const wchar_t kMenuMarkup[] = L"<Window><VerticalLayout>"
                              L"<Menu name=\"main\">"
                              L"<MenuListLabel text=\"Open\" labelid=\"7\"/>"
                              L"<MenuListLabel text=\"More\" labelid=\"8\" nextmenu=\"sub\"/>"
                              L"<Container height=\"2\"/>"
                              L"<MenuListLabel text=\"Settings\" labelid=\"9\"/>"
                              L"<MenuListLabel text=\"Quit\" labelid=\"10\"/>"
                              L"</Menu>"
                              L"<Menu name=\"sub\">"
                              L"<MenuListLabel text=\"First\" labelid=\"21\"/>"
                              L"<MenuListLabel text=\"Second\" labelid=\"22\"/>"
                              L"</Menu>"
                              L"</VerticalLayout></Window>";

struct TPosted
{
    UINT uMsg;
    WPARAM wParam;
    LPARAM lParam;
};

class CHostWnd : public TManagedHostWnd<CWindowWnd, CWindowManagerUI>
{
public:
    ~CHostWnd() override { delete m_pm; }
    LPCWSTR GetWindowClassName() const override { return L"LumoraMenuTestHost"; }
    LRESULT HandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam) override
    {
        if (uMsg == UIMSG_MENU_COMMAND) commands.push_back(TPosted{ uMsg, wParam, lParam });
        return TManagedHostWnd::HandleMessage(uMsg, wParam, lParam);
    }
    std::vector<TPosted> commands;
};

// A solid 4 x 4 24-bit bitmap file.
std::wstring WriteBitmap(LPCWSTR pstrName, BYTE r, BYTE g, BYTE b)
{
    wchar_t szDir[MAX_PATH] = {};
    ::GetTempPathW(MAX_PATH, szDir);
    std::wstring path = std::wstring(szDir) + pstrName;
    std::vector<BYTE> bytes(54 + 4 * 4 * 3, 0);
    BITMAPFILEHEADER* file = reinterpret_cast<BITMAPFILEHEADER*>(bytes.data());
    BITMAPINFOHEADER* info = reinterpret_cast<BITMAPINFOHEADER*>(bytes.data() + 14);
    file->bfType = 0x4D42;
    file->bfSize = static_cast<DWORD>(bytes.size());
    file->bfOffBits = 54;
    info->biSize = sizeof(BITMAPINFOHEADER);
    info->biWidth = 4;
    info->biHeight = 4;
    info->biPlanes = 1;
    info->biBitCount = 24;
    for (size_t i = 54; i + 2 < bytes.size(); i += 3) {
        bytes[i] = b;
        bytes[i + 1] = g;
        bytes[i + 2] = r;
    }
    HANDLE h = ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD dwWritten = 0;
    ::WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &dwWritten, nullptr);
    ::CloseHandle(h);
    return path;
}

class MenuTest : public ::testing::Test
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
        delete sharedHost->m_pm;
        sharedHost->m_pm = nullptr;
        ::DestroyWindow(sharedHost->GetWindowHandle());
        delete sharedHost;
    }
    void SetUp() override
    {
        host = sharedHost;
        hwnd = host->GetWindowHandle();
        host->commands.clear();
        host->m_pm = new CWindowManagerUI;
        host->m_pm->Init(hwnd);
        CSkinBuilderUI builder;
        CControlUI* root = builder.Build(nullptr, kMenuMarkup, nullptr, nullptr, host->m_pm);
        ASSERT_NE(nullptr, root);
        host->m_pm->AttachRoot(root);
        ::InvalidateRect(hwnd, nullptr, FALSE);
        ::UpdateWindow(hwnd);
        menu = dynamic_cast<CMenuUI*>(host->m_pm->FindControl(L"main"));
        sub = dynamic_cast<CMenuUI*>(host->m_pm->FindControl(L"sub"));
        ASSERT_NE(nullptr, menu);
        ASSERT_NE(nullptr, sub);
    }
    void TearDown() override
    {
        delete host->m_pm; // closes any popup still open
        host->m_pm = nullptr;
        Pump();
    }

    static void Pump()
    {
        MSG msg;
        while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
    }

    HWND PopupOf(CMenuUI* pMenu) const
    {
        return pMenu->GetMenuWindow() != nullptr ? pMenu->GetMenuWindow()->GetWindowHandle() : nullptr;
    }

    // Opens the main menu at a cursor position and lays its popup out.
    HWND OpenAt(int x, int y)
    {
        ::SetCursorPos(x, y);
        EXPECT_TRUE(menu->Activate());
        HWND popup = PopupOf(menu);
        if (popup != nullptr) ::UpdateWindow(popup);
        return popup;
    }

    CMenuListLabelUI* Item(CMenuUI* pMenu, int i) const
    {
        return static_cast<CMenuListLabelUI*>(pMenu->GetItemAt(i)->GetInterface(L"MenuListLabelUI"));
    }

    static LPARAM Center(CControlUI* pControl)
    {
        const RECT& rc = pControl->GetPos();
        return MAKELPARAM((rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2);
    }

    void PointAt(HWND popup, CControlUI* pItem)
    {
        ::SendMessageW(popup, WM_MOUSEMOVE, 0, Center(pItem));
        Pump();
    }

    int ItemHeight() { return host->m_pm->GetDefaultFontInfo().tmHeight + 13; }

    static CHostWnd* sharedHost;
    CHostWnd* host = nullptr;
    HWND hwnd = nullptr;
    CMenuUI* menu = nullptr;
    CMenuUI* sub = nullptr;
};

CHostWnd* MenuTest::sharedHost = nullptr;

} // namespace

TEST(MenuPlacementTest, PopupsAreSizedFromTheirItemsAndKeptOnTheMonitor)
{
    const SIZE monitor = { 1280, 800 };
    CMenuPlacementUI::TMenuSizeUI fourAndSeparator = { 5, 1, 28, 120 };
    RECT rc = CMenuPlacementUI::TopPopup(POINT{ 300, 100 }, fourAndSeparator, monitor);
    EXPECT_EQ(100, rc.top);
    EXPECT_EQ(221, rc.bottom) << "bottom 256 less 26 for the separator, less 9";
    EXPECT_EQ(121, rc.bottom - rc.top);
    EXPECT_EQ(300, rc.left);
    EXPECT_EQ(420, rc.right);

    RECT up = CMenuPlacementUI::TopPopup(POINT{ 300, 700 }, fourAndSeparator, monitor);
    EXPECT_EQ(121, up.bottom - up.top) << "opening upward keeps the height";
    EXPECT_EQ(696, up.bottom) << "the popup ends just above the cursor";

    RECT left = CMenuPlacementUI::TopPopup(POINT{ 1200, 100 }, fourAndSeparator, monitor);
    EXPECT_EQ(1080, left.left);
    EXPECT_EQ(1200, left.right);

    CMenuPlacementUI::TMenuSizeUI two = { 2, 0, 28, 100 };
    RECT parent = { 100, 50, 220, 171 };
    RECT item = { 2, 30, 118, 58 };
    RECT beside = CMenuPlacementUI::SubPopup(parent, item, two, monitor);
    EXPECT_EQ(223, beside.left);
    EXPECT_EQ(320, beside.right);
    EXPECT_EQ(80, beside.top);
    EXPECT_EQ(static_cast<int>(80 + 2 * 28 + 16.5) - 2 - 9, beside.bottom);

    RECT nearRight = { 1150, 50, 1270, 171 };
    RECT flipped = CMenuPlacementUI::SubPopup(nearRight, item, two, monitor);
    EXPECT_LE(flipped.right, nearRight.left) << "a sub-menu at the right edge opens on the left of its parent";
}

TEST_F(MenuTest, PopupOpensAtTheCursorWithTheComputedHeight)
{
    HWND popup = OpenAt(200, 100);
    ASSERT_NE(nullptr, popup);
    wchar_t szClass[32] = {};
    ::GetClassNameW(popup, szClass, 32);
    EXPECT_STREQ(L"CMenuWnd", szClass);
    EXPECT_EQ(1, CMenuWnd::GetPopupCount());
    RECT rc = {};
    ::GetWindowRect(popup, &rc);
    int nBottom = static_cast<int>(100 + 5 * ItemHeight() + 16.5) - 26;
    EXPECT_EQ(200, rc.left);
    EXPECT_EQ(100, rc.top);
    EXPECT_EQ(nBottom - 9 - 100, rc.bottom - rc.top);
    EXPECT_EQ(&menu->GetMenuWindow()->GetManager(), Item(menu, 0)->GetManager()) << "the items are lent to the popup";
    EXPECT_TRUE(menu->Activate()) << "activating an open menu keeps its popup";
    EXPECT_EQ(1, CMenuWnd::GetPopupCount());
}

TEST_F(MenuTest, ChoosingAnItemPostsItsIdAndClosesEveryPopup)
{
    HWND popup = OpenAt(200, 100);
    ASSERT_NE(nullptr, popup);
    CMenuListLabelUI* open = Item(menu, 0);
    ::SendMessageW(popup, WM_MOUSEMOVE, 0, Center(open));
    EXPECT_TRUE(open->IsHot());
    ::SendMessageW(popup, WM_LBUTTONDOWN, MK_LBUTTON, Center(open));
    ::SendMessageW(popup, WM_LBUTTONUP, 0, Center(open));
    Pump();

    ASSERT_EQ(1u, host->commands.size());
    EXPECT_EQ(static_cast<UINT>(WM_USER + 200), host->commands[0].uMsg);
    EXPECT_EQ(7u, host->commands[0].wParam);
    EXPECT_EQ(0, host->commands[0].lParam);
    EXPECT_FALSE(::IsWindow(popup));
    EXPECT_EQ(nullptr, menu->GetMenuWindow());
    EXPECT_EQ(0, CMenuWnd::GetPopupCount());
    EXPECT_EQ(host->m_pm, open->GetManager()) << "the items are back in the host tree";
    EXPECT_EQ(menu, open->GetParent());
}

TEST_F(MenuTest, SubMenuOpensBesideItsItemAndClosesOnAnotherItem)
{
    HWND popup = OpenAt(200, 100);
    ASSERT_NE(nullptr, popup);
    CMenuListLabelUI* more = Item(menu, 1);
    PointAt(popup, more);
    HWND subPopup = PopupOf(sub);
    ASSERT_NE(nullptr, subPopup);
    EXPECT_EQ(2, CMenuWnd::GetPopupCount());
    RECT rcTop = {};
    RECT rcSub = {};
    ::GetWindowRect(popup, &rcTop);
    ::GetWindowRect(subPopup, &rcSub);
    EXPECT_EQ(rcTop.right + 3, rcSub.left);
    EXPECT_EQ(rcTop.top + more->GetPos().top, rcSub.top);

    ::SetFocus(subPopup);
    Pump();
    EXPECT_TRUE(::IsWindow(popup)) << "focus moving to the sub-menu keeps both open";
    EXPECT_TRUE(::IsWindow(subPopup));
    ::SetFocus(popup);
    Pump();
    EXPECT_TRUE(::IsWindow(subPopup));

    PointAt(popup, Item(menu, 0));
    EXPECT_FALSE(::IsWindow(subPopup)) << "an item without a sub-menu closes the open one";
    EXPECT_EQ(nullptr, sub->GetMenuWindow());
    EXPECT_TRUE(::IsWindow(popup));

    PointAt(popup, more);
    subPopup = PopupOf(sub);
    ASSERT_NE(nullptr, subPopup);
    ::UpdateWindow(subPopup);
    CMenuListLabelUI* second = Item(sub, 1);
    ::SendMessageW(subPopup, WM_MOUSEMOVE, 0, Center(second));
    ::SendMessageW(subPopup, WM_LBUTTONDOWN, MK_LBUTTON, Center(second));
    ::SendMessageW(subPopup, WM_LBUTTONUP, 0, Center(second));
    Pump();
    ASSERT_EQ(1u, host->commands.size());
    EXPECT_EQ(22u, host->commands[0].wParam);
    EXPECT_FALSE(::IsWindow(subPopup));
    EXPECT_FALSE(::IsWindow(popup)) << "choosing in a sub-menu closes the whole chain";
}

TEST_F(MenuTest, EscapeClosesTheMenuWithoutACommand)
{
    HWND popup = OpenAt(200, 100);
    ASSERT_NE(nullptr, popup);
    ::SendMessageW(popup, WM_KEYDOWN, VK_ESCAPE, 0);
    Pump();
    EXPECT_FALSE(::IsWindow(popup));
    EXPECT_TRUE(host->commands.empty());
    EXPECT_EQ(host->m_pm, Item(menu, 0)->GetManager());
}

TEST_F(MenuTest, NearTheScreenCornerPopupsOpenUpwardAndSubMenusToTheLeft)
{
    int cx = ::GetSystemMetrics(SM_CXSCREEN);
    int cy = ::GetSystemMetrics(SM_CYSCREEN);
    HWND popup = OpenAt(cx - 20, cy - 20);
    ASSERT_NE(nullptr, popup);
    RECT rcTop = {};
    ::GetWindowRect(popup, &rcTop);
    EXPECT_EQ(cy - 20 + 5 - 9, rcTop.bottom) << "opened upward";
    EXPECT_EQ(cx - 20, rcTop.right) << "opened to the left of the cursor";

    PointAt(popup, Item(menu, 1));
    HWND subPopup = PopupOf(sub);
    ASSERT_NE(nullptr, subPopup);
    RECT rcSub = {};
    ::GetWindowRect(subPopup, &rcSub);
    EXPECT_LE(rcSub.right, rcTop.left) << "the sub-menu opens on the left of its parent";
}

TEST_F(MenuTest, DeletingAnOpenMenuClosesItsPopups)
{
    HWND popup = OpenAt(200, 100);
    ASSERT_NE(nullptr, popup);
    PointAt(popup, Item(menu, 1));
    HWND subPopup = PopupOf(sub);
    ASSERT_NE(nullptr, subPopup);
    delete host->m_pm;
    host->m_pm = nullptr;
    Pump();
    EXPECT_FALSE(::IsWindow(popup));
    EXPECT_FALSE(::IsWindow(subPopup));
}

TEST_F(MenuTest, CheckMarkAndForegroundImageGoToTheirDefaultSpots)
{
    std::wstring red = WriteBitmap(L"lumora_menu_check.bmp", 255, 0, 0);
    std::wstring green = WriteBitmap(L"lumora_menu_ft.bmp", 0, 255, 0);
    menu->SetAttribute(L"itemcheckimage", (L"file='" + red + L"'").c_str());
    CMenuListLabelUI* checked = Item(menu, 0);
    CMenuListLabelUI* plain = Item(menu, 3);
    checked->SetAttribute(L"labelmarkcheck", L"true");
    plain->SetAttribute(L"ftimage", (L"file='" + green + L"'").c_str());
    checked->SetPos(RECT{ 0, 0, 120, 24 });
    plain->SetPos(RECT{ 0, 30, 120, 54 });
    checked->SetText(L"");
    plain->SetText(L"");

    BITMAPINFO bmi = {};
    bmi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    bmi.bmiHeader.biWidth = 120;
    bmi.bmiHeader.biHeight = -60;
    bmi.bmiHeader.biPlanes = 1;
    bmi.bmiHeader.biBitCount = 32;
    DWORD* pBits = nullptr;
    HDC hDC = ::CreateCompatibleDC(nullptr);
    HBITMAP hBitmap = ::CreateDIBSection(hDC, &bmi, DIB_RGB_COLORS, reinterpret_cast<void**>(&pBits), nullptr, 0);
    HGDIOBJ hOld = ::SelectObject(hDC, hBitmap);
    checked->DoPaint(hDC, RECT{ 0, 0, 120, 60 });
    plain->DoPaint(hDC, RECT{ 0, 0, 120, 60 });
    ::GdiFlush();
    auto pixel = [&](int x, int y) { return pBits[y * 120 + x] & 0xFFFFFF; };

    EXPECT_EQ(0xFF0000u, pixel(5, 7)) << "check mark from (5, 7)";
    EXPECT_EQ(0xFF0000u, pixel(13, 14));
    EXPECT_NE(0xFF0000u, pixel(14, 15)) << "to (14, 15)";
    EXPECT_NE(0xFF0000u, pixel(4, 7));
    EXPECT_EQ(0x00FF00u, pixel(3, 32)) << "foreground image from (3, 2)";
    EXPECT_EQ(0x00FF00u, pixel(17, 46));
    EXPECT_NE(0x00FF00u, pixel(18, 47)) << "to (18, 17)";
    EXPECT_NE(0xFF0000u, pixel(6, 38)) << "an unchecked item has no check mark";

    ::SelectObject(hDC, hOld);
    ::DeleteObject(hBitmap);
    ::DeleteDC(hDC);
    ::DeleteFileW(red.c_str());
    ::DeleteFileW(green.c_str());
}

TEST_F(MenuTest, ItemIndexesFollowTheirPositions)
{
    CMenuListLabelUI* first = Item(menu, 0);
    CMenuListLabelUI* last = Item(menu, 4);
    EXPECT_EQ(0, first->GetIndex());
    EXPECT_EQ(4, last->GetIndex());
    ASSERT_TRUE(menu->SetItemIndex(last, 0));
    for (int i = 0; i < menu->GetCount(); i++) {
        IMenuListItemUI* item = static_cast<IMenuListItemUI*>(menu->GetItemAt(i)->GetInterface(L"ListItem"));
        if (item != nullptr) {
            EXPECT_EQ(i, item->GetIndex());
        }
    }
    CMenuListLabelUI* added = new CMenuListLabelUI;
    ASSERT_TRUE(menu->AddAt(added, 1));
    EXPECT_EQ(1, added->GetIndex());
    EXPECT_EQ(2, first->GetIndex());
    EXPECT_EQ(menu->GetMenuInfo(), added->GetOwner()->GetMenuInfo());
    ASSERT_TRUE(menu->Remove(added));
    EXPECT_EQ(1, first->GetIndex());

    EXPECT_TRUE(menu->SelectItem(1));
    EXPECT_TRUE(first->IsSelected());
    EXPECT_EQ(L"Open", std::wstring(menu->GetText().GetData()));
}

// A row of one kind put by markup under an owner of the other kind answers the
// same interface names with a different face: it must stay a plain child, never
// be driven through the face of the other kind.
TEST(MenuAndListFaces, RowsOfTheOtherKindAreNotAdopted)
{
    CWindowManagerUI manager;
    CSkinBuilderUI builder;
    CControlUI* root = builder.Build(nullptr,
                                     L"<Window><VerticalLayout>"
                                     L"<Menu name=\"menu\"><ListLabelElement text=\"a\"/>"
                                     L"<MenuListLabel text=\"b\"/></Menu>"
                                     L"<List name=\"list\"><MenuListLabel text=\"c\"/>"
                                     L"<ListLabelElement text=\"d\"/></List>"
                                     L"<Combo name=\"combo\"><MenuListLabel text=\"e\"/></Combo>"
                                     L"</VerticalLayout></Window>",
                                     nullptr, nullptr, &manager);
    ASSERT_NE(nullptr, root);
    manager.AttachRoot(root);
    CMenuUI* menu = dynamic_cast<CMenuUI*>(manager.FindControl(L"menu"));
    CListUI* list = dynamic_cast<CListUI*>(manager.FindControl(L"list"));
    CComboUI* combo = dynamic_cast<CComboUI*>(manager.FindControl(L"combo"));
    ASSERT_TRUE(menu != nullptr && list != nullptr && combo != nullptr);
    ASSERT_EQ(2, menu->GetCount());
    ASSERT_EQ(2, list->GetCount());
    ASSERT_EQ(1, combo->GetCount());

    CListLabelElementUI* listRow = dynamic_cast<CListLabelElementUI*>(menu->GetItemAt(0));
    ASSERT_NE(nullptr, listRow);
    EXPECT_EQ(nullptr, listRow->GetOwner()) << "a list row under a menu";
    CMenuListLabelUI* menuRow = dynamic_cast<CMenuListLabelUI*>(menu->GetItemAt(1));
    ASSERT_NE(nullptr, menuRow);
    EXPECT_NE(nullptr, menuRow->GetOwner());
    EXPECT_EQ(1, menuRow->GetIndex());

    for (CControlUI* owner : { static_cast<CControlUI*>(list), static_cast<CControlUI*>(combo) }) {
        IContainerUI* items = static_cast<IContainerUI*>(owner->GetInterface(L"IContainer"));
        ASSERT_NE(nullptr, items);
        CMenuListLabelUI* stray = dynamic_cast<CMenuListLabelUI*>(items->GetItemAt(0));
        ASSERT_NE(nullptr, stray) << owner->GetControlClass();
        EXPECT_EQ(nullptr, stray->GetOwner()) << "a menu row under " << owner->GetControlClass();
    }
    CListLabelElementUI* row = dynamic_cast<CListLabelElementUI*>(list->GetItemAt(1));
    ASSERT_NE(nullptr, row);
    EXPECT_NE(nullptr, row->GetOwner());
    EXPECT_EQ(1, row->GetIndex());

    // Selecting through the owners touches only rows of their own kind.
    EXPECT_FALSE(menu->SelectItem(0)) << "the list row is no menu item";
    EXPECT_TRUE(menu->SelectItem(1));
    EXPECT_FALSE(list->SelectItem(0)) << "the menu row is no list row";
    EXPECT_TRUE(list->SelectItem(1));
    EXPECT_FALSE(combo->SelectItem(0)) << "the menu row is no combo row";
    // Measuring the stray rows reads no foreign item style.
    listRow->EstimateSize(SIZE{ 200, 200 });
    root->SetPos(RECT{ 0, 0, 300, 300 });
}
