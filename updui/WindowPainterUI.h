#pragma once
#include <windows.h>

#include "PaintBuffersUI.h"
#include "PtrArrayUI.h"

namespace UpdUI {

class CControlUI;

// Paints one window's control tree: double-buffered through an off-screen bitmap of
// the client size, over the backdrop the window showed first when the skin's
// background is transparent, with the post-paint controls drawn over the tree and,
// on request, the repainted area framed in red.
class CWindowPainterUI
{
public:
    CWindowPainterUI();
    CWindowPainterUI(const CWindowPainterUI&) = delete;
    CWindowPainterUI& operator=(const CWindowPainterUI&) = delete;

    void SetShowUpdateRect(bool bShow);
    void SetBackgroundTransparent(bool bTrans);

    bool AddPostPaint(CControlUI* pControl);
    bool RemovePostPaint(CControlUI* pControl);
    void ClearPostPaint();

    // One WM_PAINT, BeginPaint to EndPaint; hDcPaint is the window's own DC.
    void Paint(HWND hWnd, HDC hDcPaint, CControlUI* pRoot);
    // WM_PRINTCLIENT: the tree into hDC over the whole client area, then with
    // PRF_CHILDREN each child window at its place.
    void PrintClient(HWND hWnd, CControlUI* pRoot, HDC hDC, LPARAM lParam) const;
    // After a full relayout the surfaces are made again at the new size.
    void DropBuffers();

private:
    void PaintTree(CControlUI* pRoot, HDC hDC, const RECT& rcPaint) const;
    void PaintOffscreen(HWND hWnd, HDC hDcPaint, CControlUI* pRoot, HDC hDcWindow, const RECT& rcPaint);
    void FrameUpdateRect(HDC hDC, const RECT& rcPaint) const;

    CPaintBuffersUI m_buffers;
    CPtrArrayUI m_aPostPaintControls;
    bool m_bOffscreenPaint;
    bool m_bAlphaBackground;
    bool m_bShowUpdateRect;
};

} // namespace UpdUI
