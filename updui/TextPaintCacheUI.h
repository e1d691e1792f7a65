#pragma once
#include <windows.h>

#include <functional>

#include "StringUI.h"

namespace UpdUI {

// What a control's text made of the pixels under it, kept with those pixels: when a
// later paint finds the same pixels under the same text, the kept result is copied
// back instead of measuring and drawing the glyphs again. The result is the very one
// drawing gives, since it is what drawing gave over the same pixels.
class CTextPaintCacheUI
{
public:
    // Everything the drawing depends on besides the pixels under it.
    struct TKeyUI
    {
        CStringUI sText;
        DWORD dwColor;
        UINT uStyle;
        HFONT hFont;
        bool bHtml;
    };
    // Draws the text at rc into hDC.
    using FRender = std::function<void(HDC hDC, RECT rc)>;

    CTextPaintCacheUI();
    ~CTextPaintCacheUI();
    CTextPaintCacheUI(const CTextPaintCacheUI&) = delete;
    CTextPaintCacheUI& operator=(const CTextPaintCacheUI&) = delete;

    // Paints the text at rcText, from the kept result when it still holds. False when
    // the text is not drawn here (not a memory DC, a text cut by the paint rectangle, too
    // large to keep): the caller draws it directly.
    bool Draw(HDC hDC, const RECT& rcText, const RECT& rcPaint, const TKeyUI& key, const FRender& render);
    void Forget();

private:
    bool Fits(int cx, int cy);
    bool Holds(const TKeyUI& key) const;
    static bool IsWhollyVisible(HDC hDC, const RECT& rcText);
    static bool Copy(HDC hTarget, int xTarget, int yTarget, HDC hSource, int xSource, int ySource, int cx, int cy,
                     HBITMAP hSelect, bool bIntoBitmap);

    HBITMAP m_hUnder;  // the pixels under the text when it was drawn
    HBITMAP m_hResult; // what the drawing made of them
    HBITMAP m_hNow;    // the pixels under the text in this paint
    DWORD* m_pUnder;
    DWORD* m_pResult;
    DWORD* m_pNow;
    int m_cx;
    int m_cy;
    bool m_bHeld;
    TKeyUI m_key;
};

} // namespace UpdUI
