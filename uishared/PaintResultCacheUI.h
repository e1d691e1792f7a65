#pragma once
#include <windows.h>

#include <functional>
#include <string>

namespace UIShared {

// What a control's text or image made of the pixels under it, kept with those pixels:
// when a later paint finds the same pixels under the same drawing, the kept result is
// copied back instead of measuring glyphs or blending the image again. The result is
// the very one drawing gives, since it is what drawing gave over the same pixels.
class CPaintResultCacheUI
{
public:
    // Everything the drawing depends on besides the pixels under it.
    struct TKeyUI
    {
        LPCWSTR pstrText; // null for none; read before the drawing, which may change it
        DWORD dwColor;
        UINT uStyle;
        HFONT hFont;
        bool bHtml;
        UINT uImageGeneration; // the manager's images, where the drawing names any
    };
    // Draws the text or image at rc into hDC.
    using FRender = std::function<void(HDC hDC, RECT rc)>;

    CPaintResultCacheUI();
    ~CPaintResultCacheUI();
    CPaintResultCacheUI(const CPaintResultCacheUI&) = delete;
    CPaintResultCacheUI& operator=(const CPaintResultCacheUI&) = delete;

    // Paints the drawing at rcText, from the kept result when it still holds. False when
    // it is not drawn here (not a memory DC, cut by the paint rectangle or the clipping,
    // too large to keep): the caller draws it directly.
    bool Draw(HDC hDC, const RECT& rcText, const RECT& rcPaint, const TKeyUI& key, const FRender& render);
    void Forget();

private:
    bool Fits(int cx, int cy);
    void Note(const TKeyUI& key);
    bool SameKey(const TKeyUI& key) const;
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
    bool m_bSeen; // the key was noted by a paint before
    bool m_bHeld;
    TKeyUI m_key;            // its text is m_sKeyText's
    std::wstring m_sKeyText; // owned here: the caller's text may change or go after the call
};

} // namespace UIShared
