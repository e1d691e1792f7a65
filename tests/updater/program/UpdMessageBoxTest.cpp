// The updater's question box with the updater's own skin: buttons by count,
// icons by kind, the results of clicks and keys. Each box runs modally on the
// test thread; a thread timer acts on it from inside its loop.
#include "UpdMessageBox.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

using namespace UpdUI;

namespace {

std::vector<BYTE> g_skin;
std::function<void(CUpdMessageBox&, HWND)> g_action;
std::wstring g_actionError;

BOOL CALLBACK FindBox(HWND window, LPARAM found)
{
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    wchar_t className[64] = {};
    GetClassNameW(window, className, 64);
    if (owner != GetCurrentProcessId() || wcscmp(className, L"Joyvale升级程序") != 0 || !IsWindowVisible(window))
        return TRUE;
    *reinterpret_cast<HWND*>(found) = window;
    return FALSE;
}

void CALLBACK ActOnBox(HWND, UINT, UINT_PTR timer, DWORD)
{
    HWND box = nullptr;
    EnumWindows(FindBox, reinterpret_cast<LPARAM>(&box));
    if (!box) return;
    KillTimer(nullptr, timer);
    CWindowWnd* window = reinterpret_cast<CWindowWnd*>(GetWindowLongPtrW(box, GWLP_USERDATA));
    g_action(*static_cast<CUpdMessageBox*>(window), box);
}

int RunBox(LPCWSTR text, int icon, int buttons, std::function<void(CUpdMessageBox&, HWND)> action)
{
    g_action = std::move(action);
    SetTimer(nullptr, 0, 20, ActOnBox);
    return ShowUpdMessageBox(text, L"错误", L"更新程序", icon, nullptr, buttons);
}

// The buttons are made in code after the layout: look for them among the
// children of their container.
CControlUI* FindButton(CUpdMessageBox& box, const wchar_t* name)
{
    CControlUI* holder = box.Manager().FindControl(L"buttom");
    CContainerUI* buttons = holder ? static_cast<CContainerUI*>(holder->GetInterface(L"Container")) : nullptr;
    for (int i = 0; buttons && i < buttons->GetCount(); ++i) {
        if (buttons->GetItemAt(i)->GetName() == name) return buttons->GetItemAt(i);
    }
    return nullptr;
}

void Click(CUpdMessageBox& box, HWND window, const wchar_t* name)
{
    CControlUI* control = FindButton(box, name);
    if (!control) {
        PostMessageW(window, WM_SYSCOMMAND, SC_CLOSE, 0); // end the box; the test fails on the result
        return;
    }
    UpdateWindow(window); // lays the buttons out if no paint did yet
    RECT pos = control->GetPos();
    LPARAM at = MAKELPARAM((pos.left + pos.right) / 2, (pos.top + pos.bottom) / 2);
    PostMessageW(window, WM_MOUSEMOVE, 0, at);
    PostMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, at);
    PostMessageW(window, WM_LBUTTONUP, 0, at);
}

std::vector<std::wstring> ButtonNames(CUpdMessageBox& box)
{
    std::vector<std::wstring> names;
    CControlUI* holder = box.Manager().FindControl(L"buttom");
    CContainerUI* buttons = holder ? static_cast<CContainerUI*>(holder->GetInterface(L"Container")) : nullptr;
    for (int i = 0; buttons && i < buttons->GetCount(); ++i)
        names.push_back(std::wstring(buttons->GetItemAt(i)->GetName().GetData()) + L"=" +
                        buttons->GetItemAt(i)->GetText().GetData());
    return names;
}

class UpdMessageBoxTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        // The box builds from the skin embedded in the updater program.
        HMODULE updater = LoadLibraryExW(LUMORA_TEST_BIN_DIR L"\\lumoraupd.exe", nullptr,
                                         LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
        ASSERT_NE(nullptr, updater);
        HRSRC resource = FindResourceW(updater, MAKEINTRESOURCEW(110), L"UPX3");
        ASSERT_NE(nullptr, resource);
        const BYTE* bytes = static_cast<const BYTE*>(LockResource(LoadResource(updater, resource)));
        g_skin.assign(bytes, bytes + SizeofResource(updater, resource));
        CWindowManagerUI::SetInstance(GetModuleHandleW(nullptr));
        CWindowManagerUI::SetSkinZipMemory(g_skin.data(), static_cast<unsigned int>(g_skin.size()));
    }
};

TEST_F(UpdMessageBoxTest, ButtonCountsGiveTheirButtons)
{
    struct Case
    {
        int count;
        std::vector<std::wstring> names;
    } cases[] = {
        { 0, { L"OK=确定" } },
        { 1, { L"OK=确定" } },
        { 2, { L"Retry=重试", L"CANCEL=取消" } },
        { 3, { L"YES=是", L"NO=否", L"CANCEL=取消" } },
        { 5, { L"OK=确定" } },
        { -1, { L"OK=确定" } },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.count);
        std::vector<std::wstring> seen;
        RunBox(L"text", UpdIconInformation, c.count, [&seen](CUpdMessageBox& box, HWND window) {
            seen = ButtonNames(box);
            PostMessageW(window, WM_KEYDOWN, VK_ESCAPE, 0);
        });
        EXPECT_EQ(c.names, seen);
    }
}

TEST_F(UpdMessageBoxTest, IconKindsPickTheirPictureAndErrorsShowRed)
{
    struct Case
    {
        int kind;
        const wchar_t* image;
        bool red;
    } cases[] = {
        { 0, L"down\\information2.png", false }, { 1, L"down\\error2.png", true },
        { 2, L"down\\warning2.png", false },     { 3, L"down\\information2.png", false },
        { 4, L"down\\question2.png", false },    { 7, L"down\\information2.png", false },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.kind);
        std::wstring image;
        DWORD color = 0;
        std::wstring cue, text;
        RunBox(L"下载更新失败！", c.kind, 1, [&](CUpdMessageBox& box, HWND window) {
            CControlUI* type = box.Manager().FindControl(L"TypeImage");
            image = type && type->GetBkImage() ? type->GetBkImage() : L"";
            CLabelUI* information = static_cast<CLabelUI*>(box.Manager().FindControl(L"Information"));
            color = information ? information->GetTextColor() : 0;
            text = information ? information->GetText().GetData() : L"";
            CControlUI* cueLabel = box.Manager().FindControl(L"Cue");
            cue = cueLabel ? cueLabel->GetText().GetData() : L"";
            PostMessageW(window, WM_KEYDOWN, VK_RETURN, 0);
        });
        EXPECT_EQ(c.image, image);
        EXPECT_EQ(c.red, (color & 0xFFFFFF) == 0xFF0000) << std::hex << color;
        EXPECT_EQ(L"下载更新失败！", text);
        EXPECT_EQ(L"{b}{f 0}更新程序{/f}{/b}", cue);
    }
}

TEST_F(UpdMessageBoxTest, ClicksAndKeysGiveTheirResults)
{
    struct Case
    {
        int buttons;
        const wchar_t* click; // a control name, or null for the key below
        UINT message;
        WPARAM key;
        int result;
    } cases[] = {
        { 2, L"Retry", 0, 0, UpdResultRetry },
        { 2, L"CANCEL", 0, 0, UpdResultCancel },
        { 3, L"YES", 0, 0, UpdResultOk },
        { 3, L"NO", 0, 0, UpdResultCancel },
        { 1, L"OK", 0, 0, UpdResultOk },
        { 3, nullptr, WM_KEYDOWN, VK_RETURN, UpdResultOk },
        { 3, nullptr, WM_KEYDOWN, VK_ESCAPE, UpdResultCancel },
        { 2, nullptr, WM_SYSCOMMAND, SC_CLOSE, UpdResultCancel },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.click ? c.click : (c.key == VK_RETURN ? L"Enter" : L"Esc/SC_CLOSE"));
        int result = RunBox(L"question", UpdIconQuestion, c.buttons, [&c](CUpdMessageBox& box, HWND window) {
            if (c.click)
                Click(box, window, c.click);
            else
                PostMessageW(window, c.message, c.key, 0);
        });
        EXPECT_EQ(c.result, result);
    }
}

TEST_F(UpdMessageBoxTest, NoTextClosesWithOk)
{
    EXPECT_EQ(UpdResultOk, ShowUpdMessageBox(nullptr, L"错误", nullptr, 1, nullptr, 2));
    EXPECT_EQ(UpdResultOk, ShowUpdMessageBox(L"", L"错误", nullptr, 1, nullptr, 2));
}

} // namespace
