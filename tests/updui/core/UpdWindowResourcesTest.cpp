#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "PainterUI.h"
#include "SkinBuilderUI.h"
#include "UpdCoreTestSupport.h"

using namespace UpdCoreTest;

namespace {

// A find procedure that takes whatever the hit test reaches (a named function:
// a lambda does not convert to the 32-bit build's __stdcall callback type).
CControlUI* CALLBACK AnyControl(CControlUI* p, LPVOID)
{
    return p;
}

std::wstring TempFolder()
{
    wchar_t szDir[MAX_PATH] = {};
    ::GetTempPathW(MAX_PATH, szDir);
    return szDir;
}

// Writes a 2 x 2 24-bit BMP file (stb_image decodes it) into the temporary folder and
// returns its path.
std::wstring WriteBitmapFile(LPCWSTR pstrName)
{
    std::wstring path = TempFolder() + pstrName;
    BYTE pixels[2 * 8] = { 0, 0, 255, 0, 255, 0, 0, 0, 255, 0, 0, 255, 255, 255, 0, 0 };
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

// A 4 x 4 24-bit BMP whose left half is black and right half white.
std::wstring WriteHalfBlackBitmap(LPCWSTR pstrName)
{
    std::wstring path = TempFolder() + pstrName;
    std::vector<BYTE> pixels;
    for (int y = 0; y < 4; ++y) {
        for (int x = 0; x < 4; ++x) {
            BYTE b = x < 2 ? 0 : 255;
            pixels.insert(pixels.end(), { b, b, b });
        }
    }
    BITMAPINFOHEADER bih = {};
    bih.biSize = sizeof(bih);
    bih.biWidth = 4;
    bih.biHeight = 4;
    bih.biPlanes = 1;
    bih.biBitCount = 24;
    BITMAPFILEHEADER bfh = {};
    bfh.bfType = 0x4D42;
    bfh.bfOffBits = sizeof(bfh) + sizeof(bih);
    bfh.bfSize = bfh.bfOffBits + (DWORD)pixels.size();
    HANDLE hFile = ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written = 0;
    ::WriteFile(hFile, &bfh, sizeof(bfh), &written, nullptr);
    ::WriteFile(hFile, &bih, sizeof(bih), &written, nullptr);
    ::WriteFile(hFile, pixels.data(), (DWORD)pixels.size(), &written, nullptr);
    ::CloseHandle(hFile);
    return path;
}

CControlUI* CreateMarker(LPCWSTR pstrType)
{
    if (wcscmp(pstrType, L"Marker") != 0) return nullptr;
    CControlUI* pControl = new CControlUI;
    pControl->SetName(L"made by the plug-in");
    return pControl;
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
    CWindowManagerUI::SetResourcePath(TempFolder().c_str());
    LPCWSTR pstrName = L"updcore_res.bmp";
    TImageRecUI* pImage = manager.GetImageEx(pstrName, nullptr, 0xFF00FF00);
    ASSERT_NE(nullptr, pImage);
    EXPECT_EQ(2, pImage->nWidth);
    EXPECT_EQ(0xFF00FF00u, pImage->dwMask);
    EXPECT_EQ(pImage, manager.GetImageEx(pstrName));
    EXPECT_EQ(nullptr, manager.AddImage(pstrName)); // already present
    manager.RemoveAllImages();
    TImageRecUI* pAgain = manager.GetImageEx(pstrName);
    EXPECT_NE(nullptr, pAgain);
    ::DeleteFileW(path.c_str());
}

// Image names come from markup and tagged text: a name that leaves the resource folder
// is refused, even when the file it names exists.
TEST_F(CUpdWindowResources, ImageNamesStayInsideTheResourceFolder)
{
    std::wstring sFolder = TempFolder() + L"updcore_names\\";
    ::CreateDirectoryW(sFolder.c_str(), nullptr);
    ::CreateDirectoryW((sFolder + L"skin").c_str(), nullptr);
    std::wstring path = WriteBitmapFile(L"updcore_names\\outside.bmp");
    std::wstring inside = WriteBitmapFile(L"updcore_names\\skin\\inside.bmp");
    CWindowManagerUI::SetResourcePath((sFolder + L"skin").c_str());
    EXPECT_NE(nullptr, manager.GetImageEx(L"inside.bmp"));
    std::wstring sDrive = path.substr(0, 2);
    const std::wstring refused[] = {
        path,                              // absolute
        L"..\\outside.bmp",                // a step up
        L"sub/../../outside.bmp",          // a step up behind a folder
        sDrive + L"outside.bmp",           // drive-relative
        L"\\\\127.0.0.1\\c$\\outside.bmp", // UNC
        L"\\outside.bmp",                  // rooted
        L"inside.bmp:stream",              // a stream of a file
    };
    for (const std::wstring& sName : refused) EXPECT_EQ(nullptr, manager.GetImageEx(sName.c_str())) << sName.c_str();
    // Names with dots that are not a step up are fine.
    EXPECT_NE(nullptr, manager.GetImageEx(L".\\inside.bmp"));
    ::DeleteFileW(path.c_str());
    ::DeleteFileW(inside.c_str());
}

// The shape region is in the image's coordinates: a point in window coordinates hits only
// where the image under it is not black.
TEST_F(CUpdWindowResources, ShapedHitTestFollowsTheImageWhereverTheControlIs)
{
    std::wstring path = WriteHalfBlackBitmap(L"updcore_shape.bmp");
    CWindowManagerUI::SetResourcePath(TempFolder().c_str());
    for (int nOffset : { 0, 20, 57 }) {
        SCOPED_TRACE(nOffset);
        CControlUI control;
        control.SetManager(&manager, nullptr, false);
        control.SetAttribute(L"random", L"true");
        control.SetBkImage(L"updcore_shape.bmp");
        RECT rc = { nOffset, nOffset + 3, nOffset + 4, nOffset + 7 };
        control.SetPos(rc);
        HDC hDC = ::CreateCompatibleDC(nullptr);
        HBITMAP hBitmap = ::CreateCompatibleBitmap(manager.GetPaintDC(), 100, 100);
        HGDIOBJ hOld = ::SelectObject(hDC, hBitmap);
        control.DoPaint(hDC, rc); // the region is made when the image is first painted
        ::SelectObject(hDC, hOld);
        ::DeleteObject(hBitmap);
        ::DeleteDC(hDC);
        auto Hit = [&](int x, int y) {
            POINT pt = { x, y };
            return control.FindControl(AnyControl, &pt, UIFIND_HITTEST) != nullptr;
        };
        EXPECT_TRUE(Hit(rc.left + 2, rc.top + 1));
        EXPECT_TRUE(Hit(rc.left + 3, rc.top + 3));
        EXPECT_FALSE(Hit(rc.left + 1, rc.top + 1)); // black
        EXPECT_FALSE(Hit(rc.left, rc.top + 3));     // black
        EXPECT_FALSE(Hit(rc.left + 4, rc.top + 1)); // past the control
        control.SetManager(nullptr, nullptr, false);
    }
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
    } cases[] = {
        { L"C:\\skin", L"C:\\skin\\" }, { L"C:\\skin/", L"C:\\skin/" }, { L"C:\\skin\\", L"C:\\skin\\" }, { L"", L"" }
    };
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
    CPtrArrayUI* pPlugins = CWindowManagerUI::GetPlugins();
    ASSERT_NE(nullptr, pPlugins);
    EXPECT_EQ(pPlugins, CWindowManagerUI::GetPlugins()); // one list for the process
    EXPECT_EQ(0, pPlugins->GetCount());
    EXPECT_TRUE(CWindowManagerUI::GetSkinZipName().IsEmpty());
    EXPECT_FALSE(CWindowManagerUI::IsSkinZipCached());
}

// The plug-in list is the one the skin builder asks for tags it does not know.
TEST_F(CUpdWindowResources, PluginsCreateTheTagsTheBuilderDoesNotKnow)
{
    CSkinBuilderUI builder;
    EXPECT_EQ(nullptr, builder.Build(L"<Window><Marker/></Window>"));
    CWindowManagerUI::GetPlugins()->Add(reinterpret_cast<LPVOID>(&CreateMarker));
    CControlUI* pControl = builder.Build(L"<Window><Marker/></Window>");
    CWindowManagerUI::GetPlugins()->Empty();
    ASSERT_NE(nullptr, pControl);
    EXPECT_STREQ(L"made by the plug-in", pControl->GetName().GetData());
    delete pControl;
}
