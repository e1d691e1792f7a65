#include "ContainerConUI.h"

#include <objidl.h>
#include <gdiplus.h>

#include "GifAnimation.h"
#include "ViewsResource.h"

CContainerConUI::CContainerConUI() : m_bAttached(false), m_hWndBrowser(nullptr), m_gdiplusToken(0)
{
    LoadAnimation();
    SetBkColor(0xFF000000);
}

CContainerConUI::~CContainerConUI()
{
    if (m_pManager != nullptr) m_pManager->KillTimer(this, kAnimationTimer);
    // The image is a GDI+ object: it must go before GDI+ shuts down.
    m_pAnimation.reset();
    if (m_gdiplusToken != 0) Gdiplus::GdiplusShutdown(m_gdiplusToken);
}

// Without GDI+ or without the image the view stays plain black; it still takes
// its browser window.
void CContainerConUI::LoadAnimation()
{
    Gdiplus::GdiplusStartupInput input;
    if (Gdiplus::GdiplusStartup(&m_gdiplusToken, &input, nullptr) != Gdiplus::Ok) {
        m_gdiplusToken = 0;
        return;
    }
    std::unique_ptr<CGifAnimation> pAnimation(new CGifAnimation);
    if (pAnimation->LoadResource(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_VIEW_LOADING_GIF), L"gif"))
        m_pAnimation = std::move(pAnimation);
}

void CContainerConUI::AttachWindow(HWND hWnd)
{
    if (m_bAttached) return;
    m_hWndBrowser = hWnd;
    if (IsVisible() && ::IsWindow(m_hWndBrowser)) {
        ::ShowWindow(m_hWndBrowser, SW_SHOW);
        PlaceBrowserWindow(true);
    }
    m_bAttached = true;
}

bool CContainerConUI::IsAttached() const
{
    return m_bAttached;
}

HWND CContainerConUI::GetBrowserWindow() const
{
    return m_hWndBrowser;
}

const CGifAnimation* CContainerConUI::GetAnimation() const
{
    return m_pAnimation.get();
}

// The browser leaves one pixel free on the left and on the right, where the
// tab layout's border shows.
void CContainerConUI::PlaceBrowserWindow(bool bRepaint)
{
    ::MoveWindow(m_hWndBrowser, m_rcItem.left + 1, m_rcItem.top, m_rcItem.right - m_rcItem.left - 2,
                 m_rcItem.bottom - m_rcItem.top, bRepaint ? TRUE : FALSE);
}

void CContainerConUI::SetPos(RECT rc)
{
    CControlUI::SetPos(rc);
    if (::IsWindow(m_hWndBrowser)) PlaceBrowserWindow(true);
}

void CContainerConUI::SetVisible(bool bVisible)
{
    if (::IsWindow(m_hWndBrowser)) ::ShowWindow(m_hWndBrowser, bVisible ? SW_SHOW : SW_HIDE);
    CControlUI::SetVisible(bVisible);
}

void CContainerConUI::DoEvent(TEventRecUI& event)
{
    CControlUI::DoEvent(event);
    if (event.type != EventTimer || event.wParam != kAnimationTimer) return;
    if (m_pManager != nullptr) m_pManager->KillTimer(this, kAnimationTimer);
    Invalidate();
}

void CContainerConUI::DoPaint(HDC hDC, const RECT& rcPaint)
{
    CControlUI::DoPaint(hDC, rcPaint);
    RECT rcMeet;
    if (::IntersectRect(&rcMeet, &rcPaint, &m_rcItem)) PaintAnimationFrame(hDC);
    if (!m_bAttached) ArmAnimationTimer();
}

void CContainerConUI::PaintAnimationFrame(HDC hDC)
{
    if (m_pAnimation == nullptr) return;
    m_pAnimation->Advance();
    m_pAnimation->Draw(hDC, m_rcItem);
}

// A still image never advances, so it needs no timer.
void CContainerConUI::ArmAnimationTimer()
{
    if (m_pManager == nullptr || m_pAnimation == nullptr || m_pAnimation->GetFrameCount() < 2) return;
    m_pManager->SetTimer(this, kAnimationTimer, m_pAnimation->GetDelayMs());
}
