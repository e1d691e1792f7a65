#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ContainerUI.h"
#include "PainterUI.h"
#include "WindowManagerUI.h"

namespace {

// Writes a 4 x 2 24-bit BMP the image loader can read; returns its path.
std::wstring WriteTestBitmap(LPCWSTR pstrName)
{
    wchar_t szDir[MAX_PATH] = {};
    ::GetTempPathW(MAX_PATH, szDir);
    std::wstring path = std::wstring(szDir) + pstrName;
    const int cx = 4, cy = 2, stride = 12;
    BITMAPFILEHEADER bfh = {};
    BITMAPINFOHEADER bih = {};
    bih.biSize = sizeof(bih);
    bih.biWidth = cx;
    bih.biHeight = cy;
    bih.biPlanes = 1;
    bih.biBitCount = 24;
    bih.biCompression = BI_RGB;
    bfh.bfType = 0x4D42;
    bfh.bfOffBits = sizeof(bfh) + sizeof(bih);
    bfh.bfSize = bfh.bfOffBits + stride * cy;
    std::vector<BYTE> pixels(stride * cy, 0x80);
    HANDLE hFile = ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written = 0;
    ::WriteFile(hFile, &bfh, sizeof(bfh), &written, nullptr);
    ::WriteFile(hFile, &bih, sizeof(bih), &written, nullptr);
    ::WriteFile(hFile, pixels.data(), static_cast<DWORD>(pixels.size()), &written, nullptr);
    ::CloseHandle(hFile);
    return path;
}

bool IsLiveFont(HFONT hFont)
{
    return ::GetObjectType(hFont) == OBJ_FONT;
}

} // namespace

TEST(WindowResources, FontTableAndDefaults)
{
    CWindowManagerUI pm;
    HFONT hDefault = pm.GetDefaultFont();
    ASSERT_NE(nullptr, hDefault);
    EXPECT_NE(nullptr, pm.GetDefaultBoldFont());
    EXPECT_NE(nullptr, pm.GetDefaultLinkFont());
    EXPECT_EQ(hDefault, pm.GetFont(-1));
    EXPECT_EQ(hDefault, pm.GetFont(0));
    EXPECT_GT(pm.GetDefaultFontInfo().tmHeight, 0);
    EXPECT_GT(pm.GetDefaultBoldFontInfo().tmWeight, pm.GetDefaultFontInfo().tmWeight);

    HFONT h0 = pm.AddFont(L"Arial", 20, true, false, false);
    HFONT h1 = pm.AddFont(L"Arial", 10, false, true, true);
    ASSERT_NE(nullptr, h0);
    ASSERT_NE(nullptr, h1);
    EXPECT_EQ(h0, pm.GetFont(0));
    EXPECT_EQ(h1, pm.GetFont(1));
    EXPECT_EQ(hDefault, pm.GetFont(2));
    EXPECT_TRUE(pm.IsListedFont(h1));
    EXPECT_FALSE(pm.IsListedFont(hDefault));
    EXPECT_GT(pm.GetFontInfo(0).tmHeight, pm.GetFontInfo(1).tmHeight);
    EXPECT_EQ(pm.GetDefaultFontInfo().tmHeight, pm.GetFontInfo(7).tmHeight);
    EXPECT_FALSE(pm.AddFontHandle(nullptr));

    EXPECT_EQ(0xFFA7A6AAu, pm.GetDefaultDisabledColor());
    EXPECT_EQ(0xFF000000u, pm.GetDefaultFontColor());
    EXPECT_EQ(0xFF0000FFu, pm.GetDefaultLinkFontColor());
    EXPECT_EQ(0xFFD3215Fu, pm.GetDefaultLinkHoverFontColor());
}

// A replaced default font is deleted unless the font table owns it.
TEST(WindowResources, ReplacingTheDefaultFont)
{
    CWindowManagerUI pm;
    HFONT hOriginal = pm.GetDefaultFont();
    HFONT hListed = pm.AddFont(L"Arial", 14, false, false, false);
    pm.SetDefaultFont(hListed, 0xFF112233);
    EXPECT_FALSE(IsLiveFont(hOriginal));
    EXPECT_EQ(hListed, pm.GetDefaultFont());
    EXPECT_EQ(0xFF112233u, pm.GetDefaultFontColor());

    LOGFONTW lf = {};
    lf.lfHeight = -16;
    HFONT hOwn = ::CreateFontIndirectW(&lf);
    pm.SetDefaultFont(hOwn, 0xFF000000);
    EXPECT_TRUE(IsLiveFont(hListed)); // still in the table
    EXPECT_EQ(hListed, pm.GetFont(0));
    pm.SetDefaultFont(hOwn, 0xFF000000); // the same font again is not deleted
    EXPECT_TRUE(IsLiveFont(hOwn));
    pm.SetDefaultFont(nullptr, 0); // ignored
    EXPECT_EQ(hOwn, pm.GetDefaultFont());
}

TEST(WindowResources, ParentManagerChain)
{
    CWindowManagerUI parent;
    CWindowManagerUI child;
    CWindowManagerUI grandChild;
    HFONT hParentFont = parent.AddFont(L"Arial", 18, false, false, false);
    child.AddFont(L"Arial", 9, false, false, false);
    parent.SetDefaultDisabledColor(0xFF010203);
    parent.AddDefaultAttributeList(L"Button", L"bkcolor=\"FF00FF00\"");
    parent.AddDefaultAttributeList(L"Button", L"text=\"replaced\"");
    child.AddDefaultAttributeList(L"Edit", L"text=\"child\"");

    EXPECT_FALSE(child.SetParentManager(&child)); // itself
    EXPECT_TRUE(child.SetParentManager(&parent));
    EXPECT_TRUE(grandChild.SetParentManager(&child));
    EXPECT_FALSE(parent.SetParentManager(&grandChild)); // would close a loop
    EXPECT_EQ(nullptr, parent.GetParentManager());

    EXPECT_EQ(parent.GetDefaultFont(), grandChild.GetDefaultFont());
    EXPECT_EQ(hParentFont, grandChild.GetFont(0)); // the top manager's table
    EXPECT_EQ(0xFF010203u, grandChild.GetDefaultDisabledColor());
    EXPECT_STREQ(L"text=\"replaced\"", grandChild.GetDefaultAttributeList(L"Button"));
    EXPECT_STREQ(L"text=\"child\"", grandChild.GetDefaultAttributeList(L"Edit"));
    EXPECT_EQ(nullptr, parent.GetDefaultAttributeList(L"Edit"));
    parent.RemoveAllDefaultAttributeList();
    EXPECT_EQ(nullptr, grandChild.GetDefaultAttributeList(L"Button"));
    EXPECT_TRUE(grandChild.SetParentManager(nullptr));
    EXPECT_NE(parent.GetDefaultFont(), grandChild.GetDefaultFont());
}

TEST(WindowResources, ImageCacheIsKeyedByName)
{
    std::wstring path = WriteTestBitmap(L"lumora_ui_core_image.bmp");
    CWindowManagerUI pm;
    TImageRecUI* pImage = pm.GetImageEx(path.c_str());
    ASSERT_NE(nullptr, pImage);
    EXPECT_EQ(4, pImage->nWidth);
    EXPECT_EQ(2, pImage->nHeight);
    EXPECT_EQ(pImage, pm.GetImageEx(path.c_str(), nullptr, 0xFF808080)); // mask counts only on first load
    EXPECT_EQ(nullptr, pm.AddImage(path.c_str()));                       // already cached: refused

    std::wstring missing = path + L".missing";
    EXPECT_EQ(nullptr, pm.GetImageEx(missing.c_str()));
    EXPECT_EQ(nullptr, pm.GetImageEx(L"not-a-number", L"PNG")); // resource names are ids
    pm.RemoveAllImages();
    TImageRecUI* pAgain = pm.GetImageEx(path.c_str());
    EXPECT_NE(nullptr, pAgain);
    ::DeleteFileW(path.c_str());
}

TEST(WindowResources, NamedControlsAndHitTesting)
{
    CWindowManagerUI pm;
    EXPECT_FALSE(pm.InitControls(nullptr));
    CContainerUI root;
    CControlUI* a = new CControlUI;
    a->SetName(L"a");
    CControlUI* hidden = new CControlUI;
    hidden->SetName(L"hidden");
    hidden->SetVisible(false);
    root.Add(a);
    root.Add(hidden);
    EXPECT_TRUE(pm.InitControls(&root));
    EXPECT_EQ(a, pm.FindControl(L"a"));
    EXPECT_EQ(hidden, pm.FindControl(L"hidden")); // hidden controls are named too
    EXPECT_EQ(nullptr, pm.FindControl(L"A"));
    EXPECT_EQ(&pm, a->GetManager());
    EXPECT_EQ(&root, a->GetParent());
    EXPECT_EQ(nullptr, pm.FindControlAt(POINT{ 1, 1 })); // no root attached
}
