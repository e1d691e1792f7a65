#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "PainterUI.h"
#include "UpdCoreTestSupport.h"

using namespace UpdCoreTest;

namespace {

// Writes a 2 x 2 24-bit BMP file (stb_image decodes it) and returns its path.
std::wstring WriteBitmapFile(LPCWSTR pstrName)
{
    wchar_t szDir[MAX_PATH] = {};
    ::GetTempPathW(MAX_PATH, szDir);
    std::wstring path = std::wstring(szDir) + pstrName;
    BYTE pixels[2 * 8] = {0, 0, 255, 0, 255, 0, 0, 0, 255, 0, 0, 255, 255, 255, 0, 0};
    BITMAPINFOHEADER bih = {};
    bih.biSize = sizeof(bih);
    bih.biWidth = 2;
    bih.biHeight = 2;
    bih.biPlanes = 1;
    bih.biBitCount = 24;
    BITMAPFILEHEADER bfh = {};
    bfh.bfType = 0x4D42;
    bfh.bfOffBits = sizeof(bfh) + sizeof(bih);
    bfh.bfSize = bfh.bfOffBits + sizeof(pixels);
    HANDLE hFile = ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written = 0;
    ::WriteFile(hFile, &bfh, sizeof(bfh), &written, nullptr);
    ::WriteFile(hFile, &bih, sizeof(bih), &written, nullptr);
    ::WriteFile(hFile, pixels, sizeof(pixels), &written, nullptr);
    ::CloseHandle(hFile);
    return path;
}

class CUpdWindowResources : public ::testing::Test
{
protected:
    void SetUp() override
    {
        host = &SharedHost();
        manager.Init(host->GetWindowHandle());
    }
    void TearDown() override { CWindowManagerUI::SetResourcePath(L""); }
    CHostWnd* host = nullptr;
    CWindowManagerUI manager;
};

} // namespace

TEST_F(CUpdWindowResources, FontIndexOutOfRangeGivesTheDefaultFont)
{
    HFONT hDefault = manager.GetDefaultFontInfo()->hFont;
    ASSERT_NE(nullptr, hDefault);
    EXPECT_EQ(hDefault, manager.GetFont(-1));
    EXPECT_EQ(hDefault, manager.GetFont(0));
    HFONT hBold = manager.AddFont(L"Tahoma", 14, true, false, false);
    ASSERT_NE(nullptr, hBold);
    EXPECT_EQ(hBold, manager.GetFont(0));
    EXPECT_EQ(hDefault, manager.GetFont(1));
    EXPECT_EQ(hDefault, manager.GetFontInfo(5)->hFont);
    TFontInfoUI* pInfo = manager.GetFontInfo(0);
    EXPECT_EQ(14, pInfo->iSize);
    EXPECT_TRUE(pInfo->bBold);
    EXPECT_NE(0, pInfo->tm.tmHeight);
    EXPECT_EQ(hBold, manager.FindFont(L"Tahoma", 14, true, false, false));
    EXPECT_EQ(nullptr, manager.FindFont(L"Tahoma", 14, false, false, false));
    EXPECT_EQ(1, manager.GetFontCount());

    manager.SetDefaultFont(L"Tahoma", 20, false, true, false);
    EXPECT_NE(hDefault, manager.GetDefaultFontInfo()->hFont);
    EXPECT_EQ(20, manager.GetDefaultFontInfo()->iSize);
    EXPECT_TRUE(manager.GetDefaultFontInfo()->bUnderline);
    manager.RemoveAllFonts();
    EXPECT_EQ(0, manager.GetFontCount());
}

TEST_F(CUpdWindowResources, ChildManagerInheritsColoursAndFontsOfItsParent)
{
    CWindowManagerUI child;
    child.Init(host->GetWindowHandle());
    manager.SetDefaultFontColor(0xFF123456);
    manager.SetDefaultLinkFontColor(0xFF00AA00);
    HFONT hParentFont = manager.AddFont(L"Tahoma", 11, false, false, true);
    ASSERT_TRUE(child.SetParentManager(&manager));
    EXPECT_EQ(0xFF123456u, child.GetDefaultFontColor());
    EXPECT_EQ(0xFF00AA00u, child.GetDefaultLinkFontColor());
    EXPECT_EQ(0xFFA7A6AAu, child.GetDefaultDisabledColor());
    EXPECT_EQ(0xFFBAE4FFu, child.GetDefaultSelectedBkColor());
    EXPECT_EQ(manager.GetDefaultFontInfo(), child.GetDefaultFontInfo());
    EXPECT_EQ(manager.GetDefaultFontInfo()->hFont, child.GetFont(0));
    EXPECT_EQ(hParentFont, child.GetFontInfo(hParentFont)->hFont);
    EXPECT_EQ(hParentFont, child.FindFont(L"Tahoma", 11, false, false, true));
    child.SetDefaultFontColor(0xFF000001); // written to the child, read from the top
    EXPECT_EQ(0xFF123456u, child.GetDefaultFontColor());
    // A chain that would loop is refused.
    EXPECT_FALSE(manager.SetParentManager(&child));
    EXPECT_FALSE(manager.SetParentManager(&manager));
    EXPECT_EQ(nullptr, manager.GetParentManager());
    child.SetParentManager(nullptr);
}

TEST_F(CUpdWindowResources, ImagesLoadOnceByNameAndResourceNamesMustBeNumbers)
{
    EXPECT_EQ(nullptr, manager.AddImage(L"button.png", L"PNG"));
    EXPECT_EQ(nullptr, manager.AddImage(L"no-such-file.bmp"));
    std::wstring path = WriteBitmapFile(L"updcore_res.bmp");
    TImageRecUI* pImage = manager.GetImageEx(path.c_str(), nullptr, 0xFF00FF00);
    ASSERT_NE(nullptr, pImage);
    EXPECT_EQ(2, pImage->nWidth);
    EXPECT_EQ(0xFF00FF00u, pImage->dwMask);
    EXPECT_EQ(pImage, manager.GetImageEx(path.c_str()));
    EXPECT_EQ(nullptr, manager.AddImage(path.c_str())); // already present
    manager.RemoveAllImages();
    TImageRecUI* pAgain = manager.GetImageEx(path.c_str());
    EXPECT_NE(nullptr, pAgain);
    ::DeleteFileW(path.c_str());
}

TEST_F(CUpdWindowResources, FirstDefaultAttributeListOfAClassWins)
{
    EXPECT_EQ(nullptr, manager.GetDefaultAttributeList(L"Button"));
    manager.AddDefaultAttributeList(L"Button", L"width=\"10\"");
    manager.AddDefaultAttributeList(L"Button", L"width=\"20\"");
    EXPECT_STREQ(L"width=\"10\"", manager.GetDefaultAttributeList(L"Button"));
    CWindowManagerUI child;
    child.SetParentManager(&manager);
    EXPECT_STREQ(L"width=\"10\"", child.GetDefaultAttributeList(L"Button"));
    manager.RemoveAllDefaultAttributeList();
    EXPECT_EQ(nullptr, manager.GetDefaultAttributeList(L"Button"));
}

TEST_F(CUpdWindowResources, OptionGroupDisappearsWithItsLastOption)
{
    CControlUI a;
    CControlUI b;
    EXPECT_TRUE(manager.AddOptionGroup(L"colour", &a));
    EXPECT_FALSE(manager.AddOptionGroup(L"colour", &a));
    EXPECT_TRUE(manager.AddOptionGroup(L"colour", &b));
    ASSERT_NE(nullptr, manager.GetOptionGroup(L"colour"));
    EXPECT_EQ(2, manager.GetOptionGroup(L"colour")->GetCount());
    manager.RemoveOptionGroup(L"colour", &a);
    EXPECT_EQ(1, manager.GetOptionGroup(L"colour")->GetCount());
    manager.RemoveOptionGroup(L"colour", &b);
    EXPECT_EQ(nullptr, manager.GetOptionGroup(L"colour"));
    manager.RemoveOptionGroup(L"missing", &b);
}

TEST_F(CUpdWindowResources, DeletedOptionLeavesItsGroup)
{
    CProbeUI* pOption = new CProbeUI(L"opt");
    CProbeUI keep;
    CContainerUI* pRoot = new CContainerUI;
    pRoot->Add(pOption);
    manager.AttachRoot(pRoot);
    manager.AddOptionGroup(L"g", pOption);
    manager.AddOptionGroup(L"g", &keep);
    manager.AddOptionGroup(L"solo", pOption);
    pRoot->SetDelayedDestroy(false);
    pRoot->Remove(pOption);
    ASSERT_NE(nullptr, manager.GetOptionGroup(L"g"));
    EXPECT_EQ(1, manager.GetOptionGroup(L"g")->GetCount());
    EXPECT_EQ(&keep, manager.GetOptionGroup(L"g")->GetAt(0));
    EXPECT_EQ(nullptr, manager.GetOptionGroup(L"solo"));
}

TEST_F(CUpdWindowResources, ResourcePathGetsOneTrailingSeparator)
{
    struct Case
    {
        LPCWSTR in;
        LPCWSTR out;
    } cases[] = {{L"C:\\skin", L"C:\\skin\\"}, {L"C:\\skin/", L"C:\\skin/"}, {L"C:\\skin\\", L"C:\\skin\\"}, {L"", L""}};
    for (const Case& c : cases) {
        CWindowManagerUI::SetResourcePath(c.in);
        EXPECT_STREQ(c.out, CWindowManagerUI::GetResourcePath().GetData()) << c.in;
    }
}

TEST_F(CUpdWindowResources, SharedSettings)
{
    EXPECT_EQ(::GetModuleHandleW(nullptr), CWindowManagerUI::GetResourceInstance());
    CStringUI sPath = CWindowManagerUI::GetInstancePath();
    ASSERT_FALSE(sPath.IsEmpty());
    EXPECT_EQ(L'\\', sPath.GetAt(sPath.GetLength() - 1));
    short h = 0, s = 0, l = 0;
    CWindowManagerUI::GetSkinHsl(&h, &s, &l);
    EXPECT_EQ(180, h);
    EXPECT_EQ(100, s);
    EXPECT_EQ(100, l);
    EXPECT_NE(nullptr, CWindowManagerUI::GetPlugins());
    EXPECT_TRUE(CWindowManagerUI::GetSkinZipName().IsEmpty());
    EXPECT_FALSE(CWindowManagerUI::IsSkinZipCached());
}
