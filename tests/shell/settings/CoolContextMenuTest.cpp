// The owner-drawn main menu: real menus from lumora.rc tracked by a real window,
// the items' drawing read back from the screen and from a memory bitmap.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdlib>
#include <functional>
#include <string>

#include "CoolContextMenu.h"
#include "DibCanvas.h"
#include "LumoraResource.h"
#include "PainterUI.h"
#include "SettingsTestSupport.h"

namespace {

bool IsBluish(COLORREF c)
{
    return GetBValue(c) > GetRValue(c) + 15;
}
bool IsReddish(COLORREF c)
{
    return GetRValue(c) > GetGValue(c) + 60 && GetRValue(c) > GetBValue(c) + 60;
}
bool IsGrey(COLORREF c)
{
    return std::abs(GetRValue(c) - GetGValue(c)) < 8 && std::abs(GetGValue(c) - GetBValue(c)) < 8;
}

// A window that draws its menus the way the main window does.
class MenuHost : public CWindowWnd, public CCoolContextMenu
{
public:
    using CCoolContextMenu::ConvertMenu;
    using CCoolContextMenu::DrawItem;

    std::function<void(HWND menuWindow)> onIdle;
    UINT lastCommand = 0;
    int ticks = 0;
    static const UINT_PTR kTickTimer = 99;
    HWND menuWindow_ = nullptr;

protected:
    LPCWSTR GetWindowClassName() const override { return L"LumoraMenuTestHost"; }
    LRESULT HandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam) override
    {
        LRESULT result = 0;
        if (HandleMenuMessage(uMsg, wParam, lParam, result)) return result;
        if (uMsg == WM_ENTERIDLE && wParam == MSGF_MENU) {
            menuWindow_ = reinterpret_cast<HWND>(lParam);
            if (onIdle) onIdle(menuWindow_);
        }
        if (uMsg == WM_COMMAND) lastCommand = LOWORD(wParam);
        // The ticks wake the menu's loop, so every step gets its idle; a menu
        // still open after five seconds is closed, never hanging the suite.
        if (uMsg == WM_TIMER && wParam == kTickTimer) {
            if (++ticks > 50)
                PostMessageW(m_hWnd, WM_KEYDOWN, VK_ESCAPE, 0);
            else if (onIdle && menuWindow_)
                onIdle(menuWindow_);
        }
        return CWindowWnd::HandleMessage(uMsg, wParam, lParam);
    }
};

class CoolContextMenuTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        CWindowManagerUI::SetInstance(GetModuleHandleW(nullptr));
        host_ = new MenuHost();
        host_->Create(nullptr, L"menu host", WS_OVERLAPPEDWINDOW, 0, 100, 100, 300, 200);
        host_->InitMenuLook(GetModuleHandleW(nullptr));
        ShowWindow(host_->GetWindowHandle(), SW_SHOW);
        PumpMessages();
    }
    static void TearDownTestSuite()
    {
        DestroyWindow(host_->GetWindowHandle());
        PumpMessages();
        delete host_;
        host_ = nullptr;
    }
    void TearDown() override { host_->onIdle = nullptr; }

    HWND Host() const { return host_->GetWindowHandle(); }

    // Tracks the first submenu of menu 109 as the main window does; keys are
    // posted from the menu's idle notifications and the host's ticks, one step
    // each, until a step returns false and the menu is closed.
    UINT TrackMainMenu(const std::function<bool(HWND menuWindow, int idle)>& step)
    {
        HMENU bar = LoadMenuW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_MAIN_MENU));
        EXPECT_NE(nullptr, bar);
        popup_ = GetSubMenu(bar, 0);
        int idle = 0;
        bool done = false;
        host_->onIdle = [&](HWND menuWindow) {
            if (done) return;
            done = !step(menuWindow, idle++);
            if (done) PostMessageW(Host(), WM_KEYDOWN, VK_ESCAPE, 0);
        };
        host_->ticks = 0;
        host_->menuWindow_ = nullptr;
        SetTimer(Host(), MenuHost::kTickTimer, 100, nullptr);
        host_->lastCommand = 0;
        SetForegroundWindow(Host());
        TrackPopupMenu(popup_, TPM_LEFTBUTTON, 150, 150, 0, Host(), nullptr);
        host_->onIdle = nullptr;
        KillTimer(Host(), MenuHost::kTickTimer);
        PumpMessages();
        UINT command = host_->lastCommand;
        DestroyMenu(bar);
        popup_ = nullptr;
        return command;
    }

    // Every item of the open popup is owner-drawn with data, or none is.
    bool AllOwnerDrawn(bool expected) const
    {
        for (int i = 0; i < GetMenuItemCount(popup_); ++i) {
            MENUITEMINFOW info = {};
            info.cbSize = sizeof(info);
            info.fMask = MIIM_FTYPE | MIIM_DATA;
            GetMenuItemInfoW(popup_, static_cast<UINT>(i), TRUE, &info);
            bool owner = (info.fType & MFT_OWNERDRAW) != 0 && info.dwItemData != 0;
            if (owner != expected) return false;
        }
        return true;
    }

    static std::wstring ItemText(HMENU menu, int position)
    {
        wchar_t text[64] = {};
        GetMenuStringW(menu, static_cast<UINT>(position), text, 64, MF_BYPOSITION);
        return text;
    }

    static MenuHost* host_;
    HMENU popup_ = nullptr;
};

MenuHost* CoolContextMenuTest::host_ = nullptr;

TEST_F(CoolContextMenuTest, ColourRoutinesLightenDarkenAndDesaturate)
{
    struct Case
    {
        COLORREF in;
        int lighten, saturation;
        COLORREF expected;
    };
    const Case cases[] = {
        { RGB(100, 100, 100), 50, 0, RGB(177, 177, 177) },  // 100 + 155 x 50 / 100
        { RGB(200, 200, 200), -18, 0, RGB(164, 164, 164) }, // the grayed text: 82 / 100
        { RGB(0, 0, 0), 100, 0, RGB(255, 255, 255) },
        { RGB(255, 0, 0), 0, -100, RGB(128, 128, 128) }, // no saturation left: grey of the same lightness
        { RGB(255, 0, 0), 0, -50, RGB(191, 64, 64) },
        { RGB(10, 120, 230), 0, 0, RGB(10, 120, 230) }, // unchanged
    };
    for (const Case& c : cases) {
        COLORREF got = AdjustColor(c.in, c.lighten, c.saturation);
        EXPECT_NEAR(GetRValue(c.expected), GetRValue(got), 2)
            << std::hex << c.in << " " << c.lighten << "," << c.saturation;
        EXPECT_NEAR(GetGValue(c.expected), GetGValue(got), 2) << std::hex << c.in;
        EXPECT_NEAR(GetBValue(c.expected), GetBValue(got), 2) << std::hex << c.in;
    }
    DWORD hsl = RgbToHsl(RGB(0, 0, 255));
    EXPECT_NEAR(170, static_cast<int>(hsl & 0xFF), 1) << "blue is at 240 degrees";
    EXPECT_NEAR(128, static_cast<int>((hsl >> 8) & 0xFF), 1);
    EXPECT_EQ(255u, (hsl >> 16) & 0xFF);
}

TEST_F(CoolContextMenuTest, PngResourcesLoadPremultipliedAndMissingOnesGiveNothing)
{
    TImageRecUI* strip = LoadPngResource(GetModuleHandleW(nullptr), IDB_MENU_STRIP);
    ASSERT_NE(nullptr, strip);
    EXPECT_EQ(16, strip->nHeight);
    EXPECT_GE(strip->nWidth, 32) << "cells 0 (feedback) and 1 (exit)";
    EXPECT_TRUE(strip->bAlpha);
    CPainterUI::FreeImageData(strip);
    TImageRecUI* bar = LoadPngResource(GetModuleHandleW(nullptr), IDB_MENU_SELECTION);
    ASSERT_NE(nullptr, bar);
    EXPECT_EQ(149, bar->nWidth);
    EXPECT_EQ(21, bar->nHeight);
    CPainterUI::FreeImageData(bar);
    EXPECT_EQ(nullptr, LoadPngResource(GetModuleHandleW(nullptr), 4711));
}

TEST_F(CoolContextMenuTest, OpeningTheMenuTwiceConvertsAndRestoresItEachTime)
{
    for (int round = 0; round < 2; ++round) {
        size_t converted = 0;
        bool ownerDrawn = false;
        TrackMainMenu([&](HWND, int) {
            converted = host_->ConvertedItemCount();
            ownerDrawn = AllOwnerDrawn(true);
            return false;
        });
        EXPECT_EQ(6u, converted) << "round " << round << ": five commands and the separator";
        EXPECT_TRUE(ownerDrawn) << "round " << round;
        EXPECT_EQ(0u, host_->ConvertedItemCount()) << "round " << round << ": every record freed at close";
    }
}

TEST_F(CoolContextMenuTest, ClosedMenuGetsItsTextsAndTypesBack)
{
    HMENU bar = LoadMenuW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_MAIN_MENU));
    popup_ = GetSubMenu(bar, 0);
    LRESULT result = 0;
    ASSERT_TRUE(host_->HandleMenuMessage(WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(popup_), 0, result));
    EXPECT_TRUE(AllOwnerDrawn(true));
    ASSERT_TRUE(host_->HandleMenuMessage(WM_MENUSELECT, MAKEWPARAM(0, 0xFFFF), 0, result));
    EXPECT_TRUE(AllOwnerDrawn(false));
    EXPECT_EQ(L"配置中心", ItemText(popup_, 0));
    EXPECT_EQ(L"关于Lumora", ItemText(popup_, 3));
    EXPECT_EQ(L"退出(&X)", ItemText(popup_, 5));
    MENUITEMINFOW separator = {};
    separator.cbSize = sizeof(separator);
    separator.fMask = MIIM_FTYPE;
    GetMenuItemInfoW(popup_, 4, TRUE, &separator);
    EXPECT_EQ(static_cast<UINT>(MFT_SEPARATOR), separator.fType);
    // The system menu keeps the system's look.
    EXPECT_FALSE(
        host_->HandleMenuMessage(WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(popup_), MAKELPARAM(0, 1), result));
    DestroyMenu(bar);
}

TEST_F(CoolContextMenuTest, MenuDestroyedWhileOpenLeaksNoRecords)
{
    HMENU menu = CreatePopupMenu();
    AppendMenuW(menu, MF_STRING, 0x8009, L"配置中心");
    LRESULT result = 0;
    host_->HandleMenuMessage(WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(menu), 0, result);
    EXPECT_EQ(1u, host_->ConvertedItemCount());
    DestroyMenu(menu);
    host_->HandleMenuMessage(WM_MENUSELECT, MAKEWPARAM(0, 0xFFFF), 0, result);
    EXPECT_EQ(0u, host_->ConvertedItemCount());
}

TEST_F(CoolContextMenuTest, ItemDataItDidNotAttachIsNeverRead)
{
    MEASUREITEMSTRUCT measure = {};
    measure.CtlType = ODT_MENU;
    measure.itemData = 0x1234; // some other code's owner-drawn item
    LRESULT result = 0;
    EXPECT_FALSE(host_->HandleMenuMessage(WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&measure), result));
    DRAWITEMSTRUCT draw = {};
    draw.CtlType = ODT_MENU;
    draw.itemData = 0x1234;
    EXPECT_FALSE(host_->HandleMenuMessage(WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&draw), result));
    draw.CtlType = ODT_BUTTON;
    EXPECT_FALSE(host_->HandleMenuMessage(WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&draw), result));
}

TEST_F(CoolContextMenuTest, ItemsMeasureFromTheMenuFont)
{
    HMENU menu = CreatePopupMenu();
    AppendMenuW(menu, MF_STRING, 0x8009, L"配置中心");
    AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
    LRESULT result = 0;
    host_->HandleMenuMessage(WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(menu), 0, result);
    MEASUREITEMSTRUCT measure[2] = {};
    for (int i = 0; i < 2; ++i) {
        MENUITEMINFOW info = {};
        info.cbSize = sizeof(info);
        info.fMask = MIIM_DATA;
        GetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &info);
        measure[i].CtlType = ODT_MENU;
        measure[i].itemData = info.dwItemData;
        EXPECT_TRUE(host_->HandleMenuMessage(WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&measure[i]), result));
        EXPECT_EQ(1, result);
    }
    LOGFONTW lf = {};
    GetObjectW(host_->GetMenuFont(), sizeof(lf), &lf);
    EXPECT_EQ(static_cast<UINT>(std::abs(lf.lfHeight) + 15), measure[0].itemHeight);
    EXPECT_GT(measure[0].itemWidth, 2u * 22u) << "text plus the icon area on both sides";
    EXPECT_EQ(static_cast<UINT>(GetSystemMetrics(SM_CYMENU) / 2), measure[1].itemHeight);
    EXPECT_EQ(0u, measure[1].itemWidth);
    host_->HandleMenuMessage(WM_MENUSELECT, MAKEWPARAM(0, 0xFFFF), 0, result);
    DestroyMenu(menu);
}

// Exit shows strip cell 1 (the red power sign), feedback cell 0 (the blue
// speech bubble), every other item no icon.
TEST_F(CoolContextMenuTest, IconsComeFromTheirStripCells)
{
    HMENU menu = CreatePopupMenu();
    AppendMenuW(menu, MF_STRING, 105, L"退出(&X)");
    AppendMenuW(menu, MF_STRING, 0x800E, L"意见反馈");
    AppendMenuW(menu, MF_STRING, 0x8009, L"配置中心");
    LRESULT result = 0;
    host_->HandleMenuMessage(WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(menu), 0, result);
    const int width = 160, height = 30;
    CDibCanvas canvas(width, height);
    HDC dc = canvas.DC();
    auto pixel = [&](int x, int y) {
        DWORD p = canvas.Pixel(x, y);
        return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
    };
    // Counts icon pixels of a colour kind in the 16 x 16 cell drawn at (3, 7).
    auto countInCell = [&](bool (*kind)(COLORREF)) {
        int n = 0;
        for (int y = 7; y < 23; ++y)
            for (int x = 3; x < 19; ++x) n += kind(pixel(x, y)) ? 1 : 0;
        return n;
    };
    int red[3] = {}, blue[3] = {};
    for (int i = 0; i < 3; ++i) {
        MENUITEMINFOW info = {};
        info.cbSize = sizeof(info);
        info.fMask = MIIM_DATA | MIIM_ID;
        GetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &info);
        DRAWITEMSTRUCT draw = {};
        draw.CtlType = ODT_MENU;
        draw.itemID = info.wID;
        draw.itemAction = ODA_DRAWENTIRE;
        draw.hDC = dc;
        draw.rcItem = RECT{ 0, 0, width, height };
        draw.itemData = info.dwItemData;
        ASSERT_TRUE(host_->DrawItem(&draw));
        GdiFlush();
        red[i] = countInCell(IsReddish);
        blue[i] = countInCell(IsBluish);
    }
    EXPECT_GT(red[0], 10) << "exit: the power sign";
    EXPECT_EQ(0, blue[0]);
    EXPECT_GT(blue[1], 10) << "feedback: the bubble";
    EXPECT_EQ(0, red[1]);
    EXPECT_EQ(0, red[2] + blue[2]) << "settings: no icon";
    host_->HandleMenuMessage(WM_MENUSELECT, MAKEWPARAM(0, 0xFFFF), 0, result);
    DestroyMenu(menu);
}

// With the first item selected the bar covers that item's whole width and no
// other item; the other items keep the light grey background.
TEST_F(CoolContextMenuTest, SelectedItemShowsTheSelectionBarAcrossItsWidth)
{
    int bandRows = 0, bandStart = -1, widestRun = 0, menuWidth = 0, greyRows = 0;
    TrackMainMenu([&](HWND menuWindow, int idle) {
        if (idle == 0) {
            PostMessageW(Host(), WM_KEYDOWN, VK_DOWN, 0);
            return true;
        }
        if (idle < 3) return true; // let the selection paint
        RedrawWindow(menuWindow, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ERASE);
        ScreenShot pixels(menuWindow);
        menuWidth = pixels.Width();
        int x = menuWidth / 2;
        for (int y = 0; y < pixels.Height(); ++y) {
            if (IsBluish(ColourAt(pixels, x, y))) {
                if (bandStart < 0) bandStart = y;
                ++bandRows;
            } else if (IsGrey(ColourAt(pixels, x, y))) {
                ++greyRows;
            }
        }
        if (bandStart >= 0) {
            int y = bandStart + 2; // above the item's text
            int run = 0;
            for (int cx = 0; cx < pixels.Width(); ++cx) {
                run = IsBluish(ColourAt(pixels, cx, y)) ? run + 1 : 0;
                if (run > widestRun) widestRun = run;
            }
        }
        return false;
    });
    ASSERT_GT(menuWidth, 0) << "the menu never went idle";
    EXPECT_GE(bandRows, 15) << "one item's height";
    EXPECT_LE(bandRows, 40) << "one item only";
    EXPECT_GE(widestRun, menuWidth - 12) << "the bar spans the item";
    EXPECT_GT(greyRows, 3 * bandRows) << "unselected items stay on the light background";
}

TEST_F(CoolContextMenuTest, ChosenItemStillSendsItsCommand)
{
    UINT command = TrackMainMenu([&](HWND, int idle) {
        // The mnemonic of "退出(&X)" survives the owner drawing.
        if (idle == 0) PostMessageW(Host(), WM_CHAR, L'x', 0);
        return true;
    });
    EXPECT_EQ(static_cast<UINT>(ID_MENU_EXIT), command);
    EXPECT_EQ(0u, host_->ConvertedItemCount());
}

} // namespace

namespace {

// The item of the open popup that shows as selected, or -1.
int HilitedItem(HMENU menu)
{
    for (int i = 0; i < GetMenuItemCount(menu); ++i) {
        if (GetMenuState(menu, static_cast<UINT>(i), MF_BYPOSITION) & MF_HILITE) return i;
    }
    return -1;
}

// Rows of the menu window, at its middle column, that show the selection bar.
struct BarRows
{
    int first = -1;
    int last = -1;
};

BarRows FindBar(HWND menuWindow)
{
    ScreenShot pixels(menuWindow);
    BarRows bar;
    for (int y = 0; y < pixels.Height(); ++y) {
        if (!IsBluish(ColourAt(pixels, pixels.Width() / 2, y))) continue;
        if (bar.first < 0) bar.first = y;
        bar.last = y;
    }
    return bar;
}

// Two steps down from an open menu select the second item: the bar is drawn
// on screen over that item's rows and over no other item's.
TEST_F(CoolContextMenuTest, SecondItemSelectedShowsTheBarOverThatItem)
{
    int hilited = -1;
    RECT item = {}, first = {};
    BarRows bar;
    TrackMainMenu([&](HWND menuWindow, int idle) {
        if (idle == 0) {
            PostMessageW(Host(), WM_KEYDOWN, VK_DOWN, 0);
            PostMessageW(Host(), WM_KEYDOWN, VK_DOWN, 0);
            return true;
        }
        hilited = HilitedItem(popup_);
        if (hilited < 1) return true; // the keys are still on their way
        RECT window = {};
        GetWindowRect(menuWindow, &window);
        GetMenuItemRect(nullptr, popup_, static_cast<UINT>(hilited), &item);
        GetMenuItemRect(nullptr, popup_, 0, &first);
        OffsetRect(&item, -window.left, -window.top);
        OffsetRect(&first, -window.left, -window.top);
        RedrawWindow(menuWindow, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ERASE);
        bar = FindBar(menuWindow);
        return bar.first < item.top || bar.last >= item.bottom; // until the bar has moved there
    });
    ASSERT_GE(hilited, 1) << "the second step selected nothing after the first item";
    EXPECT_EQ(1, hilited) << "the first item has no separator after it in the main menu";
    ASSERT_GT(item.bottom, item.top);
    EXPECT_GE(bar.first, item.top) << "the bar starts inside the selected item";
    EXPECT_LT(bar.last, item.bottom) << "the bar ends inside the selected item";
    EXPECT_GE(bar.last - bar.first + 1, (item.bottom - item.top) / 2) << "the bar covers the item";
    EXPECT_GE(bar.first, first.bottom) << "the first item is no longer selected";
}

} // namespace
