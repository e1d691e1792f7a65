#pragma once
#include <windows.h>

#include <memory>

#include "ControlUI.h"

class CGifAnimation;

// One browser view in the main window's tab layout. Until the view's browser
// window is attached it plays the loading animation on black; from then on it
// keeps that window over its own rectangle and shows or hides it with itself.
class CContainerConUI : public CControlUI
{
public:
    enum { kAnimationTimer = 100 };

    CContainerConUI();
    ~CContainerConUI() override;

    // Takes the browser's window once; later calls do nothing.
    void AttachWindow(HWND hWnd);
    bool IsAttached() const;
    HWND GetBrowserWindow() const;
    // Starts GDI+ and loads the loading animation, then repaints the view; later
    // calls do nothing. Left out of the constructor since both take longer than the
    // window's first paint and the black view already stands for "loading".
    void LoadAnimation();
    // The loading animation; null until it is loaded, or when GDI+ or the image could
    // not be loaded.
    const CGifAnimation* GetAnimation() const;

    // Pixels the browser leaves free on its left and right (1 at first, for
    // the tab layout's border).
    void SetSideMargin(int nMargin);
    // The size of the owner window's bottom-right resize corner, 0 when it
    // has none: the browser window leaves that corner to its owner, so the
    // corner still sizes the window where the page reaches it.
    void SetGripCorner(int nSize);

    void SetPos(RECT rc) override;
    void SetVisible(bool bVisible = true) override;
    void DoEvent(TEventRecUI& event) override;
    void DoPaint(HDC hDC, const RECT& rcPaint) override;

private:
    void PlaceBrowserWindow(bool bRepaint);
    void CutGripCorner();
    // Clips the grip corner out of the view's own painting.
    void ExcludeGripCorner(HDC hDC) const;
    void PaintAnimationFrame(HDC hDC);
    void ArmAnimationTimer();

    bool m_bAttached;
    HWND m_hWndBrowser;
    int m_nSideMargin;
    int m_nGripCorner;
    RECT m_rcGripCut; // the corner left to the owner, in its client coordinates; empty when none
    std::unique_ptr<CGifAnimation> m_pAnimation;
    ULONG_PTR m_gdiplusToken;
    bool m_bAnimationLoaded;
};
