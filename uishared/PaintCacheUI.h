#pragma once
#include <windows.h>

#include <vector>

namespace UIShared {

// GDI objects the painter would otherwise make and delete on every call: a memory DC
// to select images into, a one-pixel surface for translucent fills and the pens of
// lines and frames. One set per painting thread, since GDI objects selected into a
// DC must not be shared between threads drawing at once.
class CPaintCacheUI
{
public:
    static CPaintCacheUI& ForThisThread();
    // Deletes this thread's cache and its GDI objects; a module that is unloaded
    // while its process goes on calls it, as a thread's end does not.
    static void ReleaseForThisThread();

    CPaintCacheUI();
    ~CPaintCacheUI();
    CPaintCacheUI(const CPaintCacheUI&) = delete;
    CPaintCacheUI& operator=(const CPaintCacheUI&) = delete;

    // A memory DC for the painter's blits; null when none can be made. The caller
    // selects its bitmap in and the old one back before it returns.
    HDC MemoryDC();
    // A DC holding one premultiplied pixel of this value; null when none can be made.
    HDC PixelDC(DWORD dwPremultiplied);
    // A pen of this style, width and colour; the cache keeps and deletes it.
    HPEN Pen(int nStyle, int nWidth, COLORREF clr);

private:
    struct TPenUI
    {
        int nStyle;
        int nWidth;
        COLORREF clr;
        HPEN hPen;
    };

    HDC m_hMemoryDC;
    HDC m_hPixelDC;
    HBITMAP m_hPixel;
    HGDIOBJ m_hOldPixel;
    DWORD* m_pPixel;
    std::vector<TPenUI> m_pens;
};

} // namespace UIShared
