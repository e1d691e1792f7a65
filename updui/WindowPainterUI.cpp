#include "WindowPainterUI.h"

#include "ControlUI.h"

namespace UpdUI {

CWindowPainterUI::CWindowPainterUI() : m_bOffscreenPaint(true), m_bAlphaBackground(false), m_bShowUpdateRect(false) { }

void CWindowPainterUI::SetShowUpdateRect(bool bShow)
{
    m_bShowUpdateRect = bShow;
}

void CWindowPainterUI::SetBackgroundTransparent(bool bTrans)
{
    m_bAlphaBackground = bTrans;
}

bool CWindowPainterUI::AddPostPaint(CControlUI* pControl)
{
    return pControl != nullptr && m_aPostPaintControls.Add(pControl);
}

bool CWindowPainterUI::RemovePostPaint(CControlUI* pControl)
{
    return m_aPostPaintControls.Remove(m_aPostPaintControls.Find(pControl));
}

void CWindowPainterUI::ClearPostPaint()
{
    m_aPostPaintControls.Empty();
}

void CWindowPainterUI::DropBuffers()
{
    m_buffers.Drop();
}

void CWindowPainterUI::PaintTree(CControlUI* pRoot, HDC hDC, const RECT& rcPaint) const
{
    if (pRoot != nullptr) pRoot->DoPaint(hDC, rcPaint);
    for (int i = 0; i < m_aPostPaintControls.GetCount(); ++i) {
        static_cast<CControlUI*>(m_aPostPaintControls[i])->DoPostPaint(hDC, rcPaint);
    }
}

void CWindowPainterUI::FrameUpdateRect(HDC hDC, const RECT& rcPaint) const
{
    if (!m_bShowUpdateRect) return;
    // The pen lives only for this frame: a pen kept for the process would never be freed.
    HPEN hPen = ::CreatePen(PS_SOLID, 1, RGB(220, 0, 0));
    if (hPen == nullptr) return;
    HPEN hOldPen = static_cast<HPEN>(::SelectObject(hDC, hPen));
    HBRUSH hOldBrush = static_cast<HBRUSH>(::SelectObject(hDC, ::GetStockObject(HOLLOW_BRUSH)));
    ::Rectangle(hDC, rcPaint.left, rcPaint.top, rcPaint.right, rcPaint.bottom);
    ::SelectObject(hDC, hOldBrush);
    ::SelectObject(hDC, hOldPen);
    ::DeleteObject(hPen);
}

// The first paint keeps what the window showed as the backdrop of a transparent skin.
void CWindowPainterUI::PaintOffscreen(HWND hWnd, HDC hDcPaint, CControlUI* pRoot, HDC hDcWindow, const RECT& rcPaint)
{
    HDC hDcOffscreen = m_buffers.GetOffscreenDC();
    HBITMAP hOldBitmap = static_cast<HBITMAP>(::SelectObject(hDcOffscreen, m_buffers.GetOffscreenBitmap()));
    int iSaveDC = ::SaveDC(hDcOffscreen);
    if (m_bAlphaBackground) {
        if (!m_buffers.HasBackdrop()) {
            RECT rcClient = {};
            ::GetClientRect(hWnd, &rcClient);
            m_buffers.CaptureBackdrop(hDcPaint, hDcWindow, rcClient, rcPaint);
        }
        m_buffers.CopyBackdrop(hDcOffscreen, rcPaint);
    }
    PaintTree(pRoot, hDcOffscreen, rcPaint);
    ::RestoreDC(hDcOffscreen, iSaveDC);
    ::BitBlt(hDcWindow, rcPaint.left, rcPaint.top, rcPaint.right - rcPaint.left, rcPaint.bottom - rcPaint.top,
             hDcOffscreen, rcPaint.left, rcPaint.top, SRCCOPY);
    ::SelectObject(hDcOffscreen, hOldBitmap);
    FrameUpdateRect(hDcWindow, rcPaint);
}

void CWindowPainterUI::Paint(HWND hWnd, HDC hDcPaint, CControlUI* pRoot)
{
    if (m_bOffscreenPaint && m_buffers.GetOffscreenBitmap() == nullptr) {
        RECT rcClient = {};
        ::GetClientRect(hWnd, &rcClient);
        m_buffers.MakeOffscreen(hDcPaint, rcClient);
    }
    PAINTSTRUCT ps = {};
    ::BeginPaint(hWnd, &ps);
    if (m_bOffscreenPaint && m_buffers.HasOffscreen()) {
        PaintOffscreen(hWnd, hDcPaint, pRoot, ps.hdc, ps.rcPaint);
    } else {
        int iSaveDC = ::SaveDC(ps.hdc);
        PaintTree(pRoot, ps.hdc, ps.rcPaint);
        ::RestoreDC(ps.hdc, iSaveDC);
    }
    ::EndPaint(hWnd, &ps);
}

void CWindowPainterUI::PrintClient(HWND hWnd, CControlUI* pRoot, HDC hDC, LPARAM lParam) const
{
    if (pRoot == nullptr || hDC == nullptr) return;
    RECT rcClient = {};
    ::GetClientRect(hWnd, &rcClient);
    int iSaved = ::SaveDC(hDC);
    pRoot->DoPaint(hDC, rcClient);
    if ((lParam & PRF_CHILDREN) != 0) {
        for (HWND hWndChild = ::GetWindow(hWnd, GW_CHILD); hWndChild != nullptr;
             hWndChild = ::GetWindow(hWndChild, GW_HWNDNEXT)) {
            RECT rcPos = {};
            ::GetWindowRect(hWndChild, &rcPos);
            ::MapWindowPoints(HWND_DESKTOP, hWnd, reinterpret_cast<LPPOINT>(&rcPos), 2);
            ::SetWindowOrgEx(hDC, -rcPos.left, -rcPos.top, nullptr);
            ::SendMessageW(hWndChild, WM_PRINT, reinterpret_cast<WPARAM>(hDC), lParam | PRF_NONCLIENT);
        }
    }
    ::RestoreDC(hDC, iSaved);
}

} // namespace UpdUI
