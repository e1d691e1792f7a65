#pragma once
#include "uishared/ClosingBracketSearchUI.h"
#include <windows.h>

#include <map>
#include <set>
#include <string>

#include "StringUI.h"

class CWindowManagerUI;

// The tagged rich-text renderer behind CPainterUI::DrawMarkupText. Tags are a lowercase
// letter in angle or curly brackets, with an optional argument after a blank:
// a (link), b (bold), c (colour), f (font index), i (inline image), n (line break),
// p (paragraph), x (move right), y (line height); "</b>" or "{/b}" closes. One object
// renders one call: it keeps the pen, the line height and the links found so far.
class CMarkupTextUI
{
public:
    CMarkupTextUI(HDC hDC, CWindowManagerUI* pManager, DWORD dwTextColor, RECT* prcLinks, CStringUI* sLinks,
                  int& nLinkRects, UINT uStyle);
    CMarkupTextUI(const CMarkupTextUI&) = delete;
    CMarkupTextUI& operator=(const CMarkupTextUI&) = delete;

    // Draws, or with DT_CALCRECT measures and shrinks rc to the text's extent.
    void Draw(RECT& rc, LPCWSTR pstrText);

private:
    struct TTagUI
    {
        WCHAR chName;
        bool bClosing;
        CStringUI sArgument;
    };

    void Run(LPCWSTR pstrText);
    void AlignSingleLine(LPCWSTR pstrText);
    void FindHoverLink();
    bool ParseTag(LPCWSTR& p, TTagUI& tag) const;
    bool ParseEscape(LPCWSTR& p, WCHAR& ch) const;
    void ApplyTag(const TTagUI& tag);
    void OpenLink(const CStringUI& sText);
    void CloseLink();
    void ContinueLink();
    void DrawInlineImage(const CStringUI& sArgument);
    bool BreakLine(bool bKeepLineHeight);
    void DrawBlank();
    void DrawRun();
    int FitRun(LPCWSTR pstrRun, int nChars, int cxAvailable) const;
    void DrawTextAt(LPCWSTR pstrText, int nChars, int cxWidth);
    void SelectFont(HFONT hFont);
    void UseFont();
    int FontLineHeight() const;
    void NotePen();
    bool IsTagStart(LPCWSTR p) const;
    void Finish(RECT& rc);

    HDC m_hDC;
    CWindowManagerUI* m_pManager;
    DWORD m_dwTextColor;
    RECT* m_prcLinks;
    CStringUI* m_sLinks;
    int& m_nLinkRects;
    const int m_nLinkCapacity;
    UINT m_uStyle;
    bool m_bDraw;
    bool m_bSingleLine;

    RECT m_rc;
    LPCWSTR m_p;
    POINT m_pt;
    int m_cyLine;
    int m_cxMaxPen;
    int m_cyImageBottom;
    TEXTMETRICW m_tm;
    // The font the text is in and the one the DC holds: a font goes into the DC only when
    // text is measured or drawn, and its metrics are read once. Selecting a font and reading
    // its metrics for every tag made a text of thousands of font tags take seconds.
    HFONT m_hFont;
    HFONT m_hFontInDC;
    std::map<HFONT, TEXTMETRICW> m_metrics;
    bool m_bHoverLink;
    int m_nLinks;
    int m_iOpenLink; // entry of the link being drawn, -1 outside links or past the capacity
    // Inline images that could not be loaded in this drawing: each is looked for once, as a
    // failed lookup reads the skin file again and a text may name one thousands of times.
    // Past kMaxMissingImages names no further image is looked for: a text naming thousands
    // of different missing images would read the skin file thousands of times.
    std::set<std::wstring> m_missingImages;
    bool m_bInLink;
    POINT m_ptLinkStart;
    bool m_bEnded;
    mutable UIShared::CClosingBracketSearchUI m_closingSearch;
};
