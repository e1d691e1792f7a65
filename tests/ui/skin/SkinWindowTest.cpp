#include <gtest/gtest.h>

#include "DibCanvas.h"
#include "ContainerUI.h"
#include "ControlUI.h"
#include "PainterUI.h"
#include "SkinBuilderUI.h"
#include "SkinTestPaths.h"
#include "WindowManagerUI.h"
#include "WindowWnd.h"

namespace {

// Stands in for the text controls: paints its text as tagged rich text.
class CMarkupTextForTestUI : public CControlUI
{
public:
    void PaintText(HDC hDC) override
    {
        RECT rc = m_rcItem;
        m_nLinks = 4;
        CPainterUI::DrawMarkupText(hDC, m_pManager, rc, m_sText.GetData(), 0xFFFFFFFF, m_rcLinks, m_sLinks, m_nLinks,
                                   DT_WORDBREAK);
    }
    RECT m_rcLinks[4] = {};
    CStringUI m_sLinks[4];
    int m_nLinks = 0;
};

class CDemoCallback : public IDialogBuilderCallback
{
public:
    CControlUI* CreateControl(LPCWSTR pstrClass) override
    {
        return wcscmp(pstrClass, L"MarkupText") == 0 ? new CMarkupTextForTestUI : nullptr;
    }
};

class CSkinDemoWnd : public CWindowWnd
{
public:
    CWindowManagerUI m_manager;
    CDemoCallback m_callback;
    bool m_bBuilt = false;

protected:
    LPCWSTR GetWindowClassName() const override { return L"LumoraSkinDemoWnd"; }
    LRESULT HandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam) override
    {
        if (uMsg == WM_CREATE) {
            m_manager.Init(m_hWnd);
            CSkinBuilderUI builder;
            CControlUI* pRoot = builder.Build(TestSkinFile().c_str(), L"demo.xml", nullptr, &m_callback, &m_manager);
            m_bBuilt = pRoot != nullptr && m_manager.AttachRoot(pRoot);
            return 0;
        }
        LRESULT lRes = 0;
        if (m_manager.HandleWindowMessage(uMsg, wParam, lParam, lRes)) return lRes;
        return CWindowWnd::HandleMessage(uMsg, wParam, lParam);
    }
};

void PumpMessages()
{
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

} // namespace

TEST(SkinWindow, WindowBuiltFromThePackedSkinPaintsImagesFramesAndText)
{
    CWindowManagerUI::SetInstance(GetModuleHandleW(nullptr));
    CSkinDemoWnd wnd;
    ASSERT_NE(wnd.Create(nullptr, L"skin demo", WS_POPUP | WS_VISIBLE, 0, 40, 40, 320, 200), nullptr);
    ASSERT_TRUE(wnd.m_bBuilt);
    RedrawWindow(wnd.GetWindowHandle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    PumpMessages();

    CDibCanvas canvas(320, 200);
    canvas.Fill(0x000000);
    SendMessageW(wnd.GetWindowHandle(), WM_PRINTCLIENT, (WPARAM)canvas.DC(), PRF_CLIENT);
    canvas.SaveBmp(L"skin_demo.bmp");

    // An unstretched opaque nine-part image, pixel for pixel.
    EXPECT_EQ(canvas.Pixel(290, 170), 0xFF0000u);
    EXPECT_EQ(canvas.Pixel(294, 174), 0xFFFFFFu);
    EXPECT_EQ(canvas.Pixel(298, 178), 0x000000u);
    // The panel's frame: opaque borders at the corners and along the edges, stretched.
    EXPECT_EQ(canvas.Pixel(20, 20), 0xFF0000u);
    EXPECT_EQ(canvas.Pixel(299, 20), 0x0000FFu);
    EXPECT_EQ(canvas.Pixel(21, 100), 0xFFFF00u);
    EXPECT_EQ(canvas.Pixel(150, 178), 0x808080u);
    // The backdrop behind everything, and the translucent centre lighter than it.
    DWORD backdrop = canvas.Pixel(5, 100), centre = canvas.Pixel(150, 170);
    EXPECT_GT(backdrop & 0xFF, 0x90u);
    EXPECT_GT((centre >> 16) & 0xFF, (backdrop >> 16) & 0xFF);
    // The tagged text: red text and the three inline frames.
    const RECT text = { 32, 32, 288, 170 };
    EXPECT_TRUE(canvas.AnyPixel(text, 0xFF0000));
    EXPECT_TRUE(canvas.AnyPixel(text, 0x00FF00));
    EXPECT_TRUE(canvas.AnyPixel(text, 0x0000FF));
    CMarkupTextForTestUI* pText = static_cast<CMarkupTextForTestUI*>(wnd.m_manager.FindControl(L"text"));
    ASSERT_NE(pText, nullptr);
    ASSERT_GE(pText->m_nLinks, 1);
    EXPECT_STREQ(pText->m_sLinks[0].GetData(), L"page");
    EXPECT_GT(pText->m_rcLinks[0].top, 32) << "the link is on the second line";

    DestroyWindow(wnd.GetWindowHandle());
    PumpMessages();
}

TEST(SkinWindow, ImageDescriptionDestIsRelativeToTheControl)
{
    CWindowManagerUI manager;
    manager.SetSkinFile(TestSkinFile().c_str());
    CDibCanvas canvas(200, 100);
    canvas.Fill(0x000001);
    const RECT item = { 100, 50, 180, 90 };
    EXPECT_TRUE(
        CPainterUI::DrawImageDesc(canvas.DC(), &manager, item, canvas.Rect(), L"file='frame.png' dest='0,0,9,9'"));
    EXPECT_EQ(canvas.Pixel(100, 50), 0xFF0000u);
    EXPECT_EQ(canvas.Pixel(108, 58), 0x000000u);
    EXPECT_EQ(canvas.Pixel(109, 59), 0x000001u);
    EXPECT_EQ(canvas.Pixel(99, 49), 0x000001u);

    canvas.Fill(0x000001);
    EXPECT_TRUE(CPainterUI::DrawImageDesc(canvas.DC(), &manager, item, canvas.Rect(), L"frame.png",
                                          L" dest='10,10,19,19' hole='true' corner='3,3,3,3'"));
    EXPECT_EQ(canvas.Pixel(110, 60), 0xFF0000u);
    EXPECT_EQ(canvas.Pixel(114, 64), 0x000001u) << "the hole leaves the centre";

    EXPECT_FALSE(CPainterUI::DrawImageDesc(canvas.DC(), &manager, item, canvas.Rect(), L"nosuch.png"));
    canvas.Fill(0x000001);
    EXPECT_TRUE(CPainterUI::DrawImageDesc(canvas.DC(), &manager, item, RECT{ 0, 0, 50, 50 }, L"frame.png"))
        << "an image outside the paint rect still exists";
    EXPECT_TRUE(canvas.AllPixels(canvas.Rect(), 0x000001));
}
