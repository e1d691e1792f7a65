#pragma once
#include "uishared/ClosingBracketSearchUI.h"
#include <windows.h>

#include <map>
#include <vector>

#include "StringUI.h"

namespace UpdUI {

class CWindowManagerUI;

// The tagged rich-text renderer behind CPainterUI::DrawMarkupText. A tag is '<' or '{',
// one lower-case letter, then a blank (parameters up to the closing bracket) or the
// closing bracket; "</b>" or "{/b}" closes. Tags: a link, b bold, c colour, f font,
// i image (or italic), n new line, p paragraph, r raw text, s selected, u underline,
// x move right, y line height. Each line is measured first, then drawn on a common
// baseline. One object renders one call.
class CMarkupTextUI
{
public:
    CMarkupTextUI(HDC hDC, CWindowManagerUI* pManager, DWORD dwTextColor, RECT* prcLinks, CStringUI* sLinks,
                  int& nLinkRects, UINT uStyle);
    CMarkupTextUI(const CMarkupTextUI&) = delete;
    CMarkupTextUI& operator=(const CMarkupTextUI&) = delete;

    // Draws, or with DT_CALCRECT sets rc's right and bottom to the text's extent.
    void Draw(RECT& rc, LPCWSTR pstrText);

private:
    struct TTagUI
    {
        WCHAR chName;
        bool bClosing;
        CStringUI sParams;
        LPCWSTR pstrParams = L""; // the parameters where they stand in the text
        int nParams = 0;
    };

    // What nested tags set, innermost last. The state is copied at every line's start, so
    // tags nested deeper than kMaxDepth keep the innermost value set above them and their
    // closing tags only count down: thousands of open tags made every line copy thousands
    // of entries, and a long text took minutes.
    template <class T> class TTagStackUI
    {
    public:
        static const size_t kMaxDepth = 64;
        bool empty() const { return m_items.empty(); }
        const T& back() const { return m_items.back(); }
        void push_back(const T& value)
        {
            if (m_items.size() < kMaxDepth)
                m_items.push_back(value);
            else
                m_nDeeper++;
        }
        void pop_back()
        {
            if (m_nDeeper > 0)
                m_nDeeper--;
            else if (!m_items.empty())
                m_items.pop_back();
        }

    private:
        std::vector<T> m_items;
        size_t m_nDeeper = 0;
    };

    // What tags change; saved at a line's start so the line can be measured, then drawn.
    struct TStateUI
    {
        TTagStackUI<HFONT> fonts;
        TTagStackUI<DWORD> colors;
        TTagStackUI<int> spacings;
        bool bSelected;
        bool bRaw;
        bool bInLink;
        int xLinkStart;
        // The open link's parameters where they stand in the text: the state is copied at
        // every line's start, and a copy of a long link text for each line of a long text
        // took seconds.
        LPCWSTR pstrLinkText;
        int nLinkText;
        int cyFixedLine; // "y": 0 = from the fonts and images
    };

    // What measuring one line found.
    struct TLineUI
    {
        int cyHeight;
        int cyDescent;
    };

    void AlignToMeasure(LPCWSTR pstrText);
    void FindHoverLink();
    void Run(LPCWSTR pstrText);
    LPCWSTR DoLine(LPCWSTR p, bool bEmit, TLineUI& line);
    bool ParseTag(LPCWSTR p, TTagUI& tag, LPCWSTR& pNext) const;
    bool ParseEscape(LPCWSTR p, WCHAR& ch) const;
    bool IsRawEnd(LPCWSTR p, LPCWSTR& pNext) const;
    // Both return how the tag leaves the line (continue, end after it, end before it).
    int ApplyTag(const TTagUI& tag, bool bEmit, bool bLineStart, TLineUI& line);
    int CloseTag(const TTagUI& tag, bool bEmit, bool bLineStart, TLineUI& line);
    bool DrawInlineImage(const CStringUI& sParams, bool bEmit, TLineUI& line);
    void PushFont(HFONT hFont);
    void PopFont();
    HFONT CurrentFont() const;
    HFONT VariantOf(HFONT hFont, bool bBold, bool bUnderline, bool bItalic);
    HFONT FontFromParams(const CStringUI& sParams);
    void PushColor(DWORD dwColor);
    void PopColor();
    void NoteFont(TLineUI& line);
    const TEXTMETRICW& MetricsOf(HFONT hFont);
    LPCWSTR DoRun(LPCWSTR p, bool bEmit, bool& bLineFull, TLineUI& line);
    int FitRun(LPCWSTR pstrRun, int nChars, int cxAvailable, bool bLineStart) const;
    void Output(LPCWSTR pstrText, int nChars, bool bEmit, const TLineUI& line);
    void RecordLink(const TLineUI& line);

    HDC m_hDC;
    CWindowManagerUI* m_pManager;
    DWORD m_dwTextColor;
    RECT* m_prcLinks;
    CStringUI* m_sLinks;
    int& m_nLinkRects;
    const int m_nLinkCapacity;
    UINT m_uStyle;
    bool m_bDraw;

    RECT m_rc;
    TStateUI m_state;
    int m_x;
    int m_yLine;
    int m_cxExtent;
    int m_nLinks;
    CStringUI m_sHoverLink;
    bool m_bHoverFound;
    bool m_bEnded;
    // Metrics read once per font: every tag notes the font's height on its line, and reading
    // them from the DC for each of thousands of tags took seconds.
    std::map<HFONT, TEXTMETRICW> m_metrics;
    mutable UIShared::CClosingBracketSearchUI m_closingSearch;
};

} // namespace UpdUI
