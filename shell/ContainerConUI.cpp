#include "ContainerConUI.h"

#include <objidl.h>
#include <gdiplus.h>

#include "GifAnimation.h"
#include "ViewsResource.h"

CContainerConUI::CContainerConUI()
    : m_bAttached(false), m_hWndBrowser(nullptr), m_nSideMargin(1), m_nGripCorner(0), m_rcGripCut(), m_gdiplusToken(0),
      m_bAnimationLoaded(false)
{
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
    if (m_bAnimationLoaded) return;
    m_bAnimationLoaded = true;
    Gdiplus::GdiplusStartupInput input;
    if (Gdiplus::GdiplusStartup(&m_gdiplusToken, &input, nullptr) != Gdiplus::Ok) {
        m_gdiplusToken = 0;
        return;
    }
    std::unique_ptr<CGifAnimation> pAnimation(new CGifAnimation);
    if (!pAnimation->LoadResource(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_VIEW_LOADING_GIF), L"gif")) return;
    m_pAnimation = std::move(pAnimation);
    if (!m_bAttached) Invalidate();
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

void CContainerConUI::SetSideMargin(int nMargin)
{
    if (nMargin < 0 || nMargin == m_nSideMargin) return;
    m_nSideMargin = nMargin;
    if (::IsWindow(m_hWndBrowser)) PlaceBrowserWindow(true);
}

void CContainerConUI::SetGripCorner(int nSize)
{
    if (nSize < 0 || nSize == m_nGripCorner) return;
    m_nGripCorner = nSize;
    if (::IsWindow(m_hWndBrowser)) CutGripCorner();
}

// The browser leaves its side margin free on the left and on the right, where
// the tab layout's border shows.
void CContainerConUI::PlaceBrowserWindow(bool bRepaint)
{
    ::MoveWindow(m_hWndBrowser, m_rcItem.left + m_nSideMargin, m_rcItem.top,
                 m_rcItem.right - m_rcItem.left - 2 * m_nSideMargin, m_rcItem.bottom - m_rcItem.top,
                 bRepaint ? TRUE : FALSE);
    CutGripCorner();
}

void CContainerConUI::CutGripCorner()
{
    HWND hWndOwner = ::GetParent(m_hWndBrowser);
    RECT rcOwner = {};
    RECT rcBrowser = {};
    if (hWndOwner == nullptr || !::GetClientRect(hWndOwner, &rcOwner) || !::GetWindowRect(m_hWndBrowser, &rcBrowser))
        return;
    ::MapWindowPoints(nullptr, hWndOwner, reinterpret_cast<POINT*>(&rcBrowser), 2);
    const RECT rcGrip = { rcOwner.right - m_nGripCorner, rcOwner.bottom - m_nGripCorner, rcOwner.right,
                          rcOwner.bottom };
    RECT rcCut = {};
    if (m_nGripCorner == 0 || !::IntersectRect(&rcCut, &rcGrip, &rcBrowser)) {
        ::SetRectEmpty(&m_rcGripCut);
        ::SetWindowRgn(m_hWndBrowser, nullptr, TRUE);
        return;
    }
    m_rcGripCut = rcCut;
    Invalidate();
    ::OffsetRect(&rcCut, -rcBrowser.left, -rcBrowser.top);
    HRGN hRgn = ::CreateRectRgn(0, 0, rcBrowser.right - rcBrowser.left, rcBrowser.bottom - rcBrowser.top);
    HRGN hCut = ::CreateRectRgnIndirect(&rcCut);
    if (hRgn != nullptr && hCut != nullptr) ::CombineRgn(hRgn, hRgn, hCut, RGN_DIFF);
    if (hCut != nullptr) ::DeleteObject(hCut);
    // The window owns the region from here on.
    if (hRgn != nullptr && !::SetWindowRgn(m_hWndBrowser, hRgn, TRUE)) ::DeleteObject(hRgn);
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

// The corner the browser leaves to the sizing grip keeps what the layout around
// the view painted there: the view's own black would show as a square in the page.
void CContainerConUI::DoPaint(HDC hDC, const RECT& rcPaint)
{
    const int iSaved = ::SaveDC(hDC);
    ExcludeGripCorner(hDC);
    CControlUI::DoPaint(hDC, rcPaint);
    RECT rcMeet;
    if (::IntersectRect(&rcMeet, &rcPaint, &m_rcItem)) PaintAnimationFrame(hDC);
    ::RestoreDC(hDC, iSaved);
    if (!m_bAttached) ArmAnimationTimer();
}

void CContainerConUI::ExcludeGripCorner(HDC hDC) const
{
    if (::IsRectEmpty(&m_rcGripCut) || !::IsWindow(m_hWndBrowser) || !::IsWindowVisible(m_hWndBrowser)) return;
    ::ExcludeClipRect(hDC, m_rcGripCut.left, m_rcGripCut.top, m_rcGripCut.right, m_rcGripCut.bottom);
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
