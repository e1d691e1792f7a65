#pragma once
#include <windows.h>

namespace UpdUI {

// The surfaces a window manager paints through, made on demand: the off-screen bitmap
// the tree is painted into before it is copied to the window, and for a transparent
// skin the backdrop the window showed at its first paint.
class CPaintBuffersUI
{
public:
    CPaintBuffersUI();
    ~CPaintBuffersUI();
    CPaintBuffersUI(const CPaintBuffersUI&) = delete;
    CPaintBuffersUI& operator=(const CPaintBuffersUI&) = delete;

    // Frees both surfaces; the next paint makes them again.
    void Drop();

    // Makes the off-screen surface, compatible with the paint DC and of the client
    // size, unless its bitmap is there.
    void MakeOffscreen(HDC hDcPaint, const RECT& rcClient);
    bool HasOffscreen() const;
    HDC GetOffscreenDC() const;
    HBITMAP GetOffscreenBitmap() const;

    bool HasBackdrop() const;
    // Keeps rcPaint of what hDcSource shows, on a surface of the client size.
    void CaptureBackdrop(HDC hDcPaint, HDC hDcSource, const RECT& rcClient, const RECT& rcPaint);
    // Copies rcPaint of the backdrop into hDC, when there is one.
    void CopyBackdrop(HDC hDC, const RECT& rcPaint) const;

private:
    HDC m_hDcOffscreen;
    HDC m_hDcBackground;
    HBITMAP m_hbmpOffscreen;
    HBITMAP m_hbmpBackground;
};

} // namespace UpdUI
